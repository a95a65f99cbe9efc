#pragma once

#include <windows.h>

#include <any>
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

struct CaptionStyle {
  ColourRef text = 0x00FFFFFF;
  ColourRef shadow = 0x00808080;
  Text font;  // empty: the halo text's own default face
  float size = 12;
  bool bold = false;
};

struct CaptionButton {
  int width = 26;
  int height = 18;
  ByteSet image;        // a caller's own picture
  ByteSet secondImage;
  const wchar_t* glyph = nullptr;  // or the program's own glyph, decoded once for all windows
  const wchar_t* secondGlyph = nullptr;  // the restore glyph of the maximize button
  ButtonKind kind = ButtonKind::Custom;
  Text tip;
  std::function<void()> callback;
  // Decoded once; released with the record, before the graphics library goes.
  std::shared_ptr<Bitmap> picture;
  std::shared_ptr<Bitmap> secondPicture;
  // Each look drawn so far (the glow's alphas and the pressed look) side by side,
  // copied instead of drawn again while the window's composition stays the same.
  DibDc looks;
  int looksGeneration = -1;
  bool looksZoomed = false;
  unsigned looksMade = 0;  // one bit per look
};

struct DockedWindow {
  HWND hwnd = nullptr;
  int top = 0;
};

// The record of one skinned top-level window.
struct SkinnedWindow {
  SkinEngine* engine = nullptr;
  HWND hwnd = nullptr;
  WNDPROC previous = nullptr;

  int captionHeight = 25;
  bool framed = true;
  bool sizable = true;
  bool helpButton = false;
  bool menuButton = false;
  bool hasMinimizeBox = false;
  bool hasMaximizeBox = false;
  bool closeButton = true;
  bool captionText = true;
  bool gloss = false;

  ByteSet ownImage;  // the window's own picture; empty: the skin's
  int ownMode = kDefaultImageMode;
  ColourRef ownMainColour = 0;
  std::shared_ptr<Picture> ownPicture;

  std::vector<CaptionButton> buttons;
  CaptionGeometry caption;
  CaptionStyle captionStyle;
  std::function<void()> helpCallback;
  std::function<void()> menuCallback;

  bool minimized = false;
  int hotButton = 0;
  int pressedButton = 0;  // the caption button a press began on
  bool mouseTracked = false;
  CaptionFade fade;
  bool fadeTimerRunning = false;

  int itemAreaSize = 0;
  std::vector<int> itemSpecs;
  ItemLayout items;
  std::vector<DockedWindow> docked;

  std::array<ControlList, kFamilyCount> controls;
  HoverState hover;
  std::map<HWND, UniqueBrush> answerBrushes;  // the brush each child was last given

  bool backgroundDirty = true;
  int generation = 0;  // counts compositions, so pictures made from an old one are known
  DibDc composed;      // the finished picture of the client area
  DibDc captionStrip;  // the top band before text and buttons, for partial repaints
  DibDc savedArea;     // the item band before the items
  SIZE regionSize{};   // the size the window region was made for

  ToolTip tip;
  bool tipToolsAdded = false;

  ControlList& List(Family f) { return controls[static_cast<size_t>(f)]; }
};

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
  int unit = 2;
  std::shared_ptr<Font> font;  // null when none could be made
};

// What the engine holds, for leak checks.
struct EngineCounts {
  int windows = 0;
  int controls = 0;
};

// The one skin engine: it takes over top-level windows and their child controls
// and paints them in the skin's look. Window numbers are 1-based positions in the
// window list.
class SkinEngine {
 public:
  SkinEngine();
  ~SkinEngine();
  SkinEngine(const SkinEngine&) = delete;
  SkinEngine& operator=(const SkinEngine&) = delete;

  // The icon drawn in every caption; shared icons are never destroyed here.
  void SetApplicationIcon(HICON icon) { appIcon_ = icon; }

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
  SkinOptions& mutableOptions() { return options_; }

  // Composition.
  void RenderWindow(int n, bool show);
  void PresentWindow(int n, HDC dc);
  void PaintBackground(Graphics& surface, int n);
  void PaintFrame(int n, Graphics& surface);
  void RestoreCaptionStrip(int n, const RECT& r);
  void RestoreSavedArea(int n, const RECT& r);

  // Caption buttons and text.
  bool AddCaptionButton(HWND hwnd, ByteView image, const Text& tip,
                        std::function<void()> callback);
  void OnWindowMoved(int n);
  int HitTestCaptionButton(int n, int x, int y) const;
  int CaptionDoubleClickButton(int n) const;
  void DrawCaptionButton(int n, int button, Graphics* surface, bool pressed, int glowAlpha);
  void PaintButtonGlow(Graphics& surface, int n, int button, int alpha);
  void PaintButtonSeparator(int n, int button, Graphics& surface);
  void SetHelpCallback(HWND hwnd, std::function<void()> callback);
  void SetMenuCallback(HWND hwnd, std::function<void()> callback);
  int SetCaptionText(HWND hwnd, const CaptionTextArgs& args);
  void DrawCaptionText(int n, Graphics* surface, const std::optional<Text>& text);

  // Frame: moving, resizing, the item band and docked windows.
  void OnFrameMouseDown(int n, LPARAM lParam, const RECT& client);
  void OnFrameMouseMove(int n, LPARAM lParam, const RECT& client);
  void LayoutItems(int n);
  void OnWindowSized(int n);
  bool SetItemArea(HWND hwnd, int height, std::vector<int> specWidths);
  bool DockWindow(HWND hwnd, HWND docked, int top);

  // Lookups.
  int WindowCount() const { return static_cast<int>(windows_.size()); }
  SkinnedWindow* Record(int n) const;
  int WindowNumber(HWND hwnd) const;
  EngineCounts Counts() const;
  // A glyph carried in the program, decoded once; null when missing.
  const Bitmap* Glyph(const wchar_t* name);
  // The font a control was given (the default GUI font without one), made once per
  // font: finding a face is slow.
  const WindowFont& FontOf(HWND control);
  bool startupPending() const { return startupPending_; }

  static LRESULT CALLBACK FrameWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  // Windows and controls the skin let go of while someone who subclassed them after
  // us kept one of our procedures in their chain: it only passes their messages on,
  // until each one's own WM_NCDESTROY.
  static int ForwardingCount();

 private:
  friend class FrameHandlers;

  // What the frame procedure serves for a window, from this process's own table: its
  // record while skinned, or, once let go of with ours left in its chain, only the
  // procedure to pass messages on to.
  struct FrameBinding {
    SkinnedWindow* record = nullptr;
    WNDPROC previous = nullptr;
  };
  static std::unordered_map<HWND, FrameBinding>& Frames();
  static FrameBinding BindingOf(HWND hwnd);
  static LRESULT PassOnLetGo(HWND hwnd, WNDPROC previous, UINT msg, WPARAM wp, LPARAM lp);

  // At the window's own WM_NCDESTROY (after passing it on), or when the engine goes.
  void ReleaseWindow(HWND hwnd, bool windowEnding);
  void RefreshChildren(int n);
  void RefreshVisibleWindows();
  void SetWindowRegion(SkinnedWindow& w, int width, int height);
  const Picture* SkinPicture() const { return backgroundPicture_.get(); }
  void PaintItems(Graphics& g, const SkinnedWindow& w);
  void StartFade(SkinnedWindow& w);
  void OnFadeTimer(SkinnedWindow& w);

  SkinOptions options_;
  ByteSet backgroundImage_;
  std::shared_ptr<Picture> backgroundPicture_;  // backgroundImage_ decoded once
  struct SkinSource {
    ByteSet bytes;  // the picture as SetSkin was given it
    std::shared_ptr<Picture> picture;
    ColourRef sampled = 0;
  } skinSource_;
  std::vector<std::unique_ptr<SkinnedWindow>> windows_;
  std::map<std::wstring, std::shared_ptr<Bitmap>> glyphs_;
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
inline constexpr wchar_t kPropBrush[] = L"Kj_dxjb";
inline constexpr wchar_t kPropBrushBitmap[] = L"Kj_wtjb";

// The fade timer's identifier: above any control identifier the forms use.
inline constexpr UINT_PTR kFadeTimerId = 0x5A1E0000;

}  // namespace tovel::skin
