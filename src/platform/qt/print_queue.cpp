#include "platform/qt/print_queue.h"

#include <cups/cups.h>

std::string LastPrintJobRefusal() {
  // Qt hands a print-out to CUPS and drops the queue's answer; CUPS keeps the answer to its
  // last request for the thread that made it.
  const ipp_status_t status = cupsLastError();
  if (status <= IPP_STATUS_OK_EVENTS_COMPLETE) return {};
  const char* reason = cupsLastErrorString();
  return reason != nullptr && *reason != '\0' ? reason : ippErrorString(status);
}
