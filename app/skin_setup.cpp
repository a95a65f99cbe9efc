#include "app/skin_setup.h"

#include "base/resource.h"
#include "gfx/graphics_object.h"

namespace tovel {
namespace {

constexpr skin::ColourRef kHighlight = 0x0051AE51;  // red 81, green 174, blue 81
constexpr int kStretched = 3;
constexpr int kCaptionHeight = 110;
constexpr wchar_t kSkinPicture[] = L"PLAYER_BACKGROUND";

}  // namespace

skin::SkinEngine& Skin() {
  static skin::SkinEngine engine;
  return engine;
}

void InitialiseSkin() {
  skin::SkinEngine& engine = Skin();
  HINSTANCE self = ::GetModuleHandleW(nullptr);
  // Number 129 first, then the name: the program carries only the named icon.
  HICON icon = ::LoadIconW(self, MAKEINTRESOURCEW(129));
  if (!icon) icon = ::LoadIconW(self, L"DEFAULT_ICON");
  engine.SetApplicationIcon(icon);
  engine.SetOptions(true);
  StartGraphics();
}

void AttachSkin(HWND window) {
  skin::SkinEngine& engine = Skin();
  skin::SetSkinArgs look;
  const ByteView picture = ResourceBytes(kSkinPicture);
  look.imageData.assign(picture.begin(), picture.end());
  look.highlightColour = kHighlight;
  look.mode = kStretched;
  engine.SetSkin(look);
  // An alpha of 0 given: list-type controls are translucent.
  engine.SetOptions(true, 0);
  skin::SkinWindowArgs args;
  args.captionHeight = kCaptionHeight;
  args.mode = kStretched;
  engine.SkinWindow(window, args);
}

}  // namespace tovel
