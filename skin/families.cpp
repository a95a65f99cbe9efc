#include "skin/families.h"

#include <commctrl.h>

#include <unordered_map>
#include <utility>

#include "gfx/image.h"

#include "skin/button.h"
#include "skin/edit_combo.h"
#include "skin/gdiplus_constants.h"
#include "skin/header.h"
#include "skin/helpers.h"
#include "skin/list_controls.h"
#include "skin/progress.h"
#include "skin/slider.h"
#include "skin/spin.h"
#include "skin/translucent.h"

namespace tovel::skin {
namespace {

// The translucent family keeps properties of its own, so a control can also be in
// one of the other families.
const wchar_t* NumberProp(Family f) { return f == Family::Translucent ? L"Kj_lbID" : kPropNumber; }
const wchar_t* WindowProp(Family f) {
  return f == Family::Translucent ? L"Kj_FuID" : kPropWindowNumber;
}
const wchar_t* ProcProp(Family f) { return f == Family::Translucent ? L"Kj_hProc" : kPropOldProc; }

HANDLE AsHandle(int value) { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)); }

// Each taken-over control's entry and window, by the control and its family. The
// properties say the same, but every property read is a round trip to the window
// server under Wine, and a list box filled with 10,000 songs sees 10,000 messages.
// A control the skin let go of while a later subclasser kept our procedure in its
// chain keeps a binding without entry: ours only passes its messages on.
struct Binding {
  ControlEntry* entry = nullptr;
  SkinnedWindow* window = nullptr;
  WNDPROC previous = nullptr;
};
struct BindingKeyHash {
  size_t operator()(const std::pair<HWND, Family>& k) const {
    return std::hash<const void*>()(k.first) * 31 + static_cast<size_t>(k.second);
  }
};
std::unordered_map<std::pair<HWND, Family>, Binding, BindingKeyHash> gBindings;

}  // namespace

void AttachControlFamilies(SkinEngine& engine, int n, HWND window) {
  AttachPushButtons(engine, n, window);
  AttachCheckBoxes(engine, n, window);
  AttachEditsAndCombos(engine, n, window);
  AttachSliders(engine, n, window);
  AttachProgressBars(engine, n, window);
  AttachListControls(engine, n, window);
  AttachSpinControls(engine, n, window);
  AttachHeaders(engine, n, window);
}

void NewControlList(ControlList& list, Family family) {
  list.clear();
  auto empty = std::make_unique<ControlEntry>();
  empty->family = family;
  list.push_back(std::move(empty));
}

void ForEachChildOfClass(HWND parent, const wchar_t* className,
                         const std::function<void(HWND)>& take) {
  for (HWND child = ::FindWindowExW(parent, nullptr, className, nullptr); child;
       child = ::FindWindowExW(parent, child, className, nullptr))
    take(child);
}

bool IsRegistered(const ControlList& list, HWND control) {
  for (const auto& entry : list)
    if (entry->hwnd == control) return true;
  return false;
}

ControlEntry* RegisterControl(SkinnedWindow& w, int n, Family family, HWND control, WNDPROC proc,
                              FamilyState state) {
  ControlList& list = w.List(family);
  // Ours twice in one chain would pass each message to itself for ever.
  if (IsRegistered(list, control) || gBindings.count({control, family})) return nullptr;
  const bool reuseFirst = list.size() == 1 && !list.front()->hwnd;
  if (!reuseFirst) {
    list.push_back(std::make_unique<ControlEntry>());
    list.back()->family = family;
  }
  ControlEntry& entry = *list.back();
  // The state is there before the first message can reach the family.
  entry.state = std::move(state);
  const int k = static_cast<int>(list.size());
  // The properties go first: the new procedure may see a message at once.
  SetSkinProp(control, NumberProp(family), AsHandle(k));
  SetSkinProp(control, WindowProp(family), AsHandle(n));
  WNDPROC previous = Subclass(control, proc);
  if (!previous) {
    RemoveSkinProp(control, NumberProp(family));
    RemoveSkinProp(control, WindowProp(family));
    if (reuseFirst)
      entry.state = std::monostate{};
    else
      list.pop_back();
    return nullptr;
  }
  SetSkinProp(control, ProcProp(family), reinterpret_cast<HANDLE>(previous));
  gBindings[{control, family}] = Binding{&entry, &w, previous};
  entry.hwnd = control;
  entry.family = family;
  entry.proc = proc;
  entry.previous = previous;
  return &entry;
}

SkinnedWindow* WindowOfControl(const SkinEngine& engine, HWND control) {
  const int n = WindowNumberOfControl(engine, control);
  return n ? engine.Record(n) : nullptr;
}

void ReleaseControl(ControlEntry& entry, bool controlEnding) {
  HWND control = entry.hwnd;
  if (!control) return;
  const Family f = entry.family;
  gBindings.erase({control, f});
  if (::IsWindow(control)) {
    if (!Unsubclass(control, entry.proc, entry.previous) && !controlEnding)
      gBindings[{control, f}] = Binding{nullptr, nullptr, entry.previous};
    if (entry.restore && !controlEnding) entry.restore(control);
    RemoveSkinProp(control, NumberProp(f));
    RemoveSkinProp(control, WindowProp(f));
    RemoveSkinProp(control, ProcProp(f));
    RemoveSkinProp(control, kPropTextColour);
  }
  entry.hwnd = nullptr;
  entry.state = std::monostate{};
  entry.restore = nullptr;
}

int ForwardingControlCount() {
  int count = 0;
  for (const auto& [key, binding] : gBindings)
    if (!binding.entry) ++count;
  return count;
}

ControlContext LookUp(HWND control, Family family) {
  ControlContext c;
  c.family = family;
  const auto found = gBindings.find({control, family});
  if (found == gBindings.end()) return c;
  const Binding& b = found->second;
  c.previous = b.previous;
  if (!b.entry) return c;  // let go of: only passes messages on
  c.entry = b.entry;
  c.window = b.window;
  c.engine = &b.window->engine();
  c.n = c.engine->WindowNumber(b.window->hwnd);
  const ControlList& list = b.window->List(family);
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].get() == b.entry) c.k = static_cast<int>(i + 1);
  return c;
}

LRESULT PassOn(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  return c.previous ? ::CallWindowProcW(c.previous, control, msg, wp, lp)
                    : ::DefWindowProcW(control, msg, wp, lp);
}

PassedOn PassOnThenLookUp(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  PassedOn out;
  out.result = PassOn(c, control, msg, wp, lp);
  if (::IsWindow(control)) out.now = LookUp(control, c.family);
  return out;
}

namespace {

LRESULT EndControl(const ControlContext& c, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result = PassOn(c, control, msg, wp, lp);
  if (c.engine)
    ReleaseControlOf(*c.engine, control, c.family);
  else
    gBindings.erase({control, c.family});  // a control let go of: its forwarding ends with it
  return result;
}

// A WM_MOUSELEAVE is asked for at every move: the platform forgets the request once
// it has sent one.
Pointer TrackPointer(const ControlContext& c, HWND control, UINT msg) {
  const ControlPosition here{c.family, c.k};
  if (msg == WM_MOUSELEAVE) return c.window->hover.Leave(here);
  TrackMouse(control, TME_LEAVE);
  return c.window->hover.Move(here);
}

}  // namespace

LRESULT Dispatch(const ControlFamily& family, HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const ControlContext c = LookUp(control, family.family);
  if (msg == WM_NCDESTROY) return EndControl(c, control, msg, wp, lp);
  if (!c) return PassOn(c, control, msg, wp, lp);
  const auto passOn = family.passOn ? family.passOn : &PassOn;
  if (family.pointer && (msg == WM_MOUSEMOVE || msg == WM_MOUSELEAVE)) {
    family.pointer(c, control, TrackPointer(c, control, msg), lp);
    return passOn(c, control, msg, wp, lp);
  }
  if (family.message)
    if (const std::optional<LRESULT> handled = family.message(c, control, msg, wp, lp)) return *handled;
  return passOn(c, control, msg, wp, lp);
}

bool IsHot(const ControlContext& c) { return c.window->hover.IsHot({c.family, c.k}); }

BufferedPaint::BufferedPaint(const SkinEngine& engine, HWND control, int width, int height)
    : background_(engine, control, RECT{0, 0, width, height}) {
  surfaceReady_ = background_ && surface_.CreateFromDC(background_.get());
}

void BufferedPaint::CopyTo(HDC target, int x, int y) {
  if (!*this) return;
  surface_.Delete();
  surfaceReady_ = false;
  ::BitBlt(target, x, y, width(), height(), background_.get(), 0, 0, SRCCOPY);
}

bool DrawTakenOverItem(SkinEngine& engine, const DRAWITEMSTRUCT& item) {
  return item.CtlType == ODT_BUTTON && DrawPushButtonItem(engine, item);
}

void InvalidateAfterCommand(const SkinEngine& engine, WPARAM wp, LPARAM lp) {
  const SkinOptions& o = engine.options();
  HWND control = reinterpret_cast<HWND>(lp);
  if (!control || !o.translucentControls || !o.skinControls) return;
  const WORD code = HIWORD(wp);
  const bool changed =
      (IsClass(control, L"Edit") &&
       (code == EN_HSCROLL || code == EN_VSCROLL || code == EN_CHANGE || code == EN_UPDATE)) ||
      (IsClass(control, L"ListBox") && (code == LBN_SELCHANGE || code == LBN_SELCANCEL)) ||
      (IsClass(control, L"ComboBox") && (code == CBN_KILLFOCUS || code == CBN_SELCHANGE));
  if (changed) ::InvalidateRect(control, nullptr, TRUE);
}

// Tree views report expanding in their Unicode forms as well, as ours are Unicode.
void InvalidateAfterNotify(const SkinEngine&, const NMHDR& header) {
  switch (header.code) {
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDINGW:
    case TVN_ITEMEXPANDEDW:
      ::InvalidateRect(header.hwndFrom, nullptr, TRUE);
      break;
  }
}

std::optional<LRESULT> AnswerCustomDraw(NMHDR& header) { return AnswerTranslucentCustomDraw(header); }

// A control going away may already be cut from its parent, so every window's list
// is searched rather than the parent chain.
void ReleaseControlOf(const SkinEngine& engine, HWND control, Family family) {
  for (int n = 1; n <= engine.WindowCount(); ++n) {
    SkinnedWindow* w = engine.Record(n);
    w->answerBrushes.erase(control);
    for (auto& entry : w->List(family))
      if (entry->hwnd == control) ReleaseControl(*entry, true);
  }
}

void RenumberControl(const ControlEntry& entry, int windowNumber) {
  if (entry.hwnd) SetSkinProp(entry.hwnd, WindowProp(entry.family), AsHandle(windowNumber));
}

namespace {

bool VisibleScrollBar(HWND control, LONG object, RECT& r) {
  SCROLLBARINFO info{sizeof(info)};
  if (!::GetScrollBarInfo(control, object, &info) || (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) return false;
  r = info.rcScrollBar;
  return r.right > r.left && r.bottom > r.top;
}

constexpr LONG kScrollBars[] = {OBJID_VSCROLL, OBJID_HSCROLL};

}  // namespace

RECT ClientAndBarsRect(HWND control) {
  RECT inner = ClientInWindowRect(control);
  RECT window;
  ::GetWindowRect(control, &window);
  for (LONG object : kScrollBars) {
    RECT bar;
    if (!VisibleScrollBar(control, object, bar)) continue;
    ::OffsetRect(&bar, -window.left, -window.top);
    ::UnionRect(&inner, &inner, &bar);
  }
  return inner;
}

UniqueRegion ScrollBarsRegion(HWND control) {
  UniqueRegion bars;
  for (LONG object : kScrollBars) {
    RECT r;
    if (!VisibleScrollBar(control, object, r)) continue;
    UniqueRegion one(::CreateRectRgnIndirect(&r));
    if (!bars)
      bars = std::move(one);
    else
      ::CombineRgn(bars.get(), bars.get(), one.get(), RGN_OR);
  }
  return bars;
}

DibDc TranslucentBackground(const SkinEngine& engine, HWND control) {
  ControlBackground behind(engine, control, ClientInWindowRect(control));
  if (!behind) return {};
  DibDc base(behind.dib().width(), behind.dib().height());
  ::BitBlt(base.get(), 0, 0, base.width(), base.height(), behind.get(), 0, 0, SRCCOPY);
  LayWhite(base, engine.options().controlAlpha);
  return base;
}

void InvalidateVisibleChildren(HWND control) {
  for (HWND child = ::FindWindowExW(control, nullptr, nullptr, nullptr); child;
       child = ::FindWindowExW(control, child, nullptr, nullptr))
    if (::IsWindowVisible(child)) ::InvalidateRect(child, nullptr, TRUE);
}

void DrawGlyph(Graphics& g, const Bitmap* glyph, int x, int y) {
  if (!glyph) return;
  const int w = static_cast<int>(glyph->GetWidth()), h = static_cast<int>(glyph->GetHeight());
  g.DrawImageRectRectI(*glyph, x, y, w, h, 0, 0, w, h, kUnitPixel);
}

}  // namespace tovel::skin
