// Grouping on a column: a header node above every run of equal values,
// optional summary rows below the runs, the column taken out of view and
// put back by ungrouping; sub-grouping inside the groups; the row and cell
// colour setters the groups are painted with.
#include <algorithm>

#include "grid/plusgrid.h"

namespace {
enum { kBrush, kBrushTo, kFont };
}

// ---------------------------------------------------------------------------
// TGrouping

ZV_CLASS_IMPL(TGrouping, TPersistent)

void TGrouping::DeclareProperties(TClassInfo& c) {
  using T = TGrouping;
  auto color = [&c](const char* Name, TColor (T::*Get)() const, void (T::*Set)(TColor), TColor Def) {
    c.Integer<T>(Name, Get, Set, Def).WithIdents(&ColorIdents());
  };
  color("HeaderColor", &T::HeaderColor, &T::SetHeaderColor, clNone);
  color("HeaderColorTo", &T::HeaderColorTo, &T::SetHeaderColorTo, clNone);
  color("HeaderTextColor", &T::HeaderTextColor, &T::SetHeaderTextColor, clNone);
  c.Boolean<T>("HeaderUnderline", &T::HeaderUnderline, &T::SetHeaderUnderline, false);
  color("HeaderLineColor", &T::HeaderLineColor, &T::SetHeaderLineColor, 0xFF0000);
  c.Integer<T>("HeaderLineWidth", &T::HeaderLineWidth, &T::SetHeaderLineWidth, 2);
  c.Boolean<T>("MergeHeader", &T::MergeHeader, &T::SetMergeHeader, false);
  c.Boolean<T>("MergeSummary", &T::MergeSummary, &T::SetMergeSummary, false);
  c.Boolean<T>("Summary", &T::Summary, &T::SetSummary, false);
  color("SummaryColor", &T::SummaryColor, &T::SetSummaryColor, clNone);
  color("SummaryColorTo", &T::SummaryColorTo, &T::SetSummaryColorTo, clNone);
  color("SummaryTextColor", &T::SummaryTextColor, &T::SetSummaryTextColor, clNone);
  c.Boolean<T>("SummaryLine", &T::SummaryLine, &T::SetSummaryLine, false);
  color("SummaryLineColor", &T::SummaryLineColor, &T::SetSummaryLineColor, 0xFF0000);
  c.Integer<T>("SummaryLineWidth", &T::SummaryLineWidth, &T::SetSummaryLineWidth, 2);
}

void TGrouping::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TGrouping*>(Source);
  if (!s || s == this) return;
  FHeaderColor = s->FHeaderColor;
  FHeaderColorTo = s->FHeaderColorTo;
  FHeaderTextColor = s->FHeaderTextColor;
  FHeaderUnderline = s->FHeaderUnderline;
  FMergeHeader = s->FMergeHeader;
  FMergeSummary = s->FMergeSummary;
  FSummaryColor = s->FSummaryColor;
  FSummaryColorTo = s->FSummaryColorTo;
  FSummaryTextColor = s->FSummaryTextColor;
  FSummaryLine = s->FSummaryLine;
}

// ---------------------------------------------------------------------------
// Colour setters

void TPlusStringGrid::SetRowColorKind(int ARow, TColor AColor, int Kind) {
  if (ARow < 0 || ARow >= RowCount()) return;
  for (int c = FixedCols(); c < ColCount(); ++c) {
    // Resetting touches only the colour: check boxes, merges, read-only
    // flags and comments of the row stay.
    if (AColor == clNone && !HasCellProperties(c, ARow)) continue;
    TCellProperties* p = GetCellProperties(c, ARow);
    if (Kind == kBrush) p->SetBrushColor(AColor);
    else if (Kind == kBrushTo) p->SetBrushColorTo(AColor);
    else p->SetFontColor(AColor);
  }
  RepaintRow(ARow);
}

void TPlusStringGrid::SetRowColor(int ARow, TColor AColor) { SetRowColorKind(ARow, AColor, kBrush); }
void TPlusStringGrid::SetRowColorTo(int ARow, TColor AColor) { SetRowColorKind(ARow, AColor, kBrushTo); }
void TPlusStringGrid::SetRowFontColor(int ARow, TColor AColor) { SetRowColorKind(ARow, AColor, kFont); }

void TPlusStringGrid::SetCellColor(int ACol, int ARow, TColor AColor) {
  GetCellProperties(ACol, ARow)->SetBrushColor(AColor);
  RepaintCell(DisplColIndex(ACol), ARow);
}

void TPlusStringGrid::SetCellColorTo(int ACol, int ARow, TColor AColor) {
  GetCellProperties(ACol, ARow)->SetBrushColorTo(AColor);
  RepaintCell(DisplColIndex(ACol), ARow);
}

void TPlusStringGrid::SetCellFontColor(int ACol, int ARow, TColor AColor) {
  GetCellProperties(ACol, ARow)->SetFontColor(AColor);
  RepaintCell(DisplColIndex(ACol), ARow);
}

TColor TPlusStringGrid::GetCellColor(int ACol, int ARow) {
  return HasCellProperties(ACol, ARow) ? GetCellProperties(ACol, ARow)->BrushColor() : clNone;
}

bool TPlusStringGrid::IsCellReadOnly(int ACol, int ARow) { return GetCellProperties(ACol, ARow)->ReadOnly(); }

void TPlusStringGrid::SetSummaryRow(int ARow) {
  if (ARow < 0 || ARow >= RowCount()) return;
  CreateCellGraphic(0, ARow)->CellType = ctSummary;
}

// ---------------------------------------------------------------------------
// Taking a column out and putting it back

// The node and summary marks and the nesting level live in column 0; when
// column 0 itself moves they are kept there.

std::vector<TPlusStringGrid::TRowMarkSlot> TPlusStringGrid::TakeRowMarks() {
  std::vector<TRowMarkSlot> marks(RowCount());
  for (int r = 0; r < RowCount(); ++r) {
    if (!HasCellProperties(0, r)) continue;
    TCellProperties* p = GetCellProperties(0, r);
    marks[r].Level = p->NodeLevel();
    p->SetNodeLevel(0);
    TCellGraphic* g = p->CellGraphic();
    if (g && (g->CellType == ctNode || g->CellType == ctSummary)) {
      auto copy = std::make_unique<TCellGraphic>();
      copy->Assign(g);
      copy->CellVariant = g->CellVariant;
      marks[r].Graphic = std::move(copy);
      p->SetCellGraphic(nullptr);
    }
  }
  return marks;
}

void TPlusStringGrid::PutRowMarks(std::vector<TRowMarkSlot>& Marks) {
  for (int r = 0; r < RowCount() && r < static_cast<int>(Marks.size()); ++r) {
    if (!Marks[r].Graphic && Marks[r].Level == 0) continue;
    TCellProperties* p = GetCellProperties(0, r);
    p->SetNodeLevel(Marks[r].Level);
    if (Marks[r].Graphic) p->SetCellGraphic(Marks[r].Graphic.release());
  }
}

void TPlusStringGrid::GroupRemoveCol(int ACol) {
  if (ACol < 0 || ACol >= ColCount()) return;
  std::vector<TRowMarkSlot> marks;
  if (ACol == 0) marks = TakeRowMarks();
  RemoveCols(ACol, 1);
  if (ACol == 0) PutRowMarks(marks);
}

void TPlusStringGrid::GroupInsertCol(int ACol) {
  if (ACol < 0 || ACol > ColCount()) return;
  std::vector<TRowMarkSlot> marks;
  if (ACol == 0) marks = TakeRowMarks();
  InsertCols(ACol, 1);
  if (ACol == 0) PutRowMarks(marks);
}

// ---------------------------------------------------------------------------
// Grouping

void TPlusStringGrid::Group(int ACol) {
  if (ACol < FixedCols() || ACol >= ColCount() || (ACol == 1 ? 2 : 1) >= ColCount()) return;
  if (FGroupColumn >= 0) UnGroup();
  if (RowCount() - FFixedFooters <= FixedRows()) return;
  FGroupColumn = ACol;
  FGroupColWidth = ColWidths(ACol);
  FGroupHeaderText = FixedRows() > 0 ? GetCellRaw(ACol, 0) : std::string();
  FGroupFooterText = FFixedFooters > 0 ? GetCellRaw(ACol, RowCount() - 1) : std::string();
  if (FSortSettings->AutoSortForGrouping()) {
    FSortSettings->SetColumn(ACol);
    QSort();
  }
  TGrouping* g = FGrouping.get();
  const int textCol = ACol == 1 ? 2 : 1;
  auto colourRow = [this](int r, TColor Brush, TColor BrushTo, TColor Font) {
    if (Brush != clNone) SetRowColor(r, Brush);
    if (BrushTo != clNone) SetRowColorTo(r, BrushTo);
    if (Font != clNone) SetRowFontColor(r, Font);
  };
  BeginUpdate();
  auto last = [this] { return RowCount() - 1 - FFixedFooters; };
  int b = FixedRows();
  while (b <= last()) {
    // Stored texts, so that ungrouping gives back every byte.
    const std::string v = GetCellRaw(ACol, b);
    InsertRows(b, 1, true);
    SetCellText(textCol, b, v);
    if (!g->MergeHeader()) colourRow(b, g->HeaderColor(), g->HeaderColorTo(), g->HeaderTextColor());
    const int h = b++;
    while (b <= last() && GetCellRaw(ACol, b) == v) ++b;
    AddNode(RealRowIndex(h), b - h);
    if (g->Summary()) {
      InsertRows(b, 1, true);
      SetSummaryRow(b);
      if (!g->MergeSummary()) colourRow(b, g->SummaryColor(), g->SummaryColorTo(), g->SummaryTextColor());
      ++b;
    }
  }
  GroupRemoveCol(ACol);
  if (g->MergeHeader() || g->MergeSummary()) {
    // Only header nodes and rows that carry the summary mark are merged,
    // never data rows nor the footers.
    for (int c = FixedRows(); c <= last(); ++c) {
      const bool header = g->MergeHeader() && IsNode(c);
      const bool summary = g->MergeSummary() && IsSummary(c);
      if ((!header && !summary) || ColCount() < 3) continue;
      MergeCells(1, c, ColCount() - 1, 1);
      TColor brush = header ? g->HeaderColor() : g->SummaryColor();
      TColor to = header ? g->HeaderColorTo() : g->SummaryColorTo();
      TColor font = header ? g->HeaderTextColor() : g->SummaryTextColor();
      if (brush != clNone) SetCellColor(1, c, brush);
      if (to != clNone) SetCellColorTo(1, c, to);
      if (font != clNone) SetCellFontColor(1, c, font);
    }
  }
  if (FixedRows() < RowCount()) SetRow(FixedRows());
  EndUpdate();
  Invalidate();
}

void TPlusStringGrid::UnGroup() {
  const int G = FGroupColumn;
  if (G < 0) return;
  TGrouping* g = FGrouping.get();
  BeginUpdate();
  ExpandAll();
  const int textCol = G == 1 ? 2 : 1;
  GroupInsertCol(G);
  SetColWidths(G, FGroupColWidth);
  if (FixedRows() > 0) SetCellRaw(G, 0, FGroupHeaderText);
  if (FFixedFooters > 0) SetCellRaw(G, RowCount() - 1, FGroupFooterText);
  auto resetRow = [this](int r) {
    SetRowColor(r, clNone);
    SetRowColorTo(r, clNone);
    SetRowFontColor(r, clNone);
  };
  auto takeRow = [&, this](int r, bool merged) {
    if (merged)
      for (int c = 0; c < ColCount(); ++c)
        if (HasCellProperties(c, r) && IsBaseCell(c, r) && IsMergedCell(c, r)) SplitCells(c, r);
    FreeCellObject(0, r);
    if (!merged) resetRow(r);
    for (int c = 0; c < ColCount(); ++c) FreeCellObject(c, r);
    RemoveRows(r, 1);
  };
  std::string V;
  int b = FixedRows();
  while (b <= RowCount() - 1 - FFixedFooters) {
    if (!IsNode(b)) {
      // Rows without the summary mark are data rows.
      if (!IsSummary(b)) SetCellRaw(G, b, V);
      ++b;
      continue;
    }
    const int s = GetNodeSpan(b);
    if (s > 0 && IsSummary(b + s)) takeRow(b + s, g->MergeSummary());
    V = GetCellRaw(textCol, b);
    RemoveNode(RealRowIndex(b));
    takeRow(b, g->MergeHeader());
  }
  FGroupColumn = -1;
  EndUpdate();
  Invalidate();
}

void TPlusStringGrid::SubGroup(int ACol) {
  if (ACol < FixedCols() || ACol + 1 >= ColCount()) return;
  TGrouping* g = FGrouping.get();
  const int textCol = ACol + 1;
  BeginUpdate();
  int h = -1;
  auto close = [&, this](int end) {
    if (h >= 0 && !IsNode(h) && !IsSummary(h)) {
      AddNode(RealRowIndex(h), end - h);
      NodeGraphic(h)->CellVariant = ACol;
    }
    h = -1;
  };
  auto colour = [&, this](int r, TColor Brush, TColor BrushTo, TColor Font, bool Merge) {
    if (Merge) {
      if (textCol < ColCount() - 1) MergeCells(textCol, r, ColCount() - textCol, 1);
      if (Brush != clNone) SetCellColor(textCol, r, Brush);
      if (BrushTo != clNone) SetCellColorTo(textCol, r, BrushTo);
      if (Font != clNone) SetCellFontColor(textCol, r, Font);
    } else {
      if (Brush != clNone) SetRowColor(r, Brush);
      if (BrushTo != clNone) SetRowColorTo(r, BrushTo);
      if (Font != clNone) SetRowFontColor(r, Font);
    }
  };
  bool haveValue = false;
  std::string prev;
  int b = FixedRows() + 1;
  while (b <= RowCount() - 1 - FFixedFooters) {
    if (IsNode(b) || IsSummary(b)) {
      close(b);
      haveValue = false;
      ++b;
      continue;
    }
    const std::string v = GetCellText(ACol, b);
    if (!haveValue || v != prev) {
      close(b);
      InsertChildRow(RealRowIndex(b), 0);
      SetCellText(textCol, b, v);
      colour(b, g->HeaderColor(), g->HeaderColorTo(), g->HeaderTextColor(), g->MergeHeader());
      h = b++;
      prev = v;
      haveValue = true;
    }
    SetCellText(ACol, b, "");
    ++b;
  }
  close(b);
  if (g->Summary()) {
    InsertRows(b, 1, true);
    SetSummaryRow(b);
    colour(b, g->SummaryColor(), g->SummaryColorTo(), g->SummaryTextColor(), g->MergeSummary());
  }
  if (FixedRows() < RowCount()) SetRow(FixedRows());
  EndUpdate();
  Invalidate();
}

void TPlusStringGrid::UnSubGroup(int ACol) {
  if (ACol < 0 || ACol + 1 >= ColCount()) return;
  BeginUpdate();
  ExpandAll();
  std::string V;
  int r = FixedRows();
  while (r <= RowCount() - 1 - FFixedFooters) {
    TCellGraphic* n = NodeGraphic(r);
    if (n && n->CellVariant == ACol) {
      V = GetCellRaw(ACol + 1, r);
      RemoveNode(RealRowIndex(r));
      if (!FGrouping->MergeHeader()) {
        SetRowColor(r, clNone);
        SetRowColorTo(r, clNone);
      }
      DeleteChildRow(RealRowIndex(r));
      continue;
    }
    if (!n && !IsSummary(r)) SetCellText(ACol, r, V);
    ++r;
  }
  EndUpdate();
  Invalidate();
}
