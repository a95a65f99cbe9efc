// Edit boxes and combo boxes on the gallery: the edit frame follows the pointer
// and the focus; combo boxes are painted whole, owner-drawn ones are left alone;
// text colours reach the part that draws the text.
#include <windows.h>

#include <gtest/gtest.h>

#include "skin/edit_combo.h"
#include "skin/families.h"
#include "skin/glyphs.h"
#include "tests/win/skin/family_test_support.h"
#include "tests/win/skin/painted.h"

namespace tovel::skin::test {
namespace {

constexpr ColourRef kHighlight = 0x0051AE51;  // the gallery's

struct FramePixels {
  std::uint32_t outer, second;  // the frame's outermost pixel and the one inside it
};

// Pixels on the left edge, halfway down.
FramePixels LeftEdge(HWND e) {
  const RECT r = ScreenRect(e);
  const int y = (r.top + r.bottom) / 2;
  return {Screen(r.left, y), Screen(r.left + 1, y)};
}

class EditFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    PointAt(900, 900);
    edit_ = gallery_.Item(gallery::kSpinBuddy);
    const RECT r = ScreenRect(edit_);
    const int y = (r.top + r.bottom) / 2;
    skinOuter_ = SkinAt(*gallery_.Record(), POINT{r.left, y});
    skinSecond_ = SkinAt(*gallery_.Record(), POINT{r.left + 1, y});
  }
  bool Shows(std::uint32_t outer, int tolerance = 3) {
    return PumpUntil([&] { return Near(LeftEdge(edit_).outer, outer, tolerance); }, 2000);
  }
  std::uint32_t Neutral() const { return Blend(skinOuter_, 0x000000, 80); }
  std::uint32_t Highlighted() const { return Blend(skinOuter_, kHighlight, 180); }

  Gallery gallery_;
  HWND edit_ = nullptr;
  std::uint32_t skinOuter_ = 0, skinSecond_ = 0;
};

TEST_F(EditFrame, OnePixelOfHighlightWithTheFocusOrThePointerNeutralOtherwise) {
  ASSERT_NE(::GetFocus(), edit_);
  EXPECT_TRUE(Shows(Neutral()));

  ::SetFocus(edit_);
  EXPECT_TRUE(Shows(Highlighted()));
  // One pixel: inside it the frame ring shows the skin.
  const std::uint32_t inside = LeftEdge(edit_).second;
  EXPECT_TRUE(Near(inside, skinSecond_, 3));

  ::SetFocus(gallery_.Item(gallery::kPushNormal));
  EXPECT_TRUE(Shows(Neutral()));

  // Under the pointer the frame is two pixels of highlight; it goes when the
  // pointer leaves.
  const RECT r = ScreenRect(edit_);
  PointAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(Shows(Highlighted()));
  EXPECT_TRUE(Near(LeftEdge(edit_).second, Blend(skinSecond_, kHighlight, 180), 3));
  PointAt(900, 900);
  EXPECT_TRUE(Shows(Neutral()));
  EXPECT_EQ(LeftEdge(edit_).second, inside);
}

TEST_F(EditFrame, EditWithAScrollBarKeepsTheSystemsBarInsideTheSkinsFrame) {
  HWND e = gallery_.Item(gallery::kEditScroll);
  SCROLLBARINFO bar{sizeof(bar)};
  ASSERT_TRUE(::GetScrollBarInfo(e, OBJID_VSCROLL, &bar));
  const RECT r = ScreenRect(e);
  // The bar lies inside the frame ring, and the ring is the skin's, not the platform's.
  EXPECT_EQ(bar.rcScrollBar.right, r.right - 2);
  const int y = (r.top + r.bottom) / 2;
  EXPECT_TRUE(PumpUntil(
      [&] { return Near(Screen(r.right - 1, y), Blend(SkinAt(*gallery_.Record(), POINT{r.right - 1, y}), 0, 80), 3); },
      2000));
  // The bar's arrow button is the system's: light, unlike the dark skin around it.
  const std::uint32_t button = Screen((bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.top + 3);
  EXPECT_GT(R(button) + G(button) + B(button), 3 * 150);
}

TEST(SkinCombo, OwnerDrawnIsLeftToItsOwnerAndTheOthersAreTakenOverWithTheirEditParts) {
  Gallery gallery;
  SkinnedWindow& w = *gallery.Record();
  HWND owner = gallery.Item(gallery::kComboOwnerDrawn);
  EXPECT_EQ(::GetPropW(owner, kPropNumber), nullptr);
  EXPECT_EQ(::GetPropW(owner, kPropOldProc), nullptr);
  EXPECT_FALSE(IsRegistered(w.List(Family::Combos), owner));
  for (int id : {gallery::kComboSimple, gallery::kComboDropDown, gallery::kComboDropList})
    EXPECT_TRUE(IsRegistered(w.List(Family::Combos), gallery.Item(id))) << id;
  HWND edit = ::FindWindowExW(gallery.Item(gallery::kComboDropDown), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(IsRegistered(w.List(Family::Edits), edit));

  // The owner still draws its own face: the gallery's plain grey.
  const RECT r = ScreenRect(owner);
  EXPECT_TRUE(PumpUntil([&] { return Screen(r.left + 10, (r.top + r.bottom) / 2) == 0x808080; }, 2000));

  // Taking the window's controls over again adds nothing.
  const EngineCounts before = Engine().Counts();
  const int properties = LivePropertyCount();
  AttachControlFamilies(Engine(), Engine().WindowNumber(gallery.get()), gallery.get());
  EXPECT_EQ(Engine().Counts().controls, before.controls);
  EXPECT_EQ(LivePropertyCount(), properties);
}

TEST(SkinCombo, TextColourOfAComboBoxReachesItsEditPartOrADropListItself) {
  Gallery gallery;
  HWND combo = gallery.Item(gallery::kComboDropDown);
  HWND edit = ::FindWindowExW(combo, nullptr, L"Edit", nullptr);
  Engine().SetControlTextColour(combo, 0x00123456);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(::GetPropW(edit, kPropTextColour)), 0x00123456u);
  EXPECT_EQ(::GetPropW(combo, kPropTextColour), nullptr);

  // A drop list has no edit part: the skin draws its text in the colour it is given.
  HWND list = gallery.Item(gallery::kComboDropList);
  ASSERT_EQ(::FindWindowExW(list, nullptr, L"Edit", nullptr), nullptr);
  const RECT r = ScreenRect(list);
  const RECT text{r.left + 3, r.top + 3, r.left + 50, r.bottom - 3};
  const auto count = [&](bool (*ink)(std::uint32_t)) {
    int n = 0;
    for (std::uint32_t p : ScreenArea(text)) n += ink(p);
    return n;
  };
  const auto white = [](std::uint32_t p) { return R(p) > 200 && G(p) > 200 && B(p) > 200; };
  const auto red = [](std::uint32_t p) { return R(p) > 180 && G(p) < 90 && B(p) < 90; };
  EXPECT_TRUE(PumpUntil([&] { return count(white) > 10; }, 2000));  // the gallery's white
  Engine().SetControlTextColour(list, 0x000000FF);
  EXPECT_TRUE(PumpUntil([&] { return count(red) > 10 && count(white) == 0; }, 2000));
}

TEST(SkinCombo, DropButtonCarriesTheArrowAndTheBorderLightsUnderThePointer) {
  PointAt(900, 900);
  Gallery gallery;
  HWND combo = gallery.Item(gallery::kComboDropList);
  COMBOBOXINFO info{sizeof(info)};
  ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
  POINT centre{(info.rcButton.left + info.rcButton.right) / 2, (info.rcButton.top + info.rcButton.bottom) / 2};
  ::ClientToScreen(combo, &centre);
  // The arrow's widest row, 7 black pixels, sits just above the button's middle.
  EXPECT_TRUE(PumpUntil([&] { return Screen(centre.x, centre.y - 1) == 0 || Screen(centre.x, centre.y) == 0; },
                        2000));

  const RECT r = ScreenRect(combo);
  const POINT top{(r.left + r.right) / 2 - 20, r.top};
  const std::uint32_t skin = SkinAt(*gallery.Record(), top);
  const auto border = [&] { return Screen(top.x, top.y); };
  EXPECT_TRUE(PumpUntil([&] { return Near(border(), Blend(skin, 0, 80), 3); }, 2000));
  PointAt(top.x, top.y + 5);
  EXPECT_TRUE(PumpUntil([&] { return Near(border(), Blend(skin, kHighlight, 200), 3); }, 2000));
  PointAt(900, 900);
  EXPECT_TRUE(PumpUntil([&] { return Near(border(), Blend(skin, 0, 80), 3); }, 2000));
}

}  // namespace
}  // namespace tovel::skin::test

namespace tovel::skin::test {
namespace {

TEST(ComboPainter, DropArrowIsScaledAndCentredInItsButton) {
  for (int dpi : kTriedDpis) {
    SCOPED_TRACE(AtDpi(dpi));
    const Scale scale(dpi);
    ComboLook look;
    look.width = scale.Px(120);
    look.height = scale.Px(22);
    look.dropList = true;
    look.button = RECT{look.width - scale.Px(18), scale.Px(2), look.width - scale.Px(2), look.height - scale.Px(2)};
    const Painted p(look.width, look.height, [&](Graphics& g) { PaintComboBox(g, look, scale); });
    ExpectCentredIn(p.Bounds(DarkInk), look.button, GlyphExtent(GlyphKind::ComboArrow, FactorOf(dpi)));
  }
}

}  // namespace
}  // namespace tovel::skin::test
