#include "gfx/graphics_object.h"

#include <cstring>

#include "gfx/gdiplus_flat.h"
#include "base/text.h"

namespace tovel {

int lastStatus = 0;
std::uintptr_t graphicsToken = 0;

std::uintptr_t StartGraphics(std::optional<std::uint32_t> version) {
  gdip::gp::GdiplusStartupInput input;
  input.GdiplusVersion = version.value_or(1);
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  ULONG_PTR token = 0;
  lastStatus = gdip::gp::GdiplusStartup(&token, &input, nullptr);
  graphicsToken = token;
  return token;
}

void ShutdownGraphics(std::optional<std::uintptr_t> token) {
  std::uintptr_t t = token.value_or(graphicsToken);
  // The global goes too when it is the token being shut down, so a later call
  // without a token cannot shut the library down a second time.
  if (!token || *token == graphicsToken) graphicsToken = 0;
  if (t != 0) gdip::gp::GdiplusShutdown(t);
}

ByteSet TextToWide(const Text& text) {
  std::wstring wide = Widen(text);
  ByteSet bytes((wide.size() + 1) * sizeof(wchar_t), 0);
  std::memcpy(bytes.data(), wide.data(), wide.size() * sizeof(wchar_t));
  return bytes;
}

void GraphicsObject::SetNative(void* h) {
  if (native_ && native_ != h) ReleaseNative(native_);
  native_ = h;
  OnNativeSet(h);
}

void* GraphicsObject::Detach() {
  void* h = native_;
  ForgetNative();
  return h;
}

void GraphicsObject::Destroy() {
  if (!native_) return;
  ReleaseNative(native_);
  ForgetNative();
}

void GraphicsObject::ForgetNative() {
  native_ = nullptr;
  OnNativeSet(nullptr);
}

GraphicsObject& GraphicsObject::operator=(GraphicsObject&& other) noexcept {
  if (this != &other) SetNative(other.Detach());
  return *this;
}

void* GraphicsObject::Alloc(std::size_t size) { return gdip::gp::DllExports::GdipAlloc(size); }
void GraphicsObject::Free(void* block) { gdip::gp::DllExports::GdipFree(block); }

namespace gdip {

std::wstring WideFromBytes(const ByteSet& bytes) {
  std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
  wide.resize(wcsnlen(wide.c_str(), wide.size()));
  return wide;
}

std::wstring WideFromText(const Text& text) {
  std::wstring wide = Widen(text);
  wide.resize(wcsnlen(wide.c_str(), wide.size()));
  return wide;
}

}  // namespace gdip
}  // namespace tovel
