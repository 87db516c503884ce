#include "chart/extra/grafcolorlineeditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/graftools.h"
#include "platform/rtl/format.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TColorLineToolEditor, TAxisToolEditor)

namespace {
TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}
}  // namespace

TColorLineToolEditor::TColorLineToolEditor(TComponent* AOwner) : TAxisToolEditor(AOwner) {
  // Loading until the end of the first showing.
  FLoading = true;
  SetClientHeight(190);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 37, 300, 153);
  PageControl1->SetAlign(alClient);
  TabValue = MakeSheet(this, PageControl1, "TabValue", "Value");
  EValue = Make<TEdit>(this, TabValue, "EValue", 64, 12, 105, 21);
  Label2 = MakeLabel(this, TabValue, "Label2", 8, 16, "&Value: ", EValue);
  CBStyle = Make<TComboFlat>(this, TabValue, "CBStyle", 64, 44, 121, 21);
  CBStyle->SetStyle(csDropDownList);
  for (const char* s : {"Custom", "Axis Maximum", "Axis Center", "Axis Minimum"}) CBStyle->Items()->Add(s);
  Label3 = MakeLabel(this, TabValue, "Label3", 8, 48, "&Style:", CBStyle);
  TabOptions = MakeSheet(this, PageControl1, "TabOptions", "Options");
  CBAllowDrag = Make<TCheckBox>(this, TabOptions, "CBAllowDrag", 8, 8, 130, 17, "Allow &Drag");
  CBDragRepaint = Make<TCheckBox>(this, TabOptions, "CBDragRepaint", 8, 32, 130, 17, "Drag &Repaint");
  CBNoLimitDrag = Make<TCheckBox>(this, TabOptions, "CBNoLimitDrag", 8, 56, 130, 17, "No &Limit Drag");
  CBDrawBehind = Make<TCheckBox>(this, TabOptions, "CBDrawBehind", 150, 8, 130, 17, "Dra&w Behind");
  CBDraw3D = Make<TCheckBox>(this, TabOptions, "CBDraw3D", 150, 32, 130, 17, "Draw &3D");
  CBDraw3D->SetChecked(true);
  PageControl1->SetActivePageIndex(0);
  BPen->SetCaption("&Border...");

  EValue->OnChange = [this](TObject*) {
    double v;
    if (Writing() && ReadTypedNumber(EValue->Text(), v)) Line()->SetValue(v);
  };
  CBStyle->OnChange = [this](TObject*) {
    if (!Writing() || CBStyle->ItemIndex() < 0) return;
    Line()->SetStyle(static_cast<TColorLineStyle>(CBStyle->ItemIndex()));
    EValue->SetEnabled(Line()->Style() == clCustom);
  };
  CBAllowDrag->OnClick = [this](TObject*) {
    if (Writing()) Line()->SetAllowDrag(CBAllowDrag->Checked());
  };
  CBDragRepaint->OnClick = [this](TObject*) {
    if (Writing()) Line()->SetDragRepaint(CBDragRepaint->Checked());
  };
  CBNoLimitDrag->OnClick = [this](TObject*) {
    if (Writing()) Line()->SetNoLimitDrag(CBNoLimitDrag->Checked());
  };
  CBDrawBehind->OnClick = [this](TObject*) {
    if (Writing()) Line()->SetDrawBehind(CBDrawBehind->Checked());
  };
  CBDraw3D->OnClick = [this](TObject*) {
    if (Writing()) Line()->SetDraw3D(CBDraw3D->Checked());
  };
}

TColorLineTool* TColorLineToolEditor::Line() const { return dynamic_cast<TColorLineTool*>(FTool); }

void TColorLineToolEditor::FormShow(TObject* Sender) {
  FLoading = true;
  TAxisToolEditor::FormShow(Sender);
  if (TColorLineTool* l = Line()) {
    EValue->SetText(FloatToStr(l->Value()));
    CBStyle->SetItemIndex(l->Style());
    EValue->SetEnabled(l->Style() == clCustom);
    CBAllowDrag->SetChecked(l->AllowDrag());
    CBDragRepaint->SetChecked(l->DragRepaint());
    CBNoLimitDrag->SetChecked(l->NoLimitDrag());
    CBDrawBehind->SetChecked(l->DrawBehind());
    CBDraw3D->SetChecked(l->Draw3D());
  }
  FLoading = false;
}
