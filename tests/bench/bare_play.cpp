// Baseline for the playback figure: plays one file through MCI and idles in a message loop.
#include <windows.h>
#include <mmsystem.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR cmd, int) {
  std::wstring open = L"open \"" + std::wstring(cmd) + L"\" type MPEGvideo alias bare";
  ::mciSendStringW(open.c_str(), nullptr, 0, nullptr);
  ::mciSendStringW(L"play bare", nullptr, 0, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
