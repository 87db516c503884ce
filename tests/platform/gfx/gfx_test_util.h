// Small helpers of the drawing-layer tests: a white bitmap and pixel probes.
#pragma once

#include <cstdlib>
#include <string>

#include "platform/gfx/bitmap.h"

// Colour of a pixel read straight from the bitmap's rows (no clip involved).
inline TColor At(TBitmap& b, int x, int y) {
  const uint8_t* row = b.ScanLine(y);
  return static_cast<TColor>(RGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]));
}

// A white bitmap of the given size with its canvas.
struct TSurface {
  TBitmap Bmp;
  TCanvas* C;
  TSurface(int w, int h) : Bmp(w, h), C(Bmp.Canvas()) {}
  TColor operator()(int x, int y) { return At(Bmp, x, y); }
  // Number of pixels in the rectangle that differ from white.
  int Inked(int l, int t, int r, int b) {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += At(Bmp, x, y) != clWhite;
    return n;
  }
  // The bounding box of all non-white pixels (empty when there are none).
  TRect InkBox() {
    TRect r{Bmp.Width(), Bmp.Height(), -1, -1};
    for (int y = 0; y < Bmp.Height(); ++y)
      for (int x = 0; x < Bmp.Width(); ++x)
        if (At(Bmp, x, y) != clWhite) {
          r.Left = std::min(r.Left, x);
          r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1);
          r.Bottom = std::max(r.Bottom, y + 1);
        }
    if (r.Right < 0) return {};
    return r;
  }
};

// Pixels of the bitmap that differ from the reviewed picture of that name in
// tests/platform/gfx/golden (-1: no such picture of that size). With
// ZELVORA_UPDATE_GOLDEN set, the picture is written from the bitmap first.
inline int GoldenDifferences(TBitmap& bmp, const std::string& name) {
  const char* src = std::getenv("ZELVORA_SOURCE_DIR");
  const std::string golden = std::string(src ? src : ".") + "/tests/platform/gfx/golden/" + name;
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    TPngImage png;
    png.Assign(&bmp);
    png.SaveToFile(golden);
  }
  TPicture ref;
  try {
    ref.LoadFromFile(golden);
  } catch (const Exception&) {
    return -1;
  }
  TBitmap expected;
  expected.Assign(ref.Graphic());
  expected.SetPixelFormat(pfDevice);
  if (expected.Width() != bmp.Width() || expected.Height() != bmp.Height()) return -1;
  int diff = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) diff += At(bmp, x, y) != At(expected, x, y);
  return diff;
}

// A private output folder under the test's temporary folder.
inline std::string TestTempDir() {
  const char* t = std::getenv("TMPDIR");
  return t && *t ? t : "/tmp";
}
