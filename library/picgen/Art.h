#pragma once

#include "../PictureList.h"
#include "Bmp.h"

// Draws picture `slot` in orientation 0 of its state; the generator turns it for the others.
SIndexedPicture DrawPicture(const SPictureSlot& slot);
