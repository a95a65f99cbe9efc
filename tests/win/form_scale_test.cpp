#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/skin_setup.h"
#include "app/sound_board.h"
#include "base/scale.h"
#include "base/window_dpi.h"
#include "runtime/controls.h"
#include "runtime/mci_channel.h"
#include "tests/support/display_scale.h"
#include "tests/support/pump.h"
#include "tests/support/silent_mci.h"

namespace tovel {
namespace {

using testing::PumpPending;
using testing::SilentMci;

RECT Rect(HWND h) {
  RECT rc{};
  ::GetWindowRect(h, &rc);
  return rc;
}

PixelRect InParent(HWND child) {
  RECT rc = Rect(child);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

std::wstring Text(HWND h) {
  wchar_t buf[256] = {};
  ::GetWindowTextW(h, buf, 256);
  return buf;
}

// The width of the control's caption in `font`, and the face that really draws it (a
// system without the face asked for stands another in under the same name).
struct Measured {
  int width = 0;
  std::wstring face;
};
Measured MeasureCaption(HWND control, HFONT font) {
  const std::wstring text = Text(control);
  HDC dc = ::GetDC(control);
  const HGDIOBJ old = ::SelectObject(dc, font);
  Measured m;
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  m.width = size.cx;
  std::vector<char> metrics(::GetOutlineTextMetricsW(dc, 0, nullptr));
  auto* otm = reinterpret_cast<OUTLINETEXTMETRICW*>(metrics.data());
  if (!metrics.empty() && ::GetOutlineTextMetricsW(dc, static_cast<UINT>(metrics.size()), otm))
    m.face = reinterpret_cast<const wchar_t*>(metrics.data() + reinterpret_cast<std::uintptr_t>(otm->otmpFaceName));
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return m;
}

HFONT FontOf(HWND control) { return reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)); }

int FontHeight(HWND control) {
  LOGFONTW lf{};
  auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  return font && ::GetObjectW(font, sizeof(lf), &lf) ? lf.lfHeight : 0;
}

// How often each window changed size or place, counted as the windows see it.
struct PositionCounts {
  HWND player = nullptr, board = nullptr;
  int playerSized = 0, boardMoved = 0;
};
PositionCounts gCounts;

LRESULT CALLBACK CountPositionChanges(int code, WPARAM wp, LPARAM lp) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lp);
  if (code == HC_ACTION && call->message == WM_WINDOWPOSCHANGED) {
    const UINT flags = reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags;
    if (call->hwnd == gCounts.player && !(flags & SWP_NOSIZE)) ++gCounts.playerSized;
    if (call->hwnd == gCounts.board && !(flags & SWP_NOMOVE)) ++gCounts.boardMoved;
  }
  return ::CallNextHookEx(nullptr, code, wp, lp);
}

// Both windows as the program makes them, skinned, with its docking handler, at the
// display's DPI (the runs at 120, 144 and 192 DPI set it before they start).
class FormScale : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::MakeThreadDpiAware());
    Runtime& rt = Runtime::Get();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    board_ = std::make_unique<SoundBoard>(rt, mci_, temp);
    BindSoundBoardHandlers(rt, *board_);
    rt.Bind(HandlerKey::PlayerStartup, [&rt] { AttachSkin(rt.WindowHandle(kPlayerWindowId)); });
    ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
    ::SendMessageW(::GetDlgItem(Player(), ChildId(player::kBoardButton)), BM_CLICK, 0, 0);
    PumpPending();
    ASSERT_NE(Board(), nullptr);
  }
  void TearDown() override {
    Runtime& rt = Runtime::Get();
    rt.CloseForm(kBoardWindowId);
    rt.CloseForm(kPlayerWindowId);
    PumpPending();
    board_.reset();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
  }

  static HWND Player() { return Runtime::Get().WindowHandle(kPlayerWindowId); }
  static HWND Board() { return Runtime::Get().WindowHandle(kBoardWindowId); }

  // Every control with a window of its own sits at its form rectangle at `scale`.
  static void ExpectControlsAt(HWND window, const FormDesc& form, Scale scale) {
    for (const ControlDesc& c : form.controls) {
      if (!HasChildWindow(c.type)) continue;
      SCOPED_TRACE(::testing::Message() << std::string(c.name) << " at " << scale.dpi() << " DPI");
      HWND h = ::GetDlgItem(window, ChildId(c.id));
      ASSERT_NE(h, nullptr);
      EXPECT_EQ(InParent(h), scale.Rect(c.left, c.top, c.width, c.height));
    }
  }

  SilentMci mci_;
  std::unique_ptr<SoundBoard> board_;
};

// Sizes and places are checked on the real program from outside; fonts only here.
TEST_F(FormScale, FontsAreWrittenAt96DpiAndTakeTheDisplaysScale) {
  ASSERT_EQ(WindowDpi(Player()), testing::ConfiguredDpi());
  const Scale s(testing::ConfiguredDpi());
  EXPECT_EQ(FontHeight(::GetDlgItem(Player(), ChildId(player::kElapsedLabel))), -s.Px(14));
  EXPECT_EQ(FontHeight(::GetDlgItem(Player(), ChildId(player::kWelcomeLabel))), -s.Px(12));
  EXPECT_EQ(FontHeight(::GetDlgItem(Player(), ChildId(player::kPlayButton))), -s.Px(12));
  EXPECT_EQ(FontHeight(::GetDlgItem(Player(), ChildId(player::kList))), -s.Px(12));
  EXPECT_EQ(FontHeight(::GetDlgItem(Board(), ChildId(board::kVolumeLabel))), -s.Px(14));
}

// Measured with the font each control draws with. A label whose face the system lacks is
// drawn in a wider stand-in (here Impact's), and a height rounded up at 125 % grows the text
// more than the control: the caption still shows whole.
TEST_F(FormScale, NoLabelOrButtonCaptionIsWiderThanItsControl) {
  for (HWND window : {Player(), Board()}) {
    const FormDesc& form = window == Player() ? PlayerForm() : SoundBoardForm();
    for (const ControlDesc& c : form.controls) {
      if (c.type != ControlType::Button && c.type != ControlType::TransparentLabel) continue;
      HWND h = ::GetDlgItem(window, ChildId(c.id));
      ASSERT_NE(h, nullptr);
      RECT client{};
      ::GetClientRect(h, &client);
      const Measured now = MeasureCaption(h, FontOf(h));
      EXPECT_LE(now.width, client.right) << std::string(c.name) << " \"" << std::string(c.caption) << "\" at "
                                         << WindowDpi(window) << " DPI in "
                                         << std::string(now.face.begin(), now.face.end());
    }
  }
  // A caption set later is kept whole too, and a short one keeps the form's font.
  HWND elapsed = ::GetDlgItem(Player(), ChildId(player::kElapsedLabel));
  for (const wchar_t* text : {L"88:88", L"1"}) {
    ::SetWindowTextW(elapsed, text);
    RECT client{};
    ::GetClientRect(elapsed, &client);
    EXPECT_LE(MeasureCaption(elapsed, FontOf(elapsed)).width, client.right) << "\"" << text << "\"";
  }
  EXPECT_EQ(FontHeight(elapsed), FontHeight(::GetDlgItem(Player(), ChildId(player::kVolumeLabel))));
  LOGFONTW shortOne{};
  ::GetObjectW(FontOf(elapsed), sizeof(shortOne), &shortOne);
  EXPECT_EQ(shortOne.lfWidth, 0) << "\"1\" fits without condensing";
}

// The player taken to a display of another DPI: the suggested rectangle is taken once, the
// controls and fonts follow, and the board docks below the new bottom without a loop.
TEST_F(FormScale, ADpiChangeResizesOnceRelaysTheControlsAndRedocksTheBoard) {
  const int from = WindowDpi(Player());
  const int to = from == 144 ? 192 : 144;
  const Scale s(to);
  const RECT before = Rect(Player());
  // The same top-left corner: only the size changes, which moves nothing by itself.
  RECT suggested{before.left, before.top, before.left + s.Px(351), before.top + s.Px(391)};
  gCounts = {Player(), Board()};
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, CountPositionChanges, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  ::SendMessageW(Player(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
  PumpPending();
  ::UnhookWindowsHookEx(hook);

  const RECT player = Rect(Player()), board = Rect(Board());
  EXPECT_EQ(player.left, suggested.left);
  EXPECT_EQ(player.top, suggested.top);
  EXPECT_EQ(player.right, suggested.right);
  EXPECT_EQ(player.bottom, suggested.bottom);
  EXPECT_EQ(gCounts.playerSized, 1);
  EXPECT_EQ(board.left, player.left);
  EXPECT_EQ(board.top, player.bottom);
  EXPECT_EQ(gCounts.boardMoved, 1);
  ExpectControlsAt(Player(), PlayerForm(), s);
  EXPECT_EQ(FontHeight(::GetDlgItem(Player(), ChildId(player::kVolumeLabel))), -s.Px(14));
  EXPECT_EQ(FontHeight(::GetDlgItem(Player(), ChildId(player::kWelcomeLabel))), -s.Px(12));
  EXPECT_EQ(FontHeight(::GetDlgItem(Player(), ChildId(player::kAboutButton))), -s.Px(12));
  // The board itself is still at the old DPI until it is told otherwise.
  ExpectControlsAt(Board(), SoundBoardForm(), Scale(from));
}

}  // namespace
}  // namespace tovel
