// Looks of the string grid that do not depend on a cell's text: fixed cells
// by Look, drawn check boxes and the combo button, the sort indicator of
// header cells, and the colour schemes.
#include <algorithm>
#include <memory>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"
#include "platform/gfx/framectl.h"
#include "grid/support/plusxpvs.h"
#include "platform/gfx/resources.h"

namespace {

constexpr TColor kGlyphBack = 0xFF00FF;  // the top-left colour DrawBitmapOnColor replaces

// Check-box pictures: a framed white box, a tick when checked, grey when disabled.
std::unique_ptr<TBitmap> MakeCheckGlyph(bool Checked, bool Enabled, TColor Frame) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(15, 15);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(kGlyphBack);
  c->FillRect(Rect(0, 0, 15, 15));
  c->Pen()->SetColor(Enabled ? Frame : clGray);
  c->Brush()->SetColor(Enabled ? clWhite : clBtnFace);
  c->Rectangle(1, 1, 14, 14);
  if (Checked) {
    c->Pen()->SetColor(Enabled ? 0x21A121 : clGray);
    for (int d = 0; d < 2; ++d) {
      c->MoveTo(4, 7 + d);
      c->LineTo(6, 9 + d);
      c->LineTo(11, 4 + d);
    }
  }
  return b;
}

std::unique_ptr<TBitmap> MakeRadioGlyph(bool Selected, bool Enabled, TColor Frame) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(16, 16);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(kGlyphBack);
  c->FillRect(Rect(0, 0, 16, 16));
  c->Pen()->SetColor(Enabled ? Frame : clGray);
  c->Brush()->SetColor(Enabled ? clWhite : clBtnFace);
  c->Ellipse(2, 2, 15, 15);
  if (Selected) {
    c->Pen()->SetColor(Enabled ? 0x21A121 : clGray);
    c->Brush()->SetColor(Enabled ? 0x21A121 : clGray);
    c->Ellipse(5, 5, 12, 12);
  }
  return b;
}

// QRB (01..04) and WinXP (05..08) pictures: checked/selected, unchecked, then
// the same two disabled.
void RegisterControlGlyphs() {
  static bool done = false;
  if (done) return;
  done = true;
  for (int set = 0; set < 2; ++set) {
    const TColor frame = set == 0 ? 0x7F7F7F : 0x80511C;
    for (int i = 0; i < 4; ++i) {
      const bool on = i % 2 == 0, enabled = i < 2;
      const std::string n = std::to_string(set * 4 + i + 1);
      RegisterResourceBitmap("ASGCHK0" + n, [=] { return MakeCheckGlyph(on, enabled, frame); });
      RegisterResourceBitmap("ASGRAD0" + n, [=] { return MakeRadioGlyph(on, enabled, frame); });
    }
  }
}

}  // namespace

bool TPlusStringGrid::IsLookFixedCell(int ACol, int ARow) {
  return IsFixedCell(ACol, ARow) || ACol < TCustomGrid::FixedCols() || ARow < TCustomGrid::FixedRows();
}

void TPlusStringGrid::DrawFixedLookBefore(TCanvas* ACanvas, int ACol, int ARow, const TRect& C) {
  if (FFlat || !IsLookFixedCell(ACol, ARow)) return;
  if (FLook == glQRB || FLook == glXP) {
    const bool activeRow = TCustomGrid::FixedCols() > 0 && ACol == TCustomGrid::FixedCols() - 1 && ARow == Row();
    const bool activeCol = TCustomGrid::FixedRows() > 0 && ARow == TCustomGrid::FixedRows() - 1 && ACol == Col();
    if (FActiveCellShow && (activeRow || activeCol))
      FillGradientRect(ACanvas, FActiveCellColor, FActiveCellColorTo, false, C, 32);
    else
      FillGradientRect(ACanvas, FFixedGradientStart, FFixedGradientEnd, false, C, 32);
  } else if (FLook == glListView) {
    if (FXPFlag) {
      const bool hot = FHotCell.X == ACol && FHotCell.Y == ARow;
      const bool pressed = hot && (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
      if (DrawThemePart(ACanvas, HandleAllocated() ? Handle() : 0, u"header", 1, pressed ? 3 : hot ? 2 : 1,
                        Rect(C.Left - 1, C.Top, C.Right + 1, C.Bottom))) {
        ACanvas->Pen()->SetColor(clWhite);
        ACanvas->MoveTo(C.Left, C.Top);
        ACanvas->LineTo(C.Right, C.Top);
        return;
      }
    }
    ACanvas->Pen()->SetColor(clWhite);
    ACanvas->Brush()->SetColor(clBtnFace);
    ACanvas->Rectangle(C);
    ACanvas->MoveTo(C.Left, C.Top);
    ACanvas->LineTo(C.Right, C.Top);
  }
}

void TPlusStringGrid::DrawFixedLookAfter(TCanvas* ACanvas, int ACol, int ARow, const TRect& C) {
  const TGridOptions o = Options();
  const bool fixed = IsLookFixedCell(ACol, ARow);
  TPen saved;
  saved.Assign(ACanvas->Pen());
  // Fixed right columns of a flat grid get a grey frame around the inner rectangle.
  if (FFlat && FLook != glClassic && ACol >= ColCount() + NumHiddenColumns() - FFixedRightCols) {
    const TRect r = Rect(C.Left + 1, C.Top + 1, C.Right - 1, C.Bottom - 1);
    ACanvas->Pen()->SetColor(clGray);
    ACanvas->Pen()->SetWidth(1);
    if (o.Contains(goFixedHorzLine)) {
      ACanvas->MoveTo(r.Left - 1, r.Top - 1);
      ACanvas->LineTo(r.Right + 1, r.Top - 1);
      ACanvas->MoveTo(r.Left - 1, r.Bottom);
      ACanvas->LineTo(r.Right + 1, r.Bottom);
    }
    if (o.Contains(goFixedVertLine)) {
      ACanvas->MoveTo(r.Left - 1, r.Top - 1);
      ACanvas->LineTo(r.Left - 1, r.Bottom + 1);
      ACanvas->MoveTo(r.Right, r.Top - 1);
      ACanvas->LineTo(r.Right, r.Bottom + 1);
    }
  }
  if (!FFlat && fixed) {
    const TColor dim = DimColor(FixedColor());
    auto softEdges = [&](bool vertical) {
      if (o.Contains(goFixedHorzLine)) {
        ACanvas->Pen()->SetColor(dim);
        ACanvas->MoveTo(C.Left, C.Bottom - 1);
        ACanvas->LineTo(C.Right, C.Bottom - 1);
        ACanvas->Pen()->SetColor(clWhite);
        ACanvas->MoveTo(C.Left, C.Top);
        ACanvas->LineTo(C.Right, C.Top);
        ACanvas->MoveTo(C.Left, C.Top);
        ACanvas->LineTo(C.Left, C.Bottom);
      }
      if (vertical && o.Contains(goFixedVertLine)) {
        ACanvas->Pen()->SetColor(dim);
        ACanvas->MoveTo(C.Right - 1, C.Top);
        ACanvas->LineTo(C.Right - 1, C.Bottom);
        ACanvas->Pen()->SetColor(clWhite);
        ACanvas->MoveTo(C.Right, C.Top);
        ACanvas->LineTo(C.Right, C.Bottom);
      }
    };
    switch (FLook) {
      case glQRB:
      case glXP:
        softEdges(false);
        break;
      case glSoft:
        softEdges(true);
        break;
      case glClassic: {
        TRect r = C;
        DrawEdge(ACanvas, r, BDR_RAISEDINNER, BF_LEFT);
        r = C;
        DrawEdge(ACanvas, r, BDR_RAISEDINNER, BF_TOP);
        r = C;
        DrawEdge(ACanvas, r, EDGE_RAISED, BF_RIGHT | BF_BOTTOM);
        ACanvas->Pen()->SetColor(clBlack);
        ACanvas->MoveTo(C.Right - 1, C.Top);
        ACanvas->LineTo(C.Right - 1, C.Bottom);
        ACanvas->MoveTo(C.Left, C.Bottom - 1);
        ACanvas->LineTo(C.Right, C.Bottom - 1);
        break;
      }
      default:
        break;
    }
  }
  ACanvas->SetPen(&saved);
}

void TPlusStringGrid::DrawCellCheckBox(TCanvas* ACanvas, const TRect& R, bool Checked, bool Enabled) {
  RegisterControlGlyphs();
  TControlLook* cl = FControlLook.get();
  if (cl->NoDisabledCheckRadioLook() || cl->CheckAlwaysActive()) Enabled = true;
  const int s = cl->CheckSize();
  switch (cl->ControlStyle()) {
    case csClassic:
    case csFlat: {
      const int l = R.Left + (R.Width() - s) / 2, t = R.Top + (R.Height() - s) / 2;
      TRect box = Rect(l, t, l + s, t + s);
      unsigned state = DFCS_BUTTONCHECK;
      if (Checked) state |= DFCS_CHECKED;
      if (cl->ControlStyle() == csFlat) state |= DFCS_FLAT;
      if (!Enabled) state |= DFCS_INACTIVE;
      DrawFrameControl(ACanvas, box, DFC_BUTTON, state);
      break;
    }
    case csWinXP:
    case csQRB: {
      const int base = cl->ControlStyle() == csWinXP ? 5 : 1;
      const int n = base + (Checked ? 0 : 1) + (Enabled ? 0 : 2);
      DrawResourceBitmap(ACanvas, ACanvas->Brush()->Color(), R, "ASGCHK0" + std::to_string(n));
      break;
    }
    case csPelmark: {
      ACanvas->Brush()->SetColor(Enabled ? clBtnFace : clBtnShadow);
      ACanvas->FillRect(R);
      ACanvas->Pen()->SetColor(clBtnHighlight);
      ACanvas->MoveTo(R.Left, R.Bottom - 1);
      ACanvas->LineTo(R.Left, R.Top);
      ACanvas->LineTo(R.Right - 1, R.Top);
      ACanvas->Pen()->SetColor(clBtnShadow);
      ACanvas->LineTo(R.Right - 1, R.Bottom - 1);
      ACanvas->LineTo(R.Left, R.Bottom - 1);
      if (Checked) {
        ACanvas->Pen()->SetWidth(1);
        ACanvas->Pen()->SetColor(Enabled ? cl->Color() : clGray);
        const int L = R.Left, T = R.Top, Rr = R.Right, B = R.Bottom;
        ACanvas->MoveTo(L + 2, T + s / 2);
        ACanvas->LineTo(L + 2, B - 2);
        ACanvas->MoveTo(L + 3, T - 1 + s / 2);
        ACanvas->LineTo(L + 3, B - 3);
        ACanvas->MoveTo(L + 2, B - 2);
        ACanvas->LineTo(Rr - 2, T + 2);
        ACanvas->MoveTo(L + 3, B - 2);
        ACanvas->LineTo(Rr - 1, T + 2);
      }
      break;
    }
    case csGlyph: {
      TBitmap* g = Checked ? cl->CheckedGlyph() : cl->UnCheckedGlyph();
      if (g && !g->Empty()) {
        g->SetTransparent(true);
        ACanvas->Draw(R.Left, R.Top, g);
      }
      break;
    }
    case csTheme:
      // Drawn only by the visual style; without one nothing shows.
      if (FXPFlag)
        DrawThemePart(ACanvas, HandleAllocated() ? Handle() : 0, u"button", 3,
                      Checked ? (Enabled ? 5 : 8) : (Enabled ? 1 : 4), Rect(R.Left, R.Top, R.Left + s, R.Top + s));
      break;
  }
}

void TPlusStringGrid::ApplyThemeScheme(int Scheme) {
  TColor start = clWhite, end = clBtnFace;
  switch (Scheme) {
    case 1:
      start = 0xFCE1CB;
      end = 0xE0A57D;
      break;
    case 2:
      start = 0xCFF0EA;
      end = 0x8CC0B1;
      break;
    case 3:
      start = 0xECE2E1;
      end = 0xB39698;
      break;
    default:
      FActiveCellColor = clWhite;
      FActiveCellColorTo = 0xFFD9B3;
      FFixedGradientStart = clWhite;
      FFixedGradientEnd = clBtnFace;
      FControlLook->SetFixedGradientFrom(clNone);
      FControlLook->SetFixedGradientTo(clNone);
      Invalidate();
      return;
  }
  FFixedGradientStart = start;
  FFixedGradientEnd = end;
  FActiveCellColor = 0x94E6FB;
  FActiveCellColorTo = 0x1595EE;
  FControlLook->SetFixedGradientFrom(start);
  FControlLook->SetFixedGradientTo(end);
  Invalidate();
}

void TPlusStringGrid::ApplyStyleScheme(int Style) {
  struct Scheme {
    TColor from, to, active, activeTo;
    bool lookGradient;
    TColor gridLine, selection;  // clNone: unchanged
  };
  static const Scheme schemes[] = {
      {0xFCE1CB, 0xE0A57D, 0x94E6FB, 0x1595EE, true, clNone, clNone},
      {0xECE2E1, 0xB39698, 0x94E6FB, 0x1595EE, true, clNone, clNone},
      {0xCFF0EA, 0x8CC0B1, 0x94E6FB, 0x1595EE, true, clNone, clNone},
      {clWhite, 0xCCD4D8, 0xD8D5D4, 0xD8D5D4, false, clNone, clNone},
      {0xFBF9F6, 0xE8DBD2, 0x9DD8F9, 0x5EC1F1, true, 0xE5D7D0, 0x5EC1F1},
      {0xF7F7F7, 0xDEDEDE, 0x9DD8F9, 0x5EC1F1, true, 0xE5D7D0, 0x5EC1F1},
      {clBtnFace, clBtnFace, clBtnFace, clBtnFace, false, clNone, clHighlight},
      {clWhite, clBtnFace, 0x94E6FB, 0x1595EE, false, clNone, clHighlight},
      {},
      {0xF3F3F1, 0xCAC9C8, 0x99CCFF, 0x699CFF, true, 0xE5D7D0, 0x95C7F5},
  };
  if (Style >= 0 && Style <= 9 && Style != 8) {
    const Scheme& s = schemes[Style];
    FFixedGradientStart = s.from;
    FFixedGradientEnd = s.to;
    FActiveCellColor = s.active;
    FActiveCellColorTo = s.activeTo;
    FControlLook->SetFixedGradientFrom(s.lookGradient ? s.from : clNone);
    FControlLook->SetFixedGradientTo(s.lookGradient ? s.to : clNone);
    if (s.gridLine != clNone) SetGridLineColor(s.gridLine);
    if (s.selection != clNone) FSelectionColor = s.selection;
  }
  Invalidate();
}

int TPlusStringGrid::GetThemeScheme() {
  if (!XPVSLoaded() || !IsThemeActive || !IsThemeActive()) return 0;
  char16_t file[256] = {}, color[256] = {}, size[256] = {};
  if (GetCurrentThemeName(file, 255, color, 255, size, 255) != 0) return 0;
  const std::u16string name(color);
  if (name == u"NormalColor") return 1;
  if (name == u"HomeStead") return 2;
  if (name == u"Metallic") return 3;
  return 0;
}

void TPlusStringGrid::SetAutoThemeAdapt(bool v) {
  FAutoThemeAdapt = v;
  if (v && !IsLoading()) {
    AdaptToTheme();
    Invalidate();
  }
}

void TPlusStringGrid::DrawRadioGroup(TCanvas* ACanvas, TRect R, int ARow, int ACol, bool Selected,
                                     TStrings* AOptions, bool Disabled, bool Horizontal, int SelectedIndex,
                                     int Count) {
  RegisterControlGlyphs();
  TControlLook* cl = FControlLook.get();
  if (cl->NoDisabledCheckRadioLook() || cl->RadioAlwaysActive()) Disabled = false;
  const TGridControlStyle style = cl->ControlStyle();
  const bool small = style == csClassic || style == csFlat;
  const bool bitmaps = style == csWinXP || style == csQRB || style == csGlyph;
  const int pitch = small ? cl->RadioSize() : 16;
  const TBrushStyle savedBrush = ACanvas->Brush()->Style();
  ACanvas->Brush()->SetStyle(bsClear);
  int lineHeight = ACanvas->TextHeight("gh");
  if (!small) lineHeight = std::max(lineHeight, 16);
  const std::string shown = GetCellText(ACol, ARow);
  int textSoFar = 0;
  for (int i = 1; i <= Count; ++i) {
    std::string text;
    bool on = false;
    if (AOptions) {
      if (Selected && FShowSelection) ACanvas->Font()->SetColor(FSelectionTextColor);
      if (AOptions->Count() >= i) text = AOptions->Strings(i - 1);
      if (SelectedIndex == -1) on = text == shown;
    }
    if (i == SelectedIndex + 1) on = true;
    int x, y, tx, ty;
    if (Horizontal) {
      x = R.Left + 2 + (i - 1) * pitch + textSoFar;
      y = R.Top + (R.Height() - pitch) / 2;
      tx = x + pitch;
      ty = bitmaps ? y + 1 : y - 2;
    } else {
      x = text.empty() ? R.Left + (R.Width() - pitch) / 2 : R.Left + 2;
      y = R.Top + (i - 1) * lineHeight + 2;
      ty = y;
      if (small)
        tx = R.Left + cl->RadioSize() + 6;
      else if (bitmaps) {
        tx = R.Left + 18;
        ty = y + 1;
      } else {
        tx = R.Left + 20;
      }
    }
    switch (style) {
      case csClassic:
      case csFlat: {
        const int side = style == csFlat ? cl->RadioSize() + 2 : cl->RadioSize();
        TRect box = Rect(x, y, x + side, y + side);
        unsigned state = DFCS_BUTTONRADIO | (style == csFlat ? DFCS_FLAT : 0u) | (Disabled ? DFCS_INACTIVE : 0u) |
                         (on ? DFCS_CHECKED : 0u);
        DrawFrameControl(ACanvas, box, DFC_BUTTON, state);
        break;
      }
      case csPelmark: {
        ACanvas->Brush()->SetStyle(bsSolid);
        ACanvas->Brush()->SetColor(clBtnFace);
        ACanvas->Pen()->SetColor(clBtnFace);
        const std::vector<TPoint> diamond = {{x + 2, y + 8}, {x + 8, y + 2}, {x + 14, y + 8}, {x + 8, y + 14}};
        ACanvas->Polygon(diamond);
        ACanvas->Pen()->SetColor(on ? clGray : clWhite);
        ACanvas->MoveTo(x + 2, y + 8);
        ACanvas->LineTo(x + 8, y + 14);
        ACanvas->LineTo(x + 14, y + 8);
        ACanvas->Pen()->SetColor(on ? clWhite : clGray);
        ACanvas->LineTo(x + 8, y + 2);
        ACanvas->LineTo(x + 2, y + 8);
        if (on) {
          ACanvas->Brush()->SetColor(cl->Color());
          ACanvas->Pen()->SetColor(cl->Color());
          ACanvas->Polygon(std::vector<TPoint>{{x + 6, y + 8}, {x + 8, y + 6}, {x + 10, y + 8}, {x + 8, y + 10}});
        }
        ACanvas->Brush()->SetStyle(bsClear);
        break;
      }
      case csTheme:
        if (FXPFlag)
          DrawThemePart(ACanvas, HandleAllocated() ? Handle() : 0, u"button", 2,
                        on ? (Disabled ? 8 : 5) : (Disabled ? 4 : 1), Rect(x, y, x + 16, y + 16));
        break;
      case csWinXP:
      case csQRB: {
        const int n = (style == csWinXP ? 5 : 1) + (on ? 0 : 1) + (Disabled ? 2 : 0);
        std::unique_ptr<TBitmap> b = LoadResourceBitmap("ASGRAD0" + std::to_string(n));
        if (b) {
          b->SetTransparent(true);
          ACanvas->Draw(x, y, b.get());
        }
        break;
      }
      case csGlyph: {
        TBitmap* g = on ? cl->RadioOnGlyph() : cl->RadioOffGlyph();
        if (g && !g->Empty()) {
          g->SetTransparent(true);
          ACanvas->Draw(x, y, g);
        }
        break;
      }
    }
    if (!text.empty()) {
      ACanvas->Brush()->SetStyle(bsClear);
      ACanvas->TextOut(tx, ty, text);
      if (Horizontal) textSoFar += ACanvas->TextWidth(text);
    }
  }
  ACanvas->Brush()->SetStyle(savedBrush);
}

void TPlusStringGrid::DrawCellButton(TCanvas* ACanvas, const TRect& ACellRect, TRect R, TCellGraphic* G, int ACol,
                                     int ARow) {
  // Remembered for the click test: x in the low, y in the high 16 bits.
  G->CellValue = static_cast<double>((R.Left - ACellRect.Left) & 0xFFFF) +
                 static_cast<double>((R.Top - ACellRect.Top) & 0xFFFF) * 65536.0;
  const TColor savedBk = ACanvas->SetBkColor(clBtnFace);
  const bool pressed = G->CellBoolean;
  // A pressed button has no disabled look without visual styles.
  unsigned state = DFCS_BUTTONPUSH;
  if (FControlLook->FlatButton()) state |= DFCS_FLAT;
  if (pressed) state |= DFCS_PUSHED;
  const bool enabled = FControlLook->NoDisabledButtonLook() || CanEditCell(ACol, ARow);
  TRect frame = R;
  if (!(FXPFlag && ThemesActive() &&
        DrawThemePart(ACanvas, HandleAllocated() ? Handle() : 0, u"button", 1, !enabled ? 4 : pressed ? 3 : 1, R)))
    DrawFrameControl(ACanvas, frame, DFC_BUTTON, state);
  const int shrink = pressed ? 3 : 2;
  TRect caption = Rect(R.Left + shrink, R.Top + shrink, R.Right - shrink, R.Bottom - shrink);
  if (G->CellType == ctBitButton) {
    if (auto* b = dynamic_cast<TBitmap*>(G->CellContent); b && !b->Empty()) {
      DrawBitmapOnColor(ACanvas, b, clBtnFace, caption);
      caption.Left += b->Width() + 2;
    }
  }
  const TBrushStyle bs = ACanvas->Brush()->Style();
  ACanvas->Brush()->SetStyle(bsClear);
  ACanvas->DrawText(G->CellText, caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  ACanvas->Brush()->SetStyle(bs);
  ACanvas->SetBkColor(savedBk);
}

// ---------------------------------------------------------------------------
// Sort indicator of header cells

bool TPlusStringGrid::IsSortColumn(int ACol) const {
  return ACol == FSortSettings->Column() || FSortIndexes->FindIndex(ACol) >= 0;
}

bool TPlusStringGrid::SortIndicatorCell(int ACol, int ARow) const {
  const TSortSettings* ss = FSortSettings.get();
  return ss->Show() && ARow == ss->Row() && RowCount() > 2 && IsSortColumn(ACol) &&
         TCustomGrid::FixedRows() > 0 && (ACol >= TCustomGrid::FixedCols() || ss->FixedCols());
}

bool TPlusStringGrid::SortIndicatorShown(int ACol) const {
  // Without the numbered look only the first sort column shows its direction.
  return FSortIndexes->FindIndex(ACol) < 1 || FSortSettings->IndexShow();
}

void TPlusStringGrid::DrawSortIndicator(TCanvas* ACanvas, int ACol, int Y, int X) {
  const TSortSettings* ss = FSortSettings.get();
  TBrush savedBrush;
  savedBrush.Assign(ACanvas->Brush());
  TFont savedFont;
  savedFont.Assign(ACanvas->Font());
  const int savedBkMode = ACanvas->GetBkMode();
  if (ss->IndexShow()) {
    const int p = FSortIndexes->FindIndex(ACol);
    if (p < 0) return;
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(ss->IndexColor());
    ACanvas->SetBkMode(TRANSPARENT);
    ACanvas->Font()->SetColor(clBlack);
    ACanvas->Font()->SetSize(6);
    const bool glyphs = !ss->IndexUpGlyph()->Empty() && !ss->IndexDownGlyph()->Empty();
    const bool descending = !FSortIndexes->Ascending(p);
    if (glyphs) {
      TBitmap* g = descending ? ss->IndexUpGlyph() : ss->IndexDownGlyph();
      g->SetTransparent(true);
      ACanvas->Draw(X - 7, Y - 7, g);
    } else if (descending) {
      ACanvas->Polygon({TPoint{X - 7, Y - 5}, TPoint{X + 7, Y - 5}, TPoint{X, Y + 8}});
    } else {
      ACanvas->Polygon({TPoint{X - 6, Y + 8}, TPoint{X + 6, Y + 8}, TPoint{X, Y - 4}});
    }
    ACanvas->TextOut(X - 2, descending ? Y - 4 : Y - 2, std::to_string(p + 1));
  } else if (!ss->UpGlyph()->Empty() && !ss->DownGlyph()->Empty()) {
    TBitmap* g = ss->Direction() == sdDescending ? ss->DownGlyph() : ss->UpGlyph();
    g->SetTransparent(true);
    ACanvas->Draw(X - 4, Y - 4, g);
    ACanvas->SetBkColor(FixedColor());
    return;
  } else {
    TPen* pen = ACanvas->Pen();
    pen->SetWidth(1);
    if (ss->Direction() == sdDescending) {
      ACanvas->MoveTo(X + 4, Y - 4);
      pen->SetColor(clWhite);
      ACanvas->LineTo(X, Y + 4);
      pen->SetColor(clGray);
      ACanvas->LineTo(X - 4, Y - 4);
      ACanvas->LineTo(X + 4, Y - 4);
    } else {
      ACanvas->MoveTo(X - 4, Y + 4);
      pen->SetColor(clWhite);
      ACanvas->LineTo(X + 4, Y + 4);
      ACanvas->LineTo(X, Y - 4);
      pen->SetColor(clGray);
      ACanvas->LineTo(X - 4, Y + 4);
    }
    pen->SetColor(clBlack);
  }
  ACanvas->Brush()->Assign(&savedBrush);
  ACanvas->Font()->Assign(&savedFont);
  ACanvas->SetBkMode(savedBkMode);
}
