#include "toolbar/tbtoolwindow.h"

#include <algorithm>

#include "platform/gfx/colors.h"
#include "toolbar/tbcommon.h"

void TTBCustomToolWindow::DeclareProperties(TClassInfo& c) {
  c.Integer<TTBCustomToolWindow>("ClientAreaWidth", &TTBCustomToolWindow::ClientAreaWidth,
                                 &TTBCustomToolWindow::SetClientAreaWidth, -1);
  c.Integer<TTBCustomToolWindow>("ClientAreaHeight", &TTBCustomToolWindow::ClientAreaHeight,
                                 &TTBCustomToolWindow::SetClientAreaHeight, -1);
  c.Integer<TTBCustomToolWindow>("MinClientWidth", &TTBCustomToolWindow::MinClientWidth,
                                 &TTBCustomToolWindow::SetMinClientWidth, 32);
  c.Integer<TTBCustomToolWindow>("MinClientHeight", &TTBCustomToolWindow::MinClientHeight,
                                 &TTBCustomToolWindow::SetMinClientHeight, 32);
  c.Integer<TTBCustomToolWindow>("MaxClientWidth", &TTBCustomToolWindow::MaxClientWidth,
                                 &TTBCustomToolWindow::SetMaxClientWidth, 0);
  c.Integer<TTBCustomToolWindow>("MaxClientHeight", &TTBCustomToolWindow::MaxClientHeight,
                                 &TTBCustomToolWindow::SetMaxClientHeight, 0);
  c.Boolean<TTBCustomToolWindow>("Resizable", &TTBCustomToolWindow::Resizable, &TTBCustomToolWindow::SetResizable,
                                 true);
}
ZV_CLASS_IMPL(TTBCustomToolWindow, TTBCustomDockableWindow)
ZV_CLASS_IMPL_NOPROPS(TTBToolWindow, TTBCustomToolWindow)

TTBCustomToolWindow::TTBCustomToolWindow(TComponent* AOwner) : TTBCustomDockableWindow(AOwner) {
  SetBounds(Left(), Top(), 32, 32);
}

TPoint TTBCustomToolWindow::FrameSize() const {
  if (!Parent()) return {0, 0};
  // Docked, the dock's frame and drag handle surround the client area.
  if (Docked()) return const_cast<TTBCustomToolWindow*>(this)->DockedNCSize();
  return {Width() - ClientWidth(), Height() - ClientHeight()};
}

int TTBCustomToolWindow::ClientAreaWidth() const { return Width() - FrameSize().X; }
int TTBCustomToolWindow::ClientAreaHeight() const { return Height() - FrameSize().Y; }

void TTBCustomToolWindow::SetClientAreaSize(int AWidth, int AHeight) {
  const TPoint F = FrameSize();
  FBarWidth = AWidth;
  FBarHeight = AHeight;
  SetBounds(Left(), Top(), AWidth + F.X, AHeight + F.Y);
  if (Docked()) Arrange();
}

void TTBCustomToolWindow::SizeChanged(int NewWidth, int NewHeight) {
  const TPoint F = FrameSize();
  FBarWidth = NewWidth - F.X;
  FBarHeight = NewHeight - F.Y;
}

TPoint TTBCustomToolWindow::ClientSizeFor(TTBDock* Dock) const {
  TPoint S(FBarWidth, FBarHeight);
  if (Dock && (FullSize || Stretch)) {
    if (IsVerticalDockPosition(Dock->Position()))
      S.Y = FMinClientHeight;
    else
      S.X = FMinClientWidth;
  }
  return S;
}

TPoint TTBCustomToolWindow::SizeForState(bool, TTBDockKind, bool, TTBDock* NewDock) {
  return ClientSizeFor(NewDock);
}

void TTBCustomToolWindow::SizeLimits(TPoint& MinClientSize, TPoint& MaxClientSize) const {
  MinClientSize = TPoint(FMinClientWidth, FMinClientHeight);
  MaxClientSize = TPoint(FMaxClientWidth, FMaxClientHeight);
}

void TTBCustomToolWindow::SizeLimits(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
  MinWidth = FMinClientWidth;
  MinHeight = FMinClientHeight;
  MaxWidth = FMaxClientWidth;
  MaxHeight = FMaxClientHeight;
}

void TTBCustomToolWindow::LoadExtraPosition(const TTBReadPositionData& Data) {
  TTBCustomDockableWindow::LoadExtraPosition(Data);
  if (!Resizable()) return;
  // A floating window no larger than the virtual screen, within its limits.
  const TRect Screen = VirtualScreenRect();
  auto limit = [](int v, int lo, int hi, int screen) {
    const int top = hi > 0 ? std::min(hi, screen) : screen;
    return std::clamp(v, std::min(lo, top), top);
  };
  const int H = limit(Data.ReadIntProc(Name(), "ClientHeight", FBarHeight, Data.Store), FMinClientHeight,
                      FMaxClientHeight, Screen.Height());
  const int W = limit(Data.ReadIntProc(Name(), "ClientWidth", FBarWidth, Data.Store), FMinClientWidth,
                      FMaxClientWidth, Screen.Width());
  SetClientAreaSize(W, H);
}

void TTBCustomToolWindow::SaveExtraPosition(const TTBWritePositionData& Data) {
  TTBCustomDockableWindow::SaveExtraPosition(Data);
  Data.WriteIntProc(Name(), "ClientWidth", FBarWidth, Data.Store);
  Data.WriteIntProc(Name(), "ClientHeight", FBarHeight, Data.Store);
}

void TTBCustomToolWindow::Paint() {
  TCanvas* C = Canvas();
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color());
  C->FillRect(ClientRect());
  if (!ComponentState().Contains(csDesigning)) return;
  C->Pen()->SetColor(clBtnShadow);
  C->Pen()->SetStyle(psDot);
  C->Brush()->SetStyle(bsClear);
  C->Rectangle(ClientRect());
}
