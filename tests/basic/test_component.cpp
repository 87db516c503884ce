// The interpreter component: compile and run messages, program sources and
// the compiled-code file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "basic/sberrors.h"
#include "macrotest.h"
#include "platform/rtl/textfile.h"
#include "support/tempdir.h"

namespace {

std::string Lines(int n, const std::string& line) {
  std::string s;
  for (int i = 0; i < n; ++i) s += line + "\n";
  return s;
}

TEST(Component, CompileErrorMessageHasHeadlineAndLine) {
  TMacro m;
  m.Basic.SetHeadline("Error");
  TSBMessageText label;
  m.Basic.SetMessage_Label(&label);
  EXPECT_EQ(m.Compile(Lines(11, "X = 1") + "IF * THEN"), 9);
  EXPECT_EQ(m.Message(), "Error: Invalid statement. Line:0012");
  EXPECT_EQ(label.Caption(), m.Message());
  // A good compile clears the captions.
  EXPECT_EQ(m.Compile("X = 1"), 0);
  EXPECT_EQ(m.Message(), "");
  EXPECT_EQ(label.Caption(), "");
}

TEST(Component, RunTimeReport) {
  TMacro m;
  m.Basic.SetMax_Count(5);
  EXPECT_EQ(m.Run("X = 1\nINTEGER I\nDO\nI = I + 1\nLOOP"), "compile 150");
  EXPECT_EQ(m.Run("INTEGER I\nX = 1\nDO\nI = I + 1\nLOOP"), "run 310");
  // The loop jumps back to the assignment in line 4 (entry 1), which exceeds the limit first.
  EXPECT_EQ(m.Message(), " Run time error :310  IP:0001   Line:0004.  Too many cycles");
}

TEST(Component, LibraryLinesShiftLineNumbers) {
  TTempDir dir;
  const std::string library = dir.Write("lib.rib", Lines(9, "// library") + "FUNCTION TWICE(X AS INTEGER) AS INTEGER\n"
                                                                              " TWICE = X * 2\nEND FUNCTION\n");
  TMacro m;
  m.Basic.SetSource_Library(library);
  EXPECT_EQ(m.Run("OUT(TWICE(21))"), "42");
  EXPECT_EQ(m.Basic.Source().LibraryLines, 12);
  EXPECT_EQ(m.Compile("IF * THEN"), 9);
  EXPECT_EQ(m.Message(), ": Invalid statement. Line:0001");
  // Run-time errors count from the first program line too.
  m.Basic.SetMax_Count(3);
  EXPECT_EQ(m.Run("INTEGER I\nDO\nI = I + 1\nLOOP"), "run 310");
  // The DO mark is the first entry and stays: it exceeds the limit first.
  EXPECT_EQ(m.Message(), " Run time error :310  IP:0000   Line:0002.  Too many cycles");
}

TEST(Component, ContinuedStatementReportsItsLastLine) {
  TMacro m;
  EXPECT_EQ(m.Compile("X = 1\nY = 1 + _\n 2 * _\n * 3"), 37);
  EXPECT_EQ(m.Basic.Checker().ErrorLine, 3);
}

TEST(Component, CommentsOnlyGiveTheEndEntryAlone) {
  TMacro m;
  EXPECT_EQ(m.Compile("// nothing\n\n   // at all\n"), 0);
  ASSERT_EQ(m.Basic.Code().CodeCount(), 1);
  EXPECT_EQ(m.Basic.Code().Codes[0].Op.Kind, skQuite);
}

TEST(Component, CommentMarkInsideStringCutsTheLine) {
  TMacro m;
  EXPECT_EQ(m.Compile("S = \"http://x\""), 1);
}

TEST(Component, RunAfterFailedCompileCompilesAgainAndFails) {
  TMacro m;
  EXPECT_EQ(m.Compile("IF"), 6);
  EXPECT_EQ(m.Basic.Code().CodeCount(), 0);
  EXPECT_EQ(m.Basic.Run(), 6);
  // Fixing the source lets Run compile it.
  m.Memo.SetText("OUT(1)");
  m.Out.clear();
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), "1");
}

TEST(Component, CodeRunsAgainFromItsVariables) {
  TMacro m;
  ASSERT_EQ(m.Compile("INTEGER N\nN = N + 1\nOUT(N)"), 0);
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), "1|2");
}

TEST(Component, TooManyRegistersIsACompileError) {
  TMacro m;
  // Each "+" grouped from the left takes one more register; lines are
  // continued since a line holds at most 255 characters.
  auto sum = [](int terms) {
    std::string s = "X = 1";
    for (int i = 1; i < terms; ++i) s += i % 40 == 0 ? " + _\n1" : " + 1";
    return s;
  };
  EXPECT_EQ(m.Compile(sum(160)), sbeTooComplex);
  EXPECT_EQ(m.Basic.Checker().ErrorLine, 3);
  EXPECT_EQ(m.Run(sum(150) + "\nOUT(X)"), "150");
}

TEST(Component, AddFunctionAfterCompileDropsTheCode) {
  TMacro m;
  ASSERT_EQ(m.Compile("OUT(1)"), 0);
  m.Basic.AddFunction("NOP", [](TSBCodeList&, TSBResultCell&) {}, tcInteger, 0);
  EXPECT_EQ(m.Basic.Code().CodeCount(), 0);
  EXPECT_EQ(m.Run("NOP()\nOUT(2)"), "2");
  EXPECT_THROW(m.Basic.AddFunction("BAD", [](TSBCodeList&, TSBResultCell&) {}, '5', 0), EInvalidOperation);
}

TEST(Component, RefusedHostFunctionKeepsTheCompiledProgram) {
  TMacro m;
  ASSERT_EQ(m.Compile("FUNCTION TWICE(X AS INTEGER) AS INTEGER\n TWICE = X * 2\nEND FUNCTION\nOUT(TWICE(4))"), 0);
  const int entries = m.Basic.Code().CodeCount();
  const std::size_t functions = m.Basic.FunctionList().size();
  for (const auto& [code, count] : {std::pair{'5', 0}, std::pair{tcUser, 0}, std::pair{tcInteger, -1}})
    EXPECT_THROW(m.Basic.AddFunction("BAD", [](TSBCodeList&, TSBResultCell&) {}, code, count), EInvalidOperation)
        << code << count;
  EXPECT_EQ(m.Basic.Code().CodeCount(), entries);
  EXPECT_EQ(m.Basic.FunctionList().size(), functions);
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), "8");
}

TEST(Component, HostCannotReenterTheRunningComponent) {
  TMacro m;
  m.Basic.AddFunction("AGAIN", [&m](TSBCodeList&, TSBResultCell&) { m.Basic.Run(); }, tcInteger, 0);
  ASSERT_EQ(m.Compile("AGAIN()"), 0);
  EXPECT_THROW(m.Basic.Run(), EInvalidOperation);
  // The component is usable afterwards.
  EXPECT_EQ(m.Run("OUT(5)"), "5");
}

// ---- Sources --------------------------------------------------------------------

TEST(Sources, FileAfterMemoForgetsTheMemo) {
  TTempDir dir;
  TMacro m;
  m.Memo.SetText("OUT(\"memo\")");
  m.Basic.SetSource_File(dir.Write("p.rib", "OUT(\"file\")\n"));
  EXPECT_EQ(m.Basic.Source_Memo(), nullptr);
  EXPECT_EQ(m.Basic.Compile(), 0);
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), "file");
}

TEST(Sources, LibraryAndProgramLines) {
  TTempDir dir;
  TSBSource s;
  s.SetLibraryFile(dir.Write("lib.rib", Lines(10, "X = 1")));
  s.SetFileName(dir.Write("p.rib", Lines(5, "Y = 2")));
  s.LoadText();
  EXPECT_EQ(s.Lines.size(), 15u);
  EXPECT_EQ(s.LibraryLines, 10);
  // No source set: the lines of the last load stay.
  s.SetFileName("");
  s.LoadText();
  EXPECT_EQ(s.Lines.size(), 15u);
  EXPECT_EQ(s.LibraryLines, 10);
}

TEST(Sources, SettersExcludeEachOther) {
  TSBSource s;
  TSBStringsSource memo("X"), dbMemo("Y");
  TSBMemoryDataSource data;
  s.SetMemo(&memo);
  s.SetDataField("");  // an empty value only stores it
  EXPECT_EQ(s.Memo(), &memo);
  s.SetDataField("PROGRAM");
  EXPECT_EQ(s.Memo(), nullptr);
  s.SetDataSource(&data);
  EXPECT_EQ(s.DataField(), "PROGRAM");
  s.SetDBMemo(&dbMemo);
  EXPECT_EQ(s.DataSource(), nullptr);
  EXPECT_EQ(s.DataField(), "");
  s.SetFileName("x.rib");
  EXPECT_EQ(s.DBMemo(), nullptr);
}

TEST(Sources, DataFieldProgram) {
  TMacro m;
  TSBMemoryDataSource data;
  data.Fields["PROGRAM"] = "OUT(1)\r\nOUT(2)\r\n";
  m.Basic.SetSource_DataSource(&data);
  m.Basic.SetSource_DataField("PROGRAM");
  EXPECT_EQ(m.Basic.Compile(), 0);
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), "1|2");
  m.Basic.SetSource_DataField("MISSING");
  EXPECT_THROW(m.Basic.Compile(), Exception);
}

TEST(Sources, TextSourcesAndDatasets) {
  TTempDir dir;
  TSBFileSource file(dir.Write("p.rib", "A\r\nB\rC\n"));
  EXPECT_EQ(file.GetLines(), (std::vector<std::string>{"A", "B", "C"}));
  TSBSource s;
  TSBStringsSource db("X\nY");
  s.SetDBMemo(&db);
  s.LoadText();
  EXPECT_EQ(s.Lines, (std::vector<std::string>{"X", "Y"}));
  // A data source without a dataset gives the library lines alone.
  TSBMemoryDataSource data;
  data.DataSet = false;
  s.SetLibraryFile(dir.Write("lib.rib", "L1\nL2\n"));
  s.SetDataSource(&data);
  s.SetDataField("PROGRAM");
  s.LoadText();
  EXPECT_EQ(s.Lines, (std::vector<std::string>{"L1", "L2"}));
  EXPECT_EQ(s.LibraryLines, 2);
  TSBFileSource missing(dir.File("none.rib"));
  EXPECT_THROW(missing.GetLines(), EFOpenError);
}

TEST(Sources, MissingFileRaisesAndKeepsTheCode) {
  TMacro m;
  ASSERT_EQ(m.Compile("OUT(7)"), 0);
  m.Basic.SetSource_File("/nonexistent/dir/prog.rib");
  EXPECT_THROW(m.Basic.Compile(), EFOpenError);
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), "7");
}

// A named pipe or a link to /dev/zero as the source, the library or the compiled-code file is refused at once
// (a pipe without a writer would block, /dev/zero would never end): the source raises, the code file is
// passed over for the source and never replaced by the code of the compile.
TEST(Sources, PipesAndDevicesAreRefusedAtOnce) {
  TTempDir dir;
  const std::string fifo = dir.File("pipe.rib");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string zero = dir.File("zero.rib");
  ASSERT_EQ(::symlink("/dev/zero", zero.c_str()), 0);
  for (const std::string& name : {fifo, zero}) {
    SCOPED_TRACE(name);
    TMacro source;
    ASSERT_EQ(source.Compile("OUT(7)"), 0);
    source.Basic.SetSource_File(name);
    EXPECT_THROW(source.Basic.Compile(), EFileKind);
    TSBSource library;
    library.SetLibraryFile(name);
    library.SetFileName(dir.Write("p.rib", "OUT(1)\n"));
    EXPECT_THROW(library.LoadText(), EFileKind);

    TMacro coded;
    coded.Basic.SetCode_File(name);
    coded.Memo.SetText("OUT(3)");
    coded.Basic.SetSource_Memo(&coded.Memo);
    EXPECT_EQ(coded.Basic.Run(), 0);
    EXPECT_EQ(Joined(coded.Out), "3");
  }
  // The compile did not save its code over the pipe or through the link.
  struct stat st;
  ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  ASSERT_EQ(::stat(zero.c_str(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// ---- Compiled code -------------------------------------------------------------------

const char* const CodedProgram =
    "CLASS ACC\n DOUBLE TOTAL\n INTEGER COUNT\n FUNCTION ADD(X AS DOUBLE) AS DOUBLE\n  TOTAL = TOTAL + X\n"
    "  INC COUNT\n  ADD = TOTAL\n END FUNCTION\nEND CLASS\n"
    "FUNCTION FACT(N AS INTEGER) AS INTEGER\n IF N <= 1 THEN\n  RETURN 1\n END IF\n FACT = N * FACT(N - 1)\n"
    "END FUNCTION\n"
    "ACC A\nINTEGER I\nSTRING S\nFOR I = 1 TO 4\n A.ADD(I * 1.5)\nNEXT I\nS = \"n=\" + STR(A.COUNT)\n"
    "OUT(S)\nOUT(A.TOTAL)\nOUT(FACT(5))\nGOTO DONE\nOUT(\"skipped\")\nDONE: OUT(GETTOKEN(\"a b c\", \" \", 3))";

const char* const CodedOutput = "n=4.000|15|120|c";

TEST(CompiledCode, RunsFromTheFileInAFreshComponent) {
  TTempDir dir;
  const std::string code = dir.File("prog.sbc");
  {
    TMacro m;
    m.Basic.SetCode_File(code);
    EXPECT_EQ(m.Run(CodedProgram), CodedOutput) << m.Message();
  }
  TMacro fresh;
  fresh.Basic.SetCode_File(code);
  fresh.Memo.SetText("OUT(\"source was compiled\")");
  EXPECT_EQ(fresh.Basic.Run(), 0) << fresh.Message();
  EXPECT_EQ(Joined(fresh.Out), CodedOutput);
}

TEST(CompiledCode, RefusedWithAnotherSetOfHostFunctions) {
  TTempDir dir;
  const std::string code = dir.File("prog.sbc");
  {
    TMacro m;
    m.Basic.SetCode_File(code);
    ASSERT_EQ(m.Compile(CodedProgram), 0);
  }
  TMacro other;
  other.Basic.AddFunction("EXTRA", [](TSBCodeList&, TSBResultCell&) {}, tcInteger, 0);
  other.Basic.SetCode_File(code);
  other.Memo.SetText("OUT(\"source was compiled\")");
  EXPECT_EQ(other.Basic.Run(), 0);
  EXPECT_EQ(Joined(other.Out), "source was compiled");
}

TEST(CompiledCode, DataField) {
  TSBMemoryDataSource data;
  {
    TMacro m;
    m.Basic.SetCode_DataSource(&data);
    m.Basic.SetCode_DataField("CODE");
    ASSERT_EQ(m.Compile(CodedProgram), 0);
  }
  ASSERT_EQ(data.Fields.count("CODE"), 1u);
  TMacro fresh;
  fresh.Basic.SetCode_DataField("CODE");
  fresh.Basic.SetCode_DataSource(&data);
  fresh.Memo.SetText("OUT(0)");
  EXPECT_EQ(fresh.Basic.Run(), 0);
  EXPECT_EQ(Joined(fresh.Out), CodedOutput);
}

TEST(CompiledCode, CodeFileAndCodeFieldExcludeEachOther) {
  TSBasic b;
  TSBMemoryDataSource data;
  b.SetCode_File("x.sbc");
  b.SetCode_DataSource(&data);
  EXPECT_EQ(b.Code_File(), "");
  b.SetCode_File("y.sbc");
  EXPECT_EQ(b.Code_DataSource(), nullptr);
  b.SetCode_DataField("F");
  EXPECT_EQ(b.Code_File(), "");
}

// The stream of CodedProgram, compiled by a component with OUT registered.
std::string CompiledBytes() {
  TMacro m;
  EXPECT_EQ(m.Compile(CodedProgram), 0);
  TSBWriter w;
  m.Basic.WriteCompiledCode(w);
  return w.Data();
}

bool Loads(const std::string& bytes) {
  TMacro m;
  TSBReader r(bytes);
  return m.Basic.ReadCompiledCode(r);
}

TEST(CompiledCode, WrittenCodeReadsBackAndRunsTheSame) {
  const std::string bytes = CompiledBytes();
  TMacro m;
  TSBReader r(bytes);
  ASSERT_TRUE(m.Basic.ReadCompiledCode(r));
  TSBWriter again;
  m.Basic.WriteCompiledCode(again);
  EXPECT_TRUE(again.Data() == bytes);
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), CodedOutput);
}

TEST(CompiledCode, EveryTruncationIsRefused) {
  const std::string bytes = CompiledBytes();
  for (std::size_t n = 0; n < bytes.size(); ++n) EXPECT_FALSE(Loads(bytes.substr(0, n))) << "cut at " << n;
  EXPECT_FALSE(Loads(bytes + '\0'));
}

TEST(CompiledCode, DamagedFieldsAreRefused) {
  const std::string good = CompiledBytes();
  ASSERT_TRUE(Loads(good));
  // Overwrite the 32-bit value at an offset found from the stream's layout.
  auto patched = [&](std::size_t at, int32_t v) {
    std::string s = good;
    for (int k = 0; k < 4; ++k) s[at + k] = static_cast<char>((static_cast<uint32_t>(v) >> (8 * k)) & 0xFF);
    return s;
  };
  const std::size_t afterSignature = 1 + 21;
  EXPECT_FALSE(Loads(patched(afterSignature, 19971507)));          // version stamp
  EXPECT_FALSE(Loads(patched(afterSignature + 4, 6)));             // base type count
  EXPECT_FALSE(Loads(patched(afterSignature + 8, 1000000)));       // type count
  EXPECT_FALSE(Loads(patched(afterSignature + 8, -1)));
  std::string foreign = good;
  foreign[1] = 'X';
  EXPECT_FALSE(Loads(foreign));
}

TEST(CompiledCode, EveryByteFlipIsRefusedOrSafe) {
  // A flipped byte either makes the stream unreadable or leaves one whose
  // run ends in an orderly way; nothing crashes (checked under the sanitizers).
  const std::string good = CompiledBytes();
  int refused = 0;
  for (std::size_t at = 0; at < good.size(); ++at) {
    std::string s = good;
    s[at] = static_cast<char>(s[at] ^ 0x5A);
    TMacro m;
    m.Basic.SetMax_Count(1000);
    TSBReader r(s);
    if (!m.Basic.ReadCompiledCode(r)) {
      ++refused;
      EXPECT_EQ(m.Basic.Code().CodeCount(), 0);
      continue;
    }
    m.Basic.Run();
  }
  EXPECT_GT(refused, static_cast<int>(good.size() / 4));
}

// A host function that walks its argument element by element stops where the storage ends; an argument
// whose element has no size would never get there. Such code is refused when it is loaded.
TEST(CompiledCode, OperandsWithoutElementSizeAreRefused) {
  const auto hostile = [](const std::function<void(TSBReg&, const TSBTypeList&)>& retype) {
    TMacro m;
    m.Basic.AddFunction("WALK", [](TSBCodeList& l, TSBResultCell&) {
      int e = 0;
      while (e < 1000000 && GetArgPtr(l, 0, e)) ++e;
    }, '1', 1);
    EXPECT_EQ(m.Compile("CLASS E\n INTEGER X\nEND CLASS\nSTRING S\nWALK(S)"), 0);
    TSBCodeList& code = m.Basic.Code();
    int pushes = 0;
    for (TSBCode& c : code.Codes)
      if (c.Op.Kind == skPush) {
        retype(c.A, *code.Types);
        ++pushes;
      }
    EXPECT_EQ(pushes, 1);
    TSBWriter w;
    m.Basic.WriteCompiledCode(w);
    return w.Data();
  };
  const auto userType = [](const TSBTypeList& types) {
    for (std::size_t k = 0; k < types.size(); ++k)
      if (types[k]->TypeCode == tcUser) return static_cast<int32_t>(k);
    return int32_t{-1};
  };
  const auto loads = [](const std::string& bytes) {
    TMacro m;
    m.Basic.AddFunction("WALK", [](TSBCodeList&, TSBResultCell&) {}, '1', 1);
    TSBReader r(bytes);
    const bool read = m.Basic.ReadCompiledCode(r);
    EXPECT_EQ(m.Basic.Code().CodeCount() > 0, read);
    return read;
  };
  // The untouched stream loads, and so does the code of a class without fields (a field line naming no
  // field), whose objects have no storage to walk: a compile's code always reads back.
  EXPECT_TRUE(loads(hostile([](TSBReg&, const TSBTypeList&) {})));
  {
    const char* program =
        "CLASS C\n INTEGER \x05\n FUNCTION SET(V AS INTEGER) AS INTEGER\n END FUNCTION\nEND CLASS\n"
        "FUNCTION C.SET AS INTEGER\n N = V\n SET = N * 2\nEND FUNCTION\nC X\nOUT(X.SET(4))";
    TMacro m;
    ASSERT_EQ(m.Compile(program), 0);
    const int result = m.Basic.Run();  // a method of an object without storage: 306
    TSBWriter w;
    m.Basic.WriteCompiledCode(w);
    TMacro fresh;
    TSBReader r(w.Data());
    ASSERT_TRUE(fresh.Basic.ReadCompiledCode(r));
    EXPECT_EQ(fresh.Basic.Run(), result);
    EXPECT_EQ(fresh.Out, m.Out);
  }
  const struct {
    const char* Case;
    std::function<void(TSBReg&, const TSBTypeList&)> Retype;
  } cases[] = {
      {"no type code", [](TSBReg& r, const TSBTypeList&) { r.TypeCode = tcNone; }},
      {"a type of size 0",
       [&](TSBReg& r, const TSBTypeList& types) {
         r.TypeCode = tcUser;
         r.TypeIndex = userType(types);
         types[static_cast<std::size_t>(r.TypeIndex)]->Size = 0;
         types[static_cast<std::size_t>(r.TypeIndex)]->Fields.clear();
       }},
      {"a type the list does not have", [](TSBReg& r, const TSBTypeList& types) {
         r.TypeCode = tcUser;
         r.TypeIndex = static_cast<int32_t>(types.size());
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Case);
    EXPECT_FALSE(loads(hostile(c.Retype)));
  }
}

TEST(CompiledCode, UnreadableCodeFileCompilesTheSource) {
  TTempDir dir;
  TMacro m;
  m.Basic.SetCode_File(dir.Write("bad.sbc", "not compiled code at all"));
  m.Memo.SetText("OUT(3)");
  EXPECT_EQ(m.Basic.Run(), 0);
  EXPECT_EQ(Joined(m.Out), "3");
  // The compile replaced the file with good code.
  TMacro reader;
  reader.Basic.SetCode_File(m.Basic.Code_File());
  reader.Memo.SetText("OUT(0)");
  EXPECT_EQ(reader.Basic.Run(), 0);
  EXPECT_EQ(Joined(reader.Out), "3");
}

}  // namespace
