#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "app/player_state.h"
#include "app/skin_setup.h"
#include "app/song_list.h"
#include "app/startup.h"
#include "base/text.h"
#include "runtime/controls.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel {
namespace {

using e2e::kExportFile;
const std::wstring kSongA = L"c:\\songs\\a.mp3";
const std::wstring kSongB = L"c:\\songs\\b.mp3";

std::wstring ConfigFile() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring path(self);
  return path.substr(0, path.find_last_of(L'\\')) + L"\\歌曲配置.ini";
}

void RemoveFiles() {
  e2e::RemoveMarker(e2e::PrimaryMarker());
  e2e::RemoveMarker(e2e::FallbackMarker());
  ::DeleteFileW(kExportFile.c_str());
  ::DeleteFileW(ConfigFile().c_str());
}

// The built program, in the platform's own separators.
std::wstring ProgramFile() {
  std::wstring path = Widen(TOVEL_PROGRAM_FILE);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

enum class NextStart { Refused, Runs, Undecided };

// Starts the real program and waits until it either says that one runs already or shows
// its player. Meanwhile this thread answers what is sent to it, as a message loop would.
NextStart StartTheProgram() {
  e2e::RunningProgram next = e2e::Launch(ProgramFile());
  if (!next.started()) return NextStart::Undecided;
  HWND box = nullptr, player = nullptr;
  e2e::WaitUntil(
      [&] {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        box = e2e::WaitForMessageBox(next.pid(), 0);
        player = e2e::WaitForWindow(next.pid(), e2e::kPlayerTitle, 0);
        return box || (player && ::IsWindowVisible(player));
      },
      30000);
  if (box) {
    const bool told = e2e::MessageBoxText(box) == L"该程序已经在运行";
    e2e::CloseBox(box);
    next.WaitForExit(10000);
    return told ? NextStart::Refused : NextStart::Undecided;
  }
  if (player) e2e::CloseProgram(next, player);
  return player ? NextStart::Runs : NextStart::Undecided;
}

// This process is the instance that ends, with the program's own start-up, song list and
// save-on-exit; the real program is the start made right after its last exit write.
class EndingInstance : public ::testing::Test {
 protected:
  static PlayerState& State() {
    static PlayerState state;
    return state;
  }
  void SetUp() override {
    static const bool skinStarted = (InitialiseSkin(), true);
    (void)skinStarted;
    RemoveFiles();
    Runtime& rt = Runtime::Get();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    BindSongListHandlers(rt, State());
    rt.Bind(HandlerKey::PlayerStartup, [&rt] { OnPlayerStartup([&rt] { LoadStoredSongList(rt, State()); }); });
    e2e::WriteBytes(ConfigFile(), e2e::GbkIni({kSongA, kSongB}));
  }
  void TearDown() override {
    Runtime::Get().CloseForm(kPlayerWindowId);
    HeldInstanceLock() = InstanceLock{};
    State().songList.Clear();
    State().listModified = 0;
    RemoveFiles();
  }
};

TEST_F(EndingInstance, AStartRightAfterTheLastExitWriteIsRefused) {
  Runtime& rt = Runtime::Get();
  ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
  ASSERT_EQ(HeldInstanceLock().outcome, LockOutcome::Acquired);
  HWND player = rt.WindowHandle(kPlayerWindowId);
  HWND list = ::GetDlgItem(player, ChildId(player::kList));
  ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  // "删除选中" on the first entry: the exit writes the export of the rest.
  ::SendMessageW(list, LB_SETCURSEL, 0, 0);
  ::SendMessageW(player, WM_COMMAND, ChildId(player::kMenuRemove), 0);

  std::string exported;
  NextStart next = NextStart::Undecided;
  // Runs once the player's save-on-exit is done, while this instance is still ending.
  rt.OnFormDestroyed(kPlayerWindowId, [&] {
    exported = e2e::FileBytes(kExportFile);
    next = StartTheProgram();
  });
  rt.CloseForm(kPlayerWindowId);
  EXPECT_EQ(exported, e2e::Gbk(kSongB + L"\r\n")) << "the export was not written before the check";
  EXPECT_EQ(next, NextStart::Refused) << (next == NextStart::Runs ? "a second instance ran" : "no answer");

  // Once the ending instance lets go, a start runs.
  HeldInstanceLock() = InstanceLock{};
  EXPECT_EQ(StartTheProgram(), NextStart::Runs);
}

}  // namespace
}  // namespace tovel
