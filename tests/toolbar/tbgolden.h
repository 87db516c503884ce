// Exact comparison of a picture with a reviewed one in tests/toolbar/golden/.
// ZELVORA_UPDATE_GOLDEN=1 writes the picture instead (look at it before
// keeping it).
#pragma once

#include <string>

class TBitmap;

void ExpectSameAsToolbarGolden(TBitmap& image, const std::string& name);
