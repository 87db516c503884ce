// Focus, the grid's own timer and the messages that keep the editors in
// line with the focus.
#include "grid/plusgrid.h"
#include "grid/plusgrid_editlink.h"
#include "grid/plusgrid_editor.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/menuloop.h"

void TPlusStringGrid::WMSetFocus(TMessage& M) {
  // The focus coming back from a pop-up edit that closed: the edit is over
  // and nothing reopens. Only this one focus gain is skipped.
  if (FPopupClosed) {
    FPopupClosed = false;
    TBaseGrid::WMSetFocus(M);
    return;
  }
  TBaseGrid::WMSetFocus(M);
  const int rc = RealColIndex(Col());
  if (HasCheckBox(rc, Row())) return;
  if (FRichEditor && FRichEditor->Visible()) EndCellEdit();
  auto* editor = InplaceEditor();
  const bool inView = Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                      Row() < TopRow() + VisibleRowCount();
  if (editor) {
    TWinControl* from = FindControl(static_cast<HWND>(M.WParam));
    if (from != editor && GridState() != gsRowMoving && GridState() != gsColMoving && FNavigation->AlwaysEdit() &&
        FCurrentEditorType == edNormal && inView && CanEditCell(rc, Row())) {
      ReopenEditor();
      M.Result = 0;
      return;
    }
  } else if (FNavigation->AlwaysEdit() && inView && CanEditCell(rc, Row()) && !FMouseActions->DirectEdit() &&
             HasComboBox(Col(), Row())) {
    ReopenEditor();
  }
  if ((RowCount() == 1 && FFixedRowAlways) || (ColCount() == 1 && FFixedColAlways)) HideSelection();
}

void TPlusStringGrid::WMKillFocus(TMessage& M) {
  if (FStoringEditor) {
    M.Result = 1;
    return;
  }
  TBaseGrid::WMKillFocus(M);
  // A held embedded button comes back up when the focus goes.
  ReleaseControlButton();
}

void TPlusStringGrid::WMPaint(TMessage& M) {
  // Under the redraw lock nothing paints; the unlock repaints everything.
  if (FUpdateCount > 0) {
    FRepaintPending = true;
    M.Result = 0;
    return;
  }
  TBaseGrid::WMPaint(M);
}

void TPlusStringGrid::CMColorChanged(TMessage& M) {
  TBaseGrid::CMColorChanged(M);
  if (FFloatingFooter->Visible()) FFloatingFooter->Invalidate();
}

void TPlusStringGrid::CMEnter(TMessage& M) {
  if (FLeavingByKey) return;
  TBaseGrid::CMEnter(M);
  try {
    SelectCell(Col(), Row());
  } catch (...) {
    MarkEditStart(Col(), Row());
    throw;
  }
  MarkEditStart(Col(), Row());
}

void TPlusStringGrid::CMExit(TMessage& M) {
  if (FStoringEditor) return;
  TBaseGrid::CMExit(M);
}

void TPlusStringGrid::WMTimer(TMessage& M) {
  if (M.WParam != kGridTimerId) {
    TBaseGrid::WMTimer(M);
    return;
  }
  ++FTimerTicks;
  // A drop's sideways scroll steps on every other tick.
  OleDragScrollTick();
  if (FNavigation->AutoGotoIncremental()) {
    // The goto text lives for three ticks after the last character.
    if (++FGotoTicks >= 4) {
      FGotoText.clear();
      FGotoTicks = 0;
    }
  }
  if (FHovering && !Designing()) {
    TPoint screen{};
    GetCursorPos(screen);
    const TPoint p = ScreenToClient(screen);
    const TRect cr = ClientRect();
    if (p.X >= cr.Left && p.X < cr.Right && p.Y >= cr.Top && p.Y < cr.Bottom &&
        FindControlAtScreenPoint(screen) == this) {
      int c = -1, r = -1;
      MouseToCell(p.X, p.Y, c, r);
      if (c >= TCustomGrid::FixedCols() && c < ColCount() && r >= TCustomGrid::FixedRows() && r < RowCount()) {
        if (CanFocus()) SetFocus();
        SetCurrentRow(r);
        SetCol(c);
      }
    }
  }
  if (FEnableBlink) {
    FBlinkOn = !FBlinkOn;
    auto blinks = [&](int c, int r) {
      if (UpperCase(GetCellText(RealColIndex(c), r)).find("<BLI") != std::string::npos) RepaintCell(c, r);
    };
    const int c0 = LeftCol(), c1 = LeftCol() + VisibleColCount(), r0 = TopRow(), r1 = TopRow() + VisibleRowCount();
    for (int r = r0; r < r1 && r < RowCount(); ++r)
      for (int c = c0; c < c1 && c < ColCount(); ++c) blinks(c, r);
    for (int r = 0; r < TCustomGrid::FixedRows(); ++r)
      for (int c = c0; c < c1 && c < ColCount(); ++c) blinks(c, r);
    for (int r = r0; r < r1 && r < RowCount(); ++r)
      for (int c = 0; c < TCustomGrid::FixedCols(); ++c) blinks(c, r);
  }
}

void TPlusStringGrid::StartGridTimer() {
  if (HandleAllocated()) SetTimer(Handle(), kGridTimerId, 500);
}
