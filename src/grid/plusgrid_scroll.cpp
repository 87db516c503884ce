// Scroll-bar styles, scroll hints while a thumb is dragged, synchronous
// scrolling and scrolling while something is dragged over the grid.
#include <algorithm>
#include <string>

#include "grid/plusgrid.h"
#include "platform/rtl/mathutils.h"

// ---------------------------------------------------------------------------
// Scroll-bar styles: the flat and the encarta bars are the window's flat
// scroll bars.

void TPlusStringGrid::InitFlatScrollBars() { FFlatInit = InitializeFlatSB(Handle()); }

void TPlusStringGrid::DoneFlatScrollBars() {
  FFlatInit = false;
  if (HandleAllocated()) UninitializeFlatSB(Handle());
}

void TPlusStringGrid::SetFlatScrollProp(unsigned Prop, intptr_t Value) {
  if (FFlatInit) FlatSB_SetScrollProp(Handle(), Prop, Value, true);
}

void TPlusStringGrid::ShowFlatScrollBar(int Bar, bool Show) {
  if (!FFlatInit) return;
  const TScrollStyle sb = ScrollBars();
  if (Bar == SB_HORZ && sb != ssHorizontal && sb != ssBoth) return;
  if (Bar == SB_VERT && sb != ssVertical && sb != ssBoth) return;
  FlatSB_ShowScrollBar(Handle(), Bar, Show);
}

void TPlusStringGrid::ApplyFlatStyle() {
  const int mode = FScrollType == ssFlat ? FSB_FLAT_MODE : FScrollType == ssEncarta ? FSB_ENCARTA_MODE : FSB_REGULAR_MODE;
  SetFlatScrollProp(WSB_PROP_VSTYLE, mode);
  SetFlatScrollProp(WSB_PROP_HSTYLE, mode);
}

void TPlusStringGrid::ApplyFlatColor() {
  if (FScrollColor == clNone) return;
  SetFlatScrollProp(WSB_PROP_VBKGCOLOR, static_cast<intptr_t>(FScrollColor));
  SetFlatScrollProp(WSB_PROP_HBKGCOLOR, static_cast<intptr_t>(FScrollColor));
}

void TPlusStringGrid::ApplyFlatWidth() {
  SetFlatScrollProp(WSB_PROP_CXVSCROLL, FScrollWidth);
  SetFlatScrollProp(WSB_PROP_CYHSCROLL, FScrollWidth);
}

void TPlusStringGrid::UpdateFlatScrollBars() {
  ApplyFlatStyle();
  ApplyFlatColor();
  ApplyFlatWidth();
  ShowFlatScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
  ShowFlatScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
}

void TPlusStringGrid::SetScrollType(TScrollType v) {
  if (v != FScrollType) {
    FScrollType = v;
    if (v == ssFlat || v == ssEncarta) {
      InitFlatScrollBars();
      UpdateFlatScrollBars();
    } else {
      DoneFlatScrollBars();
    }
  }
  ApplyFlatStyle();
}

void TPlusStringGrid::SetScrollColor(TColor v) {
  FScrollColor = v;
  ApplyFlatColor();
}

void TPlusStringGrid::SetScrollWidth(int v) {
  FScrollWidth = v;
  ApplyFlatWidth();
}

void TPlusStringGrid::SetScrollBarAlways(TScrollBarAlways v) {
  FScrollBarAlways = v;
  UpdateScrollBarAlways(true);
}

// The layer keeps the chosen bars through every later resize and count
// change; with saNone it shows a bar only while its lines do not fit.
void TPlusStringGrid::UpdateScrollBarAlways(bool Force) {
  if (FScrollBarAlways == saNone && !Force) return;
  SetScrollBarsAlways(FScrollBarAlways == saVert || FScrollBarAlways == saBoth,
                      FScrollBarAlways == saHorz || FScrollBarAlways == saBoth);
}

void TPlusStringGrid::SetScrollProportional(bool v) {
  FScrollProportional = v;
  if (!v && FFlatInit && FScrollType == ssNormal) DoneFlatScrollBars();
  if (v) {
    UpdateProportionalHorzBar();
    UpdateProportionalVertBar();
  } else {
    SetScrollPage(SB_HORZ, 0);
    SetScrollPage(SB_VERT, 0);
  }
}

namespace {

// The page of a 0..127 bar whose view shows Shown of Total pixels; -1 when
// everything shows.
int ProportionalPage(int Shown, int Total) {
  if (Total <= 0) return -1;
  const float e = static_cast<float>(Shown) / static_cast<float>(Total);
  if (e >= 0.9999f) return -1;
  const int max = static_cast<int>(Trunc((e + 127.0f) / (1.0f - e)));
  return std::max(0, max - 126);
}

}  // namespace

void TPlusStringGrid::UpdateProportionalHorzBar() {
  if (IsLoading() || Designing() || !FScrollProportional || FZooming) return;
  const int g = GridLineWidth();
  int fixed = g, total = g;
  for (int c = 0; c < ColCount(); ++c) (c < FixedCols() ? fixed : total) += g + ColWidths(c);
  const int page = ProportionalPage(Width() - fixed, total);
  if (page >= 0) SetScrollPage(SB_HORZ, page);
}

void TPlusStringGrid::UpdateProportionalVertBar() {
  if (IsLoading() || Designing() || !FScrollProportional || FZooming) return;
  const int g = GridLineWidth();
  int fixed = g, total = g;
  for (int r = 0; r < RowCount(); ++r) (r < FixedRows() ? fixed : total) += g + RowHeights(r);
  const int page = ProportionalPage(Height() - fixed, total);
  if (page >= 0) SetScrollPage(SB_VERT, page);
}

int TPlusStringGrid::FlatThumbPosition(int Pos, int VisibleCols, int Cols) {
  if (Cols <= 0) return Pos;
  const int p = static_cast<int>(Round(VisibleCols * 128.0 / Cols));
  // With (nearly) every column visible there is no track to map onto.
  if (128 - p <= 0) return Pos;
  return static_cast<int>(Round(Pos * 127.0 / (128 - p)));
}

// ---------------------------------------------------------------------------
// The panels at the bottom of the client

void TPlusStringGrid::UpdateCoveredBottom() {
  // The search panel and a preview footer cover the last rows of the view:
  // rows are scrolled in above them. A footer that shows the last row covers
  // that row only, which never becomes current.
  if (!FSearchFooter || !FFloatingFooter) return;  // still being made
  int covered = 0;
  if (FSearchPanel && FSearchFooter->Visible()) covered += FSearchPanel->Height();
  if (FFloatingFooter->Visible() && FFloatingFooter->FooterStyle() != fsFixedLastRow)
    covered += FFloatingFooter->FooterHeight();
  if (covered == CoveredBottom()) return;
  SetCoveredBottom(covered);
  if (Row() >= TopRow() + VisibleRowCount()) ScrollIntoView(Col(), Row());
}

void TPlusStringGrid::KeepAboveFooter(int ACol, int ARow) {
  if (!FFloatingFooter->Visible()) return;
  if (FFloatingFooter->FooterStyle() != fsFixedLastRow) {
    FFloatingFooter->Invalidate();
    return;
  }
  if (ARow >= RowCount() - 1) return;
  if (ARow >= TopRow() + VisibleRowCount()) ScrollIntoView(ACol, ARow);
  // The footer row under the panel is the only one it may hide.
  const int panelTop = ClientHeight() - CoveredBottom() - FFloatingFooter->FooterHeight();
  while (TopRow() < MaxTopRow() && CellRect(ACol, ARow).Bottom > panelTop + 2) SetTopRow(TopRow() + 1);
}

// ---------------------------------------------------------------------------
// Scroll messages

std::string TPlusStringGrid::ScrollHintText(bool Vertical, int Pos) {
  const int span = Vertical ? RowCount() - VisibleRowCount() - FixedRows()
                            : ColCount() - VisibleColCount() - FixedCols();
  const int n = static_cast<int>(static_cast<int64_t>(Pos) * std::max(0, span) / 127) +
                (Vertical ? FixedRows() : FixedCols());
  std::string text = (Vertical ? "Row : " : "Col : ") + std::to_string(n);
  if (OnScrollHint) OnScrollHint(this, n, text);
  return text;
}

void TPlusStringGrid::ScrollHint(bool Vertical, int Code, int Pos) {
  const bool wanted = FScrollHints == shBoth || FScrollHints == (Vertical ? shVertical : shHorizontal);
  if (!wanted) return;
  if (Code == SB_ENDSCROLL) {
    FScrollHintShowing = false;
    FScrollHintCaption.clear();
    HideGridHint();
  } else if (Code == SB_THUMBTRACK) {
    FScrollHintCaption = ScrollHintText(Vertical, Pos);
    FScrollHintShowing = true;
    // Beside the pointer, which drags the thumb.
    TPoint p{};
    GetCursorPos(p);
    ShowGridHint(FScrollHintCaption, TPoint{p.X + 10, p.Y}, 100);
  }
}

void TPlusStringGrid::WMHScroll(TMessage& M) {
  const int code = M.WParamLo();
  int pos = static_cast<int16_t>(M.WParamHi());
  ScrollHint(false, code, pos);
  if (code == SB_THUMBPOSITION && FFlatInit) {
    pos = FlatThumbPosition(pos, VisibleColCount(), ColCount());
    M.WParam = MAKEWPARAM(code, pos);
  }
  if (code == SB_THUMBTRACK && FScrollSynch) {
    const int span = std::max(0, ColCount() - VisibleColCount() - FixedCols());
    SetLeftCol(std::clamp(static_cast<int>(static_cast<int64_t>(pos) * span / 127) + FixedCols(), FixedCols(),
                          std::max(FixedCols(), MaxLeftCol())));
    return;
  }
  TBaseGrid::WMHScroll(M);
}

void TPlusStringGrid::WMVScroll(TMessage& M) {
  const int code = M.WParamLo();
  const int pos = static_cast<int16_t>(M.WParamHi());
  ScrollHint(true, code, pos);
  if (code == SB_THUMBTRACK && FScrollSynch) {
    const int span = std::max(0, RowCount() - VisibleRowCount() - FixedRows());
    SetTopRow(std::clamp(static_cast<int>(static_cast<int64_t>(pos) * span / 127) + FixedRows(), FixedRows(),
                         std::max(FixedRows(), MaxTopRow())));
    return;
  }
  TBaseGrid::WMVScroll(M);
}

// ---------------------------------------------------------------------------
// Drag scrolling

void TPlusStringGrid::DragScrollOver(int X, int Y, TDragState State) {
  if (!FDragScrollOptions->Active()) {
    FDragScrollTimer.reset();
    return;
  }
  const bool hadDirections = !FDragScrollDir.Empty();
  FDragScrollDir = {};
  if (State == dsDragLeave) {
    FDragScrollTimer.reset();
    return;
  }
  const TDragScrollMargins* m = FDragScrollOptions->Margins();
  if (Y < m->TopMargin()) FDragScrollDir.Include(dsdUp);
  else if (Y > Height() - m->BottomMargin()) FDragScrollDir.Include(dsdDown);
  if (X < m->LeftMargin()) FDragScrollDir.Include(dsdLeft);
  else if (X > Width() - m->RightMargin()) FDragScrollDir.Include(dsdRight);
  if (FDragScrollDir.Empty()) {
    FDragScrollTimer.reset();
    return;
  }
  const unsigned initial = static_cast<unsigned>(std::max(1, FDragScrollOptions->Delays()->InitialDelay()));
  if (!FDragScrollTimer) {
    FDragScrollTimer = std::make_unique<TTimer>(nullptr);
    FDragScrollTimer->SetInterval(initial);
    FDragScrollTimer->SetOnTimer([this](TObject*) { DragScrollTick(); });
    FDragScrollTimer->SetEnabled(true);
  } else if (hadDirections) {
    // Every movement inside a margin waits the initial delay again.
    FDragScrollTimer->SetEnabled(false);
    FDragScrollTimer->SetInterval(initial);
    FDragScrollTimer->SetEnabled(true);
  }
}

void TPlusStringGrid::DragScrollTick() {
  if (!FDragScrollOptions->Active()) {
    // Only stopped: the timer is running this tick. The next drag-over frees it.
    FDragScrollTimer->SetEnabled(false);
    return;
  }
  FDragScrollTimer->SetInterval(static_cast<unsigned>(std::max(1, FDragScrollOptions->Delays()->RepeatDelay())));
  TDragScrollDirection dir = FDragScrollDir;
  if (OnDragScroll) {
    bool canScroll = true;
    OnDragScroll(this, TopRow(), LeftCol(), dir, canScroll);
    if (!canScroll) return;
  }
  if (dir.Contains(dsdUp) && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
  if (dir.Contains(dsdDown) && TopRow() + VisibleRowCount() < RowCount()) SetTopRow(TopRow() + 1);
  if (dir.Contains(dsdLeft) && LeftCol() > FixedCols()) SetLeftCol(LeftCol() - 1);
  if (dir.Contains(dsdRight) && LeftCol() + VisibleColCount() < ColCount()) SetLeftCol(LeftCol() + 1);
}
