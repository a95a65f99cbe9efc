#pragma once

#include <array>
#include <string>

namespace tovel {

inline constexpr int kBoardPads = 12;

// What the user chose for one pad: a sound file of their own ("" for the built-in clip)
// and a hot key as the hot-key control gives it (virtual key in the low byte,
// HOTKEYF_* flags in the high byte; 0 for none).
struct PadChoice {
  std::wstring file;
  unsigned hotKey = 0;
};

// The board's choices, kept key by key in section [音效板] of the configuration file.
// A value that is missing or damaged reads as the default; with no file path nothing is kept.
class BoardSettings {
 public:
  explicit BoardSettings(std::wstring configPath = {});

  void Load();
  const PadChoice& Pad(int number) const;  // 1..12
  bool SetFile(int number, const std::wstring& file);
  bool SetHotKey(int number, unsigned hotKey);
  bool Ducking() const { return ducking_; }
  bool SetDucking(bool on);

 private:
  bool Store(const std::string& key, const std::string& value);

  std::wstring configPath_;
  std::array<PadChoice, kBoardPads> pads_;
  bool ducking_ = false;
};


}  // namespace tovel
