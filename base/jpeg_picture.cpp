#include "base/jpeg_picture.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

namespace tovel {
namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
  auto* err = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(err->jump, 1);
}

// Warnings (a truncated file, say) keep decoding; only errors abort.
void OnJpegMessage(j_common_ptr, int) {}

UniqueBitmap CreateDib(int width, int height, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down, so rows follow the decoder's order
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return UniqueBitmap(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0));
}

// libjpeg reports errors by longjmp; each step sets its own jump point and keeps
// only trivially destructible locals, so no C++ object is skipped by the jump.
struct Decoder {
  jpeg_decompress_struct info{};
  ErrorManager err{};
  Decoder() {
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnJpegError;
    err.base.emit_message = OnJpegMessage;
    jpeg_create_decompress(&info);
  }
  ~Decoder() { jpeg_destroy_decompress(&info); }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;
};

bool StartDecoding(Decoder& d, ByteView data) {
  if (setjmp(d.err.jump)) return false;
  jpeg_mem_src(&d.info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d.info, TRUE);
  d.info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&d.info);
  return true;
}

bool ReadRows(Decoder& d, unsigned char* base) {
  if (setjmp(d.err.jump)) return false;
  const size_t stride = static_cast<size_t>(d.info.output_width) * 4;
  while (d.info.output_scanline < d.info.output_height) {
    JSAMPROW row = base + d.info.output_scanline * stride;
    jpeg_read_scanlines(&d.info, &row, 1);
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

}  // namespace

Picture DecodeJpeg(ByteView data) {
  if (data.empty()) return {};
  auto decoder = std::make_unique<Decoder>();
  if (!StartDecoding(*decoder, data)) return {};
  Picture picture;
  void* bits = nullptr;
  const int width = static_cast<int>(decoder->info.output_width);
  const int height = static_cast<int>(decoder->info.output_height);
  picture.bitmap = CreateDib(width, height, &bits);
  if (!picture.bitmap || !ReadRows(*decoder, static_cast<unsigned char*>(bits))) return {};
  picture.width = width;
  picture.height = height;
  return picture;
}

}  // namespace tovel
