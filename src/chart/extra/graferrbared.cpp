#include "chart/extra/graferrbared.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/errorbar.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TErrorSeriesEditor, TForm)

TErrorSeriesEditor::TErrorSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(370);
  SetClientHeight(170);
  SetPosition(poScreenCenter);
  SetBorderStyle(bsDialog);
  FTabs = new TEditorTabs(this);
  SEBarwidth = Make<TEdit>(this, this, "SEBarwidth", 84, 8, 40, 21);
  SEBarwidth->SetText("0");
  UDBarWidth = Make<TUpDown>(this, this, "UDBarWidth", 124, 8, 15, 21);
  UDBarWidth->SetMin(0);
  UDBarWidth->SetMax(100);
  UDBarWidth->SetPosition(0);
  UDBarWidth->SetAssociate(SEBarwidth);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "Error &Width:", SEBarwidth);
  RGWidthUnit = Make<TRadioGroup>(this, this, "RGWidthUnit", 8, 36, 131, 58, "Width Units:");
  RGWidthUnit->Items()->Add("P&ercent");
  RGWidthUnit->Items()->Add("P&ixels");
  RGStyle = Make<TRadioGroup>(this, this, "RGStyle", 146, 4, 220, 90, "Style:");
  RGStyle->SetColumns(2);
  for (const char* s : {"&Left", "&Right", "Left &and Right", "&Top", "&Bottom", "T&op and Bottom"})
    RGStyle->Items()->Add(s);
  CBColorEach = Make<TCheckBox>(this, this, "CBColorEach", 8, 104, 110, 17, "&Color Each");
  BPen = Make<TButtonPen>(this, this, "BPen", 146, 100, 89, 25, "&Border...");

  SEBarwidth->OnChange = [this](TObject* s) { SEBarwidthChange(s); };
  RGWidthUnit->OnClick = [this](TObject* s) { RGWidthUnitClick(s); };
  RGStyle->OnClick = [this](TObject* s) { RGStyleClick(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  BPen->OnClick = [this](TObject* s) { BPenClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TErrorSeriesEditor::~TErrorSeriesEditor() { FireOnDestroy(this); }

void TErrorSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TErrorSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCustomErrorSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  UDBarWidth->SetPosition(Series->ErrorWidth());
  RGWidthUnit->SetItemIndex(Series->ErrorWidthUnits());
  // Only the whiskers-alone series publishes a direction.
  RGStyle->SetVisible(!Series->DrawBars());
  RGStyle->SetItemIndex(Series->ErrorStyle());
  CBColorEach->SetChecked(Series->ColorEachPoint());
  BPen->LinkPen(Series->ErrorPen());
  FLoading = false;
  if (Series->DrawBars() && !FBarForm)
    FTabs->Keep(FBarForm, dynamic_cast<TBarSeriesEditor*>(CreateSeriesEditorTab(
                              Parent(), &TBarSeriesEditor::StaticClass(), 1, "Bar", Series)));
}

void TErrorSeriesEditor::SEBarwidthChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetErrorWidth(UDBarWidth->Position());
}

void TErrorSeriesEditor::RGWidthUnitClick(TObject*) {
  if (!FLoading && Series && RGWidthUnit->ItemIndex() >= 0)
    Series->SetErrorWidthUnits(static_cast<TErrorWidthUnits>(RGWidthUnit->ItemIndex()));
}

void TErrorSeriesEditor::RGStyleClick(TObject*) {
  if (!FLoading && Series && FormShowing(this) && RGStyle->ItemIndex() >= 0)
    Series->SetErrorStyle(static_cast<TErrorSeriesStyle>(RGStyle->ItemIndex()));
}

void TErrorSeriesEditor::CBColorEachClick(TObject*) {
  if (!FLoading && Series) Series->SetColorEachPoint(CBColorEach->Checked());
}

void TErrorSeriesEditor::BPenClick(TObject*) {
  // The whiskers of the error series are drawn in the series colour.
  if (Series && !Series->DrawBars()) Series->SetSeriesColor(Series->ErrorPen()->Color());
}
