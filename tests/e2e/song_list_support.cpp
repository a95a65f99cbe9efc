#include "tests/e2e/song_list_support.h"

#include <commctrl.h>
#include <shlobj.h>

#include "tests/e2e/e2e_support.h"

namespace tovel::e2e {
namespace {

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW((dir + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = dir + L"\\" + name;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        ::SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(full.c_str());
      }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(dir.c_str());
}

std::wstring TestDataDir() {
  const std::wstring program = ProgramPath();
  return program.substr(0, program.find_last_of(L'\\')) + L"\\testdata";
}

struct VisibleDialog {
  DWORD pid;
  HWND found = nullptr;
};

BOOL CALLBACK FindVisibleDialog(HWND h, LPARAM lp) {
  auto* search = reinterpret_cast<VisibleDialog*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  wchar_t cls[16] = {};
  ::GetClassNameW(h, cls, 16);
  if (pid != search->pid || wcscmp(cls, L"#32770") != 0 || !::IsWindowVisible(h)) return TRUE;
  search->found = h;
  return FALSE;
}

BOOL CALLBACK FindTree(HWND h, LPARAM lp) {
  wchar_t cls[32] = {};
  ::GetClassNameW(h, cls, 32);
  if (wcscmp(cls, WC_TREEVIEWW) != 0) return TRUE;
  *reinterpret_cast<HWND*>(lp) = h;
  return FALSE;
}

HWND FolderTree(HWND dialog) {
  HWND tree = nullptr;
  ::EnumChildWindows(dialog, FindTree, reinterpret_cast<LPARAM>(&tree));
  return tree;
}

// The text of the tree's selected item, read through the browser's own memory.
std::wstring SelectedFolderName(HANDLE process, HWND tree) {
  const auto item = reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return {};
  constexpr int kChars = 260;
  const SIZE_T size = sizeof(TVITEMW) + kChars * sizeof(wchar_t);
  auto* remote = static_cast<char*>(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) return {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
  tv.cchTextMax = kChars;
  ::WriteProcessMemory(process, remote, &tv, sizeof tv, nullptr);
  std::wstring name;
  if (::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote))) {
    wchar_t text[kChars] = {};
    ::ReadProcessMemory(process, remote + sizeof(TVITEMW), text, sizeof text - sizeof(wchar_t), nullptr);
    name = text;
  }
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return name;
}

// The browser fills its tree late and may drop a selection sent too early (more so in a
// fresh prefix): send it until the tree shows the folder selected.
bool SelectFolder(HANDLE process, HWND dialog, void* remotePath, const std::wstring& folder, DWORD ms) {
  const std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
  const DWORD start = ::GetTickCount();
  for (;;) {
    HWND tree = FolderTree(dialog);
    if (tree && ::SendMessageW(tree, TVM_GETCOUNT, 0, 0) > 0) {
      ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remotePath));
      if (WaitUntil([&] { return SelectedFolderName(process, tree) == leaf; }, 1000)) return true;
    }
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(100);
  }
}

}  // namespace

// Waits for a visible dialog of the process, whatever its title; the process may
// hold hidden dialogs of its own besides.
HWND WaitForDialog(DWORD pid, DWORD ms) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    VisibleDialog search{pid};
    ::EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    if (::GetTickCount() - start > ms) return nullptr;
    ::Sleep(50);
  }
}

void ClearRunTraces() {
  RemoveMarker(PrimaryMarker());
  RemoveMarker(FallbackMarker());
  ::DeleteFileW(kExportFile.c_str());
}

ScratchFolder::ScratchFolder(const std::wstring& tag) {
  static int counter = 0;
  wchar_t tmp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, tmp);
  path_ = std::wstring(tmp) + L"tovel-" + tag + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(counter++);
  RemoveTree(path_);
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

// In the "\\?\" form, so folders nested past MAX_PATH go too.
ScratchFolder::~ScratchFolder() { RemoveTree(L"\\\\?\\" + path_); }

std::wstring CopyProgramInto(const ScratchFolder& folder) {
  const std::wstring program = ProgramPath();
  const std::wstring copy = folder / program.substr(program.find_last_of(L'\\') + 1);
  return ::CopyFileW(program.c_str(), copy.c_str(), FALSE) ? copy : std::wstring();
}

std::wstring CopySong(const std::wstring& song, const ScratchFolder& folder, const std::wstring& name) {
  const std::wstring copy = folder / name;
  return ::CopyFileW((TestDataDir() + L"\\" + song).c_str(), copy.c_str(), FALSE) ? copy : std::wstring();
}

std::string FileBytes(const std::wstring& path) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) bytes.append(buf, got);
  ::CloseHandle(f);
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD wrote = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  ::CloseHandle(f);
}

std::string Gbk(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(936, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string GbkIni(const std::vector<std::wstring>& paths) {
  std::wstring value;
  for (const auto& p : paths) value += p + L"|";
  return Gbk(L"[歌曲信息]\r\n歌曲列表=" + value + L"\r\n");
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const int count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t buf[1024] = {};
    ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
    items.push_back(buf);
  }
  return items;
}

bool WaitForListCount(HWND list, int count, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (::SendMessageW(list, LB_GETCOUNT, 0, 0) != count) {
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(50);
  }
  return true;
}

void PostClick(HWND player, int childId) {
  ::PostMessageW(player, WM_COMMAND, MAKEWPARAM(childId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(player, childId)));
}

// The browser reads the folder from its own memory, so the text goes there first.
// The first browser of a fresh Wine prefix can take half a minute to appear.
constexpr DWORD kBrowserWait = 120000;

bool ChooseFolder(HANDLE process, DWORD pid, const std::wstring& folder) {
  HWND dialog = WaitForDialog(pid, kBrowserWait);
  if (!dialog) return false;
  const SIZE_T size = (folder.size() + 1) * sizeof(wchar_t);
  void* remote = ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remote) return false;
  ::WriteProcessMemory(process, remote, folder.c_str(), size, nullptr);
  const bool selected = SelectFolder(process, dialog, remote, folder, kBrowserWait);
  if (selected) ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  return selected;
}

bool CancelFolderBrowser(DWORD pid) {
  HWND dialog = WaitForDialog(pid, kBrowserWait);
  if (!dialog) return false;
  ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  return true;
}

bool BrowserOpen(DWORD pid) { return WaitForDialog(pid, 0) != nullptr; }

void CloseBox(HWND box) { ::PostMessageW(box, WM_COMMAND, IDOK, 0); }

std::wstring WindowText(HWND h) {
  wchar_t buf[512] = {};
  ::GetWindowTextW(h, buf, 512);
  return buf;
}

}  // namespace tovel::e2e
