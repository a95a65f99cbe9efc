#pragma once
// Private to gfx/: the platform's flat GDI+ interface and the helpers that every
// wrapper uses to record status, read typed handles and pack records.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <span>
#include <string>
#include <vector>

#include "gfx/graphics_object.h"

namespace tovel::gdip {

namespace gp = Gdiplus;
using namespace Gdiplus::DllExports;
using Status = gp::GpStatus;
using REAL = gp::REAL;

constexpr Status kInvalidParameter = gp::InvalidParameter;

// The status rule: record the platform's status, report success as true.
inline bool Ok(Status s) {
  lastStatus = static_cast<int>(s);
  return s == gp::Ok;
}

// Getters: call with an output slot, record the status, return what was written.
template <class T, class... Params, class... Args>
T Read(Status(WINGDIPAPI* fn)(Params...), Args... args) {
  T value{};
  lastStatus = static_cast<int>(fn(args..., &value));
  return value;
}

template <class T>
T* As(const GraphicsObject& o) {
  return static_cast<T*>(o.GetNative());
}
template <class T>
T* As(const GraphicsObject* o) {
  return o ? static_cast<T*>(o->GetNative()) : nullptr;
}

inline gp::PointF Pack(const PointF& p) { return gp::PointF(p.x, p.y); }
inline gp::Point Pack(const Point& p) { return gp::Point(p.x, p.y); }
inline gp::RectF Pack(const RectF& r) { return gp::RectF(r.x, r.y, r.width, r.height); }
inline gp::Rect Pack(const Rect& r) { return gp::Rect(r.x, r.y, r.width, r.height); }
inline PointF Unpack(const gp::PointF& p) { return {p.X, p.Y}; }
inline Point Unpack(const gp::Point& p) { return {p.X, p.Y}; }
inline RectF Unpack(const gp::RectF& r) { return {r.X, r.Y, r.Width, r.Height}; }
inline Rect Unpack(const gp::Rect& r) { return {r.X, r.Y, r.Width, r.Height}; }

// Records copied into the platform's packed element type and, for methods that
// change them in place, copied back. An empty array passes null and count 0.
template <class Record>
class Packed {
 public:
  using Element = decltype(Pack(std::declval<Record>()));
  explicit Packed(std::span<const Record> records) {
    items_.reserve(records.size());
    for (const Record& r : records) items_.push_back(Pack(r));
  }
  const Element* data() const { return items_.empty() ? nullptr : items_.data(); }
  Element* data() { return items_.empty() ? nullptr : items_.data(); }
  INT count() const { return static_cast<INT>(items_.size()); }
  void WriteBack(std::span<Record> records) const {
    for (size_t i = 0; i < records.size() && i < items_.size(); ++i) records[i] = Unpack(items_[i]);
  }

 private:
  std::vector<Element> items_;
};

template <class Record>
Packed<Record> Pack(std::span<const Record> records) {
  return Packed<Record>(records);
}

// A UTF-16 byte set read up to its first zero unit and never past its end,
// so a set without a terminator cannot make the platform read beyond it.
std::wstring WideFromBytes(const ByteSet& bytes);

// Scaling or rotating about a centre is translate, operation, translate back; with
// append order (not 0) the first translation goes to the origin, with prepend order
// the calls come in reverse so that the same point stays fixed. Stops at the first
// failure so a half-applied transform is not reported as success.
template <class Translate, class Operation>
bool AboutCentre(const PointF& centre, int order, Translate translate, Operation operation) {
  const float sign = order != 0 ? -1.0f : 1.0f;
  return Ok(translate(sign * centre.x, sign * centre.y)) && Ok(operation()) &&
         Ok(translate(-sign * centre.x, -sign * centre.y));
}

inline gp::MatrixOrder Order(int order) { return static_cast<gp::MatrixOrder>(order); }
inline gp::Unit UnitOf(int unit) { return static_cast<gp::Unit>(unit); }

// Lengths of UTF-16 texts as the platform takes them.
inline INT WideLength(const std::wstring& s) { return static_cast<INT>(wcslen(s.c_str())); }
std::wstring WideFromText(const Text& text);

}  // namespace tovel::gdip
