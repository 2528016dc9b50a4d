#pragma once

#include <cstddef>
#include <cstdint>

// Bodies of the installer's fuzz targets, shared by the fuzzers and the corpus replay test.
// Each aborts when it finds a fault that no crash would show.
int FuzzSetupScript(const uint8_t* pData, size_t nSize);
int FuzzLzExpand(const uint8_t* pData, size_t nSize);
