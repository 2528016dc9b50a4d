#include "Art.h"

#include "../Catalogue.h"

// Placeholder art: a frame and a lead to every terminal.
SIndexedPicture DrawPicture(const SPictureSlot& slot) {
    SIndexedPicture pic;
    const tagSComponentInfo* rec = FindInfo(slot.nType, slot.nSubType);
    for (int i = 8; i <= 26; ++i) {
        pic.At(i, 8) = pic.At(i, 26) = pic.At(8, i) = pic.At(26, i) = 13;
    }
    if (rec) {
        for (int t = 0; t < rec->nTerminals; ++t) {
            int x = rec->ptTerminal[0][t].x, y = rec->ptTerminal[0][t].y;
            while (x < 8 || x > 26 || y < 8 || y > 26) {
                pic.At(x, y) = 13;
                x += x < 8 ? 1 : (x > 26 ? -1 : 0);
                y += y < 8 ? 1 : (y > 26 ? -1 : 0);
            }
        }
    }
    return pic;
}
