// The pieces a compiled macro program consists of: user types with their
// fields and methods, variables (registers and constants are variables too),
// operand registers and tokens, code entries, functions, labels, and the
// compile-time records of open IF, FOR and SELECT CASE statements. The
// classes that belong to compiled code write themselves to and read
// themselves from the compiled-code byte stream.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "basic/sbtypes.h"

class TSBCodeList;
struct TSBResultCell;

// Token and instruction kinds (one numbering for both).
constexpr uint8_t skNone = 0, skDelimiter = 1, skIdent = 9, skRegister = 10, skConst = 11, skParam = 12,
                  skArith = 14, skInc = 19, skDec = 20, skCompare = 21, skAssign = 30, skCall = 31, skFor = 34,
                  skTo = 35, skNext = 36, skIf = 37, skJumpTrue = 38, skThen = 39, skElse = 40, skElseIf = 41,
                  skEnd = 42, skGoto = 43, skStep = 44, skMark = 45, skQuite = 47, skTypeName = 54, skDo = 57,
                  skLoop = 58, skWhile = 59, skUntil = 60, skSelect = 63, skCase = 64, skCaseElse = 65,
                  skLoadNumber = 66, skPush = 67, skFunction = 100, skReturn = 101, skAs = 102, skByVal = 103,
                  skByRef = 104, skGotoRef = 106, skExit = 108, skIndexStep = 110, skField = 112, skMethod = 114,
                  skClass = 115, skNot = 117;

// Delimiter sub-codes.
constexpr int dlOpen = 2, dlClose = 3, dlOpenBracket = 4, dlCloseBracket = 5, dlComma = 6, dlBlank = 7, dlDot = 8;

// Function kinds.
constexpr int fkFloat = 1, fkHost = 2, fkUser = 3;

// The error record: code (0 none), line (0-based), entry index, quoted name.
struct TSBErrorRecord {
  int32_t ErrorCode = 0;
  int32_t ErrorLine = 0;
  int32_t ErrorIP = 0;
  std::string ErrorName;
};

// ---- Compiled-code stream ------------------------------------------------------

// Appends the stream records: 32-bit little-endian integers, bytes, short
// strings (length byte, characters).
class TSBWriter {
public:
  void WriteByte(uint8_t b) { FData.push_back(static_cast<char>(b)); }
  void WriteInt(int32_t v);
  void WriteDouble(double v);
  void WriteShortString(std::string_view s);
  void WriteBytes(const void* data, std::size_t count);
  const std::string& Data() const { return FData; }

private:
  std::string FData;
};

// Reads stream records. Every read is checked against the bytes left: a
// record cut short, a count or size that cannot fit, or a value outside
// what the reader allows raises EReadError, so that nothing read from a
// foreign or damaged stream is ever trusted.
class TSBReader {
public:
  TSBReader(const void* data, std::size_t size) : FData(static_cast<const uint8_t*>(data)), FSize(size) {}
  explicit TSBReader(std::string_view bytes) : TSBReader(bytes.data(), bytes.size()) {}

  uint8_t ReadByte();
  int32_t ReadInt();
  double ReadDouble();
  // maxLength: longest text the record may hold.
  std::string ReadShortString(int maxLength = ShortStringMax);
  void ReadBytes(void* data, std::size_t count);
  void Skip(std::size_t count);
  // A count of records of at least minRecordSize bytes each; raises when the
  // rest of the stream cannot hold that many.
  int32_t ReadCount(std::size_t minRecordSize);
  std::size_t Remaining() const { return FSize - FPos; }
  std::size_t Position() const { return FPos; }
  [[noreturn]] static void Fail(const std::string& what);

  // Limits the reader checks values against (0: no limit).
  int32_t MaxDimension = 0;

private:
  const uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

// Largest storage of one variable or type, in bytes.
constexpr int64_t MaxStorageSize = 64 * 1024 * 1024;
// Most bytes the values of one interpreter take together (its variables,
// constants, registers, argument copies and the copies a recursion keeps),
// by default.
constexpr int64_t MaxRunMemory = int64_t{512} << 20;

// The memory budget of one interpreter. Storage of variables made while a
// TSBMemoryScope of the budget is alive (a compile, a run) is charged to it
// and given back when it is freed, whenever that is; storage past the limit
// raises ESBRunError sbeOutOfMemory instead of being allocated.
class TSBMemoryBudget {
public:
  explicit TSBMemoryBudget(int64_t limit = MaxRunMemory) : FLimit(limit) {}
  void Charge(int64_t bytes);
  void Release(int64_t bytes) { FUsed -= bytes; }
  int64_t Used() const { return FUsed; }
  int64_t Limit() const { return FLimit; }
  void SetLimit(int64_t limit) { FLimit = limit; }
  // The budget of the scope alive on this thread; nil outside every scope.
  static TSBMemoryBudget* Current();

private:
  int64_t FLimit;
  int64_t FUsed = 0;
};

class TSBMemoryScope {
public:
  explicit TSBMemoryScope(TSBMemoryBudget& budget);
  ~TSBMemoryScope();
  TSBMemoryScope(const TSBMemoryScope&) = delete;
  TSBMemoryScope& operator=(const TSBMemoryScope&) = delete;

private:
  TSBMemoryBudget* FPrevious;
};

// ---- Data classes --------------------------------------------------------------------

class TSBType;

// A field of a user type, or a method entry of a CLASS.
class TSBField {
public:
  TSBField() = default;
  TSBField(std::string_view name, int32_t dimension, const TSBType* type);

  void Assign(const TSBField& other) { *this = other; }
  void WriteTo(TSBWriter& w) const;
  void ReadFrom(TSBReader& r);

  std::string Name;
  int32_t TypeIndex = 0;   // the field's type; for a method entry its result type
  int32_t Dimension = 1;
  int32_t FuncIndex = 0;   // method entry: the method's function
};

class TSBType {
public:
  // With a base type, Size and BaseIndex come from it and its fields and
  // methods are copied.
  TSBType(std::string_view name, const TSBType* base, TSBFuncList* functions, TSBTypeList* types, char typeCode);

  void Assign(const TSBType& other);
  void ClearMembers();
  void AddField(const TSBField& field);
  void AddMethod(const TSBField& entry) { Methods.push_back(entry); }
  // The last field of that name; -1 when none.
  int FieldIndex(const std::string& name) const;
  const TSBField* FieldByName(const std::string& name) const;
  TSBType* FieldType(const std::string& name) const;
  // Bytes before the field; 0 when there is no such field.
  int32_t FieldOffset(const std::string& name) const;
  // Function of the last method entry of that name; -1 when none.
  int32_t MethodFuncIndex(const std::string& name) const;

  void WriteTo(TSBWriter& w) const;
  void ReadFrom(TSBReader& r);

  std::string Name;
  int32_t Index = 0;
  int32_t BaseIndex = -1;
  char TypeCode;
  int32_t Size;
  std::vector<TSBField> Fields;
  std::vector<TSBField> Methods;
  TSBTypeList* Types;
  TSBFuncList* Functions;
};

// The six stored fields of an operand register, moved around as a value.
struct TSBOperand {
  uint8_t Kind = skNone;
  int32_t Value = 0;
  int32_t IndexReg = -1;
  int32_t OffsetReg = -1;
  char TypeCode = tcNone;
  int32_t TypeIndex = 0;
};

class TSBVar;

// An operand register of a code entry (also the base of the token).
class TSBReg : public TSBOperand {
public:
  TSBReg() = default;
  TSBReg(uint8_t kind, int32_t value, int32_t indexReg) {
    Kind = kind;
    Value = value;
    IndexReg = indexReg;
  }
  explicit TSBReg(const TSBOperand& op) : TSBOperand(op) {}

  void SetFromRecord(const TSBOperand& op) { static_cast<TSBOperand&>(*this) = op; }
  TSBOperand ToRecord() const { return static_cast<const TSBOperand&>(*this); }
  void WriteTo(TSBWriter& w) const;
  void ReadFrom(TSBReader& r);

  // Run-time links (not stored). ElemSize is the operand's element size, set
  // with Target (0: look it up).
  TSBVar* Target = nullptr;
  TSBVar* IndexVar = nullptr;
  TSBVar* OffsetVar = nullptr;
  int32_t ElemSize = 0;
};

// A token of a source line.
class TSBLex : public TSBReg {
public:
  TSBLex() { TypeCode = tcSingle; }
  TSBLex(uint8_t kind, int32_t value, int32_t indexReg) : TSBReg(kind, value, indexReg) { TypeCode = tcSingle; }

  std::string Text;      // as written, upper-cased for names; "C" for constants
  double Number = 0;     // value of a number or truth-value literal
  std::string StrValue;  // content of a string literal
  int32_t ElemSize = 0;
  int32_t FieldOffset = 0;
  int32_t Bound = 0;
};

using TSBTokenList = std::vector<TSBLex>;

// A variable, a register or a constant.
class TSBVar {
public:
  TSBVar(TSBTypeList* types, TSBType* type, int32_t dimension, bool byRef);
  ~TSBVar();
  TSBVar(const TSBVar&) = delete;
  TSBVar& operator=(const TSBVar&) = delete;

  void ZeroData();
  // Frees owned storage; Data becomes nil.
  void FreeData();
  void SetType(TSBType* type, int32_t dimension);
  void CopyFrom(const TSBVar& src);
  void Assign(const TSBVar& src);
  // A variable of the same type, dimension and ByRef that owns a copy of the
  // data (zeros where the source has none).
  std::unique_ptr<TSBVar> Duplicate() const;
  // Points Data at storage owned elsewhere.
  void Borrow(uint8_t* data, int32_t size);
  bool OwnsData() const { return FOwned; }

  // Element i; element 0 for an index outside 1 .. Dimension-1; nil without data.
  uint8_t* ElementAddress(int32_t i) const;
  TSBValue Element(int32_t i) const;
  int32_t GetInt(int32_t i) const;
  void SetInt(int32_t i, int32_t n);
  void SetDouble(int32_t i, double x);
  void SetString(int32_t i, std::string_view s);

  void WriteTo(TSBWriter& w) const;
  void ReadFrom(TSBReader& r);

  std::string Name;
  int32_t TypeIndex = 0;
  TSBType* VarType = nullptr;
  int32_t Size = 0;
  int32_t Dimension = 1;
  bool ByRef = false;
  uint8_t* Data = nullptr;
  TSBVar* CopySource = nullptr;
  TSBTypeList* Types;

private:
  // Owned storage of size bytes, charged to the current budget.
  void Allocate(int64_t size, bool zeroed);

  bool FOwned = false;
  int32_t FCapacity = 0;  // bytes of owned storage (at least Size)
  TSBMemoryBudget* FBudget = nullptr;  // where the owned storage was charged
};

// One code entry.
class TSBCode {
public:
  TSBCode() = default;

  // Copies Index, Line, the kind, value and index register of Op, and the
  // stored fields of A, B and Dest.
  void Assign(const TSBCode& other);
  TSBCode Clone() const {
    TSBCode c;
    c.Assign(*this);
    return c;
  }
  void WriteTo(TSBWriter& w) const;
  void ReadFrom(TSBReader& r);

  int32_t Index = 0;
  int32_t Line = 0;
  TSBReg Op, A, B, Dest;
  int32_t RunCount = 0;
};

// Compile-time records of open statements.
struct TSBIFStat {
  int32_t ElseCount = 0;
  TSBCode CondJump;
};

struct TSBForStat {
  TSBCode TestCode;
  TSBReg LoopVar, StartReg, LimitReg, StepReg;
};

struct TSBCaseStat {
  TSBReg SelectorReg, CounterReg;
  TSBCode PendingJump;
};

class TSBStack {
public:
  void Clear() { Items.clear(); }
  void Push(const TSBCode& code) { Items.push_back(code.Clone()); }
  // A copy of the top entry; none when empty. With remove the entry is taken off.
  std::optional<TSBCode> Pop(bool remove);

  std::vector<TSBCode> Items;
};

using TSBFloatProc = double (*)(TSBCodeList&);
using TSBHostProc = std::function<void(TSBCodeList&, TSBResultCell&)>;

// A callable function: built-in, host or user FUNCTION.
class TSBFunc {
public:
  TSBFunc(TSBTypeList* types, int kind, const TSBType* classType);
  ~TSBFunc();
  TSBFunc(const TSBFunc&) = delete;
  TSBFunc& operator=(const TSBFunc&) = delete;

  // Copies everything but the body.
  void Assign(const TSBFunc& other);
  void WriteTo(TSBWriter& w) const;
  void ReadFrom(TSBReader& r);

  std::string Name;
  int32_t ParamCount = 0;
  TSBFloatProc FloatProc = nullptr;
  TSBHostProc HostProc;
  char ResultCode = tcSingle;
  int32_t ResultTypeIndex = -1;
  std::unique_ptr<TSBCodeList> CodeList;
  int32_t ClassIndex = -1;
  int32_t FuncKind;
  TSBTypeList* Types;
};

// Label definitions or references: name and code index.
class TSBLabel {
public:
  struct TEntry {
    std::string Name;
    int32_t CodeIndex = 0;
  };

  void Clear() {
    Items.clear();
    FIndex.clear();
  }
  int Add(const std::string& name, int32_t codeIndex);
  // The last entry of that name (copied into *entry when given); -1 when none.
  // Found through a hash table: a program with many labels compiles in time
  // linear in its length.
  int Find(const std::string& name, TEntry* entry = nullptr) const;

  // Entries in the order added; change them only through Add and Clear.
  std::vector<TEntry> Items;

private:
  std::unordered_map<std::string, int> FIndex;  // name -> its last entry
};

// The name cut to the longest a short string of that kind holds.
inline std::string CutName(std::string_view name, std::size_t max = NameMax) {
  return std::string(name.substr(0, name.size() > max ? max : name.size()));
}
