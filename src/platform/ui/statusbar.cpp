#include "platform/ui/statusbar.h"

#include "platform/rtl/exceptions.h"

ZV_CLASS_IMPL_NOPROPS(TStatusBar, TCustomControl)

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner) {
  FHeight = 19;
  FWidth = 200;
  FColor = clBtnFace;
  FParentColor = false;
  SetAlign(alBottom);
}

int TStatusBar::AddPanel(int Width, const std::string& Text) {
  FPanels.push_back({Text, Width});
  Invalidate();
  return PanelCount() - 1;
}

const TStatusPanel& TStatusBar::Panel(int i) const {
  if (i < 0 || i >= PanelCount()) throw EListError("List index out of bounds (" + std::to_string(i) + ")");
  return FPanels[static_cast<size_t>(i)];
}

void TStatusBar::SetPanelText(int i, const std::string& Text) {
  Panel(i);
  if (FPanels[static_cast<size_t>(i)].Text == Text) return;
  FPanels[static_cast<size_t>(i)].Text = Text;
  Invalidate();
}

void TStatusBar::SetPanelWidth(int i, int Width) {
  Panel(i);
  FPanels[static_cast<size_t>(i)].Width = Width;
  Invalidate();
}

void TStatusBar::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(FColor);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(Rect(0, 0, FWidth, FHeight));
  canvas->SetFont(FFont.get());
  int x = 0;
  for (size_t i = 0; i < FPanels.size(); ++i) {
    const int right = i + 1 == FPanels.size() ? FWidth : x + FPanels[i].Width;
    TRect r = Rect(x, 2, right - 2, FHeight);
    Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
    canvas->Brush()->SetStyle(bsClear);
    TRect text = r;
    text.Left += 2;
    canvas->DrawText(FPanels[i].Text, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    canvas->Brush()->SetStyle(bsSolid);
    x = right;
  }
}
