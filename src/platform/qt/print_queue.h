#pragma once

#include <functional>
#include <string>

class QPrinter;

// What the print system answers when the program looks for its default printer.
enum class DefaultPrinterAnswer { Found, NoneSelected, NotRunning };

// The print system's answers: about its default printer, and why its queue refused the job
// handed to it last on this thread (empty when it took the job). They come from CUPS; tests
// set what the print system would say.
struct PrintQueueSource {
  std::function<DefaultPrinterAnswer()> DefaultPrinter;
  std::function<std::string()> JobRefusal;
};

// Replaces the print system's answers; an empty function restores that answer.
void SetPrintQueueSource(PrintQueueSource source);

DefaultPrinterAnswer AskDefaultPrinter();

// Why the queue refused the job just printed through `printer`, or empty when it took it. A
// job written to a file passes no queue, so the print system has nothing to say about it.
std::string PrintJobRefusal(const QPrinter& printer);
