#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "gfx/tool_tip.h"
#include "base/handle.h"

namespace tovel {
namespace {

UniqueWindow MakeOwner() {
  return UniqueWindow(::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 200, 100, nullptr,
                                        nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

TTTOOLINFOW Query(HWND tip, HWND owner, UINT_PTR id, wchar_t* text) {
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = owner;
  info.uId = id;
  info.lpszText = text;
  return info;
}

std::wstring TextOf(HWND tip, HWND owner, UINT_PTR id) {
  wchar_t text[80] = {};
  TTTOOLINFOW info = Query(tip, owner, id, text);
  ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&info));
  return text;
}

TEST(ToolTip, StylesFollowTheBalloonFlag) {
  UniqueWindow owner = MakeOwner();
  ToolTip plain;
  HWND tip = plain.Create(owner.get());
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(plain.GetWindow(), tip);
  wchar_t cls[64] = {};
  ::GetClassNameW(tip, cls, 64);
  EXPECT_EQ(_wcsicmp(cls, L"tooltips_class32"), 0);
  LONG style = ::GetWindowLongW(tip, GWL_STYLE);
  EXPECT_TRUE(style & TTS_ALWAYSTIP);
  EXPECT_FALSE(style & TTS_BALLOON);

  ToolTip balloon;
  ASSERT_NE(balloon.Create(owner.get(), true), nullptr);
  style = ::GetWindowLongW(balloon.GetWindow(), GWL_STYLE);
  EXPECT_TRUE(style & TTS_ALWAYSTIP);
  EXPECT_TRUE(style & TTS_BALLOON);
}

TEST(ToolTip, ToolsTextsRectanglesAndColours) {
  UniqueWindow owner = MakeOwner();
  ToolTip tip;
  ASSERT_NE(tip.Create(owner.get()), nullptr);
  HWND w = tip.GetWindow();
  ASSERT_TRUE(tip.AddTool({0, 0, 20, 20}, "关闭", 7));
  ASSERT_TRUE(tip.AddToolCallback({20, 0, 40, 20}, 8));
  EXPECT_EQ(::SendMessageW(w, TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_EQ(TextOf(w, owner.get(), 7), L"关闭");

  TTTOOLINFOW info = Query(w, owner.get(), 7, nullptr);
  ASSERT_TRUE(::SendMessageW(w, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_TRUE(info.uFlags & TTF_SUBCLASS);
  EXPECT_EQ(info.rect.right, 20);

  tip.UpdateTipText(7, "最小化");
  EXPECT_EQ(TextOf(w, owner.get(), 7), L"最小化");
  tip.UpdateTipText(99, "nobody");  // never added: nothing changes
  EXPECT_EQ(::SendMessageW(w, TTM_GETTOOLCOUNT, 0, 0), 2);
  EXPECT_EQ(TextOf(w, owner.get(), 7), L"最小化");

  tip.NewToolRect(7, {5, 5, 30, 30});
  info = Query(w, owner.get(), 7, nullptr);
  ASSERT_TRUE(::SendMessageW(w, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(info.rect.left, 5);
  EXPECT_EQ(info.rect.bottom, 30);

  tip.SetTipBkColor(RGB(1, 2, 3));
  tip.SetTipTextColor(RGB(4, 5, 6));
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(w, TTM_GETTIPBKCOLOR, 0, 0)), RGB(1, 2, 3));
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(w, TTM_GETTIPTEXTCOLOR, 0, 0)), RGB(4, 5, 6));
  tip.SetMaxTipWidth(150);
  EXPECT_EQ(::SendMessageW(w, TTM_GETMAXTIPWIDTH, 0, 0), 150);
}

TEST(ToolTip, TheTipWindowGoesWithTheObject) {
  UniqueWindow owner = MakeOwner();
  HWND tip = nullptr;
  {
    ToolTip t;
    tip = t.Create(owner.get());
    ASSERT_TRUE(::IsWindow(tip));
  }
  EXPECT_FALSE(::IsWindow(tip));
}

}  // namespace
}  // namespace tovel
