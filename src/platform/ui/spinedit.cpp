#include "platform/ui/spinedit.h"

#include <algorithm>
#include <charconv>

ZV_CLASS_IMPL_NOPROPS(TSpinEdit, TCustomControl)

namespace {
constexpr int kButtonWidth = 15;
}

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomControl(AOwner) {
  FWidth = 60;
  FHeight = 21;
  FColor = clWindow;
  FParentColor = false;
  FTabStop = true;
  FText = "0";
}

int TSpinEdit::Clamped(int v) const {
  if (FMinValue == 0 && FMaxValue == 0) return v;
  return std::clamp(v, FMinValue, std::max(FMinValue, FMaxValue));
}

void TSpinEdit::SetMinValue(int v) {
  FMinValue = v;
  SetValue(FValue);
}

void TSpinEdit::SetMaxValue(int v) {
  FMaxValue = v;
  SetValue(FValue);
}

void TSpinEdit::SetValue(int v) {
  v = Clamped(v);
  const std::string text = std::to_string(v);
  if (v == FValue && text == FText) return;
  FValue = v;
  SetText(text);
  Invalidate();
  if (OnChange) OnChange(this);
}

void TSpinEdit::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (Key == VK_UP) {
    StepUp();
    Key = 0;
  } else if (Key == VK_DOWN) {
    StepDown();
    Key = 0;
  }
  TCustomControl::KeyDown(Key, Shift);
}

void TSpinEdit::KeyPress(char& Key) {
  TCustomControl::KeyPress(Key);
  if (!FEditorEnabled || Key == 0) return;
  if (Key >= '0' && Key <= '9') {
    FTyped += Key;
  } else if (Key == '\b') {
    if (!FTyped.empty()) FTyped.pop_back();
  } else {
    return;
  }
  int v = 0;
  const auto res = std::from_chars(FTyped.data(), FTyped.data() + FTyped.size(), v);
  if (res.ec == std::errc() && !FTyped.empty()) SetValue(v);
  if (FTyped.size() > 9) FTyped.clear();
}

void TSpinEdit::WMGetDlgCode(TMessage& M) { M.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; }

void TSpinEdit::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled() || X < FWidth - kButtonWidth) return;
  if (Y < FHeight / 2)
    StepUp();
  else
    StepDown();
}

void TSpinEdit::Paint() {
  TCanvas* canvas = Canvas();
  TRect r = Rect(0, 0, FWidth, FHeight);
  Frame3D(canvas, r, clBtnShadow, clBtnHighlight, 1);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(Enabled() ? FColor : clBtnFace);
  canvas->FillRect(r);
  TRect text = r;
  text.Right -= kButtonWidth;
  text.Left += 2;
  canvas->SetFont(FFont.get());
  canvas->Brush()->SetStyle(bsClear);
  canvas->DrawText(FText, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  canvas->Brush()->SetStyle(bsSolid);
  const int bx = r.Right - kButtonWidth;
  const int mid = r.Top + r.Height() / 2;
  for (int half = 0; half < 2; ++half) {
    TRect b = Rect(bx, half == 0 ? r.Top : mid, r.Right, half == 0 ? mid : r.Bottom);
    Frame3D(canvas, b, clBtnHighlight, clBtnShadow, 1);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(b);
    const int cx = (b.Left + b.Right) / 2, cy = (b.Top + b.Bottom) / 2;
    canvas->Pen()->SetColor(clBtnText);
    for (int i = 0; i < 3; ++i) {
      const int y = half == 0 ? cy - 1 + i : cy + 1 - i;
      canvas->MoveTo(cx - i, y);
      canvas->LineTo(cx + i + 1, y);
    }
  }
}
