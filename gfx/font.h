#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <vector>

#include "gfx/graphics_object.h"

// windowsx.h defines DeleteFont as a function-like macro.
#ifdef DeleteFont
#undef DeleteFont
#endif

namespace tovel {

class Graphics;
class FontFamily;

// Styles and units are the platform's values (0 = regular, world).
class Font : public GraphicsObject {
 public:
  Font() = default;
  Font(Font&&) noexcept = default;
  Font& operator=(Font&&) noexcept = default;
  ~Font() override { Destroy(); }

  bool DeleteFont();
  bool CreateFont(const FontFamily& family, float emSize, std::optional<int> style = {},
                  std::optional<int> unit = {});
  // The system's default GUI font.
  bool CreateDefaultFont();
  // A family the system does not have leaves the font empty and returns false.
  bool CreateFontFromName(const Text& familyName, float emSize, std::optional<int> style = {},
                          std::optional<int> unit = {});
  bool CreateFontFromNameWide(const ByteSet& familyName, float emSize,
                              std::optional<int> style = {}, std::optional<int> unit = {});
  bool CreateFontFromDC(HDC dc);
  // The font of the window system; the DC's current font when font is null.
  bool CreateFontFromHFONT(HDC dc, HFONT font);
  bool CreateFontFromLogfontA(HDC dc, const LOGFONTA* description = nullptr);
  bool CreateFontFromLogfontW(HDC dc, const LOGFONTW* description = nullptr);
  bool CloneFont(Font& target) const;
  bool GetLogFontA(const Graphics& surface, LOGFONTA* description) const;
  bool GetLogFontW(const Graphics& surface, LOGFONTW* description) const;
  bool GetFamily(FontFamily& target) const;
  int GetFontStyle() const;
  float GetFontSize() const;
  int GetFontUnit() const;
  float GetFontHeight(const Graphics& surface) const;
  float GetFontHeightGivenDPI(float dpi) const;

 protected:
  void ReleaseNative(void* h) override;
};

// Owns its family and deletes it when destroyed.
class FontFamily : public GraphicsObject {
 public:
  FontFamily() = default;
  FontFamily(FontFamily&&) noexcept = default;
  FontFamily& operator=(FontFamily&&) noexcept = default;
  ~FontFamily() override { Destroy(); }

  bool DeleteFontFamily();
  // An empty collection object stands for the installed fonts.
  bool CreateFontFamilyFromName(const Text& name, const GraphicsObject& collection);
  bool CreateFontFamilyFromNameWide(const ByteSet& name, const GraphicsObject& collection);
  bool GetGenericFontFamilySansSerif();
  bool GetGenericFontFamilySerif();
  bool GetGenericFontFamilyMonospace();
  bool CloneFontFamily(FontFamily& target) const;
  Text GetFamilyName() const;
  // The platform's 32-unit name buffer as it wrote it.
  ByteSet GetFamilyNameWide() const;
  bool IsStyleAvailable(int style) const;
  int GetEmHeight(int style) const;
  int GetCellAscent(int style) const;
  int GetCellDescent(int style) const;
  int GetLineSpacing(int style) const;

 protected:
  void ReleaseNative(void* h) override;
};

// A font collection that the program never owns; empty (handle 0) it stands for the
// fonts installed in the system.
class FontCollection : public GraphicsObject {
 public:
  FontCollection() = default;
  FontCollection(FontCollection&&) noexcept = default;
  FontCollection& operator=(FontCollection&&) noexcept = default;

  int GetFontCollectionFamilyCount() const;
  // Replaces families by up to count families of the collection, each a copy of its own;
  // returns how many were found. A count below 1 gives 0 with status 2.
  int GetFontCollectionFamilyList(int count, std::vector<FontFamily>& families) const;

 protected:
  void ReleaseNative(void*) override {}
};

struct CharacterRange {
  int first = 0, length = 0;
};

// Flags, alignments, trimmings and prefixes are the platform's values.
class StringFormat : public GraphicsObject {
 public:
  StringFormat() = default;
  StringFormat(StringFormat&&) noexcept = default;
  StringFormat& operator=(StringFormat&&) noexcept = default;
  ~StringFormat() override { Destroy(); }

  bool DeleteStringFormat();
  bool CreateStringFormat(std::optional<int> flags = {}, std::optional<int> language = {});
  bool StringFormatGetGenericDefault();
  bool StringFormatGetGenericTypographic();
  bool CloneStringFormat(StringFormat& target) const;
  bool SetStringFormatFlags(int flags);
  int GetStringFormatFlags() const;
  bool SetStringFormatAlign(int align);
  int GetStringFormatAlign() const;
  bool SetStringFormatLineAlign(int align);
  int GetStringFormatLineAlign() const;
  bool SetStringFormatTrimming(int trimming);
  int GetStringFormatTrimming() const;
  bool SetStringFormatHotkeyPrefix(int prefix);
  int GetStringFormatHotkeyPrefix() const;
  bool SetStringFormatTabStops(float firstTabOffset, std::span<const float> tabStops);
  bool GetStringFormatTabStops(float& firstTabOffset, std::vector<float>& tabStops) const;
  bool SetStringFormatDigitSubstitution(int method, int language);
  bool GetStringFormatDigitSubstitution(int& method, int& language) const;
  bool SetStringFormatMeasurableCharacterRanges(std::span<const CharacterRange> ranges);
  int GetStringFormatMeasurableCharacterRangeCount() const;

 protected:
  void ReleaseNative(void* h) override;
};

}  // namespace tovel
