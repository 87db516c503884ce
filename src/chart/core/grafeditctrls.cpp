#include "chart/core/grafeditctrls.h"

#include "chart/core/grcanvas.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/messages.h"

std::unique_ptr<TStringList> CustomColorList;

void FreeCustomColorList() { CustomColorList.reset(); }

TColor RunColorDialog(TControl* Owner, TColor Color) {
  if (!CustomColorList) CustomColorList = std::make_unique<TStringList>();
  TColorDialog dialog(Owner);
  dialog.Color = Color;
  dialog.CustomColors()->Assign(*CustomColorList);
  if (!dialog.Execute()) return Color;
  CustomColorList->Assign(*dialog.CustomColors());
  return dialog.Color;
}

bool EditColorValue(TControl* Owner, TColor& Color) {
  const TColor chosen = RunColorDialog(Owner, Color);
  if (chosen == Color) return false;
  Color = chosen;
  return true;
}

// ---- Editor buttons --------------------------------------------------------------

ZV_CLASS_IMPL(TGrafButton, TButton)

void TGrafButton::DeclareProperties(TClassInfo& c) {
  c.Integer<TGrafButton>("Height", &TGrafButton::Height, &TGrafButton::SetHeight, 25);
  c.Integer<TGrafButton>("Width", &TGrafButton::Width, &TGrafButton::SetWidth, 75);
}

TGrafButton::TGrafButton(TComponent* AOwner) : TButton(AOwner) {}

void TGrafButton::LinkProperty(TObject* Instance, const std::string& PropName) {
  FLinkedObject = Instance;
  if (!Instance) return;
  FLinkedProp = PropName.empty() ? nullptr : GetPropInfo(Instance, PropName);
  Invalidate();
}

void TGrafButton::DrawSwatch(TGrafCanvas3D*) {}

TRect TGrafButton::SwatchRect() const {
  const int w = Width(), h = Height();
  return Rect(w - 19, h - 3 * (h / 4), w - 6, h - h / 4);
}

void TGrafButton::PaintSwatch(TCanvas* Target) {
  if (!Target) return;
  TGrafCanvas3D canvas;
  canvas.AttachCanvas(Target);
  DrawSwatch(&canvas);
}

void TGrafButton::PaintOverlay(TCanvas* Canvas) { PaintSwatch(Canvas); }

void TGrafButton::CMTextChanged(TMessage& M) {
  TButton::CMTextChanged(M);
  Invalidate();
}

void TGrafButton::CMEnabledChanged(TMessage& M) {
  TButton::CMEnabledChanged(M);
  Repaint();
}

ZV_CLASS_IMPL_NOPROPS(TButtonColor, TGrafButton)

TColor TButtonColor::GetLinkedColor() const {
  if (OnGetColor) return OnGetColor();
  if (FLinkedObject && FLinkedProp && FLinkedProp->GetOrd) {
    const TColor c = static_cast<TColor>(FLinkedProp->GetOrd(FLinkedObject));
    // The "no colour" value is not a colour to convert.
    return c == clNone ? clNone : static_cast<TColor>(ColorToRGB(c));
  }
  return FallbackColor;
}

void TButtonColor::SetLinkedColor(TColor Value) {
  if (FLinkedObject && FLinkedProp && FLinkedProp->SetOrd) FLinkedProp->SetOrd(FLinkedObject, Value);
  else FallbackColor = Value;
}

void TButtonColor::Click() {
  TColor color = GetLinkedColor();
  if (!EditColorValue(this, color)) return;
  SetLinkedColor(color);
  Repaint();
  TGrafButton::Click();
}

void TButtonColor::DrawSwatch(TGrafCanvas3D* Canvas) {
  const TColor color = GetLinkedColor();
  if (color == clNone) return;
  Canvas->CanvasBrush()->SetColor(color);
  Canvas->CanvasBrush()->SetStyle(bsSolid);
  if (!Enabled()) Canvas->CanvasPen()->SetStyle(psClear);
  Canvas->RectangleOfRect(SwatchRect());
}

// ---- Flat combo box ------------------------------------------------------------

ZV_CLASS_IMPL(TComboFlat, TComboBox)

void TComboFlat::DeclareProperties(TClassInfo& c) {
  c.Integer<TComboFlat>("DropDownWidth", &TComboFlat::DropDownWidth, &TComboFlat::SetDropDownWidth)
      .WithStored([](TObject* o) {
        auto* combo = static_cast<TComboFlat*>(o);
        return combo->DropDownWidth() != combo->Width();
      });
  c.Integer<TComboFlat>("Height", &TComboFlat::Height, &TComboFlat::SetHeight, 21);
  c.Integer<TComboFlat>("ItemHeight", &TComboFlat::ItemHeight, &TComboFlat::SetItemHeight, 13);
  c.Integer<TComboFlat>("ItemIndex", &TComboFlat::ItemIndex, &TComboFlat::SetItemIndex, -1);
  static const TEnumInfo styles{
      "TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}, 0};
  c.Enum<TComboFlat>("Style", styles, &TComboFlat::Style, &TComboFlat::SetStyle, csDropDownList);
}

TComboFlat::TComboFlat(TComponent* AOwner) : TComboBox(AOwner) {
  SetHeight(21);
  SetItemHeight(13);
  SetStyle(csDropDownList);
}

int TComboFlat::DropDownWidth() {
  HandleNeeded();
  return static_cast<int>(Perform(CB_GETDROPPEDWIDTH, 0, 0));
}

void TComboFlat::SetDropDownWidth(int Value) {
  HandleNeeded();
  Perform(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(Value), 0);
}

void TComboFlat::PaintFlatFrame(TCanvas* Target) {
  if (!Target || FInside || Focused()) return;
  // Flat look: the border in the face colour, a window-coloured arrow button
  // with a single line on its left.
  constexpr int CaptionButtonWidth = 18;
  TRect r = ClientRect();
  Target->Pen()->SetStyle(psSolid);
  Target->Pen()->SetWidth(1);
  Target->Pen()->SetColor(clBtnFace);
  Target->Brush()->SetStyle(bsClear);
  Target->Rectangle(r);
  InflateRect(r, -1, -1);
  Target->Rectangle(r);
  const TRect button = Rect(r.Right - CaptionButtonWidth - 2, r.Top + 1, r.Right, r.Bottom - 1);
  Target->Pen()->SetColor(clWindow);
  Target->Rectangle(button);
  Target->MoveTo(r.Right - 2, button.Top);
  Target->LineTo(r.Right - 2, button.Bottom);
}

void TComboFlat::PaintOverlay(TCanvas* Canvas) { PaintFlatFrame(Canvas); }

void TComboFlat::CMMouseEnter(TMessage& M) {
  TComboBox::CMMouseEnter(M);
  FInside = true;
  Repaint();
}

void TComboFlat::CMMouseLeave(TMessage& M) {
  TComboBox::CMMouseLeave(M);
  FInside = false;
  Repaint();
}

void TComboFlat::CMEnter(TMessage& M) {
  TComboBox::CMEnter(M);
  FInside = false;
  Repaint();
}

void TComboFlat::CMExit(TMessage& M) {
  TComboBox::CMExit(M);
  FInside = false;
  Repaint();
}
