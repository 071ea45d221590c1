#pragma once
#include "script.h"

enum class StepResult { Done, Quit, Failed };

// Runs one step on the host thread, pumping messages while it waits. A failed
// step has reported "error line N: ..." on stderr.
StepResult RunStep(const Step& step);
