// The web update's CRC-32 of a file: the standard table, with each table
// step added to the register instead of replacing it (the form the update
// control files carry).
#pragma once

#include <cstdint>
#include <string>

// 0 for an empty file and for one that cannot be opened.
int32_t FileCRC32(const std::string& fileName);
// The same over bytes in memory (what FileCRC32 computes for a file holding them).
int32_t BufferCRC32(const void* data, size_t size);

// Running form, for a checksum computed while the bytes pass by.
class TAdditiveCRC32 {
public:
  void Add(const void* data, size_t size);
  int32_t Value() const { return static_cast<int32_t>(FRegister ^ 0xFFFFFFFFu); }

private:
  uint32_t FRegister = 0xFFFFFFFFu;
};
