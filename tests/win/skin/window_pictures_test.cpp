// The skin gallery, drawn with the pointer parked away, the focus on its "focused"
// button and a fixed day in its date picker, is the kept picture pixel for pixel.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/support/screen_pictures.h"
#include "tests/win/skin/family_test_support.h"

namespace tovel::skin::test {
namespace {

using tovel::testing::ExpectSamePixels;
using tovel::testing::SettledScreen;
using tovel::testing::WindowArea;

TEST(SkinPictures, TheGalleryIsDrawnAsKept) {
  PointAt(900, 900);
  Gallery gallery;
  HWND focused = gallery.Item(gallery::kPushFocused);
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == focused && ::GetForegroundWindow() == gallery.get(); }))
      << "the gallery's focused button never had the focus";
  // The date picker shows today unless told otherwise.
  SYSTEMTIME day{};
  day.wYear = 2014;
  day.wMonth = 6;
  day.wDay = 1;
  ASSERT_TRUE(::SendMessageW(gallery.Item(gallery::kDatePicker), DTM_SETSYSTEMTIME, GDT_VALID,
                             reinterpret_cast<LPARAM>(&day)));
  ExpectSamePixels(SettledScreen(WindowArea(gallery.get())), L"gallery.png");
}

}  // namespace
}  // namespace tovel::skin::test
