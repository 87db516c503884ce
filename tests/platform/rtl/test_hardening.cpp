// Run-time layer input that is damaged or made to harm: positions beyond the
// 64-bit range, Format widths asking for gigabytes, settings files nesting keys
// without end, date-times without a second count.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <memory>
#include <string>

#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/streams.h"
#include "support/tempdir.h"

TEST(Hardening, StreamPositionsBeyondTheSixtyFourBitRangeAreStreamErrors) {
  for (const char* kind : {"memory", "string"}) {
    SCOPED_TRACE(kind);
    std::unique_ptr<TStream> s;
    if (std::string(kind) == "memory") s = std::make_unique<TMemoryStream>();
    else s = std::make_unique<TStringStream>();
    s->WriteString("abcd");
    s->SetPosition(2);
    EXPECT_THROW(s->Seek(INT64_MAX, soCurrent), EStreamError);
    EXPECT_THROW(s->Seek(INT64_MAX - 1, soEnd), EStreamError);
    EXPECT_THROW(s->Seek(INT64_MIN, soCurrent), EStreamError);
    EXPECT_EQ(s->Position(), 2);
    // A write whose end cannot be counted moves nothing.
    s->Seek(INT64_MAX - 1, soBeginning);
    EXPECT_THROW(s->WriteString("xyz"), EWriteError);
    EXPECT_EQ(s->Size(), 4);
  }
}

TEST(Hardening, FormatRefusesWidthsAndPrecisionsBeyondAMillion) {
  const struct {
    const char* fmt;
    std::vector<TVarRec> args;
  } bad[] = {
      {"%999999999d", {1}},         {"%1000001s", {"x"}},      {"%.99999999999999999999d", {1}},
      {"%*d", {2000000, 1}},        {"%-*d", {-2000000, 1}},   {"%.*f", {INT_MAX, 1.5}},
      {"%4294967297:d", {1}},
  };
  for (const auto& c : bad) {
    try {
      Format(c.fmt, c.args);
      ADD_FAILURE() << c.fmt;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), std::string("Format '") + c.fmt + "' invalid or incompatible with argument");
    }
  }
  // A million is still a width.
  EXPECT_EQ(Format("%1000000d", {7}).size(), 1000000u);
  EXPECT_EQ(Format("%-*d|", {1000000, 7}).size(), 1000001u);
}

TEST(Hardening, DateTimesWithoutASecondCountAreConvertErrors) {
  for (double v : {double(NAN), double(INFINITY), -double(INFINITY), 1e300, -1e15}) EXPECT_THROW(DateTimeToUnix(v), EConvertError) << v;
  EXPECT_EQ(DateTimeToUnix(25569.0 + 1.0), 86400);
  EXPECT_EQ(DateTimeToUnix(2958465.0), 253402214400);  // 9999-12-31
}

TEST(Hardening, SettingsKeysNestedBeyondTheLimitAreDamage) {
  // A root of its own, so that the damage stays in this test's file.
  const std::string fileName = TRegistry::StoreFileName(HKEY_CURRENT_CONFIG);
  ForceDirectories(ExtractFilePath(fileName));
  std::string limit, beyond;
  for (int i = 0; i < 512; ++i) limit += "k\\";
  for (int i = 0; i < 100000; ++i) beyond += "d\\";
  {
    TFileStream f(fileName, fmCreate);
    f.WriteString("[Kept]\n\"A\"=int:1\n[" + limit + "]\n\"Deep\"=int:2\n[" + beyond + "]\n\"Lost\"=int:3\n");
  }
  testing::internal::CaptureStderr();
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_CONFIG);
    EXPECT_FALSE(reg.KeyExists("d"));
    ASSERT_TRUE(reg.OpenKey("Kept", false));
    // Writing walks the whole tree.
    reg.WriteInteger("B", 4);
    reg.CloseKey();
  }
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("2 damaged line(s)"), std::string::npos) << err;  // the key and its value
  TRegistry again;
  again.SetRootKey(HKEY_CURRENT_CONFIG);
  ASSERT_TRUE(again.OpenKeyReadOnly(limit));
  EXPECT_EQ(again.ReadInteger("Deep"), 2);
  ASSERT_TRUE(again.OpenKeyReadOnly("\\Kept"));
  EXPECT_EQ(again.ReadInteger("A"), 1);
  EXPECT_EQ(again.ReadInteger("B"), 4);
  again.CloseKey();
  EXPECT_TRUE(FileExists(fileName + ".bak"));  // the damaged file, kept
  std::remove((fileName + ".bak").c_str());
  std::remove(fileName.c_str());
}
