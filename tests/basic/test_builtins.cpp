// The built-in functions, run as programs; dialogs are answered by the
// scripted responder.
#include <gtest/gtest.h>

#include "basic/sbfuncs.h"
#include "macrotest.h"
#include "platform/rtl/fileutils.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"
#include "support/testlocale.h"

namespace {

struct TBuiltinCase {
  const char* Source;
  const char* Expected;
};

const TBuiltinCase BuiltinCases[] = {
    // float functions (results are singles)
    {"OUT(ROUND(2.5))", "2"},
    {"OUT(ROUND(3.5))", "4"},
    {"OUT(ROUND(-2.5))", "-2"},
    {"OUT(TRUNC(-2.7))", "-2"},
    {"OUT(FLOOR(-2.2))", "-3"},
    {"OUT(SQR(3))", "9"},
    {"OUT(SQRT(16))", "4"},
    {"OUT(LN(0))", "0"},
    {"OUT(LN(1))", "0.6931471824646"},
    {"OUT(LOG2(8))", "3"},
    {"OUT(LOG10(1000))", "3"},
    {"OUT(LOGN(2, 8))", "3"},
    {"OUT(POWER(2, 10))", "1024"},
    {"OUT(POWER(2, -1))", "0.5"},
    {"OUT(EXP(0))", "1"},
    {"OUT(ABS(-3))", "3"},
    {"OUT(ABS(-2.5))", "2.5"},
    {"DOUBLE D\nD = -2\nOUT(ABS(D))", "2"},
    {"OUT(SIN(0) + COS(0) + TAN(0) + ARCSIN(0) + ARCTAN(0))", "1"},
    {"OUT(ROUND(ARCCOS(-1) * 1000))", "3142"},
    // strings
    {"STRING S\nS = \"ab\"\nOUT(SETLENGTH(S, 5) + \"|\" + S + \"|\")", "ab   |ab   |"},
    {"STRING S\nS = \"ab\"\nSETLENGTH(S, 1)\nOUT(S)", "a"},
    {"STRING S\nS = \"ab\"\nSETLENGTH(S, 300)\nOUT(GETLENGTH(S))", "255"},
    {"STRING S\nS = \"ab\"\nSETLENGTH(S, -4)\nOUT(GETLENGTH(S))", "0"},
    {"STRING S\nS = \"abcd\"\nSTRSET(S, 3, \"XY\")\nOUT(S)", "abXY"},
    {"STRING S\nS = \"a\"\nOUT(STRSET(S, 3, \"XY\"))", "a XY"},
    {"STRING S\nS = \"abcdef\"\nSTRNSET(S, 0, 2, \"XYZ\")\nOUT(S)", "XYcdef"},
    {"STRING S\nS = \"abc\"\nSTRNSET(S, 2, 0, \"XYZ\")\nOUT(S)", "abc"},
    {"STRING S\nS = \"abc\"\nSTRNSET(S, 2, 9, \"XY\")\nOUT(S)", "aXY"},
    {"STRING S\nS = \"abc\"\nSTRSET(S, 255, \"XY\")\nOUT(GETLENGTH(S))", "255"},
    {"INTEGER I\nI = 5\nOUT(SETLENGTH(I, 3))\nOUT(I)", "|5"},
    // A literal first argument gives the changed text but stays as written for the next pass.
    {"INTEGER I\nFOR I = 1 TO 3\n OUT(SETLENGTH(\"abc\", I))\nNEXT I", "a|ab|abc"},
    {"INTEGER I\nFOR I = 1 TO 2\n OUT(STRSET(\"ab\", I + 2, \"X\"))\nNEXT I", "abX|ab X"},
    {"INTEGER I\nFOR I = 1 TO 2\n OUT(STRNSET(\"abc\", I, 1, \"XY\"))\nNEXT I", "Xbc|aXc"},
    {"OUT(STRCOPY(\"abcdef\", 0, 2))", "ab"},
    {"OUT(STRCOPY(\"abcdef\", 3, 100))", "cdef"},
    {"OUT(STRCOPY(\"abc\", 5, 2))", ""},
    {"OUT(STRCOPY(\"abc\", 1, 0))", ""},
    {"OUT(POS(\"b\", \"abc\"))", "2"},
    {"OUT(POS(\"x\", \"abc\"))", "0"},
    {"OUT(POS(1, \"abc\"))", "0"},
    {"OUT(ASC(\"\"))", "0"},
    {"OUT(ASC(7))", "0"},
    {"OUT(CHR(321))", "A"},
    {"OUT(GETLENGTH(CHR(1.5)))", "0"},
    {"OUT(TRIM(\"  x y  \") + \"|\")", "x y|"},
    {"OUT(GETTOKEN(\"a,,b\", \",\", 2))", "b"},
    {"OUT(GETTOKEN(\"a b\", \"\", 3) + \"|\")", "|"},
    {"OUT(GETTOKEN(\"a; b; c\", \"; \", 3))", "c"},
    {"STRING S\nS = \"keep\"\nS = GETTOKEN(\"a b\", \" \", 1.0)\nOUT(S)", ""},
    {"OUT(STRUPPER(\"abc1\") + STRLOWER(\"DEF\"))", "ABC1def"},
    {"OUT(FORMATVAL(\"0.00\", 3.14159))", "3.14"},
    {"OUT(FORMATVAL(\"000\", 7))", "007"},
    {"OUT(VAL(\"-1.5e2\"))", "-150"},
    {"OUT(VAL(\"abc\"))", "0"},
    {"OUT(STR(1.0 / 3))", "0.333"},
    {"OUT(STR(1 / 3))", "0.000"},
    {"OUT(STR(-2.5))", "-2.500"},
    {"OUT(STR(2))", "2.000"},
    {"OUT(STR(-0.0001))", "0.000"},
    // dates
    {"OUT(ENCODEDATE(2024, 12, 31))", "31/12/2024"},
    {"OUT(DATETOSTR(ENCODEDATE(2000, 1, 2)))", "02/01/2000"},
    {"OUT(STRTODATE(\"05/06/2007\"))", "05/06/2007"},
    {"OUT(STRTODATE(5))", "30/12/1899"},
    {"INTEGER Y, M, D\nOUT(DECODEDATE(ENCODEDATE(1999, 8, 7), Y, M, D))\nOUT(Y)\nOUT(M)\nOUT(D)", "1|1999|8|7"},
    {"OUT(DECODEDATE(ENCODEDATE(1999, 8, 7), YY, MM, DD))\nOUT(YY + MM + DD)", "1|2014"},
    {"INTEGER N\nN = TODAY() - TODAY()\nOUT(N)", "0"},
    {"INTEGER N\nN = ENCODEDATE(2024, 1, 1) - ENCODEDATE(2024, 1, 11)\nOUT(N)", "-10"},
    {"DATE D\nD = 0\nOUT(DATETOSTR(D))", "run 302"},
    // files and folders
    {"OUT(EXTRACTFILENAME(\"/a/b/c.rib\"))", "c.rib"},
    {"OUT(EXTRACTFILEDIR(\"/a/b/c.rib\"))", "/a/b"},
    {"OUT(FILEEXISTS(\"/nonexistent/x\"))", "0"},
    {"OUT(FILEEXISTS(1))", "0"},
    {"OUT(SETDIR(\"/nonexistent/dir\"))", "1"},
    {"OUT(SETDIR(5))", "1"},
};

class BuiltinTest : public ::testing::TestWithParam<TBuiltinCase> {};

TEST_P(BuiltinTest, Output) {
  TMacro m;
  EXPECT_EQ(m.Run(GetParam().Source), GetParam().Expected) << GetParam().Source << "\n" << m.Message();
}

INSTANTIATE_TEST_SUITE_P(Builtins, BuiltinTest, ::testing::ValuesIn(BuiltinCases));

TEST(Builtins, RegisteredInTheirFixedOrder) {
  TSBasic b;
  const TSBFuncList& f = b.FunctionList();
  ASSERT_EQ(b.KeptFunctions(), BuiltinCount);
  EXPECT_EQ(f[0]->Name, "ROUND");
  EXPECT_EQ(f[17]->Name, "ABS");
  EXPECT_EQ(f[18]->Name, "RANDOMIZE");
  EXPECT_EQ(f[30]->Name, "GETTOKEN");
  EXPECT_EQ(f[48]->Name, "SETDIR");
  for (int i = 0; i < BuiltinCount; ++i) EXPECT_EQ(f[i]->FuncKind, i < 18 ? fkFloat : fkHost) << f[i]->Name;
  EXPECT_EQ(f[14]->ParamCount, 2);
  EXPECT_EQ(f[24]->ParamCount, 4);
  EXPECT_EQ(f[0]->ResultTypeIndex, btSingle);
  EXPECT_EQ(f[34]->ResultTypeIndex, btDouble);
  EXPECT_EQ(f[36]->ResultTypeIndex, btDate);
}

TEST(Builtins, RandomStaysInRange) {
  TMacro m;
  const std::string out = m.Run("INTEGER I, R, BAD\nRANDOMIZE()\nFOR I = 1 TO 200\n R = RANDOM(10)\n"
                                " IF R < 0 OR R > 9 THEN\n  BAD = BAD + 1\n END IF\nNEXT I\nOUT(BAD)\nOUT(RANDOM(0))");
  EXPECT_EQ(out, "0|0");
}

TEST(Builtins, CurrentDirectory) {
  TTempDir dir;
  const std::string saved = GetCurrentDir();
  TMacro m;
  const std::string folder = ExcludeTrailingPathDelimiter(dir.Path());
  EXPECT_EQ(m.Run("OUT(SETDIR(\"" + folder + "\"))\nOUT(GETDIR())\nOUT(FILEEXISTS(\"x.txt\"))"), "0|" + folder + "|0");
  dir.Write("x.txt", "1");
  EXPECT_EQ(m.Run("OUT(FILEEXISTS(\"x.txt\"))"), "1");
  SetCurrentDir(saved);
}

TEST(Builtins, MessageBoxShowsTheValueByType) {
  TDialogResponder r;
  TMacro m;
  EXPECT_EQ(m.Run("SINGLE S\nDOUBLE D\nS = 0.1\nD = VAL(\"0.1\")\nMESSAGEBOX(S)\nMESSAGEBOX(D)\nMESSAGEBOX(12)\n"
                  "MESSAGEBOX(\"text\")\nMESSAGEBOX(ENCODEDATE(2020, 1, 31))\nOUT(MESSAGEBOX(1))"),
            "0");
  const std::vector<std::string> texts = r.Texts();
  ASSERT_EQ(texts.size(), 6u);
  EXPECT_EQ(texts[0], "0.100000001490116");
  EXPECT_EQ(texts[1], "0.1");
  EXPECT_EQ(texts[2], "12");
  EXPECT_EQ(texts[3], "text");
  EXPECT_EQ(texts[4], "31/01/2020");
  EXPECT_EQ(r.Requests()[0].Kind, TDialogRequest::dkShowMessage);
}

TEST(Builtins, MessageDlgTypesButtonsAndResults) {
  TDialogResponder r;
  r.Answer(mrYes).Answer(mrNo).Answer(mrCancel).Answer(mrRetry);
  TMacro m;
  EXPECT_EQ(m.Run("OUT(MESSAGEDLG(\"Sure?\", 3, 0))\nOUT(MESSAGEDLG(\"Sure?\", 3, 0))\n"
                  "OUT(MESSAGEDLG(\"Err\", 1, 1))\nOUT(MESSAGEDLG(\"Disk\", 0, 2))\nOUT(MESSAGEDLG(5, 0, 0))"),
            "6|7|2|4|0");
  const std::vector<TDialogRequest> q = r.Requests();
  ASSERT_EQ(q.size(), 4u);
  EXPECT_EQ(q[0].Kind, TDialogRequest::dkMessageDlg);
  EXPECT_EQ(q[0].DlgType, mtConfirmation);
  EXPECT_EQ(q[0].Buttons, (TMsgDlgButtons{mbYes, mbNo}));
  EXPECT_EQ(q[2].DlgType, mtError);
  EXPECT_EQ(q[2].Buttons, (TMsgDlgButtons{mbOK, mbCancel}));
  EXPECT_EQ(q[3].DlgType, mtWarning);
  EXPECT_EQ(q[3].Buttons, (TMsgDlgButtons{mbAbort, mbRetry, mbIgnore}));
}

TEST(Builtins, MessageDlgDefaultsForOtherValues) {
  struct TCase {
    const char* Args;
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
  };
  const TCase cases[] = {
      {"2, 3", mtInformation, {mbYes, mbNo, mbCancel, mbYesToAll}},
      {"4, 4", mtCustom, {mbOK}},
      {"9, 9", mtInformation, {mbYes, mbNo, mbCancel}},
      {"1.0, 1.0", mtConfirmation, {mbYes, mbNo}},  // not integers: type 3, buttons 0
  };
  for (const TCase& c : cases) {
    TDialogResponder r;
    TMacro m;
    m.Run(std::string("MESSAGEDLG(\"x\", ") + c.Args + ")");
    ASSERT_EQ(r.Count(), 1u) << c.Args;
    EXPECT_EQ(r.Last().DlgType, c.Type) << c.Args;
    EXPECT_EQ(r.Last().Buttons, c.Buttons) << c.Args;
  }
}

TEST(Builtins, InputBox) {
  TDialogResponder r;
  r.AnswerText("Bob").AnswerText("ignored", false);
  TMacro m;
  EXPECT_EQ(m.Run("OUT(INPUTBOX(\"Name?\"))\nOUT(INPUTBOX(\"Again?\") + \"|\")\nOUT(INPUTBOX(3) + \"|\")"), "Bob||||");
  ASSERT_EQ(r.Count(), 2u);
  EXPECT_EQ(r.Requests()[0].Kind, TDialogRequest::dkInputBox);
  EXPECT_EQ(r.Requests()[0].Caption, "Input Box");
  EXPECT_EQ(r.Requests()[0].Text, "Name?");
  EXPECT_EQ(r.Requests()[0].Default, "");
}

}  // namespace

// Constants in the source, STR, VAL and FORMATVAL keep the point on a desktop
// with a decimal comma.
TEST(Builtins, NumbersIgnoreTheProcessLocale) {
  const TBuiltinCase cases[] = {
      {"OUT(STR(1.5))", "1.500"},
      {"OUT(STR(VAL(\"0.25\") * 2))", "0.500"},
      {"OUT(VAL(\"2,5\"))", "0"},
      {"OUT(FORMATVAL(\"0.00\", 2.5))", "2.50"},
      {"DOUBLE D\nD = 1.25\nOUT(STR(D * 2))", "2.500"},
  };
  TScopedLocale comma;
  ASSERT_TRUE(comma.Active());
  for (const auto& c : cases) {
    TMacro m;
    EXPECT_EQ(m.Run(c.Source), c.Expected) << c.Source << "\n" << m.Message();
  }
}
