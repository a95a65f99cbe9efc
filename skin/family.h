#pragma once

#include <cstddef>

namespace tovel::skin {

// The control families, in the order of the window record's control lists.
enum class Family {
  Buttons,
  ListControls,
  Sliders,
  Progress,
  Edits,
  Combos,
  Spins,
  Headers,
  Translucent,
  kCount
};
inline constexpr size_t kFamilyCount = static_cast<size_t>(Family::kCount);

}  // namespace tovel::skin
