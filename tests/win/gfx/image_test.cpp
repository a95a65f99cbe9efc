#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "gfx_test_support.h"
#include "base/dc.h"
#include "base/text.h"

namespace tovel::test {
namespace {

constexpr int kNearestNeighbor = 5;
constexpr int kFlipHorizontally = 4;

bool StartsWith(const ByteSet& bytes, std::initializer_list<std::uint8_t> head) {
  return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

// Two 1 by 1 frames shown for 10 and 20 hundredths of a second.
const ByteSet kTwoFrameGif = {
    'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF,
    0x21, 0xF9, 4, 0, 10, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,
    0x21, 0xF9, 4, 0, 20, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0,
    0x3B};

Bitmap Sample() {
  Bitmap b;
  EXPECT_TRUE(b.CreateBlank(3, 2));
  const Argb colors[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF000000, 0xFFFFFFFF, 0x80102030};
  for (int i = 0; i < 6; ++i) b.SetPixel(i % 3, i / 3, colors[i]);
  return b;
}

Text TempPath(const char* name) {
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  return Narrow(dir) + name;
}

ByteSet ReadFile(const Text& path) {
  std::ifstream in(std::filesystem::path(Widen(path)), std::ios::binary);
  return ByteSet(std::istreambuf_iterator<char>(in), {});
}

TEST(Image, LoadFromEmptyBytesFailsAndStaysEmpty) {
  Image image;
  lastStatus = 0;
  EXPECT_FALSE(image.LoadFromBytes({}));
  EXPECT_NE(lastStatus, 0);
  EXPECT_EQ(image.GetNative(), nullptr);
  Bitmap bitmap;
  EXPECT_FALSE(bitmap.CreateFromBytes(ByteSet{1, 2, 3}));
  EXPECT_EQ(bitmap.GetNative(), nullptr);
}

TEST(Image, PngBytesRoundTripAsPng) {
  Bitmap source = Sample();
  const ByteSet png = source.SaveToBytes(Text(kImageFormatPng));
  ASSERT_TRUE(StartsWith(png, {0x89, 'P', 'N', 'G'}));

  Image image;
  {
    ByteSet copy = png;  // the image keeps its own copy of the bytes
    ASSERT_TRUE(image.LoadFromBytes(copy));
  }
  EXPECT_EQ(image.GetRawFormat(), kImageFormatPng);
  EXPECT_EQ(image.GetWidth(), 3u);
  EXPECT_EQ(image.GetHeight(), 2u);
  EXPECT_TRUE(StartsWith(image.SaveToBytes(), {0x89, 'P', 'N', 'G'}));

  Bitmap back;
  ASSERT_TRUE(back.CreateFromBytes(png));
  EXPECT_EQ(back.GetPixel(1, 0), 0xFF00FF00u);
  EXPECT_EQ(back.GetPixel(2, 1), 0x80102030u);
  EXPECT_TRUE(back.Dispose());
  EXPECT_EQ(back.GetNative(), nullptr);
}

TEST(Image, JpegLoadedFromBytesReencodesAsJpeg) {
  Bitmap source = Solid(16, 16, 0xFF3060A0);
  const ByteSet jpeg = source.SaveToBytes(Text(kImageFormatJpeg));
  ASSERT_TRUE(StartsWith(jpeg, {0xFF, 0xD8}));
  Image image;
  ASSERT_TRUE(image.LoadFromBytes(jpeg));
  EXPECT_EQ(image.GetRawFormat(), kImageFormatJpeg);
  EXPECT_TRUE(StartsWith(image.SaveToBytes(), {0xFF, 0xD8, 0xFF}));
}

TEST(Image, EncoderLookupComparesFormatTextsExactly) {
  EXPECT_EQ(FindEncoderClassId(kImageFormatPng), "{557CF406-1A04-11D3-9A73-0000F81EF32E}");
  EXPECT_EQ(FindEncoderClassId(kImageFormatBmp), "{557CF400-1A04-11D3-9A73-0000F81EF32E}");
  EXPECT_EQ(FindEncoderClassId("{b96b3caf-0728-11d3-9d7b-0000f81ef32e}"), "");
  const auto encoders = GetImageEncoders();
  EXPECT_TRUE(std::any_of(encoders.begin(), encoders.end(),
                          [](const EncoderInfo& e) { return e.mimeType == "image/png"; }));

  Bitmap source = Sample();
  EXPECT_TRUE(source.SaveToBytes(Text("{b96b3caf-0728-11d3-9d7b-0000f81ef32e}")).empty());
  // A parameter whose bytes are fewer than its values is refused.
  EncoderParameterList short_list{{{"{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}", 1, 4, {90}}}};
  lastStatus = 0;
  EXPECT_TRUE(source.SaveToBytes(Text(kImageFormatJpeg), &short_list).empty());
  EXPECT_EQ(lastStatus, 2);
  EncoderParameterList quality{{{"{1D5BE4B5-FA4A-452D-9CDD-5DB35105E7EB}", 1, 4, {90, 0, 0, 0}}}};
  EXPECT_TRUE(StartsWith(source.SaveToBytes(Text(kImageFormatJpeg), &quality), {0xFF, 0xD8}));
}

TEST(Image, SaveToFileWithoutFormatWritesBmp) {
  Bitmap source = Sample();
  const Text bmpPath = TempPath("图片-gfx-test.bmp");
  ASSERT_TRUE(source.SaveToFile(bmpPath));
  EXPECT_TRUE(StartsWith(ReadFile(bmpPath), {'B', 'M'}));
  Image loaded;
  ASSERT_TRUE(loaded.LoadFromFile(bmpPath));
  EXPECT_EQ(loaded.GetRawFormat(), kImageFormatBmp);
  Bitmap asBitmap, asBitmapWide;
  ASSERT_TRUE(asBitmap.CreateFromFile(bmpPath));
  EXPECT_EQ(asBitmap.GetPixel(0, 0), 0xFFFF0000u);
  ASSERT_TRUE(asBitmapWide.CreateFromFileWide(TextToWide(bmpPath)));
  EXPECT_EQ(asBitmapWide.GetPixel(1, 0), 0xFF00FF00u);
  loaded.Dispose();
  asBitmap.Dispose();
  asBitmapWide.Dispose();

  const Text pngPath = TempPath("gfx-test.png");
  ASSERT_TRUE(source.SaveToFileWide(TextToWide(pngPath), Text(kImageFormatPng)));
  EXPECT_TRUE(StartsWith(ReadFile(pngPath), {0x89, 'P', 'N', 'G'}));
  ::DeleteFileW(Widen(bmpPath).c_str());
  ::DeleteFileW(Widen(pngPath).c_str());
}

TEST(Image, RotatedSizeIsMeasuredBetweenCornerPixelCentres) {
  const SizeF quarter = Bitmap::GetRotatedSize(100, 50, 90);
  EXPECT_NEAR(quarter.width, 49, 1e-3);
  EXPECT_NEAR(quarter.height, 99, 1e-3);
  const SizeF none = Bitmap::GetRotatedSize(30, 20, 0);
  EXPECT_FLOAT_EQ(none.width, 29);
  EXPECT_FLOAT_EQ(none.height, 19);
  const SizeF eighth = Bitmap::GetRotatedSize(11, 11, 45);
  EXPECT_NEAR(eighth.width, 14.142f, 1e-2);
}

TEST(Image, RotateIntoTurnsThePictureAboutItsCentre) {
  Bitmap source;
  ASSERT_TRUE(source.CreateBlank(10, 6));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) source.SetPixel(x, y, x < 5 ? 0xFFFF0000 : 0xFF0000FF);
  source.SetResolution(120, 120);

  Bitmap turned;
  ASSERT_TRUE(source.RotateInto(90, turned, 0xFF00FF00, kNearestNeighbor));
  EXPECT_EQ(turned.GetWidth(), 5u);
  EXPECT_EQ(turned.GetHeight(), 9u);
  EXPECT_FLOAT_EQ(turned.GetHorizontalResolution(), 120);
  EXPECT_EQ(turned.GetPixel(2, 1), 0xFFFF0000u);  // the left half is now on top
  EXPECT_EQ(turned.GetPixel(2, 7), 0xFF0000FFu);

  Bitmap sized;
  ASSERT_TRUE(source.RotateInto(180, sized, {}, kNearestNeighbor, SizeF{10, 6}));
  EXPECT_EQ(sized.GetWidth(), 10u);
  EXPECT_EQ(sized.GetPixel(1, 3), 0xFF0000FFu);  // halves swapped
  EXPECT_EQ(sized.GetPixel(8, 3), 0xFFFF0000u);
}

TEST(Image, CreateBlankDefaultsTo32BitArgb) {
  Bitmap argb;
  ASSERT_TRUE(argb.CreateBlank(10, 10));
  EXPECT_EQ(argb.GetPixelFormat(), kPixelFormat32bppArgb);
  EXPECT_EQ(argb.GetType(), 1);  // ImageTypeBitmap
  const SizeF size = argb.GetDimension();
  EXPECT_FLOAT_EQ(size.width, 10);
  RectF bounds;
  int unit = -1;
  EXPECT_EQ(argb.GetBounds(bounds, unit), 0);
  EXPECT_FLOAT_EQ(bounds.height, 10);
  EXPECT_EQ(unit, 2);
  Bitmap rgb;
  ASSERT_TRUE(rgb.CreateBlank(10, 10, 0x21808));  // 24 bits per pixel
  EXPECT_EQ(rgb.GetPixelFormat(), 0x21808);
}

TEST(Image, IconBecomesABitmap) {
  BITMAPINFO info = Dib32(16, 16);
  void* bits = nullptr;
  UniqueBitmap color(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  std::fill_n(static_cast<std::uint32_t*>(bits), 256, 0xFF00C000u);
  UniqueBitmap mask(::CreateBitmap(16, 16, 1, 1, nullptr));
  ICONINFO ii{TRUE, 0, 0, mask.get(), color.get()};
  UniqueIcon icon(::CreateIconIndirect(&ii));
  ASSERT_TRUE(icon);

  Bitmap bitmap;
  ASSERT_TRUE(bitmap.CreateFromHICON(icon.get()));
  EXPECT_EQ(bitmap.GetWidth(), 16u);
  EXPECT_EQ(bitmap.GetPixel(8, 8) & 0xFFFFFF, 0x00C000u);  // alpha is the platform's affair
  UniqueIcon back(bitmap.GetHICON());
  EXPECT_TRUE(back);
}

TEST(Image, BitmapBecomesAnHbitmapThatBlits) {
  Bitmap red = Solid(8, 8, 0xFFFF0000);
  UniqueBitmap hbitmap(red.GetHBITMAP(0xFFFFFFFF));
  ASSERT_TRUE(hbitmap);
  WindowDc screen(nullptr);
  MemoryDc target(screen.get(), 8, 8);
  UniqueDc source(::CreateCompatibleDC(screen.get()));
  {
    SelectGuard select(source.get(), hbitmap.get());
    ASSERT_TRUE(::BitBlt(target.get(), 0, 0, 8, 8, source.get(), 0, 0, SRCCOPY));
  }
  EXPECT_EQ(::GetPixel(target.get(), 3, 3), RGB(255, 0, 0));

  Bitmap again;
  ASSERT_TRUE(again.CreateFromHBITMAP(hbitmap.get(), nullptr));
  EXPECT_EQ(again.GetPixel(7, 7) & 0xFFFFFF, 0xFF0000u);
}

TEST(Image, AnimationFramesAndDelays) {
  Image gif;
  ASSERT_TRUE(gif.LoadFromBytes(kTwoFrameGif));
  EXPECT_EQ(gif.GetRawFormat(), kImageFormatGif);
  EXPECT_EQ(gif.GetFrameCount(kFrameDimensionTime), 2u);
  std::vector<Text> dimensions;
  ASSERT_TRUE(gif.GetFrameDimensions(dimensions));
  EXPECT_EQ(dimensions, std::vector<Text>{kFrameDimensionTime});
  EXPECT_TRUE(gif.SelectActiveFrame(kFrameDimensionTime, 1));
  std::vector<int> delays;
  ASSERT_TRUE(gif.GetFrameDelays(delays));
  EXPECT_EQ(delays, (std::vector<int>{10, 20}));
  std::vector<std::uint32_t> ids;
  ASSERT_TRUE(gif.GetPropertyIdList(ids));
  EXPECT_NE(std::find(ids.begin(), ids.end(), 0x5100u), ids.end());

  Bitmap still = Sample();
  EXPECT_FALSE(still.GetFrameDelays(delays));
}

TEST(Image, CopiesFlipsAndLockedPixels) {
  Bitmap source = Sample();
  Image clone;
  ASSERT_TRUE(source.Clone(clone));
  EXPECT_EQ(clone.GetWidth(), 3u);
  Bitmap area;
  ASSERT_TRUE(source.CloneAreaI({1, 0, 2, 2}, kPixelFormat32bppArgb, area));
  EXPECT_EQ(area.GetPixel(0, 0), 0xFF00FF00u);
  Image thumbnail;
  ASSERT_TRUE(source.GetThumbnail(6, 4, thumbnail));
  EXPECT_EQ(thumbnail.GetWidth(), 6u);

  ASSERT_TRUE(source.RotateFlip(kFlipHorizontally));
  EXPECT_EQ(source.GetPixel(0, 0), 0xFF0000FFu);

  BitmapData data;
  ASSERT_TRUE(source.LockBits({0, 0, 3, 2}, 3, kPixelFormat32bppArgb, data));  // read and write
  EXPECT_EQ(data.width, 3u);
  static_cast<std::uint32_t*>(data.scan0)[0] = 0xFF123456;
  ASSERT_TRUE(source.UnlockBits(data));
  EXPECT_EQ(source.GetPixel(0, 0), 0xFF123456u);
}

TEST(MemoryStream, CopiesAtMostTheBytesItIsGiven) {
  const ByteSet bytes = {1, 2, 3};
  MemoryStream stream;
  ASSERT_NE(stream.CreateFromBytes(bytes, 2), nullptr);
  EXPECT_EQ(stream.GetSize(), 2u);
  EXPECT_EQ(stream.ReadBytes(), (ByteSet{1, 2}));
  ASSERT_NE(stream.CreateFromBytes(bytes, 10), nullptr);
  EXPECT_EQ(stream.ReadBytes(), bytes);
  EXPECT_NE(stream.GetMemoryHandle(), nullptr);
  stream.Release();
  EXPECT_EQ(stream.GetStreamHandle(), nullptr);

  IStream* own = nullptr;
  ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &own), S_OK);
  ULONG written = 0;
  own->Write("abcd", 4, &written);
  ASSERT_TRUE(stream.Attach(own));
  EXPECT_EQ(stream.ReadBytes(), (ByteSet{'a', 'b', 'c', 'd'}));
}

}  // namespace
}  // namespace tovel::test
