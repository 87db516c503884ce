// The translator: the code entries of statements, and the code list's
// linking, registers, arguments and stream.
#include <gtest/gtest.h>

#include <charconv>

#include "basic/sberrors.h"
#include "basic/sblexer.h"
#include "basic/sbops.h"
#include "macrotest.h"
#include "platform/rtl/datetime.h"

namespace {

// Translates lines one statement each, without the end entry and linking.
void Translate(TSBasic& b, const std::vector<std::string>& lines) {
  TSBTranslator& t = b.Translator();
  b.Checker().Reset();
  t.Reset();
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    t.LineNo = i;
    TSBErrorRecord e;
    TSBTokenList tokens = Tokenize(*t.Current, lines[i]);
    t.ResolveNames(tokens, e);
    ASSERT_EQ(e.ErrorCode, 0) << lines[i];
    ASSERT_EQ(b.Checker().CheckLine(i, tokens).ErrorCode, 0) << lines[i];
    t.TranslateStatement(tokens, e);
    ASSERT_EQ(e.ErrorCode, 0) << lines[i];
  }
}

std::string Operand(const TSBReg& r) {
  switch (r.Kind) {
    case skIdent: return "V" + std::to_string(r.Value);
    case skRegister: return "R" + std::to_string(r.Value);
    case skConst: return "C" + std::to_string(r.Value);
    case skNone: return r.Value ? "#" + std::to_string(r.Value) : "";
    default: return "?";
  }
}

// "line op[/value] A B Dest" per entry.
std::vector<std::string> Listing(const TSBCodeList& code) {
  std::vector<std::string> rows;
  for (const TSBCode& c : code.Codes) {
    std::string row = std::to_string(c.Line) + " " + std::to_string(c.Op.Kind);
    if (c.Op.Kind == skArith || c.Op.Kind == skCompare || c.Op.Kind == skFor || c.Op.Kind == skNext ||
        c.Op.Kind == skIf || c.Op.Kind == skJumpTrue || c.Op.Kind == skGoto)
      row += "/" + std::to_string(c.Op.Value);
    row += " " + Operand(c.A) + " " + Operand(c.B) + " " + Operand(c.Dest);
    rows.push_back(row);
  }
  return rows;
}

TEST(Translator, ForLoopWorkedExample) {
  TSBasic b;
  Translate(b, {"FOR I = 1 TO 3", "X = X + I", "NEXT I"});
  const std::vector<std::string> expected = {
      "0 30 C0  R0", "0 30 C1  R1", "0 30 R0  V0", "0 30 R0  C2", "0 30 R1  C3", "0 66 #1  C4",
      "0 34/10 V0 C3 C4", "1 14/17 V1 V0 R0", "1 30 R0  V1", "2 36/6 V0  C4", "2 45   ",
  };
  EXPECT_EQ(Listing(b.Code()), expected);
  TSBCode end;
  end.Op.Kind = skQuite;
  end.Line = 3;
  b.Code().AddCode(end);
  b.Code().Link();
  ASSERT_EQ(b.Code().CodeCount(), 11);
  EXPECT_EQ(b.Code().Codes[10].Op.Kind, skQuite);
  EXPECT_EQ(b.Code().Codes[6].Op.Value, 10);  // the loop test still leaves to the end entry
  for (int i = 0; i < 11; ++i) EXPECT_EQ(b.Code().Codes[i].Index, i);
}

TEST(Translator, ExpressionOrder) {
  TSBasic b;
  Translate(b, {"X = 2 + 3 * 4"});
  EXPECT_EQ(Listing(b.Code()), (std::vector<std::string>{"0 14/15 C1 C2 R0", "0 14/17 C0 R0 R1", "0 30 R1  V0"}));
  Translate(b, {"X = -Y"});
  // A sign is a multiplication by the constant -1.
  EXPECT_EQ(Listing(b.Code())[0], "0 14/15 C0 V1 R0");
  EXPECT_EQ(b.Code().Constants[0]->GetInt(0), -1);
}

TEST(Translator, IfChainJumps) {
  TSBasic b;
  Translate(b, {"IF X == 1 THEN", "A = 1", "ELSEIF X == 2", "A = 2", "ELSEIF X == 3", "A = 3", "ELSE", "A = 4",
                "END IF"});
  TSBCode end;
  end.Op.Kind = skQuite;
  b.Code().AddCode(end);
  b.Code().Link();
  const std::vector<TSBCode>& c = b.Code().Codes;
  std::vector<int> gotos, conds;
  for (const TSBCode& e : c) {
    if (e.Op.Kind == skGoto) gotos.push_back(e.Op.Value);
    if (e.Op.Kind == skIf) conds.push_back(e.Op.Value);
  }
  ASSERT_EQ(gotos.size(), 3u);
  ASSERT_EQ(conds.size(), 3u);
  const int endIf = b.Code().CodeCount() - 1;  // the entry after END IF
  for (int g : gotos) EXPECT_EQ(g, endIf);
  // The last condition's false jump goes to the ELSE branch: A = 4.
  EXPECT_EQ(c[conds[2]].Op.Kind, skAssign);
  EXPECT_EQ(b.Code().Constants[c[conds[2]].A.Value]->GetInt(0), 4);
}

TEST(Translator, DeclarationsAreCutToMaxDimension) {
  TSBasic b;
  Translate(b, {"INTEGER A[5000], B[0], C[2.5], D[3.5]"});
  const TSBVarList& v = b.Code().Variables;
  EXPECT_EQ(v[0]->Dimension, 1000);
  EXPECT_EQ(v[1]->Dimension, 1);
  EXPECT_EQ(v[2]->Dimension, 2);
  EXPECT_EQ(v[3]->Dimension, 4);
}

TEST(Translator, HugeTypesAreRefused) {
  TMacro m;
  m.Basic.SetMax_Dimension(100000);
  EXPECT_EQ(m.Compile("CLASS A\n STRING S[10000]\nEND CLASS\nCLASS B\n A X[100]\nEND CLASS"), sbeRange);
  EXPECT_EQ(m.Compile("CLASS A\n STRING S[10000]\nEND CLASS\nA X[1000]"), sbeRange);
}

TEST(Translator, MethodBodyDefinedOutsideTheClassRuns) {
  TMacro m;
  EXPECT_EQ(m.Run("CLASS C\n INTEGER N\n FUNCTION SET(V AS INTEGER) AS INTEGER\n END FUNCTION\nEND CLASS\n"
                  "FUNCTION C.SET AS INTEGER\n N = V\n SET = N * 2\nEND FUNCTION\nC X\nOUT(X.SET(4))\nOUT(X.N)"),
            "8|4");
}

// ---- Code list ---------------------------------------------------------------------------

TEST(CodeList, Names) {
  EXPECT_EQ(TSBCodeList::MakeName(skRegister, 7), "R007");
  EXPECT_EQ(TSBCodeList::MakeName(skConst, 42), "C042");
  EXPECT_EQ(TSBCodeList::MakeName(skIdent, 1234), "V1234");
  EXPECT_EQ(TSBCodeList::MakeName(skConst, -1), "nil");
  TSBasic b;
  EXPECT_EQ(b.Code().Registers[150]->Name, "R150");
}

TEST(CodeList, DeleteCodeMovesJumpsAfterIt) {
  TSBasic b;
  TSBCodeList& code = b.Code();
  for (int i = 0; i < 5; ++i) {
    TSBCode c;
    c.Op.Kind = i == 2 ? skMark : skGoto;
    c.Op.Value = i == 0 ? 2 : i == 1 ? 4 : 0;
    code.AddCode(c);
  }
  code.DeleteCode(2);
  ASSERT_EQ(code.CodeCount(), 4);
  EXPECT_EQ(code.Codes[0].Op.Value, 2);  // aimed at the mark: now the entry after it
  EXPECT_EQ(code.Codes[1].Op.Value, 3);
}

TEST(CodeList, ArgumentsOfTheCallBeingMade) {
  TSBasic b;
  TSBCodeList& code = b.Code();
  const int arr = code.AddVariable("A", 3, false, btInteger);
  for (int i = 0; i < 4; ++i) {
    TSBReg r(skIdent, arr, -1);
    r.TypeCode = tcInteger;
    r.Value = i == 2 ? arr : arr;
    code.AddParam(r);
  }
  code.Params[2].TypeIndex = 77;
  code.ArgCount = 2;
  EXPECT_EQ(code.ParamReg(0)->TypeIndex, 77);  // the third pending argument
  EXPECT_EQ(code.ParamReg(2), nullptr);
  EXPECT_EQ(code.ParamTypeCode(5), tcNone);
  EXPECT_EQ(code.ParamElementAddress(0, 2), code.Variables[arr]->Data + 8);
  EXPECT_EQ(code.ParamElementAddress(0, 3), nullptr);
  EXPECT_EQ(code.ParamElementAddress(0, -1), nullptr);
}

TEST(CodeList, SaveAndLoadKeepEntriesConstantsAndVariables) {
  TMacro m;
  ASSERT_EQ(m.Compile("INTEGER A[4]\nSTRING S\nS = \"text\"\nA[3] = 12\nOUT(A[3])"), 0);
  ASSERT_EQ(m.Basic.Run(), 0);
  TSBCodeList& code = m.Basic.Code();
  TSBWriter w;
  code.SaveCode(w);
  TSBCodeList copy(&m.Basic.TypeList(), "X", &m.Basic.FunctionList());
  TSBReader r(w.Data());
  copy.LoadCode(r);
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_EQ(copy.Name, "MAIN");
  ASSERT_EQ(copy.CodeCount(), code.CodeCount());
  for (int i = 0; i < code.CodeCount(); ++i) {
    EXPECT_EQ(copy.Codes[i].Op.Kind, code.Codes[i].Op.Kind);
    EXPECT_EQ(copy.Codes[i].RunCount, code.Codes[i].RunCount);
    const TSBReg& a = copy.Codes[i].A;
    if (a.Kind == skIdent) {
      EXPECT_EQ(a.Target, copy.Variables[a.Value].get());
    } else if (a.Kind == skConst) {
      EXPECT_EQ(a.Target, copy.Constants[a.Value].get());
    }
  }
  EXPECT_EQ(copy.Variables[0]->GetInt(3), 12);
  EXPECT_EQ(LoadShortString(copy.Variables[1]->Data), "text");
  EXPECT_EQ(copy.Constants.size(), code.Constants.size());
}

TEST(CodeList, LoadRefusesStorageWithoutItsBytes) {
  // A code list holding one INTEGER array of a million elements.
  auto stream = [](bool byRef, bool withData) {
    TSBWriter w;
    w.WriteShortString("MAIN");
    w.WriteInt(0);  // constants
    w.WriteInt(1);  // variables
    w.WriteShortString("A");
    w.WriteInt(btInteger);
    w.WriteInt(1000000);
    w.WriteByte(byRef ? 1 : 0);
    w.WriteInt(4000000);
    w.WriteByte(withData ? 1 : 0);
    if (withData) w.WriteBytes(std::string(4000000, '\0').data(), 4000000);
    w.WriteInt(0);  // entries
    return w.Data();
  };
  TSBasic b;
  const struct {
    bool ByRef, WithData, Loads;
  } cases[] = {{false, true, true}, {true, false, true}, {false, false, false}};
  for (const auto& c : cases) {
    TSBCodeList list(&b.TypeList(), "X", &b.FunctionList());
    const std::string bytes = stream(c.ByRef, c.WithData);
    TSBReader r(bytes);
    if (c.Loads) {
      EXPECT_NO_THROW(list.LoadCode(r)) << c.ByRef << c.WithData;
    } else {
      EXPECT_THROW(list.LoadCode(r), EReadError) << c.ByRef << c.WithData;
    }
  }
}

// ---- Operations on typed values --------------------------------------------------------

// Variables for the operands of one entry.
class TOperands {
public:
  explicit TOperands(TSBasic& b) : FCode(b.Code()) {}
  TSBReg Var(int typeIndex, double value) {
    const int v = FCode.AddVariable("V" + std::to_string(FCode.Variables.size()), 1, false, typeIndex);
    FCode.Variables[v]->SetDouble(0, value);
    return Reg(v);
  }
  TSBReg Text(const std::string& s) {
    TSBReg r = Var(btString, 0);
    FCode.Variables[r.Value]->SetString(0, s);
    return r;
  }
  TSBReg Date(double d) {
    TSBReg r = Var(btDate, 0);
    StoreDouble(FCode.Variables[r.Value]->Data, d);
    return r;
  }
  TSBReg Reg(int v) {
    TSBReg r(skIdent, v, -1);
    r.TypeCode = FCode.Variables[v]->VarType->TypeCode;
    r.Target = FCode.Variables[v].get();
    return r;
  }
  TSBReg Register(char code) {
    TSBReg r(skRegister, 0, -1);
    r.TypeCode = code;
    r.Target = FCode.Registers[0].get();
    return r;
  }
  TSBCode Entry(uint8_t kind, int op, const TSBReg& a, const TSBReg& b, const TSBReg& dest) {
    TSBCode c;
    c.Op.Kind = kind;
    c.Op.Value = op;
    c.A = a;
    c.B = b;
    c.Dest = dest;
    return c;
  }
  TSBValue Result() const { return VarValue(*FCode.Registers[0]); }

private:
  TSBCodeList& FCode;
};

TEST(Operations, Arithmetic) {
  TSBasic b;
  const TSBTypeList& types = b.TypeList();
  TOperands o(b);
  auto arith = [&](int op, const TSBReg& x, const TSBReg& y, char dest) {
    TSBCode c = o.Entry(skArith, op, x, y, o.Register(dest));
    EXPECT_EQ(ExecArithmetic(types, c), 0);
    return o.Result();
  };
  EXPECT_EQ(ValueAsInteger(arith(opDiv, o.Var(btInteger, 7), o.Var(btInteger, 2), tcInteger)), 3);
  EXPECT_EQ(ValueAsInteger(arith(opDiv, o.Var(btInteger, -7), o.Var(btInteger, 2), tcInteger)), -3);
  EXPECT_EQ(ValueAsInteger(arith(opDiv, o.Var(btInteger, 7), o.Var(btInteger, 0), tcInteger)), 0);
  EXPECT_EQ(ValueAsDouble(arith(opDiv, o.Var(btDouble, 7), o.Var(btInteger, 0), tcDouble)), 0.0);
  EXPECT_EQ(ValueAsInteger(arith(opDiv, o.Var(btInteger, -2147483648.0), o.Var(btInteger, -1), tcInteger)),
            -2147483647 - 1);
  EXPECT_EQ(ValueAsInteger(arith(opMul, o.Var(btInteger, 65536), o.Var(btInteger, 65536), tcInteger)), 0);
  EXPECT_EQ(ValueAsDouble(arith(opAdd, o.Var(btInteger, 5), o.Var(btSingle, 2.5), tcSingle)), 7.5);
  EXPECT_EQ(ValueAsInteger(arith(opAdd, o.Var(btInteger, 5), o.Var(btSingle, 2.5), tcInteger)), 7);
  EXPECT_EQ(ValueAsString(arith(opAdd, o.Text("ab"), o.Text("cd"), tcString)), "abcd");
  EXPECT_EQ(ValueAsString(arith(opAdd, o.Text(std::string(200, 'a')), o.Text(std::string(100, 'b')), tcString)).size(),
            255u);
  EXPECT_EQ(ValueAsString(arith(opSub, o.Text("ab"), o.Text("b"), tcString)), "");
  const double day = EncodeDate(2024, 3, 1) + 0.5;
  EXPECT_EQ(ValueAsDate(arith(opAdd, o.Date(day), o.Var(btInteger, 3), tcDate)), EncodeDate(2024, 3, 4));
  EXPECT_EQ(ValueAsDate(arith(opSub, o.Date(day), o.Var(btInteger, 1), tcDate)), EncodeDate(2024, 2, 29));
}

TEST(Operations, ComparisonAndLogic) {
  TSBasic b;
  const TSBTypeList& types = b.TypeList();
  TOperands o(b);
  auto cmp = [&](int op, const TSBReg& x, const TSBReg& y) {
    TSBCode c = o.Entry(skCompare, op, x, y, o.Register(tcInteger));
    EXPECT_EQ(ExecCompare(types, c), 0);
    return ValueAsInteger(o.Result());
  };
  EXPECT_EQ(cmp(opLess, o.Text("abc"), o.Text("abd")), 1);
  EXPECT_EQ(cmp(opLess, o.Text("ab"), o.Text("abc")), 1);
  EXPECT_EQ(cmp(opLess, o.Text("B"), o.Text("a")), 1);
  EXPECT_EQ(cmp(opLess, o.Text("a"), o.Text("\xC3\xA4")), 1);  // bytes compare unsigned
  EXPECT_EQ(cmp(opEqual, o.Text("abc"), o.Text("ABC")), 0);
  EXPECT_EQ(cmp(opAnd, o.Text("a"), o.Text("b")), 0);
  for (int op = opLess; op <= opOr; ++op) EXPECT_EQ(cmp(op, o.Text("1"), o.Var(btInteger, 1)), 0) << op;
  EXPECT_EQ(cmp(opAnd, o.Var(btInteger, 2), o.Var(btInteger, 0)), 0);
  EXPECT_EQ(cmp(opOr, o.Var(btInteger, 1), o.Var(btInteger, 1)), 1);
  EXPECT_EQ(cmp(opOr, o.Var(btInteger, -1), o.Var(btInteger, 1)), 1);
  EXPECT_EQ(cmp(opAnd, o.Var(btInteger, 65536), o.Var(btInteger, 65536)), 1);
  EXPECT_EQ(cmp(opAnd, o.Var(btDouble, 0.4), o.Var(btDouble, 1.0)), 0);
  EXPECT_EQ(cmp(opOr, o.Var(btDouble, 0.4), o.Var(btDouble, 0.6)), 1);
  EXPECT_EQ(cmp(opEqual, o.Date(EncodeDate(2024, 1, 1) + 0.1), o.Date(EncodeDate(2024, 1, 1) + 0.9)), 1);
  EXPECT_EQ(cmp(opGreater, o.Var(btSingle, 2.5), o.Var(btInteger, 2)), 1);
}

TEST(Operations, Assignment) {
  TSBasic b;
  TOperands o(b);
  auto assign = [&](const TSBReg& src, int destType) {
    TSBReg dest = o.Var(destType, 0);
    TSBCode c = o.Entry(skAssign, 0, src, TSBReg(), dest);
    EXPECT_EQ(ExecAssign(b.TypeList(), c), 0);
    return VarValue(*dest.Target);
  };
  EXPECT_EQ(ValueAsInteger(assign(o.Text("12"), btInteger)), 0);
  EXPECT_EQ(ValueAsString(assign(o.Var(btInteger, 12), btString)), "");
  EXPECT_EQ(ValueAsInteger(assign(o.Var(btDouble, 2.5), btInteger)), 2);
  EXPECT_EQ(ValueAsDate(assign(o.Var(btDouble, 366.4), btDate)), EncodeDate(2, 1, 1));
  EXPECT_EQ(ValueAsInteger(assign(o.Date(EncodeDate(1, 1, 1)), btInteger)), 1);
  EXPECT_EQ(ValueAsDouble(assign(o.Var(btSingle, 0.5), btDouble)), 0.5);
  EXPECT_EQ(ValueAsDate(assign(o.Text("x"), btDate)), 0.0);
}

// ---- Host interface ---------------------------------------------------------------------

TEST(HostInterface, ArgumentAccessors) {
  TMacro m;
  std::vector<std::string> seen;
  m.Basic.AddFunction("PROBE",
                      [&seen](TSBCodeList& l, TSBResultCell& r) {
                        seen.push_back(std::to_string(GetArgInt(l, 0)));
                        seen.push_back(GetArgString(l, 0) + "|" + GetArgString(l, 1));
                        seen.push_back(std::to_string(GetArgInt(l, 2, 1)));
                        seen.push_back(GetArgPtr(l, 2, 3) ? "ptr" : "nil");
                        seen.push_back(GetArgType(l, 6) == tcNone && GetArgInt(l, 6) == 0 && GetArgString(l, 6).empty() ? "none" : "?");
                        seen.push_back(std::to_string(GetArgInt(l, 4)) + "," + std::to_string(GetArgInt(l, 4, 1)));
                        StoreInt32(GetArgPtr(l, 5), 99);  // written into the caller's variable
                        char text[32];
                        const auto res = std::to_chars(text, text + sizeof text, GetArgSingle(l, 0),
                                                       std::chars_format::fixed, 6);
                        SetResultString(std::string(text, res.ptr), r);
                      },
                      tcString, 6);
  EXPECT_EQ(m.Run("INTEGER A[3], B[4], N\nSINGLE S\nS = 2.5\nA[1] = 8\nB[2] = 5\nB[3] = 6\n"
                  "OUT(PROBE(S, \"t\", A, 0, B[2], N))\nOUT(N)"),
            "2.500000|99");
  EXPECT_EQ(seen, (std::vector<std::string>{"2", "|t", "8", "nil", "none", "5,6"}));
}

TEST(HostInterface, FirstFunctionOfANameWins) {
  TMacro m;
  m.Basic.AddFunction("TWICE", [](TSBCodeList& l, TSBResultCell& r) { SetResultInt(GetArgInt(l, 0) * 2, r); },
                      tcInteger, 1);
  m.Basic.AddFunction("TWICE", [](TSBCodeList&, TSBResultCell& r) { SetResultInt(-1, r); }, tcInteger, 1);
  m.Basic.AddFunction("ROUND", [](TSBCodeList&, TSBResultCell& r) { SetResultInt(-1, r); }, tcInteger, 1);
  EXPECT_EQ(m.Run("OUT(TWICE(4))\nOUT(ROUND(2.6))"), "8|3");
}

TEST(HostInterface, ResultIsConvertedToTheRegisteredType) {
  TMacro m;
  m.Basic.AddFunction("HALF", [](TSBCodeList& l, TSBResultCell& r) { SetResultDouble(GetArgDouble(l, 0) / 2, r); },
                      tcInteger, 1);
  m.Basic.AddFunction("YES", [](TSBCodeList&, TSBResultCell& r) { SetResultBool(true, r); }, tcInteger, 0);
  m.Basic.AddFunction("DAY", [](TSBCodeList&, TSBResultCell& r) { SetResultDate(EncodeDate(2020, 2, 2), r); },
                      tcDate, 0);
  EXPECT_EQ(m.Run("OUT(HALF(5))\nOUT(YES())\nOUT(DAY())"), "2|1|02/02/2020");
}

}  // namespace
