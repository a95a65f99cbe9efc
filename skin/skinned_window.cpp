#include "skin/skinned_window.h"

#include <windowsx.h>

#include <algorithm>

#include "base/window_dpi.h"
#include "skin/colour_answers.h"
#include "skin/families.h"
#include "skin/helpers.h"

namespace tovel::skin {
namespace {

// Newer than the headers of some toolchains.
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE

struct BuiltInButton {
  ButtonKind kind;
  GlyphKind glyph;
  std::optional<GlyphKind> secondGlyph;
  const char* tip;
};

constexpr BuiltInButton kHelp{ButtonKind::Help, GlyphKind::CaptionHelp, std::nullopt, "帮助"};
constexpr BuiltInButton kMenu{ButtonKind::Menu, GlyphKind::CaptionMenu, std::nullopt, "主菜单"};
constexpr BuiltInButton kMinimize{ButtonKind::Minimize, GlyphKind::CaptionMinimize, std::nullopt, "最小化"};
constexpr BuiltInButton kMaximize{ButtonKind::Maximize, GlyphKind::CaptionMaximize, GlyphKind::CaptionRestore,
                               "最大化"};
constexpr BuiltInButton kClose{ButtonKind::Close, GlyphKind::CaptionClose, std::nullopt, "关闭"};

CaptionButton MakeButton(const BuiltInButton& builtIn, const FrameMetrics& m) {
  CaptionButton b;
  b.width = builtIn.kind == ButtonKind::Close ? m.closeButtonWidth : m.buttonWidth;
  b.height = m.buttonHeight;
  b.kind = builtIn.kind;
  b.glyph = builtIn.glyph;
  b.secondGlyph = builtIn.secondGlyph;
  b.tip = builtIn.tip;
  return b;
}

// Left to right: help, menu, minimize, maximize, close, each when wanted.
std::vector<CaptionButton> DefaultButtons(const FrameLook& look, const FrameMetrics& m) {
  std::vector<CaptionButton> buttons;
  if (look.helpButton) buttons.push_back(MakeButton(kHelp, m));
  if (look.menuButton) buttons.push_back(MakeButton(kMenu, m));
  if (look.minimizeBox) buttons.push_back(MakeButton(kMinimize, m));
  if (look.maximizeBox) buttons.push_back(MakeButton(kMaximize, m));
  if (look.closeButton) buttons.push_back(MakeButton(kClose, m));
  return buttons;
}

FrameLook LookOf(HWND hwnd, const SkinWindowArgs& args) {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  FrameLook look;
  look.framed = args.framed;
  look.sizable = args.sizable;
  look.helpButton = args.helpButton;
  look.menuButton = args.menuButton;
  look.minimizeBox = (style & WS_MINIMIZEBOX) != 0;
  look.maximizeBox = (style & WS_MAXIMIZEBOX) != 0;
  look.captionText = args.captionText;
  look.gloss = args.gloss;
  return look;
}

LRESULT PassOnLetGo(HWND hwnd, WNDPROC previous, UINT msg, WPARAM wp, LPARAM lp) {
  const LRESULT result =
      previous ? ::CallWindowProcW(previous, hwnd, msg, wp, lp) : ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) SkinEngine::Unbind(hwnd);
  return result;
}

// Text colours given to children that no family took over: removed while the
// children still exist, as their own end is not seen here.
void ForgetChildColours(HWND window) {
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM) -> BOOL {
        RemoveSkinProp(child, kPropTextColour);
        return TRUE;
      },
      0);
}

}  // namespace

void FadeTimer::Start() {
  if (running_ || steps.Idle()) return;
  running_ = ::SetTimer(hwnd_, kFadeTimerId, kFadeIntervalMs, nullptr) != 0;
}

void FadeTimer::Stop() {
  if (running_ && ::IsWindow(hwnd_)) ::KillTimer(hwnd_, kFadeTimerId);
  running_ = false;
}

SkinnedWindow::SkinnedWindow(SkinEngine& engine, HWND window, const SkinWindowArgs& args)
    : hwnd(window),
      engine_(engine),
      scale_(ScaleOf(window)),
      captionHeightAt96_(args.captionHeight),
      metrics_(FrameMetricsAt(scale_, args.captionHeight)),
      look_(LookOf(window, args)),
      fade_(window) {
  own_.mode = args.mode.value_or(engine.options().imageMode);
  if (auto picture = LoadPicture(args.image)) {
    own_.mainColour = AverageColour(*picture);
    if (own_.mode == 0 || own_.mode == 1) {
      own_.image = FadeEdges(args.image, 0, own_.mode == 1, own_.mainColour, own_.mode);
      own_.picture = LoadPicture(own_.image);
    } else {
      own_.image = args.image;
      own_.picture = std::move(picture);
    }
  }
  caption_.buttons = DefaultButtons(look_, metrics_);
  for (size_t f = 0; f < kFamilyCount; ++f) NewControlList(controls_[f], static_cast<Family>(f));
}

SkinnedWindow* SkinnedWindowOf(HWND hwnd) { return SkinEngine::BindingOf(hwnd).window; }

bool SkinnedWindow::Attach() {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
  previous_ = Subclass(hwnd, FrameProc);
  if (!previous_) return false;
  SetSkinProp(hwnd, kPropOldProc, reinterpret_cast<HANDLE>(previous_));
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_SYSMENU);
  // Our WM_NCCALCSIZE gives the whole window to the client area; the sizing and
  // caption style bits stay, for the platform's move, size and maximize.
  ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayoutCaption();
  LayoutItems();
  return true;
}

bool SkinnedWindow::Detach() {
  fade_.Stop();
  const bool unhooked = Unsubclass(hwnd, FrameProc, previous_);
  RemoveSkinProp(hwnd, kPropOldProc);
  RemoveSkinProp(hwnd, kPropNumber);
  return unhooked;
}

LRESULT CALLBACK SkinnedWindow::FrameProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const SkinEngine::FrameBinding bound = SkinEngine::BindingOf(hwnd);
  // Let go of, but kept in the chain by someone who subclassed after us.
  if (!bound.window) return PassOnLetGo(hwnd, bound.previous, msg, wp, lp);
  SkinnedWindow& w = *bound.window;
  if (msg == WM_NCDESTROY) {
    // Passed on first; then our procedure, properties and the window object go, the object last.
    const LRESULT result = ::CallWindowProcW(w.previous_, hwnd, msg, wp, lp);
    w.engine_.ReleaseWindow(hwnd, true);
    return result;
  }
  return w.Dispatch(msg, wp, lp);
}

LRESULT SkinnedWindow::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  // Kept before any handler runs: a handler may end the window and this object.
  const WNDPROC previous = previous_;
  const HWND self = hwnd;
  const int x = GET_X_LPARAM(lp), y = GET_Y_LPARAM(lp);
  Result r;
  switch (msg) {
    case WM_NCCALCSIZE: r = 0; break;  // the whole window is client area
    case WM_NCPAINT: r = 0; break;     // there is no platform frame to paint
    // -1: the default procedure changes the state without painting a frame.
    case WM_NCACTIVATE: return ::CallWindowProcW(previous, self, msg, wp, -1);
    case WM_SHOWWINDOW: r = OnShowWindow(wp != FALSE); break;
    case WM_ERASEBKGND: r = OnEraseBackground(reinterpret_cast<HDC>(wp)); break;
    case WM_PRINTCLIENT: r = OnPrintClient(reinterpret_cast<HDC>(wp)); break;
    case WM_PAINT: r = OnPaint(); break;
    case WM_SIZE: r = OnSize(wp, lp); break;
    case WM_SETTEXT:
    case WM_SETICON: r = OnSetText(msg, wp, lp); break;
    case WM_QUERYOPEN: pointer_.minimized = false; break;
    case WM_DESTROY: ForgetChildColours(self); break;
    case WM_GETMINMAXINFO: r = OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lp)); break;
    case WM_WINDOWPOSCHANGING: r = OnWindowPosChanging(msg, wp, lp); break;
    case WM_WINDOWPOSCHANGED: r = OnWindowPosChanged(); break;
    case WM_SYSCOMMAND: r = OnSysCommand(wp); break;
    case WM_TIMER: r = OnTimer(wp); break;
    case WM_SETCURSOR: r = OnSetCursor(lp); break;
    case WM_MOUSEMOVE: r = OnMouseMove(x, y); break;
    case WM_LBUTTONDOWN: r = OnLButtonDown(x, y); break;
    case WM_LBUTTONUP: r = OnLButtonUp(x, y); break;
    case WM_LBUTTONDBLCLK: r = OnLButtonDblClk(x, y); break;
    case WM_MOUSELEAVE: r = OnMouseLeave(); break;
    case WM_CAPTURECHANGED: r = OnCaptureChanged(reinterpret_cast<HWND>(lp)); break;
    case WM_ACTIVATEAPP: r = OnActivateApp(wp != FALSE); break;
    case WM_DPICHANGED: r = OnDpiChanged(msg, wp, lp); break;
    case kGetDpiScaledSize: r = OnGetDpiScaledSize(LOWORD(wp), reinterpret_cast<SIZE*>(lp)); break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_DRAWITEM:
    case WM_COMMAND:
    case WM_NOTIFY: r = OnChildMessage(msg, wp, lp); break;
    default: break;
  }
  if (r) return *r;
  return ::CallWindowProcW(previous, self, msg, wp, lp);
}

// What the children ask of their window goes to the control families' answers.
SkinnedWindow::Result SkinnedWindow::OnChildMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DRAWITEM:
      if (DrawTakenOverItem(engine_, *reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
      return std::nullopt;
    case WM_COMMAND: InvalidateAfterCommand(engine_, wp, lp); return std::nullopt;
    case WM_NOTIFY:
      InvalidateAfterNotify(engine_, *reinterpret_cast<const NMHDR*>(lp));
      return AnswerCustomDraw(*reinterpret_cast<NMHDR*>(lp));
    default:
      return AnswerControlColour(engine_, *this, msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
  }
}

// Every size of the frame follows the new scale; the pictures drawn at the old one go.
void SkinnedWindow::TakeScale(Scale scale) {
  scale_ = scale;
  metrics_ = FrameMetricsAt(scale, captionHeightAt96_);
  for (CaptionButton& b : caption_.buttons) {
    b.width = b.kind == ButtonKind::Close ? metrics_.closeButtonWidth : metrics_.buttonWidth;
    b.height = metrics_.buttonHeight;
    b.looksMade = 0;
  }
  pointer_.hotButton = 0;
  fade_.steps.Reset();
  cache_.dirty = true;
  cache_.regionSize = SIZE{};  // the region's corners change with the scale
  LayoutCaption();
  LayoutItems();
}

void SkinnedWindow::OnFadeTimer() {
  for (const FadeDraw& d : fade_.steps.Tick()) {
    // A held button keeps its pressed look.
    if (d.button == pointer_.pressedButton && d.button == pointer_.hotButton) continue;
    DrawButton(d.button, nullptr, false, d.alpha);
  }
  if (fade_.steps.Idle()) fade_.Stop();
}

}  // namespace tovel::skin
