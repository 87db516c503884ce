// A sorted combo box keeps each item's object with its string and answers
// the place an added string took; the cursor table lists its identifiers in
// order.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/cursors.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

TEST(SortedCombo, AddedStringsKeepTheirObjects) {
  guitest::EnsureGui();
  TComboBox combo(nullptr);
  combo.SetSorted(true);
  TObject* objects[3] = {reinterpret_cast<TObject*>(10), reinterpret_cast<TObject*>(20),
                         reinterpret_cast<TObject*>(30)};
  EXPECT_EQ(combo.Items()->AddObject("Pear", objects[0]), 0);
  EXPECT_EQ(combo.Items()->AddObject("Apple", objects[1]), 0);
  EXPECT_EQ(combo.Items()->AddObject("Zucchini", objects[2]), 2);
  EXPECT_EQ(combo.Items()->Strings(0), "Apple");
  EXPECT_EQ(combo.Items()->Objects(0), objects[1]);
  EXPECT_EQ(combo.Items()->Objects(1), objects[0]);
  EXPECT_EQ(combo.Items()->IndexOfObject(objects[2]), 2);
  // Unsorted, strings go to the end.
  TComboBox plain(nullptr);
  EXPECT_EQ(plain.Items()->AddObject("b", objects[0]), 0);
  EXPECT_EQ(plain.Items()->AddObject("a", objects[1]), 1);
  EXPECT_EQ(plain.Items()->Objects(1), objects[1]);
}

TEST(CursorTable, IdentifiersInTableOrder) {
  std::vector<std::string> idents;
  GetCursorValues([&](const std::string& s) { idents.push_back(s); });
  ASSERT_EQ(idents.size(), 22u);  // crDefault 0 .. crSizeAll -22, with no -5
  EXPECT_EQ(idents.front(), "crDefault");
  EXPECT_EQ(idents[1], "crNone");
  EXPECT_EQ(idents.back(), "crSizeAll");
  for (const std::string& s : idents) {
    TCursor c;
    ASSERT_TRUE(IdentToCursor(s, c)) << s;
    std::string back;
    ASSERT_TRUE(CursorToIdent(c, back));
    EXPECT_EQ(back, s);
  }
}
