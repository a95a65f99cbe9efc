#pragma once

// The skin-wide settings and the rules by which SetSkin and SetOptions change
// them. Pure values, tested on the host.

#include <optional>

#include "skin/layout.h"

namespace tovel::skin {

inline constexpr ColourRef kDefaultHighlight = 0x00DDCA22;
// A highlight argument of -1 means "the same as the main colour".
inline constexpr ColourRef kHighlightFromMain = 0xFFFFFFFF;
inline constexpr int kDefaultControlAlpha = 160;
inline constexpr int kDefaultImageMode = 4;

struct SkinOptions {
  ColourRef mainColour = 0;
  ColourRef highlightColour = kDefaultHighlight;
  int imageMode = kDefaultImageMode;
  bool skinControls = true;
  int controlAlpha = kDefaultControlAlpha;
  bool translucentControls = false;  // on exactly when SetOptions was given an alpha
  int optionThree = 1;
};

// SetOptions: the alpha, when given, also turns translucency on.
void ApplyOptions(SkinOptions& options, bool skinControls, std::optional<int> controlAlpha,
                  std::optional<int> optionThree);

struct SkinColours {
  bool hasPicture = false;      // a picture was given and decoded
  ColourRef sampled = 0;        // its average colour
  ColourRef faceColour = 0;     // the system's button face, used without a picture
  std::optional<ColourRef> main;
  std::optional<ColourRef> highlight;  // kHighlightFromMain allowed
  std::optional<int> mode;
};

// SetSkin's colour and mode rules.
void ApplySkinColours(SkinOptions& options, const SkinColours& args);

}  // namespace tovel::skin
