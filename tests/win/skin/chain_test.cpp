// The skin's place in the windows' chains of procedures: a window the skin lets go
// of while someone subclassed after it still reaches its own procedure, and code that
// runs while the skin passes a message on may destroy the control or its window.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "base/dc.h"
#include "gfx/graphics_object.h"
#include "skin/helpers.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

// A procedure of the test's in a window's chain: put in before the skin's it stands
// for the window's own (the form's, or a control hook of the runtime's), after it for
// a later subclasser. It passes everything on, counts WM_USER, and calls `after`
// once a message was passed on.
struct Hook {
  WNDPROC previous = nullptr;
  int userMessages = 0;
  std::function<void(HWND, UINT, WPARAM)> after;
};
enum Place { kOwn, kLater };

std::map<HWND, Hook>& Hooks(Place place) {
  static std::map<HWND, Hook> hooks[2];
  return hooks[place];
}

template <Place place>
LRESULT CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto found = Hooks(place).find(hwnd);
  if (found == Hooks(place).end()) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_USER) ++found->second.userMessages;
  // A copy: what runs may destroy the window, and its hook with it.
  const Hook hook = found->second;
  const LRESULT result = ::CallWindowProcW(hook.previous, hwnd, msg, wp, lp);
  if (hook.after) hook.after(hwnd, msg, wp);
  if (msg == WM_NCDESTROY) Hooks(place).erase(hwnd);
  return result;
}

Hook& HookInto(Place place, HWND hwnd, std::function<void(HWND, UINT, WPARAM)> after = {}) {
  const WNDPROC proc = place == kOwn ? &HookProc<kOwn> : &HookProc<kLater>;
  Hook& hook = Hooks(place)[hwnd];
  hook.after = std::move(after);
  hook.previous = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
  return hook;
}

HWND Child(HWND parent, const wchar_t* cls, DWORD style, int id, int x, int y, int w, int h,
           const wchar_t* text = L"") {
  return ::CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

LONG_PTR ButtonType(HWND b) { return ::GetWindowLongPtrW(b, GWL_STYLE) & BS_TYPEMASK; }

// What a control shows, read back from its window in one copy, 0x00RRGGBB.
std::vector<std::uint32_t> Pixels(HWND control) {
  RECT r;
  ::GetClientRect(control, &r);
  DibDc copy(r.right, r.bottom);
  WindowDc dc(control);
  ::BitBlt(copy.get(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  ::GdiFlush();
  std::vector<std::uint32_t> pixels(copy.pixels(), copy.pixels() + static_cast<size_t>(r.right) * r.bottom);
  for (auto& p : pixels) p &= 0xFFFFFF;
  return pixels;
}

void Repaint(HWND control) { ::RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

constexpr int kButtonId = 7;

TEST(SkinChain, LetGoUnderALaterSubclasserTheWindowAndItsButtonKeepTheirOwnProcedures) {
  // The same button in a window the skin never saw: how the platform draws it.
  TestWindow plain(260, 180);
  HWND twin = Child(plain.get(), L"Button", BS_PUSHBUTTON, kButtonId, 30, 70, 120, 32, L"按钮");
  Repaint(twin);
  const std::vector<std::uint32_t> platformLook = Pixels(twin);

  TestWindow window(260, 180);
  HWND hwnd = window.get();
  Hook& own = HookInto(kOwn, hwnd);
  HWND button = Child(hwnd, L"Button", BS_PUSHBUTTON, kButtonId, 30, 70, 120, 32, L"按钮");
  const int properties = LivePropertyCount();
  const int forwarding = SkinEngine::ForwardingCount();

  // An engine of its own, so that it can go while the window lives.
  auto engine = std::make_unique<SkinEngine>();
  engine->SetOptions(true);
  engine->SkinWindow(hwnd, {});
  ASSERT_EQ(engine->WindowNumber(hwnd), 1);
  ASSERT_EQ(ButtonType(button), BS_OWNERDRAW);
  ASSERT_TRUE(PumpUntil([&] { return static_cast<bool>(engine->Record(1)->Composed()); }));
  // The caption's tool tip subclasses the frame at the first hover; the test's own
  // procedures go on top of the window's and the button's.
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));
  EXPECT_NE(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&SkinnedWindow::FrameProc));
  int forwardingAtTheEnd = -1;
  HookInto(kLater, hwnd, [&](HWND, UINT msg, WPARAM) {
    if (msg == WM_NCDESTROY) forwardingAtTheEnd = SkinEngine::ForwardingCount();
  });
  HookInto(kLater, button);
  Repaint(button);
  const std::vector<std::uint32_t> skinLook = Pixels(button);
  ASSERT_NE(skinLook, platformLook);

  engine.reset();
  StartGraphics();  // the engine shut the library down as it went; the test program's goes on with it
  PumpPending();

  // Nothing of the skin's is left on them.
  for (const wchar_t* name : {kPropOldProc, kPropNumber}) {
    EXPECT_EQ(::GetPropW(hwnd, name), nullptr);
    EXPECT_EQ(::GetPropW(button, name), nullptr);
  }
  EXPECT_EQ(::GetPropW(button, kPropWindowNumber), nullptr);
  EXPECT_EQ(LivePropertyCount(), properties);
  EXPECT_EQ(SkinEngine::ForwardingCount(), forwarding + 2);

  // The window's own procedure still hears its messages, also after a new attempt
  // to skin it, which would put ours into the chain a second time and is refused.
  ::SendMessageW(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(own.userMessages, 1);
  Engine().SkinWindow(hwnd, {});
  EXPECT_EQ(Engine().WindowNumber(hwnd), 0);
  ::SendMessageW(hwnd, WM_USER, 0, 0);
  EXPECT_EQ(own.userMessages, 2);

  // The button is the platform's push button again: its id, its state, and drawn
  // as the platform draws it, not left with the skin's last picture or a blank.
  EXPECT_EQ(ButtonType(button), BS_PUSHBUTTON);
  EXPECT_EQ(::GetDlgCtrlID(button), kButtonId);
  ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
  EXPECT_TRUE(::SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
  Repaint(button);
  EXPECT_EQ(Pixels(button), platformLook);

  // At the window's end, while its WM_NCDESTROY comes back through the later
  // subclasser, nothing of the skin's is left.
  ::DestroyWindow(hwnd);
  EXPECT_EQ(forwardingAtTheEnd, forwarding);
  EXPECT_EQ(SkinEngine::ForwardingCount(), forwarding);
  EXPECT_EQ(LivePropertyCount(), properties);
}

TEST(SkinChain, AWindowThatDiesUnderALaterSubclasserLeavesNothingBehind) {
  TestWindow window(260, 180);
  HWND hwnd = window.get();
  HWND button = Child(hwnd, L"Button", BS_PUSHBUTTON, kButtonId, 30, 70, 120, 32, L"按钮");
  const EngineCounts counts = Engine().Counts();
  const int properties = LivePropertyCount();
  const int forwarding = SkinEngine::ForwardingCount();
  Engine().SetOptions(true);
  window.Skin();
  ASSERT_EQ(Engine().Counts().windows, counts.windows + 1);
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 10));
  HookInto(kLater, hwnd);
  HookInto(kLater, button);

  ::DestroyWindow(hwnd);
  EXPECT_EQ(Engine().Counts().windows, counts.windows);
  EXPECT_EQ(Engine().Counts().controls, counts.controls);
  EXPECT_EQ(LivePropertyCount(), properties);
  EXPECT_EQ(SkinEngine::ForwardingCount(), forwarding);
}

// Access violations, counted as they are raised: Wine ignores one raised in a
// procedure that its own code called (for a focus change or an enable), so the
// process would go on as if nothing had happened.
class AccessViolations {
 public:
  AccessViolations() : handler_(::AddVectoredExceptionHandler(1, &Count)) { count_ = 0; }
  ~AccessViolations() { ::RemoveVectoredExceptionHandler(handler_); }
  AccessViolations(const AccessViolations&) = delete;
  int count() const { return count_; }

 private:
  static LONG CALLBACK Count(EXCEPTION_POINTERS* e) {
    if (e->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++count_;
    return EXCEPTION_CONTINUE_SEARCH;
  }
  static inline int count_ = 0;
  PVOID handler_;
};

// What runs while the skin passes a message on (the parent's notification handler,
// or a hook of the window's own on the control) destroys the control or the whole
// window; the skin touches neither afterwards, and nothing of either is left.
struct Destroyer {
  const wchar_t* cls;
  DWORD style;
  bool hookOnControl;  // the handler sits on the control itself, not on its parent
  UINT msg;
  WORD code;  // WM_COMMAND's notification code, for the parent
  std::function<void(HWND)> act;
};

void ExpectNothingTouchedAfterDestruction(const Destroyer& d) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  Engine().SetOptions(true);
  for (const bool wholeWindow : {false, true}) {
    SCOPED_TRACE(wholeWindow ? "the window destroyed" : "the control destroyed");
    const EngineCounts before = Engine().Counts();
    const int properties = LivePropertyCount();
    {
      TestWindow window(260, 180);
      HWND hwnd = window.get();
      HWND control = Child(hwnd, d.cls, d.style, 5, 20, 40, 160, 60);
      ASSERT_NE(control, nullptr);
      HWND victim = wholeWindow ? hwnd : control;
      bool acted = false;
      HookInto(kOwn, d.hookOnControl ? control : hwnd, [&](HWND, UINT msg, WPARAM wp) {
        if (msg != d.msg || (msg == WM_COMMAND && HIWORD(wp) != d.code) || acted) return;
        acted = true;
        ::DestroyWindow(victim);
      });
      window.Skin();
      ASSERT_EQ(Engine().Counts().controls, before.controls + 1);
      {
        const AccessViolations violations;
        d.act(control);
        EXPECT_EQ(violations.count(), 0);
      }
      EXPECT_TRUE(acted);
      EXPECT_FALSE(::IsWindow(victim));
      EXPECT_EQ(Engine().Counts().controls, before.controls);
      PumpPending();
    }
    EXPECT_EQ(Engine().Counts().windows, before.windows);
    EXPECT_EQ(Engine().Counts().controls, before.controls);
    EXPECT_EQ(LivePropertyCount(), properties);
  }
}

TEST(SkinChain, AClickHandlerDestroysTheButtonOrItsWindow) {
  ExpectNothingTouchedAfterDestruction({L"Button", BS_PUSHBUTTON, false, WM_COMMAND, BN_CLICKED, [](HWND b) {
                                          ::SendMessageW(b, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                                          ::SendMessageW(b, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
                                        }});
}

TEST(SkinChain, AFocusHandlerDestroysTheEditBoxOrItsWindow) {
  ExpectNothingTouchedAfterDestruction(
      {L"Edit", WS_BORDER, false, WM_COMMAND, EN_SETFOCUS, [](HWND e) { ::SetFocus(e); }});
}

TEST(SkinChain, AFocusHandlerDestroysTheListBoxOrItsWindow) {
  ExpectNothingTouchedAfterDestruction(
      {L"ListBox", WS_BORDER | LBS_NOTIFY, false, WM_COMMAND, LBN_SETFOCUS, [](HWND l) { ::SetFocus(l); }});
}

TEST(SkinChain, AnEnableHookDestroysTheSliderOrItsWindow) {
  ExpectNothingTouchedAfterDestruction(
      {TRACKBAR_CLASSW, TBS_NOTICKS, true, WM_ENABLE, 0, [](HWND s) { ::EnableWindow(s, FALSE); }});
}

}  // namespace
}  // namespace tovel::skin::test
