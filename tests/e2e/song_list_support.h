#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tovel::e2e {

// The list export the program writes at exit.
inline const std::wstring kExportFile = L"c:\\ge.dll";
// The instance markers and the export, as a run of the program leaves them.
void ClearRunTraces();

// A folder of its own under the temporary directory, removed with everything in it.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& tag);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// A copy of the program in `folder`, so its configuration file starts fresh there.
std::wstring CopyProgramInto(const ScratchFolder& folder);

// Copies a test song (from testdata beside the tests) into `folder` under `name`.
std::wstring CopySong(const std::wstring& song, const ScratchFolder& folder, const std::wstring& name);

std::string FileBytes(const std::wstring& path);  // "<missing>" when it cannot be read
void WriteBytes(const std::wstring& path, const std::string& bytes);
// "[歌曲信息]" / "歌曲列表=" with the paths each followed by "|", in GBK as a Chinese system writes it.
std::string GbkIni(const std::vector<std::wstring>& paths);
std::string Gbk(const std::wstring& text);

std::vector<std::wstring> ListItems(HWND list);
// Polls until the list holds `count` entries; false on timeout.
bool WaitForListCount(HWND list, int count, DWORD ms);

// Clicks a button of the player window without waiting for what it starts.
void PostClick(HWND player, int childId);

// The folder browser of `process`: waits for it, then chooses `folder` or cancels.
bool ChooseFolder(HANDLE process, DWORD pid, const std::wstring& folder);
bool CancelFolderBrowser(DWORD pid);
// Waits for a visible dialog of the process, whatever its title; null on timeout.
HWND WaitForDialog(DWORD pid, DWORD ms);
// Whether `pid` shows a dialog (the folder browser) right now.
bool BrowserOpen(DWORD pid);

// Closes a message box as its OK button would.
void CloseBox(HWND box);

std::wstring WindowText(HWND h);

}  // namespace tovel::e2e
