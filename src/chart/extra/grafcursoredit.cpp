#include "chart/extra/grafcursoredit.h"

#include "chart/editor/editorbuild.h"
#include "chart/series/graftools.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCursorToolEditor, TSeriesToolEditor)

TCursorToolEditor::TCursorToolEditor(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientWidth(300);
  SetClientHeight(160);
  BPen = Make<TButtonPen>(this, this, "BPen", 216, 6, 75, 25, "&Pen...");
  CBStyle = Make<TComboFlat>(this, this, "CBStyle", 64, 36, 105, 21);
  CBStyle->SetStyle(csDropDownList);
  for (const char* s : {"Horizontal", "Vertical", "Both"}) CBStyle->Items()->Add(s);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "S&tyle:", CBStyle);
  CBSnap = Make<TCheckBox>(this, this, "CBSnap", 184, 38, 100, 17, "S&nap");
  CBFollow = Make<TCheckBox>(this, this, "CBFollow", 8, 68, 150, 17, "&Follow mouse");
  CBZ = Make<TCheckBox>(this, this, "CBZ", 184, 62, 110, 17, "Use Series &Z");
  EPixels = Make<TEdit>(this, this, "EPixels", 104, 96, 41, 21);
  EPixels->SetText("0");
  UDClick = Make<TUpDown>(this, this, "UDClick", 145, 96, 15, 21);
  UDClick->SetMin(0);
  UDClick->SetMax(1000);
  UDClick->SetAssociate(EPixels);
  Label3 = MakeLabel(this, this, "Label3", 8, 100, "Click &tolerance:", EPixels);
  Label4 = MakeLabel(this, this, "Label4", 168, 100, "pixels");

  CBStyle->OnChange = [this](TObject*) {
    if (Writing() && CBStyle->ItemIndex() >= 0) Cursor()->SetStyle(static_cast<TCursorToolStyle>(CBStyle->ItemIndex()));
  };
  CBSnap->OnClick = [this](TObject*) {
    if (Writing()) Cursor()->SetSnap(CBSnap->Checked());
  };
  CBFollow->OnClick = [this](TObject*) {
    if (Writing()) Cursor()->SetFollowMouse(CBFollow->Checked());
  };
  CBZ->OnClick = [this](TObject*) {
    if (Writing()) Cursor()->SetUseSeriesZ(CBZ->Checked());
  };
  EPixels->OnChange = [this](TObject*) {
    if (Writing()) Cursor()->SetClickTolerance(UDClick->Position());
  };
}

TCursorTool* TCursorToolEditor::Cursor() const { return dynamic_cast<TCursorTool*>(FTool); }

void TCursorToolEditor::EnableSnap() {
  CBSnap->SetEnabled(Cursor() && Cursor()->Series());
  CBZ->SetEnabled(CBSnap->Enabled());
}

void TCursorToolEditor::CBSeriesChange(TObject* Sender) {
  TSeriesToolEditor::CBSeriesChange(Sender);
  EnableSnap();
}

void TCursorToolEditor::FormShow(TObject* Sender) {
  FLoading = true;
  TSeriesToolEditor::FormShow(Sender);
  if (TCursorTool* c = Cursor()) {
    BPen->LinkPen(c->Pen());
    CBStyle->SetItemIndex(c->Style());
    CBSnap->SetChecked(c->Snap());
    CBFollow->SetChecked(c->FollowMouse());
    CBZ->SetChecked(c->UseSeriesZ());
    UDClick->SetPosition(c->ClickTolerance());
    EnableSnap();
  }
  FLoading = false;
}
