#include "tests/e2e/audio_capture.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tovel::e2e {
namespace {

constexpr size_t kBufferCount = 16;
constexpr size_t kFramesPerBuffer = CapturedAudio::kRate / 20;  // 50 ms
constexpr size_t kWindowFrames = CapturedAudio::kRate / 10;     // 100 ms analysis windows

// Amplitude of the sine at `hz` in `x` (Goertzel), in the units of the samples.
double Goertzel(const std::vector<float>& x, double hz) {
  if (x.empty()) return 0;
  const double w = 2 * std::numbers::pi * hz / CapturedAudio::kRate;
  const double c = 2 * std::cos(w);
  double s1 = 0, s2 = 0;
  for (float v : x) {
    const double s0 = v + c * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  const double power = s1 * s1 + s2 * s2 - c * s1 * s2;
  return 2 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(x.size());
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
  return v[v.size() / 2];
}

}  // namespace

double CapturedAudio::Peak() const {
  double peak = 0;
  for (float v : samples_) peak = std::max(peak, static_cast<double>(std::fabs(v)));
  return peak;
}

std::vector<double> CapturedAudio::WindowRms(double seconds) const {
  const size_t step = std::max<size_t>(1, static_cast<size_t>(seconds * kRate)) * 2;
  std::vector<double> out;
  for (size_t at = 0; at + step <= samples_.size(); at += step) {
    double sum = 0;
    for (size_t i = at; i < at + step; ++i) sum += static_cast<double>(samples_[i]) * samples_[i];
    out.push_back(std::sqrt(sum / static_cast<double>(step)));
  }
  return out;
}

std::vector<size_t> CapturedAudio::AudibleWindows(double silence) const {
  std::vector<size_t> audible;
  const std::vector<double> rms = WindowRms(static_cast<double>(kWindowFrames) / kRate);
  for (size_t i = 0; i < rms.size(); ++i)
    if (rms[i] > silence) audible.push_back(i);
  return audible;
}

double CapturedAudio::AudibleRms(double silence) const {
  const std::vector<double> rms = WindowRms(static_cast<double>(kWindowFrames) / kRate);
  double sum = 0;
  size_t n = 0;
  for (double r : rms) {
    if (r <= silence) continue;
    sum += r * r;
    ++n;
  }
  return n ? std::sqrt(sum / static_cast<double>(n)) : 0;
}

double CapturedAudio::SteadyRms() const {
  const std::vector<double> rms = WindowRms(static_cast<double>(kWindowFrames) / kRate);
  if (rms.empty()) return 0;
  const double loudest = *std::max_element(rms.begin(), rms.end());
  std::vector<double> steady;
  for (double r : rms)
    if (r >= 0.5 * loudest) steady.push_back(r);
  return Median(steady);
}

double CapturedAudio::AudibleSeconds(double silence) const {
  return static_cast<double>(AudibleWindows(silence).size()) * kWindowFrames / kRate;
}

std::vector<float> CapturedAudio::Mono(size_t firstFrame, size_t frames) const {
  std::vector<float> mono(frames);
  for (size_t i = 0; i < frames; ++i)
    mono[i] = 0.5f * (samples_[2 * (firstFrame + i)] + samples_[2 * (firstFrame + i) + 1]);
  return mono;
}

double CapturedAudio::ToneAmplitude(double hz, double silence) const {
  std::vector<double> amplitudes;
  for (size_t w : AudibleWindows(silence)) amplitudes.push_back(Goertzel(Mono(w * kWindowFrames, kWindowFrames), hz));
  return Median(amplitudes);
}

double CapturedAudio::DominantHz(double low, double high) const {
  const std::vector<double> rms = WindowRms(static_cast<double>(kWindowFrames) / kRate);
  if (rms.empty()) return 0;
  // The loudest 300 ms: long enough for 5 Hz steps to be told apart.
  const size_t span = std::min<size_t>(3, rms.size());
  size_t best = 0;
  double bestSum = -1;
  for (size_t i = 0; i + span <= rms.size(); ++i) {
    double sum = 0;
    for (size_t k = i; k < i + span; ++k) sum += rms[k];
    if (sum > bestSum) bestSum = sum, best = i;
  }
  const std::vector<float> mono = Mono(best * kWindowFrames, span * kWindowFrames);
  double bestHz = 0, bestAmplitude = -1;
  for (double hz = low; hz <= high; hz += 5) {
    const double a = Goertzel(mono, hz);
    if (a > bestAmplitude) bestAmplitude = a, bestHz = hz;
  }
  return bestHz;
}

double CapturedAudio::RmsBeside(double hz, double silence) const {
  const double all = AudibleRms(silence);
  const double tone = ToneAmplitude(hz, silence) / std::sqrt(2.0);
  return std::sqrt(std::max(0.0, all * all - tone * tone));
}

AudioCapture::~AudioCapture() { Stop(); }

bool AudioCapture::Start() {
  if (in_) return true;
  // Opening can fail for a moment too, while another program takes or leaves the device.
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (!Open()) {
      ::Sleep(300);
      continue;
    }
    // The first buffer comes within about 0.6 s when the stream is live.
    for (int waited = 0; waited < 2000; waited += 20) {
      ::Sleep(20);
      std::lock_guard lock(mutex_);
      if (!samples_.empty()) return true;
    }
    Close();
  }
  return false;
}

bool AudioCapture::Open() {
  WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, CapturedAudio::kRate, CapturedAudio::kRate * 4, 4, 16, 0};
  done_ = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (::waveInOpen(&in_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(done_), 0, CALLBACK_EVENT) !=
      MMSYSERR_NOERROR) {
    in_ = nullptr;
    ::CloseHandle(done_);
    done_ = nullptr;
    return false;
  }
  buffers_.assign(kBufferCount, std::vector<std::int16_t>(kFramesPerBuffer * 2));
  headers_.assign(kBufferCount, WAVEHDR{});
  for (size_t i = 0; i < kBufferCount; ++i) {
    headers_[i].lpData = reinterpret_cast<LPSTR>(buffers_[i].data());
    headers_[i].dwBufferLength = static_cast<DWORD>(buffers_[i].size() * sizeof(std::int16_t));
    ::waveInPrepareHeader(in_, &headers_[i], sizeof(WAVEHDR));
    ::waveInAddBuffer(in_, &headers_[i], sizeof(WAVEHDR));
  }
  next_ = 0;
  samples_.clear();
  stopping_ = false;
  ::waveInStart(in_);
  worker_ = std::thread([this] {
    while (!stopping_) {
      ::WaitForSingleObject(done_, 20);
      Collect(true);
    }
  });
  return true;
}

// Takes the finished buffers in queue order; while running, hands each one back to the device.
void AudioCapture::Collect(bool requeue) {
  for (size_t n = 0; n < kBufferCount; ++n) {
    WAVEHDR& h = headers_[next_];
    if (!(h.dwFlags & WHDR_DONE)) return;
    const auto* data = reinterpret_cast<const std::int16_t*>(h.lpData);
    {
      std::lock_guard lock(mutex_);
      for (DWORD i = 0; i < h.dwBytesRecorded / sizeof(std::int16_t); ++i) samples_.push_back(data[i] / 32768.0f);
    }
    h.dwBytesRecorded = 0;
    h.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
    if (requeue) ::waveInAddBuffer(in_, &h, sizeof(WAVEHDR));
    next_ = (next_ + 1) % kBufferCount;
  }
}

void AudioCapture::Close() {
  if (!in_) return;
  stopping_ = true;
  worker_.join();
  ::waveInStop(in_);
  ::waveInReset(in_);  // hands back every queued buffer, the partly filled one too
  Collect(false);
  for (auto& h : headers_) ::waveInUnprepareHeader(in_, &h, sizeof(WAVEHDR));
  ::waveInClose(in_);
  ::CloseHandle(done_);
  in_ = nullptr;
  done_ = nullptr;
}

CapturedAudio AudioCapture::Take() {
  std::lock_guard lock(mutex_);
  return CapturedAudio(std::exchange(samples_, {}));
}

CapturedAudio AudioCapture::Stop() {
  Close();
  return Take();
}

}  // namespace tovel::e2e
