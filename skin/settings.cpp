// The skin-wide look: its picture, colours and switches, and the repaint of every
// skinned window when they change.

#include "base/handle.h"
#include "base/text.h"
#include "gfx/image.h"
#include "skin/engine.h"
#include "skin/helpers.h"
#include "skin/skinned_window.h"

namespace tovel::skin {
namespace {

// A skin picture is small; anything this large is not one.
constexpr LONGLONG kLargestPicture = 64LL << 20;

bool ReadPictureFile(const Text& name, ByteSet& bytes) {
  UniqueFile file(::CreateFileW(Widen(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestPicture) return false;
  bytes.resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  return bytes.empty() ||
         (::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
          read == bytes.size());
}

// Modes 0 and 1 keep the picture with its edges faded toward the main colour.
ByteSet Prepared(ByteView bytes, int mode, ColourRef mainColour) {
  if (mode == 0 || mode == 1) return FadeEdges(bytes, 0, mode == 1, mainColour, mode);
  return ByteSet(bytes.begin(), bytes.end());
}

}  // namespace

Text SkinEngine::SetSkin(const SetSkinArgs& args) {
  ByteSet bytes = args.imageData;
  Text problem;
  if (!args.fileName.empty() && !ReadPictureFile(args.fileName, bytes)) {
    problem = "the skin picture file cannot be read";
    bytes.clear();
  }
  // Each window hands the skin its picture again: the same bytes are not decoded
  // and sampled twice.
  const bool same = !bytes.empty() && bytes == skinSource_.bytes && skinSource_.picture;
  std::shared_ptr<Picture> picture = same ? skinSource_.picture : LoadPicture(bytes);
  if (!bytes.empty() && !picture) problem = "the skin picture cannot be decoded";
  const ColourRef sampled = same ? skinSource_.sampled : picture ? AverageColour(*picture) : 0;
  skinSource_ = SkinSource{picture ? bytes : ByteSet(), picture, sampled};

  SkinColours colours;
  colours.hasPicture = picture != nullptr;
  colours.sampled = sampled;
  colours.faceColour = defaultFaceColour_;
  colours.main = args.mainColour;
  colours.highlight = args.highlightColour;
  colours.mode = args.mode;
  ApplySkinColours(options_, colours);

  if (picture) {
    const bool faded = options_.imageMode == 0 || options_.imageMode == 1;
    backgroundPicture_ = faded ? LoadPicture(Prepared(bytes, options_.imageMode, options_.mainColour)) : picture;
  } else {
    backgroundPicture_.reset();
  }
  RefreshVisibleWindows();
  return problem;
}

void SkinEngine::SetOptions(bool skinControls, std::optional<int> controlAlpha,
                            std::optional<int> optionThree) {
  ApplyOptions(options_, skinControls, controlAlpha, optionThree);
}

int SkinEngine::SetWindowImage(HWND hwnd, ByteView image, std::optional<int> mode) {
  SkinnedWindow* w = SkinnedWindowOf(hwnd);
  if (!w || image.empty()) return 0;
  std::shared_ptr<Picture> picture = LoadPicture(image);
  if (!picture) return 0;  // a picture that does not decode changes nothing
  w->SetImage(std::move(picture), image, mode);
  return 1;
}

void SkinnedWindow::SetImage(std::shared_ptr<Picture> decoded, ByteView image, std::optional<int> mode) {
  own_.mode = mode.value_or(own_.mode);
  own_.mainColour = AverageColour(*decoded);
  own_.image = Prepared(image, own_.mode, own_.mainColour);
  own_.picture = (own_.mode == 0 || own_.mode == 1) ? LoadPicture(own_.image) : std::move(decoded);
  Repaint();
}

}  // namespace tovel::skin
