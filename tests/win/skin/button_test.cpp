// Buttons of the gallery: taken over or not, their looks read back from the screen,
// and what the platform does with them left intact.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "skin/button.h"
#include "skin/helpers.h"
#include "tests/gallery/gallery_window.h"
#include "tests/win/skin/painted.h"
#include "tests/win/skin/skin_test_support.h"

namespace tovel::skin::test {
namespace {

using namespace gallery;

constexpr std::uint32_t kHighlight = 0x51AE51;  // the highlight, as 0x00RRGGBB
constexpr std::uint32_t kSilver = 0xC0C0C0;

class GalleryButtons : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = OpenGallery(Engine());
    ASSERT_TRUE(PumpUntil([&] { return !Engine().Record(Engine().WindowNumber(window_))->Dirty(); }));
    PumpPending();
  }
  void TearDown() override {
    ::DestroyWindow(window_);
    PumpPending();
  }
  HWND Item(int id) const { return ::GetDlgItem(window_, id); }
  // A pixel of a control (buttons have no frame: client and window agree).
  std::uint32_t At(int id, int x, int y) const { return WindowPixel(Item(id), x, y); }
  std::vector<std::uint32_t> Face(int id) const {
    RECT r;
    ::GetClientRect(Item(id), &r);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < r.bottom; y += 2)
      for (int x = 0; x < r.right; x += 2) pixels.push_back(At(id, x, y));
    return pixels;
  }
  void Send(int id, UINT msg, WPARAM wp = 0, LPARAM lp = MAKELPARAM(5, 5)) { ::SendMessageW(Item(id), msg, wp, lp); }

  HWND window_ = nullptr;
};

TEST_F(GalleryButtons, PushButtonsAreOwnerDrawnWithTheirIdsAndCaptions) {
  for (int id : {kPushNormal, kPushDefault, kPushDisabled, kPushFocused}) {
    HWND b = Item(id);
    EXPECT_EQ(::GetWindowLongPtrW(b, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW) << id;
    EXPECT_EQ(::GetDlgCtrlID(b), id);
    EXPECT_NE(::GetPropW(b, kPropNumber), nullptr) << id;
  }
  wchar_t text[32];
  ::GetWindowTextW(Item(kPushNormal), text, 32);
  EXPECT_STREQ(text, L"普通按钮");
  // A group box and a button that draws itself are left alone.
  EXPECT_EQ(::GetPropW(Item(kGroupBox), kPropNumber), nullptr);
  EXPECT_EQ(::GetPropW(Item(kOwnerDrawn), kPropNumber), nullptr);
  EXPECT_NE(::GetPropW(Item(kCheckBox), kPropNumber), nullptr);
  EXPECT_NE(::GetPropW(Item(kRadioTwo), kPropNumber), nullptr);

  // Captions survive every WM_SETTEXT, in Chinese, whatever the code page (this
  // process runs with 1252), and the new one is what is drawn.
  ASSERT_EQ(::GetACP(), 1252u);
  const auto before = Face(kPushNormal);
  ::SetWindowTextW(Item(kPushNormal), L"暂停");
  ::UpdateWindow(Item(kPushNormal));
  ::GetWindowTextW(Item(kPushNormal), text, 32);
  EXPECT_STREQ(text, L"暂停");
  EXPECT_NE(Face(kPushNormal), before);
  ::SetWindowTextW(Item(kPushNormal), L"普通按钮");
  ::UpdateWindow(Item(kPushNormal));
  EXPECT_EQ(Face(kPushNormal), before);

  // A double click is not a press.
  Send(kPushNormal, WM_LBUTTONDBLCLK, MK_LBUTTON);
  EXPECT_EQ(::SendMessageW(Item(kPushNormal), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
  EXPECT_NE(::GetCapture(), Item(kPushNormal));
}

TEST_F(GalleryButtons, HotFocusedPressedAndDisabledLooks) {
  RECT r;
  ::GetClientRect(Item(kPushNormal), &r);
  const int midX = r.right / 2;
  const auto normal = Face(kPushNormal);
  EXPECT_NE(At(kPushNormal, midX, 0), kHighlight);

  Send(kPushNormal, WM_MOUSEMOVE);
  EXPECT_EQ(At(kPushNormal, midX, 0), kHighlight);  // the outline in the highlight colour
  Send(kPushNormal, WM_MOUSELEAVE);
  EXPECT_EQ(Face(kPushNormal), normal);  // and the face exactly as before

  // Pressed: the face below the gloss takes the pressed gradient.
  const std::uint32_t low = At(kPushNormal, 6, r.bottom - 5);
  Send(kPushNormal, BM_SETSTATE, TRUE, 0);
  ::UpdateWindow(Item(kPushNormal));
  EXPECT_NE(At(kPushNormal, 6, r.bottom - 5), low);
  Send(kPushNormal, BM_SETSTATE, FALSE, 0);

  // The focused button glows in its own colour along its edge.
  const std::uint32_t glow = At(kPushFocused, 1, r.bottom / 2);
  EXPECT_GT(B(glow), R(glow) + 30);

  // Disabled: silver, whatever the pointer does.
  EXPECT_EQ(At(kPushDisabled, 4, r.bottom / 2), kSilver);
  Send(kPushDisabled, WM_MOUSEMOVE);
  EXPECT_EQ(At(kPushDisabled, 4, r.bottom / 2), kSilver);
  EXPECT_NE(At(kPushDisabled, midX, 0), kHighlight);
}

TEST_F(GalleryButtons, CheckBoxTogglesBySpaceAndIsRepaintedAtOnce) {
  HWND check = Item(kCheckBox);
  RECT r;
  ::GetClientRect(check, &r);
  const int markTop = (r.bottom - 13) / 2;
  // The mark's square with the focus ring around it, read back from the window.
  const auto mark = [&] {
    std::vector<std::uint32_t> pixels;
    for (int y = markTop - 1; y <= markTop + 13; ++y)
      for (int x = 0; x <= 14; ++x) pixels.push_back(At(kCheckBox, x, y));
    return pixels;
  };
  const auto unchecked = Face(kCheckBox);
  ::SetFocus(check);
  const auto focusedMark = mark();
  Send(kCheckBox, WM_KEYDOWN, VK_SPACE, 0x00390001);
  Send(kCheckBox, WM_KEYUP, VK_SPACE, 0xC0390001);
  EXPECT_EQ(::SendMessageW(check, BM_GETCHECK, 0, 0), BST_CHECKED);
  // The skin's tick is there without waiting for a paint: right after the toggle the
  // window shows what a full repaint of the skin shows, not the platform's own box.
  const auto toggled = mark();
  EXPECT_NE(toggled, focusedMark);
  EXPECT_LT(std::min(G(At(kCheckBox, 5, markTop + 8)), G(At(kCheckBox, 5, markTop + 9))), 120);
  ::RedrawWindow(check, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(toggled, mark());
  // Hot: the mark's square lights up.
  Send(kCheckBox, WM_MOUSEMOVE);
  EXPECT_NE(At(kCheckBox, 1, markTop + 1), unchecked[0]);
  Send(kCheckBox, WM_MOUSELEAVE);
  Send(kCheckBox, BM_SETCHECK, BST_UNCHECKED, 0);
  ::SetFocus(Item(kPushFocused));
  EXPECT_EQ(Face(kCheckBox), unchecked);

  // Disabled: silver too.
  ::EnableWindow(check, FALSE);
  EXPECT_EQ(At(kCheckBox, r.right - 3, r.bottom / 2), kSilver);
  ::EnableWindow(check, TRUE);

  // The radio pair: the second takes the mark from the first, both repainted.
  Send(kRadioTwo, WM_LBUTTONDOWN, MK_LBUTTON);
  Send(kRadioTwo, WM_LBUTTONUP, 0);
  EXPECT_EQ(::SendMessageW(Item(kRadioTwo), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(::SendMessageW(Item(kRadioOne), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

}  // namespace
}  // namespace tovel::skin::test

namespace tovel::skin::test {
namespace {

// Where a face's top edge turns straight: the first pixel of the top row as the middle
// of that row shows it. A rounded corner's arc meets the edge at about its radius.
int CornerReach(const Painted& p) {
  const Argb straight = p.At(p.width() / 2, 0);
  for (int x = 0; x < p.width(); ++x)
    if (p.At(x, 0) == straight) return x;
  return p.width();
}

TEST(ButtonPainters, PushButtonCornersGrowWithTheScale) {
  for (int dpi : kTriedDpis) {
    SCOPED_TRACE(AtDpi(dpi));
    const Scale scale(dpi);
    const Painted p(scale.Px(80), scale.Px(24), [&](Graphics& g) {
      PaintPushButton(g, Rect{0, 0, scale.Px(80), scale.Px(24)}, ButtonLook{}, scale);
    });
    // A corner of 5 pixels' diameter at 96 DPI.
    EXPECT_NEAR(CornerReach(p), 2.5f * FactorOf(dpi), 1.0f);
  }
}

TEST(ButtonPainters, CheckBoxIsThirteenPixelsScaledAtTheLeftEdgeCentredWithItsMarkInside) {
  for (int dpi : kTriedDpis) {
    SCOPED_TRACE(AtDpi(dpi));
    const Scale scale(dpi);
    const int w = scale.Px(100), h = scale.Px(20), size = scale.Px(13);
    ButtonLook look;
    look.checked = true;
    const Painted p(w, h, [&](Graphics& g) { PaintCheckBox(g, Rect{0, 0, w, h}, look, scale); });
    const RECT box = p.Bounds(AnyInk);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right - box.left, size);
    EXPECT_EQ(box.bottom - box.top, size);
    EXPECT_EQ(box.top, (h - size) / 2);
    const RECT mark = p.Bounds(DarkInk);
    ASSERT_LT(mark.left, mark.right) << "no mark drawn";
    EXPECT_GT(mark.left, box.left);
    EXPECT_LT(mark.right, box.right);
    EXPECT_GT(mark.top, box.top);
    EXPECT_LT(mark.bottom, box.bottom);
    // The mark spans about half the box whatever the scale.
    EXPECT_NEAR(mark.right - mark.left, 0.5f * size, 0.15f * size);
  }
}

}  // namespace
}  // namespace tovel::skin::test
