// Loading a picture file for cutting: the one check every picture of the
// game passes before anything is cut from it.
#pragma once

#include <cstdint>

// Loads the named picture into ScratchBitmap and checks that it can be cut
// from: an 8-bit picture at least minWidth x minHeight. 1 when it can; 0 when
// it cannot, with ScratchBitmap left empty and, when `report` is set, one line
// on stderr naming the file and why.
int32_t LoadPicture(const char* name, int32_t minWidth, int32_t minHeight, bool report);
