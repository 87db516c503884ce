#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/lists.h"

namespace {

int gAlive = 0;

class TCounted : public TObject {
public:
  explicit TCounted(int id = 0) : Id(id) { ++gAlive; }
  ~TCounted() override { --gAlive; }
  int Id;
};

// Records every notification as "<action><value>".
class TRecordingList : public TList {
public:
  ~TRecordingList() override { Clear(); }
  std::vector<std::string> Log;

protected:
  void Notify(void* item, TListNotification action) override {
    static const char* names[] = {"+", "x", "-"};
    Log.push_back(names[action] + std::to_string(*static_cast<int*>(item)));
  }
};

void ExpectListError(const std::function<void()>& f, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no EListError, expected " << message;
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace

TEST(TList, BasicOperationsKeepOrder) {
  int v[5] = {0, 1, 2, 3, 4};
  TList list;
  EXPECT_EQ(list.Add(&v[0]), 0);
  EXPECT_EQ(list.Add(&v[1]), 1);
  list.Insert(0, &v[2]);  // 2 0 1
  list.Insert(3, &v[3]);  // 2 0 1 3
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.First(), &v[2]);
  EXPECT_EQ(list.Last(), &v[3]);
  EXPECT_EQ(list.IndexOf(&v[1]), 2);
  EXPECT_EQ(list.IndexOf(&v[4]), -1);

  list.Exchange(0, 3);  // 3 0 1 2
  list.Move(0, 2);      // 0 1 3 2
  std::vector<void*> expected{&v[0], &v[1], &v[3], &v[2]};
  EXPECT_EQ(list.List(), expected);

  EXPECT_EQ(list.Remove(&v[1]), 1);  // 0 3 2
  EXPECT_EQ(list.Remove(&v[1]), -1);
  list.Delete(0);  // 3 2
  EXPECT_EQ(list[0], &v[3]);
  EXPECT_EQ(list.Extract(&v[2]), &v[2]);
  EXPECT_EQ(list.Extract(&v[2]), nullptr);
  EXPECT_EQ(list.Count(), 1);
}

TEST(TList, CountCapacityAndPack) {
  int a = 1, b = 2;
  TList list;
  list.SetCount(3);  // three nils
  list.SetItems(1, &a);
  list.Add(&b);
  list.Add(nullptr);
  EXPECT_EQ(list.Count(), 5);
  list.Pack();
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[0], &a);
  EXPECT_EQ(list[1], &b);
  list.SetCapacity(100);
  EXPECT_GE(list.Capacity(), 100);
  ExpectListError([&] { list.SetCapacity(1); }, "List capacity out of bounds (1)");
  ExpectListError([&] { list.SetCount(-1); }, "List count out of bounds (-1)");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(TList, BadIndexesRaiseWithTheIndex) {
  int a = 1;
  TList list;
  list.Add(&a);
  list.Add(&a);
  struct Case {
    const char* name;
    std::function<void()> call;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"Items(-1)", [&] { list.Items(-1); }, "List index out of bounds (-1)"},
      {"Items(Count)", [&] { list.Items(2); }, "List index out of bounds (2)"},
      {"SetItems", [&] { list.SetItems(5, &a); }, "List index out of bounds (5)"},
      {"Insert past end", [&] { list.Insert(3, &a); }, "List index out of bounds (3)"},
      {"Delete", [&] { list.Delete(2); }, "List index out of bounds (2)"},
      {"Exchange", [&] { list.Exchange(0, 7); }, "List index out of bounds (7)"},
      {"Move", [&] { list.Move(-3, 0); }, "List index out of bounds (-3)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectListError(c.call, c.message);
  }
  EXPECT_EQ(list.Count(), 2);
  TList empty;
  ExpectListError([&] { empty.First(); }, "List index out of bounds (0)");
  ExpectListError([&] { empty.Last(); }, "List index out of bounds (-1)");
}

TEST(TList, NotifiesAdditionsAndRemovalsButNotNil) {
  int v[4] = {0, 1, 2, 3};
  TRecordingList list;
  list.Add(&v[0]);
  list.Add(nullptr);
  list.Insert(0, &v[1]);
  list.SetItems(1, &v[2]);  // replaces 0
  list.Extract(&v[1]);
  list.Delete(list.IndexOf(nullptr));
  list.Add(&v[3]);
  list.Clear();  // removes from the end
  std::vector<std::string> expected{"+0", "+1", "-0", "+2", "x1", "+3", "-3", "-2"};
  EXPECT_EQ(list.Log, expected);
}

TEST(TList, SortsWithTheComparison) {
  std::vector<int> values{5, 3, 9, 1, 7, 3, 8, 2, 6, 4, 0};
  TList list;
  for (int& v : values) list.Add(&v);
  list.Sort([](void* a, void* b) { return *static_cast<int*>(a) - *static_cast<int*>(b); });
  for (int i = 0; i + 1 < list.Count(); ++i)
    EXPECT_LE(*static_cast<int*>(list[i]), *static_cast<int*>(list[i + 1]));
  EXPECT_EQ(list.Count(), 11);

  // An inconsistent comparison may give any order but must stay in bounds.
  list.Sort([](void*, void*) { return -1; });
  list.Sort([](void*, void*) { return 1; });
  EXPECT_EQ(list.Count(), 11);
}

TEST(TObjectList, FreesOwnedObjectsOnEveryKindOfRemoval) {
  gAlive = 0;
  {
    TObjectList list;
    auto* kept = new TCounted(1);
    list.Add(new TCounted(0));
    list.Add(kept);
    list.Add(new TCounted(2));
    list.Add(new TCounted(3));
    list.Add(new TCounted(4));
    EXPECT_EQ(gAlive, 5);

    list.Delete(0);
    EXPECT_EQ(gAlive, 4);
    EXPECT_EQ(list.Remove(list[1]), 1);
    EXPECT_EQ(gAlive, 3);
    list.SetItems(1, new TCounted(5));  // frees the replaced one
    EXPECT_EQ(gAlive, 3);

    EXPECT_EQ(list.Extract(kept), kept);  // the caller owns it now
    EXPECT_EQ(gAlive, 3);
    delete kept;
    EXPECT_EQ(gAlive, 2);

    list.Clear();
    EXPECT_EQ(gAlive, 0);
    list.Add(new TCounted(6));
    list.Add(new TCounted(7));
  }
  EXPECT_EQ(gAlive, 0);  // the destructor frees what is left
}

TEST(TObjectList, WithoutOwnershipLeavesObjectsAlone) {
  gAlive = 0;
  TCounted a(1), b(2);
  {
    TObjectList list(false);
    EXPECT_FALSE(list.OwnsObjects());
    list.Add(&a);
    list.Add(&b);
    list.Delete(0);
    list.Clear();
    list.Add(&a);
  }
  EXPECT_EQ(gAlive, 2);
}

TEST(TObject, ClassNamesAreVirtual) {
  TObjectList list;
  TObject* o = &list;
  EXPECT_EQ(o->ClassName(), "TObjectList");
  EXPECT_EQ(TObject().ClassName(), "TObject");
}
