#pragma once

// kest --simulate CIRCUIT.kst [--steps N]: runs the circuit through the engine and prints
// every component's values. argv[0] is the program, argv[1] "--simulate".
int RunSimulateCommand(int argc, char** argv);
