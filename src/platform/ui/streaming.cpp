#include "platform/ui/streaming.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/gfx/bitmap.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/stringlist.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

const char kSignature[4] = {'T', 'P', 'F', '0'};

std::string ShortFloatText(long double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  // The fewest digits from 15 up that read back to the same value, written by
  // to_chars so that the point never depends on the process locale.
  char buf[64];
  std::to_chars_result res{};
  for (int prec = 15; prec <= 21; ++prec) {
    res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, prec);
    long double back = 0;
    std::from_chars(buf, res.ptr, back);
    if (back == v) break;
  }
  std::string s(buf, res.ptr);
  for (char& c : s)
    if (c == 'e') c = 'E';
  // A float in the text form always shows a point or an exponent.
  if (s.find_first_of(".E") == std::string::npos) s += ".0";
  return s;
}

// Far deeper than any real stream nests lists, collections and components; a
// damaged one is refused before the recursion runs out of stack.
constexpr int kMaxNesting = 256;
const char* const kTooDeep = "Invalid stream format: nested too deeply";

// One level of nesting for the scope.
class TDepth {
public:
  explicit TDepth(int& depth) : FDepth(depth) { ++FDepth; }
  ~TDepth() { --FDepth; }
  TDepth(const TDepth&) = delete;
  TDepth& operator=(const TDepth&) = delete;
  bool TooDeep() const { return FDepth > kMaxNesting; }

private:
  int& FDepth;
};

int64_t Remaining(TStream* s) { return s->Size() - s->Position(); }

// A read-only stream over bytes kept elsewhere, which must outlive it.
class TBytesView : public TStream {
public:
  TBytesView(const uint8_t* data, int64_t size) : FData(data), FSize(size) {}
  std::string ClassName() const override { return "TBytesView"; }
  int64_t Read(void* buffer, int64_t count) override {
    if (count <= 0 || FPosition >= FSize) return 0;
    const int64_t n = std::min(count, FSize - FPosition);
    std::memcpy(buffer, FData + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
  }
  int64_t Write(const void*, int64_t) override { return 0; }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? FPosition : FSize;
    int64_t target;
    if (__builtin_add_overflow(base, offset, &target) || target < 0) throw EStreamError("Stream seek error");
    FPosition = target;
    return FPosition;
  }
  int64_t Size() override { return FSize; }

private:
  const uint8_t* FData;
  int64_t FSize;
  int64_t FPosition = 0;
};

// Whether a stored value fits the type it is read into; a finite value
// beyond the type's range is damage (converting it is undefined).
bool FitsFloat(long double v, TFloatType type) {
  if (!std::isfinite(v)) return true;
  switch (type) {
    case ftSingle: return std::fabs(v) <= FLT_MAX;
    case ftExtended: return true;
    case ftComp: return std::fabs(v) < 9223372036854775807.0L;
    default: return std::fabs(v) <= DBL_MAX;
  }
}

long double CheckedFloat(long double v, TFloatType type) {
  if (!FitsFloat(v, type)) throw EReadError("Invalid property value");
  return v;
}

// Tells the reader when a component it loaded is freed.
class TReaderWatch : public TComponent {
public:
  explicit TReaderWatch(std::function<void(TComponent*)> gone) : TComponent(nullptr), FGone(std::move(gone)) {}

protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c && FGone) FGone(c);
  }

private:
  std::function<void(TComponent*)> FGone;
};

}  // namespace

// ---------------------------------------------------------------------------
// TWriter

TWriter::TWriter(TStream* Stream, int) : TFiler(Stream) {}
TWriter::~TWriter() = default;

void TWriter::WriteValue(TValueType Value) { FStream->WriteByte(Value); }

void TWriter::WriteStr(const std::string& Value) {
  std::string s = Value.size() > 255 ? Value.substr(0, 255) : Value;
  FStream->WriteByte(static_cast<uint8_t>(s.size()));
  FStream->WriteString(s);
}

void TWriter::WritePrefix(int Flags, int ChildPos) {
  if (Flags == 0) return;
  FStream->WriteByte(static_cast<uint8_t>(0xF0 | (Flags & 0x0F)));
  if (Flags & ffChildPos) WriteInteger(ChildPos);
}

void TWriter::WriteSignature() { FStream->WriteBuffer(kSignature, 4); }

void TWriter::WriteInteger(int64_t Value) {
  if (Value >= -128 && Value <= 127) {
    WriteValue(vaInt8);
    FStream->WriteByte(static_cast<uint8_t>(static_cast<int8_t>(Value)));
  } else if (Value >= -32768 && Value <= 32767) {
    WriteValue(vaInt16);
    FStream->WriteSmallInt(static_cast<int16_t>(Value));
  } else if (Value >= INT32_MIN && Value <= INT32_MAX) {
    WriteValue(vaInt32);
    FStream->WriteInteger(static_cast<int32_t>(Value));
  } else {
    WriteValue(vaInt64);
    FStream->WriteInt64(Value);
  }
}

void TWriter::WriteFloat(long double Value) {
  WriteValue(vaExtended);
  FStream->WriteExtended(Value);
}

void TWriter::WriteSingle(float Value) {
  WriteValue(vaSingle);
  FStream->WriteSingle(Value);
}

void TWriter::WriteCurrency(double Value) {
  WriteValue(vaCurrency);
  FStream->WriteInt64(static_cast<int64_t>(std::llround(Value * 10000.0)));
}

void TWriter::WriteDate(double Value) {
  WriteValue(vaDate);
  FStream->WriteDouble(Value);
}

void TWriter::WriteString(const std::string& Value) {
  std::string bytes;
  if (!Utf8ToCp1252(Value, bytes)) {
    WriteWideString(Value);
    return;
  }
  if (bytes.size() <= 255) {
    WriteValue(vaString);
    FStream->WriteByte(static_cast<uint8_t>(bytes.size()));
  } else {
    WriteValue(vaLString);
    FStream->WriteInteger(static_cast<int32_t>(bytes.size()));
  }
  FStream->WriteString(bytes);
}

void TWriter::WriteWideString(const std::string& Value) {
  const std::u16string w = Utf8ToUtf16(Value);
  WriteValue(vaWString);
  FStream->WriteInteger(static_cast<int32_t>(w.size()));
  for (char16_t c : w) FStream->WriteWord(static_cast<uint16_t>(c));
}

void TWriter::WriteUTF8Str(const std::string& Value) {
  WriteValue(vaUTF8String);
  FStream->WriteInteger(static_cast<int32_t>(Value.size()));
  FStream->WriteString(Value);
}

void TWriter::WriteIdent(const std::string& Ident) {
  if (SameName(Ident, "False")) WriteValue(vaFalse);
  else if (SameName(Ident, "True")) WriteValue(vaTrue);
  else if (SameName(Ident, "nil")) WriteValue(vaNil);
  else if (SameName(Ident, "Null")) WriteValue(vaNull);
  else {
    WriteValue(vaIdent);
    WriteStr(Ident);
  }
}

void TWriter::WriteSet(const TEnumInfo& Info, uint64_t Bits) {
  WriteValue(vaSet);
  for (size_t i = 0; i < Info.Names.size() && i < 64; ++i)
    if (Bits & (uint64_t(1) << i)) WriteStr(Info.Names[i]);
  WriteStr("");
}

void TWriter::WriteBinary(const std::vector<uint8_t>& Data) {
  WriteValue(vaBinary);
  FStream->WriteInteger(static_cast<int32_t>(Data.size()));
  if (!Data.empty()) FStream->WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
}

void TWriter::WritePropName(const std::string& Name) { WriteStr(FPropPath + Name); }

void TWriter::DefineProperty(const std::string& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteData(this);
}

void TWriter::DefineBinaryProperty(const std::string& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
  if (!HasData || !WriteData) return;
  WritePropName(Name);
  WriteValue(vaBinary);
  // The data goes straight into the stream behind a count filled in after
  // it: a large property (a series of a million points) is not held twice.
  const int64_t countAt = FStream->Position();
  FStream->WriteInteger(0);
  WriteData(FStream);
  const int64_t end = FStream->Position();
  const int64_t size = end - countAt - 4;
  if (size > INT32_MAX) throw EWriteError("Stream write error");
  FStream->SetPosition(countAt);
  FStream->WriteInteger(static_cast<int32_t>(size));
  FStream->SetPosition(end);
}

void TWriter::WriteRootComponent(TComponent* Root) {
  FRoot = Root;
  FLookupRoot = Root;
  WriteSignature();
  WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component) {
  if (!FRoot) FRoot = Component;
  if (!FLookupRoot) FLookupRoot = FRoot;
  Component->SetWritingState(true);
  try {
    Component->WriteState(this);
  } catch (...) {
    Component->SetWritingState(false);
    throw;
  }
  Component->SetWritingState(false);
}

void TWriter::WriteData(TComponent* Instance) {
  int flags = 0;
  if (Instance->ComponentState().Contains(csInline)) flags |= ffInline;
  WritePrefix(flags, 0);
  WriteStr(Instance->ClassName());
  WriteStr(Instance->Name());
  const std::string savedPath = FPropPath;
  FPropPath.clear();
  WriteProperties(Instance);
  WriteListEnd();
  FPropPath = savedPath;
  if (!FIgnoreChildren) Instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, FRoot);
  WriteListEnd();
}

void TWriter::WriteProperties(TObject* Instance) { WriteObjectProperties(Instance, FPropPath); }

void TWriter::WriteObjectProperties(TObject* Instance, const std::string& Prefix) {
  const std::string saved = FPropPath;
  FPropPath = Prefix;
  if (const TClassInfo* info = GetClassInfo(Instance))
    for (const TPropInfo* p : info->Properties())
      if (p->IsStored(Instance)) WriteProperty(Instance, *p);
  DefineObjectProperties(Instance, this);
  FPropPath = saved;
}

std::string TWriter::ComponentRefName(TComponent* c) const {
  if (c == FLookupRoot) return c->Name().empty() ? "Owner" : c->Name();
  if (c->Owner() && c->Owner() != FLookupRoot && !c->Owner()->Name().empty())
    return c->Owner()->Name() + "." + c->Name();
  return c->Name();
}

void TWriter::WriteProperty(TObject* Instance, const TPropInfo& Prop) {
  switch (Prop.Kind) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkEnumeration:
    case tkSet: {
      if (!Prop.GetOrd || IsDefaultPropertyValue(Instance, Prop)) return;
      if (!Prop.Writable()) return;
      const int64_t v = Prop.GetOrd(Instance);
      WritePropName(Prop.Name);
      if (Prop.Kind == tkChar) {
        WriteChar(static_cast<char>(v));
      } else if (Prop.Kind == tkEnumeration) {
        if (Prop.IsBoolean()) WriteBoolean(v != 0);
        else WriteIdent(Prop.Enum->NameOf(v));
      } else if (Prop.Kind == tkSet) {
        WriteSet(*Prop.Enum, static_cast<uint64_t>(v));
      } else {
        std::string ident;
        if (Prop.Idents && Prop.Idents->ToIdent && Prop.Idents->ToIdent(v, ident)) WriteIdent(ident);
        else WriteInteger(v);
      }
      return;
    }
    case tkFloat: {
      if (!Prop.GetFloat || !Prop.Writable() || IsDefaultPropertyValue(Instance, Prop)) return;
      const long double v = Prop.GetFloat(Instance);
      WritePropName(Prop.Name);
      switch (Prop.FloatType) {
        case ftSingle: WriteSingle(static_cast<float>(v)); break;
        case ftCurr: WriteCurrency(static_cast<double>(v)); break;
        case ftDateTime: WriteDate(static_cast<double>(v)); break;
        default: WriteFloat(v); break;
      }
      return;
    }
    case tkString: {
      if (!Prop.GetStr || !Prop.Writable() || IsDefaultPropertyValue(Instance, Prop)) return;
      WritePropName(Prop.Name);
      WriteString(Prop.GetStr(Instance));
      return;
    }
    case tkMethod: {
      if (!Prop.HasMethod || !Prop.HasMethod(Instance) || !OnGetMethodName) return;
      const std::string name = OnGetMethodName(Instance, Prop);
      if (name.empty()) return;
      WritePropName(Prop.Name);
      WriteIdent(name);
      return;
    }
    case tkClass: {
      if (!Prop.GetObj) return;
      TObject* obj = Prop.GetObj(Instance);
      if (!obj) return;
      if (auto* comp = dynamic_cast<TComponent*>(obj)) {
        const bool sub = comp->ComponentStyle().Contains(csSubComponent) && comp->Owner() == Instance;
        if (sub) {
          WriteObjectProperties(comp, FPropPath + Prop.Name + ".");
        } else if (Prop.SetObj && !comp->Name().empty()) {
          WritePropName(Prop.Name);
          WriteIdent(ComponentRefName(comp));
        }
        return;
      }
      if (auto* coll = dynamic_cast<TCollection*>(obj)) {
        if (coll->Count() == 0 && (Prop.Stored == nullptr)) return;
        WritePropName(Prop.Name);
        WriteCollection(coll);
        return;
      }
      if (GetClassInfo(obj)) WriteObjectProperties(obj, FPropPath + Prop.Name + ".");
      return;
    }
    default: return;
  }
}

void TWriter::WriteCollection(TCollection* Value) {
  WriteValue(vaCollection);
  const std::string saved = FPropPath;
  FPropPath.clear();
  if (Value)
    for (int i = 0; i < Value->Count(); ++i) {
      WriteListBegin();
      WriteProperties(Value->Items(i));
      WriteListEnd();
    }
  FPropPath = saved;
  WriteListEnd();
}

// ---------------------------------------------------------------------------
// TReader

TReader::TReader(TStream* Stream, int) : TFiler(Stream), FPictureBudget(std::make_unique<TPictureBudget>()) {}
TReader::~TReader() { UnwatchAll(); }

void TReader::Watch(TComponent* c) {
  if (!FWatch) FWatch = std::make_unique<TReaderWatch>([this](TComponent* gone) { Forgotten(gone); });
  c->FreeNotification(FWatch.get());
}

void TReader::Forgotten(TComponent* c) {
  std::replace(FLoaded.begin(), FLoaded.end(), c, static_cast<TComponent*>(nullptr));
  std::replace(FReading.begin(), FReading.end(), c, static_cast<TComponent*>(nullptr));
  for (TFixup& f : FFixups)
    if (f.Instance == c) f.Instance = nullptr;
}

void TReader::UnwatchAll() {
  if (!FWatch) return;
  for (TComponent* c : FLoaded)
    if (c) c->RemoveFreeNotification(FWatch.get());
}

uint8_t TReader::ReadByte() { return FStream->ReadByte(); }
void TReader::ReadBytes(void* buf, int64_t n) { FStream->ReadBuffer(buf, n); }

TValueType TReader::ReadValue() { return static_cast<TValueType>(ReadByte()); }

TValueType TReader::NextValue() {
  const TValueType v = ReadValue();
  FStream->Seek(-1, soCurrent);
  return v;
}

bool TReader::EndOfList() { return NextValue() == vaNull; }

void TReader::CheckValue(TValueType Value) {
  if (ReadValue() != Value) {
    FStream->Seek(-1, soCurrent);
    SkipValue();
    throw EReadError("Invalid property value");
  }
}

void TReader::ReadListBegin() { CheckValue(vaList); }
void TReader::ReadListEnd() { CheckValue(vaNull); }

std::string TReader::ReadStr() {
  const uint8_t n = ReadByte();
  return FStream->ReadString(n);
}

void TReader::ReadPrefix(int& Flags, int& ChildPos) {
  Flags = 0;
  ChildPos = 0;
  const uint8_t b = ReadByte();
  if ((b & 0xF0) == 0xF0) {
    Flags = b & 0x0F;
    if (Flags & ffChildPos) ChildPos = ReadInteger();
  } else {
    FStream->Seek(-1, soCurrent);
  }
}

void TReader::ReadSignature() {
  char sig[4];
  if (FStream->Read(sig, 4) != 4 || std::memcmp(sig, kSignature, 4) != 0) throw EReadError("Invalid stream format");
}

bool TReader::ReadBoolean() {
  const TValueType v = ReadValue();
  if (v == vaTrue) return true;
  if (v == vaFalse) return false;
  FStream->Seek(-1, soCurrent);
  SkipValue();
  throw EReadError("Invalid property value");
}

char TReader::ReadChar() {
  const std::string s = ReadString();
  if (s.size() != 1) {
    if (!s.empty()) return s[0];
    throw EReadError("Invalid property value");
  }
  return s[0];
}

int TReader::ReadInteger() {
  const int64_t v = ReadInt64();
  if (v < INT32_MIN || v > INT32_MAX) throw EReadError("Invalid property value");
  return static_cast<int>(v);
}

int64_t TReader::ReadInt64() {
  switch (ReadValue()) {
    case vaInt8: return static_cast<int8_t>(ReadByte());
    case vaInt16: return FStream->ReadSmallInt();
    case vaInt32: return FStream->ReadInteger();
    case vaInt64: return FStream->ReadInt64();
    default:
      FStream->Seek(-1, soCurrent);
      SkipValue();
      throw EReadError("Invalid property value");
  }
}

long double TReader::ReadFloat() {
  switch (ReadValue()) {
    case vaExtended: return FStream->ReadExtended();
    case vaSingle: return FStream->ReadSingle();
    case vaDate: return FStream->ReadDouble();
    case vaCurrency: return static_cast<long double>(FStream->ReadInt64()) / 10000.0L;
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaInt64:
      FStream->Seek(-1, soCurrent);
      return static_cast<long double>(ReadInt64());
    default:
      FStream->Seek(-1, soCurrent);
      SkipValue();
      throw EReadError("Invalid property value");
  }
}

float TReader::ReadSingle() { return static_cast<float>(CheckedFloat(ReadFloat(), ftSingle)); }
double TReader::ReadDouble() { return static_cast<double>(CheckedFloat(ReadFloat(), ftDouble)); }
double TReader::ReadCurrency() { return static_cast<double>(CheckedFloat(ReadFloat(), ftCurr)); }
double TReader::ReadDate() { return static_cast<double>(CheckedFloat(ReadFloat(), ftDateTime)); }

std::string TReader::ReadString() {
  switch (ReadValue()) {
    case vaString: {
      const uint8_t n = ReadByte();
      return Cp1252ToUtf8(FStream->ReadString(n));
    }
    case vaLString: {
      const int32_t n = FStream->ReadInteger();
      if (n < 0) throw EReadError("Invalid property value");
      return Cp1252ToUtf8(FStream->ReadString(n));
    }
    case vaWString: {
      const int32_t n = FStream->ReadInteger();
      if (n < 0) throw EReadError("Invalid property value");
      // A damaged count must not reserve more than the stream holds.
      if (2 * int64_t(n) > Remaining(FStream)) throw EReadError("Stream read error");
      std::u16string w;
      w.reserve(static_cast<size_t>(n));
      for (int32_t i = 0; i < n; ++i) w += static_cast<char16_t>(FStream->ReadWord());
      return Utf16ToUtf8(w);
    }
    case vaUTF8String: {
      const int32_t n = FStream->ReadInteger();
      if (n < 0) throw EReadError("Invalid property value");
      return FStream->ReadString(n);
    }
    default:
      FStream->Seek(-1, soCurrent);
      SkipValue();
      throw EReadError("Invalid property value");
  }
}

std::string TReader::ReadIdent() {
  switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default:
      FStream->Seek(-1, soCurrent);
      SkipValue();
      throw EReadError("Invalid property value");
  }
}

uint64_t TReader::ReadSet(const TEnumInfo& Info) {
  CheckValue(vaSet);
  uint64_t bits = 0;
  std::string bad;
  for (;;) {
    const std::string name = ReadStr();
    if (name.empty()) break;
    int64_t v;
    const bool known = Info.ValueOf(name, v) && v - Info.MinValue >= 0 && v - Info.MinValue < 64;
    if (known) bits |= uint64_t(1) << (v - Info.MinValue);
    else if (bad.empty()) bad = name;
  }
  if (!bad.empty()) throw EReadError("Invalid property value");
  return bits;
}

void TReader::SkipSetBody() {
  while (!ReadStr().empty()) {
  }
}

void TReader::SkipProperty() {
  ReadStr();
  SkipValue();
}

void TReader::SkipValue() {
  const TValueType v = ReadValue();
  TDepth depth(FNesting);
  if (depth.TooDeep()) throw EReadError(kTooDeep);
  switch (v) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: return;
    case vaList:
      while (!EndOfList()) SkipValue();
      ReadListEnd();
      return;
    case vaInt8: FStream->Seek(1, soCurrent); return;
    case vaInt16: FStream->Seek(2, soCurrent); return;
    case vaInt32:
    case vaSingle: FStream->Seek(4, soCurrent); return;
    case vaInt64:
    case vaCurrency:
    case vaDate: FStream->Seek(8, soCurrent); return;
    case vaExtended: FStream->Seek(10, soCurrent); return;
    case vaString:
    case vaIdent: ReadStr(); return;
    case vaBinary:
    case vaLString:
    case vaUTF8String: {
      const int32_t n = FStream->ReadInteger();
      if (n < 0 || FStream->Position() + n > FStream->Size()) throw EReadError("Stream read error");
      FStream->Seek(n, soCurrent);
      return;
    }
    case vaWString: {
      const int32_t n = FStream->ReadInteger();
      if (n < 0 || FStream->Position() + 2 * int64_t(n) > FStream->Size()) throw EReadError("Stream read error");
      FStream->Seek(2 * int64_t(n), soCurrent);
      return;
    }
    case vaSet: SkipSetBody(); return;
    case vaCollection:
      while (!EndOfList()) {
        const TValueType n = NextValue();
        if (n == vaInt8 || n == vaInt16 || n == vaInt32) SkipValue();
        ReadListBegin();
        while (!EndOfList()) SkipProperty();
        ReadListEnd();
      }
      ReadListEnd();
      return;
    default: throw EReadError("Invalid stream format");
  }
}

void TReader::SkipComponent(bool SkipHeader) {
  TDepth depth(FNesting);
  if (depth.TooDeep()) throw EReadError(kTooDeep);
  if (SkipHeader) {
    int flags, pos;
    ReadPrefix(flags, pos);
    ReadStr();
    ReadStr();
  }
  while (!EndOfList()) SkipProperty();
  ReadListEnd();
  while (!EndOfList()) SkipComponent(true);
  ReadListEnd();
}

bool TReader::Error(const std::string& Message) {
  bool handled = false;
  if (OnError) OnError(this, Message, handled);
  return handled;
}

void TReader::DefineProperty(const std::string& Name, TReaderProc ReadData, TWriterProc, bool) {
  if (FDefinedFound || !ReadData || !SameName(Name, FPropName)) return;
  ReadData(this);
  FDefinedFound = true;  // marks the property as found
}

void TReader::DefineBinaryProperty(const std::string& Name, TStreamProc ReadData, TStreamProc, bool) {
  if (FDefinedFound || !ReadData || !SameName(Name, FPropName)) return;
  CheckValue(vaBinary);
  const int32_t n = FStream->ReadInteger();
  if (n < 0) throw EReadError("Invalid property value");
  if (n > Remaining(FStream)) throw EReadError("Stream read error");
  FDefinedFound = true;
  // Bytes already in memory are read where they are: a large property (a
  // series of a million points) is not copied first.
  if (auto* memory = dynamic_cast<TMemoryStream*>(FStream)) {
    const int64_t at = FStream->Position();
    TBytesView view(memory->Memory() + at, n);
    FStream->SetPosition(at + n);
    ReadData(&view);
    return;
  }
  TMemoryStream data;
  if (n > 0) {
    data.SetSize(n);
    ReadBytes(data.Memory(), n);
  }
  data.SetPosition(0);
  ReadData(&data);
}

TClass TReader::FindComponentClass(const std::string& ClassName) {
  TClass c = GetClass(ClassName);
  if (!c && OnFindComponentClass) OnFindComponentClass(this, ClassName, c);
  if (!c) throw EClassNotFound("Class " + ClassName + " not found");
  return c;
}

void TReader::ReadProperty(TObject* Instance) {
  const std::string fullName = ReadStr();
  const int64_t valueStart = FStream->Position();
  try {
    // Walk the dotted path through sub-objects.
    TObject* target = Instance;
    std::string rest = fullName;
    for (;;) {
      const size_t dot = rest.find('.');
      if (dot == std::string::npos) break;
      const std::string head = rest.substr(0, dot);
      rest = rest.substr(dot + 1);
      const TPropInfo* p = GetPropInfo(target, head);
      TObject* obj = (p && p->Kind == tkClass && p->GetObj) ? p->GetObj(target) : nullptr;
      if (!obj || !GetClassInfo(obj)) throw EReadError("Property " + fullName + " does not exist");
      target = obj;
    }
    // Defined properties first, then the published ones.
    FPropName = rest;
    FDefinedFound = false;
    DefineObjectProperties(target, this);
    const bool defined = FDefinedFound;
    FDefinedFound = false;
    FPropName.clear();
    if (defined) return;
    const TPropInfo* p = GetPropInfo(target, rest);
    if (!p) throw EReadError("Property " + fullName + " does not exist");
    ReadPropValue(target, *p);
  } catch (const Exception& e) {
    FDefinedFound = false;
    FPropName.clear();
    FStream->SetPosition(valueStart);
    SkipValue();
    if (!Error(e.Message())) throw;
  }
}

void TReader::ReadPropValue(TObject* Instance, const TPropInfo& Prop) {
  switch (Prop.Kind) {
    case tkInteger:
    case tkInt64: {
      int64_t v;
      const TValueType t = NextValue();
      if (t == vaIdent) {
        const std::string ident = ReadIdent();
        if (!Prop.Idents || !Prop.Idents->FromIdent || !Prop.Idents->FromIdent(ident, v))
          throw EReadError("Invalid property value");
      } else {
        v = ReadInt64();
      }
      if (Prop.Kind == tkInteger && (v < INT32_MIN || v > UINT32_MAX)) throw EReadError("Invalid property value");
      if (!Prop.SetOrd) throw EReadError("Property " + Prop.Name + " is read-only");
      Prop.SetOrd(Instance, Prop.Kind == tkInteger ? static_cast<int32_t>(static_cast<uint32_t>(v)) : v);
      return;
    }
    case tkChar: {
      const char c = ReadChar();
      if (!Prop.SetOrd) throw EReadError("Property " + Prop.Name + " is read-only");
      Prop.SetOrd(Instance, static_cast<unsigned char>(c));
      return;
    }
    case tkEnumeration: {
      int64_t v;
      const std::string ident = ReadIdent();
      if (!Prop.Enum->ValueOf(ident, v)) throw EReadError("Invalid property value");
      if (!Prop.SetOrd) throw EReadError("Property " + Prop.Name + " is read-only");
      Prop.SetOrd(Instance, v);
      return;
    }
    case tkSet: {
      const uint64_t bits = ReadSet(*Prop.Enum);
      if (!Prop.SetOrd) throw EReadError("Property " + Prop.Name + " is read-only");
      Prop.SetOrd(Instance, static_cast<int64_t>(bits));
      return;
    }
    case tkFloat: {
      const long double v = CheckedFloat(ReadFloat(), Prop.FloatType);
      if (!Prop.SetFloat) throw EReadError("Property " + Prop.Name + " is read-only");
      Prop.SetFloat(Instance, v);
      return;
    }
    case tkString: {
      const std::string s = ReadString();
      if (!Prop.SetStr) throw EReadError("Property " + Prop.Name + " is read-only");
      Prop.SetStr(Instance, s);
      return;
    }
    case tkMethod: {
      const std::string name = ReadIdent();
      if (name == "nil" || name == "Null") {
        if (Prop.SetMethod) Prop.SetMethod(Instance, std::any());
        return;
      }
      std::any address = FRoot ? FRoot->MethodAddress(name) : std::any();
      bool error = !address.has_value();
      if (OnFindMethod) OnFindMethod(this, name, address, error);
      if (error) throw EReadError("Method '" + name + "' not found");
      if (address.has_value() && Prop.SetMethod) Prop.SetMethod(Instance, address);
      return;
    }
    case tkClass: {
      TObject* obj = Prop.GetObj ? Prop.GetObj(Instance) : nullptr;
      const TValueType t = NextValue();
      if (t == vaCollection) {
        auto* coll = dynamic_cast<TCollection*>(obj);
        if (!coll) throw EReadError("Invalid property value");
        ReadCollection(coll);
        return;
      }
      if (t == vaNil) {
        ReadValue();
        if (Prop.SetObj) Prop.SetObj(Instance, nullptr);
        return;
      }
      if (t == vaIdent) {
        const std::string name = ReadIdent();
        if (!Prop.SetObj) throw EReadError("Property " + Prop.Name + " is read-only");
        FFixups.push_back({Instance, &Prop, name, FItems});
        return;
      }
      throw EReadError("Invalid property value");
    }
    default: throw EReadError("Invalid property value");
  }
}

void TReader::ReadCollection(TCollection* Collection) {
  TDepth depth(FNesting);
  if (depth.TooDeep()) throw EReadError(kTooDeep);
  CheckValue(vaCollection);
  // Items read before (the property stored twice) go with Clear below, and
  // with them the references read for them.
  std::vector<TObject*> old;
  for (int i = 0; i < Collection->Count(); ++i) old.push_back(Collection->Items(i));
  if (!old.empty())
    FFixups.erase(std::remove_if(FFixups.begin(), FFixups.end(),
                                 [&old](const TFixup& f) {
                                   for (TObject* item : f.Items)
                                     if (std::find(old.begin(), old.end(), item) != old.end()) return true;
                                   return false;
                                 }),
                  FFixups.end());
  const size_t itemLevel = FItems.size();
  Collection->BeginUpdate();
  try {
    Collection->Clear();
    while (!EndOfList()) {
      const TValueType n = NextValue();
      if (n == vaInt8 || n == vaInt16 || n == vaInt32) ReadInteger();  // item order of inherited streams
      TCollectionItem* item = Collection->Add();
      FItems.push_back(item);
      ReadListBegin();
      while (!EndOfList()) ReadProperty(item);
      ReadListEnd();
      FItems.pop_back();
    }
    ReadListEnd();
  } catch (...) {
    FItems.resize(itemLevel);
    Collection->EndUpdate();
    throw;
  }
  Collection->EndUpdate();
}

void TReader::ReadData(TComponent* Instance) {
  while (!EndOfList()) ReadProperty(Instance);
  ReadListEnd();
  ReadChildren(Instance);
}

void TReader::ReadChildren(TComponent* Instance) {
  TComponent* oldParent = FParent;
  TComponent* oldOwner = FOwner;
  FParent = Instance->GetChildParent();
  FOwner = Instance->GetChildOwner();
  if (!FOwner) FOwner = FRoot;
  try {
    while (!EndOfList()) ReadComponent(nullptr);
    ReadListEnd();
  } catch (...) {
    FParent = oldParent;
    FOwner = oldOwner;
    throw;
  }
  FParent = oldParent;
  FOwner = oldOwner;
}

TComponent* TReader::ReadComponent(TComponent* Component) {
  TDepth depth(FNesting);
  if (depth.TooDeep()) throw EReadError(kTooDeep);
  int flags, pos;
  ReadPrefix(flags, pos);
  const std::string className = ReadStr();
  const std::string name = ReadStr();
  TComponent* result = Component;
  bool created = false;
  if (!result && (flags & ffInherited) && FOwner) {
    result = FOwner->FindComponent(name);
    // One being read, or one above the parent, would become its own parent.
    bool cycle = result && std::find(FReading.begin(), FReading.end(), result) != FReading.end();
    int steps = 0;
    for (TComponent* p = FParent; result && p && !cycle && ++steps < 100000; p = p->GetParentComponent())
      cycle = p == result;
    if (cycle) {
      if (!Error("Invalid stream format: " + name + " would contain itself")) throw EReadError("Invalid stream format");
      SkipComponent(false);
      return nullptr;
    }
  }
  if (!result) {
    TClass cls = nullptr;
    try {
      cls = FindComponentClass(className);
      if (!cls->CreateComponent) throw EReadError("Class " + className + " is not a component class");
    } catch (const Exception& e) {
      if (!Error(e.Message())) throw;
      SkipComponent(false);
      return nullptr;
    }
    result = CreateComponentOfClass(cls, FOwner);
    created = true;
  }
  try {
    result->SetLoadingState(true);
    if (!(flags & ffInherited) && !name.empty()) {
      try {
        result->SetName(name);
      } catch (const EComponentError& e) {
        if (!Error(e.Message())) throw;
        // Keep reading under a free name; one that is no name stays unnamed.
        for (int i = 1; IsValidIdent(name); ++i) {
          const std::string alt = name + "_" + std::to_string(i);
          if (!result->Owner() || !result->Owner()->FindComponent(alt)) {
            result->SetName(alt);
            break;
          }
        }
      }
    }
    if (std::find(FLoaded.begin(), FLoaded.end(), result) == FLoaded.end()) {
      FLoaded.push_back(result);
      Watch(result);
    }
    result->SetReadingState(true);
    if (created || result->GetParentComponent() != FParent) result->SetParentComponent(FParent);
    if ((flags & ffChildPos) && FParent) FParent->SetChildOrder(result, pos);
    FReading.push_back(result);
    result->ReadState(this);
    FReading.pop_back();
  } catch (...) {
    FReading.erase(std::remove(FReading.begin(), FReading.end(), result), FReading.end());
    // Freeing it takes its entries out of the lists (and a control's child controls with it).
    if (created) delete result;
    throw;
  }
  return result;
}

void TReader::DoFixups() {
  // By index: an instance turns nil when a setter frees its component.
  for (size_t i = 0; i < FFixups.size(); ++i) {
    const TFixup f = FFixups[i];
    if (!f.Instance) continue;
    TComponent* target = nullptr;
    const size_t dot = f.Name.find('.');
    if (dot == std::string::npos) {
      if (FRoot && (SameName(f.Name, FRoot->Name()) || SameName(f.Name, "Owner"))) target = FRoot;
      else if (FRoot) target = FRoot->FindComponent(f.Name);
    } else if (FRoot) {
      const std::string owner = f.Name.substr(0, dot), rest = f.Name.substr(dot + 1);
      TComponent* o = SameName(owner, FRoot->Name()) ? FRoot : FRoot->FindComponent(owner);
      if (!o && FRoot->Owner()) o = FRoot->Owner()->FindComponent(owner);
      if (o) target = o->FindComponent(rest);
    }
    if (!target) continue;  // unresolved references stay unset, as with the class library
    try {
      f.Prop->SetObj(f.Instance, target);
    } catch (const Exception& e) {
      if (!Error(e.Message())) throw;
    }
  }
  FFixups.clear();
}

void TReader::FinishLoading() {
  // By index: an entry turns nil when Loaded frees its component.
  for (size_t i = 0; i < FLoaded.size(); ++i)
    if (FLoaded[i]) FLoaded[i]->SetReadingState(false);
  for (size_t i = 0; i < FLoaded.size(); ++i)
    if (FLoaded[i]) FLoaded[i]->Loaded();
  UnwatchAll();
  FLoaded.clear();
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
  ReadSignature();
  int flags, pos;
  ReadPrefix(flags, pos);
  const std::string className = ReadStr();
  const std::string name = ReadStr();
  bool created = false;
  if (!Root) {
    TClass cls = FindComponentClass(className);
    Root = CreateComponentOfClass(cls, nullptr);
    created = true;
  }
  try {
    if (!Root->ComponentState().Contains(csDesigning) && !name.empty() && name != Root->Name()) {
      try {
        Root->SetName(name);
      } catch (const EComponentError&) {
        // A sibling has that name: the root keeps its own.
      }
    }
    FRoot = Root;
    FLookupRoot = Root;
    FOwner = Root;
    FParent = Root;
    Root->SetLoadingState(true);
    Root->SetReadingState(true);
    FLoaded.push_back(Root);
    Watch(Root);
    FReading.push_back(Root);
    Root->ReadState(this);
    FReading.pop_back();
    DoFixups();
    FinishLoading();
  } catch (...) {
    for (TComponent* c : FLoaded) {
      if (!c) continue;
      c->SetReadingState(false);
      c->SetLoadingState(false);
    }
    UnwatchAll();
    FLoaded.clear();
    FFixups.clear();
    FReading.clear();
    FItems.clear();
    if (created) delete Root;
    throw;
  }
  return Root;
}

// ---------------------------------------------------------------------------
// Convenience

TComponent* ReadComponentFromStream(TStream& Stream, TComponent* Instance) {
  TReader reader(&Stream);
  return reader.ReadRootComponent(Instance);
}

void WriteComponentToStream(TStream& Stream, TComponent* Instance) {
  TWriter writer(&Stream);
  writer.WriteRootComponent(Instance);
}

std::string ComponentToText(TComponent* Instance) {
  TMemoryStream bin;
  WriteComponentToStream(bin, Instance);
  bin.SetPosition(0);
  TStringStream text;
  ObjectBinaryToText(bin, text);
  return text.DataString();
}

TComponent* TextToComponent(const std::string& Text, TComponent* Instance) {
  TStringStream text(Text);
  TMemoryStream bin;
  ObjectTextToBinary(text, bin);
  bin.SetPosition(0);
  return ReadComponentFromStream(bin, Instance);
}

// ---------------------------------------------------------------------------
// The value tree shared by the two conversions

namespace {

struct TNode;
struct TNamedNode;

struct TItemNode {
  bool HasOrder = false;
  int64_t Order = 0;
  std::vector<TNamedNode> Props;
};

struct TNode {
  TValueType Type = vaNull;
  int64_t Int = 0;          // integers; currency in ten-thousandths
  long double Float = 0;    // extended, single, date
  std::string Str;          // strings (UTF-8), idents, binary bytes
  std::vector<TNode> List;  // vaList
  std::vector<std::string> Set;
  std::vector<TItemNode> Items;  // vaCollection
};

struct TNamedNode {
  std::string Name;
  TNode Value;
};

struct TObjNode {
  int Flags = 0;
  int64_t Pos = 0;
  std::string ClassName, Name;
  std::vector<TNamedNode> Props;
  std::vector<TObjNode> Children;
};

// -- binary -> tree

class TBinParser {
public:
  explicit TBinParser(TStream& s) : R(&s) {}

  TObjNode Object() {
    TDepth depth(Depth);
    if (depth.TooDeep()) throw EReadError(kTooDeep);
    TObjNode o;
    int flags, pos;
    R.ReadPrefix(flags, pos);
    o.Flags = flags;
    o.Pos = pos;
    o.ClassName = R.ReadStr();
    o.Name = R.ReadStr();
    while (!R.EndOfList()) o.Props.push_back(Prop());
    R.ReadListEnd();
    while (!R.EndOfList()) o.Children.push_back(Object());
    R.ReadListEnd();
    return o;
  }

private:
  TNamedNode Prop() {
    TNamedNode p;
    p.Name = R.ReadStr();
    p.Value = Value();
    return p;
  }

  TNode Value() {
    TDepth depth(Depth);
    if (depth.TooDeep()) throw EReadError(kTooDeep);
    TNode n;
    TStream* s = R.Stream();
    n.Type = R.NextValue();
    switch (n.Type) {
      case vaList:
        R.ReadValue();
        while (!R.EndOfList()) n.List.push_back(Value());
        R.ReadListEnd();
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64: n.Int = R.ReadInt64(); break;
      case vaExtended:
      case vaSingle:
      case vaDate:
        R.ReadValue();
        n.Float = n.Type == vaExtended ? s->ReadExtended()
                  : n.Type == vaSingle ? static_cast<long double>(s->ReadSingle())
                                       : static_cast<long double>(s->ReadDouble());
        break;
      case vaCurrency:
        R.ReadValue();
        n.Int = s->ReadInt64();
        break;
      case vaString:
      case vaLString:
      case vaWString:
      case vaUTF8String: n.Str = R.ReadString(); break;
      case vaIdent:
        R.ReadValue();
        n.Str = R.ReadStr();
        break;
      case vaNull:
      case vaFalse:
      case vaTrue:
      case vaNil: R.ReadValue(); break;
      case vaBinary: {
        R.ReadValue();
        const int32_t len = s->ReadInteger();
        if (len < 0 || s->Position() + len > s->Size()) throw EReadError("Stream read error");
        n.Str = s->ReadString(len);
        break;
      }
      case vaSet:
        R.ReadValue();
        for (;;) {
          std::string e = R.ReadStr();
          if (e.empty()) break;
          n.Set.push_back(e);
        }
        break;
      case vaCollection:
        R.ReadValue();
        while (!R.EndOfList()) {
          TItemNode item;
          const TValueType t = R.NextValue();
          if (t == vaInt8 || t == vaInt16 || t == vaInt32) {
            item.HasOrder = true;
            item.Order = R.ReadInt64();
          }
          R.ReadListBegin();
          while (!R.EndOfList()) item.Props.push_back(Prop());
          R.ReadListEnd();
          n.Items.push_back(std::move(item));
        }
        R.ReadListEnd();
        break;
      default: throw EReadError("Invalid stream format");
    }
    return n;
  }

  TReader R;
  int Depth = 0;
};

// -- tree -> binary

class TBinWriter {
public:
  explicit TBinWriter(TStream& s) : W(&s) {}

  void Object(const TObjNode& o) {
    W.WritePrefix(o.Flags, static_cast<int>(o.Pos));
    W.WriteStr(o.ClassName);
    W.WriteStr(o.Name);
    for (const auto& p : o.Props) Prop(p);
    W.WriteListEnd();
    for (const auto& c : o.Children) Object(c);
    W.WriteListEnd();
  }
  TWriter W;

private:
  void Prop(const TNamedNode& p) {
    W.WriteStr(p.Name);
    Value(p.Value);
  }
  void Value(const TNode& n) {
    TStream* s = W.Stream();
    switch (n.Type) {
      case vaList:
        W.WriteListBegin();
        for (const auto& v : n.List) Value(v);
        W.WriteListEnd();
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64: W.WriteInteger(n.Int); break;
      case vaExtended: W.WriteFloat(n.Float); break;
      case vaSingle: W.WriteSingle(static_cast<float>(n.Float)); break;
      case vaDate: W.WriteDate(static_cast<double>(n.Float)); break;
      case vaCurrency:
        W.WriteValue(vaCurrency);
        s->WriteInt64(n.Int);
        break;
      case vaString:
      case vaLString: W.WriteString(n.Str); break;
      case vaWString: W.WriteWideString(n.Str); break;
      case vaUTF8String: W.WriteUTF8Str(n.Str); break;
      case vaIdent: W.WriteIdent(n.Str); break;
      case vaNull:
      case vaFalse:
      case vaTrue:
      case vaNil: W.WriteValue(n.Type); break;
      case vaBinary:
        W.WriteValue(vaBinary);
        s->WriteInteger(static_cast<int32_t>(n.Str.size()));
        s->WriteString(n.Str);
        break;
      case vaSet:
        W.WriteValue(vaSet);
        for (const auto& e : n.Set) W.WriteStr(e);
        W.WriteStr("");
        break;
      case vaCollection:
        W.WriteValue(vaCollection);
        for (const auto& item : n.Items) {
          if (item.HasOrder) W.WriteInteger(item.Order);
          W.WriteListBegin();
          for (const auto& p : item.Props) Prop(p);
          W.WriteListEnd();
        }
        W.WriteListEnd();
        break;
    }
  }
};

// -- tree -> text

class TTextWriter {
public:
  std::string Out;

  void Object(const TObjNode& o, int indent) {
    Pad(indent);
    Out += (o.Flags & ffInherited) ? "inherited " : (o.Flags & ffInline) ? "inline " : "object ";
    if (!o.Name.empty()) Out += o.Name + ": ";
    Out += o.ClassName;
    if (o.Flags & ffChildPos) Out += " [" + std::to_string(o.Pos) + "]";
    Out += "\n";
    for (const auto& p : o.Props) {
      Pad(indent + 2);
      Out += p.Name + " = ";
      Value(p.Value, indent + 2);
      Out += "\n";
    }
    for (const auto& c : o.Children) Object(c, indent + 2);
    Pad(indent);
    Out += "end\n";
  }

private:
  void Pad(int n) { Out.append(static_cast<size_t>(n), ' '); }

  void String(const std::string& s, int indent) {
    const std::vector<uint32_t> cps = Utf8CodePoints(s);
    if (cps.empty()) {
      Out += "''";
      return;
    }
    bool quoted = false;
    int lineLen = 0;
    for (size_t i = 0; i < cps.size(); ++i) {
      if (lineLen >= 64 && i < cps.size()) {
        if (quoted) Out += '\'';
        quoted = false;
        Out += " +\n";
        Pad(indent + 2);
        lineLen = 0;
      }
      const uint32_t cp = cps[i];
      if (cp >= 32 && cp < 127) {
        if (!quoted) {
          Out += '\'';
          quoted = true;
        }
        if (cp == '\'') Out += "''";
        else Out += static_cast<char>(cp);
      } else {
        if (quoted) Out += '\'';
        quoted = false;
        Out += "#" + std::to_string(cp);
      }
      ++lineLen;
    }
    if (quoted) Out += '\'';
  }

  void Value(const TNode& n, int indent) {
    switch (n.Type) {
      case vaList:
        Out += "(";
        for (const auto& v : n.List) {
          Out += "\n";
          Pad(indent + 2);
          Value(v, indent + 2);
        }
        Out += ")";
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64: Out += std::to_string(n.Int); break;
      case vaExtended: Out += ShortFloatText(n.Float); break;
      case vaSingle: Out += ShortFloatText(static_cast<float>(n.Float)) + "s"; break;
      case vaDate: Out += ShortFloatText(static_cast<double>(n.Float)) + "d"; break;
      case vaCurrency: {
        const int64_t whole = n.Int / 10000, frac = std::llabs(n.Int % 10000);
        char buf[40];
        std::snprintf(buf, sizeof buf, "%s%lld.%04lld", (n.Int < 0 && whole == 0) ? "-" : "",
                      static_cast<long long>(whole), static_cast<long long>(frac));
        Out += buf;
        Out += "c";
        break;
      }
      case vaString:
      case vaLString:
      case vaWString:
      case vaUTF8String: String(n.Str, indent); break;
      case vaIdent: Out += n.Str; break;
      case vaNull: Out += "Null"; break;
      case vaFalse: Out += "False"; break;
      case vaTrue: Out += "True"; break;
      case vaNil: Out += "nil"; break;
      case vaBinary: {
        static const char* hex = "0123456789ABCDEF";
        Out += "{";
        for (size_t i = 0; i < n.Str.size(); ++i) {
          if (i % 32 == 0) {
            Out += "\n";
            Pad(indent + 2);
          }
          const unsigned char b = static_cast<unsigned char>(n.Str[i]);
          Out += hex[b >> 4];
          Out += hex[b & 15];
        }
        Out += "}";
        break;
      }
      case vaSet:
        Out += "[";
        for (size_t i = 0; i < n.Set.size(); ++i) {
          if (i) Out += ", ";
          Out += n.Set[i];
        }
        Out += "]";
        break;
      case vaCollection:
        Out += "<";
        for (const auto& item : n.Items) {
          Out += "\n";
          Pad(indent + 2);
          Out += "item";
          if (item.HasOrder) Out += " [" + std::to_string(item.Order) + "]";
          Out += "\n";
          for (const auto& p : item.Props) {
            Pad(indent + 4);
            Out += p.Name + " = ";
            Value(p.Value, indent + 4);
            Out += "\n";
          }
          Pad(indent + 2);
          Out += "end";
        }
        Out += ">";
        break;
    }
  }
};

// -- text -> tree

class TTextParser {
public:
  explicit TTextParser(std::string text) : S(std::move(text)) {}

  TObjNode Object() {
    TDepth depth(Depth);
    if (depth.TooDeep()) Fail("Objects nested too deeply");
    TObjNode o;
    const std::string kw = Ident();
    if (SameName(kw, "inherited")) o.Flags |= ffInherited;
    else if (SameName(kw, "inline")) o.Flags |= ffInline;
    else if (!SameName(kw, "object")) Fail("'object' expected");
    std::string first = Ident();
    SkipBlanks();
    if (Peek() == ':') {
      ++P;
      o.Name = first;
      o.ClassName = Ident();
    } else {
      o.ClassName = first;
    }
    SkipBlanks();
    if (Peek() == '[') {
      ++P;
      o.Flags |= ffChildPos;
      o.Pos = Integer();
      if (o.Pos < INT32_MIN || o.Pos > INT32_MAX) Fail("Integer out of range");
      Expect(']');
    }
    for (;;) {
      SkipBlanks();
      if (P >= S.size()) Fail("'end' expected");
      const size_t save = P;
      const std::string word = Ident();
      if (SameName(word, "end")) break;
      if (SameName(word, "object") || SameName(word, "inherited") || SameName(word, "inline")) {
        P = save;
        o.Children.push_back(Object());
        continue;
      }
      TNamedNode p;
      p.Name = word;
      Expect('=');
      p.Value = Value();
      o.Props.push_back(std::move(p));
    }
    return o;
  }

private:
  [[noreturn]] void Fail(const std::string& what) {
    int line = 1;
    for (size_t i = 0; i < P && i < S.size(); ++i)
      if (S[i] == '\n') ++line;
    throw EParserError(what + " on line " + std::to_string(line));
  }
  char Peek() const { return P < S.size() ? S[P] : '\0'; }
  void SkipBlanks() {
    while (P < S.size() && static_cast<unsigned char>(S[P]) <= ' ') ++P;
  }
  void Expect(char c) {
    SkipBlanks();
    if (Peek() != c) Fail(std::string("'") + c + "' expected");
    ++P;
  }
  static bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }
  std::string Ident() {
    SkipBlanks();
    const size_t b = P;
    if (!(std::isalpha(static_cast<unsigned char>(Peek())) || Peek() == '_')) Fail("Identifier expected");
    while (P < S.size() && IdentChar(S[P])) ++P;
    return S.substr(b, P - b);
  }
  int64_t Integer() {
    SkipBlanks();
    const size_t b = P;
    if (Peek() == '-' || Peek() == '+') ++P;
    const size_t digits = P;
    while (std::isdigit(static_cast<unsigned char>(Peek()))) ++P;
    if (digits == P) Fail("Integer expected");
    errno = 0;
    const int64_t v = std::strtoll(S.substr(b, P - b).c_str(), nullptr, 10);
    if (errno) Fail("Integer out of range");
    return v;
  }

  std::string StringPart() {
    // 'abc''d'#13#10'x' ... up to a character that continues neither.
    std::string r;
    for (;;) {
      if (Peek() == '\'') {
        ++P;
        for (;;) {
          if (P >= S.size() || S[P] == '\n') Fail("Unterminated string");
          if (S[P] == '\'') {
            if (P + 1 < S.size() && S[P + 1] == '\'') {
              r += '\'';
              P += 2;
              continue;
            }
            ++P;
            break;
          }
          r += S[P++];
        }
      } else if (Peek() == '#') {
        ++P;
        const bool hex = Peek() == '$';
        if (hex) ++P;
        const size_t b = P;
        while (hex ? std::isxdigit(static_cast<unsigned char>(Peek())) : std::isdigit(static_cast<unsigned char>(Peek())))
          ++P;
        if (P == b) Fail("Character code expected");
        // Leading zeros aside, no code point needs more than seven digits.
        size_t first = b;
        while (first + 1 < P && S[first] == '0') ++first;
        const unsigned long long cp = P - first > 7 ? ~0ull : std::strtoull(S.substr(first, P - first).c_str(), nullptr, hex ? 16 : 10);
        if (cp > 0x10FFFF) Fail("Invalid character code");
        AppendUtf8(r, static_cast<uint32_t>(cp));
      } else {
        break;
      }
    }
    return r;
  }

  TNode Value() {
    SkipBlanks();
    TNode n;
    const char c = Peek();
    if (c == '\'' || c == '#') {
      std::string s = StringPart();
      for (;;) {
        const size_t save = P;
        SkipBlanks();
        if (Peek() == '+') {
          ++P;
          SkipBlanks();
          if (Peek() == '\'' || Peek() == '#') {
            s += StringPart();
            continue;
          }
          Fail("String expected");
        }
        P = save;
        break;
      }
      std::string bytes;
      n.Type = Utf8ToCp1252(s, bytes) ? (bytes.size() <= 255 ? vaString : vaLString) : vaWString;
      n.Str = s;
      return n;
    }
    if (c == '-' || c == '+' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) return Number();
    TDepth depth(Depth);
    if (depth.TooDeep()) Fail("Values nested too deeply");
    if (c == '(') {
      ++P;
      n.Type = vaList;
      for (;;) {
        SkipBlanks();
        if (Peek() == ')') {
          ++P;
          break;
        }
        if (P >= S.size()) Fail("')' expected");
        n.List.push_back(Value());
      }
      return n;
    }
    if (c == '[') {
      ++P;
      n.Type = vaSet;
      SkipBlanks();
      if (Peek() == ']') {
        ++P;
        return n;
      }
      for (;;) {
        n.Set.push_back(Ident());
        SkipBlanks();
        if (Peek() == ',') {
          ++P;
          continue;
        }
        Expect(']');
        break;
      }
      return n;
    }
    if (c == '{') {
      ++P;
      n.Type = vaBinary;
      int half = -1;
      for (;;) {
        SkipBlanks();
        const char h = Peek();
        if (h == '}') {
          ++P;
          break;
        }
        if (!std::isxdigit(static_cast<unsigned char>(h))) Fail("Hexadecimal digit expected");
        ++P;
        const int v = std::isdigit(static_cast<unsigned char>(h)) ? h - '0' : (std::toupper(h) - 'A' + 10);
        if (half < 0) half = v;
        else {
          n.Str += static_cast<char>(half * 16 + v);
          half = -1;
        }
      }
      if (half >= 0) Fail("Odd number of hexadecimal digits");
      return n;
    }
    if (c == '<') {
      ++P;
      n.Type = vaCollection;
      for (;;) {
        SkipBlanks();
        if (Peek() == '>') {
          ++P;
          break;
        }
        TItemNode item;
        if (Peek() == '[') {
          ++P;
          item.HasOrder = true;
          item.Order = Integer();
          Expect(']');
        }
        if (!SameName(Ident(), "item")) Fail("'item' expected");
        SkipBlanks();
        if (Peek() == '[') {
          ++P;
          item.HasOrder = true;
          item.Order = Integer();
          Expect(']');
        }
        for (;;) {
          const std::string word = Ident();
          if (SameName(word, "end")) break;
          TNamedNode p;
          p.Name = word;
          Expect('=');
          p.Value = Value();
          item.Props.push_back(std::move(p));
        }
        n.Items.push_back(std::move(item));
      }
      return n;
    }
    const std::string id = Ident();
    if (SameName(id, "False")) n.Type = vaFalse;
    else if (SameName(id, "True")) n.Type = vaTrue;
    else if (SameName(id, "nil")) n.Type = vaNil;
    else if (SameName(id, "Null")) n.Type = vaNull;
    else {
      n.Type = vaIdent;
      n.Str = id;
    }
    return n;
  }

  TNode Number() {
    TNode n;
    const size_t b = P;
    if (Peek() == '-' || Peek() == '+') ++P;
    if (Peek() == '$') {
      ++P;
      const size_t h = P;
      while (std::isxdigit(static_cast<unsigned char>(Peek()))) ++P;
      if (h == P) Fail("Number expected");
      size_t first = h;
      while (first + 1 < P && S[first] == '0') ++first;
      if (P - first > 16) Fail("Integer out of range");
      const uint64_t u = std::strtoull(S.substr(first, P - first).c_str(), nullptr, 16);
      int64_t v = (P - h) <= 8 ? static_cast<int32_t>(static_cast<uint32_t>(u)) : static_cast<int64_t>(u);
      if (S[b] == '-') {
        if (v == INT64_MIN) Fail("Integer out of range");
        v = -v;
      }
      n.Type = vaInt32;
      n.Int = v;
      return n;
    }
    bool isFloat = false;
    while (P < S.size()) {
      const char c = S[P];
      if (std::isdigit(static_cast<unsigned char>(c))) ++P;
      else if (c == '.') { isFloat = true; ++P; }
      else if ((c == 'E' || c == 'e') && P + 1 < S.size() &&
               (std::isdigit(static_cast<unsigned char>(S[P + 1])) || S[P + 1] == '-' || S[P + 1] == '+')) {
        isFloat = true;
        P += 2;
      } else break;
    }
    std::string text = S.substr(b, P - b);
    if (text.empty() || text == "-" || text == "+") {
      // INF / NAN
      const size_t save = P;
      if (std::isalpha(static_cast<unsigned char>(Peek()))) {
        const std::string w = Ident();
        if (SameName(w, "INF") || SameName(w, "NAN")) {
          n.Type = vaExtended;
          n.Float = SameName(w, "NAN") ? NAN : (text == "-" ? -INFINITY : INFINITY);
          return n;
        }
      }
      P = save;
      Fail("Number expected");
    }
    const char suffix = static_cast<char>(std::tolower(static_cast<unsigned char>(Peek())));
    if (suffix == 's' || suffix == 'c' || suffix == 'd') {
      ++P;
      isFloat = true;
    }
    if (!isFloat) {
      errno = 0;
      n.Int = std::strtoll(text.c_str(), nullptr, 10);
      if (errno) Fail("Integer out of range");
      n.Type = vaInt64;
      return n;
    }
    const long double v = TextFloat(text);
    if (suffix == 's') n.Type = vaSingle;
    else if (suffix == 'd') n.Type = vaDate;
    else if (suffix == 'c') {
      n.Type = vaCurrency;
      if (std::fabs(v * 10000.0L) >= 9223372036854775807.0L) Fail("Number out of range");
      n.Int = static_cast<int64_t>(std::llroundl(v * 10000.0L));
      return n;
    } else n.Type = vaExtended;
    if (!FitsFloat(v, n.Type == vaSingle ? ftSingle : n.Type == vaDate ? ftDateTime : ftExtended))
      Fail("Number out of range");
    n.Float = v;
    return n;
  }

  // The number at the start of `text` (digits, point, exponent; never the
  // process locale's comma). Too large fails; too small reads as zero.
  long double TextFloat(const std::string& text) {
    const char* b = text.data();
    const char* e = b + text.size();
    if (*b == '+') ++b;
    long double v = 0;
    const auto res = std::from_chars(b, e, v, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
      const size_t x = text.find_first_of("Ee");
      if (x == std::string::npos || x + 1 >= text.size() || text[x + 1] != '-') Fail("Number out of range");
      return text[0] == '-' ? -0.0L : 0.0L;
    }
    if (res.ec != std::errc()) Fail("Number expected");
    return v;
  }

  std::string S;
  size_t P = 0;
  int Depth = 0;
};

}  // namespace

void ObjectBinaryToText(TStream& Input, TStream& Output) {
  TReader sig(&Input);
  sig.ReadSignature();
  TBinParser parser(Input);
  const TObjNode root = parser.Object();
  TTextWriter w;
  w.Object(root, 0);
  Output.WriteString(w.Out);
}

void ObjectTextToBinary(TStream& Input, TStream& Output) {
  std::string text;
  const int64_t n = Input.Size() - Input.Position();
  if (n > 0) text = Input.ReadString(n);
  // A UTF-8 byte-order mark is not part of the text.
  if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  TTextParser parser(text);
  const TObjNode root = parser.Object();
  TBinWriter w(Output);
  w.W.WriteSignature();
  w.Object(root);
}
