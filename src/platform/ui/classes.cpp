#include "platform/ui/classes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/gfx/bitmap.h"
#include "platform/ui/streaming.h"

namespace {

std::string Upper(const std::string& s) {
  std::string r = s;
  for (char& c : r) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return r;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && Upper(a) == Upper(b);
}

std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

// ---------------------------------------------------------------------------
// Enumerations and properties

std::string TEnumInfo::NameOf(int64_t value) const {
  const int64_t i = value - MinValue;
  if (i >= 0 && i < static_cast<int64_t>(Names.size())) return Names[static_cast<size_t>(i)];
  return std::to_string(value);
}

bool TEnumInfo::ValueOf(const std::string& name, int64_t& value) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameName(Names[i], name)) {
      value = MinValue + static_cast<int64_t>(i);
      return true;
    }
  return false;
}

const TEnumInfo& BooleanEnumInfo() {
  static const TEnumInfo info{"Boolean", {"False", "True"}, 0};
  return info;
}

TClassInfo::TClassInfo(std::string name, TClass parent, TDeclare declare)
    : FName(std::move(name)), FParent(parent), FDeclare(declare) {}

bool TClassInfo::InheritsFrom(TClass other) const {
  for (TClass c = this; c; c = c->FParent)
    if (c == other) return true;
  return false;
}

void TClassInfo::EnsureDeclared() const {
  if (FDeclared) return;
  FDeclared = true;
  if (FDeclare) FDeclare(const_cast<TClassInfo&>(*this));
}

TPropInfo& TClassInfo::Add(std::string name, TTypeKind kind) {
  FDeclared = true;  // declaring from inside DeclareProperties
  auto p = std::make_unique<TPropInfo>();
  p->Name = std::move(name);
  p->Kind = kind;
  // A redeclared name replaces the inherited entry in lookups (and keeps the
  // inherited position in the streaming order).
  FProps.push_back(std::move(p));
  FIndexed = false;
  return *FProps.back();
}

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  EnsureDeclared();
  std::vector<const TPropInfo*> result;
  if (FParent) result = FParent->Properties();
  for (const auto& p : FProps) {
    bool replaced = false;
    for (auto& r : result)
      if (SameName(r->Name, p->Name)) {
        r = p.get();
        replaced = true;
        break;
      }
    if (!replaced) result.push_back(p.get());
  }
  return result;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& name) const {
  EnsureDeclared();
  if (!FIndexed) {
    FIndex.clear();
    for (const TPropInfo* p : Properties()) FIndex[Upper(p->Name)] = p;
    FIndexed = true;
  }
  auto it = FIndex.find(Upper(name));
  return it == FIndex.end() ? nullptr : it->second;
}

std::string SetToString(const TEnumInfo& info, uint64_t bits, bool brackets) {
  std::string r;
  for (size_t i = 0; i < info.Names.size() && i < 64; ++i)
    if (bits & (uint64_t(1) << i)) {
      if (!r.empty()) r += ',';
      r += info.Names[i];
    }
  return brackets ? "[" + r + "]" : r;
}

uint64_t StringToSet(const TEnumInfo& info, const std::string& text) {
  std::string t = Trimmed(text);
  if (!t.empty() && t.front() == '[') {
    if (t.back() != ']') throw EPropertyConvertError("Invalid property value");
    t = t.substr(1, t.size() - 2);
  }
  uint64_t bits = 0;
  size_t start = 0;
  while (start <= t.size()) {
    size_t comma = t.find(',', start);
    std::string name = Trimmed(t.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!name.empty()) {
      int64_t v;
      if (!info.ValueOf(name, v)) throw EPropertyConvertError("Invalid property element: " + name);
      bits |= uint64_t(1) << (v - info.MinValue);
    }
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return bits;
}

namespace {
std::map<std::string, std::unique_ptr<TClassInfo>>& ForeignClassMap() {
  static std::map<std::string, std::unique_ptr<TClassInfo>> m;
  return m;
}

// A published picture streams its graphic as the binary property "Data".
void DefinePicture(TObject* instance, TFiler* filer) {
  auto* picture = dynamic_cast<TPicture*>(instance);
  if (!picture) return;
  filer->DefineBinaryProperty(
      "Data", [picture](TStream* s) { picture->ReadData(*s); }, [picture](TStream* s) { picture->WriteData(*s); },
      picture->HasData());
}

TClassInfo& PictureClassInfo() {
  static TClassInfo& info = []() -> TClassInfo& {
    TClassInfo& c = RegisterForeignClass<TPicture>("TPicture", nullptr, nullptr);
    c.DefineProperties = &DefinePicture;
    return c;
  }();
  return info;
}

std::map<std::string, std::unique_ptr<TClassInfo>>& ForeignClasses() {
  static const bool standard = (RegisterStandardDescriptions(), PictureClassInfo(), true);
  (void)standard;
  return ForeignClassMap();
}
}  // namespace

TClassInfo& RegisterForeignClass(const std::type_info& type, const std::string& name, TClass parent,
                                 TClassInfo::TDeclare declare) {
  auto& slot = ForeignClassMap()[type.name()];
  if (!slot) slot = std::make_unique<TClassInfo>(name, parent, declare);
  return *slot;
}

const TClassInfo* GetClassInfo(const TObject* instance) {
  if (!instance) return nullptr;
  if (auto* p = dynamic_cast<const TPersistent*>(instance)) return p->ClassType();
  auto& m = ForeignClasses();
  auto it = m.find(typeid(*instance).name());
  if (it != m.end()) return it->second.get();
  if (const TClassInfo* base = DescribeByBase(instance)) return base;
  // Pictures of classes that describe nothing of their own.
  if (dynamic_cast<const TPicture*>(instance)) return &PictureClassInfo();
  return nullptr;
}

void DefineObjectProperties(TObject* instance, TFiler* filer) {
  if (auto* p = dynamic_cast<TPersistent*>(instance)) {
    p->DefineProperties(filer);
    return;
  }
  for (const TClassInfo* c = GetClassInfo(instance); c; c = c->Parent())
    if (c->DefineProperties) {
      c->DefineProperties(instance, filer);
      return;
    }
}

const TPropInfo* GetPropInfo(const TObject* instance, const std::string& name) {
  const TClassInfo* info = GetClassInfo(instance);
  return info ? info->FindProperty(name) : nullptr;
}

namespace {
const TPropInfo& NeedProp(const TObject* instance, const std::string& name) {
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p) throw EPropertyError("Property " + name + " does not exist");
  return *p;
}
[[noreturn]] void ReadOnly(const std::string& name) { throw EPropertyError("Property " + name + " is read-only"); }
}  // namespace

bool IsPublishedProp(const TObject* instance, const std::string& name) {
  return GetPropInfo(instance, name) != nullptr;
}

TTypeKind PropType(const TObject* instance, const std::string& name) { return NeedProp(instance, name).Kind; }

int64_t GetOrdProp(TObject* instance, const std::string& name) {
  const TPropInfo& p = NeedProp(instance, name);
  if (!p.GetOrd) throw EPropertyError("Invalid property type: " + name);
  return p.GetOrd(instance);
}

void SetOrdProp(TObject* instance, const std::string& name, int64_t value) {
  const TPropInfo& p = NeedProp(instance, name);
  if (!p.GetOrd) throw EPropertyError("Invalid property type: " + name);
  if (!p.SetOrd) ReadOnly(name);
  p.SetOrd(instance, value);
}

long double GetFloatProp(TObject* instance, const std::string& name) {
  const TPropInfo& p = NeedProp(instance, name);
  if (!p.GetFloat) throw EPropertyError("Invalid property type: " + name);
  return p.GetFloat(instance);
}

void SetFloatProp(TObject* instance, const std::string& name, long double value) {
  const TPropInfo& p = NeedProp(instance, name);
  if (!p.GetFloat) throw EPropertyError("Invalid property type: " + name);
  if (!p.SetFloat) ReadOnly(name);
  p.SetFloat(instance, value);
}

std::string GetStrProp(TObject* instance, const std::string& name) {
  const TPropInfo& p = NeedProp(instance, name);
  if (!p.GetStr) throw EPropertyError("Invalid property type: " + name);
  return p.GetStr(instance);
}

void SetStrProp(TObject* instance, const std::string& name, const std::string& value) {
  const TPropInfo& p = NeedProp(instance, name);
  if (!p.GetStr) throw EPropertyError("Invalid property type: " + name);
  if (!p.SetStr) ReadOnly(name);
  p.SetStr(instance, value);
}

std::string GetEnumProp(TObject* instance, const std::string& name) {
  const TPropInfo& p = NeedProp(instance, name);
  if (p.Kind != tkEnumeration) throw EPropertyError("Invalid property type: " + name);
  return p.Enum->NameOf(p.GetOrd(instance));
}

void SetEnumProp(TObject* instance, const std::string& name, const std::string& value) {
  const TPropInfo& p = NeedProp(instance, name);
  if (p.Kind != tkEnumeration) throw EPropertyError("Invalid property type: " + name);
  int64_t v;
  if (!p.Enum->ValueOf(Trimmed(value), v)) throw EPropertyConvertError("Invalid property element: " + value);
  if (!p.SetOrd) ReadOnly(name);
  p.SetOrd(instance, v);
}

std::string GetSetProp(TObject* instance, const std::string& name, bool brackets) {
  const TPropInfo& p = NeedProp(instance, name);
  if (p.Kind != tkSet) throw EPropertyError("Invalid property type: " + name);
  return SetToString(*p.Enum, static_cast<uint64_t>(p.GetOrd(instance)), brackets);
}

void SetSetProp(TObject* instance, const std::string& name, const std::string& value) {
  const TPropInfo& p = NeedProp(instance, name);
  if (p.Kind != tkSet) throw EPropertyError("Invalid property type: " + name);
  const uint64_t bits = StringToSet(*p.Enum, value);
  if (!p.SetOrd) ReadOnly(name);
  p.SetOrd(instance, static_cast<int64_t>(bits));
}

TObject* GetObjectProp(TObject* instance, const std::string& name) {
  const TPropInfo& p = NeedProp(instance, name);
  if (p.Kind != tkClass) throw EPropertyError("Invalid property type: " + name);
  return p.GetObj(instance);
}

void SetObjectProp(TObject* instance, const std::string& name, TObject* value) {
  const TPropInfo& p = NeedProp(instance, name);
  if (p.Kind != tkClass) throw EPropertyError("Invalid property type: " + name);
  if (!p.SetObj) ReadOnly(name);
  p.SetObj(instance, value);
}

namespace {
// The fewest digits from 15 up that read back to the same value; to_chars and
// from_chars keep the point whatever the process locale.
std::string FloatText(long double v) {
  char buf[64];
  std::to_chars_result res{};
  for (int prec = 15; prec <= 21; ++prec) {
    res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, prec);
    long double back = 0;
    std::from_chars(buf, res.ptr, back);
    if (back == v) break;
  }
  return std::string(buf, res.ptr);
}

// The whole text as a number with a point, an optional sign and exponent, or
// INF/NAN; a value beyond the type's range is refused.
bool ReadFloatText(const std::string& t, long double& v) {
  const char* b = t.data();
  const char* e = b + t.size();
  if (b < e && *b == '+' && b + 1 < e && b[1] != '-') ++b;
  const auto res = std::from_chars(b, e, v, std::chars_format::general);
  return b < e && res.ec == std::errc() && res.ptr == e;
}
}  // namespace

std::string GetPropValue(TObject* instance, const std::string& name) {
  const TPropInfo& p = NeedProp(instance, name);
  switch (p.Kind) {
    case tkInteger:
    case tkInt64: {
      const int64_t v = p.GetOrd(instance);
      std::string ident;
      if (p.Idents && p.Idents->ToIdent && p.Idents->ToIdent(v, ident)) return ident;
      return std::to_string(v);
    }
    case tkChar: return std::string(1, static_cast<char>(p.GetOrd(instance)));
    case tkEnumeration: return p.Enum->NameOf(p.GetOrd(instance));
    case tkSet: return SetToString(*p.Enum, static_cast<uint64_t>(p.GetOrd(instance)), false);
    case tkFloat: return FloatText(p.GetFloat(instance));
    case tkString: return p.GetStr(instance);
    case tkClass: {
      TObject* o = p.GetObj(instance);
      if (!o) return "";
      if (auto* c = dynamic_cast<TComponent*>(o)) return c->Name();
      return o->ClassName();
    }
    default: throw EPropertyError("Invalid property type: " + name);
  }
}

void SetPropValue(TObject* instance, const std::string& name, const std::string& value) {
  const TPropInfo& p = NeedProp(instance, name);
  if (!p.Writable()) ReadOnly(name);
  switch (p.Kind) {
    case tkInteger:
    case tkInt64: {
      int64_t v = 0;
      const std::string t = Trimmed(value);
      if (p.Idents && p.Idents->FromIdent && p.Idents->FromIdent(t, v)) {
        p.SetOrd(instance, v);
        return;
      }
      char* end = nullptr;
      errno = 0;
      if (!t.empty() && t[0] == '$') v = static_cast<int64_t>(std::strtoull(t.c_str() + 1, &end, 16));
      else v = std::strtoll(t.c_str(), &end, 10);
      if (t.empty() || *end != '\0' || errno) throw EPropertyConvertError("'" + value + "' is not a valid integer value");
      if (p.Kind == tkInteger && (v < INT32_MIN || v > INT32_MAX) && !(t[0] == '$' && v <= UINT32_MAX))
        throw EPropertyConvertError("'" + value + "' is not a valid integer value");
      p.SetOrd(instance, p.Kind == tkInteger ? static_cast<int32_t>(v) : v);
      return;
    }
    case tkChar:
      if (value.size() != 1) throw EPropertyConvertError("Invalid property value");
      p.SetOrd(instance, static_cast<unsigned char>(value[0]));
      return;
    case tkEnumeration: SetEnumProp(instance, name, value); return;
    case tkSet: SetSetProp(instance, name, value); return;
    case tkFloat: {
      const std::string t = Trimmed(value);
      long double v = 0;
      if (!ReadFloatText(t, v)) throw EPropertyConvertError("'" + value + "' is not a valid floating point value");
      p.SetFloat(instance, v);
      return;
    }
    case tkString: p.SetStr(instance, value); return;
    default: throw EPropertyError("Invalid property type: " + name);
  }
}

bool IsDefaultPropertyValue(TObject* instance, const TPropInfo& prop) {
  switch (prop.Kind) {
    case tkInteger:
    case tkChar:
    case tkEnumeration:
    case tkSet:
    case tkInt64:
      return prop.Default != NoDefault && prop.GetOrd(instance) == prop.Default;
    case tkFloat: {
      // Compare in the property's own precision: a double default of 0.1 is not the extended 0.1.
      const long double v = prop.GetFloat(instance), d = prop.FloatDefault.value_or(0.0L);
      switch (prop.FloatType) {
        case ftSingle: return static_cast<float>(v) == static_cast<float>(d);
        case ftDouble:
        case ftDateTime: return static_cast<double>(v) == static_cast<double>(d);
        case ftCurr: return std::llround(static_cast<double>(v) * 10000.0) == std::llround(static_cast<double>(d) * 10000.0);
        default: return v == d;
      }
    }
    case tkString: return prop.GetStr(instance) == prop.StrDefault.value_or(std::string());
    case tkClass: return prop.GetObj(instance) == nullptr;
    case tkMethod: return !prop.HasMethod || !prop.HasMethod(instance);
    default: return true;
  }
}

// ---------------------------------------------------------------------------
// TPersistent

TClassInfo& TPersistent::StaticClass() {
  static TClassInfo info("TPersistent", nullptr, nullptr);
  return info;
}

std::string TPersistent::ClassName() const { return ClassType()->Name(); }

void TPersistent::Assign(TPersistent* Source) {
  if (Source) Source->AssignTo(this);
  else AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  const std::string sourceName = Source ? Source->ClassName() : std::string("nil");
  throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}

void TPersistent::DefineProperties(TFiler*) {}

std::string TPersistent::GetNamePath() const {
  std::string s = ClassName();
  if (TPersistent* owner = GetOwner()) {
    const std::string path = owner->GetNamePath();
    if (!path.empty()) s = path + "." + s;
  }
  return s;
}

// ---------------------------------------------------------------------------
// TComponent

ZV_CLASS_IMPL(TComponent, TPersistent)

void TComponent::DeclareProperties(TClassInfo& c) {
  c.String<TComponent>("Name", [](TComponent* o) { return o->Name(); }, [](TComponent* o, const std::string& v) { o->SetName(v); })
      .WithStored([](TObject*) { return false; });  // the header of each object carries the name
  c.Integer<TComponent>("Tag", [](TComponent* o) { return static_cast<int64_t>(o->Tag()); },
                        [](TComponent* o, int v) { o->SetTag(v); }, 0);
}

bool IsValidIdent(const std::string& Ident, bool AllowDots) {
  if (Ident.empty()) return false;
  auto alpha = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
  auto alnum = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
  if (!alpha(Ident[0])) return false;
  for (size_t i = 1; i < Ident.size(); ++i) {
    const char c = Ident[i];
    if (c == '.' && AllowDots) {
      if (i + 1 >= Ident.size() || !alpha(Ident[i + 1])) return false;
      continue;
    }
    if (!alnum(c)) return false;
  }
  return true;
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell every component that asked to be notified.
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    auto& theirs = c->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    c->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& list = FOwner->FComponents;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int index) {
  if (!FOwner) return;
  auto& list = FOwner->FComponents;
  const int cur = ComponentIndex();
  if (cur < 0) return;
  index = std::clamp(index, 0, static_cast<int>(list.size()) - 1);
  list.erase(list.begin() + cur);
  list.insert(list.begin() + index, this);
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameName(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  ValidateRename(AComponent, "", AComponent->FName);
  ValidateInsert(AComponent);
  Insert(AComponent);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  AComponent->FOwner = nullptr;
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Remove(c);
    delete c;
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* c : FComponents) c->Destroying();
}

void TComponent::ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName) {
  if (!AComponent || NewName.empty() || SameName(CurName, NewName)) return;
  TComponent* other = FindComponent(NewName);
  if (other && other != AComponent) throw EComponentError("A component named " + NewName + " already exists");
}

void TComponent::SetName(const std::string& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner) FOwner->ValidateRename(this, FName, NewName);
  ChangeName(NewName);
}

void TComponent::SetSubComponent(bool value) {
  if (value) FComponentStyle.Include(csSubComponent);
  else FComponentStyle.Exclude(csSubComponent);
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  if (value) FComponentState.Include(csDesigning);
  else FComponentState.Exclude(csDesigning);
  if (setChildren)
    for (TComponent* c : FComponents) c->SetDesigning(value);
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  RemoveNotification(AComponent);
  if (AComponent) AComponent->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Walk backwards; a handler may free components of this list.
  for (int i = ComponentCount() - 1; i >= 0; --i) {
    if (i >= ComponentCount()) {
      i = ComponentCount();
      continue;
    }
    FComponents[static_cast<size_t>(i)]->Notification(AComponent, Operation);
  }
}

TPersistent* TComponent::GetOwner() const { return FOwner; }

std::string TComponent::GetNamePath() const { return FName; }

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::ReadState(TReader* Reader) { Reader->ReadData(this); }

void TComponent::WriteState(TWriter* Writer) { Writer->WriteData(this); }

std::any TComponent::MethodAddress(const std::string&) const { return {}; }

void TComponent::DefineProperties(TFiler* Filer) { TPersistent::DefineProperties(Filer); }

void TComponent::SetLoadingState(bool loading) {
  if (loading) FComponentState.Include(csLoading);
  else FComponentState.Exclude(csLoading);
}
void TComponent::SetReadingState(bool reading) {
  if (reading) FComponentState.Include(csReading);
  else FComponentState.Exclude(csReading);
}
void TComponent::SetWritingState(bool writing) {
  if (writing) FComponentState.Include(csWriting);
  else FComponentState.Exclude(csWriting);
}
void TComponent::SetAncestorState(bool ancestor) {
  if (ancestor) FComponentState.Include(csAncestor);
  else FComponentState.Exclude(csAncestor);
}
void TComponent::SetInlineState(bool inlined) {
  if (inlined) FComponentState.Include(csInline);
  else FComponentState.Exclude(csInline);
}

// ---------------------------------------------------------------------------
// Collections

ZV_CLASS_IMPL_NOPROPS(TCollectionItem, TPersistent)

TCollectionItem::TCollectionItem(TCollection* Collection) { SetCollection(Collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& items = FCollection->FItems;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int Value) {
  const int cur = Index();
  if (cur < 0 || cur == Value || Value < 0) return;
  auto& items = FCollection->FItems;
  Value = std::min(Value, static_cast<int>(items.size()) - 1);
  items.erase(items.begin() + cur);
  items.insert(items.begin() + Value, this);
  Changed(true);
}

std::string TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const std::string&) { Changed(false); }

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

std::string TCollectionItem::GetNamePath() const {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

ZV_CLASS_IMPL_NOPROPS(TCollection, TPersistent)

TCollection::TCollection(TClass ItemClass) : FItemClass(ItemClass) {}

TCollection::~TCollection() {
  FUpdateCount = 1;  // no updates while dying
  OnUpdate = nullptr;
  while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::Add() {
  if (!FItemClass || !FItemClass->CreateItem)
    throw EComponentError("Cannot create an item of class " + (FItemClass ? FItemClass->Name() : std::string("nil")));
  TCollectionItem* item = FItemClass->CreateItem(this);
  Added(item);
  return item;
}

TCollectionItem* TCollection::Insert(int Index) {
  TCollectionItem* item = Add();
  item->SetIndex(Index);
  return item;
}

void TCollection::Delete(int Index) {
  TCollectionItem* item = Items(Index);
  Notify(item, cnDeleting);
  delete item;
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  BeginUpdate();
  try {
    while (!FItems.empty()) delete FItems.back();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int ID) const {
  for (TCollectionItem* i : FItems)
    if (i->FID == ID) return i;
  return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem* Item) {
  if (OnUpdate) OnUpdate(this, Item);
}

void TCollection::Notify(TCollectionItem* Item, TCollectionNotification Action) {
  if (Action == cnDeleting) Deleting(Item);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
  Item->FCollection = nullptr;
  Changed();
}

void TCollection::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TCollection*>(Source)) {
    BeginUpdate();
    try {
      Clear();
      for (TCollectionItem* item : src->FItems) Add()->Assign(item);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

std::string TCollection::GetNamePath() const {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  const std::string path = owner->GetNamePath();
  if (path.empty()) return ClassName();
  // The property of the owner that holds this collection.
  for (const TPropInfo* p : owner->ClassType()->Properties())
    if (p->Kind == tkClass && p->GetObj(owner) == this) return path + "." + p->Name;
  return path + "." + ClassName();
}

ZV_CLASS_IMPL_NOPROPS(TOwnedCollection, TCollection)

// ---------------------------------------------------------------------------
// Class registry

namespace {

struct TClassGroup {
  std::vector<TClass> GroupClasses;
  std::vector<std::pair<std::string, TClass>> Classes;  // registered name (or alias), class
  bool Active = false;

  bool InGroup(TClass c) const {
    for (TClass g : GroupClasses)
      if (c->InheritsFrom(g)) return true;
    return false;
  }
  // How closely the group claims c: the depth of the nearest group class.
  int Claim(TClass c) const {
    int best = -1;
    for (TClass g : GroupClasses) {
      if (!c->InheritsFrom(g)) continue;
      int depth = 0;
      for (TClass p = g; p; p = p->Parent()) ++depth;
      best = std::max(best, depth);
    }
    return best;
  }
  TClass Find(const std::string& name) const {
    for (auto& [n, c] : Classes)
      if (SameName(n, name)) return c;
    return nullptr;
  }
};

struct TRegistry {
  std::vector<std::unique_ptr<TClassGroup>> Groups;
  TClass ActiveClass = nullptr;
  TRegistry() {
    auto g = std::make_unique<TClassGroup>();
    g->GroupClasses.push_back(&TPersistent::StaticClass());
    g->Active = true;
    Groups.push_back(std::move(g));
    ActiveClass = &TPersistent::StaticClass();
  }
  TClassGroup* GroupFor(TClass c) {
    TClassGroup* best = nullptr;
    int claim = -1;
    for (auto& g : Groups) {
      const int k = g->Claim(c);
      if (k > claim) {
        claim = k;
        best = g.get();
      }
    }
    return best;
  }
  TClass FindAny(const std::string& name) const {
    for (auto& g : Groups)
      if (TClass c = g->Find(name)) return c;
    return nullptr;
  }
};

TRegistry& Registry() {
  static TRegistry r;
  return r;
}

void RegisterUnder(TClass AClass, const std::string& name) {
  TRegistry& r = Registry();
  if (TClass existing = r.FindAny(name)) {
    if (existing == AClass) return;
    throw EFilerError("A class named " + name + " already exists");
  }
  r.GroupFor(AClass)->Classes.emplace_back(name, AClass);
}

}  // namespace

void RegisterClass(TClass AClass) {
  if (!AClass) return;
  // The class library registers the ancestors too, up to TPersistent.
  for (TClass c = AClass; c && c != &TPersistent::StaticClass(); c = c->Parent()) {
    if (Registry().FindAny(c->Name()) == c) break;
    RegisterUnder(c, c->Name());
  }
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass c : Classes) RegisterClass(c);
}

void RegisterClassAlias(TClass AClass, const std::string& Alias) { RegisterUnder(AClass, Alias); }

void UnRegisterClass(TClass AClass) {
  for (auto& g : Registry().Groups) {
    auto& v = g->Classes;
    v.erase(std::remove_if(v.begin(), v.end(), [&](const auto& e) { return e.second == AClass; }), v.end());
  }
}

void UnRegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass c : Classes) UnRegisterClass(c);
}

TClass GetClass(const std::string& ClassName) {
  for (auto& g : Registry().Groups)
    if (g->Active)
      if (TClass c = g->Find(ClassName)) return c;
  return nullptr;
}

TClass FindClass(const std::string& ClassName) {
  TClass c = GetClass(ClassName);
  if (!c) throw EClassNotFound("Class " + ClassName + " not found");
  return c;
}

void StartClassGroup(TClass AClass) {
  TRegistry& r = Registry();
  for (auto& g : r.Groups)
    for (TClass gc : g->GroupClasses)
      if (gc == AClass) return;  // already has a group
  auto group = std::make_unique<TClassGroup>();
  group->GroupClasses.push_back(AClass);
  // Classes already registered that the new group claims move into it.
  for (auto& g : r.Groups) {
    auto& v = g->Classes;
    for (auto it = v.begin(); it != v.end();) {
      if (group->Claim(it->second) > g->Claim(it->second)) {
        group->Classes.push_back(*it);
        it = v.erase(it);
      } else {
        ++it;
      }
    }
  }
  group->Active = r.ActiveClass && group->InGroup(r.ActiveClass);
  r.Groups.push_back(std::move(group));
}

void GroupDescendentsWith(TClass AClass, TClass AClassGroup) {
  TRegistry& r = Registry();
  TClassGroup* target = r.GroupFor(AClassGroup);
  if (!target) return;
  if (std::find(target->GroupClasses.begin(), target->GroupClasses.end(), AClass) == target->GroupClasses.end())
    target->GroupClasses.push_back(AClass);
  for (auto& g : r.Groups) {
    if (g.get() == target) continue;
    auto& v = g->Classes;
    for (auto it = v.begin(); it != v.end();) {
      if (it->second->InheritsFrom(AClass)) {
        target->Classes.push_back(*it);
        it = v.erase(it);
      } else {
        ++it;
      }
    }
  }
}

TClass ActivateClassGroup(TClass AClass) {
  TRegistry& r = Registry();
  TClass previous = r.ActiveClass;
  if (r.ActiveClass == AClass) return previous;
  r.ActiveClass = AClass;
  for (auto& g : r.Groups) g->Active = g->InGroup(AClass);
  return previous;
}

TClass ClassGroupOf(TClass AClass) {
  TClassGroup* g = Registry().GroupFor(AClass);
  return g && !g->GroupClasses.empty() ? g->GroupClasses.front() : nullptr;
}

TComponent* CreateComponentOfClass(TClass AClass, TComponent* AOwner) {
  if (!AClass || !AClass->CreateComponent)
    throw EComponentError("Cannot create a component of class " + (AClass ? AClass->Name() : std::string("nil")));
  return AClass->CreateComponent(AOwner);
}
