#include "platform/ui/splitter.h"

#include <algorithm>

#include "platform/dialogs.h"

ZV_CLASS_IMPL_NOPROPS(TSplitter, TCustomControl)

TSplitter::TSplitter(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 100, 3);
  SetAlign(alTop);
  SetCursor(crVSplit);
}

TControl* TSplitter::ResizeControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align()) continue;
    switch (Align()) {
      case alTop: if (c->Top() + c->Height() == Top()) return c; break;
      case alBottom: if (c->Top() == Top() + Height()) return c; break;
      case alLeft: if (c->Left() + c->Width() == Left()) return c; break;
      case alRight: if (c->Left() == Left() + Width()) return c; break;
      default: break;
    }
  }
  return nullptr;
}

TControl* TSplitter::FillControl() const {
  TWinControl* parent = Parent();
  if (!parent) return nullptr;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c != this && c->Visible() && c->Align() == alClient) return c;
  }
  return nullptr;
}

int TSplitter::MoveBy(int delta) {
  TControl* c = ResizeControl();
  if (!c || delta == 0) return 0;
  const bool growsWithDelta = Align() == alTop || Align() == alLeft;
  const int size = Horizontal() ? c->Height() : c->Width();
  int wanted = size + (growsWithDelta ? delta : -delta);
  int most = size;
  if (TControl* fill = FillControl()) most += (Horizontal() ? fill->Height() : fill->Width()) - FMinSize;
  else if (TWinControl* p = Parent()) most = (Horizontal() ? p->ClientHeight() : p->ClientWidth()) - FMinSize;
  wanted = std::clamp(wanted, std::min(FMinSize, size), std::max(most, std::min(FMinSize, size)));
  if (wanted == size) return 0;
  if (Horizontal()) c->SetHeight(wanted);
  else c->SetWidth(wanted);
  const int moved = wanted - size;
  return growsWithDelta ? moved : -moved;
}

void TSplitter::Paint() {
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  FDragging = true;
  FMoved = false;
  FDragAt = Horizontal() ? Y + Top() : X + Left();
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  SetCursor(Horizontal() ? crVSplit : crHSplit);
  if (!FDragging) return;
  const int at = Horizontal() ? Y + Top() : X + Left();
  const int moved = MoveBy(at - FDragAt);
  FDragAt += moved;
  if (moved != 0) FMoved = true;
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging || Button != mbLeft) return;
  FDragging = false;
  if (FMoved && OnMoved) OnMoved(this);
}
