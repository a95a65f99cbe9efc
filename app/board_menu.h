#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/value.h"

namespace tovel {

class Runtime;
class SoundBoard;
class BoardHotKeys;

// The pad (1..12) whose button holds the screen point `at`; 0 for none.
int PadAt(const Runtime& rt, POINT at);

// The first MP3 or WAV among dropped paths.
std::optional<Text> FirstSoundFile(const std::vector<Text>& paths);

// A drop onto a pad makes its first sound file the pad's clip; elsewhere it is ignored.
void OnBoardDrop(Runtime& rt, SoundBoard& board);

// The board's right-click menu: for a pad its own sound, the built-in clip back and its
// hot key; everywhere the option to turn the song down while clips play.
void OnBoardContextMenu(Runtime& rt, SoundBoard& board, BoardHotKeys& keys);

void BindBoardWindowHandlers(Runtime& rt, SoundBoard& board, BoardHotKeys& keys);

}  // namespace tovel
