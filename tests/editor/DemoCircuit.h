#pragma once

class CVonnDoc;

namespace kest::test {

// A small lamp circuit: battery, resistor, lamp, ammeter and switch joined by five wires
// (two of them with bends) and one text item. Positions are fixed so pictures can be checked.
void BuildDemoCircuit(CVonnDoc& doc);

// n components in a grid, nStep pixels apart and nPerRow to a row, with a wire between
// each pair of neighbours in a row.
void BuildGridCircuit(CVonnDoc& doc, int nComponents, int nStep = 60, int nPerRow = 50);

} // namespace kest::test
