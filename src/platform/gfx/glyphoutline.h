// The outline of a font's glyph as closed contours, for drawing text as
// geometry (the chart's OpenGL canvas builds its glyphs from these).
#pragma once

#include <vector>

class TFont;

struct TGlyphOutline {
  struct TPt {
    double X = 0;
    double Y = 0;
  };
  // Closed contours, curves flattened; em units with y up and the baseline
  // at 0 (holes run against the outer contour's direction).
  std::vector<std::vector<TPt>> Contours;
  // Distance to the next glyph's origin, in em units.
  double Advance = 0;
};

// The glyph of the Latin-1 code in the font's face and style (its size is
// not used: the outline is in em units).
TGlyphOutline GlyphOutline(const TFont& font, unsigned char code);
