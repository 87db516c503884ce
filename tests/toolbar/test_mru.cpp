// The recent-file list and its placeholder items.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "toolbar/tbmru.h"
#include "toolbar/tbview.h"

namespace {

struct TMRU : ::testing::Test {
  std::unique_ptr<TTBMRUList> List = std::make_unique<TTBMRUList>(nullptr);
  int Changes = 0;
  void SetUp() override {
    List->SetAddFullPath(false);
    List->OnChange = [this](TObject*) { ++Changes; };
  }
  std::vector<std::string> Names() {
    std::vector<std::string> r;
    for (int i = 0; i < List->Items()->Count(); ++i) r.push_back(List->Items()->Get(i));
    return r;
  }
  std::string Caption(int i) { return List->Container()->Items(i)->Caption(); }
};

TEST_F(TMRU, AFifthNameDropsTheOldest) {
  for (const char* n : {"/d/a.inp", "/d/b.inp", "/d/c.inp", "/d/d.inp"}) List->AddFile(n);
  Changes = 0;
  List->AddFile("/d/e.inp");
  EXPECT_EQ(Names(), (std::vector<std::string>{"/d/e.inp", "/d/d.inp", "/d/c.inp", "/d/b.inp"}));
  EXPECT_EQ(List->Container()->Count(), 4);
  EXPECT_EQ(Changes, 2);  // the drop and the insertion
  // Known again: moved to the top, the list does not grow.
  List->AddFile("/d/c.inp");
  EXPECT_EQ(Names(), (std::vector<std::string>{"/d/c.inp", "/d/e.inp", "/d/d.inp", "/d/b.inp"}));
  // Lowering MaxItems drops the oldest at once.
  List->SetMaxItems(2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"/d/c.inp", "/d/e.inp"}));
}

TEST_F(TMRU, NegativeMaxItemsIsClampedAndZeroEmpties) {
  List->AddFile("/d/a.inp");
  List->SetMaxItems(-3);
  EXPECT_EQ(List->MaxItems(), 0);
  EXPECT_TRUE(Names().empty());
  EXPECT_EQ(List->Container()->Count(), 0);
}

TEST_F(TMRU, NamesDifferingOnlyInCaseAreTwoFiles) {
  List->AddFile("/data/Run1.inp");
  List->AddFile("/data/run1.inp");
  EXPECT_EQ(Names(), (std::vector<std::string>{"/data/run1.inp", "/data/Run1.inp"}));
}

TEST_F(TMRU, CaptionsCountOneToNineThenLettersThenNothing) {
  List->SetMaxItems(40);
  List->SetHidePathExtension(false);
  for (int i = 40; i >= 1; --i) List->AddFile("f" + std::to_string(i));
  EXPECT_EQ(Caption(0), "&1 f1");
  EXPECT_EQ(Caption(8), "&9 f9");
  EXPECT_EQ(Caption(9), "&A f10");
  EXPECT_EQ(Caption(34), "&Z f35");
  EXPECT_EQ(Caption(35), "f36");
  EXPECT_EQ(Caption(39), "f40");
}

TEST_F(TMRU, TitlesHideFolderAndExtensionAndShowAmpersandsLiterally) {
  List->AddFile("/data/R&D/Run & test.inp");
  EXPECT_EQ(Caption(0), "&1 Run && test");
  List->SetHidePathExtension(false);
  EXPECT_EQ(Caption(0), "&1 /data/R&&D/Run && test.inp");
}

TEST_F(TMRU, ClickingAnEntryMovesItToTheTopBeforeOnClick) {
  for (const char* n : {"/d/a", "/d/b", "/d/c"}) List->AddFile(n);
  std::vector<std::string> seen;
  List->OnClick = [&](TObject* s, const std::string& name) {
    EXPECT_EQ(s, List.get());
    seen.push_back(name);
    EXPECT_EQ(List->Items()->Get(0), "/d/a");  // already on top
  };
  List->Container()->Items(2)->Click();  // the third entry
  EXPECT_EQ(seen, std::vector<std::string>{"/d/a"});
  EXPECT_EQ(Names(), (std::vector<std::string>{"/d/a", "/d/c", "/d/b"}));
}

TEST_F(TMRU, PlaceholdersShowTheEntriesInlineAndForgetAFreedList) {
  TTBRootItem root(nullptr);
  auto* open = new TTBItem(nullptr);
  open->SetCaption("Open");
  root.Add(open);
  auto* placeholder = new TTBMRUListItem(nullptr);
  placeholder->SetMRUList(List.get());
  root.Add(placeholder);
  TTBView view(nullptr, nullptr, &root, nullptr, false, false, false);
  List->AddFile("/d/a.inp");
  List->AddFile("/d/b.inp");
  view.UpdatePositions();
  // Open, the placeholder (hidden) and two entries.
  ASSERT_EQ(view.ViewerCount(), 4);
  EXPECT_FALSE(view.Viewers(1)->Show);
  EXPECT_EQ(view.Viewers(2)->Item->Caption(), "&1 b");
  EXPECT_TRUE(view.Viewers(3)->Show);
  List.reset();
  EXPECT_EQ(placeholder->MRUList(), nullptr);
  EXPECT_EQ(placeholder->LinkSubitems(), nullptr);
  EXPECT_EQ(view.ViewerCount(), 2);
}

TEST_F(TMRU, AddFullPathExpandsRelativeNames) {
  List->SetAddFullPath(true);
  List->AddFile("rel.inp");
  ASSERT_EQ(List->Items()->Count(), 1);
  EXPECT_EQ(List->Items()->Get(0).front(), '/');
}

}  // namespace
