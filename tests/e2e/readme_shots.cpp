// Makes the README's pictures: the player playing a song with the sound board docked
// under it, the player as it starts, and the skin gallery. Run by
// scripts/screenshots.sh under Wine; writes PNG files into the folder given.
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/text.h"
#include "gfx/graphics_object.h"
#include "gfx/image.h"
#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kListId = 0x0076, kElapsedId = 0x007C, kBoardButton = 0x007B, kSearchField = 0x3E70;

// The screen's pixels in a rectangle, saved as a PNG file.
bool Save(const RECT& r, const std::wstring& file) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP shot = ::CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = ::SelectObject(memory, shot);
  ::BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  ::SelectObject(memory, old);
  Bitmap picture;
  const bool saved = picture.CreateFromHBITMAP(shot, nullptr) &&
                     picture.SaveToFile(Narrow(file), Text(kImageFormatPng));
  ::DeleteObject(shot);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  std::printf("%s %ls\n", saved ? "wrote" : "could not write", file.c_str());
  return saved;
}

RECT Around(HWND a, HWND b = nullptr) {
  RECT r;
  ::GetWindowRect(a, &r);
  if (b) {
    RECT s;
    ::GetWindowRect(b, &s);
    ::UnionRect(&r, &r, &s);
  }
  return r;
}

// The board with the pointer resting on its own pad, the pad's tip showing.
bool ShootPadTip(const RunningProgram& app, HWND player, HWND board, const std::wstring& file) {
  RECT pad = Around(::GetDlgItem(board, 0x3CC4));
  ::SetCursorPos((pad.left + pad.right) / 2, (pad.top + pad.bottom) / 2);
  HWND tip = nullptr;
  WaitUntil([&] {
    for (HWND h : WindowsOfProcess(app.pid())) {
      wchar_t cls[64] = {};
      ::GetClassNameW(h, cls, 64);
      if (::IsWindowVisible(h) && std::wstring(cls) == L"tooltips_class32") tip = h;
    }
    return tip != nullptr;
  }, 8000);
  ::Sleep(300);  // the tip's fade reaches the screen
  RECT r = Around(player, board);
  if (tip) {
    RECT t = Around(tip);
    ::UnionRect(&r, &r, &t);
  }
  r.top = Around(board).top;
  const bool ok = tip && Save(r, file);
  ::SetCursorPos(900, 900);
  return ok;
}

// The pictures go into the folder `out`, each name ended by `suffix`.
bool Shoot(const std::wstring& out, const std::wstring& suffix) {
  ScratchFolder folder(L"shots");
  const std::vector<std::wstring> songs = {CopySong(L"long_330.mp3", folder, L"海边的风.mp3"),
                                           CopySong(L"tone_440.mp3", folder, L"清晨.mp3"),
                                           CopySong(L"tone_660.mp3", folder, L"Morning Light.mp3")};
  // The board's first pad holds a sound of the user's, with a hot key (Ctrl+Alt+F9).
  const std::wstring rain = CopySong(L"tone_440.mp3", folder, L"窗外的雨声.mp3");
  WriteBytes(folder / L"歌曲配置.ini",
             GbkIni(songs) + Gbk(L"[音效板]\r\n声音1=" + rain + L"\r\n热键1=" + std::to_wstring(0x600 | VK_F9) + L"\r\n"));
  RunningProgram app = Launch(CopyProgramInto(folder));
  HWND player = app.started() ? WaitForWindow(app.pid(), kPlayerTitle, 20000) : nullptr;
  if (!player) return false;
  ::SetCursorPos(900, 900);
  ::WaitForInputIdle(app.process(), 5000);
  bool ok = Save(Around(player), out + L"\\player" + suffix + L".png");
  // A character typed in the list opens the search; Esc closes it again.
  HWND list = ::GetDlgItem(player, kListId);
  ::PostMessageW(list, WM_CHAR, L'清', 1);
  WaitUntil([&] { return ::SendMessageW(list, LB_GETCOUNT, 0, 0) == 1; }, 5000);
  ::WaitForInputIdle(app.process(), 5000);
  ::Sleep(500);  // the last paints reach the screen
  ok = Save(Around(player), out + L"\\search" + suffix + L".png") && ok;
  ::PostMessageW(::GetDlgItem(player, kSearchField), WM_KEYDOWN, VK_ESCAPE, 1);
  WaitUntil([&] { return ::SendMessageW(list, LB_GETCOUNT, 0, 0) == 3; }, 5000);
  // A double click on the first song plays it; two seconds in, the board opens below.
  ::PostMessageW(player, WM_COMMAND, MAKEWPARAM(kListId, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
  WaitUntil([&] { return WindowText(::GetDlgItem(player, kElapsedId)) == L"00:03"; }, 15000);
  PostClick(player, kBoardButton);
  HWND board = WaitForWindow(app.pid(), kBoardTitle, 10000);
  if (board) {
    WaitUntil([&] { return Around(board).top == Around(player).bottom; }, 5000);
    ::WaitForInputIdle(app.process(), 5000);
    ::Sleep(500);  // the last paints reach the screen
    ok = Save(Around(player, board), out + L"\\player_and_board" + suffix + L".png") && ok;
    ok = ShootPadTip(app, player, board, out + L"\\board_own_pad" + suffix + L".png") && ok;
  }
  CloseProgram(app, player);
  return ok && board;
}

bool ShootGallery(const std::wstring& out, const std::wstring& suffix) {
  RunningProgram gallery = Launch(ProgramPath().substr(0, ProgramPath().find_last_of(L'\\') + 1) + L"SkinGallery.exe");
  HWND window = gallery.started() ? WaitForWindow(gallery.pid(), L"Tovel 皮肤样板", 20000) : nullptr;
  if (!window) return false;
  ::WaitForInputIdle(gallery.process(), 5000);
  ::Sleep(500);
  const bool ok = Save(Around(window), out + L"\\gallery" + suffix + L".png");
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  gallery.WaitForExit(5000);
  return ok;
}

}  // namespace
}  // namespace tovel::e2e

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::printf("usage: readme_shots <folder> [name suffix]\n");
    return 2;
  }
  tovel::StartGraphics();
  const std::wstring suffix = argc > 2 ? argv[2] : L"";
  const bool player = tovel::e2e::Shoot(argv[1], suffix);
  const bool gallery = tovel::e2e::ShootGallery(argv[1], suffix);
  tovel::ShutdownGraphics();
  return player && gallery ? 0 : 1;
}
