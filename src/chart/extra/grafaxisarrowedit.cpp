#include "chart/extra/grafaxisarrowedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/series/graftools.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TAxisArrowToolEditor, TAxisToolEditor)

namespace {

TUpDown* MakeUpDown(TComponent* Owner, TWinControl* Parent, const char* Name, TEdit* Edit, int Min, int Max) {
  auto* ud = Make<TUpDown>(Owner, Parent, Name, Edit->Left() + Edit->Width(), Edit->Top(), 15, Edit->Height());
  ud->SetMin(Min);
  ud->SetMax(Max);
  ud->SetAssociate(Edit);
  return ud;
}

}  // namespace

TAxisArrowToolEditor::TAxisArrowToolEditor(TComponent* AOwner) : TAxisToolEditor(AOwner) {
  SetClientHeight(200);
  Button1 = Make<TButton>(this, this, "Button1", 8, 44, 89, 25, "&Pattern...");
  ELength = Make<TEdit>(this, this, "ELength", 64, 80, 33, 21);
  UDLength = MakeUpDown(this, this, "UDLength", ELength, 0, 100);
  LL = MakeLabel(this, this, "LL", 8, 84, "&Length:", ELength);
  CBPos = Make<TComboFlat>(this, this, "CBPos", 184, 46, 89, 21);
  CBPos->SetStyle(csDropDownList);
  for (const char* s : {"Start", "End", "Both"}) CBPos->Items()->Add(s);
  Label2 = MakeLabel(this, this, "Label2", 128, 50, "P&osition:", CBPos);
  Edit1 = Make<TEdit>(this, this, "Edit1", 184, 80, 33, 21);
  Edit1->SetText("10");
  UDScroll = MakeUpDown(this, this, "UDScroll", Edit1, 1, 100);
  UDScroll->SetPosition(10);
  Label3 = MakeLabel(this, this, "Label3", 128, 84, "&Scroll:", Edit1);
  Label4 = MakeLabel(this, this, "Label4", 236, 84, "%");
  CBInv = Make<TCheckBox>(this, this, "CBInv", 128, 112, 150, 17, "&Inverted Scroll");
  ESize = Make<TEdit>(this, this, "ESize", 64, 112, 33, 21);
  UDSize = MakeUpDown(this, this, "UDSize", ESize, 0, 100);
  Label5 = MakeLabel(this, this, "Label5", 8, 116, "Si&ze:", ESize);
  Label6 = MakeLabel(this, this, "Label6", 116, 116, "%");
  EWidth = Make<TEdit>(this, this, "EWidth", 64, 144, 33, 21);
  UDWidth = MakeUpDown(this, this, "UDWidth", EWidth, 0, 100);
  Label7 = MakeLabel(this, this, "Label7", 8, 148, "&Width:", EWidth);

  Button1->OnClick = [this](TObject*) {
    if (Arrow()) RunBrushDialog(this, Arrow()->Brush());
  };
  ELength->OnChange = [this](TObject*) {
    if (Writing()) Arrow()->SetLength(UDLength->Position());
  };
  CBPos->OnChange = [this](TObject*) {
    if (Writing() && CBPos->ItemIndex() >= 0)
      Arrow()->SetPosition(static_cast<TAxisArrowToolPosition>(CBPos->ItemIndex()));
  };
  Edit1->OnChange = [this](TObject*) {
    if (Writing()) Arrow()->SetScrollPercent(UDScroll->Position());
  };
  CBInv->OnClick = [this](TObject*) {
    if (Writing()) Arrow()->SetScrollInverted(CBInv->Checked());
  };
  ESize->OnChange = [this](TObject*) {
    if (Writing()) Arrow()->SetSizePercent(UDSize->Position());
  };
  EWidth->OnChange = [this](TObject*) {
    if (Writing()) Arrow()->SetHeadWidth(UDWidth->Position());
  };
}

TAxisArrowTool* TAxisArrowToolEditor::Arrow() const { return dynamic_cast<TAxisArrowTool*>(FTool); }

bool TAxisArrowToolEditor::Writing() const { return Arrow() && !FLoading && FormShowing(this); }

void TAxisArrowToolEditor::FormShow(TObject* Sender) {
  FLoading = true;
  TAxisToolEditor::FormShow(Sender);
  if (TAxisArrowTool* a = Arrow()) {
    UDLength->SetPosition(a->Length());
    CBPos->SetItemIndex(a->Position());
    UDScroll->SetPosition(a->ScrollPercent());
    CBInv->SetChecked(a->ScrollInverted());
    UDSize->SetPosition(a->SizePercent());
    UDWidth->SetPosition(a->HeadWidth());
  }
  FLoading = false;
}
