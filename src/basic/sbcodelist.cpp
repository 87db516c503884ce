#include "basic/sbcodelist.h"

#include <algorithm>
#include <cstdio>

namespace {

TSBType* SingleType(TSBTypeList* types) { return types ? TypeAt(*types, btSingle) : nullptr; }

bool IsJumpKind(uint8_t kind) {
  return kind == skFor || kind == skNext || kind == skIf || kind == skJumpTrue || kind == skElse || kind == skGoto;
}

}  // namespace

TSBCodeList::TSBCodeList(TSBTypeList* types, const std::string& name, TSBFuncList* functions)
    : Name(CutText(name)), Functions(functions), Types(types) {
  TSBType* single = SingleType(types);
  Registers.reserve(RegisterCount);
  for (int i = 0; i < RegisterCount; ++i) {
    auto r = std::make_unique<TSBVar>(types, single, 1, false);
    r->Name = MakeName(skRegister, i);
    Registers.push_back(std::move(r));
  }
  ArgSlots.reserve(ArgSlotCount);
  for (int i = 0; i < ArgSlotCount; ++i) ArgSlots.push_back(std::make_unique<TSBVar>(types, single, 1, false));
}

TSBCodeList::~TSBCodeList() = default;

void TSBCodeList::ClearVariables() { Variables.clear(); }

void TSBCodeList::ClearStatementStacks() {
  ForStack.clear();
  CaseStack.clear();
  IfStack.clear();
  LoopStack.Clear();
  JumpStack.Clear();
}

void TSBCodeList::ClearCode() {
  Codes.clear();
  Constants.clear();
  Params.clear();
  TSBType* single = SingleType(Types);
  for (auto& r : Registers) r->SetType(single, 1);
  RegisterHighWater = 0;
  NextRegister = 0;
  RegistersInUse = 0;
  RegisterOverflow = false;
  Error.ErrorCode = 0;
  Error.ErrorLine = 0;
  Error.ErrorIP = 0;
  ClearStatementStacks();
}

void TSBCodeList::ResetRun() {
  Params.clear();
  for (TSBCode& c : Codes) c.RunCount = 0;
  NextRegister = 0;
  RegisterHighWater = 0;
  Error.ErrorCode = 0;
  Error.ErrorIP = 0;
  Error.ErrorLine = 0;
}

TSBOperand TSBCodeList::AddCode(TSBCode code) {
  // A register destination numbered -1 asks for a new register; one with a
  // number (an offset register being advanced) keeps it.
  if (code.Dest.Kind == skRegister && code.Dest.Value < 0) {
    code.Dest.Value = NextRegister;
    if (code.Op.Kind == skCompare) code.Dest.TypeCode = tcInteger;
    if (NextRegister >= RegisterCount) RegisterOverflow = true;
    ++NextRegister;
    if (NextRegister >= RegisterHighWater) RegisterHighWater = NextRegister + 1;
  }
  const TSBOperand result = code.Dest.ToRecord();
  if (code.Op.Kind == skMark) NextRegister = 0;
  code.Index = static_cast<int32_t>(Codes.size());
  Codes.push_back(std::move(code));
  return result;
}

TSBCode* TSBCodeList::CodeAt(int i) {
  if (i < 0 || i >= static_cast<int>(Codes.size())) return nullptr;
  return &Codes[i];
}

TSBOperand TSBCodeList::AddConstant(char typeCode, double value) {
  int typeIndex = btSingle;
  switch (typeCode) {
    case tcInteger: typeIndex = btInteger; break;
    case tcDouble: typeIndex = btDouble; break;
    case tcString: typeIndex = btString; break;
    case tcDate: typeIndex = btDate; break;
    default: break;
  }
  TSBType* type = TypeAt(*Types, typeIndex);
  auto c = std::make_unique<TSBVar>(Types, type, 1, false);
  const int n = static_cast<int>(Constants.size());
  c->Name = MakeName(skConst, n);
  c->SetDouble(0, value);
  Constants.push_back(std::move(c));
  TSBOperand op;
  op.Kind = skConst;
  op.Value = n;
  op.TypeCode = type ? type->TypeCode : tcSingle;
  op.TypeIndex = 0;
  return op;
}

int TSBCodeList::AddVariable(const std::string& name, int32_t dimension, bool byRef, int32_t typeIndex) {
  TSBType* type = TypeAt(*Types, typeIndex);
  if (!type) type = SingleType(Types);
  if (dimension > MaxDimension) dimension = MaxDimension;
  auto v = std::make_unique<TSBVar>(Types, type, dimension, byRef);
  v->Name = CutName(name);
  Variables.push_back(std::move(v));
  return static_cast<int>(Variables.size()) - 1;
}

int TSBCodeList::AddParam(const TSBReg& reg) {
  Params.push_back(reg);
  return static_cast<int>(Params.size()) - 1;
}

TSBForStat* TSBCodeList::TopFor(bool remove) {
  if (ForStack.empty()) return nullptr;
  if (remove) {
    ForStack.pop_back();
    return nullptr;
  }
  return &ForStack.back();
}

TSBCaseStat* TSBCodeList::TopCase(bool remove) {
  if (CaseStack.empty()) return nullptr;
  if (remove) {
    CaseStack.pop_back();
    return nullptr;
  }
  return &CaseStack.back();
}

TSBIFStat* TSBCodeList::TopIf(bool remove) {
  if (IfStack.empty()) return nullptr;
  if (remove) {
    IfStack.pop_back();
    return nullptr;
  }
  return &IfStack.back();
}

TSBVarList* TSBCodeList::ListOfKind(uint8_t kind) {
  switch (kind) {
    case skIdent: return &Variables;
    case skRegister: return &Registers;
    case skConst: return &Constants;
    default: return nullptr;
  }
}

int TSBCodeList::FindInKind(uint8_t kind, const std::string& name) const {
  switch (kind) {
    case skIdent: return FindIndexByName(Variables, name);
    case skRegister: return FindIndexByName(Registers, name);
    case skConst: return FindIndexByName(Constants, name);
    case skCall: return Functions ? FindIndexByName(*Functions, name) : -1;
    default: return -1;
  }
}

TSBVar* TSBCodeList::FindVariable(const std::string& name) const {
  const int i = FindIndexByName(Variables, name);
  return i < 0 ? nullptr : Variables[i].get();
}

std::string TSBCodeList::MakeName(int kind, int n) {
  if (n < 0) return "nil";
  const char* prefix = kind == skIdent ? "V" : kind == skRegister ? "R" : kind == skConst ? "C" : kind == skParam ? "P" : "";
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03d", n);
  return std::string(prefix) + digits;
}

void TSBCodeList::RegisterFloatFunction(const std::string& name, TSBFloatProc proc, int paramCount) {
  auto f = std::make_unique<TSBFunc>(Types, fkFloat, nullptr);
  f->Name = CutText(name);
  f->FloatProc = proc;
  f->ParamCount = paramCount;
  f->ResultCode = tcUser;
  f->ResultTypeIndex = btSingle;
  Functions->push_back(std::move(f));
}

void TSBCodeList::RegisterHostFunction(const std::string& name, TSBHostProc proc, char resultCode, int paramCount) {
  const TSBType* type = resultCode == tcUser ? nullptr : BaseTypeFor(*Types, resultCode, -1);
  if (!type) throw EInvalidOperation("Function " + name + ": result type code must be one of '0' to '4'");
  if (paramCount < 0) throw EInvalidOperation("Function " + name + ": negative argument count");
  auto f = std::make_unique<TSBFunc>(Types, fkHost, nullptr);
  f->Name = CutText(name);
  f->HostProc = std::move(proc);
  f->ParamCount = paramCount;
  f->ResultCode = tcUser;
  f->ResultTypeIndex = type->Index;
  Functions->push_back(std::move(f));
}

TSBVar* TSBCodeList::OperandVar(const TSBOperand& reg) const {
  const TSBVarList* list = nullptr;
  switch (reg.Kind) {
    case skIdent: list = &Variables; break;
    case skRegister: list = &Registers; break;
    case skConst: list = &Constants; break;
    default: return nullptr;
  }
  if (reg.Value < 0 || reg.Value >= static_cast<int32_t>(list->size())) return nullptr;
  return (*list)[reg.Value].get();
}

int32_t TSBCodeList::RegisterInt(int n) const {
  if (n < 0 || n >= RegisterCount) return 0;
  return Registers[n]->GetInt(0);
}

const TSBReg* TSBCodeList::ParamReg(int i) const {
  const int k = i + static_cast<int>(Params.size()) - ArgCount;
  if (i < 0 || k < 0 || k >= static_cast<int>(Params.size())) return nullptr;
  return &Params[k];
}

char TSBCodeList::ParamTypeCode(int i) const {
  const TSBReg* p = ParamReg(i);
  return p ? p->TypeCode : tcNone;
}

uint8_t* TSBCodeList::ParamElementAddress(int i, int e) const {
  const TSBReg* p = ParamReg(i);
  if (!p) return nullptr;
  const TSBVar* v = OperandVar(*p);
  if (!v || !v->Data) return nullptr;
  const int64_t elem = ElementSize(*Types, p->TypeCode, p->TypeIndex);
  if (elem <= 0) return nullptr;  // the loader refuses such operands; code built otherwise may not
  const int64_t offset = (p->OffsetReg >= 0 ? RegisterInt(p->OffsetReg) : 0) + static_cast<int64_t>(e) * elem;
  if (offset < 0 || offset > v->Size - elem) return nullptr;
  return v->Data + offset;
}

// ---- Linking -----------------------------------------------------------------------

void TSBCodeList::Link() {
  ClearStatementStacks();
  ResolveGotos();
  RemoveMarks();
  LinkOperands();
}

void TSBCodeList::ResolveGotos() {
  for (TSBCode& c : Codes) {
    if (c.Op.Kind != skGotoRef) continue;
    int32_t target = -1;
    if (c.Op.Value >= 0 && c.Op.Value < static_cast<int32_t>(GotoRefs.Items.size())) {
      TSBLabel::TEntry label;
      if (Labels.Find(GotoRefs.Items[c.Op.Value].Name, &label) >= 0) target = label.CodeIndex;
    }
    c.Op.Kind = skGoto;
    c.Op.Value = target;
  }
  Labels.Clear();
  GotoRefs.Clear();
}

void TSBCodeList::RemoveMarks() {
  const int n = static_cast<int>(Codes.size());
  // before[t]: marks removed at positions below t. A jump to a removed mark
  // lands on the entry that follows it.
  std::vector<int32_t> before(n + 1, 0);
  for (int i = 0; i < n; ++i) before[i + 1] = before[i] + (i >= 1 && Codes[i].Op.Kind == skMark ? 1 : 0);
  if (before[n] == 0) {
    for (int i = 0; i < n; ++i) Codes[i].Index = i;
    return;
  }
  // Compacted in place: a long program needs no second copy of its code.
  int out = 0;
  for (int i = 0; i < n; ++i) {
    TSBCode& c = Codes[i];
    if (i >= 1 && c.Op.Kind == skMark) continue;
    if (IsJumpKind(c.Op.Kind) && c.Op.Value > 0) c.Op.Value -= before[std::min(c.Op.Value, n)];
    if (out != i) Codes[out] = std::move(c);
    ++out;
  }
  Codes.resize(out);
  for (int i = 0; i < static_cast<int>(Codes.size()); ++i) Codes[i].Index = i;
}

void TSBCodeList::DeleteCode(int i) {
  if (i < 0 || i >= static_cast<int>(Codes.size())) return;
  for (TSBCode& c : Codes)
    if (IsJumpKind(c.Op.Kind) && c.Op.Value > i) --c.Op.Value;
  Codes.erase(Codes.begin() + i);
}

void TSBCodeList::LinkOperands() {
  int32_t used = 0;
  auto noteRegister = [&](int32_t r) {
    if (r >= 0 && r < RegisterCount) used = std::max(used, r + 1);
  };
  auto link = [&](TSBReg& reg) {
    if (reg.Kind == skRegister) noteRegister(reg.Value);
    noteRegister(reg.IndexReg);
    noteRegister(reg.OffsetReg);
    if (reg.Kind != skIdent && reg.Kind != skRegister && reg.Kind != skConst) {
      reg.Target = reg.IndexVar = reg.OffsetVar = nullptr;
      reg.ElemSize = 0;
      return;
    }
    reg.Target = OperandVar(reg);
    reg.ElemSize = ElementSize(*Types, reg.TypeCode, reg.TypeIndex);
    reg.IndexVar = reg.IndexReg >= 0 && reg.IndexReg < RegisterCount ? Registers[reg.IndexReg].get() : nullptr;
    reg.OffsetVar = reg.OffsetReg >= 0 && reg.OffsetReg < RegisterCount ? Registers[reg.OffsetReg].get() : nullptr;
  };
  for (TSBCode& c : Codes) {
    link(c.A);
    link(c.B);
    link(c.Dest);
  }
  RegistersInUse = used;
}

// ---- Stream ---------------------------------------------------------------------------

void TSBCodeList::SaveCode(TSBWriter& w) const {
  w.WriteShortString(Name);
  w.WriteInt(static_cast<int32_t>(Constants.size()));
  for (const auto& c : Constants) c->WriteTo(w);
  w.WriteInt(static_cast<int32_t>(Variables.size()));
  for (const auto& v : Variables) v->WriteTo(w);
  w.WriteInt(static_cast<int32_t>(Codes.size()));
  for (const TSBCode& c : Codes) c.WriteTo(w);
}

namespace {

constexpr std::size_t VarRecordMin = 15;   // empty name, no data
constexpr std::size_t CodeRecordSize = 84;

void CheckOperand(const TSBCodeList& list, const TSBReg& reg) {
  const auto inRange = [](int32_t v, std::size_t n) { return v >= 0 && static_cast<std::size_t>(v) < n; };
  switch (reg.Kind) {
    case skNone:
    case skField: break;  // the immediate of a load, or an index step's unused field operand
    case skIdent:
      if (!inRange(reg.Value, list.Variables.size())) TSBReader::Fail("variable out of range");
      break;
    case skRegister:
      if (!inRange(reg.Value, TSBCodeList::RegisterCount)) TSBReader::Fail("register out of range");
      break;
    case skConst:
      if (!inRange(reg.Value, list.Constants.size())) TSBReader::Fail("constant out of range");
      break;
    default: TSBReader::Fail("unknown operand kind");
  }
  const auto regOk = [](int32_t r) { return r >= -1 && r < TSBCodeList::RegisterCount; };
  if (!regOk(reg.IndexReg) || !regOk(reg.OffsetReg)) TSBReader::Fail("register out of range");
  if (reg.TypeCode != tcNone && !IsValidTypeCode(reg.TypeCode)) TSBReader::Fail("unknown type code");
  if (reg.TypeCode == tcUser && !inRange(reg.TypeIndex, list.Types->size())) TSBReader::Fail("unknown type");
  // Storage is walked element by element (host function arguments): an
  // element of no size would never leave it. An object of a class without
  // fields has no storage and may be named so; registers get their storage
  // at run time, where the walk stops at such an element.
  if (reg.Kind == skIdent || reg.Kind == skConst) {
    const TSBVar* var = list.OperandVar(reg);
    if (var && var->Size > 0 && ElementSize(*list.Types, reg.TypeCode, reg.TypeIndex) <= 0)
      TSBReader::Fail("operand of no size");
  }
}

void CheckEntry(const TSBCodeList& list, const TSBCode& c, int position) {
  const int32_t count = static_cast<int32_t>(list.Codes.size());
  if (c.Index != position) TSBReader::Fail("entries out of order");
  const int32_t v = c.Op.Value;
  switch (c.Op.Kind) {
    case skArith:
      if (v < opMul || v > opSub) TSBReader::Fail("unknown operator");
      break;
    case skCompare:
      if (v < opLess || v > opOr) TSBReader::Fail("unknown operator");
      break;
    case skFor:
    case skNext:
    case skIf:
    case skJumpTrue:
      if (v < 0 || v > count) TSBReader::Fail("jump target out of range");
      break;
    case skElse:
    case skGoto:
      if (v < -1 || v > count) TSBReader::Fail("jump target out of range");
      break;
    case skIndexStep:
      if (v < 0 || c.Op.OffsetReg < 0 || c.Op.TypeIndex < 0) TSBReader::Fail("bad index step");
      break;
    case skInc:
    case skDec:
    case skAssign:
    case skCall:  // the function index is checked once every function is known
    case skMark:
    case skQuite:
    case skSelect:
    case skLoadNumber:
    case skPush:
    case skReturn:
    case skExit:
    case skNot: break;
    default: TSBReader::Fail("unknown instruction");
  }
  CheckOperand(list, c.A);
  CheckOperand(list, c.B);
  CheckOperand(list, c.Dest);
}

}  // namespace

void TSBCodeList::LoadCode(TSBReader& r) {
  ClearVariables();
  ClearCode();
  Name = r.ReadShortString(ShortStringMax);
  TSBType* single = SingleType(Types);
  const int32_t constants = r.ReadCount(VarRecordMin);
  for (int32_t i = 0; i < constants; ++i) {
    auto c = std::make_unique<TSBVar>(Types, single, 1, false);
    c->ReadFrom(r);
    Constants.push_back(std::move(c));
  }
  const int32_t variables = r.ReadCount(VarRecordMin);
  for (int32_t i = 0; i < variables; ++i) {
    auto v = std::make_unique<TSBVar>(Types, single, 1, false);
    v->ReadFrom(r);
    Variables.push_back(std::move(v));
  }
  const int32_t entries = r.ReadCount(CodeRecordSize);
  Codes.resize(entries);
  for (TSBCode& c : Codes) c.ReadFrom(r);
  for (int32_t i = 0; i < entries; ++i) CheckEntry(*this, Codes[i], i);
  LinkOperands();
}
