#include "support/picturebytes.h"

namespace {

std::string LittleEndian(uint32_t v, int bytes = 4) {
  std::string r;
  for (int i = 0; i < bytes; ++i) r += static_cast<char>(v >> (8 * i));
  return r;
}

}  // namespace

std::string BmpClaiming(int32_t width, int32_t height, int bits) {
  const std::string info = LittleEndian(40) + LittleEndian(static_cast<uint32_t>(width)) +
                           LittleEndian(static_cast<uint32_t>(height)) + LittleEndian(1, 2) +
                           LittleEndian(static_cast<uint32_t>(bits), 2) + std::string(24, '\0');
  const uint32_t palette = bits <= 8 ? 4u << bits : 0;
  return "BM" + LittleEndian(54 + palette + 16) + LittleEndian(0) + LittleEndian(54 + palette) + info +
         std::string(palette + 16, '\0');
}
