// The pictures of the game, loaded once at start-up.
#pragma once

#include <cstdint>

#include "graphics/bitmap_image.h"

extern BitmapImage Backgrounds[6];  // the courts, BACK81.BMP to BACK86.BMP
extern BitmapImage TitleImage;      // the main menu
extern BitmapImage LogoImage1;      // the two start-up logos
extern BitmapImage LogoImage2;
extern BitmapImage CreditsImage;  // shown on the way out

int32_t LoadAssets();
