// The dispatcher every control family goes through: the pointer told to a family as
// what it did, the message passed on after the family has seen it, and the control's
// end passed on before the skin's entry goes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/families.h"
#include "skin/helpers.h"
#include "tests/win/skin/family_test_support.h"

namespace tovel::skin::test {
namespace {

// What the test family and the control's own procedure saw, in order.
std::vector<std::string> gSeen;
WNDPROC gOwnProc = nullptr;
bool gBoundAtOwnEnd = false;

const char* Name(Pointer p) {
  switch (p) {
    case Pointer::Entered: return "entered";
    case Pointer::Within: return "within";
    case Pointer::Left: return "left";
  }
  return "?";
}

void OnPointer(const ControlContext& c, HWND, Pointer p, LPARAM) {
  // The state is the family's own, there from the first message on.
  StateOf<ProgressState>(c).vertical = true;
  gSeen.push_back(Name(p));
}

std::optional<LRESULT> OnMessage(const ControlContext&, HWND, UINT msg, WPARAM, LPARAM) {
  if (msg == WM_USER) return 42;  // answered by the family, never passed on
  return std::nullopt;
}

constexpr ControlFamily kTestFamily{Family::Progress, &OnMessage, &OnPointer};

LRESULT CALLBACK TestFamilyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) { return Dispatch(kTestFamily, h, msg, wp, lp); }

// The control's own procedure, which ours passes messages on to.
LRESULT CALLBACK OwnProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEMOVE) gSeen.push_back("own move");
  if (msg == WM_MOUSELEAVE) gSeen.push_back("own leave");
  if (msg == WM_USER) gSeen.push_back("own user");
  if (msg == WM_NCDESTROY) gBoundAtOwnEnd = static_cast<bool>(LookUp(h, Family::Progress));
  return ::CallWindowProcW(gOwnProc, h, msg, wp, lp);
}

// The pointer events the family heard so far, without the own procedure's lines.
std::vector<std::string> Events() {
  std::vector<std::string> events;
  for (const std::string& s : gSeen)
    if (s.rfind("own", 0) != 0) events.push_back(s);
  return events;
}

TEST(SkinDispatch, TheFamilyHearsEnteredWithinLeftAndTheControlsOwnProcedureGetsEachMessageAfter) {
  PointAt(1200, 1000);
  TestWindow window(300, 200);
  window.Skin();
  HWND control = ::CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 40, 60, 120, 50,
                                   window.get(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  gSeen.clear();
  gOwnProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnProc)));
  const int properties = LivePropertyCount();
  const int n = Engine().WindowNumber(window.get());
  ControlEntry* entry = RegisterControl(*window.Record(), n, Family::Progress, control, TestFamilyProc, ProgressState{});
  ASSERT_NE(entry, nullptr);
  EXPECT_TRUE(LookUp(control, Family::Progress));

  const RECT r = ScreenRect(control);
  PointAt(r.left + 10, r.top + 10);
  ASSERT_TRUE(PumpUntil([] { return !Events().empty(); })) << "the pointer's move never reached the family";
  PointAt(r.left + 30, r.top + 20);
  ASSERT_TRUE(PumpUntil([] { return Events().size() >= 2; }));
  PointAt(1200, 1000);
  ASSERT_TRUE(PumpUntil([] { return !Events().empty() && Events().back() == "left"; }))
      << "the pointer left and the family never heard";
  PointAt(r.left + 60, r.top + 25);
  ASSERT_TRUE(PumpUntil([] { return Events().back() == "entered"; })) << "coming back did not light it again";

  // Entered once, within while it stays, left once, entered again.
  const std::vector<std::string> events = Events();
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(events.front(), "entered");
  size_t i = 1;
  while (i < events.size() && events[i] == "within") ++i;
  EXPECT_GE(i, 2u) << "the move within the control was told as a new entry";
  ASSERT_EQ(events.size(), i + 2);
  EXPECT_EQ(events[i], "left");
  EXPECT_EQ(events[i + 1], "entered");
  // Every pointer message went on to the control's own procedure, after the family saw it.
  for (size_t k = 0; k < gSeen.size(); ++k) {
    if (gSeen[k].rfind("own", 0) == 0) continue;
    ASSERT_LT(k + 1, gSeen.size());
    EXPECT_EQ(gSeen[k + 1], gSeen[k] == "left" ? "own leave" : "own move") << k;
  }
  EXPECT_EQ(StateOf<ProgressState>(entry)->vertical, true);

  // A message the family answers stops there; others pass on.
  gSeen.clear();
  EXPECT_EQ(::SendMessageW(control, WM_USER, 0, 0), 42);
  EXPECT_TRUE(gSeen.empty());

  // The end: the control's own procedure sees WM_NCDESTROY while ours still holds
  // it, and afterwards nothing of ours is left.
  ::DestroyWindow(control);
  EXPECT_TRUE(gBoundAtOwnEnd) << "the skin let go before passing the end on";
  EXPECT_FALSE(LookUp(control, Family::Progress));
  EXPECT_EQ(entry->hwnd, nullptr);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(entry->state));
  EXPECT_EQ(LivePropertyCount(), properties);
  PointAt(1200, 1000);
}

}  // namespace
}  // namespace tovel::skin::test
