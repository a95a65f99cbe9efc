#pragma once

// What the control families share: the take-over walk, registration with its
// properties, the entry lookup, and the release at a control's end. No family
// knows another's code; the engine's core calls only AttachControlFamilies.

#include <windows.h>

#include <functional>
#include <optional>
#include <variant>

#include "gfx/graphics.h"
#include "skin/engine.h"
#include "skin/helpers.h"

namespace tovel::skin {

// Takes over the window's child controls, family by family, in the order the
// skin needs them (push buttons first). Called by SkinWindow while child-control
// skinning is on.
void AttachControlFamilies(SkinEngine& engine, int n, HWND window);

// A list with its empty first entry.
void NewControlList(ControlList& list, Family family);

// Calls `take` for every direct child of `parent` of the given class, in order.
void ForEachChildOfClass(HWND parent, const wchar_t* className,
                         const std::function<void(HWND)>& take);

// True when the control is already in the list.
bool IsRegistered(const ControlList& list, HWND control);

// Puts the control into the window's list for its family (the empty first entry
// when it is the only one) with its state, installs `proc` and sets the family's
// properties. Returns the entry, or null when the control could not be subclassed.
ControlEntry* RegisterControl(SkinnedWindow& w, int n, Family family, HWND control, WNDPROC proc,
                              FamilyState state);

// The record of the skinned window a control lies on.
SkinnedWindow* WindowOfControl(const SkinEngine& engine, HWND control);

// At the control's own WM_NCDESTROY (after passing it on), or when its window goes
// first: our procedure and every property of ours go, and the entry is emptied. A
// control that lives on gets back what taking it over changed; when someone
// subclassed it after us, our procedure stays in its chain and only passes messages
// on until the control's own end.
void ReleaseControl(ControlEntry& entry, bool controlEnding = false);

// The same, found from the control at its own WM_NCDESTROY (after passing it on);
// the brush its window last gave it goes too.
void ReleaseControlOf(const SkinEngine& engine, HWND control, Family family);

// Controls the skin let go of whose chain still holds one of our procedures.
int ForwardingControlCount();

// The window number stored on the control after windows were released.
void RenumberControl(const ControlEntry& entry, int windowNumber);

// What a family's procedure needs at each message, found through the control: its
// skinned window (walking up the parents), the engine, and its entry.
struct ControlContext {
  SkinEngine* engine = nullptr;
  SkinnedWindow* window = nullptr;
  ControlEntry* entry = nullptr;
  int n = 0;  // the window number
  int k = 0;  // the control's position in its family's list
  WNDPROC previous = nullptr;
  Family family = Family::Buttons;
  explicit operator bool() const { return entry != nullptr; }
};
ControlContext LookUp(HWND control, Family family);

// Passes the message on to the procedure ours replaced.
LRESULT PassOn(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp);

// Passing a message on runs code that may destroy the control or its window (a
// click's handler, a focus change): whatever a family does afterwards goes through
// `now`, the control looked up again, which is empty when the skin no longer holds
// it. Nothing found before the call is touched after it.
struct PassedOn {
  LRESULT result = 0;
  ControlContext now;
};
PassedOn PassOnThenLookUp(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp);

// What a family gives the dispatcher that serves all of them: its own messages,
// its look under the pointer, and how it passes messages on.
struct ControlFamily {
  Family family = Family::Buttons;
  // The family's own messages; nullopt passes the message on.
  std::optional<LRESULT> (*message)(const ControlContext& c, HWND control, UINT msg, WPARAM wp,
                                    LPARAM lp) = nullptr;
  // WM_MOUSEMOVE and WM_MOUSELEAVE, told as what the pointer did; the message is
  // passed on afterwards. Null: the family shows no hover, and its `message` sees them.
  void (*pointer)(const ControlContext& c, HWND control, Pointer pointer, LPARAM lp) = nullptr;
  // How a message goes on to the control's own procedure; null: PassOn.
  LRESULT (*passOn)(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) = nullptr;
};

// The body of every family's procedure: finds the control's entry, ends it at its
// own WM_NCDESTROY (passed on first, then ours goes), keeps the window's hover
// bookkeeping, and hands the rest to the family. A control the skin no longer
// holds only passes its messages on.
LRESULT Dispatch(const ControlFamily& family, HWND control, UINT msg, WPARAM wp, LPARAM lp);

// A family's state of a control; null when the entry holds none of that family.
template <class State>
State* StateOf(ControlEntry* entry) {
  return entry ? std::get_if<State>(&entry->state) : nullptr;
}
// The state of a control the dispatcher found for its family, which always holds one.
template <class State>
State& StateOf(const ControlContext& c) {
  return std::get<State>(c.entry->state);
}

// A control the skin paints whole: its WM_PAINT validates and paints through `paint`
// alone, and its erase leaves the background to that paint.
template <class Paint>
LRESULT PaintWhole(HWND control, Paint paint) {
  PAINTSTRUCT ps;
  ::BeginPaint(control, &ps);
  paint();
  ::EndPaint(control, &ps);
  return 0;
}
inline LRESULT SkipErase(WPARAM dc) {
  ::SetBkMode(reinterpret_cast<HDC>(dc), TRANSPARENT);
  return 1;
}

// The control is the one of its window drawn hot.
bool IsHot(const ControlContext& c);

// Painting a control off screen: a copy of the skin behind it with a surface on it;
// the result goes to the control in one copy.
class BufferedPaint {
 public:
  BufferedPaint(const SkinEngine& engine, HWND control, int width, int height);
  explicit operator bool() const { return background_ && surfaceReady_; }
  Graphics& surface() { return surface_; }
  HDC dc() const { return background_.get(); }
  int width() const { return background_.dib().width(); }
  int height() const { return background_.dib().height(); }
  // Finishes the drawing and copies the picture to `target` at (x, y).
  void CopyTo(HDC target, int x = 0, int y = 0);

 private:
  ControlBackground background_;
  Graphics surface_;
  bool surfaceReady_ = false;
};

// What the frame procedure hands to the families.
// WM_DRAWITEM for a taken-over control; false when it is not one of ours.
bool DrawTakenOverItem(SkinEngine& engine, const DRAWITEMSTRUCT& item);
// WM_COMMAND and WM_NOTIFY from children: controls that show the skin behind them
// repaint whole after they scrolled or changed.
void InvalidateAfterCommand(const SkinEngine& engine, WPARAM wp, LPARAM lp);
void InvalidateAfterNotify(const SkinEngine& engine, const NMHDR& header);
// NM_CUSTOMDRAW from a control the skin draws text for; nullopt for any other.
std::optional<LRESULT> AnswerCustomDraw(NMHDR& header);

// Pieces the edit, combo, spin, header and translucent families share.

// The control's client area and its visible scroll bars, relative to its window
// rectangle: what a skinned frame leaves to the control and the system.
RECT ClientAndBarsRect(HWND control);
// The screen region of the control's visible scroll bars, as WM_NCPAINT takes it;
// null when it shows none.
UniqueRegion ScrollBarsRegion(HWND control);
// The skin behind the control's client area under a white layer of the control
// alpha, as translucent controls show it.
DibDc TranslucentBackground(const SkinEngine& engine, HWND control);
// Children that paint over their parent paint again after it.
void InvalidateVisibleChildren(HWND control);
// The glyphs' own size, at whole pixels.
void DrawGlyph(Graphics& g, const Bitmap* glyph, int x, int y);

}  // namespace tovel::skin
