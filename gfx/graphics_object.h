#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "base/value.h"

namespace tovel {

// Colours of the graphics layer are 0xAARRGGBB.
using Argb = std::uint32_t;

struct PointF {
  float x = 0, y = 0;
};
struct Point {
  int x = 0, y = 0;
};
struct SizeF {
  float width = 0, height = 0;
};
struct RectF {
  float x = 0, y = 0, width = 0, height = 0;
};
struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
};

// Status of the most recent platform call made through a recording method
// (0 = success; the platform's own codes otherwise). Never reset by the layer.
extern int lastStatus;

// The token of the running graphics library, 0 when it is not started.
extern std::uintptr_t graphicsToken;

// Starts the library (version 1 when omitted) and returns its token, also kept in
// graphicsToken; 0 when the start failed.
std::uintptr_t StartGraphics(std::optional<std::uint32_t> version = {});

// Shuts the library down with the given token, or with graphicsToken when omitted.
// A token of 0 does nothing; shutting down with graphicsToken clears it.
void ShutdownGraphics(std::optional<std::uintptr_t> token = {});

// UTF-8 text as zero-terminated UTF-16 bytes for the platform; "" gives two zero bytes.
ByteSet TextToWide(const Text& text);

// Owner of one platform object. Copying is disabled so no object is deleted twice;
// moving hands the object over. All typed views of the handle read this one field.
class GraphicsObject {
 public:
  GraphicsObject(const GraphicsObject&) = delete;
  GraphicsObject& operator=(const GraphicsObject&) = delete;
  virtual ~GraphicsObject() = default;

  void* GetNative() const { return native_; }

  // Takes ownership of h; an object held before (and not h itself) is released.
  void SetNative(void* h);

  // Gives the object up without releasing it; the wrapper becomes empty.
  void* Detach();

  // Releases the object without recording status; the wrapper becomes empty.
  void Destroy();

  // Blocks of the library's own memory.
  static void* Alloc(std::size_t size);
  static void Free(void* block);

 protected:
  GraphicsObject() = default;
  GraphicsObject(GraphicsObject&& other) noexcept : native_(other.native_) {
    other.native_ = nullptr;
  }
  GraphicsObject& operator=(GraphicsObject&& other) noexcept;

  // The class's own release of a handle it owns.
  virtual void ReleaseNative(void* h) = 0;

  // Hooks for subclasses that keep state derived from the handle.
  virtual void OnNativeSet(void* h) { OnNativeChanged(h); }
  virtual void OnNativeChanged(void* h) {}

  // After an explicit delete: the object is gone, only the field is cleared.
  void ForgetNative();

 private:
  void* native_ = nullptr;
};

}  // namespace tovel
