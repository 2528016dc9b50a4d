#pragma once

#include <string>

// Numbers in the netlist's own forms, the same on every C library.

// "%f": six decimals (3.000000).
std::string FormatFixed(double f);
// "%e" with a three-digit exponent whatever the C library prints: 1.000000e+001.
std::string FormatExp(double f);
// "%d".
std::string FormatInt(int n);

// The whole-number part of a float kept as a choice or state (positions, indexes, lamp and
// fuse states), defined for any stored bits: NaN gives 0 and huge values saturate.
int TruncChoice(float f);
