#include "chart/extra/grafcolorbandedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/series/graftools.h"
#include "platform/rtl/format.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TColorBandToolEditor, TAxisToolEditor)

namespace {
TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}
}  // namespace

TColorBandToolEditor::TColorBandToolEditor(TComponent* AOwner) : TAxisToolEditor(AOwner) {
  SetClientHeight(210);
  BPattern = Make<TButton>(this, PanelTop, "BPattern", 280, 6, 89, 25, "&Pattern...");
  SetClientWidth(380);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 37, 380, 173);
  PageControl1->SetAlign(alClient);
  TabValues = MakeSheet(this, PageControl1, "TabValues", "Values");
  EStart = Make<TEdit>(this, TabValues, "EStart", 88, 12, 89, 21);
  Label2 = MakeLabel(this, TabValues, "Label2", 8, 16, "&Start value:", EStart);
  EEnd = Make<TEdit>(this, TabValues, "EEnd", 88, 44, 89, 21);
  Label3 = MakeLabel(this, TabValues, "Label3", 8, 48, "&End value:", EEnd);
  CBStart = Make<TCheckBox>(this, TabValues, "CBStart", 192, 14, 81, 17, "Allo&w drag");
  CBEnd = Make<TCheckBox>(this, TabValues, "CBEnd", 192, 46, 81, 17, "Allow &drag");
  BStart = Make<TButtonPen>(this, TabValues, "BStart", 280, 10, 81, 25, "B&order...");
  BEnd = Make<TButtonPen>(this, TabValues, "BEnd", 280, 42, 81, 25, "Bo&rder...");
  TabOptions = MakeSheet(this, PageControl1, "TabOptions", "Options");
  BGradient = Make<TButtonGradient>(this, TabOptions, "BGradient", 8, 8, 89, 25, "&Gradient...");
  ButtonColor1 = Make<TButtonColor>(this, TabOptions, "ButtonColor1", 8, 40, 89, 25, "&Color...");
  ETrans = Make<TEdit>(this, TabOptions, "ETrans", 200, 10, 33, 21);
  ETrans->SetText("0");
  UDTrans = Make<TUpDown>(this, TabOptions, "UDTrans", 233, 10, 15, 21);
  UDTrans->SetMin(0);
  UDTrans->SetMax(100);
  UDTrans->SetAssociate(ETrans);
  Label4 = MakeLabel(this, TabOptions, "Label4", 112, 14, "&Transparency:", ETrans);
  CBDrawBehind = Make<TCheckBox>(this, TabOptions, "CBDrawBehind", 112, 44, 150, 17, "&Draw Behind");
  CBBeforeAxes = Make<TCheckBox>(this, TabOptions, "CBBeforeAxes", 112, 68, 150, 17, "&Draw Behind A&xes");
  CBCursor = Make<TComboFlat>(this, TabOptions, "CBCursor", 64, 96, 121, 21);
  CBCursor->SetStyle(csDropDownList);
  Label5 = MakeLabel(this, TabOptions, "Label5", 8, 100, "C&ursor:", CBCursor);
  PageControl1->SetActivePageIndex(0);

  BPattern->OnClick = [this](TObject*) {
    if (Band()) RunBrushDialog(this, Band()->Brush());
  };
  EStart->OnChange = [this](TObject*) {
    double v;
    if (Writing() && ReadTypedNumber(EStart->Text(), v)) Band()->SetStartValue(v);
  };
  EEnd->OnChange = [this](TObject*) {
    double v;
    if (Writing() && ReadTypedNumber(EEnd->Text(), v)) Band()->SetEndValue(v);
  };
  CBStart->OnClick = [this](TObject*) {
    if (Writing()) Band()->SetResizeStart(CBStart->Checked());
  };
  CBEnd->OnClick = [this](TObject*) {
    if (Writing()) Band()->SetResizeEnd(CBEnd->Checked());
  };
  ETrans->OnChange = [this](TObject*) {
    if (Writing() && FormShowing(this)) Band()->SetTransparency(UDTrans->Position());
  };
  CBDrawBehind->OnClick = [this](TObject*) {
    if (Writing()) Band()->SetDrawBehind(CBDrawBehind->Checked());
  };
  CBBeforeAxes->OnClick = [this](TObject*) {
    if (Writing()) Band()->SetDrawBehindAxes(CBBeforeAxes->Checked());
  };
  CBCursor->OnChange = [this](TObject*) {
    if (Writing()) Band()->SetCursor(CursorFromName(Band()->Cursor(), CBCursor->Text()));
  };
}

TColorBandTool* TColorBandToolEditor::Band() const { return dynamic_cast<TColorBandTool*>(FTool); }

void TColorBandToolEditor::FormShow(TObject* Sender) {
  FLoading = true;
  TAxisToolEditor::FormShow(Sender);
  if (TColorBandTool* b = Band()) {
    EStart->SetText(FloatToStr(b->StartValue()));
    EEnd->SetText(FloatToStr(b->EndValue()));
    CBStart->SetChecked(b->ResizeStart());
    CBEnd->SetChecked(b->ResizeEnd());
    BStart->LinkPen(b->StartLinePen());
    BEnd->LinkPen(b->EndLinePen());
    BGradient->LinkGradient(b->Gradient());
    ButtonColor1->LinkProperty(b, "Color");
    UDTrans->SetPosition(b->Transparency());
    CBDrawBehind->SetChecked(b->DrawBehind());
    CBBeforeAxes->SetChecked(b->DrawBehindAxes());
    FillCursorCombo(CBCursor, b->Cursor());
  }
  FLoading = false;
}
