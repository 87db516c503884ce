#include "basic/sbclasses.h"

#include <algorithm>

#include "basic/sbcodelist.h"
#include "basic/sberrors.h"

// ---- Stream ---------------------------------------------------------------------

void TSBWriter::WriteInt(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  const char bytes[4] = {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF),
                         static_cast<char>((u >> 16) & 0xFF), static_cast<char>((u >> 24) & 0xFF)};
  FData.append(bytes, 4);
}

void TSBWriter::WriteDouble(double v) { WriteBytes(&v, 8); }

void TSBWriter::WriteShortString(std::string_view s) {
  const std::size_t n = std::min<std::size_t>(s.size(), ShortStringMax);
  WriteByte(static_cast<uint8_t>(n));
  FData.append(s.data(), n);
}

void TSBWriter::WriteBytes(const void* data, std::size_t count) {
  FData.append(static_cast<const char*>(data), count);
}

void TSBReader::Fail(const std::string& what) { throw EReadError("Compiled code is damaged: " + what); }

uint8_t TSBReader::ReadByte() {
  if (Remaining() < 1) Fail("unexpected end");
  return FData[FPos++];
}

int32_t TSBReader::ReadInt() {
  if (Remaining() < 4) Fail("unexpected end");
  const uint32_t u = static_cast<uint32_t>(FData[FPos]) | (static_cast<uint32_t>(FData[FPos + 1]) << 8) |
                     (static_cast<uint32_t>(FData[FPos + 2]) << 16) | (static_cast<uint32_t>(FData[FPos + 3]) << 24);
  FPos += 4;
  return static_cast<int32_t>(u);
}

double TSBReader::ReadDouble() {
  double v;
  ReadBytes(&v, 8);
  return v;
}

std::string TSBReader::ReadShortString(int maxLength) {
  const uint8_t n = ReadByte();
  if (n > maxLength) Fail("name too long");
  if (Remaining() < n) Fail("unexpected end");
  std::string s(reinterpret_cast<const char*>(FData + FPos), n);
  FPos += n;
  return s;
}

void TSBReader::ReadBytes(void* data, std::size_t count) {
  if (Remaining() < count) Fail("unexpected end");
  if (count) std::memcpy(data, FData + FPos, count);
  FPos += count;
}

void TSBReader::Skip(std::size_t count) {
  if (Remaining() < count) Fail("unexpected end");
  FPos += count;
}

int32_t TSBReader::ReadCount(std::size_t minRecordSize) {
  const int32_t n = ReadInt();
  if (n < 0) Fail("negative count");
  if (minRecordSize && static_cast<std::size_t>(n) > Remaining() / minRecordSize) Fail("count beyond the stream");
  return n;
}

// ---- TSBField -----------------------------------------------------------------------

TSBField::TSBField(std::string_view name, int32_t dimension, const TSBType* type)
    : Name(CutName(name)), TypeIndex(type ? type->Index : 0), Dimension(dimension) {}

void TSBField::WriteTo(TSBWriter& w) const {
  w.WriteShortString(Name);
  w.WriteInt(Dimension);
  w.WriteInt(TypeIndex);
  w.WriteInt(FuncIndex);
}

void TSBField::ReadFrom(TSBReader& r) {
  Name = r.ReadShortString(NameMax);
  Dimension = r.ReadInt();
  TypeIndex = r.ReadInt();
  FuncIndex = r.ReadInt();
}

// ---- TSBType ------------------------------------------------------------------------

TSBType::TSBType(std::string_view name, const TSBType* base, TSBFuncList* functions, TSBTypeList* types, char typeCode)
    : Name(CutName(name)), TypeCode(typeCode), Size(TypeCodeSize(typeCode)), Types(types), Functions(functions) {
  if (base) {
    Size = base->Size;
    BaseIndex = base->Index;
    Fields = base->Fields;
    Methods = base->Methods;
  }
}

void TSBType::Assign(const TSBType& other) {
  Name = other.Name;
  Index = other.Index;
  BaseIndex = other.BaseIndex;
  TypeCode = other.TypeCode;
  Size = other.Size;
  Fields = other.Fields;
  Methods = other.Methods;
}

void TSBType::ClearMembers() {
  Fields.clear();
  Methods.clear();
}

void TSBType::AddField(const TSBField& field) {
  Fields.push_back(field);
  const TSBType* t = Types ? TypeAt(*Types, field.TypeIndex) : nullptr;
  if (t) Size += t->Size * field.Dimension;
}

int TSBType::FieldIndex(const std::string& name) const {
  for (int i = static_cast<int>(Fields.size()) - 1; i >= 0; --i)
    if (Fields[i].Name == name) return i;
  return -1;
}

const TSBField* TSBType::FieldByName(const std::string& name) const {
  const int i = FieldIndex(name);
  return i < 0 ? nullptr : &Fields[i];
}

TSBType* TSBType::FieldType(const std::string& name) const {
  const TSBField* f = FieldByName(name);
  return f && Types ? TypeAt(*Types, f->TypeIndex) : nullptr;
}

int32_t TSBType::FieldOffset(const std::string& name) const {
  const int i = FieldIndex(name);
  if (i < 0) return 0;
  int64_t offset = 0;
  for (int j = 0; j < i; ++j) {
    const TSBType* t = Types ? TypeAt(*Types, Fields[j].TypeIndex) : nullptr;
    if (t) offset += static_cast<int64_t>(t->Size) * Fields[j].Dimension;
  }
  return static_cast<int32_t>(offset);
}

int32_t TSBType::MethodFuncIndex(const std::string& name) const {
  for (int i = static_cast<int>(Methods.size()) - 1; i >= 0; --i)
    if (Methods[i].Name == name) return Methods[i].FuncIndex;
  return -1;
}

void TSBType::WriteTo(TSBWriter& w) const {
  w.WriteShortString(Name);
  w.WriteByte(static_cast<uint8_t>(TypeCode));
  w.WriteInt(Size);
  w.WriteInt(Index);
  w.WriteInt(BaseIndex);
  w.WriteInt(static_cast<int32_t>(Fields.size()));
  for (const TSBField& f : Fields) f.WriteTo(w);
  w.WriteInt(static_cast<int32_t>(Methods.size()));
  for (const TSBField& m : Methods) m.WriteTo(w);
}

void TSBType::ReadFrom(TSBReader& r) {
  ClearMembers();
  Name = r.ReadShortString(NameMax);
  TypeCode = static_cast<char>(r.ReadByte());
  Size = r.ReadInt();
  Index = r.ReadInt();
  BaseIndex = r.ReadInt();
  constexpr std::size_t fieldRecord = 13;
  const int32_t fields = r.ReadCount(fieldRecord);
  Fields.resize(fields);
  for (TSBField& f : Fields) f.ReadFrom(r);
  const int32_t methods = r.ReadCount(fieldRecord);
  Methods.resize(methods);
  for (TSBField& m : Methods) m.ReadFrom(r);
}

// ---- TSBReg ---------------------------------------------------------------------------

void TSBReg::WriteTo(TSBWriter& w) const {
  w.WriteByte(Kind);
  w.WriteInt(Value);
  w.WriteInt(IndexReg);
  w.WriteInt(OffsetReg);
  w.WriteByte(static_cast<uint8_t>(TypeCode));
  w.WriteInt(TypeIndex);
}

void TSBReg::ReadFrom(TSBReader& r) {
  Kind = r.ReadByte();
  Value = r.ReadInt();
  IndexReg = r.ReadInt();
  OffsetReg = r.ReadInt();
  TypeCode = static_cast<char>(r.ReadByte());
  TypeIndex = r.ReadInt();
  Target = IndexVar = OffsetVar = nullptr;
}

// ---- Memory budget ------------------------------------------------------------------

namespace {
thread_local TSBMemoryBudget* CurrentBudget = nullptr;
}

void TSBMemoryBudget::Charge(int64_t bytes) {
  if (bytes > FLimit - FUsed)
    throw ESBRunError(sbeOutOfMemory, "Out of macro memory: the values of one run may take " +
                                          std::to_string(FLimit >> 20) + " MB");
  FUsed += bytes;
}

TSBMemoryBudget* TSBMemoryBudget::Current() { return CurrentBudget; }

TSBMemoryScope::TSBMemoryScope(TSBMemoryBudget& budget) : FPrevious(CurrentBudget) { CurrentBudget = &budget; }

TSBMemoryScope::~TSBMemoryScope() { CurrentBudget = FPrevious; }

// ---- TSBVar ---------------------------------------------------------------------------

void TSBVar::Allocate(int64_t size, bool zeroed) {
  TSBMemoryBudget* budget = TSBMemoryBudget::Current();
  if (budget) budget->Charge(size);
  try {
    Data = zeroed ? new uint8_t[static_cast<std::size_t>(size)]() : new uint8_t[static_cast<std::size_t>(size)];
  } catch (const std::bad_alloc&) {
    if (budget) budget->Release(size);
    throw ESBRunError(sbeOutOfMemory, "Out of macro memory: the system has no more");
  }
  FBudget = budget;
  FOwned = true;
  FCapacity = static_cast<int32_t>(size);
}

TSBVar::TSBVar(TSBTypeList* types, TSBType* type, int32_t dimension, bool byRef) : ByRef(byRef), Types(types) {
  SetType(type, dimension < 1 ? 1 : dimension);
}

TSBVar::~TSBVar() { FreeData(); }

void TSBVar::ZeroData() {
  if (Data && Size > 0) std::memset(Data, 0, Size);
}

void TSBVar::FreeData() {
  if (FOwned) {
    delete[] Data;
    if (FBudget) FBudget->Release(FCapacity);
  }
  Data = nullptr;
  FOwned = false;
  FCapacity = 0;
  FBudget = nullptr;
}

void TSBVar::SetType(TSBType* type, int32_t dimension) {
  if (dimension < 1) dimension = 1;
  const int64_t size = static_cast<int64_t>(type ? type->Size : 0) * dimension;
  if (size > MaxStorageSize) {
    FreeData();
    Size = 0;
    throw EOutOfMemory("Variable too large");
  }
  // Storage of its own that is large enough is kept: registers change their
  // type from one entry to the next.
  if (!(FOwned && !ByRef && size > 0 && size <= FCapacity)) {
    FreeData();
    Size = 0;
    if (!ByRef && size > 0) Allocate(size, false);
  }
  VarType = type;
  Dimension = dimension;
  TypeIndex = type ? type->Index : 0;
  Size = static_cast<int32_t>(size);
  ZeroData();
}

void TSBVar::CopyFrom(const TSBVar& src) {
  SetType(src.VarType, src.Dimension);
  if (ByRef || Size <= 0) {
    Data = src.Data;
    FOwned = false;
  } else if (src.Data) {
    std::memcpy(Data, src.Data, static_cast<std::size_t>(std::min(Size, src.Size)));
  }
  CopySource = const_cast<TSBVar*>(&src);
}

void TSBVar::Assign(const TSBVar& src) {
  FreeData();
  Name = src.Name;
  ByRef = src.ByRef;
  CopyFrom(src);
}

std::unique_ptr<TSBVar> TSBVar::Duplicate() const {
  auto d = std::make_unique<TSBVar>(Types, VarType, Dimension, true);
  d->ByRef = ByRef;
  d->Name = Name;
  if (d->Size > 0) {
    d->Allocate(d->Size, true);
    if (Data) std::memcpy(d->Data, Data, static_cast<std::size_t>(std::min(d->Size, Size)));
  }
  return d;
}

void TSBVar::Borrow(uint8_t* data, int32_t size) {
  FreeData();
  Data = data;
  Size = size;
}

uint8_t* TSBVar::ElementAddress(int32_t i) const {
  if (!Data) return nullptr;
  const int32_t elem = VarType ? VarType->Size : 0;
  if (i > 0 && i < Dimension && static_cast<int64_t>(i + 1) * elem <= Size) return Data + static_cast<int64_t>(i) * elem;
  return Data;
}

TSBValue TSBVar::Element(int32_t i) const {
  const char code = VarType ? VarType->TypeCode : tcNone;
  return TSBValue{ElementAddress(i), code, TypeIndex, VarType ? VarType->Size : 0};
}

int32_t TSBVar::GetInt(int32_t i) const { return ValueAsInteger(Element(i)); }
void TSBVar::SetInt(int32_t i, int32_t n) { SetValueFromInteger(Element(i), n); }
void TSBVar::SetDouble(int32_t i, double x) { SetValueFromDouble(Element(i), x); }
void TSBVar::SetString(int32_t i, std::string_view s) { SetValueFromString(Element(i), s); }

void TSBVar::WriteTo(TSBWriter& w) const {
  w.WriteShortString(Name);
  w.WriteInt(TypeIndex);
  w.WriteInt(Dimension);
  w.WriteByte(ByRef ? 1 : 0);
  w.WriteInt(Size);
  if (Data && Size > 0) {
    w.WriteByte(1);
    w.WriteBytes(Data, static_cast<std::size_t>(Size));
  } else {
    w.WriteByte(0);
  }
}

void TSBVar::ReadFrom(TSBReader& r) {
  FreeData();
  Name = r.ReadShortString(NameMax);
  const int32_t typeIndex = r.ReadInt();
  TSBType* type = Types ? TypeAt(*Types, typeIndex) : nullptr;
  if (!type) TSBReader::Fail("variable of an unknown type");
  const int32_t dimension = r.ReadInt();
  if (dimension < 1 || (r.MaxDimension > 0 && dimension > r.MaxDimension)) TSBReader::Fail("bad dimension");
  const uint8_t byRef = r.ReadByte();
  if (byRef > 1) TSBReader::Fail("bad flag");
  const int32_t size = r.ReadInt();
  if (static_cast<int64_t>(type->Size) * dimension != size || size > MaxStorageSize)
    TSBReader::Fail("variable size does not match its type");
  ByRef = byRef != 0;
  const uint8_t flag = r.ReadByte();
  // Storage of its own is always written with its bytes; checked before it is
  // allocated, so that a short stream cannot ask for more memory than it holds.
  if (flag > 1 || (!ByRef && size > 0 && flag == 0)) TSBReader::Fail("bad flag");
  if (flag == 1 && r.Remaining() < static_cast<std::size_t>(size)) TSBReader::Fail("unexpected end");
  SetType(type, dimension);
  if (flag == 1) {
    if (Data)
      r.ReadBytes(Data, static_cast<std::size_t>(Size));
    else
      r.Skip(static_cast<std::size_t>(size));
  }
  CopySource = nullptr;
}

// ---- TSBCode ----------------------------------------------------------------------------

void TSBCode::Assign(const TSBCode& other) {
  Index = other.Index;
  Line = other.Line;
  Op.Kind = other.Op.Kind;
  Op.Value = other.Op.Value;
  Op.IndexReg = other.Op.IndexReg;
  A.SetFromRecord(other.A.ToRecord());
  B.SetFromRecord(other.B.ToRecord());
  Dest.SetFromRecord(other.Dest.ToRecord());
}

void TSBCode::WriteTo(TSBWriter& w) const {
  w.WriteInt(Index);
  w.WriteInt(Line);
  w.WriteInt(RunCount);
  Op.WriteTo(w);
  A.WriteTo(w);
  B.WriteTo(w);
  Dest.WriteTo(w);
}

void TSBCode::ReadFrom(TSBReader& r) {
  Index = r.ReadInt();
  Line = r.ReadInt();
  RunCount = r.ReadInt();
  Op.ReadFrom(r);
  A.ReadFrom(r);
  B.ReadFrom(r);
  Dest.ReadFrom(r);
}

// ---- TSBStack ------------------------------------------------------------------------------

std::optional<TSBCode> TSBStack::Pop(bool remove) {
  if (Items.empty()) return std::nullopt;
  TSBCode top = Items.back().Clone();
  if (remove) Items.pop_back();
  return top;
}

// ---- TSBFunc ---------------------------------------------------------------------------------

TSBFunc::TSBFunc(TSBTypeList* types, int kind, const TSBType* classType)
    : ClassIndex(classType ? classType->Index : -1), FuncKind(kind), Types(types) {}

TSBFunc::~TSBFunc() = default;

void TSBFunc::Assign(const TSBFunc& other) {
  Name = other.Name;
  ParamCount = other.ParamCount;
  ResultCode = other.ResultCode;
  ResultTypeIndex = other.ResultTypeIndex;
  ClassIndex = other.ClassIndex;
  FuncKind = other.FuncKind;
  FloatProc = other.FloatProc;
  HostProc = other.HostProc;
}

void TSBFunc::WriteTo(TSBWriter& w) const {
  w.WriteShortString(Name);
  w.WriteInt(ParamCount);
  w.WriteByte(static_cast<uint8_t>(ResultCode));
  w.WriteInt(ResultTypeIndex);
  w.WriteInt(ClassIndex);
  w.WriteInt(FuncKind);
}

void TSBFunc::ReadFrom(TSBReader& r) {
  Name = r.ReadShortString(ShortStringMax);
  ParamCount = r.ReadInt();
  ResultCode = static_cast<char>(r.ReadByte());
  ResultTypeIndex = r.ReadInt();
  ClassIndex = r.ReadInt();
  FuncKind = r.ReadInt();
}

// ---- TSBLabel ----------------------------------------------------------------------------------

int TSBLabel::Add(const std::string& name, int32_t codeIndex) {
  Items.push_back(TEntry{CutName(name), codeIndex});
  const int at = static_cast<int>(Items.size()) - 1;
  FIndex[Items.back().Name] = at;
  return at;
}

int TSBLabel::Find(const std::string& name, TEntry* entry) const {
  const auto it = FIndex.find(name);
  if (it == FIndex.end()) return -1;
  if (entry) *entry = Items[static_cast<std::size_t>(it->second)];
  return it->second;
}
