#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "app/playback.h"
#include "app/song_search.h"
#include "app/song_search_win.h"
#include "runtime/controls.h"
#include "runtime/slider_input.h"
#include "tests/support/pump.h"

namespace tovel {
namespace {

std::vector<int> Found(std::initializer_list<const char*> paths, const char* search) {
  Array<Text> songs;
  for (const char* p : paths) songs.Append(p);
  const ListRows rows = RowsMatching(songs, search);
  std::vector<int> found;
  for (int row = 0; row < rows.Count(songs.Count()); ++row) found.push_back(rows.SongAt(row, songs.Count()));
  return found;
}

TEST(SongSearchWin, LettersBeyondAsciiMatchWithoutCaseAndOtherScriptsAsTheyAre) {
  const auto songs = {"D:\\m\\Été indien.mp3", "D:\\m\\ÜBER ALLES.mp3", "D:\\m\\Ωμέγα.mp3", "D:\\m\\晴天.mp3",
                      "D:\\m\\ＡＢＣ.mp3", "D:\\m\\노래.mp3"};
  EXPECT_EQ(Found(songs, "éTÉ"), (std::vector<int>{0}));
  EXPECT_EQ(Found(songs, "über"), (std::vector<int>{1}));
  EXPECT_EQ(Found(songs, "ΩΜΈ"), (std::vector<int>{2}));
  EXPECT_EQ(Found(songs, "晴"), (std::vector<int>{3}));
  EXPECT_EQ(Found(songs, "ａｂ"), (std::vector<int>{4}));
  EXPECT_EQ(Found(songs, "노래"), (std::vector<int>{5}));
  EXPECT_TRUE(Found(songs, "ete").empty()) << "accents are letters of their own";
}

// A hidden window with one track bar whose scroll reports it keeps.
class SliderWindow {
 public:
  SliderWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SliderInputTestParent";
    ::RegisterClassW(&wc);
    parent_ = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ::SetWindowLongPtrW(parent_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&reports));
    slider = ::CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_NOTICKS, 8, 8, 336,
                               23, parent_, nullptr, wc.hInstance, nullptr);
    ::SendMessageW(slider, TBM_SETRANGEMIN, FALSE, 1);
    ::SendMessageW(slider, TBM_SETRANGEMAX, FALSE, 100);
    ::SendMessageW(slider, TBM_SETPAGESIZE, 0, 5);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, 50);
    HookSliderInput(slider);
  }
  ~SliderWindow() { ::DestroyWindow(parent_); }
  int Position() const { return static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)); }

  HWND slider = nullptr;
  std::vector<int> reports;  // the position each scroll report carried

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HSCROLL && LOWORD(wp) != TB_ENDTRACK) {
      auto* r = reinterpret_cast<std::vector<int>*>(::GetWindowLongPtrW(h, GWLP_USERDATA));
      if (r) r->push_back(static_cast<int>(::SendMessageW(reinterpret_cast<HWND>(lp), TBM_GETPOS, 0, 0)));
    }
    return ::DefWindowProcW(h, msg, wp, lp);
  }
  HWND parent_ = nullptr;
};

TEST(SliderInput, AClickOffTheThumbJumpsThereAndTheWheelMovesAPageANotchReportedAsAScroll) {
  SliderWindow w;
  RECT channel{}, thumb{};
  ::SendMessageW(w.slider, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  ::SendMessageW(w.slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const int y = (thumb.top + thumb.bottom) / 2;
  const int nearEnd = channel.right - (thumb.right - thumb.left) / 2 - 1;
  ::SendMessageW(w.slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(nearEnd, y));
  ::SendMessageW(w.slider, WM_LBUTTONUP, 0, MAKELPARAM(nearEnd, y));
  EXPECT_GE(w.Position(), 98) << "a click near the end goes near the end, not a page on";
  ASSERT_FALSE(w.reports.empty());
  EXPECT_EQ(w.reports.front(), w.Position()) << "reported as a user's scroll";
  ::SendMessageW(w.slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  EXPECT_LE(thumb.left, nearEnd);
  EXPECT_GE(thumb.right, nearEnd) << "the thumb is under the pointer";

  ::SendMessageW(w.slider, TBM_SETPOS, TRUE, 50);
  w.reports.clear();
  ::SendMessageW(w.slider, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(w.Position(), 55) << "up is toward the maximum";
  ::SendMessageW(w.slider, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0);
  EXPECT_EQ(w.Position(), 40);
  // A fine wheel's parts add up to a notch.
  ::SendMessageW(w.slider, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), 0);
  EXPECT_EQ(w.Position(), 40);
  ::SendMessageW(w.slider, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA / 2), 0);
  EXPECT_EQ(w.Position(), 45);
  EXPECT_EQ(w.reports, (std::vector<int>{55, 40, 45}));
  ::SendMessageW(w.slider, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-30 * WHEEL_DELTA)), 0);
  EXPECT_EQ(w.Position(), 1) << "the range holds";
}

class SilentDevice : public MediaDevice {
 public:
  bool Open(const Text&) override { return false; }
  bool Play(int) override { return false; }
  MediaMode StatusMode() override { return MediaMode::Other; }
  int LengthMs() override { return 0; }
  int LengthSeconds() override { return 0; }
  bool PauseResume() override { return false; }
  bool Stop() override { return false; }
  bool SetVolume(std::optional<int>, std::optional<int>) override { return false; }
};

RECT PlaceIn(HWND control) {
  RECT r;
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST(SongSearchWin, TheListLeavesTheFieldItsBandAlsoAfterANewScale) {
  Runtime& rt = Runtime::Get();
  PlayerState state;
  SilentDevice device;
  Playback playback(rt, device, state);
  SongSearch search(rt, state, playback);
  HWND player = rt.LoadForm(PlayerForm());
  ASSERT_NE(player, nullptr);
  PrepareSearchField(rt, search);
  HWND list = rt.ControlHandle(kPlayerWindowId, player::kList);
  HWND field = rt.ControlHandle(kPlayerWindowId, player::kSearchField);
  const RECT before = PlaceIn(list);

  search.Open();
  EXPECT_TRUE(::IsWindowVisible(field));
  EXPECT_EQ(PlaceIn(list).top, PlaceIn(field).bottom);
  EXPECT_EQ(PlaceIn(list).bottom, before.bottom);

  // The window goes to a display at 150 %: every control is placed from the form again.
  RECT suggested;
  ::GetWindowRect(player, &suggested);
  suggested.right = suggested.left + 527;
  suggested.bottom = suggested.top + 587;
  ::SendMessageW(player, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_GT(PlaceIn(field).top, before.top) << "the field has its new place";
  EXPECT_EQ(PlaceIn(list).top, PlaceIn(field).bottom) << "and the list leaves it its band";
  EXPECT_EQ(PlaceIn(list).bottom, 492) << "328 at 150 %";

  search.Close();
  EXPECT_FALSE(::IsWindowVisible(field));
  EXPECT_EQ(PlaceIn(list).top, PlaceIn(field).top);
  rt.CloseForm(kPlayerWindowId);
  testing::PumpPending();
}

}  // namespace
}  // namespace tovel
