#include "chart/editor/grafareaedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "platform/rtl/mathutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TAreaSeriesEditor, TForm)

TAreaSeriesEditor::TAreaSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(390);
  SetClientHeight(180);
  FTabs = new TEditorTabs(this);
  RGMultiArea = Make<TRadioGroup>(this, this, "RGMultiArea", 4, 4, 110, 80);
  RGMultiArea->SetCaption("&Multiple Areas:");
  for (const char* s : {"None", "Stacked", "Stacked 100%"}) RGMultiArea->Items()->Add(s);
  GroupBox2 = Make<TGroupBox>(this, this, "GroupBox2", 120, 4, 130, 170);
  GroupBox2->SetCaption("Area:");
  CBStairs = Make<TCheckBox>(this, GroupBox2, "CBStairs", 8, 16, 100, 17, "&Stairs");
  CBInvStairs = Make<TCheckBox>(this, GroupBox2, "CBInvStairs", 8, 34, 100, 17, "Inverted");
  BAreaLinesPen = Make<TButtonPen>(this, GroupBox2, "BAreaLinesPen", 8, 54, 110, 25, "Area &Lines...");
  BAreaLinePen = Make<TButtonPen>(this, GroupBox2, "BAreaLinePen", 8, 82, 110, 25, "&Border...");
  BPattern = Make<TButton>(this, GroupBox2, "BPattern", 8, 110, 110, 25, "&Pattern...");
  Button1 = Make<TButton>(this, GroupBox2, "Button1", 8, 138, 110, 25, "&Top...");
  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 256, 4, 130, 70);
  GroupBox1->SetCaption("Color:");
  CBColorEach = Make<TCheckBox>(this, GroupBox1, "CBColorEach", 8, 16, 100, 17, "Color &Each");
  BAreaColor = Make<TButtonColor>(this, GroupBox1, "BAreaColor", 8, 38, 110, 25, "&Color...");
  CBUseOrigin = Make<TCheckBox>(this, this, "CBUseOrigin", 4, 92, 100, 17, "&Use Origin");
  EOrigin = Make<TEdit>(this, this, "EOrigin", 50, 112, 50, 21);
  UDOrigin = Make<TUpDown>(this, this, "UDOrigin", 100, 112, 15, 21);
  UDOrigin->SetMin(-30000);
  UDOrigin->SetMax(30000);
  UDOrigin->SetThousands(false);
  UDOrigin->SetAssociate(EOrigin);
  LOrigin = MakeLabel(this, this, "LOrigin", 4, 116, "&Origin:", EOrigin);
  ETransp = Make<TEdit>(this, this, "ETransp", 300, 112, 35, 21);
  UDTransp = Make<TUpDown>(this, this, "UDTransp", 335, 112, 15, 21);
  UDTransp->SetMin(0);
  UDTransp->SetMax(100);
  UDTransp->SetAssociate(ETransp);
  LTransp = MakeLabel(this, this, "LTransp", 256, 94, "Tra&nsparency:", ETransp);

  // The button shows the area colour, or the series colour while that is the default.
  BAreaColor->OnGetColor = [this]() -> TColor {
    if (!Series) return clBlack;
    return Series->AreaColor() == clDefault ? Series->SeriesColor() : Series->AreaColor();
  };
  RGMultiArea->OnClick = [this](TObject* s) { RGMultiAreaClick(s); };
  CBStairs->OnClick = [this](TObject* s) { CBStairsClick(s); };
  CBInvStairs->OnClick = [this](TObject* s) { CBInvStairsClick(s); };
  BPattern->OnClick = [this](TObject* s) { BPatternClick(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  CBUseOrigin->OnClick = [this](TObject* s) { CBUseOriginClick(s); };
  EOrigin->OnChange = [this](TObject* s) { EOriginChange(s); };
  ETransp->OnChange = [this](TObject* s) { ETranspChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TAreaSeriesEditor::~TAreaSeriesEditor() { FireOnDestroy(this); }

void TAreaSeriesEditor::FormCreate(TObject*) {
  SetAlign(alClient);
  SetBorderStyle(bsDialog);
}

void TAreaSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TAreaSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TAreaSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  RGMultiArea->SetItemIndex(Series->MultiArea());
  CBStairs->SetChecked(Series->Stairs());
  CBInvStairs->SetChecked(Series->InvertedStairs());
  CBInvStairs->SetEnabled(Series->Stairs());
  BAreaLinesPen->LinkPen(Series->AreaLinesPen());
  BAreaLinePen->LinkPen(Series->LinePen());
  CBColorEach->SetChecked(Series->ColorEachPoint());
  BAreaColor->SetEnabled(!Series->ColorEachPoint());
  BAreaColor->LinkProperty(Series, "SeriesColor");
  CBUseOrigin->SetChecked(Series->UseYOrigin());
  UDOrigin->SetPosition(static_cast<int>(Round(Series->YOrigin())));
  EOrigin->SetEnabled(Series->UseYOrigin());
  UDOrigin->SetEnabled(Series->UseYOrigin());
  UDTransp->SetPosition(Series->Transparency());
  if (!FPointerForm) FTabs->Keep(FPointerForm, AddPointerEditorPage(Parent(), Series, "Point"));
  if (Parent() && !FGradientForm) {
    FTabs->Keep(FGradientForm, dynamic_cast<TGrafGradientEditor*>(CreateSeriesEditorTab(
                                   Parent(), &TGrafGradientEditor::StaticClass(), 2, "Gradient", Series)));
    if (FGradientForm) {
      FGradientForm->BindGradient(Series->GetGradient());
      for (const char* name : {"BOk", "BCancel"})
        if (auto* c = dynamic_cast<TControl*>(FGradientForm->FindComponent(name))) c->Hide();
    }
  }
  FLoading = false;
}

void TAreaSeriesEditor::RGMultiAreaClick(TObject*) {
  if (!FLoading && Series && RGMultiArea->ItemIndex() >= 0)
    Series->SetMultiArea(static_cast<TMultiArea>(RGMultiArea->ItemIndex()));
}

void TAreaSeriesEditor::CBStairsClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetStairs(CBStairs->Checked());
  CBInvStairs->SetEnabled(Series->Stairs());
}

void TAreaSeriesEditor::CBInvStairsClick(TObject*) {
  if (!FLoading && Series) Series->SetInvertedStairs(CBInvStairs->Checked());
}

void TAreaSeriesEditor::BPatternClick(TObject*) {
  if (Series) RunBrushDialog(this, Series->AreaChartBrush());
}

void TAreaSeriesEditor::Button1Click(TObject*) {
  if (Series) RunBrushDialog(this, Series->Brush());
}

void TAreaSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetColorEachPoint(CBColorEach->Checked());
  BAreaColor->SetEnabled(!CBColorEach->Checked());
}

void TAreaSeriesEditor::CBUseOriginClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetUseYOrigin(CBUseOrigin->Checked());
  EOrigin->SetEnabled(CBUseOrigin->Checked());
  UDOrigin->SetEnabled(CBUseOrigin->Checked());
}

void TAreaSeriesEditor::EOriginChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetYOrigin(UDOrigin->Position());
}

void TAreaSeriesEditor::ETranspChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetTransparency(UDTransp->Position());
}

void RegisterAreaSeriesEditorClasses() { RegisterClasses({&TAreaSeriesEditor::StaticClass()}); }
