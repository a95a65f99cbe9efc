#include "gfx/image.h"

#include <algorithm>
#include <cstring>

#include "gfx/gdiplus_flat.h"
#include "gfx/image_private.h"
#include "base/text.h"

namespace tovel {
using namespace gdip;

MemoryStream::MemoryStream(MemoryStream&& other) noexcept
    : memory_(std::exchange(other.memory_, nullptr)),
      stream_(std::exchange(other.stream_, nullptr)),
      ownsMemory_(std::exchange(other.ownsMemory_, false)) {}

MemoryStream& MemoryStream::operator=(MemoryStream&& other) noexcept {
  if (this != &other) {
    Release();
    memory_ = std::exchange(other.memory_, nullptr);
    stream_ = std::exchange(other.stream_, nullptr);
    ownsMemory_ = std::exchange(other.ownsMemory_, false);
  }
  return *this;
}

IStream* MemoryStream::CreateFromBytes(ByteView bytes, std::optional<std::size_t> size) {
  Release();
  // A size beyond the bytes would copy memory that is not theirs.
  std::size_t n = std::min(size.value_or(bytes.size()), bytes.size());
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, n);
  if (!memory) return nullptr;
  IStream* stream = nullptr;
  if (FAILED(::CreateStreamOnHGlobal(memory, FALSE, &stream))) {
    ::GlobalFree(memory);
    return nullptr;
  }
  if (n > 0) {
    void* locked = ::GlobalLock(memory);
    std::memcpy(locked, bytes.data(), n);
    ::GlobalUnlock(memory);
  }
  memory_ = memory;
  stream_ = stream;
  ownsMemory_ = true;
  return stream;
}

void MemoryStream::Release() {
  if (!stream_) return;
  // The stream may have moved its block while growing; free the current one.
  HGLOBAL memory = GetMemoryHandle();
  stream_->Release();
  if (ownsMemory_ && memory) ::GlobalFree(memory);
  stream_ = nullptr;
  memory_ = nullptr;
  ownsMemory_ = false;
}

HGLOBAL MemoryStream::GetMemoryHandle() const {
  HGLOBAL memory = nullptr;
  if (stream_ && SUCCEEDED(::GetHGlobalFromStream(stream_, &memory))) return memory;
  return memory_;
}

std::size_t MemoryStream::GetSize() const {
  STATSTG stat{};
  if (!stream_ || FAILED(stream_->Stat(&stat, STATFLAG_NONAME))) return 0;
  return static_cast<std::size_t>(stat.cbSize.QuadPart);
}

bool MemoryStream::Attach(IStream* stream) {
  Release();
  stream_ = stream;
  ownsMemory_ = false;
  memory_ = GetMemoryHandle();
  return memory_ != nullptr;
}

ByteSet MemoryStream::ReadBytes() const {
  HGLOBAL memory = GetMemoryHandle();
  // The block may be larger than what was written; the stream knows the length.
  std::size_t n = memory ? std::min(GetSize(), ::GlobalSize(memory)) : 0;
  ByteSet bytes(n);
  if (n == 0) return bytes;
  const void* locked = ::GlobalLock(memory);
  if (!locked) return {};
  std::memcpy(bytes.data(), locked, n);
  ::GlobalUnlock(memory);
  return bytes;
}

void EffectAuxData::Reset() {
  if (data) GraphicsObject::Free(data);
  data = nullptr;
  size = 0;
}

namespace gdip {

Text TextFromGuid(const GUID& guid) {
  wchar_t buffer[39] = {};
  ::StringFromGUID2(guid, buffer, 39);
  return Narrow(buffer);
}

GUID GuidFromText(const Text& text) {
  GUID guid{};
  std::wstring wide = Widen(text);
  if (FAILED(::CLSIDFromString(wide.c_str(), &guid))) return GUID{};
  return guid;
}

}  // namespace gdip

namespace {
gp::GpImage* I(const Image& i) { return As<gp::GpImage>(i); }
}  // namespace

void Image::ReleaseNative(void* h) {
  // The image may read its stream until it is gone, so the bytes go after it.
  GdipDisposeImage(static_cast<gp::GpImage*>(h));
  stream_.Release();
}

bool Image::Dispose() {
  if (!GetNative()) return false;
  Status s = GdipDisposeImage(I(*this));
  ForgetNative();
  stream_.Release();
  return Ok(s);
}

bool Image::LoadFromWideName(const std::wstring& name, bool icm, bool asBitmap) {
  gp::GpImage* image = nullptr;
  Status s;
  if (asBitmap) {
    gp::GpBitmap* bitmap = nullptr;
    s = icm ? GdipCreateBitmapFromFileICM(name.c_str(), &bitmap)
            : GdipCreateBitmapFromFile(name.c_str(), &bitmap);
    image = bitmap;
  } else {
    s = icm ? GdipLoadImageFromFileICM(name.c_str(), &image)
            : GdipLoadImageFromFile(name.c_str(), &image);
  }
  SetNative(image);
  return Ok(s);
}

bool Image::LoadFromStream(ByteView bytes, bool icm, bool asBitmap) {
  // The old image goes first: it may still read the stream that is about to be refilled.
  Destroy();
  IStream* stream = stream_.CreateFromBytes(bytes);
  if (!stream) return Ok(gp::OutOfMemory);
  gp::GpImage* image = nullptr;
  Status s;
  if (asBitmap) {
    gp::GpBitmap* bitmap = nullptr;
    s = icm ? GdipCreateBitmapFromStreamICM(stream, &bitmap)
            : GdipCreateBitmapFromStream(stream, &bitmap);
    image = bitmap;
  } else {
    s = icm ? GdipLoadImageFromStreamICM(stream, &image) : GdipLoadImageFromStream(stream, &image);
  }
  if (!image) stream_.Release();
  SetNative(image);
  return Ok(s);
}

bool Image::LoadFromFile(const Text& fileName, bool icm) {
  return LoadFromWideName(WideFromText(fileName), icm, false);
}
bool Image::LoadFromFileWide(const ByteSet& fileName, bool icm) {
  return LoadFromWideName(WideFromBytes(fileName), icm, false);
}
bool Image::LoadFromBytes(ByteView bytes, bool icm) { return LoadFromStream(bytes, icm, false); }

bool Image::Clone(Image& target) const {
  gp::GpImage* clone = nullptr;
  if (!Ok(GdipCloneImage(I(*this), &clone))) return false;
  target.SetNative(clone);
  return true;
}

int Image::GetType() const { return Read<gp::ImageType>(GdipGetImageType, I(*this)); }

SizeF Image::GetDimension() const {
  SizeF size;
  lastStatus = GdipGetImageDimension(I(*this), &size.width, &size.height);
  return size;
}

int Image::GetBounds(RectF& bounds, int& unit) const {
  gp::RectF rect;
  gp::Unit u = gp::UnitPixel;
  lastStatus = GdipGetImageBounds(I(*this), &rect, &u);
  if (lastStatus == 0) {
    bounds = Unpack(rect);
    unit = u;
  }
  return lastStatus;
}

unsigned Image::GetWidth() const { return Read<UINT>(GdipGetImageWidth, I(*this)); }
unsigned Image::GetHeight() const { return Read<UINT>(GdipGetImageHeight, I(*this)); }
float Image::GetHorizontalResolution() const {
  return Read<float>(GdipGetImageHorizontalResolution, I(*this));
}
float Image::GetVerticalResolution() const {
  return Read<float>(GdipGetImageVerticalResolution, I(*this));
}
unsigned Image::GetFlags() const { return Read<UINT>(GdipGetImageFlags, I(*this)); }
Text Image::GetRawFormat() const {
  GUID format = Read<GUID>(GdipGetImageRawFormat, I(*this));
  return lastStatus == 0 ? TextFromGuid(format) : Text();
}
int Image::GetPixelFormat() const {
  return Read<gp::PixelFormat>(GdipGetImagePixelFormat, I(*this));
}

bool Image::GetPalette(Palette& palette) const {
  INT size = Read<INT>(GdipGetImagePaletteSize, I(*this));
  if (lastStatus != 0 || size < static_cast<INT>(sizeof(gp::ColorPalette))) return false;
  std::vector<std::uint64_t> block((static_cast<size_t>(size) + 7) / 8);
  auto* platform = reinterpret_cast<gp::ColorPalette*>(block.data());
  if (!Ok(GdipGetImagePalette(I(*this), platform, size))) return false;
  palette.flags = platform->Flags;
  palette.entries.assign(platform->Entries, platform->Entries + platform->Count);
  return true;
}

bool Image::SetPalette(const Palette& palette) {
  size_t bytes = offsetof(gp::ColorPalette, Entries) + palette.entries.size() * sizeof(gp::ARGB);
  std::vector<std::uint64_t> block((std::max(bytes, sizeof(gp::ColorPalette)) + 7) / 8);
  auto* platform = reinterpret_cast<gp::ColorPalette*>(block.data());
  platform->Flags = palette.flags;
  platform->Count = static_cast<UINT>(palette.entries.size());
  std::copy(palette.entries.begin(), palette.entries.end(), platform->Entries);
  return Ok(GdipSetImagePalette(I(*this), platform));
}

bool Image::GetThumbnail(unsigned width, unsigned height, Image& target) const {
  gp::GpImage* thumbnail = nullptr;
  if (!Ok(GdipGetImageThumbnail(I(*this), width, height, &thumbnail, nullptr, nullptr)))
    return false;
  target.SetNative(thumbnail);
  return true;
}

unsigned Image::GetFrameCount(const Text& dimension) const {
  GUID guid = GuidFromText(dimension);
  return Read<UINT>(GdipImageGetFrameCount, I(*this), &guid);
}

bool Image::GetFrameDimensions(std::vector<Text>& dimensions) const {
  UINT count = Read<UINT>(GdipImageGetFrameDimensionsCount, I(*this));
  if (lastStatus != 0) return false;
  std::vector<GUID> guids(count);
  if (!Ok(GdipImageGetFrameDimensionsList(I(*this), guids.data(), count))) return false;
  dimensions.clear();
  for (const GUID& g : guids) dimensions.push_back(TextFromGuid(g));
  return true;
}

bool Image::SelectActiveFrame(const Text& dimension, unsigned index) {
  GUID guid = GuidFromText(dimension);
  return Ok(GdipImageSelectActiveFrame(I(*this), &guid, index));
}

bool Image::RotateFlip(int type) {
  return Ok(GdipImageRotateFlip(I(*this), static_cast<gp::RotateFlipType>(type)));
}

bool Image::GetFrameDelays(std::vector<int>& delays) const {
  constexpr std::uint32_t kFrameDelay = 0x5100;
  PropertyItem item;
  if (!GetPropertyItem(kFrameDelay, item)) return false;
  delays.assign(item.value.size() / 4, 0);
  std::memcpy(delays.data(), item.value.data(), delays.size() * 4);
  return true;
}

bool Image::GetPropertyItem(std::uint32_t id, PropertyItem& item) const {
  UINT size = Read<UINT>(GdipGetPropertyItemSize, I(*this), static_cast<PROPID>(id));
  if (lastStatus != 0 || size < sizeof(gp::PropertyItem)) return false;
  std::vector<std::uint64_t> block((size + 7) / 8);
  auto* platform = reinterpret_cast<gp::PropertyItem*>(block.data());
  if (!Ok(GdipGetPropertyItem(I(*this), id, size, platform))) return false;
  item.id = platform->id;
  item.length = platform->length;
  item.type = platform->type;
  const auto* value = static_cast<const std::uint8_t*>(platform->value);
  item.value.assign(value, value + platform->length);
  return true;
}

bool Image::SetPropertyItem(const PropertyItem& item) {
  gp::PropertyItem platform;
  platform.id = item.id;
  // The platform reads length bytes; never more than the value holds.
  platform.length = static_cast<ULONG>(std::min<size_t>(item.length, item.value.size()));
  platform.type = static_cast<WORD>(item.type);
  platform.value = const_cast<std::uint8_t*>(item.value.data());
  return Ok(GdipSetPropertyItem(I(*this), &platform));
}

bool Image::RemovePropertyItem(std::uint32_t id) {
  return Ok(GdipRemovePropertyItem(I(*this), id));
}

bool Image::GetPropertyIdList(std::vector<std::uint32_t>& ids) const {
  UINT count = Read<UINT>(GdipGetPropertyCount, I(*this));
  if (lastStatus != 0) return false;
  std::vector<PROPID> list(count);
  if (count > 0 && !Ok(GdipGetPropertyIdList(I(*this), count, list.data()))) return false;
  ids.assign(list.begin(), list.end());
  return true;
}

}  // namespace tovel
