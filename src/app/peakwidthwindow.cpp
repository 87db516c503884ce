#include "app/peakwidthwindow.h"

#include <algorithm>
#include <cmath>

#include "app/peakshapes.h"
#include "chart/editor/grafedit.h"
#include "model/global.h"
#include "platform/gfx/colors.h"
#include "platform/rtl/format.h"
#include "toolbar/tbitem.h"

TFormPeak* FormPeak = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormPeak, TForm)

namespace {

TAction* NewAction(TComponent* owner, const char* name, const std::string& caption, TNotifyEvent handler) {
  auto* a = new TAction(owner);
  a->SetName(name);
  a->SetCaption(caption);
  a->SetOnExecute(std::move(handler));
  return a;
}

TChart* NewChart(TForm* form, const char* name, const std::string& title) {
  auto* c = new TChart(form);
  c->SetName(name);
  c->SetParent(form);
  c->SetView3D(false);
  c->SetColor(clWhite);
  c->Title()->Text()->Clear();
  c->Title()->Text()->Add(title);
  return c;
}

TFastLineSeries* NewLine(TComponent* owner, TChart* chart, TColor colour) {
  auto* s = new TFastLineSeries(owner);
  s->SetSeriesColor(colour);
  s->SetParentChart(chart);
  return s;
}

std::string General(double v, int precision) { return FloatToStrF(v, ffGeneral, precision, 3); }

}  // namespace

TFormPeak::TFormPeak(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormPeak");
  SetCaption("Full Width Half Maximum");
  SetClientWidth(560);
  SetClientHeight(520);

  TBDock1 = new TTBDock(this);
  TBDock1->SetName("TBDock1");
  TBDock1->SetParent(this);
  StatusBar1 = new TStatusBar(this);
  StatusBar1->SetParent(this);
  for (const char* text : {"Angle:", "FWHM:", "Eta:"}) StatusBar1->AddPanel(100, text);

  Chart2 = NewChart(this, "Chart2", "Peak Shape");
  Chart2->SetAlign(alBottom);
  Chart2->SetHeight(200);
  Chart2->Legend()->SetVisible(false);
  Chart2->BottomAxis()->SetIncrement(0.25);
  Chart2->LeftAxis()->SetIncrement(0.5);
  Series2 = NewLine(this, Chart2, static_cast<TColor>(0xFF0000));
  Splitter1 = new TSplitter(this);
  Splitter1->SetParent(this);
  Splitter1->SetAlign(alBottom);

  Chart1 = NewChart(this, "Chart1", "FWHM");
  Chart1->SetAlign(alClient);
  Chart1->Legend()->SetVisible(false);
  Chart1->SetCursor(crCross);
  Chart1->BottomAxis()->Title()->SetCaption("Angle/TOF");
  Chart1->LeftAxis()->Title()->SetCaption("FWHM");
  Chart1->RightAxis()->Title()->SetCaption("eta");
  for (TChartAxis* a : {Chart1->BottomAxis(), Chart1->LeftAxis(), Chart1->RightAxis()}) a->Grid()->SetVisible(false);
  Series1 = NewLine(this, Chart1, clRed);
  Series3 = NewLine(this, Chart1, clGreen);
  Series3->SetVertAxis(aRightAxis);
  // A repaint has removed the cursor line.
  Series1->AfterDrawValues = [this](TObject*) { CursorX = -1; };
  Chart1->OnClick = [this](TObject* s) { Chart1Click(s); };
  Chart1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) { Chart1MouseMove(s, sh, x, y); };

  PrintDialog1 = new TPrintDialog(this);
  // The window carries an editor beside its chart, which none of its commands opens.
  ChartEditor1 = new TChartEditor(this);
  ChartEditor1->SetName("ChartEditor1");
  ChartEditor1->SetChart(Chart1);
  Print1 = NewAction(this, "Print1", "&Print", [this](TObject* s) { Print1Click(s); });
  Exit1 = NewAction(this, "Exit1", "E&xit", [this](TObject*) { Close(); });
  CopyasBMP1 = NewAction(this, "CopyasBMP1", "Copy as &BMP", [this](TObject*) { Chart1->CopyBitmapToClipboard(); });
  CopyasMetafile1 = NewAction(this, "CopyasMetafile1", "Copy as &Metafile",
                              [this](TObject*) { Chart1->CopyMetafileToClipboard(true); });
  TBToolbar1 = new TTBToolbar(this);
  TBToolbar1->SetName("TBToolbar1");
  TBToolbar1->SetCaption("Peak Toolbar");
  TBToolbar1->SetMenuBar(true);
  auto item = [this](TAction* a) -> TTBCustomItem* {
    auto* i = new TTBItem(this);
    i->SetAction(a);
    return i;
  };
  auto submenu = [this](const char* caption, std::initializer_list<TTBCustomItem*> items) {
    auto* m = new TTBSubmenuItem(this);
    m->SetCaption(caption);
    for (TTBCustomItem* i : items) m->Add(i);
    TBToolbar1->Items()->Add(m);
  };
  submenu("&File", {item(Print1), item(Exit1)});
  submenu("&Edit", {item(CopyasBMP1), item(CopyasMetafile1)});
  TBToolbar1->SetCurrentDock(TBDock1);

  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnClose = [](TObject*, TCloseAction& a) { a = caHide; };
}

void TFormPeak::SetValues(int AProfile, float AU, float AV, float AW, float AGam0, float AGam1, float AGam2) {
  Profile = AProfile;
  U = AU;
  V = AV;
  W = AW;
  Gam0 = AGam0;
  Gam1 = AGam1;
  Gam2 = AGam2;
}

void TFormPeak::UpdatePlot(float x) {
  if (Profile == 7) return;
  Series2->RemoveAllPoints();
  const float t = std::tan(x * 0.0087266462599f);
  const float g = GaussianWidth(Profile, U, V, W, t);
  const float l = LorentzianTerm(Profile, Gam0, Gam1, Gam2, t);
  float h = g, eta = l;
  if (IsVoigtProfile(Profile)) {
    h = TCHWidth(g, l);
    eta = h != 0 ? TCHMixing(l / h) : 0.0f;
  }
  const float s = Series1->Count() > 0 ? 0.1f * static_cast<float>(Series1->YValues()->MaxValue()) : 0.0f;
  for (int i = 1; i <= 100; ++i) {
    const float d = static_cast<float>(i - 50) * s;
    Series2->AddXYPoint(x + d, PseudoVoigt(eta, h, d));
  }
  StatusBar1->SetPanelText(0, "Angle: " + General(x, 5));
  StatusBar1->SetPanelText(1, "FWHM: " + General(h, 5));
  StatusBar1->SetPanelText(2, "Eta: " + General(eta, 5));
}

void TFormPeak::DrawCursor(int X) {
  TCanvas* canvas = Chart1->Canvas();
  TColor chartColour = Chart1->Color();
  if (chartColour == clDefault) chartColour = clBtnFace;
  TPen* pen = canvas->Pen();
  pen->SetColor(static_cast<TColor>(ColorToRGB(chartColour) ^ static_cast<uint32_t>(CursorColor)));
  pen->SetStyle(CursorStyle);
  pen->SetMode(pmXor);
  pen->SetWidth(1);
  const int h3d = Chart1->SeriesHeight3D;
  canvas->MoveTo(X, Chart1->ChartArea.Top - h3d);
  canvas->LineTo(X, Chart1->ChartArea.Bottom - h3d);
  pen->SetMode(pmCopy);
}

void TFormPeak::Chart1MouseMove(TObject*, TShiftState, int X, int Y) {
  if (CursorX != -1) {
    DrawCursor(CursorX);
    CursorX = -1;
  }
  const TRect& r = Chart1->ChartArea;
  const int px = X - Chart1->SeriesWidth3D, py = Y + Chart1->SeriesHeight3D;
  if (px < r.Left || px >= r.Right || py < r.Top || py >= r.Bottom) return;
  DrawCursor(X);
  CursorX = X;
  CursorY = Y;
  if (TChartAxis* axis = Series1->GetHorizAxis()) UpdatePlot(static_cast<float>(axis->PixelToValue(X)));
}

void TFormPeak::Chart1Click(TObject*) {
  LastActiveControl = Chart1;
  UpdatePlot(20);
}

void TFormPeak::FormActivate(TObject*) { LastActiveControl = Chart1; }

void TFormPeak::Print1Click(TObject*) {
  if (!PrintDialog1->Execute()) return;
  for (int i = 0; i < PrintDialog1->Copies; ++i) Chart1->PrintPage();
}
