#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tovel::e2e {

inline const std::wstring kPlayerTitle = L"[Tovel音乐盒] -Tovel音乐盒播放器";
inline const std::wstring kBoardTitle = L"[Tovel音乐盒] -Tovel音效";

// A started copy of the program; ended (if still running) when this goes.
class RunningProgram {
 public:
  RunningProgram() = default;
  explicit RunningProgram(PROCESS_INFORMATION pi) : pi_(pi) {}
  ~RunningProgram();
  RunningProgram(RunningProgram&& o) noexcept : pi_(o.pi_) { o.pi_ = {}; }
  RunningProgram& operator=(RunningProgram&& o) noexcept;
  RunningProgram(const RunningProgram&) = delete;

  DWORD pid() const { return pi_.dwProcessId; }
  HANDLE process() const { return pi_.hProcess; }
  bool started() const { return pi_.hProcess != nullptr; }
  // Waits for the process to end; its exit code, or nullopt-like STILL_ACTIVE on timeout.
  DWORD WaitForExit(DWORD ms) const;

 private:
  PROCESS_INFORMATION pi_{};
};

// The program beside this test executable.
std::wstring ProgramPath();

RunningProgram Launch(const std::wstring& exe);

// Polls for a top-level window of the process with this class (or any, if empty) and title.
HWND WaitForWindow(DWORD pid, const std::wstring& title, DWORD ms, const wchar_t* cls = nullptr);
HWND WaitForMessageBox(DWORD pid, DWORD ms);
std::wstring MessageBoxText(HWND box);

// Closes the player window and waits for the program to end; returns its exit code.
DWORD CloseProgram(const RunningProgram& app, HWND mainWindow);

// Polls until `done()` holds or `ms` pass; whether it held. A test waits for what it
// expects this way, never for a fixed time, so a slow machine makes it slower, not wrong.
template <class Pred>
bool WaitUntil(Pred done, DWORD ms = 5000) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > ms) return false;
    ::Sleep(10);
  }
  return true;
}

// True once the window's thread has handled everything sent to it before: a round trip.
bool Answers(HWND window, DWORD ms = 15000);

// The top-level windows of the process, shown or not.
std::vector<HWND> WindowsOfProcess(DWORD pid);

// A screen pixel as 0x00RRGGBB.
COLORREF ScreenPixel(int x, int y);

void RemoveMarker(const std::wstring& path);
std::wstring PrimaryMarker();
std::wstring FallbackMarker();

}  // namespace tovel::e2e
