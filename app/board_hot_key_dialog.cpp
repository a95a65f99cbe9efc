#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "app/board_hot_keys.h"

namespace tovel {
namespace {

constexpr WORD kHotKeyControl = 100;
constexpr WORD kClearButton = 101;

// An in-memory dialog template: DLGTEMPLATE, then each DLGITEMTEMPLATE on a DWORD boundary.
class DialogTemplate {
 public:
  DialogTemplate(std::wstring_view title, short cx, short cy) {
    DLGTEMPLATE head{};
    head.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    head.cx = cx;
    head.cy = cy;
    Put(&head, sizeof head);
    countAt_ = offsetof(DLGTEMPLATE, cdit) / sizeof(WORD);
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard class
    Text(title);
    words_.push_back(9);  // point size, then the face: the forms' Chinese face
    Text(L"宋体");
  }
  void Add(std::wstring_view cls, std::wstring_view text, WORD id, DWORD style, short x, short y, short cx, short cy) {
    if (words_.size() % 2) words_.push_back(0);
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = cx;
    item.cy = cy;
    item.id = id;
    Put(&item, sizeof item);
    Text(cls);
    Text(text);
    words_.push_back(0);  // no creation data
    ++words_[countAt_];
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Put(const void* p, size_t bytes) {
    const size_t at = words_.size();
    words_.resize(at + (bytes + 1) / 2);
    std::memcpy(words_.data() + at, p, bytes);
  }
  void Text(std::wstring_view s) {
    for (wchar_t c : s) words_.push_back(static_cast<WORD>(c));
    words_.push_back(0);
  }
  std::vector<WORD> words_;
  size_t countAt_ = 0;
};

struct DialogState {
  unsigned key;
  bool chosen = false;
};

INT_PTR CALLBACK HotKeyDialogProc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
  auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG:
      ::SetWindowLongPtrW(dialog, DWLP_USER, lp);
      state = reinterpret_cast<DialogState*>(lp);
      ::SendDlgItemMessageW(dialog, kHotKeyControl, HKM_SETHOTKEY, state->key, 0);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case IDOK:
          state->key = static_cast<unsigned>(::SendDlgItemMessageW(dialog, kHotKeyControl, HKM_GETHOTKEY, 0, 0)) & 0xFFFF;
          state->chosen = true;
          ::EndDialog(dialog, IDOK);
          return TRUE;
        case kClearButton:
          state->key = 0;
          state->chosen = true;
          ::EndDialog(dialog, IDOK);
          return TRUE;
        case IDCANCEL:
          ::EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::optional<unsigned> AskHotKey(HWND owner, unsigned current) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_HOTKEY_CLASS};
  ::InitCommonControlsEx(&icc);
  DialogTemplate t(L"设置热键", 186, 56);
  t.Add(HOTKEY_CLASSW, L"", kHotKeyControl, WS_BORDER | WS_TABSTOP, 7, 8, 172, 14);
  t.Add(L"BUTTON", L"确定", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 32, 54, 16);
  t.Add(L"BUTTON", L"取消", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 66, 32, 54, 16);
  t.Add(L"BUTTON", L"清除", kClearButton, BS_PUSHBUTTON | WS_TABSTOP, 125, 32, 54, 16);
  DialogState state{current};
  ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), t.get(), owner, HotKeyDialogProc,
                            reinterpret_cast<LPARAM>(&state));
  if (!state.chosen) return std::nullopt;
  return state.key;
}

}  // namespace tovel
