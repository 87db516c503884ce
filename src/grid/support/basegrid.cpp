#include "grid/support/basegrid.h"

#include <algorithm>
#include <cmath>

#include "grid/support/plusobj.h"
#include "grid/support/plusutil.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/codepages.h"

// ---------------------------------------------------------------------------
// TCellProperties

ZV_CLASS_IMPL(TCellProperties, TPersistent)

namespace {

const TEnumInfo& VAlignmentEnumInfo() {
  static const TEnumInfo info{"TVAlignment", {"vtaTop", "vtaCenter", "vtaBottom"}, 0};
  return info;
}

const TEnumInfo& GradientDirectionEnumInfo() {
  static const TEnumInfo info{"TCellGradientDirection", {"GradientVertical", "GradientHorizontal"}, 0};
  return info;
}

const TEnumInfo& EditorTypeEnumInfo() {
  static const TEnumInfo info{
      "TEditorType",
      {"edNormal",         "edSpinEdit",       "edComboEdit",     "edComboList",    "edEditBtn",
       "edCheckBox",       "edDateEdit",       "edDateEditUpDown", "edTimeEdit",    "edButton",
       "edDataCheckBox",   "edNumeric",        "edPositiveNumeric", "edFloat",      "edCapital",
       "edMixedCase",      "edPassword",       "edUnitEditBtn",   "edLowerCase",    "edUpperCase",
       "edFloatSpinEdit",  "edTimeSpinEdit",   "edDateSpinEdit",  "edNumericEditBtn", "edFloatEditBtn",
       "edCustom",         "edRichEdit",       "edNone",          "edUniEdit",      "edUniComboEdit",
       "edUniComboList",   "edUniEditBtn",     "edUniMemo"},
      0};
  return info;
}

}  // namespace

void TCellProperties::DeclareProperties(TClassInfo& c) {
  using P = TCellProperties;
  c.Boolean<P>("IsBaseCell", &P::IsBaseCell, &P::SetIsBaseCell, true);
  c.Integer<P>("CellSpanX", &P::CellSpanX, &P::SetCellSpanX, -1);
  c.Integer<P>("CellSpanY", &P::CellSpanY, &P::SetCellSpanY, -1);
  c.Integer<P>("OwnerCol", &P::OwnerCol, &P::SetOwnerCol);
  c.Integer<P>("OwnerRow", &P::OwnerRow, &P::SetOwnerRow);
  c.Enum<P>("Alignment", AlignmentEnumInfo(), &P::Alignment, &P::SetAlignment, taLeftJustify);
  c.Integer<P>("BorderColor", &P::BorderColor, &P::SetBorderColor, 0).WithIdents(&ColorIdents());
  c.Integer<P>("BorderWidth", &P::BorderWidth, &P::SetBorderWidth, 0);
  c.Integer<P>("BrushColor", &P::BrushColor, &P::SetBrushColor, clNone).WithIdents(&ColorIdents());
  c.Integer<P>("BrushColorTo", &P::BrushColorTo, &P::SetBrushColorTo, clNone).WithIdents(&ColorIdents());
  c.Enum<P>("BrushStyle", BrushStyleEnumInfo(), &P::BrushStyle, &P::SetBrushStyle, bsSolid);
  c.Object<P, TObject>("CellObject", &P::CellObject, &P::SetCellObject);
  c.Integer<P>("FontColor", &P::FontColor, &P::SetFontColor, clNone).WithIdents(&ColorIdents());
  c.String<P>("FontName", &P::FontName, &P::SetFontName, std::string());
  c.Integer<P>("FontSize", &P::FontSize, &P::SetFontSize, 0);
  c.Set<P>("FontStyle", FontStylesEnumInfo(), [](P* p) { return p->FontStyle().Bits(); },
           [](P* p, uint64_t v) { p->SetFontStyle(TFontStyles::FromBits(v)); }, 0);
  c.Enum<P>("Editor", EditorTypeEnumInfo(), &P::Editor, &P::SetEditor, edNormal);
  c.Enum<P>("GradientDirection", GradientDirectionEnumInfo(), &P::GradientDirection, &P::SetGradientDirection,
            GradientVertical);
  c.Boolean<P>("ReadOnly", &P::ReadOnly, &P::SetReadOnly, false);
  c.Enum<P>("VAlignment", VAlignmentEnumInfo(), &P::VAlignment, &P::SetVAlignment, vtaTop);
  c.Boolean<P>("WordWrap", &P::WordWrap, &P::SetWordWrap, std::nullopt);
  c.Integer<P>("NodeLevel", &P::NodeLevel, &P::SetNodeLevel, 0);
  c.Object<P, TControl>("Control", &P::Control, &P::SetControl);
}

TCellProperties::TCellProperties(TBaseGrid* AOwnerGrid, int ACol, int ARow)
    : FOwnerGrid(AOwnerGrid), FOwnerCol(ACol), FOwnerRow(ARow), FWordWrap(AOwnerGrid ? AOwnerGrid->WordWrap() : true) {}

TCellProperties::~TCellProperties() = default;

void TCellProperties::SetCellGraphic(TCellGraphic* v) {
  if (v != FCellGraphic.get()) FCellGraphic.reset(v);
}

void TCellProperties::RepaintOwner() {
  if (FOwnerGrid) FOwnerGrid->RepaintCell(FOwnerCol, FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor v) {
  FBrushColor = v;
  RepaintOwner();
}

void TCellProperties::SetBrushColorTo(TColor v) {
  FBrushColorTo = v;
  RepaintOwner();
}

void TCellProperties::SetVAlignment(TVAlignment v) {
  FVAlignment = v;
  RepaintOwner();
}

void TCellProperties::SetWordWrap(bool v) {
  FWordWrap = v;
  RepaintOwner();
}

// ---------------------------------------------------------------------------
// TCellGraphic

TCellGraphic::~TCellGraphic() {
  if (!CellCreated) return;
  // Progress kinds keep colour values in the content fields, not objects.
  if (CellType == ctProgress || CellType == ctProgressPie || CellType == ctRangeIndicator) return;
  delete CellContent;
  if (CellContent2 != CellContent) delete CellContent2;
}

void TCellGraphic::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TCellGraphic*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  if (s == this) return;
  CellType = s->CellType;
  CellVAlign = s->CellVAlign;
  CellHAlign = s->CellHAlign;
  CellIndex = s->CellIndex;
  CellTransparent = s->CellTransparent;
  CellValue = s->CellValue;
  CellAngle = s->CellAngle;
  CellBoolean = s->CellBoolean;
  CellErrFrom = s->CellErrFrom;
  CellErrLen = s->CellErrLen;
  CellText = s->CellText;
  CellCreated = s->CellCreated;
}

void TCellGraphic::SetCheckBox(bool Value, bool Data, TCellVAlign VAlign, TCellHAlign HAlign, bool Transparent) {
  CellType = Data ? ctDataCheckBox : ctCheckBox;
  CellBoolean = Value;
  CellHAlign = HAlign;
  CellVAlign = VAlign;
  CellTransparent = Transparent;
}

namespace {
TPoint Pt(int X, int Y) { return TPoint{X, Y}; }
}  // namespace

TPoint TCellGraphic::GetPictureSize(int Width, int Height) const {
  int w = 0, h = 0;
  if (CellType == ctPicture) {
    auto* p = dynamic_cast<TPicture*>(CellContent);
    if (!p) return Pt(0, 0);
    w = p->Width();
    h = p->Height();
  } else if (CellType == ctFilePicture) {
    auto* p = dynamic_cast<TFilePicture*>(CellContent);
    if (!p) return Pt(0, 0);
    w = p->Width();
    h = p->Height();
  } else {
    return Pt(0, 0);
  }
  const int W = Width - CellIndex, H = Height - CellIndex;
  // Scales by the smaller factor; nearest integer, halves to even.
  auto scaled = [&](double fx, double fy) {
    if (fx >= fy) return Pt(static_cast<int>(std::nearbyint(w * fy)), static_cast<int>(std::nearbyint(h * fy)));
    return Pt(static_cast<int>(std::nearbyint(w * fx)), static_cast<int>(std::nearbyint(h * fx)));
  };
  const bool degenerate = w <= 0 || h <= 0;
  const double fx = degenerate ? 1.0 : static_cast<double>(W) / w;
  const double fy = degenerate ? 1.0 : static_cast<double>(H) / h;
  switch (CellAngle) {
    case 1: return Pt(W, H);
    case 2: return scaled(fx, fy);
    case 3: return (W >= w && H >= h) ? Pt(w, h) : Pt(W, H);
    case 4: return (W >= w && H >= h) ? Pt(w, h) : scaled(std::min(fx, 1.0), std::min(fy, 1.0));
    default: return Pt(w, h);
  }
}

// ---------------------------------------------------------------------------
// TBaseGrid

ZV_CLASS_IMPL(TBaseGrid, TStringGrid)

void TBaseGrid::DeclareProperties(TClassInfo& c) {
  using P = TBaseGrid;
  c.Boolean<P>("ActiveRowShow", &P::ActiveRowShow, &P::SetActiveRowShow, false);
  c.Integer<P>("ActiveRowColor", &P::ActiveRowColor, &P::SetActiveRowColor, clInfoBk).WithIdents(&ColorIdents());
  c.Boolean<P>("DefaultDrawing", &P::DefaultDrawing, &P::SetDefaultDrawing, false);
  c.Integer<P>("GridLineWidth", &P::GridLineWidth, &P::SetGridLineWidth, 1);
  c.Integer<P>("GridLineColor", &P::GridLineColor, &P::SetGridLineColor, 0xC0C0C0).WithIdents(&ColorIdents());
  c.Method<P, TGetDisplTextEvent>("OnGetDisplText", [](P* p) { return p->OnGetDisplText; },
                                   [](P* p, TGetDisplTextEvent e) { p->OnGetDisplText = std::move(e); });
  c.Method<P, TGetDisplWideTextEvent>("OnGetDisplWideText", [](P* p) { return p->OnGetDisplWideText; },
                                       [](P* p, TGetDisplWideTextEvent e) { p->OnGetDisplWideText = std::move(e); });
  c.Object<P, TPlusGridUndoRedo>("UndoRedo", &P::UndoRedo, &P::SetUndoRedo);
}

TBaseGrid::TBaseGrid(TComponent* AOwner) : TStringGrid(AOwner) {
  FDefaultDrawing = false;
  TCustomGrid::SetGridLineWidth(0);
  FOptions.Include(goDrawFocusSelected);
}

TBaseGrid::~TBaseGrid() {
  FreeAllCellObjects();
  if (FUndoRedo && FUndoRedo->Grid() == this) FUndoRedo->SetGrid(nullptr);
}

void TBaseGrid::SetActiveRowShow(bool v) {
  if (v == FActiveRowShow) return;
  FActiveRowShow = v;
  Invalidate();
}

void TBaseGrid::SetActiveRowColor(TColor v) {
  FActiveRowColor = v;
  Invalidate();
}

void TBaseGrid::SetGridLineWidth(int v) {
  FBaseGridLineWidth = std::max(v, 0);
  Invalidate();
}

void TBaseGrid::SetGridLineColor(TColor v) {
  FGridLineColor = v;
  Invalidate();
}

void TBaseGrid::SetUndoRedo(TPlusGridUndoRedo* v) {
  if (v == FUndoRedo) return;
  if (FUndoRedo) FUndoRedo->RemoveFreeNotification(this);
  FUndoRedo = v;
  if (v) {
    v->FreeNotification(this);
    v->SetGrid(this);
  }
}

void TBaseGrid::Notification(TComponent* AComponent, TOperation Operation) {
  TStringGrid::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FUndoRedo) FUndoRedo = nullptr;
}

// ---- records

TCellProperties* TBaseGrid::RecordOf(int ACol, int ARow) const {
  return dynamic_cast<TCellProperties*>(TStringGrid::Objects(ACol, ARow));
}

TCellProperties* TBaseGrid::GetCellProperties(int ACol, int ARow) {
  if (TCellProperties* p = RecordOf(ACol, ARow)) return p;
  auto* p = new TCellProperties(this, ACol, ARow);
  try {
    SetCellObject(ACol, ARow, p);
  } catch (...) {
    delete p;
    throw;
  }
  TFont font;
  font.Assign(Font());
  TBrush brush;
  brush.SetColor(FColor);
  TCellGradientDirection dir = GradientVertical;
  bool wrap = FWordWrap;
  TVAlignment valign = vtaTop;
  TAlignment align = taLeftJustify;
  TColor colorTo = clNone;
  GetCellDefaults(ACol, ARow, dir, wrap, valign, align, colorTo, &font, &brush);
  p->SetAlignment(align);
  p->SetVAlignment(valign);
  p->SetWordWrap(wrap);
  p->SetFontName(font.Name());
  p->SetFontSize(font.Size());
  p->SetFontStyle(font.Style());
  p->SetFontColor(font.Color());
  p->SetBrushColor(brush.Color());
  p->SetBrushColorTo(colorTo);
  p->SetGradientDirection(dir);
  RepaintCell(ACol, ARow);
  return p;
}

TCellGraphic* TBaseGrid::GetCellGraphic(int ACol, int ARow) const {
  const TCellProperties* p = RecordOf(ACol, ARow);
  return p ? p->CellGraphic() : nullptr;
}

void TBaseGrid::SetCellGraphic(int ACol, int ARow, TCellGraphic* Graphic) {
  GetCellProperties(ACol, ARow)->SetCellGraphic(Graphic);
}

void TBaseGrid::ReplaceCellObject(int ACol, int ARow, TObject* Obj) {
  TObject* old = GetCellObject(ACol, ARow);
  if (old == Obj) return;
  SetCellObject(ACol, ARow, Obj);
  delete old;
}

void TBaseGrid::FreeCellObject(int ACol, int ARow) {
  TObject* old = GetCellObject(ACol, ARow);
  if (!old) return;
  SetCellObject(ACol, ARow, nullptr);
  delete old;
}

void TBaseGrid::FreeCellObjects(int FromCol, int FromRow, int ToRow, int ToCol) {
  for (int r = FromRow; r <= ToRow; ++r)
    for (int c = FromCol; c <= ToCol; ++c) FreeCellObject(c, r);
}

void TBaseGrid::FreeAllCellObjects() {
  std::vector<std::pair<int, int>> cells;
  ForEachObject([&](int c, int r, TObject*) { cells.emplace_back(c, r); });
  for (auto [c, r] : cells) FreeCellObject(c, r);
}

void TBaseGrid::ResetCol(int ACol) {
  for (int r = 0; r < RowCount(); ++r) {
    SetCellObject(ACol, r, nullptr);
    SetCellRaw(ACol, r, "");
  }
}

void TBaseGrid::ResetRow(int ARow) {
  for (int c = 0; c < ColCount(); ++c) {
    SetCellObject(c, ARow, nullptr);
    SetCellRaw(c, ARow, "");
  }
}

void TBaseGrid::ResetCell(int ACol, int ARow) {
  SetCellText(ACol, ARow, "");
  SetCellObject(ACol, ARow, nullptr);
}

void TBaseGrid::SizeChanged(int OldColCount, int OldRowCount) {
  std::vector<TObject*> dropped;
  ForEachObject([&](int c, int r, TObject* o) {
    if (c >= ColCount() || r >= RowCount()) dropped.push_back(o);
  });
  for (TObject* o : dropped) delete o;
  TStringGrid::SizeChanged(OldColCount, OldRowCount);
}

// ---- texts

std::string TBaseGrid::GetCellText(int ACol, int ARow) {
  int c = ACol, r = ARow;
  if (HasCellProperties(ACol, ARow)) {
    const TPoint b = GetBaseCell(ACol, ARow);
    c = b.X;
    r = b.Y;
  }
  std::string value = GetCellRaw(c, r);
  if (r < FDisplRowCount) {
    GetDisplText(c, r, value);
    if (OnGetDisplWideText) {
      std::u16string wide = DecodeWideCellText(value);
      GetDisplWideText(c, r, wide);
      value = EncodeWideCellText(wide);
    }
  }
  return value;
}

void TBaseGrid::SetCellText(int ACol, int ARow, const std::string& Value) {
  if (HasCellProperties(ACol, ARow)) {
    const TPoint b = GetBaseCell(ACol, ARow);
    SetCellRaw(b.X, b.Y, Value);
    if (Parent()) RepaintCell(ACol, ARow);
  } else {
    SetCellRaw(ACol, ARow, Value);
  }
  if (FFloatingFooterRow && ARow == RowCount() - 1) LastRowChanged();
}

// ---- merged cells

TPoint TBaseGrid::GetBaseCell(int ACol, int ARow) const {
  const TCellProperties* p = RecordOf(ACol, ARow);
  if (!p || p->IsBaseCell() || p->CellSpanX() == -1 || p->CellSpanY() == -1) return Point(ACol, ARow);
  return Point(ACol - p->CellSpanX(), ARow - p->CellSpanY());
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const {
  const TCellProperties* p = RecordOf(ACol, ARow);
  return !p || p->IsBaseCell();
}

TPoint TBaseGrid::GetCellSpan(int ACol, int ARow) const {
  const TCellProperties* p = RecordOf(ACol, ARow);
  if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1) return Point(0, 0);
  const TPoint b = GetBaseCell(ACol, ARow);
  const TCellProperties* base = RecordOf(b.X, b.Y);
  if (!base) return Point(0, 0);
  return Point(base->CellSpanX(), base->CellSpanY());
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const {
  const TCellProperties* p = RecordOf(ACol, ARow);
  return p && (p->CellSpanX() >= 1 || p->CellSpanY() >= 1);
}

bool TBaseGrid::IsCoveredCell(int ACol, int ARow) const {
  const TCellProperties* p = RecordOf(ACol, ARow);
  return IsMergedCell(ACol, ARow) && !p->IsBaseCell();
}

bool TBaseGrid::IsHorzMerged(int ACol, int ARow) const {
  if (!RecordOf(ACol, ARow)) return false;
  const TPoint b = GetBaseCell(ACol, ARow);
  const TCellProperties* base = RecordOf(b.X, b.Y);
  return base && base->CellSpanX() > 0;
}

bool TBaseGrid::IsVertMerged(int ACol, int ARow) const {
  if (!RecordOf(ACol, ARow)) return false;
  const TPoint b = GetBaseCell(ACol, ARow);
  const TCellProperties* base = RecordOf(b.X, b.Y);
  return base && base->CellSpanY() > 0;
}

void TBaseGrid::MergeCells(int ACol, int ARow, int NumCols, int NumRows) {
  // Cells outside the grid cannot hold a record.
  NumCols = std::min(NumCols, ColCount() - ACol);
  NumRows = std::min(NumRows, RowCount() - ARow);
  if (ACol < 0 || ARow < 0 || NumCols < 1 || NumRows < 1) return;
  for (int r = ARow; r < ARow + NumRows; ++r)
    for (int c = ACol; c < ACol + NumCols; ++c) {
      TCellProperties* p = GetCellProperties(c, r);
      if (c == ACol && r == ARow) {
        p->SetIsBaseCell(true);
        p->SetCellSpanX(NumCols - 1);
        p->SetCellSpanY(NumRows - 1);
      } else {
        p->SetIsBaseCell(false);
        p->SetCellSpanX(c - ACol);
        p->SetCellSpanY(r - ARow);
      }
    }
  for (int r = ARow; r < ARow + NumRows; ++r)
    for (int c = ACol; c < ACol + NumCols; ++c) RepaintCell(c, r);
}

void TBaseGrid::SplitCells(int ACol, int ARow) {
  const TPoint b = GetBaseCell(ACol, ARow);
  const TCellProperties* base = RecordOf(b.X, b.Y);
  const int sx = base ? std::max(base->CellSpanX(), 0) : 0;
  const int sy = base ? std::max(base->CellSpanY(), 0) : 0;
  for (int r = b.Y; r <= b.Y + sy && r < RowCount(); ++r)
    for (int c = b.X; c <= b.X + sx && c < ColCount(); ++c) {
      TCellProperties* p = GetCellProperties(c, r);
      p->SetIsBaseCell(true);
      p->SetCellSpanX(-1);
      p->SetCellSpanY(-1);
      RepaintCell(c, r);
    }
}

TRect TBaseGrid::GetCellRect(int ACol, int ARow) const {
  const int line = TCustomGrid::GridLineWidth();
  int64_t x, y;
  // Measured from the first scrolling line shown, so the cost follows the
  // distance to the view, not the index.
  auto from = [&](const TGridAxis& axis, int first, int i) {
    return i >= first ? axis.Extent(first, i, line) : -axis.Extent(i, first, line);
  };
  if (ACol < FixedCols()) x = FCols.Extent(0, ACol, line);
  else x = FixedWidth() + from(FCols, LeftCol(), ACol);
  if (ARow < FixedRows()) y = FRows.Extent(0, ARow, line);
  else y = FixedHeight() + from(FRows, TopRow(), ARow);
  return Rect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(x + ColWidths(ACol)),
              static_cast<int>(y + RowHeights(ARow)));
}

TRect TBaseGrid::GetMergedCellRect(int ACol, int ARow) const {
  const TCellProperties* p = RecordOf(ACol, ARow);
  if (p && p->CellSpanX() != -1 && p->CellSpanY() != -1) {
    const TPoint b = GetBaseCell(ACol, ARow);
    const TPoint span = GetCellSpan(ACol, ARow);
    const TRect first = GetCellRect(b.X, b.Y);
    const TRect last = GetCellRect(b.X + span.X, b.Y + span.Y);
    return Rect(first.Left, first.Top, last.Right, last.Bottom);
  }
  if (p && p->Control()) return GetCellRect(ACol, ARow);
  TRect r = CellRect(ACol, ARow);
  r.Right = r.Left + ColWidths(ACol);
  r.Bottom = r.Top + RowHeights(ARow);
  return r;
}

TPoint TBaseGrid::GetMergedCellSize(int ACol, int ARow) const {
  const TCellProperties* p = RecordOf(ACol, ARow);
  const TRect r = p && p->CellSpanX() != -1 && p->CellSpanY() != -1 ? GetMergedCellRect(ACol, ARow)
                                                                    : GetCellRect(ACol, ARow);
  return Point(r.Width(), r.Height());
}

void TBaseGrid::RepaintCell(int, int) { Invalidate(); }

bool TBaseGrid::RowsShareMergedCells(int Row1, int Row2) const {
  bool found = false;
  for (int c = 0; c < ColCount(); ++c) {
    if (GetCellSpan(c, Row1).Y > 0 && GetCellSpan(c, Row2).Y > 0) {
      if (GetBaseCell(c, Row1).Y != GetBaseCell(c, Row2).Y) return false;
      found = true;
    }
  }
  return found;
}

void TBaseGrid::MoveToBaseCell() {
  if (!HasCellProperties(Col(), Row())) return;
  const TPoint b = GetBaseCell(Col(), Row());
  if (b.X != Col() || b.Y != Row()) FocusCell(b.X, b.Y, true);
}

// ---- hooks

bool TBaseGrid::IsFixedCell(int, int) { return false; }
int TBaseGrid::GetNodeIndent(int) { return 0; }
bool TBaseGrid::HasNodes() { return false; }
void TBaseGrid::LastRowChanged() {}
int TBaseGrid::DisplColIndex(int ACol) { return ACol; }

void TBaseGrid::GetDisplText(int ACol, int ARow, std::string& Value) {
  if (OnGetDisplText) OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, std::u16string& Value) {
  if (OnGetDisplWideText) OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetCellDefaults(int, int, TCellGradientDirection& Direction, bool& AWordWrap, TVAlignment& AVAlignment,
                                TAlignment& AAlignment, TColor& AColorTo, TFont* AFont, TBrush* ABrush) {
  AFont->Assign(Font());
  ABrush->SetColor(FColor);
  AColorTo = clNone;
  AAlignment = taLeftJustify;
  AVAlignment = vtaTop;
  AWordWrap = FWordWrap;
  Direction = GradientVertical;
}

void TBaseGrid::GetCellFormat(int, int, TCellGradientDirection&, bool&, bool&, bool&, TFont*, TBrush*, TColor&, bool,
                              bool, bool, TGridDrawState&) {}

void TBaseGrid::DrawCellText(TCanvas* ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState) {
  std::string text = GetCellText(ACol, ARow);
  if (GetCellTextKind(text, false) == ckUnicode) text = Utf16ToUtf8(DecodeWideCellText(text));
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->DrawText(text, ARect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

// ---- painting

void TBaseGrid::Paint() {
  TStringGrid::Paint();
  ++FPaintPass;
}

namespace {

// A gradient of 64 bands from one colour to another.
void FillGradient(TCanvas* canvas, const TRect& r, TColor from, TColor to, bool horizontal) {
  const TColorRef a = ColorToRGB(from), b = ColorToRGB(to);
  const int extent = horizontal ? r.Width() : r.Height();
  if (extent <= 0) return;
  const int steps = std::min(64, extent);
  canvas->Brush()->SetStyle(bsSolid);
  for (int i = 0; i < steps; ++i) {
    auto mix = [&](int shift) {
      const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
      return (ca + (cb - ca) * i / std::max(steps - 1, 1)) & 0xFF;
    };
    canvas->Brush()->SetColor(static_cast<TColor>(mix(0) | mix(8) << 8 | mix(16) << 16));
    const int s0 = extent * i / steps, s1 = extent * (i + 1) / steps;
    canvas->FillRect(horizontal ? Rect(r.Left + s0, r.Top, r.Left + s1, r.Bottom)
                                : Rect(r.Left, r.Top + s0, r.Right, r.Top + s1));
  }
}

}  // namespace

void TBaseGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) {
  TCanvas* canvas = Canvas();
  // 1. The floating footer covers the last row.
  if (FFloatingFooterRow && ARow == RowCount() - 1) {
    canvas->Pen()->SetColor(FColor);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(FColor);
    canvas->FillRect(ARect);
    return;
  }
  // 2. A covered cell paints its area once per pass, through the base cell.
  if (TCellProperties* p = RecordOf(ACol, ARow); p && !IsBaseCell(ACol, ARow) && p->CellSpanX() != -1 &&
                                                 p->CellSpanY() != -1) {
    const TPoint b = GetBaseCell(ACol, ARow);
    TCellProperties* base = RecordOf(b.X, b.Y);
    if (base && base->PaintStamp() != FPaintPass) {
      base->SetPaintStamp(FPaintPass);
      DrawCell(b.X, b.Y, ARect, AState);
    }
    return;
  }
  // 3.
  if (IsFixedCell(ACol, ARow)) {
    AState.Include(gdFixed);
    AState.Exclude(gdSelected);
  }
  // 4.
  TRect r = GetMergedCellRect(ACol, ARow);
  // 5. An area whose base scrolled away must not paint over the fixed cells.
  const int fw = FixedWidth(), fh = FixedHeight();
  const bool clip = (ACol >= FixedCols() && FixedCols() > 0 && r.Left < fw) ||
                    (ARow >= FixedRows() && FixedRows() > 0 && r.Top < fh);
  int saved = 0;
  if (clip) {
    saved = canvas->SaveDC();
    canvas->IntersectClipRect(FixedCols() > 0 ? fw : 0, FixedRows() > 0 ? fh : 0, Width(), Height());
  }
  // 6.
  canvas->Pen()->SetWidth(1);
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(AState.Contains(gdFixed) ? FixedColor() : FColor);
  TCellGradientDirection dir = GradientVertical;
  bool f1 = false, f2 = false, f3 = false;
  TColor colorTo = clNone;
  GetCellFormat(ACol, ARow, dir, f1, f2, f3, canvas->Font(), canvas->Brush(), colorTo, true, true, false, AState);
  // 7.
  if (FActiveRowShow && ARow == Row() && ACol != Col()) canvas->Brush()->SetColor(FActiveRowColor);
  canvas->Pen()->SetColor(canvas->Brush()->Color());
  // 8.
  if (colorTo == clNone) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Rectangle(r);
  } else {
    FillGradient(canvas, r, canvas->Brush()->Color(), colorTo, dir == GradientHorizontal);
  }
  // 9. Grid lines inside the cell at its right and bottom edges.
  const bool fixed = AState.Contains(gdFixed);
  int w = 1;
  bool lines = true;
  if (fixed) {
    canvas->Pen()->SetColor(clGray);
    canvas->Pen()->SetWidth(1);
  } else {
    lines = FBaseGridLineWidth > 0;
    canvas->Pen()->SetColor(FGridLineColor);
    canvas->Pen()->SetWidth(FBaseGridLineWidth);
    w = (FBaseGridLineWidth + 1) / 2;
  }
  if (lines) {
    if (!(ACol == 0 && HasNodes()) &&
        ((FOptions.Contains(goHorzLine) && !fixed) || (FOptions.Contains(goFixedHorzLine) && fixed))) {
      canvas->MoveTo(r.Left - w + 1, r.Bottom - w);
      canvas->LineTo(r.Right - w + 1, r.Bottom - w);
    }
    if ((FOptions.Contains(goVertLine) && !fixed) || (FOptions.Contains(goFixedVertLine) && fixed)) {
      canvas->MoveTo(r.Right - w, r.Bottom - w);
      canvas->LineTo(r.Right - w, r.Top - w);
    }
  }
  canvas->Pen()->SetWidth(1);
  // 10.
  const int inset = fixed ? 1 : FBaseGridLineWidth;
  r = Rect(r.Left + inset, r.Top + inset, r.Right - inset, r.Bottom - inset);
  DrawCellText(canvas, ACol, ARow, r, AState);
  if (clip) canvas->RestoreDC(saved);
}

// ---- keys, wheel, selection

void TBaseGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
  const bool hasRecord = HasCellProperties(Col(), Row());
  const TPoint b = GetBaseCell(Col(), Row());
  const TCellProperties* base = hasRecord ? RecordOf(b.X, b.Y) : nullptr;
  switch (Key) {
    case VK_NEXT:
      if (FFloatingFooterRow && RowCount() > 1 && RowCount() == VisibleRowCount() + TopRow() - FixedRows() + 1)
        SetRow(RowCount() - 2);
      break;
    case VK_RIGHT:
      if (base && b.X + base->CellSpanX() >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1)
        FocusCell(b.X + base->CellSpanX(), Row(), true);
      break;
    case VK_DOWN:
      if (base && b.Y + base->CellSpanY() >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1)
        FocusCell(Col(), b.Y + base->CellSpanY(), true);
      break;
    // From a covered cell, Left and Up move from the base cell's column or
    // row, so they leave the area as Right and Down do.
    case VK_LEFT:
      if (IsCoveredCell(Col(), Row()) && b.X < Col() && Col() > FixedCols()) FocusCell(b.X, Row(), true);
      break;
    case VK_UP:
      if (IsCoveredCell(Col(), Row()) && b.Y < Row() && Row() > FixedRows()) FocusCell(Col(), b.Y, true);
      break;
    default: break;
  }
  TStringGrid::KeyDown(Key, Shift);
  MoveToBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  const bool r = TStringGrid::DoMouseWheelDown(Shift, MousePos);
  if (FFloatingFooterRow && Row() - TopRow() > VisibleRowCount() && Row() != RowCount() - 1) SetTopRow(TopRow() + 1);
  MoveToBaseCell();
  return r;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  const bool r = TStringGrid::DoMouseWheelUp(Shift, MousePos);
  MoveToBaseCell();
  return r;
}

bool TBaseGrid::SelectCell(int ACol, int ARow) {
  RepaintCell(Col(), Row());
  const bool ok = TStringGrid::SelectCell(ACol, ARow);
  RepaintCell(ACol, ARow);
  return ok;
}

void TBaseGrid::TopLeftChanged() {
  TStringGrid::TopLeftChanged();
  // Areas reaching into the fixed cells follow the scroll.
  Invalidate();
}

// ---------------------------------------------------------------------------
// Undo recorder

ZV_CLASS_IMPL(TUndoRedoItem, TCollectionItem)

void TUndoRedoItem::DeclareProperties(TClassInfo& c) {
  using P = TUndoRedoItem;
  c.String<P>("Value", &P::Value, &P::SetValue);
  c.String<P>("OrigValue", &P::OrigValue, &P::SetOrigValue);
  c.Integer<P>("Col", &P::Col, &P::SetCol);
  c.Integer<P>("Row", &P::Row, &P::SetRow);
}

ZV_CLASS_IMPL_NOPROPS(TUndoRedoCollection, TCollection)

ZV_CLASS_IMPL(TPlusGridUndoRedo, TComponent)

void TPlusGridUndoRedo::DeclareProperties(TClassInfo& c) {
  using P = TPlusGridUndoRedo;
  c.Integer<P>("MaxLevel", &P::MaxLevel, &P::SetMaxLevel, 0);
}

TPlusGridUndoRedo::TPlusGridUndoRedo(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TUndoRedoCollection>()) {}

TPlusGridUndoRedo::~TPlusGridUndoRedo() {
  if (FGrid) FGrid->RemoveFreeNotification(this);
  Destroying();
}

void TPlusGridUndoRedo::SetGrid(TBaseGrid* v) {
  if (v == FGrid) return;
  if (FGrid) FGrid->RemoveFreeNotification(this);
  FGrid = v;
  if (v) v->FreeNotification(this);
}

void TPlusGridUndoRedo::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FGrid) FGrid = nullptr;
}

void TPlusGridUndoRedo::AddChange(int ACol, int ARow, const std::string& OrigValue, const std::string& Value) {
  if (FMaxLevel > 0)
    while (FItems->Count() >= FMaxLevel) FItems->Delete(0);
  auto* item = static_cast<TUndoRedoItem*>(FItems->Add());
  item->SetCol(ACol);
  item->SetRow(ARow);
  item->SetOrigValue(OrigValue);
  item->SetValue(Value);
  FLevel = FItems->Count();
}
