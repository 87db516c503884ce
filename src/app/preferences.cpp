#include "app/preferences.h"

#include "app/macrowindow.h"
#include "app/mainwindow.h"
#include "basic/sbasic.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "platform/dialogs.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/strutils.h"

TOptionsDlg* OptionsDlg = nullptr;

ZV_CLASS_IMPL_NOPROPS(TOptionsDlg, TForm)

namespace {

const char* const kSettingsKey = "Software\\Zelvora";
const char* const kMacroFilter = "VoraZadar Files (*.rib)|*.rib";
const char* const kPlaceholder[2] = {"// Enter any startup VoraZadar code here",
                                     "// Enter any library VoraZadar code here"};

// Presets are shown with a point whatever the desktop's locale.
std::string RealText(double v) {
  TFormatSettings s = FormatSettings;
  s.DecimalSeparator = '.';
  return FloatToStrF(v, ffGeneral, 7, 0, s);
}

}  // namespace

std::array<std::string, 6> UpdateSiteLabels() {
  return {"Main site", "Mirror 1", "Mirror 2", "Mirror 3", "Mirror 4", "Not Available"};
}

TTabSheet* TOptionsDlg::NewPage(const std::string& caption) {
  auto* page = new TTabSheet(this);
  page->SetPageControl(PageControl1);
  page->SetText(caption);
  return page;
}

TLabel* TOptionsDlg::NewLabel(TWinControl* parent, const std::string& caption, int left, int top) {
  auto* l = new TLabel(this);
  l->SetParent(parent);
  l->SetText(caption);
  l->SetBounds(left, top + 3, 150, 16);
  return l;
}

TEdit* TOptionsDlg::NewEdit(TWinControl* parent, const std::string& caption, int left, int top, int width) {
  int at = left;
  if (!caption.empty()) {
    NewLabel(parent, caption, left, top)->SetWidth(80);
    at += 80;
  }
  auto* e = new TEdit(this);
  e->SetParent(parent);
  e->SetBounds(at, top, width, 22);
  return e;
}

TCheckBox* TOptionsDlg::NewCheck(TWinControl* parent, const std::string& caption, int left, int top, int width) {
  auto* c = new TCheckBox(this);
  c->SetParent(parent);
  c->SetText(caption);
  c->SetBounds(left, top, width, 20);
  return c;
}

TSpinEdit* TOptionsDlg::NewSpin(TWinControl* parent, const std::string& caption, int left, int top, int min,
                                int max, int step) {
  TLabel* l = NewLabel(parent, caption, left, top);
  l->SetWidth(270);
  auto* s = new TSpinEdit(this);
  s->SetParent(parent);
  s->SetBounds(left + 275, top, 80, 22);
  s->SetMinValue(min);
  s->SetMaxValue(max);
  s->SetIncrement(step);
  return s;
}

TButton* TOptionsDlg::NewButton(TWinControl* parent, const std::string& caption, int left, int top) {
  auto* b = new TButton(this);
  b->SetParent(parent);
  b->SetText(caption);
  b->SetBounds(left, top, 75, 25);
  return b;
}

TOptionsDlg::TOptionsDlg(TComponent* AOwner) : TForm(AOwner) {
  SetName("OptionsDlg");
  SetText("Preferences");
  SetBorderStyle(bsDialog);
  SetClientWidth(425);
  SetClientHeight(334);
  SetPosition(poScreenCenter);

  Panel1 = new TPanel(this);
  Panel1->SetParent(this);
  Panel1->SetAlign(alBottom);
  Panel1->SetHeight(41);
  Panel1->SetText("");
  OKBtn = NewButton(Panel1, "OK", 180, 8);
  OKBtn->SetDefault(true);
  OKBtn->SetModalResult(mrOk);
  OKBtn->OnClick = [this](TObject* s) { OKBtnClick(s); };
  CancelBtn = NewButton(Panel1, "Cancel", 260, 8);
  CancelBtn->SetCancel(true);
  CancelBtn->SetModalResult(mrCancel);
  CancelBtn->OnClick = [this](TObject*) {
    if (!FormState().Contains(fsModal)) Close();
  };
  HelpBtn = NewButton(Panel1, "&Help", 340, 8);

  PageControl1 = new TPageControl(this);
  PageControl1->SetParent(this);
  PageControl1->SetAlign(alClient);
  PageControl1->SetMultiLine(true);

  // General.
  TabGeneral = NewPage("General");
  TempRefineCheckBox = NewCheck(TabGeneral, "Use a temporary directory:", 8, 8, 250);
  cbdatafileassign = NewCheck(TabGeneral, "Automatically assign datafile name", 8, 32, 250);
  seRecent = NewSpin(TabGeneral, "Number of recent files:", 8, 58, 1, 10, 1);
  seRecent->SetValue(4);
  NewLabel(TabGeneral, "Startup directory:", 8, 88);
  edStartUpdir = NewEdit(TabGeneral, "", 8, 108, 300);
  Button2 = NewButton(TabGeneral, "Browse", 316, 106);
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  BackAveSE = NewSpin(TabGeneral, "Semi-Automatic Background Averaging:", 8, 140, 0, 10, 1);
  BackAveSE->SetHint("Background averaging (0=1pt av, 1=3pt av, 2=5pt av...)");
  BackAveSE->SetShowHint(true);
  BackAveSE->OnChange = [this](TObject* s) { BackAveSEChange(s); };
  cbAccept = NewCheck(TabGeneral, "Always accept changes:", 8, 170, 250);

  // Macros.
  TabMacros = NewPage("VoraZadar Macros");
  cbMacro = new TComboBox(this);
  cbMacro->SetParent(TabMacros);
  cbMacro->SetStyle(csDropDownList);
  cbMacro->SetBounds(8, 8, 200, 22);
  cbMacro->Items()->Add("Startup VoraZadar Macro");
  cbMacro->Items()->Add("Library VoraZadar Macro");
  cbMacro->SetItemIndex(0);
  cbMacro->OnChange = [this](TObject* s) { cbMacroChange(s); };
  edMacroFile = NewEdit(TabMacros, "Code File:", 8, 36, 230);
  btBrowse = NewButton(TabMacros, "Browse", 322, 34);
  btBrowse->OnClick = [this](TObject* s) { btBrowseClick(s); };
  NewLabel(TabMacros, "VoraZadar Code:", 8, 62);
  MemoScript = new TMemo(this);
  MemoScript->SetParent(TabMacros);
  MemoScript->SetBounds(8, 82, 310, 150);
  MemoScript->SetScrollBars(ssVertical);
  btSave = NewButton(TabMacros, "Save", 326, 82);
  btSave->OnClick = [this](TObject* s) { btSaveClick(s); };
  btTest = NewButton(TabMacros, "Test", 326, 112);
  btTest->OnClick = [this](TObject* s) { btTestClick(s); };
  Panel3 = new TPanel(this);
  Panel3->SetParent(TabMacros);
  Panel3->SetBounds(8, 236, 395, 20);
  Panel3->SetText("");
  Panel3->SetHint("Displays messages about you code");
  Panel3->SetShowHint(true);

  // Databases.
  TabDatabase = NewPage("Phase Database");
  NewLabel(TabDatabase, "Atom Database:", 8, 8);
  Editatom = NewEdit(TabDatabase, "", 8, 28, 300);
  Button1 = NewButton(TabDatabase, "Browse", 316, 26);
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  NewLabel(TabDatabase, "Phase Database:", 8, 60);
  Editphase = NewEdit(TabDatabase, "", 8, 80, 300);
  Button3 = NewButton(TabDatabase, "Browse", 316, 78);
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };

  // Instruments.
  TabInstruments = NewPage("Instruments");
  seInstrumentNumber = NewSpin(TabInstruments, "Instrument Number:", 8, 4, 1, 20, 1);
  seInstrumentNumber->SetValue(1);
  seInstrumentNumber->OnChange = [this](TObject* s) { seInstrumentNumberChange(s); };
  edTitle = NewEdit(TabInstruments, "Title:", 8, 30, 310);
  NewLabel(TabInstruments, "Radiation Type:", 8, 56)->SetWidth(100);
  cbRadiation = new TComboBox(this);
  cbRadiation->SetParent(TabInstruments);
  cbRadiation->SetStyle(csDropDownList);
  cbRadiation->SetBounds(108, 56, 150, 22);
  for (const char* r : {"X-ray (CW)", "Neutron (CW)", "Neutron (TOF)", "Energy Dispersive"})
    cbRadiation->Items()->Add(r);
  edWave1 = NewEdit(TabInstruments, "Wavelength 1:", 8, 82, 60);
  edWave2 = NewEdit(TabInstruments, "Wavelength 2:", 152, 82, 60);
  edRatio = NewEdit(TabInstruments, "Ratio:", 296, 82, 40);
  edPol = NewEdit(TabInstruments, "Polarization:", 8, 106, 60);
  edZero = NewEdit(TabInstruments, "Zero:", 152, 106, 60);
  NewLabel(TabInstruments, "Profile Type:", 8, 132)->SetWidth(100);
  cbProfile = new TComboBox(this);
  cbProfile->SetParent(TabInstruments);
  cbProfile->SetStyle(csDropDownList);
  cbProfile->SetBounds(108, 132, 200, 22);
  for (const char* p : {"Pseudo-Voigt(Riet asym)", "Pearson IV    (Riet asym)", "Voigt (Riet asym)",
                        "Pseudo-Voigt (How. Asym)", "Voigt (How. Asym)", "Pseudo-Voigt (FCJ Asym)",
                        "Jorgensen (TOF)"})
    cbProfile->Items()->Add(p);
  cbProfile->OnChange = [this](TObject* s) { cbProfileChange(s); };
  edU = NewEdit(TabInstruments, "U:", 8, 158, 60);
  edV = NewEdit(TabInstruments, "V:", 152, 158, 60);
  edW = NewEdit(TabInstruments, "W:", 296, 158, 40);
  edGamma = NewEdit(TabInstruments, "Gam0:", 8, 182, 60);
  edASym1 = NewEdit(TabInstruments, "Asym 1:", 152, 182, 60);
  edASym2 = NewEdit(TabInstruments, "Asym 2:", 296, 182, 40);
  edStart = NewEdit(TabInstruments, "Start:", 8, 206, 60);
  edStep = NewEdit(TabInstruments, "Step:", 152, 206, 60);
  edStop = NewEdit(TabInstruments, "Stop:", 296, 206, 40);

  // Run options.
  TabRunOptions = NewPage("Run Options");
  auto* refine = new TGroupBox(this);
  refine->SetParent(TabRunOptions);
  refine->SetText("Refine Dialog");
  refine->SetBounds(8, 8, 190, 150);
  StepStartCheckBox = NewCheck(refine, "Refine on start", 10, 20, 170);
  cbRDPlot = NewCheck(refine, "Plot", 10, 44, 170);
  cbRDWatch = NewCheck(refine, "Watch", 10, 68, 170);
  cbRDUpdate = NewCheck(refine, "Update", 10, 92, 170);
  cbRDOnTop = NewCheck(refine, "Dialog Stay on top", 10, 116, 170);
  auto* quick = new TGroupBox(this);
  quick->SetParent(TabRunOptions);
  quick->SetText("Quick Start");
  quick->SetBounds(210, 8, 190, 110);
  cbQSPlot = NewCheck(quick, "Plot", 10, 20, 170);
  cbQSWatch = NewCheck(quick, "Watch", 10, 44, 170);
  cbQSUpdate = NewCheck(quick, "Auto update", 10, 68, 170);

  // Internet.
  TabInternet = NewPage("Internet");
  NewLabel(TabInternet, "Update Site:", 8, 8)->SetWidth(80);
  cbUpdateSite = new TComboBox(this);
  cbUpdateSite->SetParent(TabInternet);
  cbUpdateSite->SetStyle(csDropDownList);
  cbUpdateSite->SetBounds(88, 8, 200, 22);
  for (const std::string& label : UpdateSiteLabels()) cbUpdateSite->Items()->Add(label);
  cbUpdateSite->OnChange = [this](TObject* s) { cbUpdateSiteChange(s); };
  edFTPSite = NewEdit(TabInternet, "Site:", 8, 40, 300);
  edFTPDir = NewEdit(TabInternet, "Directory:", 8, 68, 300);

  // Memory: only the arrows change the limits.
  TabMemory = NewPage("Memory");
  SpinEditIDSZ = NewSpin(TabMemory, "Number of Data Points per Histogram:", 8, 8, 500, 30000, 100);
  SpinEditIRS = NewSpin(TabMemory, "Maximum number of reflections per pattern:", 8, 40, 500, 50000, 100);
  SpinEditNIPOI = NewSpin(TabMemory, "Maximum number of reflections per point:", 8, 72, 50, 10000, 50);
  for (TSpinEdit* s : {SpinEditIDSZ, SpinEditIRS, SpinEditNIPOI}) s->SetEditorEnabled(false);

  PageControl1->SetActivePage(TabGeneral);
  OpenDialog1 = new TOpenDialog(this);
  SaveDialog1 = new TSaveDialog(this);
  FTestMessages = std::make_unique<TPanelMessages>(Panel3);

  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  // Laid out for 96 pixels per inch.
  ScaleToScreen();
}

TOptionsDlg::~TOptionsDlg() {
  if (OptionsDlg == this) OptionsDlg = nullptr;
}

void TOptionsDlg::FormShow(TObject*) {
  BackAveSE->SetValue(BackgroundAveraging);
  Editatom->SetText(AtomDatabase);
  Editphase->SetText(PhaseDatabase);
  SpinEditIDSZ->SetValue(IDSZ);
  SpinEditIRS->SetValue(IRS);
  SpinEditNIPOI->SetValue(NIPOI);
  TempRefineCheckBox->SetChecked(TempRefine);
  cbdatafileassign->SetChecked(AssignDatafile);
  cbAccept->SetChecked(AcceptChanges);
  StepStartCheckBox->SetChecked(StepOnStart);
  cbRDPlot->SetChecked(RunOptions.RDPlot);
  cbRDWatch->SetChecked(RunOptions.RDWatch);
  cbRDUpdate->SetChecked(RunOptions.RDUpdate);
  cbRDOnTop->SetChecked(RunOptions.RDOnTop);
  cbQSPlot->SetChecked(RunOptions.QSPlot);
  cbQSWatch->SetChecked(RunOptions.QSWatch);
  cbQSUpdate->SetChecked(RunOptions.QSUpdate);
  edStartUpdir->SetText(StartUpDirectory);
  seRecent->SetValue(NumberRecent);

  FMacroNames = {StartUpScript, LibraryScript};
  FSwitching = true;
  cbMacro->SetItemIndex(0);
  FSwitching = false;
  FMacro = 0;
  LoadMacro(0);

  if (FInstrument == 0) FInstrument = 1;
  DisplayInstrument(FInstrument);

  cbUpdateSite->SetItemIndex(0);
  cbUpdateSite->SetItemIndex(UpdateSite >= 0 && UpdateSite < cbUpdateSite->Items()->Count() ? UpdateSite : 0);
  cbUpdateSiteChange(this);
}

void TOptionsDlg::DisplayInstrument(int n) {
  const TInstrument& in = Instruments[n];
  edTitle->SetText(in.Title);
  const std::pair<TEdit*, double> values[] = {{edWave1, in.Wave1}, {edWave2, in.Wave2}, {edRatio, in.Ratio},
                                              {edPol, in.Pol},     {edZero, in.Zero},   {edU, in.U},
                                              {edV, in.V},         {edW, in.W},         {edGamma, in.gamma},
                                              {edASym1, in.Asym1}, {edASym2, in.Asym2}, {edStart, in.Start},
                                              {edStep, in.Step},   {edStop, in.Stop}};
  for (const auto& [edit, value] : values) edit->SetText(RealText(value));
  cbRadiation->SetItemIndex(in.Radiation);
  cbProfile->SetItemIndex(in.Profile);
  cbProfileChange(this);
}

void TOptionsDlg::StoreInstrument(int n) {
  if (n < 1 || n > InstrumentCount) return;
  TInstrument& in = Instruments[n];
  in.Title = edTitle->Text();
  const std::pair<TEdit*, double*> values[] = {{edWave1, &in.Wave1}, {edWave2, &in.Wave2}, {edRatio, &in.Ratio},
                                               {edPol, &in.Pol},     {edZero, &in.Zero},   {edU, &in.U},
                                               {edV, &in.V},         {edW, &in.W},         {edGamma, &in.gamma},
                                               {edASym1, &in.Asym1}, {edASym2, &in.Asym2}, {edStart, &in.Start},
                                               {edStep, &in.Step},   {edStop, &in.Stop}};
  // Asym 2 is kept as entered for every profile: the FCJ profile uses it.
  for (const auto& [edit, value] : values) *value = TextToReal(edit->Text());
  in.Radiation = cbRadiation->ItemIndex();
  in.Profile = cbProfile->ItemIndex();
}

void TOptionsDlg::seInstrumentNumberChange(TObject*) {
  // Nothing is shown before the first showing.
  if (FInstrument == 0) return;
  StoreInstrument(FInstrument);
  FInstrument = seInstrumentNumber->Value();
  DisplayInstrument(FInstrument);
}

void TOptionsDlg::cbProfileChange(TObject*) { edASym2->SetEnabled(cbProfile->ItemIndex() == 5); }

void TOptionsDlg::BackAveSEChange(TObject*) { BackgroundAveraging = BackAveSE->Value(); }

void TOptionsDlg::cbUpdateSiteChange(TObject*) {
  const int i = cbUpdateSite->ItemIndex();
  edFTPSite->SetText(UpdateMirrorHost(i));
  edFTPDir->SetText(UpdateMirrorPath(i));
}

void TOptionsDlg::LoadMacro(int entry) {
  edMacroFile->SetText(FMacroNames[static_cast<size_t>(entry)]);
  MemoScript->Clear();
  const std::string file = edMacroFile->Text();
  bool loaded = false;
  if (!file.empty() && FileExists(file)) {
    try {
      MemoScript->LoadFromFile(file);
      loaded = true;
    } catch (const Exception& e) {
      ShowMessage(e.Message());
    }
  }
  if (!loaded) MemoScript->SetText(kPlaceholder[entry]);
  MemoScript->SetModified(false);
}

void TOptionsDlg::cbMacroChange(TObject*) {
  if (FSwitching) return;
  const int next = cbMacro->ItemIndex();
  if (next == FMacro || next < 0) return;
  // An unsaved edit is offered for saving rather than lost.
  if (MemoScript->Modified()) {
    switch (MessageDlg("You should save your work. Save the changes to the macro?", mtConfirmation,
                       {mbYes, mbNo, mbCancel})) {
      case mrYes:
        if (SaveMacro()) break;
        [[fallthrough]];
      case mrCancel:
      default:
        FSwitching = true;
        cbMacro->SetItemIndex(FMacro);
        FSwitching = false;
        return;
      case mrNo: break;
    }
  }
  FMacroNames[static_cast<size_t>(FMacro)] = edMacroFile->Text();
  FMacro = next;
  LoadMacro(next);
}

bool TOptionsDlg::SaveMacro() {
  std::string file = edMacroFile->Text();
  if (file.empty()) {
    SaveDialog1->DefaultExt = "rib";
    SaveDialog1->Filter = kMacroFilter;
    SaveDialog1->FileName.clear();
    if (!SaveDialog1->Execute()) return false;
    file = SaveDialog1->FileName;
    edMacroFile->SetText(file);
  }
  try {
    MemoScript->SaveToFile(file);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return false;
  }
  MemoScript->SetModified(false);
  return true;
}

void TOptionsDlg::btSaveClick(TObject*) { SaveMacro(); }

void TOptionsDlg::btBrowseClick(TObject*) {
  OpenDialog1->DefaultExt = "rib";
  OpenDialog1->FileName = "*.rib";
  OpenDialog1->Filter = "VoraZadar Files (*.rib)|*.rib|All files (*.*)|*.*";
  if (!OpenDialog1->Execute()) return;
  edMacroFile->SetText(OpenDialog1->FileName);
  try {
    MemoScript->LoadFromFile(OpenDialog1->FileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
  }
}

void TOptionsDlg::btTestClick(TObject*) {
  TSBasic* basic = nullptr;
  if (FormZelvora && FormZelvora->SBasicMacro()) {
    basic = &FormZelvora->SBasicMacro()->SBasicMacro();
  } else {
    if (!FOwnBasic) FOwnBasic = std::make_unique<TSBasic>();
    basic = FOwnBasic.get();
  }
  if (basic->Busy()) {
    Panel3->SetText("A macro is running; test again when it has ended.");
    return;
  }
  TMemoSource source(MemoScript);
  const std::string headline = basic->Headline();
  basic->SetHeadline("Error");
  basic->SetMessage_Panel(FTestMessages.get());
  basic->SetSource_Memo(&source);
  Panel3->SetText("");
  try {
    if (basic->Compile() == 0) Panel3->SetText("No problems.");
  } catch (const Exception& e) {
    Panel3->SetText("Error: " + e.Message());
  }
  basic->SetSource_Memo(nullptr);
  basic->SetMessage_Panel(nullptr);
  basic->SetHeadline(headline);
}

bool TOptionsDlg::BrowseDatabase(TEdit* edit, const std::string& fileName) {
  OpenDialog1->DefaultExt = "db";
  OpenDialog1->FileName = fileName;
  OpenDialog1->Filter = "Database Files (*.db)|*.db|All files (*.*)|*.*";
  if (!OpenDialog1->Execute()) return false;
  edit->SetText(OpenDialog1->FileName);
  return true;
}

void TOptionsDlg::Button1Click(TObject*) { BrowseDatabase(Editatom, "atoms.db"); }
void TOptionsDlg::Button3Click(TObject*) { BrowseDatabase(Editphase, "phases.db"); }

void TOptionsDlg::Button2Click(TObject*) {
  std::string folder = StartUpDirectory;
  if (SelectDirectory(folder, {sdAllowCreate, sdPerformCreate, sdPrompt})) edStartUpdir->SetText(folder);
}

void TOptionsDlg::OKBtnClick(TObject*) {
  AtomDatabase = Editatom->Text();
  IDSZ = SpinEditIDSZ->Value();
  IRS = SpinEditIRS->Value();
  NIPOI = SpinEditNIPOI->Value();
  StepOnStart = StepStartCheckBox->Checked();
  RunOptions.RDPlot = cbRDPlot->Checked();
  RunOptions.RDWatch = cbRDWatch->Checked();
  RunOptions.RDUpdate = cbRDUpdate->Checked();
  RunOptions.RDOnTop = cbRDOnTop->Checked();
  RunOptions.QSPlot = cbQSPlot->Checked();
  RunOptions.QSWatch = cbQSWatch->Checked();
  RunOptions.QSUpdate = cbQSUpdate->Checked();
  UpdateSite = cbUpdateSite->ItemIndex();
  NumberRecent = seRecent->Value();
  TempRefine = TempRefineCheckBox->Checked();
  AcceptChanges = cbAccept->Checked();
  AssignDatafile = cbdatafileassign->Checked();
  StartUpDirectory = edStartUpdir->Text();
  if (FMacro == 0) {
    StartUpScript = edMacroFile->Text();
    LibraryScript = FMacroNames[1];
  } else {
    StartUpScript = FMacroNames[0];
    LibraryScript = edMacroFile->Text();
  }
  StoreInstrument(seInstrumentNumber->Value());
  FInstrument = seInstrumentNumber->Value();

  try {
    TRegIniFile ini(kSettingsKey);
    ini.WriteInteger("Configuration", "IRS", IRS);
    ini.WriteInteger("Configuration", "IDSZ", IDSZ);
    ini.WriteInteger("Configuration", "NIPOI", NIPOI);
    ini.WriteInteger("Configuration", "NumberRecent", NumberRecent);
    ini.WriteInteger("Configuration", "BackgroundAveraging", BackgroundAveraging);
    ini.WriteBool("Configuration", "TempRefine", TempRefine);
    ini.WriteBool("Configuration", "StepOnStart", StepOnStart);
    ini.WriteBool("Configuration", "RefineonEntry", RefineOnEntry);
    ini.WriteBool("Configuration", "RDPlot", RunOptions.RDPlot);
    ini.WriteBool("Configuration", "RDWatch", RunOptions.RDWatch);
    ini.WriteBool("Configuration", "RDUpdate", RunOptions.RDUpdate);
    ini.WriteBool("Configuration", "RDOntop", RunOptions.RDOnTop);
    ini.WriteBool("Configuration", "QSPlot", RunOptions.QSPlot);
    ini.WriteBool("Configuration", "QSWatch", RunOptions.QSWatch);
    ini.WriteBool("Configuration", "QSUpdate", RunOptions.QSUpdate);
    ini.WriteBool("Configuration", "AcceptChanges", AcceptChanges);
    ini.WriteString("Configuration", "StartUpDirectgory", StartUpDirectory);
    ini.WriteInteger("Update", "UpdateSite", UpdateSite);
    ini.WriteInteger("Configuration", "Style", ConfigStyle);
    PhaseDatabase = Trim(Editphase->Text());
    AtomDatabase = Trim(Editatom->Text());
    ini.WriteString("Database", "Phases", PhaseDatabase);
    ini.WriteString("Database", "Atoms", AtomDatabase);
    ini.WriteString("Configuration\\VoraZadar", "StartUpScript", StartUpScript);
    ini.WriteString("Configuration\\VoraZadar", "LibraryScript", LibraryScript);
  } catch (const Exception& e) {
    ShowMessage("The settings could not be saved: " + e.Message());
  }
  // The modal result of the button closes the dialog.
  if (!(FormState().Contains(fsModal))) Close();
}

void TOptionsDlg::FormClose(TObject*, TCloseAction&) {
  TempRefine = TempRefineCheckBox->Checked();
  LastActiveControl = nullptr;
}

void TOptionsDlg::FormDeactivate(TObject*) { LastActiveControl = ActiveControl(); }
