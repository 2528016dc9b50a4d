#pragma once

// One element of the netlist: a wire, a component, or an element that stands in for one
// (an instrument's source or resistor, a transformer half, an oscilloscope probe).
class CNetElement {
public:
    static constexpr int kMaxNodes = 8;
    static constexpr int kNameSize = 20;

    int m_nType = 0;
    int m_nSubType = 0;
    // Element id within one run; stand-ins keep the id of what they replace and the two
    // transformer halves have -1.
    int m_nId = 0;
    // Only the transformer halves carry a name ("L<id>K1", "L<id>K2").
    char m_szName[kNameSize] = {};
    int m_nTerminals = 0;
    int m_nNode[kMaxNodes] = {};
    float m_fValue[4] = {0, 0, 0, 0};
};
