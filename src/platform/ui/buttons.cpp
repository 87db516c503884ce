#include "platform/ui/buttons.h"

#include <algorithm>

ZV_CLASS_IMPL(TSpeedButton, TGraphicControl)

void TSpeedButton::DeclareProperties(TClassInfo& c) {
  c.Boolean<TSpeedButton>("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp, false);
  c.Integer<TSpeedButton>("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex, 0);
  c.Boolean<TSpeedButton>("Down", &TSpeedButton::Down, &TSpeedButton::SetDown, false);
  c.Boolean<TSpeedButton>("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat, false);
  c.Integer<TSpeedButton>("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin, -1);
  c.Integer<TSpeedButton>("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs, 1);
  c.Integer<TSpeedButton>("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing, 4);
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csDoubleClicks};
  FWidth = 23;
  FHeight = 22;
}

TSpeedButton::~TSpeedButton() { Destroying(); }

void TSpeedButton::SetDown(bool v) {
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  if (FDown && !FAllowAllUp) {
    // The only button down in its group stays down.
    bool other = false;
    if (FParent)
      for (int i = 0; i < FParent->ControlCount(); ++i) {
        auto* b = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
        if (b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) other = true;
      }
    if (!other) return;
  }
  FDown = v;
  FState = v ? bsExclusive : bsUp;
  if (v) UpdateExclusive();
  Invalidate();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !FParent) return;
  for (int i = 0; i < FParent->ControlCount(); ++i) {
    auto* b = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
    if (b && b != this && b->FGroupIndex == FGroupIndex && b->FDown) {
      b->FDown = false;
      b->FState = bsUp;
      b->FAllowAllUp = FAllowAllUp;
      b->Invalidate();
    }
  }
}

void TSpeedButton::SetFlat(bool v) {
  FFlat = v;
  Invalidate();
}

void TSpeedButton::SetGlyph(const TBitmap* v) {
  if (v) FGlyph->Assign(v);
  else FGlyph = std::make_unique<TBitmap>();
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(int v) {
  FNumGlyphs = std::clamp(v, 1, 4);
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout v) {
  FLayout = v;
  Invalidate();
}

void TSpeedButton::SetMargin(int v) {
  FMargin = v;
  Invalidate();
}

void TSpeedButton::SetSpacing(int v) {
  FSpacing = v;
  Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && FEnabled) {
    if (!FDown) {
      FState = bsDown;
      Invalidate();
    }
    FDragging = true;
  }
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  TButtonState s = FDown ? bsExclusive : bsUp;
  if (X >= 0 && X < FWidth && Y >= 0 && Y < FHeight) s = FDown ? bsExclusive : bsDown;
  if (s != FState) {
    FState = s;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (!FDragging) return;
  FDragging = false;
  const bool inside = X >= 0 && X < FWidth && Y >= 0 && Y < FHeight;
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
  if (inside) Click();
}

void TSpeedButton::CMMouseEnter(TMessage& M) {
  TGraphicControl::CMMouseEnter(M);
  if (FFlat && FEnabled) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& M) {
  TGraphicControl::CMMouseLeave(M);
  if (FFlat && FEnabled) Invalidate();
}

void TSpeedButton::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  const bool pressed = FState == bsDown || FState == bsExclusive;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(FState == bsExclusive ? clBtnHighlight : clBtnFace);
  canvas->FillRect(r);
  if (!FFlat || pressed || FMouseInside) {
    TRect f = r;
    if (pressed) Frame3D(canvas, f, clBtnShadow, clBtnHighlight, 1);
    else Frame3D(canvas, f, clBtnHighlight, clBtnShadow, 1);
  }
  const int offset = pressed ? 1 : 0;
  int gw = 0, gh = 0;
  if (!FGlyph->Empty()) {
    gw = FGlyph->Width() / FNumGlyphs;
    gh = FGlyph->Height();
  }
  canvas->SetFont(FFont.get());
  const TSize ts = FText.empty() ? TSize{} : canvas->TextExtent(FText);
  const int spacing = (gw > 0 && ts.cx > 0) ? FSpacing : 0;
  const int total = gw + spacing + ts.cx;
  int x = FMargin >= 0 ? FMargin : (FWidth - total) / 2;
  if (gw > 0) {
    const int gy = (FHeight - gh) / 2 + offset;
    int index = 0;
    if (!FEnabled && FNumGlyphs > 1) index = 1;
    else if (pressed && FNumGlyphs > 2) index = 2;
    else if (FState == bsExclusive && FNumGlyphs > 3) index = 3;
    TBitmap part(gw, gh);
    part.Canvas()->CopyRect(Rect(0, 0, gw, gh), FGlyph->Canvas(), Rect(index * gw, 0, index * gw + gw, gh));
    part.SetTransparent(true);
    canvas->Draw(x + offset, gy, &part);
    x += gw + spacing;
  }
  if (ts.cx > 0) {
    canvas->Brush()->SetStyle(bsClear);
    if (!FEnabled) canvas->Font()->SetColor(clGrayText);
    canvas->TextOut(x + offset, (FHeight - ts.cy) / 2 + offset, FText);
  }
}
