#include "app/window/background_run.h"

#include <QElapsedTimer>

#include <algorithm>

#include <optional>
#include <utility>

namespace app {

class BackgroundRun::QueueLog : public CopyLog {
 public:
  explicit QueueLog(BackgroundRun& run) : run_(run) {}
  void Clear() override { run_.Push({Report::kClear, {}}); }
  void Add(const std::string& entry) override { run_.Push({Report::kAdd, entry}); }
  void Add(std::string&& entry) override { run_.Push({Report::kAdd, std::move(entry)}); }

 private:
  BackgroundRun& run_;
};

class BackgroundRun::QueueProgress : public CopyProgress {
 public:
  explicit QueueProgress(BackgroundRun& run) : run_(run) {}
  void SetMax(int max) override { run_.Push({Report::kMax, {}, max}); }
  void SetPosition(int position) override { run_.Push({Report::kPosition, {}, position}); }

 private:
  BackgroundRun& run_;
};

// The entries of a run of lines as a string list to hand to AddStrings,
// without a copy of its own; it is only read.
class BackgroundRun::EntryLines : public platform::TStrings {
 public:
  void Take(std::string&& entry) { entries_.push_back(std::move(entry)); }
  std::string Get(int index) const override { return entries_.at(static_cast<std::size_t>(index)); }
  int GetCount() const override { return static_cast<int>(entries_.size()); }
  void Insert(int index, const std::string& s) override {
    entries_.insert(entries_.begin() + std::clamp(index, 0, GetCount()), s);
  }
  void Delete(int index) override {
    if (index < 0 || index >= GetCount()) IndexError(index);
    entries_.erase(entries_.begin() + index);
  }
  void Clear() override { entries_.clear(); }

 private:
  std::vector<std::string> entries_;
};

BackgroundRun::BackgroundRun(Job job, Target target) : target_(std::move(target)) {
  timer_.setInterval(target_.interval);
  connect(&timer_, &QTimer::timeout, this, [this] { Tick(); });
  timer_.start();
  thread_ = std::jthread([this, job = std::move(job)](std::stop_token stop) {
    QueueLog log(*this);
    QueueProgress progress(*this);
    const CopyRunResult result = job(log, progress, stop);
    // Written before the call is queued, read after it arrives.
    result_ = result;
    QMetaObject::invokeMethod(
        this, [this] { Finish(); }, Qt::QueuedConnection);
  });
}

BackgroundRun::~BackgroundRun() {
  thread_.request_stop();
  if (thread_.joinable()) thread_.join();
}

void BackgroundRun::RequestStop() {
  stop_requested_ = true;
  thread_.request_stop();
}

void BackgroundRun::Push(Report report) {
  std::lock_guard lock(mutex_);
  queue_.push_back(std::move(report));
}

bool BackgroundRun::TakeOver() {
  if (taken_ == taking_.size()) {
    taking_.clear();
    taken_ = 0;
    std::lock_guard lock(mutex_);
    taking_.swap(queue_);
  }
  if (taking_.empty()) return true;
  // A tick takes what it can in a short time and leaves the rest to the
  // next, so that a run far ahead of the window never freezes it.
  QElapsedTimer spent;
  spent.start();
  {
    std::optional<platform::TStringsUpdate> batch;
    if (target_.batched_lines) batch.emplace(*target_.batched_lines);
    while (taken_ < taking_.size() && spent.elapsed() < kTickBudgetMs) TakeSome();
  }
  if (taken_ < taking_.size()) return false;
  std::lock_guard lock(mutex_);
  return queue_.empty();
}

void BackgroundRun::TakeSome() {
  constexpr std::size_t kSome = 2048;
  const std::size_t end = std::min(taking_.size(), taken_ + kSome);
  // Lines go to the lines behind the log in runs, as many as come before
  // the next clearing: the line store takes a run at the cost of one line.
  // The bar's reports go on as they come; nothing is painted before the
  // turn ends, so the order between bar and lines inside it shows nowhere.
  EntryLines lines;
  const auto add_lines = [&] {
    if (lines.GetCount() > 0) target_.batched_lines->AddStrings(lines);
    lines.Clear();
  };
  for (; taken_ < end; ++taken_) {
    Report& report = taking_[taken_];
    switch (report.kind) {
      case Report::kClear:
        if (target_.batched_lines) add_lines();
        target_.log->Clear();
        break;
      case Report::kAdd:
        if (target_.batched_lines)
          lines.Take(std::move(report.text));
        else
          target_.log->Add(report.text);
        break;
      case Report::kMax:
        target_.progress->SetMax(report.value);
        break;
      case Report::kPosition:
        target_.progress->SetPosition(report.value);
        break;
    }
  }
  if (target_.batched_lines) add_lines();
}

void BackgroundRun::Tick() {
  // Behind the run, the window keeps taking over in short turns, with its
  // own events handled between them, until it has caught up.
  if (TakeOver() || catching_up_) return;
  catching_up_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        catching_up_ = false;
        Tick();
      },
      Qt::QueuedConnection);
}

void BackgroundRun::Finish() {
  if (thread_.joinable()) thread_.join();
  timer_.stop();
  // The rest is taken over turn by turn; the window answers in between.
  if (!TakeOver()) {
    QMetaObject::invokeMethod(
        this, [this] { Finish(); }, Qt::QueuedConnection);
    return;
  }
  if (target_.on_finished) target_.on_finished(result_);
}

}  // namespace app
