// The item tree: inserting, moving and deleting children, checked groups,
// effective options and the change notifications that views rely on.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "toolbar/tbitem.h"

namespace {

struct TNote {
  TTBCustomItem* Sender;
  bool Relayed;
  TTBItemChangedAction Action;
  int Index;
  TTBCustomItem* Item;
};

// Records the notifications of one item.
class TRecorder {
public:
  explicit TRecorder(TTBCustomItem* item) : FItem(item) {
    item->RegisterNotification(this, [this](TTBCustomItem* s, bool r, TTBItemChangedAction a, int i, TTBCustomItem* it) {
      Notes.push_back({s, r, a, i, it});
    });
  }
  ~TRecorder() { FItem->UnregisterNotification(this); }
  std::vector<TTBItemChangedAction> Actions() const {
    std::vector<TTBItemChangedAction> r;
    for (auto& n : Notes) r.push_back(n.Action);
    return r;
  }
  std::vector<TNote> Notes;

private:
  TTBCustomItem* FItem;
};

struct TTree : ::testing::Test {
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  TTBItem* NewItem(const std::string& caption) {
    auto* i = new TTBItem(nullptr);
    i->SetCaption(caption);
    return i;
  }
};

TEST_F(TTree, InsertBoundsAndDoubleInsertRaiseWithoutChangingTheTree) {
  Root->Add(NewItem("a"));
  Root->Add(NewItem("b"));
  auto* c = NewItem("c");
  Root->Insert(2, c);  // at Count: appends
  EXPECT_EQ(Root->Items(2), c);

  auto* d = NewItem("d");
  try {
    Root->Insert(4, d);
    FAIL();
  } catch (const ETBItemError& e) {
    EXPECT_STREQ(e.what(), "Toolbar item index out of range");
  }
  EXPECT_THROW(Root->Insert(-1, d), ETBItemError);
  try {
    Root->Insert(0, c);  // already a child, even of this item
    FAIL();
  } catch (const ETBItemError& e) {
    EXPECT_STREQ(e.what(), "Toolbar item already inserted");
  }
  EXPECT_EQ(Root->Count(), 3);
  EXPECT_EQ(d->Parent(), nullptr);
  EXPECT_THROW(Root->Items(3), ETBItemError);
  delete d;
}

TEST_F(TTree, MoveDeleteAndFreeingAChild) {
  auto *a = NewItem("a"), *b = NewItem("b"), *c = NewItem("c");
  Root->Add(a);
  Root->Add(b);
  Root->Add(c);
  Root->Move(7, 7);  // equal indexes: nothing, even out of range
  EXPECT_THROW(Root->Move(0, 3), ETBItemError);
  Root->Move(0, 2);
  EXPECT_EQ(Root->Items(0), b);
  EXPECT_EQ(Root->Items(2), a);

  TRecorder rec(Root.get());
  delete b;  // removes itself: views hear of it while it is still listed
  ASSERT_EQ(rec.Notes.size(), 1u);
  EXPECT_EQ(rec.Notes[0].Action, tbicDeleting);
  EXPECT_EQ(rec.Notes[0].Index, 0);
  EXPECT_EQ(Root->Count(), 2);

  Root->Delete(0);  // not freed
  EXPECT_EQ(c->Parent(), nullptr);
  delete c;
}

TEST_F(TTree, FreeingAnItemFreesItsDescendants) {
  auto* sub = new TTBSubmenuItem(nullptr);
  auto* inner = new TTBSubmenuItem(nullptr);
  sub->Add(inner);
  int freed = 0;
  struct TCounted : TTBItem {
    int* N;
    TCounted(int* n) : TTBItem(nullptr), N(n) {}
    ~TCounted() override { ++*N; }
  };
  inner->Add(new TCounted(&freed));
  sub->Add(new TCounted(&freed));
  Root->Add(sub);
  delete sub;
  EXPECT_EQ(freed, 2);
  EXPECT_EQ(Root->Count(), 0);
}

TEST_F(TTree, CheckingAGroupMemberUnchecksOnlyItsGroupSiblings) {
  auto* sub = new TTBSubmenuItem(nullptr);
  Root->Add(sub);
  std::vector<TTBItem*> items;
  for (int g : {3, 3, 3, 4, 0}) {
    auto* i = NewItem("x");
    i->SetGroupIndex(g);
    i->SetChecked(true);
    Root->Add(i);
    items.push_back(i);
  }
  auto* elsewhere = NewItem("y");
  elsewhere->SetGroupIndex(3);
  elsewhere->SetChecked(true);
  sub->Add(elsewhere);

  items[0]->SetChecked(false);
  items[1]->SetChecked(false);
  items[1]->SetChecked(true);
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_FALSE(items[2]->Checked());
  EXPECT_TRUE(items[3]->Checked());  // group 4
  EXPECT_TRUE(items[4]->Checked());  // no group
  EXPECT_TRUE(elsewhere->Checked());  // another parent

  // GroupIndex on an unchecked item leaves the siblings alone; on a checked
  // one it turns them off.
  items[3]->SetChecked(false);
  items[3]->SetGroupIndex(3);
  EXPECT_TRUE(items[1]->Checked());
  items[4]->SetGroupIndex(3);
  EXPECT_FALSE(items[1]->Checked());
}

TEST_F(TTree, OptionsAreFixedAndInherited) {
  auto* sub = new TTBSubmenuItem(nullptr);
  auto* leaf = NewItem("leaf");
  sub->Add(leaf);
  Root->Add(sub);

  leaf->SetOptions({tboToolbarSize});
  EXPECT_TRUE(leaf->Options().Empty());
  leaf->SetOptions({tboToolbarSize, tboToolbarStyle});
  EXPECT_EQ(leaf->Options(), (TTBItemOptions{tboToolbarSize, tboToolbarStyle}));

  Root->SetOptions({tboDefault, tboShowHint, tboSameWidth});
  // tboDefault is not inherited.
  EXPECT_EQ(sub->EffectiveOptions(), (TTBItemOptions{tboShowHint, tboSameWidth}));
  EXPECT_TRUE(leaf->EffectiveOptions().Contains(tboShowHint));

  sub->SetMaskOptions({tboSameWidth});
  EXPECT_EQ(sub->EffectiveOptions(), (TTBItemOptions{tboShowHint}));
  EXPECT_FALSE(leaf->EffectiveOptions().Contains(tboSameWidth));

  leaf->SetInheritOptions(false);
  EXPECT_EQ(leaf->EffectiveOptions(), (TTBItemOptions{tboToolbarSize, tboToolbarStyle}));
}

TEST_F(TTree, OnlyOptionsThatChangeTheLookAskForARecalculation) {
  auto* sub = new TTBSubmenuItem(nullptr);
  auto* leaf = NewItem("leaf");
  sub->Add(leaf);
  Root->Add(sub);
  TRecorder subRec(sub);
  TRecorder rootRec(Root.get());

  Root->SetOptions({tboShowHint});
  EXPECT_TRUE(leaf->EffectiveOptions().Contains(tboShowHint));
  EXPECT_TRUE(subRec.Notes.empty());
  EXPECT_TRUE(rootRec.Notes.empty());

  Root->SetOptions({tboShowHint, tboImageAboveCaption});
  ASSERT_EQ(rootRec.Notes.size(), 1u);
  EXPECT_EQ(rootRec.Notes[0].Action, tbicInvalidateAndResize);
  EXPECT_EQ(rootRec.Notes[0].Item, sub);
  ASSERT_EQ(subRec.Notes.size(), 1u);
  EXPECT_EQ(subRec.Notes[0].Item, leaf);
}

TEST_F(TTree, PropertyChangesSendInvalidateOrRecalculate) {
  auto* i = NewItem("a");
  Root->Add(i);
  TRecorder rec(Root.get());
  struct TCase {
    const char* What;
    std::function<void()> Change;
    std::vector<TTBItemChangedAction> Expected;
  };
  std::vector<TCase> cases = {
      {"image 3", [&] { i->SetImageIndex(3); }, {tbicInvalidateAndResize}},
      {"image 3 -> 5", [&] { i->SetImageIndex(5); }, {tbicInvalidate}},
      {"image 5 -> 5", [&] { i->SetImageIndex(5); }, {}},
      {"image 5 -> -1", [&] { i->SetImageIndex(-1); }, {tbicInvalidateAndResize}},
      {"caption", [&] { i->SetCaption("b"); }, {tbicInvalidateAndResize}},
      {"same caption", [&] { i->SetCaption("b"); }, {}},
      {"checked", [&] { i->SetChecked(true); }, {tbicInvalidate}},
      {"enabled", [&] { i->SetEnabled(false); }, {tbicInvalidate}},
      {"visible", [&] { i->SetVisible(false); }, {tbicInvalidateAndResize}},
      {"radio", [&] { i->SetRadioItem(true); }, {tbicInvalidate}},
      {"hint", [&] { i->SetHint("h"); }, {}},
      {"name", [&] { i->SetName("ItemA"); }, {tbicNameChanged}},
  };
  for (auto& c : cases) {
    rec.Notes.clear();
    c.Change();
    EXPECT_EQ(rec.Actions(), c.Expected) << c.What;
    for (auto& n : rec.Notes) EXPECT_EQ(n.Item, i) << c.What;
  }
}

TEST_F(TTree, InsertIsBracketedByUpdateNotifications) {
  TRecorder rec(Root.get());
  auto* i = NewItem("a");
  Root->Add(i);
  EXPECT_EQ(rec.Actions(),
            (std::vector<TTBItemChangedAction>{tbicSubitemsBeginUpdate, tbicInserted, tbicSubitemsEndUpdate}));
  EXPECT_EQ(rec.Notes[1].Index, 0);
  EXPECT_EQ(rec.Notes[1].Item, i);
  EXPECT_FALSE(rec.Notes[1].Relayed);
}

TEST_F(TTree, AHandlerThatUnregistersItselfDoesNotHideTheNext) {
  int first = 0, second = 0, third = 0;
  int key1, key2, key3;
  Root->RegisterNotification(&key1, [&](auto...) {
    ++first;
    Root->UnregisterNotification(&key1);
  });
  Root->RegisterNotification(&key2, [&](auto...) { ++second; });
  Root->RegisterNotification(&key3, [&](auto...) { ++third; });
  Root->Notify(tbicInvalidate, -1, nullptr);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
  EXPECT_EQ(third, 1);
  Root->Notify(tbicInvalidate, -1, nullptr);
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 2);

  // Registered twice, unregistered once: still called.
  Root->RegisterNotification(&key2, [&](auto...) { ++second; });
  Root->UnregisterNotification(&key2);
  Root->Notify(tbicInvalidate, -1, nullptr);
  EXPECT_EQ(second, 3);
  Root->UnregisterNotification(&key2);
  Root->UnregisterNotification(&key3);
  Root->UnregisterNotification(&key3);  // not registered: nothing
  EXPECT_EQ(Root->NotificationCount(), 0);
}

TEST_F(TTree, EmbeddedGroupsAndLinkedItemsRelayToTheShowingView) {
  // A group item shown inline in Root; its children's changes reach Root's view.
  auto* group = new TTBCustomItem(nullptr);
  group->SetItemStyle(group->ItemStyle() | tbisEmbeddedGroup);
  Root->Add(group);
  TRecorder rootRec(Root.get());
  auto* inner = NewItem("inner");
  group->Add(inner);
  ASSERT_EQ(rootRec.Notes.size(), 3u);
  EXPECT_EQ(rootRec.Notes[1].Action, tbicInserted);
  EXPECT_EQ(rootRec.Notes[1].Sender, group);
  EXPECT_TRUE(rootRec.Notes[1].Relayed);

  // An item whose children another (embedded) item shows through LinkSubitems.
  auto* source = new TTBSubmenuItem(nullptr);
  auto* linker = new TTBCustomItem(nullptr);
  linker->SetItemStyle(linker->ItemStyle() | tbisEmbeddedGroup);
  Root->Add(linker);
  linker->SetLinkSubitems(source);
  rootRec.Notes.clear();
  source->Add(NewItem("s"));
  ASSERT_EQ(rootRec.Notes.size(), 3u);
  EXPECT_EQ(rootRec.Notes[1].Sender, linker);
  EXPECT_TRUE(rootRec.Notes[1].Relayed);

  // Freeing the source unlinks the linker.
  TRecorder linkRec(linker);
  delete source;
  EXPECT_EQ(linker->LinkSubitems(), nullptr);
  ASSERT_FALSE(linkRec.Notes.empty());
  EXPECT_EQ(linkRec.Notes.back().Action, tbicSubitemsChanged);
}

TEST_F(TTree, ACycleOfEmbeddedGroupsStopsRelaying) {
  auto* a = new TTBCustomItem(nullptr);
  auto* b = new TTBCustomItem(nullptr);
  a->SetItemStyle(a->ItemStyle() | tbisEmbeddedGroup);
  b->SetItemStyle(b->ItemStyle() | tbisEmbeddedGroup);
  Root->Add(a);
  a->Add(b);
  b->SetLinkSubitems(a);  // b shows a's children, and a holds b
  int count = 0;
  int key;
  a->RegisterNotification(&key, [&](auto...) { ++count; });
  a->Notify(tbicInvalidate, -1, nullptr);
  EXPECT_GT(count, 0);
  EXPECT_LT(count, 20);
  a->UnregisterNotification(&key);
}

TEST_F(TTree, LinkSubitemsToItselfIsNone) {
  auto* s = new TTBSubmenuItem(nullptr);
  Root->Add(s);
  s->SetLinkSubitems(s);
  EXPECT_EQ(s->LinkSubitems(), nullptr);
  EXPECT_EQ(ResolveLinkedItem(s), s);
}

TEST_F(TTree, ImageListsReportSizeChanges) {
  TImageList small(nullptr), large(nullptr);
  large.SetWidth(24);
  large.SetHeight(24);
  auto* i = NewItem("a");
  Root->Add(i);
  TRecorder rec(Root.get());
  i->SetImages(&small);
  EXPECT_EQ(rec.Actions(), std::vector<TTBItemChangedAction>{tbicInvalidateAndResize});
  rec.Notes.clear();
  TBitmap bmp(16, 16);
  small.Add(&bmp, nullptr);  // content only
  EXPECT_EQ(rec.Actions(), std::vector<TTBItemChangedAction>{tbicInvalidate});
  rec.Notes.clear();
  small.SetWidth(20);
  rec.Notes.clear();
  small.SetHeight(20);
  EXPECT_EQ(rec.Actions(), std::vector<TTBItemChangedAction>{tbicInvalidateAndResize});
  rec.Notes.clear();
  {
    TImageList same(nullptr);
    same.SetWidth(20);
    same.SetHeight(20);
    i->SetImages(&same);  // same size: repaint only
    EXPECT_EQ(rec.Actions(), std::vector<TTBItemChangedAction>{tbicInvalidate});
  }
  EXPECT_EQ(i->Images(), nullptr);  // the list went away
}

TEST_F(TTree, ShortCutTextFromTheCaptionTabOrTheShortCut) {
  auto* i = NewItem("Open");
  EXPECT_EQ(i->GetShortCutText(), "");
  i->SetShortCut(ShortCut('O', {ssCtrl}));
  EXPECT_EQ(i->GetShortCutText(), "Ctrl+O");
  i->SetCaption("Open\tCtrl+Shift+O");
  EXPECT_EQ(i->GetShortCutText(), "Ctrl+Shift+O");
  delete i;
}

TEST_F(TTree, StreamingParentsAndContainers) {
  auto* i = NewItem("a");
  i->SetParentComponent(Root.get());
  EXPECT_EQ(i->Parent(), Root.get());
  TComponent plain(nullptr);
  try {
    i->SetParentComponent(&plain);
    FAIL();
  } catch (const ETBItemError& e) {
    EXPECT_STREQ(e.what(), "Toolbar item cannot be inserted into container of type TComponent");
  }
  EXPECT_EQ(i->Parent(), nullptr);
  Root->Add(i);
  std::vector<TComponent*> children;
  Root->GetChildren([&](TComponent* c) { children.push_back(c); }, nullptr);
  EXPECT_EQ(children, std::vector<TComponent*>{i});
}

}  // namespace
