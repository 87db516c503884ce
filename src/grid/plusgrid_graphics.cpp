// Cell graphics of the string grid as painted: the room a graphic asks for
// (content sizing) and gets (the painter's layout), its place in the cell
// beside or instead of the text, the drawing of every kind, and the node
// glyphs and tree lines of column 0.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "grid/support/plusxpvs.h"
#include "platform/gfx/framectl.h"

namespace {

constexpr int kTextMarginX = 2;
constexpr int kTextMarginY = 2;

bool IsCheckKind(TCellType t) {
  return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox;
}

// The progress kinds keep colours, not objects, in their content fields.
TColor ContentColor(TObject* o) { return static_cast<TColor>(reinterpret_cast<uintptr_t>(o)); }

TGraphic* GraphicOf(TObject* o) {
  if (auto* p = dynamic_cast<TPicture*>(o)) return p->Graphic();
  return dynamic_cast<TGraphic*>(o);
}

}  // namespace

// ---------------------------------------------------------------------------
// Extents

TPoint TPlusStringGrid::GetCellGraphicSize(int ACol, int ARow) { return CellGraphicExtent(ACol, ARow, true); }

TPoint TPlusStringGrid::CellGraphicExtent(int ACol, int ARow, bool ApplyFull) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return TPoint{0, 0};
  const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
  const bool aboveUnder = g->CellVAlign == vaAboveText || g->CellVAlign == vaUnderText;
  const bool noText = GetCellText(ACol, ARow).empty();
  const int check = FControlLook->CheckSize();
  int w = 0, h = 0;
  switch (g->CellType) {
    case ctBitmap:
      if (TGraphic* b = GraphicOf(g->CellContent)) {
        if (beside || noText) w = b->Width();
        if (aboveUnder || noText) h = b->Height();
      }
      break;
    case ctIcon:
      if (TGraphic* i = GraphicOf(g->CellContent2)) {
        if (beside || noText) w = i->Width();
        h = i->Height();
      }
      break;
    case ctImageList:
    case ctDataImage:
      if (FGridImages) {
        if (beside || noText) w = FGridImages->Width();
        h = FGridImages->Height();
      }
      break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
      w = h = check;
      break;
    case ctRadio: {
      auto* options = dynamic_cast<TStrings*>(g->CellContent);
      const int n = options ? options->Count() : 0;
      TCanvas* c = Canvas();
      const int lh = c->TextHeight("gh");
      if (g->CellBoolean) {
        for (int i = 0; i < n; ++i) w += c->TextWidth(options->Strings(i)) + 12;
        h = lh;
      } else {
        w = 12;
        for (int i = 0; i < n; ++i) w = std::max(w, c->TextWidth(options->Strings(i)) + 12);
        h = lh * n;
      }
      break;
    }
    case ctImages:
      if (FGridImages) {
        auto* list = dynamic_cast<TIntList*>(g->CellContent);
        const int n = list ? list->Count() : 0;
        if (g->CellBoolean) {
          w = n * FGridImages->Width();
          h = FGridImages->Height();
        } else {
          w = FGridImages->Width();
          h = n * FGridImages->Height();
        }
      }
      break;
    case ctPicture:
    case ctFilePicture: {
      const TRect r = GetMergedCellRect(DisplColIndex(ACol), ARow);
      const TPoint p = g->GetPictureSize(r.Width(), r.Height());
      w = p.X;
      h = p.Y;
      break;
    }
    case ctButton:
    case ctBitButton:
      w = g->CellIndex & 0xFFFF;
      h = (g->CellIndex >> 16) & 0xFFFF;
      if (!noText && (g->CellHAlign == haCenter || g->CellHAlign == haFull)) w = 0;
      if (!noText && !aboveUnder) h = 0;
      break;
    case ctProgressPie:
      w = h = 20;
      break;
    default:
      break;
  }
  if (ApplyFull && (g->CellVAlign == vaFull || g->CellHAlign == haFull)) {
    const TRect r = GetMergedCellRect(DisplColIndex(ACol), ARow);
    if (g->CellVAlign == vaFull) h = r.Height();
    if (g->CellHAlign == haFull) w = r.Width();
  }
  return TPoint{w, h};
}

TPoint TPlusStringGrid::GetCellGraphicSizeScaled(int ACol, int ARow, double Factor, int Width, int Height) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return TPoint{0, 0};
  const bool beside = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
  const bool noText = GetCellText(ACol, ARow).empty();
  switch (g->CellType) {
    case ctBitmap:
      if (TGraphic* b = GraphicOf(g->CellContent)) return TPoint{b->Width(), b->Height()};
      return TPoint{0, 0};
    case ctIcon:
      if (TGraphic* i = GraphicOf(g->CellContent2)) return TPoint{i->Width(), i->Height()};
      return TPoint{0, 0};
    case ctImageList:
      if (!FGridImages) return TPoint{0, 0};
      return TPoint{beside || noText ? FGridImages->Width() : 0, FGridImages->Height()};
    case ctDataImage:
      if (!FGridImages) return TPoint{0, 0};
      return TPoint{FGridImages->Width(), FGridImages->Height()};
    case ctPicture:
    case ctFilePicture: {
      if (Factor <= 0) Factor = 1;
      const TPoint p = g->GetPictureSize(Width, Height);
      return TPoint{static_cast<int>(std::lround(p.X / Factor)), static_cast<int>(std::lround(p.Y / Factor))};
    }
    case ctProgress:
    case ctXPProgress:
      return TPoint{ColWidths(DisplColIndex(ACol)), RowHeights(ARow)};
    case ctButton:
    case ctBitButton:
      return TPoint{g->CellIndex & 0xFFFF, (g->CellIndex >> 16) & 0xFFFF};
    default:
      // The other kinds measure as on screen, without the full alignments.
      return CellGraphicExtent(ACol, ARow, false);
  }
}

TPlusStringGrid::TCellGraphicLayout TPlusStringGrid::GetCellGraphicLayout(int ACol, int ARow) {
  TCellGraphicLayout l;
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return l;
  l.Graphic = g;
  l.HAlign = g->CellHAlign;
  l.VAlign = g->CellVAlign;
  l.ShowText = !GraphicHidesText(g);
  const int check = FControlLook->CheckSize();
  switch (g->CellType) {
    case ctBitmap:
      if (TGraphic* b = GraphicOf(g->CellContent)) {
        l.W = b->Width();
        l.H = b->Height();
      }
      break;
    case ctIcon:
      if (TGraphic* i = GraphicOf(g->CellContent2)) {
        l.W = i->Width();
        l.H = i->Height();
      }
      break;
    case ctImageList:
    case ctDataImage:
      if (FGridImages) {
        l.W = FGridImages->Width();
        l.H = FGridImages->Height();
      }
      break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
      l.W = l.H = check;
      break;
    case ctImages:
      if (FGridImages) {
        auto* list = dynamic_cast<TIntList*>(g->CellContent);
        const int n = list ? list->Count() : 0;
        l.W = g->CellBoolean ? n * FGridImages->Width() : FGridImages->Width();
        l.H = g->CellBoolean ? FGridImages->Height() : n * FGridImages->Height();
      }
      break;
    case ctPicture:
    case ctFilePicture: {
      const TRect r = GetMergedCellRect(DisplColIndex(ACol), ARow);
      const TPoint p = g->GetPictureSize(r.Width(), r.Height());
      l.W = p.X;
      l.H = p.Y;
      break;
    }
    case ctButton:
    case ctBitButton:
      l.W = g->CellIndex & 0xFFFF;
      l.H = (g->CellIndex >> 16) & 0xFFFF;
      break;
    case ctProgressPie:
      l.W = l.H = 20;
      break;
    default:
      break;
  }
  return l;
}

TIntList* TPlusStringGrid::GetCellImages(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g || g->CellType != ctImages) return nullptr;
  return dynamic_cast<TIntList*>(g->CellContent);
}

int TPlusStringGrid::GetCellGraphicValue(int ACol, int ARow) {
  TCellGraphic* g = GetCellGraphic(ACol, ARow);
  if (!g) return -1;
  switch (g->CellType) {
    case ctBitmap:
      return static_cast<int>(reinterpret_cast<intptr_t>(g->CellContent));
    case ctIcon:
      return static_cast<int>(reinterpret_cast<intptr_t>(g->CellContent2));
    case ctImageList:
      return g->CellIndex;
    default:
      return -1;
  }
}

void TPlusStringGrid::RepaintCellHeaders(int Col1, int Row1, int Row2, int Col2) {
  const int fr = TCustomGrid::FixedRows(), fc = TCustomGrid::FixedCols();
  for (const TPoint p : {TPoint{Col1, Row1}, TPoint{Col2, Row2}}) {
    if (fr > 0 && p.X >= 0 && p.X < ColCount()) RepaintCell(p.X, fr - 1);
    if (fc > 0 && p.Y >= 0 && p.Y < RowCount()) RepaintCell(fc - 1, p.Y);
  }
}

// ---------------------------------------------------------------------------
// Drawing

void TPlusStringGrid::DrawCellGraphic(TCanvas* ACanvas, const TRect& ACellRect, TCellGraphic* G, int ACol,
                                      int ARealCol, int ARow, TGridDrawState AState, TAlignment HAlign,
                                      TVAlignment VAlign) {
  const TCellType kind = G->CellType;
  if (kind == ctNode) {
    DrawNodeGlyph(ACanvas, ACellRect, G, ARow);
    return;
  }
  const TCellGraphicLayout lay = GetCellGraphicLayout(ARealCol, ARow);
  const int W = lay.W, H = lay.H;
  TRect R = ACellRect;
  if (kind != ctProgress && kind != ctRangeIndicator && kind != ctXPProgress) {
    R = Rect(R.Left + kTextMarginX - 1, R.Top + kTextMarginY - 1, R.Right - kTextMarginX + 1,
             R.Bottom - kTextMarginY + 1);
  }
  const int TW = FLastTextWidth;
  const int RW = R.Right - R.Left, RH = R.Bottom - R.Top;

  // Horizontal place.
  TRect P;
  bool rightFirst = false;
  switch (G->CellHAlign) {
    case haLeft: P.Left = R.Left + 1; break;
    case haRight: P.Left = R.Right - W - 1; break;
    case haCenter: P.Left = W < RW ? R.Left + (RW - W) / 2 : R.Left + 1; break;
    case haBeforeText:
      if (HAlign == taRightJustify) {
        P.Left = R.Right - TW - W;
        rightFirst = true;
      } else if (HAlign == taCenter) {
        P.Left = R.Left + (RW - TW - W) / 2;
        rightFirst = true;
      } else {
        P.Left = R.Left + 1;
      }
      break;
    case haAfterText:
      if (HAlign == taRightJustify) {
        P.Left = R.Right - W - 1;
      } else if (HAlign == taCenter) {
        P.Left = R.Left + TW + (RW - TW - W) / 2;
        rightFirst = true;
      } else {
        P.Left = R.Left + TW;
      }
      break;
    case haFull: P.Left = R.Left; break;
  }
  P.Right = G->CellHAlign == haFull ? R.Right : P.Left + W;
  if (rightFirst && P.Left < R.Left) P.Left = R.Left + 1;

  // Vertical place; a check box follows the cell's own vertical text alignment.
  TCellVAlign va = G->CellVAlign;
  if (IsCheckKind(kind) && VAlign != FVAlignment)
    va = VAlign == vtaTop ? vaTop : VAlign == vtaCenter ? vaCenter : vaBottom;
  switch (va) {
    case vaTop:
    case vaAboveText: P.Top = R.Top + 1; P.Bottom = P.Top + H; break;
    case vaBottom: P.Top = R.Bottom - H - 1; P.Bottom = R.Bottom - 1; break;
    case vaCenter: P.Top = H < RH ? R.Top + (RH - H) / 2 : R.Top + 1; P.Bottom = P.Top + H; break;
    case vaUnderText: P.Top = R.Bottom - H; P.Bottom = R.Bottom; break;
    case vaFull: P.Top = R.Top; P.Bottom = R.Bottom; break;
  }

  // A cell whose text is no number draws as 0; nothing raises out of the paint.
  auto cellFloat = [&] {
    try {
      return GetCellFloat(ACol, ARow);
    } catch (const std::exception&) {
      return 0.0;
    }
  };
  auto cellInt = [&] {
    try {
      return GetCellInt(ACol, ARow);
    } catch (const std::exception&) {
      return 0;
    }
  };
  auto enabled = [&] { return CanEditCell(ARealCol, ARow); };

  switch (kind) {
    case ctBitmap: {
      auto* b = dynamic_cast<TBitmap*>(GraphicOf(G->CellContent));
      if (!b || b->Empty()) break;
      if (G->CellTransparent) {
        const TMouseActions* ma = FMouseActions.get();
        const bool rowSel = ma->DisjunctRowSelect() && ARow < RowCount() && GetRowSelect(ARow) &&
                            Options().Contains(goRowSelect) && !AState.Contains(gdFixed);
        const bool sel = FShowSelection && ((AState.Contains(gdSelected) && !ma->DisjunctRowSelect()) || rowSel);
        DrawBitmapOnColor(ACanvas, b, sel ? FSelectionColor : ACanvas->Brush()->Color(), P);
      } else {
        ACanvas->Draw(P.Left, P.Top, b);
      }
      break;
    }
    case ctIcon:
      if (TGraphic* i = GraphicOf(G->CellContent2)) ACanvas->Draw(P.Left, P.Top, i);
      break;
    case ctImageList:
      if (FGridImages && G->CellIndex >= 0 && G->CellIndex < FGridImages->Count())
        FGridImages->Draw(ACanvas, P.Left, P.Top, G->CellIndex, true);
      break;
    case ctDataImage:
      if (FGridImages) {
        const int index = cellInt() + G->CellIndex;
        if (index >= 0 && index < FGridImages->Count()) FGridImages->Draw(ACanvas, P.Left, P.Top, index, true);
      }
      break;
    case ctImages:
      if (auto* list = dynamic_cast<TIntList*>(G->CellContent); list && FGridImages) {
        int x = P.Left, y = P.Top;
        for (int i = 0; i < list->Count(); ++i) {
          const int index = list->GetItem(i);
          if (index >= 0 && index < FGridImages->Count()) FGridImages->Draw(ACanvas, x, y, index, true);
          if (G->CellBoolean)
            x += FGridImages->Width();
          else
            y += FGridImages->Height();
        }
      }
      break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox: {
      int left;
      if (HAlign == taRightJustify) {
        left = R.Right - W - 1 - (kind == ctCheckBox ? TW : 0);
      } else if (HAlign == taCenter) {
        left = kind == ctCheckBox && TW > 0 ? R.Left + std::max(0, R.Right - TW - R.Left) / 2 - W
                                            : R.Left + std::max(0, R.Right - W - R.Left) / 2;
      } else {
        left = R.Left + 1;
      }
      if (left < R.Left) left = R.Left + 1;
      const TRect box = Rect(left, P.Top, left + W, P.Top + H);
      bool checked = G->CellBoolean;
      if (kind == ctDataCheckBox || kind == ctVirtCheckBox)
        checked = GetCellText(ARealCol, ARow) == GetCheckTrue(ARealCol, ARow);
      DrawCellCheckBox(ACanvas, box, checked, enabled());
      break;
    }
    case ctRadio: {
      auto* options = dynamic_cast<TStrings*>(G->CellContent);
      DrawRadioGroup(ACanvas, R, ARow, ARealCol, AState.Contains(gdSelected), options, !enabled(), G->CellBoolean,
                     G->CellIndex, options ? options->Count() : 0);
      break;
    }
    case ctRotated: {
      TCellTextKind tk = ckPlain;
      const std::string text = ShownCellText(ARealCol, ARow, tk);
      TRect origin = ACellRect;
      CalcRotatedTextOrigin(origin, G->CellAngle, text, HAlign, VAlign);
      TFont saved;
      saved.Assign(ACanvas->Font());
      ACanvas->Font()->SetOrientation(G->CellAngle * 10);
      const TRect clip = Rect(ACellRect.Left + 2, ACellRect.Top + 2, ACellRect.Right - 2, ACellRect.Bottom - 2);
      const TBrushStyle bs = ACanvas->Brush()->Style();
      ACanvas->Brush()->SetStyle(bsClear);
      ACanvas->TextRect(clip, origin.Left, origin.Top, text);
      ACanvas->Brush()->SetStyle(bs);
      ACanvas->SetFont(&saved);
      break;
    }
    case ctPicture:
      if (TGraphic* pic = GraphicOf(G->CellContent)) {
        if (G->CellAngle != 0)
          ACanvas->StretchDraw(P, pic);
        else
          ACanvas->Draw(P.Left, P.Top, pic);
      }
      break;
    case ctFilePicture:
      if (auto* fp = dynamic_cast<TFilePicture*>(G->CellContent)) {
        try {
          fp->Draw(ACanvas, P);
        } catch (const std::exception&) {
          // A file gone since it was added leaves the cell empty.
        }
      }
      break;
    case ctProgress: {
      // A zero range has no share to show: nothing is drawn.
      if (G->CellErrLen == G->CellErrFrom) break;
      const TGridControlStyle style = FControlLook->ControlStyle();
      const double value = cellFloat();
      if ((style == csWinXP || style == csTheme) && FXPFlag && FControlLook->ProgressXP() && XPVSLoaded()) {
        TRect b = Rect(R.Left + FControlLook->ProgressMarginX(), R.Top + FControlLook->ProgressMarginY(),
                       R.Right - FControlLook->ProgressMarginX(), R.Bottom - FControlLook->ProgressMarginY());
        HTHEME theme = OpenThemeData(HandleAllocated() ? Handle() : 0, u"Progress");
        DrawThemeBackground(theme, ACanvas, 1, 0, &b, nullptr);
        b = Rect(b.Left + 2, b.Top + 2, b.Right - 2, b.Bottom - 2);
        TRect chunk = b;
        chunk.Right = b.Left + static_cast<int>(std::lround(value * (b.Right - b.Left) / 100.0));
        DrawThemeBackground(theme, ACanvas, 3, 1, &chunk, nullptr);
        CloseThemeData(theme);
      } else {
        const TRect b = Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);
        const TColor done = ContentColor(G->CellContent), rest = ContentColor(G->CellContent2);
        const TColor doneFont = G->CellBoolean ? static_cast<TColor>(G->CellIndex) : (done ^ 0xFFFFFF);
        const TColor restFont = G->CellBoolean ? static_cast<TColor>(G->CellAngle) : (rest ^ 0xFFFFFF);
        DrawProgressBar(ACanvas, b, done, doneFont, rest, restFont, FControlLook->ProgressBorderColor(), G->CellText,
                        value, G->CellErrFrom, G->CellErrLen, FControlLook->ProgressMarginX(),
                        FControlLook->ProgressMarginY(), false);
      }
      break;
    }
    case ctComment:
      if (FControlLook->CommentColor() != clNone) {
        const TColor c = static_cast<TColor>(G->CellAngle) != clNone ? static_cast<TColor>(G->CellAngle)
                                                                     : FControlLook->CommentColor();
        ACanvas->Brush()->SetColor(c);
        ACanvas->Pen()->SetColor(c);
        ACanvas->Polygon({TPoint{R.Right - 7, R.Top + 1}, TPoint{R.Right - 2, R.Top + 1},
                          TPoint{R.Right - 2, R.Top + 6}});
        ACanvas->Brush()->SetColor(Color());
      }
      break;
    case ctButton:
    case ctBitButton:
      DrawCellButton(ACanvas, ACellRect, P, G, ARealCol, ARow);
      break;
    case ctProgressPie:
      DrawProgressPie(ACanvas, Rect(P.Left, P.Top, P.Left + 20, P.Top + 20), ContentColor(G->CellContent), false,
                      G->CellAngle);
      break;
    case ctRangeIndicator: {
      const TRect b = Rect(R.Left + FControlLook->ProgressMarginX(), R.Top + FControlLook->ProgressMarginY(),
                           R.Right - FControlLook->ProgressMarginX(), R.Bottom - FControlLook->ProgressMarginY());
      DrawRangeBar(ACanvas, b, cellInt(), ContentColor(G->CellContent2), ContentColor(G->CellContent),
                   G->CellBoolean, G->CellIndex);
      break;
    }
    case ctXPProgress: {
      // A zero range has no percentage: nothing is drawn.
      const int range = G->CellErrLen - G->CellErrFrom;
      if (range == 0) break;
      const TRect b = Rect(R.Left + FControlLook->ProgressMarginX(), R.Top + FControlLook->ProgressMarginY(),
                           R.Right - FControlLook->ProgressMarginX() - 1,
                           R.Bottom - FControlLook->ProgressMarginY() - 1);
      const int percent = static_cast<int>(std::lround(cellInt() * 100.0 / range));
      DrawStyledProgressBar(ACanvas, b, percent, FProgressAppearance->Settings(ACanvas->Font(), Color()));
      break;
    }
    default:
      break;
  }
}

void TPlusStringGrid::DrawNodeGlyph(TCanvas* ACanvas, const TRect& ACellRect, TCellGraphic* G, int ARow) {
  TCellNode* cn = FCellNode.get();
  TRect R = ACellRect;
  const int I = GetNodeIndent(ARow), N = cn->NodeIndent();
  const bool contracted = G->CellBoolean;
  // 1. The tree line stubs of the node row, measured from the cell's left edge.
  R.Left = ACellRect.Left + I - N;
  if (cn->ShowTree() && ARow >= TCustomGrid::FixedRows()) {
    TPen saved;
    saved.Assign(ACanvas->Pen());
    ACanvas->Pen()->SetColor(cn->TreeColor());
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetStyle(psSolid);
    const int x = R.Left + N / 2 + 2;
    const int next = ARow + 1 < RowCount() ? GetNodeIndent(ARow + 1) : 0;
    if (ARow + 1 < RowCount() && next > 0 && !(contracted && next < I)) {
      ACanvas->MoveTo(x, R.Top + 6);
      ACanvas->LineTo(x, R.Bottom);
    }
    if (ARow > 0 && GetNodeIndent(ARow - 1) >= I) {
      ACanvas->MoveTo(x, R.Top);
      ACanvas->LineTo(x, R.Top + 6);
    }
    ACanvas->SetPen(&saved);
  }
  // 2.
  R.Left = ACellRect.Left + I - N / 2 - 4;
  TColor bk = ACanvas->Brush()->Color();
  if (bk == clNone) bk = TCustomGrid::FixedCols() == 0 ? Color() : FixedColor();
  // 3.
  const TNodeType type = cn->NodeType();
  if (type == cn3D) {
    ACanvas->Brush()->SetColor(cn->Color());
    ACanvas->FillRect(Rect(R.Left, R.Top, R.Right, R.Bottom));
    TPen saved;
    saved.Assign(ACanvas->Pen());
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetColor(clWhite);
    ACanvas->MoveTo(R.Left, R.Bottom - 1);
    ACanvas->LineTo(R.Left, R.Top);
    ACanvas->LineTo(R.Right - 1, R.Top);
    ACanvas->Pen()->SetColor(clGray);
    ACanvas->LineTo(R.Right - 1, R.Bottom - 1);
    ACanvas->LineTo(R.Left, R.Bottom - 1);
    ACanvas->SetPen(&saved);
  }
  const int h = R.Bottom - R.Top;
  if (type == cnLeaf) {
    R.Top += (h - 12) / 2;
    DrawResourceBitmap(ACanvas, bk, R, contracted ? "ASGLEAFCLOSE" : "ASGLEAFOPEN");
    return;
  }
  if (type == cnXP) {
    R.Left += 4;
    R.Top += (h - 10) / 2;
    DrawResourceBitmap(ACanvas, ACanvas->Brush()->Color(), R, contracted ? "XPNODEC" : "XPNODEO");
    return;
  }
  TBitmap* expand = cn->ExpandGlyph();
  TBitmap* contract = cn->ContractGlyph();
  if (type == cnGlyph && expand && !expand->Empty() && contract && !contract->Empty()) {
    R.Top += (h - contract->Height()) / 2;
    DrawBitmapOnColor(ACanvas, contracted ? contract : expand, bk, R);
    return;
  }
  const int left = R.Left + 4, top = R.Top + std::max(0, h - 8) / 2;
  TRect box = Rect(left, top, left + 8, top + 8);
  TPen saved;
  saved.Assign(ACanvas->Pen());
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(cn->Color());
  if (type == cnFlat) {
    ACanvas->Pen()->SetWidth(1);
    ACanvas->Pen()->SetColor(cn->NodeColor());
    ACanvas->Rectangle(Rect(box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1));
    ACanvas->MoveTo(left + 1, top + 3);
    ACanvas->LineTo(left + 6, top + 3);
    if (contracted) {
      ACanvas->MoveTo(left + 3, top + 1);
      ACanvas->LineTo(left + 3, top + 6);
    }
  } else {
    ACanvas->FillRect(box);
    TRect edge = Rect(box.Left - 1, box.Top - 1, box.Right + 1, box.Bottom + 1);
    DrawEdge(ACanvas, edge, contracted ? EDGE_RAISED : EDGE_SUNKEN, BF_RECT | BF_SOFT);
  }
  ACanvas->SetPen(&saved);
}

void TPlusStringGrid::DrawTreeLines(TCanvas* ACanvas, const TRect& ACellRect, int ARow) {
  TCellNode* cn = FCellNode.get();
  if (ARow < TCustomGrid::FixedRows() || !HasNodes() || !cn->ShowTree()) return;
  auto levelOf = [&](int r) { return HasCellProperties(0, r) ? GetCellProperties(0, r)->NodeLevel() : 0; };
  TPen saved;
  saved.Assign(ACanvas->Pen());
  ACanvas->Pen()->SetColor(cn->TreeColor());
  ACanvas->Pen()->SetWidth(1);
  ACanvas->Pen()->SetStyle(psSolid);
  const int I = GetNodeIndent(ARow), N = cn->NodeIndent();
  // Measured from the cell's left edge, so a scrolled column 0 keeps its tree.
  const int x = ACellRect.Left + I - N + N / 2 + 2;
  const int left = ACellRect.Left + I;
  const int top = ACellRect.Top, bottom = ACellRect.Bottom, mid = (top + bottom) / 2;
  const int L = levelOf(ARow);
  const bool last = ARow >= RowCount() - 1;
  // 1. The stroke into the row, up to where the text starts; with ShowTreeFull
  // and no text it runs on to the cell's right edge, never beyond the cell.
  if (L > 0) {
    const bool full = cn->ShowTreeFull() && GetCellText(0, ARow).empty();
    ACanvas->MoveTo(x, mid);
    ACanvas->LineTo(full ? ACellRect.Right - 1 : left + 4, mid);
  }
  // 2. The line of this row's own level: 0 for a node row, 1 ends here, 2 goes on.
  int kind = 2;
  if (GetCellType(0, ARow) == ctNode) {
    kind = 0;
  } else if (ARow >= RowCount() - FFixedFooters - 1 || !HasCellProperties(0, ARow + 1) || levelOf(ARow + 1) < L) {
    kind = 1;
  }
  if (kind == 1) {
    ACanvas->MoveTo(x, top);
    ACanvas->LineTo(x, mid);
  } else if (kind == 2) {
    ACanvas->MoveTo(x, top);
    ACanvas->LineTo(x, bottom + 4);
  }
  // 3. The lines of the enclosing levels.
  for (int i = 1; i <= L; ++i) {
    const int xi = x - N * i;
    ACanvas->MoveTo(xi, top);
    ACanvas->LineTo(xi, mid);
    if (last || levelOf(ARow + 1) != 0) {
      ACanvas->LineTo(xi, bottom + 4);
    } else if (i < L) {
      ACanvas->LineTo(x + N - N * i, mid);
    }
  }
  // 4.
  ACanvas->Pen()->SetStyle(psSolid);
  ACanvas->SetPen(&saved);
}
