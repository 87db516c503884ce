// The PNG files of src/platform/gfx/bitmaps/, compiled in by the build
// (compiledbitmaps.cpp in the build folder).
#pragma once

#include <cstddef>

struct TCompiledBitmap {
  const char* Name;  // the file name without ".png"
  const unsigned char* Bytes;
  std::size_t Size;
};

extern const TCompiledBitmap kCompiledBitmaps[];
extern const std::size_t kCompiledBitmapCount;
