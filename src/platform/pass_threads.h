#pragma once

// Sets up the threads that run the passes over a recording; the first thing a program's main
// does, with its own arguments, before anything else runs.
//
// A thread of a pass that has no work waits for the next slice asleep, not spinning: on a
// desktop doing other work, or in a container, a spinning thread takes a core from the work
// that the pass waits for. OpenMP's runtime reads how its threads wait from the environment
// once, as it loads, before main: when the environment does not say it yet, the program is
// started anew with it said (the same executable, arguments and environment otherwise). If
// that fails, the program goes on with threads that spin a while before they sleep, which
// costs speed only.
//
// The passes then start as many threads as the process may use (see UsableProcessors), read
// here once.
void PreparePassThreads(char** argv);
