#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace tovel::e2e {

// What the sound output carried while a capture ran, as 16-bit stereo at 44.1 kHz
// scaled to -1..1. The timeline is not wall-clock: idle stretches may be dropped or
// padded, so judge levels and tones, never exact times.
class CapturedAudio {
 public:
  static constexpr int kRate = 44100;

  CapturedAudio() = default;
  explicit CapturedAudio(std::vector<float> interleaved) : samples_(std::move(interleaved)) {}

  double Seconds() const { return static_cast<double>(samples_.size()) / 2 / kRate; }
  double Peak() const;
  // Over the audible 100 ms windows only, so leading or trailing silence does not dilute it.
  double AudibleRms(double silence = 0.005) const;
  double AudibleSeconds(double silence = 0.005) const;
  // Median level of the 100 ms windows at least half as loud as the loudest: the steady
  // body of a sound. The windows are chosen relative to the capture's own loudest, so the
  // same sound played softer measures softer by exactly its factor, wherever the capture
  // cut it; an absolute silence level would drop faint edge windows only from the soft one.
  double SteadyRms() const;
  std::vector<double> WindowRms(double seconds = 0.1) const;
  // Median amplitude of a sine at `hz` over the audible windows (0.5 for a tone at half scale).
  double ToneAmplitude(double hz, double silence = 0.005) const;
  // The strongest frequency between `low` and `high` Hz in the loudest part, to 5 Hz.
  double DominantHz(double low = 50, double high = 5000) const;
  // AudibleRms() with the sine at `hz` taken out: what else is heard besides a steady tone.
  double RmsBeside(double hz, double silence = 0.005) const;

 private:
  std::vector<float> Mono(size_t first, size_t count) const;
  std::vector<size_t> AudibleWindows(double silence) const;

  std::vector<float> samples_;  // interleaved left, right
};

// Records the default capture device, which the headless set-up makes the null
// sink's monitor: everything any program plays, mixed. A freshly opened device may
// stay mute for a while (or for good) under Wine, so keep one open for a whole
// test and cut it into pieces with Take().
class AudioCapture {
 public:
  AudioCapture() = default;
  ~AudioCapture();
  AudioCapture(const AudioCapture&) = delete;
  AudioCapture& operator=(const AudioCapture&) = delete;

  // Opens the device and waits until it delivers; false when none does.
  bool Start();
  // What arrived since Start() or the previous Take().
  CapturedAudio Take();
  CapturedAudio Stop();

 private:
  bool Open();
  void Close();
  void Collect(bool requeue);

  HWAVEIN in_ = nullptr;
  HANDLE done_ = nullptr;
  std::vector<std::vector<std::int16_t>> buffers_;
  std::vector<WAVEHDR> headers_;
  size_t next_ = 0;  // buffers complete in the order they were queued
  std::mutex mutex_;  // guards samples_ between the worker and Take()
  std::vector<float> samples_;
  std::atomic<bool> stopping_{false};
  std::thread worker_;
};

// What is heard in the `ms` of wall-clock time after `action` runs.
template <class Action>
CapturedAudio HearAfter(AudioCapture& capture, DWORD ms, Action action) {
  capture.Take();
  action();
  ::Sleep(ms);
  return capture.Take();
}

// Listens in pieces of `pieceMs` until one passes `wanted` or `ms` have gone by; whether one
// did. A sound starts, and what the sink had buffered drains, when it will: both are
// waited for, never assumed.
template <class Wanted>
bool HearsWithin(AudioCapture& capture, DWORD pieceMs, DWORD ms, Wanted wanted) {
  const DWORD start = ::GetTickCount();
  do {
    if (wanted(HearAfter(capture, pieceMs, [] {}))) return true;
  } while (::GetTickCount() - start < ms);
  return false;
}

template <class Quiet>
bool HearsQuietWithin(AudioCapture& capture, DWORD pieceMs, DWORD ms, Quiet quiet) {
  return HearsWithin(capture, pieceMs, ms, quiet);
}

}  // namespace tovel::e2e
