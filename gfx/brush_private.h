#pragma once
// Private to gfx/: blend arrays shared by the two gradient brushes.

#include <span>
#include <vector>

#include "gfx/gdiplus_flat.h"

namespace tovel::gdip {

// Blends pair each factor or colour with a position; arrays of different lengths
// would make the platform read past the shorter one. U is our element type, V the
// platform's (Argb and ARGB are both 32-bit but distinct types).
template <class B, class V, class U>
bool SetBlend(Status(WINGDIPAPI* set)(B*, const V*, const REAL*, INT), B* brush,
              std::span<const U> values, std::span<const float> positions) {
  static_assert(sizeof(U) == sizeof(V));
  if (values.size() != positions.size()) return Ok(kInvalidParameter);
  return Ok(set(brush, reinterpret_cast<const V*>(values.data()), positions.data(),
                static_cast<INT>(values.size())));
}

template <class B, class V, class U>
bool GetBlend(Status(WINGDIPAPI* count)(B*, INT*), Status(WINGDIPAPI* get)(B*, V*, REAL*, INT),
              B* brush, std::vector<U>& values, std::vector<float>& positions) {
  INT n = 0;
  if (!Ok(count(brush, &n))) return false;
  std::vector<V> got(static_cast<size_t>(n));
  positions.assign(static_cast<size_t>(n), 0.0f);
  if (!Ok(get(brush, got.data(), positions.data(), n))) return false;
  values.assign(got.begin(), got.end());
  return true;
}

}  // namespace tovel::gdip
