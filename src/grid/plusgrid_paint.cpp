// Painting of the string grid: the format resolution of a cell (colours,
// font, alignment, word wrap from the cell record, bands, fixed areas,
// selections and events), the text pass after the background, cell borders,
// the selection frame, the focus rectangle and the sizing guide lines.
#include <algorithm>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"

namespace {

constexpr TColor kSelectionRectColor = clBlack;

}  // namespace

void TPlusStringGrid::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Pen()->SetStyle(psSolid);
  TBaseGrid::Paint();
  if (FEditorShowing) {
    const TGridOptions o = Options();
    TColor pen = GridLineWidth() > 0 ? GridLineColor() : Color();
    if (!o.Contains(goHorzLine) && !o.Contains(goVertLine)) pen = Color();
    canvas->Pen()->SetColor(pen);
    const TPoint b = GetBaseCell(Col(), Row());
    const TRect r = GetMergedCellRect(b.X, b.Y);
    canvas->Rectangle(r);
  }
  canvas->Pen()->SetColor(clBlack);
  if (!FBackGround->Bitmap()->Empty() || FBackGround->ColorTo() != clNone) PaintEmptyArea();
}

void TPlusStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  const TRect r = ARect;
  TBaseGrid::DrawCell(ACol, ARow, r, AState);
}

bool TPlusStringGrid::IsCellDisjunctSelected(int ACol, int ARow) const {
  const uint32_t key = static_cast<uint32_t>(ARow) << 16 | (static_cast<uint32_t>(ACol) & 0xFFFF);
  return std::find(FSelectedCells.begin(), FSelectedCells.end(), key) != FSelectedCells.end();
}

// The base cell paint resolves with (convert column, apply selection, not
// printing); the cell-defaults hook passes all three off.
void TPlusStringGrid::GetCellFormat(int ACol, int ARow, TCellGradientDirection& Direction, bool& Flag1, bool&, bool&,
                                    TFont* AFont, TBrush* ABrush, TColor& AColorTo, bool Pass1, bool Pass2, bool Pass3,
                                    TGridDrawState& AState) {
  TAlignment ha = taLeftJustify;
  TVAlignment va = FVAlignment;
  bool wrap = WordWrap();
  GetCellFormat(ACol, ARow, AState, Pass3, Pass2, Pass1, ABrush, AColorTo, AFont, ha, va, wrap, Direction);
  Flag1 = wrap;
}

void TPlusStringGrid::GetCellFormat(int ACol, int ARow, TGridDrawState& AState, bool Printing, bool ApplySelection,
                                    bool ConvertColumn, TBrush* ABrush, TColor& AColorTo, TFont* AFont,
                                    TAlignment& HAlign, TVAlignment& VAlign, bool& AWordWrap,
                                    TCellGradientDirection& GradientDirection) {
  const int fixedCols = TCustomGrid::FixedCols(), fixedRows = TCustomGrid::FixedRows();
  TPrintSettings* ps = FPrintSettings.get();
  // 1.
  const bool inFixedArea = ACol < fixedCols || ARow < fixedRows;
  if (Printing && !ps->UseDisplayFont())
    AFont->Assign(inFixedArea ? ps->FixedFont() : ps->Font());
  else
    AFont->Assign(inFixedArea ? FFixedFont.get() : Font());
  // 2.
  const int displCol = ACol;
  const int rc = ConvertColumn ? RealColIndex(ACol) : ACol;
  const TMouseActions* ma = FMouseActions.get();
  const int selRow = ma->DisjunctRowSelect() && ma->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
  // 3.
  ABrush->SetColor(clNone);
  AColorTo = clNone;
  // 4.
  TCellProperties* p = HasCellProperties(displCol, ARow) ? GetCellProperties(displCol, ARow) : nullptr;
  if (p) {
    ABrush->SetColor(p->BrushColor());
    if (p->FontColor() != clNone) AFont->SetColor(p->FontColor());
    if (!p->FontStyle().Empty()) AFont->SetStyle(p->FontStyle());
    if (p->FontSize() != 0) AFont->SetSize(p->FontSize());
    if (!p->FontName().empty()) AFont->SetName(p->FontName());
    AWordWrap = p->WordWrap();
    AColorTo = p->BrushColorTo();
    GradientDirection = p->GradientDirection();
  }
  // 5.
  if (AState.Contains(gdSelected)) GradientDirection = GradientVertical;
  // 6. Bands and the fixed colour only where the cell has no colour of its own.
  if (ABrush->Color() == clNone) {
    ABrush->SetColor(Color());
    const TBands* b = FBands.get();
    if (b->Active() && (!Printing || b->Print()) && ACol >= fixedCols &&
        ACol < ColCount() + NumHiddenColumns() - FFixedRightCols && ARow >= fixedRows &&
        ARow < RowCount() - FFixedFooters && b->PrimaryLength() + b->SecondaryLength() > 0) {
      const int cycle = b->PrimaryLength() + b->SecondaryLength();
      ABrush->SetColor((ARow - fixedRows) % cycle < b->PrimaryLength() ? b->PrimaryColor() : b->SecondaryColor());
    }
    if (inFixedArea || DisplColIndex(ACol) >= ColCount() - FFixedRightCols || ARow >= RowCount() - FFixedFooters)
      ABrush->SetColor(FixedColor());
  }
  // 7.
  const bool fixed = IsFixedCell(displCol, ARow) || inFixedArea;
  if (fixed && !Printing) {
    ABrush->SetColor(FixedColor());
    AFont->Assign(FFixedFont.get());
    AState.Include(gdFixed);
  }
  // 8.
  if (Printing) {
    if (OnGetCellPrintColor) OnGetCellPrintColor(this, ARow, rc, AState, ABrush, AFont);
  } else {
    DoGetCellColor(rc, ARow, AState, ABrush, AFont);
  }
  auto selectionColours = [&] {
    ABrush->SetColor(FSelectionColor);
    AColorTo = FSelectionColorTo;
    AFont->SetColor(FSelectionTextColor);
  };
  const bool normal = !fixed && ACol >= fixedCols && ARow >= fixedRows;
  const bool selecting = ApplySelection && !Printing && FShowSelection && normal;
  // 9.
  if (selecting && ma->DisjunctRowSelect()) {
    const bool selected = selRow < RowCount() && GetRowSelect(selRow);
    if ((!FDisjunctReplace || ARow != Row()) && selected) {
      AState = TGridDrawState{gdSelected};
      selectionColours();
    } else if (FDisjunctReplace && !selected && AState.Contains(gdSelected)) {
      AState = TGridDrawState{gdSelected};
      selectionColours();
    }
  }
  // 10.
  if (selecting && ma->DisjunctColSelect()) {
    const bool selected = rc < ColCount() && GetColSelect(rc);
    if ((!FDisjunctReplace || ACol != Col()) && selected) {
      AState = TGridDrawState{gdSelected};
      selectionColours();
    } else if (FDisjunctReplace && !selected && AState.Contains(gdSelected)) {
      AState = TGridDrawState{gdSelected};
      selectionColours();
    }
  }
  // 11.
  const TGridRect sel = Selection();
  const bool inSelection = ACol >= sel.Left && ACol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom;
  if (selecting && !ma->DisjunctRowSelect() && !ma->DisjunctColSelect() && inSelection) {
    selectionColours();
    AState.Include(gdSelected);
  } else if (AState.Contains(gdSelected) && FDisjunctReplace && FShowSelection) {
    selectionColours();
  }
  // 12.
  if (ma->DisjunctCellSelect()) {
    if (IsCellDisjunctSelected(ACol, ARow)) {
      selectionColours();
      AState.Include(gdSelected);
    } else if (ACol == Col() && ARow == Row()) {
      AState.Exclude(gdSelected);
      ABrush->SetColor(Color());
      AFont->SetColor(Font()->Color());
    }
  }
  // 13.
  if (OnGetWordWrap) OnGetWordWrap(this, rc, ARow, AWordWrap);
  // 14.
  GetCellAlignment(rc, ARow, HAlign, VAlign);
}

void TPlusStringGrid::GetCellDefaults(int ACol, int ARow, TCellGradientDirection& Direction, bool& AWordWrap,
                                      TVAlignment& AVAlignment, TAlignment& AAlignment, TColor& AColorTo,
                                      TFont* AFont, TBrush* ABrush) {
  TGridDrawState state;
  GetCellFormat(ACol, ARow, state, false, false, false, ABrush, AColorTo, AFont, AAlignment, AVAlignment, AWordWrap,
                Direction);
  if (FBands->Active()) {
    ABrush->SetColor(clNone);
    AColorTo = clNone;
  }
}

void TPlusStringGrid::DrawCellText(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  // 2.
  const int rc = RealColIndex(ACol);
  const TMouseActions* ma = FMouseActions.get();
  const int selRow = ma->DisjunctRowSelect() && ma->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
  bool wrap = WordWrap();
  // 3. The cell's unselected values; the background already has the selected ones.
  TAlignment ha = taLeftJustify;
  TVAlignment va = FVAlignment;
  TColor colorTo = clNone;
  TCellGradientDirection dir = GradientVertical;
  GetCellFormat(ACol, ARow, AState, false, false, true, ACanvas->Brush(), colorTo, ACanvas->Font(), ha, va, wrap, dir);
  // 5.
  if (AState.Contains(gdSelected) && !AState.Contains(gdFocused) && FSelectionColor == clNone)
    ACanvas->Brush()->SetColor(clHighlight);
  // 6.
  if (FZoomTotal != 0) ACanvas->Font()->SetSize(ACanvas->Font()->Size() + FZoomTotal);
  // 7.
  const TColor ownBrush = ACanvas->Brush()->Color(), ownFont = ACanvas->Font()->Color();
  const TRect own = Rect(ARect.Left - 1, ARect.Top - 1, ARect.Right + 1, ARect.Bottom + 1);
  // 8.
  if (FLook == glQRB || FLook == glXP) DrawFixedLookBefore(ACanvas, ACol, ARow, own);
  // 9. The row indicator shifts the text right until the borders are drawn.
  int indicatorShift = 0;
  if (rc == 0 && ARow == Row() && TCustomGrid::FixedCols() > 0 && FRowIndicator && !FRowIndicator->Empty()) {
    const int bh = FRowIndicator->Height();
    int y = ARect.Top;
    if (FVAlignment == vtaCenter) y = ARect.Top + (ARect.Height() - bh) / 2;
    if (FVAlignment == vtaBottom) y = ARect.Bottom - bh;
    FRowIndicator->SetTransparent(true);
    ACanvas->Draw(ARect.Left + 2, y, FRowIndicator.get());
    indicatorShift = FRowIndicator->Width() + 2;
    ARect.Left += indicatorShift;
  }
  // 10.
  if (FLook == glListView) {
    DrawFixedLookBefore(ACanvas, ACol, ARow, own);
    ACanvas->Brush()->SetColor(ownBrush);
  }
  // 11.
  if (DisplColIndex(rc) == 0 && FShowModified->Enabled() && ARow < RowCount() && GetRowModified(ARow)) {
    ACanvas->Brush()->SetColor(FShowModified->Color());
    ACanvas->FillRect(Rect(ARect.Right - 4, ARect.Top, ARect.Right, ARect.Bottom));
    ACanvas->Brush()->SetColor(ownBrush);
  }
  // 12.
  int comboShift = 0;
  if (!AState.Contains(gdFixed) && FControlLook->DropDownAlwaysVisible() && HasComboBox(rc, ARow)) {
    DrawComboButton(ACanvas, HandleAllocated() ? Handle() : 0, ARect, FXPFlag);
    comboShift = 16;
    ARect.Right -= comboShift;
  }
  // 13.
  DrawCellContent(ACanvas, ACol, rc, ARow, selRow, ARect, AState, ha, va, wrap);
  ARect.Right += comboShift;
  ACanvas->Brush()->SetColor(ownBrush);
  ACanvas->Font()->SetColor(ownFont);
  ARect = Rect(ARect.Left - 1, ARect.Top - 1, ARect.Right + 1, ARect.Bottom + 1);
  // 14.
  DrawCellBorders(ACanvas, ACol, ARow, ARect);
  // 15.
  ARect.Left -= indicatorShift;
  // 16.
  DrawFixedLookAfter(ACanvas, ACol, ARow, ARect);
  // 17.
  if (rc == 0) DrawTreeLines(ACanvas, ARect, ARow);
  // 18.
  if (TCellGraphic* g = GetCellGraphic(rc, ARow)) DrawCellGraphic(ACanvas, ARect, g, ACol, rc, ARow, AState, ha, va);
  // 19.
  if (OnDrawCell) {
    const TRect saved = ARect;
    TRect r = Rect(ARect.Left + 1, ARect.Top + 1, ARect.Right - GridLineWidth(), ARect.Bottom - GridLineWidth());
    OnDrawCell(this, rc, ARow, r, AState);
    ARect = saved;
  }
  // 20.
  if (OnCustomCellDraw) OnCustomCellDraw(this, ACanvas, rc, ARow, AState, ARect, false);
  // 21.
  if (!FHideFocusRect && !Options().Contains(goRowSelect) && Focused()) {
    const TPoint cur = GetBaseCell(Col(), Row());
    const TPoint me = GetBaseCell(ACol, ARow);
    if (cur.X == me.X && cur.Y == me.Y) {
      const int d = GridLineWidth() - 1;
      TRect f = Rect(ARect.Left - d, ARect.Top - d, ARect.Right + d - 1, ARect.Bottom + d - 1);
      ACanvas->DrawFocusRect(f);
    }
  }
}

void TPlusStringGrid::DrawCellContent(TCanvas* ACanvas, int ACol, int ARealCol, int ARow, int ASelRow, TRect R,
                                      TGridDrawState AState, TAlignment HAlign, TVAlignment VAlign, bool AWordWrap) {
  const TMouseActions* ma = FMouseActions.get();
  const int fixedCols = TCustomGrid::FixedCols(), fixedRows = TCustomGrid::FixedRows();
  const bool fixed = AState.Contains(gdFixed);
  // 7. Selection colours of the text.
  const bool rowSelected = ma->DisjunctRowSelect() && ASelRow < RowCount() && GetRowSelect(ASelRow);
  const bool selected = AState.Contains(gdSelected) ||
                        (rowSelected && Options().Contains(goRowSelect) && ACol >= fixedCols &&
                         ACol < ColCount() - FFixedRightCols);
  TColor linkColor = FURLColor;
  if (selected && !fixed && (!AState.Contains(gdFocused) || Options().Contains(goDrawFocusSelected))) {
    if (FShowSelection) {
      if (FSelectionColor != clNone) ACanvas->Brush()->SetColor(FSelectionColor);
      if (FSelectionTextColor != clNone) ACanvas->Font()->SetColor(FSelectionTextColor);
      linkColor = FSelectionTextColor;
    }
  }
  const bool normal = !fixed && ACol >= fixedCols && ARow >= fixedRows;
  const bool outsideDisjoint = (ma->DisjunctRowSelect() && !rowSelected) ||
                               (ma->DisjunctColSelect() && !(ARealCol < ColCount() && GetColSelect(ARealCol)));
  if (normal && outsideDisjoint && !FDisjunctReplace) {
    linkColor = FURLColor;
    ACanvas->Brush()->SetColor(Color());
    ACanvas->Font()->SetColor(Font()->Color());
    DoGetCellColor(ARealCol, ARow, AState, ACanvas->Brush(), ACanvas->Font());
  }
  // The background picture or gradient, before the frame and the text.
  DrawCellBackground(ACanvas, ACol, ARow, R, AState);
  // 6. Selection frame over the grid lines at the outer edges of the range.
  const TGridRect sel = Selection();
  if (FSelectionRectangle && ACol >= sel.Left && ACol <= sel.Right && ARow >= sel.Top && ARow <= sel.Bottom) {
    TPen* pen = ACanvas->Pen();
    const TColor savedPen = pen->Color();
    pen->SetColor(kSelectionRectColor);
    pen->SetWidth(2);
    const int gw = GridLineWidth();
    const TRect o = Rect(R.Left - gw, R.Top - gw, R.Right + gw, R.Bottom + gw);
    if (ACol == sel.Left) {
      ACanvas->MoveTo(o.Left + 1, o.Top);
      ACanvas->LineTo(o.Left + 1, o.Bottom);
    }
    if (ACol == sel.Right) {
      ACanvas->MoveTo(o.Right - 1, o.Top);
      ACanvas->LineTo(o.Right - 1, o.Bottom);
    }
    if (ARow == sel.Top) {
      ACanvas->MoveTo(o.Left, o.Top + 1);
      ACanvas->LineTo(o.Right, o.Top + 1);
    }
    if (ARow == sel.Bottom) {
      ACanvas->MoveTo(o.Left, o.Bottom - 1);
      ACanvas->LineTo(o.Right, o.Bottom - 1);
    }
    if (FSelectionResizer && ACol == sel.Right && ARow == sel.Bottom) {
      const TColor b = ACanvas->Brush()->Color();
      ACanvas->Brush()->SetColor(kSelectionRectColor);
      ACanvas->FillRect(Rect(o.Right - 4, o.Bottom - 4, o.Right, o.Bottom));
      ACanvas->Brush()->SetColor(b);
    }
    pen->SetWidth(1);
    pen->SetColor(savedPen);
  }
  DrawCellTextContent(ACanvas, ACol, ARealCol, ARow, R, AState, HAlign, VAlign, AWordWrap, linkColor);
}

void TPlusStringGrid::DrawCellBorders(TCanvas* ACanvas, int ACol, int ARow, TRect R) {
  TPen saved;
  saved.Assign(ACanvas->Pen());
  TCellBorders borders;
  const int rc = RealColIndex(ACol);
  GetCellBorder(rc, ARow, ACanvas->Pen(), borders);
  TPen left, top, right, bottom;
  for (TPen* p : {&left, &top, &right, &bottom}) p->Assign(ACanvas->Pen());
  if (OnGetCellBorderProp) OnGetCellBorderProp(this, ARow, rc, &left, &top, &right, &bottom);
  const int shrink = (ACanvas->Pen()->Width() + 1) / 2;
  if (Options().Contains(goVertLine)) {
    R.Left += shrink;
    R.Right -= shrink;
  }
  if (Options().Contains(goHorzLine)) {
    R.Top += shrink;
    R.Bottom -= shrink;
  }
  if (borders.Contains(cbLeft)) {
    ACanvas->SetPen(&left);
    ACanvas->MoveTo(R.Left, R.Top);
    ACanvas->LineTo(R.Left, R.Bottom);
  }
  if (borders.Contains(cbRight)) {
    ACanvas->SetPen(&right);
    ACanvas->MoveTo(R.Right - 1, R.Top);
    ACanvas->LineTo(R.Right - 1, R.Bottom);
  }
  if (borders.Contains(cbTop)) {
    ACanvas->SetPen(&top);
    const int y = GridLineWidth() != 0 ? R.Top - GridLineWidth() : R.Top + 1;
    ACanvas->MoveTo(R.Left, y);
    ACanvas->LineTo(R.Right, y);
  }
  if (borders.Contains(cbBottom)) {
    ACanvas->SetPen(&bottom);
    ACanvas->MoveTo(R.Left, R.Bottom - 1);
    ACanvas->LineTo(R.Right, R.Bottom - 1);
  }
  ACanvas->SetPen(&saved);
}

void TPlusStringGrid::GetCellBorder(int ACol, int ARow, TPen* APen, TCellBorders& Borders) {
  if (OnGetCellBorder) OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TPlusStringGrid::DrawColSizingLine(int X) {
  TCanvas* c = Canvas();
  TPen saved;
  saved.Assign(c->Pen());
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetStyle(psDot);
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetWidth(1);
  int bottom = 0;
  if (RowCount() > 0) bottom = GetCellRect(0, RowCount() - 1).Bottom;
  c->MoveTo(X, 0);
  c->LineTo(X, std::max(Height(), bottom));
  c->SetPen(&saved);
}

void TPlusStringGrid::DrawRowSizingLine(int Y) {
  TCanvas* c = Canvas();
  TPen saved;
  saved.Assign(c->Pen());
  c->Pen()->SetColor(clBlack);
  c->Pen()->SetStyle(psDot);
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetWidth(1);
  int right = 0;
  if (ColCount() > 0) right = GetCellRect(ColCount() - 1, 0).Right;
  c->MoveTo(0, Y);
  c->LineTo(std::max(Width(), right), Y);
  c->SetPen(&saved);
}
