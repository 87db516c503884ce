#include "basic/sbexec.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "basic/sberrors.h"
#include "basic/sbops.h"

// A user FUNCTION call does not recurse on the machine stack: the run keeps an
// explicit stack of call frames (TSBRunFrames), so that the depth of a
// recursion is bounded by MaxCallDepth and MaxSavedBytes rather than by the
// machine stack. A frame is kept for reuse when its call returns.

namespace {

struct TBinding {
  uint8_t* Data;
  int32_t Size;
};

// What a code list that is entered again while it runs (recursion) must get
// back when the inner run ends: its variables (copies of the storage it owns,
// the bindings of its by-reference variables), pending arguments, registers
// in use and entry counters, and the constants the code writes (a FOR loop's
// start, limit and step, a SELECT's selector): those belong to the outer run.
class TSavedList {
public:
  // Saves the list; the copies become the CopySource of its variables for
  // the binding of the call's arguments. Returns the bytes kept.
  int64_t Save(TSBCodeList& list) {
    const std::size_t n = list.Variables.size();
    if (FCopies.size() < n) FCopies.resize(n);
    FBindings.resize(n);
    int64_t bytes = 0;
    for (std::size_t i = 0; i < n; ++i) {
      TSBVar& v = *list.Variables[i];
      FBindings[i] = {v.Data, v.Size};
      if (v.ByRef && !v.OwnsData()) continue;
      auto& copy = FCopies[i];
      if (!copy) copy = std::make_unique<TSBVar>(list.Types, v.VarType, v.Dimension, false);
      if (copy->VarType != v.VarType || copy->Dimension != v.Dimension || copy->Size != v.Size)
        copy->SetType(v.VarType, v.Dimension);
      if (v.Data && copy->Data) std::memcpy(copy->Data, v.Data, static_cast<std::size_t>(std::min(v.Size, copy->Size)));
      v.CopySource = copy.get();
      bytes += copy->Size;
    }
    FParams.assign(list.Params.begin(), list.Params.end());
    FArgCount = list.ArgCount;
    FNextRegister = list.NextRegister;
    FHighWater = list.RegisterHighWater;
    FRegisters = std::min(list.RegistersInUse, TSBCodeList::RegisterCount);
    FRegisterTypes.resize(static_cast<std::size_t>(FRegisters));
    FRegisterData.clear();
    for (int r = 0; r < FRegisters; ++r) {
      const TSBVar& reg = *list.Registers[static_cast<std::size_t>(r)];
      FRegisterTypes[static_cast<std::size_t>(r)] = reg.VarType;
      if (reg.Data) FRegisterData.insert(FRegisterData.end(), reg.Data, reg.Data + reg.Size);
    }
    FCounts.resize(list.Codes.size());
    for (std::size_t i = 0; i < list.Codes.size(); ++i) FCounts[i] = list.Codes[i].RunCount;
    FConstants.clear();
    FConstantData.clear();
    for (const TSBCode& c : list.Codes) {
      if (c.Dest.Kind != skConst || c.Dest.Value < 0 || c.Dest.Value >= static_cast<int32_t>(list.Constants.size()))
        continue;
      if (std::find(FConstants.begin(), FConstants.end(), c.Dest.Value) != FConstants.end()) continue;
      const TSBVar& k = *list.Constants[static_cast<std::size_t>(c.Dest.Value)];
      if (!k.Data) continue;
      FConstants.push_back(c.Dest.Value);
      FConstantData.insert(FConstantData.end(), k.Data, k.Data + k.Size);
    }
    return bytes + static_cast<int64_t>(FRegisterData.size() + FConstantData.size());
  }

  void Restore(TSBCodeList& list) {
    const std::size_t n = std::min(FBindings.size(), list.Variables.size());
    for (std::size_t i = 0; i < n; ++i) {
      TSBVar& v = *list.Variables[i];
      v.CopySource = nullptr;
      if (v.ByRef && !v.OwnsData()) {
        v.Borrow(FBindings[i].Data, FBindings[i].Size);
      } else if (v.Data && i < FCopies.size() && FCopies[i] && FCopies[i]->Data) {
        std::memcpy(v.Data, FCopies[i]->Data, static_cast<std::size_t>(std::min(v.Size, FCopies[i]->Size)));
      }
    }
    list.Params.assign(FParams.begin(), FParams.end());
    list.ArgCount = FArgCount;
    list.NextRegister = FNextRegister;
    list.RegisterHighWater = FHighWater;
    std::size_t at = 0;
    for (int r = 0; r < FRegisters; ++r) {
      TSBVar& reg = *list.Registers[static_cast<std::size_t>(r)];
      TSBType* type = FRegisterTypes[static_cast<std::size_t>(r)];
      if (reg.VarType != type || reg.Dimension != 1) reg.SetType(type, 1);
      if (reg.Data) {
        std::memcpy(reg.Data, FRegisterData.data() + at, static_cast<std::size_t>(reg.Size));
        at += static_cast<std::size_t>(reg.Size);
      }
    }
    const std::size_t codes = std::min(FCounts.size(), list.Codes.size());
    for (std::size_t i = 0; i < codes; ++i) list.Codes[i].RunCount = FCounts[i];
    at = 0;
    for (int32_t k : FConstants) {
      TSBVar& c = *list.Constants[static_cast<std::size_t>(k)];
      std::memcpy(c.Data, FConstantData.data() + at, static_cast<std::size_t>(c.Size));
      at += static_cast<std::size_t>(c.Size);
    }
  }

private:
  std::vector<std::unique_ptr<TSBVar>> FCopies;
  std::vector<TBinding> FBindings;
  std::vector<TSBReg> FParams;
  int32_t FArgCount = 0;
  int32_t FNextRegister = 0;
  int32_t FHighWater = 0;
  int FRegisters = 0;
  std::vector<TSBType*> FRegisterTypes;
  std::vector<uint8_t> FRegisterData;
  std::vector<int32_t> FCounts;
  std::vector<int32_t> FConstants;  // the written ones, in the order kept
  std::vector<uint8_t> FConstantData;
};

// One user FUNCTION call in progress.
struct TCallFrame {
  TSBCodeList* Caller = nullptr;
  int CallAt = 0;  // the caller's call entry
  TSBFunc* Fn = nullptr;
  TSBCodeList* Callee = nullptr;
  bool Saved = false;  // the callee was running: State holds its outer run
  int64_t SavedBytes = 0;
  TSavedList State;
  std::vector<uint8_t> Result;
  // Where each argument is read from or bound to, found before any is bound.
  uint8_t* Args[TSBCodeList::ArgSlotCount] = {};
};

// The storage an argument variable is bound to or read from: the copy kept
// of a variable of a list entered again, else the variable itself.
const TSBVar* ArgStorage(const TSBVar* var) { return !var->ByRef && var->CopySource ? var->CopySource : var; }

int BindArguments(TSBCodeList& caller, TSBFunc& fn, TSBCodeList& callee, const TSBCode& code, TCallFrame& frame) {
  const TSBTypeList& types = *caller.Types;
  const int n = fn.ParamCount;
  if (n > TSBCodeList::ArgSlotCount || static_cast<int>(callee.Variables.size()) < n + 1) return sbeInvalidPointer;
  // Every address first: binding one parameter must not move another's argument.
  for (int i = 0; i < n; ++i) {
    const TSBReg* p = caller.ParamReg(i);
    const TSBVar* var = p ? caller.OperandVar(*p) : nullptr;
    if (!var) return sbeInvalidPointer;
    const TSBVar* storage = ArgStorage(var);
    uint8_t* address = OperandAddressIn(types, *p, storage);
    if (!address) return sbeInvalidPointer;
    const TSBVar& param = *callee.Variables[static_cast<std::size_t>(i + 1)];
    if (param.ByRef && !param.OwnsData()) {
      const int32_t elem = param.VarType ? param.VarType->Size : 0;
      if (address + elem > storage->Data + storage->Size) return sbeIndexRange;
    }
    frame.Args[i] = address;
  }
  for (int i = 0; i < n; ++i) {
    const TSBReg& p = *caller.ParamReg(i);
    TSBVar& param = *callee.Variables[static_cast<std::size_t>(i + 1)];
    if (param.ByRef && !param.OwnsData()) {
      param.Borrow(frame.Args[i], param.VarType ? param.VarType->Size : 0);
    } else {
      const TSBValue value{frame.Args[i], p.TypeCode, p.TypeIndex, ElementSize(types, p.TypeCode, p.TypeIndex)};
      AssignValue(value, param.Element(0));
    }
  }
  if (code.A.Kind == skNone) return 0;
  // A method call: the class's fields and SELF alias the object's storage.
  TSBVar* objVar = caller.OperandVar(code.A);
  if (!objVar) return sbeInvalidPointer;
  const TSBVar* obj = code.A.Kind == skIdent ? ArgStorage(objVar) : objVar;
  const int64_t base = code.A.OffsetVar ? code.A.OffsetVar->GetInt(0) : 0;
  const TSBType* cls = TypeAt(types, fn.ClassIndex);
  if (!cls || !obj->Data) return sbeInvalidPointer;
  if (base < 0 || base + cls->Size > obj->Size) return sbeIndexRange;
  const int fields = static_cast<int>(cls->Fields.size());
  if (static_cast<int>(callee.Variables.size()) <= n + 1 + fields) return sbeInvalidPointer;
  int64_t offset = 0;
  for (int j = 0; j < fields; ++j) {
    const TSBField& f = cls->Fields[static_cast<std::size_t>(j)];
    const TSBType* ft = TypeAt(types, f.TypeIndex);
    const int64_t size = ft ? static_cast<int64_t>(ft->Size) * f.Dimension : 0;
    TSBVar& v = *callee.Variables[static_cast<std::size_t>(n + 1 + j)];
    if (!v.ByRef || v.OwnsData() || offset + size > cls->Size) return sbeInvalidPointer;
    v.Borrow(obj->Data + base + offset, static_cast<int32_t>(size));
    offset += size;
  }
  TSBVar& self = *callee.Variables[static_cast<std::size_t>(n + 1 + fields)];
  if (!self.ByRef || self.OwnsData()) return sbeInvalidPointer;
  self.Borrow(obj->Data + base, cls->Size);
  return 0;
}

// The storage a by-reference variable has when it is bound to nothing.
void Unbind(TSBVar& v) {
  if (!v.ByRef || v.OwnsData()) return;
  v.Borrow(nullptr, static_cast<int32_t>(static_cast<int64_t>(v.VarType ? v.VarType->Size : 0) * v.Dimension));
}

// A built-in or host function: its result cell is stored into Dest.
int CallBuiltin(TSBCodeList& list, TSBFunc& fn, TSBCode& code) {
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

void DropArguments(TSBCodeList& list, const TSBFunc& fn) {
  const std::size_t drop =
      std::min<std::size_t>(list.Params.size(), static_cast<std::size_t>(std::max(fn.ParamCount, 0)));
  list.Params.resize(list.Params.size() - drop);
}

}  // namespace

// The call frames of one run, kept for reuse by the next calls.
class TSBRunFrames {
public:
  std::vector<std::unique_ptr<TCallFrame>> Frames;
  int Depth = 0;
  int64_t SavedBytes = 0;
};

namespace {

// Runs code lists from `list` on; user calls push frames instead of
// recursing. Returns the outermost list's error record.
class TRunner {
public:
  TRunner(TSBCodeList& list, TSBRunFrames& frames)
      : FFrames(frames),
        FList(&list),
        FCallLimit(static_cast<int64_t>(std::max(list.MaxCount, 0)) * MaxCallsPerCount),
        FControl(list.RunControl),
        FLastPoll(std::chrono::steady_clock::now()) {}

  void Run() {
    int ip = 0;
    bool stop = false;
    for (;;) {
      TSBCodeList* list = FList;
      while (!stop && list->Error.ErrorCode == 0 && ip >= 0 && ip < static_cast<int>(list->Codes.size())) {
        if (FControl && (FControl->StopRequested || --FCountdown <= 0) && Stopped()) {
          list->RecordError(ip, sbeStopped);
          break;
        }
        TSBCode& c = list->Codes[static_cast<std::size_t>(ip)];
        if (c.Op.Kind == skCall) {
          TSBFunc* fn = TypeAt(*list->Functions, c.Op.Value);
          if (fn && fn->FuncKind == fkUser) {
            list->ArgCount = fn->ParamCount;
            const int error = Enter(*list, ip, *fn, c);
            if (error == 0) {
              // The callee runs from its first entry; the call entry is
              // counted when it returns.
              list = FList;
              ip = 0;
              continue;
            }
            DropArguments(*list, *fn);
            list->RecordError(ip, error);
            Count(*list, ip);
            ++ip;
            continue;
          }
        }
        const int at = ip;
        int error = 0;
        try {
          error = Execute(*list, c, ip, stop);
        } catch (const ESBRunError& e) {
          error = e.Code;
        }
        if (error) list->RecordError(at, error);
        Count(*list, at);
        ++ip;
      }
      // The run of `list` has ended.
      if (FFrames.Depth == 0) return;
      ip = Leave();
      stop = false;
      Count(*FList, ip);
      ++ip;
    }
  }

private:
  // Entries run between two looks at the clock.
  static constexpr int kPollSteps = 1024;

  // Polls the host when its interval has passed; true when a stop was asked for.
  bool Stopped() {
    FCountdown = kPollSteps;
    if (!FControl->StopRequested && FControl->OnPoll) {
      const auto now = std::chrono::steady_clock::now();
      if (now - FLastPoll >= std::chrono::milliseconds(FControl->PollInterval)) {
        FControl->OnPoll();
        FLastPoll = std::chrono::steady_clock::now();
      }
    }
    return FControl->StopRequested;
  }

  TSBRunFrames& FFrames;
  TSBCodeList* FList;  // the list running now
  // Every call counts its own entries, so the calls of a run are bounded on
  // their own: a recursion that branches would otherwise never end.
  int64_t FCalls = 0;
  int64_t FCallLimit;
  TSBRunControl* FControl;
  int FCountdown = kPollSteps;
  std::chrono::steady_clock::time_point FLastPoll;

  static void Count(TSBCodeList& list, int at) {
    TSBCode& entry = list.Codes[static_cast<std::size_t>(at)];
    if (++entry.RunCount > list.MaxCount && list.Error.ErrorCode == 0) list.RecordError(at, sbeTooManyCycles);
  }

  // Starts a user call; 0 when the callee is now the running list.
  int Enter(TSBCodeList& caller, int at, TSBFunc& fn, TSBCode& code) {
    TSBCodeList* callee = fn.CodeList.get();
    if (!callee || callee->Variables.empty()) return sbeInvalidPointer;
    if (FFrames.Depth >= MaxCallDepth) return sbeRecursionDepth;
    if (++FCalls > FCallLimit) return sbeTooManyCycles;
    if (static_cast<std::size_t>(FFrames.Depth) == FFrames.Frames.size())
      FFrames.Frames.push_back(std::make_unique<TCallFrame>());
    TCallFrame& frame = *FFrames.Frames[static_cast<std::size_t>(FFrames.Depth)];
    frame.Caller = &caller;
    frame.CallAt = at;
    frame.Fn = &fn;
    frame.Callee = callee;
    frame.Saved = callee->RunDepth > 0;
    frame.SavedBytes = 0;
    if (frame.Saved) {
      frame.SavedBytes = frame.State.Save(*callee);
      if (FFrames.SavedBytes + frame.SavedBytes > MaxSavedBytes) {
        frame.State.Restore(*callee);
        return sbeRecursionDepth;
      }
      FFrames.SavedBytes += frame.SavedBytes;
    }
    callee->MaxCount = caller.MaxCount;
    callee->MaxDimension = caller.MaxDimension;
    int error = BindArguments(caller, fn, *callee, code, frame);
    if (frame.Saved)
      for (auto& v : callee->Variables) v->CopySource = nullptr;
    if (error) {
      if (frame.Saved) {
        frame.State.Restore(*callee);
        FFrames.SavedBytes -= frame.SavedBytes;
      } else if (callee != &caller) {
        for (auto& v : callee->Variables) Unbind(*v);
      }
      return error;
    }
    // Each run of a list starts with all its entry counters at 0.
    callee->ResetRun();
    ++callee->RunDepth;
    ++FFrames.Depth;
    FList = callee;
    return 0;
  }

  // Ends the call of the top frame: the result goes to the caller's Dest.
  // Returns the caller's call entry, the caller running again.
  int Leave() {
    TCallFrame& frame = *FFrames.Frames[static_cast<std::size_t>(--FFrames.Depth)];
    TSBCodeList& caller = *frame.Caller;
    TSBCodeList& callee = *frame.Callee;
    TSBCode& code = caller.Codes[static_cast<std::size_t>(frame.CallAt)];
    --callee.RunDepth;
    const TSBErrorRecord error = callee.Error;
    // The result, kept before the callee's outer run gets its storage back.
    const TSBVar& result = *callee.Variables[0];
    const char resultCode = result.VarType ? result.VarType->TypeCode : tcNone;
    const int32_t resultSize = result.VarType ? result.VarType->Size : 0;
    const bool hasResult = result.Data && resultSize > 0 && resultSize <= result.Size;
    if (hasResult) frame.Result.assign(result.Data, result.Data + resultSize);
    if (frame.Saved) {
      frame.State.Restore(callee);
      FFrames.SavedBytes -= frame.SavedBytes;
    } else if (callee.RunDepth == 0 && &callee != &caller) {
      // No by-reference variable keeps pointing into storage that may go.
      for (auto& v : callee.Variables) Unbind(*v);
    }
    FList = &caller;
    int e = 0;
    try {
      AdaptRegisterType(*caller.Types, code.Dest);
      TSBValue dest;
      e = OperandValue(*caller.Types, code.Dest, dest);
      if (e == 0 && hasResult)
        AssignValue(TSBValue{frame.Result.data(), resultCode, result.TypeIndex, resultSize}, dest);
    } catch (const ESBRunError& x) {
      e = x.Code;
    }
    DropArguments(caller, *frame.Fn);
    if (error.ErrorCode != 0)
      caller.Error = error;
    else if (e != 0)
      caller.RecordError(frame.CallAt, e);
    return frame.CallAt;
  }

  // Runs entry ip other than a user call; a jump sets ip to its target - 1.
  static int Execute(TSBCodeList& list, TSBCode& c, int& ip, bool& stop) {
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
      case skCall: {
        TSBFunc* fn = TypeAt(*list.Functions, c.Op.Value);
        if (!fn) return sbeInvalidPointer;
        list.ArgCount = fn->ParamCount;
        int error = fn->FuncKind == fkFloat || fn->FuncKind == fkHost ? CallBuiltin(list, *fn, c) : sbeInvalidPointer;
        DropArguments(list, *fn);
        return error;
      }
      case skFor: {
        const TSBVar* v = c.A.Target;
        const TSBVar* limit = c.B.Target;
        const TSBVar* step = c.Dest.Target;
        if (!v || !limit || !step) return sbeInvalidPointer;
        const int32_t x = v->GetInt(0), lim = limit->GetInt(0), s = step->GetInt(0);
        if (s >= 0 ? x > lim : x < lim)
          jump(c.Op.Value);
        else if (s == 0)
          return sbeZeroStep;  // the loop could never end
        return 0;
      }
      case skNext: {
        TSBVar* v = c.A.Target;
        const TSBVar* step = c.Dest.Target;
        if (!v || !step) return sbeInvalidPointer;
        v->SetInt(0, WrapAdd(v->GetInt(0), step->GetInt(0)));
        jump(c.Op.Value);
        return 0;
      }
      case skIf: {
        const TSBVar* v = c.A.Target;
        if (v && v->GetInt(0) == 0) jump(c.Op.Value);
        return 0;
      }
      case skJumpTrue: {
        const TSBVar* v = c.A.Target;
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
        const TSBVar* index = c.B.Target;
        const int64_t i = index ? index->GetInt(0) : 0;
        if (i < 0 || i >= c.Op.TypeIndex) return sbeIndexRange;
        TSBVar* offset = c.Dest.Target;
        if (!offset) return sbeInvalidPointer;
        const int64_t value =
            offset->GetInt(0) + static_cast<int64_t>(c.Op.OffsetReg) + static_cast<int64_t>(c.Op.Value) * i;
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
};

}  // namespace

void TSBRunFramesDeleter::operator()(TSBRunFrames* frames) const { delete frames; }

TSBErrorRecord TSBCodeList::Run() {
  // A list run again from outside while it runs (a host function may do so)
  // gets frames of its own and gives its state back afterwards.
  const bool outer = RunDepth > 0;
  std::unique_ptr<TSBRunFrames> own;
  TSBRunFrames* frames = nullptr;
  if (outer) {
    own = std::make_unique<TSBRunFrames>();
    frames = own.get();
  } else {
    if (!RunFrames) RunFrames.reset(new TSBRunFrames);
    frames = RunFrames.get();
  }
  TSavedList saved;
  if (outer) saved.Save(*this);
  for (auto& v : Variables) v->CopySource = nullptr;
  ResetRun();
  ++RunDepth;
  TRunner runner(*this, *frames);
  try {
    runner.Run();
  } catch (...) {
    // A host function raised: every list left running is counted out.
    while (frames->Depth > 0) {
      TCallFrame& f = *frames->Frames[static_cast<std::size_t>(--frames->Depth)];
      --f.Callee->RunDepth;
      if (f.Saved) f.State.Restore(*f.Callee);
    }
    frames->SavedBytes = 0;
    --RunDepth;
    if (outer) saved.Restore(*this);
    throw;
  }
  --RunDepth;
  const TSBErrorRecord error = Error;
  if (outer) saved.Restore(*this);
  return error;
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
