// The Redefine Keys screen: the four player keys caught one by one, then
// saved.
#pragma once

#include <cstdint>

int32_t RedefineKeys();
