// The pictures of the game, loaded once at start-up.
#pragma once

#include <cstdint>

#include "graphics/blitter.h"

extern BitmapImage Backgrounds[6];  // the courts, BACK81.BMP to BACK86.BMP
extern BitmapImage TitleImage;      // the main menu
extern BitmapImage LogoImage1;      // the two start-up logos
extern BitmapImage LogoImage2;
extern BitmapImage CreditsImage;  // shown on the way out

int32_t LoadAssets();

// Loads the named picture into ScratchBitmap and checks that it can be cut
// from: an 8-bit picture at least minWidth x minHeight. 1 when it can; 0 when
// it cannot, with ScratchBitmap left empty and, when `report` is set, one line
// on stderr naming the file and why.
int32_t LoadPicture(const char* name, int32_t minWidth, int32_t minHeight, bool report);
