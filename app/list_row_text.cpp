#include "app/list_row_text.h"

#include "base/text.h"

namespace tovel {
namespace {

// Where the user is in the list; a row deleted and inserted again loses all three.
struct ListPlace {
  LRESULT top, caret, selection;
};

ListPlace PlaceOf(HWND list) {
  return ListPlace{::SendMessageW(list, LB_GETTOPINDEX, 0, 0), ::SendMessageW(list, LB_GETCARETINDEX, 0, 0),
                   ::SendMessageW(list, LB_GETCURSEL, 0, 0)};
}

void Restore(HWND list, const ListPlace& place) {
  if (place.selection >= 0) ::SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(place.selection), 0);
  if (place.caret >= 0 && place.caret != place.selection)
    ::SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(place.caret), FALSE);
  // Last: setting the selection or caret scrolls it into view.
  if (place.top >= 0) ::SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(place.top), 0);
}

}  // namespace

void RewriteListRows(HWND list, const std::vector<RowText>& rows) {
  if (!list || rows.empty()) return;
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  const ListPlace place = PlaceOf(list);
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  for (const RowText& row : rows) {
    if (row.row < 0 || row.row >= count) continue;
    ::SendMessageW(list, LB_DELETESTRING, static_cast<WPARAM>(row.row), 0);
    ::SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(row.row),
                   reinterpret_cast<LPARAM>(Widen(row.text).c_str()));
  }
  Restore(list, place);
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

}  // namespace tovel
