#include "app/newinputwizard.h"

#include <algorithm>

#include "app/positionsaver.h"
#include "model/global.h"
#include "model/rietclass.h"

TFormNewInput* FormNewInput = nullptr;

ZV_CLASS_IMPL_NOPROPS(TFormNewInput, TForm)

namespace {

TLabel* Words(TComponent* owner, TWinControl* parent, const char* text, int x, int y) {
  auto* l = new TLabel(owner);
  l->SetParent(parent);
  l->SetCaption(text);
  l->SetLeft(x);
  l->SetTop(y + 3);
  return l;
}

TSpinEdit* Spin(TComponent* owner, TWinControl* parent, int x, int y, int minValue, int maxValue, bool typed) {
  auto* s = new TSpinEdit(owner);
  s->SetParent(parent);
  s->SetBounds(x, y, 50, 22);
  s->SetMinValue(minValue);
  s->SetMaxValue(maxValue);
  s->SetValue(minValue);
  s->SetEditorEnabled(typed);
  return s;
}

TComboBox* Choice(TComponent* owner, TWinControl* parent, int x, int y, int w) {
  auto* c = new TComboBox(owner);
  c->SetParent(parent);
  c->SetStyle(csDropDownList);
  c->SetBounds(x, y, w, 21);
  return c;
}

// The histogram kind of a data file or a calculation on a radiation (0 X-ray,
// 1 neutron, 2 time of flight, 3 energy dispersive).
int JobOf(int type, int radiation) {
  static const int data[4] = {jobXrayData, jobNeutronData, jobTOFData, jobEDData};
  static const int calc[4] = {jobXrayCalc, jobNeutronCalc, jobTOFCalc, jobEDCalc};
  if (radiation < 0 || radiation > 3) return jobXrayCalc;
  return type == 1 ? data[radiation] : calc[radiation];
}

}  // namespace

TFormNewInput::TFormNewInput(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormNewInput");
  SetCaption("New Input");
  SetBorderStyle(bsDialog);
  SetClientWidth(560);
  SetClientHeight(206);

  Words(this, this, "The input file should contain", 12, 12);
  seNumberHistograms = Spin(this, this, 200, 12, 1, MaxHistograms, false);
  Words(this, this, "histograms", 258, 12);
  Words(this, this, "Histogram", 12, 44);
  seHistogramNumber = Spin(this, this, 80, 44, 1, 1, false);
  Words(this, this, "is a", 136, 44);
  cbHistogramtype = Choice(this, this, 166, 44, 100);
  cbHistogramtype->Items()->Add("calculation");
  cbHistogramtype->Items()->Add("data file");
  Words(this, this, "using the following setup", 274, 44);
  cbInstruments = Choice(this, this, 80, 72, 260);
  Words(this, this, "Make the rest of the histograms the same:", 12, 104);
  Button1 = new TButton(this);
  Button1->SetParent(this);
  Button1->SetCaption("Set");
  Button1->SetBounds(280, 102, 60, 23);

  Words(this, this, "There are", 12, 140);
  seNumberPhases = Spin(this, this, 80, 140, 1, MaxPhases, true);
  Words(this, this, "phases", 136, 140);
  Words(this, this, "Phase", 12, 172);
  sePhaseNumber = Spin(this, this, 80, 172, 1, 1, true);
  Words(this, this, "is", 136, 172);
  cbStructure = Choice(this, this, 152, 172, 110);
  cbStructure->Items()->Add("a structure");
  cbStructure->Items()->Add("an extraction");
  Words(this, this, "with", 270, 172);
  seAtoms = Spin(this, this, 302, 172, 0, 500, true);
  Words(this, this, "atoms", 358, 172);

  ButtonOK = new TButton(this);
  ButtonOK->SetParent(this);
  ButtonOK->SetCaption("OK");
  ButtonOK->SetDefault(true);
  ButtonOK->SetBounds(476, 12, 75, 25);
  Button2 = new TButton(this);
  Button2->SetParent(this);
  Button2->SetCaption("Cancel");
  Button2->SetCancel(true);
  Button2->SetModalResult(mrCancel);
  Button2->SetBounds(476, 44, 75, 25);

  seNumberHistograms->OnChange = [this](TObject* s) { seNumberHistogramsChange(s); };
  seHistogramNumber->OnChange = [this](TObject* s) { seHistogramNumberChange(s); };
  seNumberPhases->OnChange = [this](TObject* s) { seNumberPhasesChange(s); };
  sePhaseNumber->OnChange = [this](TObject* s) { sePhaseNumberChange(s); };
  cbStructure->OnChange = [this](TObject* s) { cbStructureChange(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  ButtonOK->OnClick = [this](TObject* s) { ButtonOKClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

TFormNewInput::~TFormNewInput() {
  if (FormNewInput == this) FormNewInput = nullptr;
}

void TFormNewInput::FormShow(TObject*) {
  PlaceOnFirstShow(this, FPlaced);
  FUpdating = true;
  seNumberHistograms->SetMaxValue(MaxHistograms);
  seNumberHistograms->SetValue(1);
  seNumberPhases->SetMaxValue(MaxPhases);
  seNumberPhases->SetValue(1);
  seHistogramNumber->SetMaxValue(1);
  seHistogramNumber->SetValue(1);
  sePhaseNumber->SetMaxValue(1);
  sePhaseNumber->SetValue(1);
  FCurrentHistogram = FCurrentPhase = 1;
  FHistType.fill(1);
  FHistInstrument.fill(0);
  FPhaseAtoms.fill(1);
  cbHistogramtype->SetItemIndex(1);
  cbStructure->SetItemIndex(0);
  seAtoms->SetEnabled(true);
  seAtoms->SetValue(1);
  cbInstruments->Items()->Clear();
  for (const TInstrument& preset : Instruments) cbInstruments->Items()->Add(preset.Title);
  cbInstruments->SetItemIndex(0);
  FUpdating = false;
}

void TFormNewInput::StoreHistogram() {
  const size_t i = static_cast<size_t>(FCurrentHistogram - 1);
  FHistType[i] = std::max(0, cbHistogramtype->ItemIndex());
  FHistInstrument[i] = std::max(0, cbInstruments->ItemIndex());
}

void TFormNewInput::StorePhase() {
  FPhaseAtoms[static_cast<size_t>(FCurrentPhase - 1)] = cbStructure->ItemIndex() == 1 ? 0 : seAtoms->Value();
}

void TFormNewInput::seHistogramNumberChange(TObject*) {
  if (FUpdating) return;
  StoreHistogram();
  const int n = std::clamp(seHistogramNumber->Value(), 1, seNumberHistograms->Value());
  FUpdating = true;
  seHistogramNumber->SetValue(n);
  FUpdating = false;
  cbHistogramtype->SetItemIndex(FHistType[static_cast<size_t>(n - 1)]);
  cbInstruments->SetItemIndex(FHistInstrument[static_cast<size_t>(n - 1)]);
  FCurrentHistogram = n;
}

void TFormNewInput::seNumberHistogramsChange(TObject*) {
  if (FUpdating) return;
  const int count = std::clamp(seNumberHistograms->Value(), 1, MaxHistograms);
  seHistogramNumber->SetMaxValue(count);
  // Lowering the shown number goes through its own handler, which stores
  // the choices shown first.
  if (seHistogramNumber->Value() > count || FCurrentHistogram > count) {
    seHistogramNumber->SetValue(count);
    seHistogramNumberChange(seHistogramNumber);
  }
}

void TFormNewInput::ShowPhase(int n) {
  const int atoms = FPhaseAtoms[static_cast<size_t>(n - 1)];
  if (atoms <= 0) {
    cbStructure->SetItemIndex(1);
    seAtoms->SetValue(0);
    seAtoms->SetEnabled(false);
  } else {
    cbStructure->SetItemIndex(0);
    seAtoms->SetValue(atoms);
    seAtoms->SetEnabled(true);
  }
}

void TFormNewInput::sePhaseNumberChange(TObject*) {
  if (FUpdating) return;
  StorePhase();
  const int n = std::clamp(sePhaseNumber->Value(), 1, seNumberPhases->Value());
  FUpdating = true;
  sePhaseNumber->SetValue(n);
  FUpdating = false;
  ShowPhase(n);
  FCurrentPhase = n;
}

void TFormNewInput::seNumberPhasesChange(TObject*) {
  if (FUpdating) return;
  const int count = std::clamp(seNumberPhases->Value(), 1, MaxPhases);
  sePhaseNumber->SetMaxValue(count);
  if (sePhaseNumber->Value() > count || FCurrentPhase > count) {
    sePhaseNumber->SetValue(count);
    sePhaseNumberChange(sePhaseNumber);
  }
}

void TFormNewInput::cbStructureChange(TObject*) {
  int& atoms = FPhaseAtoms[static_cast<size_t>(FCurrentPhase - 1)];
  if (cbStructure->ItemIndex() == 1) {
    if (atoms > 0) atoms = 0;
    seAtoms->SetValue(atoms);
    seAtoms->SetEnabled(false);
  } else {
    seAtoms->SetEnabled(true);
    if (atoms <= 0) atoms = 1;
    seAtoms->SetValue(atoms);
  }
}

void TFormNewInput::Button1Click(TObject*) {
  const int type = std::max(0, cbHistogramtype->ItemIndex());
  const int instrument = std::max(0, cbInstruments->ItemIndex());
  for (int i = seHistogramNumber->Value(); i <= seNumberHistograms->Value(); ++i) {
    FHistType[static_cast<size_t>(i - 1)] = type;
    FHistInstrument[static_cast<size_t>(i - 1)] = instrument;
  }
}

void TFormNewInput::ButtonOKClick(TObject*) {
  if (Model)
    Model->Reset();
  else
    Model = new TRietveld();
  StoreHistogram();
  StorePhase();
  TRietveld& m = *Model;
  const int histograms = seNumberHistograms->Value(), phases = seNumberPhases->Value();
  for (int i = 0; i < histograms; ++i) m.NewHistogram();
  for (int i = 0; i < phases; ++i) m.NewPhase();
  m.Loaded = true;
  for (int i = 1; i <= histograms; ++i) {
    const TInstrument& preset = Instruments[HistogramInstrument(i) + 1];
    THistogram& h = *m.Histogram(i);
    h.Job = JobOf(HistogramType(i), preset.Radiation);
    h.Profile = preset.Profile + 1;
    h.Zero = static_cast<float>(preset.Zero);
    h.Wavelength1 = static_cast<float>(preset.Wave1);
    h.Wavelength2 = static_cast<float>(preset.Wave2);
    h.Ratio = static_cast<float>(preset.Ratio);
    h.Polarisation = static_cast<float>(preset.Pol);
    h.Start = static_cast<float>(preset.Start);
    h.Stop = static_cast<float>(preset.Stop);
    h.Step = static_cast<float>(preset.Step);
    for (int p = 1; p <= phases; ++p) {
      TSample* s = m.FindSample(i, p);
      if (!s) continue;
      s->U = static_cast<float>(preset.U);
      s->V = static_cast<float>(preset.V);
      s->W = static_cast<float>(preset.W);
      s->Gam0 = static_cast<float>(preset.gamma);
      s->Asym1 = static_cast<float>(preset.Asym1);
      s->Asym2 = static_cast<float>(preset.Asym2);
    }
  }
  for (int p = 1; p <= phases; ++p) {
    TPhase& phase = *m.Phase(p);
    const int atoms = PhaseAtoms(p);
    if (atoms <= 0) {
      phase.CalcMethod = 1;
    } else {
      for (int a = 0; a < atoms; ++a) phase.AddAtom(TAtom());
      phase.CalcMethod = 0;
    }
  }
  // The new model has no file yet: a later Save asks for one rather than
  // writing it over the model that was open before.
  InputFileName.clear();
  ModelChanged = true;
  SetModalResult(mrOk);
}
