#include "platform/work_progress.h"

#include <chrono>
#include <future>

WorkProgress ProgressPart(const WorkProgress& whole, double from, double to) {
  if (!whole) return {};
  return [whole, from, to](double fractionDone) { whole(from + fractionDone * (to - from)); };
}

void WaitAnswering(const std::function<void()>& step, const WorkProgress& progress,
                   double fractionDone) {
  if (!progress) {
    step();
    return;
  }
  std::future<void> done = std::async(std::launch::async, step);
  while (done.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
    progress(fractionDone);
  }
  done.get();
}
