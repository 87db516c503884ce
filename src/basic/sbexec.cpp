#include "basic/sbexec.h"

#include <algorithm>
#include <optional>

#include "basic/sberrors.h"
#include "basic/sbops.h"

namespace {

thread_local int gCallDepth = 0;

class TDepthGuard {
public:
  explicit TDepthGuard(int& depth) : FDepth(depth) { ++FDepth; }
  ~TDepthGuard() { --FDepth; }
  TDepthGuard(const TDepthGuard&) = delete;
  TDepthGuard& operator=(const TDepthGuard&) = delete;

private:
  int& FDepth;
};

// The storage a by-reference variable has when it is bound to nothing.
void Unbind(TSBVar& v) {
  if (!v.ByRef || v.OwnsData()) return;
  v.Borrow(nullptr, static_cast<int32_t>(static_cast<int64_t>(v.VarType ? v.VarType->Size : 0) * v.Dimension));
}

// A snapshot of a code list around a user FUNCTION call: variables (as
// duplicates that the caller's by-reference arguments bind to), by-reference
// bindings, constants, pending arguments and the registers in use. Restored
// when the snapshot goes, also when a host function raises during the call.
class TCallState {
public:
  TCallState(TSBCodeList& list, bool isCaller) : FList(list) {
    FDuplicates.reserve(list.Variables.size());
    FBindings.reserve(list.Variables.size());
    for (auto& v : list.Variables) {
      FDuplicates.push_back(v->Duplicate());
      FBindings.push_back({v->Data, v->Size});
      if (isCaller) v->CopySource = FDuplicates.back().get();
    }
    for (auto& c : list.Constants)
      if (c->Data) FBlob.insert(FBlob.end(), c->Data, c->Data + c->Size);
    FParams = list.Params;
    FArgCount = list.ArgCount;
    FRegisters = std::min(list.RegistersInUse, TSBCodeList::RegisterCount);
    for (int r = 0; r < FRegisters; ++r) {
      const TSBVar& reg = *list.Registers[r];
      FRegisterTypes.push_back(reg.VarType);
      if (reg.Data) FBlob.insert(FBlob.end(), reg.Data, reg.Data + reg.Size);
    }
  }

  ~TCallState() {
    TSBCodeList& list = FList;
    const std::size_t n = std::min(FDuplicates.size(), list.Variables.size());
    for (std::size_t i = 0; i < n; ++i) {
      TSBVar& v = *list.Variables[i];
      if (v.ByRef && !v.OwnsData()) {
        v.Borrow(FBindings[i].Data, FBindings[i].Size);
      } else if (v.Data && FDuplicates[i]->Data) {
        std::memcpy(v.Data, FDuplicates[i]->Data, static_cast<std::size_t>(std::min(v.Size, FDuplicates[i]->Size)));
      }
      v.CopySource = nullptr;
    }
    std::size_t at = 0;
    for (auto& c : list.Constants)
      if (c->Data) {
        std::memcpy(c->Data, FBlob.data() + at, static_cast<std::size_t>(c->Size));
        at += static_cast<std::size_t>(c->Size);
      }
    list.Params = std::move(FParams);
    list.ArgCount = FArgCount;
    for (int r = 0; r < FRegisters; ++r) {
      TSBVar& reg = *list.Registers[r];
      if (reg.VarType != FRegisterTypes[r] || reg.Dimension != 1) reg.SetType(FRegisterTypes[r], 1);
      if (reg.Data) {
        std::memcpy(reg.Data, FBlob.data() + at, static_cast<std::size_t>(reg.Size));
        at += static_cast<std::size_t>(reg.Size);
      }
    }
  }

  TCallState(const TCallState&) = delete;
  TCallState& operator=(const TCallState&) = delete;

private:
  struct TBinding {
    uint8_t* Data;
    int32_t Size;
  };
  TSBCodeList& FList;
  std::vector<std::unique_ptr<TSBVar>> FDuplicates;
  std::vector<TBinding> FBindings;
  std::vector<uint8_t> FBlob;  // constants, then registers
  std::vector<TSBReg> FParams;
  int32_t FArgCount = 0;
  int FRegisters = 0;
  std::vector<TSBType*> FRegisterTypes;
};

// Unbinds the by-reference variables of a callee that is not running any
// more, so that none keeps pointing into a freed snapshot.
class TUnbindGuard {
public:
  explicit TUnbindGuard(TSBCodeList* list) : FList(list) {}
  ~TUnbindGuard() {
    if (FList && FList->RunDepth == 0)
      for (auto& v : FList->Variables) Unbind(*v);
  }
  TUnbindGuard(const TUnbindGuard&) = delete;
  TUnbindGuard& operator=(const TUnbindGuard&) = delete;

private:
  TSBCodeList* FList;
};

int BindArguments(TSBCodeList& caller, TSBFunc& fn, TSBCodeList& callee, const TSBCode& code) {
  const TSBTypeList& types = *caller.Types;
  const int n = fn.ParamCount;
  if (n > TSBCodeList::ArgSlotCount || static_cast<int>(callee.Variables.size()) < n + 1) return sbeInvalidPointer;
  for (int i = 0; i < n; ++i) {
    const TSBReg* p = caller.ParamReg(i);
    TSBVar* var = p ? caller.OperandVar(*p) : nullptr;
    if (!var) return sbeInvalidPointer;
    TSBVar& slot = *caller.ArgSlots[i];
    slot.Assign(*var);
    if (!var->ByRef) slot.CopySource = var->CopySource;
  }
  for (int i = 0; i < n; ++i) {
    const TSBReg& p = *caller.ParamReg(i);
    TSBVar& param = *callee.Variables[i + 1];
    TSBVar& slot = *caller.ArgSlots[i];
    const int32_t elem = param.VarType ? param.VarType->Size : 0;
    if (param.ByRef && !param.OwnsData()) {
      TSBVar* src = slot.CopySource;
      uint8_t* address = src ? OperandAddressIn(types, p, src) : nullptr;
      if (!address) return sbeInvalidPointer;
      if (address + elem > src->Data + src->Size) return sbeIndexRange;
      param.Borrow(address, elem);
    } else {
      const TSBValue value = OperandValueIn(types, p, &slot);
      if (!value.Data) return sbeInvalidPointer;
      AssignValue(value, param.Element(0));
    }
  }
  if (code.A.Kind == skNone) return 0;
  // A method call: the class's fields and SELF alias the object's storage.
  TSBVar* objVar = caller.OperandVar(code.A);
  if (!objVar) return sbeInvalidPointer;
  TSBVar* obj = objVar;
  if (!objVar->ByRef && code.A.Kind == skIdent && objVar->CopySource) obj = objVar->CopySource;
  const int64_t base = code.A.OffsetVar ? code.A.OffsetVar->GetInt(0) : 0;
  const TSBType* cls = TypeAt(types, fn.ClassIndex);
  if (!cls || !obj->Data) return sbeInvalidPointer;
  if (base < 0 || base + cls->Size > obj->Size) return sbeIndexRange;
  const int fields = static_cast<int>(cls->Fields.size());
  if (static_cast<int>(callee.Variables.size()) <= n + 1 + fields) return sbeInvalidPointer;
  int64_t offset = 0;
  for (int j = 0; j < fields; ++j) {
    const TSBField& f = cls->Fields[j];
    const TSBType* ft = TypeAt(types, f.TypeIndex);
    const int64_t size = ft ? static_cast<int64_t>(ft->Size) * f.Dimension : 0;
    TSBVar& v = *callee.Variables[n + 1 + j];
    if (!v.ByRef || v.OwnsData() || offset + size > cls->Size) return sbeInvalidPointer;
    v.Borrow(obj->Data + base + offset, static_cast<int32_t>(size));
    offset += size;
  }
  TSBVar& self = *callee.Variables[n + 1 + fields];
  if (!self.ByRef || self.OwnsData()) return sbeInvalidPointer;
  self.Borrow(obj->Data + base, cls->Size);
  return 0;
}

int UserCall(TSBCodeList& caller, TSBFunc& fn, TSBCode& code) {
  TSBCodeList* callee = fn.CodeList.get();
  if (!callee || callee->Variables.empty()) return sbeInvalidPointer;
  if (gCallDepth >= MaxCallDepth) return sbeTooManyCycles;
  const TSBTypeList& types = *caller.Types;
  std::unique_ptr<TSBVar> result;
  TSBErrorRecord calleeError;
  {
    TUnbindGuard unbind(callee != &caller ? callee : nullptr);
    TCallState callerState(caller, true);
    std::optional<TCallState> calleeState;
    if (callee != &caller && callee->RunDepth > 0) calleeState.emplace(*callee, false);
    callee->MaxCount = caller.MaxCount;
    callee->MaxDimension = caller.MaxDimension;
    if (int e = BindArguments(caller, fn, *callee, code)) return e;
    {
      TDepthGuard depth(gCallDepth);
      calleeError = callee->Run();
    }
    result = callee->Variables[0]->Duplicate();
  }
  AdaptRegisterType(types, code.Dest);
  TSBValue dest;
  if (int e = OperandValue(types, code.Dest, dest)) return e;
  TSBValue src = result->Element(0);
  src.TypeIndex = result->TypeIndex;
  AssignValue(src, dest);
  if (calleeError.ErrorCode != 0) caller.Error = calleeError;
  return 0;
}

// A built-in or host function: its result cell is stored into Dest.
// Kept out of Call so that nested user calls do not carry its buffers on
// the machine stack.
[[gnu::noinline]] int CallBuiltin(TSBCodeList& list, TSBFunc& fn, TSBCode& code) {
  TSBResultCell cell;
  if (fn.FuncKind == fkFloat) {
    if (!fn.FloatProc) return sbeInvalidPointer;
    cell.DoubleValue = fn.FloatProc(list);
    cell.TypeCode = tcDouble;
  } else {
    if (!fn.HostProc) return sbeInvalidPointer;
    fn.HostProc(list, cell);
  }
  AdaptRegisterType(*list.Types, code.Dest);
  if (cell.TypeCode < tcSingle || cell.TypeCode > tcDate) return 0;
  uint8_t buffer[256];
  switch (cell.TypeCode) {
    case tcInteger: StoreInt32(buffer, cell.IntValue); break;
    case tcSingle: StoreSingle(buffer, cell.SingleValue); break;
    case tcDouble: StoreDouble(buffer, cell.DoubleValue); break;
    case tcString: StoreShortString(buffer, CutText(cell.StrValue)); break;
    default: StoreDouble(buffer, cell.DateValue); break;
  }
  TSBValue dest;
  if (int e = OperandValue(*list.Types, code.Dest, dest)) return e;
  AssignValue(TSBValue{buffer, cell.TypeCode, -1, TypeCodeSize(cell.TypeCode)}, dest);
  return 0;
}

int Call(TSBCodeList& list, TSBCode& code) {
  TSBFunc* fn = TypeAt(*list.Functions, code.Op.Value);
  if (!fn) return sbeInvalidPointer;
  list.ArgCount = fn->ParamCount;
  int error = 0;
  switch (fn->FuncKind) {
    case fkFloat:
    case fkHost: error = CallBuiltin(list, *fn, code); break;
    case fkUser: error = UserCall(list, *fn, code); break;
    default: return sbeInvalidPointer;
  }
  const std::size_t drop = std::min<std::size_t>(list.Params.size(), static_cast<std::size_t>(std::max(fn->ParamCount, 0)));
  list.Params.resize(list.Params.size() - drop);
  return error;
}

// Runs entry ip; a jump sets ip to its target - 1.
int Execute(TSBCodeList& list, TSBCode& c, int& ip, bool& stop) {
  const TSBTypeList& types = *list.Types;
  const int count = list.CodeCount();
  auto jump = [&](int32_t target) {
    if (target >= 0 && target <= count) ip = target - 1;
  };
  switch (c.Op.Kind) {
    case skArith: return ExecArithmetic(types, c);
    case skInc:
    case skDec: {
      AdaptRegisterType(types, c.A);
      TSBValue v;
      if (int e = OperandValue(types, c.A, v)) return e;
      SetValueFromDouble(v, ValueAsDouble(v) + (c.Op.Kind == skInc ? 1.0 : -1.0));
      return 0;
    }
    case skCompare: return ExecCompare(types, c);
    case skAssign: return ExecAssign(types, c);
    case skCall: return Call(list, c);
    case skFor: {
      const TSBVar* v = list.OperandVar(c.A);
      const TSBVar* limit = list.OperandVar(c.B);
      const TSBVar* step = list.OperandVar(c.Dest);
      if (!v || !limit || !step) return sbeInvalidPointer;
      const int32_t x = v->GetInt(0), lim = limit->GetInt(0), s = step->GetInt(0);
      if (s >= 0 ? x > lim : x < lim)
        jump(c.Op.Value);
      else if (s == 0)
        return sbeZeroStep;  // the loop could never end
      return 0;
    }
    case skNext: {
      TSBVar* v = list.OperandVar(c.A);
      const TSBVar* step = list.OperandVar(c.Dest);
      if (!v || !step) return sbeInvalidPointer;
      v->SetInt(0, WrapAdd(v->GetInt(0), step->GetInt(0)));
      jump(c.Op.Value);
      return 0;
    }
    case skIf: {
      const TSBVar* v = list.OperandVar(c.A);
      if (v && v->GetInt(0) == 0) jump(c.Op.Value);
      return 0;
    }
    case skJumpTrue: {
      const TSBVar* v = list.OperandVar(c.A);
      if (v && v->GetInt(0) != 0) jump(c.Op.Value);
      return 0;
    }
    case skElse:
    case skGoto: jump(c.Op.Value); return 0;
    case skMark: list.NextRegister = 0; return 0;
    case skQuite:
    case skReturn:
    case skExit: stop = true; return 0;
    case skLoadNumber: {
      AdaptRegisterType(types, c.Dest);
      TSBValue v;
      if (int e = OperandValue(types, c.Dest, v)) return e;
      SetValueFromDouble(v, c.A.Value);
      return 0;
    }
    case skPush: list.AddParam(c.A); return 0;
    case skIndexStep: {
      const TSBVar* index = list.OperandVar(c.B);
      const int64_t i = index ? index->GetInt(0) : 0;
      if (i < 0 || i >= c.Op.TypeIndex) return sbeIndexRange;
      TSBVar* offset = list.OperandVar(c.Dest);
      if (!offset) return sbeInvalidPointer;
      const int64_t value = offset->GetInt(0) + static_cast<int64_t>(c.Op.OffsetReg) + static_cast<int64_t>(c.Op.Value) * i;
      if (value < 0 || value > MaxStorageSize) return sbeIndexRange;
      offset->SetInt(0, static_cast<int32_t>(value));
      return 0;
    }
    case skNot: {
      AdaptRegisterType(types, c.Dest);
      TSBValue a, d;
      if (int e = OperandValue(types, c.A, a)) return e;
      if (int e = OperandValue(types, c.Dest, d)) return e;
      SetValueFromInteger(d, ValueAsInteger(a) == 0 ? 1 : 0);
      return 0;
    }
    default: return 0;  // markers: counted like any entry
  }
}

void RunStep(TSBCodeList& list, int& ip, bool& stop) {
  TSBCode& c = list.Codes[ip];
  const int at = ip;
  int error = 0;
  try {
    error = Execute(list, c, ip, stop);
  } catch (const ESBRunError& e) {
    error = e.Code;
  }
  if (error) list.RecordError(at, error);
  // The entry is looked up again: a call may have run this same list.
  TSBCode& entry = list.Codes[at];
  if (++entry.RunCount > list.MaxCount && list.Error.ErrorCode == 0) list.RecordError(at, sbeTooManyCycles);
  ++ip;
}

}  // namespace

TSBErrorRecord TSBCodeList::Run() {
  // A list run again from inside its own run (recursion) keeps counting: the
  // cycle limit bounds the whole recursion, so that a runaway one ends with
  // "Too many cycles" instead of running on for ever.
  const std::vector<int32_t> counts = [&] {
    std::vector<int32_t> c;
    if (RunDepth > 0)
      for (const TSBCode& e : Codes) c.push_back(e.RunCount);
    return c;
  }();
  ResetRun();
  if (!counts.empty())
    for (std::size_t i = 0; i < counts.size(); ++i) Codes[i].RunCount = counts[i];
  TDepthGuard running(RunDepth);
  int ip = 0;
  bool stop = false;
  while (ip >= 0 && ip < CodeCount() && Error.ErrorCode == 0 && !stop) RunStep(*this, ip, stop);
  return Error;
}

void TSBCodeList::RecordError(int ip, int code) {
  if (code == 0) return;
  const TSBCode* c = CodeAt(ip);
  Error.ErrorCode = code;
  Error.ErrorIP = c ? c->Index : ip;
  Error.ErrorLine = (c ? c->Line : 0) - LineOffset;
}

std::string TSBCodeList::ErrorReport() const {
  if (Error.ErrorCode <= 0) return std::string();
  const std::string text = " Run time error :" + ZeroPadded(Error.ErrorCode, 2) + "  IP:" + ZeroPadded(Error.ErrorIP, 4) +
                           " " + "  Line:" + ZeroPadded(static_cast<int64_t>(Error.ErrorLine) + 1, 4) + ".  " +
                           ErrorText(Error.ErrorCode, Error.ErrorName);
  return CutText(text);
}
