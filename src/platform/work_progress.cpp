#include "platform/work_progress.h"

#include <atomic>
#include <chrono>
#include <future>

WorkProgress ProgressPart(const WorkProgress& whole, double from, double to) {
  if (!whole) return {};
  return [whole, from, to](double fractionDone) { whole(from + fractionDone * (to - from)); };
}

void RunOnWorkerThread(const std::function<void(const WorkProgress& report)>& step,
                       const WorkProgress& progress) {
  if (!progress) {
    step({});
    return;
  }
  // The worker only ever stores the fraction; the calling thread alone passes it on.
  std::atomic<double> latest{0.0};
  const WorkProgress report = [&latest](double fractionDone) {
    latest.store(fractionDone, std::memory_order_relaxed);
  };
  std::future<void> done = std::async(std::launch::async, [&step, &report] { step(report); });
  while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
    progress(latest.load(std::memory_order_relaxed));
  }
  done.get();
}
