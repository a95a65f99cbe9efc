#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>

#include "tests/support/pump.h"
#include "runtime/controls.h"
#include "base/text.h"

namespace tovel {
namespace {

using testing::PumpPending;
using testing::PumpUntil;

std::map<HandlerKey, int> gCalls;
bool gVisibleDuringCreated = true;

std::wstring ClassOf(HWND h) {
  wchar_t buf[64];
  ::GetClassNameW(h, buf, 64);
  return buf;
}

std::wstring TextOfWindow(HWND h) {
  wchar_t buf[256];
  ::GetWindowTextW(h, buf, 256);
  return buf;
}

class FormWindows : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Runtime& rt = Runtime::Get();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) {
      auto key = static_cast<HandlerKey>(k);
      rt.Bind(key, [key] { ++gCalls[key]; });
    }
    rt.Bind(HandlerKey::PlayerStartup, [] {
      ++gCalls[HandlerKey::PlayerStartup];
      gVisibleDuringCreated = ::IsWindowVisible(Runtime::Get().WindowHandle(kPlayerWindowId));
    });
    ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
    ASSERT_NE(rt.LoadForm(SoundBoardForm()), nullptr);
    PumpPending();
  }
  static void TearDownTestSuite() {
    Runtime::Get().CloseForm(kBoardWindowId);
    Runtime::Get().CloseForm(kPlayerWindowId);
    PumpPending();
  }
  void SetUp() override { gCalls.clear(); }

  static HWND Player() { return Runtime::Get().WindowHandle(kPlayerWindowId); }
  static HWND Item(std::uint32_t id) { return ::GetDlgItem(Player(), ChildId(id)); }
};

TEST_F(FormWindows, EveryVisibleControlIsAChildWithItsIdClassPlaceAndCaption) {
  for (const FormDesc* form : {&PlayerForm(), &SoundBoardForm()}) {
    HWND parent = Runtime::Get().WindowHandle(form->windowId);
    ASSERT_NE(parent, nullptr);
    int children = 0;
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) ++children;
    int visible = 0;
    for (const auto& c : form->controls) {
      HWND h = ::GetDlgItem(parent, ChildId(c.id));
      if (!HasChildWindow(c.type)) {
        EXPECT_EQ(h, nullptr) << c.name;
        continue;
      }
      ++visible;
      ASSERT_NE(h, nullptr) << c.name;
      EXPECT_EQ(::GetDlgCtrlID(h), ChildId(c.id));
      EXPECT_EQ(h, Runtime::Get().ControlHandle(form->windowId, c.id));
      RECT rc;
      ::GetWindowRect(h, &rc);
      ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
      EXPECT_EQ(rc.left, c.left) << c.name;
      EXPECT_EQ(rc.top, c.top) << c.name;
      EXPECT_EQ(rc.right - rc.left, c.width) << c.name;
      EXPECT_EQ(rc.bottom - rc.top, c.height) << c.name;
      // The search field shows only while a search does.
      EXPECT_EQ(::IsWindowVisible(h) != 0, c.type != ControlType::Edit) << c.name;
      const std::wstring cls = ClassOf(h);
      switch (c.type) {
        case ControlType::Button: EXPECT_EQ(cls, L"Button"); break;
        case ControlType::ListBox: EXPECT_EQ(cls, L"ListBox"); break;
        case ControlType::Slider: EXPECT_EQ(cls, L"msctls_trackbar32"); break;
        case ControlType::Edit: EXPECT_EQ(cls, L"Edit"); break;
        default: break;
      }
      if (c.type == ControlType::Button || c.type == ControlType::TransparentLabel) {
        EXPECT_EQ(Narrow(TextOfWindow(h)), c.caption) << c.name;
      }
    }
    EXPECT_EQ(children, visible);
  }
}

TEST_F(FormWindows, TopLevelWindowsHaveTitlePlaceAndSize) {
  HWND p = Player();
  EXPECT_EQ(::GetParent(p), nullptr);
  EXPECT_EQ(Narrow(TextOfWindow(p)), "[Tovel音乐盒] -Tovel音乐盒播放器");
  Runtime& rt = Runtime::Get();
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Left), 50);
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Top), 50);
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Height), 391);
  RECT rc;
  ::GetWindowRect(p, &rc);
  EXPECT_EQ(rc.right - rc.left, 351);
  EXPECT_TRUE(::GetWindowLongW(p, GWL_STYLE) & WS_MAXIMIZEBOX);
  HWND b = rt.WindowHandle(kBoardWindowId);
  EXPECT_EQ(Narrow(TextOfWindow(b)), "[Tovel音乐盒] -Tovel音效");
  EXPECT_FALSE(::GetWindowLongW(b, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_TRUE(::GetWindowLongW(b, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  // The created handler runs before the window is shown.
  EXPECT_FALSE(gVisibleDuringCreated);
}

TEST_F(FormWindows, StandardNotificationsRaiseTheBoundHandlers) {
  ::SendMessageW(Item(player::kPlayButton), BM_CLICK, 0, 0);
  EXPECT_EQ(gCalls[HandlerKey::PlayButton], 1);

  HWND list = Item(player::kList);
  ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"001|song"));
  ::SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(gCalls[HandlerKey::PlaySelectedOnDoubleClick], 1);
  ::SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(gCalls[HandlerKey::SelectUnderCursor], 1);
  EXPECT_EQ(gCalls[HandlerKey::ShowContextMenu], 1);
  ::SendMessageW(list, LB_RESETCONTENT, 0, 0);

  ::SendMessageW(Player(), WM_COMMAND, 0x3D2A, 0);
  EXPECT_EQ(gCalls[HandlerKey::DeleteFile], 1);
  EXPECT_EQ(gCalls[HandlerKey::RemoveEntry], 0);
}

TEST_F(FormWindows, SliderRaisesPositionChangedOnlyForTheUser) {
  Runtime& rt = Runtime::Get();
  HWND volume = Item(player::kVolumeSlider);
  rt.SetInt(kPlayerWindowId, player::kVolumeSlider, Prop::SliderPosition, 50);
  EXPECT_EQ(gCalls[HandlerKey::SongVolume], 0);
  // A key press sends TB_LINEDOWN and then TB_ENDTRACK: one event, not two.
  ::SendMessageW(volume, WM_KEYDOWN, VK_RIGHT, 0);
  ::SendMessageW(volume, WM_KEYUP, VK_RIGHT, 0);
  EXPECT_EQ(gCalls[HandlerKey::SongVolume], 1);
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, player::kVolumeSlider, Prop::SliderPosition), 51);
  rt.SetInt(kPlayerWindowId, player::kVolumeSlider, Prop::SliderPosition, 100);

  rt.SetInt(kPlayerWindowId, player::kSeekSlider, Prop::SliderMaximum, 240);
  rt.SetInt(kPlayerWindowId, player::kSeekSlider, Prop::SliderPosition, 7);
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, player::kSeekSlider, Prop::SliderMaximum), 240);
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, player::kSeekSlider, Prop::SliderPosition), 7);
  EXPECT_EQ(gCalls[HandlerKey::Seek], 0);
}

TEST_F(FormWindows, PropertiesReadAndWriteTheControls) {
  Runtime& rt = Runtime::Get();
  rt.SetText(kPlayerWindowId, player::kElapsedLabel, Prop::TypeSpecific, "01:02");
  EXPECT_EQ(rt.GetText(kPlayerWindowId, player::kElapsedLabel, Prop::TypeSpecific), "01:02");
  EXPECT_EQ(TextOfWindow(Item(player::kElapsedLabel)), L"01:02");
  rt.SetText(kPlayerWindowId, player::kPlayButton, Prop::ButtonCaption, "暂停");
  EXPECT_EQ(TextOfWindow(Item(player::kPlayButton)), L"暂停");
  rt.SetText(kPlayerWindowId, player::kPlayButton, Prop::ButtonCaption, "播 放");

  rt.SetInt(kPlayerWindowId, player::kSeekSlider, Prop::Disabled, 1);
  EXPECT_FALSE(::IsWindowEnabled(Item(player::kSeekSlider)));
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, player::kSeekSlider, Prop::Disabled), 1);
  rt.SetInt(kPlayerWindowId, player::kSeekSlider, Prop::Disabled, 0);
  EXPECT_TRUE(::IsWindowEnabled(Item(player::kSeekSlider)));

  // Moving the window raises "moved"; left and top follow.
  rt.SetInt(kBoardWindowId, kBoardWindowControl, Prop::Top, 441);
  rt.SetInt(kBoardWindowId, kBoardWindowControl, Prop::Left, 60);
  EXPECT_EQ(rt.GetInt(kBoardWindowId, kBoardWindowControl, Prop::Top), 441);
  EXPECT_EQ(rt.GetInt(kBoardWindowId, kBoardWindowControl, Prop::Left), 60);
  rt.SetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Left, 51);
  EXPECT_GE(gCalls[HandlerKey::PlayerMoved], 1);
  rt.SetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Left, 50);

  rt.ListAdd(kPlayerWindowId, player::kList, "001|a");
  rt.ListAdd(kPlayerWindowId, player::kList, "002|b");
  rt.ListSelect(kPlayerWindowId, player::kList, 1);
  EXPECT_EQ(rt.ListCount(kPlayerWindowId, player::kList), 2);
  EXPECT_EQ(rt.ListCaret(kPlayerWindowId, player::kList), 1);
  rt.ListClear(kPlayerWindowId, player::kList);
  EXPECT_EQ(rt.ListCount(kPlayerWindowId, player::kList), 0);
}

// A stopped timer, or one whose tick runs nothing, leaves no platform timer to wake the window.
TEST_F(FormWindows, TimersTickWhileTheirPeriodIsSetAndTheirHandlerIsBound) {
  Runtime& rt = Runtime::Get();
  // The board's timer runs from creation.
  EXPECT_TRUE(PumpUntil([] { return gCalls[HandlerKey::BoardReapplyVolume] > 0; }, 5000));

  EXPECT_EQ(rt.GetInt(kPlayerWindowId, player::kTick, Prop::TypeSpecific), 0);
  rt.SetInt(kPlayerWindowId, player::kTick, Prop::TypeSpecific, 20);
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, player::kTick, Prop::TypeSpecific), 20);
  EXPECT_TRUE(PumpUntil([] { return gCalls[HandlerKey::SongTick] > 1; }, 5000));
  rt.SetInt(kPlayerWindowId, player::kTick, Prop::TypeSpecific, 0);
  EXPECT_FALSE(::KillTimer(Player(), ChildId(player::kTick)));

  // No tick event: the period is kept, no timer runs.
  rt.SetInt(kPlayerWindowId, player::kScrollTimer, Prop::TypeSpecific, 10);
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, player::kScrollTimer, Prop::TypeSpecific), 10);
  EXPECT_FALSE(::KillTimer(Player(), ChildId(player::kScrollTimer)));

  // A tick event that nobody bound: the same.
  rt.Bind(HandlerKey::SongTick, {});
  rt.SetInt(kPlayerWindowId, player::kTick, Prop::TypeSpecific, 20);
  EXPECT_EQ(rt.GetInt(kPlayerWindowId, player::kTick, Prop::TypeSpecific), 20);
  EXPECT_FALSE(::KillTimer(Player(), ChildId(player::kTick)));
  rt.SetInt(kPlayerWindowId, player::kTick, Prop::TypeSpecific, 0);
  rt.Bind(HandlerKey::SongTick, [] { ++gCalls[HandlerKey::SongTick]; });
}

// A failing GetMessage may leave anything in the MSG.
BOOL WINAPI FailingGetMessage(MSG* msg, HWND, UINT, UINT) {
  msg->message = WM_QUIT;
  msg->wParam = 12345;
  return -1;
}

BOOL WINAPI QuitWithSeven(MSG* msg, HWND, UINT, UINT) {
  msg->message = WM_QUIT;
  msg->wParam = 7;
  return 0;
}

TEST_F(FormWindows, MessageLoopEndsWithTheQuitCodeOrMinusOneWhenTheQueueFails) {
  EXPECT_EQ(Runtime::Get().RunMessageLoop(kPlayerWindowId, FailingGetMessage), -1);
  EXPECT_EQ(Runtime::Get().RunMessageLoop(kPlayerWindowId, QuitWithSeven), 7);
}

TEST_F(FormWindows, ContextMenuHoldsItsThreeItemsThenThePlayOrderSubmenu) {
  HMENU menu = Runtime::Get().Menu(kPlayerWindowId, player::kContextMenu);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(::GetMenuItemCount(menu), 4);
  EXPECT_EQ(::GetMenuItemID(menu, 0), 0x3D29u);
  EXPECT_EQ(::GetMenuItemID(menu, 1), 0x3D2Au);
  EXPECT_EQ(::GetMenuItemID(menu, 2), 0x3D2Bu);
  wchar_t text[32];
  ::GetMenuStringW(menu, 1, text, 32, MF_BYPOSITION);
  EXPECT_EQ(Narrow(text), "删除文件");
  ::GetMenuStringW(menu, 2, text, 32, MF_BYPOSITION);
  EXPECT_EQ(Narrow(text), "显示标签标题");
  ::GetMenuStringW(menu, 3, text, 32, MF_BYPOSITION);
  EXPECT_EQ(Narrow(text), "播放顺序");
  HMENU order = ::GetSubMenu(menu, 3);
  ASSERT_NE(order, nullptr);
  ASSERT_EQ(::GetMenuItemCount(order), 4);
  const char* names[] = {"顺序播放", "列表循环", "单曲循环", "随机播放"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(::GetMenuItemID(order, i), static_cast<UINT>(0x3E01 + i));
    ::GetMenuStringW(order, i, text, 32, MF_BYPOSITION);
    EXPECT_EQ(Narrow(text), names[i]);
  }
  EXPECT_EQ(::GetMenu(Player()), nullptr);  // no menu bar
}

}  // namespace
}  // namespace tovel
