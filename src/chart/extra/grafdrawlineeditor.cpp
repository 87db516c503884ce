#include "chart/extra/grafdrawlineeditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/series/graftools.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TDrawLineEdit, TSeriesToolEditor)

TDrawLineEdit::TDrawLineEdit(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientWidth(300);
  SetClientHeight(160);
  CBButton = Make<TComboFlat>(this, this, "CBButton", 96, 36, 89, 21);
  CBButton->SetStyle(csDropDownList);
  for (const char* s : {"Left", "Right", "Middle"}) CBButton->Items()->Add(s);
  Label11 = MakeLabel(this, this, "Label11", 8, 40, "&Mouse button:", CBButton);
  BPen = Make<TButtonPen>(this, this, "BPen", 200, 34, 75, 25, "&Pen...");
  CBEnable = Make<TCheckBox>(this, this, "CBEnable", 8, 68, 130, 17, "&Enable drawing");
  CBSelect = Make<TCheckBox>(this, this, "CBSelect", 150, 68, 130, 17, "E&nable Select");
  CBSelectNew = Make<TCheckBox>(this, this, "CBSelectNew", 150, 92, 140, 17, "Select ne&w lines");
  EPixels = Make<TEdit>(this, this, "EPixels", 104, 120, 41, 21);
  EPixels->SetText("0");
  UDClick = Make<TUpDown>(this, this, "UDClick", 145, 120, 15, 21);
  UDClick->SetMin(0);
  UDClick->SetMax(1000);
  UDClick->SetAssociate(EPixels);
  Label2 = MakeLabel(this, this, "Label2", 8, 124, "Click &tolerance:", EPixels);
  Label3 = MakeLabel(this, this, "Label3", 168, 124, "pixels");

  CBButton->OnChange = [this](TObject*) {
    // The items follow the mouse buttons' own order.
    if (Writing() && CBButton->ItemIndex() >= 0) DrawLine()->SetButton(static_cast<TMouseButton>(CBButton->ItemIndex()));
  };
  CBEnable->OnClick = [this](TObject*) {
    if (Writing()) DrawLine()->SetEnableDraw(CBEnable->Checked());
  };
  CBSelect->OnClick = [this](TObject*) {
    if (Writing()) DrawLine()->SetEnableSelect(CBSelect->Checked());
  };
  CBSelectNew->OnClick = [this](TObject*) {
    if (Writing()) DrawLine()->SetSelectNewLines(CBSelectNew->Checked());
  };
  EPixels->OnChange = [this](TObject*) {
    if (Writing()) DrawLine()->SetClickTolerance(UDClick->Position());
  };
}

TDrawLineTool* TDrawLineEdit::DrawLine() const { return dynamic_cast<TDrawLineTool*>(FTool); }

void TDrawLineEdit::FormShow(TObject* Sender) {
  FLoading = true;
  TSeriesToolEditor::FormShow(Sender);
  if (TDrawLineTool* d = DrawLine()) {
    CBButton->SetItemIndex(d->Button());
    BPen->LinkPen(d->Pen());
    CBEnable->SetChecked(d->EnableDraw());
    CBSelect->SetChecked(d->EnableSelect());
    CBSelectNew->SetChecked(d->SelectNewLines());
    UDClick->SetPosition(d->ClickTolerance());
  }
  FLoading = false;
}
