#include "base/file_path.h"

#include <algorithm>

#include "base/text.h"

namespace tovel {
namespace {

constexpr std::wstring_view kVerbatim = L"\\\\?\\";

bool IsDriveRoot(std::wstring_view p) {
  return p.size() >= 3 && ((p[0] >= L'A' && p[0] <= L'Z') || (p[0] >= L'a' && p[0] <= L'z')) && p[1] == L':' &&
         p[2] == L'\\';
}

// Parts that only the plain form resolves: ".", ".." and empty ones (a final "\" aside).
bool HasPartsToResolve(std::wstring_view rest) {
  size_t begin = 0;
  while (begin < rest.size()) {
    size_t end = rest.find(L'\\', begin);
    if (end == std::wstring_view::npos) end = rest.size();
    const std::wstring_view part = rest.substr(begin, end - begin);
    if (part.empty() || part == L"." || part == L"..") return true;
    begin = end + 1;
  }
  return false;
}

}  // namespace

std::wstring FileSystemPath(std::string_view path) {
  std::wstring wide = Widen(path);
  if (wide.starts_with(kVerbatim)) return wide;
  // The "\\?\" form knows "\" alone as the separator.
  std::wstring full = wide;
  std::replace(full.begin(), full.end(), L'/', L'\\');
  if (IsDriveRoot(full) && !HasPartsToResolve(std::wstring_view(full).substr(3)))
    return std::wstring(kVerbatim) + full;
  if (full.starts_with(L"\\\\") && !HasPartsToResolve(std::wstring_view(full).substr(2)))
    return std::wstring(kVerbatim) + L"UNC\\" + full.substr(2);
  return wide;
}

}  // namespace tovel
