// Baseline for the start-up figures: a plain 351 x 391 window painted with the player's
// JPEG (decoded with libjpeg, stretched to the client) and a list box that gets the texts
// of a UTF-16 file given on the command line, one per line.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

HBITMAP gPicture;
int gWidth, gHeight;

// No error handling beyond libjpeg's own: the picture is built in and known good.
void DecodePicture() {
  HRSRC res = ::FindResourceW(nullptr, L"PICTURE", MAKEINTRESOURCEW(10));
  const auto* data = static_cast<const unsigned char*>(::LockResource(::LoadResource(nullptr, res)));
  jpeg_decompress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, ::SizeofResource(nullptr, res));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&info);
  gWidth = static_cast<int>(info.output_width);
  gHeight = static_cast<int>(info.output_height);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(bi.bmiHeader), gWidth, -gHeight, 1, 32, BI_RGB};
  void* bits = nullptr;
  gPicture = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = static_cast<unsigned char*>(bits) + info.output_scanline * gWidth * 4;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND) {
    RECT rc;
    ::GetClientRect(h, &rc);
    HDC src = ::CreateCompatibleDC(reinterpret_cast<HDC>(w));
    HGDIOBJ old = ::SelectObject(src, gPicture);
    ::SetStretchBltMode(reinterpret_cast<HDC>(w), HALFTONE);
    ::StretchBlt(reinterpret_cast<HDC>(w), 0, 0, rc.right, rc.bottom, src, 0, 0, gWidth, gHeight, SRCCOPY);
    ::SelectObject(src, old);
    ::DeleteDC(src);
    return 1;
  }
  if (m == WM_DESTROY) ::PostQuitMessage(0);
  return ::DefWindowProcW(h, m, w, l);
}

}  // namespace

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
  DecodePicture();
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.lpszClassName = L"BareList";
  ::RegisterClassW(&wc);
  HWND w = ::CreateWindowW(L"BareList", L"bare list", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50, 351, 391,
                           nullptr, nullptr, inst, nullptr);
  HWND list = ::CreateWindowW(L"ListBox", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 3, 105, 344, 223, w,
                              reinterpret_cast<HMENU>(0x76), inst, nullptr);
  for (const auto& s : items) ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  ::ShowWindow(w, SW_SHOW);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
  return 0;
}
