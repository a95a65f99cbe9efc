#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "app/small_commands.h"
#include "tests/support/pump.h"

namespace tovel {
namespace {

using testing::PumpPending;
using testing::PumpUntil;

UINT WINAPI RefuseInput(UINT, INPUT*, int) { return 0; }

// A visible list of five entries at a known place on the screen.
class ListWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 100, 100, 300, 300, nullptr,
                              nullptr, nullptr, nullptr);
    list_ = ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 0, 0, 300, 300, host_, nullptr,
                              nullptr, nullptr);
    for (const wchar_t* s : {L"001|a", L"002|b", L"003|c", L"004|d", L"005|e"})
      ::SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    ::SetForegroundWindow(host_);
    PumpPending();
  }
  void TearDown() override { ::DestroyWindow(host_); }

  // The screen point in the middle of an entry.
  POINT EntryPoint(int index) const {
    RECT rc;
    ::SendMessageW(list_, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rc));
    POINT p{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ::ClientToScreen(list_, &p);
    return p;
  }
  int Selection() const { return static_cast<int>(::SendMessageW(list_, LB_GETCURSEL, 0, 0)); }
  int Caret() const { return static_cast<int>(::SendMessageW(list_, LB_GETCARETINDEX, 0, 0)); }

  HWND host_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(ListWindow, SynthesisedClickSelectsTheEntryUnderTheCursor) {
  const POINT p = EntryPoint(3);
  ::SetCursorPos(p.x, p.y);
  SelectUnderCursor(list_);
  EXPECT_TRUE(PumpUntil([&] { return Selection() == 3; }, 5000));
  EXPECT_EQ(Caret(), 3);
  POINT now;
  ::GetCursorPos(&now);
  EXPECT_EQ(now.x, p.x);
  EXPECT_EQ(now.y, p.y);
}

TEST_F(ListWindow, WithoutSynthesisedInputTheEntryUnderTheCursorIsSelectedDirectly) {
  POINT p = EntryPoint(2);
  ::SetCursorPos(p.x, p.y);
  SelectUnderCursor(list_, RefuseInput);
  EXPECT_EQ(Selection(), 2);
  EXPECT_EQ(Caret(), 2);

  // Below the last entry: the selection stays where it was.
  p = EntryPoint(4);
  ::SetCursorPos(p.x, p.y + 100);
  SelectUnderCursor(list_, RefuseInput);
  EXPECT_EQ(Selection(), 2);
}

// The owner of the menu: records the command that the menu sends.
LRESULT CALLBACK OwnerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) ::SetPropW(h, L"command", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(LOWORD(wp))));
  return ::DefWindowProcW(h, msg, wp, lp);
}

RECT gMenuRect{};
void CALLBACK ChooseSecondItem(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  if (!menu || !::IsWindowVisible(menu)) return;
  ::KillTimer(nullptr, id);
  ::GetWindowRect(menu, &gMenuRect);
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) ::PostMessageW(menu, WM_KEYDOWN, key, 0);
}

TEST(ContextMenu, OpensBesideTheCursorAndSendsTheChosenItemToItsOwner) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TovelMenuOwner";
  ::RegisterClassW(&wc);
  HWND owner = ::CreateWindowExW(0, wc.lpszClassName, L"owner", WS_POPUP | WS_VISIBLE, 400, 400, 100, 100, nullptr,
                                 nullptr, wc.hInstance, nullptr);
  ::SetForegroundWindow(owner);
  HMENU menu = ::CreatePopupMenu();
  ::AppendMenuW(menu, MF_STRING, 0x3D29, L"删除选中");
  ::AppendMenuW(menu, MF_STRING, 0x3D2A, L"删除文件");
  ::SetCursorPos(420, 430);

  const UINT_PTR timer = ::SetTimer(nullptr, 0, 100, ChooseSecondItem);
  ShowContextMenu(owner, menu);
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(PumpUntil([&] { return ::GetPropW(owner, L"command") != nullptr; }, 5000));

  EXPECT_EQ(gMenuRect.left, 423);
  EXPECT_EQ(gMenuRect.top, 433);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(::GetPropW(owner, L"command")), 0x3D2A);
  ::RemovePropW(owner, L"command");
  ::DestroyMenu(menu);
  ::DestroyWindow(owner);
}

TEST(SmallCommands, AboutTextHasItsFiveLinesAndTheLinkOwnerIsTheBrowserWindow) {
  const Text about = AboutText();
  std::vector<Text> lines;
  size_t start = 0;
  for (size_t end; (end = about.find("\r\n", start)) != Text::npos; start = end + 2)
    lines.push_back(about.substr(start, end - start));
  lines.push_back(about.substr(start));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(lines[0].starts_with("作者:[") && lines[0].ends_with("]"));
  EXPECT_EQ(lines[3], "有什么建议或意见尽管找我就好OwO");
  EXPECT_EQ(lines[4], "欢迎使用Tovel音乐盒子哦！");

  EXPECT_EQ(ContactOwnerWindow(), nullptr);
  HWND browser = ::CreateWindowExW(0, L"STATIC", L"Microsoft Internet Explorer", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, nullptr, nullptr);
  EXPECT_EQ(ContactOwnerWindow(), browser);
  ::DestroyWindow(browser);
  EXPECT_EQ(ContactOwnerWindow(), nullptr);
}

}  // namespace
}  // namespace tovel
