#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {


std::wstring Class(HWND h) {
  wchar_t buf[64];
  ::GetClassNameW(h, buf, 64);
  return buf;
}

RECT ChildRect(HWND parent, HWND child) {
  RECT rc;
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
  }
  void TearDown() override {
    RemoveMarker(PrimaryMarker());
    RemoveMarker(FallbackMarker());
  }
  // Starts the program and waits for its player window.
  static HWND Start(RunningProgram& app) {
    app = Launch(ProgramPath());
    if (!app.started()) return nullptr;
    return WaitForWindow(app.pid(), kPlayerTitle, 20000);
  }
};

TEST_F(Startup, PlayerWindowAppearsWithItsControlsAndWelcome) {
  RunningProgram app = Launch(ProgramPath());
  ASSERT_TRUE(app.started());
  HWND player = WaitForWindow(app.pid(), kPlayerTitle, 20000);
  ASSERT_NE(player, nullptr);

  RECT rc;
  ::GetWindowRect(player, &rc);
  EXPECT_EQ(rc.left, 50);
  EXPECT_EQ(rc.top, 50);
  EXPECT_EQ(rc.right - rc.left, 351);
  EXPECT_EQ(rc.bottom - rc.top, 391);
  EXPECT_EQ(::GetParent(player), nullptr);

  struct Expected {
    int id;
    const wchar_t* cls;
    RECT rc;
    const wchar_t* text;
  };
  const Expected expected[] = {
      {0x0076, L"ListBox", {3, 105, 347, 328}, nullptr},
      {0x007E, L"Button", {64, 68, 120, 100}, L"播 放"},
      {0x0078, L"Button", {16, 341, 104, 373}, L"作者信息"},
      {0x007C, nullptr, {302, 24, 342, 40}, L"00:00"},
      {0x0081, nullptr, {9, 25, 280, 41}, L"Tovel音效盒子欢迎您！"},
      {0x3CBE, nullptr, {277, 62, 345, 78}, L"音量:100"},
      {0x3D23, L"msctls_trackbar32", {8, 41, 344, 64}, nullptr},
      {0x007D, L"msctls_trackbar32", {272, 79, 344, 102}, nullptr},
  };
  for (const auto& e : expected) {
    HWND h = ::GetDlgItem(player, e.id);
    ASSERT_NE(h, nullptr) << std::hex << e.id;
    if (e.cls) {
      EXPECT_EQ(Class(h), e.cls) << std::hex << e.id;
    }
    const RECT r = ChildRect(player, h);
    EXPECT_TRUE(::EqualRect(&r, &e.rc)) << std::hex << e.id << ": " << r.left << "," << r.top << ","
                                        << r.right << "," << r.bottom;
    if (e.text) {
      EXPECT_EQ(WindowText(h), e.text) << std::hex << e.id;
    }
  }

  // Start-up state: seek slider disabled, the keyboard focus in the list.
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(player, 0x3D23)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(player, 0x007D)));
  // The window is visible a moment before its activation hands the focus on to the list.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof(gui);
  EXPECT_TRUE(WaitUntil(
      [&] {
        return ::GetGUIThreadInfo(::GetWindowThreadProcessId(player, nullptr), &gui) &&
               gui.hwndFocus == ::GetDlgItem(player, 0x0076);
      },
      5000))
      << "focus on " << gui.hwndFocus;

  // On screen, once painted: the skin picture behind the controls, and through the list.
  POINT picture{200, 20};  // between the welcome text and the elapsed time
  POINT list{150, 250};
  ::ClientToScreen(player, &picture);
  ::ClientToScreen(player, &list);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(picture.x, picture.y) != 0x000000u; }, 5000))
      << "nothing drawn where the picture should be";
  EXPECT_NE(ScreenPixel(picture.x, picture.y), 0xFFFFFFu);
  EXPECT_NE(ScreenPixel(list.x, list.y), 0xFFFFFFu);

  // The marker: hidden and archive, one byte.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(::GetFileAttributesExW(PrimaryMarker().c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.dwFileAttributes & 0x27, 0x22u);
  EXPECT_EQ(data.nFileSizeLow, 1u);
  EXPECT_EQ(CloseProgram(app, player), 0u);
}

// Whether a library of that name is loaded in the process.
bool Loaded(DWORD pid, const wchar_t* dll) {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32W module{sizeof(module)};
  bool found = false;
  for (BOOL more = ::Module32FirstW(snapshot, &module); more && !found; more = ::Module32NextW(snapshot, &module))
    found = _wcsicmp(module.szModule, dll) == 0;
  ::CloseHandle(snapshot);
  return found;
}

// MCI waits until something needs it: start-up does not pay for it. The shell comes once the
// player is shown, for the notification-area icon, which is no start-up cost then.
// (COM's libraries cannot be checked here: Wine's input-method support loads them anyway.)
TEST_F(Startup, MciLoadsOnlyWhenFirstNeeded) {
  RunningProgram app;
  HWND player = Start(app);
  ASSERT_NE(player, nullptr);
  ASSERT_TRUE(Loaded(app.pid(), L"comctl32.dll")) << "the module list can be read";
  EXPECT_FALSE(Loaded(app.pid(), L"winmm.dll"));

  // A clip is the board's first command to a device, which goes through MCI; its 停止
  // has nothing to stop before that.
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(::GetDlgItem(player, 0x007B), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result);
  HWND board = WaitForWindow(app.pid(), kBoardTitle, 10000);
  ASSERT_NE(board, nullptr);
  ::SendMessageTimeoutW(::GetDlgItem(board, 0x3D1C), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result);
  EXPECT_FALSE(Loaded(app.pid(), L"winmm.dll"));
  ::SendMessageTimeoutW(::GetDlgItem(board, 0x3CC4), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result);
  EXPECT_TRUE(Loaded(app.pid(), L"winmm.dll"));
  EXPECT_EQ(CloseProgram(app, player), 0u);
}

TEST_F(Startup, SecondInstanceSaysSoAndEndsWhileTheFirstRuns) {
  RunningProgram first;
  HWND player = Start(first);
  ASSERT_NE(player, nullptr);

  RunningProgram second = Launch(ProgramPath());
  ASSERT_TRUE(second.started());
  HWND box = WaitForMessageBox(second.pid(), 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"信息：");
  EXPECT_EQ(MessageBoxText(box), L"该程序已经在运行");
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_NE(second.WaitForExit(10000), static_cast<DWORD>(STILL_ACTIVE));

  EXPECT_TRUE(::IsWindow(player));
  EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForMessageBox(first.pid(), 0), nullptr);
  EXPECT_EQ(CloseProgram(first, player), 0u);
}

TEST_F(Startup, LeftoverMarkerFromAnEarlierRunIsTakenOver) {
  {
    RunningProgram earlier;
    HWND player = Start(earlier);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(CloseProgram(earlier, player), 0u);
  }
  ASSERT_NE(::GetFileAttributesW(PrimaryMarker().c_str()), INVALID_FILE_ATTRIBUTES);

  RunningProgram app;
  HWND player = Start(app);
  ASSERT_NE(player, nullptr);
  // Shown means the start-up handler is done: its box would have come, modal, before.
  EXPECT_EQ(WaitForMessageBox(app.pid(), 0), nullptr);
  // Held again: nobody else can open it.
  HANDLE f = ::CreateFileW(PrimaryMarker().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(f, INVALID_HANDLE_VALUE);
  if (f != INVALID_HANDLE_VALUE) ::CloseHandle(f);
  EXPECT_EQ(CloseProgram(app, player), 0u);
}

// Where the root of C: cannot hold the marker, the user's own folder does.
TEST_F(Startup, UnusableMarkerPlaceFallsBackToTheUsersFolder) {
  ASSERT_TRUE(::CreateDirectoryW(PrimaryMarker().c_str(), nullptr));
  RunningProgram first;
  HWND player = Start(first);
  ASSERT_NE(player, nullptr);
  // Shown means the start-up handler is done: its box would have come, modal, before.
  EXPECT_EQ(WaitForMessageBox(first.pid(), 0), nullptr) << "told wrongly that it is already running";
  const DWORD attrs = ::GetFileAttributesW(FallbackMarker().c_str());
  ASSERT_NE(attrs, INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(attrs & 0x27, 0x22u);

  RunningProgram second = Launch(ProgramPath());
  HWND box = WaitForMessageBox(second.pid(), 20000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"该程序已经在运行");
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_NE(second.WaitForExit(10000), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(CloseProgram(first, player), 0u);
}

// An elevated start may take "c:\\..." while a standard user's is denied there and takes its
// own folder. Here the first start finds the root unusable, the second finds it fine.
TEST_F(Startup, AStartThatCouldTakeAnotherMarkerIsStillRefused) {
  ASSERT_TRUE(::CreateDirectoryW(PrimaryMarker().c_str(), nullptr));
  RunningProgram first;
  HWND player = Start(first);
  ASSERT_NE(player, nullptr);
  ASSERT_NE(::GetFileAttributesW(FallbackMarker().c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(::RemoveDirectoryW(PrimaryMarker().c_str()));

  RunningProgram second = Launch(ProgramPath());
  ASSERT_TRUE(second.started());
  HWND box = WaitForMessageBox(second.pid(), 20000);
  ASSERT_NE(box, nullptr) << "a second instance runs";
  EXPECT_EQ(MessageBoxText(box), L"该程序已经在运行");
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_NE(second.WaitForExit(10000), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(CloseProgram(first, player), 0u);
}

}  // namespace
}  // namespace tovel::e2e
