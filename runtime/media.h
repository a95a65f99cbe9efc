#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/value.h"

namespace tovel {

enum class MediaMode { Other = 0, Playing = 1, Stopped = 2, Paused = 3 };

// What the handlers ask of a media-play control. Host tests stand a fake in for it.
class MediaDevice {
 public:
  virtual ~MediaDevice() = default;
  virtual bool Open(const Text& path) = 0;
  virtual bool Play(int fromMs = -1) = 0;  // -1: from the current position
  virtual MediaMode StatusMode() = 0;
  virtual int LengthMs() = 0;
  virtual int LengthSeconds() = 0;
  virtual bool PauseResume() = 0;
  virtual bool Stop() = 0;
  // 0..100 per channel; an omitted or out-of-range channel is left alone.
  virtual bool SetVolume(std::optional<int> left, std::optional<int> right) = 0;
  // Where playback is in the open file; -1 when the device cannot tell.
  virtual int PositionMs() { return -1; }
};

// Carries MCI command strings to the platform (mciSendStringW) or to a test's recorder.
class MciChannel {
 public:
  virtual ~MciChannel() = default;
  // True when the command succeeded; `answer` receives the reply text.
  virtual bool Send(const std::wstring& command, std::wstring* answer = nullptr) = 0;
  virtual bool IsLiveWindow(std::intptr_t window) = 0;
};

// The media-play control on MCI: one device at a time under a unique alias.
class MediaPlayControl : public MediaDevice {
 public:
  MediaPlayControl(MciChannel& channel, Text alias);
  // The alias is made at the first command: a device that a run never uses costs nothing
  // at start-up (making a GUID loads COM's libraries).
  using AliasMaker = Text (*)();
  MediaPlayControl(MciChannel& channel, AliasMaker makeAlias);
  ~MediaPlayControl() override;
  MediaPlayControl(const MediaPlayControl&) = delete;
  MediaPlayControl& operator=(const MediaPlayControl&) = delete;

  bool Open(const Text& path) override;
  // With the MCI device type given instead of the one the file type picks.
  bool OpenAs(const Text& path, std::string_view deviceType);
  bool Play(int fromMs = -1) override { return Play(fromMs, std::nullopt); }
  bool Play(int fromMs, std::optional<std::intptr_t> window);
  MediaMode StatusMode() override;
  int LengthMs() override;
  int LengthSeconds() override { return LengthMs() / 1000; }
  bool PauseResume() override;
  bool Stop() override;
  bool SetVolume(std::optional<int> left, std::optional<int> right) override;
  int PositionMs() override;
  // Gives the device back now rather than at destruction; the next Open takes one again.
  void Close();

  const Text& alias() const;
  const Text& fileName() const { return fileName_; }
  const Text& fileType() const { return fileType_; }
  bool paused() const { return paused_; }
  // Counts successful opens, so a caller can tell that a new file came in.
  std::uint64_t openCount() const { return openCount_; }

 private:
  bool Send(const std::wstring& command, std::wstring* answer = nullptr);
  std::wstring Command(std::wstring_view verb, std::wstring_view rest = {}) const;

  MciChannel& channel_;
  mutable AliasMaker makeAlias_ = nullptr;
  mutable Text alias_;
  Text fileName_;
  Text fileType_;
  bool paused_ = false;
  std::intptr_t displayWindow_ = 0;
  std::uint64_t openCount_ = 0;
  bool closed_ = false;
};

// The three characters after the last "." of a path, lower-cased ("" without a dot).
Text MediaFileType(std::string_view path);
// MCI device type for a file type; anything unknown plays as MPEG.
std::string_view MediaDeviceType(std::string_view fileType);

}  // namespace tovel
