#pragma once

#include <functional>

class Prompts;

// How a run in a child process ended.
enum class KilledRun {
    Killed, // ended at the chosen box, the way a kill ends a program
    Finished, // the work ran to its end first
    Crashed, // anything else
};

// Runs the work in a child process and ends the child at once, without a
// destructor, rollback or commit, when the work shows its box-th box
// (message, question, error, input, file dialog, log window or preview;
// counted from 1). Questions are answered Yes. Files the child leaves are
// what a program killed at that moment leaves.
KilledRun runKilledAtBox(int box, const std::function<void(Prompts &)> &work);
