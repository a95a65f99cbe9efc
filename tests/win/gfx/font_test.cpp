#include <vector>

#include "gfx/font.h"
#include "gfx_test_support.h"
#include "base/dc.h"
#include "base/handle.h"

namespace tovel::test {
namespace {

constexpr const char* kCjkFamily = "WenQuanYi Zen Hei";  // what 宋体 maps to in the test prefix

Text FamilyOf(const Font& font) {
  FontFamily family;
  EXPECT_TRUE(font.GetFamily(family));
  return family.GetFamilyName();
}

TEST(Font, CreateFontFromNameFindsMappedFamiliesAndRejectsUnknownOnes) {
  Font font;
  lastStatus = 0;
  EXPECT_FALSE(font.CreateFontFromName("No Such Family 4711", 12));
  EXPECT_NE(lastStatus, 0);
  EXPECT_EQ(font.GetNative(), nullptr);

  ASSERT_TRUE(font.CreateFontFromName("宋体", 12));
  EXPECT_EQ(FamilyOf(font), kCjkFamily);
  EXPECT_FLOAT_EQ(font.GetFontSize(), 12);
  EXPECT_EQ(font.GetFontUnit(), 0);  // world

  ASSERT_TRUE(font.CreateFontFromName("Arial", 9));
  EXPECT_EQ(font.GetFontStyle(), 0);

  ASSERT_TRUE(font.CreateFontFromName("Arial", 9, 1, 2));  // bold, pixels
  EXPECT_EQ(FamilyOf(font), "Liberation Sans");
  EXPECT_EQ(font.GetFontStyle(), 1);
  EXPECT_EQ(font.GetFontUnit(), 2);
  ASSERT_TRUE(font.CreateFontFromNameWide(TextToWide("黑体"), 10));
  EXPECT_EQ(FamilyOf(font), kCjkFamily);
}

TEST(Font, FontsFromTheWindowSystem) {
  Font font;
  ASSERT_TRUE(font.CreateDefaultFont());
  EXPECT_GT(font.GetFontSize(), 0);

  UniqueFont gdiFont(::CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                   L"Arial"));
  WindowDc screen(nullptr);
  ASSERT_TRUE(font.CreateFontFromHFONT(screen.get(), gdiFont.get()));
  EXPECT_EQ(FamilyOf(font), "Liberation Sans");
  EXPECT_EQ(font.GetFontStyle() & 1, 1);
  {
    // Without a font handle the DC's own font is taken.
    SelectGuard select(screen.get(), gdiFont.get());
    Font fromDc;
    ASSERT_TRUE(fromDc.CreateFontFromHFONT(screen.get(), nullptr));
    EXPECT_EQ(FamilyOf(fromDc), "Liberation Sans");
  }

  Canvas c(4, 4);
  LOGFONTW description{};
  ASSERT_TRUE(font.GetLogFontW(c.surface, &description));
  EXPECT_EQ(description.lfWeight, FW_BOLD);
  EXPECT_GT(font.GetFontHeight(c.surface), 0);
  Font copy;
  ASSERT_TRUE(font.CloneFont(copy));
  EXPECT_EQ(FamilyOf(copy), "Liberation Sans");
  EXPECT_TRUE(font.DeleteFont());
  EXPECT_FALSE(font.DeleteFont());
}

TEST(FontFamily, MetricsNamesAndGenericFamilies) {
  FontFamily family;
  ASSERT_TRUE(family.CreateFontFamilyFromName("宋体", FontCollection()));
  EXPECT_EQ(family.GetFamilyName(), kCjkFamily);
  const ByteSet wide = family.GetFamilyNameWide();
  ASSERT_EQ(wide.size(), 64u);
  EXPECT_EQ(wide[0], 'W');
  EXPECT_EQ(wide[1], 0);
  EXPECT_TRUE(family.IsStyleAvailable(0));
  EXPECT_GT(family.GetEmHeight(0), 0);
  EXPECT_GT(family.GetCellAscent(0), 0);
  EXPECT_GE(family.GetLineSpacing(0), family.GetCellAscent(0));

  Font font;
  ASSERT_TRUE(font.CreateFont(family, 14));
  EXPECT_FLOAT_EQ(font.GetFontSize(), 14);

  FontFamily generic;
  ASSERT_TRUE(generic.GetGenericFontFamilySansSerif());
  EXPECT_FALSE(generic.GetFamilyName().empty());
  FontFamily copy;
  ASSERT_TRUE(generic.CloneFontFamily(copy));
  EXPECT_EQ(copy.GetFamilyName(), generic.GetFamilyName());
  EXPECT_TRUE(family.DeleteFontFamily());
  EXPECT_FALSE(family.DeleteFontFamily());
}

TEST(FontCollection, FamilyListOfTheInstalledFonts) {
  FontCollection installed;
  std::vector<FontFamily> families(2);
  lastStatus = 0;
  EXPECT_EQ(installed.GetFontCollectionFamilyList(0, families), 0);
  EXPECT_EQ(lastStatus, 2);
  EXPECT_EQ(families.size(), 2u);

  const int count = installed.GetFontCollectionFamilyCount();
  ASSERT_GT(count, 2);
  EXPECT_EQ(installed.GetFontCollectionFamilyList(3, families), 3);
  ASSERT_EQ(families.size(), 3u);
  for (const FontFamily& f : families) EXPECT_FALSE(f.GetFamilyName().empty());
}

TEST(StringFormat, SettingsReadBackAsSet) {
  StringFormat format;
  ASSERT_TRUE(format.CreateStringFormat());
  EXPECT_EQ(format.GetStringFormatFlags(), 0);
  ASSERT_TRUE(format.CreateStringFormat(0x1000));  // no wrap
  EXPECT_EQ(format.GetStringFormatFlags(), 0x1000);
  EXPECT_TRUE(format.SetStringFormatFlags(0x4000));
  EXPECT_EQ(format.GetStringFormatFlags(), 0x4000);
  EXPECT_TRUE(format.SetStringFormatAlign(1));
  EXPECT_EQ(format.GetStringFormatAlign(), 1);
  EXPECT_TRUE(format.SetStringFormatLineAlign(2));
  EXPECT_EQ(format.GetStringFormatLineAlign(), 2);
  EXPECT_TRUE(format.SetStringFormatTrimming(3));
  EXPECT_EQ(format.GetStringFormatTrimming(), 3);
  EXPECT_TRUE(format.SetStringFormatHotkeyPrefix(1));
  EXPECT_EQ(format.GetStringFormatHotkeyPrefix(), 1);
  const float stops[] = {10, 20};
  EXPECT_TRUE(format.SetStringFormatTabStops(5, stops));
  float first = 0;
  std::vector<float> got;
  EXPECT_TRUE(format.GetStringFormatTabStops(first, got));
  EXPECT_FLOAT_EQ(first, 5);
  EXPECT_EQ(got, (std::vector<float>{10, 20}));
  EXPECT_TRUE(format.SetStringFormatDigitSubstitution(2, 0x0804));
  int method = 0, language = 0;
  EXPECT_TRUE(format.GetStringFormatDigitSubstitution(method, language));
  EXPECT_EQ(method, 2);
  EXPECT_EQ(language, 0x0804);
  StringFormat copy;
  ASSERT_TRUE(format.CloneStringFormat(copy));
  EXPECT_EQ(copy.GetStringFormatAlign(), 1);
}

TEST(StringFormat, GenericFormatsAreCopiesOfTheSharedOnes) {
  StringFormat typographic;
  ASSERT_TRUE(typographic.StringFormatGetGenericTypographic());
  EXPECT_NE(typographic.GetStringFormatFlags(), 0);
  StringFormat changed;
  ASSERT_TRUE(changed.StringFormatGetGenericDefault());
  ASSERT_TRUE(changed.SetStringFormatAlign(2));
  EXPECT_TRUE(changed.DeleteStringFormat());
  StringFormat fresh;
  ASSERT_TRUE(fresh.StringFormatGetGenericDefault());
  EXPECT_EQ(fresh.GetStringFormatAlign(), 0);
}

}  // namespace
}  // namespace tovel::test
