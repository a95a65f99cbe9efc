#include "app/title_worker.h"

#include <iterator>
#include <utility>

namespace tovel {

TitleWorker::~TitleWorker() { Stop(); }

void TitleWorker::Request(std::vector<TitleJob> jobs) {
  const bool any = !jobs.empty();
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    ++generation_;
    jobs_.assign(std::make_move_iterator(jobs.begin()), std::make_move_iterator(jobs.end()));
    results_.clear();
  }
  // Started on the first request, so a list without tag titles costs no thread.
  if (!thread_.joinable() && any) thread_ = std::thread([this] { Run(); });
  wake_.notify_one();
}

std::vector<TitleResult> TitleWorker::TakeResults() {
  std::lock_guard lock(mutex_);
  return std::exchange(results_, {});
}

void TitleWorker::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
    results_.clear();
  }
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

std::optional<TitleJob> TitleWorker::NextJob(std::uint64_t& generation) {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
  if (stopping_) return std::nullopt;
  generation = generation_;
  TitleJob job = std::move(jobs_.front());
  jobs_.pop_front();
  return job;
}

void TitleWorker::Deliver(std::uint64_t generation, TitleResult result) {
  bool first = false;
  {
    std::lock_guard lock(mutex_);
    // A request that came while this song was read has made its result stale.
    if (stopping_ || generation != generation_) return;
    first = results_.empty();
    results_.push_back(std::move(result));
  }
  // One message per batch: the window takes everything waiting when it gets to it.
  if (first && waiting_) waiting_();
}

void TitleWorker::Run() {
  std::uint64_t generation = 0;
  while (std::optional<TitleJob> job = NextJob(generation)) {
    std::optional<SongTags> tags = read_(job->path);
    Deliver(generation, TitleResult{job->index, std::move(job->path), std::move(tags)});
  }
}

}  // namespace tovel
