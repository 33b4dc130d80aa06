#pragma once

#include <string>

// Why the print queue refused the job handed to it last on this thread, or empty when it took
// the job.
std::string LastPrintJobRefusal();
