#include "app/clips.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/handle.h"

namespace tovel {
namespace {

// Each folder of the chain in turn; one that exists already is fine.
bool MakeFolder(const std::wstring& folder) {
  if (::CreateDirectoryW(folder.c_str(), nullptr)) return true;
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Every sharing mode, so a file that MCI has open for reading can still be compared.
bool HoldsBytes(const std::wstring& path, ByteView bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || static_cast<ULONGLONG>(size.QuadPart) != bytes.size()) return false;
  std::vector<std::uint8_t> content(bytes.size());
  DWORD read = 0;
  if (!content.empty() && !::ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr))
    return false;
  return read == content.size() && std::equal(content.begin(), content.end(), bytes.begin());
}

bool WriteBytes(const std::wstring& path, ByteView bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

}  // namespace

const std::array<Clip, 12>& Clips() {
  static const std::array<Clip, 12> clips = {{
      {"群众笑声", "群众笑声", L"CLIP_01"},
      {"贱笑", "贱笑", L"CLIP_02"},
      {"尖叫声", "尖叫声", L"CLIP_03"},
      {"轻微掌声", "轻微掌声", L"CLIP_04"},
      {"欢呼掌声", "欢呼掌声", L"CLIP_05"},
      {"邪恶的笑", "邪恶的笑", L"CLIP_06"},
      {"Korvan笑", "Korvan笑", L"CLIP_07"},
      {"机枪扫射", "机枪扫射", L"CLIP_08"},
      {"雷电下雨", "雷电下雨", L"CLIP_09"},
      {"TMD跪下", "跪下", L"CLIP_10"},
      {"开枪", "开枪", L"CLIP_11"},
      {"直升机", "直升机", L"CLIP_12"},
  }};
  return clips;
}

// The working directory may be read-only or shared; the user's temporary folder is ours to write.
std::wstring DefaultClipFolder() {
  wchar_t temp[MAX_PATH + 1];
  const DWORD n = ::GetTempPathW(ARRAYSIZE(temp), temp);
  if (n == 0 || n > MAX_PATH) return {};
  std::wstring folder(temp, n);
  if (folder.back() != L'\\') folder += L'\\';
  folder += L"TovelMusicBox\\";
  MakeFolder(folder);
  folder += L"clips\\";
  MakeFolder(folder);
  return folder;
}

bool EnsureClipFile(const std::wstring& path, ByteView bytes) {
  if (bytes.empty()) return false;
  if (HoldsBytes(path, bytes)) return true;
  // A failed or partial write is caught by the check after it.
  WriteBytes(path, bytes);
  return HoldsBytes(path, bytes);
}

}  // namespace tovel
