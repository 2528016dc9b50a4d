#pragma once

// The table the picture generator writes: every picture as a complete BMP file image.
struct SPictureEntry {
    int nId;
    unsigned int nSize;
    const unsigned char* pData;
};

extern const SPictureEntry g_aPictures[];
extern const int g_nPictures;
