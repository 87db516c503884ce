// The object model of the window layer: persistent objects, components with
// owners and names, collections, the published-property facility and the
// class registry with class groups.
//
// Every class that streams or is created by name declares itself with
// ZV_CLASS(TName) in its body and ZV_CLASS_IMPL(TName, TParent) in its .cpp
// file, where it also defines
//   void TName::DeclareProperties(TClassInfo& c) { c.Integer<TName>(...); ... }
// listing its published properties once (inherited ones come from the parent).
// ZV_CLASS_IMPL_NOPROPS is the same for a class that publishes nothing new.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/lists.h"

class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TFiler;
class TReader;
class TWriter;
class TClassInfo;

// A class reference (the class library's TPersistentClass, TComponentClass).
using TClass = const TClassInfo*;
using TPersistentClass = TClass;
using TComponentClass = TClass;

ZV_DECLARE_EXCEPTION(EComponentError, Exception)
ZV_DECLARE_EXCEPTION(EPropertyError, Exception)
ZV_DECLARE_EXCEPTION(EPropertyConvertError, Exception)

// ---------------------------------------------------------------------------
// Published properties

enum TTypeKind { tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod, tkInt64 };
enum TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr, ftDateTime };

// The names of an enumerated type, in value order from MinValue.
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::string> Names;
  int MinValue = 0;

  // The name of a value; its number as text when out of range.
  std::string NameOf(int64_t value) const;
  // The value of a name (case-insensitive); -1 below MinValue when unknown.
  bool ValueOf(const std::string& name, int64_t& value) const;
};
const TEnumInfo& BooleanEnumInfo();  // False, True

// Integer properties whose values have names (colours "clRed", cursors
// "crArrow") stream those names.
struct TIdentMap {
  std::function<bool(int64_t, std::string&)> ToIdent;
  std::function<bool(const std::string&, int64_t&)> FromIdent;
};

constexpr int64_t NoDefault = INT64_MIN;

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = tkUnknown;
  const TEnumInfo* Enum = nullptr;  // enumerations and the elements of sets
  const TIdentMap* Idents = nullptr;
  TFloatType FloatType = ftExtended;
  std::function<TClass()> PropClass;  // class properties: the declared class (may be empty)

  std::function<int64_t(TObject*)> GetOrd;  // integer, char, enumeration, set (bit i = element i)
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<long double(TObject*)> GetFloat;
  std::function<void(TObject*, long double)> SetFloat;
  std::function<std::string(TObject*)> GetStr;
  std::function<void(TObject*, const std::string&)> SetStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<void(TObject*, const std::any&)> SetMethod;  // the handler, as the event's std::function
  std::function<bool(TObject*)> HasMethod;

  int64_t Default = NoDefault;            // ordinal default; NoDefault: always written
  std::optional<long double> FloatDefault;  // float default (0 when not given)
  std::optional<std::string> StrDefault;    // string default ("" when not given)
  std::function<bool(TObject*)> Stored;  // empty: stored

  bool IsBoolean() const { return Kind == tkEnumeration && Enum == &BooleanEnumInfo(); }
  bool IsStored(TObject* instance) const { return !Stored || Stored(instance); }
  bool Writable() const { return SetOrd || SetFloat || SetStr || SetObj || SetMethod; }

  // Fluent refinements used in DeclareProperties.
  TPropInfo& WithDefault(int64_t d) { Default = d; return *this; }
  TPropInfo& WithStored(std::function<bool(TObject*)> s) { Stored = std::move(s); return *this; }
  TPropInfo& WithIdents(const TIdentMap* m) { Idents = m; return *this; }
};

// The run-time description of one class: name, parent, factory, properties.
class TClassInfo {
public:
  using TDeclare = void (*)(TClassInfo&);
  TClassInfo(std::string name, TClass parent, TDeclare declare);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;

  const std::string& Name() const { return FName; }
  TClass Parent() const { return FParent; }
  bool InheritsFrom(TClass other) const;

  // Factories: a component takes its owner, a collection item its collection.
  std::function<TComponent*(TComponent* owner)> CreateComponent;
  std::function<TCollectionItem*(TCollection* collection)> CreateItem;
  std::function<TPersistent*()> CreateInstance;
  // Extra (defined) properties of a class that is not a TPersistent.
  std::function<void(TObject* instance, TFiler* filer)> DefineProperties;

  // Published properties, inherited ones first, in declaration order.
  std::vector<const TPropInfo*> Properties() const;
  // Case-insensitive lookup through the inheritance chain; nil when absent.
  const TPropInfo* FindProperty(const std::string& name) const;

  // Declaration helpers. Getters and setters are member function pointers or
  // callables taking T*.
  template <class T, class G, class S>
  TPropInfo& Integer(const std::string& name, G get, S set, int64_t def = NoDefault);
  template <class T, class G, class S>
  TPropInfo& Int64(const std::string& name, G get, S set, int64_t def = NoDefault);
  template <class T, class G, class S>
  TPropInfo& Char(const std::string& name, G get, S set, int64_t def = NoDefault);
  template <class T, class G, class S>
  TPropInfo& Boolean(const std::string& name, G get, S set, std::optional<bool> def = false);
  template <class T, class G, class S>
  TPropInfo& Enum(const std::string& name, const TEnumInfo& info, G get, S set, int64_t def = NoDefault);
  // Set getters/setters work on bit masks (bit i = element MinValue + i).
  template <class T, class G, class S>
  TPropInfo& Set(const std::string& name, const TEnumInfo& info, G get, S set, int64_t def = 0);
  template <class T, class G, class S>
  TPropInfo& Float(const std::string& name, TFloatType type, G get, S set, std::optional<long double> def = {});
  template <class T, class G, class S>
  TPropInfo& String(const std::string& name, G get, S set, std::optional<std::string> def = {});
  // A class property: the getter returns a pointer to a TObject descendant;
  // the setter (may be nullptr for read-only sub-objects) takes one.
  template <class T, class C, class G, class S>
  TPropInfo& Object(const std::string& name, G get, S set);
  // An event: Ev is the std::function type of the event.
  template <class T, class Ev, class G, class S>
  TPropInfo& Method(const std::string& name, G get, S set);

private:
  void EnsureDeclared() const;
  TPropInfo& Add(std::string name, TTypeKind kind);

  std::string FName;
  TClass FParent;
  TDeclare FDeclare;
  mutable bool FDeclared = false;
  mutable std::vector<std::unique_ptr<TPropInfo>> FProps;
  mutable std::map<std::string, const TPropInfo*> FIndex;  // upper-case names, own and inherited
  mutable bool FIndexed = false;
};

namespace zv_detail {
template <class T, class F>
decltype(auto) CallGet(F f, T* o) {
  if constexpr (std::is_member_function_pointer_v<F>) return (o->*f)();
  else return f(o);
}
template <class T, class F, class V>
void CallSet(F f, T* o, V&& v) {
  if constexpr (std::is_member_function_pointer_v<F>) (o->*f)(std::forward<V>(v));
  else f(o, std::forward<V>(v));
}
template <class F>
constexpr bool IsNull() { return std::is_same_v<F, std::nullptr_t>; }

template <class T>
void FillFactory(TClassInfo& info);
}  // namespace zv_detail

template <class T, class G, class S>
TPropInfo& TClassInfo::Integer(const std::string& name, G get, S set, int64_t def) {
  TPropInfo& p = Add(name, tkInteger);
  p.GetOrd = [get](TObject* o) { return static_cast<int64_t>(zv_detail::CallGet(get, static_cast<T*>(o))); };
  if constexpr (!zv_detail::IsNull<S>())
    p.SetOrd = [set](TObject* o, int64_t v) { zv_detail::CallSet(set, static_cast<T*>(o), static_cast<int>(v)); };
  p.Default = def;
  return p;
}

template <class T, class G, class S>
TPropInfo& TClassInfo::Int64(const std::string& name, G get, S set, int64_t def) {
  TPropInfo& p = Add(name, tkInt64);
  p.GetOrd = [get](TObject* o) { return static_cast<int64_t>(zv_detail::CallGet(get, static_cast<T*>(o))); };
  if constexpr (!zv_detail::IsNull<S>())
    p.SetOrd = [set](TObject* o, int64_t v) { zv_detail::CallSet(set, static_cast<T*>(o), v); };
  p.Default = def;
  return p;
}

template <class T, class G, class S>
TPropInfo& TClassInfo::Char(const std::string& name, G get, S set, int64_t def) {
  TPropInfo& p = Add(name, tkChar);
  p.GetOrd = [get](TObject* o) {
    return static_cast<int64_t>(static_cast<unsigned char>(zv_detail::CallGet(get, static_cast<T*>(o))));
  };
  if constexpr (!zv_detail::IsNull<S>())
    p.SetOrd = [set](TObject* o, int64_t v) { zv_detail::CallSet(set, static_cast<T*>(o), static_cast<char>(v)); };
  p.Default = def;
  return p;
}

template <class T, class G, class S>
TPropInfo& TClassInfo::Boolean(const std::string& name, G get, S set, std::optional<bool> def) {
  TPropInfo& p = Add(name, tkEnumeration);
  p.Enum = &BooleanEnumInfo();
  p.GetOrd = [get](TObject* o) { return static_cast<int64_t>(zv_detail::CallGet(get, static_cast<T*>(o)) ? 1 : 0); };
  if constexpr (!zv_detail::IsNull<S>())
    p.SetOrd = [set](TObject* o, int64_t v) { zv_detail::CallSet(set, static_cast<T*>(o), v != 0); };
  p.Default = def ? (*def ? 1 : 0) : NoDefault;
  return p;
}

template <class T, class G, class S>
TPropInfo& TClassInfo::Enum(const std::string& name, const TEnumInfo& info, G get, S set, int64_t def) {
  TPropInfo& p = Add(name, tkEnumeration);
  p.Enum = &info;
  p.GetOrd = [get](TObject* o) { return static_cast<int64_t>(zv_detail::CallGet(get, static_cast<T*>(o))); };
  if constexpr (!zv_detail::IsNull<S>()) {
    p.SetOrd = [set](TObject* o, int64_t v) {
      using Arg = std::decay_t<decltype(zv_detail::CallGet(std::declval<G>(), static_cast<T*>(nullptr)))>;
      zv_detail::CallSet(set, static_cast<T*>(o), static_cast<Arg>(v));
    };
  }
  p.Default = def;
  return p;
}

template <class T, class G, class S>
TPropInfo& TClassInfo::Set(const std::string& name, const TEnumInfo& info, G get, S set, int64_t def) {
  TPropInfo& p = Add(name, tkSet);
  p.Enum = &info;
  p.GetOrd = [get](TObject* o) { return static_cast<int64_t>(zv_detail::CallGet(get, static_cast<T*>(o))); };
  if constexpr (!zv_detail::IsNull<S>())
    p.SetOrd = [set](TObject* o, int64_t v) { zv_detail::CallSet(set, static_cast<T*>(o), static_cast<uint64_t>(v)); };
  p.Default = def;
  return p;
}

template <class T, class G, class S>
TPropInfo& TClassInfo::Float(const std::string& name, TFloatType type, G get, S set, std::optional<long double> def) {
  TPropInfo& p = Add(name, tkFloat);
  p.FloatType = type;
  p.GetFloat = [get](TObject* o) { return static_cast<long double>(zv_detail::CallGet(get, static_cast<T*>(o))); };
  if constexpr (!zv_detail::IsNull<S>()) {
    p.SetFloat = [set](TObject* o, long double v) {
      using Arg = std::decay_t<decltype(zv_detail::CallGet(std::declval<G>(), static_cast<T*>(nullptr)))>;
      zv_detail::CallSet(set, static_cast<T*>(o), static_cast<Arg>(v));
    };
  }
  p.FloatDefault = def;
  return p;
}

template <class T, class G, class S>
TPropInfo& TClassInfo::String(const std::string& name, G get, S set, std::optional<std::string> def) {
  TPropInfo& p = Add(name, tkString);
  p.GetStr = [get](TObject* o) { return std::string(zv_detail::CallGet(get, static_cast<T*>(o))); };
  if constexpr (!zv_detail::IsNull<S>())
    p.SetStr = [set](TObject* o, const std::string& v) { zv_detail::CallSet(set, static_cast<T*>(o), v); };
  p.StrDefault = std::move(def);
  return p;
}

template <class T, class C, class G, class S>
TPropInfo& TClassInfo::Object(const std::string& name, G get, S set) {
  TPropInfo& p = Add(name, tkClass);
  p.GetObj = [get](TObject* o) -> TObject* { return zv_detail::CallGet(get, static_cast<T*>(o)); };
  if constexpr (!zv_detail::IsNull<S>()) {
    p.SetObj = [set](TObject* o, TObject* v) {
      C* typed = v ? dynamic_cast<C*>(v) : nullptr;
      if (v && !typed) throw EPropertyConvertError("Invalid property value");
      zv_detail::CallSet(set, static_cast<T*>(o), typed);
    };
  }
  if constexpr (requires { C::StaticClass(); }) p.PropClass = [] { return static_cast<TClass>(&C::StaticClass()); };
  return p;
}

template <class T, class Ev, class G, class S>
TPropInfo& TClassInfo::Method(const std::string& name, G get, S set) {
  TPropInfo& p = Add(name, tkMethod);
  p.HasMethod = [get](TObject* o) { return static_cast<bool>(zv_detail::CallGet(get, static_cast<T*>(o))); };
  if constexpr (!zv_detail::IsNull<S>()) {
    p.SetMethod = [set](TObject* o, const std::any& handler) {
      if (!handler.has_value()) { zv_detail::CallSet(set, static_cast<T*>(o), Ev()); return; }
      if (const Ev* ev = std::any_cast<Ev>(&handler)) zv_detail::CallSet(set, static_cast<T*>(o), *ev);
      else throw EPropertyConvertError("Invalid property value");
    };
  }
  return p;
}

// Generic access by name. Ordinal values of enumerations, sets and booleans
// read and write as their names ("alClient", "[akLeft,akTop]", "True").
const TPropInfo* GetPropInfo(const TObject* instance, const std::string& name);
bool IsPublishedProp(const TObject* instance, const std::string& name);
TTypeKind PropType(const TObject* instance, const std::string& name);
int64_t GetOrdProp(TObject* instance, const std::string& name);
void SetOrdProp(TObject* instance, const std::string& name, int64_t value);
long double GetFloatProp(TObject* instance, const std::string& name);
void SetFloatProp(TObject* instance, const std::string& name, long double value);
std::string GetStrProp(TObject* instance, const std::string& name);
void SetStrProp(TObject* instance, const std::string& name, const std::string& value);
std::string GetEnumProp(TObject* instance, const std::string& name);
void SetEnumProp(TObject* instance, const std::string& name, const std::string& value);
std::string GetSetProp(TObject* instance, const std::string& name, bool brackets = false);
void SetSetProp(TObject* instance, const std::string& name, const std::string& value);
TObject* GetObjectProp(TObject* instance, const std::string& name);
void SetObjectProp(TObject* instance, const std::string& name, TObject* value);
// Any property as text, and back (the RTTI-style variant access).
std::string GetPropValue(TObject* instance, const std::string& name);
void SetPropValue(TObject* instance, const std::string& name, const std::string& value);
// Set helpers: "[a, b]" ↔ bit mask.
std::string SetToString(const TEnumInfo& info, uint64_t bits, bool brackets = false);
uint64_t StringToSet(const TEnumInfo& info, const std::string& text);
// Whether the property holds its default (and so is not streamed).
bool IsDefaultPropertyValue(TObject* instance, const TPropInfo& prop);

// The class description of any object: its ClassType() for a TPersistent,
// else the description registered for its dynamic type (the drawing layer's
// pens, brushes and fonts, string lists, pictures); nil when there is none.
// A picture (TPicture or a descendant that registered nothing) streams its
// graphic as the binary property "Data" (TPicture::ReadData / WriteData).
const TClassInfo* GetClassInfo(const TObject* instance);
// Describes a class that does not derive from TPersistent (by its dynamic
// type); parent may be nil.
TClassInfo& RegisterForeignClass(const std::type_info& type, const std::string& name, TClass parent,
                                 TClassInfo::TDeclare declare);
template <class T>
TClassInfo& RegisterForeignClass(const std::string& name, TClass parent, TClassInfo::TDeclare declare) {
  return RegisterForeignClass(typeid(T), name, parent, declare);
}
// The defined properties of any object with a description.
void DefineObjectProperties(TObject* instance, TFiler* filer);
// Describes the drawing layer's pens, brushes and fonts and the string lists
// (called once, on the first description lookup).
void RegisterStandardDescriptions();
// The description of the nearest described base of those classes, for
// descendants that registered none.
const TClassInfo* DescribeByBase(const TObject* instance);

// ---------------------------------------------------------------------------
// Class declaration macros

#define ZV_CLASS(TName)                                                     \
public:                                                                     \
  static TClassInfo& StaticClass();                                         \
  TClass ClassType() const override { return &StaticClass(); }             \
  std::string ClassName() const override { return StaticClass().Name(); } \
  static void DeclareProperties(TClassInfo& c);                             \
                                                                            \
private:

#define ZV_CLASS_IMPL(TName, TParent)                                                    \
  TClassInfo& TName::StaticClass() {                                                     \
    static TClassInfo info(#TName, &TParent::StaticClass(), &TName::DeclareProperties); \
    static const bool filled = (zv_detail::FillFactory<TName>(info), true);              \
    (void)filled;                                                                        \
    return info;                                                                         \
  }

#define ZV_CLASS_IMPL_NOPROPS(TName, TParent) \
  ZV_CLASS_IMPL(TName, TParent)               \
  void TName::DeclareProperties(TClassInfo&) {}

// ---------------------------------------------------------------------------
// Persistent objects

class TPersistent : public TObject {
public:
  TPersistent() = default;
  TPersistent(const TPersistent&) = delete;
  TPersistent& operator=(const TPersistent&) = delete;
  ~TPersistent() override = default;

  static TClassInfo& StaticClass();
  virtual TClass ClassType() const { return &StaticClass(); }
  std::string ClassName() const override;
  bool InheritsFrom(TClass c) const { return ClassType()->InheritsFrom(c); }
  static void DeclareProperties(TClassInfo&) {}

  // Copies Source into this object; a source that cannot be copied raises
  // EConvertError "Cannot assign a <Source> to a <Dest>".
  virtual void Assign(TPersistent* Source);
  // The component streaming's hook for extra (defined) properties.
  virtual void DefineProperties(TFiler* Filer);
  virtual TPersistent* GetOwner() const { return nullptr; }
  virtual std::string GetNamePath() const;

protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

// ---------------------------------------------------------------------------
// Components

enum TComponentStateItem {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating, csFixups, csFreeNotification,
  csInline, csDesignInstance
};
enum TComponentStyleItem { csInheritable, csCheckPropAvail, csSubComponent, csTransient };
enum TOperation { opInsert, opRemove };

// A small set of enumeration values as bits.
template <class E>
class TEnumSet {
public:
  constexpr TEnumSet() = default;
  constexpr TEnumSet(std::initializer_list<E> items) {
    for (E e : items) FBits |= Bit(e);
  }
  static constexpr TEnumSet FromBits(uint64_t bits) { TEnumSet s; s.FBits = bits; return s; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr TEnumSet& Include(E e) { FBits |= Bit(e); return *this; }
  constexpr TEnumSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr uint64_t Bits() const { return FBits; }
  constexpr bool operator==(const TEnumSet&) const = default;
  constexpr TEnumSet operator+(TEnumSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TEnumSet operator-(TEnumSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TEnumSet operator*(TEnumSet o) const { return FromBits(FBits & o.FBits); }
  constexpr bool operator<=(TEnumSet o) const { return (FBits & ~o.FBits) == 0; }  // subset

private:
  static constexpr uint64_t Bit(E e) { return uint64_t(1) << static_cast<unsigned>(e); }
  uint64_t FBits = 0;
};

using TComponentState = TEnumSet<TComponentStateItem>;
using TComponentStyle = TEnumSet<TComponentStyleItem>;
using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  ZV_CLASS(TComponent)
public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const;  // EListError outside the range
  int ComponentIndex() const;               // index in the owner's list, -1 without owner
  void SetComponentIndex(int index);
  // Case-insensitive; nil for an empty or unknown name.
  TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  const std::string& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that
  // another component of the same owner already has.
  virtual void SetName(const std::string& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t v) { FTag = v; }

  TComponentState ComponentState() const { return FComponentState; }
  TComponentStyle ComponentStyle() const { return FComponentStyle; }
  void SetSubComponent(bool value);
  void SetDesigning(bool value, bool setChildren = true);
  // Marks the component (and owned ones) as being destroyed.
  void Destroying();

  // AComponent tells this component when it is freed (Notification opRemove).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  TPersistent* GetOwner() const override;
  std::string GetNamePath() const override;

  // Streaming hooks.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  virtual void SetChildOrder(TComponent*, int) {}
  virtual void Loaded();
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  // The event handler published under a name (streams name their handlers);
  // empty when there is none.
  virtual std::any MethodAddress(const std::string& Name) const;

  void DefineProperties(TFiler* Filer) override;

  // Used by the reader.
  void SetLoadingState(bool loading);
  void SetReadingState(bool reading);
  void SetWritingState(bool writing);
  void SetAncestorState(bool ancestor);
  void SetInlineState(bool inlined);

protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName, const std::string& NewName);
  virtual void ValidateInsert(TComponent*) {}
  virtual void SetChildOwnerName() {}
  void ChangeName(const std::string& NewName) { FName = NewName; }

  TComponentState FComponentState;
  TComponentStyle FComponentStyle = {csInheritable};

private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::string FName;
  intptr_t FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

bool IsValidIdent(const std::string& Ident, bool AllowDots = false);

// ---------------------------------------------------------------------------
// Collections

class TCollectionItem : public TPersistent {
  ZV_CLASS(TCollectionItem)
public:
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item into another collection (nil takes it out).
  void SetCollection(TCollection* Value);
  int ID() const { return FID; }
  int Index() const;
  virtual void SetIndex(int Value);
  virtual std::string DisplayName() const;
  virtual void SetDisplayName(const std::string& Value);
  TPersistent* GetOwner() const override;
  std::string GetNamePath() const override;

protected:
  void Changed(bool AllItems);

private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  ZV_CLASS(TCollection)
public:
  explicit TCollection(TClass ItemClass);
  ~TCollection() override;

  TClass ItemClass() const { return FItemClass; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // EListError "List index out of bounds (<i>)" outside 0..Count-1.
  TCollectionItem* Items(int Index) const;
  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  TCollectionItem* FindItemID(int ID) const;
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  int NextID() const { return FNextID; }

  void Assign(TPersistent* Source) override;
  std::string GetNamePath() const override;

  // Called with the changed item, or nil when the whole collection changed,
  // unless updates are suspended.
  std::function<void(TCollection* Sender, TCollectionItem* Item)> OnUpdate;

protected:
  friend class TCollectionItem;
  virtual void Update(TCollectionItem* Item);
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action);
  virtual void Added(TCollectionItem*) {}
  virtual void Deleting(TCollectionItem*) {}
  void Changed();

private:
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
};

// A collection that names an owner (for streaming name paths and notifications).
class TOwnedCollection : public TCollection {
  ZV_CLASS(TOwnedCollection)
public:
  TOwnedCollection(TPersistent* AOwner, TClass ItemClass) : TCollection(ItemClass), FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }

private:
  TPersistent* FOwner;
};

// ---------------------------------------------------------------------------
// The class registry

// Registers in the class group that claims the class. Registering a class
// twice is harmless; another class under a registered name raises EFilerError
// "A class named <name> already exists".
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> Classes);
void RegisterClassAlias(TClass AClass, const std::string& Alias);
void UnRegisterClass(TClass AClass);
void UnRegisterClasses(std::initializer_list<TClass> Classes);
// Case-insensitive lookup in the active groups; GetClass answers nil,
// FindClass raises EClassNotFound "Class <name> not found".
TClass GetClass(const std::string& ClassName);
TClass FindClass(const std::string& ClassName);
// Class groups: StartClassGroup opens a group for AClass's descendants,
// GroupDescendentsWith puts AClass's descendants into AClassGroup's group,
// ActivateClassGroup makes the group of AClass the active one (the default
// group stays active) and returns the class of the previously active group.
void StartClassGroup(TClass AClass);
void GroupDescendentsWith(TClass AClass, TClass AClassGroup);
TClass ActivateClassGroup(TClass AClass);
TClass ClassGroupOf(TClass AClass);

// Creates a component of a registered class by class reference.
TComponent* CreateComponentOfClass(TClass AClass, TComponent* AOwner);

// ---------------------------------------------------------------------------

namespace zv_detail {
template <class T>
void FillFactory(TClassInfo& info) {
  if constexpr (!std::is_abstract_v<T>) {
    if constexpr (std::is_base_of_v<TComponent, T> && std::is_constructible_v<T, TComponent*>)
      info.CreateComponent = [](TComponent* owner) -> TComponent* { return new T(owner); };
    else if constexpr (std::is_base_of_v<TCollectionItem, T> && std::is_constructible_v<T, TCollection*>)
      info.CreateItem = [](TCollection* c) -> TCollectionItem* { return new T(c); };
    else if constexpr (std::is_default_constructible_v<T>)
      info.CreateInstance = []() -> TPersistent* { return new T(); };
  }
}
}  // namespace zv_detail
