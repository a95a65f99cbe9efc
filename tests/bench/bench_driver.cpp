// Prints the player's start-up and CPU figures next to bare programs doing the same work.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring gBin;  // folder of this program

std::wstring Beside(const wchar_t* name) { return gBin + name; }

std::wstring MakeSandbox() {
  wchar_t tmp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, tmp);
  std::wstring dir = std::wstring(tmp) + L"tovel-bench-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(dir.c_str(), nullptr);
  ::CopyFileW(Beside(L"TovelMusicBox.exe").c_str(), (dir + L"\\TovelMusicBox.exe").c_str(), FALSE);
  return dir;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  ::CloseHandle(f);
}

// The stored list as the profile functions write it on a Chinese system (GBK, CR LF).
void WriteIni(const std::wstring& dir, const std::vector<std::string>& paths) {
  std::string value;
  for (const auto& p : paths) value += p + "|";
  const std::string section = "\xB8\xE8\xC7\xFA\xD0\xC5\xCF\xA2";  // 歌曲信息
  const std::string key = "\xB8\xE8\xC7\xFA\xC1\xD0\xB1\xED";      // 歌曲列表
  WriteBytes(dir + L"\\\x6B4C\x66F2\x914D\x7F6E.ini", "[" + section + "]\r\n" + key + "=" + value + "\r\n");
}

struct Process {
  PROCESS_INFORMATION pi{};
  ~Process() {
    if (!pi.hProcess) return;
    if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) ::TerminateProcess(pi.hProcess, 1);
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
  }
};

bool Start(Process& p, const std::wstring& exe, const std::wstring& args) {
  STARTUPINFOW si{sizeof(si)};
  std::wstring cmd = L"\"" + exe + L"\" " + args;
  std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
  return ::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &p.pi);
}

HWND WaitWindow(const wchar_t* title, DWORD ms) {
  const DWORD start = ::GetTickCount();
  while (::GetTickCount() - start < ms) {
    if (HWND h = ::FindWindowW(nullptr, title)) return h;
    ::Sleep(5);
  }
  return nullptr;
}

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / f.QuadPart;
}

double CpuSeconds(HANDLE process) {
  FILETIME a, b, k, u;
  ::GetProcessTimes(process, &a, &b, &k, &u);
  auto v = [](FILETIME t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7; };
  return v(k) + v(u);
}

void Close(Process& p, HWND window) {
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  ::WaitForSingleObject(p.pi.hProcess, 15000);
}

// Seconds from process start until the list box holds `count` entries.
double TimeToList(const std::wstring& exe, const std::wstring& args, const wchar_t* title, int count) {
  Process p;
  const double t0 = Now();
  if (!Start(p, exe, args)) return -1;
  HWND w = WaitWindow(title, 60000);
  HWND list = w ? ::GetDlgItem(w, 0x76) : nullptr;
  DWORD_PTR n = 0;
  while (list && ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &n) && static_cast<int>(n) < count)
    ::Sleep(2);
  const double t = Now() - t0;
  if (w) Close(p, w);
  return static_cast<int>(n) == count ? t : -1;
}

double CpuPercentOver(HANDLE process, DWORD ms) {
  const double c0 = CpuSeconds(process), t0 = Now();
  ::Sleep(ms);
  return 100.0 * (CpuSeconds(process) - c0) / (Now() - t0);
}

std::string NumberText(int i) {
  std::string n = std::to_string(i);
  return i < 10 ? "00" + n : i < 100 ? "0" + n : n;
}

}  // namespace

int wmain() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  gBin = self;
  gBin.resize(gBin.find_last_of(L'\\') + 1);
  const std::wstring dir = MakeSandbox();
  const std::wstring program = dir + L"\\TovelMusicBox.exe";
  const wchar_t* title = L"[Tovel\x97F3\x4E50\x76D2] -Tovel\x97F3\x4E50\x76D2\x64AD\x653E\x5668";
  const int runs = 3;

  // 1. Start-up with 10,000 stored paths.
  std::vector<std::string> paths;
  std::wstring texts = L"";
  for (int i = 1; i <= 10000; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "song %05d", i);
    paths.push_back(std::string("C:\\bench\\") + name + ".mp3");
    std::string shown = NumberText(i) + "|" + name;
    texts += std::wstring(shown.begin(), shown.end()) + L"\n";
  }
  WriteIni(dir, paths);
  std::string utf16(reinterpret_cast<const char*>(texts.data()), texts.size() * 2);
  WriteBytes(dir + L"\\texts.txt", utf16);
  double best = 1e9, bestBare = 1e9;
  for (int r = 0; r < runs; ++r) {
    const double t = TimeToList(program, L"", title, 10000);
    const double b = TimeToList(Beside(L"bench_bare_list.exe"), dir + L"\\texts.txt", L"bare list", 10000);
    if (t > 0 && t < best) best = t;
    if (b > 0 && b < bestBare) bestBare = b;
  }
  std::printf("startup_10000_paths: program %.3f s, bare list box %.3f s, ratio %.2f (target <= 1.5; best of %d)\n",
              best, bestBare, best / bestBare, runs);

  // 2. CPU while a song plays for 20 s.
  const std::string song = "Z:" + std::string(getenv("TOVEL_BENCH_SONG") ? getenv("TOVEL_BENCH_SONG") : "");
  std::string dosSong = song;
  for (char& c : dosSong)
    if (c == '/') c = '\\';
  WriteIni(dir, {dosSong});
  double programCpu = -1, bareCpu = -1;
  {
    Process p;
    Start(p, program, L"");
    HWND w = WaitWindow(title, 60000);
    if (w) {
      ::PostMessageW(::GetDlgItem(w, 0x7E), BM_CLICK, 0, 0);
      ::Sleep(1500);
      programCpu = CpuPercentOver(p.pi.hProcess, 20000);
      Close(p, w);
    }
  }
  {
    Process p;
    std::wstring wsong(dosSong.begin(), dosSong.end());
    if (Start(p, Beside(L"bench_bare_play.exe"), wsong)) {
      ::Sleep(1500);
      bareCpu = CpuPercentOver(p.pi.hProcess, 20000);
    }
  }
  std::printf("playing_cpu_percent_of_one_core: program %.2f %%, bare MCI player %.2f %%, ratio %.2f, "
              "difference %.2f points (targets: ratio <= 1.5, difference < 1)\n",
              programCpu, bareCpu, bareCpu > 0 ? programCpu / bareCpu : 0.0, programCpu - bareCpu);

  // 3. CPU with the sound board open and idle.
  WriteIni(dir, {});
  {
    Process p;
    Start(p, program, L"");
    HWND w = WaitWindow(title, 60000);
    double idle = -1;
    if (w) {
      ::PostMessageW(::GetDlgItem(w, 0x7B), BM_CLICK, 0, 0);
      if (WaitWindow(L"[Tovel\x97F3\x4E50\x76D2] -Tovel\x97F3\x6548", 20000)) {
        ::Sleep(1500);
        idle = CpuPercentOver(p.pi.hProcess, 20000);
      }
      Close(p, w);
    }
    std::printf("board_open_idle_cpu_percent_of_one_core: %.2f %% (target < 1)\n", idle);
  }
  return 0;
}
