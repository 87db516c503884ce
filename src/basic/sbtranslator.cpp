#include "basic/sbtranslator.h"

#include "basic/sberrors.h"

// ---- Token lists --------------------------------------------------------------------

TSBTokenList CopyTokens(const TSBTokenList& list, int first, int last) {
  const int n = static_cast<int>(list.size());
  if (first < 0 || last >= n || first > last) return {};
  return TSBTokenList(list.begin() + first, list.begin() + last + 1);
}

void DeleteTokens(TSBTokenList& list, int at, int count) {
  const int n = static_cast<int>(list.size());
  if (at < 0 || at >= n || count <= 0) return;
  const int end = at + count > n ? n : at + count;
  list.erase(list.begin() + at, list.begin() + end);
}

void ReplaceTokens(TSBTokenList& list, int at, int count, const TSBOperand& operand) {
  DeleteTokens(list, at, count);
  if (at >= 1 && at <= static_cast<int>(list.size())) list[at - 1].SetFromRecord(operand);
}

int FirstOfKind(const TSBTokenList& list, uint8_t kind) {
  for (std::size_t i = 0; i < list.size(); ++i)
    if (list[i].Kind == kind) return static_cast<int>(i);
  return -1;
}

int LastOfKind(const TSBTokenList& list, uint8_t kind) {
  for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i)
    if (list[i].Kind == kind) return i;
  return -1;
}

bool IsDelimiter(const TSBLex& token, int sub) { return token.Kind == skDelimiter && token.Value == sub; }

int FindOperator(const TSBTokenList& list, int priorityClass) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TSBLex& t = list[i];
    bool match = false;
    switch (priorityClass) {
      case 1: match = t.Kind == skArith && (t.Value == opMul || t.Value == opDiv); break;
      case 2: match = t.Kind == skArith && (t.Value == opAdd || t.Value == opSub); break;
      case 3: match = t.Kind == skCompare && t.Value >= opLess && t.Value <= opNotEqual; break;
      case 4: match = t.Kind == skCompare && (t.Value == opAnd || t.Value == opOr); break;
      default: break;
    }
    if (match) return static_cast<int>(i);
  }
  return -1;
}

std::pair<int, int> MatchCallParen(const TSBTokenList& list, int callIndex) {
  const int n = static_cast<int>(list.size());
  const int open = callIndex + 1;
  if (open >= n || !IsDelimiter(list[open], dlOpen)) return {-1, -1};
  int depth = 0;
  for (int i = open; i < n; ++i) {
    if (IsDelimiter(list[i], dlOpen)) ++depth;
    else if (IsDelimiter(list[i], dlClose) && --depth == 0) return {open, i};
  }
  return {open, n - 1};
}

TSBBrackets FindInnermostBrackets(const TSBTokenList& list) {
  TSBBrackets b;
  const int n = static_cast<int>(list.size());
  for (int i = 0; i < n; ++i) {
    const TSBLex& t = list[i];
    if (t.Kind == skCall || t.Kind == skMethod) {
      const auto [open, close] = MatchCallParen(list, i);
      if (open >= 0) i = close;
      continue;
    }
    if (IsDelimiter(t, dlOpen) || IsDelimiter(t, dlOpenBracket)) {
      b.Open = i;
    } else if (IsDelimiter(t, dlClose) || IsDelimiter(t, dlCloseBracket)) {
      b.Close = i;
      b.Shape = IsDelimiter(t, dlClose) ? 1 : 2;
      return b;
    }
  }
  return TSBBrackets{};
}

// ---- Translator ------------------------------------------------------------------------

TSBTranslator::TSBTranslator(TSBCodeList* main, TSBTypeList* types, TSBFuncList* functions)
    : Main(main), Current(main), Functions(functions), Types(types) {
  Main->Functions = functions;
}

void TSBTranslator::Reset() {
  Main->ClearCode();
  Main->ClearVariables();
  Current = Main;
  LineNo = 0;
  CurrentClass = nullptr;
}

void TSBTranslator::SetCompileError(TSBErrorRecord& error, int code, const std::string& name) {
  error.ErrorCode = code;
  error.ErrorName = CutText(name);
}

void TSBTranslator::Fail(int code, const std::string& name) {
  if (FError && FError->ErrorCode == 0) SetCompileError(*FError, code, name);
}

TSBOperand TSBTranslator::MakeOperand(uint8_t kind, int32_t value) {
  TSBOperand op;
  op.Kind = kind;
  op.Value = value;
  return op;
}

TSBOperand TSBTranslator::MakeCode(int line, const TSBOperand& op, const TSBOperand& a, const TSBOperand& b,
                                   const TSBOperand& dest) {
  TSBCode c;
  c.Line = line;
  c.Op.SetFromRecord(op);
  c.A.SetFromRecord(a);
  c.B.SetFromRecord(b);
  c.Dest.SetFromRecord(dest);
  return Current->AddCode(std::move(c));
}

TSBCode TSBTranslator::Emit(const TSBOperand& op, const TSBOperand& a, const TSBOperand& b, const TSBOperand& dest) {
  MakeCode(LineNo, op, a, b, dest);
  return Current->Codes.back().Clone();
}

void TSBTranslator::Patch(const TSBCode& jump, int32_t target) {
  if (TSBCode* c = Current->CodeAt(jump.Index)) c->Op.Value = target;
}

TSBOperand TSBTranslator::NewRegister(char code, int32_t typeIndex) const {
  TSBOperand op = MakeOperand(skRegister, -1);
  op.TypeCode = code;
  op.TypeIndex = code == tcUser ? typeIndex : -1;
  return op;
}

TSBLex TSBTranslator::TokenOf(const TSBOperand& op, int32_t bound) const {
  TSBLex t;
  t.SetFromRecord(op);
  t.ElemSize = ElementSize(*Types, op.TypeCode, op.TypeIndex);
  t.Bound = bound;
  return t;
}

// ---- Names ---------------------------------------------------------------------------------

void TSBTranslator::ResolveNames(TSBTokenList& tokens, TSBErrorRecord& error) {
  FError = &error;
  if (tokens.empty()) return;
  switch (tokens[0].Kind) {
    case skEnd:
    case skGoto:
    case skTypeName:
    case skFunction:
    case skClass: return;
    default: break;
  }
  // Type of the name last resolved, per bracket level.
  std::vector<std::pair<char, int32_t>> context{{tcNone, -1}};
  const int n = static_cast<int>(tokens.size());
  for (int i = 0; i < n && !Failed(); ++i) {
    TSBLex& t = tokens[i];
    if (IsDelimiter(t, dlOpen) || IsDelimiter(t, dlOpenBracket)) {
      context.push_back({tcNone, -1});
    } else if (IsDelimiter(t, dlClose) || IsDelimiter(t, dlCloseBracket)) {
      if (context.size() > 1) context.pop_back();
    } else if (IsDelimiter(t, dlDot)) {
      if (i + 1 >= n) {
        Fail(sbeUnknownMember);
        return;
      }
      TSBLex& m = tokens[++i];
      const auto [code, index] = context.back();
      const TSBType* type = code == tcUser ? TypeAt(*Types, index) : nullptr;
      if (!type) {
        Fail(sbeUnknownMember, m.Text);
        return;
      }
      const int32_t fi = type->MethodFuncIndex(m.Text);
      const TSBFunc* f = TypeAt(*Functions, fi);
      if (f) {
        m.Kind = skMethod;
        m.Value = fi;
        const auto rt = TypeOfVarType(TypeAt(*Types, f->ResultTypeIndex));
        m.TypeCode = rt.first;
        m.TypeIndex = rt.second;
        m.ElemSize = ElementSize(*Types, rt.first, rt.second);
        m.Bound = 1;
        context.back() = rt;
        continue;
      }
      const int field = type->FieldIndex(m.Text);
      if (field < 0) {
        Fail(sbeUnknownMember, m.Text);
        return;
      }
      const TSBField& fd = type->Fields[field];
      const TSBType* ft = TypeAt(*Types, fd.TypeIndex);
      const auto ftc = TypeOfVarType(ft);
      m.Kind = skField;
      m.Value = field;
      m.TypeCode = ftc.first;
      m.TypeIndex = ftc.second;
      m.ElemSize = ft ? ft->Size : 0;
      m.FieldOffset = type->FieldOffset(m.Text);
      m.Bound = fd.Dimension;
      context.back() = ftc;
    } else if (t.Kind == skIdent) {
      const bool callFollows = i + 1 < n && IsDelimiter(tokens[i + 1], dlOpen);
      int32_t fi = -1;
      bool ownMethod = false;
      if (!(t.Text == Current->Name && !callFollows)) {
        if (CurrentClass) {
          fi = CurrentClass->MethodFuncIndex(t.Text);
          ownMethod = TypeAt(*Functions, fi) != nullptr;
          if (!ownMethod) fi = -1;
        }
        if (fi < 0) fi = FindIndexByName(*Functions, t.Text);
      }
      if (fi >= 0) {
        const TSBFunc& f = *(*Functions)[fi];
        if (!ownMethod && f.ClassIndex >= 0 && (!CurrentClass || f.ClassIndex != CurrentClass->Index)) {
          Fail(sbeUnknownMember, t.Text);
          return;
        }
        const auto rt = TypeOfVarType(TypeAt(*Types, f.ResultTypeIndex));
        t.Kind = skCall;
        t.Value = fi;
        t.TypeCode = rt.first;
        t.TypeIndex = rt.second;
        t.ElemSize = ElementSize(*Types, rt.first, rt.second);
        t.Bound = 1;
        context.back() = rt;
        continue;
      }
      int vi = FindIndexByName(Current->Variables, t.Text);
      if (vi < 0) vi = Current->AddVariable(t.Text, 1, false, btSingle);
      const TSBVar& v = *Current->Variables[vi];
      const auto vt = TypeOfVarType(v.VarType);
      t.Kind = skIdent;
      t.Value = vi;
      t.TypeCode = vt.first;
      t.TypeIndex = vt.second;
      t.ElemSize = v.VarType ? v.VarType->Size : 0;
      t.FieldOffset = 0;
      t.Bound = v.Dimension;
      context.back() = vt;
    } else if (t.Kind == skConst) {
      const TSBOperand c = Current->AddConstant(t.TypeCode, t.Number);
      if (t.TypeCode == tcString) Current->Constants[c.Value]->SetString(0, t.StrValue);
      t.SetFromRecord(c);
      t.TypeIndex = -1;
      t.ElemSize = TypeCodeSize(c.TypeCode);
      t.Bound = 1;
    }
  }
}

// ---- Expressions ------------------------------------------------------------------------------

TSBOperand TSBTranslator::TranslateExpression(const TSBTokenList& tokens, bool keep, TSBErrorRecord& error) {
  FError = &error;
  return Expression(tokens, keep);
}

TSBOperand TSBTranslator::Expression(TSBTokenList list, bool keep) {
  if (list.empty()) {
    Fail(sbeSyntax);
    return {};
  }
  while (!Failed()) {
    const TSBBrackets b = FindInnermostBrackets(list);
    if (b.Shape == 0) break;
    if (b.Open < 0 || b.Close <= b.Open) {
      Fail(sbeSyntax);
      return {};
    }
    TSBTokenList inner = CopyTokens(list, b.Open + 1, b.Close - 1);
    if (inner.empty()) {
      Fail(sbeSyntax);
      return {};
    }
    const TSBOperand r = Flat(inner, true);
    if (Failed()) return {};
    if (b.Shape == 1) {
      list[b.Open] = TokenOf(r);
      DeleteTokens(list, b.Open + 1, b.Close - b.Open);
    } else {
      DeleteTokens(list, b.Open, b.Close - b.Open + 1);
      if (b.Open == 0 || (!IsOperandKind(list[b.Open - 1].Kind) && list[b.Open - 1].Kind != skField)) {
        Fail(sbeNotArray, b.Open > 0 ? list[b.Open - 1].Text : std::string());
        return {};
      }
      TSBLex& array = list[b.Open - 1];
      if (array.Bound <= 1) {
        Fail(sbeNotArray, array.Text);
        return {};
      }
      ElementAccess(array, r);
    }
  }
  if (Failed()) return {};
  return Flat(list, keep);
}

void TSBTranslator::ElementAccess(TSBLex& array, const TSBOperand& index) {
  array.IndexReg = index.Value;
  const TSBOperand offset = MakeCode(LineNo, MakeOperand(skLoadNumber, 0), MakeOperand(skNone, 0), {},
                                     NewRegister(tcInteger));
  TSBOperand op = MakeOperand(skIndexStep, array.ElemSize);
  op.OffsetReg = 0;
  op.TypeIndex = array.Bound;
  TSBOperand dest = MakeOperand(skRegister, offset.Value);
  dest.TypeCode = tcInteger;
  MakeCode(LineNo, op, array.ToRecord(), index, dest);
  array.OffsetReg = offset.Value;
}

TSBOperand TSBTranslator::Flat(TSBTokenList& list, bool keep) {
  // Calls, left to right.
  for (int i = 0; i < static_cast<int>(list.size()) && !Failed(); ++i)
    if (list[i].Kind == skCall) Call(list, i, nullptr);
  // Members.
  for (int i = 0; i < static_cast<int>(list.size()) && !Failed(); ++i)
    while (!Failed() && i < static_cast<int>(list.size()) && IsDelimiter(list[i], dlDot)) Member(list, i);
  // NOT, innermost (rightmost) first so that NOT NOT x works.
  for (int i = static_cast<int>(list.size()) - 1; i >= 0 && !Failed(); --i) {
    if (list[i].Kind != skNot) continue;
    if (i + 1 >= static_cast<int>(list.size()) || !IsOperandKind(list[i + 1].Kind) ||
        list[i + 1].TypeCode == tcString || list[i + 1].TypeCode == tcUser) {
      Fail(sbeIncompatible);
      break;
    }
    const TSBOperand d = MakeCode(LineNo, MakeOperand(skNot, 0), list[i + 1].ToRecord(), {}, NewRegister(tcInteger));
    list[i] = TokenOf(d);
    DeleteTokens(list, i + 1, 1);
  }
  // Binary operators by priority; equal priorities group from the left.
  for (int cls = 1; cls <= 4 && !Failed(); ++cls)
    for (int i = FindOperator(list, cls); i >= 0 && !Failed(); i = FindOperator(list, cls)) Binary(list, i);
  // Assignments group from the right.
  for (int i = LastOfKind(list, skAssign); i >= 0 && !Failed(); i = LastOfKind(list, skAssign)) Assignment(list, i);
  if (Failed()) return {};
  if (list.size() != 1 || !IsOperandKind(list[0].Kind)) {
    Fail(sbeSyntax);
    return {};
  }
  TSBOperand result = list[0].ToRecord();
  if (keep && result.Kind != skRegister)
    result = MakeCode(LineNo, MakeOperand(skAssign, 0), result, {}, NewRegister(result.TypeCode, result.TypeIndex));
  return result;
}

void TSBTranslator::Binary(TSBTokenList& list, int at) {
  const int n = static_cast<int>(list.size());
  const TSBLex op = list[at];
  const bool sign = op.Kind == skArith && (op.Value == opAdd || op.Value == opSub) &&
                    (at == 0 || !IsOperandKind(list[at - 1].Kind));
  if (sign) {
    if (at + 1 >= n || !IsOperandKind(list[at + 1].Kind) || !IsNumericCode(list[at + 1].TypeCode)) {
      Fail(sbeIncompatible);
      return;
    }
    const TSBLex& x = list[at + 1];
    TSBOperand one = Current->AddConstant(tcInteger, op.Value == opAdd ? 1 : -1);
    const TSBOperand d = MakeCode(LineNo, MakeOperand(skArith, opMul), one, x.ToRecord(), NewRegister(x.TypeCode, x.TypeIndex));
    list[at] = TokenOf(d);
    DeleteTokens(list, at + 1, 1);
    return;
  }
  if (at == 0 || at + 1 >= n || !IsOperandKind(list[at - 1].Kind) || !IsOperandKind(list[at + 1].Kind)) {
    Fail(sbeIncompatible);
    return;
  }
  const TSBLex& l = list[at - 1];
  const TSBLex& r = list[at + 1];
  if (!OperandsCompatible(op.Value, l.TypeCode, r.TypeCode)) {
    Fail(sbeIncompatible);
    return;
  }
  const char rc = ResultTypeCode(op.Value, l.TypeCode, r.TypeCode);
  const TSBOperand d = MakeCode(LineNo, MakeOperand(op.Kind, op.Value), l.ToRecord(), r.ToRecord(), NewRegister(rc));
  list[at - 1] = TokenOf(d);
  DeleteTokens(list, at, 2);
}

void TSBTranslator::Assignment(TSBTokenList& list, int at) {
  const int n = static_cast<int>(list.size());
  if (at == 0 || at + 1 >= n || !IsOperandKind(list[at - 1].Kind) || !IsOperandKind(list[at + 1].Kind)) {
    Fail(sbeIncompatible);
    return;
  }
  const TSBLex& l = list[at - 1];
  const TSBLex& r = list[at + 1];
  const bool bothStrings = l.TypeCode == tcString && r.TypeCode == tcString;
  const bool plain = l.TypeCode != tcString && r.TypeCode != tcString && l.TypeCode != tcUser && r.TypeCode != tcUser;
  if (!(bothStrings || plain || l.TypeCode == r.TypeCode) || l.Kind != skIdent) {
    Fail(sbeIncompatible);
    return;
  }
  MakeCode(LineNo, MakeOperand(skAssign, 0), r.ToRecord(), {}, l.ToRecord());
  DeleteTokens(list, at, 2);
}

void TSBTranslator::Call(TSBTokenList& list, int at, const TSBOperand* object) {
  const int32_t fnIndex = list[at].Value;
  const TSBFunc* fn = TypeAt(*Functions, fnIndex);
  if (!fn) {
    Fail(sbeUnknownMember, list[at].Text);
    return;
  }
  const auto [open, close] = MatchCallParen(list, at);
  if (open < 0) {
    Fail(sbeParamCount);
    return;
  }
  std::vector<TSBOperand> args;
  if (close > open + 1) {
    if (fn->ParamCount == 0) {
      Fail(sbeNoParameters);
      return;
    }
    // Split at the commas outside inner brackets.
    int start = open + 1, depth = 0;
    for (int i = open + 1; i <= close && !Failed(); ++i) {
      const TSBLex& t = list[i];
      if (i < close && (IsDelimiter(t, dlOpen) || IsDelimiter(t, dlOpenBracket))) ++depth;
      else if (i < close && (IsDelimiter(t, dlClose) || IsDelimiter(t, dlCloseBracket))) --depth;
      if (i == close || (depth == 0 && IsDelimiter(t, dlComma))) {
        const TSBOperand a = Expression(CopyTokens(list, start, i - 1), false);
        if (Failed()) return;
        MakeCode(LineNo, MakeOperand(skPush, 0), a, {}, {});
        args.push_back(a);
        start = i + 1;
      }
    }
  }
  if (fn->CodeList) {
    const TSBCodeList& body = *fn->CodeList;
    for (std::size_t k = 0; k < args.size() && k + 1 < body.Variables.size(); ++k) {
      const TSBVar& param = *body.Variables[k + 1];
      const auto [pc, pi] = TypeOfVarType(param.VarType);
      const TSBOperand& a = args[k];
      if (param.ByRef) {
        if (a.Kind != skIdent) return Fail(sbeUnknownMember);
        // A user type must be the parameter's own: the callee works on its storage.
        if (a.TypeCode != pc || (pc == tcUser && a.TypeIndex != pi)) return Fail(sbeByRefType);
      } else if (!OperandsCompatible(opAdd, a.TypeCode, pc) && !(pc == tcUser && a.TypeCode == tcUser && a.TypeIndex == pi)) {
        return Fail(sbeByValType);
      }
    }
  }
  if (static_cast<int>(args.size()) != fn->ParamCount) return Fail(sbeParamCount);
  TSBOperand a;
  if (object) {
    a = *object;
  } else if (fn->ClassIndex >= 0) {
    const int self = FindIndexByName(Current->Variables, "SELF");
    if (self < 0) return Fail(sbeParamCount);
    a = MakeOperand(skIdent, self);
    a.TypeCode = tcUser;
    a.TypeIndex = Current->Variables[self]->TypeIndex;
  }
  const auto rt = TypeOfVarType(TypeAt(*Types, fn->ResultTypeIndex));
  const TSBOperand d = MakeCode(LineNo, MakeOperand(skCall, fnIndex), a, {}, NewRegister(rt.first, rt.second));
  list[at] = TokenOf(d);
  DeleteTokens(list, at + 1, close - at);
}

void TSBTranslator::Member(TSBTokenList& list, int dot) {
  const int n = static_cast<int>(list.size());
  if (dot == 0 || dot + 1 >= n) return Fail(sbeUnknownMember);
  TSBLex& base = list[dot - 1];
  if (!IsOperandKind(base.Kind) || base.TypeCode != tcUser) return Fail(sbeUnknownMember, list[dot + 1].Text);
  if (base.OffsetReg < 0) {
    const TSBOperand o = MakeCode(LineNo, MakeOperand(skLoadNumber, 0), MakeOperand(skNone, 0), {}, NewRegister(tcInteger));
    base.OffsetReg = o.Value;
  }
  TSBOperand offsetReg = MakeOperand(skRegister, base.OffsetReg);
  offsetReg.TypeCode = tcInteger;
  const TSBLex m = list[dot + 1];
  if (m.Kind == skField) {
    TSBOperand op = MakeOperand(skIndexStep, m.ElemSize);
    op.OffsetReg = m.FieldOffset;
    op.TypeIndex = m.Bound;
    TSBOperand index = m.IndexReg >= 0 ? MakeOperand(skRegister, m.IndexReg) : MakeOperand(skNone, 0);
    if (m.IndexReg >= 0) index.TypeCode = tcInteger;
    MakeCode(LineNo, op, base.ToRecord(), index, offsetReg);
    base.TypeCode = m.TypeCode;
    base.TypeIndex = m.TypeIndex;
    base.ElemSize = m.ElemSize;
    base.Bound = m.Bound;
    base.Text = m.Text;
    DeleteTokens(list, dot, 2);
  } else if (m.Kind == skMethod) {
    const TSBOperand object = base.ToRecord();
    list[dot + 1].Kind = skCall;
    Call(list, dot + 1, &object);
    if (Failed()) return;
    MakeCode(LineNo, MakeOperand(skLoadNumber, 0), MakeOperand(skNone, 0), {}, offsetReg);
    list[dot - 1] = list[dot + 1];
    DeleteTokens(list, dot, 2);
  } else {
    Fail(sbeUnknownMember, m.Text);
  }
}
