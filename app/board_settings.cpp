#include "app/board_settings.h"

#include <windows.h>

#include <cwchar>

#include "app/config_file.h"
#include "base/text.h"

namespace tovel {
namespace {

constexpr char kSection[] = "音效板";
constexpr char kDuckingKey[] = "降低音乐音量";

std::string FileKey(int number) { return "声音" + std::to_string(number); }
std::string HotKeyKey(int number) { return "热键" + std::to_string(number); }

bool ValidPad(int number) { return number >= 1 && number <= kBoardPads; }

// A hot key is a virtual key (1..254) with modifier flags in the next byte; anything else is damage.
unsigned ParseHotKey(const Text& value) {
  if (value.empty() || value.size() > 5) return 0;
  unsigned n = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + static_cast<unsigned>(c - '0');
  }
  const unsigned key = n & 0xFF;
  return n <= 0xFFFF && key > 0 && key < 0xFF ? n : 0;
}

}  // namespace

BoardSettings::BoardSettings(std::wstring configPath) : configPath_(std::move(configPath)) {}

void BoardSettings::Load() {
  if (configPath_.empty()) return;
  for (int n = 1; n <= kBoardPads; ++n) {
    PadChoice& pad = pads_[static_cast<size_t>(n - 1)];
    pad.file = Widen(ReadIniValue(configPath_, kSection, FileKey(n)).value_or(Text()));
    pad.hotKey = ParseHotKey(ReadIniValue(configPath_, kSection, HotKeyKey(n)).value_or(Text()));
  }
  ducking_ = ReadIniValue(configPath_, kSection, kDuckingKey).value_or(Text()) == "1";
}

const PadChoice& BoardSettings::Pad(int number) const {
  static const PadChoice none;
  return ValidPad(number) ? pads_[static_cast<size_t>(number - 1)] : none;
}

bool BoardSettings::SetFile(int number, const std::wstring& file) {
  if (!ValidPad(number)) return false;
  pads_[static_cast<size_t>(number - 1)].file = file;
  return Store(FileKey(number), Narrow(file));
}

bool BoardSettings::SetHotKey(int number, unsigned hotKey) {
  if (!ValidPad(number)) return false;
  pads_[static_cast<size_t>(number - 1)].hotKey = hotKey;
  return Store(HotKeyKey(number), hotKey ? std::to_string(hotKey) : std::string());
}

bool BoardSettings::SetDucking(bool on) {
  ducking_ = on;
  return Store(kDuckingKey, on ? "1" : "0");
}

bool BoardSettings::Store(const std::string& key, const std::string& value) {
  return configPath_.empty() || WriteIniValue(configPath_, kSection, key, value);
}

}  // namespace tovel
