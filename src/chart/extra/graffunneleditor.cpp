#include "chart/extra/graffunneleditor.h"

#include <cmath>

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/extra/graffunnel.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TFunnelSeriesEditor, TForm)

TFunnelSeriesEditor::TFunnelSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(280);
  SetClientHeight(104);
  ButtonPen1 = Make<TButtonPen>(this, this, "ButtonPen1", 8, 8, 85, 25, "&Lines...");
  ButtonPen2 = Make<TButtonPen>(this, this, "ButtonPen2", 8, 40, 85, 25, "&Border...");
  Button1 = Make<TButton>(this, this, "Button1", 8, 72, 85, 25, "&Pattern...");
  AboveColor = Make<TButtonColor>(this, this, "AboveColor", 104, 8, 85, 25, "&Above...");
  WithinColor = Make<TButtonColor>(this, this, "WithinColor", 104, 40, 85, 25, "&Within...");
  BelowColor = Make<TButtonColor>(this, this, "BelowColor", 104, 72, 85, 25, "B&elow...");
  Edit1 = Make<TEdit>(this, this, "Edit1", 200, 28, 33, 21);
  DifLimit = Make<TUpDown>(this, this, "DifLimit", 233, 28, 15, 21);
  DifLimit->SetMin(1);
  DifLimit->SetMax(50);
  DifLimit->SetAssociate(Edit1);
  DifLimit->SetPosition(30);
  Label1 = MakeLabel(this, this, "Label1", 200, 10, "&Dif. Limit:", Edit1);

  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFunnelSeriesEditor::FormCreate(TObject*) { SetAlign(alClient); }

void TFunnelSeriesEditor::FormShow(TObject*) {
  Funnel = dynamic_cast<TFunnelSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Funnel) return;
  FLoading = true;
  ButtonPen1->LinkPen(Funnel->LinesPen());
  ButtonPen2->LinkPen(Funnel->Pen());
  AboveColor->LinkProperty(Funnel, "AboveColor");
  WithinColor->LinkProperty(Funnel, "WithinColor");
  BelowColor->LinkProperty(Funnel, "BelowColor");
  // Showing a fractional limit rounded must not store the rounded value.
  DifLimit->SetPosition(static_cast<int>(std::lround(Funnel->DifferenceLimit())));
  FLoading = false;
}

void TFunnelSeriesEditor::Button1Click(TObject*) {
  if (Funnel) RunBrushDialog(this, Funnel->Brush());
}

void TFunnelSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Funnel && FormShowing(this)) Funnel->SetDifferenceLimit(DifLimit->Position());
}
