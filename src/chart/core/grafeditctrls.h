// Small controls the chart editor dialogs are built from: a push button that
// shows (and edits) the value of one published property of another object,
// its colour-editing form, a flat combo box, and a colour dialog that keeps
// the user's custom colours for the rest of the run.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/stringlist.h"
#include "platform/ui/classes.h"
#include "platform/ui/stdctrls.h"

class TGrafCanvas3D;
class TControl;

// Custom colours of the colour dialog; created (empty) by the first dialog.
extern std::unique_ptr<TStringList> CustomColorList;
// Frees CustomColorList (unit shut-down).
void FreeCustomColorList();

// The colour dialog, starting at the colour with the remembered custom
// colours; the chosen colour when confirmed, else the given one.
TColor RunColorDialog(TControl* Owner, TColor Color);
// True (and the colour stored) when the user chose a different colour.
bool EditColorValue(TControl* Owner, TColor& Color);

// A push button linked to one published property of another object, whose
// value it paints at its right end.
class TGrafButton : public TButton {
  ZV_CLASS(TGrafButton)
public:
  explicit TGrafButton(TComponent* AOwner);

  // Remembers the object and the property of that name (none for an empty
  // name) and repaints.
  void LinkProperty(TObject* Instance, const std::string& PropName);
  TObject* LinkedObject() const { return FLinkedObject; }
  const TPropInfo* LinkedProperty() const { return FLinkedProp; }

  // Paints the linked property's value; nothing here.
  virtual void DrawSwatch(TGrafCanvas3D* Canvas);
  // The swatch area at the right end of the button.
  TRect SwatchRect() const;
  // Draws the swatch onto a canvas of the button's face through a temporary
  // chart canvas (the button's paint calls it).
  void PaintSwatch(TCanvas* Target);

protected:
  void CMTextChanged(TMessage& M) override;
  void CMEnabledChanged(TMessage& M) override;
  void PaintOverlay(TCanvas* Canvas) override;

  TObject* FLinkedObject = nullptr;
  const TPropInfo* FLinkedProp = nullptr;
};

// Edits a colour: the linked property, or FallbackColor when none is linked.
class TButtonColor : public TGrafButton {
  ZV_CLASS(TButtonColor)
public:
  explicit TButtonColor(TComponent* AOwner) : TGrafButton(AOwner) {}

  // The query's colour when assigned; else the linked property as RGB; else FallbackColor.
  TColor GetLinkedColor() const;
  void SetLinkedColor(TColor Value);
  // Runs the colour dialog; a new colour is stored, painted, then OnClick fires.
  void Click() override;
  void DrawSwatch(TGrafCanvas3D* Canvas) override;

  TColor FallbackColor = clBlack;
  std::function<TColor()> OnGetColor;
};

// A combo box that draws a flat frame while the mouse is away from it.
class TComboFlat : public TComboBox {
  ZV_CLASS(TComboFlat)
public:
  explicit TComboFlat(TComponent* AOwner);

  // The width of the dropped-down list (the control's width unless set).
  int DropDownWidth();
  void SetDropDownWidth(int Value);
  // The mouse is over the control.
  bool Inside() const { return FInside; }
  // The flat frame over the control's border (the combo's paint calls it).
  void PaintFlatFrame(TCanvas* Target);

protected:
  void CMMouseEnter(TMessage& M) override;
  void CMMouseLeave(TMessage& M) override;
  void CMEnter(TMessage& M) override;
  void CMExit(TMessage& M) override;
  void PaintOverlay(TCanvas* Canvas) override;

private:
  bool FInside = false;
};
