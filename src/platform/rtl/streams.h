// Byte streams: the abstract TStream with little-endian typed helpers, and
// memory, file and string streams.
//
// Byte layouts written by the typed helpers (all little-endian, no padding):
//   Byte 1, Word 2 (unsigned), SmallInt 2, Integer 4 (two's complement),
//   Cardinal 4, Int64 8, Single 4 (IEEE 754), Double 8 (IEEE 754),
//   Boolean 1 (0 or 1; any non-zero byte reads as true),
//   Extended 10: the x87 extended format, bytes 0..7 the 64-bit significand
//     with its explicit integer bit (bit 63), bytes 8..9 the 15-bit biased
//     exponent (bias 16383) with the sign in the top bit. Written from and
//     read into long double; exact wherever long double has a 64-bit
//     significand (x86), rounded towards zero where it has more.
//   ShortString: one length byte followed by that many bytes.
// Text is written as the bytes it holds (UTF-8); code that owes a file format
// another encoding converts before writing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/lists.h"

enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };
// The class library's older names for the same origins.
constexpr TSeekOrigin soFromBeginning = soBeginning;
constexpr TSeekOrigin soFromCurrent = soCurrent;
constexpr TSeekOrigin soFromEnd = soEnd;

class TStream : public TObject {
public:
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  std::string ClassName() const override { return "TStream"; }

  // Transfer up to count bytes at Position and advance it; return the number
  // moved (fewer at the end of the data, 0 for count <= 0).
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Returns the new position. Positions beyond the end are allowed (a later
  // Write extends the data); a negative result raises EStreamError.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position();
  void SetPosition(int64_t pos) { Seek(pos, soBeginning); }
  virtual int64_t Size();
  // New bytes are zero; a position past the new end moves to the end.
  // Raises EStreamError where the stream cannot change its size.
  virtual void SetSize(int64_t newSize);

  // All-or-nothing transfers: raise EReadError "Stream read error" /
  // EWriteError "Stream write error" when fewer bytes could be moved.
  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);

  // Copies count bytes from source's position; count 0 copies the whole of
  // source from its beginning. Returns the bytes copied; raises EReadError
  // when source runs short.
  int64_t CopyFrom(TStream& source, int64_t count);

  // Typed helpers (layouts above); the readers raise EReadError when the
  // stream ends inside the value.
  uint8_t ReadByte();
  uint16_t ReadWord();
  int16_t ReadSmallInt();
  int32_t ReadInteger();
  uint32_t ReadCardinal();
  int64_t ReadInt64();
  float ReadSingle();
  double ReadDouble();
  long double ReadExtended();
  bool ReadBoolean();
  std::string ReadShortString();
  std::string ReadString(int64_t length);  // exactly length bytes

  void WriteByte(uint8_t v);
  void WriteWord(uint16_t v);
  void WriteSmallInt(int16_t v);
  void WriteInteger(int32_t v);
  void WriteCardinal(uint32_t v);
  void WriteInt64(int64_t v);
  void WriteSingle(float v);
  void WriteDouble(double v);
  void WriteExtended(long double v);
  void WriteBoolean(bool v);
  // Text longer than 255 bytes is cut to at most 255 bytes, never inside a
  // UTF-8 character. Returns the number of text bytes written.
  int WriteShortString(const std::string& s);
  void WriteString(const std::string& s);  // the bytes only, no length

  // The 10-byte extended layout on its own (also used by component streams).
  static void ExtendedToBytes(long double v, uint8_t out[10]);
  static long double BytesToExtended(const uint8_t in[10]);
};

// A stream over a growable block of memory.
class TMemoryStream : public TStream {
public:
  TMemoryStream() = default;

  std::string ClassName() const override { return "TMemoryStream"; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(FData.size()); }
  void SetSize(int64_t newSize) override;

  // The data; valid until the size changes.
  uint8_t* Memory() { return FData.data(); }
  const uint8_t* Memory() const { return FData.data(); }
  void Clear();  // no data, position 0

  // Replace the whole contents (position 0 afterwards).
  void LoadFromStream(TStream& source);
  void LoadFromFile(const std::string& fileName);  // EFOpenError when unreadable
  // Write the whole contents (position unchanged).
  void SaveToStream(TStream& dest);
  void SaveToFile(const std::string& fileName);  // EFCreateError when not writable

private:
  std::vector<uint8_t> FData;
  int64_t FPosition = 0;
};

// File open modes; a share flag may be or-ed in and is accepted but has no
// effect on Linux.
constexpr uint16_t fmCreate = 0xFF00;  // create or truncate, then read and write
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// Saves bytes as a whole file through the atomic save (WriteFileAtomic): a
// failure leaves the old file as it was and raises EFCreateError
// `Cannot create file "<name>". <reason>`. Every SaveToFile goes through it.
void SaveBytesToFile(const std::string& fileName, const void* data, int64_t size);

// A stream over an open file. Raises EFCreateError
// `Cannot create file "<name>". <reason>` or EFOpenError
// `Cannot open file "<name>". <reason>` when the file cannot be opened.
// fmCreate truncates the file in place: a file saved for the user goes
// through SaveBytesToFile (or a SaveToFile) instead.
class TFileStream : public TStream {
public:
  TFileStream(const std::string& fileName, uint16_t mode);
  ~TFileStream() override;

  std::string ClassName() const override { return "TFileStream"; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;  // EStreamError on failure

  const std::string& FileName() const { return FFileName; }
  int Handle() const { return FHandle; }

private:
  std::string FFileName;
  int FHandle = -1;
};

// A stream over a string; DataString holds all the bytes written.
class TStringStream : public TStream {
public:
  explicit TStringStream(std::string data = std::string()) : FDataString(std::move(data)) {}

  std::string ClassName() const override { return "TStringStream"; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(FDataString.size()); }
  void SetSize(int64_t newSize) override;

  const std::string& DataString() const { return FDataString; }

private:
  std::string FDataString;
  int64_t FPosition = 0;
};
