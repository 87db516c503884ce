// Copy, cut and paste through the clipboard: tab-separated text that comes
// back exactly, rich text, the cell stream, growing the grid and series
// filled into a selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "platform/rtl/codepages.h"
#include "platform/ui/clipboard.h"
#include "support/gui/guitest.h"

namespace {

std::unique_ptr<TPlusStringGrid> NewGrid(int cols = 5, int rows = 6) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(cols);
  g->SetRowCount(rows);
  TGridOptions o = g->Options();
  o.Include(goEditing);
  g->SetOptions(o);
  return g;
}

std::vector<std::string> Column(TPlusStringGrid& g, int c, int from, int to) {
  std::vector<std::string> v;
  for (int r = from; r <= to; ++r) v.push_back(g.Cells(c, r));
  return v;
}

// Records the after-paste hook.
struct THookGrid : TPlusStringGrid {
  using TPlusStringGrid::TPlusStringGrid;
  std::vector<std::pair<TPoint, TGridRect>> Pastes;
  void AfterPaste(TPoint Origin, const TGridRect& Target, bool) override { Pastes.emplace_back(Origin, Target); }
};

TEST(GridClipboard, WholeGridAsTabSeparatedLines) {
  auto g = NewGrid(2, 2);
  g->SetCells(0, 0, "a");
  g->SetCells(1, 0, "b");
  g->SetCells(0, 1, "c");
  g->SetCells(1, 1, "d");
  g->CopyGridToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "a\tb\r\nc\td\r\n");

  g->CopyRangeToClipboard(TGridRect{0, 0, 1, 0}, false);
  EXPECT_EQ(Clipboard()->AsText(), "a\tb") << "one row has no line end";
}

TEST(GridClipboard, AnyCellTextSurvivesCopyAndPaste) {
  const std::vector<std::string> texts = {
      "plain", "two\nlines", "crlf\r\nlines", "tab\there", "say \"hi\"", "\"quoted\"", "\"", "", "trailing\n",
      "\tlead", "1,5", "|\\0041", "\xC3\xA9t\xC3\xA9"};
  auto a = NewGrid(3, static_cast<int>(texts.size()));
  for (size_t i = 0; i < texts.size(); ++i) {
    a->SetCells(0, static_cast<int>(i), texts[i]);
    a->SetCells(2, static_cast<int>(i), "end" + std::to_string(i));
  }
  a->CopyGridToClipboard();
  auto b = NewGrid(3, 2);
  const int n = b->PasteFromClipboardAt(0, 0);
  EXPECT_EQ(n, static_cast<int>(texts.size()) * 3 + 1);
  ASSERT_EQ(b->RowCount(), static_cast<int>(texts.size()));
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(b->Cells(0, static_cast<int>(i)), texts[i]) << i;
    EXPECT_EQ(b->Cells(2, static_cast<int>(i)), "end" + std::to_string(i));
  }
}

TEST(GridClipboard, TextFromOtherPrograms) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> col1, col2;
    int fields;
  };
  const Case cases[] = {
      {"lines ended by LF", "x\ty\nz\tw\n", {"x", "z", ""}, {"y", "w", ""}, 5},
      {"quoted line break with VT", "\"one\ntwo\vthree\"\tb", {"one\ntwo\r\nthree", "", ""}, {"b", "", ""}, 2},
      {"unbalanced quote is text", "\"open\tb", {"\"open", "", ""}, {"b", "", ""}, 2},
      {"quote inside a field", "5\" disk\tb", {"5\" disk", "", ""}, {"b", "", ""}, 2},
      {"no line end", "only", {"only", "", ""}, {"", "", ""}, 1},
  };
  for (const Case& c : cases) {
    auto g = NewGrid(4, 4);
    EXPECT_EQ(g->PasteText(1, 1, c.text), c.fields) << c.what;
    EXPECT_EQ(Column(*g, 1, 1, 3), c.col1) << c.what;
    EXPECT_EQ(Column(*g, 2, 1, 3), c.col2) << c.what;
  }
}

TEST(GridClipboard, PasteGrowsRowsAndColumnsOnlyAsNeeded) {
  auto g = NewGrid(3, 4);  // rows 1..3; row 3 is the last
  EXPECT_EQ(g->PasteText(1, 3, "a\r\nb\r\nc\r\n"), 4);
  EXPECT_EQ(g->RowCount(), 6);
  EXPECT_EQ(Column(*g, 1, 3, 5), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(g->ColCount(), 3);
  g->PasteText(2, 1, "p\tq\tr");
  EXPECT_EQ(g->ColCount(), 5);
  EXPECT_EQ(g->Cells(4, 1), "r");

  // A floating footer stays the last row.
  auto f = NewGrid(3, 4);
  f->SetCells(1, 3, "sum");
  f->FloatingFooter()->SetVisible(true);
  f->PasteText(1, 2, "a\r\nb\r\nc\r\n");
  EXPECT_EQ(Column(*f, 1, 2, 5), (std::vector<std::string>{"a", "b", "c", "sum"}));

  auto h = NewGrid(3, 4);
  h->Navigation()->SetAllowClipboardRowGrow(false);
  h->Navigation()->SetAllowClipboardColGrow(false);
  EXPECT_EQ(h->PasteText(1, 3, "a\tx\ty\r\nb\r\nc"), 5) << "fields beyond the grid still count";
  EXPECT_EQ(h->RowCount(), 4);
  EXPECT_EQ(h->ColCount(), 3);
  EXPECT_EQ(h->Cells(1, 3), "a");
  EXPECT_EQ(h->Cells(2, 3), "x");
}

TEST(GridClipboard, PasteNeedsAnEditableGridAndCells) {
  auto g = NewGrid(4, 4);
  g->SetOptions(TGridOptions{});
  EXPECT_EQ(g->PasteText(1, 1, "a"), 0);
  EXPECT_EQ(g->Cells(1, 1), "");
  EXPECT_EQ(g->PasteText(-1, 1, "a"), 0);

  auto h = NewGrid(4, 4);
  h->GetCellProperties(2, 1)->SetReadOnly(true);
  EXPECT_EQ(h->PasteText(1, 1, "a\tb\tc"), 3);
  EXPECT_EQ(h->Cells(2, 1), "");
  EXPECT_EQ(h->Cells(3, 1), "c");
  h->Navigation()->SetAllowClipboardAlways(true);
  h->PasteText(1, 1, "a\tb\tc");
  EXPECT_EQ(h->Cells(2, 1), "b");
}

TEST(GridClipboard, PastedCellEventsAndCheckBoxes) {
  auto g = NewGrid(4, 4);
  g->AddCellCheckBox(1, 1, false, false);
  g->AddCellCheckBox(2, 1, true, false);
  std::vector<std::string> narrow;
  std::vector<std::u16string> wide;
  g->OnClipboardBeforePasteCell = [&](TObject*, int, int, std::string& v, bool& allow) {
    narrow.push_back(v);
    if (v == "veto") allow = false;
  };
  g->OnClipboardBeforePasteWideCell = [&](TObject*, int, int, std::u16string& v, bool&) {
    wide.push_back(v);
    v += u"!";
  };
  g->PasteText(1, 1, "Y\tyes\t" + EncodeWideCellText(u"\u00E9t\u00E9") + "\tveto");
  bool state = false;
  EXPECT_TRUE(g->GetCellCheckState(1, 1, state));
  EXPECT_TRUE(state) << "\"Y\" checks";
  EXPECT_TRUE(g->GetCellCheckState(2, 1, state));
  EXPECT_FALSE(state) << "any other text unchecks";
  EXPECT_EQ(g->GetWideCell(3, 1), u"\u00E9t\u00E9!");
  EXPECT_EQ(narrow, (std::vector<std::string>{"Y", "yes", "veto"}));
  EXPECT_EQ(wide, (std::vector<std::u16string>{u"\u00E9t\u00E9"}));
}

TEST(GridClipboard, SmartPasteFillsSeries) {
  struct Case {
    std::string clip;
    std::vector<std::string> column;
  };
  const Case cases[] = {
      {"1\r\n3\r\n", {"1", "3", "5", "7", "9"}},
      {"1\r\n3", {"1", "3", "5", "7", "9"}},
      {"10\r\n7\r\n", {"10", "7", "4", "1", "-2"}},
      {"1.5\r\n2.0\r\n", {"1.50", "2.00", "2.50", "3.00", "3.50"}},
      {"5", {"5", "5", "5", "5", "5"}},
      {"a\r\nb\r\n", {"a", "b", "a", "b", "a"}},
      {"1\r\n2\r\n3\r\n4\r\n5\r\n", {"1", "2", "3", "4", "5"}},
      // A series that would leave the numbers stops where it would.
      {"9223372036854775806\r\n9223372036854775807\r\n", {"9223372036854775806", "9223372036854775807", "", "", ""}},
  };
  for (const Case& c : cases) {
    auto g = NewGrid(3, 8);
    g->Navigation()->SetAllowSmartClipboard(true);
    g->SetSelection(TGridRect{1, 1, 1, 5});
    Clipboard()->SetAsText(c.clip);
    g->PasteSelectionFromClipboard();
    EXPECT_EQ(Column(*g, 1, 1, 5), c.column) << c.clip;
    EXPECT_EQ(g->Cells(1, 6), "") << c.clip;
  }

  auto big = NewGrid(3, 8);
  big->Navigation()->SetAllowSmartClipboard(true);
  big->SetSelection(TGridRect{1, 1, 1, 5});
  Clipboard()->SetAsText("1.0e308\r\n1.5e308\r\n");
  big->PasteSelectionFromClipboard();
  EXPECT_EQ(Column(*big, 1, 3, 5), (std::vector<std::string>{"", "", ""})) << "no infinite values";

  // Along a row.
  auto r = NewGrid(6, 3);
  r->Navigation()->SetAllowSmartClipboard(true);
  r->SetSelection(TGridRect{1, 1, 5, 1});
  Clipboard()->SetAsText("2\t4");
  r->PasteSelectionFromClipboard();
  EXPECT_EQ((std::vector<std::string>{r->Cells(1, 1), r->Cells(2, 1), r->Cells(3, 1), r->Cells(4, 1), r->Cells(5, 1)}),
            (std::vector<std::string>{"2", "4", "6", "8", "10"}));

  // Without the setting only the pasted block lands.
  auto p = NewGrid(3, 8);
  p->SetSelection(TGridRect{1, 1, 1, 5});
  Clipboard()->SetAsText("1\r\n3\r\n");
  p->PasteSelectionFromClipboard();
  EXPECT_EQ(Column(*p, 1, 1, 5), (std::vector<std::string>{"1", "3", "", "", ""}));
}

TEST(GridClipboard, SmartPasteStepsDatesByMonths) {
  auto g = NewGrid(3, 8);
  g->Navigation()->SetAllowSmartClipboard(true);
  g->SetSelection(TGridRect{1, 1, 1, 4});
  const TDateTime d1 = EncodeDate(2026, 11, 15), d2 = EncodeDate(2026, 12, 15);
  Clipboard()->SetAsText(DateToStr(d1) + "\r\n" + DateToStr(d2) + "\r\n");
  g->PasteSelectionFromClipboard();
  EXPECT_EQ(Column(*g, 1, 1, 4), (std::vector<std::string>{DateToStr(d1), DateToStr(d2),
                                                            DateToStr(EncodeDate(2027, 1, 15)),
                                                            DateToStr(EncodeDate(2027, 2, 15))}));
}

TEST(GridClipboard, CutFreesOnlyTheRecordsOfClearedCells) {
  auto g = NewGrid(4, 4);
  g->Navigation()->SetAllowFmtClipboard(true);
  for (int c = 1; c <= 2; ++c) {
    g->SetCells(c, 1, "t" + std::to_string(c));
    g->GetCellProperties(c, 1)->SetBrushColor(clRed);
  }
  g->GetCellProperties(2, 1)->SetReadOnly(true);
  g->SetCells(3, 1, "outside");
  g->GetCellProperties(3, 1)->SetBrushColor(clBlue);
  g->SetSelection(TGridRect{1, 1, 2, 1});
  g->CutSelectionToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "t1\tt2");
  EXPECT_EQ(g->Cells(1, 1), "");
  EXPECT_FALSE(g->HasCellProperties(1, 1));
  EXPECT_EQ(g->Cells(2, 1), "t2") << "a read-only cell stays";
  ASSERT_TRUE(g->HasCellProperties(2, 1));
  EXPECT_EQ(g->GetCellProperties(2, 1)->BrushColor(), clRed);
  EXPECT_EQ(g->GetCellProperties(3, 1)->BrushColor(), clBlue);

  // The cut cells, formatting included, paste back.
  g->PasteFromClipboardAt(1, 2);
  EXPECT_EQ(g->Cells(1, 2), "t1");
  EXPECT_EQ(g->GetCellProperties(1, 2)->BrushColor(), clRed);
}

TEST(GridClipboard, CellStreamPasteTellsItsOrigin) {
  THookGrid a(nullptr), b(nullptr);
  for (THookGrid* g : {&a, &b}) {
    g->SetColCount(6);
    g->SetRowCount(6);
    g->Navigation()->SetAllowFmtClipboard(true);
  }
  a.SetCells(2, 2, "x");
  a.GetCellProperties(3, 3)->SetFontColor(clGreen);
  a.SetSelection(TGridRect{2, 2, 3, 3});
  a.CopySelectionToClipboard();

  EXPECT_EQ(a.PasteFromClipboardAt(4, 4), 4);
  ASSERT_EQ(a.Pastes.size(), 1u);
  EXPECT_EQ(a.Pastes[0].first.X, 2);
  EXPECT_EQ(a.Pastes[0].first.Y, 2);
  EXPECT_EQ(a.Pastes[0].second, (TGridRect{4, 4, 5, 5}));
  EXPECT_EQ(a.Cells(4, 4), "x");
  EXPECT_EQ(a.GetCellProperties(5, 5)->FontColor(), clGreen);

  EXPECT_EQ(b.PasteFromClipboardAt(0, 0), 4);
  ASSERT_EQ(b.Pastes.size(), 1u);
  EXPECT_EQ(b.Pastes[0].first.X, -1) << "another grid's stream has no origin here";
  EXPECT_EQ(b.Cells(0, 0), "x");
}

TEST(GridClipboard, DamagedStreamOnTheClipboardIsRefused) {
  auto g = NewGrid(4, 4);
  g->Navigation()->SetAllowFmtClipboard(true);
  g->SetCells(1, 1, "mine");
  Clipboard()->SetAsText("text");
  Clipboard()->SetBuffer(PlusGridCellsFormat(), {'P', 'G', 'C', 'S', 1, 0, 1, 2});
  EXPECT_THROW(g->PasteFromClipboardAt(1, 1), EPlusGridError);
  EXPECT_EQ(g->Cells(1, 1), "mine");
}

TEST(GridClipboard, RichTextAndMarkup) {
  auto g = NewGrid(4, 4);
  g->SetCells(1, 1, "{\\rtf1 rich\\par text}");
  g->SetCells(2, 1, "<b>bold</b>");
  g->Navigation()->SetAllowRTFClipboard(true);
  g->CopyRangeToClipboard(TGridRect{1, 1, 2, 1}, false);
  EXPECT_EQ(Clipboard()->AsText(), "\"rich\r\ntext\"\t<b>bold</b>");
  const std::vector<uint8_t> rtf = Clipboard()->GetBuffer(RegisterClipboardFormat("Rich Text Format"));
  EXPECT_EQ(std::string(rtf.begin(), rtf.end()), "{\\rtf1 rich\\par text}");
  g->Navigation()->SetCopyHTMLTagsToClipboard(false);
  g->CopyRangeToClipboard(TGridRect{2, 1, 2, 1}, false);
  EXPECT_EQ(Clipboard()->AsText(), "bold");

  // Rich text on the clipboard goes whole into one cell.
  g->CopyRangeToClipboard(TGridRect{1, 1, 1, 1}, false);
  EXPECT_EQ(g->PasteFromClipboardAt(3, 2), 0);
  EXPECT_EQ(g->Cells(3, 2), "{\\rtf1 rich\\par text}");
}

TEST(GridClipboard, SelectedCellsAndTextDimensions) {
  auto g = NewGrid(5, 6);
  g->SetSelection(TGridRect{1, 2, 3, 3});
  EXPECT_TRUE(g->IsSelectedCell(2, 3));
  EXPECT_FALSE(g->IsSelectedCell(2, 4));
  EXPECT_FALSE(g->IsSelectedCell(0, 2)) << "fixed cells never";
  g->SetFixedFooters(3);
  EXPECT_FALSE(g->IsSelectedCell(2, 3)) << "nor footer rows";
  g->SetFixedFooters(0);
  g->MouseActions()->SetDisjunctRowSelect(true);
  g->SetRowSelect(4, true);
  EXPECT_TRUE(g->IsSelectedCell(1, 4));
  EXPECT_FALSE(g->IsSelectedCell(1, 2));

  // Disjunct rows copy only the marked rows of the grid.
  g->SetCells(1, 4, "marked");
  g->CopySelectionToClipboard();
  EXPECT_EQ(Clipboard()->AsText(), "\tmarked\t\t\t\r\n");

  EXPECT_EQ(g->GetTextDimensions("a\tb\tc\r\nd\r\n"), (TPoint{3, 2}));
  EXPECT_EQ(g->GetTextDimensions("a\r\n\r\nb"), (TPoint{1, 1}));
}

TEST(GridClipboard, MergedSelectionCopiesTheWholeArea) {
  auto g = NewGrid(5, 5);
  g->MergeCells(1, 1, 2, 2);
  g->SetCells(1, 1, "m");
  g->SetCells(3, 3, "z");
  g->SetSelection(TGridRect{2, 2, 3, 3});
  g->CopySelectionToClipboard();
  const TGridRect s = g->Selection();
  EXPECT_EQ(s, (TGridRect{1, 1, 3, 3}));
  EXPECT_EQ(Clipboard()->AsText(), "m\tm\t\r\nm\tm\t\r\n\t\tz\r\n");
}

}  // namespace
