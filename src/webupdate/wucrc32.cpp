#include "webupdate/wucrc32.h"

#include <array>
#include <cstdio>

namespace {

const std::array<uint32_t, 256>& Table() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t r = i;
      for (int k = 0; k < 8; ++k) r = (r & 1) ? (r >> 1) ^ 0xEDB88320u : r >> 1;
      t[i] = r;
    }
    return t;
  }();
  return table;
}

}  // namespace

void TAdditiveCRC32::Add(const void* data, size_t size) {
  const auto& t = Table();
  const auto* p = static_cast<const unsigned char*>(data);
  uint32_t r = FRegister;
  for (size_t i = 0; i < size; ++i) r += t[(r ^ p[i]) & 255] ^ (r >> 8);
  FRegister = r;
}

int32_t BufferCRC32(const void* data, size_t size) {
  TAdditiveCRC32 crc;
  crc.Add(data, size);
  return crc.Value();
}

int32_t FileCRC32(const std::string& fileName) {
  FILE* f = std::fopen(fileName.c_str(), "rb");
  if (!f) return 0;
  TAdditiveCRC32 crc;
  unsigned char block[4096];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) crc.Add(block, n);
  std::fclose(f);
  return crc.Value();
}
