// The grid's background: a picture (tiled so that it scrolls with the cells,
// or fixed in the client area) or a gradient across the grid, behind the
// cells and in the empty area beyond the last column and row.
#include <algorithm>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusutil.h"

namespace {

constexpr int kTextMarginX = 2;
constexpr int kTextMarginY = 2;
constexpr int kGradientSteps = 128;

const TEnumInfo& BackGroundDisplayInfo() {
  static const TEnumInfo info{"TBackGroundDisplay", {"bdTile", "bdFixed", "bdGradientHorz", "bdGradientVert"}, 0};
  return info;
}
const TEnumInfo& BackGroundCellsInfo() {
  static const TEnumInfo info{"TBackGroundCells", {"bcNormal", "bcFixed", "bcAll"}, 0};
  return info;
}

// Copies the picture tiled over Area, tiles starting at Origin, clipped to Area.
void TileInto(TCanvas* c, TBitmap* b, TPoint origin, const TRect& area) {
  const int w = b->Width(), h = b->Height();
  if (w <= 0 || h <= 0 || area.Right <= area.Left || area.Bottom <= area.Top) return;
  // The first tile that reaches into the area.
  auto first = [](int o, int start, int size) {
    int d = start - o;
    int k = d >= 0 ? d / size : -((-d + size - 1) / size);
    return o + k * size;
  };
  for (int y = first(origin.Y, area.Top, h); y < area.Bottom; y += h) {
    for (int x = first(origin.X, area.Left, w); x < area.Right; x += w) {
      const TRect dest = Rect(std::max(x, area.Left), std::max(y, area.Top), std::min(x + w, area.Right),
                              std::min(y + h, area.Bottom));
      if (dest.Right <= dest.Left || dest.Bottom <= dest.Top) continue;
      const TRect src = Rect(dest.Left - x, dest.Top - y, dest.Right - x, dest.Bottom - y);
      c->CopyRect(dest, b->Canvas(), src);
    }
  }
}

// Copies the part of the picture placed at Pos that falls in Area.
void PlaceInto(TCanvas* c, TBitmap* b, TPoint pos, const TRect& area) {
  const TRect dest = Rect(std::max(pos.X, area.Left), std::max(pos.Y, area.Top),
                          std::min(pos.X + b->Width(), area.Right), std::min(pos.Y + b->Height(), area.Bottom));
  if (dest.Right <= dest.Left || dest.Bottom <= dest.Top) return;
  c->CopyRect(dest, b->Canvas(), Rect(dest.Left - pos.X, dest.Top - pos.Y, dest.Right - pos.X, dest.Bottom - pos.Y));
}

}  // namespace

#define ZV_INT(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def);
#define ZV_COLOR(Name, Def) c.Integer<T>(#Name, &T::Name, &T::Set##Name, Def).WithIdents(&ColorIdents());
#define ZV_ENUM(Name, Info, Def) c.Enum<T>(#Name, Info(), &T::Name, &T::Set##Name, Def);

// ---------------------------------------------------------------------------
// TBackGround

ZV_CLASS_IMPL(TBackGround, TPersistent)

void TBackGround::DeclareProperties(TClassInfo& c) {
  using T = TBackGround;
  c.Object<T, TBitmap>("Bitmap", &T::Bitmap, &T::SetBitmap);
  ZV_ENUM(Cells, BackGroundCellsInfo, bcNormal)
  ZV_COLOR(Color, clWindow)
  ZV_COLOR(ColorTo, clBtnFace)
  ZV_ENUM(Display, BackGroundDisplayInfo, bdTile)
  ZV_INT(Left, 0)
  ZV_INT(Top, 0)
}

TBackGround::TBackGround(TPlusStringGrid* AGrid) : FGrid(AGrid), FBitmap(std::make_unique<TBitmap>()) {}

TBackGround::~TBackGround() = default;

void TBackGround::Changed() {
  if (FGrid) FGrid->Invalidate();
}

void TBackGround::SetBitmap(TBitmap* v) {
  if (v != FBitmap.get()) {
    if (v)
      FBitmap->Assign(v);
    else
      FBitmap = std::make_unique<TBitmap>();
  }
  Changed();
}

void TBackGround::SetDisplay(TBackGroundDisplay v) {
  FDisplay = v;
  Changed();
}

void TBackGround::SetLeft(int v) {
  FLeft = v;
  Changed();
}

void TBackGround::SetTop(int v) {
  FTop = v;
  Changed();
}

void TBackGround::SetCells(TBackGroundCells v) {
  FCells = v;
  Changed();
}

void TBackGround::SetColor(TColor v) {
  FColor = v;
  Changed();
}

void TBackGround::SetColorTo(TColor v) {
  FColorTo = v;
  Changed();
}

// ---------------------------------------------------------------------------
// Painting

void TPlusStringGrid::SetBackGround(TBackGround* v) {
  if (!v || v == FBackGround.get()) return;
  FBackGround->SetBitmap(v->Bitmap());
  FBackGround->SetDisplay(v->Display());
  FBackGround->SetLeft(v->Left());
  FBackGround->SetTop(v->Top());
  FBackGround->SetCells(v->Cells());
  FBackGround->SetColor(v->Color());
  FBackGround->SetColorTo(v->ColorTo());
}

void TPlusStringGrid::DrawCellBackground(TCanvas* ACanvas, int ACol, int ARow, const TRect& R,
                                         TGridDrawState AState) {
  TBackGround* bg = FBackGround.get();
  TBitmap* pic = bg->Bitmap();
  const bool picture = !pic->Empty();
  const bool gradient = bg->IsGradient() && bg->ColorTo() != clNone;
  if (!picture && !gradient) return;
  if (bg->IsGradient() && bg->ColorTo() == clNone) return;
  const bool fixed = AState.Contains(gdFixed);
  const TBackGroundCells cells = bg->Cells();
  if (!(cells == bcAll || (cells == bcFixed && fixed) || (cells == bcNormal && !fixed))) return;
  const bool shownSelected =
      FShowSelection && ((AState.Contains(gdSelected) && !AState.Contains(gdFocused)) ||
                         (AState.Contains(gdFocused) && Options().Contains(goDrawFocusSelected)));
  if (shownSelected) return;
  const bool ownColour = HasCellProperties(ACol, ARow) && GetCellProperties(ACol, ARow)->BrushColor() != clNone;
  // 1. The picture, where the cell has no colour of its own.
  if (picture && !ownColour) {
    if (bg->Display() == bdTile) {
      // Tiles continue from the first cell of the area, so they scroll with the cells.
      const int oc = cells == bcNormal ? TCustomGrid::FixedCols() : 0;
      const int orow = cells == bcNormal ? TCustomGrid::FixedRows() : 0;
      auto offset = [](const TGridAxis& axis, int from, int to) {
        return to >= from ? axis.Extent(from, to, 0) : -axis.Extent(to, from, 0);
      };
      const int64_t ox = offset(FCols, oc, ACol), oy = offset(FRows, orow, ARow);
      const int w = pic->Width(), h = pic->Height();
      const TPoint origin{R.Left - 1 - static_cast<int>(ox % w), R.Top - 1 - static_cast<int>(oy % h)};
      TileInto(ACanvas, pic, origin, R);
    } else {
      PlaceInto(ACanvas, pic, TPoint{bg->Left(), bg->Top()}, R);
    }
  }
  // 2. The gradient, over the picture; a check box, radio or button cell shows it
  // even with a colour of its own.
  if (gradient) {
    const TCellType kind = GetCellType(RealColIndex(ACol), ARow);
    const bool control = kind == ctCheckBox || kind == ctDataCheckBox || kind == ctRadio || kind == ctButton;
    if (ownColour && !control) return;
    const bool horz = bg->Display() == bdGradientHorz;
    const int extent = horz ? Width() : Height();
    const TColor c1 = GradientColorAt(bg->Color(), bg->ColorTo(), 0, horz ? R.Left : R.Top, extent);
    const TColor c2 = GradientColorAt(bg->Color(), bg->ColorTo(), 0, horz ? R.Right : R.Bottom, extent);
    ACanvas->Brush()->SetColor(c2);
    ACanvas->Pen()->SetColor(c2);
    TRect g = R;
    if (horz)
      g.Right -= 1;
    else
      g.Bottom -= 1;
    FillGradientRect(ACanvas, c1, c2, horz, g, kGradientSteps);
  }
}

void TPlusStringGrid::PaintEmptyArea() {
  TBackGround* bg = FBackGround.get();
  TBitmap* pic = bg->Bitmap();
  const bool picture = !pic->Empty();
  if (!picture && !bg->IsGradient()) return;
  if (bg->IsGradient() && bg->ColorTo() == clNone) return;
  if (ColCount() < 1 || RowCount() < 1) return;
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  const int line = GridLineWidth();
  std::vector<TRect> areas;
  const int lastCol = ColCount() - 1, lastRow = RowCount() - 1;
  const int right = GetCellRect(lastCol, 0).Right + line;
  if (right < client.Right && (lastCol < TCustomGrid::FixedCols() || lastCol >= LeftCol()))
    areas.push_back(Rect(std::max(right, client.Left), client.Top, client.Right, client.Bottom));
  const int bottom = GetCellRect(0, lastRow).Bottom + line;
  if (bottom < client.Bottom && (lastRow < TCustomGrid::FixedRows() || lastRow >= TopRow()))
    areas.push_back(Rect(client.Left, std::max(bottom, client.Top), client.Right, client.Bottom));
  if (areas.empty()) return;
  // The floating footer covers the grid's bottom.
  TRect painted = client;
  if (FFloatingFooter->Visible()) painted.Bottom -= FFloatingFooter->FooterHeight();
  for (TRect a : areas) {
    a.Bottom = std::min(a.Bottom, painted.Bottom);
    if (a.Bottom <= a.Top || a.Right <= a.Left) continue;
    const int saved = c->SaveDC();
    c->IntersectClipRect(a.Left, a.Top, a.Right, a.Bottom);
    if (!picture) {
      FillGradientRect(c, bg->Color(), bg->ColorTo(), bg->Display() == bdGradientHorz, painted, kGradientSteps);
    } else if (bg->Display() == bdTile) {
      if (bg->Cells() != bcFixed) {
        TRect from = painted;
        if (bg->Cells() == bcNormal) {
          // The first normal cell shown: the tiles stay with the client area.
          const TRect first = GetCellRect(std::max(LeftCol(), TCustomGrid::FixedCols()),
                                          std::max(TopRow(), TCustomGrid::FixedRows()));
          from.Left = first.Left;
          from.Top = first.Top;
        }
        TileInto(c, pic, TPoint{from.Left + kTextMarginX - 1, from.Top + kTextMarginY - 1}, a);
      }
    } else {
      PlaceInto(c, pic, TPoint{bg->Left(), bg->Top()}, a);
    }
    c->RestoreDC(saved);
  }
}
