#include "chart/editor/grafpo3dedit.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/mathutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TPoint3DSeriesEditor, TForm)

TPoint3DSeriesEditor::TPoint3DSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(260);
  SetClientHeight(120);
  FTabs = new TEditorTabs(this);
  SEPointDepth = Make<TEdit>(this, this, "SEPointDepth", 60, 8, 40, 21);
  UDPointDepth = Make<TUpDown>(this, this, "UDPointDepth", 100, 8, 15, 21);
  UDPointDepth->SetMin(0);
  UDPointDepth->SetMax(100);
  UDPointDepth->SetAssociate(SEPointDepth);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "Depth:", SEPointDepth);
  GPLine = Make<TGroupBox>(this, this, "GPLine", 130, 4, 120, 110);
  CBColorEach = Make<TCheckBox>(this, GPLine, "CBColorEach", 8, 14, 100, 17, "Color &Each");
  BColor = Make<TButtonColor>(this, GPLine, "BColor", 8, 34, 100, 25, "&Color...");
  Button1 = Make<TButtonPen>(this, GPLine, "Button1", 8, 62, 100, 25, "&Line...");
  BBasePen = Make<TButtonPen>(this, this, "BBasePen", 8, 40, 100, 25, "&Base line...");
  SEPointDepth->OnChange = [this](TObject* s) { SEPointDepthChange(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  SetAlign(alClient);
}

TPoint3DSeriesEditor::~TPoint3DSeriesEditor() { FireOnDestroy(this); }

void TPoint3DSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TPoint3DSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TPoint3DSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  UDPointDepth->SetPosition(static_cast<int>(Round(Series->DepthSize())));
  CBColorEach->SetChecked(Series->ColorEachPoint());
  BColor->SetEnabled(!Series->ColorEachPoint());
  LinkSeriesColorButton(BColor, Series);
  Button1->LinkPen(Series->LinePen());
  BBasePen->LinkPen(Series->BaseLine());
  FLoading = false;
  if (!FPointerForm) FTabs->Keep(FPointerForm, AddPointerEditorPage(Parent(), Series, "Point"));
}

void TPoint3DSeriesEditor::SEPointDepthChange(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetDepthSize(UDPointDepth->Position());
}

void TPoint3DSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Series) return;
  Series->SetColorEachPoint(CBColorEach->Checked());
  BColor->SetEnabled(!CBColorEach->Checked());
}

void RegisterPoint3DEditorClasses() { RegisterClasses({&TPoint3DSeriesEditor::StaticClass()}); }
