#include "runtime/controls.h"

#include <commctrl.h>

#include <optional>
#include <utility>

#include "runtime/form_window.h"
#include "runtime/shell_input.h"
#include "runtime/slider_input.h"
#include "base/text.h"

namespace tovel {
namespace {

Text WindowText(HWND hwnd) {
  const int len = ::GetWindowTextLengthW(hwnd);
  std::wstring buf(static_cast<size_t>(len) + 1, L'\0');
  buf.resize(static_cast<size_t>(::GetWindowTextW(hwnd, buf.data(), len + 1)));
  return Narrow(buf);
}

// Left/top of a top-level window are screen coordinates; of a control, its parent's client coordinates.
RECT PlacementOf(HWND hwnd) {
  RECT rc{};
  ::GetWindowRect(hwnd, &rc);
  if (HWND parent = ::GetParent(hwnd); parent && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void MoveTo(HWND hwnd, std::optional<int> left, std::optional<int> top, std::optional<int> height) {
  const RECT rc = PlacementOf(hwnd);
  ::SetWindowPos(hwnd, nullptr, left.value_or(rc.left), top.value_or(rc.top), rc.right - rc.left,
                 height.value_or(rc.bottom - rc.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

Runtime& Runtime::Get() {
  static Runtime runtime;
  return runtime;
}

void Runtime::Bind(HandlerKey key, Handler handler) { handlers_[static_cast<size_t>(key)] = std::move(handler); }

bool Runtime::IsBound(HandlerKey key) const { return static_cast<bool>(handlers_[static_cast<size_t>(key)]); }

void Runtime::Raise(HandlerKey key) {
  // Copy first: a handler may rebind or close the window that raised it.
  Handler h = handlers_[static_cast<size_t>(key)];
  if (h) h();
}

void Runtime::RaiseEvent(const std::vector<EventBinding>& events, EventKind kind) {
  for (const auto& e : events)
    if (e.event == kind) Raise(e.handler);
}

void Runtime::RaiseFilesDropped(const std::vector<EventBinding>& events, std::vector<Text> paths, POINT at) {
  droppedFiles_ = std::move(paths);
  RaiseAt(events, EventKind::FilesDropped, at);
  droppedFiles_.clear();
}

void Runtime::RaiseAt(const std::vector<EventBinding>& events, EventKind kind, POINT at) {
  eventPoint_ = at;
  RaiseEvent(events, kind);
}

HWND Runtime::LoadForm(const FormDesc& desc) {
  if (FormState* existing = Form(desc.windowId)) return existing->hwnd;
  if (mainWindowId_ == 0) mainWindowId_ = desc.windowId;
  auto owned = std::make_unique<FormState>();
  FormState& form = *owned;
  form.desc = &desc;
  forms_[desc.windowId] = std::move(owned);
  if (!CreateFormWindow(form)) {
    forms_.erase(desc.windowId);
    return nullptr;
  }
  for (auto& [id, control] : form.controls) {
    if (control.desc->type == ControlType::Timer && control.desc->timerPeriod > 0)
      SetTimerPeriod(form, id, control, control.desc->timerPeriod);
    if (control.desc->type == ControlType::Slider) HookSliderInput(control.hwnd);
  }

  HWND hwnd = form.hwnd;
  RaiseEvent(desc.events, EventKind::Created);
  // The created handler may have ended the program already.
  if (!::IsWindow(hwnd)) return nullptr;
  AcceptShellInput(form);
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  ::UpdateWindow(hwnd);
  return hwnd;
}

bool Runtime::IsLoaded(std::uint32_t windowId) const { return Form(windowId) != nullptr; }

FormState* Runtime::Form(std::uint32_t windowId) const {
  auto it = forms_.find(windowId);
  return it == forms_.end() ? nullptr : it->second.get();
}

void Runtime::ForgetForm(HWND hwnd) {
  for (auto it = forms_.begin(); it != forms_.end(); ++it) {
    if (it->second->hwnd == hwnd) {
      forms_.erase(it);
      return;
    }
  }
}

const ControlState* Runtime::Control(std::uint32_t windowId, std::uint32_t controlId) const {
  FormState* form = Form(windowId);
  if (!form) return nullptr;
  auto it = form->controls.find(controlId);
  return it == form->controls.end() ? nullptr : &it->second;
}

ControlState* Runtime::Control(std::uint32_t windowId, std::uint32_t controlId) {
  return const_cast<ControlState*>(std::as_const(*this).Control(windowId, controlId));
}

HWND Runtime::WindowHandle(std::uint32_t windowId) const {
  FormState* form = Form(windowId);
  return form ? form->hwnd : nullptr;
}

HWND Runtime::ControlHandle(std::uint32_t windowId, std::uint32_t controlId) const {
  FormState* form = Form(windowId);
  if (form && controlId == form->desc->windowControlId) return form->hwnd;
  const ControlState* c = Control(windowId, controlId);
  return c ? c->hwnd : nullptr;
}

int Runtime::GetInt(std::uint32_t windowId, std::uint32_t controlId, Prop prop) const {
  const ControlState* c = Control(windowId, controlId);
  HWND h = ControlHandle(windowId, controlId);
  switch (prop) {
    case Prop::Left: return h ? static_cast<int>(PlacementOf(h).left) : 0;
    case Prop::Top: return h ? static_cast<int>(PlacementOf(h).top) : 0;
    case Prop::Height: {
      if (!h) return 0;
      const RECT rc = PlacementOf(h);
      return rc.bottom - rc.top;
    }
    case Prop::Disabled: return h ? !::IsWindowEnabled(h) : 0;
    case Prop::Visible: return h ? ::IsWindowVisible(h) != 0 : 0;
    case Prop::TypeSpecific: return c && c->desc->type == ControlType::Timer ? c->timerPeriod : 0;
    case Prop::SliderMaximum: return h ? static_cast<int>(::SendMessageW(h, TBM_GETRANGEMAX, 0, 0)) : 0;
    case Prop::SliderPosition: return h ? static_cast<int>(::SendMessageW(h, TBM_GETPOS, 0, 0)) : 0;
    case Prop::ButtonCaption: break;
  }
  return 0;
}

void Runtime::SetInt(std::uint32_t windowId, std::uint32_t controlId, Prop prop, int value) {
  ControlState* c = Control(windowId, controlId);
  HWND h = ControlHandle(windowId, controlId);
  switch (prop) {
    case Prop::Left: if (h) MoveTo(h, value, std::nullopt, std::nullopt); break;
    case Prop::Top: if (h) MoveTo(h, std::nullopt, value, std::nullopt); break;
    case Prop::Height: if (h) MoveTo(h, std::nullopt, std::nullopt, value); break;
    case Prop::Disabled: if (h) ::EnableWindow(h, value == 0); break;
    case Prop::Visible: if (h) ::ShowWindow(h, value ? SW_SHOWNA : SW_HIDE); break;
    case Prop::TypeSpecific:
      if (c && c->desc->type == ControlType::Timer) SetTimerPeriod(*Form(windowId), controlId, *c, value);
      break;
    case Prop::SliderMaximum: if (h) ::SendMessageW(h, TBM_SETRANGEMAX, TRUE, value); break;
    case Prop::SliderPosition: if (h) ::SendMessageW(h, TBM_SETPOS, TRUE, value); break;
    case Prop::ButtonCaption: break;
  }
}

Text Runtime::GetText(std::uint32_t windowId, std::uint32_t controlId, Prop prop) const {
  HWND h = ControlHandle(windowId, controlId);
  if (!h || (prop != Prop::TypeSpecific && prop != Prop::ButtonCaption)) return {};
  return WindowText(h);
}

void Runtime::SetText(std::uint32_t windowId, std::uint32_t controlId, Prop prop, const Text& value) {
  HWND h = ControlHandle(windowId, controlId);
  if (!h || (prop != Prop::TypeSpecific && prop != Prop::ButtonCaption)) return;
  ::SetWindowTextW(h, Widen(value).c_str());
}

void Runtime::SetTimerPeriod(FormState& form, std::uint32_t controlId, ControlState& timer, int period) {
  timer.timerPeriod = period > 0 ? period : 0;
  const UINT_PTR timerId = static_cast<UINT_PTR>(ChildId(controlId));
  // A timer that runs no handler keeps its period but wakes nobody; a handler bound
  // later takes effect at the next change of the period.
  bool hasTick = false;
  for (const auto& e : timer.desc->events) hasTick |= e.event == EventKind::Tick && IsBound(e.handler);
  if (timer.timerPeriod > 0 && hasTick)
    ::SetTimer(form.hwnd, timerId, static_cast<UINT>(timer.timerPeriod), nullptr);
  else
    ::KillTimer(form.hwnd, timerId);
}

int Runtime::ListCount(std::uint32_t windowId, std::uint32_t controlId) const {
  HWND h = ControlHandle(windowId, controlId);
  return h ? static_cast<int>(::SendMessageW(h, LB_GETCOUNT, 0, 0)) : 0;
}

int Runtime::ListCaret(std::uint32_t windowId, std::uint32_t controlId) const {
  HWND h = ControlHandle(windowId, controlId);
  return h ? static_cast<int>(::SendMessageW(h, LB_GETCARETINDEX, 0, 0)) : -1;
}

void Runtime::ListAdd(std::uint32_t windowId, std::uint32_t controlId, const Text& item) {
  if (HWND h = ControlHandle(windowId, controlId))
    ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
}

void Runtime::ListAddAll(std::uint32_t windowId, std::uint32_t controlId, const std::vector<Text>& items) {
  HWND h = ControlHandle(windowId, controlId);
  if (!h) return;
  // Without redrawing each entry, 10,000 of them go in as fast as a few hundred.
  ::SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(h, LB_INITSTORAGE, items.size(), items.size() * 64);
  for (const Text& item : items) ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  ::SendMessageW(h, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(h, nullptr, TRUE);
}

void Runtime::ListClear(std::uint32_t windowId, std::uint32_t controlId) {
  if (HWND h = ControlHandle(windowId, controlId)) ::SendMessageW(h, LB_RESETCONTENT, 0, 0);
}

void Runtime::ListSelect(std::uint32_t windowId, std::uint32_t controlId, int index) {
  if (HWND h = ControlHandle(windowId, controlId)) ::SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Runtime::ListSelection(std::uint32_t windowId, std::uint32_t controlId) const {
  HWND h = ControlHandle(windowId, controlId);
  return h ? static_cast<int>(::SendMessageW(h, LB_GETCURSEL, 0, 0)) : -1;
}

void Runtime::Focus(std::uint32_t windowId, std::uint32_t controlId) {
  HWND h = ControlHandle(windowId, controlId);
  if (!h) return;
  FormState* form = Form(windowId);
  form->lastFocus = h;
  // A window not shown yet passes the focus on when it is activated (WM_SETFOCUS); taking
  // it now would activate the hidden window once before it is shown and activated again.
  if (::IsWindowVisible(form->hwnd)) ::SetFocus(h);
}

HMENU Runtime::Menu(std::uint32_t windowId, std::uint32_t menuId) const {
  FormState* form = Form(windowId);
  if (!form) return nullptr;
  auto it = form->menus.find(menuId);
  return it == form->menus.end() ? nullptr : it->second.get();
}

void Runtime::OnFormDestroyed(std::uint32_t windowId, std::function<void()> fn) {
  if (FormState* form = Form(windowId)) form->onDestroyed = std::move(fn);
}

void Runtime::CloseForm(std::uint32_t windowId) {
  if (HWND h = WindowHandle(windowId)) ::DestroyWindow(h);
}

void Runtime::CloseFormsBut(std::uint32_t windowId) {
  // Handles first: each destruction takes its form out of the map.
  std::vector<HWND> others;
  for (const auto& [id, form] : forms_)
    if (id != windowId && form->hwnd) others.push_back(form->hwnd);
  for (HWND h : others) ::DestroyWindow(h);
}

void Runtime::BringToFront(std::uint32_t windowId) {
  HWND h = WindowHandle(windowId);
  if (!h) return;
  if (::IsIconic(h)) ::ShowWindow(h, SW_RESTORE);
  ::SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(h);
}

int Runtime::RunMessageLoop(std::uint32_t mainWindowId, MessageGetter getMessage) {
  mainWindowId_ = mainWindowId;
  if (!WindowHandle(mainWindowId)) return 0;
  MSG msg{};
  for (;;) {
    const BOOL got = getMessage(&msg, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(msg.wParam);  // WM_QUIT carries the exit code
    // -1: the queue failed, and what the MSG holds then means nothing.
    if (got == -1) return -1;
    RouteWheelToSlider(msg);
    if (messageFilter_ && messageFilter_(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace tovel
