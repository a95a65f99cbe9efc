#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "base/text.h"
#include "tests/e2e/e2e_support.h"

namespace tovel {
namespace {

TEST(FatalPath, ShowsTheErrorThenEndsWithExitCodeMinusOne) {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring probe(self);
  probe = probe.substr(0, probe.find_last_of(L'\\') + 1) + Widen(TOVEL_FATAL_PROBE);

  e2e::RunningProgram app = e2e::Launch(probe);
  ASSERT_TRUE(app.started());
  HWND box = e2e::WaitForMessageBox(app.pid(), 10000);
  ASSERT_NE(box, nullptr) << "no message box";
  wchar_t caption[64];
  ::GetWindowTextW(box, caption, 64);
  EXPECT_EQ(Narrow(caption), "信息：");
  EXPECT_EQ(Narrow(e2e::MessageBoxText(box)),
            "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1");

  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(app.WaitForExit(10000), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace tovel
