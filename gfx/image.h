#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "gfx/graphics_object.h"

namespace tovel {

class Graphics;

// A stream over a movable global memory block: pictures load from it and encode into it.
class MemoryStream {
 public:
  MemoryStream() = default;
  MemoryStream(MemoryStream&& other) noexcept;
  MemoryStream& operator=(MemoryStream&& other) noexcept;
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;
  ~MemoryStream() { Release(); }

  // Copies size bytes (all of them when omitted, never more than there are)
  // into a new block and returns a stream over it; null on failure.
  IStream* CreateFromBytes(ByteView bytes, std::optional<std::size_t> size = {});
  void Release();
  // The stream's length in bytes.
  std::size_t GetSize() const;
  IStream* GetStreamHandle() const { return stream_; }
  HGLOBAL GetMemoryHandle() const;
  // Takes over the caller's reference to a stream over global memory; the stream
  // keeps deciding whether its block is freed with it.
  bool Attach(IStream* stream);
  // The stream's contents.
  ByteSet ReadBytes() const;

 private:
  HGLOBAL memory_ = nullptr;
  IStream* stream_ = nullptr;
  bool ownsMemory_ = false;
};

// Texts of GUIDs are in the braced upper-case form, e.g. "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}".
struct EncoderInfo {
  Text classId, formatId, codecName, dllName, formatDescription, filenameExtension, mimeType;
  std::uint32_t flags = 0, version = 0, sigCount = 0, sigSize = 0;
  ByteSet sigPattern, sigMask;
};

struct EncoderParameter {
  Text guid;
  std::uint32_t numberOfValues = 0;
  std::uint32_t type = 0;  // the platform's encoder-parameter value types
  ByteSet value;           // the values' bytes
};

struct EncoderParameterList {
  std::vector<EncoderParameter> parameters;
};

struct Palette {
  std::uint32_t flags = 0;
  std::vector<Argb> entries;
};

struct PropertyItem {
  std::uint32_t id = 0;
  std::uint32_t length = 0;
  int type = 0;  // the platform's property tag types
  ByteSet value;
};

// A locked pixel area as the platform describes it.
struct BitmapData {
  std::uint32_t width = 0, height = 0;
  int stride = 0;
  int pixelFormat = 0;
  void* scan0 = nullptr;
  std::uintptr_t reserved = 0;
};

// Auxiliary data that an effect hands back; freed with the library's allocator.
struct EffectAuxData {
  EffectAuxData() = default;
  EffectAuxData(const EffectAuxData&) = delete;
  EffectAuxData& operator=(const EffectAuxData&) = delete;
  ~EffectAuxData() { Reset(); }
  void Reset();
  void* data = nullptr;
  int size = 0;
};

constexpr const char* kImageFormatBmp = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
constexpr const char* kImageFormatJpeg = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
constexpr const char* kImageFormatGif = "{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}";
constexpr const char* kImageFormatPng = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
constexpr const char* kFrameDimensionTime = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";
constexpr int kPixelFormat32bppArgb = 0x26200A;

// The platform's encoders, in its order.
std::vector<EncoderInfo> GetImageEncoders();
// The class identifier of the first encoder whose format identifier equals format
// byte for byte; "" when none does.
Text FindEncoderClassId(const Text& format);

// Any picture the platform decodes. An image loaded from bytes keeps a copy of
// them until it is disposed.
class Image : public GraphicsObject {
 public:
  Image() = default;
  Image(Image&&) noexcept = default;
  Image& operator=(Image&&) noexcept = default;
  ~Image() override { Destroy(); }

  bool Dispose();
  bool LoadFromFile(const Text& fileName, bool useColorManagement = false);
  bool LoadFromFileWide(const ByteSet& fileName, bool useColorManagement = false);
  bool LoadFromBytes(ByteView bytes, bool useColorManagement = false);
  bool Clone(Image& target) const;
  bool GetEncoderParameterList(const Text& format, EncoderParameterList& list) const;
  // BMP when no format is given.
  bool SaveToFile(const Text& fileName, std::optional<Text> format = {},
                  const EncoderParameterList* parameters = nullptr) const;
  bool SaveToFileWide(const ByteSet& fileName, std::optional<Text> format = {},
                      const EncoderParameterList* parameters = nullptr) const;
  // The image's own format when none is given; empty when no encoder matches.
  ByteSet SaveToBytes(std::optional<Text> format = {},
                      const EncoderParameterList* parameters = nullptr) const;
  bool SaveAdd(const EncoderParameterList& parameters);
  bool SaveAddImage(const Image& image, const EncoderParameterList& parameters);

  int GetType() const;
  SizeF GetDimension() const;
  // Returns the platform status itself (0 = success).
  int GetBounds(RectF& bounds, int& unit) const;
  unsigned GetWidth() const;
  unsigned GetHeight() const;
  float GetHorizontalResolution() const;
  float GetVerticalResolution() const;
  unsigned GetFlags() const;
  Text GetRawFormat() const;
  int GetPixelFormat() const;
  bool GetPalette(Palette& palette) const;
  bool SetPalette(const Palette& palette);
  bool GetThumbnail(unsigned width, unsigned height, Image& target) const;
  unsigned GetFrameCount(const Text& dimension) const;
  bool GetFrameDimensions(std::vector<Text>& dimensions) const;
  bool SelectActiveFrame(const Text& dimension, unsigned index);
  bool RotateFlip(int type);
  // Delays of the frames of an animation, in the platform's units (1/100 s).
  bool GetFrameDelays(std::vector<int>& delays) const;
  bool GetPropertyItem(std::uint32_t id, PropertyItem& item) const;
  bool SetPropertyItem(const PropertyItem& item);
  bool RemovePropertyItem(std::uint32_t id);
  bool GetPropertyIdList(std::vector<std::uint32_t>& ids) const;

 protected:
  void ReleaseNative(void* h) override;
  bool LoadFromStream(ByteView bytes, bool useColorManagement, bool asBitmap);
  bool LoadFromWideName(const std::wstring& name, bool useColorManagement, bool asBitmap);

  MemoryStream stream_;  // the bytes an image was loaded from
};

// A raster image, also made blank, from pixels and from window-system objects.
class Bitmap : public Image {
 public:
  Bitmap() = default;
  Bitmap(Bitmap&&) noexcept = default;
  Bitmap& operator=(Bitmap&&) noexcept = default;

  bool CreateFromFile(const Text& fileName, bool useColorManagement = false);
  bool CreateFromFileWide(const ByteSet& fileName, bool useColorManagement = false);
  bool CreateFromBytes(ByteView bytes, bool useColorManagement = false);
  bool CreateFromPixels(int width, int height, int stride, int pixelFormat, void* pixels);
  // 32-bit ARGB when no format is given.
  bool CreateBlank(int width, int height, std::optional<int> pixelFormat = {});
  bool CreateFromGraphics(int width, int height, const Graphics& surface);
  bool CreateFromDib(const BITMAPINFO* info, void* bits);
  bool CreateFromHBITMAP(HBITMAP bitmap, HPALETTE palette);
  bool CreateFromHICON(HICON icon);
  bool CreateFromResource(HINSTANCE module, const wchar_t* name);
  // A new window-system bitmap that the caller deletes.
  HBITMAP GetHBITMAP(std::optional<Argb> background = {}) const;
  HICON GetHICON() const;
  bool CloneArea(const RectF& area, int pixelFormat, Bitmap& target) const;
  bool CloneAreaI(const Rect& area, int pixelFormat, Bitmap& target) const;
  bool LockBits(const Rect& area, unsigned flags, int pixelFormat, BitmapData& data);
  bool UnlockBits(BitmapData& data);
  Argb GetPixel(int x, int y) const;
  bool SetPixel(int x, int y, Argb color);
  bool SetResolution(float dpiX, float dpiY);
  bool ApplyEffect(const GraphicsObject& effect, EffectAuxData& aux,
                   const RECT* area = nullptr);
  // Draws this bitmap rotated about its centre into a new bitmap for target.
  bool RotateInto(float angle, Bitmap& target, std::optional<Argb> background = {},
                  std::optional<int> interpolationMode = {},
                  std::optional<SizeF> size = {}) const;
  // The size that holds a w by h picture turned by angle degrees, measured
  // between the corner pixels' centres.
  static SizeF GetRotatedSize(float width, float height, int angle);
};

}  // namespace tovel
