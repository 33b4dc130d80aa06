#include "platform/qt/print_queue.h"

#include <cups/cups.h>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

PrintQueueSource& Source() {
  static PrintQueueSource source;
  return source;
}

DefaultPrinterAnswer SystemDefaultPrinter() {
  if (!QPrinterInfo::defaultPrinter().isNull()) return DefaultPrinterAnswer::Found;
  // Qt says the same for no printer and for no scheduler; a request of our own to the
  // scheduler tells the two apart.
  cups_dest_t* destinations = nullptr;
  const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &destinations);
  const ipp_status_t status = cupsLastError();
  cupsFreeDests(count, destinations);
  return status == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE ? DefaultPrinterAnswer::NotRunning
                                                        : DefaultPrinterAnswer::NoneSelected;
}

std::string SystemJobRefusal() {
  // Qt hands a print-out to CUPS and drops the queue's answer; CUPS keeps the answer to its
  // last request for the thread that made it.
  const ipp_status_t status = cupsLastError();
  if (status <= IPP_STATUS_OK_EVENTS_COMPLETE) return {};
  const char* reason = cupsLastErrorString();
  return reason != nullptr && *reason != '\0' ? reason : ippErrorString(status);
}

}  // namespace

void SetPrintQueueSource(PrintQueueSource source) {
  Source() = std::move(source);
}

DefaultPrinterAnswer AskDefaultPrinter() {
  return Source().DefaultPrinter ? Source().DefaultPrinter() : SystemDefaultPrinter();
}

std::string PrintJobRefusal(const QPrinter& printer) {
  if (Source().JobRefusal) return Source().JobRefusal();
  if (printer.outputFormat() != QPrinter::NativeFormat) return {};
  return SystemJobRefusal();
}
