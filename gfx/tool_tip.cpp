#include "gfx/tool_tip.h"

#include <commctrl.h>

#include <string>

#include "base/text.h"

namespace tovel {

namespace {
// Version 2 of the record: accepted by the common controls both with and without
// the version 6 manifest, unlike the full size.
TTTOOLINFOW Describe(HWND owner, UINT_PTR id, const RECT& area, wchar_t* text) {
  TTTOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_SUBCLASS;
  info.hwnd = owner;
  info.uId = id;
  info.rect = area;
  info.hinst = nullptr;
  info.lpszText = text;
  return info;
}
}  // namespace

HWND ToolTip::Create(HWND owner, bool balloon) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  owner_ = owner;
  // Created as a pop-up, as the control makes itself anyway: without WS_POPUP the
  // window begins life overlapped, with a caption, and Wine hands such a window to
  // the window manager, then freezes the thread for two seconds at every hide
  // waiting for one that may not run. The caption buttons' glow stalled with it.
  DWORD style = WS_POPUP | TTS_ALWAYSTIP | (balloon ? TTS_BALLOON : 0);
  tip_.reset(::CreateWindowExW(0, TOOLTIPS_CLASSW, L"", style, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr));
  return tip_.get();
}

bool ToolTip::AddTool(const RECT& area, const Text& text, UINT_PTR id) {
  std::wstring wide = Widen(text);
  TTTOOLINFOW info = Describe(owner_, id, area, wide.data());
  return ::SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool ToolTip::AddToolCallback(const RECT& area, UINT_PTR id) {
  TTTOOLINFOW info = Describe(owner_, id, area, LPSTR_TEXTCALLBACKW);
  return ::SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

void ToolTip::SetTipBkColor(COLORREF color) {
  ::SendMessageW(tip_.get(), TTM_SETTIPBKCOLOR, color, 0);
}

void ToolTip::SetTipTextColor(COLORREF color) {
  ::SendMessageW(tip_.get(), TTM_SETTIPTEXTCOLOR, color, 0);
}

int ToolTip::SetMaxTipWidth(int width) {
  return static_cast<int>(::SendMessageW(tip_.get(), TTM_SETMAXTIPWIDTH, 0, width));
}

void ToolTip::NewToolRect(UINT_PTR id, const RECT& area) {
  TTTOOLINFOW info = Describe(owner_, id, area, nullptr);
  ::SendMessageW(tip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTip::UpdateTipText(UINT_PTR id, const Text& text) {
  std::wstring wide = Widen(text);
  TTTOOLINFOW info = Describe(owner_, id, RECT{}, wide.data());
  ::SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace tovel
