#include "platform/pass_threads.h"

#include <omp.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/usable_processors.h"

void PreparePassThreads(char** argv) {
  constexpr const char* WaitPolicy = "OMP_WAIT_POLICY";
  if (std::getenv(WaitPolicy) == nullptr && setenv(WaitPolicy, "passive", 0) == 0) {
    ::execv("/proc/self/exe", argv);
  }
  omp_set_num_threads(UsableProcessors());
}
