// Comparison of a drawing with a reviewed picture in tests/chart/core/golden/.
// ZELVORA_UPDATE_GOLDEN=1 writes the picture instead of comparing (look at it
// before keeping it).
#pragma once

#include <string>

class TBitmap;

struct TGoldenTolerance {
  int Channel;       // a pixel differs when one of its channels differs by more
  int MaxDiffering;  // how many pixels may differ (text edges vary between font builds)
};

// Expects image to match golden/<name>; skips the test after writing it in update mode.
void ExpectMatchesGolden(TBitmap& image, const std::string& name, TGoldenTolerance tolerance);
