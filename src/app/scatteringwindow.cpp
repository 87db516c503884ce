#include "app/scatteringwindow.h"

#include <cmath>

#include "app/gridcells.h"
#include "app/pagefields.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/rtl/format.h"

ZV_CLASS_IMPL_NOPROPS(TFormScatter, TForm)

namespace {

std::string General(double v, int precision, int digits) { return FloatToStrF(v, ffGeneral, precision, digits); }

// The refinement of a deleted entry's f' and f'' goes with it, and the
// entries after it keep theirs under their new numbers.
void DropScatterParameters(TParameterList& P, int h, int n) {
  P.SetRefined(h, ScatterPhase, 1, n, false);
  P.SetRefined(h, ScatterPhase, 2, n, false);
  auto shift = [h, n](TParameter& p) {
    if (p.Histogram == h && p.Phase == ScatterPhase && p.ParamType > n) --p.ParamType;
  };
  for (auto& p : P.Refined) shift(*p);
  for (auto& c : P.Constraints) {
    shift(c->First);
    shift(c->Second);
  }
}

}  // namespace

TFormScatter::TFormScatter(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormScatter");
  SetCaption("Scattering Factors");
  SetClientWidth(600);
  SetClientHeight(400);
  SetKeyPreview(true);
  auto label = [this](const std::string& text, int x, int y) {
    auto* l = new TLabel(this);
    l->SetParent(this);
    l->SetCaption(text);
    l->SetLeft(x);
    l->SetTop(y);
    return l;
  };
  auto edit = [this](const char* name, int x, int y) {
    auto* e = new TEdit(this);
    e->SetName(name);
    e->SetParent(this);
    e->SetBounds(x, y, 80, 21);
    e->OnChange = [this](TObject* s) { MarkDirty(s); };
    return e;
  };
  auto check = [this](const char* name, int x, int y) {
    auto* c = new TCheckBox(this);
    c->SetName(name);
    c->SetParent(this);
    c->SetBounds(x, y, 17, 17);
    c->OnClick = [this](TObject* s) { MarkDirty(s); };
    return c;
  };
  label("Scatter Name:", 8, 11);
  ComboBoxSName = new TComboBox(this);
  ComboBoxSName->SetName("ComboBoxSName");
  ComboBoxSName->SetParent(this);
  ComboBoxSName->SetStyle(csDropDownList);
  ComboBoxSName->SetBounds(90, 8, 90, 21);
  GroupBoxType = new TGroupBox(this);
  GroupBoxType->SetParent(this);
  GroupBoxType->SetCaption("Form Factor Type");
  GroupBoxType->SetBounds(8, 36, 172, 62);
  RadioButtonCalc = new TRadioButton(GroupBoxType);
  RadioButtonCalc->SetName("RadioButtonCalc");
  RadioButtonCalc->SetParent(GroupBoxType);
  RadioButtonCalc->SetCaption("Calculated");
  RadioButtonCalc->SetBounds(8, 18, 150, 17);
  RadioButtonInt = new TRadioButton(GroupBoxType);
  RadioButtonInt->SetName("RadioButtonInt");
  RadioButtonInt->SetParent(GroupBoxType);
  RadioButtonInt->SetCaption("Interpolated");
  RadioButtonInt->SetBounds(8, 38, 150, 17);
  Labelfp = label("f':", 8, 111);
  Editfp = edit("Editfp", 60, 108);
  CheckBoxfp = check("CheckBoxfp", 146, 110);
  Labelfpp = label("f'':", 8, 137);
  Editfpp = edit("Editfpp", 60, 134);
  CheckBoxfpp = check("CheckBoxfpp", 146, 136);
  label("Mol. Weight:", 8, 163);
  EditMW = edit("EditMW", 80, 160);
  StringGridScatter = NewEditorGrid(this, this, 2, 10);
  GridControl(StringGridScatter)->SetBounds(8, 190, 172, 170);
  SetGridColWidth(StringGridScatter, 0, 70);
  SetGridColWidth(StringGridScatter, 1, 80);
  SetGridRowMoving(StringGridScatter, true);
  SetGridOnUserChange(StringGridScatter, [this] { MarkDirty(this); });
  Chart1 = new TChart(this);
  Chart1->SetName("Chart1");
  Chart1->SetParent(this);
  Chart1->SetBounds(190, 8, 402, 352);
  Chart1->SetView3D(false);
  Chart1->SetColor(clWhite);
  Chart1->Legend()->SetVisible(false);
  Chart1->Title()->Text()->Clear();
  Chart1->Title()->Text()->Add("Form Factors");
  Chart1->BottomAxis()->Title()->SetCaption("sin(theta)/wavelength");
  Chart1->LeftAxis()->Title()->SetCaption("Z");
  Series1 = new TLineSeries(this);
  Series1->SetParentChart(Chart1);
  auto button = [this](const char* caption, int x) {
    auto* b = new TButton(this);
    b->SetParent(this);
    b->SetCaption(caption);
    b->SetBounds(x, 368, 75, 25);
    return b;
  };
  ButtonOK = button("OK", 190);
  ButtonCancel = button("Cancel", 270);
  ButtonAdd = button("Add", 350);
  ButtonDelete = button("Delete", 430);
  ButtonHelp = button("Help", 510);
  ButtonCancel->SetModalResult(mrCancel);
  ButtonCancel->SetCancel(true);
  ButtonOK->OnClick = [this](TObject* s) { ButtonOKClick(s); };
  ButtonAdd->OnClick = [this](TObject* s) { ButtonAddClick(s); };
  ButtonDelete->OnClick = [this](TObject* s) { ButtonDeleteClick(s); };
  ComboBoxSName->OnChange = [this](TObject* s) { ComboBoxSNameChange(s); };
  RadioButtonCalc->OnClick = [this](TObject*) { RadioButtonClick(0); };
  RadioButtonInt->OnClick = [this](TObject*) { RadioButtonClick(1); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDeactivate = [this](TObject*) { LastActiveControl = ActiveControl(); };
  OnClose = [](TObject*, TCloseAction&) { LastActiveControl = nullptr; };
  OnKeyUp = [this](TObject*, uint16_t& k, TShiftState sh) { EditClipboardKey(ActiveControl(), k, sh.Contains(ssCtrl)); };
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
}

THistogram* TFormScatter::Histogram() const { return Model ? Model->Histogram(static_cast<int>(Tag())) : nullptr; }

bool TFormScatter::IsXray() const {
  THistogram* h = Histogram();
  return h && (h->Job == 0 || h->Job == 2);
}

void TFormScatter::MarkDirty(TObject*) {
  if (!FLoading) FDirty = true;
}

void TFormScatter::FormShow(TObject*) { UpdateForm(1); }

void TFormScatter::UpdateForm(int n) {
  THistogram* h = Histogram();
  if (!h) return;
  TScatterFactor* e = h->ScatterFactors.Entry(n);
  ShowEntry(n, e ? e->TableKind : 0);
}

void TFormScatter::ShowEntry(int n, int Kind) {
  THistogram* h = Histogram();
  FLoading = true;
  FShown = n;
  FKind = Kind;
  FDirty = false;
  ComboBoxSName->Items()->Clear();
  for (int i = 1; i <= h->ScatterFactors.Count(); ++i) ComboBoxSName->Items()->Add(h->ScatterFactors.Entry(i)->Symbol);
  Series1->RemoveAllPoints();
  TScatterFactor* e = h->ScatterFactors.Entry(n);
  if (!e) {
    SetGridRowCount(StringGridScatter, 2);
    FLoading = false;
    return;
  }
  ComboBoxSName->SetItemIndex(n - 1);
  const bool xray = IsXray();
  const int hist = static_cast<int>(Tag());
  if (Kind == 0) {
    RadioButtonCalc->SetChecked(true);
    for (TControl* c : std::initializer_list<TControl*>{Editfp, Editfpp, CheckBoxfp, CheckBoxfpp}) c->SetEnabled(true);
    Editfp->SetText(General(e->FPrime, 7, 3));
    Editfpp->SetText(General(e->FDoublePrime, 7, 3));
    CheckBoxfp->SetChecked(Model->IsRefined(hist, ScatterPhase, 1, n));
    CheckBoxfpp->SetChecked(Model->IsRefined(hist, ScatterPhase, 2, n));
    SetGridRowCount(StringGridScatter, 10);
    if (!xray) {
      Labelfp->SetCaption("b:");
      Editfpp->SetEnabled(false);
      CheckBoxfpp->SetEnabled(false);
      GridControl(StringGridScatter)->SetVisible(false);
    } else {
      GridControl(StringGridScatter)->SetVisible(true);
      SetGridFixed(StringGridScatter, 1, 1);
      SetGridCell(StringGridScatter, 0, 0, "Constant");
      SetGridCell(StringGridScatter, 1, 0, "Value");
      for (int r = 1; r <= 9; ++r) {
        SetGridCell(StringGridScatter, 0, r, "A" + std::to_string(r));
        SetGridCell(StringGridScatter, 1, r, General(e->Coefficients[r - 1], 8, 5));
      }
      Labelfp->SetCaption("f':");
    }
  } else {
    Editfp->SetEnabled(true);
    Editfp->SetText(General(e->FPrime, 8, 3));
    if (xray) {
      Chart1->SetEnabled(true);
      RadioButtonInt->SetChecked(true);
      for (TControl* c : std::initializer_list<TControl*>{Editfp, Editfpp, CheckBoxfp, CheckBoxfpp})
        c->SetEnabled(false);
      GridControl(StringGridScatter)->SetVisible(true);
      SetGridRowCount(StringGridScatter, 50);
      SetGridFixed(StringGridScatter, 1, 0);
      SetGridCell(StringGridScatter, 0, 0, "sin(th)/lam");
      SetGridCell(StringGridScatter, 1, 0, "Value");
      for (int r = 1; r < 50; ++r) {
        const bool point = r <= e->PointCount();
        SetGridCell(StringGridScatter, 0, r, point ? General(e->Table.GetX(r - 1), 5, 2) : "");
        SetGridCell(StringGridScatter, 1, r, point ? General(e->Table.GetY(r - 1), 5, 2) : "");
      }
    } else {
      RadioButtonInt->SetChecked(true);
    }
  }
  FLoading = false;
  PlotSCatter(n);
}

void TFormScatter::PlotSCatter(int n) {
  Series1->RemoveAllPoints();
  THistogram* h = Histogram();
  TScatterFactor* e = h ? h->ScatterFactors.Entry(n) : nullptr;
  if (!e) return;
  if (FKind == 1) {
    Chart1->SetEnabled(IsXray());
    if (!IsXray()) return;
    for (int i = 0; i < e->PointCount(); ++i) Series1->AddXYPoint(e->Table.GetX(i), e->Table.GetY(i));
    return;
  }
  const double lambda = h->Wavelength1;
  const auto& a = e->Coefficients;
  for (int i = 0; i <= 90; ++i) {
    const double s = std::sin(i * M_PI / 180) / lambda;
    const double s2 = s * s;
    const double f = e->FPrime + a[8] + a[0] * std::exp(-a[1] * s2) + a[2] * std::exp(-a[3] * s2) +
                     a[4] * std::exp(-a[5] * s2) + a[6] * std::exp(-a[7] * s2);
    if (std::isfinite(s) && std::isfinite(f)) Series1->AddXYPoint(s, f);
  }
}

bool TFormScatter::SaveForm(int hist, int n) {
  THistogram* h = Model ? Model->Histogram(hist) : nullptr;
  TScatterFactor* e = h ? h->ScatterFactors.Entry(n) : nullptr;
  if (!e) return true;
  const bool xray = h->Job == 0 || h->Job == 2;
  TPageFields f;
  const float fp = FKind == 0 || !xray ? f.Real(Editfp->Text(), Labelfp->Caption()) : e->FPrime;
  float fpp = e->FDoublePrime;
  std::array<float, 9> a = e->Coefficients;
  TPairList table;
  if (xray && FKind == 0) {
    fpp = f.Real(Editfpp->Text(), "f'':");
    for (int r = 1; r <= 9; ++r) a[r - 1] = f.Real(GridCell(StringGridScatter, 1, r), "A" + std::to_string(r) + ":");
  } else if (xray) {
    for (int r = 1; r < GridRowCount(StringGridScatter) && table.Count() < MaxScatterTablePoints; ++r) {
      const std::string x = GridCell(StringGridScatter, 0, r), y = GridCell(StringGridScatter, 1, r);
      if (TrimText(x).empty() || TrimText(y).empty()) break;
      const std::string row = "Row " + std::to_string(r);
      const float fx = f.Real(x, row + " sin(th)/lam:");
      table.Add(fx, f.Real(y, row + " Value:"));
    }
  }
  if (!f.Check()) return false;
  e->TableKind = FKind;
  e->FPrime = fp;
  TParameterList& P = Model->Parameters;
  if (!xray) {
    P.SetRefined(hist, ScatterPhase, 1, n, CheckBoxfp->Checked());
  } else {
    e->ClearPoints();
    if (FKind == 0) {
      e->FDoublePrime = fpp;
      e->Coefficients = a;
      P.SetRefined(hist, ScatterPhase, 1, n, CheckBoxfp->Checked());
      P.SetRefined(hist, ScatterPhase, 2, n, CheckBoxfpp->Checked());
    } else {
      for (int i = 0; i < table.Count(); ++i) e->AddPoint(table.GetX(i), table.GetY(i));
    }
  }
  ModelChanged = true;
  FDirty = false;
  return true;
}

void TFormScatter::ComboBoxSNameChange(TObject*) {
  if (FLoading) return;
  const int chosen = ComboBoxSName->ItemIndex() + 1;
  if (FDirty && MessageDlg("Keep Changes?", mtConfirmation, {mbYes, mbNo}) == mrYes &&
      !SaveForm(static_cast<int>(Tag()), FShown)) {
    // A refused value keeps the entry on the page.
    FLoading = true;
    ComboBoxSName->SetItemIndex(FShown - 1);
    FLoading = false;
    return;
  }
  UpdateForm(chosen);
}

void TFormScatter::RadioButtonClick(int Kind) {
  if (FLoading || FShown == 0 || Kind == FKind) return;
  ShowEntry(FShown, Kind);
  FDirty = true;
}

void TFormScatter::ButtonAddClick(TObject*) {
  THistogram* h = Histogram();
  if (!h) return;
  if (FDirty && FShown > 0) {
    const int answer = MessageDlg("Keep Changes?", mtConfirmation, {mbYes, mbNo, mbCancel});
    if (answer == mrCancel) return;
    if (answer == mrYes && !SaveForm(static_cast<int>(Tag()), FShown)) return;
  }
  std::string name;
  if (!InputQuery("New Scatter", "Enter new scatter name:", name)) return;
  name = TrimText(name);
  if (name.empty()) return;
  TScatterFactor* e = h->ScatterFactors.AddNew();
  e->Symbol = ToSymbol4(name);
  ModelChanged = true;
  UpdateForm(h->ScatterFactors.Count());
}

void TFormScatter::ButtonDeleteClick(TObject*) {
  THistogram* h = Histogram();
  TScatterFactor* e = h ? h->ScatterFactors.Entry(FShown) : nullptr;
  if (!e) return;
  if (MessageDlg("Are you sure you want to delete " + e->Symbol + "?", mtConfirmation, {mbYes, mbNo}) != mrYes)
    return;
  const int index = ComboBoxSName->ItemIndex();
  h->ScatterFactors.Delete(FShown);
  DropScatterParameters(Model->Parameters, static_cast<int>(Tag()), FShown);
  ModelChanged = true;
  UpdateForm(std::max(1, index));
}

void TFormScatter::ButtonOKClick(TObject*) {
  if (FShown > 0 && !SaveForm(static_cast<int>(Tag()), FShown)) return;
  SetModalResult(mrOk);
}
