#include "app/song_search.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cwctype>
#endif

namespace tovel {

#ifdef _WIN32
// The platform's lower case, with the linguistic rules for letters beyond ASCII.
std::wstring FoldCase(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  std::wstring folded(text.size(), L'\0');
  const int n = ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, text.data(),
                                length, folded.data(), length, nullptr, nullptr, 0);
  if (n <= 0) return std::wstring(text);
  folded.resize(static_cast<size_t>(n));
  return folded;
}
#else
// Off Windows (the host tests) the C library's lower case.
std::wstring FoldCase(std::wstring_view text) {
  std::wstring folded(text);
  for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return folded;
}
#endif

}  // namespace tovel
