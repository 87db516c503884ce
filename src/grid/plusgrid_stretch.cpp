// Stretching one column over the client width, scaling the columns with the
// grid, and sizing columns and rows to their contents.
#include <algorithm>
#include <string>

#include "grid/plusgrid.h"
#include "platform/rtl/mathutils.h"

namespace {

constexpr int kTextMarginX = 2;
constexpr int kTextMarginY = 2;

}  // namespace

// ---------------------------------------------------------------------------
// Stretching

int TPlusStringGrid::StretchTarget(int ACol) const {
  // An index beyond the columns (columns removed after it was set) is the last one.
  if (ACol < 0 || ACol >= ColCount()) return ColCount() - 1;
  return ACol;
}

void TPlusStringGrid::StretchCol(int ACol) {
  const TComponentState st = ComponentState();
  if (st.Contains(csLoading) || st.Contains(csDestroying)) return;
  if (ACol == -1) ACol = ColCount() - 1;
  if (ACol >= ColCount()) throw Exception("Stretch column index out of range");
  DoStretchCol(ACol);
}

void TPlusStringGrid::StretchColumn(int ACol) { StretchColumnAuto(ACol); }

void TPlusStringGrid::StretchColumnAuto(int ACol) {
  const TComponentState st = ComponentState();
  if (st.Contains(csLoading) || st.Contains(csDestroying)) return;
  DoStretchCol(StretchTarget(ACol));
}

void TPlusStringGrid::DoStretchCol(int ACol) {
  if (ColCount() == 0 || !FColumnSize->Stretch() || FStretching || ACol < 0) return;
  FStretching = true;
  FStretched = false;
  const int client = ClientWidth();
  if (ColCount() == 1) {
    SetColWidths(0, client);
  } else {
    int others = 0;
    for (int c = 0; c < ColCount(); ++c)
      if (c != ACol) others += ColWidths(c);
    if (others < client) SetColWidths(ACol, client - others - 1);
    else if (LeftCol() == FixedCols()) SetColWidths(ACol, DefaultColWidth());
  }
  FStretched = true;
  FStretching = false;
  if (HasFooterPanel() && FFloatingFooter->Visible()) FFooterPanel->SetAlign(alBottom);
}

void TPlusStringGrid::StretchAfterCountChange() {
  UpdateProportionalHorzBar();
  UpdateProportionalVertBar();
  if (!Parent() || IsLoading() || ComponentState().Contains(csReading)) return;
  if (FColumnSize && FColumnSize->Stretch()) StretchColumnAuto(FColumnSize->StretchColumn());
}

void TPlusStringGrid::BoundsChanged(bool sizeChanged) {
  if (!sizeChanged || !FColumnSize) {
    TBaseGrid::BoundsChanged(sizeChanged);
    return;
  }
  if (FColumnSize->Stretch() && FScrollBarAlways == saNone && ColCount() > 0) {
    const int target = StretchTarget(FColumnSize->StretchColumn());
    int others = 0;
    for (int c = 0; c < ColCount(); ++c)
      if (c != target) others += ColWidths(c);
    if (others < Width()) {
      // The bars follow the new size first so that the client width is the final one.
      TBaseGrid::BoundsChanged(sizeChanged);
      StretchColumnAuto(target);
      FLastClientWidth = ClientWidth();
      return;
    }
  }
  TBaseGrid::BoundsChanged(sizeChanged);
  UpdateProportionalHorzBar();
  UpdateProportionalVertBar();
  const int client = ClientWidth();
  if (FLastClientWidth > 0 && FColumnSize->SynchWithGrid() && client != FLastClientWidth) {
    EndCellEdit();
    const double ratio = static_cast<double>(client) / FLastClientWidth;
    for (int c = 0; c < ColCount(); ++c) SetColWidths(c, static_cast<int>(Round(ColWidths(c) * ratio)));
  }
  FLastClientWidth = client;
}

// ---------------------------------------------------------------------------
// Width and height changes

void TPlusStringGrid::NoteSizingPress(int ACol, int ARow) {
  FSizeCandCol = ACol;
  FSizeCandRow = ARow;
  FSizeCandWidth = ACol >= 0 && ACol < ColCount() ? ColWidths(ACol) : 0;
  FSizeCandHeight = ARow >= 0 && ARow < RowCount() ? RowHeights(ARow) : 0;
}

void TPlusStringGrid::ColWidthsChanged() {
  if (FStretched && FColumnSize->Stretch()) StretchColumnAuto(FColumnSize->StretchColumn());
  FColumnSized = true;
  const int cand = FSizeCandCol;
  const bool candOk = cand >= 0 && cand < ColCount();
  if (FColSizedByMouse && candOk && FMouseActions->AllColumnSize() && FSizeCandWidth > 0) {
    const double ratio = static_cast<double>(ColWidths(cand)) / FSizeCandWidth;
    FColSizedByMouse = false;
    for (int c = FixedCols(); c < ColCount(); ++c)
      if (c != cand) SetColWidths(c, static_cast<int>(Round(ColWidths(c) * ratio)));
    FColSizedByMouse = true;
  }
  if (FColSizedByMouse && candOk) {
    if (OnEndColumnSize) OnEndColumnSize(this, cand);
    int w = ColWidths(cand);
    DoUpdateColumnSize(cand, w);
    if (w != ColWidths(cand)) {
      FColSizedByMouse = false;
      SetColWidths(cand, w);
    }
    if (FColSizedByMouse) FSizeCandCol = FSizeCandRow = -1;
  }
  // An own-control editor keeps covering its cell (one in a pop-up form
  // stays where it is).
  if (FEditorShowing && FActiveEditorControl && FActiveEditorControl->Visible() &&
      FActiveEditorControl->Parent() == this) {
    const TRect m = GetMergedCellRect(Col(), Row());
    if (!m.IsEmpty()) FActiveEditorControl->SetBounds(m.Left, m.Top, m.Width() - 1, m.Height() - 1);
  }
  FColSizedByMouse = false;
  FFloatingFooter->Invalidate();
  RepositionCellControls();
  if (FColumnSize->Stretch()) UpdateProportionalVertBar();
}

void TPlusStringGrid::RowHeightsChanged() {
  const int cand = FSizeCandRow;
  const bool candOk = cand >= 0 && cand < RowCount();
  if (FRowSizedByMouse && candOk && FMouseActions->AllRowSize() && FSizeCandHeight > 0) {
    const double ratio = static_cast<double>(RowHeights(cand)) / FSizeCandHeight;
    FRowSizedByMouse = false;
    for (int r = FixedRows(); r < RowCount(); ++r)
      if (r != cand) SetRowHeights(r, static_cast<int>(Round(RowHeights(r) * ratio)));
    FRowSizedByMouse = true;
  }
  if (FRowSizedByMouse && candOk) {
    if (OnEndRowSize) OnEndRowSize(this, cand);
    FSizeCandCol = FSizeCandRow = -1;
  }
  FRowSizedByMouse = false;
  RepositionCellControls();
}

// ---------------------------------------------------------------------------
// Sizing to contents

void TPlusStringGrid::DoUpdateColumnSize(int ACol, int& AWidth) {
  if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TPlusStringGrid::DoUpdateColumnSize2(int ACol, int& AWidth) {
  if (OnUpdateColumnSize) OnUpdateColumnSize(this, ACol, AWidth);
}

void TPlusStringGrid::SetAutoSize(bool v) {
  FAutoSize = v;
  if (v) AutoSizeColumns(false, 10);
}

void TPlusStringGrid::AutoSizeColumns(bool IncludeFixed, int Extra) {
  for (int c = IncludeFixed ? 0 : FixedCols(); c < ColCount(); ++c) {
    AutoSizeCol(c);
    if (Extra != 0) SetColWidths(c, LimitValue(ColWidths(c) + Extra, FMinColWidth, FMaxColWidth));
  }
}

void TPlusStringGrid::SizeColToContent(int ACol, bool GrowOnly) {
  if (ACol < 0 || ACol >= ColCount()) return;
  const int realCol = RealColIndex(ACol);
  const int line = GridLineWidth();
  int widest = 0;
  for (int r = 0; r < RowCount(); ++r) {
    if (IsMergedCell(ACol, r) && !IsBaseCell(ACol, r)) continue;
    TCanvas* c = Canvas();
    c->Font()->Assign(r < FixedRows() || ACol < FixedCols() ? FFixedFont.get() : Font());
    DoGetCellColor(realCol, r, TGridDrawState{}, c->Brush(), c->Font());
    if (FZoomTotal != 0) c->Font()->SetSize(c->Font()->Size() + FZoomTotal);
    const TPoint g = GetCellGraphicSize(realCol, r);
    int w = g.X + GetCellTextSize(realCol, r, false).X;
    if (FControlLook->DropDownAlwaysVisible() && HasComboBox(ACol, r)) w += 16;
    const TCellGraphic* cg = GetCellGraphic(ACol, r);
    if (cg && cg->CellHAlign == haFull) w = g.X - 2 * line - kTextMarginX - 2;
    widest = std::max(widest, w);
  }
  int width = 2 * line + widest + kTextMarginX + 2;
  if (GrowOnly && ColWidths(ACol) >= width) return;
  DoUpdateColumnSize2(ACol, width);
  SetColWidths(ACol, LimitValue(width, FMinColWidth, FMaxColWidth));
}

void TPlusStringGrid::SizeRowToContent(int ARow, bool GrowOnly) {
  if (ARow < 0 || ARow >= RowCount()) return;
  const int line = GridLineWidth();
  int highest = 0;
  for (int col = 0; col < ColCount(); ++col) {
    const int realCol = RealColIndex(col);
    const bool merged = IsMergedCell(col, ARow);
    TCanvas* c = Canvas();
    c->Font()->Assign(ARow < FixedRows() || col < FixedCols() ? FFixedFont.get() : Font());
    DoGetCellColor(realCol, ARow, TGridDrawState{}, c->Brush(), c->Font());
    if (FZoomTotal != 0) c->Font()->SetSize(c->Font()->Size() + FZoomTotal);
    int h = 0;
    if (!merged || IsBaseCell(col, ARow)) {
      int t = GetCellTextSize(realCol, ARow, WordWrap()).Y;
      const TPoint g = GetCellGraphicSize(realCol, ARow);
      const TCellGraphic* cg = GetCellGraphic(col, ARow);
      if (cg && (cg->CellType == ctDataCheckBox || cg->CellType == ctVirtCheckBox) && g.Y > 0) t = 0;
      h = t + g.Y;
      if (cg) {
        if (cg->CellVAlign == vaFull) h = g.Y - 2 * line - kTextMarginY - 2;
        if (cg->CellType == ctCheckBox || cg->CellType == ctDataCheckBox) h = DefaultRowHeight();
      }
    }
    highest = std::max(highest, h);
  }
  const int height = 2 * line + highest + kTextMarginY;
  if (GrowOnly && RowHeights(ARow) >= height) return;
  SetRowHeights(ARow, LimitValue(height, FMinRowHeight, FMaxRowHeight));
}

void TPlusStringGrid::SetRowHeightByLines(int ARow, int Lines, int Extra) {
  if (ARow < 0 || ARow >= RowCount()) return;
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  DoGetCellColor(RealColIndex(FixedCols()), ARow, TGridDrawState{}, c->Brush(), c->Font());
  const int h = c->TextHeight("gh");
  SetRowHeights(ARow, LimitValue(Extra + Lines * (h + h / 8), FMinRowHeight, FMaxRowHeight));
}
