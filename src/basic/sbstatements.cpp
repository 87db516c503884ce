// The statements of the translator: declarations, the IF chain, FOR, DO and
// SELECT CASE blocks, GOTO, functions and classes. Blocks span several
// lines; their open jumps wait on the code list's stacks and are patched
// when the closing statement arrives.
#include "basic/sberrors.h"
#include "basic/sbtranslator.h"

namespace {

TSBOperand Op(uint8_t kind, int32_t value = 0) { return TSBTranslator::MakeOperand(kind, value); }

}  // namespace

void TSBTranslator::TranslateStatement(const TSBTokenList& t, TSBErrorRecord& error) {
  FError = &error;
  if (t.empty()) return;
  TSBCodeList* target = Current;
  // Every statement numbers its registers from 0 again.
  Current->NextRegister = 0;
  Current->RegisterHighWater = 0;
  Current->RegisterOverflow = false;
  const int n = static_cast<int>(t.size());
  switch (t[0].Kind) {
    case skIdent: Expression(t, false); break;
    case skCall: Expression(t, true); break;
    case skInc:
    case skDec: {
      const TSBOperand v = Expression(CopyTokens(t, 1, n - 1), false);
      if (Failed()) break;
      if (v.Kind != skIdent) {
        Fail(sbeIncompatible);
        break;
      }
      Emit(Op(t[0].Kind), v, {}, {});
      break;
    }
    case skIf:
    case skElseIf:
    case skElse: IfChain(t); break;
    case skEnd:
      if (n < 2) break;
      switch (t[1].Kind) {
        case skIf: IfChain(t); break;
        case skSelect: EndSelect(); break;
        case skFunction: EndFunction(); break;
        case skClass: EndClass(); break;
        default: break;
      }
      break;
    case skFor: ForLoop(t); break;
    case skNext: NextLoop(); break;
    case skDo: DoLoop(t); break;
    case skLoop: LoopEnd(t); break;
    case skSelect: Select(t); break;
    case skCase:
      if (n >= 2 && t[1].Kind == skElse)
        CaseElse();
      else
        CaseItems(t);
      break;
    case skGoto: Goto(t); break;
    case skTypeName: Declaration(t); break;
    case skFunction: FunctionHeader(t); break;
    case skExit: Emit(Op(skExit), {}, {}, {}); break;
    case skReturn: Return(t); break;
    case skClass: ClassHeader(t); break;
    default: break;
  }
  if (!Failed() && (target->RegisterOverflow || Current->RegisterOverflow)) Fail(sbeTooComplex);
}

// ---- IF ----------------------------------------------------------------------------------

void TSBTranslator::IfChain(const TSBTokenList& t) {
  const int n = static_cast<int>(t.size());
  const uint8_t kind = t[0].Kind;
  if (kind == skIf) {
    const TSBOperand r = Expression(CopyTokens(t, 1, n - 2), true);
    if (Failed()) return;
    TSBIFStat s;
    s.CondJump = Emit(Op(skIf), r, {}, {});
    Current->PushIf(s);
    return;
  }
  TSBIFStat* top = Current->TopIf(false);
  if (!top) return Fail(sbeSyntax);
  if (kind == skEnd) {
    const TSBCode m = Emit(Op(skMark), {}, {}, {});
    top = Current->TopIf(false);
    if (top->CondJump.Op.Kind != skNone) Patch(top->CondJump, m.Index);
    for (int k = 0; k < top->ElseCount; ++k)
      if (const auto g = Current->PopJump(true)) Patch(*g, m.Index);
    Current->TopIf(true);
    return;
  }
  // ELSEIF and ELSE: the branch before ends in a jump to END IF.
  Current->PushJump(Emit(Op(skGoto), {}, {}, {}));
  const TSBCode m = Emit(Op(skMark), {}, {}, {});
  top = Current->TopIf(false);
  ++top->ElseCount;
  if (top->CondJump.Op.Kind != skNone) Patch(top->CondJump, m.Index);
  if (kind == skElseIf) {
    const TSBOperand r = Expression(CopyTokens(t, 1, n - 1), true);
    if (Failed()) return;
    const TSBCode j = Emit(Op(skIf), r, {}, {});
    Current->TopIf(false)->CondJump = j;
  } else {
    top->CondJump = TSBCode();
  }
}

// ---- FOR ----------------------------------------------------------------------------------

void TSBTranslator::ForLoop(const TSBTokenList& t) {
  const int n = static_cast<int>(t.size());
  TSBOperand loop = t[1].ToRecord();
  loop.IndexReg = -1;  // an array element cannot serve as loop variable
  loop.OffsetReg = -1;
  if (loop.Kind != skIdent) return Fail(sbeIncompatible);
  const TSBOperand start = Current->AddConstant(tcInteger, 0);
  const TSBOperand limit = Current->AddConstant(tcInteger, 0);
  const TSBOperand step = Current->AddConstant(tcInteger, 0);
  const int to = FirstOfKind(t, skTo);
  int stepAt = -1;
  for (int i = to + 1; i < n; ++i)
    if (t[i].Kind == skStep) {
      stepAt = i;
      break;
    }
  const TSBOperand r1 = Expression(CopyTokens(t, 3, to - 1), true);
  if (Failed()) return;
  const TSBOperand r2 = Expression(CopyTokens(t, to + 1, (stepAt < 0 ? n : stepAt) - 1), true);
  if (Failed()) return;
  TSBOperand r3;
  const bool hasStep = stepAt >= 0 && stepAt + 1 < n;
  if (hasStep) {
    r3 = Expression(CopyTokens(t, stepAt + 1, n - 1), true);
    if (Failed()) return;
  }
  Emit(Op(skAssign), r1, {}, loop);
  Emit(Op(skAssign), r1, {}, start);
  Emit(Op(skAssign), r2, {}, limit);
  if (hasStep)
    Emit(Op(skAssign), r3, {}, step);
  else
    Emit(Op(skLoadNumber), Op(skNone, 1), {}, step);
  TSBForStat s;
  s.TestCode = Emit(Op(skFor), loop, limit, step);
  s.LoopVar = TSBReg(loop);
  s.StartReg = TSBReg(start);
  s.LimitReg = TSBReg(limit);
  s.StepReg = TSBReg(step);
  Current->PushFor(s);
}

void TSBTranslator::NextLoop() {
  const TSBForStat* f = Current->TopFor(false);
  if (!f) return Fail(sbeSyntax);
  const TSBForStat s = *f;
  Emit(Op(skNext, s.TestCode.Index), s.LoopVar.ToRecord(), {}, s.StepReg.ToRecord());
  const TSBCode m = Emit(Op(skMark), {}, {}, {});
  Patch(s.TestCode, m.Index);
  Current->TopFor(true);
}

// ---- DO ----------------------------------------------------------------------------------

void TSBTranslator::DoLoop(const TSBTokenList& t) {
  const int n = static_cast<int>(t.size());
  const TSBCode top = Emit(Op(skMark), {}, {}, {});
  TSBCode j;
  if (n >= 3) {
    const TSBOperand r = Expression(CopyTokens(t, 2, n - 1), true);
    if (Failed()) return;
    j = Emit(Op(t[1].Kind == skWhile ? skIf : skJumpTrue), r, {}, {});
  }
  Current->PushLoop(j);
  Current->PushLoop(top);
}

void TSBTranslator::LoopEnd(const TSBTokenList& t) {
  const int n = static_cast<int>(t.size());
  const auto top = Current->PopLoop(true);
  auto j = Current->PopLoop(true);
  if (!top || !j) return Fail(sbeSyntax);
  if (j->Op.Kind == skNone && n >= 3) {
    const TSBOperand r = Expression(CopyTokens(t, 2, n - 1), true);
    if (Failed()) return;
    j = Emit(Op(t[1].Kind == skWhile ? skIf : skJumpTrue), r, {}, {});
  }
  Emit(Op(skGoto, top->Index), {}, {}, {});
  const TSBCode exit = Emit(Op(skMark), {}, {}, {});
  if (j->Op.Kind != skNone) Patch(*j, exit.Index);
}

// ---- SELECT CASE ---------------------------------------------------------------------------

void TSBTranslator::Select(const TSBTokenList& t) {
  const int n = static_cast<int>(t.size());
  const TSBOperand r = Expression(CopyTokens(t, 2, n - 1), true);
  if (Failed()) return;
  // The selector is compared as an integer.
  const TSBOperand selector = Current->AddConstant(tcInteger, 0);
  Emit(Op(skAssign), r, {}, selector);
  Emit(Op(skSelect), selector, {}, {});
  const TSBOperand counter = Current->AddConstant(tcInteger, 0);
  Emit(Op(skLoadNumber), Op(skNone, 0), {}, counter);
  TSBCaseStat s;
  s.SelectorReg = TSBReg(selector);
  s.CounterReg = TSBReg(counter);
  Current->PushCase(s);
}

void TSBTranslator::CaseItems(const TSBTokenList& t) {
  TSBCaseStat* cs = Current->TopCase(false);
  if (!cs) return Fail(sbeSyntax);
  const TSBCode m = Emit(Op(skMark), {}, {}, {});
  if (cs->PendingJump.Op.Kind != skNone) Patch(cs->PendingJump, m.Index);
  const TSBOperand selector = cs->SelectorReg.ToRecord();
  const TSBOperand counter = cs->CounterReg.ToRecord();
  std::vector<TSBCode> jumps;
  const int n = static_cast<int>(t.size());
  int start = 1;
  for (int i = 1; i <= n; ++i) {
    if (i < n && !IsDelimiter(t[i], dlComma)) continue;
    const TSBTokenList item = CopyTokens(t, start, i - 1);
    start = i + 1;
    const int to = FirstOfKind(item, skTo);
    TSBOperand test;
    if (to >= 0) {
      const TSBOperand low = Expression(CopyTokens(item, 0, to - 1), true);
      if (Failed()) return;
      const TSBOperand high = Expression(CopyTokens(item, to + 1, static_cast<int>(item.size()) - 1), true);
      if (Failed()) return;
      const TSBOperand t1 = MakeCode(LineNo, Op(skCompare, opGreaterEq), selector, low, NewRegister(tcInteger));
      const TSBOperand t2 = MakeCode(LineNo, Op(skCompare, opLessEq), selector, high, NewRegister(tcInteger));
      test = MakeCode(LineNo, Op(skCompare, opAnd), t1, t2, NewRegister(tcInteger));
    } else {
      const TSBOperand value = Expression(item, true);
      if (Failed()) return;
      test = MakeCode(LineNo, Op(skCompare, opEqual), selector, value, NewRegister(tcInteger));
    }
    jumps.push_back(Emit(Op(skJumpTrue), test, {}, {}));
  }
  // No match: on to the next CASE, CASE ELSE or END SELECT.
  const TSBCode pending = Emit(Op(skGoto), {}, {}, {});
  Current->TopCase(false)->PendingJump = pending;
  const TSBCode body = Emit(Op(skMark), {}, {}, {});
  Emit(Op(skInc), counter, {}, {});
  for (const TSBCode& j : jumps) Patch(j, body.Index);
}

void TSBTranslator::CaseElse() {
  TSBCaseStat* cs = Current->TopCase(false);
  if (!cs) return Fail(sbeSyntax);
  const TSBCode m = Emit(Op(skMark), {}, {}, {});
  if (cs->PendingJump.Op.Kind != skNone) Patch(cs->PendingJump, m.Index);
  // Skipped when some CASE body ran.
  const TSBCode j = Emit(Op(skJumpTrue), cs->CounterReg.ToRecord(), {}, {});
  Current->TopCase(false)->PendingJump = j;
}

void TSBTranslator::EndSelect() {
  TSBCaseStat* cs = Current->TopCase(false);
  if (!cs) return Fail(sbeSyntax);
  const TSBCode m = Emit(Op(skMark), {}, {}, {});
  if (cs->PendingJump.Op.Kind != skNone) Patch(cs->PendingJump, m.Index);
  Current->TopCase(true);
}

// ---- GOTO ----------------------------------------------------------------------------------

void TSBTranslator::Goto(const TSBTokenList& t) {
  if (t.size() < 2) return Fail(sbeStatement);
  const std::string& name = t[1].Text;
  int ref = Current->GotoRefs.Find(name);
  if (ref < 0) ref = Current->GotoRefs.Add(name, 0);
  Emit(Op(skGotoRef, ref), {}, {}, {});
}

// ---- Declarations --------------------------------------------------------------------------

void TSBTranslator::Declaration(const TSBTokenList& t) {
  const int32_t typeIndex = t[0].Value;
  TSBType* type = TypeAt(*Types, typeIndex);
  if (!type) return Fail(sbeSyntax);
  const int n = static_cast<int>(t.size());
  int start = 1;
  for (int i = 1; i <= n && !Failed(); ++i) {
    if (i < n && !IsDelimiter(t[i], dlComma)) continue;
    const TSBTokenList item = CopyTokens(t, start, i - 1);
    start = i + 1;
    if (item.empty()) continue;
    const std::string& name = item[0].Text;
    int32_t dimension = item.size() == 4 ? NearestInt(item[2].Number) : 1;
    if (dimension > Current->MaxDimension) dimension = Current->MaxDimension;
    if (dimension < 1) dimension = 1;
    if (Current->FindVariable(name)) return Fail(sbeDuplicate, name);
    const int64_t size = static_cast<int64_t>(type->Size) * dimension;
    if (Checker && Checker->Section == 2 && CurrentClass) {
      if (CurrentClass->FieldIndex(name) >= 0 || type == CurrentClass) return Fail(sbeDuplicate, name);
      if (CurrentClass->Size + size > MaxStorageSize) return Fail(sbeRange, name);
      CurrentClass->AddField(TSBField(name, dimension, type));
    } else {
      if (size > MaxStorageSize) return Fail(sbeRange, name);
      Current->AddVariable(name, dimension, false, typeIndex);
    }
  }
}

// ---- Functions ------------------------------------------------------------------------------

void TSBTranslator::FunctionHeader(const TSBTokenList& t) {
  const int n = static_cast<int>(t.size());
  if (t[1].Kind == skTypeName) {
    // FUNCTION Class.Method ...: the statements that follow go into that method's body.
    TSBType* cls = TypeAt(*Types, t[1].Value);
    const int fi = cls && n > 3 ? FindFunctionIndex(*Functions, t[3].Text, cls->Index) : -1;
    TSBFunc* fn = TypeAt(*Functions, fi);
    if (!fn || !fn->CodeList) return Fail(sbeDuplicate);
    CurrentClass = cls;
    Current = fn->CodeList.get();
    // END FUNCTION closed the body with an EXIT; drop it so that these statements run.
    if (!Current->Codes.empty() && Current->Codes.back().Op.Kind == skExit) Current->Codes.pop_back();
    return;
  }
  const std::string& name = t[1].Text;
  const int section = Checker ? Checker->Section : 8;
  const bool method = section == 4;
  if (!method && FindIndexByName(*Functions, name) >= 0) return Fail(sbeDuplicate);
  if (method && (!CurrentClass || CurrentClass->MethodFuncIndex(name) >= 0)) return Fail(sbeDuplicate);
  const int32_t resultType = t[n - 1].Value;
  // Parameters: the identifiers between the parentheses.
  std::vector<int> params;
  if (n > 4)
    for (int i = 3; i <= n - 4; ++i)
      if (t[i].Kind == skIdent) params.push_back(i);
  if (static_cast<int>(params.size()) > TSBCodeList::ArgSlotCount) return Fail(124);
  auto fn = std::make_unique<TSBFunc>(Types, fkUser, method ? CurrentClass : nullptr);
  fn->Name = name;
  fn->ResultCode = tcUser;
  fn->ResultTypeIndex = resultType;
  fn->CodeList = std::make_unique<TSBCodeList>(Types, name, Functions);
  TSBCodeList* body = fn->CodeList.get();
  body->MaxCount = Main->MaxCount;
  body->MaxDimension = Main->MaxDimension;
  const int32_t fnIndex = static_cast<int32_t>(Functions->size());
  Functions->push_back(std::move(fn));
  Current = body;
  body->AddVariable(name, 1, false, resultType);
  for (int i : params) {
    const bool byRef = t[i - 1].Kind == skByRef;
    const int32_t type = i + 2 < n && t[i + 2].Kind == skTypeName ? t[i + 2].Value : btSingle;
    body->AddVariable(t[i].Text, 1, byRef, type);
  }
  if (method) {
    for (const TSBField& f : CurrentClass->Fields) body->AddVariable(f.Name, f.Dimension, true, f.TypeIndex);
    body->AddVariable("SELF", 1, true, CurrentClass->Index);
    TSBField entry(name, 1, TypeAt(*Types, resultType));
    entry.FuncIndex = fnIndex;
    CurrentClass->AddMethod(entry);
  }
  (*Functions)[fnIndex]->ParamCount = static_cast<int32_t>(params.size());
  body->ArgCount = static_cast<int32_t>(params.size());
}

void TSBTranslator::EndFunction() {
  Emit(Op(skExit), {}, {}, {});
  Current->Link();
  Current = Main;
  // After a method the class stays current for its next method.
  if (!Checker || Checker->Section != 7) CurrentClass = nullptr;
}

void TSBTranslator::Return(const TSBTokenList& t) {
  const int n = static_cast<int>(t.size());
  if (n > 1) {
    const TSBOperand r = Expression(CopyTokens(t, 1, n - 1), true);
    if (Failed()) return;
    // The value becomes the function's result.
    if (Current != Main && !Current->Variables.empty()) {
      const TSBVar& v = *Current->Variables[0];
      const auto [code, index] = TypeOfVarType(v.VarType);
      TSBOperand result = Op(skIdent, 0);
      result.TypeCode = code;
      result.TypeIndex = index;
      const bool bothStrings = code == tcString && r.TypeCode == tcString;
      const bool plain = code != tcString && r.TypeCode != tcString && code != tcUser && r.TypeCode != tcUser;
      if (!(bothStrings || plain || code == r.TypeCode)) return Fail(sbeIncompatible);
      Emit(Op(skAssign), r, {}, result);
    }
  }
  Emit(Op(skExit), {}, {}, {});
}

// ---- Classes ----------------------------------------------------------------------------------

void TSBTranslator::ClassHeader(const TSBTokenList& t) {
  const std::string& name = t[1].Text;
  if (FindTypeIndex(*Types, name) >= 0) return Fail(sbeDuplicate);
  const TSBType* parent = nullptr;
  if (t.size() == 5) {
    parent = TypeAt(*Types, t[3].Value);
    if (!parent) return Fail(sbeDuplicate);
  }
  auto type = std::make_unique<TSBType>(name, parent, Functions, Types, tcUser);
  type->Index = static_cast<int32_t>(Types->size());
  CurrentClass = type.get();
  Types->push_back(std::move(type));
}

void TSBTranslator::EndClass() {
  if (Current != Main) {
    // END CLASS right after a method's statements ends that method.
    EndFunction();
    return;
  }
  CurrentClass = nullptr;
  Current = Main;
}
