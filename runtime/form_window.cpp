#include "runtime/form_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <map>

#include "base/dc.h"
#include "base/jpeg_picture.h"
#include "base/window_dpi.h"
#include "runtime/form_scale.h"
#include "runtime/label.h"
#include "runtime/shell_input.h"
#include "base/text.h"

namespace tovel {
namespace {

HINSTANCE Instance() { return ::GetModuleHandleW(nullptr); }

FormState* StateOf(HWND hwnd) { return reinterpret_cast<FormState*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

const ControlState* ControlById(const FormState& form, int childId) {
  for (const auto& [id, control] : form.controls) {
    if (control.hwnd && ChildId(id) == childId) return &control;
  }
  return nullptr;
}

void OnCommand(FormState& form, int id, int code, HWND from) {
  Runtime& rt = Runtime::Get();
  if (!from) {
    // A menu item: the low 16 bits of its identifier.
    for (const auto& menu : form.desc->menus)
      for (const auto& item : menu.items)
        if (ChildId(item.id) == id) rt.Raise(item.handler);
    return;
  }
  const ControlState* control = ControlById(form, id);
  if (!control) return;
  if (control->desc->type == ControlType::Button && code == BN_CLICKED)
    rt.RaiseEvent(control->desc->events, EventKind::Clicked);
  else if (control->desc->type == ControlType::ListBox && code == LBN_DBLCLK)
    rt.RaiseEvent(control->desc->events, EventKind::DoubleClick);
  else if (control->desc->type == ControlType::Edit && code == EN_CHANGE)
    rt.RaiseEvent(control->desc->events, EventKind::TextChanged);
}

// Every scroll code the user causes raises "position changed", except end-of-tracking;
// positions set by the program send no WM_HSCROLL at all.
void OnHScroll(FormState& form, int code, HWND from) {
  if (!from || code == TB_ENDTRACK) return;
  const ControlState* control = ControlById(form, ::GetDlgCtrlID(from));
  if (control && control->desc->type == ControlType::Slider)
    Runtime::Get().RaiseEvent(control->desc->events, EventKind::PositionChanged);
}

void OnTimer(FormState& form, UINT_PTR timerId) {
  for (const auto& [id, control] : form.controls) {
    if (control.desc->type == ControlType::Timer && static_cast<UINT_PTR>(ChildId(id)) == timerId) {
      Runtime::Get().RaiseEvent(control.desc->events, EventKind::Tick);
      return;
    }
  }
}

// A form that binds "context menu" takes it from the window and from any control the
// default procedure passed it up from; lParam is the point on the screen, -1,-1 from the keyboard.
bool OnContextMenu(FormState& form, LPARAM lp) {
  bool binds = false;
  for (const auto& e : form.desc->events) binds |= e.event == EventKind::ContextMenu;
  if (!binds) return false;
  POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  if (at.x == -1 && at.y == -1) ::GetCursorPos(&at);
  Runtime::Get().RaiseAt(form.desc->events, EventKind::ContextMenu, at);
  return true;
}

// Every label repaints the background behind it, the elapsed time once a second:
// stretch the picture once per client size, then only copy it.
HBITMAP ScaledBackground(FormState& form, HDC dc, SIZE size) {
  if (form.scaledBackground && form.scaledSize.cx == size.cx && form.scaledSize.cy == size.cy)
    return form.scaledBackground.get();
  UniqueBitmap scaled(::CreateCompatibleBitmap(dc, size.cx, size.cy));
  if (!scaled) return nullptr;
  UniqueDc src(::CreateCompatibleDC(dc));
  UniqueDc dst(::CreateCompatibleDC(dc));
  SelectGuard selectSrc(src.get(), form.background.get());
  SelectGuard selectDst(dst.get(), scaled.get());
  ::SetStretchBltMode(dst.get(), HALFTONE);
  ::StretchBlt(dst.get(), 0, 0, size.cx, size.cy, src.get(), 0, 0, form.backgroundWidth, form.backgroundHeight,
               SRCCOPY);
  form.scaledBackground = std::move(scaled);
  form.scaledSize = size;
  return form.scaledBackground.get();
}

void PaintBackground(FormState& form, HDC dc) {
  RECT rc;
  ::GetClientRect(form.hwnd, &rc);
  HBITMAP picture = form.background ? ScaledBackground(form, dc, SIZE{rc.right, rc.bottom}) : nullptr;
  if (!picture) {
    ::FillRect(dc, &rc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return;
  }
  // Only what the DC can show: a control painting its background asks for its own small part.
  RECT part;
  if (::GetClipBox(dc, &part) == ERROR || !::IntersectRect(&part, &part, &rc)) return;
  UniqueDc src(::CreateCompatibleDC(dc));
  SelectGuard select(src.get(), picture);
  ::BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, src.get(), part.left, part.top,
           SRCCOPY);
}

// The box that keeps `disabled` from input: a popup it owns, else a box of the thread that
// owns nothing (a task-modal message box disables every window of its thread).
HWND ModalBoxOver(HWND disabled) {
  struct Search {
    HWND disabled;
    HWND owned = nullptr;
    HWND unowned = nullptr;
  } search{disabled};
  ::EnumThreadWindows(
      ::GetWindowThreadProcessId(disabled, nullptr),
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (h == s->disabled || !::IsWindowVisible(h) || !::IsWindowEnabled(h)) return TRUE;
        wchar_t cls[32] = {};
        ::GetClassNameW(h, cls, 32);
        if (wcscmp(cls, kFormClass) == 0) return TRUE;  // a form is no box, even when enabled
        HWND owner = ::GetWindow(h, GW_OWNER);
        if (owner == s->disabled) s->owned = h;
        else if (!owner && !s->unowned) s->unowned = h;
        return s->owned ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.owned ? search.owned : search.unowned;
}

// A window disabled under a modal box stays (Task Manager's "End task" and scripts send
// WM_CLOSE): as for a click on a disabled owner, the box comes forward instead. Closing
// under the box would end the program in the middle of the handler that shows it.
bool DeclineCloseUnderModalBox(HWND hwnd) {
  if (::IsWindowEnabled(hwnd)) return false;
  HWND box = ModalBoxOver(hwnd);
  if (!box) return false;
  ::SetWindowPos(box, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(box);
  return true;
}

LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    auto* form = static_cast<FormState*>(cs->lpCreateParams);
    form->hwnd = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  FormState* form = StateOf(hwnd);
  if (!form) return ::DefWindowProcW(hwnd, msg, wp, lp);
  Runtime& rt = Runtime::Get();
  if (IsShellHookMessage(msg) && OnShellHook(*form, wp, lp)) return TRUE;
  switch (msg) {
    case WM_COMMAND:
      OnCommand(*form, LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_HSCROLL:
      OnHScroll(*form, LOWORD(wp), reinterpret_cast<HWND>(lp));
      return 0;
    case WM_TIMER:
      OnTimer(*form, wp);
      return 0;
    case WM_DROPFILES:
      OnDropFiles(*form, reinterpret_cast<HDROP>(wp));
      return 0;
    case WM_CONTEXTMENU:
      if (OnContextMenu(*form, lp)) return 0;
      break;
    case WM_APPCOMMAND:  // TRUE: handled; otherwise the default procedure passes it on
      if (OnAppCommand(*form, GET_APPCOMMAND_LPARAM(lp))) return TRUE;
      break;
    case WM_ERASEBKGND:  // non-zero: the background is drawn
      PaintBackground(*form, reinterpret_cast<HDC>(wp));
      return 1;
    case WM_ACTIVATE:
      // Like a dialog: remember the focused control and give the focus back on return.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(hwnd, focus)) form->lastFocus = focus;
      }
      break;
    case WM_SETFOCUS:
      if (form->lastFocus && ::IsWindow(form->lastFocus) && ::IsChild(hwnd, form->lastFocus)) {
        ::SetFocus(form->lastFocus);
        return 0;
      }
      break;
    case WM_MOVE:
      rt.RaiseEvent(form->desc->events, EventKind::Moved);
      break;
    case WM_DPICHANGED:  // wParam: the new DPI; lParam: the window's suggested place at it
      OnFormDpiChanged(*form, LOWORD(wp), *reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_CLOSE:
      if (DeclineCloseUnderModalBox(hwnd)) return 0;
      break;
    case WM_ENDSESSION:
      // The session ends once every window has returned from this: the main window goes
      // now, with its save-on-exit, also from under a modal box.
      if (wp && form->desc->windowId == rt.MainWindowId()) ::DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      ReleaseShellInput(*form);
      // The other windows go with the main one, so their devices close while everything still runs.
      if (form->desc->windowId == rt.MainWindowId()) rt.CloseFormsBut(form->desc->windowId);
      rt.RaiseEvent(form->desc->events, EventKind::AboutToBeDestroyed);
      if (auto done = std::move(form->onDestroyed)) done();
      if (form->desc->windowId == rt.MainWindowId()) ::PostQuitMessage(0);
      break;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      rt.ForgetForm(hwnd);
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wp, lp);
}

// The list box reports its right button to the form's handlers. Subclassed by
// replacing the procedure: SetWindowSubclass looks up a window property on every
// message, which under Wine makes filling a list of 10,000 songs take seconds.
struct ListHook {
  WNDPROC previous;
  const ControlState* control;
};
std::map<HWND, ListHook> gListHooks;

LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto it = gListHooks.find(hwnd);
  if (it == gListHooks.end()) return ::DefWindowProcW(hwnd, msg, wp, lp);
  const ListHook hook = it->second;
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      const LRESULT r = ::CallWindowProcW(hook.previous, hwnd, msg, wp, lp);
      Runtime::Get().RaiseEvent(hook.control->desc->events,
                                msg == WM_RBUTTONDOWN ? EventKind::RightButtonDown : EventKind::RightButtonUp);
      return r;
    }
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook.previous));
      gListHooks.erase(it);
      break;
  }
  return ::CallWindowProcW(hook.previous, hwnd, msg, wp, lp);
}

void HookList(HWND list, const ControlState* control) {
  auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(list, GWLP_WNDPROC));
  gListHooks[list] = ListHook{previous, control};
  ::SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc));
}

bool RegisterFormClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (::GetClassInfoExW(Instance(), kFormClass, &wc)) return true;
  wc = WNDCLASSEXW{};
  wc.cbSize = sizeof(wc);
  // Double clicks reach the window, so a skin can act on one in its caption.
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = FormProc;
  wc.hInstance = Instance();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  // Number 129 first, then the name: the program carries only the named icon.
  wc.hIcon = ::LoadIconW(Instance(), MAKEINTRESOURCEW(129));
  if (!wc.hIcon) wc.hIcon = ::LoadIconW(Instance(), L"DEFAULT_ICON");
  wc.lpszClassName = kFormClass;
  return ::RegisterClassExW(&wc) != 0;
}

HWND CreateChild(FormState& form, const ControlDesc& c) {
  const wchar_t* cls = nullptr;
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD exStyle = 0;
  switch (c.type) {
    case ControlType::Button: cls = WC_BUTTONW; style |= BS_PUSHBUTTON | WS_TABSTOP; break;
    case ControlType::ListBox:
      cls = WC_LISTBOXW;
      style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
      break;
    case ControlType::Slider: cls = TRACKBAR_CLASSW; style |= TBS_HORZ | TBS_NOTICKS | WS_TABSTOP; break;
    case ControlType::TransparentLabel: cls = kLabelClass; break;
    case ControlType::Edit:
      // Hidden until asked for; the sunken edge is the room the skin draws its frame in.
      cls = WC_EDITW;
      style = WS_CHILD | ES_AUTOHSCROLL;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    default: return nullptr;
  }
  const PixelRect r = ControlRect(form, c);
  HWND hwnd = ::CreateWindowExW(exStyle, cls, Widen(c.caption).c_str(), style, r.left, r.top, r.width(), r.height(),
                                form.hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ChildId(c.id))),
                                Instance(), nullptr);
  return hwnd;
}

void ConfigureChild(FormState& form, ControlState& control) {
  const ControlDesc& c = *control.desc;
  HWND h = control.hwnd;
  if (HFONT font = FontFor(form, c)) ::SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (c.type == ControlType::Slider) {
    ::SendMessageW(h, TBM_SETRANGEMIN, FALSE, c.slider.minimum);
    ::SendMessageW(h, TBM_SETRANGEMAX, FALSE, c.slider.maximum);
    ::SendMessageW(h, TBM_SETPAGESIZE, 0, c.slider.pageSize);
    ::SendMessageW(h, TBM_SETLINESIZE, 0, c.slider.lineSize);
    ::SendMessageW(h, TBM_SETPOS, TRUE, c.slider.position);
  }
  if (c.type == ControlType::ListBox) HookList(h, &control);
}

UniqueMenu BuildMenu(const MenuDesc& menu) {
  UniqueMenu popup(::CreatePopupMenu());
  std::map<std::string_view, HMENU> submenus;  // owned by `popup` once appended
  for (const auto& item : menu.items) {
    HMENU into = popup.get();
    if (!item.submenu.empty()) {
      HMENU& sub = submenus[item.submenu];
      if (!sub) {
        sub = ::CreatePopupMenu();
        ::AppendMenuW(popup.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub), Widen(item.submenu).c_str());
      }
      into = sub;
    }
    ::AppendMenuW(into, MF_STRING, ChildId(item.id), Widen(item.caption).c_str());
  }
  return popup;
}

DWORD FrameStyle(int code, DWORD* exStyle) {
  *exStyle = 0;
  if (code == 3) {
    *exStyle = WS_EX_TOOLWINDOW;
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  }
  return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
}

}  // namespace

bool CreateFormWindow(FormState& form) {
  const FormDesc& d = *form.desc;
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = sizeof(icc);
  icc.dwICC = ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
  ::InitCommonControlsEx(&icc);
  if (!RegisterFormClass() || !RegisterLabelClass(Instance())) return false;

  Picture picture = DecodeJpeg(ResourceBytes(Widen(d.backgroundResource).c_str()));
  form.backgroundWidth = picture.width;
  form.backgroundHeight = picture.height;
  form.background = std::move(picture.bitmap);

  // The form's place stays as written; its size is scaled, first by the screen's DPI, then,
  // once the window knows the display it is on, by the window's own.
  form.scale = Scale(SystemDpi());
  DWORD exStyle;
  const DWORD style = FrameStyle(d.frameStyle, &exStyle);
  HWND hwnd = ::CreateWindowExW(exStyle, kFormClass, Widen(d.title).c_str(), style, d.left, d.top,
                                form.scale.Px(d.width), form.scale.Px(d.height), nullptr, nullptr, Instance(), &form);
  if (!hwnd) return false;
  if (const Scale own = ScaleOf(hwnd); own != form.scale) {
    form.scale = own;
    ::SetWindowPos(hwnd, nullptr, 0, 0, own.Px(d.width), own.Px(d.height),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  MakeFormFonts(form);

  for (const auto& c : d.controls) {
    ControlState& control = form.controls[c.id];
    control.desc = &c;
    if (HasChildWindow(c.type)) {
      control.hwnd = CreateChild(form, c);
      if (control.hwnd) ConfigureChild(form, control);
    }
  }
  for (const auto& m : d.menus) form.menus[m.id] = BuildMenu(m);
  return true;
}

}  // namespace tovel
