#include "chart/extra/grafnearesttooleditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/series/graftools.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TNearestToolEdit, TSeriesToolEditor)

TNearestToolEdit::TNearestToolEdit(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientWidth(300);
  SetClientHeight(160);
  BPen = Make<TButtonPen>(this, this, "BPen", 8, 36, 75, 25, "&Pen...");
  Button1 = Make<TButton>(this, this, "Button1", 96, 36, 75, 25, "&Brush...");
  BLine = Make<TButtonPen>(this, this, "BLine", 184, 36, 75, 25, "&Line...");
  Edit1 = Make<TEdit>(this, this, "Edit1", 64, 72, 33, 21);
  Edit1->SetText("0");
  UDSize = Make<TUpDown>(this, this, "UDSize", 97, 72, 15, 21);
  UDSize->SetMin(0);
  UDSize->SetMax(200);
  UDSize->SetAssociate(Edit1);
  Label2 = MakeLabel(this, this, "Label2", 8, 76, "S&ize:", Edit1);
  CBStyle = Make<TComboFlat>(this, this, "CBStyle", 168, 72, 105, 21);
  CBStyle->SetStyle(csDropDownList);
  for (const char* s : {"None", "Circle", "Rectangle", "Diamond"}) CBStyle->Items()->Add(s);
  Label3 = MakeLabel(this, this, "Label3", 128, 76, "S&tyle:", CBStyle);
  CBFull = Make<TCheckBox>(this, this, "CBFull", 8, 104, 150, 17, "&Full Repaint");

  Button1->OnClick = [this](TObject*) {
    if (Nearest()) RunBrushDialog(this, Nearest()->Brush());
  };
  Edit1->OnChange = [this](TObject*) {
    if (Writing() && FormShowing(this)) Nearest()->SetSize(UDSize->Position());
  };
  CBStyle->OnChange = [this](TObject*) {
    if (Writing() && CBStyle->ItemIndex() >= 0)
      Nearest()->SetStyle(static_cast<TNearestToolStyle>(CBStyle->ItemIndex()));
  };
  CBFull->OnClick = [this](TObject*) {
    if (Writing()) Nearest()->SetFullRepaint(CBFull->Checked());
  };
}

TNearestTool* TNearestToolEdit::Nearest() const { return dynamic_cast<TNearestTool*>(FTool); }

void TNearestToolEdit::FormShow(TObject* Sender) {
  FLoading = true;
  TSeriesToolEditor::FormShow(Sender);
  if (TNearestTool* n = Nearest()) {
    BPen->LinkPen(n->Pen());
    BLine->LinkPen(n->LinePen());
    UDSize->SetPosition(n->Size());
    CBStyle->SetItemIndex(n->Style());
    CBFull->SetChecked(n->FullRepaint());
  }
  FLoading = false;
}
