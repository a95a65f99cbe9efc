#pragma once

#include <windows.h>

#include <cstdint>

#include "base/handle.h"
#include "base/value.h"

namespace tovel {

// One common-controls tip window whose tools are areas of an owner window; the tip
// watches the owner's mouse messages itself. The tip window goes with the object.
class ToolTip {
 public:
  ToolTip() = default;
  ToolTip(ToolTip&&) noexcept = default;
  ToolTip& operator=(ToolTip&&) noexcept = default;

  // A rectangular tip unless balloon is true; returns the tip window (null on failure).
  HWND Create(HWND owner, bool balloon = false);
  // Areas are in the owner's client coordinates; texts are UTF-8.
  bool AddTool(const RECT& area, const Text& text, UINT_PTR id);
  // The tip asks the owner for the text (TTN_GETDISPINFO) each time it shows.
  bool AddToolCallback(const RECT& area, UINT_PTR id);
  void SetTipBkColor(COLORREF color);
  void SetTipTextColor(COLORREF color);
  // Returns the previous maximum width.
  int SetMaxTipWidth(int width);
  void NewToolRect(UINT_PTR id, const RECT& area);
  // A tool that was never added is left alone.
  void UpdateTipText(UINT_PTR id, const Text& text);
  HWND GetWindow() const { return tip_.get(); }

 private:
  UniqueWindow tip_;
  HWND owner_ = nullptr;
};

}  // namespace tovel
