#include <gtest/gtest.h>

#include "platform/rtl/dynlib.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/sysinfo.h"
#include "support/tempdir.h"
#include "support/testlocale.h"

namespace {

// Loads and expects failure with the given number.
void ExpectLoadFails(const std::string& name, unsigned code) {
  SetLastError(0);
  HMODULE h = LoadLibrary(name);
  EXPECT_EQ(h, nullptr) << name;
  if (h) FreeLibrary(h);
  EXPECT_EQ(GetLastError(), code) << name << ": " << LastLoaderMessage();
}

}  // namespace

TEST(DynLib, NameMapping) {
  EXPECT_EQ(LibraryFileName("zudezez.dll"), "libzudezez.so");
  EXPECT_EQ(LibraryFileName("SpaceGroup.DLL"), "libSpaceGroup.so");
  EXPECT_EQ(LibraryFileName("/opt/x/engine.dll"), "/opt/x/libengine.so");
  EXPECT_EQ(LibraryFileName("libm.so.6"), "libm.so.6");
  EXPECT_EQ(UndecoratedName("_startprog@36"), "startprog");
  EXPECT_EQ(UndecoratedName("_quickclose@0"), "quickclose");
  for (const char* plain : {"startprog", "_x@", "@4", "_@4", "_a@4b", "a@4"}) EXPECT_EQ(UndecoratedName(plain), "") << plain;
}

TEST(DynLib, LoadsFromTheProgramFolderAndFindsDecoratedEntries) {
  ASSERT_TRUE(FileExists(ProgramFolder() + "libzvtestlib.so")) << "built beside the test program";
  HMODULE h = LoadLibrary("zvtestlib.dll");
  ASSERT_NE(h, nullptr) << LastLoaderMessage();
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(GetModuleFileName(h), ProgramFolder() + "libzvtestlib.so");

  using TAnswer = int (*)(int*);
  auto answer = reinterpret_cast<TAnswer>(GetProcAddress(h, "_answer@4"));
  ASSERT_NE(answer, nullptr);
  int value = 5;
  EXPECT_EQ(answer(&value), 52);
  EXPECT_EQ(GetProcAddress(h, "answer"), reinterpret_cast<FARPROC>(answer));
  EXPECT_EQ(GetProcAddress(h, "_answer@x"), nullptr);  // not a decoration
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_EQ(GetProcAddress(h, "_missing@4"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);

  // Upper case in the name still finds the lower-case file; a second load
  // counts and needs its own free.
  HMODULE again = LoadLibrary("ZVTESTLIB.DLL");
  EXPECT_EQ(again, h);
  EXPECT_TRUE(FreeLibrary(again));
  EXPECT_NE(GetProcAddress(h, "plain_answer"), nullptr);
  EXPECT_TRUE(FreeLibrary(h));

  // A freed or made-up handle is refused, not passed to the loader.
  EXPECT_FALSE(FreeLibrary(h));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  int notAHandle = 0;
  EXPECT_EQ(GetProcAddress(&notAHandle, "_answer@4"), nullptr);
  EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(DynLib, LoadsByFullPathAndFromTheSystemSearchPath) {
  HMODULE h = LoadLibrary(ProgramFolder() + "zvtestlib.dll");
  ASSERT_NE(h, nullptr) << LastLoaderMessage();
  EXPECT_TRUE(FreeLibrary(h));
  HMODULE libm = LoadLibrary("libm.so.6");
  ASSERT_NE(libm, nullptr) << LastLoaderMessage();
  EXPECT_NE(GetProcAddress(libm, "cos"), nullptr);
  EXPECT_TRUE(FreeLibrary(libm));
}

TEST(DynLib, FailuresGiveTheClassLibraryNumbers) {
  TTempDir dir;
  ExpectLoadFails("nosuch.dll", ERROR_DLL_NOT_FOUND);
  ExpectLoadFails(dir.File("nosuch.dll"), ERROR_DLL_NOT_FOUND);
  ExpectLoadFails(dir.File("nofolder/zvtestlib.dll"), ERROR_PATH_NOT_FOUND);
  dir.Write("libdamaged.so", "this is not a library at all, just text\n");
  ExpectLoadFails(dir.File("damaged.dll"), ERROR_BAD_EXE_FORMAT);
  dir.Write("libempty.so", "");
  ExpectLoadFails(dir.File("empty.dll"), ERROR_BAD_EXE_FORMAT);
  // Present and valid, but it needs a symbol nobody provides.
  ExpectLoadFails("zvbadinit.dll", ERROR_DLL_INIT_FAILED);
  EXPECT_NE(LastLoaderMessage().find("zv_symbol_nobody_defines"), std::string::npos) << LastLoaderMessage();
}

// On a German desktop the loader's messages come translated; the failures are
// still told apart (a missing library is not a broken one).
TEST(DynLib, FailuresAreToldApartUnderATranslatedDesktop) {
  TScopedLocale german;
  ASSERT_TRUE(german.Active());
  TTempDir dir;
  ExpectLoadFails("nosuch.dll", ERROR_DLL_NOT_FOUND);
  dir.Write("libdamaged.so", "this is not a library at all, just text\n");
  ExpectLoadFails(dir.File("damaged.dll"), ERROR_BAD_EXE_FORMAT);
  ExpectLoadFails("zvbadinit.dll", ERROR_DLL_INIT_FAILED);
}
