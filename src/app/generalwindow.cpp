#include "app/generalwindow.h"

#include <map>

#include "app/editorfields.h"
#include "app/positionsaver.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"

TGeneralForm* GeneralForm = nullptr;

ZV_CLASS_IMPL_NOPROPS(TGeneralForm, TForm)

namespace {

TGroupBox* Group(TForm* form, const char* caption, int x, int y, int w, int h) {
  auto* g = new TGroupBox(form);
  g->SetParent(form);
  g->SetCaption(caption);
  g->SetBounds(x, y, w, h);
  return g;
}

TLabel* LabelAt(TComponent* owner, TWinControl* parent, const std::string& text, int x, int y, int w) {
  auto* l = new TLabel(owner);
  l->SetParent(parent);
  l->SetCaption(text);
  l->SetBounds(x, y + 3, w, 16);
  return l;
}

void ShowFlag(TCheckBox* box, int value) { box->SetChecked(value == 1); }
int FlagOf(const TCheckBox* box) { return box->Checked() ? 1 : 0; }

}  // namespace

TEdit* TGeneralForm::NumberEdit(TWinControl* parent, const std::string& caption, int x, int y, int labelWidth) {
  LabelAt(this, parent, caption, x, y, labelWidth);
  auto* e = new TEdit(this);
  e->SetParent(parent);
  e->SetBounds(x + labelWidth, y, 70, 21);
  e->OnChange = [this](TObject* s) { DirtyGeneral(s); };
  FFieldNames[e] = caption;
  return e;
}

TCheckBox* TGeneralForm::Box(TWinControl* parent, const std::string& caption, int x, int y, int width) {
  auto* c = new TCheckBox(this);
  c->SetParent(parent);
  c->SetCaption(caption);
  c->SetBounds(x, y, width, 17);
  c->OnClick = [this](TObject* s) { DirtyGeneral(s); };
  return c;
}

TComboBox* TGeneralForm::Combo(TWinControl* parent, const std::string& caption,
                               std::initializer_list<const char*> items, int x, int y, int width) {
  if (!caption.empty()) LabelAt(this, parent, caption, x, y, width);
  auto* c = new TComboBox(this);
  c->SetParent(parent);
  c->SetStyle(csDropDownList);
  for (const char* item : items) c->Items()->Add(item);
  c->SetBounds(x, caption.empty() ? y : y + 20, width, 21);
  c->OnChange = [this](TObject* s) { DirtyGeneral(s); };
  return c;
}

TGeneralForm::TGeneralForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("GeneralForm");
  SetCaption("General");
  SetBorderStyle(bsDialog);
  SetKeyPreview(true);
  SetClientWidth(560);
  SetClientHeight(526);

  LabelAt(this, this, "Title:", 10, 10, 40);
  TitleEdit = new TEdit(this);
  TitleEdit->SetParent(this);
  TitleEdit->SetBounds(50, 10, 500, 21);

  TGroupBox* output = Group(this, "Output", 8, 40, 270, 228);
  IOTCheckBox = Box(output, "Obs. && Calc. Intensties", 10, 20, 250);
  IPLCheckBox = Box(output, "Line Printer Plot", 10, 40, 250);
  IPCCheckBox = Box(output, "Integrated Intensities", 10, 60, 250);
  MATCheckBox = Box(output, "Correlation Matrix", 10, 80, 250);
  LST1CheckBox = Box(output, "Reflection List", 10, 100, 250);
  LST2CheckBox = Box(output, "Input Step Intensities", 10, 120, 250);
  LST3CheckBox = Box(output, "Merged Reflection list", 10, 140, 250);
  IPL1CheckBox = Box(output, "Symmetry Operators", 10, 160, 250);
  cbThermal = Box(output, "Print U's instead of B's", 10, 180, 250);
  cbRecy = Box(output, "Recycle LeBail", 10, 200, 250);

  TGroupBox* files = Group(this, "Files", 8, 274, 270, 130);
  cbPlotFile = Combo(files, "Plot File options:",
                     {"No File", "Excel,Sigma,Axum,Kaledia", "ILL Plot File", "Normalised Plot File",
                      "Standard Plot File"},
                     10, 18, 250);
  cbFourierfile = Combo(files, "Fourier File options:",
                        {"No Fourier File", "hkl, Fo^2, err + symm", "hkl, Fo^2, err", "hkl, Fo^2, phase",
                         "hkl, Fc^2, phase", "hkl, Fo, Fc", "EXTRA/SIRPOW97"},
                        10, 66, 250);

  TGroupBox* data = Group(this, "Data", 286, 40, 266, 160);
  LabelAt(this, data, "Number of Cycles:", 10, 20, 120);
  NCyclesSpinEdit = new TSpinEdit(this);
  NCyclesSpinEdit->SetParent(data);
  NCyclesSpinEdit->SetBounds(140, 20, 60, 22);
  NCyclesSpinEdit->SetMinValue(1);
  NCyclesSpinEdit->SetMaxValue(100);
  NCyclesSpinEdit->OnChange = [this](TObject* s) { DirtyGeneral(s); };
  LSyncCheckBox = Box(data, "Read Syncrotron Data", 10, 48, 240);
  SepCheckBox = Box(data, "Read Separate Data", 10, 68, 240);
  IPREFCheckBox = Box(data, "Use summation in PO", 10, 88, 240);
  cbReadFormat = Combo(data, "Read data using format:",
                       {"10(I2,I6)", "10(I1,I7)", "10I8", "GSAS ESD or STD", "x,y,weight", "x,y", "CPI"}, 10, 106,
                       240);

  TGroupBox* bonds = Group(this, "Bond distances", 286, 206, 266, 52);
  RminEdit = NumberEdit(bonds, "Min Å:", 10, 20, 50);
  RmaxEdit = NumberEdit(bonds, "Max Å:", 136, 20, 50);

  TGroupBox* damping = Group(this, "Relaxation factors", 286, 264, 266, 140);
  Rel1Edit = NumberEdit(damping, "x,y,z,B,n:", 10, 18, 120);
  Rel2Edit = NumberEdit(damping, "B11,B22...B23:", 10, 42, 120);
  Rel3Edit = NumberEdit(damping, "abc,S,Z,P,Biso:", 10, 66, 120);
  Rel4Edit = NumberEdit(damping, "UVW,L,Asy:", 10, 90, 120);

  TGroupBox* limits = Group(this, "Limits and strategy", 8, 410, 544, 76);
  EPSEdit = NumberEdit(limits, "Terminatation:", 10, 18, 100);
  AsymLimitEdit = NumberEdit(limits, "Asymmetry Limit:", 190, 18, 110);
  FFLimitEdit = NumberEdit(limits, "F^2 Limit:", 380, 18, 80);
  cbStrategy = Combo(limits, "", {"Newton-Raphson", "Marquardt Manual", "Marquardt Auto"}, 10, 44, 170);
  edMarquardt = NumberEdit(limits, "Marquart:", 190, 44, 110);

  Button1 = new TButton(this);
  Button1->SetParent(this);
  Button1->SetCaption("OK");
  Button1->SetDefault(true);
  Button1->SetBounds(300, 494, 75, 25);
  Button2 = new TButton(this);
  Button2->SetParent(this);
  Button2->SetCaption("Cancel");
  Button2->SetCancel(true);
  Button2->SetBounds(385, 494, 75, 25);
  Button3 = new TButton(this);
  Button3->SetParent(this);
  Button3->SetCaption("Help");
  Button3->SetBounds(470, 494, 75, 25);
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };

  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
  UpdateForm();
}

TGeneralForm::~TGeneralForm() {
  if (GeneralForm == this) GeneralForm = nullptr;
  if (LastActiveControl && LastActiveControl->Owner() == this) LastActiveControl = nullptr;
}

void TGeneralForm::UpdateForm() {
  if (!Model) return;
  const TRietveld& m = *Model;
  FLoading = true;
  TitleEdit->SetText(m.Title);
  ShowFlag(IOTCheckBox, m.IOT);
  ShowFlag(IPLCheckBox, m.IPL);
  ShowFlag(IPCCheckBox, m.IPC);
  ShowFlag(MATCheckBox, m.MAT);
  ShowFlag(LST1CheckBox, m.LST1);
  ShowFlag(LST2CheckBox, m.LST2);
  ShowFlag(LST3CheckBox, m.LST3);
  ShowFlag(IPL1CheckBox, m.IPL1);
  cbPlotFile->SetItemIndex(m.PlotFile);
  cbFourierfile->SetItemIndex(m.FourierFile);
  ShowFlag(cbRecy, m.RecycleLeBail);
  NCyclesSpinEdit->SetValue(m.Cycles);
  ShowFlag(LSyncCheckBox, m.Sync);
  ShowFlag(SepCheckBox, m.SeparateData);
  ShowFlag(IPREFCheckBox, m.IPREF);
  cbReadFormat->SetItemIndex(m.ReadFormat);
  ShowFlag(cbThermal, m.PrintU);
  RminEdit->SetText(RealToStrFixed(m.Rmin, 5, 3));
  RmaxEdit->SetText(RealToStrFixed(m.Rmax, 5, 3));
  EPSEdit->SetText(RealToStrFixed(m.EPS, 4, 2));
  Rel1Edit->SetText(RealToStrFixed(m.Rel1, 4, 2));
  Rel2Edit->SetText(RealToStrFixed(m.Rel2, 4, 2));
  Rel3Edit->SetText(RealToStrFixed(m.Rel3, 4, 2));
  Rel4Edit->SetText(RealToStrFixed(m.Rel4, 4, 2));
  AsymLimitEdit->SetText(RealToStrFixed(m.AsymLimit, 5, 2));
  FFLimitEdit->SetText(RealToStrFixed(m.F2Limit, 5, 3));
  cbStrategy->SetItemIndex(m.Strategy);
  edMarquardt->SetText(RealToStrFixed(m.Marquardt, 6, 5));
  FLoading = false;
}

void TGeneralForm::FormShow(TObject*) {
  PlaceOnFirstShow(this, FPlaced);
  UpdateForm();
}

void TGeneralForm::DirtyGeneral(TObject*) {
  if (!FLoading && Model && Model->Loaded) ModelChanged = true;
}

void TGeneralForm::Button1Click(TObject*) {
  if (!Model) {
    Close();
    return;
  }
  // Every number is read before anything is stored, so a refused one
  // leaves the whole model as it was.
  TFieldReader read;
  auto columns = [&](TEdit* e) { return read.Columns(e->Text(), FFieldNames[e]); };
  auto real = [&](TEdit* e) { return read.Real(e->Text(), FFieldNames[e]); };
  const float rel1 = columns(Rel1Edit), rel2 = columns(Rel2Edit), rel3 = columns(Rel3Edit), rel4 = columns(Rel4Edit);
  const float asym = columns(AsymLimitEdit), f2 = columns(FFLimitEdit), eps = columns(EPSEdit);
  const float rmin = real(RminEdit), rmax = real(RmaxEdit), marquardt = real(edMarquardt);
  if (!read.Report()) return;

  TRietveld& m = *Model;
  m.Title = TitleEdit->Text();
  m.IOT = FlagOf(IOTCheckBox);
  m.IPL = FlagOf(IPLCheckBox);
  m.IPC = FlagOf(IPCCheckBox);
  m.MAT = FlagOf(MATCheckBox);
  m.LST1 = FlagOf(LST1CheckBox);
  m.LST2 = FlagOf(LST2CheckBox);
  m.LST3 = FlagOf(LST3CheckBox);
  m.IPL1 = FlagOf(IPL1CheckBox);
  m.RecycleLeBail = FlagOf(cbRecy);
  m.Sync = FlagOf(LSyncCheckBox);
  m.SeparateData = FlagOf(SepCheckBox);
  m.IPREF = FlagOf(IPREFCheckBox);
  // A list with nothing chosen keeps what the model had.
  if (cbStrategy->ItemIndex() >= 0) m.Strategy = cbStrategy->ItemIndex();
  m.Rel1 = rel1;
  m.Rel2 = rel2;
  m.Rel3 = rel3;
  m.Rel4 = rel4;
  m.AsymLimit = asym;
  m.F2Limit = f2;
  m.EPS = eps;
  m.Cycles = NCyclesSpinEdit->Value();
  m.Rmin = rmin;
  m.Rmax = rmax;
  m.Marquardt = marquardt;
  if (cbReadFormat->ItemIndex() >= 0) m.ReadFormat = cbReadFormat->ItemIndex();
  m.PrintU = FlagOf(cbThermal);
  if (cbPlotFile->ItemIndex() >= 0) m.PlotFile = cbPlotFile->ItemIndex();
  const int fourier = cbFourierfile->ItemIndex();
  m.FourierFile = fourier < 0 || fourier > 6 ? 0 : fourier;
  Close();
}

void TGeneralForm::Button2Click(TObject*) { Close(); }

void TGeneralForm::Button3Click(TObject*) { ShowMessage("No help is installed for the General window."); }

void TGeneralForm::FormClose(TObject*, TCloseAction& Action) {
  LastActiveControl = nullptr;
  Action = caHide;
}

void TGeneralForm::FormDeactivate(TObject*) {
  if (Visible()) LastActiveControl = ActiveControl();
}
