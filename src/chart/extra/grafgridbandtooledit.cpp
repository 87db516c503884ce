#include "chart/extra/grafgridbandtooledit.h"

#include "chart/core/grcanvas.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/series/graftools.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGridBandToolEdit, TAxisToolEditor)

TGridBandToolEdit::TGridBandToolEdit(TComponent* AOwner) : TAxisToolEditor(AOwner) {
  SetClientHeight(190);
  TabControl1 = Make<TTabControl>(this, this, "TabControl1", 8, 40, 284, 140);
  TabControl1->Tabs()->Add("Band 1");
  TabControl1->Tabs()->Add("Band 2");
  BBand1 = Make<TButton>(this, TabControl1, "BBand1", 8, 32, 89, 25, "&Pattern...");
  Draw3D1 = Make<TDraw3D>(this, TabControl1, "Draw3D1", 8, 64, 89, 65);
  Draw3D1->SetCursor(crHandPoint);
  ButtonColor1 = Make<TButtonColor>(this, TabControl1, "ButtonColor1", 112, 32, 89, 25, "Ba&ck...");
  Edit1 = Make<TEdit>(this, TabControl1, "Edit1", 200, 68, 33, 21);
  Edit1->SetText("0");
  UpDown1 = Make<TUpDown>(this, TabControl1, "UpDown1", 233, 68, 15, 21);
  UpDown1->SetMin(0);
  UpDown1->SetMax(100);
  UpDown1->SetAssociate(Edit1);
  Label2 = MakeLabel(this, TabControl1, "Label2", 112, 72, "&Transparency:", Edit1);
  ButtonGradient1 = Make<TButtonGradient>(this, TabControl1, "ButtonGradient1", 112, 100, 89, 25, "&Gradient...");

  TabControl1->OnChange = [this](TObject* s) { TabControl1Change(s); };
  BBand1->OnClick = [this](TObject*) {
    if (!CurrentBand()) return;
    RunBrushDialog(this, CurrentBand());
    Draw3D1->Invalidate();
  };
  Draw3D1->OnPaint = [this](TObject*, const TRect& r) { PreviewPaint(r); };
  Draw3D1->OnClick = [this](TObject*) {
    TGridBandBrush* band = CurrentBand();
    if (!band) return;
    TColor c = band->Color();
    if (EditColorValue(this, c)) band->SetColor(c);
    Draw3D1->Invalidate();
  };
  ButtonColor1->OnClick = [this](TObject*) { Draw3D1->Invalidate(); };
  Edit1->OnChange = [this](TObject*) {
    if (CurrentBand() && !FLoading && FormShowing(this)) CurrentBand()->SetTransparency(UpDown1->Position());
  };
  ButtonGradient1->OnClick = [this](TObject*) {
    if (!CurrentBand()) return;
    Draw3D1->Gradient()->Assign(CurrentBand()->Gradient());
    Draw3D1->Invalidate();
  };
  FormCreate(this);
}

void TGridBandToolEdit::FormCreate(TObject* Sender) {
  TAxisToolEditor::FormCreate(Sender);
  BPen->SetVisible(false);
  // The pattern button sits over the preview.
  BBand1->SetTop(Draw3D1->Top() - BBand1->Height() - 7);
}

TGridBandTool* TGridBandToolEdit::Band() const { return dynamic_cast<TGridBandTool*>(FTool); }

TGridBandBrush* TGridBandToolEdit::CurrentBand() const {
  if (!Band()) return nullptr;
  return TabControl1->TabIndex() == 1 ? Band()->Band2() : Band()->Band1();
}

void TGridBandToolEdit::FormShow(TObject* Sender) {
  FLoading = true;
  TAxisToolEditor::FormShow(Sender);
  TabControl1->SetTabIndex(0);
  TabControl1Change(TabControl1);
  FLoading = false;
}

void TGridBandToolEdit::TabControl1Change(TObject*) {
  TGridBandBrush* band = CurrentBand();
  if (!band) return;
  const bool loading = FLoading;
  FLoading = true;
  ButtonColor1->LinkProperty(band, "BackColor");
  UpDown1->SetPosition(band->Transparency());
  ButtonGradient1->LinkGradient(band->Gradient());
  Draw3D1->Gradient()->Assign(band->Gradient());
  FLoading = loading;
  Draw3D1->Invalidate();
}

void TGridBandToolEdit::PreviewPaint(const TRect&) {
  TGridBandBrush* band = CurrentBand();
  if (!band || band->Gradient()->Visible()) return;
  TCanvas3D* canvas = Draw3D1->PanelCanvas();
  TRect r = Draw3D1->ClientRect();
  r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  canvas->ApplyBrush(band, band->Color(), Band()->BandBackColor(band));
  canvas->CanvasPen()->SetStyle(psClear);
  canvas->Rectangle(r.Left, r.Top, r.Right, r.Bottom);
}
