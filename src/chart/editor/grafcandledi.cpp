#include "chart/editor/grafcandledi.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCandleEditor, TForm)

namespace {
TTabSheet* MakeSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption) {
  auto* t = new TTabSheet(Owner);
  t->SetName(Name);
  t->SetCaption(Caption);
  t->SetPageControl(Pages);
  return t;
}
}  // namespace

TCandleEditor::TCandleEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(330);
  SetClientHeight(180);
  PageControl1 = Make<TPageControl>(this, this, "PageControl1", 0, 0, 330, 180);
  PageControl1->SetAlign(alClient);
  TabOptions = MakeSheet(this, PageControl1, "TabOptions", "Options");
  TabColors = MakeSheet(this, PageControl1, "TabColors", "Colors");
  RGStyle = Make<TRadioGroup>(this, TabOptions, "RGStyle", 4, 4, 100, 100);
  RGStyle->SetCaption("Style:");
  for (const char* s : {"&Stick", "&Bar", "Ope&n Close", "&Line"}) RGStyle->Items()->Add(s);
  SEWidth = Make<TEdit>(this, TabOptions, "SEWidth", 200, 6, 40, 21);
  UDWidth = Make<TUpDown>(this, TabOptions, "UDWidth", 240, 6, 15, 21);
  UDWidth->SetMin(0);
  UDWidth->SetMax(100);
  UDWidth->SetAssociate(SEWidth);
  Label1 = MakeLabel(this, TabOptions, "Label1", 112, 10, "Candle &Width:", SEWidth);
  CBShowOpen = Make<TCheckBox>(this, TabOptions, "CBShowOpen", 112, 34, 100, 17, "Show &Open");
  CBShowClose = Make<TCheckBox>(this, TabOptions, "CBShowClose", 112, 54, 100, 17, "Show &Close");
  CBDraw3D = Make<TCheckBox>(this, TabOptions, "CBDraw3D", 220, 34, 90, 17, "Draw &3D");
  CBDark3D = Make<TCheckBox>(this, TabOptions, "CBDark3D", 220, 54, 90, 17, "Dar&k 3D");
  Button1 = Make<TButtonPen>(this, TabOptions, "Button1", 112, 80, 90, 25, "Bo&rder...");
  BHighLow = Make<TButtonPen>(this, TabOptions, "BHighLow", 112, 110, 90, 25, "&High-Low...");
  CBColorStyle = Make<TComboFlat>(this, TabColors, "CBColorStyle", 90, 8, 170, 21);
  CBColorStyle->SetStyle(csDropDownList);
  for (const char* s : {"Relative to Open", "Relative to previous Close"}) CBColorStyle->Items()->Add(s);
  Label2 = MakeLabel(this, TabColors, "Label2", 8, 12, "&Color style:", CBColorStyle);
  BUpColor = Make<TButtonColor>(this, TabColors, "BUpColor", 8, 40, 100, 25, "&Up Close...");
  BDownColor = Make<TButtonColor>(this, TabColors, "BDownColor", 8, 70, 100, 25, "&Down Close...");
  BUpGradient = Make<TButtonGradient>(this, TabColors, "BUpGradient", 120, 40, 100, 25, "&Gradient...");
  BDownGradient = Make<TButtonGradient>(this, TabColors, "BDownGradient", 120, 70, 100, 25, "G&radient...");

  RGStyle->OnClick = [this](TObject* s) { RGStyleClick(s); };
  SEWidth->OnChange = [this](TObject* s) { SEWidthChange(s); };
  CBShowOpen->OnClick = [this](TObject* s) { CBShowOpenClick(s); };
  CBShowClose->OnClick = [this](TObject* s) { CBShowCloseClick(s); };
  CBDraw3D->OnClick = [this](TObject* s) { CBDraw3DClick(s); };
  CBDark3D->OnClick = [this](TObject* s) { CBDark3DClick(s); };
  CBColorStyle->OnChange = [this](TObject* s) { CBColorStyleChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TCandleEditor::FormCreate(TObject*) {
  SetAlign(alClient);
  PageControl1->SetActivePage(TabColors);
}

void TCandleEditor::ApplyStyleRules() {
  const TCandleStyle style = Series ? Series->CandleStyle() : csCandleStick;
  CBShowOpen->SetEnabled(style == csCandleBar);
  CBShowClose->SetEnabled(style == csCandleBar);
  const bool solid = style != csLine && style != csCandleBar;
  CBDraw3D->SetEnabled(solid);
  CBDark3D->SetEnabled(solid);
  SEWidth->SetEnabled(style != csLine);
  UDWidth->SetEnabled(style != csLine);
  Button1->HideColor = style == csCandleBar || style == csLine;
}

void TCandleEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCandleSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  RGStyle->SetItemIndex(Series->CandleStyle());
  UDWidth->SetPosition(Series->CandleWidth());
  CBShowOpen->SetChecked(Series->ShowOpenTick());
  CBShowClose->SetChecked(Series->ShowCloseTick());
  CBDraw3D->SetChecked(Series->CandleDraw3D());
  CBDark3D->SetChecked(Series->CandleDark3D());
  Button1->LinkPen(Series->CandlePen());
  BHighLow->LinkPen(Series->HighLowPen());
  BUpGradient->LinkGradient(Series->UpCloseGradient());
  BDownGradient->LinkGradient(Series->DownCloseGradient());
  BUpColor->LinkProperty(Series, "UpCloseColor");
  BDownColor->LinkProperty(Series, "DownCloseColor");
  CBColorStyle->SetItemIndex(Series->ColorStyle());
  ApplyStyleRules();
  FLoading = false;
}

void TCandleEditor::RGStyleClick(TObject*) {
  if (FLoading || !Series || RGStyle->ItemIndex() < 0) return;
  Series->SetCandleStyle(static_cast<TCandleStyle>(RGStyle->ItemIndex()));
  ApplyStyleRules();
}

void TCandleEditor::SEWidthChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetCandleWidth(UDWidth->Position());
}

void TCandleEditor::CBShowOpenClick(TObject*) {
  if (!FLoading && Series) Series->SetShowOpenTick(CBShowOpen->Checked());
}

void TCandleEditor::CBShowCloseClick(TObject*) {
  if (!FLoading && Series) Series->SetShowCloseTick(CBShowClose->Checked());
}

void TCandleEditor::CBDraw3DClick(TObject*) {
  if (!FLoading && Series) Series->SetCandleDraw3D(CBDraw3D->Checked());
}

void TCandleEditor::CBDark3DClick(TObject*) {
  if (!FLoading && Series) Series->SetCandleDark3D(CBDark3D->Checked());
}

void TCandleEditor::CBColorStyleChange(TObject*) {
  if (!FLoading && Series && CBColorStyle->ItemIndex() >= 0)
    Series->SetColorStyle(static_cast<TCandleColorStyle>(CBColorStyle->ItemIndex()));
}

void RegisterCandleEditorClasses() { RegisterClasses({&TCandleEditor::StaticClass()}); }
