// Baseline for the start-up figure: a plain window whose list box gets the same
// 10,000 texts that the player shows, read from a UTF-16 file given on the command line.
#include <windows.h>

#include <string>
#include <vector>

static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(h, m, w, l);
}

int WINAPI wWinMain(HINSTANCE inst, HINSTANCE, PWSTR cmd, int) {
  std::vector<std::wstring> items;
  HANDLE f = ::CreateFileW(cmd, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD size = ::GetFileSize(f, nullptr), n = 0;
    std::wstring text(size / 2, L'\0');
    ::ReadFile(f, text.data(), size, &n, nullptr);
    ::CloseHandle(f);
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i)
      if (text[i] == L'\n') {
        items.push_back(text.substr(start, i - start));
        start = i + 1;
      }
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"BareList";
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowW(L"BareList", L"bare list", WS_OVERLAPPEDWINDOW, 50, 50, 351, 391, nullptr, nullptr,
                           inst, nullptr);
  HWND list = ::CreateWindowW(L"ListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 3, 105, 344, 223, w,
                              reinterpret_cast<HMENU>(0x76), inst, nullptr);
  for (const auto& s : items) ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  ::ShowWindow(w, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
