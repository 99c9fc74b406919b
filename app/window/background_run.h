// A copy run, or its preview, on a thread of its own, so that the window
// keeps painting, moving and answering the desktop however long it takes.
//
// The run reports to a log and a progress that only queue what they are
// told. The window's thread takes the queue over at every tick and once
// more at the end, in the order the run reported, each entry exactly once:
// the information window and the bar change only on the window's thread,
// and the information window takes in a tick's lines in one update, a few
// thousand at a time through its line store's AddStrings.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "app/core/copy_run.h"
#include "platform/string_list.h"

namespace app {

class BackgroundRun : public QObject {
 public:
  // The work: the engine's run or preview over the queuing log and progress.
  using Job = std::function<CopyRunResult(CopyLog&, CopyProgress&, std::stop_token)>;

  struct Target {
    CopyLog* log = nullptr;            // what the queued entries go to
    CopyProgress* progress = nullptr;  // what the queued progress goes to
    // The lines behind `log`, kept in one update while a tick's entries go
    // in, so that their views hear of them once, and given the entries in
    // runs (AddStrings) rather than one Add each; may be nil.
    platform::TStrings* batched_lines = nullptr;
    std::chrono::milliseconds interval{40};
    // Called on the window's thread when the job has ended and everything it
    // reported has been taken over.
    std::function<void(const CopyRunResult&)> on_finished;
  };

  // Starts `job` at once.
  BackgroundRun(Job job, Target target);
  // Asks the job to stop and waits for it; what it reported is dropped.
  ~BackgroundRun() override;
  BackgroundRun(const BackgroundRun&) = delete;
  BackgroundRun& operator=(const BackgroundRun&) = delete;

  // Asks the job to stop after the file it is working on.
  void RequestStop();
  bool StopRequested() const { return stop_requested_; }

  // Takes over what the job has reported so far, or as much of it as fits
  // in a short time (the timer does it too); true when nothing is left.
  bool TakeOver();

 private:
  struct Report {
    enum Kind { kClear, kAdd, kMax, kPosition } kind;
    std::string text;
    int value = 0;
  };
  class QueueLog;
  class QueueProgress;
  class EntryLines;

  void Push(Report report);
  // Takes over the next few thousand reports.
  void TakeSome();
  void Tick();
  void Finish();

  Target target_;
  std::mutex mutex_;
  std::vector<Report> queue_;
  std::vector<Report> taking_;  // the batch being taken over
  size_t taken_ = 0;            // how much of it has been
  bool catching_up_ = false;    // a turn of taking over is queued
  // What a turn spends taking over; ending its update (the information
  // window repaints) comes on top, so that a turn stays well below 50 ms.
  static constexpr int kTickBudgetMs = 12;
  CopyRunResult result_;
  bool stop_requested_ = false;
  QTimer timer_;
  // Last, so that it ends (and stops reporting) before anything above goes.
  std::jthread thread_;
};

}  // namespace app
