#include "model/global.h"

#include <cctype>
#include <filesystem>

TRefine* Refinement = nullptr;
TRietveld* Model = nullptr;
TPlotData* LoadedData = nullptr;
TPlotData* RefinePlotData = nullptr;
int RunMode = 0;
TLastActiveControlRef LastActiveControl;
void (*LastActiveControlWatch)(TControl* Old, TControl* New) = nullptr;

TLastActiveControlRef& TLastActiveControlRef::operator=(TControl* Control) {
  if (Control == FControl) return *this;
  TControl* old = FControl;
  FControl = Control;
  if (LastActiveControlWatch) LastActiveControlWatch(old, Control);
  return *this;
}
int IRS = 0, IDSZ = 0, NIPOI = 0;
TArray1<TInstrument, InstrumentCount> Instruments;
bool ModelChanged = false;
std::string ProgramFolder;
std::string ScriptFolder;
std::string InputFileName;
std::string DataFileName;
std::string StartUpDirectory;
std::string WorkFolder;
int SelectedDatabasePhase = 0;
std::string PhaseDatabase, AtomDatabase;
bool TempRefine = false, AssignDatafile = false, StepOnStart = false, RefineOnEntry = false, AcceptChanges = false;
int NumberRecent = 0;
std::array<int, 6> PlotColours{};
std::array<int, 4> PlotScales{};
int ConfigStyle = 0;
bool ViewD = false;
std::vector<std::string> SpaceGroupTable;
TStringList* ScatterSymbols = nullptr;
TRunOptions RunOptions;
int BackgroundAveraging = 0;
int UpdateSite = 0;
TArray1<TUserMenuItem, MaxUserMenuItems> UserMenuItems;
int UserMenuCount = 0;
std::string StartUpScript, LibraryScript;
TTransformation* Transformation = nullptr;
int ScriptErrorCode = 0;

namespace {
const char* const UpdateFolder = "/pub/physics/neutron/rietveld/Zelvora_KORV95/updates/";
}

std::string UpdateMirrorPath(int i) {
  switch (i) {
    case 0: return UpdateFolder;
    case 1:
    case 4: return std::string("/mirrors/crystallography/ftp-mirror/velmo") + UpdateFolder;
    case 2: return std::string("/pub/software/ftp-mirror/velmo") + UpdateFolder;
    case 3: return std::string("/pub/xtallography/ftp-mirror/velmo") + UpdateFolder;
    default: return std::string("/var/spool/ftp") + UpdateFolder;
  }
}

std::string UpdateMirrorHost(int i) {
  switch (i) {
    case 0: return "ftp.zelvora.example";
    case 1: return "www.zelvora-mirror.example";
    case 2: return "ftp.xtal-archive-a.example";
    case 3: return "ftp.xtal-archive-b.example";
    case 4: return "ftp.xtal-archive-c.example";
    default: return "ftp2.zelvora.example";
  }
}

// The name with its extension replaced; folders may be separated by '/' or '\'.
static std::string WithExtension(const std::string& name, const std::string& ext) {
  std::size_t slash = name.find_last_of("/\\");
  std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name + ext;
  return name.substr(0, dot) + ext;
}

static bool IsFile(const std::string& name) {
  std::error_code ec;
  return std::filesystem::is_regular_file(name, ec);
}

void DataFileFollowsModel(const std::string& inputFile, int format) {
  DataFileName = AssignDatafile ? DataFileForInput(inputFile, format) : std::string();
}

std::string DataFileForInput(const std::string& inputFile, int format) {
  std::string ext = ".DAT";
  if (format == 3)
    ext = ".GS";
  else if (format == 4 || format == 5)
    ext = ".XY";
  else if (format == 6)
    ext = ".CPI";
  std::string name = WithExtension(inputFile, ext);
  if (IsFile(name)) return name;
  // File names are case-sensitive here; data files usually carry the lower-case extension.
  std::string lower = ext;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  name = WithExtension(inputFile, lower);
  return IsFile(name) ? name : std::string();
}
