#include <windows.h>
#include <psapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "tests/e2e/e2e_support.h"
#include "tests/e2e/song_list_support.h"

namespace tovel::e2e {
namespace {

constexpr int kPlayId = 0x007E;
constexpr int kElapsedId = 0x007C;
const wchar_t* const kPlanted[] = {L"gdiplus.dll", L"winmm.dll", L"msimg32.dll"};
// What the player loads for sure by the time a song plays; the blending library serves
// only controls the player does not have.
const wchar_t* const kUsed[] = {L"gdiplus.dll", L"winmm.dll"};

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  return s;
}

std::wstring PlantedDir() {
  const std::wstring program = ProgramPath();
  return program.substr(0, program.find_last_of(L'\\')) + L"\\planted";
}

// The full paths of the modules the process has loaded, in lower case.
std::vector<std::wstring> LoadedModules(HANDLE process) {
  HMODULE modules[512];
  DWORD bytes = 0;
  if (!::K32EnumProcessModules(process, modules, sizeof(modules), &bytes)) return {};
  std::vector<std::wstring> paths;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
    wchar_t path[MAX_PATH];
    if (::K32GetModuleFileNameExW(process, modules[i], path, MAX_PATH)) paths.push_back(Lower(path));
  }
  return paths;
}

std::wstring LoadedFrom(const std::vector<std::wstring>& modules, const std::wstring& name) {
  for (const auto& path : modules)
    if (path.size() > name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0 &&
        path[path.size() - name.size() - 1] == L'\\')
      return path;
  return {};
}

// Wine prefers its own copy of a system library unless told to try the native one first,
// which is what a Windows loader does with a DLL found beside the program.
class NativeFirst {
 public:
  NativeFirst() {
    wchar_t old[512] = {};
    had_ = ::GetEnvironmentVariableW(L"WINEDLLOVERRIDES", old, 512) > 0;
    old_ = old;
    ::SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"winmm,msimg32,gdiplus=n,b;mscoree,mshtml=");
  }
  ~NativeFirst() { ::SetEnvironmentVariableW(L"WINEDLLOVERRIDES", had_ ? old_.c_str() : nullptr); }

 private:
  bool had_ = false;
  std::wstring old_;
};

TEST(PlantedLibraries, LibrariesBesideTheProgramNeverLoadAndTheSystemOnesServe) {
  ScratchFolder folder(L"planted");
  const std::wstring song = CopySong(L"tone_440.mp3", folder, L"tone_440.mp3");
  WriteBytes(folder / L"歌曲配置.ini", GbkIni({song}));
  for (const wchar_t* name : kPlanted)
    ASSERT_TRUE(::CopyFileW((PlantedDir() + L"\\" + name).c_str(), (folder / name).c_str(), FALSE)) << name;

  RunningProgram app;
  {
    NativeFirst overrides;
    app = Launch(CopyProgramInto(folder));
  }
  ASSERT_TRUE(app.started());
  HWND player = WaitForWindow(app.pid(), kPlayerTitle, 20000);
  ASSERT_NE(player, nullptr) << "the program did not come up with libraries planted beside it";

  // Playing loads the media library; the skin has loaded the graphics library.
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(::GetDlgItem(player, kPlayId), BM_CLICK, 0, 0, SMTO_NORMAL, 15000, &result);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(::GetDlgItem(player, kElapsedId)) != L"00:00"; }, 10000))
      << "the song does not play";

  std::vector<std::wstring> modules;
  EXPECT_TRUE(WaitUntil(
      [&] {
        modules = LoadedModules(app.process());
        return std::all_of(std::begin(kUsed), std::end(kUsed),
                           [&](const wchar_t* name) { return !LoadedFrom(modules, name).empty(); });
      },
      10000));
  const std::wstring own = Lower(folder.path());
  for (const wchar_t* name : kUsed) EXPECT_FALSE(LoadedFrom(modules, name).empty()) << name << " was never loaded";
  for (const wchar_t* name : kPlanted) {
    const std::wstring from = LoadedFrom(modules, name);
    EXPECT_EQ(from.find(own), std::wstring::npos) << name << " came from beside the program: " << from;
    EXPECT_EQ(::GetFileAttributesW((folder / name + L".loaded").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the planted " << name << " ran inside the player";
  }
  EXPECT_EQ(CloseProgram(app, player), 0u);
}

}  // namespace
}  // namespace tovel::e2e
