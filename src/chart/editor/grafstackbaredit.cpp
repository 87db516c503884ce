#include "chart/editor/grafstackbaredit.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TStackBarSeriesEditor, TForm)

TStackBarSeriesEditor::TStackBarSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(170);
  CBYOrigin = Make<TCheckBox>(this, this, "CBYOrigin", 8, 8, 100, 17, "Use &Origin:");
  EYOrigin = Make<TEdit>(this, this, "EYOrigin", 110, 6, 80, 21);
  RGMultiBar = Make<TRadioGroup>(this, this, "RGMultiBar", 8, 36, 150, 128);
  RGMultiBar->SetCaption("&Multiple Bar:");
  for (const char* s : {"None", "Side", "Stacked", "Stacked 100%", "Side All", "Self Stack"})
    RGMultiBar->Items()->Add(s);
  EGroup = Make<TEdit>(this, this, "EGroup", 170, 60, 40, 21);
  UDGroup = Make<TUpDown>(this, this, "UDGroup", 210, 60, 15, 21);
  UDGroup->SetMin(0);
  UDGroup->SetMax(100);
  UDGroup->SetAssociate(EGroup);
  LGroup = MakeLabel(this, this, "LGroup", 170, 42, "&Stack Group:", EGroup);
  CBYOrigin->OnClick = [this](TObject* s) { CBYOriginClick(s); };
  EYOrigin->OnChange = [this](TObject* s) { EYOriginChange(s); };
  RGMultiBar->OnClick = [this](TObject* s) { RGMultiBarClick(s); };
  EGroup->OnChange = [this](TObject* s) { EGroupChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TStackBarSeriesEditor::FormCreate(TObject*) {
  FLoading = true;
  SetAlign(alClient);
}

void TStackBarSeriesEditor::EnableGroup() {
  const bool stacked = Series && (Series->MultiBar() == mbStacked || Series->MultiBar() == mbStacked100);
  EGroup->SetEnabled(stacked);
  UDGroup->SetEnabled(stacked);
}

void TStackBarSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCustomBarSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  CBYOrigin->SetChecked(Series->UseYOrigin());
  EYOrigin->SetEnabled(Series->UseYOrigin());
  EYOrigin->SetText(FloatToStr(Series->YOrigin()));
  RGMultiBar->SetItemIndex(Series->MultiBar());
  UDGroup->SetPosition(Series->StackGroup());
  EnableGroup();
  FLoading = false;
}

void TStackBarSeriesEditor::CBYOriginClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetUseYOrigin(CBYOrigin->Checked());
  EYOrigin->SetEnabled(CBYOrigin->Checked());
  if (EYOrigin->Enabled() && EYOrigin->CanFocus()) EYOrigin->SetFocus();
}

void TStackBarSeriesEditor::EYOriginChange(TObject*) {
  if (FLoading || !Series) return;
  double value;
  if (TryStrToFloat(EYOrigin->Text(), value)) Series->SetYOrigin(value);
}

void TStackBarSeriesEditor::RGMultiBarClick(TObject*) {
  if (FLoading || !Series || RGMultiBar->ItemIndex() < 0) return;
  Series->SetMultiBar(static_cast<TMultiBar>(RGMultiBar->ItemIndex()));
  EnableGroup();
}

void TStackBarSeriesEditor::EGroupChange(TObject*) {
  if (!FLoading && Series) Series->SetStackGroup(UDGroup->Position());
}

void RegisterStackBarEditorClasses() { RegisterClasses({&TStackBarSeriesEditor::StaticClass()}); }
