#include "platform/work_progress.h"

#include "platform/application.h"

WorkProgress ProgressPart(const WorkProgress& whole, double from, double to) {
  if (!whole) return {};
  return [whole, from, to](double fractionDone) { whole(from + fractionDone * (to - from)); };
}

WorkProgress ActionProgress() {
  Application* application = Application::Current();
  if (application == nullptr) return {};
  Desktop& desktop = application->TheDesktop();
  return [&desktop](double fractionDone) { desktop.ShowProgress(fractionDone); };
}
