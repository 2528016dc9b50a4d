#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The fixed texts of kest.cir and the way its lines are put together.

// Every line of the netlist begins with a line break, written as CR LF; the file ends
// without one.
inline constexpr std::string_view kNetlistBreak = "\r\n";

void AppendLine(std::string& out, std::initializer_list<std::string_view> parts);

// Zener models exist for the voltage indexes 0..8; any other index stands for the nearest.
inline constexpr int kZenerModels = 9;
int ClampZenerIndex(int nIndex);
const char* ZenerModelName(int nIndex);
// The four lines of the model.
void AppendZenerModel(std::string& out, int nIndex);

// The amplifier subcircuit, the model of the other diodes and the end line.
void AppendTrailer(std::string& out);
