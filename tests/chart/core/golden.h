// Comparison of a drawing with a reviewed picture in tests/chart/core/golden/.
// ZELVORA_UPDATE_GOLDEN=1 writes the picture instead of comparing (look at it
// before keeping it).
#pragma once

#include <string>

class TBitmap;

struct TGoldenTolerance {
  int Channel;       // a pixel differs when one of its channels differs by more
  int MaxDiffering;  // how many pixels may differ
};

// The drawing is deterministic (our own rasteriser, the fonts of
// scripts/packages.txt), so a picture must match its golden one exactly.
inline constexpr TGoldenTolerance kExactly{0, 0};

// How many pixels of image differ from golden/<name> by more than `channel` in
// one of their channels; a failure, and -1, when the picture is missing or of
// another size.
int GoldenDifferences(TBitmap& image, const std::string& name, int channel);

// Expects image to match golden/<name>; skips the test after writing it in update mode.
void ExpectMatchesGolden(TBitmap& image, const std::string& name, TGoldenTolerance tolerance = kExactly);

// The same with the reviewed pictures in another folder of the source tree
// ("tests/app/golden").
int GoldenDifferencesIn(const std::string& folder, TBitmap& image, const std::string& name, int channel);
void ExpectMatchesGoldenIn(const std::string& folder, TBitmap& image, const std::string& name,
                           TGoldenTolerance tolerance = kExactly);
