#pragma once
// One skinned top-level window: its frame procedure's handlers, its composition and
// the caches it is copied from, its caption buttons with their fade and tool tip,
// and the lists of its taken-over controls. The engine's table finds it from the
// window; it lives until the window's own WM_NCDESTROY.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "base/dc.h"
#include "base/handle.h"
#include "base/scale.h"
#include "base/value.h"
#include "gfx/tool_tip.h"
#include "skin/caption_text.h"
#include "skin/engine.h"
#include "skin/glyphs.h"
#include "skin/layout.h"

namespace tovel {
class Graphics;
class Bitmap;
}  // namespace tovel

namespace tovel::skin {

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
  ByteSet image;  // a caller's own picture
  std::optional<GlyphKind> glyph;        // or the program's own glyph, drawn at the window's scale
  std::optional<GlyphKind> secondGlyph;  // the restore glyph of the maximize button
  ButtonKind kind = ButtonKind::Custom;
  Text tip;
  std::function<void()> callback;
  // Decoded once; released with the window, before the graphics library goes.
  std::shared_ptr<Bitmap> picture;
  // Each look drawn so far (the glow's alphas and the pressed look) side by side,
  // copied instead of drawn again while the window's composition stays the same.
  DibDc looks;
  int looksGeneration = -1;
  int looksDpi = 0;  // the scale they were drawn at
  bool looksZoomed = false;
  unsigned looksMade = 0;  // one bit per look
  int id = 0;  // a program's own button is found again by this (0: none)
};

struct DockedWindow {
  HWND hwnd = nullptr;
  int top = 0;
};

// What SkinWindow was given, with the boxes the window's style asks for.
struct FrameLook {
  bool framed = true;
  bool sizable = true;
  bool helpButton = false;
  bool menuButton = false;
  bool minimizeBox = false;
  bool maximizeBox = false;
  bool closeButton = true;
  bool captionText = true;
  bool gloss = false;
};

// The window's own picture; while none is set it wears the skin's.
struct OwnPicture {
  ByteSet image;
  int mode = kDefaultImageMode;
  ColourRef mainColour = 0;
  std::shared_ptr<Picture> picture;
  bool used() const { return !image.empty() && picture; }
};

struct CaptionState {
  std::vector<CaptionButton> buttons;
  CaptionGeometry geometry;
  CaptionStyle style;
  std::function<void()> help;
  std::function<void()> menu;
  ToolTip tip;  // made on the first hover; its tools are numbered by position
  bool tipToolsAdded = false;
};

// What the pointer last did over the caption. The press is kept so that only a
// release on the same button acts.
struct PointerState {
  bool minimized = false;
  int hotButton = 0;
  int pressedButton = 0;
  bool tracked = false;  // a WM_MOUSELEAVE is asked for
};

// The caption buttons' glow: plain values advanced by one 20 ms timer, which goes
// with the window at the latest.
class FadeTimer {
 public:
  explicit FadeTimer(HWND hwnd) : hwnd_(hwnd) {}
  ~FadeTimer() { Stop(); }
  FadeTimer(const FadeTimer&) = delete;
  FadeTimer& operator=(const FadeTimer&) = delete;
  void Start();  // when the fade has steps left and no timer runs
  void Stop();
  bool running() const { return running_; }
  CaptionFade steps;

 private:
  HWND hwnd_;
  bool running_ = false;
};

struct ItemBand {
  int size = 0;
  std::vector<int> widths;
  ItemLayout layout;
  std::vector<DockedWindow> docked;
};

// The composed picture of the client area and the copies partial repaints restore from.
struct Caches {
  bool dirty = true;
  int generation = 0;  // counts compositions, so pictures made from an old one are known
  DibDc composed;
  DibDc captionStrip;  // the top band before text and buttons
  SIZE regionSize{};   // the size the window region was made for
};

class SkinnedWindow {
 public:
  SkinnedWindow(SkinEngine& engine, HWND hwnd, const SkinWindowArgs& args);
  SkinnedWindow(const SkinnedWindow&) = delete;
  SkinnedWindow& operator=(const SkinnedWindow&) = delete;

  // Takes the window over: whole, or not at all (false, the window untouched).
  bool Attach();
  // Our procedure goes, when no one subclassed after us; false when it must stay.
  bool Detach();
  WNDPROC previous() const { return previous_; }
  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  SkinEngine& engine() const { return engine_; }
  const FrameMetrics& Metrics() const { return metrics_; }
  // The display scale the window is drawn at; every size of it and its controls goes through it.
  Scale scale() const { return scale_; }

  // Composition.
  void Render(bool show);
  void Present(HDC dc);
  void RefreshChildren();
  void MarkDirty() { cache_.dirty = true; }
  void Repaint();  // composed again and shown at the next paint
  void SetImage(std::shared_ptr<Picture> decoded, ByteView image, std::optional<int> mode);
  const DibDc& Composed() const { return cache_.composed; }
  const DibDc& CaptionStrip() const { return cache_.captionStrip; }
  int Generation() const { return cache_.generation; }
  bool Dirty() const { return cache_.dirty; }

  // Caption buttons and text.
  void LayoutCaption();
  int HitTestButton(int x, int y) const;
  int DoubleClickButton() const;
  void ActOnButton(int button);
  void DrawButton(int button, Graphics* surface, bool pressed, int glowAlpha);
  void AddButton(CaptionButton button);
  // A new glyph and tip for the button with this id; false when there is none.
  bool ChangeButton(int id, GlyphKind glyph, const Text& tip);
  void SetHelp(std::function<void()> callback) { caption_.help = std::move(callback); }
  void SetMenu(std::function<void()> callback) { caption_.menu = std::move(callback); }
  void SetCaptionStyle(const CaptionTextArgs& args);
  void DrawCaptionText(Graphics* surface, const std::optional<Text>& text);
  const CaptionGeometry& Caption() const { return caption_.geometry; }
  const std::vector<CaptionButton>& Buttons() const { return caption_.buttons; }
  const CaptionStyle& CaptionLook() const { return caption_.style; }
  int HotButton() const { return pointer_.hotButton; }
  bool Fading() const { return fade_.running(); }

  // The item band and docked windows.
  void LayoutItems();
  void OnSized();
  void SetItemArea(int height, std::vector<int> itemWidths);
  void Dock(HWND docked, int top);
  const ItemLayout& Items() const { return items_.layout; }

  // What the control families keep on the window.
  ControlList& List(Family f) { return controls_[static_cast<size_t>(f)]; }
  std::array<ControlList, kFamilyCount>& Controls() { return controls_; }
  const std::array<ControlList, kFamilyCount>& Controls() const { return controls_; }
  const HWND hwnd;
  HoverState hover;
  std::map<HWND, UniqueBrush> answerBrushes;  // the brush each child was last given

 private:
  using Result = std::optional<LRESULT>;  // nullopt: on to the previous procedure
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  Result OnShowWindow(bool shown);
  Result OnEraseBackground(HDC dc);
  Result OnPrintClient(HDC dc);
  Result OnPaint();
  Result OnSize(WPARAM kind, LPARAM size);
  Result OnSetText(UINT msg, WPARAM wp, LPARAM lp);
  static Result OnActivateApp(bool active);
  Result OnGetMinMaxInfo(MINMAXINFO* info);
  Result OnWindowPosChanging(UINT msg, WPARAM wp, LPARAM lp);
  Result OnWindowPosChanged();
  Result OnSysCommand(WPARAM command);
  Result OnTimer(UINT_PTR id);
  Result OnSetCursor(LPARAM lp);
  Result OnMouseMove(int x, int y);
  Result OnLButtonDown(int x, int y);
  Result OnLButtonUp(int x, int y);
  Result OnLButtonDblClk(int x, int y);
  Result OnMouseLeave();
  Result OnCaptureChanged(HWND gaining);
  Result OnDpiChanged(UINT msg, WPARAM wp, LPARAM lp);
  Result OnGetDpiScaledSize(int dpi, SIZE* size) const;
  Result OnChildMessage(UINT msg, WPARAM wp, LPARAM lp);

  RECT Client() const;
  void EnsureComposed();
  void BlitComposed(HDC dc);
  void DrawRestingButton(int button, bool pressed);
  void Press(int button);
  void StartFade() { fade_.Start(); }
  void OnFadeTimer();
  void SetRegion(int width, int height);
  void PaintBackground(Graphics& surface);
  void PaintFrame(Graphics& surface);
  void PaintItems(Graphics& g) const;
  void RestoreCaptionStrip(const RECT& r);
  void PaintButtonGlow(Graphics& surface, int button, int alpha);
  void PaintButtonSeparator(int button, Graphics& surface);
  // Pressing anywhere off the caption buttons moves the window, on an edge resizes it.
  void OnFrameMouseDown(int x, int y);
  void OnFrameMouseMove(int x, int y);
  const Bitmap* ButtonPicture(CaptionButton& b);
  void TakeScale(Scale scale);

  SkinEngine& engine_;
  WNDPROC previous_ = nullptr;
  Scale scale_;
  int captionHeightAt96_ = kMinimumCaptionHeight;
  FrameMetrics metrics_;
  FrameLook look_;
  OwnPicture own_;
  CaptionState caption_;
  PointerState pointer_;
  FadeTimer fade_;
  ItemBand items_;
  Caches cache_;
  std::array<ControlList, kFamilyCount> controls_;
};

// The skinned window that `hwnd` is, from the engine's table; null for any other.
SkinnedWindow* SkinnedWindowOf(HWND hwnd);

}  // namespace tovel::skin
