// Encoder lookup and encoding of Image to files and bytes.
#include <algorithm>
#include <cstring>

#include "gfx/gdiplus_flat.h"
#include "gfx/image.h"
#include "gfx/image_private.h"
#include "base/text.h"

namespace tovel {
using namespace gdip;

namespace {
gp::GpImage* I(const Image& i) { return As<gp::GpImage>(i); }

Text NarrowOrEmpty(const WCHAR* s) { return s ? Narrow(s) : Text(); }

ByteSet CopyBytes(const BYTE* p, size_t n) { return p ? ByteSet(p, p + n) : ByteSet(); }

// Bytes of one value of each encoder-parameter value type (0 when unknown).
size_t ValueSize(std::uint32_t type) {
  static constexpr size_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 8, 16};
  return type < std::size(kSizes) ? kSizes[type] : 0;
}

// The platform's parameter block built from the records; the values stay in the
// records, so the list must outlive the block.
class EncoderBlock {
 public:
  explicit EncoderBlock(const EncoderParameterList* list) {
    if (!list) return;
    const auto& params = list->parameters;
    size_t bytes = offsetof(gp::EncoderParameters, Parameter) +
                   std::max<size_t>(params.size(), 1) * sizeof(gp::EncoderParameter);
    storage_.assign((bytes + 7) / 8, 0);
    auto* block = get();
    block->Count = static_cast<UINT>(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
      const EncoderParameter& p = params[i];
      // The platform reads every value the count announces.
      if (p.value.size() < p.numberOfValues * ValueSize(p.type)) valid_ = false;
      gp::EncoderParameter& e = block->Parameter[i];
      e.Guid = GuidFromText(p.guid);
      e.NumberOfValues = p.numberOfValues;
      e.Type = p.type;
      e.Value = const_cast<std::uint8_t*>(p.value.data());
    }
  }
  gp::EncoderParameters* get() {
    return storage_.empty() ? nullptr : reinterpret_cast<gp::EncoderParameters*>(storage_.data());
  }
  bool valid() const { return valid_; }

 private:
  std::vector<std::uint64_t> storage_;
  bool valid_ = true;
};

CLSID EncoderFor(const Text& format) { return GuidFromText(FindEncoderClassId(format)); }
}  // namespace

std::vector<EncoderInfo> GetImageEncoders() {
  UINT count = 0, size = 0;
  if (!Ok(GdipGetImageEncodersSize(&count, &size)) || count == 0) return {};
  std::vector<std::uint64_t> storage((size + 7) / 8);
  auto* codecs = reinterpret_cast<gp::ImageCodecInfo*>(storage.data());
  if (!Ok(GdipGetImageEncoders(count, size, codecs))) return {};
  std::vector<EncoderInfo> encoders;
  for (UINT i = 0; i < count; ++i) {
    const gp::ImageCodecInfo& c = codecs[i];
    EncoderInfo e;
    e.classId = TextFromGuid(c.Clsid);
    e.formatId = TextFromGuid(c.FormatID);
    e.codecName = NarrowOrEmpty(c.CodecName);
    e.dllName = NarrowOrEmpty(c.DllName);
    e.formatDescription = NarrowOrEmpty(c.FormatDescription);
    e.filenameExtension = NarrowOrEmpty(c.FilenameExtension);
    e.mimeType = NarrowOrEmpty(c.MimeType);
    e.flags = c.Flags;
    e.version = c.Version;
    e.sigCount = c.SigCount;
    e.sigSize = c.SigSize;
    e.sigPattern = CopyBytes(c.SigPattern, size_t{c.SigCount} * c.SigSize);
    e.sigMask = CopyBytes(c.SigMask, size_t{c.SigCount} * c.SigSize);
    encoders.push_back(std::move(e));
  }
  return encoders;
}

Text FindEncoderClassId(const Text& format) {
  for (const EncoderInfo& e : GetImageEncoders())
    if (e.formatId == format) return e.classId;
  return {};
}

bool Image::GetEncoderParameterList(const Text& format, EncoderParameterList& list) const {
  CLSID encoder = EncoderFor(format);
  UINT size = Read<UINT>(GdipGetEncoderParameterListSize, I(*this), &encoder);
  if (lastStatus != 0 || size < sizeof(gp::EncoderParameters)) return false;
  std::vector<std::uint64_t> storage((size + 7) / 8);
  auto* block = reinterpret_cast<gp::EncoderParameters*>(storage.data());
  if (!Ok(GdipGetEncoderParameterList(I(*this), &encoder, size, block))) return false;
  list.parameters.clear();
  for (UINT i = 0; i < block->Count; ++i) {
    const gp::EncoderParameter& e = block->Parameter[i];
    EncoderParameter p{TextFromGuid(e.Guid), e.NumberOfValues, e.Type, {}};
    p.value = CopyBytes(static_cast<const BYTE*>(e.Value), e.NumberOfValues * ValueSize(e.Type));
    list.parameters.push_back(std::move(p));
  }
  return true;
}

namespace {
bool SaveWide(const Image& image, const std::wstring& name, const std::optional<Text>& format,
              const EncoderParameterList* parameters) {
  CLSID encoder = EncoderFor(format.value_or(kImageFormatBmp));
  EncoderBlock block(parameters);
  if (!block.valid()) return Ok(kInvalidParameter);
  return Ok(GdipSaveImageToFile(I(image), name.c_str(), &encoder, block.get()));
}
}  // namespace

bool Image::SaveToFile(const Text& fileName, std::optional<Text> format,
                       const EncoderParameterList* parameters) const {
  return SaveWide(*this, WideFromText(fileName), format, parameters);
}

bool Image::SaveToFileWide(const ByteSet& fileName, std::optional<Text> format,
                           const EncoderParameterList* parameters) const {
  return SaveWide(*this, WideFromBytes(fileName), format, parameters);
}

ByteSet Image::SaveToBytes(std::optional<Text> format,
                           const EncoderParameterList* parameters) const {
  Text wanted = format ? *format : GetRawFormat();
  Text encoderId = FindEncoderClassId(wanted);
  if (encoderId.empty()) return {};
  CLSID encoder = GuidFromText(encoderId);
  EncoderBlock block(parameters);
  if (!block.valid()) {
    Ok(kInvalidParameter);
    return {};
  }
  MemoryStream stream;
  IStream* s = stream.CreateFromBytes({});
  if (!s) {
    Ok(gp::OutOfMemory);
    return {};
  }
  // Half-written bytes of a failed encoding are no picture.
  if (!Ok(GdipSaveImageToStream(I(*this), s, &encoder, block.get()))) return {};
  return stream.ReadBytes();
}

bool Image::SaveAdd(const EncoderParameterList& parameters) {
  EncoderBlock block(&parameters);
  if (!block.valid()) return Ok(kInvalidParameter);
  return Ok(GdipSaveAdd(I(*this), block.get()));
}

bool Image::SaveAddImage(const Image& image, const EncoderParameterList& parameters) {
  EncoderBlock block(&parameters);
  if (!block.valid()) return Ok(kInvalidParameter);
  return Ok(GdipSaveAddImage(I(*this), I(image), block.get()));
}

}  // namespace tovel
