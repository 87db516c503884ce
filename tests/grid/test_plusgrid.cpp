// The string grid as data: creation and its defaults, the settings objects,
// the published properties, typed cell access, selections and headers.
#include "grid/plusgrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "grid/support/plusutil.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"
#include "support/testlocale.h"

namespace {

int gLive = 0;
struct TCountedGraphic : TCellGraphic {
  TCountedGraphic() { ++gLive; }
  ~TCountedGraphic() override { --gLive; }
};

std::unique_ptr<TPlusStringGrid> NewGrid(int cols = 5, int rows = 10) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(cols);
  g->SetRowCount(rows);
  return g;
}

std::string ErrorText(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const EPlusGridError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(PlusGridCreation, NewGridHasItsDefaults) {
  TPlusStringGrid g(nullptr);
  struct Case {
    const char* prop;
    const char* value;
  };
  const Case cases[] = {
      {"FixedCols", "1"},          {"FixedRows", "1"},          {"ColCount", "5"},
      {"RowCount", "10"},          {"DefaultRowHeight", "21"},  {"FixedRowHeight", "21"},
      {"FloatFormat", "%.2f"},     {"Look", "glXP"},            {"Version", "3.5.1.1"},
      {"SelectionColor", "15387318"}, {"SelectionColorTo", "clNone"}, {"ActiveCellColor", "clGray"},
      {"EnableHTML", "True"},      {"ShowSelection", "True"},   {"EnhRowColMove", "True"},
      {"ScrollBars", "ssBoth"},    {"DefaultEditor", "edNormal"}, {"URLColor", "clBlue"},
      {"VAlignment", "vtaTop"},    {"IntelliZoom", "True"},     {"FilterActive", "False"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetPropValue(&g, c.prop), c.value) << c.prop;
  EXPECT_EQ(g.Width(), 400);
  EXPECT_EQ(g.Height(), 250);
  EXPECT_EQ(g.FixedFont()->Name(), "Tahoma");
  EXPECT_TRUE(g.FixedFont()->Style().Contains(fsBold));
  EXPECT_TRUE(g.ActiveCellFont()->Style().Contains(fsBold));
  EXPECT_EQ(g.CheckTrue(), "Y");
  EXPECT_EQ(g.CheckFalse(), "N");
  EXPECT_EQ(g.PasswordChar(), '*');
  EXPECT_EQ(g.GetVersionNr(), 0x03050101);
  EXPECT_EQ(g.MaxRowCountSet(), 10);
  EXPECT_EQ(g.DisplRowCount(), 10);
}

TEST(PlusGridCreation, ArrowWindowsOnlyAtRunTimeAndClassRegistered) {
  TPlusStringGrid run(nullptr);
  for (int d = 0; d < 4; ++d) {
    ASSERT_NE(run.ArrowWindow(d), nullptr);
    EXPECT_FALSE(run.ArrowWindow(d)->Visible());
  }
  TForm designer(nullptr);
  designer.SetDesigning(true);
  auto* designed = new TPlusStringGrid(&designer);
  EXPECT_EQ(designed->ArrowWindow(0), nullptr);
  EXPECT_EQ(designed->ActiveCellFont()->Name(), "Tahoma");
  EXPECT_NE(FindClass("TPlusStringGrid"), nullptr);
  EXPECT_NE(GridEditDoneMessage(), 0u);
}

TEST(PlusGridCreation, WritingVersionChangesNothing) {
  TPlusStringGrid g(nullptr);
  SetPropValue(&g, "Version", "9.9.9.9");
  EXPECT_EQ(g.Version(), "3.5.1.1");
  EXPECT_EQ(g.GetVersionString(), "3.5.1.1 Apr, 2007") << "the number, then the release date";
  EXPECT_FALSE(IsDefaultPropertyValue(&g, *GetPropInfo(&g, "Version"))) << "Version has no default and is written";
}

TEST(PlusGridCreation, PropertiesSetAsAFormResourceDoes) {
  TPlusStringGrid g(nullptr);
  SetPropValue(&g, "ColCount", "3");
  SetPropValue(&g, "RowCount", "4");
  SetPropValue(g.Navigation(), "AllowInsertRow", "True");
  SetPropValue(g.MouseActions(), "RowSelect", "True");
  SetPropValue(g.PrintSettings(), "DateFormat", "yyyy-mm-dd");
  SetPropValue(g.CellNode(), "NodeType", "cnFlat");
  EXPECT_EQ(g.ColCount(), 3);
  EXPECT_EQ(g.RowCount(), 4);
  EXPECT_TRUE(g.Navigation()->AllowInsertRow());
  EXPECT_TRUE(g.MouseActions()->RowSelect());
  EXPECT_EQ(g.PrintSettings()->DateFormat(), "yyyy-mm-dd");
  EXPECT_EQ(g.CellNode()->NodeType(), cnFlat);
  EXPECT_EQ(GetObjectProp(&g, "Navigation"), g.Navigation());
  // Untouched settings keep their defaults and are not written.
  EXPECT_TRUE(IsDefaultPropertyValue(&g, *GetPropInfo(&g, "FixedRows")));
  EXPECT_FALSE(IsDefaultPropertyValue(&g, *GetPropInfo(&g, "ColCount")));
}

TEST(PlusGridCreation, EventsBindThroughTheirNames) {
  TPlusStringGrid g(nullptr);
  int fired = 0;
  const TPropInfo* p = GetPropInfo(&g, "OnRowUpdate");
  ASSERT_NE(p, nullptr);
  p->SetMethod(&g, std::any(TRowChangedEvent([&](TObject*, int, int) { ++fired; })));
  g.SetCurrentRow(3);
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(p->HasMethod(&g));
  for (const char* name : {"OnGetCellColor", "OnCustomCellDraw", "OnOleDropFile", "OnGetEditWideText", "OnPrintStart", "OnCanEditCell", "OnCellsChanged", "OnFilterProgress", "OnSaveCell",
                           "OnLoadCell", "OnRowDisjunctSelect", "OnClipboardBeforePasteCell"})
    EXPECT_TRUE(IsPublishedProp(&g, name)) << name;
}

TEST(PlusGridCreation, FixedRowsAndColsAlways) {
  auto g = NewGrid();
  g->SetFixedRows(0);
  g->SetFixedCols(0);
  EXPECT_EQ(g->FixedRows(), 0);
  g->SetFixedRowAlways(true);
  g->SetFixedColAlways(true);
  EXPECT_EQ(g->FixedRows(), 1);
  EXPECT_EQ(g->FixedCols(), 1);
}

TEST(PlusGridCreation, LoadedTakesOverTheFormSettings) {
  TPlusStringGrid g(nullptr);
  SetPropValue(&g, "ColCount", "3");
  SetPropValue(&g, "RowCount", "7");
  SetPropValue(&g, "DefaultRowHeight", "18");
  g.ColumnHeaders()->Add("A");
  TGridOptions o = g.Options();
  o.Include(goAlwaysShowEditor);
  g.SetOptions(o);
  g.Loaded();
  EXPECT_TRUE(g.WasLoaded());
  EXPECT_FALSE(g.Options().Contains(goAlwaysShowEditor));
  EXPECT_TRUE(g.Navigation()->AlwaysEdit());
  EXPECT_EQ(g.OrgDefaultRowHeight(), 18);
  EXPECT_EQ(g.MaxRowCountSet(), 7);
  EXPECT_EQ(g.AlwaysFixedRows(), 1);
  EXPECT_EQ(g.FixedCols(), 1);
  EXPECT_EQ(g.Cells(0, 0), "A");
  EXPECT_EQ(g.FloatFormat(), "%.2f");
  EXPECT_EQ(g.Look(), glXP);
}

TEST(PlusGridCreation, FixedColWidthEqualToDefaultLeavesFixedColumns) {
  auto g = NewGrid();
  g->SetColWidths(0, 30);
  g->SetFixedColWidth(g->DefaultColWidth());
  EXPECT_EQ(g->ColWidths(0), 30);
  g->SetFixedColWidth(50);
  EXPECT_EQ(g->ColWidths(0), 50);
  EXPECT_EQ(g->FixedColWidth(), 50);
}

TEST(PlusGridCreation, GrownAndShrunkGridLeaksNoRecord) {
  gLive = 0;
  {
    auto g = NewGrid(3, 100);
    for (int r = 0; r < 100; ++r) g->SetCellGraphic(1, r, new TCountedGraphic);
    g->GetCellProperties(2, 99)->SetBrushColor(clRed);
    EXPECT_EQ(gLive, 100);
    g->SetRowCount(5);
    EXPECT_EQ(gLive, 5);
    g->HideRows(2, 3);
    EXPECT_EQ(gLive, 5) << "hidden rows keep their records";
  }
  EXPECT_EQ(gLive, 0);
}

TEST(PlusGridCreation, AssignCopiesFromAnotherGridOnly) {
  auto a = NewGrid(3, 4);
  a->SetCells(1, 1, "x");
  a->GetCellProperties(1, 1)->SetBrushColor(clRed);
  a->MergeCells(1, 2, 2, 2);
  a->Navigation()->SetAdvanceOnEnter(true);
  a->SetActiveCellColor(clYellow);
  auto b = NewGrid();
  b->Assign(a.get());
  EXPECT_EQ(b->ColCount(), 3);
  EXPECT_EQ(b->RowCount(), 4);
  EXPECT_EQ(b->Cells(1, 1), "x");
  EXPECT_EQ(b->GetCellProperties(1, 1)->BrushColor(), clRed);
  EXPECT_TRUE(b->IsMergedCell(2, 3));
  EXPECT_TRUE(b->Navigation()->AdvanceOnEnter());
  EXPECT_EQ(b->ActiveCellColor(), clYellow);

  TNavigation notAGrid;
  b->Assign(&notAGrid);
  EXPECT_EQ(b->ColCount(), 3);
  EXPECT_EQ(b->Cells(1, 1), "x");
}

TEST(PlusGridCreation, ReferencedComponentsAreForgottenWhenFreed) {
  auto g = NewGrid();
  auto* pc = new TPictureContainer(nullptr);
  auto* il = new TImageList(nullptr);
  g->SetPictureContainer(pc);
  g->SetGridImages(il);
  EXPECT_EQ(GetObjectProp(g.get(), "PictureContainer"), pc);
  delete pc;
  delete il;
  EXPECT_EQ(g->PictureContainer(), nullptr);
  EXPECT_EQ(g->GridImages(), nullptr);
}

TEST(PlusGridCreation, GridFollowsItsFormAndLeavesItsOnResizeAlone) {
  auto* form = new TForm(nullptr);
  form->SetBounds(0, 0, 600, 400);
  int formResizes = 0;
  form->OnResize = [&](TObject*) { ++formResizes; };
  auto* g = new TPlusStringGrid(form);
  g->SetParent(form);
  g->SetBounds(10, 10, 300, 200);
  g->SetSizeWithForm(true);
  form->SetBounds(0, 0, 650, 380);
  EXPECT_GE(formResizes, 1);
  EXPECT_EQ(g->Width(), 350);
  EXPECT_EQ(g->Height(), 180);
  // A size that would make the grid vanish is not followed.
  form->SetBounds(0, 0, 200, 100);
  EXPECT_EQ(g->Width(), 350);
  ASSERT_TRUE(form->OnResize);
  delete g;
  int before = formResizes;
  form->SetBounds(0, 0, 700, 500);
  EXPECT_GT(formResizes, before) << "the form's own handler still runs";
  new TPlusStringGrid(form);  // freed with the form
  delete form;
}

// ---------------------------------------------------------------------------
// Settings objects

TEST(PlusGridSettings, NavigationAssignCopiesAndLeavesSource) {
  TNavigation a, b;
  a.SetAllowInsertRow(true);
  a.SetAllowCtrlEnter(false);
  a.SetHomeEndKey(heFirstLastRow);
  b.Assign(&a);
  EXPECT_TRUE(b.AllowInsertRow());
  EXPECT_FALSE(b.AllowCtrlEnter());
  EXPECT_EQ(b.HomeEndKey(), heFirstLastRow);
  EXPECT_TRUE(a.AllowInsertRow());
  TCellNode other;
  b.Assign(&other);
  EXPECT_TRUE(b.AllowInsertRow()) << "another class of source changes nothing";
}

TEST(PlusGridSettings, MouseActionsAssignSkipsTwoSettings) {
  TMouseActions a, b;
  a.SetHotmailRowSelect(true);
  a.SetSizeFixedRow(true);
  a.SetSizeFixedCol(true);
  a.SetWheelAction(waScroll);
  b.Assign(&a);
  EXPECT_FALSE(b.HotmailRowSelect());
  EXPECT_FALSE(b.SizeFixedRow());
  EXPECT_TRUE(b.SizeFixedCol());
  EXPECT_EQ(b.WheelAction(), waScroll);
}

TEST(PlusGridSettings, PrintSettingsAssignCopiesContentsAndRefusesOthers) {
  TPrintSettings a, b;
  a.TitleLines()->Add("line");
  a.Font()->SetName("Courier");
  a.SetPageNumSep("-");
  b.Assign(&a);
  EXPECT_EQ(b.TitleLines()->Count(), 1);
  EXPECT_EQ(b.Font()->Name(), "Courier");
  EXPECT_NE(b.Font(), a.Font());
  EXPECT_EQ(b.PageNumSep(), "-");
  TNavigation n;
  EXPECT_THROW(b.Assign(&n), EConvertError);
}

TEST(PlusGridSettings, DefaultsOfTheObjects) {
  TCellNode n;
  EXPECT_EQ(n.NodeIndent(), 12);
  EXPECT_EQ(n.TreeColor(), clGray);
  EXPECT_EQ(n.NodeType(), cnXP);
  TColumnSize cs;
  EXPECT_EQ(cs.StretchColumn(), -1);
  EXPECT_EQ(cs.Location(), clRegistry);
  THTMLSettings h;
  EXPECT_EQ(h.Width(), 100);
  EXPECT_EQ(h.BorderSize(), 1);
  TPrintSettings p;
  EXPECT_EQ(p.DateFormat(), "dd/mm/yyyy");
  EXPECT_EQ(p.Borders(), pbSingle);
  TMouseActions m;
  EXPECT_TRUE(m.AutoSizeColOnDblClick());
  TNavigation nav;
  EXPECT_TRUE(nav.SkipFixedCells());
  EXPECT_TRUE(nav.AllowClipboardRowGrow());
}

TEST(PlusGridSettings, GridSetterCopiesIntoOwnedObject) {
  auto g = NewGrid();
  TNavigation n;
  n.SetAdvanceOnEnter(true);
  TNavigation* owned = g->Navigation();
  g->SetNavigation(&n);
  EXPECT_EQ(g->Navigation(), owned);
  EXPECT_TRUE(owned->AdvanceOnEnter());
  TColumnSize cs;
  cs.SetSave(true);
  cs.SetKey("k");
  g->SetColumnSize(&cs);
  EXPECT_TRUE(g->ColumnSize()->Save());
  EXPECT_EQ(g->ColumnSize()->Key(), "k");
}

struct TRepaintCounter : TPlusStringGrid {
  using TPlusStringGrid::TPlusStringGrid;
  int Repaints = 0;
  void Repaint() override { ++Repaints; }
};

TEST(PlusGridSettings, NodeSettersRepaintOnlyOnChange) {
  TRepaintCounter g(nullptr);
  g.CellNode()->SetTreeColor(clGray);
  g.CellNode()->SetNodeIndent(12);
  EXPECT_EQ(g.Repaints, 0);
  g.CellNode()->SetTreeColor(clRed);
  g.CellNode()->SetShowTree(false);
  g.CellNode()->SetNodeType(cnLeaf);
  EXPECT_EQ(g.Repaints, 3);
  g.CellNode()->SetColor(clBlue);  // stored only
  EXPECT_EQ(g.Repaints, 3);
}

TEST(PlusGridSettings, DisjunctSelectionsExclusiveOnlyInTheDesigner) {
  auto run = NewGrid();
  run->MouseActions()->SetDisjunctRowSelect(true);
  run->MouseActions()->SetDisjunctColSelect(true);
  EXPECT_TRUE(run->MouseActions()->DisjunctRowSelect());
  TForm designer(nullptr);
  designer.SetDesigning(true);
  auto* g = new TPlusStringGrid(&designer);
  g->MouseActions()->SetDisjunctRowSelect(true);
  g->MouseActions()->SetDisjunctCellSelect(true);
  EXPECT_FALSE(g->MouseActions()->DisjunctRowSelect());
  EXPECT_TRUE(g->MouseActions()->DisjunctCellSelect());
}

TEST(PlusGridSettings, NewCellGraphicAndCheckBox) {
  TCellGraphic g;
  EXPECT_EQ(g.CellType, ctNone);
  EXPECT_FALSE(g.CellCreated);
  g.SetCheckBox(true, false, vaCenter, haBeforeText, true);
  EXPECT_EQ(g.CellType, ctCheckBox);
  EXPECT_TRUE(g.CellBoolean);
  EXPECT_EQ(g.CellHAlign, haBeforeText);
  EXPECT_EQ(g.CellVAlign, vaCenter);
  EXPECT_TRUE(g.CellTransparent);
  g.SetCheckBox(false, true, vaTop, haLeft, false);
  EXPECT_EQ(g.CellType, ctDataCheckBox);
  EXPECT_FALSE(g.CellBoolean);
}

TEST(PlusGridSettings, PictureSizeByStretchMode) {
  struct Case {
    int w, h, mode, margin;
    TPoint size;
  };
  const Case cases[] = {
      {100, 50, 0, 0, {100, 50}}, {100, 50, 1, 0, {60, 60}}, {100, 50, 2, 0, {60, 30}},
      {100, 50, 3, 0, {60, 60}},  {100, 50, 4, 0, {60, 30}}, {40, 20, 2, 0, {60, 30}},
      {40, 20, 3, 0, {40, 20}},   {40, 20, 4, 0, {40, 20}},  {100, 50, 1, 10, {50, 50}},
      {30, 90, 2, 0, {20, 60}},   {0, 0, 2, 0, {0, 0}},      {25, 10, 2, 0, {60, 24}},
      {50, 25, 4, 20, {40, 20}},  {5, 3, 2, 0, {60, 36}},
  };
  for (const Case& c : cases) {
    TCellGraphic g;
    auto* pic = new TFilePicture;
    pic->SetWidth(c.w);
    pic->SetHeight(c.h);
    g.CellType = ctFilePicture;
    g.CellContent = pic;
    g.CellCreated = true;
    g.CellAngle = c.mode;
    g.CellIndex = c.margin;
    EXPECT_EQ(g.GetPictureSize(60, 60), c.size) << c.w << "x" << c.h << " mode " << c.mode;
  }
  TCellGraphic other;
  other.CellType = ctCheckBox;
  EXPECT_EQ(other.GetPictureSize(60, 60), (TPoint{0, 0}));
}

TEST(PlusGridSettings, HalvesRoundToEven) {
  TCellGraphic g;
  auto* pic = new TFilePicture;
  g.CellType = ctFilePicture;
  g.CellContent = pic;
  g.CellCreated = true;
  g.CellAngle = 2;
  pic->SetWidth(4);
  pic->SetHeight(2);
  // 4 x 2 into 5 x 5: factor 1.25 -> (5, 2.5) -> 2 (even).
  EXPECT_EQ(g.GetPictureSize(5, 5), (TPoint{5, 2}));
  pic->SetWidth(4);
  pic->SetHeight(6);
  // 4 x 6 into 14 x 9: factor 1.5 -> (6, 9).
  EXPECT_EQ(g.GetPictureSize(14, 9), (TPoint{6, 9}));
  pic->SetWidth(2);
  pic->SetHeight(4);
  // 2 x 4 into 7 x 20: factor 3.5 -> (7, 14).
  EXPECT_EQ(g.GetPictureSize(7, 20), (TPoint{7, 14}));
  pic->SetWidth(6);
  pic->SetHeight(5);
  // 6 x 5 into 3 x 10: factor 0.5 -> (3, 2.5) -> 2.
  EXPECT_EQ(g.GetPictureSize(3, 10), (TPoint{3, 2}));
  pic->SetWidth(6);
  pic->SetHeight(7);
  // 6 x 7 into 3 x 10: factor 0.5 -> (3, 3.5) -> 4.
  EXPECT_EQ(g.GetPictureSize(3, 10), (TPoint{3, 4}));
}

TEST(PlusGridSettings, CellGraphicAssignLeavesContent) {
  TCellGraphic a, b;
  a.CellType = ctButton;
  a.CellText = "Go";
  a.CellIndex = 5;
  a.CellValue = 2.5;
  a.CellVariant = 3;
  a.CellContent = &b;  // not owned, and not copied
  b.Assign(&a);
  EXPECT_EQ(b.CellType, ctButton);
  EXPECT_EQ(b.CellText, "Go");
  EXPECT_EQ(b.CellIndex, 5);
  EXPECT_DOUBLE_EQ(b.CellValue, 2.5);
  EXPECT_EQ(b.CellContent, nullptr);
  EXPECT_EQ(b.CellVariant, 0);
  a.CellContent = nullptr;
}

// ---------------------------------------------------------------------------
// Typed access

TEST(PlusGridTyped, GetCellFloatTable) {
  auto g = NewGrid();
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {"1,234.5", 1234.5}, {"12.5 mm", 12.5}, {"(3)", -3}, {"", 0}, {"-", 0}, {"abc", 0}, {"1e3", 1000},
      {"-0.25", -0.25},
  };
  for (const Case& c : cases) {
    g->SetCells(1, 1, c.text);
    EXPECT_DOUBLE_EQ(g->GetCellFloat(1, 1), c.value) << c.text;
  }
  g->SetCells(1, 1, "1.2.3");
  EXPECT_EQ(ErrorText([&] { g->GetCellFloat(1, 1); }), "Cell does not contain a float value");
  EXPECT_EQ(g->Cells(1, 1), "1.2.3") << "nothing changes when it raises";
}

TEST(PlusGridTyped, GetCellIntTable) {
  auto g = NewGrid();
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {{"42", 42}, {"  -7", -7}, {"", 0}, {"-", 0}, {"$1F", 31}, {"0x10", 16}, {"x0A", 10}};
  for (const Case& c : cases) {
    g->SetCells(2, 2, c.text);
    EXPECT_EQ(g->GetCellInt(2, 2), c.value) << c.text;
  }
  for (const char* bad : {"12.5", "12a", "abc", "0x", "99999999999"}) {
    g->SetCells(2, 2, bad);
    EXPECT_EQ(ErrorText([&] { g->GetCellInt(2, 2); }), "Cell does not contain integer value") << bad;
  }
}

TEST(PlusGridTyped, FloatsAndDatesWrittenWithoutTheProcessLocale) {
  TScopedLocale comma;
  auto g = NewGrid();
  g->SetCellFloat(1, 1, 3.14159);
  EXPECT_EQ(g->Cells(1, 1), "3.14");
  g->SetFloatFormat("%.3f");
  g->SetCellFloat(1, 2, -2.5);
  EXPECT_EQ(g->Cells(1, 2), "-2.500");
  EXPECT_DOUBLE_EQ(g->GetCellFloat(1, 2), -2.5);
  g->SetCellInt(1, 3, -17);
  EXPECT_EQ(g->GetCellInt(1, 3), -17);
  g->SetCellDate(1, 4, EncodeDate(2024, 2, 29));
  EXPECT_EQ(g->Cells(1, 4), DateToStr(EncodeDate(2024, 2, 29)));
}

TEST(PlusGridTyped, CoveredCellReadsTheBaseCell) {
  auto g = NewGrid();
  g->SetCells(1, 1, "2.5");
  g->MergeCells(1, 1, 2, 2);
  EXPECT_DOUBLE_EQ(g->GetCellFloat(2, 2), 2.5);
}

TEST(PlusGridTyped, WideCellsKeepTheirEncoding) {
  auto g = NewGrid();
  const std::u16string w = u"\u00c5ngstr\u00f6m \u03bb";
  g->SetWideCell(1, 1, w);
  EXPECT_TRUE(g->IsWideTextCell(1, 1));
  EXPECT_EQ(g->GetWideCell(1, 1), w);
  g->SetCells(1, 2, "plain");
  EXPECT_FALSE(g->IsWideTextCell(1, 2));
  EXPECT_EQ(g->GetWideCell(1, 2), u"plain");
}

TEST(PlusGridTyped, CurrentRowReportsOnce) {
  auto g = NewGrid();
  std::vector<std::pair<int, int>> log;
  g->OnRowUpdate = [&](TObject*, int o, int n) { log.emplace_back(o, n); };
  g->SetCurrentRow(3);
  g->SetCurrentRow(3);
  g->SetCurrentRow(5);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], std::make_pair(-1, 3));
  EXPECT_EQ(log[1], std::make_pair(3, 5));
  EXPECT_EQ(g->GetCurrentRow(), 5);
}

TEST(PlusGridTyped, RangesCoveredByTransfers) {
  auto g = NewGrid(6, 8);
  g->SetFixedFooters(1);
  g->SetFixedRightCols(1);
  EXPECT_EQ(g->GetFirstCol(), 0);
  EXPECT_EQ(g->GetLastRow(), 7);
  EXPECT_EQ(g->GetRowCountCovered(), 8);
  g->SetIncludeFixedCells(false);
  EXPECT_EQ(g->GetFirstCol(), 1);
  EXPECT_EQ(g->GetFirstRow(), 1);
  EXPECT_EQ(g->GetLastCol(), 4);
  EXPECT_EQ(g->GetLastRow(), 6);
  EXPECT_EQ(g->GetColCountCovered(), 4);
  EXPECT_EQ(g->GetRowCountCovered(), 6);
}

// ---------------------------------------------------------------------------
// Headers, selections, marks, merging, hooks

TEST(PlusGridCells, ColumnHeadersReachRowZeroOnlyWithFixedRows) {
  auto g = NewGrid(3, 4);
  g->ColumnHeaders()->Add("A");
  g->ColumnHeaders()->Add("two\\nlines");
  EXPECT_EQ(g->Cells(0, 0), "A");
  EXPECT_EQ(g->Cells(1, 0), "two\rlines") << "the cell line break";
  auto h = NewGrid(3, 4);
  h->SetFixedRows(0);
  TStringList list;
  list.Add("X");
  h->SetColumnHeaders(&list);
  EXPECT_EQ(h->ColumnHeaders()->Count(), 1);
  EXPECT_EQ(h->Cells(0, 0), "");
  g->RowHeaders()->Add("r0");
  g->RowHeaders()->Add("r1");
  EXPECT_EQ(g->Cells(0, 1), "r1");
}

TEST(PlusGridCells, DisjunctRowSelection) {
  auto g = NewGrid(3, 6);
  g->MouseActions()->SetDisjunctRowSelect(true);
  std::vector<int> selected;
  bool veto = false;
  g->OnRowDisjunctSelect = [&](TObject*, int, bool, bool& allow) { allow = !veto; };
  g->OnRowDisjunctSelected = [&](TObject*, int r) { selected.push_back(r); };
  g->SetRowSelect(2, true);
  g->SetRowSelect(4, true);
  g->SetRowSelect(2, true);
  EXPECT_TRUE(g->GetRowSelect(2));
  EXPECT_FALSE(g->GetRowSelect(3));
  EXPECT_EQ(g->RowSelectCount(), 2);
  EXPECT_EQ(g->SelectedRows(), (std::vector<int>{2, 4}));
  veto = true;
  g->SetRowSelect(4, false);
  EXPECT_TRUE(g->GetRowSelect(4));
  EXPECT_EQ(selected, (std::vector<int>{2, 4, 2})) << "a vetoed change reports nothing";
  veto = false;
  g->HideRow(1);
  EXPECT_NO_THROW(g->GetRowSelect(5));
  EXPECT_EQ(ErrorText([&] { g->GetRowSelect(6); }), "Invalid row accessed");
  EXPECT_EQ(ErrorText([&] { g->SetRowSelect(-1, true); }), "Invalid row accessed");
  EXPECT_EQ(ErrorText([&] { g->GetColSelect(3); }), "Invalid column accessed");
  g->ClearRowSelect();
  EXPECT_EQ(g->RowSelectCount(), 0);
  EXPECT_TRUE(g->SelectedRows().empty());
}

TEST(PlusGridCells, RangeSelectionCountsWithoutDisjunct) {
  auto g = NewGrid(4, 8);
  g->SetSelection(TGridRect{1, 2, 2, 5});
  EXPECT_EQ(g->RowSelectCount(), 4);
  EXPECT_TRUE(g->GetRowSelect(3));
  EXPECT_FALSE(g->GetRowSelect(6));
  g->SelectToColSelect(true);
  EXPECT_TRUE(g->GetColSelect(1));
  EXPECT_TRUE(g->GetColSelect(2));
  EXPECT_FALSE(g->GetColSelect(3));
}

TEST(PlusGridCells, RowModifiedMarks) {
  auto g = NewGrid();
  EXPECT_FALSE(g->GetRowModified(50));
  g->SetRowModified(4, true);
  EXPECT_TRUE(g->GetRowModified(4));
  EXPECT_FALSE(g->GetRowModified(3));
}

TEST(PlusGridCells, MergedColumnsMergeRunsOfEqualCells) {
  auto g = NewGrid(3, 7);
  const char* a[] = {"h", "x", "x", "x", "y", "y", "z"};
  const char* b[] = {"h", "1", "1", "2", "3", "3", "3"};
  for (int r = 0; r < 7; ++r) {
    g->SetCells(1, r, a[r]);
    g->SetCells(2, r, b[r]);
  }
  g->MergedColumns()->AddValue(1);
  EXPECT_EQ(g->GetCellSpan(1, 1).Y, 2);
  EXPECT_EQ(g->GetCellSpan(1, 4).Y, 1);
  EXPECT_FALSE(g->IsMergedCell(1, 6));
  g->MergedColumns()->AddValue(2);
  // Column 2 merges only inside the runs of column 1.
  EXPECT_EQ(g->GetCellSpan(2, 1).Y, 1);
  EXPECT_EQ(g->GetCellSpan(2, 4).Y, 1);
  EXPECT_FALSE(g->IsMergedCell(2, 6));
  g->MergedColumns()->Clear();
  g->MergedColumns()->AddValue(2);
  EXPECT_FALSE(g->IsMergedCell(1, 1)) << "a change splits the earlier merges";
  EXPECT_EQ(g->GetCellSpan(2, 4).Y, 2);
}

TEST(PlusGridCells, SizingEdgesOfFixedCells) {
  auto g = NewGrid(4, 6);
  TGridOptions o = g->Options();
  o.Include(goRowSizing);
  o.Include(goColSizing);
  g->SetOptions(o);
  TRect r0 = g->CellRect(0, 2);  // a row header
  TRect h = g->CellRect(2, 0);   // a column header
  TRect n = g->CellRect(2, 3);   // a normal cell
  ASSERT_FALSE(r0.IsEmpty());
  struct Case {
    int x, y;
    bool edge;
  };
  const Case cases[] = {
      {r0.Left + 5, r0.Bottom - 1, true},  {r0.Left + 5, r0.Top + 1, true},
      {r0.Left + 5, (r0.Top + r0.Bottom) / 2, false},
      {h.Right - 1, h.Top + 5, true},      {h.Left + 2, h.Top + 5, true},
      {(h.Left + h.Right) / 2, h.Top + 5, false},
      {n.Right - 1, n.Top + 2, false},
  };
  for (const Case& c : cases) EXPECT_EQ(g->IsSizingEdge(c.x, c.y), c.edge) << c.x << "," << c.y;
  EXPECT_FALSE(g->IsSizingEdge(-50, -50));
}

struct TRecorder : TGridChangeListener {
  std::vector<TRect> Seen;
  void CellsChanged(TPlusStringGrid*, const TRect& R) override { Seen.push_back(R); }
};

TEST(PlusGridCells, CellsChangedReachesEventAndListeners) {
  auto g = NewGrid();
  TRecorder rec;
  std::vector<TRect> events;
  g->OnCellsChanged = [&](TObject*, TRect R) { events.push_back(R); };
  g->AddChangeListener(&rec);
  g->CellsChanged(TRect(1, 2, 3, 4));
  g->RemoveChangeListener(&rec);
  g->CellsChanged(TRect(0, 0, 1, 1));
  EXPECT_EQ(events.size(), 2u);
  ASSERT_EQ(rec.Seen.size(), 1u);
  EXPECT_EQ(rec.Seen[0], TRect(1, 2, 3, 4));
}

TEST(PlusGridCells, EditPermissionAndRowHooks) {
  auto g = NewGrid();
  std::vector<std::pair<int, int>> asked;
  g->OnCanEditCell = [&](TObject*, int ARow, int ACol, bool& can) {
    asked.emplace_back(ACol, ARow);
    if (ACol == 2) can = false;
  };
  EXPECT_FALSE(g->IsCellEditable(1, 3)) << "nothing is editable without goEditing";
  TGridOptions o = g->Options();
  g->SetOptions(o.Include(goEditing));
  asked.clear();
  EXPECT_TRUE(g->IsCellEditable(1, 3));
  EXPECT_FALSE(g->IsCellEditable(2, 3));
  g->GetCellProperties(3, 3)->SetReadOnly(true);
  EXPECT_FALSE(g->IsCellEditable(3, 3));
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}})) << "read-only cells ask no one";
  g->OnCanInsertRow = [](TObject*, int ARow, bool& can) { can = ARow != 4; };
  EXPECT_TRUE(g->CanInsertRow(3));
  EXPECT_FALSE(g->CanInsertRow(4));
  EXPECT_TRUE(g->CanAddRow());
  g->OnCanAddRow = [](TObject*, bool& can) { can = false; };
  EXPECT_FALSE(g->CanAddRow());
  g->EndCellEdit();
}

TEST(PlusGridCells, CellColourHookOrder) {
  auto g = NewGrid();
  g->GetCellProperties(1, 1)->SetBrushColor(clRed);
  g->GetCellProperties(1, 1)->SetFontColor(clBlue);
  TBrush brush;
  TFont font;
  brush.SetColor(clWhite);
  g->DoGetCellColor(1, 1, TGridDrawState{}, &brush, &font);
  EXPECT_EQ(brush.Color(), clRed);
  EXPECT_EQ(font.Color(), clBlue);
  g->OnGetCellColor = [](TObject*, int, int, TGridDrawState, TBrush* b, TFont*) { b->SetColor(clLime); };
  g->DoGetCellColor(1, 1, TGridDrawState{}, &brush, &font);
  EXPECT_EQ(brush.Color(), clLime) << "the event fires last";
}

}  // namespace
