#include "skin/options.h"

namespace tovel::skin {

void ApplyOptions(SkinOptions& options, bool skinControls, std::optional<int> controlAlpha,
                  std::optional<int> optionThree) {
  options.skinControls = skinControls;
  options.controlAlpha = controlAlpha.value_or(kDefaultControlAlpha);
  options.translucentControls = controlAlpha.has_value();
  options.optionThree = optionThree.value_or(1);
}

void ApplySkinColours(SkinOptions& options, const SkinColours& args) {
  const bool fromMain = args.highlight == kHighlightFromMain;
  if (!fromMain) options.highlightColour = args.highlight.value_or(kDefaultHighlight);
  if (args.hasPicture) {
    options.mainColour = args.main.value_or(args.sampled);
    options.imageMode = args.mode.value_or(kDefaultImageMode);
  } else {
    // Without a picture the layout mode stays what it was.
    options.mainColour = args.main.value_or(args.faceColour);
  }
  if (fromMain) options.highlightColour = options.mainColour;
}

}  // namespace tovel::skin
