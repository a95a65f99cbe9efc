#include "runtime/media.h"

#include <array>
#include <cwchar>
#include <thread>
#include <utility>

#include "base/file_path.h"
#include "base/text.h"

namespace tovel {
namespace {

struct TypeRow {
  std::string_view fileType;
  std::string_view device;
};

// "rmvb" is in the list too but can never equal a three-character type.
constexpr std::array<TypeRow, 22> kDeviceTypes = {{
    {"wav", "waveaudio"},  {"avi", "avivideo"},    {"cda", "cdaudio"},     {"rm", "MPEGvideo"},
    {"ra", "MPEGvideo"},   {"mp3", "MPEGvideo"},   {"ram", "MPEGvideo"},   {"rmvb", "MPEGvideo"},
    {"mid", "Sequencer"},  {"rmi", "Sequencer"},   {"idi", "Sequencer"},   {"asf", "MPEGvideo2"},
    {"wma", "MPEGvideo2"}, {"asx", "MPEGvideo2"},  {"ivf", "MPEGvideo2"},  {"lsf", "MPEGvideo2"},
    {"lsx", "MPEGvideo2"}, {"p2v", "MPEGvideo2"},  {"wax", "MPEGvideo2"},  {"wvx", "MPEGvideo2"},
    {"wmx", "MPEGvideo2"}, {"wmp", "MPEGvideo2"},
}};

// A path as MCI opens it: plain while it fits the plain form, as every device takes that;
// past it in the "\\?\" form, which the plain form's limit does not cut.
std::wstring DevicePath(const Text& path) {
  std::wstring wide = Widen(path);
  return wide.size() < kPlainPathLimit ? wide : FileSystemPath(path);
}

// 0..100 per channel, checked before the factor of ten that could overflow a wild value.
bool InVolumeRange(std::optional<int> v) { return v && *v >= 0 && *v <= 100; }

}  // namespace

Text MediaFileType(std::string_view path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return {};
  Text type(path.substr(dot + 1, 3));
  for (char& c : type)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return type;
}

std::string_view MediaDeviceType(std::string_view fileType) {
  for (const auto& row : kDeviceTypes)
    if (row.fileType == fileType) return row.device;
  return "MPEGvideo";
}

MediaPlayControl::MediaPlayControl(MciChannel& channel, Text alias) : channel_(channel), alias_(std::move(alias)) {}

MediaPlayControl::MediaPlayControl(MciChannel& channel, AliasMaker makeAlias)
    : channel_(channel), makeAlias_(makeAlias) {}

const Text& MediaPlayControl::alias() const {
  if (makeAlias_) {
    alias_ = makeAlias_();
    makeAlias_ = nullptr;
  }
  return alias_;
}

MediaPlayControl::~MediaPlayControl() {
  if (openCount_ > 0 && !closed_) Send(Command(L"close"));
}

void MediaPlayControl::Close() {
  if (openCount_ == 0 || closed_) return;
  Send(Command(L"close"));
  closed_ = true;
}

bool MediaPlayControl::Send(const std::wstring& command, std::wstring* answer) {
  return channel_.Send(command, answer);
}

std::wstring MediaPlayControl::Command(std::wstring_view verb, std::wstring_view rest) const {
  std::wstring cmd(verb);
  cmd += L' ';
  cmd += Widen(alias());
  if (!rest.empty()) {
    cmd += L' ';
    cmd += rest;
  }
  return cmd;
}

bool MediaPlayControl::Open(const Text& path) { return OpenAs(path, MediaDeviceType(MediaFileType(path))); }

bool MediaPlayControl::OpenAs(const Text& path, std::string_view deviceType) {
  Send(Command(L"close"));  // whatever was open before; its result does not matter
  fileName_ = path;
  fileType_ = MediaFileType(path);
  // Quoted, so spaces and any script in the path reach MCI whole.
  const std::wstring open = L"open \"" + DevicePath(path) + L"\" type " + Widen(deviceType) +
                            L" alias " + Widen(alias());
  const bool ok = Send(open);
  if (ok) {
    ++openCount_;
    closed_ = false;
    const bool audioOnly = fileType_ == "mp3" || fileType_ == "wav" || fileType_ == "cda" || fileType_ == "mid";
    if (!audioOnly && displayWindow_ != 0)
      Send(Command(L"window", L"handle " + std::to_wstring(displayWindow_)));
  }
  return ok;
}

bool MediaPlayControl::Play(int fromMs, std::optional<std::intptr_t> window) {
  paused_ = false;
  bool ok = true;
  if (window && channel_.IsLiveWindow(*window)) {
    displayWindow_ = *window;
    ok = Send(Command(L"window", L"handle " + std::to_wstring(displayWindow_)));
  }
  const bool played = fromMs == -1 ? Send(Command(L"play")) : Send(Command(L"play", L"from " + std::to_wstring(fromMs)));
  return ok && played;
}

MediaMode MediaPlayControl::StatusMode() {
  std::wstring answer;
  if (!Send(Command(L"status", L"mode"), &answer)) return MediaMode::Other;
  if (answer == L"playing") return MediaMode::Playing;
  if (answer == L"stopped") return MediaMode::Stopped;
  if (answer == L"paused") return MediaMode::Paused;
  return MediaMode::Other;
}

int MediaPlayControl::LengthMs() {
  std::this_thread::yield();
  std::wstring ignored;
  Send(Command(L"status", L"window handle"), &ignored);
  // Also makes later play positions milliseconds.
  Send(Command(L"set", L"time format milliseconds"));
  std::wstring answer;
  if (!Send(Command(L"status", L"length"), &answer)) return 0;
  return static_cast<int>(std::wcstol(answer.c_str(), nullptr, 10));
}

int MediaPlayControl::PositionMs() {
  if (!Send(Command(L"set", L"time format milliseconds"))) return -1;
  std::wstring answer;
  if (!Send(Command(L"status", L"position"), &answer)) return -1;
  return static_cast<int>(std::wcstol(answer.c_str(), nullptr, 10));
}

bool MediaPlayControl::PauseResume() {
  const bool resume = paused_;
  paused_ = !paused_;  // flips whatever the device answers
  return Send(Command(resume ? L"resume" : L"pause"));
}

bool MediaPlayControl::Stop() {
  const bool ok = Send(Command(L"stop"));
  if (ok) Send(Command(L"seek", L"to start"));
  return ok;
}

bool MediaPlayControl::SetVolume(std::optional<int> left, std::optional<int> right) {
  bool leftOk = false;
  bool rightOk = true;
  if (InVolumeRange(left)) leftOk = Send(Command(L"setaudio", L"left volume to " + std::to_wstring(*left * 10)));
  if (InVolumeRange(right)) rightOk = Send(Command(L"setaudio", L"right volume to " + std::to_wstring(*right * 10)));
  return InVolumeRange(left) && leftOk && rightOk;
}

}  // namespace tovel
