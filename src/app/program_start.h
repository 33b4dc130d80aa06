#pragma once

class Application;

// The program's entry sequence on an application object: creates the main window, runs
// the message loop and shows what escapes it. Always returns 0.
int RunProgram(Application& application);
