// The pictures of the game, loaded once at start-up.
#pragma once

#include <cstdint>

#include "graphics/blitter.h"

extern BitmapImage Backgrounds[6];
extern BitmapImage TitleImage;
extern BitmapImage LogoImage1;
extern BitmapImage LogoImage2;
extern BitmapImage CreditsImage;

int32_t LoadAssets();
