#include "platform/rtl/streams.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/fileutils.h"

namespace {

// Little-endian encoding independent of the host's byte order.
template <typename U>
void PutLE(uint8_t* out, U v) {
  for (size_t i = 0; i < sizeof(U); ++i) out[i] = static_cast<uint8_t>(v >> (8 * i));
}

template <typename U>
U GetLE(const uint8_t* in) {
  U v = 0;
  for (size_t i = 0; i < sizeof(U); ++i) v = static_cast<U>(v | (static_cast<U>(in[i]) << (8 * i)));
  return v;
}

template <typename U>
U ReadLE(TStream& s) {
  uint8_t buf[sizeof(U)];
  s.ReadBuffer(buf, sizeof(U));
  return GetLE<U>(buf);
}

template <typename U>
void WriteLE(TStream& s, U v) {
  uint8_t buf[sizeof(U)];
  PutLE<U>(buf, v);
  s.WriteBuffer(buf, sizeof(U));
}

std::string SysReason(int err) { return std::strerror(err); }

// New position for a stream whose data ends at size; raises on a negative
// one (or one beyond the 64-bit range).
int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size) {
  int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
  int64_t target;
  if (__builtin_add_overflow(base, offset, &target) || target < 0) throw EStreamError("Stream seek error");
  return target;
}

// The data grown to end bytes: a memory failure is a stream error, as in
// the class library, not a crash of the caller.
template <class Buffer>
void Grow(Buffer& data, int64_t end) {
  try {
    data.resize(static_cast<size_t>(end));
  } catch (const std::bad_alloc&) {
    throw EStreamError("Out of memory while expanding memory stream");
  } catch (const std::length_error&) {
    throw EStreamError("Out of memory while expanding memory stream");
  }
}

}  // namespace

// --- TStream

int64_t TStream::Position() { return Seek(0, soCurrent); }

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError(ClassName() + " does not support changing its size"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count <= 0) return 0;
  const int64_t total = count;
  std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(count, 1 << 20)));
  while (count > 0) {
    int64_t n = std::min<int64_t>(count, static_cast<int64_t>(buf.size()));
    source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    count -= n;
  }
  return total;
}

uint8_t TStream::ReadByte() { return ReadLE<uint8_t>(*this); }
uint16_t TStream::ReadWord() { return ReadLE<uint16_t>(*this); }
int16_t TStream::ReadSmallInt() { return static_cast<int16_t>(ReadLE<uint16_t>(*this)); }
int32_t TStream::ReadInteger() { return static_cast<int32_t>(ReadLE<uint32_t>(*this)); }
uint32_t TStream::ReadCardinal() { return ReadLE<uint32_t>(*this); }
int64_t TStream::ReadInt64() { return static_cast<int64_t>(ReadLE<uint64_t>(*this)); }
bool TStream::ReadBoolean() { return ReadByte() != 0; }

float TStream::ReadSingle() {
  uint32_t bits = ReadLE<uint32_t>(*this);
  float v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

double TStream::ReadDouble() {
  uint64_t bits = ReadLE<uint64_t>(*this);
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

long double TStream::ReadExtended() {
  uint8_t buf[10];
  ReadBuffer(buf, 10);
  return BytesToExtended(buf);
}

std::string TStream::ReadShortString() {
  uint8_t len = ReadByte();
  return ReadString(len);
}

std::string TStream::ReadString(int64_t length) {
  if (length <= 0) return std::string();
  // A damaged length must not allocate more than the stream can hold.
  if (length > Size() - Position()) throw EReadError("Stream read error");
  std::string s(static_cast<size_t>(length), '\0');
  ReadBuffer(s.data(), length);
  return s;
}

void TStream::WriteByte(uint8_t v) { WriteLE<uint8_t>(*this, v); }
void TStream::WriteWord(uint16_t v) { WriteLE<uint16_t>(*this, v); }
void TStream::WriteSmallInt(int16_t v) { WriteLE<uint16_t>(*this, static_cast<uint16_t>(v)); }
void TStream::WriteInteger(int32_t v) { WriteLE<uint32_t>(*this, static_cast<uint32_t>(v)); }
void TStream::WriteCardinal(uint32_t v) { WriteLE<uint32_t>(*this, v); }
void TStream::WriteInt64(int64_t v) { WriteLE<uint64_t>(*this, static_cast<uint64_t>(v)); }
void TStream::WriteBoolean(bool v) { WriteByte(v ? 1 : 0); }

void TStream::WriteSingle(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  WriteLE<uint32_t>(*this, bits);
}

void TStream::WriteDouble(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  WriteLE<uint64_t>(*this, bits);
}

void TStream::WriteExtended(long double v) {
  uint8_t buf[10];
  ExtendedToBytes(v, buf);
  WriteBuffer(buf, 10);
}

int TStream::WriteShortString(const std::string& s) {
  size_t len = s.size();
  if (len > 255) {
    len = 255;
    // Back off continuation bytes so a character is never split.
    while (len > 0 && (static_cast<uint8_t>(s[len]) & 0xC0) == 0x80) --len;
  }
  WriteByte(static_cast<uint8_t>(len));
  WriteBuffer(s.data(), static_cast<int64_t>(len));
  return static_cast<int>(len);
}

void TStream::WriteString(const std::string& s) { WriteBuffer(s.data(), static_cast<int64_t>(s.size())); }

void TStream::ExtendedToBytes(long double v, uint8_t out[10]) {
  uint64_t mant = 0;
  int exp = 0;
  const bool negative = std::signbit(v);
  if (std::isnan(v)) {
    exp = 0x7FFF;
    mant = 0xC000000000000000ull;  // quiet NaN
  } else if (std::isinf(v)) {
    exp = 0x7FFF;
    mant = 0x8000000000000000ull;
  } else if (v != 0) {
    int e = 0;
    long double m = std::frexp(std::fabs(v), &e);  // m in [0.5, 1)
    // 64 significant bits; anything beyond (long double wider than x87) is cut.
    mant = static_cast<uint64_t>(std::ldexp(m, 64));
    int biased = e + 16382;
    if (biased >= 0x7FFF) {
      exp = 0x7FFF;
      mant = 0x8000000000000000ull;
    } else if (biased <= 0) {
      int shift = 1 - biased;
      mant = shift >= 64 ? 0 : mant >> shift;
      exp = 0;
    } else {
      exp = biased;
    }
  }
  PutLE<uint64_t>(out, mant);
  PutLE<uint16_t>(out + 8, static_cast<uint16_t>(exp | (negative ? 0x8000 : 0)));
}

long double TStream::BytesToExtended(const uint8_t in[10]) {
  uint64_t mant = GetLE<uint64_t>(in);
  uint16_t se = GetLE<uint16_t>(in + 8);
  int exp = se & 0x7FFF;
  long double v;
  if (exp == 0x7FFF) {
    v = (mant << 1) == 0 ? HUGE_VALL : std::nanl("");
  } else if (exp == 0) {
    v = std::ldexp(static_cast<long double>(mant), -16445);
  } else {
    v = std::ldexp(static_cast<long double>(mant), exp - 16383 - 63);
  }
  return (se & 0x8000) ? -v : v;
}

// --- TMemoryStream

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  int64_t size = Size();
  if (count <= 0 || FPosition >= size) return 0;
  int64_t n = std::min(count, size - FPosition);
  std::memcpy(buffer, FData.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end;
  if (__builtin_add_overflow(FPosition, count, &end)) return 0;
  if (end > Size()) Grow(FData, end);
  std::memcpy(FData.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  FPosition = SeekTarget(offset, origin, FPosition, Size());
  return FPosition;
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) throw EStreamError("Stream size error");
  Grow(FData, newSize);
  if (FPosition > newSize) FPosition = newSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  int64_t count = source.Size();
  std::vector<uint8_t> data(static_cast<size_t>(count));
  source.ReadBuffer(data.data(), count);
  FData.swap(data);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& dest) { dest.WriteBuffer(FData.data(), Size()); }

void TMemoryStream::SaveToFile(const std::string& fileName) { SaveBytesToFile(fileName, FData.data(), Size()); }

void SaveBytesToFile(const std::string& fileName, const void* data, int64_t size) {
  try {
    WriteFileAtomic(fileName, data, static_cast<size_t>(std::max<int64_t>(size, 0)));
  } catch (const EInOutError& e) {
    throw EFCreateError("Cannot create file \"" + fileName + "\". " +
                        (e.SysError != 0 ? SysReason(e.SysError) + "." : e.Message()));
  }
}

// --- TFileStream

TFileStream::TFileStream(const std::string& fileName, uint16_t mode) : FFileName(fileName) {
  if ((mode & fmCreate) == fmCreate) {
    FHandle = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (FHandle < 0) throw EFCreateError("Cannot create file \"" + fileName + "\". " + SysReason(errno));
    return;
  }
  int flags = O_CLOEXEC;
  switch (mode & 0x3) {
    case fmOpenWrite: flags |= O_WRONLY; break;
    case fmOpenReadWrite: flags |= O_RDWR; break;
    default: flags |= O_RDONLY; break;
  }
  // Without waiting: a named pipe with no writer would hold a blocking open.
  FHandle = ::open(fileName.c_str(), flags | O_NONBLOCK);
  if (FHandle >= 0) {
    struct stat st;
    if (::fstat(FHandle, &st) == 0 && !S_ISREG(st.st_mode)) {
      const bool folder = S_ISDIR(st.st_mode);
      ::close(FHandle);
      FHandle = -1;
      if (!folder)
        throw EFOpenError("Cannot open file \"" + fileName + "\". It is not a regular file.");
      errno = EISDIR;
    }
  }
  if (FHandle >= 0) ::fcntl(FHandle, F_SETFL, ::fcntl(FHandle, F_GETFL) & ~O_NONBLOCK);
  if (FHandle < 0) throw EFOpenError("Cannot open file \"" + fileName + "\". " + SysReason(errno));
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t done = 0;
  auto* p = static_cast<uint8_t*>(buffer);
  while (done < count) {
    ssize_t n = ::read(FHandle, p + done, static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t done = 0;
  auto* p = static_cast<const uint8_t*>(buffer);
  while (done < count) {
    ssize_t n = ::write(FHandle, p + done, static_cast<size_t>(std::min<int64_t>(count - done, 1 << 30)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
  off_t pos = ::lseek(FHandle, static_cast<off_t>(offset), whence);
  if (pos < 0) throw EStreamError("Stream seek error: " + SysReason(errno));
  return pos;
}

void TFileStream::SetSize(int64_t newSize) {
  int64_t pos = Seek(0, soCurrent);
  if (newSize < 0 || ::ftruncate(FHandle, static_cast<off_t>(newSize)) != 0)
    throw EStreamError("Cannot change the size of \"" + FFileName + "\". " + SysReason(errno));
  if (pos > newSize) Seek(newSize, soBeginning);
}

// --- TStringStream

int64_t TStringStream::Read(void* buffer, int64_t count) {
  int64_t size = Size();
  if (count <= 0 || FPosition >= size) return 0;
  int64_t n = std::min(count, size - FPosition);
  std::memcpy(buffer, FDataString.data() + FPosition, static_cast<size_t>(n));
  FPosition += n;
  return n;
}

int64_t TStringStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  int64_t end;
  if (__builtin_add_overflow(FPosition, count, &end)) return 0;
  if (end > Size()) Grow(FDataString, end);
  std::memcpy(FDataString.data() + FPosition, buffer, static_cast<size_t>(count));
  FPosition = end;
  return count;
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin) {
  FPosition = SeekTarget(offset, origin, FPosition, Size());
  return FPosition;
}

void TStringStream::SetSize(int64_t newSize) {
  if (newSize < 0) throw EStreamError("Stream size error");
  Grow(FDataString, newSize);
  if (FPosition > newSize) FPosition = newSize;
}
