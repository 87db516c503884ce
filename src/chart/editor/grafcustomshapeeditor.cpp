#include "chart/editor/grafcustomshapeeditor.h"

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TFormGrafShape, TForm)

TFormGrafShape::TFormGrafShape(TComponent* AOwner) : TForm(AOwner) {
  // Handlers fired while the controls are made and loaded do nothing.
  FLoading = true;
  SetClientWidth(272);
  SetClientHeight(205);
  PC1 = Make<TPageControl>(this, this, "PC1", 0, 0, 272, 205);
  PC1->SetAlign(alClient);
  PC1->SetHotTrack(true);
  auto page = [this](const char* name, const char* caption) {
    auto* sheet = new TTabSheet(this);
    sheet->SetName(name);
    sheet->SetCaption(caption);
    sheet->SetPageControl(PC1);
    return sheet;
  };
  TabFormat = page("TabFormat", "Format");
  TabText = page("TabText", "Text");
  TabGradient = page("TabGradient", "Gradient");
  TabShadow = page("TabShadow", "Shadow");

  BBackColor = Make<TButtonColor>(this, TabFormat, "BBackColor", 8, 8, 80, 25, "&Color...");
  Button4 = Make<TButtonPen>(this, TabFormat, "Button4", 8, 40, 80, 25, "&Frame...");
  Button6 = Make<TButton>(this, TabFormat, "Button6", 8, 72, 80, 25, "&Pattern...");
  CBRound = Make<TCheckBox>(this, TabFormat, "CBRound", 104, 12, 110, 17, "&Round Frame");
  CBTransparent = Make<TCheckBox>(this, TabFormat, "CBTransparent", 104, 36, 110, 17, "&Transparent");
  CBBevel = Make<TComboFlat>(this, TabFormat, "CBBevel", 104, 104, 80, 21);
  for (const char* s : {"None", "Lowered", "Raised"}) CBBevel->Items()->Add(s);
  Label2 = MakeLabel(this, TabFormat, "Label2", 104, 88, "&Bevel:", CBBevel);
  EBevWidth = Make<TEdit>(this, TabFormat, "EBevWidth", 192, 104, 33, 21);
  EBevWidth->SetText("1");
  UDBevW = Make<TUpDown>(this, TabFormat, "UDBevW", 225, 104, 15, 21);
  UDBevW->SetMin(1);
  UDBevW->SetAssociate(EBevWidth);
  UDBevW->SetPosition(1);
  Label3 = MakeLabel(this, TabFormat, "Label3", 192, 88, "Siz&e:", EBevWidth);
  EShadowTransp = Make<TEdit>(this, TabFormat, "EShadowTransp", 104, 148, 33, 21);
  EShadowTransp->SetText("0");
  UDShadowTransp = Make<TUpDown>(this, TabFormat, "UDShadowTransp", 137, 148, 15, 21);
  UDShadowTransp->SetMax(100);
  UDShadowTransp->SetAssociate(EShadowTransp);
  UDShadowTransp->SetPosition(0);
  Label4 = MakeLabel(this, TabFormat, "Label4", 104, 132, "&Transparency:", EShadowTransp);

  CBRound->OnClick = [this](TObject* s) { CBRoundClick(s); };
  CBTransparent->OnClick = [this](TObject* s) { CBTransparentClick(s); };
  Button6->OnClick = [this](TObject* s) { BBrushClick(s); };
  CBBevel->OnChange = [this](TObject* s) { CBBevelChange(s); };
  EBevWidth->OnChange = [this](TObject* s) { EBevWidthChange(s); };
  EShadowTransp->OnChange = [this](TObject* s) { EShadowTranspChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TFormGrafShape::FormCreate(TObject*) {
  FLoading = true;
  FGradientEditor = new TGrafGradientEditor(this, nullptr);
  EmbedFormInSheet(FGradientEditor, TabGradient);
  FGradientEditor->SetAlign(alClient);
  FFontEditor = EmbedFontEditor(TabText);
  FShadowEditor = EmbedShadowEditor(TabShadow);
}

void TFormGrafShape::FormShow(TObject*) {
  PC1->SetActivePage(TabFormat);
  if (FShape) BindShape(FShape);
  InvokeControlHook(this);
}

TFormGrafShape* TFormGrafShape::CreateShapeEditor(TComponent* Owner, TGrafCustomShape* Shape, TWinControl* Parent) {
  auto* form = new TFormGrafShape(Owner);
  form->FShape = Shape;
  if (Parent) {
    form->SetBorderStyle(bsNone);
    form->SetParent(Parent);
    InvokeControlHook(form);
    form->SetAlign(alClient);
    form->Show();
  }
  return form;
}

void TFormGrafShape::BindShape(TGrafCustomShape* Shape) {
  FLoading = true;
  FShape = Shape;
  if (Shape) {
    CBRound->SetChecked(Shape->ShapeStyle() == fosRoundRectangle);
    CBTransparent->SetChecked(Shape->Transparent());
    CBBevel->SetItemIndex(Shape->Bevel());
    UDBevW->SetPosition(Shape->BevelWidth());
    UDShadowTransp->SetPosition(Shape->Transparency());
    FGradientEditor->BindGradient(Shape->Gradient());
    FFontEditor->BindFont(Shape->Font());
    FShadowEditor->BindShadow(Shape->Shadow());
    Button4->LinkPen(Shape->Pen());
    BBackColor->LinkProperty(Shape, "Color");
    EnableBevelSize();
  }
  FLoading = false;
}

void TFormGrafShape::EnableBevelSize() {
  const bool on = CBBevel->ItemIndex() > 0;
  UDBevW->SetEnabled(on);
  EBevWidth->SetEnabled(on);
}

void TFormGrafShape::CBVisibleChecked(TObject* Sender) {
  if (auto* box = dynamic_cast<TCheckBox*>(Sender); box && FShape) FShape->SetVisible(box->Checked());
}

void TFormGrafShape::CBRoundClick(TObject*) {
  if (FShape) FShape->SetShapeStyle(CBRound->Checked() ? fosRoundRectangle : fosRectangle);
}

void TFormGrafShape::CBTransparentClick(TObject*) {
  if (FShape) FShape->SetTransparent(CBTransparent->Checked());
}

void TFormGrafShape::BBrushClick(TObject*) {
  if (FShape) RunBrushDialog(this, FShape->Brush());
}

void TFormGrafShape::CBBevelChange(TObject*) {
  if (FShape) FShape->SetBevel(static_cast<TBevelCut>(std::max(0, CBBevel->ItemIndex())));
  EnableBevelSize();
}

void TFormGrafShape::EBevWidthChange(TObject*) {
  if (!FLoading && FShape) FShape->SetBevelWidth(UDBevW->Position());
}

void TFormGrafShape::EShadowTranspChange(TObject*) {
  if (!FLoading && FShape) FShape->SetTransparency(UDShadowTransp->Position());
}

TFormGrafShape* EmbedShapeEditor(TPageControl* Host, TGrafCustomShape* Shape) {
  auto* form = new TFormGrafShape(Host->Owner());
  form->SetBorderStyle(bsNone);
  form->SetParent(Host);
  form->SetAlign(alClient);
  TPageControl* own = form->PageControl();
  while (own->PageCount() > 0) own->Pages(0)->SetPageControl(Host);
  Host->SetActivePageIndex(0);
  InvokeControlHook(form);
  if (Shape) form->BindShape(Shape);
  return form;
}

void RegisterShapeEditorClasses() { RegisterClasses({&TFormGrafShape::StaticClass()}); }
