// The text of a cell as painted: its shown text (float formats, formulas,
// passwords), its alignment, drawing in its kind (plain, wide, mini-HTML)
// and measuring.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editlink.h"
#include "grid/support/plusutil.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/format.h"
#include "platform/rtl/codepages.h"
#include "platform/rtl/strutils.h"

namespace {

constexpr int kTextMarginX = 2;
constexpr int kTextMarginY = 2;

bool IsNumberKind(int k) { return k == 0 || k == 1 || k == 5; }

unsigned AlignFlags(TAlignment HAlign, TVAlignment VAlign) {
  unsigned f = DT_LEFT;
  if (HAlign == taRightJustify) f = DT_RIGHT;
  if (HAlign == taCenter) f = DT_CENTER;
  if (VAlign == vtaCenter) f |= DT_VCENTER;
  if (VAlign == vtaBottom) f |= DT_BOTTOM;
  return f;
}

bool IsWideFormula(const std::string& s) { return s.size() > 3 && s.compare(0, 2, "|\\") == 0 && s[3] == '='; }

}  // namespace

bool TPlusStringGrid::GetRotated(int ACol, int ARow, int& AAngle) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctRotated) return false;
  AAngle = g->CellAngle;
  return true;
}

std::string TPlusStringGrid::GetFormattedCellText(int ACol, int ARow) {
  std::string s = GetCellText(ACol, ARow);
  if (!OnGetFloatFormat || !IsNumberKind(ClassifyNumberText(s))) return s;
  bool isFloat = true;
  std::string fmt = FFloatFormat;
  OnGetFloatFormat(this, ACol, ARow, isFloat, fmt);
  if (!isFloat) return s;
  // A value the format cannot take leaves the text as it is.
  try {
    if (fmt.find('d') == std::string::npos) return Format(fmt, {GetCellFloat(ACol, ARow)});
    return Format(fmt, {GetCellInt(ACol, ARow)});
  } catch (const std::exception&) {
    return s;
  }
}

void TPlusStringGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  VAlign = FVAlignment;
  HAlign = taLeftJustify;
  const std::string shown = GetCellText(ACol, ARow);
  if (FAutoNumAlign) {
    std::string s = shown;
    if ((!s.empty() && s[0] == '=') || IsWideFormula(s)) s = GetFormulaDisplayText(ACol, ARow);
    if (IsNumberKind(ClassifyNumberText(Trim(s)))) HAlign = taRightJustify;
  }
  if (HasCellProperties(ACol, ARow) && (!FAutoNumAlign || shown.empty() || shown[0] != '='))
    HAlign = GetCellProperties(ACol, ARow)->Alignment();
  DoGetAlignment(ACol, ARow, HAlign, VAlign);
}

void TPlusStringGrid::DoGetAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) {
  if (ACol == 0 && FMouseActions->HotmailRowSelect()) HAlign = taCenter;
  if (OnGetAlignment) OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

std::string TPlusStringGrid::ShownCellText(int ACol, int ARow, TCellTextKind& AKind) {
  std::string s = GetFormattedCellText(ACol, ARow);
  AKind = GetCellTextKind(s, FEnableHTML);
  if (AKind == ckFormula) {
    s = GetFormulaDisplayText(ACol, ARow);
    AKind = GetCellTextKind(s, FEnableHTML);
  }
  if (GetCellPassword(ACol, ARow)) {
    if (AKind == ckUnicode) {
      s = std::string(DecodeWideCellText(s).size(), '*');
      AKind = ckPlain;
    } else {
      // One asterisk per character, not per byte of UTF-8.
      size_t n = 0;
      for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
      s.assign(n, '*');
    }
  }
  return s;
}

void TPlusStringGrid::DrawCellTextContent(TCanvas* ACanvas, int ACol, int ARealCol, int ARow, TRect R,
                                          TGridDrawState AState, TAlignment HAlign, TVAlignment VAlign,
                                          bool AWordWrap, TColor ALinkColor) {
  TCellTextKind kind = ckPlain;
  std::string s = ShownCellText(ARealCol, ARow, kind);
  s = PaintHighlightedText(ACol, ARow, s, kind);
  // 4. The text rectangle, leaving room for the cell's graphic.
  TRect r = Rect(R.Left + kTextMarginX, R.Top + kTextMarginY, R.Right - kTextMarginX, R.Bottom);
  FLastTextWidth = 0;
  int textLeftOffset = 0;  // a graphic left of the text pushes the sort indicator right
  if (TCellGraphic* g = GetCellGraphic(ARealCol, ARow)) {
    const TCellGraphicLayout lay = GetCellGraphicLayout(ARealCol, ARow);
    int gw = lay.W;
    const int gh = lay.H;
    // A node's box takes room by its level.
    if (ARealCol == 0 && g->CellType == ctNode)
      gw = GetCellProperties(0, ARow)->NodeLevel() * 12 + 4;
    if (g->CellHAlign == haBeforeText && HAlign == taLeftJustify) r.Left += gw;
    if ((g->CellHAlign == haBeforeText && HAlign == taLeftJustify) || g->CellHAlign == haLeft) textLeftOffset = gw;
    if (g->CellHAlign == haAfterText) r.Right -= gw;
    if (g->CellHAlign == haBeforeText && HAlign != taLeftJustify) r.Left += gw;
    if (g->CellVAlign == vaAboveText) r.Top += gh;
    if (g->CellVAlign == vaUnderText) r.Bottom -= gh;
    if (!lay.ShowText) return;
  }
  if (ARealCol == 0 && HasNodes() && !(GetCellType(0, ARow) == ctNode)) r.Left += GetNodeIndent(ARow);
  FLastTextWidth = 0;
  // The header cell of a sorted column carries the sort indicator.
  const bool sortCell = SortIndicatorCell(ACol, ARow);
  const bool sortDrawn = sortCell && SortIndicatorShown(ACol);
  int sortY = R.Top + 8;
  if (VAlign == vtaCenter) sortY = R.Top + (R.Bottom - R.Top) / 2;
  if (VAlign == vtaBottom) sortY = R.Bottom - 8;
  ACanvas->Brush()->SetStyle(bsClear);
  switch (kind) {
    case ckHTML: {
      r.Left -= 1;
      if (sortCell) r.Right -= 10;
      THTMLDrawOptions o;
      o.Images = FGridImages;
      o.X = r.Left;
      o.Y = r.Top;
      o.BlinkOn = FBlinkOn;
      o.WordWrap = !FEnhTextSize;
      o.URLColor = ALinkColor;
      o.PictureCache = FPictureCache.get();
      o.PictureContainer = PictureContainer();
      const THTMLDrawResult res = DrawHTML(ACanvas, s, r, o);
      FLastTextWidth = res.XSize + 2;
      if (sortDrawn) DrawSortIndicator(ACanvas, ACol, sortY, r.Right + 2);
      break;
    }
    case ckRTF: {
      // A selected cell without the focus shows the selection through when
      // there is no selection colour; otherwise the text goes on the cell's colour.
      if (!(AState.Contains(gdSelected) && !AState.Contains(gdFocused) && FSelectionColor == clNone)) {
        ACanvas->Pen()->SetColor(ACanvas->Brush()->Color());
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->FillRect(R);
      }
      ACanvas->Brush()->SetStyle(bsClear);
      DrawRichTextCell(ARealCol, ARow, R, ACanvas);
      ACanvas->Brush()->SetStyle(bsSolid);
      ACanvas->Font()->SetColor(clBlack);
      break;
    }
    case ckUnicode: {
      std::string u = Utf16ToUtf8(DecodeWideCellText(s));
      if (sortCell) {
        r.Right -= 10;
        if (sortDrawn) DrawSortIndicator(ACanvas, ACol, sortY, r.Right + 3);
      }
      unsigned f = AlignFlags(HAlign, VAlign) | DT_NOPREFIX;
      f |= AWordWrap || FMultilinecells ? DT_WORDBREAK : DT_SINGLELINE | DT_END_ELLIPSIS;
      ACanvas->DrawText(u, r, f);
      break;
    }
    default: {
      TFont* font = ACanvas->Font();
      const TFontStyles style = font->Style();
      const TColor color = font->Color();
      if (FURLShow && IsURL(s)) {
        if (!FURLFull) StripURLPrefix(s);
        TFontStyles st = style;
        st.Include(fsUnderline);
        font->SetStyle(st);
        font->SetColor(ALinkColor);
      }
      // Room for the indicator beside the text of a sorted column's header.
      const TSortSettings* ss = FSortSettings.get();
      if (HAlign == taCenter && ss->Show() && ARow == ss->Row() && ACol == ss->Column()) r.Left += 10;
      const int room = ARow == 0 && ss->Show() && IsSortColumn(ACol) ? 14 : 0;
      if (HAlign == taLeftJustify)
        r.Right -= room;
      else
        r.Left += room;
      unsigned f;
      if (CountTextLines(s, FMultilinecells) <= 1 && !AWordWrap) {
        s = CutFirstLine(s, false);
        f = DT_SINGLELINE | (FEnhTextSize ? DT_END_ELLIPSIS : 0u);
      } else {
        f = DT_EDITCONTROL | (AWordWrap && FEnhTextSize && !FMultilinecells ? DT_END_ELLIPSIS : 0u);
      }
      f |= DT_EXPANDTABS | DT_NOPREFIX | AlignFlags(HAlign, VAlign);
      if (AWordWrap)
        f |= DT_WORDBREAK | DT_EDITCONTROL;
      else if (!FMultilinecells)
        f |= DT_SINGLELINE;
      int textWidth = 0;
      if ((sortDrawn || GetCellGraphic(ARealCol, ARow)) && !s.empty()) {
        TRect m = r;
        ACanvas->DrawText(s, m, f | DT_CALCRECT);
        textWidth = m.Width();
        if (GetCellGraphic(ARealCol, ARow)) FLastTextWidth = textWidth + 2;
      }
      ACanvas->DrawText(s, r, f);
      font->SetStyle(style);
      font->SetColor(color);
      FLastTextHeight = ACanvas->TextHeight("hg");
      if (sortDrawn) {
        const int w = std::max(0, std::min(R.Right - R.Left - 16, textWidth));
        int x = R.Left + w + textLeftOffset + 10;
        if (HAlign == taRightJustify) x = R.Right - w - 10;
        if (HAlign == taCenter) x = R.Left + 8;
        DrawSortIndicator(ACanvas, ACol, sortY, x);
      }
      break;
    }
  }
  ACanvas->Brush()->SetStyle(bsSolid);
  (void)AState;
}

TPoint TPlusStringGrid::GetCellTextSize(int ACol, int ARow, bool Wrap) {
  TCanvas* c = Canvas();
  std::string s = GetFormattedCellText(ACol, ARow);
  TCellTextKind kind = GetCellTextKind(s, FEnableHTML);
  TGridDrawState st;
  TAlignment ha = taLeftJustify;
  TVAlignment va = FVAlignment;
  bool wrap = WordWrap();
  TColor colorTo = clNone;
  TCellGradientDirection dir = GradientVertical;
  TBrush brush;
  brush.Assign(c->Brush());
  GetCellFormat(DisplColIndex(ACol), ARow, st, false, true, true, &brush, colorTo, c->Font(), ha, va, wrap, dir);
  if (kind == ckFormula) {
    s = GetFormulaDisplayText(ACol, ARow);
    kind = GetCellTextKind(s, FEnableHTML);
  }
  const TRect cell = GetMergedCellRect(DisplColIndex(ACol), ARow);
  TPoint size{0, 0};
  if (kind == ckRTF && FRichRenderer) {
    // The size the rich edit asks for at the cell's width.
    TPlusRichEdit* re = FRichRenderer;
    LoadRTFEditor(ACol, ARow, re);
    re->SetBounds(0, 0, cell.Right - cell.Left, cell.Bottom - cell.Top);
    re->SetWordWrap(Wrap);
    re->RequestSize();
    return TPoint{re->ReqWidth() + 2 * kTextMarginX, re->ReqHeight() + 2 * kTextMarginY};
  }
  if (kind == ckHTML) {
    TRect r = Rect(cell.Left + kTextMarginX, cell.Top + kTextMarginY, cell.Right - kTextMarginX, 65535);
    if (!Wrap) r.Right = 65535;
    THTMLDrawOptions o;
    o.CalcOnly = o.Selected = o.BlinkOn = true;
    o.WordWrap = !FEnhTextSize;
    o.Images = FGridImages;
    o.PictureCache = FPictureCache.get();
    o.PictureContainer = PictureContainer();
    const THTMLDrawResult res = DrawHTML(c, s, r, o);
    return TPoint{res.XSize + 2 * kTextMarginX + 2, res.YSize + 2 * kTextMarginY + 2};
  }
  if (kind == ckUnicode) {
    const std::string u = Utf16ToUtf8(DecodeWideCellText(s));
    TRect r = Rect(cell.Left + kTextMarginX, cell.Top, cell.Right - kTextMarginX, cell.Bottom);
    const int left = r.Left;
    const unsigned f = DT_CALCRECT | DT_NOPREFIX | (wrap || FMultilinecells ? DT_WORDBREAK : DT_SINGLELINE);
    const int h = c->DrawText(u, r, f);
    return TPoint{r.Right + 2 * kTextMarginX - left, h};
  }
  if (Wrap) {
    TRect r = Rect(cell.Left + kTextMarginX + 2, cell.Top + kTextMarginY + 2, cell.Right - kTextMarginX - 2,
                   cell.Bottom - kTextMarginY - 2);
    const int left = r.Left;
    const int h = c->DrawText(s, r, DT_CALCRECT | DT_EDITCONTROL | DT_NOPREFIX | DT_WORDBREAK);
    size = TPoint{r.Right + 2 * kTextMarginX - left, h + 2 * kTextMarginY};
  } else {
    std::string rest = s;
    int widest = 0, lines = 0;
    do {
      std::string line = FMultilinecells ? CutFirstLine(rest, true) : rest;
      if (!FMultilinecells) rest.clear();
      if (kind == ckPlain && FURLShow && !FURLFull && IsURL(line)) StripURLPrefix(line);
      widest = std::max(widest, c->TextWidth(line));
      ++lines;
    } while (!rest.empty());
    size = TPoint{widest + 2 * kTextMarginX, c->TextHeight("gh") * lines + 2 * kTextMarginY};
  }
  int angle = 0;
  if (GetRotated(ACol, ARow, angle)) {
    const double a = angle * M_PI / 180.0;
    auto nn = [](double v) { return std::abs(static_cast<int>(std::lround(v))); };
    const int w = size.X, h = size.Y;
    size.X = std::abs(nn(std::sin(a) * h) - nn(std::cos(a) * w)) + 12;
    size.Y = std::abs(nn(std::cos(a) * h) - nn(std::sin(a) * w)) + 12;
  }
  return size;
}

void TPlusStringGrid::DrawRichTextCell(int ACol, int ARow, const TRect& R, TCanvas* ACanvas) {
  TPlusRichEdit* re = FRichRenderer;
  if (!re) return;
  LoadRTFEditor(ACol, ARow, re);
  const int dc = DisplColIndex(ACol);
  const bool focusedCell = dc == Col() && ARow == Row() && !Options().Contains(goDrawFocusSelected);
  const bool selected = IsSelectedCell(dc, ARow) && (focusedCell ? FMouseActions->DisjunctRowSelect() : true);
  // On the screen a selected cell shows its text in the selection's text colour.
  if (selected && !FSelectionRTFKeep && ACanvas == Canvas()) {
    re->SelectAll();
    TTextAttributes a = re->SelAttributes();
    a.Color = FSelectionTextColor;
    re->SetSelAttributes(a);
  }
  const TRect target = Rect(R.Left + kTextMarginX, R.Top + kTextMarginY, R.Right - kTextMarginX, R.Bottom - kTextMarginY);
  re->RenderTo(ACanvas, target);
}

bool TPlusStringGrid::GraphicHidesText(const TCellGraphic* G) const {
  switch (G->CellType) {
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctRotated:
    case ctRadio:
    case ctProgress:
    case ctRangeIndicator:
    case ctXPProgress:
      return true;
    case ctDataImage:
      return FGridImages != nullptr;
    default:
      return false;
  }
}
