// Components, collections, published properties and the class registry.
#include <gtest/gtest.h>

#include "platform/ui/classes.h"
#include "platform/ui/uitypes.h"
#include "support/testlocale.h"

namespace {

// Counts its own destruction and the removal notifications it hears.
class TProbe : public TComponent {
  ZV_CLASS(TProbe)
public:
  explicit TProbe(TComponent* owner, int* destroyed = nullptr) : TComponent(owner), FDestroyed(destroyed) {}
  ~TProbe() override {
    if (FDestroyed) ++*FDestroyed;
  }
  std::vector<TComponent*> Removed;
  TComponent* Watched = nullptr;

protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove) {
      Removed.push_back(c);
      if (c == Watched) Watched = nullptr;
    }
  }

private:
  int* FDestroyed;
};
ZV_CLASS_IMPL_NOPROPS(TProbe, TComponent)

enum TShape { shCircle, shSquare, shTriangle };
const TEnumInfo kShapes{"TShape", {"shCircle", "shSquare", "shTriangle"}, 0};

class TWidgetLike : public TComponent {
  ZV_CLASS(TWidgetLike)
public:
  explicit TWidgetLike(TComponent* owner) : TComponent(owner) {}
  int Size = 10;
  TShape Shape = shCircle;
  uint64_t Anchors = 3;
  bool Visible = true;
  double Ratio = 0.5;
  std::string Caption;
  TColor Color = clBtnFace;
  int ReadOnlyValue = 7;
};
ZV_CLASS_IMPL(TWidgetLike, TComponent)
void TWidgetLike::DeclareProperties(TClassInfo& c) {
  c.Integer<TWidgetLike>("Size", [](TWidgetLike* o) { return o->Size; }, [](TWidgetLike* o, int v) { o->Size = v; }, 10);
  c.Enum<TWidgetLike>("Shape", kShapes, [](TWidgetLike* o) { return o->Shape; },
                      [](TWidgetLike* o, TShape v) { o->Shape = v; }, shCircle);
  c.Set<TWidgetLike>("Anchors", AnchorsEnumInfo(), [](TWidgetLike* o) { return o->Anchors; },
                     [](TWidgetLike* o, uint64_t v) { o->Anchors = v; }, 3);
  c.Boolean<TWidgetLike>("Visible", [](TWidgetLike* o) { return o->Visible; },
                         [](TWidgetLike* o, bool v) { o->Visible = v; }, true);
  c.Float<TWidgetLike>("Ratio", ftDouble, [](TWidgetLike* o) { return o->Ratio; },
                       [](TWidgetLike* o, double v) { o->Ratio = v; }, 0.5L);
  c.String<TWidgetLike>("Caption", [](TWidgetLike* o) { return o->Caption; },
                        [](TWidgetLike* o, const std::string& v) { o->Caption = v; });
  c.Integer<TWidgetLike>("Color", [](TWidgetLike* o) { return o->Color; },
                         [](TWidgetLike* o, int v) { o->Color = v; }, clBtnFace)
      .WithIdents(&ColorIdents());
  c.Integer<TWidgetLike>("ReadOnlyValue", [](TWidgetLike* o) { return o->ReadOnlyValue; }, nullptr);
}

class TNamedItem : public TCollectionItem {
  ZV_CLASS(TNamedItem)
public:
  explicit TNamedItem(TCollection* c) : TCollectionItem(c) {}
  std::string Label;
  std::string DisplayName() const override { return Label.empty() ? TCollectionItem::DisplayName() : Label; }
  void Assign(TPersistent* source) override {
    if (auto* o = dynamic_cast<TNamedItem*>(source)) {
      Label = o->Label;
      return;
    }
    TCollectionItem::Assign(source);
  }
};
ZV_CLASS_IMPL_NOPROPS(TNamedItem, TCollectionItem)

}  // namespace

TEST(Components, OwnerFreesOwnedComponentsAndNotifiesFreeNotifications) {
  int destroyed = 0;
  auto* owner = new TProbe(nullptr, &destroyed);
  auto* a = new TProbe(owner, &destroyed);
  auto* b = new TProbe(owner, &destroyed);
  new TProbe(a, &destroyed);  // grandchild, owned by a
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(a->Owner(), owner);
  EXPECT_EQ(a->ComponentIndex(), 0);

  // An outsider that asked to hear about b learns when b goes.
  TProbe outsider(nullptr);
  b->FreeNotification(&outsider);
  outsider.Watched = b;
  delete b;
  EXPECT_EQ(outsider.Watched, nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  // The owner's other components hear about the removal too.
  ASSERT_FALSE(a->Removed.empty());
  EXPECT_EQ(a->Removed.back(), b);

  delete owner;
  EXPECT_EQ(destroyed, 4);
}

TEST(Components, FreeNotificationIsSymmetricAndRemovable) {
  TProbe x(nullptr), y(nullptr);
  {
    auto* z = new TProbe(nullptr);
    x.FreeNotification(z);
    x.RemoveFreeNotification(z);
    delete z;
  }
  EXPECT_TRUE(x.Removed.empty());
  auto* w = new TProbe(nullptr);
  w->FreeNotification(&y);  // w hears when y goes, and y when w goes
  delete w;
  EXPECT_EQ(y.Removed.size(), 1u);
}

TEST(Components, NamesAreValidatedAndFoundIgnoringCase) {
  TProbe owner(nullptr);
  auto* a = new TProbe(&owner);
  a->SetName("Button1");
  EXPECT_EQ(owner.FindComponent("button1"), a);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  auto* b = new TProbe(&owner);
  struct Case {
    const char* name;
    const char* error;
  } cases[] = {{"1abc", "'1abc' is not a valid component name"},
               {"a b", "'a b' is not a valid component name"},
               {"BUTTON1", "A component named BUTTON1 already exists"}};
  for (const auto& c : cases) {
    try {
      b->SetName(c.name);
      ADD_FAILURE() << c.name;
    } catch (const EComponentError& e) {
      EXPECT_EQ(e.Message(), c.error);
    }
  }
  EXPECT_EQ(b->Name(), "");
  a->SetName("BUTTON1");  // a new spelling of its own name is fine
  EXPECT_EQ(a->Name(), "BUTTON1");
  b->SetName("_x2");
  EXPECT_EQ(owner.FindComponent("_X2"), b);
}

TEST(Components, AssignBetweenUnrelatedClassesRaisesConvertError) {
  TProbe a(nullptr);
  TWidgetLike w(nullptr);
  try {
    w.Assign(&a);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TProbe to a TWidgetLike");
  }
  EXPECT_THROW(w.Assign(nullptr), EConvertError);
}

TEST(Collections, ItemsKeepIdsIndexesAndUpdates) {
  TCollection coll(&TNamedItem::StaticClass());
  int updates = 0;
  TCollectionItem* last = reinterpret_cast<TCollectionItem*>(1);
  coll.OnUpdate = [&](TCollection*, TCollectionItem* item) {
    ++updates;
    last = item;
  };
  auto* a = static_cast<TNamedItem*>(coll.Add());
  auto* b = static_cast<TNamedItem*>(coll.Add());
  auto* c = static_cast<TNamedItem*>(coll.Insert(0));
  EXPECT_EQ(coll.Count(), 3);
  EXPECT_EQ(c->Index(), 0);
  EXPECT_EQ(a->Index(), 1);
  EXPECT_EQ(a->ID(), 0);
  EXPECT_EQ(b->ID(), 1);
  EXPECT_EQ(c->ID(), 2);
  EXPECT_EQ(coll.FindItemID(1), b);
  EXPECT_EQ(a->DisplayName(), "TNamedItem");
  a->Label = "alpha";
  EXPECT_EQ(a->DisplayName(), "alpha");
  EXPECT_GT(updates, 0);
  EXPECT_EQ(last, nullptr);

  updates = 0;
  coll.BeginUpdate();
  coll.Delete(0);
  coll.Add();
  EXPECT_EQ(updates, 0);
  coll.EndUpdate();
  EXPECT_EQ(updates, 1);
  EXPECT_THROW(coll.Items(5), EListError);

  TCollection copy(&TNamedItem::StaticClass());
  copy.Assign(&coll);
  ASSERT_EQ(copy.Count(), coll.Count());
  EXPECT_EQ(static_cast<TNamedItem*>(copy.Items(0))->Label, "alpha");

  b->SetCollection(nullptr);  // taken out, now the caller's
  EXPECT_EQ(coll.Count(), 2);
  EXPECT_EQ(b->Collection(), nullptr);
  delete b;
}

TEST(Properties, ReadAndWriteByNameIgnoringCase) {
  TWidgetLike w(nullptr);
  struct Case {
    const char* prop;
    const char* value;
    const char* readBack;
  } cases[] = {
      {"size", "42", "42"},           {"Shape", "shTriangle", "shTriangle"}, {"ANCHORS", "[akLeft, akBottom]", "akLeft,akBottom"},
      {"Visible", "False", "False"},  {"Ratio", "0.25", "0.25"},             {"Caption", "It's", "It's"},
      {"Color", "clRed", "clRed"},    {"Color", "$00123456", "1193046"},     {"Size", "$10", "16"},
  };
  for (const auto& c : cases) {
    SetPropValue(&w, c.prop, c.value);
    EXPECT_EQ(GetPropValue(&w, c.prop), c.readBack) << c.prop << " = " << c.value;
  }
  EXPECT_EQ(w.Shape, shTriangle);
  EXPECT_EQ(w.Anchors, (1u << akLeft) | (1u << akBottom));
  EXPECT_EQ(GetOrdProp(&w, "Color"), 0x123456);
  EXPECT_EQ(PropType(&w, "Ratio"), tkFloat);
  EXPECT_TRUE(IsPublishedProp(&w, "tag"));  // inherited from TComponent
}

// Property text keeps the point on a desktop with a decimal comma, both ways.
TEST(Properties, FloatTextIgnoresTheDesktopsLocale) {
  TScopedLocale comma;
  ASSERT_TRUE(comma.Active());
  TWidgetLike w(nullptr);
  const struct {
    const char* Value;
    const char* ReadBack;
  } cases[] = {{"0.25", "0.25"}, {" +2.5 ", "2.5"}, {"-1.25e-1", "-0.125"}, {"1E20", "1e+20"}};
  for (const auto& c : cases) {
    SetPropValue(&w, "Ratio", c.Value);
    EXPECT_EQ(GetPropValue(&w, "Ratio"), c.ReadBack) << c.Value;
  }
  for (const char* bad : {"1,5", "2.5x", "", "+", "1e99999"})
    EXPECT_THROW(SetPropValue(&w, "Ratio", bad), EPropertyConvertError) << bad;
  EXPECT_EQ(w.Ratio, 1e20);
}

TEST(Properties, BadValuesAndNamesRaiseWithoutChangingTheObject) {
  TWidgetLike w(nullptr);
  struct Case {
    const char* prop;
    const char* value;
  } cases[] = {{"Size", "ten"}, {"Size", "99999999999"}, {"Shape", "shOval"}, {"Anchors", "[akNowhere]"},
               {"Ratio", "1,5"}, {"Visible", "maybe"}};
  for (const auto& c : cases) EXPECT_ANY_THROW(SetPropValue(&w, c.prop, c.value)) << c.prop << " = " << c.value;
  EXPECT_EQ(w.Size, 10);
  EXPECT_EQ(w.Shape, shCircle);
  EXPECT_EQ(w.Anchors, 3u);
  EXPECT_EQ(w.Ratio, 0.5);
  EXPECT_TRUE(w.Visible);
  EXPECT_THROW(SetPropValue(&w, "NoSuch", "1"), EPropertyError);
  EXPECT_THROW(SetPropValue(&w, "ReadOnlyValue", "1"), EPropertyError);
  EXPECT_EQ(GetPropValue(&w, "ReadOnlyValue"), "7");
}

TEST(Properties, DefaultsAreKnown) {
  TWidgetLike w(nullptr);
  for (const char* name : {"Size", "Shape", "Anchors", "Visible", "Ratio", "Caption", "Color"})
    EXPECT_TRUE(IsDefaultPropertyValue(&w, *GetPropInfo(&w, name))) << name;
  w.Ratio = 0.75;
  w.Caption = "x";
  EXPECT_FALSE(IsDefaultPropertyValue(&w, *GetPropInfo(&w, "Ratio")));
  EXPECT_FALSE(IsDefaultPropertyValue(&w, *GetPropInfo(&w, "Caption")));
}

namespace {
class TGroupBase : public TComponent {
  ZV_CLASS(TGroupBase)
public:
  explicit TGroupBase(TComponent* o) : TComponent(o) {}
};
ZV_CLASS_IMPL_NOPROPS(TGroupBase, TComponent)
class TGroupMember : public TGroupBase {
  ZV_CLASS(TGroupMember)
public:
  explicit TGroupMember(TComponent* o) : TGroupBase(o) {}
};
ZV_CLASS_IMPL_NOPROPS(TGroupMember, TGroupBase)
class TGroupGuest : public TComponent {
  ZV_CLASS(TGroupGuest)
public:
  explicit TGroupGuest(TComponent* o) : TComponent(o) {}
};
ZV_CLASS_IMPL_NOPROPS(TGroupGuest, TComponent)
}  // namespace

TEST(ClassRegistry, FindsByNameIgnoringCaseAndCreates) {
  RegisterClass(&TWidgetLike::StaticClass());
  RegisterClass(&TWidgetLike::StaticClass());  // twice is harmless
  EXPECT_EQ(FindClass("twidgetlike"), &TWidgetLike::StaticClass());
  EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
  try {
    FindClass("TNoSuchClass");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNoSuchClass not found");
  }
  RegisterClassAlias(&TWidgetLike::StaticClass(), "TOldWidget");
  EXPECT_EQ(GetClass("TOldWidget"), &TWidgetLike::StaticClass());
  EXPECT_THROW(RegisterClassAlias(&TProbe::StaticClass(), "TOldWidget"), EFilerError);
  std::unique_ptr<TComponent> made(CreateComponentOfClass(FindClass("TWidgetLike"), nullptr));
  EXPECT_EQ(made->ClassName(), "TWidgetLike");
  UnRegisterClass(&TWidgetLike::StaticClass());
  EXPECT_EQ(GetClass("TWidgetLike"), nullptr);
  EXPECT_EQ(GetClass("TOldWidget"), nullptr);
}

TEST(ClassRegistry, ClassGroupsHideClassesOfInactiveGroups) {
  StartClassGroup(&TGroupBase::StaticClass());
  GroupDescendentsWith(&TGroupGuest::StaticClass(), &TGroupBase::StaticClass());
  RegisterClasses({&TGroupMember::StaticClass(), &TGroupGuest::StaticClass()});
  EXPECT_EQ(ClassGroupOf(&TGroupGuest::StaticClass()), &TGroupBase::StaticClass());
  // The group is not active: its classes are not found.
  EXPECT_EQ(GetClass("TGroupMember"), nullptr);
  EXPECT_EQ(GetClass("TGroupGuest"), nullptr);
  TClass previous = ActivateClassGroup(&TGroupBase::StaticClass());
  EXPECT_EQ(GetClass("TGroupMember"), &TGroupMember::StaticClass());
  EXPECT_EQ(GetClass("TGroupGuest"), &TGroupGuest::StaticClass());
  // Classes of the default group stay visible.
  RegisterClass(&TProbe::StaticClass());
  EXPECT_EQ(GetClass("TProbe"), &TProbe::StaticClass());
  ActivateClassGroup(previous);
  EXPECT_EQ(GetClass("TGroupMember"), nullptr);
}
