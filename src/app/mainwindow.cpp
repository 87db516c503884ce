#include "app/mainwindow.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "app/texteditor.h"
#include "app/launcher.h"
#include "app/filecopier.h"
#include "app/macrowindow.h"
#include "app/mainlink.h"
#include "app/positionsaver.h"
#include "app/refinewindow.h"
#include "app/mainplatform.h"
#include "app/patternplot.h"
#include "app/periodictable.h"
#include "app/phaseswindow.h"
#include "app/xyztransform.h"
#include "app/scalesdialog.h"
#include "app/macroplot.h"
#include "app/watchwindow.h"
#include "chart/editor/grafeditreg.h"
#include "app/histogramwindow.h"
#include "app/peakwidthwindow.h"
#include "app/samplewindow.h"
#include "app/generalwindow.h"
#include "app/newinputwizard.h"
#include "app/constraintswindow.h"
#include "app/parameterswindow.h"
#include "app/aboutbox.h"
#include "app/preferences.h"
#include "app/rdfwindow.h"
#include "model/brkapart.h"
#include "model/crystal.h"
#include "model/datafiles.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/queuedcall.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbitem.h"
#include "toolbar/tblayoutstore.h"
#include "toolbar/tbmru.h"
#include "toolbar/tbpopupmenu.h"
#include "toolbar/tbtoolbar.h"

TFormZelvora* FormZelvora = nullptr;
TFormMacro* FormMacro = nullptr;

namespace {

const char* const kSettingsKey = "Software\\Zelvora";
const char* const kToolbarsKey = "Software\\Zelvora\\Toolbars";
const char* const kFormKey = "Software\\Zelvora\\Configuration\\ZelvoraForm";

std::vector<std::string>& Arguments() {
  static std::vector<std::string> args;
  return args;
}

// Settings texts keep a point whatever the desktop's locale.
TFormatSettings PointSettings() {
  TFormatSettings s = FormatSettings;
  s.DecimalSeparator = '.';
  return s;
}

std::string RealText(double v) { return FloatToStrF(v, ffGeneral, 7, 0, PointSettings()); }

double ReadReal(TRegIniFile& ini, const std::string& key, const char* def) {
  return TextToReal(ini.ReadString("Instruments", key, def));
}

struct TColourKey {
  const char* Name;
  int Default;
};
// PlotColours in their order.
const TColourKey kColours[6] = {{"Background_Colour", 255}, {"Data_Colour", 0},       {"Calc_Colour", 255},
                                {"Diff_Colour", 65280},     {"Markers_Colour", 65280}, {"Main_Colour", 16777215}};
// PlotScales in their order.
const TColourKey kScales[4] = {{"HKLScale", 100}, {"HKLheight", 5}, {"DifferenceScale", 100}, {"HKLSep", 100}};

}  // namespace

void SetProgramArguments(const std::vector<std::string>& args) { Arguments() = args; }
const std::vector<std::string>& ProgramArguments() { return Arguments(); }

std::string DefaultDatabaseFolder() {
  // The user's data folder: the program's own folder is not the user's to write.
  std::string data = zv_mainplatform::Environment("XDG_DATA_HOME");
  if (data.empty() || data.front() != '/') data = zv_mainplatform::HomeFolderPath() + ".local/share";
  return IncludeTrailingPathDelimiter(data) + "Zelvora/";
}

TInstrument BuiltInInstrument() {
  TInstrument i;
  i.Title = "Cu Ka X-ray machine";
  i.Wave1 = 1.54051;
  i.Wave2 = 1.54433;
  i.U = 0.01;
  i.V = -0.005;
  i.W = 0.02;
  i.gamma = 0.2;
  i.Asym1 = 0.02;
  i.Asym2 = 0.0;
  i.Profile = 3;
  i.Zero = 0.0;
  i.Ratio = 0.5;
  i.Pol = 1.0;
  i.Start = 10.0;
  i.Step = 0.01;
  i.Stop = 80.0;
  i.Radiation = 0;
  return i;
}

namespace {

// Every value WriteConfiguration writes, as the texts it writes them with
// (the settings store keeps numbers written through the INI interface as
// text), in the order of the main window's close.
std::vector<TSettingValue> SettingValues(const TMainSettings& s) {
  std::vector<TSettingValue> v;
  auto add = [&v](const std::string& section, const std::string& ident, const std::string& text) {
    v.push_back({section, ident, text});
  };
  auto num = [&add](const std::string& section, const std::string& ident, int n) {
    add(section, ident, std::to_string(n));
  };
  num("Configuration", "Hints", s.Hints ? 1 : 0);
  num("Configuration", "IRS", IRS);
  num("Configuration", "IDSZ", IDSZ);
  num("Configuration", "NIPOI", NIPOI);
  num("Configuration", "NumberRecent", NumberRecent);
  num("Configuration", "BackgroundAveraging", BackgroundAveraging);
  for (int i = 0; i < 6; ++i) num("Configuration\\Colours", kColours[i].Name, PlotColours[static_cast<size_t>(i)]);
  num("Configuration\\Scales", "HKLScale", PlotScales[0]);
  num("Configuration\\Scales", "HKLSep", PlotScales[3]);
  num("Configuration\\Scales", "HKLheight", PlotScales[1]);
  num("Configuration\\Scales", "DifferenceScale", PlotScales[2]);
  num("History", "Count", 0);
  num("Update", "UpdateSite", UpdateSite);
  num("Configuration", "TempRefine", TempRefine ? 1 : 0);
  num("Configuration", "AssignDatafile", AssignDatafile ? 1 : 0);
  num("Configuration", "StepOnStart", StepOnStart ? 1 : 0);
  num("Configuration", "RefineonEntry", RefineOnEntry ? 1 : 0);
  num("Configuration", "RDPlot", RunOptions.RDPlot ? 1 : 0);
  num("Configuration", "RDWatch", RunOptions.RDWatch ? 1 : 0);
  num("Configuration", "RDUpdate", RunOptions.RDUpdate ? 1 : 0);
  num("Configuration", "RDOnTop", RunOptions.RDOnTop ? 1 : 0);
  num("Configuration", "QSPlot", RunOptions.QSPlot ? 1 : 0);
  num("Configuration", "QSWatch", RunOptions.QSWatch ? 1 : 0);
  num("Configuration", "QSUpdate", RunOptions.QSUpdate ? 1 : 0);
  num("Configuration", "AcceptChanges", AcceptChanges ? 1 : 0);
  num("Configuration", "View_d", ViewD ? 1 : 0);
  num("Configuration", "Style", ConfigStyle);
  add("Configuration", "StartUpDirectgory", StartUpDirectory);
  add("Configuration\\VoraZadar", "StartUpScript", StartUpScript);
  add("Configuration\\VoraZadar", "LibraryScript", LibraryScript);
  for (int n = 1; n <= InstrumentCount; ++n) {
    const std::string k = std::to_string(n);
    const TInstrument& in = Instruments[n];
    add("Instruments", "Instrument_Title" + k, in.Title);
    add("Instruments", "Wave1" + k, RealText(in.Wave1));
    add("Instruments", "Wave2" + k, RealText(in.Wave2));
    add("Instruments", "U" + k, RealText(in.U));
    add("Instruments", "V" + k, RealText(in.V));
    add("Instruments", "W" + k, RealText(in.W));
    add("Instruments", "gamma" + k, RealText(in.gamma));
    add("Instruments", "Asym1" + k, RealText(in.Asym1));
    add("Instruments", "Asym2" + k, RealText(in.Asym2));
    num("Instruments", "Profile" + k, in.Profile);
    add("Instruments", "Zero" + k, RealText(in.Zero));
    add("Instruments", "Ratio" + k, RealText(in.Ratio));
    add("Instruments", "Pol" + k, RealText(in.Pol));
    add("Instruments", "Start" + k, RealText(in.Start));
    add("Instruments", "Step" + k, RealText(in.Step));
    add("Instruments", "Stop" + k, RealText(in.Stop));
    num("Instruments", "Radiation" + k, in.Radiation);
  }
  return v;
}

// What a value holds as text; kNoText when it is missing or not text.
const std::string kNoText("\x01");
std::string StoredText(TRegIniFile& ini, const std::string& section, const std::string& ident) {
  try {
    return ini.ReadString(section, ident, kNoText);
  } catch (const Exception&) {
    return kNoText;
  }
}

// The recent files as stored now: F0 .. F(NumberRecent-1), trimmed, empty
// ones skipped, most recent first.
std::vector<std::string> StoredRecentFiles(TRegIniFile& ini) {
  std::vector<std::string> files;
  for (int i = 0; i < NumberRecent; ++i) {
    const std::string f = Trim(ini.ReadString("RecentFiles", "F" + std::to_string(i), ""));
    if (!f.empty()) files.push_back(f);
  }
  return files;
}

}  // namespace

TMainSettings ReadConfiguration() {
  TMainSettings s;
  TRegistryBatch batch;
  TRegIniFile ini(kSettingsKey);
  if (ini.ReadInteger("Configuration", "Version", -1) == -1) ini.WriteInteger("Configuration", "Version", 1);
  IDSZ = ini.ReadInteger("Configuration", "IDSZ", 10000);
  IRS = ini.ReadInteger("Configuration", "IRS", 4000);
  NIPOI = ini.ReadInteger("Configuration", "NIPOI", 1500);
  NumberRecent = ini.ReadInteger("Configuration", "NumberRecent", 5);
  s.Hints = ini.ReadBool("Configuration", "Hints", true);
  ViewD = ini.ReadBool("Configuration", "View_d", false);
  TempRefine = ini.ReadBool("Configuration", "TempRefine", true);
  StartUpDirectory = ini.ReadString("Configuration", "StartUpDirectgory", "");
  StepOnStart = ini.ReadBool("Configuration", "StepOnStart", false);
  RefineOnEntry = ini.ReadBool("Configuration", "RefineOnEntry", false);
  RunOptions.RDPlot = ini.ReadBool("Configuration", "RDPlot", false);
  RunOptions.RDWatch = ini.ReadBool("Configuration", "RDWatch", false);
  RunOptions.RDUpdate = ini.ReadBool("Configuration", "RDUpdate", false);
  RunOptions.RDOnTop = ini.ReadBool("Configuration", "RDOnTop", false);
  RunOptions.QSPlot = ini.ReadBool("Configuration", "QSPlot", false);
  RunOptions.QSWatch = ini.ReadBool("Configuration", "QSWatch", false);
  RunOptions.QSUpdate = ini.ReadBool("Configuration", "QSUpdate", false);
  ConfigStyle = ini.ReadInteger("Configuration", "Style", 0);
  UpdateSite = ini.ReadInteger("Update", "UpdateSite", 0);
  AcceptChanges = ini.ReadBool("Configuration", "AcceptChanges", false);
  BackgroundAveraging = ini.ReadInteger("Configuration", "BackgroundAveraging", 3);
  StartUpScript = ini.ReadString("Configuration\\VoraZadar", "StartUpScript", "");
  LibraryScript = ini.ReadString("Configuration\\VoraZadar", "LibraryScript", "");
  AssignDatafile = ini.ReadBool("Configuration", "AssignDatafile", false);
  PhaseDatabase = ini.ReadString("Database", "Phases", "");
  if (PhaseDatabase.empty()) {
    PhaseDatabase = DefaultDatabaseFolder() + "phases.db";
    ini.WriteString("Database", "Phases", PhaseDatabase);
  }
  AtomDatabase = ini.ReadString("Database", "Atoms", "");
  if (AtomDatabase.empty()) {
    AtomDatabase = DefaultDatabaseFolder() + "atoms.db";
    ini.WriteString("Database", "Atoms", AtomDatabase);
  }
  (void)ini.ReadInteger("History", "Count", 0);
  for (int i = 0; i < 6; ++i)
    PlotColours[static_cast<size_t>(i)] = ini.ReadInteger("Configuration\\Colours", kColours[i].Name, kColours[i].Default);
  for (int i = 0; i < 4; ++i)
    PlotScales[static_cast<size_t>(i)] = ini.ReadInteger("Configuration\\Scales", kScales[i].Name, kScales[i].Default);

  for (int n = 1; n <= InstrumentCount; ++n) {
    const std::string k = std::to_string(n);
    TInstrument& in = Instruments[n];
    in.Title = ini.ReadString("Instruments", "Instrument_Title" + k, "");
    if (in.Title.empty()) in.Title = "Instrument " + k + " not set";
    in.Wave1 = ReadReal(ini, "Wave1" + k, "1.54051");
    in.Wave2 = ReadReal(ini, "Wave2" + k, "1.54433");
    in.U = ReadReal(ini, "U" + k, "0.01");
    in.V = ReadReal(ini, "V" + k, "-0.005");
    in.W = ReadReal(ini, "W" + k, "0.02");
    in.gamma = ReadReal(ini, "gamma" + k, "0.1");
    in.Asym1 = ReadReal(ini, "Asym1" + k, "0.02");
    in.Asym2 = ReadReal(ini, "Asym2" + k, "0.00");
    in.Profile = ini.ReadInteger("Instruments", "Profile" + k, 3);
    in.Zero = ReadReal(ini, "Zero" + k, "0.0");
    in.Ratio = ReadReal(ini, "Ratio" + k, "0.5");
    in.Pol = ReadReal(ini, "Pol" + k, "0.0");
    in.Start = ReadReal(ini, "Start" + k, "10.0");
    in.Step = ReadReal(ini, "Step" + k, "0.01");
    in.Stop = ReadReal(ini, "Stop" + k, "100.0");
    in.Radiation = ini.ReadInteger("Instruments", "Radiation" + k, 0);
  }
  if (Instruments[1].Title == "Instrument 1 not set") Instruments[1] = BuiltInInstrument();

  s.RecentFiles = StoredRecentFiles(ini);
  // The texts as stored (as this run would write them where the store has
  // none), for the close to tell what this run changed.
  s.Values = SettingValues(s);
  for (TSettingValue& v : s.Values) {
    std::string text = StoredText(ini, v.Section, v.Ident);
    if (text != kNoText) v.Text = std::move(text);
  }
  return s;
}

std::vector<std::string> MergeRecentFiles(const std::vector<std::string>& now, const std::vector<std::string>& atStart,
                                          const std::vector<std::string>& stored, int count) {
  // The files used in this run went to the top of the list: they are the
  // entries before the rest of the list that is still the list read at start.
  std::size_t fresh = 0;
  for (; fresh < now.size(); ++fresh) {
    std::vector<std::string> rest;
    for (const std::string& f : atStart)
      if (std::find(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(fresh), f) ==
          now.begin() + static_cast<std::ptrdiff_t>(fresh))
        rest.push_back(f);
    const std::size_t tail = now.size() - fresh;
    if (rest.size() >= tail && std::equal(now.begin() + static_cast<std::ptrdiff_t>(fresh), now.end(), rest.begin()))
      break;
  }
  std::vector<std::string> merged(now.begin(), now.begin() + static_cast<std::ptrdiff_t>(fresh));
  for (const std::string& f : stored)
    if (std::find(merged.begin(), merged.end(), f) == merged.end()) merged.push_back(f);
  if (count >= 0 && merged.size() > static_cast<std::size_t>(count)) merged.resize(static_cast<std::size_t>(count));
  return merged;
}

void WriteConfiguration(const TMainSettings& s, const TMainSettings* asRead) {
  TRegistryBatch batch;
  TRegIniFile ini(kSettingsKey);
  // Only what this run changed, and what the store lacks, is written: a
  // second instance that closed meanwhile keeps the values it wrote.
  std::map<std::pair<std::string, std::string>, std::string> before;
  if (asRead)
    for (const TSettingValue& v : asRead->Values) before[{v.Section, v.Ident}] = v.Text;
  for (const TSettingValue& v : SettingValues(s)) {
    const auto it = before.find({v.Section, v.Ident});
    if (it != before.end() && it->second == v.Text && StoredText(ini, v.Section, v.Ident) != kNoText) continue;
    ini.WriteString(v.Section, v.Ident, v.Text);
  }
  std::vector<std::string> files = s.RecentFiles;
  if (asRead) {
    if (files == asRead->RecentFiles) return;
    // Merged into the list as another instance may have left it.
    files = MergeRecentFiles(files, asRead->RecentFiles, StoredRecentFiles(ini), NumberRecent);
  }
  for (size_t i = 0; i < files.size(); ++i) ini.WriteString("RecentFiles", "F" + std::to_string(i), Trim(files[i]));
}

// ---- The window ------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TFormZelvora, TForm)

TAction* TFormZelvora::MakeAction(const std::string& name, const std::string& caption, const std::string& hint,
                                  void (TFormZelvora::*handler)(TObject*)) {
  auto* a = new TAction(this);
  a->SetName(name);
  a->SetCaption(caption);
  a->SetHint(hint);
  if (handler) a->SetOnExecute([this, handler](TObject* s) { (this->*handler)(s); });
  return a;
}

TFormZelvora::TFormZelvora(TComponent* AOwner) : TForm(AOwner) {
  SetName("FormZelvora");
  SetText("Zelvora");
  // Its controls and toolbar buttons show their hints while the program shows hints.
  SetShowHint(true);
  SetBounds(312, 108, 806, 320);
  SetClientWidth(798);
  SetClientHeight(289);
  SetKeyPreview(true);
  SetBorderIcons({biSystemMenu, biMinimize, biMaximize, biHelp});

  TBMRUList1 = new TTBMRUList(this);
  TBMRUList1->SetName("TBMRUList1");
  TBMRUList1->SetPrefix("MRU");
  TBMRUList1->SetHidePathExtension(false);
  TBMRUList1->OnClick = [this](TObject* s, const std::string& f) { TBMRUList1Click(s, f); };

  ExFileNoWait = new TExFile(this);
  ExFileNoWait->SetWaitUntilDone(false);
  ExFileWait = new TExFile(this);
  ExFileWait->SetWaitUntilDone(true);
  FileCopy1 = new TFileCopy(this);
  OpenDialog1 = new TOpenDialog(this);
  SaveDialog1 = new TSaveDialog(this);
  PrintDialog1 = new TPrintDialog(this);
  PrinterSetupDialog1 = new TPrinterSetupDialog(this);

  actNew = MakeAction("actNew", "&New", "New input file", &TFormZelvora::actNewExecute);
  actopen = MakeAction("actopen", "&Open", "Open a file", &TFormZelvora::actopenExecute);
  actSave = MakeAction("actSave", "&Save", "Save the input file", &TFormZelvora::actSaveExecute);
  actSaveAS = MakeAction("actSaveAS", "Save &As", "Save the input file under a new name", &TFormZelvora::actSaveASExecute);
  actClose = MakeAction("actClose", "Close", "Close the input file", &TFormZelvora::actCloseExecute);
  actImportGSAS = MakeAction("actImportGSAS", "GSAS exp file", "Import a GSAS experiment file", &TFormZelvora::actImportGSASExecute);
  actImportDWBS = MakeAction("actImportDWBS", "DWBS input file", "Import a DWBS input file", &TFormZelvora::actImportDWBSExecute);
  actImportFULL = MakeAction("actImportFULL", "Fullprof input file", "Import a Fullprof input file", &TFormZelvora::actImportFULLExecute);
  actImportShelx = MakeAction("actImportShelx", "Shelxs file", "Import a Shelxs file", &TFormZelvora::actImportShelxExecute);
  actExportShelx = MakeAction("actExportShelx", "Shelx file", "Export a Shelx file", &TFormZelvora::actExportShelxExecute);
  actExportSir = MakeAction("actExportSir", "SIRPOW97 file", "Export a SIRPOW97 file", &TFormZelvora::actExportSirExecute);
  actPreferences = MakeAction("actPreferences", "P&references", "Preferences", &TFormZelvora::actPreferencesExecute);
  actPrint = MakeAction("actPrint", "&Print", "Print", &TFormZelvora::actPrintExecute);
  actPrintPreview = MakeAction("actPrintPreview", "Print Pre&view", "Print preview", &TFormZelvora::actPrintPreviewExecute);
  actPageSetup = MakeAction("actPageSetup", "Page Set&up", "Page setup", &TFormZelvora::actPageSetupExecute);
  actExit = MakeAction("actExit", "E&xit", "Exit", &TFormZelvora::actExitExecute);
  EditUndo1 = MakeAction("EditUndo1", "&Undo", "Undo", &TFormZelvora::EditUndo1Execute);
  EditUndo1->SetShortCut(ShortCut(VK_BACK, {ssAlt}));
  EditRedo1 = MakeAction("EditRedo1", "&Redo", "Redo", nullptr);
  EditRedo1->SetOnExecute([](TObject*) {});
  EditRedo1->SetShortCut(ShortCut(VK_BACK, {ssAlt}));
  EditCut1 = MakeAction("EditCut1", "Cu&t", "Cut", &TFormZelvora::EditCut1Execute);
  EditCut1->SetShortCut(ShortCut('X', {ssCtrl}));
  EditCopy1 = MakeAction("EditCopy1", "&Copy", "Copy", &TFormZelvora::EditCopy1Execute);
  EditCopy1->SetShortCut(ShortCut('C', {ssCtrl}));
  EditPaste1 = MakeAction("EditPaste1", "&Paste", "Paste", &TFormZelvora::EditPaste1Execute);
  EditPaste1->SetShortCut(ShortCut('V', {ssCtrl}));
  actGeneral = MakeAction("actGeneral", "&General", "General settings", nullptr);
  actGeneral->SetOnExecute([](TObject*) { if (GeneralForm) GeneralForm->Show(); });
  actGeneral->SetShortCut(ShortCut(VK_F5, {}));
  actPhases = MakeAction("actPhases", "&Phases", "Phases", &TFormZelvora::actPhasesExecute);
  actPhases->SetShortCut(ShortCut(VK_F6, {}));
  actHistograms = MakeAction("actHistograms", "&Histograms", "Histograms", &TFormZelvora::actHistogramsExecute);
  actHistograms->SetShortCut(ShortCut(VK_F7, {}));
  actSample = MakeAction("actSample", "&Sample", "Sample", &TFormZelvora::actSampleExecute);
  actSample->SetShortCut(ShortCut(VK_F8, {}));
  actConstraints = MakeAction("actConstraints", "&Constraints", "Constraints", nullptr);
  actConstraints->SetOnExecute([](TObject*) { if (ConstraintForm) ConstraintForm->Show(); });
  actConstraints->SetShortCut(ShortCut(VK_F9, {}));
  actparameters = MakeAction("actparameters", "&Parameters", "Parameters", nullptr);
  actparameters->SetOnExecute([](TObject*) { if (FormParameters) FormParameters->Show(); });
  actRefine = MakeAction("actRefine", "&Refine", "Refine", &TFormZelvora::actRefineExecute);
  actRefine->SetShortCut(ShortCut(VK_F10, {}));
  actManualEdit = MakeAction("actManualEdit", "Manual &Edit", "Manual edit and refine", &TFormZelvora::actManualEditExecute);
  actManualEdit->SetShortCut(ShortCut(VK_F11, {}));
  actBasic = MakeAction("actBasic", "Rietveld &Basic", "Reruzare Rurid", &TFormZelvora::actBasicExecute);
  actBasic->SetShortCut(ShortCut(VK_F12, {}));
  actQuickStart = MakeAction("actQuickStart", "Quick Start", "Quick Start", &TFormZelvora::actQuickStartExecute);
  actViewInput = MakeAction("actViewInput", "View Input", "View Input", &TFormZelvora::actViewInputExecute);
  actViewOutput = MakeAction("actViewOutput", "View Output", "View Output", &TFormZelvora::actViewOutputExecute);
  actViewBVS = MakeAction("actViewBVS", "View BV/Summary", "View BV/Summary", &TFormZelvora::actViewBVSExecute);
  actViewDist = MakeAction("actViewDist", "View Dist/Angles", "View Dist/Angles", &TFormZelvora::actViewDistExecute);
  actViewFourier = MakeAction("actViewFourier", "Plot Fourier", "Plot Fourier", &TFormZelvora::actViewFourierExecute);
  actViewRDF = MakeAction("actViewRDF", "Plot RDF", "Plot RDF", &TFormZelvora::actViewRDFExecute);
  HelpContents1 = MakeAction("HelpContents1", "Help Topics", "Help Topics", nullptr);
  HelpContents1->SetOnExecute([](TObject*) {});
  HelpContents1->SetShortCut(ShortCut(VK_F1, {}));
  // No help is installed with the program.
  HelpContents1->SetVisible(false);
  actShowHints = MakeAction("actShowHints", "&Show Hints", "Show Hints", &TFormZelvora::actShowHintsExecute);
  actUpdate = MakeAction("actUpdate", "&Update Zelvora", "Update Zelvora", &TFormZelvora::actUpdateExecute);
  actAbout = MakeAction("actAbout", "&About", "About", &TFormZelvora::actAboutExecute);
  actScript = MakeAction("actScript", "", "Run a Vorazadar macro", &TFormZelvora::actScriptExecute);

  BuildMenus();

  FScript = std::make_unique<TMainScript>();
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  // Made after the window's own show and close handlers, which it chains.
  FormPosSaverZelvora = new TFormPosSaver(this);
  FormPosSaverZelvora->SetUseRegistry(true);
  FormPosSaverZelvora->SetRegRootKey(_CURRENT_USER);
  FormPosSaverZelvora->SetRegKey(kFormKey);
  FUserItems.assign(MaxUserMenuItems, nullptr);
}

TFormZelvora::~TFormZelvora() {
  if (OnDestroy) {
    TNotifyEvent d = OnDestroy;
    OnDestroy = nullptr;
    d(this);
  }
  MainWindowLink() = TMainWindowLink{};
  if (FormZelvora == this) FormZelvora = nullptr;
  FClosing.reset();
}

namespace {

TTBItem* ActionItem(TComponent* owner, TAction* action) {
  auto* item = new TTBItem(owner);
  item->SetAction(action);
  return item;
}

TTBSubmenuItem* Submenu(TComponent* owner, const std::string& caption) {
  auto* s = new TTBSubmenuItem(owner);
  s->SetCaption(caption);
  return s;
}

void AddAll(TTBCustomItem* parent, std::initializer_list<TTBCustomItem*> items) {
  for (TTBCustomItem* i : items) parent->Add(i);
}

TTBToolbar* NewToolbar(TComponent* owner, const std::string& name, const std::string& caption, TTBDock* dock,
                       int row) {
  auto* bar = new TTBToolbar(owner);
  bar->SetName(name);
  bar->SetText(caption);
  // Built in code: items keep their order when the bar is too short.
  bar->SetChevronPriorityForNewItems(tbcpLowest);
  bar->SetDockRow(row);
  bar->SetCurrentDock(dock);
  return bar;
}

}  // namespace

void TFormZelvora::BuildMenus() {
  TBDockZelvora = new TTBDock(this);
  TBDockZelvora->SetName("TBDockZelvora");
  TBDockZelvora->SetParent(this);
  TBDockZelvora->OnResize = [this](TObject* s) { TBDockZelvoraResize(s); };

  TBToolbarMenu = NewToolbar(this, "TBToolbarMenu", "Menu toolbar", TBDockZelvora, 0);
  TBToolbarMenu->SetMenuBar(true);
  TBToolbarMenu->SetCloseButton(false);
  TBToolbarMain = NewToolbar(this, "TBToolbarMain", "Main toolbar", TBDockZelvora, 1);
  // A row of its own: without pictures the captions need the width.
  TBToolbarRietveld = NewToolbar(this, "TBToolbarRietveld", "Rietveld toolbar", TBDockZelvora, 2);

  auto sep = [this] { return new TTBSeparatorItem(this); };
  auto mru = [this] {
    auto* m = new TTBMRUListItem(this);
    m->SetMRUList(TBMRUList1);
    return m;
  };
  TTBSubmenuItem* file = Submenu(this, "&File");
  TTBSubmenuItem* imp = Submenu(this, "Import");
  AddAll(imp, {ActionItem(this, actImportGSAS), ActionItem(this, actImportDWBS), ActionItem(this, actImportFULL)});
  TTBSubmenuItem* exp = Submenu(this, "Export");
  AddAll(exp, {ActionItem(this, actExportShelx), ActionItem(this, actExportSir)});
  AddAll(file, {ActionItem(this, actNew), ActionItem(this, actopen), ActionItem(this, actSave),
                ActionItem(this, actSaveAS), ActionItem(this, actClose), sep(), imp, exp,
                ActionItem(this, actPreferences), sep(), ActionItem(this, actPrint), ActionItem(this, actPrintPreview),
                ActionItem(this, actPageSetup), sep(), mru(), sep(), ActionItem(this, actExit)});
  TTBSubmenuItem* edit = Submenu(this, "&Edit");
  AddAll(edit, {ActionItem(this, EditUndo1), ActionItem(this, EditRedo1), sep(), ActionItem(this, EditCut1),
                ActionItem(this, EditCopy1), ActionItem(this, EditPaste1)});
  TTBSubmenuItem* model = Submenu(this, "&Model");
  AddAll(model, {ActionItem(this, actGeneral), ActionItem(this, actPhases), ActionItem(this, actHistograms),
                 ActionItem(this, actSample), sep(), ActionItem(this, actparameters),
                 ActionItem(this, actConstraints)});
  TTBSubmenuItem* riet = Submenu(this, "&Rietveld");
  AddAll(riet, {ActionItem(this, actRefine), ActionItem(this, actManualEdit), ActionItem(this, actBasic)});
  TTBSubmenuItem* info = Submenu(this, "&Information");
  AddAll(info, {ActionItem(this, actViewInput), ActionItem(this, actViewOutput), ActionItem(this, actViewBVS),
                ActionItem(this, actViewDist), sep(), ActionItem(this, actViewFourier),
                ActionItem(this, actViewRDF)});
  FHelpMenu = Submenu(this, "&Help");
  AddAll(FHelpMenu, {ActionItem(this, HelpContents1), ActionItem(this, actShowHints), sep(),
                     ActionItem(this, actUpdate), ActionItem(this, actAbout)});
  AddAll(TBToolbarMenu->Items(), {file, edit, model, riet, info, FHelpMenu});

  auto* open = new TTBSubmenuItem(this);
  open->SetAction(actopen);
  open->SetDropdownCombo(true);
  open->Add(mru());
  AddAll(TBToolbarMain->Items(),
         {ActionItem(this, actNew), open, ActionItem(this, actSave), ActionItem(this, actClose),
          ActionItem(this, actExit), sep(), ActionItem(this, actPrint), ActionItem(this, actPrintPreview), sep(),
          ActionItem(this, EditCut1), ActionItem(this, EditCopy1), ActionItem(this, EditPaste1),
          ActionItem(this, EditUndo1), ActionItem(this, EditRedo1), sep(), ActionItem(this, HelpContents1)});
  AddAll(TBToolbarRietveld->Items(),
         {ActionItem(this, actGeneral), ActionItem(this, actHistograms), ActionItem(this, actPhases),
          ActionItem(this, actSample), ActionItem(this, actConstraints), ActionItem(this, actparameters), sep(),
          ActionItem(this, actRefine), ActionItem(this, actManualEdit), ActionItem(this, actBasic), sep(),
          ActionItem(this, actQuickStart)});

  TBPopupMenu1 = new TTBPopupMenu(this);
  TBMaintoolbar = new TTBItem(this);
  TBMaintoolbar->SetCaption("Main toolbar");
  TBMaintoolbar->SetOnClick([this](TObject*) { TBToolbarMain->SetVisible(!TBToolbarMain->Visible()); });
  TBRietveldtoolbar = new TTBItem(this);
  TBRietveldtoolbar->SetCaption("Rietveld toolbar");
  TBRietveldtoolbar->SetOnClick(
      [this](TObject*) { TBToolbarRietveld->SetVisible(!TBToolbarRietveld->Visible()); });
  AddAll(TBPopupMenu1->Items(), {TBMaintoolbar, TBRietveldtoolbar});
  TBPopupMenu1->OnPopup = [this](TObject* s) { TBPopupMenu1Popup(s); };
  TBDockZelvora->SetPopupMenu(TBPopupMenu1);
}

void TFormZelvora::TBPopupMenu1Popup(TObject*) {
  TBMaintoolbar->SetChecked(TBToolbarMain->Visible());
  TBRietveldtoolbar->SetChecked(TBToolbarRietveld->Visible());
}

void TFormZelvora::TBDockZelvoraResize(TObject*) {
  const int h = static_cast<int>(std::lround(0.28 * PixelsPerInch())) + TBDockZelvora->Height() + 10;
  // The layer has no size limits; the height is kept at the one value both
  // limits would give, so the window shows exactly its toolbars and caption.
  if (Height() != h) SetHeight(h);
}

void TFormZelvora::FormCreate(TObject*) {
  FormZelvora = this;
  // The layout and the settings are read with one look at the store's file.
  TRegistryBatch batch;
  ScaleToScreen();
  if (!ScatterSymbols) ScatterSymbols = new TStringList();
  FormatSettings.DecimalSeparator = '.';
  LoadToolbarPositionsFromRegistry(this, HKEY_CURRENT_USER, kToolbarsKey);
  RunMode = rmIdle;
  Model = new TRietveld();
  Model->Loaded = false;

  const std::string problem = zv_mainplatform::SettingsProblem();
  if (!problem.empty()) ShowMessage(problem);
  TMainSettings settings;
  try {
    settings = ReadConfiguration();
    FSettingsAsRead = std::make_unique<TMainSettings>(settings);
  } catch (const Exception& e) {
    // The defaults stand; the program runs on.
    if (problem.empty()) ShowMessage("The settings could not be read: " + e.Message());
  }
  TBMRUList1->SetMaxItems(NumberRecent);
  for (auto it = settings.RecentFiles.rbegin(); it != settings.RecentFiles.rend(); ++it) TBMRUList1->AddFile(*it);
  actShowHints->SetChecked(settings.Hints);
  if (Application) Application->SetShowHint(settings.Hints);
  FillSpaceGroupTable();
  FFirstActivation = false;
  if (!Transformation) Transformation = new TTransformation();
  Transformation->SetIdentity();
  UserMenuCount = 0;
  ModelChanged = false;
  // Work files never go to the current folder.
  WorkFolder = zv_mainplatform::WorkFolderPath();

  TMainWindowLink& link = MainWindowLink();
  link.UpdateForm = [this] { UpdateForm(); };
  link.AddRecentFile = [this](const std::string& f) { AddRecentFile(f); };
  link.RecentFiles = [this] { return RecentFiles(); };
  // The close asked for during a script or a refinement follows its end.
  link.BusyEnded = [] {
    QueueCall([] {
      if (FormZelvora) FormZelvora->Close();
    });
  };
  SetUpViews();
}

void TFormZelvora::ProcessPending() {
  if (Application) Application->ProcessMessages();
}

void TFormZelvora::FormShow(TObject*) {
  if (FShown) return;
  FShown = true;
  const std::vector<std::string>& args = ProgramArguments();
  if (args.size() == 1) {
    ProcessFile(args[0]);
    ProcessPending();
    if (GetFileKind(args[0]) == 0 && Model && Model->Loaded) ProcessPending();
  }
  ProgramFolder = zv_mainplatform::ProgramFolderPath();
  ScriptFolder = ProgramFolder + "scripts";
  FScript->SetUpScript(FHooks);
  ProcessPending();
  ProcessPending();
  FScript->RunScript(StartUpScript);
  CloseMacroTextFile();
  ProcessPending();
}

void TFormZelvora::FormActivate(TObject*) {
  UpdateForm();
  if (ProgramArguments().size() == 1 && !FFirstActivation) {
    // Set first: an activation that comes while messages are processed
    // must not start the same work again on top of this one.
    FFirstActivation = true;
    ProcessPending();
    actQuickStart->Execute();
    ProcessPending();
  }
  // Unattended runs (scripts, tests) end the program once the file is refined.
  if (!FQuitQueued && !zv_mainplatform::Environment("ZELVORA_QUIT_AFTER_START").empty()) {
    FQuitQueued = true;
    QueueCall([this] { Close(); });
  }
}

void TFormZelvora::FormCloseQuery(TObject*, bool& CanClose) {
  // A script, a refinement or a plot still holds what the close frees: it
  // is asked to end, and the close comes again after it.
  if (ProgramBusy()) {
    RequestBusyEnd();
    CanClose = false;
    return;
  }
  CanClose = QuerySaveModel();
  // What the close writes (the window's place first) goes to the store at
  // once, at the window's end.
  if (CanClose && !FClosing) FClosing = std::make_unique<TRegistryBatch>();
}

void TFormZelvora::FormClose(TObject*, TCloseAction&) {
  if (!FClosing) FClosing = std::make_unique<TRegistryBatch>();
  TMainSettings s;
  s.Hints = actShowHints->Checked();
  s.RecentFiles = RecentFiles();

  delete ScatterSymbols;
  ScatterSymbols = nullptr;
  delete RefinePlotWindow;
  RefinePlotWindow = nullptr;
  delete RefinePlotData;
  RefinePlotData = nullptr;
  if (Refinement) {
    // Finishing a started run while it goes shows no message box.
    Refinement->Messages = false;
    delete Refinement;
    Refinement = nullptr;
  }
  delete Model;
  Model = nullptr;
  delete DataPlotWindow;
  DataPlotWindow = nullptr;
  delete LoadedData;
  LoadedData = nullptr;
  for (TEditForm** w : {&ManualEditWindow, &ResultViewWindow, &InputViewWindow, &OutputViewWindow}) {
    delete *w;
    *w = nullptr;
  }
  delete FormGraph;
  FormGraph = nullptr;
  delete Transformation;
  Transformation = nullptr;
  ClearUserMenu();
  try {
    WriteConfiguration(s, FSettingsAsRead.get());
  } catch (const Exception& e) {
    ShowMessage("The settings could not be saved: " + e.Message());
  }
}

void TFormZelvora::FormDestroy(TObject*) {
  try {
    SaveToolbarPositionsToRegistry(this, HKEY_CURRENT_USER, kToolbarsKey);
  } catch (const Exception&) {
    // The layout is a convenience; a store that refuses it was reported at start.
  }
}

std::vector<std::string> TFormZelvora::RecentFiles() const {
  std::vector<std::string> r;
  TStrings* items = TBMRUList1->Items();
  for (int i = 0; i < items->Count(); ++i) r.push_back(items->Get(i));
  return r;
}

void TFormZelvora::AddRecentFile(const std::string& fileName) { TBMRUList1->AddFile(fileName); }

void TFormZelvora::actShowHintsExecute(TObject*) {
  actShowHints->SetChecked(!actShowHints->Checked());
  if (Application) Application->SetShowHint(actShowHints->Checked());
}

// ---- The main block --------------------------------------------------------

int RunZelvora(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  SetProgramArguments(args);
  Application->Initialize();
  if (!zv_mainplatform::Environment("ZELVORA_QUIT_AFTER_START").empty()) {
    // Unattended: messages go to standard error and no dialog waits for a person.
    SetDialogHandler({});
    SetCommonDialogHandler({});
  }
  Application->SetTitle("Zelvora");
  // The chart library's types, editor forms and export formats, in their order.
  RegisterChartEditorUnits();
  // The windows, in their start-up order.
  Application->CreateForm(FormZelvora);
  Application->CreateForm(FormSample);
  Application->CreateForm(RefineForm);
  Application->CreateForm(AboutBox);
  Application->CreateForm(OptionsDlg);
  Application->CreateForm(FormWatch);
  TFormMacro* macro = nullptr;
  Application->CreateForm(macro);
  FormMacro = macro;
  Application->CreateForm(HistogramForm);
  Application->CreateForm(FormPeak);
  Application->CreateForm(PhaseForm);
  Application->CreateForm(FormTrans);
  Application->CreateForm(GeneralForm);
  Application->CreateForm(ConstraintForm);
  Application->CreateForm(FormNewInput);
  Application->CreateForm(FormGraph);
  Application->CreateForm(FormParameters);
  Application->CreateForm(FormRDF);
  Application->CreateForm(FormSetScales);
  Application->CreateForm(FormPeriodicTable);
  FormZelvora->LinkMacroWindow();
  Application->Run();
  {
    // Everything the close writes reaches the store in one save.
    TRegistryBatch closing;
    // The toolbar layout is saved as the main window goes.
    delete FormZelvora;
    // The other start-up windows go with the application, before the process
    // ends, so their toolbars leave the window hooks as they came.
    Application->DestroyComponents();
  }
  UnregisterChartEditorUnits();
  TRegistry::FlushAll();
  return 0;
}
