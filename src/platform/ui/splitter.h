// A splitter: a bar between two aligned controls that the user drags to give
// one of them room from the control that fills the rest. Aligned to a side
// (alTop by default here, as between a source and an output memo), it
// resizes the neighbour on that side: the control aligned the same way whose
// edge touches the bar.
#pragma once

#include "platform/ui/controls.h"

class TSplitter : public TCustomControl {
  ZV_CLASS(TSplitter)
public:
  explicit TSplitter(TComponent* AOwner);
  // The least size the resized control and the filling control keep.
  int MinSize() const { return FMinSize; }
  void SetMinSize(int v) { FMinSize = v < 1 ? 1 : v; }
  // The control the bar resizes; nil when none touches it.
  TControl* ResizeControl() const;
  // Moves the bar by delta pixels (down or right positive), within the
  // least sizes; answers the distance moved.
  int MoveBy(int delta);
  // After a drag moved the bar.
  TNotifyEvent OnMoved;

protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
  TControl* FillControl() const;
  int FMinSize = 30;
  bool FDragging = false;
  bool FMoved = false;
  int FDragAt = 0;  // the mouse in the parent's coordinates along the moving axis
};
