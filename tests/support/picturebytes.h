// Picture files made to harm, built by the tests themselves.
#pragma once

#include <cstdint>
#include <string>

// A BMP header for a picture of the given size and depth whose pixels are
// cut off: a few bytes that claim a large picture.
std::string BmpClaiming(int32_t width, int32_t height, int bits);
