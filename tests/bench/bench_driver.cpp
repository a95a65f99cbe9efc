// Prints the player's start-up and CPU figures next to bare programs doing the same work.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
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

// The stored list and the tag-title switch, both as a Chinese system writes them.
void WriteIniWithSwitch(const std::wstring& dir, const std::vector<std::string>& paths, bool tagTitles) {
  std::string value;
  for (const auto& p : paths) value += p + "|";
  const std::string section = "\xB8\xE8\xC7\xFA\xD0\xC5\xCF\xA2";  // 歌曲信息
  const std::string key = "\xB8\xE8\xC7\xFA\xC1\xD0\xB1\xED";      // 歌曲列表
  const std::string state = "\xB2\xA5\xB7\xC5\xD7\xB4\xCC\xAC";    // 播放状态
  const std::string titles = "\xB1\xEA\xC7\xA9\xB1\xEA\xCC\xE2";   // 标签标题
  WriteBytes(dir + L"\\\x6B4C\x66F2\x914D\x7F6E.ini", "[" + section + "]\r\n" + key + "=" + value + "\r\n[" + state +
                                                        "]\r\n" + titles + "=" + (tagTitles ? "1" : "0") + "\r\n");
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
    // Visible means start-up has run: the program shows its window after it.
    if (HWND h = ::FindWindowW(nullptr, title); h && ::IsWindowVisible(h)) return h;
    ::Sleep(1);
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

BOOL CALLBACK NoteDirty(HWND h, LPARAM dirty) {
  if (::IsWindowVisible(h) && ::GetUpdateRect(h, nullptr, FALSE)) *reinterpret_cast<bool*>(dirty) = true;
  return TRUE;
}

// Neither the window nor a visible child has anything left to paint.
bool Painted(HWND w) {
  bool dirty = ::GetUpdateRect(w, nullptr, FALSE) != FALSE;
  ::EnumChildWindows(w, NoteDirty, reinterpret_cast<LPARAM>(&dirty));
  return !dirty;
}

// Seconds from process start until the window is shown, wholly painted, answers a message
// and its list box holds `count` entries: the user sees it and can use it. (WaitForInputIdle
// measures nothing under Wine: it returns before the program's main function has run.)
double TimeToReady(const std::wstring& exe, const std::wstring& args, const wchar_t* title, int count) {
  Process p;
  const double t0 = Now();
  if (!Start(p, exe, args)) return -1;
  HWND w = WaitWindow(title, 60000);
  HWND list = w ? ::GetDlgItem(w, 0x76) : nullptr;
  double t = -1;
  while (list && Now() - t0 < 60) {
    DWORD_PTR n = 0;
    if (::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &n) && static_cast<int>(n) == count &&
        Painted(w)) {
      t = Now() - t0;
      break;
    }
    ::Sleep(1);
  }
  if (w) Close(p, w);
  return t;
}

struct Figures {
  double best = -1;
  double median = -1;
};

Figures Summarise(std::vector<double> v) {
  std::erase_if(v, [](double x) { return x < 0; });
  if (v.empty()) return {};
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return {v.front(), n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2};
}

// The program and the bare window started in turn, so both meet the same machine load.
void CompareStartup(const char* label, const std::wstring& program, const wchar_t* title,
                    const std::wstring& bareArgs, int count, int runs, double target) {
  std::vector<double> mine, bare;
  for (int r = 0; r < runs; ++r) {
    mine.push_back(TimeToReady(program, L"", title, count));
    bare.push_back(TimeToReady(Beside(L"bench_bare_list.exe"), bareArgs, L"bare list", count));
  }
  const Figures m = Summarise(mine), b = Summarise(bare);
  std::printf("%s: program best %.3f s median %.3f s, bare window best %.3f s median %.3f s, "
              "ratio best %.2f median %.2f (target <= %.1f; alternating, %d each)\n",
              label, m.best, m.median, b.best, b.median, m.best / b.best, m.median / b.median, target, runs);
}

std::string ReadAll(const std::wstring& path) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string out;
  char buf[4096];
  DWORD n = 0;
  while (::ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
  ::CloseHandle(f);
  return out;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Under Wine a process's CPU time shows only on the Unix side: sum utime + stime of every
// Unix process whose command line names the program by its full path (other test runs
// may be running copies of the same program elsewhere), in clock ticks of 1/100 s.
double UnixCpuSeconds(const std::wstring& program) {
  const std::string exe = Lower(std::string(program.begin(), program.end()));
  // A program on drive Z: may show under its Unix path instead.
  std::string unixExe = exe.starts_with("z:") ? exe.substr(2) : std::string("\x01");
  std::replace(unixExe.begin(), unixExe.end(), '\\', '/');
  double total = 0;
  WIN32_FIND_DATAW d;
  HANDLE find = ::FindFirstFileW(L"Z:\\proc\\*", &d);
  if (find == INVALID_HANDLE_VALUE) return -1;
  do {
    if (d.cFileName[0] < L'0' || d.cFileName[0] > L'9') continue;
    const std::wstring dir = std::wstring(L"Z:\\proc\\") + d.cFileName;
    const std::string cmd = Lower(ReadAll(dir + L"\\cmdline"));
    if (cmd.find(exe) == std::string::npos && cmd.find(unixExe) == std::string::npos) continue;
    const std::string stat = ReadAll(dir + L"\\stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    // Fields after the command: state is field 3; utime and stime are fields 14 and 15.
    unsigned long long utime = 0, stime = 0;
    std::sscanf(stat.c_str() + close + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime);
    total += (utime + stime) / 100.0;
  } while (::FindNextFileW(find, &d));
  ::FindClose(find);
  return total;
}

// Percent of one core used by `program` over `ms`, read from both sides; the larger wins.
double CpuPercentOver(HANDLE process, const std::wstring& program, DWORD ms) {
  const double c0 = CpuSeconds(process), u0 = UnixCpuSeconds(program), t0 = Now();
  ::Sleep(ms);
  const double elapsed = Now() - t0;
  const double windows = 100.0 * (CpuSeconds(process) - c0) / elapsed;
  const double unix = u0 < 0 ? 0 : 100.0 * (UnixCpuSeconds(program) - u0) / elapsed;
  return windows > unix ? windows : unix;
}

std::string NumberText(int i) {
  std::string n = std::to_string(i);
  return i < 10 ? "00" + n : i < 100 ? "0" + n : n;
}

const wchar_t kTitle[] = L"[Tovel\x97F3\x4E50\x76D2] -Tovel\x97F3\x4E50\x76D2\x64AD\x653E\x5668";
const wchar_t kBoardTitle[] = L"[Tovel\x97F3\x4E50\x76D2] -Tovel\x97F3\x6548";
constexpr int kRuns = 5;

// Start-up with an empty list (the fixed cost of the program) and with 10,000 stored paths.
void StartupFigures(const std::wstring& dir, const std::wstring& program) {
  WriteIni(dir, {});
  WriteBytes(dir + L"\\empty.txt", "");
  TimeToReady(program, L"", kTitle, 0);  // the first start of a prefix pays for its font caches
  CompareStartup("startup_empty_list", program, kTitle, dir + L"\\empty.txt", 0, kRuns, 1.2);

  std::vector<std::string> paths;
  std::wstring texts;
  for (int i = 1; i <= 10000; ++i) {
    char name[64];
    std::snprintf(name, sizeof name, "song %05d", i);
    paths.push_back(std::string("C:\\bench\\") + name + ".mp3");
    std::string shown = NumberText(i) + "|" + name;
    texts += std::wstring(shown.begin(), shown.end()) + L"\n";
  }
  WriteIni(dir, paths);
  WriteBytes(dir + L"\\texts.txt", std::string(reinterpret_cast<const char*>(texts.data()), texts.size() * 2));
  CompareStartup("startup_10000_paths", program, kTitle, dir + L"\\texts.txt", 10000, kRuns, 1.5);
}

std::string BigEndian(std::uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
}

// A small MP3: an ID3v2.3 tag with a title and artist, then a few silent frames.
std::string TaggedSong(const std::string& title) {
  auto frame = [](const char* id, const std::string& text) {
    return std::string(id, 4) + BigEndian(static_cast<std::uint32_t>(text.size() + 1)) + std::string(3, '\0') + text;
  };
  const std::string body = frame("TIT2", title) + frame("TPE1", "Bench Band");
  const std::uint32_t n = static_cast<std::uint32_t>(body.size());
  std::string tag = std::string("ID3\x03\x00\x00", 6);
  for (int i = 3; i >= 0; --i) tag += static_cast<char>((n >> (7 * i)) & 0x7F);
  std::string audio = "\xFF\xFB\x90\x64";
  audio.resize(417 * 4, '\0');
  return tag + body + audio;
}

// A row's text; the buffer is larger than any row can be (titles are cut at 200 characters),
// as the row may change between asking for its length and for its text.
std::wstring RowText(HWND list, int row) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(list, LB_GETTEXTLEN, row, 0, SMTO_NORMAL, 5000, &length) || length > 1024) return {};
  std::wstring text(4096, L'\0');
  DWORD_PTR got = 0;
  if (!::SendMessageTimeoutW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000, &got) ||
      got > 1024)
    return {};
  text.resize(got);
  return text;
}

// Seconds from process start until the list shows `count` rows, and until its last row
// shows `lastTitle` (-1 when the titles are not asked for or never came).
std::pair<double, double> TimeToTitles(const std::wstring& program, int count, const std::wstring& lastTitle) {
  Process p;
  const double t0 = Now();
  if (!Start(p, program, L"")) return {-1, -1};
  HWND w = WaitWindow(kTitle, 60000);
  HWND list = w ? ::GetDlgItem(w, 0x76) : nullptr;
  double shown = -1, filled = -1;
  while (list && Now() - t0 < 60) {
    DWORD_PTR n = 0;
    // Shown once every row is in: titles arriving keep parts of it to be painted again.
    if (shown < 0 && ::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &n) &&
        static_cast<int>(n) == count)
      shown = Now() - t0;
    if (shown >= 0 && (lastTitle.empty() || RowText(list, count - 1) == lastTitle)) {
      if (!lastTitle.empty()) filled = Now() - t0;
      break;
    }
    ::Sleep(1);
  }
  if (w) Close(p, w);
  return {shown, filled};
}

// 10,000 tagged songs on disk: the list with the switch off and on, and all titles in.
// TOVEL_BENCH_SONGS may ask for fewer, to try the bench itself quickly.
int SongCount() {
  const char* asked = std::getenv("TOVEL_BENCH_SONGS");
  const int n = asked ? std::atoi(asked) : 0;
  return n > 0 ? n : 10000;
}

void TitleFigures(const std::wstring& dir, const std::wstring& program) {
  const std::wstring songs = dir + L"\\songs";
  ::CreateDirectoryW(songs.c_str(), nullptr);
  std::vector<std::string> paths;
  std::string windowsDir(songs.begin(), songs.end());
  const int count = SongCount();
  for (int i = 1; i <= count; ++i) {
    const std::string name = "song " + std::to_string(i) + ".mp3";
    WriteBytes(songs + L"\\" + std::wstring(name.begin(), name.end()), TaggedSong("Title " + std::to_string(i)));
    paths.push_back(windowsDir + "\\" + name);
  }
  const std::wstring last = std::to_wstring(count) + L"|Title " + std::to_wstring(count) + L" - Bench Band";
  std::vector<double> off, on, filled;
  WriteIniWithSwitch(dir, paths, false);
  TimeToTitles(program, count, L"");  // the first start of a prefix pays for its font caches
  for (int r = 0; r < 3; ++r) {
    WriteIniWithSwitch(dir, paths, false);
    off.push_back(TimeToTitles(program, count, L"").first);
    WriteIniWithSwitch(dir, paths, true);
    const auto [shown, all] = TimeToTitles(program, count, last);
    on.push_back(shown);
    filled.push_back(all);
    if (all < 0) break;  // a program without tag titles: one minute spent is enough
  }
  for (int i = 1; i <= count; ++i) ::DeleteFileW((songs + L"\\song " + std::to_wstring(i) + L".mp3").c_str());
  ::RemoveDirectoryW(songs.c_str());
  const Figures a = Summarise(off), b = Summarise(on), c = Summarise(filled);
  std::printf("titles_%d_songs: list shown with file names best %.3f s median %.3f s, with tag titles "
              "best %.3f s median %.3f s, every title in best %.3f s median %.3f s (3 runs each)\n", count,
              a.best, a.median, b.best, b.median, c.best, c.median);
}

// CPU while a song plays for 20 s, against a bare program playing it through MCI.
void PlayingFigures(const std::wstring& dir, const std::wstring& program) {
  std::string song = "Z:" + std::string(getenv("TOVEL_BENCH_SONG") ? getenv("TOVEL_BENCH_SONG") : "");
  for (char& c : song)
    if (c == '/') c = '\\';
  WriteIni(dir, {song});
  double programCpu = -1, bareCpu = -1;
  {
    Process p;
    Start(p, program, L"");
    HWND w = WaitWindow(kTitle, 60000);
    if (w) {
      ::PostMessageW(::GetDlgItem(w, 0x7E), BM_CLICK, 0, 0);
      ::Sleep(1500);
      programCpu = CpuPercentOver(p.pi.hProcess, program, 20000);
      wchar_t elapsed[16] = L"";
      ::GetWindowTextW(::GetDlgItem(w, 0x7C), elapsed, 16);
      std::printf("(the player showed %ls after the measurement)\n", elapsed);
      Close(p, w);
    }
  }
  {
    Process p;
    if (Start(p, Beside(L"bench_bare_play.exe"), std::wstring(song.begin(), song.end()))) {
      ::Sleep(1500);
      bareCpu = CpuPercentOver(p.pi.hProcess, Beside(L"bench_bare_play.exe"), 20000);
    }
  }
  std::printf("playing_cpu_percent_of_one_core: program %.2f %%, bare MCI player %.2f %%, ratio %.2f, "
              "difference %.2f points (targets: ratio <= 1.5, difference < 1)\n",
              programCpu, bareCpu, bareCpu > 0 ? programCpu / bareCpu : 0.0, programCpu - bareCpu);
}

// CPU of the idle player for 20 s, then of the same process with the sound board open and idle.
void IdleFigures(const std::wstring& dir, const std::wstring& program) {
  WriteIni(dir, {});
  Process p;
  Start(p, program, L"");
  HWND w = WaitWindow(kTitle, 60000);
  double alone = -1, board = -1;
  if (w) {
    ::Sleep(1500);
    alone = CpuPercentOver(p.pi.hProcess, program, 20000);
    ::PostMessageW(::GetDlgItem(w, 0x7B), BM_CLICK, 0, 0);
    if (WaitWindow(kBoardTitle, 20000)) {
      ::Sleep(1500);
      board = CpuPercentOver(p.pi.hProcess, program, 20000);
    }
    Close(p, w);
  }
  std::printf("idle_cpu_percent_of_one_core: player alone %.2f %%, with the sound board open %.2f %%, "
              "difference %.2f points (target <= 0.2)\n", alone, board, board - alone);
}

}  // namespace

// With arguments, only the sections named run: startup, playing, idle.
int wmain(int argc, wchar_t** argv) {
  auto wanted = [&](const wchar_t* section) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
      if (wcscmp(argv[i], section) == 0) return true;
    return false;
  };
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  gBin = self;
  gBin.resize(gBin.find_last_of(L'\\') + 1);
  const std::wstring dir = MakeSandbox();
  const std::wstring program = dir + L"\\TovelMusicBox.exe";
  if (wanted(L"startup")) StartupFigures(dir, program);
  if (wanted(L"playing")) PlayingFigures(dir, program);
  if (wanted(L"idle")) IdleFigures(dir, program);
  if (wanted(L"titles")) TitleFigures(dir, program);
  return 0;
}
