#include "gfx/font.h"

#include "gfx/gdiplus_flat.h"
#include "gfx/graphics.h"
#include "base/dc.h"
#include "base/text.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpFont* F(const Font& f) { return As<gp::GpFont>(f); }
gp::GpFontFamily* Fam(const FontFamily& f) { return As<gp::GpFontFamily>(f); }
gp::GpStringFormat* SF(const StringFormat& f) { return As<gp::GpStringFormat>(f); }
}  // namespace

void Font::ReleaseNative(void* h) { GdipDeleteFont(static_cast<gp::GpFont*>(h)); }

bool Font::DeleteFont() {
  if (!GetNative()) return false;
  Status s = GdipDeleteFont(F(*this));
  ForgetNative();
  return Ok(s);
}

bool Font::CreateFont(const FontFamily& family, float emSize, std::optional<int> style,
                      std::optional<int> unit) {
  gp::GpFont* f = nullptr;
  bool ok = Ok(GdipCreateFont(Fam(family), emSize, style.value_or(0), UnitOf(unit.value_or(0)), &f));
  SetNative(f);
  return ok;
}

// The W description keeps the face name whatever the system code page is.
bool Font::CreateDefaultFont() {
  LOGFONTW description{};
  HGDIOBJ stock = ::GetStockObject(DEFAULT_GUI_FONT);
  if (::GetObjectW(stock, sizeof(description), &description) == 0) return false;
  gp::GpFont* f = nullptr;
  WindowDc screen(nullptr);
  bool ok = Ok(GdipCreateFontFromLogfontW(screen.get(), &description, &f));
  SetNative(f);
  return ok;
}

bool Font::CreateFontFromName(const Text& familyName, float emSize, std::optional<int> style,
                              std::optional<int> unit) {
  FontFamily family;
  family.CreateFontFamilyFromName(familyName, FontCollection());
  return CreateFont(family, emSize, style, unit);
}

bool Font::CreateFontFromNameWide(const ByteSet& familyName, float emSize,
                                  std::optional<int> style, std::optional<int> unit) {
  FontFamily family;
  family.CreateFontFamilyFromNameWide(familyName, FontCollection());
  return CreateFont(family, emSize, style, unit);
}

bool Font::CreateFontFromDC(HDC dc) {
  gp::GpFont* f = nullptr;
  bool ok = Ok(GdipCreateFontFromDC(dc, &f));
  SetNative(f);
  return ok;
}

bool Font::CreateFontFromHFONT(HDC dc, HFONT font) {
  LOGFONTW description{};
  if (!font || ::GetObjectW(font, sizeof(description), &description) == 0)
    return CreateFontFromDC(dc);
  return CreateFontFromLogfontW(dc, &description);
}

bool Font::CreateFontFromLogfontA(HDC dc, const LOGFONTA* description) {
  if (!description) return CreateFontFromDC(dc);
  gp::GpFont* f = nullptr;
  bool ok = Ok(GdipCreateFontFromLogfontA(dc, description, &f));
  SetNative(f);
  return ok;
}

bool Font::CreateFontFromLogfontW(HDC dc, const LOGFONTW* description) {
  if (!description) return CreateFontFromDC(dc);
  gp::GpFont* f = nullptr;
  bool ok = Ok(GdipCreateFontFromLogfontW(dc, description, &f));
  SetNative(f);
  return ok;
}

bool Font::CloneFont(Font& target) const {
  gp::GpFont* clone = nullptr;
  if (!Ok(GdipCloneFont(F(*this), &clone))) return false;
  target.SetNative(clone);
  return true;
}

bool Font::GetLogFontA(const Graphics& surface, LOGFONTA* description) const {
  return Ok(GdipGetLogFontA(F(*this), As<gp::GpGraphics>(surface), description));
}
bool Font::GetLogFontW(const Graphics& surface, LOGFONTW* description) const {
  return Ok(GdipGetLogFontW(F(*this), As<gp::GpGraphics>(surface), description));
}

bool Font::GetFamily(FontFamily& target) const {
  gp::GpFontFamily* family = nullptr;
  if (!Ok(GdipGetFamily(F(*this), &family))) return false;
  target.SetNative(family);
  return true;
}

int Font::GetFontStyle() const { return Read<INT>(GdipGetFontStyle, F(*this)); }
float Font::GetFontSize() const { return Read<REAL>(GdipGetFontSize, F(*this)); }
int Font::GetFontUnit() const { return Read<gp::Unit>(GdipGetFontUnit, F(*this)); }
float Font::GetFontHeight(const Graphics& surface) const {
  return Read<REAL>(GdipGetFontHeight, F(*this), As<gp::GpGraphics>(surface));
}
float Font::GetFontHeightGivenDPI(float dpi) const {
  return Read<REAL>(GdipGetFontHeightGivenDPI, F(*this), dpi);
}

void FontFamily::ReleaseNative(void* h) {
  GdipDeleteFontFamily(static_cast<gp::GpFontFamily*>(h));
}

bool FontFamily::DeleteFontFamily() {
  if (!GetNative()) return false;
  Status s = GdipDeleteFontFamily(Fam(*this));
  ForgetNative();
  return Ok(s);
}

namespace {
bool FamilyFromName(FontFamily& target, const std::wstring& name,
                    const GraphicsObject& collection) {
  gp::GpFontFamily* family = nullptr;
  bool ok = Ok(GdipCreateFontFamilyFromName(name.c_str(),
                                            As<gp::GpFontCollection>(collection), &family));
  target.SetNative(family);
  return ok;
}

bool Generic(FontFamily& target, Status(WINGDIPAPI* get)(gp::GpFontFamily**)) {
  gp::GpFontFamily* family = nullptr;
  bool ok = Ok(get(&family));
  target.SetNative(family);
  return ok;
}
}  // namespace

bool FontFamily::CreateFontFamilyFromName(const Text& name, const GraphicsObject& collection) {
  return FamilyFromName(*this, WideFromText(name), collection);
}
bool FontFamily::CreateFontFamilyFromNameWide(const ByteSet& name,
                                              const GraphicsObject& collection) {
  return FamilyFromName(*this, WideFromBytes(name), collection);
}
bool FontFamily::GetGenericFontFamilySansSerif() {
  return Generic(*this, GdipGetGenericFontFamilySansSerif);
}
bool FontFamily::GetGenericFontFamilySerif() {
  return Generic(*this, GdipGetGenericFontFamilySerif);
}
bool FontFamily::GetGenericFontFamilyMonospace() {
  return Generic(*this, GdipGetGenericFontFamilyMonospace);
}
bool FontFamily::CloneFontFamily(FontFamily& target) const {
  gp::GpFontFamily* clone = nullptr;
  if (!Ok(GdipCloneFontFamily(Fam(*this), &clone))) return false;
  target.SetNative(clone);
  return true;
}

ByteSet FontFamily::GetFamilyNameWide() const {
  WCHAR name[LF_FACESIZE] = {};
  lastStatus = GdipGetFamilyName(Fam(*this), name, 0);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(name);
  return ByteSet(bytes, bytes + sizeof(name));
}
Text FontFamily::GetFamilyName() const {
  WCHAR name[LF_FACESIZE] = {};
  lastStatus = GdipGetFamilyName(Fam(*this), name, 0);
  name[LF_FACESIZE - 1] = 0;
  return Narrow(name);
}
bool FontFamily::IsStyleAvailable(int style) const {
  return Read<BOOL>(GdipIsStyleAvailable, Fam(*this), style) != 0;
}
int FontFamily::GetEmHeight(int style) const {
  return Read<UINT16>(GdipGetEmHeight, Fam(*this), style);
}
int FontFamily::GetCellAscent(int style) const {
  return Read<UINT16>(GdipGetCellAscent, Fam(*this), style);
}
int FontFamily::GetCellDescent(int style) const {
  return Read<UINT16>(GdipGetCellDescent, Fam(*this), style);
}
int FontFamily::GetLineSpacing(int style) const {
  return Read<UINT16>(GdipGetLineSpacing, Fam(*this), style);
}

namespace {
// The installed fonts' collection belongs to the platform; it is never deleted.
gp::GpFontCollection* CollectionOf(const GraphicsObject& c) {
  if (c.GetNative()) return As<gp::GpFontCollection>(c);
  gp::GpFontCollection* installed = nullptr;
  GdipNewInstalledFontCollection(&installed);
  return installed;
}
}  // namespace

int FontCollection::GetFontCollectionFamilyCount() const {
  return Read<INT>(GdipGetFontCollectionFamilyCount, CollectionOf(*this));
}

int FontCollection::GetFontCollectionFamilyList(int count,
                                                std::vector<FontFamily>& families) const {
  if (count < 1) {
    Ok(kInvalidParameter);
    return 0;
  }
  std::vector<gp::GpFontFamily*> list(static_cast<size_t>(count));
  INT found = 0;
  if (!Ok(GdipGetFontCollectionFamilyList(CollectionOf(*this), count, list.data(), &found)))
    return 0;
  // The listed families stay the collection's; each wrapper gets a copy of its own.
  std::vector<FontFamily> copies(static_cast<size_t>(found));
  for (INT i = 0; i < found; ++i) {
    gp::GpFontFamily* clone = nullptr;
    if (!Ok(GdipCloneFontFamily(list[i], &clone))) return 0;
    copies[i].SetNative(clone);
  }
  families = std::move(copies);
  return found;
}

void StringFormat::ReleaseNative(void* h) {
  GdipDeleteStringFormat(static_cast<gp::GpStringFormat*>(h));
}

bool StringFormat::DeleteStringFormat() {
  if (!GetNative()) return false;
  Status s = GdipDeleteStringFormat(SF(*this));
  ForgetNative();
  return Ok(s);
}

bool StringFormat::CreateStringFormat(std::optional<int> flags, std::optional<int> language) {
  gp::GpStringFormat* f = nullptr;
  bool ok = Ok(GdipCreateStringFormat(flags.value_or(0), static_cast<LANGID>(language.value_or(0)),
                                      &f));
  SetNative(f);
  return ok;
}

namespace {
// The generic formats are shared by the whole process; the wrapper gets its own copy
// so that changing or deleting it leaves the shared one alone.
bool CopyOfGeneric(StringFormat& target, Status(WINGDIPAPI* get)(gp::GpStringFormat**)) {
  gp::GpStringFormat* shared = nullptr;
  gp::GpStringFormat* copy = nullptr;
  bool ok = Ok(get(&shared)) && Ok(GdipCloneStringFormat(shared, &copy));
  target.SetNative(copy);
  return ok;
}
}  // namespace

bool StringFormat::StringFormatGetGenericDefault() {
  return CopyOfGeneric(*this, GdipStringFormatGetGenericDefault);
}
bool StringFormat::StringFormatGetGenericTypographic() {
  return CopyOfGeneric(*this, GdipStringFormatGetGenericTypographic);
}
bool StringFormat::CloneStringFormat(StringFormat& target) const {
  gp::GpStringFormat* clone = nullptr;
  if (!Ok(GdipCloneStringFormat(SF(*this), &clone))) return false;
  target.SetNative(clone);
  return true;
}
bool StringFormat::SetStringFormatFlags(int flags) {
  return Ok(GdipSetStringFormatFlags(SF(*this), flags));
}
int StringFormat::GetStringFormatFlags() const {
  return Read<INT>(GdipGetStringFormatFlags, SF(*this));
}
bool StringFormat::SetStringFormatAlign(int align) {
  return Ok(GdipSetStringFormatAlign(SF(*this), static_cast<gp::StringAlignment>(align)));
}
int StringFormat::GetStringFormatAlign() const {
  return Read<gp::StringAlignment>(GdipGetStringFormatAlign, SF(*this));
}
bool StringFormat::SetStringFormatLineAlign(int align) {
  return Ok(GdipSetStringFormatLineAlign(SF(*this), static_cast<gp::StringAlignment>(align)));
}
int StringFormat::GetStringFormatLineAlign() const {
  return Read<gp::StringAlignment>(GdipGetStringFormatLineAlign, SF(*this));
}
bool StringFormat::SetStringFormatTrimming(int trimming) {
  return Ok(GdipSetStringFormatTrimming(SF(*this), static_cast<gp::StringTrimming>(trimming)));
}
int StringFormat::GetStringFormatTrimming() const {
  return Read<gp::StringTrimming>(GdipGetStringFormatTrimming, SF(*this));
}
bool StringFormat::SetStringFormatHotkeyPrefix(int prefix) {
  return Ok(GdipSetStringFormatHotkeyPrefix(SF(*this), prefix));
}
int StringFormat::GetStringFormatHotkeyPrefix() const {
  return Read<INT>(GdipGetStringFormatHotkeyPrefix, SF(*this));
}
bool StringFormat::SetStringFormatTabStops(float firstTabOffset,
                                           std::span<const float> tabStops) {
  return Ok(GdipSetStringFormatTabStops(SF(*this), firstTabOffset,
                                        static_cast<INT>(tabStops.size()), tabStops.data()));
}
bool StringFormat::GetStringFormatTabStops(float& firstTabOffset,
                                           std::vector<float>& tabStops) const {
  INT count = Read<INT>(GdipGetStringFormatTabStopCount, SF(*this));
  if (lastStatus != 0) return false;
  std::vector<float> stops(static_cast<size_t>(count));
  if (!Ok(GdipGetStringFormatTabStops(SF(*this), count, &firstTabOffset, stops.data())))
    return false;
  tabStops = std::move(stops);
  return true;
}
bool StringFormat::SetStringFormatDigitSubstitution(int method, int language) {
  return Ok(GdipSetStringFormatDigitSubstitution(SF(*this), static_cast<LANGID>(language),
                                                 static_cast<gp::StringDigitSubstitute>(method)));
}
bool StringFormat::GetStringFormatDigitSubstitution(int& method, int& language) const {
  LANGID lang = 0;
  gp::StringDigitSubstitute m{};
  if (!Ok(GdipGetStringFormatDigitSubstitution(SF(*this), &lang, &m))) return false;
  method = m;
  language = lang;
  return true;
}
bool StringFormat::SetStringFormatMeasurableCharacterRanges(
    std::span<const CharacterRange> ranges) {
  std::vector<gp::CharacterRange> packed;
  for (const CharacterRange& r : ranges) packed.emplace_back(r.first, r.length);
  return Ok(GdipSetStringFormatMeasurableCharacterRanges(
      SF(*this), static_cast<INT>(packed.size()), packed.empty() ? nullptr : packed.data()));
}
int StringFormat::GetStringFormatMeasurableCharacterRangeCount() const {
  return Read<INT>(GdipGetStringFormatMeasurableCharacterRangeCount, SF(*this));
}

}  // namespace tovel
