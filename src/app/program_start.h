#pragma once

class Application;

// The program's entry sequence on an application object: creates the main window, runs
// the message loop and shows what escapes it. Always returns 0.
int RunProgram(Application& application);

// A write that would take a file past the process's file size limit (ulimit -f) kills the
// program by default, with everything the person has not saved. Once this has run such a
// write fails with EFBIG instead, and the save tells it like any other failed write.
void LetWritesFailPastTheFileSizeLimit();
