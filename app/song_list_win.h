#pragma once

#include <memory>
#include <string>

#include "app/song_list.h"

namespace tovel {

class Runtime;

inline constexpr wchar_t kExportFilePath[] = L"c:\\ge.dll";

// The song list's platform side: the configuration file beside the program, the
// shell's folder browser, files on disk, and the list export at `exportPath`.
std::unique_ptr<SongStorage> MakeWinSongStorage(const Runtime& rt, std::wstring exportPath = kExportFilePath);

// "歌曲配置.ini" beside the program.
std::wstring SongConfigPath();

}  // namespace tovel
