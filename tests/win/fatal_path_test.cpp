#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "runtime/text.h"

namespace tovel {
namespace {

struct BoxSearch {
  DWORD pid;
  HWND found = nullptr;
};

BOOL CALLBACK FindDialogOf(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<BoxSearch*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  wchar_t cls[16];
  ::GetClassNameW(h, cls, 16);
  if (pid == s->pid && std::wstring(cls) == L"#32770") {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

// The message box's text is its longest static control.
BOOL CALLBACK CollectText(HWND h, LPARAM lp) {
  wchar_t cls[16];
  ::GetClassNameW(h, cls, 16);
  if (std::wstring(cls) == L"Static") {
    wchar_t buf[512];
    ::GetWindowTextW(h, buf, 512);
    auto* best = reinterpret_cast<std::wstring*>(lp);
    if (wcslen(buf) > best->size()) *best = buf;
  }
  return TRUE;
}

TEST(FatalPath, ShowsTheErrorThenEndsWithExitCodeMinusOne) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring probe(self);
  probe = probe.substr(0, probe.find_last_of(L'\\') + 1) + Widen(TOVEL_FATAL_PROBE);

  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(probe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));

  BoxSearch search{pi.dwProcessId};
  for (int i = 0; i < 200 && !search.found; ++i) {
    ::Sleep(50);
    ::EnumWindows(FindDialogOf, reinterpret_cast<LPARAM>(&search));
  }
  ASSERT_NE(search.found, nullptr) << "no message box";
  wchar_t caption[64];
  ::GetWindowTextW(search.found, caption, 64);
  EXPECT_EQ(Narrow(caption), "信息：");
  std::wstring text;
  ::EnumChildWindows(search.found, CollectText, reinterpret_cast<LPARAM>(&text));
  EXPECT_EQ(Narrow(text), "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1");

  ::PostMessageW(search.found, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(::WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 0;
  ::GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0xFFFFFFFFu);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
}

}  // namespace
}  // namespace tovel
