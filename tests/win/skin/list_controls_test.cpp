// List-type controls: the frame that follows focus and hover, the skin behind the
// rows, and what is not taken over.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "base/handle.h"
#include "skin/helpers.h"
#include "tests/gallery/gallery_window.h"
#include "tests/win/skin/family_test_support.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

using namespace gallery;

bool Greenish(std::uint32_t c) { return G(c) > R(c) + 40 && G(c) > B(c) + 40; }

class GalleryLists : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = OpenGallery(Engine());
    list_ = ::GetDlgItem(window_, kListBox);
    ::SetFocus(::GetDlgItem(window_, kPushFocused));
    PumpPending();
  }
  void TearDown() override {
    ::DestroyWindow(window_);
    PumpPending();
  }
  // A pixel of the list's window, in its window coordinates.
  std::uint32_t At(int x, int y) const { return WindowPixel(list_, x, y); }
  HWND window_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(GalleryLists, FrameIsOneHighlightPixelWhenFocusedAndTwoWhenHovered) {
  const int y = 60;
  EXPECT_FALSE(Greenish(At(0, y)));
  ::SetFocus(list_);
  PumpPending();
  EXPECT_TRUE(Greenish(At(0, y)));
  EXPECT_FALSE(Greenish(At(1, y)));
  ::SendMessageW(list_, WM_MOUSEMOVE, 0, MAKELPARAM(20, y));
  EXPECT_TRUE(Greenish(At(0, y)));
  EXPECT_TRUE(Greenish(At(1, y)));
  ::SendMessageW(list_, WM_MOUSELEAVE, 0, 0);
  PumpPending();
  EXPECT_TRUE(Greenish(At(0, y)));
  EXPECT_FALSE(Greenish(At(1, y)));
  // The system's scroll bar stays the system's: not the skin.
  RECT r;
  ::GetWindowRect(list_, &r);
  SCROLLBARINFO bar{sizeof(bar)};
  ASSERT_TRUE(::GetScrollBarInfo(list_, OBJID_VSCROLL, &bar));
  const std::uint32_t thumb =
      At((bar.rcScrollBar.left + bar.rcScrollBar.right) / 2 - r.left, bar.rcScrollBar.top + 30 - r.top);
  EXPECT_TRUE(R(thumb) == G(thumb) && G(thumb) == B(thumb)) << std::hex << thumb;
}

TEST_F(GalleryLists, RowsAndEmptyAreaShowTheSkinThroughTheWhiteLayer) {
  SkinnedWindow& w = *Engine().Record(Engine().WindowNumber(window_));
  RECT client;
  ::GetClientRect(list_, &client);
  POINT origin{0, 0};
  ::MapWindowPoints(list_, window_, &origin, 1);
  // The right end of the third row holds no text: the skin, under a layer of alpha 0.
  RECT third{}, fourth{};
  ::SendMessageW(list_, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
  ::SendMessageW(list_, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&fourth));
  const int x = client.right - 6, y = (third.top + third.bottom) / 2, next = (fourth.top + fourth.bottom) / 2 - y;
  const RECT inWindow = ClientInWindowRect(list_);
  const auto shown = [&](int cx, int cy) { return WindowPixel(list_, inWindow.left + cx, inWindow.top + cy); };
  EXPECT_TRUE(Near(shown(x, y), Composed(w, origin.x + x, origin.y + y), 2));
  // A selected row is the system's selection, opaque; the others stay the skin.
  ::SendMessageW(list_, LB_SETCURSEL, 2, 0);
  EXPECT_FALSE(Near(shown(x, y), Composed(w, origin.x + x, origin.y + y), 30));
  EXPECT_TRUE(Near(shown(x, y + next), Composed(w, origin.x + x, origin.y + y + next), 2));
  // Scrolled, the skin stays in place behind the rows.
  ::SendMessageW(list_, WM_VSCROLL, SB_PAGEDOWN, 0);
  PumpPending();
  EXPECT_TRUE(Near(shown(x, y + next), Composed(w, origin.x + x, origin.y + y + next), 2));
}

// The lines of the first row that hold its text: where some pixel of the row's left
// part differs from the row's empty right end.
int FirstRowTextLines(HWND list) {
  RECT row{};
  ::SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  ::MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&row), 2);
  const std::vector<std::uint32_t> shown = Settled(row);
  const int w = row.right - row.left, h = row.bottom - row.top;
  int lines = 0;
  for (int y = 0; y < h; ++y) {
    const std::uint32_t empty = shown[static_cast<size_t>(y * w + w - 6)];
    for (int x = 0; x < w / 2; ++x)
      if (!Near(shown[static_cast<size_t>(y * w + x)], empty, 40)) {
        ++lines;
        break;
      }
  }
  return lines;
}

// The form gives a list its font at the window's scale; the rows the skin shows
// follow that font, in height and in the text drawn on the skin.
TEST_F(GalleryLists, RowsAndTextFollowTheFontTheListIsGiven) {
  const int rowBefore = static_cast<int>(::SendMessageW(list_, LB_GETITEMHEIGHT, 0, 0));
  const int linesBefore = FirstRowTextLines(list_);
  ASSERT_GT(linesBefore, 0) << "no text seen in the first row";
  LOGFONTW font{};
  auto given = reinterpret_cast<HFONT>(::SendMessageW(list_, WM_GETFONT, 0, 0));
  if (!given) given = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ASSERT_TRUE(::GetObjectW(given, sizeof font, &font));
  font.lfHeight *= 2;  // as at 192 DPI
  UniqueFont twice(::CreateFontIndirectW(&font));
  ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(twice.get()), TRUE);
  const int rowAfter = static_cast<int>(::SendMessageW(list_, LB_GETITEMHEIGHT, 0, 0));
  EXPECT_GE(rowAfter, rowBefore * 3 / 2);
  EXPECT_TRUE(PumpUntil([&] { return FirstRowTextLines(list_) >= linesBefore * 3 / 2; }))
      << "text lines before " << linesBefore << ", after " << FirstRowTextLines(list_);
  ::SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(given), FALSE);
}

TEST_F(GalleryLists, WhiteLayerOfTheGivenAlpha) {
  ::DestroyWindow(window_);
  window_ = OpenGallery(Engine(), 100);
  list_ = ::GetDlgItem(window_, kListBox);
  PumpPending();
  SkinnedWindow& w = *Engine().Record(Engine().WindowNumber(window_));
  RECT client;
  ::GetClientRect(list_, &client);
  const int x = client.right - 6, y = client.bottom - 6;  // below the last visible row's text
  POINT origin{0, 0};
  ::MapWindowPoints(list_, window_, &origin, 1);
  const std::uint32_t skin = Composed(w, origin.x + x, origin.y + y);
  const auto lighten = [](int v) { return v + (255 - v) * 100 / 255; };
  const std::uint32_t expected = (lighten(R(skin)) << 16) | (lighten(G(skin)) << 8) | lighten(B(skin));
  const RECT inWindow = ClientInWindowRect(list_);
  EXPECT_TRUE(Near(WindowPixel(list_, inWindow.left + x, inWindow.top + y), expected, 3));
}

TEST(ListTakeOver, OwnerDrawnListsBorderlessControlsAndSkinningOff) {
  HWND window = OpenGallery(Engine());
  COMBOBOXINFO info{sizeof(info)};
  ASSERT_TRUE(::GetComboBoxInfo(::GetDlgItem(window, kComboOwnerDrawn), &info));
  EXPECT_EQ(::GetPropW(info.hwndList, kPropNumber), nullptr);
  ASSERT_TRUE(::GetComboBoxInfo(::GetDlgItem(window, kComboDropDown), &info));
  EXPECT_NE(::GetPropW(info.hwndList, kPropNumber), nullptr);
  ::DestroyWindow(window);

  // A borderless list shows no frame, hovered or not.
  TestWindow plain(300, 200);
  HWND list = ::CreateWindowExW(0, WC_LISTBOXW, L"", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 20, 50, 120, 80,
                                plain.get(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
  HWND empty = ::CreateWindowExW(0, WC_LISTBOXW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 150, 50, 0, 0, plain.get(),
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
  plain.Skin();
  const std::uint32_t edge = WindowPixel(list, 0, 40);
  ::SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(10, 40));
  EXPECT_EQ(WindowPixel(list, 0, 40), edge);
  // A list without any size paints without dividing by zero.
  ::SendMessageW(empty, WM_NCPAINT, 1, 0);
  ::RedrawWindow(empty, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  EXPECT_TRUE(::IsWindow(empty));

  Engine().SetOptions(false);
  TestWindow off(300, 200);
  HWND other = ::CreateWindowExW(0, WC_LISTBOXW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 50, 120, 80, off.get(),
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
  off.Skin();
  EXPECT_EQ(::GetPropW(other, kPropNumber), nullptr);
  Engine().SetOptions(true, 0);
}

}  // namespace
}  // namespace tovel::skin::test
