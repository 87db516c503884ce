#include "app/incidentspectrum.h"

#include <cmath>

#include "app/pagefields.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "model/rietclass.h"

ZV_CLASS_IMPL_NOPROPS(TFormSpectrum, TForm)

TFormSpectrum::TFormSpectrum(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormSpectrum");
  SetCaption("Incident Spectrum");
  SetClientWidth(560);
  SetClientHeight(330);
  SetKeyPreview(true);
  auto* heading = new TLabel(this);
  heading->SetParent(this);
  heading->SetCaption("TOF Incident Spectrum");
  heading->SetBounds(8, 6, 150, 16);
  for (int i = 0; i < 9; ++i) {
    auto* l = new TLabel(this);
    l->SetParent(this);
    l->SetCaption("a" + std::to_string(i) + ":");
    l->SetBounds(8, 33 + 26 * i, 24, 16);
    auto* e = new TEdit(this);
    e->SetName("Edita" + std::to_string(i));
    e->SetParent(this);
    e->SetBounds(34, 30 + 26 * i, 100, 21);
    e->OnExit = [this](TObject*) { PlotSpectrum(); };
    e->OnKeyPress = [this](TObject*, char& key) {
      if (key == '\r') PlotSpectrum();
    };
    Edits[i] = e;
  }
  Chart1 = new TChart(this);
  Chart1->SetName("Chart1");
  Chart1->SetParent(this);
  Chart1->SetBounds(144, 6, 410, 280);
  Chart1->SetView3D(false);
  Chart1->SetColor(clWhite);
  Chart1->Legend()->SetVisible(false);
  Chart1->Title()->Text()->Clear();
  Chart1->Title()->Text()->Add("TChart");
  Series1 = new TLineSeries(this);
  Series1->Pointer()->SetVisible(false);
  Series1->SetParentChart(Chart1);
  auto button = [this](const char* caption, int x) {
    auto* b = new TButton(this);
    b->SetParent(this);
    b->SetCaption(caption);
    b->SetBounds(x, 296, 75, 25);
    return b;
  };
  ButtonOK = button("OK", 300);
  ButtonCancel = button("Cancel", 380);
  ButtonHelp = button("Help", 460);
  ButtonOK->OnClick = [this](TObject* s) { ButtonOKClick(s); };
  ButtonCancel->SetModalResult(mrCancel);
  ButtonCancel->SetCancel(true);
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnKeyUp = [this](TObject*, uint16_t& k, TShiftState sh) { EditClipboardKey(ActiveControl(), k, sh.Contains(ssCtrl)); };
}

void TFormSpectrum::FormShow(TObject*) {
  THistogram* h = Model ? Model->Histogram(static_cast<int>(Tag())) : nullptr;
  if (!h) return;
  for (int i = 0; i < 9; ++i) Edits[i]->SetText(ShortestFloat(h->IncidentSpectrum.Spectrum[i + 1]));
  PlotSpectrum();
}

double TFormSpectrum::SpectrumValue(const std::array<double, 9>& a, double t) {
  if (t == 0) return 0;
  const double l = t * 0.001, l2 = l * l;
  return a[0] + a[1] * std::exp(-a[2] / l2) / (l2 * l2 * l) + a[3] * std::exp(-a[4] * l2) +
         a[5] * std::exp(-a[6] * l2 * l) + a[7] * std::exp(-a[8] * l2 * l2);
}

void TFormSpectrum::PlotSpectrum() {
  Series1->RemoveAllPoints();
  THistogram* h = Model ? Model->Histogram(static_cast<int>(Tag())) : nullptr;
  if (!h) return;
  std::array<double, 9> a{};
  for (int i = 0; i < 9; ++i) a[i] = TextToReal(Edits[i]->Text());
  for (int i = 1; i <= 100; ++i) {
    const double t = h->Start + i * (static_cast<double>(h->Stop) - h->Start) / 100;
    const double y = SpectrumValue(a, t);
    // 1/lambda^5 and the exponentials overflow at short times of flight;
    // such points are left out rather than drawn at infinity.
    if (std::isfinite(y)) Series1->AddXYPoint(t, y);
  }
}

void TFormSpectrum::ButtonOKClick(TObject*) {
  THistogram* h = Model ? Model->Histogram(static_cast<int>(Tag())) : nullptr;
  if (!h) {
    SetModalResult(mrOk);
    return;
  }
  TPageFields f;
  std::array<float, 9> a{};
  for (int i = 0; i < 9; ++i) a[i] = f.Real(Edits[i]->Text(), "a" + std::to_string(i) + ":");
  if (!f.Check()) return;
  for (int i = 0; i < 9; ++i) {
    if (h->IncidentSpectrum.Spectrum[i + 1] != a[i]) ModelChanged = true;
    h->IncidentSpectrum.Spectrum[i + 1] = a[i];
  }
  SetModalResult(mrOk);
}

void TFormSpectrum::FormDeactivate(TObject*) { LastActiveControl = ActiveControl(); }

void TFormSpectrum::FormClose(TObject*, TCloseAction&) { LastActiveControl = nullptr; }
