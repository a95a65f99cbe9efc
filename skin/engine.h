#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/dc.h"
#include "base/handle.h"
#include "base/value.h"
#include "gfx/tool_tip.h"
#include "skin/controls.h"
#include "skin/gdiplus_constants.h"
#include "skin/glyphs.h"
#include "skin/layout.h"
#include "skin/options.h"

namespace tovel {
class Graphics;
class Bitmap;
class Font;
}  // namespace tovel

namespace tovel::skin {

class SkinEngine;
struct Picture;

struct SkinWindowArgs {
  int captionHeight = 25;
  bool framed = true;
  bool sizable = true;
  bool helpButton = false;
  bool menuButton = false;
  bool captionText = true;
  bool gloss = false;
  ByteSet image;  // the window's own picture
  std::optional<int> mode;
};

struct SetSkinArgs {
  Text fileName;
  ByteSet imageData;
  std::optional<ColourRef> mainColour;
  std::optional<ColourRef> highlightColour;  // kHighlightFromMain allowed
  std::optional<int> mode;
};

struct CaptionTextArgs {
  std::optional<Text> font;
  std::optional<float> size;
  std::optional<ColourRef> textColour;
  std::optional<ColourRef> shadowColour;
  std::optional<bool> bold;
};

// A window-system font as the graphics layer draws it.
struct WindowFont {
  Text name;
  float size = 12;
  int style = 0;
  int unit = kUnitPixel;
  std::shared_ptr<Font> font;  // null when none could be made
};

// What the engine holds, for leak checks.
struct EngineCounts {
  int windows = 0;
  int controls = 0;
};

class SkinnedWindow;

// The one skin engine: the skin-wide look, the pictures, glyphs and fonts every
// window shares, and the table of skinned windows. Each skinned window is an object
// of its own, found from its handle; the entry points that take window numbers
// (1-based positions in the window list) find it once, here.
class SkinEngine {
 public:
  SkinEngine();
  ~SkinEngine();
  SkinEngine(const SkinEngine&) = delete;
  SkinEngine& operator=(const SkinEngine&) = delete;

  // The icon drawn in every caption; shared icons are never destroyed here.
  void SetApplicationIcon(HICON icon) { appIcon_ = icon; }
  HICON ApplicationIcon() const { return appIcon_; }

  void SkinWindow(HWND hwnd, const SkinWindowArgs& args);
  void OnCaptionButton(int n, int button);

  // Skin-wide settings. SetSkin returns "" or why the picture could not be used.
  Text SetSkin(const SetSkinArgs& args);
  void SetOptions(bool skinControls, std::optional<int> controlAlpha = {},
                  std::optional<int> optionThree = {});
  int SetWindowImage(HWND hwnd, ByteView image, std::optional<int> mode = {});
  ColourRef GetMainColour() const { return options_.mainColour; }
  // The text colour a control is given when it asks for its colours; a combo box's
  // goes to its edit part.
  void SetControlTextColour(HWND control, ColourRef colour);
  const SkinOptions& options() const { return options_; }
  // The skin's picture as windows without their own draw it; null without one.
  const Picture* SkinPicture() const { return backgroundPicture_.get(); }

  // Composition.
  void RenderWindow(int n, bool show);
  void PresentWindow(int n, HDC dc);

  // Caption buttons and text.
  bool AddCaptionButton(HWND hwnd, ByteView image, const Text& tip,
                        std::function<void()> callback);
  // A button of the program's own, drawn with a glyph at the window's scale, left of the
  // others; `id` (not 0) finds it again to change its glyph and tip.
  bool AddGlyphCaptionButton(HWND hwnd, int id, GlyphKind glyph, const Text& tip, std::function<void()> callback);
  bool SetCaptionButtonGlyph(HWND hwnd, int id, GlyphKind glyph, const Text& tip);
  void OnWindowMoved(int n);
  int HitTestCaptionButton(int n, int x, int y) const;
  int CaptionDoubleClickButton(int n) const;
  void DrawCaptionButton(int n, int button, Graphics* surface, bool pressed, int glowAlpha);
  void SetHelpCallback(HWND hwnd, std::function<void()> callback);
  void SetMenuCallback(HWND hwnd, std::function<void()> callback);
  int SetCaptionText(HWND hwnd, const CaptionTextArgs& args);
  void DrawCaptionText(int n, Graphics* surface, const std::optional<Text>& text);

  // The item band and docked windows.
  void LayoutItems(int n);
  void OnWindowSized(int n);
  bool SetItemArea(HWND hwnd, int height, std::vector<int> itemWidths);
  bool DockWindow(HWND hwnd, HWND docked, int top);

  // Lookups.
  int WindowCount() const { return static_cast<int>(windows_.size()); }
  SkinnedWindow* Record(int n) const;
  int WindowNumber(HWND hwnd) const;
  EngineCounts Counts() const;
  // The font a control was given (the default GUI font without one), made once per
  // font: finding a face is slow.
  const WindowFont& FontOf(HWND control);
  // Until the first window gets its first size, a composition does not repaint children.
  bool startupPending() const { return startupPending_; }
  void EndStartup() { startupPending_ = false; }

  // What the frame procedure serves for a window, from this process's own table: the
  // skinned window, or, once let go of with ours left in its chain, only the
  // procedure to pass messages on to. A property read would be a round trip to the
  // window server under Wine on every message.
  struct FrameBinding {
    SkinnedWindow* window = nullptr;
    WNDPROC previous = nullptr;
  };
  static FrameBinding BindingOf(HWND hwnd);
  // A window let go of: it only passes messages on, until its own WM_NCDESTROY.
  static void KeepForwarding(HWND hwnd, WNDPROC previous);
  static void Unbind(HWND hwnd);
  // At the window's own WM_NCDESTROY (after passing it on), or when the engine goes.
  void ReleaseWindow(HWND hwnd, bool windowEnding);

  // Windows and controls the skin let go of while someone who subclassed them after
  // us kept one of our procedures in their chain: it only passes their messages on,
  // until each one's own WM_NCDESTROY.
  static int ForwardingCount();

 private:
  static std::unordered_map<HWND, FrameBinding>& Frames();
  void RefreshVisibleWindows();
  void Renumber(size_t from);

  SkinOptions options_;
  std::shared_ptr<Picture> backgroundPicture_;  // the skin's picture as windows draw it, decoded once
  struct SkinSource {
    ByteSet bytes;  // the picture as SetSkin was given it
    std::shared_ptr<Picture> picture;
    ColourRef sampled = 0;
  } skinSource_;
  std::vector<std::unique_ptr<SkinnedWindow>> windows_;
  std::map<std::wstring, WindowFont> fonts_;  // by the font's description
  ColourRef defaultFaceColour_ = 0;
  HICON appIcon_ = nullptr;
  bool startupPending_ = true;
};

// Window properties the engine sets (text keys, pointer-sized values).
inline constexpr wchar_t kPropOldProc[] = L"Hw_hProc";
inline constexpr wchar_t kPropNumber[] = L"Hw_lbID";
inline constexpr wchar_t kPropWindowNumber[] = L"Hw_FuID";
inline constexpr wchar_t kPropTextColour[] = L"Kj_Ztys";

// The fade timer's identifier: above any control identifier the forms use.
inline constexpr UINT_PTR kFadeTimerId = 0x5A1E0000;

}  // namespace tovel::skin

// The window object, complete for everyone who reaches it through the engine.
#include "skin/skinned_window.h"
