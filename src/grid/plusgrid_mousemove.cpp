// Between the clicks: mouse movement (hot tracking, selecting whole rows or
// columns by dragging, sizing fixed lines, hovering over links), the wheel,
// zooming with Ctrl+wheel and panning with the middle button.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "grid/plusgrid.h"
#include "grid/support/psghtmle.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/forms.h"
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
  const TGridRect before = Selection();
  int col = -1, row = -1;
  MouseToCell(X, Y, col, row);
  const bool onCell = col >= 0 && row >= 0;

  // A press that switched editing on for a range-select grid: without an
  // editor the drag selects again.
  if (FRangeEditPress && Options().Contains(goEditing) && !EditorShown()) {
    TGridOptions o = Options();
    SetOptions(o.Exclude(goEditing));
    FRangeEditPress = false;
  }

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
      if (!(sel == Selection())) {
        // The view stays; only the drag below scrolls it.
        const int top = TopRow(), left = LeftCol();
        SetSelection(sel);
        SetTopRow(top);
        SetLeftCol(left);
      }
    }
    if (Y > ClientHeight() - 4 && TopRow() < MaxTopRow()) SetTopRow(TopRow() + 1);
    else if (Y < RowHeights(0) && TopRow() > FixedRows()) SetTopRow(TopRow() - 1);
  } else if (FPointerMode == pmColSelect && FDragAnchorCol >= 0 && FMouseActions->ColSelect() && col >= FixedCols()) {
    TGridRect sel{std::min(FDragAnchorCol, col), FixedRows(), std::max(FDragAnchorCol, col), RowCount() - 1};
    if (!(sel == Selection())) {
      const int top = TopRow(), left = LeftCol();
      SetSelection(sel);
      SetTopRow(top);
      SetLeftCol(left);
    }
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

  // A press on the selection becomes a drag of it once the mouse moved more
  // than 3 pixels.
  if (FOleDragPending && FButtonDown && onCell && FDragDropSettings->OleDropSource() &&
      (std::abs(X - FDblClickPoint.X) > 3 || std::abs(Y - FDblClickPoint.Y) > 3) && GridState() != gsColSizing &&
      !OnSelectionResizeHandle(X, Y)) {
    FOleDragPending = false;
    int pc = -1, pr = -1;
    MouseToCell(FDblClickPoint.X, FDblClickPoint.Y, pc, pr);
    if (!OleDragStart(pc, pr)) {
      if (GridState() == gsNormal) FGridState = gsSelecting;
    } else {
      // The drag loop took the release.
      FButtonDown = false;
      if (GetCaptureControl() == this) SetCaptureControl(nullptr);
      return;
    }
  }

  if (!Designing()) {
    // A line sized by the mouse: the width and height change handling ends it.
    if (GridState() == gsColSizing) FColSizedByMouse = true;
    if (GridState() == gsRowSizing) FRowSizedByMouse = true;
    if (GridState() == gsColMoving || GridState() == gsRowMoving) {
      bool allow = true;
      if (GridState() == gsColMoving && OnColumnMove) OnColumnMove(this, FMoveIndex, allow);
      if (GridState() == gsRowMoving && OnRowMove) OnRowMove(this, FMoveIndex, allow);
      if (!allow) EndEnhMove(false, X, Y);
      else if (FEnhRowColMove && !FFixedSizing && (X != FDblClickPoint.X || Y != FDblClickPoint.Y))
        MoveFeedback(X, Y);
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
  // Borders that a press would size show the split cursors.
  const bool colBorder = GridState() == gsColSizing || FFixedColSizeOffer ||
                         (GridState() == gsNormal && onCell && row < FixedRows() &&
                          Options().Contains(goColSizing) && SizingLineAt(true, X) >= 0);
  const bool rowBorder = GridState() == gsRowSizing || FFixedRowSizeOffer ||
                         (GridState() == gsNormal && onCell && col < FixedCols() &&
                          Options().Contains(goRowSizing) && SizingLineAt(false, Y) >= 0);
  if (!cursorSet && !Designing() && rowBorder) {
    TControl::SetCursor(crVSplit);
    cursorSet = true;
  } else if (!cursorSet && !Designing() && colBorder) {
    TControl::SetCursor(crHSplit);
    cursorSet = true;
  }
  if (!cursorSet && TControl::Cursor() != FSavedCursor) TControl::SetCursor(FSavedCursor);

  // The hint and the balloon belong to the cell they were shown for.
  TrackHintCells(col, row, X, Y);

  // The selection outline follows a drag selection.
  if (FSelectionRectangle && GridState() == gsSelecting && !(Selection() == FOutlinedSelection)) {
    FOutlinedSelection = Selection();
    InvalidateGridRect(FOutlinedSelection);
  }

  TBaseGrid::MouseMove(Shift, X, Y);
  if (FNavigation->KeepHorizScroll() && FButtonDown && Options().Contains(goRowSelect) &&
      GridState() != gsColMoving && LeftCol() != FPressLeft)
    SetLeftCol(FPressLeft);

  // The size a line being sized will get.
  if ((Designing() || FHintShowSizing) &&
      (FFixedSizing || GridState() == gsColSizing || GridState() == gsRowSizing))
    ShowSizeHint(X, Y);

  if (FEnhRowColMove && FEnhMoveActive) Update();
  const TGridRect after = Selection();
  if (!(after == before)) SelectionChanged(after.Left, after.Top, after.Right, after.Bottom);
}

// ---------------------------------------------------------------------------
// Moving rows and columns with the floating header button

bool TPlusStringGrid::EnhMoving() const {
  return FEnhMoveActive && (GridState() == gsColMoving || GridState() == gsRowMoving);
}

void TPlusStringGrid::PlaceArrow(int Index, int X, int Y) {
  TArrowWindow* a = Index >= 0 && Index < 4 ? FArrows[Index] : nullptr;
  if (!a) return;
  // The arrows are the grid's children: kept inside it.
  X = std::clamp(X, 0, std::max(0, ClientWidth() - a->Width()));
  Y = std::clamp(Y, 0, std::max(0, ClientHeight() - a->Height()));
  a->SetBounds(X, Y, a->Width(), a->Height());
  a->SetVisible(true);
  a->BringToFront();
}

TPopupButton* TPlusStringGrid::ShowMoveButton(const std::string& Caption, const TRect& R) {
  if (!FMoveButton) {
    FMoveButton = new TPopupButton(this);
    FMoveButton->SetVisible(false);
    FMoveButton->SetParent(this);
  }
  FMoveButton->SetCaption(Caption);
  FMoveButton->SetFont(FFixedFont.get());
  const bool gradient = FLook == glQRB || FLook == glXP;
  FMoveButton->SetGradFrom(gradient ? FFixedGradientStart : clNone);
  FMoveButton->SetGradTo(gradient ? FFixedGradientEnd : clNone);
  FMoveButton->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  if (!FMoveButton->Visible()) FMoveButton->SetVisible(true);
  FMoveButton->BringToFront();
  return FMoveButton;
}

void TPlusStringGrid::HideMoveButton() {
  if (FMoveButton) FMoveButton->SetVisible(false);
}

void TPlusStringGrid::MoveFeedback(int X, int Y) {
  const bool cols = GridState() == gsColMoving;
  const int moving = FMoveIndex;
  if (moving < 0) return;
  FEnhMoveActive = true;
  // The moving line's header follows the mouse, held where it was grabbed.
  const std::string caption = cols ? GetCellText(RealColIndex(moving), 0) : GetCellText(0, moving);
  const int w = cols ? ColWidths(moving) : ColWidths(0), h = cols ? RowHeights(0) : RowHeights(moving);
  const TRect r(X - FPressOffset.X, Y - FPressOffset.Y, X - FPressOffset.X + w, Y - FPressOffset.Y + h);
  ShowMoveButton(caption, r);
  // The arrows mark the border the line would be dropped at.
  HideDropArrows();
  int c = -1, rw = -1;
  if (cols) {
    MouseToCell(X, 0, c, rw);
    const bool visible = c >= FixedCols() && c >= LeftCol() && c < ColCount();
    if (visible) {
      const TRect t = CellRect(c, 0);
      const int x = c < moving ? t.Left : t.Right;
      PlaceArrow(1, x - 5, t.Top - 8);
      PlaceArrow(0, x - 5, t.Bottom);
    }
    if (X < FixedWidth()) SetLeftCol(LeftCol() - 1);
    else if (X >= ClientWidth()) SetLeftCol(LeftCol() + 1);
  } else {
    MouseToCell(0, Y, c, rw);
    const bool visible = rw >= FixedRows() && rw >= TopRow() && rw < RowCount();
    if (visible) {
      const TRect t = CellRect(0, rw);
      const int y = rw < moving ? t.Top : t.Bottom;
      PlaceArrow(2, t.Left - 8, y - 5);
      PlaceArrow(3, t.Right, y - 5);
    }
    if (Y < FixedHeight()) SetTopRow(TopRow() - 1);
    else if (Y >= ClientHeight()) SetTopRow(TopRow() + 1);
  }
  Invalidate();
  if (Screen) Screen->SetCursor(crDrag);
}

void TPlusStringGrid::EndEnhMove(bool Apply, int X, int Y) {
  const bool cols = GridState() == gsColMoving;
  const int from = FMoveStart >= 0 ? FMoveStart : FMoveIndex;
  if (FEnhMoveActive && Screen) Screen->SetCursor(crDefault);
  HideMoveButton();
  HideDropArrows();
  if (FMoveTimer && HandleAllocated()) KillTimer(Handle(), kMoveTimerId);
  FMoveTimer = false;
  FGridState = gsNormal;
  FMoveIndex = FMoveTarget = -1;
  FEnhMoveActive = false;
  if (Apply) {
    int c = -1, r = -1;
    MouseToCell(X, Y, c, r);
    if (cols && from >= 0 && c >= FixedCols() && c != from) MoveColumn(from, c);
    if (!cols && from >= 0 && r >= FixedRows() && r != from) MoveRow(from, r);
    FMovedByRelease = true;
  }
  Invalidate();
}

// ---------------------------------------------------------------------------
// Hints and balloons follow the mouse from cell to cell

void TPlusStringGrid::TrackHintCells(int ACol, int ARow, int X, int Y) {
  if (FHintCell.X >= 0 && (ACol != FHintCell.X || ARow != FHintCell.Y)) {
    if (Application) Application->CancelHint();
    FHintCell = TPoint{-1, -1};
  }
  if (!FBalloon->Enable() || !FBalloonWindow) return;
  int pc = -1, pr = -1;
  if (FBalloonMouse.X >= 0) MouseToCell(FBalloonMouse.X, FBalloonMouse.Y, pc, pr);
  FBalloonMouse = TPoint{X, Y};
  const bool onCell = ACol >= 0 && ARow >= 0;
  // Once shown (or hidden again) the tip stays with its cell until the mouse leaves it.
  if (onCell && ACol == FBalloonCell.X && ARow == FBalloonCell.Y) return;
  if (FBalloonCell.X >= 0) {
    PopBalloon();
    FBalloonCell = TPoint{-1, -1};
  }
  if (!onCell) {
    if (FBalloonTimer) FBalloonTimer->SetEnabled(false);
    return;
  }
  // A tip shows for a cell once the mouse rests on it.
  if (FBalloonTimer && FBalloonTimer->Enabled() && !FBalloonShown && pc == ACol && pr == ARow) return;
  if (!FBalloonTimer) {
    FBalloonTimer = std::make_unique<TTimer>(nullptr);
    FBalloonTimer->SetEnabled(false);
    FBalloonTimer->SetOnTimer([this](TObject*) { BalloonTimerTick(); });
  }
  FBalloonShown = false;
  FBalloonTimer->SetEnabled(false);
  FBalloonTimer->SetInterval(static_cast<unsigned>(FBalloon->InitialDelay() >= 0 ? FBalloon->InitialDelay() : 500));
  FBalloonTimer->SetEnabled(true);
}

void TPlusStringGrid::BalloonTimerTick() {
  FBalloonTimer->SetEnabled(false);
  if (FBalloonShown) {
    // Shown long enough.
    PopBalloon();
    FBalloonShown = false;
    return;
  }
  if (!FBalloon->Enable() || FBalloonMouse.X < 0) return;
  int c = -1, r = -1;
  MouseToCell(FBalloonMouse.X, FBalloonMouse.Y, c, r);
  ShowCellBalloon(c, r);
  if (!FBalloonWindow || !FBalloonWindow->Visible()) return;
  FBalloonShown = true;
  FBalloonTimer->SetInterval(static_cast<unsigned>(FBalloon->AutoHideDelay() >= 0 ? FBalloon->AutoHideDelay() : 5000));
  FBalloonTimer->SetEnabled(true);
}

void TPlusStringGrid::ShowSizeHint(int X, int Y) {
  (void)X;
  (void)Y;
  std::string text;
  TPoint at{0, 0};
  if (FFixedSizing) {
    if (FFixedSizingPos < 0) return;
    text = (FFixedSizingCols ? "cw=<b>" : "rh=<b>") + std::to_string(FFixedSizingPos) + "</b>";
    const TRect r = CellRect(0, 0);
    at = TPoint{r.Left, r.Top};
  } else if (FSizingIndex >= 0 && FSizingPos >= 0) {
    const bool cols = GridState() == gsColSizing;
    text = (cols ? "cw=<b>" : "rh=<b>") + std::to_string(FSizingPos - FSizingStart) + "</b>";
    const TRect r = cols ? GetCellRect(FSizingIndex, 0) : GetCellRect(0, FSizingIndex);
    at = TPoint{r.Left, r.Top};
  } else {
    return;
  }
  ShowGridHint(text, ClientToScreen(at), 200);
  FSizeHintShowing = true;
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
  // The same hit test as a click, so the hand shows exactly where a click follows a link.
  if (!FEnableHTML || GetCellTextKind(GetCellText(RealColIndex(ACol), ARow), true) != ckHTML) return {};
  const TPoint base = GetBaseCell(ACol, ARow);
  TCellLinkHit hit;
  if (!CellLinkAt(base.X, base.Y, X, Y, hit) || !hit.ControlID.empty()) return {};
  return hit.Anchor;
}

void TPlusStringGrid::CMMouseLeave(TMessage& M) {
  FFixedColSizeOffer = false;
  FFixedRowSizeOffer = false;
  // No tip waits for a mouse that has gone.
  if (FBalloonTimer) FBalloonTimer->SetEnabled(false);
  FBalloonMouse = TPoint{-1, -1};
  if (FBalloonCell.X >= 0) {
    PopBalloon();
    FBalloonCell = TPoint{-1, -1};
  }
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
    case CM_HINTSHOW:
      if (auto* info = reinterpret_cast<THintInfo*>(Message.LParam)) {
        std::string hint = info->HintStr;
        FillHintInfo(hint, *info);
      }
      Message.Result = 0;
      return;
    case WM_LBUTTONDBLCLK: {
      if (FPanning) {
        StopPanning();
        return;
      }
      int c = -1, r = -1;
      MouseToCell(Message.XPos(), Message.YPos(), c, r);
      // A double click on a header border sizes the column to its contents,
      // and nothing more.
      if ((c < 0 && FFixedRowAlways) || DblClickSizesColumn(Message.XPos(), Message.YPos())) {
        Message.Result = 0;
        return;
      }
      break;
    }
    case WM_RBUTTONUP:
      // No context menu while a row or column is being moved.
      if (EnhMoving()) {
        Message.Result = 0;
        return;
      }
      break;
    case WM_CANCELMODE:
      if (EnhMoving()) EndEnhMove(false, 0, 0);
      break;
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
