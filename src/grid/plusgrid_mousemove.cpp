// Between the clicks: mouse movement (hot tracking, selecting whole rows or
// columns by dragging, sizing fixed lines, hovering over links), the wheel,
// zooming with Ctrl+wheel and panning with the middle button.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "grid/plusgrid.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/menuloop.h"

namespace {

// How close to a fixed line's border the mouse offers sizing it.
constexpr int kSizingReach = 3;
// The dead zone around the panning origin.
constexpr int kPanDeadZone = 5;

}  // namespace

// ---------------------------------------------------------------------------
// Mouse movement

void TPlusStringGrid::BeginLineDragSelect(int ACol, int ARow) {
  FDragAnchorCol = ACol;
  FDragAnchorRow = ARow;
  if (ACol >= 0) FPointerMode = pmColSelect;
  else if (ARow >= 0) FPointerMode = pmRowSelect;
  else FPointerMode = pmNone;
}

void TPlusStringGrid::BeginFixedLineSizing(bool Cols) {
  if (Cols ? !(FFixedColSizeOffer && FFixedColSizing >= 0) : !(FFixedRowSizeOffer && FFixedRowSizing >= 0)) return;
  FFixedSizing = true;
  FFixedSizingCols = Cols;
  FFixedSizingPos = -1;
}

void TPlusStringGrid::EndFixedLineSizing(bool Apply) {
  if (!FFixedSizing) return;
  if (Apply && FFixedSizingPos >= 0) {
    const int line = GridLineWidth();
    if (FFixedSizingCols) {
      int left = 0;
      for (int c = 0; c < FFixedColSizing; ++c) left += ColWidths(c) + line;
      SetColWidths(FFixedColSizing, std::max(1, FFixedSizingPos - left - line));
    } else {
      int top = 0;
      for (int r = 0; r < FFixedRowSizing; ++r) top += RowHeights(r) + line;
      SetRowHeights(FFixedRowSizing, std::max(1, FFixedSizingPos - top - line));
    }
  }
  FFixedSizing = false;
  FFixedSizingPos = -1;
  Invalidate();
}

void TPlusStringGrid::PaintSizingOverlay(TCanvas* ACanvas) {
  if (FPanning) {
    // The panning origin: a ring with the directions that pan.
    const TPoint o = FPanOrigin;
    ACanvas->Brush()->SetColor(clWhite);
    ACanvas->Pen()->SetColor(clBlack);
    ACanvas->Pen()->SetStyle(psSolid);
    ACanvas->Ellipse(o.X, o.Y, o.X + 26, o.Y + 26);
    if (FIntelliPan != ipHorizontal) {
      ACanvas->MoveTo(o.X + 13, o.Y + 4);
      ACanvas->LineTo(o.X + 13, o.Y + 22);
    }
    if (FIntelliPan != ipVertical) {
      ACanvas->MoveTo(o.X + 4, o.Y + 13);
      ACanvas->LineTo(o.X + 22, o.Y + 13);
    }
  }
  if (!FFixedSizing || FFixedSizingPos < 0) return;
  if (FFixedSizingCols) DrawColSizingLine(FFixedSizingPos);
  else DrawRowSizingLine(FFixedSizingPos);
}

void TPlusStringGrid::MouseMove(TShiftState Shift, int X, int Y) {
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  const bool onCell = col >= 0 && row >= 0;

  // Hot tracking of fixed cells in the list-view look.
  if (FLook == glListView && (col != FHotCell.X || row != FHotCell.Y)) {
    if (FHotCell.X >= 0 && FHotCell.Y >= 0 && IsFixed(FHotCell.X, FHotCell.Y))
      InvalidateCell(FHotCell.X, FHotCell.Y);
    FHotCell = TPoint{col, row};
    if (onCell && IsFixed(col, row)) InvalidateCell(col, row);
  }

  // Selecting whole rows or columns by dragging from their headers.
  if (FPointerMode == pmRowSelect && FDragAnchorRow >= 0 && FMouseActions->RowSelect()) {
    if (row >= FixedRows() && row <= RowCount() - FFixedFooters) {
      const int target = std::min(row, RowCount() - 1);
      TGridRect sel{FixedCols(), std::max(FixedRows(), std::min(FDragAnchorRow, target)), ColCount() - 1,
                    std::max(FDragAnchorRow, target)};
      if (!(sel == Selection())) SetSelection(sel);
    }
    if (Y > ClientHeight() - 4 && TopRow() < MaxTopRow()) SetTopRow(TopRow() + 1);
    else if (Y < RowHeights(0) && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
  } else if (FPointerMode == pmColSelect && FDragAnchorCol >= 0 && FMouseActions->ColSelect() && col >= FixedCols()) {
    TGridRect sel{std::min(FDragAnchorCol, col), FixedRows(), std::max(FDragAnchorCol, col), RowCount() - 1};
    if (!(sel == Selection())) SetSelection(sel);
  }

  // A line sized by the mouse: the width and height change handling ends it.
  if (!Designing()) {
    if (GridState() == gsColSizing) FColSizedByMouse = true;
    if (GridState() == gsRowSizing) FRowSizedByMouse = true;
  }

  // Sizing offers on the borders of fixed columns and rows; a sizing in
  // progress moves its guide line, drawn over the next paint.
  const int line = GridLineWidth();
  if (!FFixedSizing) {
    FFixedColSizing = -1;
    FFixedColSizeOffer = false;
    FFixedRowSizing = -1;
    FFixedRowSizeOffer = false;
    if (onCell && !Designing()) {
      int edge = 0;
      for (int c = 0; c < FixedCols(); ++c) {
        edge += ColWidths(c) + line;
        if (std::abs(X - edge) < kSizingReach) {
          FFixedColSizing = c;
          FFixedColSizeOffer = FMouseActions->SizeFixedCol();
          // The application may refuse sizing this column.
          if (FFixedColSizeOffer && OnColumnSize) OnColumnSize(this, c, FFixedColSizeOffer);
          break;
        }
      }
      edge = 0;
      for (int r = 0; r < FixedRows(); ++r) {
        edge += RowHeights(r) + line;
        if (std::abs(Y - edge) < kSizingReach) {
          FFixedRowSizing = r;
          FFixedRowSizeOffer = FMouseActions->SizeFixedRow();
          if (FFixedRowSizeOffer && OnRowSize) OnRowSize(this, r, FFixedRowSizeOffer);
          break;
        }
      }
    }
  } else {
    const int pos = FFixedSizingCols ? X : Y;
    if (pos != FFixedSizingPos) {
      FFixedSizingPos = pos;
      Invalidate();
    }
  }

  // What the pointer offers over the headers.
  // A drag selection keeps its mode until the press that began it ends.
  const bool dragging = FDragAnchorRow >= 0 || FDragAnchorCol >= 0;
  if (!Designing() && !dragging) FPointerMode = pmNone;
  if (!Designing() && !dragging && OnSelectionResizeHandle(X, Y)) {
    FPointerMode = pmSelectionResize;
  } else if (!Designing() && !dragging && onCell) {
    const bool nearCol = FFixedColSizing >= 0 || (Options().Contains(goColSizing) && IsSizingEdge(X, Y));
    if (FMouseActions->AllSelect() && col < FixedCols() && row < FixedRows()) FPointerMode = pmAllSelect;
    else if (FMouseActions->ColSelect() && row < FixedRows() && col >= FixedCols() && !nearCol)
      FPointerMode = pmColSelect;
    else if (FMouseActions->RowSelect() && col < FixedCols() && row >= FixedRows() && FFixedRowSizing < 0 &&
             !IsOnNodeButton(row, X))
      FPointerMode = pmRowSelect;
  }

  // Hovering over links.
  bool cursorSet = false;
  if (onCell && FURLShow && IsURL(GetCellText(RealColIndex(col), row))) {
    TControl::SetCursor(crHandPoint);
    cursorSet = true;
  }
  const std::string anchor = onCell ? MouseAnchorAt(col, row, X, Y) : std::string();
  if (!anchor.empty()) {
    TControl::SetCursor(crHandPoint);
    cursorSet = true;
    if (anchor != FLastAnchor) {
      FLastAnchor = anchor;
      if (OnAnchorEnter) OnAnchorEnter(this, row, col, anchor);
    }
  } else if (!FLastAnchor.empty()) {
    FLastAnchor.clear();
    if (OnAnchorExit) OnAnchorExit(this, row, col, std::string());
  }
  if (!cursorSet && FFixedColSizeOffer) {
    TControl::SetCursor(crHSplit);
    cursorSet = true;
  } else if (!cursorSet && FFixedRowSizeOffer) {
    TControl::SetCursor(crVSplit);
    cursorSet = true;
  }
  if (!cursorSet && TControl::Cursor() != FSavedCursor) TControl::SetCursor(FSavedCursor);

  TBaseGrid::MouseMove(Shift, X, Y);

  // The selection outline follows a drag selection.
  if (FSelectionRectangle && GridState() == gsSelecting && !(Selection() == FOutlinedSelection)) {
    FOutlinedSelection = Selection();
    InvalidateGridRect(FOutlinedSelection);
  }
}

void TPlusStringGrid::TopLeftChanged() {
  TBaseGrid::TopLeftChanged();
  const TGridRect sel = Selection();
  if ((FSelectionRectangle && sel.Bottom > sel.Top) || FBackGround->IsGradient()) Invalidate();
  // An own-control editor does not follow the cells; it closes.
  if (FEditorShowing && GetCellEditor(Col(), Row()) != edNormal) EndCellEdit();
  RepositionCellControls();
}

void TPlusStringGrid::RepositionCellControls() {
  if (!FControlList || FControlList->Count() == 0) return;
  const int lastCol = LeftCol() + VisibleColCount(), lastRow = TopRow() + VisibleRowCount();
  for (int i = 0; i < FControlList->Count(); ++i) {
    const TControlItem* item = FControlList->GetControl(i);
    if (!item || !item->Control) continue;
    const int c = item->Col, r = item->Row;
    const bool exists = c >= 0 && c < ColCount() && r >= 0 && r < RowCount() && !IsHiddenColumn(RealColIndex(c));
    const bool colShown = c < FixedCols() || (c >= LeftCol() && c <= lastCol);
    const bool rowShown = r < FixedRows() || (r >= TopRow() && r <= lastRow);
    if (!exists || !colShown || !rowShown) {
      item->Control->Hide();
      continue;
    }
    const TRect m = GetMergedCellRect(c, r);
    item->Control->SetBounds(m.Left, m.Top, m.Width(), m.Height());
    item->Control->Show();
  }
}

bool TPlusStringGrid::OnSelectionResizeHandle(int X, int Y) const {
  if (!FSelectionResizer || !FSelectionRectangle) return false;
  const TGridRect sel = Selection();
  const TRect r = CellRect(sel.Right, sel.Bottom);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return false;
  return X >= r.Right - 6 && X < r.Right && Y >= r.Bottom - 6 && Y < r.Bottom;
}

void TPlusStringGrid::InvalidateGridRect(const TGridRect& R) {
  // The layer repaints whole views; a cell range costs the same.
  (void)R;
  Invalidate();
}

std::string TPlusStringGrid::MouseAnchorAt(int ACol, int ARow, int X, int Y) {
  if (!FEnableHTML) return {};
  const std::string text = GetCellText(RealColIndex(ACol), ARow);
  if (GetCellTextKind(text, true) != ckHTML) return {};
  const TPoint base = GetBaseCell(ACol, ARow);
  TRect r = GetMergedCellRect(base.X, base.Y);
  r.Left += FCellTextOffset.X + 1;
  r.Top += FCellTextOffset.Y + 1;
  if (HasCheckBox(ACol, ARow)) r.Left += FControlLook->CheckSize();
  THTMLDrawOptions o;
  o.X = X;
  o.Y = Y;
  o.CheckOnly = true;
  o.Images = FGridImages;
  o.WordWrap = !FEnhTextSize;
  o.PictureCache = FPictureCache.get();
  o.PictureContainer = PictureContainer();
  const THTMLDrawResult res = DrawHTML(Canvas(), text, r, o);
  if (!res.Hit || !res.ControlID.empty()) return {};
  return res.AnchorVal;
}

void TPlusStringGrid::CMMouseLeave(TMessage& M) {
  FFixedColSizeOffer = false;
  FFixedRowSizeOffer = false;
  if (FLook == glListView && FHotCell.X >= 0 && FHotCell.Y >= 0) {
    if (IsFixed(FHotCell.X, FHotCell.Y)) InvalidateCell(FHotCell.X, FHotCell.Y);
    FHotCell = TPoint{-1, -1};
  }
  TBaseGrid::CMMouseLeave(M);
}

// ---------------------------------------------------------------------------
// Zoom

void TPlusStringGrid::ZoomStep(int Delta) {
  if (FZoomTotal + Delta < -10 || FZoomTotal + Delta > 10) return;
  FZoomTotal += Delta;
  FZooming = true;
  BeginUpdate();
  for (int c = 0; c < ColCount(); ++c)
    if (ColWidths(c) + Delta > 0) SetColWidths(c, ColWidths(c) + Delta);
  for (int r = 0; r < RowCount(); ++r)
    if (RowHeights(r) + Delta > 0) SetRowHeights(r, RowHeights(r) + Delta);
  EndUpdate();
  FZooming = false;
  UpdateProportionalHorzBar();
  UpdateProportionalVertBar();
  Invalidate();
}

// ---------------------------------------------------------------------------
// The window procedure: wheel and panning

void TPlusStringGrid::WndProc(TMessage& Message) {
  if (KeyOfEditorControl(Message.Msg)) {
    // An editor control's key that the window system handed on to its
    // parent: it is the editor's, not the grid's.
    Message.Result = 0;
    return;
  }
  switch (Message.Msg) {
    case WM_MOUSEWHEEL:
      if (!FPanning) {
        HandleWheel(Message);
        return;
      }
      break;
    case WM_MBUTTONDOWN:
      if (FPanning) {
        StopPanning();
        return;
      }
      if (FIntelliPan != ipNone && RowCount() > FixedRows()) {
        StartPanning(TPoint{Message.XPos(), Message.YPos()});
        return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_KEYDOWN:
      if (FPanning) {
        StopPanning();
        return;
      }
      break;
    case WM_TIMER:
      if (Message.WParam == kPanTimerId) {
        if (FPanning) {
          TPoint p{};
          GetCursorPos(p);
          PanStep(ScreenToClient(p));
        }
        return;
      }
      break;
    default:
      break;
  }
  TBaseGrid::WndProc(Message);
}

void TPlusStringGrid::HandleWheel(TMessage& M) {
  const TShiftState shift = KeysToShiftState(M.WParamLo());
  const int delta = static_cast<int16_t>(M.WParamHi());
  // A notch towards the user has a negative delta.
  const bool towards = delta < 0;
  if (shift.Contains(ssCtrl) && FIntelliZoom) {
    ZoomStep(towards ? FWheelLines : -FWheelLines);
    M.Result = 1;
    return;
  }
  if (FEnableWheel) {
    if (FFixedRowAlways && RowCount() == 1) return;
    const int inc = FMouseActions->WheelIncrement() < 1 ? FWheelLines : FMouseActions->WheelIncrement();
    const TGridRect before = Selection();
    const int fromRow = Row();
    const int left = LeftCol();
    int target = Row();
    if (FMouseActions->WheelAction() == waScroll) {
      if (towards && TopRow() < RowCount() - VisibleRowCount())
        SetTopRow(std::min(TopRow() + inc, std::max(FixedRows(), MaxTopRow())));
      else if (!towards && TopRow() > FixedRows())
        SetTopRow(std::max(TopRow() - inc, FixedRows()));
    } else {
      target = towards ? Row() + inc : Row() - inc;
    }
    const int lastRow = RowCount() - FFixedFooters - 1;
    // Scrolling leaves the current cell where it is.
    if (FMouseActions->WheelAction() == waMoveSelection && lastRow >= FixedRows()) {
      target = std::clamp(target, FixedRows(), lastRow);
      if (Col() < FixedCols() || Col() > ColCount() - 1) SetCol(std::clamp(Col(), FixedCols(), ColCount() - 1));
      BeginUpdate();
      SetCurrentRow(target);
      if (Row() != target) {
        SetCurrentRow(Row() + static_cast<int>(Round((target - Row()) / 2.0)));
        if (!towards && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
      }
      if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) SetLeftCol(left);
      EndUpdate();
    }
    if (FMouseActions->WheelIncrement() != 0) {
      M.Result = 1;
      WheelScrolled(Row() - fromRow);
    }
    const TGridRect after = Selection();
    if (!(after == before)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
  }
  const LRESULT result = M.Result;
  TBaseGrid::WndProc(M);
  if (result != 0) M.Result = result;
}

bool TPlusStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
  // With the wheel off only the application's wheel events fire.
  if (!FEnableWheel) return TControl::DoMouseWheelDown(Shift, MousePos);
  if (FMouseActions->WheelAction() == waScroll) return false;
  const int left = LeftCol();
  const bool handled = TBaseGrid::DoMouseWheelDown(Shift, MousePos);
  if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) SetLeftCol(left);
  return handled;
}

bool TPlusStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
  if (!FEnableWheel) return TControl::DoMouseWheelUp(Shift, MousePos);
  if (FMouseActions->WheelAction() == waScroll) return false;
  if (Row() < 0 || Row() >= RowCount() || Col() < 0 || Col() >= ColCount()) return true;
  const int left = LeftCol();
  const bool handled = TBaseGrid::DoMouseWheelUp(Shift, MousePos);
  if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) SetLeftCol(left);
  return handled;
}

void TPlusStringGrid::StartPanning(TPoint P) {
  FPanSavedCursor = TControl::Cursor();
  TControl::SetCursor(crSizeAll);
  FPanning = true;
  SetTimer(Handle(), kPanTimerId, 10);
  FPanOrigin = P;
  SetMouseCapture(true);
  SetShowHint(false);
  Invalidate();
}

void TPlusStringGrid::StopPanning() {
  if (!FPanning) return;
  SetMouseCapture(false);
  if (HandleAllocated()) KillTimer(Handle(), kPanTimerId);
  TControl::SetCursor(FPanSavedCursor);
  SetShowHint(true);
  FPanning = false;
  Invalidate();
}

void TPlusStringGrid::PanStep(TPoint M) {
  if (!FPanning) return;
  int dx = 0, dy = 0;
  if (FIntelliPan != ipVertical) dx = M.X < FPanOrigin.X - kPanDeadZone ? -1 : M.X > FPanOrigin.X + kPanDeadZone ? 1 : 0;
  if (FIntelliPan != ipHorizontal) dy = M.Y < FPanOrigin.Y - kPanDeadZone ? -1 : M.Y > FPanOrigin.Y + kPanDeadZone ? 1 : 0;
  static constexpr TCursor kCursors[3][3] = {
      {crSizeNWSE, crSizeNS, crSizeNESW},  // up-left, up, up-right
      {crSizeWE, crSizeAll, crSizeWE},     // left, rest, right
      {crSizeNESW, crSizeNS, crSizeNWSE}}; // down-left, down, down-right
  const TGridRect before = Selection();
  const int lastRow = RowCount() - FFixedFooters - 1;
  const int lastCol = ColCount() - FFixedRightCols - 1;
  if (lastRow < FixedRows() || lastCol < FixedCols()) return;
  int col = std::clamp(Col(), FixedCols(), lastCol);
  int row = std::clamp(Row(), FixedRows(), lastRow);
  if ((dx < 0 && col > FixedCols()) || (dx > 0 && col < lastCol)) col += dx;
  if ((dy < 0 && row > FixedRows()) || (dy > 0 && row < lastRow)) row += dy;
  if (col != Col()) SetCol(col);
  if (row != Row()) SetCurrentRow(row);
  TControl::SetCursor(kCursors[dy + 1][dx + 1]);
  const TGridRect after = Selection();
  if (!(after == before)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}
