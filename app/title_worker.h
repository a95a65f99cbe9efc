#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/song_titles.h"

namespace tovel {

// Reads one song's tags; runs on the worker thread.
using TagReader = std::function<std::optional<SongTags>(const Text& path)>;
// Runs on the worker thread when results start waiting; it must only post a message.
using ResultsWaiting = std::function<void()>;

// Reads songs' tags in order on a thread of its own and keeps the results until the
// window's thread takes them. It never touches a window; `waiting` tells the window.
class TitleWorker {
 public:
  TitleWorker(TagReader read, ResultsWaiting waiting) : read_(std::move(read)), waiting_(std::move(waiting)) {}
  ~TitleWorker();
  TitleWorker(const TitleWorker&) = delete;
  TitleWorker& operator=(const TitleWorker&) = delete;

  // Replaces whatever was asked before: results of earlier requests, read or being read,
  // are dropped. An empty request leaves the thread idle.
  void Request(std::vector<TitleJob> jobs);
  // The results of the latest request read since the last call, in the order asked.
  std::vector<TitleResult> TakeResults();
  // Stops reading and ends the thread; the destructor does it too.
  void Stop();

 private:
  void Run();
  std::optional<TitleJob> NextJob(std::uint64_t& generation);
  void Deliver(std::uint64_t generation, TitleResult result);

  TagReader read_;
  ResultsWaiting waiting_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<TitleJob> jobs_;
  std::vector<TitleResult> results_;
  std::uint64_t generation_ = 0;  // one per request
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace tovel
