// The floating footer: its settings, the calculation of the footer row's
// cells from the column above, and the panel that paints the totals row, a
// column preview or a filled-in template, with its hints and clicks.
#include <algorithm>
#include <string>

#include "grid/plusgrid.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/forms.h"

namespace {

const TEnumInfo& FooterStyleInfo() {
  static const TEnumInfo info{"TFooterStyle", {"fsFixedLastRow", "fsColumnPreview", "fsCustomPreview"}, 0};
  return info;
}

// Footer calculation kinds of a cell record.
enum { kFooterNone = 0, kFooterSum = 1, kFooterAvg = 2, kFooterCount = 3, kFooterMin = 4, kFooterMax = 5,
       kFooterCustom = 7 };

// The footer strip's height in the grid's client area.
int FooterStripHeight(TPlusStringGrid* g) {
  TFloatingFooter* f = g->FloatingFooter();
  return f->Visible() ? f->FooterHeight() : 0;
}

}  // namespace

#define ZV_BOOL(Name, Def) c.Boolean<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_INT(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_COLOR(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def).WithIdents(&ColorIdents());
#define ZV_STR(Name, Def) c.String<T>(#Name, &T::Name, &T::Set##Name, std::string(Def));
#define ZV_ENUM(Name, Info, Def) c.Enum<T>(#Name, Info(), &T::Name, &T::Set##Name, Def);

// ---------------------------------------------------------------------------
// TFloatingFooter

ZV_CLASS_IMPL(TFloatingFooter, TPersistent)

void TFloatingFooter::DeclareProperties(TClassInfo& c) {
  using T = TFloatingFooter;
  ZV_COLOR(BorderColor, clNone)
  ZV_BOOL(CalculateHiddenRows, false)
  ZV_COLOR(Color, clBtnFace)
  ZV_INT(Column, 0)
  ZV_STR(CustomTemplate, "")
  ZV_ENUM(FooterStyle, FooterStyleInfo, fsFixedLastRow)
  ZV_BOOL(ShowHint, false)
  ZV_BOOL(Visible, false)
  c.Method<T, TCalcFooterEvent>(
      "OnCalcFooter", [](T* p) { return p->OnCalcFooter; }, [](T* p, TCalcFooterEvent e) { p->OnCalcFooter = std::move(e); });
}

void TFloatingFooter::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TFloatingFooter*>(Source);
  if (!s || s == this) return;
  FCalculateHiddenRows = s->FCalculateHiddenRows;
  FColor = s->FColor;
  FColumn = s->FColumn;
  FCustomTemplate = s->FCustomTemplate;
  FFooterStyle = s->FFooterStyle;
  SetVisible(s->FVisible);
  SetShowHint(s->FShowHint);
}

void TFloatingFooter::SetVisible(bool v) {
  FVisible = v;
  if (!FGrid) return;
  const bool lastRow = v && FFooterStyle == fsFixedLastRow;
  if (v || FGrid->HasFooterPanel()) {
    TFooterPanel* p = FGrid->FooterPanel();
    p->SetHeight(v ? FFooterHeight : 0);
    p->SetVisible(v);
  }
  FGrid->SetFixedFooters(lastRow ? 1 : 0);
  FGrid->SetFloatingFooterRow(lastRow);
  FGrid->UpdateCoveredBottom();
  FGrid->Invalidate();
}

void TFloatingFooter::SetFooterStyle(TFooterStyle v) {
  FFooterStyle = v;
  if (!FGrid) return;
  FGrid->SetFloatingFooterRow(FVisible && v == fsFixedLastRow);
  FGrid->UpdateCoveredBottom();
  FGrid->Invalidate();
  Invalidate();
}

void TFloatingFooter::SetColor(TColor v) {
  FColor = v;
  Invalidate();
}

void TFloatingFooter::SetBorderColor(TColor v) {
  if (v == FBorderColor) return;
  FBorderColor = v;
  Invalidate();
}

void TFloatingFooter::SetColumn(int v) {
  FColumn = v;
  Invalidate();
}

void TFloatingFooter::SetCustomTemplate(const std::string& v) {
  FCustomTemplate = v;
  Invalidate();
}

void TFloatingFooter::SetShowHint(bool v) {
  FShowHint = v;
  if (FGrid && FGrid->HasFooterPanel()) FGrid->FooterPanel()->SetShowHint(v);
}

void TFloatingFooter::SetFooterHeight(int v) {
  FFooterHeight = v;
  if (FVisible && FGrid && FGrid->HasFooterPanel()) FGrid->FooterPanel()->SetHeight(v);
  if (FGrid) FGrid->UpdateCoveredBottom();
}

void TFloatingFooter::Invalidate() {
  if (FGrid && FGrid->HasFooterPanel()) FGrid->FooterPanel()->Invalidate();
}

// ---------------------------------------------------------------------------
// The grid's side

TFooterPanel* TPlusStringGrid::FooterPanel() {
  if (!FFooterPanel) {
    FFooterPanel = new TFooterPanel(this);
    FFooterPanel->SetShowHint(FFloatingFooter->ShowHint());
    FFooterPanel->SetParent(this);
  }
  return FFooterPanel;
}

double TPlusStringGrid::FooterFigure(int Kind, int ACol, int FromRow, int ToRow) {
  switch (Kind) {
    case kFooterSum: return ColumnSum(ACol, FromRow, ToRow);
    case kFooterAvg: return ColumnAvg(ACol, FromRow, ToRow);
    case kFooterMin: return ColumnMin(ACol, FromRow, ToRow);
    case kFooterMax: return ColumnMax(ACol, FromRow, ToRow);
    default: return 0;
  }
}

void TPlusStringGrid::CalcFooter(int ACol) {
  TFloatingFooter* f = FFloatingFooter.get();
  if (!f->Visible() || f->FooterStyle() != fsFixedLastRow || FCalculatingFooter || RowCount() < 1) return;
  // Writing the footer cells reports cell changes, which ask for the footer again.
  FCalculatingFooter = true;
  struct TDone {
    bool& F;
    ~TDone() { F = false; }
  } done{FCalculatingFooter};
  const int first = ACol < 0 ? 0 : ACol;
  const int last = ACol < 0 ? GetAllColCount() - 1 : ACol;
  const int footer = RowCount() - 1;
  const int h = f->CalculateHiddenRows() ? NumHiddenRows() : 0;
  const int fixedRows = TCustomGrid::FixedRows();
  for (int c = first; c <= last; ++c) {
    if (!HasCellProperties(c, footer)) continue;
    switch (GetCellProperties(c, footer)->FooterCalc()) {
      case kFooterNone:
        SetCellText(c, footer, "");
        break;
      case kFooterSum:
      case kFooterAvg:
      case kFooterMin:
      case kFooterMax: {
        const int kind = GetCellProperties(c, footer)->FooterCalc();
        SetCellFloat(c, footer, FooterFigure(kind, c, fixedRows, RowCount() - 2 + h));
        break;
      }
      case kFooterCount:
        SetCellFloat(c, footer, RowCount() - fixedRows - 1 + h);
        break;
      case kFooterCustom: {
        std::string value;
        if (f->OnCalcFooter) f->OnCalcFooter(this, c, RowCount() - 1 + h, value);
        SetCellText(c, footer, value);
        break;
      }
      default:
        break;
    }
  }
}

// ---------------------------------------------------------------------------
// TFooterPanel

ZV_CLASS_IMPL(TFooterPanel, TCustomPanel)

void TFooterPanel::DeclareProperties(TClassInfo& c) { TCustomPanel::PublishProperties(c, {"BorderWidth"}); }

TFooterPanel::TFooterPanel(TComponent* AOwner)
    : TCustomPanel(AOwner), FGrid(dynamic_cast<TPlusStringGrid*>(AOwner)) {
  SetAlign(alBottom);
  SetHeight(0);
  SetBorderWidth(0);
  SetBevelOuter(bvNone);
}

void TFooterPanel::CreateWnd() {
  TCustomPanel::CreateWnd();
  SetHeight(FGrid ? FooterStripHeight(FGrid) : 0);
}

TRect TFooterPanel::MirrorRect(bool RightToLeft, const TRect& R) const {
  if (!RightToLeft) return R;
  const int w = ClientWidth();
  return Rect(w - R.Right, R.Top, w - R.Left, R.Bottom);
}

TRect TFooterPanel::FooterArea(int& ContentWidth) const {
  TPlusStringGrid* g = FGrid;
  ContentWidth = 0;
  for (int c = 0; c < g->TCustomGrid::FixedCols() && c < g->ColCount(); ++c)
    ContentWidth += g->ColWidths(c) + g->GridLineWidth();
  for (int c = std::max(g->LeftCol(), g->TCustomGrid::FixedCols()); c < g->ColCount(); ++c)
    ContentWidth += g->ColWidths(c) + g->GridLineWidth();
  TRect r = ClientRect();
  r.Right = std::min(r.Right, r.Left + ContentWidth);
  return r;
}

void TFooterPanel::Paint() {
  if (!FGrid) return;
  TCanvas* c = Canvas();
  int e = ClientWidth();
  switch (FGrid->FloatingFooter()->FooterStyle()) {
    case fsFixedLastRow: e = PaintLastRowFooter(); break;
    case fsColumnPreview: e = PaintColumnPreview(); break;
    case fsCustomPreview: e = PaintCustomPreview(); break;
  }
  const TColor border = FGrid->FloatingFooter()->BorderColor();
  if (border != clNone) {
    c->Pen()->SetColor(border);
    c->Pen()->SetWidth(1);
    c->MoveTo(0, 0);
    c->LineTo(e, 0);
  }
}

int TFooterPanel::PaintLastRowFooter() {
  TPlusStringGrid* g = FGrid;
  TCanvas* c = Canvas();
  int contentWidth = 0;
  const TRect area = FooterArea(contentWidth);
  const TRect client = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(g->Color());
  c->FillRect(Rect(area.Right, client.Top, client.Right, client.Bottom));
  c->Brush()->SetColor(g->FloatingFooter()->Color());
  c->FillRect(area);
  if (g->RowCount() < 1) return area.Right;
  const int footer = g->RowCount() - 1;
  const int fixedCols = g->TCustomGrid::FixedCols();
  std::vector<int> cols;
  for (int col = 0; col < fixedCols && col < g->ColCount(); ++col) cols.push_back(col);
  for (int col = std::max(g->LeftCol(), fixedCols); col < g->ColCount(); ++col) cols.push_back(col);
  // Footer cells stand under the grid's columns, separators on the grid's lines.
  const TGridOptions o = g->Options();
  c->Pen()->SetWidth(1);
  for (int col : cols) {
    const TRect cr = g->GetCellRect(col, 0);
    if (o.Contains(goFixedVertLine)) {
      c->Pen()->SetColor(clGray);
      c->MoveTo(cr.Right - 1, client.Top);
      c->LineTo(cr.Right - 1, client.Bottom);
    }
    if (g->Look() == glSoft && !g->Flat()) {
      c->Pen()->SetColor(clWhite);
      if (o.Contains(goFixedVertLine)) {
        c->MoveTo(cr.Left, client.Top);
        c->LineTo(cr.Left, client.Bottom);
      }
      if (o.Contains(goFixedHorzLine)) {
        c->MoveTo(cr.Left, client.Top);
        c->LineTo(cr.Right - 1, client.Top);
      }
    }
  }
  int e = 0;
  for (int col : cols) {
    if (g->IsCoveredCell(col, footer) && !g->IsBaseCell(col, footer)) continue;
    const TRect cr = g->GetCellRect(col, 0);
    TRect r = Rect(cr.Left, client.Top, cr.Right - 1, client.Bottom);
    if (g->IsBaseCell(col, footer)) r.Right = cr.Left + g->GetMergedCellRect(col, footer).Width() - 1;
    e = r.Right;
    const TRect mr = MirrorRect(false, r);
    const int real = g->RealColIndex(col);
    if (col < fixedCols) {
      g->DrawCellText(c, col, footer, mr, TGridDrawState{gdFixed});
      continue;
    }
    if (g->OnGetCellColor) {
      c->Brush()->SetColor(clNone);
      g->OnGetCellColor(g, footer, real, TGridDrawState{gdFixed}, c->Brush(), c->Font());
      if (c->Brush()->Color() != clNone) c->FillRect(mr);
    }
    if (g->HasCellProperties(real, footer) && g->GetCellProperties(real, footer)->BrushColor() != clNone) {
      c->Brush()->SetColor(g->GetCellProperties(real, footer)->BrushColor());
      c->FillRect(mr);
    }
    if (g->OnFooterPaint)
      g->OnFooterPaint(this, col, c, mr);
    else
      g->DrawCellText(c, col, footer, mr, TGridDrawState{gdFixed});
  }
  return e;
}

namespace {

// The frame of the preview styles: grey at the bottom and right, white at the top and left.
void PreviewFrame(TCanvas* c, const TRect& a, TColor fill) {
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(fill);
  c->FillRect(a);
  c->Pen()->SetWidth(1);
  c->Pen()->SetColor(clGray);
  c->MoveTo(a.Left, a.Bottom);
  c->LineTo(a.Right - 1, a.Bottom);
  c->LineTo(a.Right - 1, a.Top);
  c->Pen()->SetColor(clWhite);
  c->LineTo(a.Left, a.Top);
  c->LineTo(a.Left, a.Bottom);
}

}  // namespace

int TFooterPanel::PaintColumnPreview() {
  TPlusStringGrid* g = FGrid;
  TCanvas* c = Canvas();
  int contentWidth = 0;
  const TRect area = FooterArea(contentWidth);
  const TRect client = ClientRect();
  c->Brush()->SetColor(g->Color());
  c->FillRect(Rect(area.Right, client.Top, client.Right, client.Bottom));
  PreviewFrame(c, area, g->FloatingFooter()->Color());
  // Black text for the duration, without a repaint of the grid.
  const TColor savedText = g->SelectionTextColor();
  auto setText = [g](TColor v) {
    if (g->SelectionTextColor() == v) return;
    g->SuppressNextInvalidate();
    g->SetSelectionTextColor(v);
  };
  setText(clBlack);
  if (g->OnFooterPaint) {
    g->OnFooterPaint(this, g->FloatingFooter()->Column(), c, area);
  } else if (g->Row() >= 0 && g->Row() < g->RowCount() && g->FloatingFooter()->Column() < g->ColCount()) {
    g->DrawCellText(c, g->FloatingFooter()->Column(), g->Row(), area, TGridDrawState{});
  }
  setText(savedText);
  return client.Right;
}

int TFooterPanel::PaintCustomPreview() {
  TPlusStringGrid* g = FGrid;
  TCanvas* c = Canvas();
  int contentWidth = 0;
  const TRect area = FooterArea(contentWidth);
  const TRect client = ClientRect();
  c->Brush()->SetColor(g->Color());
  c->FillRect(Rect(area.Right, client.Top, client.Right, client.Bottom));
  PreviewFrame(c, area, g->FloatingFooter()->Color());
  c->Font()->Assign(g->Font());
  c->Brush()->SetStyle(bsClear);
  const std::string& tmpl = g->FloatingFooter()->CustomTemplate();
  if (ComponentState().Contains(csDesigning)) {
    c->TextOut(area.Left + 2, area.Top + 2, tmpl);
  } else {
    TRect r = Rect(area.Left, area.Top + 2, area.Right, area.Bottom + 2);
    THTMLDrawOptions opt;
    opt.Images = g->GridImages();
    opt.X = 0;
    opt.Y = 0;
    opt.WordWrap = !g->EnhTextSize();
    opt.URLColor = g->URLColor();
    opt.PictureCache = g->PictureCache();
    opt.PictureContainer = g->PictureContainer();
    DrawHTML(c, ExpandTemplate(tmpl), r, opt);
  }
  c->Brush()->SetStyle(bsSolid);
  return client.Right;
}

std::string TFooterPanel::ExpandTemplate(const std::string& Template) {
  std::string result, rest = Template;
  const int row = FGrid ? FGrid->Row() : -1;
  for (;;) {
    const size_t open = rest.find("<#");
    if (open == std::string::npos) break;
    const size_t close = rest.find('>', open + 2);
    // An unclosed tag stays as it is, with everything after it.
    if (close == std::string::npos) break;
    result += rest.substr(0, open);
    const std::string number = rest.substr(open + 2, close - open - 2);
    rest.erase(0, close + 1);
    int n = 0;
    if (FGrid && TryStrToInt(number, n) && n >= 0 && n < FGrid->ColCount() && row >= 0 && row < FGrid->RowCount())
      result += FGrid->GetCellText(n, row);
  }
  return result + rest;
}

int TFooterPanel::ColumnsTo(int X, bool BeyondIsNone) const {
  if (!FGrid || X <= 0) return 0;
  int sum = 0, k = 0;
  while (k < FGrid->ColCount() && sum < X) {
    sum += FGrid->ColWidths(k) + FGrid->GridLineWidth();
    ++k;
  }
  if (BeyondIsNone && sum < X) return -1;
  return k;
}

void TFooterPanel::WndProc(TMessage& Message) {
  if (Message.Msg == CM_MOUSELEAVE) {
    FHintColumn = -1;
  } else if (Message.Msg == CM_HINTSHOW && FGrid) {
    TPoint p{0, 0};
    GetCursorPos(p);
    const int k = ColumnsTo(ScreenToClient(p).X, true);
    FHintColumn = FGrid->FloatingFooter()->ShowHint() && k > 0 ? k - 1 : -1;
  }
  TCustomPanel::WndProc(Message);
}

void TFooterPanel::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseMove(Shift, X, Y);
  if (!FGrid || !FGrid->FloatingFooter()->ShowHint()) return;
  const int k = ColumnsTo(X, true);
  if (k == FHintColumn + 1) return;
  if (FHintColumn >= 0 && Application) Application->CancelHint();
  FHintColumn = k - 1;
  // The hint of the column now under the mouse, from the grid's hint event.
  std::string hint;
  if (FGrid->OnGridHint && k > 0) FGrid->OnGridHint(FGrid, FGrid->RowCount() - 1, k - 1, hint);
  SetHint(hint);
}

void TFooterPanel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomPanel::MouseUp(Button, Shift, X, Y);
  if (!FGrid) return;
  if (FGrid->OnClick) FGrid->OnClick(FGrid);
  if (FGrid->OnClickCell) FGrid->OnClickCell(FGrid, FGrid->RowCount() - 1, ColumnsTo(X, false) - 1);
}
