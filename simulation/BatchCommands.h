#pragma once

// kest's commands that need no window: --netlist and --simulate. Called before any
// QApplication exists; sets *pbHandled when argv names one of them.
int RunBatchCommand(int argc, char** argv, bool* pbHandled);
