#include "tests/e2e/e2e_support.h"

#include <shlobj.h>

#include <vector>

namespace tovel::e2e {
namespace {

struct Search {
  DWORD pid;
  const std::wstring* title;
  const wchar_t* cls;
  HWND found = nullptr;
};

BOOL CALLBACK Match(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(h, &pid);
  if (pid != s->pid) return TRUE;
  wchar_t buf[256];
  if (s->cls) {
    ::GetClassNameW(h, buf, 256);
    if (wcscmp(buf, s->cls) != 0) return TRUE;
  }
  if (s->title) {
    ::GetWindowTextW(h, buf, 256);
    if (*s->title != buf) return TRUE;
  }
  s->found = h;
  return FALSE;
}

HWND Poll(DWORD pid, const std::wstring* title, const wchar_t* cls, DWORD ms) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    Search s{pid, title, cls};
    ::EnumWindows(Match, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (::GetTickCount() - start > ms) return nullptr;
    ::Sleep(50);
  }
}

BOOL CALLBACK LongestStatic(HWND h, LPARAM lp) {
  wchar_t cls[16];
  ::GetClassNameW(h, cls, 16);
  if (wcscmp(cls, L"Static") == 0) {
    wchar_t buf[512];
    ::GetWindowTextW(h, buf, 512);
    auto* best = reinterpret_cast<std::wstring*>(lp);
    if (wcslen(buf) > best->size()) *best = buf;
  }
  return TRUE;
}

}  // namespace

RunningProgram::~RunningProgram() {
  if (!pi_.hProcess) return;
  if (::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(pi_.hProcess, 1);
    ::WaitForSingleObject(pi_.hProcess, 5000);
  }
  ::CloseHandle(pi_.hThread);
  ::CloseHandle(pi_.hProcess);
}

RunningProgram& RunningProgram::operator=(RunningProgram&& o) noexcept {
  if (this != &o) {
    this->~RunningProgram();
    pi_ = o.pi_;
    o.pi_ = {};
  }
  return *this;
}

DWORD RunningProgram::WaitForExit(DWORD ms) const {
  if (::WaitForSingleObject(pi_.hProcess, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  ::GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring dir(self);
  dir.resize(dir.find_last_of(L'\\') + 1);
  return dir + TEXT(TOVEL_PROGRAM);
}

RunningProgram Launch(const std::wstring& exe) {
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
  // The program in the build folder starts as freshly installed each time: what an earlier
  // test left there (the board open, another volume) would change what the next one sees.
  if (exe == ProgramPath()) ::DeleteFileW((dir + L"\\歌曲配置.ini").c_str());
  if (!::CreateProcessW(exe.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi))
    return RunningProgram();
  return RunningProgram(pi);
}

// Found once it is shown: the program creates its window hidden and shows it after start-up.
HWND WaitForWindow(DWORD pid, const std::wstring& title, DWORD ms, const wchar_t* cls) {
  const DWORD start = ::GetTickCount();
  HWND h = Poll(pid, &title, cls, ms);
  while (h && !::IsWindowVisible(h) && ::GetTickCount() - start < ms) ::Sleep(20);
  return h;
}

// The box is found as soon as it exists; its text comes a moment later.
HWND WaitForMessageBox(DWORD pid, DWORD ms) {
  const DWORD start = ::GetTickCount();
  HWND box = Poll(pid, nullptr, L"#32770", ms);
  while (box && (!::IsWindowVisible(box) || MessageBoxText(box).empty())) {
    if (::GetTickCount() - start > ms + 5000) break;
    ::Sleep(50);
  }
  return box;
}

std::wstring MessageBoxText(HWND box) {
  std::wstring text;
  ::EnumChildWindows(box, LongestStatic, reinterpret_cast<LPARAM>(&text));
  return text;
}

DWORD CloseProgram(const RunningProgram& app, HWND mainWindow) {
  ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
  return app.WaitForExit(10000);
}

bool Answers(HWND window, DWORD ms) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, ms, &result) != 0;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = ::GetDC(nullptr);
  const COLORREF c = ::GetPixel(screen, x, y);
  ::ReleaseDC(nullptr, screen);
  return RGB(GetBValue(c), GetGValue(c), GetRValue(c));
}

std::vector<HWND> WindowsOfProcess(DWORD pid) {
  struct Search {
    DWORD pid;
    std::vector<HWND> found;
  } search{pid};
  ::EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(h, &owner);
        if (owner == s->pid) s->found.push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void RemoveMarker(const std::wstring& path) {
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW(path.c_str());
  ::RemoveDirectoryW(path.c_str());
}

std::wstring PrimaryMarker() { return L"c:\\Tovel音乐盒子2014"; }

std::wstring FallbackMarker() {
  wchar_t folder[MAX_PATH];
  ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return std::wstring(folder) + L"\\Tovel音乐盒子2014";
}

}  // namespace tovel::e2e
