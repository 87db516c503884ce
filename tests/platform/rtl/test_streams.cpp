#include <gtest/gtest.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

namespace {

std::string TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string base = (tmp && *tmp) ? tmp : "/tmp";
  std::string pattern = base + "/zv-streams-XXXXXX";
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

// Runs each test on the three concrete streams.
class AnyStream : public ::testing::TestWithParam<std::string> {
protected:
  void SetUp() override {
    Dir = TempFolder();
    const std::string kind = GetParam();
    if (kind == "memory")
      Stream = std::make_unique<TMemoryStream>();
    else if (kind == "string")
      Stream = std::make_unique<TStringStream>();
    else
      Stream = std::make_unique<TFileStream>(Dir + "/data.bin", fmCreate);
  }
  void TearDown() override {
    Stream.reset();
    std::filesystem::remove_all(Dir);
  }
  std::vector<uint8_t> Bytes() {
    int64_t pos = Stream->Position();
    Stream->SetPosition(0);
    std::vector<uint8_t> b(static_cast<size_t>(Stream->Size()));
    Stream->ReadBuffer(b.data(), static_cast<int64_t>(b.size()));
    Stream->SetPosition(pos);
    return b;
  }
  std::string Dir;
  std::unique_ptr<TStream> Stream;
};

INSTANTIATE_TEST_SUITE_P(Kinds, AnyStream, ::testing::Values("memory", "string", "file"));

}  // namespace

TEST_P(AnyStream, TypedValuesRoundTripLittleEndian) {
  TStream& s = *Stream;
  s.WriteByte(0xAB);
  s.WriteWord(0x1234);
  s.WriteSmallInt(-2);
  s.WriteInteger(0x01020304);
  s.WriteInteger(-123456789);
  s.WriteCardinal(0xFEDCBA98u);
  s.WriteInt64(-0x0102030405060708LL);
  s.WriteSingle(1.5f);
  s.WriteDouble(-2.25);
  s.WriteBoolean(true);
  s.WriteExtended(3.25L);
  EXPECT_EQ(s.WriteShortString("name"), 4);
  s.WriteString("raw");
  EXPECT_EQ(s.Size(), 1 + 2 + 2 + 4 + 4 + 4 + 8 + 4 + 8 + 1 + 10 + 5 + 3);

  const std::vector<uint8_t> head{0xAB, 0x34, 0x12, 0xFE, 0xFF, 0x04, 0x03, 0x02, 0x01};
  std::vector<uint8_t> bytes = Bytes();
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 9), head);
  // 1.5f is 0x3FC00000.
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 25, bytes.begin() + 29), (std::vector<uint8_t>{0, 0, 0xC0, 0x3F}));

  s.SetPosition(0);
  EXPECT_EQ(s.ReadByte(), 0xAB);
  EXPECT_EQ(s.ReadWord(), 0x1234);
  EXPECT_EQ(s.ReadSmallInt(), -2);
  EXPECT_EQ(s.ReadInteger(), 0x01020304);
  EXPECT_EQ(s.ReadInteger(), -123456789);
  EXPECT_EQ(s.ReadCardinal(), 0xFEDCBA98u);
  EXPECT_EQ(s.ReadInt64(), -0x0102030405060708LL);
  EXPECT_EQ(s.ReadSingle(), 1.5f);
  EXPECT_EQ(s.ReadDouble(), -2.25);
  EXPECT_TRUE(s.ReadBoolean());
  EXPECT_EQ(s.ReadExtended(), 3.25L);
  EXPECT_EQ(s.ReadShortString(), "name");
  EXPECT_EQ(s.ReadString(3), "raw");
  EXPECT_EQ(s.Position(), s.Size());
}

TEST_P(AnyStream, ShortReadsRaiseAndPlainReadsReportTheCount) {
  TStream& s = *Stream;
  s.WriteWord(7);
  s.SetPosition(0);
  struct Case {
    const char* name;
    std::function<void()> call;
  };
  const std::vector<Case> cases = {
      {"ReadInteger", [&] { s.ReadInteger(); }},
      {"ReadDouble", [&] { s.ReadDouble(); }},
      {"ReadExtended", [&] { s.ReadExtended(); }},
      {"ReadString", [&] { s.ReadString(3); }},
      {"ReadShortString", [&] { s.ReadShortString(); }},  // length 7, one byte left
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    s.SetPosition(0);
    try {
      c.call();
      ADD_FAILURE() << "no EReadError";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Stream read error");
    }
  }
  // A damaged length never allocates beyond the data.
  s.SetPosition(0);
  EXPECT_THROW(s.ReadString(std::numeric_limits<int64_t>::max() / 2), EReadError);

  char buf[8];
  s.SetPosition(1);
  EXPECT_EQ(s.Read(buf, 8), 1);
  EXPECT_EQ(s.Read(buf, 8), 0);
}

TEST_P(AnyStream, SeekOriginsAndGrowth) {
  TStream& s = *Stream;
  s.WriteString("0123456789");
  EXPECT_EQ(s.Seek(-3, soFromEnd), 7);
  EXPECT_EQ(s.ReadString(3), "789");
  EXPECT_EQ(s.Seek(-5, soCurrent), 5);
  EXPECT_EQ(s.Seek(2, soBeginning), 2);
  EXPECT_EQ(s.ReadByte(), '2');
  EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);

  // Writing past the end fills the gap with zeros.
  s.Seek(2, soEnd);
  s.WriteByte('x');
  EXPECT_EQ(s.Size(), 13);
  std::vector<uint8_t> b = Bytes();
  EXPECT_EQ(b[10], 0);
  EXPECT_EQ(b[11], 0);
  EXPECT_EQ(b[12], 'x');

  // Shrinking pulls a position past the end back to the end.
  s.SetSize(4);
  EXPECT_EQ(s.Size(), 4);
  EXPECT_EQ(s.Position(), 4);
  s.SetSize(6);
  b = Bytes();
  EXPECT_EQ(b, (std::vector<uint8_t>{'0', '1', '2', '3', 0, 0}));
}

TEST_P(AnyStream, CopyFrom) {
  TStringStream src("abcdefgh");
  src.SetPosition(5);
  EXPECT_EQ(Stream->CopyFrom(src, 0), 8);  // whole stream, whatever the position
  src.SetPosition(2);
  EXPECT_EQ(Stream->CopyFrom(src, 3), 3);
  EXPECT_EQ(src.Position(), 5);
  Stream->SetPosition(0);
  EXPECT_EQ(Stream->ReadString(Stream->Size()), "abcdefghcde");
  EXPECT_THROW(Stream->CopyFrom(src, 10), EReadError);
}

TEST(TStream, ExtendedLayoutAndRoundTrip) {
  // Known encodings of the 10-byte layout.
  struct Known {
    long double v;
    std::vector<uint8_t> bytes;
  };
  const Known known[] = {
      {1.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F}},
      {-2.0L, {0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0}},
      {0.0L, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {3.0L, {0, 0, 0, 0, 0, 0, 0, 0xC0, 0x00, 0x40}},
  };
  for (const auto& k : known) {
    SCOPED_TRACE(static_cast<double>(k.v));
    uint8_t out[10];
    TStream::ExtendedToBytes(k.v, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 10), k.bytes);
  }

  const long double values[] = {0.1L,
                                -0.0L,
                                1.0L / 3.0L,
                                123456789.123456789L,
                                -1e300L,
                                1e-300L,
                                LDBL_MAX,
                                -LDBL_MAX,
                                LDBL_MIN,
                                LDBL_TRUE_MIN,
                                LDBL_TRUE_MIN * 12345,
                                static_cast<long double>(FLT_MAX),
                                std::numeric_limits<long double>::infinity(),
                                -std::numeric_limits<long double>::infinity()};
  TMemoryStream s;
  for (long double v : values) s.WriteExtended(v);
  s.WriteExtended(std::numeric_limits<long double>::quiet_NaN());
  EXPECT_EQ(s.Size(), 10 * 15);
  s.SetPosition(0);
  for (long double v : values) {
    long double back = s.ReadExtended();
    EXPECT_EQ(back, v);
    EXPECT_EQ(std::signbit(back), std::signbit(v));
  }
  EXPECT_TRUE(std::isnan(s.ReadExtended()));
}

TEST(TStream, ShortStringIsCutAtACharacterBoundary) {
  struct Case {
    std::string text;
    size_t written;
  };
  const std::string e = "\xC3\xA9";  // two-byte character
  std::string longAscii(300, 'a');
  std::string oddThenWide = std::string(254, 'a') + e;  // the 'é' would straddle byte 255
  std::string wideOnly;
  for (int i = 0; i < 200; ++i) wideOnly += e;  // 400 bytes
  const Case cases[] = {
      {"", 0}, {std::string(255, 'b'), 255}, {longAscii, 255}, {oddThenWide, 254}, {wideOnly, 254}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.size());
    TMemoryStream s;
    EXPECT_EQ(s.WriteShortString(c.text), static_cast<int>(c.written));
    EXPECT_EQ(s.Size(), static_cast<int64_t>(c.written + 1));
    s.SetPosition(0);
    EXPECT_EQ(s.ReadShortString(), c.text.substr(0, c.written));
  }
}

TEST(TFileStream, OpenErrorsNameTheFile) {
  const std::string dir = TempFolder();
  const std::string missing = dir + "/missing.bin";
  try {
    TFileStream f(missing, fmOpenRead | fmShareDenyNone);
    FAIL() << "no EFOpenError";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". " + std::strerror(ENOENT));  // the system's text, in the desktop's language
  }
  const std::string inMissingFolder = dir + "/no/such.bin";
  try {
    TFileStream f(inMissingFolder, fmCreate);
    FAIL() << "no EFCreateError";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message(), "Cannot create file \"" + inMissingFolder + "\". " + std::strerror(ENOENT));  // the system's text, in the desktop's language
  }
  EXPECT_THROW((TFileStream{dir, fmOpenRead}), EFOpenError);  // a folder is no file
  std::filesystem::remove_all(dir);
}

TEST(TFileStream, ModesReadWriteAndTruncate) {
  const std::string dir = TempFolder();
  const std::string name = dir + "/f.bin";
  {
    TFileStream f(name, fmCreate | fmShareExclusive);
    f.WriteString("hello world");
    EXPECT_EQ(f.FileName(), name);
  }
  {
    TFileStream f(name, fmOpenReadWrite);
    f.Seek(6, soBeginning);
    f.WriteString("there");
    f.SetPosition(0);
    EXPECT_EQ(f.ReadString(f.Size()), "hello there");
  }
  {
    TFileStream f(name, fmOpenRead);
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);  // opened for reading only
  }
  {
    TFileStream f(name, fmCreate);  // truncates
    EXPECT_EQ(f.Size(), 0);
  }
  std::filesystem::remove_all(dir);
}

TEST(TMemoryStream, FilesAndMemory) {
  const std::string dir = TempFolder();
  TMemoryStream m;
  m.WriteInteger(42);
  m.WriteString("tail");
  ASSERT_NE(m.Memory(), nullptr);
  EXPECT_EQ(m.Memory()[0], 42);
  m.SaveToFile(dir + "/m.bin");
  EXPECT_EQ(std::filesystem::file_size(dir + "/m.bin"), 8u);

  TMemoryStream back;
  back.WriteString("old contents, longer");
  back.LoadFromFile(dir + "/m.bin");
  EXPECT_EQ(back.Size(), 8);
  EXPECT_EQ(back.Position(), 0);
  EXPECT_EQ(back.ReadInteger(), 42);
  EXPECT_THROW(back.LoadFromFile(dir + "/none.bin"), EFOpenError);
  EXPECT_EQ(back.Size(), 8);  // a failed load keeps the data
  EXPECT_THROW(m.SaveToFile(dir + "/no/m.bin"), EFCreateError);

  back.Clear();
  EXPECT_EQ(back.Size(), 0);
  EXPECT_EQ(back.Position(), 0);

  TStringStream str;
  m.SaveToStream(str);
  EXPECT_EQ(str.DataString(), std::string("\x2A\0\0\0tail", 8));
  std::filesystem::remove_all(dir);
}
