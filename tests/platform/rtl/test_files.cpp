#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/textfile.h"
#include "support/tempdir.h"

namespace {

int ErrorCodeOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const EInOutError& e) {
    return e.ErrorCode;
  }
  return 0;
}

std::vector<std::string> ReadAll(const std::string& fileName) {
  TTextFile f(fileName);
  f.Reset();
  std::vector<std::string> lines;
  while (!f.Eof()) lines.push_back(f.ReadLn());
  f.CloseFile();
  return lines;
}

}  // namespace

TEST(TextFile, LineEndsLfCrLfAndCrReadAlike) {
  TTempDir dir;
  const std::vector<std::string> expected{"10.0 0.02 10.1 Sample A", "", "  123  456", "last"};
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    std::string text;
    for (const std::string& line : expected) text += line + eol;
    EXPECT_EQ(ReadAll(dir.Write("with-end.dat", text)), expected) << "line end " << int(eol[0]);
    // Without a final line end the last line reads the same.
    text.resize(text.size() - std::string(eol).size());
    EXPECT_EQ(ReadAll(dir.Write("without-end.dat", text)), expected) << "line end " << int(eol[0]);
  }
  // Mixed line ends in one file, and a CR right before the end.
  EXPECT_EQ(ReadAll(dir.Write("mixed.dat", "a\r\nb\rc\nd\r")), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(TextFile, EofAndReadingPastTheEnd) {
  TTempDir dir;
  TTextFile f(dir.Write("two.txt", "one\r\ntwo\r\n"));
  f.Reset();
  EXPECT_FALSE(f.Eof());
  EXPECT_EQ(f.ReadLn(), "one");
  EXPECT_FALSE(f.Eof());
  EXPECT_EQ(f.ReadLn(), "two");
  EXPECT_TRUE(f.Eof());
  EXPECT_EQ(ErrorCodeOf([&] { f.ReadLn(); }), 100);
  // Reset again starts from the top.
  f.Reset();
  EXPECT_EQ(f.ReadLn(), "one");
  f.CloseFile();

  TTextFile empty(dir.Write("empty.txt", ""));
  empty.Reset();
  EXPECT_TRUE(empty.Eof());
  EXPECT_TRUE(empty.Eoln());
  EXPECT_EQ(ErrorCodeOf([&] { empty.ReadLn(); }), 100);
}

TEST(TextFile, ErrorsCarryTheClassLibraryCodes) {
  TTempDir dir;
  TTextFile missing(dir.File("nosuch.dat"));
  EXPECT_EQ(ErrorCodeOf([&] { missing.Reset(); }), 2);
  TTextFile noFolder(dir.File("nofolder/x.dat"));
  EXPECT_EQ(ErrorCodeOf([&] { noFolder.Reset(); }), 3);
  EXPECT_EQ(ErrorCodeOf([&] { noFolder.Rewrite(); }), 3);
  TTextFile folder(dir.Path());
  EXPECT_EQ(ErrorCodeOf([&] { folder.Reset(); }), 5);
  TTextFile appendMissing(dir.File("nosuch.txt"));
  EXPECT_EQ(ErrorCodeOf([&] { appendMissing.Append(); }), 2);

  TTextFile closed(dir.Write("a.txt", "x\n"));
  EXPECT_EQ(ErrorCodeOf([&] { closed.ReadLn(); }), 103);
  EXPECT_EQ(ErrorCodeOf([&] { closed.WriteLn("x"); }), 103);
  EXPECT_EQ(ErrorCodeOf([&] { closed.CloseFile(); }), 103);
  closed.Reset();
  EXPECT_EQ(ErrorCodeOf([&] { closed.WriteLn("x"); }), 105);
  closed.Rewrite();
  EXPECT_EQ(ErrorCodeOf([&] { closed.ReadLn(); }), 104);
  closed.CloseFile();

  // The message names the code and the file.
  try {
    missing.Reset();
    FAIL() << "no exception";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message().find("I/O error 2"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find("nosuch.dat"), std::string::npos) << e.Message();
  }
  if (::geteuid() != 0) {  // root reads everything
    const std::string locked = dir.Write("locked.txt", "x\n");
    ::chmod(locked.c_str(), 0);
    TTextFile f(locked);
    EXPECT_EQ(ErrorCodeOf([&] { f.Reset(); }), 5);
  }
}

TEST(TextFile, RewriteAppendAndWrite) {
  TTempDir dir;
  const std::string name = dir.File("out.inp");
  TTextFile f(name);
  f.Rewrite();
  f.Write("Title");
  f.WriteLn(" line");
  f.WriteLn();
  f.CloseFile();
  f.Append();
  f.WriteLn("appended");
  f.CloseFile();
  EXPECT_EQ(TTempDir::Read(name), "Title line\n\nappended\n");
  f.Rewrite();  // empties the file
  f.CloseFile();
  EXPECT_EQ(TTempDir::Read(name), "");

  WriteFileText(name, "a\r\nb");
  EXPECT_EQ(ReadFileText(name), "a\r\nb");
  EXPECT_EQ(ErrorCodeOf([&] { ReadFileText(dir.File("missing")); }), 2);
}

// Whole-file reads take regular files only: a named pipe without a writer would block the open and the
// read, a link to /dev/zero would never end. Both are refused at once, as is a file above the size limit.
TEST(TextFile, WholeFileReadsTakeRegularFilesOfBoundedSize) {
  TTempDir dir;
  const std::string fifo = dir.File("pipe.txt");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string zero = dir.File("zero.txt");
  ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
  const std::string ten = dir.Write("ten.txt", "0123456789");
  const struct {
    const char* Case;
    std::string Name;
    std::uint64_t Limit;
    const char* Reason;
  } refused[] = {
      {"named pipe", fifo, MaxReadFileSize, ": it is not a regular file."},
      {"link to /dev/zero", zero, MaxReadFileSize, ": it is not a regular file."},
      {"above the limit", ten, 9, ": the file holds 10 bytes, more than the 9 it may have."},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.Case);
    try {
      ReadRegularFile(c.Name, c.Limit);
      ADD_FAILURE() << "read";
    } catch (const EFileKind& e) {
      EXPECT_EQ(e.Message(), "Cannot read " + c.Name + c.Reason);
    }
  }
  EXPECT_THROW(ReadFileText(fifo), EFileKind);
  EXPECT_EQ(ReadRegularFile(ten, 10), "0123456789");
  EXPECT_EQ(ReadFileText(dir.Write("empty.txt", "")), "");
  // A folder keeps its I/O error code and says what it is.
  EXPECT_EQ(ErrorCodeOf([&] { ReadFileText(dir.Path()); }), 5);
  EXPECT_THROW(ReadFileText(dir.Path()), EFileKind);
}

// Readers of a kind name their limit; the same judgement without reading
// serves readers that open files their own way.
TEST(TextFile, RefusalsNameTheKindAndItsLimit) {
  TTempDir dir;
  const std::string big = dir.Write("big.inp", "");
  ASSERT_EQ(::truncate(big.c_str(), (off_t{2} << 30) + (off_t{1} << 29)), 0);
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    const char* Case;
    std::function<void()> Call;
    std::string Message;
  } cases[] = {
      {"read, too large", [&] { ReadRegularFile(big, MaxInputFileSize, "an input file"); },
       "Cannot read " + big + ": it holds 2.5 GB, more than the 16 MB an input file may have."},
      {"checked, too large", [&] { CheckFileSize(big, MaxWorkbookFileSize, "a workbook"); },
       "Cannot read " + big + ": it holds 2.5 GB, more than the 64 MB a workbook may have."},
      {"read, folder", [&] { ReadRegularFile(dir.Path(), MaxInputFileSize, "an input file"); },
       "Cannot read " + dir.Path() + ": it is a folder."},
      {"checked, folder", [&] { CheckRegularFile(dir.Path()); }, "Cannot read " + dir.Path() + ": it is a folder."},
      {"checked, pipe", [&] { CheckRegularFile(fifo); }, "Cannot read " + fifo + ": it is not a regular file."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    try {
      c.Call();
      ADD_FAILURE() << "accepted";
    } catch (const EFileKind& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
  }
  EXPECT_NO_THROW(CheckFileSize(big, std::uint64_t{3} << 30, "x"));
  EXPECT_NO_THROW(CheckRegularFile(big));
  EXPECT_THROW(CheckRegularFile(dir.File("missing")), EInOutError);
  const std::pair<std::uint64_t, const char*> sizes[] = {
      {900, "900 bytes"}, {std::uint64_t{16} << 20, "16 MB"}, {(std::uint64_t{16} << 20) + 1, "16.0 MB"},
      {std::uint64_t{3} << 29, "1.5 GB"}};
  for (const auto& [bytes, text] : sizes) EXPECT_EQ(SizeText(bytes), text);
  // A stream opened on a pipe is refused at once instead of waiting for a writer.
  EXPECT_THROW(TFileStream(fifo, fmOpenRead), EFOpenError);
}

TEST(FileUtils, NameParts) {
  struct Case {
    const char* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
  };
  const Case cases[] = {
      {"/data/x/model.inp", "/data/x/", "/data/x", "model.inp", ".inp"},
      {"model.INP", "", "", "model.INP", ".INP"},
      {"C:\\data\\x.dat", "C:\\data\\", "C:\\data", "x.dat", ".dat"},
      {"C:\\data.old\\x", "C:\\data.old\\", "C:\\data.old", "x", ""},
      {"/home/u/mixed\\sub/a.b.c", "/home/u/mixed\\sub/", "/home/u/mixed\\sub", "a.b.c", ".c"},
      {"/tmp/dir.d/noext", "/tmp/dir.d/", "/tmp/dir.d", "noext", ""},
      {"/x.dat", "/", "/", "x.dat", ".dat"},
      {"x.dat.bak", "", "", "x.dat.bak", ".bak"},
      {"/folder/", "/folder/", "/folder", "", ""},
      {"trailingdot.", "", "", "trailingdot.", "."},
      {"", "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ExtractFilePath(c.name), c.path);
    EXPECT_EQ(ExtractFileDir(c.name), c.dir);
    EXPECT_EQ(ExtractFileName(c.name), c.file);
    EXPECT_EQ(ExtractFileExt(c.name), c.ext);
    EXPECT_EQ(ExtractFileDrive(c.name), "");
  }
}

TEST(FileUtils, ChangeFileExtAndExtensionComparison) {
  struct Case {
    const char* name;
    const char* ext;
    const char* result;
  };
  const Case cases[] = {
      {"/d/model.inp", ".out", "/d/model.out"},
      {"/d/model", ".inp", "/d/model.inp"},
      {"/d.x/model", ".inp", "/d.x/model.inp"},
      {"C:\\d.x\\model", ".inp", "C:\\d.x\\model.inp"},
      {"a.tar.gz", ".zip", "a.tar.zip"},
      {"model.inp", "", "model"},
  };
  for (const Case& c : cases) EXPECT_EQ(ChangeFileExt(c.name, c.ext), c.result) << c.name;

  EXPECT_TRUE(SameFileExt(".INP", ".inp"));
  EXPECT_TRUE(SameFileExt("inp", ".Inp"));
  EXPECT_FALSE(SameFileExt(".inp", ".in"));
  EXPECT_TRUE(HasFileExt("A.Gs", ".GS"));
  EXPECT_TRUE(HasFileExt("C:\\data\\x.DAT", "dat"));
  EXPECT_FALSE(HasFileExt("x.dat.bak", ".dat"));
  EXPECT_FALSE(HasFileExt("noext", ".dat"));
  EXPECT_TRUE(HasFileExt("noext", ""));
}

TEST(FileUtils, DelimitersAndExpansion) {
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/b"), "/a/b/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/a/b/"), "/a/b/");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/a/b//"), "/a/b");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
  EXPECT_EQ(ExpandFileName("/a/./b/../c.txt"), "/a/c.txt");
  EXPECT_EQ(ExpandFileName("/a/b/.."), "/a");
  EXPECT_EQ(ExpandFileName("rel.txt"), GetCurrentDir() + "/rel.txt");
}

TEST(FileUtils, FilesAndFolders) {
  TTempDir dir;
  const std::string deep = dir.File("a/b/c");
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));  // a folder is not a file
  EXPECT_FALSE(CreateDir(deep));   // exists already
  EXPECT_TRUE(CreateDir(deep + "/d"));
  EXPECT_TRUE(RemoveDir(deep + "/d"));
  EXPECT_FALSE(RemoveDir(dir.File("a")));  // not empty

  const std::string src = dir.Write("src.dat", "payload");
  EXPECT_TRUE(FileExists(src));
  EXPECT_EQ(FileSize(src), 7);
  EXPECT_GT(FileAge(src), 40000.0);  // a date after 2009
  EXPECT_EQ(FileAge(dir.File("missing")), -1);

  const std::string copy = dir.File("copy.dat");
  EXPECT_TRUE(CopyFile(src, copy, true));
  EXPECT_EQ(TTempDir::Read(copy), "payload");
  dir.Write("copy.dat", "other");
  EXPECT_FALSE(CopyFile(src, copy, true));  // kept
  EXPECT_EQ(TTempDir::Read(copy), "other");
  EXPECT_TRUE(CopyFile(src, copy, false));
  EXPECT_EQ(TTempDir::Read(copy), "payload");
  EXPECT_FALSE(CopyFile(src, src, false));  // never onto itself
  EXPECT_EQ(TTempDir::Read(src), "payload");
  EXPECT_FALSE(CopyFile(dir.File("missing"), dir.File("x"), false));

  EXPECT_FALSE(RenameFile(src, copy));  // the target exists
  EXPECT_TRUE(RenameFile(src, dir.File("moved.dat")));
  EXPECT_FALSE(FileExists(src));
  EXPECT_TRUE(DeleteFile(dir.File("moved.dat")));
  EXPECT_FALSE(DeleteFile(dir.File("moved.dat")));
  EXPECT_FALSE(DeleteFile(deep));  // folders are not deleted as files

  const std::string saved = GetCurrentDir();
  EXPECT_TRUE(SetCurrentDir(deep));
  EXPECT_EQ(GetCurrentDir(), ExpandFileName(deep));
  EXPECT_FALSE(SetCurrentDir(dir.File("nosuch")));
  EXPECT_TRUE(SetCurrentDir(saved));
}

TEST(FileUtils, WriteFileAtomicReplacesWholeAndKeepsMode) {
  TTempDir dir;
  const std::string name = dir.Write("settings.ini", "old");
  ::chmod(name.c_str(), 0640);
  WriteFileAtomic(name, "new contents");
  EXPECT_EQ(TTempDir::Read(name), "new contents");
  struct stat st;
  ASSERT_EQ(::stat(name.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // Through a symbolic link the target is replaced and the link stays.
  const std::string link = dir.File("link.ini");
  ASSERT_EQ(::symlink(name.c_str(), link.c_str()), 0);
  WriteFileAtomic(link, "via link");
  EXPECT_EQ(TTempDir::Read(name), "via link");
  ASSERT_EQ(::lstat(link.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
  // A missing folder fails and leaves no temporary file behind.
  EXPECT_THROW(WriteFileAtomic(dir.File("nofolder/x.ini"), "x"), EInOutError);
  EXPECT_EQ(FindFiles(dir.Path(), "*"), (std::vector<std::string>{"link.ini", "settings.ini"}));
}

TEST(FileUtils, FindFilesWildcards) {
  TTempDir dir;
  for (const char* name : {"a.dat", "b.DAT", "c.Dat", "data1.xy", "data22.xy", "DATA3.xy", "noext", "x.dat.bak",
                           ".hidden.dat", "model.inp"})
    dir.Write(name, "");
  ForceDirectories(dir.File("folder.dat"));
  struct Case {
    const char* mask;
    std::vector<std::string> found;
  };
  const Case cases[] = {
      {"*.dat", {"a.dat", "b.DAT", "c.Dat"}},
      {"*.DAT", {"a.dat", "b.DAT", "c.Dat"}},
      {"data?.xy", {"data1.xy"}},  // the name part is case-sensitive
      {"data*.xy", {"data1.xy", "data22.xy"}},
      {"*", {"DATA3.xy", "a.dat", "b.DAT", "c.Dat", "data1.xy", "data22.xy", "model.inp", "noext", "x.dat.bak"}},
      {"*.*", {"DATA3.xy", "a.dat", "b.DAT", "c.Dat", "data1.xy", "data22.xy", "model.inp", "noext", "x.dat.bak"}},
      {"*.", {"noext"}},
      {"*.ba?", {"x.dat.bak"}},
      {"*dat*", {"a.dat", "data1.xy", "data22.xy", "x.dat.bak"}},  // no extension part: all of it exact
      {"DATA*.*", {"DATA3.xy"}},
      {"noe*.*", {"noext"}},
      {".*", {".hidden.dat"}},
      {".*.DAT", {".hidden.dat"}},
      {"model.inp", {"model.inp"}},
      {"nothing*", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FindFiles(dir.Path(), c.mask), c.found) << c.mask;
  EXPECT_TRUE(FindFiles(dir.File("nosuch"), "*").empty());
}
