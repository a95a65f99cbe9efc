#include <windows.h>

#include "app/config_file.h"
#include "base/handle.h"
#include "base/text.h"

namespace tovel {
namespace {

constexpr UINT kGbk = 936;

std::optional<std::wstring> ToWide(UINT codePage, DWORD flags, std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  const int n = ::MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::optional<Text> FromUtf16(std::wstring_view wide) {
  if (wide.empty()) return Text();
  const int size = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::nullopt;
  Text out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, wide.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

std::optional<Text> Decode(std::string_view bytes, DWORD strictness) {
  if (bytes.starts_with(kUtf16LeBom)) {
    bytes.remove_prefix(2);
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::wstring wide(bytes.size() / 2, L'\0');
    bytes.copy(reinterpret_cast<char*>(wide.data()), bytes.size());
    return FromUtf16(wide);
  }
  if (bytes.starts_with(kUtf8Bom)) {
    bytes.remove_prefix(3);
    if (!ToWide(CP_UTF8, MB_ERR_INVALID_CHARS, bytes)) return std::nullopt;
    return Text(bytes);
  }
  const auto wide = ToWide(kGbk, strictness, bytes);
  if (!wide) return std::nullopt;
  return FromUtf16(*wide);
}

// The GBK form, or nothing when some character has none (checked by reading it back).
std::optional<std::string> ToGbk(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  BOOL usedDefault = FALSE;
  const int n = ::WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return std::nullopt;
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(kGbk, WC_NO_BEST_FIT_CHARS, wide.data(), size, out.data(), n, nullptr, &usedDefault);
  if (usedDefault || ToWide(kGbk, MB_ERR_INVALID_CHARS, out) != wide) return std::nullopt;
  return out;
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::u16string Utf16(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  return std::u16string(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
}

// A byte-order mark (or none) followed by the bytes of the units.
std::string BytesOf(std::string_view mark, std::u16string_view units) {
  std::string bytes(mark);
  bytes.append(reinterpret_cast<const char*>(units.data()), units.size() * sizeof(char16_t));
  return bytes;
}

// The file's bytes with the value set, in the file's own encoding where the value has a
// form in it; nothing when that would cost bytes of the file.
std::optional<std::string> WithIniValue(std::string_view bytes, std::string_view section, std::string_view key,
                                        std::string_view value) {
  if (bytes.starts_with(kUtf16LeBom)) {
    const std::string_view body = bytes.substr(2);
    std::u16string units(body.size() / 2, u'\0');
    body.copy(reinterpret_cast<char*>(units.data()), units.size() * 2);
    const std::u16string out = SetIniValueIn(units, Utf16(section), Utf16(key), Utf16(value));
    // An odd last byte is no unit of the text, but it is the user's: it stays at the end.
    return BytesOf(kUtf16LeBom, out).append(body.substr(units.size() * 2));
  }
  if (bytes.starts_with(kUtf8Bom))
    return std::string(kUtf8Bom).append(SetIniValueIn(bytes.substr(3), section, key, value));
  const auto gbkSection = ToGbk(Widen(section));
  const auto gbkKey = ToGbk(Widen(key));
  if (!gbkSection || !gbkKey) return std::nullopt;
  if (const auto gbkValue = ToGbk(Widen(value))) return SetIniValueIn(bytes, *gbkSection, *gbkKey, *gbkValue);
  // The value needs UTF-16, so the whole file does: every byte but those of the line we
  // replace must decode exactly, or the change of encoding would lose some.
  const auto text = DecodeFileBytes(SetIniValueIn(bytes, *gbkSection, *gbkKey, ""));
  if (!text) return std::nullopt;
  return WithIniValue(BytesOf(kUtf16LeBom, Utf16(*text)), section, key, value);
}

}  // namespace

std::optional<Text> DecodeFileBytes(std::string_view bytes) { return Decode(bytes, MB_ERR_INVALID_CHARS); }

std::string EncodeFileText(std::string_view text, FileEncoding* used) {
  const std::wstring wide = Widen(text);
  if (auto gbk = ToGbk(wide)) {
    if (used) *used = FileEncoding::Gbk;
    return *gbk;
  }
  if (used) *used = FileEncoding::Utf16Le;
  std::string out(kUtf16LeBom);
  out.append(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  return out;
}

std::optional<std::string> ReadFileBytes(const std::wstring& path, std::uint64_t limit) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > limit ||
      size.QuadPart > 0x7FFFFFFF)
    return std::nullopt;
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
      return std::nullopt;
    }
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

bool ReplaceFileBytes(const std::wstring& path, std::string_view bytes) {
  // A read-only file stays as it is (Wine's MoveFileEx would replace it anyway).
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  const std::wstring temp = path + L".tovel-new";
  {
    UniqueFile file(::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
      DWORD wrote = 0;
      ok = ::WriteFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &wrote, nullptr) &&
           wrote > 0;
      done += wrote;
    }
    if (!ok || !::FlushFileBuffers(file.get())) {
      file.reset();
      ::DeleteFileW(temp.c_str());
      return false;
    }
  }
  if (!::MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

std::optional<Text> ReadIniValue(const std::wstring& path, std::string_view section, std::string_view key) {
  const auto bytes = ReadFileBytes(path);
  if (!bytes) return std::nullopt;
  // Reading may guess: a stray byte costs one name, not the whole list.
  auto text = Decode(*bytes, MB_ERR_INVALID_CHARS);
  if (!text) text = Decode(*bytes, 0);
  if (!text) return std::nullopt;
  return IniDocument::Parse(*text).Value(section, key);
}

bool WriteIniValue(const std::wstring& path, std::string_view section, std::string_view key,
                   std::string_view value) {
  std::string bytes;
  if (Exists(path)) {
    auto read = ReadFileBytes(path);
    if (!read) return false;  // unreadable, or too large to be a song list: left alone
    bytes = std::move(*read);
  }
  const auto updated = WithIniValue(bytes, section, key, value);
  return updated && ReplaceFileBytes(path, *updated);
}

}  // namespace tovel
