#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/clips.h"
#include "app/sound_board.h"
#include "runtime/controls.h"
#include "tests/support/pump.h"
#include "base/jpeg_picture.h"
#include "base/text.h"
#include "tests/support/fake_controls.h"

namespace tovel {
namespace {

using testing::PumpPending;

// Takes every command and answers "done", so the handlers' traffic can be read back.
class RecordingMci : public MciChannel {
 public:
  bool Send(const std::wstring& command, std::wstring* answer) override {
    commands.push_back(command);
    if (answer) answer->clear();
    return true;
  }
  bool IsLiveWindow(std::intptr_t) override { return false; }
  int CountStartingWith(const std::wstring& prefix) const {
    return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                          [&](const std::wstring& c) { return c.rfind(prefix, 0) == 0; }));
  }
  std::vector<std::wstring> commands;
};

std::wstring FreshFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  std::wstring folder = std::wstring(temp) + L"tovel-board-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                        std::to_wstring(counter++) + L"\\";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void RemoveFolder(const std::wstring& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((folder + L"*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      ::SetFileAttributesW((folder + data.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW((folder + data.cFileName).c_str());
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(folder.c_str());
}

std::string Contents(const std::wstring& path) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buf[65536];
  DWORD got = 0;
  while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  ::CloseHandle(f);
  return bytes;
}

void Write(const std::wstring& path, const std::string& bytes) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD wrote = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  ::CloseHandle(f);
}

// Open for reading by someone who lets others read but not write, as a player holding the file might.
HANDLE HoldForReading(const std::wstring& path) {
  return ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::string AsString(ByteView bytes) { return std::string(bytes.begin(), bytes.end()); }

class SoundBoardWin : public ::testing::Test {
 protected:
  void SetUp() override {
    Runtime& rt = Runtime::Get();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    folder_ = FreshFolder();
    board_ = std::make_unique<SoundBoard>(rt, mci_, folder_);
    BindSoundBoardHandlers(rt, *board_);
    ASSERT_NE(rt.LoadForm(PlayerForm()), nullptr);
    PumpPending();
  }
  void TearDown() override {
    Runtime& rt = Runtime::Get();
    rt.CloseForm(kBoardWindowId);
    rt.CloseForm(kPlayerWindowId);
    PumpPending();
    board_.reset();
    for (int k = 0; k < static_cast<int>(HandlerKey::kCount); ++k) rt.Bind(static_cast<HandlerKey>(k), {});
    RemoveFolder(folder_);
  }

  static HWND Player() { return Runtime::Get().WindowHandle(kPlayerWindowId); }
  static HWND Board() { return Runtime::Get().WindowHandle(kBoardWindowId); }
  static void ClickOpen() {
    ::SendMessageW(::GetDlgItem(Player(), ChildId(player::kBoardButton)), BM_CLICK, 0, 0);
  }
  static void ClickClip(int number) {
    ::SendMessageW(::GetDlgItem(Board(), ChildId(board::kClipButtons[number - 1])), BM_CLICK, 0, 0);
  }
  int Sent() const { return static_cast<int>(mci_.commands.size()); }
  std::vector<std::wstring> SentSince(int from) const {
    return std::vector<std::wstring>(mci_.commands.begin() + from, mci_.commands.end());
  }

  RecordingMci mci_;
  std::wstring folder_;
  std::unique_ptr<SoundBoard> board_;
};

TEST_F(SoundBoardWin, HasADeviceOfItsOwnThatClosesWithTheWindow) {
  ClickOpen();
  ASSERT_NE(Board(), nullptr);
  ASSERT_NE(board_->media(), nullptr);
  const Text alias = board_->media()->alias();
  EXPECT_FALSE(alias.empty());

  // Again while open: the same window and the same device.
  MediaPlayControl* device = board_->media();
  HWND window = Board();
  ClickOpen();
  EXPECT_EQ(Board(), window);
  EXPECT_EQ(board_->media(), device);

  ClickClip(1);
  const int before = Sent();
  Runtime::Get().CloseForm(kBoardWindowId);
  EXPECT_EQ(board_->media(), nullptr);
  EXPECT_EQ(SentSince(before), std::vector<std::wstring>{L"close " + Widen(alias)});

  // Clicks that arrive for a board that is gone do nothing.
  board_->PlayClip(1);
  board_->PauseResume();
  EXPECT_EQ(Sent(), before + 1);

  ClickOpen();
  ASSERT_NE(board_->media(), nullptr);
  EXPECT_NE(board_->media()->alias(), alias);
}

// Closing the player ends the program: the board's window and device go with it, while
// everything they need still runs.
TEST_F(SoundBoardWin, TheBoardAndItsDeviceGoWithThePlayersWindow) {
  ClickOpen();
  ClickClip(1);
  HWND board = Board();
  const std::wstring close = L"close " + Widen(board_->media()->alias());
  Runtime::Get().CloseForm(kPlayerWindowId);
  EXPECT_FALSE(::IsWindow(board));
  EXPECT_EQ(board_->media(), nullptr);
  EXPECT_EQ(mci_.commands.back(), close);
}

// A board whose window is not there, or cannot be made.
class NoBoardWindow : public testing::FakeControlsOf<FormAccess> {
 public:
  bool IsLoaded(std::uint32_t) const override { return false; }
  bool OpenForm(const FormDesc&) override { return false; }
  void BringToFront(std::uint32_t) override {}
  void OnFormDestroyed(std::uint32_t, std::function<void()>) override {}
};

// Seen through plain values: a move of the player writes nothing for a board that is not
// there, and a board whose window cannot be made keeps no device.
TEST_F(SoundBoardWin, AMissingBoardIsNotWrittenToAndHoldsNoDevice) {
  NoBoardWindow values;
  values.SetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Left, 60);
  values.SetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Top, 40);
  values.SetInt(kPlayerWindowId, kPlayerWindowControl, Prop::Height, 391);
  SoundBoard missing(values, mci_, folder_);
  missing.Dock();
  EXPECT_EQ(values.GetInt(kBoardWindowId, kBoardWindowControl, Prop::Left), 0);
  EXPECT_EQ(values.GetInt(kBoardWindowId, kBoardWindowControl, Prop::Top), 0);
  missing.Open();
  EXPECT_EQ(missing.media(), nullptr);
}

TEST_F(SoundBoardWin, EveryClickReopensTheLabelledFileAndPlaysFromItsStart) {
  ClickOpen();
  const std::wstring alias = Widen(board_->media()->alias());
  const std::wstring path = folder_ + L"跪下";  // the label of "TMD跪下", 按钮10
  const std::vector<std::wstring> expected = {
      L"close " + alias,
      L"open \"" + path + L"\" type MPEGvideo alias " + alias,
      L"setaudio " + alias + L" left volume to 1000",
      L"setaudio " + alias + L" right volume to 1000",
      L"play " + alias,
  };
  for (int click = 0; click < 2; ++click) {
    const int before = Sent();
    ClickClip(10);
    EXPECT_EQ(SentSince(before), expected) << "click " << click + 1;
  }
  EXPECT_EQ(Contents(path), AsString(ResourceBytes(L"CLIP_10")));
}

// The volume goes with every clip opened and every move of the slider; between them
// nothing changes it, so no timer wakes the board to send it again.
TEST_F(SoundBoardWin, VolumeGoesWithEveryClipAndEverySliderMoveAndNoTimerRuns) {
  ClickOpen();
  const std::wstring setaudio = L"setaudio " + Widen(board_->media()->alias());
  EXPECT_FALSE(::KillTimer(Board(), ChildId(board::kTick))) << "the 10 ms re-apply timer runs";
  ClickClip(1);
  EXPECT_EQ(mci_.CountStartingWith(setaudio), 2);

  // As a user's drag: label and device at once.
  HWND slider = ::GetDlgItem(Board(), ChildId(board::kVolumeSlider));
  ::SendMessageW(slider, TBM_SETPOS, TRUE, 37);
  ::SendMessageW(Board(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 37), reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(Runtime::Get().GetText(kBoardWindowId, board::kVolumeLabel, Prop::TypeSpecific), "音量:37");
  EXPECT_EQ(mci_.commands.back(), setaudio + L" right volume to 370");

  // The next clip gets it between its open and its play.
  const int before = Sent();
  ClickClip(2);
  const std::vector<std::wstring> sent = SentSince(before);
  ASSERT_EQ(sent.size(), 5u);
  EXPECT_EQ(sent[2], setaudio + L" left volume to 370");
  EXPECT_EQ(sent[3], setaudio + L" right volume to 370");
  EXPECT_EQ(sent[4], L"play " + Widen(board_->media()->alias()));
}

TEST_F(SoundBoardWin, AClipFileThatCannotBeMadeRightIsNotPlayed) {
  ClickOpen();
  const std::wstring path = folder_ + L"群众笑声";
  Write(path, "not the clip");
  HANDLE holder = HoldForReading(path);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  const int before = Sent();
  ClickClip(1);
  EXPECT_EQ(mci_.CountStartingWith(L"open"), 0);
  EXPECT_EQ(Sent(), before);
  ::CloseHandle(holder);

  ClickClip(1);
  EXPECT_EQ(mci_.CountStartingWith(L"open"), 1);
  EXPECT_EQ(Contents(path), AsString(ResourceBytes(L"CLIP_01")));
}

TEST(ClipFiles, WrittenWhenMissingOrWrongAndLeftAloneWhenRight) {
  const std::wstring folder = FreshFolder();
  const std::wstring path = folder + L"贱笑";
  const ByteView clip = ResourceBytes(L"CLIP_02");

  EXPECT_TRUE(EnsureClipFile(path, clip));
  EXPECT_EQ(Contents(path), AsString(clip));

  // Right already and held open without write sharing: nothing to write, so nothing fails.
  HANDLE holder = HoldForReading(path);
  EXPECT_TRUE(EnsureClipFile(path, clip));
  ::CloseHandle(holder);

  Write(path, AsString(clip).substr(0, 1000));  // cut short by an earlier failure
  EXPECT_TRUE(EnsureClipFile(path, clip));
  EXPECT_EQ(Contents(path), AsString(clip));

  // Wrong and held: it cannot be fixed, and says so.
  Write(path, "wrong");
  holder = HoldForReading(path);
  EXPECT_FALSE(EnsureClipFile(path, clip));
  ::CloseHandle(holder);
  EXPECT_EQ(Contents(path), "wrong");

  EXPECT_FALSE(EnsureClipFile(folder + L"no such folder\\贱笑", clip));
  EXPECT_FALSE(EnsureClipFile(folder + L"empty", ByteView()));
  RemoveFolder(folder);
}

}  // namespace
}  // namespace tovel
