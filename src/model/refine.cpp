#include "model/refine.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "zudezez_api.h"
#include "model/plotdata.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"
#include "platform/dialogs.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysinfo.h"

namespace {

// The two texts of a code: what ShowError shows and what EngineErrorText
// gives; nullptr means "Error: " followed by the code.
struct TErrorText {
  int Code;
  const char* Shown;
  const char* Told;
};

constexpr TErrorText ErrorTexts[] = {
    {1, "Error opening input file", "Error opening input file"},
    {2, "Error opening output file", "Error opening output file"},
    {3, "Error opening temporary files", "Error opening temporary files"},
    {4, "Error opening bond file", "Error opening bond file"},
    {5, "Error closing files", "Error closing files"},
    {6, "Error opening data file", "Error opening data file"},
    {10, "Trying to get a histogram greater than dimensioned", "Trying to get a histogram greater than dimensioned"},
    {21, "Error reading data file: data lines", "Error reading data file"},
    {22, "Error reading data file: first line", "Error reading data file"},
    {23, "Error reading data file: shouldn' happen", "Error reading data file"},
    {24, "Error:  No background file.", nullptr},
    {31, "End of input file", "End of input file"},
    {32, "Error reading file 4", "Error reading file 4"},
    {33, "Error reading file 2", "Error reading file 2"},
    {34, "Error reading input file", "Error reading input file"},
    {35, "More histograms than allowed.", "More histograms than allowed."},
    {41, "Error: Too many excluded regions", nullptr},
    {43, "Error: Too many scattering entries", nullptr},
    {44, "Error: More variables than allowed", nullptr},
    {45, "Error: Illegal jobtype", nullptr},
    {46, "Error: Excessive peak overlap", nullptr},
    // The engine's limits (engine/zudezez/README.md).
    {47, "Error: More reflections than allowed (200000 per phase)",
     "Error: More reflections than allowed (200000 per phase)"},
    {48, "Error: More points than allowed (1000000 per histogram)",
     "Error: More points than allowed (1000000 per histogram)"},
    {49, "Error: Cell lengths or angles out of range", "Error: Cell lengths or angles out of range"},
    {50, "Error: Scattering coeff. not found", nullptr},
    {51, "Error in space group", nullptr},
    {52, "Error: No reflections found", nullptr},
    {53, "Error: Preferred orientation usage invalid", nullptr},
    {54, "Error: Asymmetry usage invalid", nullptr},
    {56, "Error: Value out of range in input file", "Error: Value out of range in input file"},
    {60, "Error: Q.R=0 in amorp. back. calc.", nullptr},
    {61, "Error: 1/0 in interpolated background", nullptr},
    {70, "No LeBail file for reading", "No LeBail file for reading"},
    {71, "Error reading LeBail file", "Error reading LeBail file"},
    {80, "Not enough points to allocate the full peak width.", "Not enough points to allocate the full peak width."},
    {100, "Memory allocation error - free memory.", nullptr},
    {101, "Memory deallocation problem.", nullptr},
    {200, "Unstable Refinement - change value/number of parameters",
     "Unstable Refinement - change value/number of parameters"},
    {499, nullptr, "Error in function arguments"},
    {500, nullptr, "Error copying files"},
    {501, nullptr, "Error renaming files"},
    {502, nullptr, "Error deleting files"},
    {503, nullptr, "Error moving files"},
    {504, nullptr, "Invalid filename"},
    {900, "Internal DLL problem.", "Internal DLL problem."},
    {901, "Not continuing with computations.", "DLL problem, not continuing with computations."},
};

const TErrorText* FindErrorText(int code) {
  for (const TErrorText& e : ErrorTexts)
    if (e.Code == code) return &e;
  return nullptr;
}

std::string DefaultErrorText(int code) { return "Error: " + std::to_string(code); }

std::string ShownErrorText(int code) {
  const TErrorText* e = FindErrorText(code);
  return e != nullptr && e->Shown != nullptr ? e->Shown : DefaultErrorText(code);
}

// A file name in an engine buffer: the name, a NUL, blanks to the end.
struct TNameBuffer {
  char Text[ZD_NAME_BUFFER];
  explicit TNameBuffer(const std::string& name) {
    std::memset(Text, ' ', sizeof Text);
    std::memcpy(Text, name.data(), name.size());
    Text[name.size()] = '\0';
  }
};

bool FitsBuffer(const std::string& name) { return name.size() < ZD_NAME_BUFFER; }

// The cell parameters of a phase (0, p, 0, 6..11) have their standard errors
// by address; everything else by refinement number.
bool IsCellParameter(int h, int p, int a, int t) { return h == 0 && p >= 1 && a == 0 && t >= 6 && t <= 11; }

// Message of a failed LoadLibrary; empty for codes that get none.
std::string LoadFailureText(unsigned code) {
  switch (code) {
    case 3: return "DLL Error - Path not found";
    case 8:
    case 14: return "DLL Error - Out of Memory";
    case 32: return "DLL Error - Sharing problem";
    case 1114: return "DLL Error - DLL Initialization failed.";
    case 1154: return "DLL Error - DLL damaged or invalid.";
    case 1157: return "DLL Error - DLL not found";
    default: return "";
  }
}

// The data file the engine looks for under a data name (a path with or
// without extension): the name itself when it is a file or has an
// extension, else the name with the data format's extension, which the
// engine takes in either case.
std::string DataFileLookedFor(const std::string& dataName, int format) {
  if (FileExists(dataName) || !ExtractFileExt(dataName).empty()) return dataName;
  std::string ext = ".dat";
  if (format == 3)
    ext = ".gs";
  else if (format == 4 || format == 5)
    ext = ".xy";
  else if (format == 6)
    ext = ".cpi";
  std::string upper = ext;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return FileExists(dataName + upper) ? dataName + upper : dataName + ext;
}

// Free memory below this many MiB draws a warning before loading.
constexpr uint64_t LowMemoryMiB = 10;

}  // namespace

std::string EngineErrorText(int code) {
  if (code == 0) return "No error.";
  const TErrorText* e = FindErrorText(code);
  return e != nullptr && e->Told != nullptr ? e->Told : DefaultErrorText(code);
}

// The entry points in binding order.
struct TRefine::TEntries {
  TZdStartProg StartProg = nullptr;
  TZdCloseProg CloseProg = nullptr;
  TZdIteration Iteration = nullptr;
  TZdGetInfo GetInfo = nullptr;
  TZdGetStatus GetStatus = nullptr;
  TZdPutInfo PutInfo = nullptr;
  TZdGetPlot GetPlot = nullptr;
  TZdGetRdf GetRdf = nullptr;
  TZdGetPlotInfo GetPlotInfo = nullptr;
  TZdQuickClose QuickClose = nullptr;
  TZdCloseMem CloseMem = nullptr;
  TZdGetPar GetPar = nullptr;
  TZdGetPar2 GetPar2 = nullptr;
  TZdGetVerDll GetVerDll = nullptr;
  TZdSetPar SetPar = nullptr;
};

TRefine::TRefine() : FEntries(std::make_unique<TEntries>()) {}

TRefine::~TRefine() {
  // Nothing may leave a destructor; a failure here has been reported already.
  try {
    if (FState != 1 && FLoaded) FinishRefinement(false);
    if (FLoaded) UnloadEngine();
  } catch (...) {
  }
}

void TRefine::Say(const std::string& text) const {
  if (Messages) ShowMessage(text);
}

int32_t TRefine::HistogramCount() const { return Model != nullptr ? Model->HistogramCount() : 0; }

void TRefine::ClearEntries() { *FEntries = TEntries{}; }

bool TRefine::BindEntries() {
  bool failed = false;  // a mandatory entry is missing
  auto bind = [&](auto& entry, const char* name, const char* failure, bool mandatory) {
    using TEntry = std::remove_reference_t<decltype(entry)>;
    entry = failed ? nullptr : reinterpret_cast<TEntry>(GetProcAddress(FModule, name));
    if (entry == nullptr) {
      Say(failure);
      if (mandatory) failed = true;
    }
  };
  TEntries& e = *FEntries;
  bind(e.StartProg, "_startprog@36", "StartProg failed", true);
  bind(e.CloseProg, "_closeprog@12", "Close prog failed", true);
  bind(e.Iteration, "_iteration@16", "iteration failed", true);
  bind(e.GetInfo, "_getinfo@32", "getinfo failed", true);
  bind(e.GetStatus, "_getstatus@4", "getstatus failed", true);
  bind(e.PutInfo, "_putinfo@12", "putinfo failed", true);
  bind(e.GetPlot, "_getplot@32", "getplot failed", true);
  bind(e.GetRdf, "_getrdf@20", "getrdf failed", true);
  bind(e.GetPlotInfo, "_getplotinfo@20", "getplot failed", true);
  bind(e.QuickClose, "_quickclose@0", "quickclose failed", true);
  bind(e.CloseMem, "_closemem@4", "closemem failed", true);
  bind(e.GetPar, "_getpar@28", "getpar failed", true);
  bind(e.GetPar2, "_getpar2@16", "getpar2 failed", true);
  bind(e.GetVerDll, "_getverdll@4", "GetVersion failed", false);
  bind(e.SetPar, "_setpar@24", "setpar failed", false);
  return !failed;
}

void TRefine::LoadEngine() {
  if (FLoaded) return;
  TMemoryStatus memory = GlobalMemoryStatus();
  if (memory.TotalPhys > 0 && memory.AvailPhys / (1024 * 1024) < LowMemoryMiB)
    Say("Low Memory: Close other programs, but will continuing anyway.");

  FModule = LoadLibrary(LibraryName);
  if (FModule == nullptr) {
    std::string text = LoadFailureText(GetLastError());
    if (!text.empty()) Say(text);
    return;
  }
  FLoaded = true;
  if (!BindEntries()) {
    // Nothing can be called in a library that lacks a mandatory entry.
    FLoaded = false;
    ClearEntries();
    FreeLibrary(FModule);
    FModule = nullptr;
    return;
  }
  float version = -1;
  if (FEntries->GetVerDll != nullptr) FEntries->GetVerDll(&version);
  if (!(version >= ZD_MIN_VERSION)) ShowMessage("You are using an old dll.");
}

void TRefine::UnloadEngine() {
  if (!FLoaded) {
    Say("Closed DLL but it wasn't not open");
    return;
  }
  int32_t status = 0;
  FEntries->CloseMem(&status);
  bool freed = FreeLibrary(FModule);
  if (!freed || status != 0) Say("Memory failure in Zudezez.dll");
  FModule = nullptr;
  ClearEntries();
  FLoaded = false;
  FChecked.clear();
}

void TRefine::StartRefinement() {
  LastError = 0;
  FChecked.clear();
  const std::string folder = WorkFolder();
  FCycleCount = 0;
  FConverged = 0;
  if (Model == nullptr) {
    Say("Input not set for refinement.");
    return;
  }
  const std::string inputFile = folder + "testclass.inp";
  // The run's own files (the listing above all) outlive the program: they go
  // to the per-user run folder, not the process's work folder.
  const std::string baseName = BaseName.empty() ? RunFolder() + "testclass" : BaseName;
  const std::string outputFile = baseName + ".out";
  for (const std::string* name : {&inputFile, &std::as_const(DataFileName), &outputFile, &baseName})
    if (!FitsBuffer(*name)) {
      Say("File name too long for the refinement engine (at most " + std::to_string(ZD_NAME_BUFFER - 1) +
          " characters): " + *name);
      LastError = reNameTooLong;
      return;
    }
  FState = 5;
  BaseName = baseName;

  // The engine must never start on a stale or half-written input file.
  bool written = false;
  try {
    written = Model->WriteInputFile(inputFile);
  } catch (const EInOutError& e) {
    Say(e.Message());
  }
  if (!written) {
    LastError = 3;
    FState = 1;
    return;
  }

  TNameBuffer inputBuffer(inputFile), dataBuffer(DataFileName), outputBuffer(outputFile), baseBuffer(baseName);
  if (FLoaded) UnloadEngine();
  LoadEngine();

  int32_t error = 0;
  if (FLoaded) {
    THourGlass hourGlass;
    int32_t count = HistogramCount();
    int32_t idsz = IDSZ, irs = IRS, nipoi = NIPOI;
    try {
      FEntries->StartProg(&count, &idsz, &irs, &nipoi, inputBuffer.Text, dataBuffer.Text, outputBuffer.Text,
                          baseBuffer.Text, &error);
    } catch (const EMathError&) {
      error = reUnstable;
    }
    if (error == 0) error = CheckResults();
  } else {
    error = reNotLoaded;
  }
  if (error == 0) {
    FState = 2;
  } else {
    if (error != reNotLoaded && FLoaded) FEntries->QuickClose();
    ShowError(error);
    FState = 1;
  }
}

void TRefine::RunCycle() {
  THourGlass hourGlass;
  int32_t error = 0;
  if (!FLoaded) {
    error = reNotLoaded;
  } else {
    ++FCycleCount;
    FState = 5;
    if (FConverged == 0) {
      FChecked.clear();
      try {
        int32_t count = HistogramCount();
        FEntries->Iteration(&count, &FCycleCount, &FConverged, &error);
      } catch (...) {
        error = reUnstable;
      }
      if (error == 0) error = CheckResults();
    }
  }
  if (error == 0) {
    FState = 3;
  } else {
    if (error != reNotLoaded && FLoaded) FEntries->QuickClose();
    ShowError(error);
    FState = 1;
  }
  if (FConverged == 1) FState = 4;
}

void TRefine::FinishRefinement(bool update) {
  THourGlass hourGlass;
  int32_t error = 0;
  FChecked.clear();
  if (FLoaded) {
    FState = 5;
    int32_t count = HistogramCount();
    int32_t flag = update ? 1 : 0;
    try {
      FEntries->CloseProg(&count, &flag, &error);
    } catch (const EMathError&) {
      error = reUnstable;
    }
  } else {
    error = reNotLoaded;
  }
  if (error != 0) {
    if (error != reNotLoaded && FLoaded) FEntries->QuickClose();
    ShowError(error);
  }
  FState = 1;
}

void TRefine::QuickClose() {
  THourGlass hourGlass;
  FChecked.clear();
  if (FLoaded) {
    FState = 5;
    try {
      FEntries->QuickClose();
    } catch (const EMathError&) {
      ShowError(reUnstable);
    }
  }
  FState = 1;
}

void TRefine::ShowError(int code) {
  if (code == 6 && Model != nullptr) {
    // Which file was looked for is what the user needs to put it right.
    std::string text = ShownErrorText(code) + " " + DataFileLookedFor(DataFileName, Model->ReadFormat) + ".";
    if (!DataFileAdvice.empty()) text += " " + DataFileAdvice;
    Say(text);
  } else if (code != 0) {
    Say(ShownErrorText(code));
  }
  LastError = code;
  if (code != 0 && FLoaded) {
    const bool saved = Messages;
    Messages = false;
    try {
      UnloadEngine();
    } catch (...) {
      Messages = saved;
      throw;
    }
    Messages = saved;
  }
}

void TRefine::Info(int h, float& rp, float& rwp, float& chi2) {
  std::vector<float> arrays(3 * ZD_INFO_ARRAY, 0.0f);
  int32_t histogram = h;
  float fifth = 0;
  rp = rwp = chi2 = 0;
  FEntries->GetInfo(&histogram, &rp, &rwp, &chi2, &fifth, arrays.data(), arrays.data() + ZD_INFO_ARRAY,
                    arrays.data() + 2 * ZD_INFO_ARRAY);
}

int TRefine::CheckResults() {
  FChecked.clear();
  for (int h = 1; h <= HistogramCount(); ++h) {
    float rp, rwp, chi2;
    Info(h, rp, rwp, chi2);
    if (!std::isfinite(rp) || !std::isfinite(rwp) || !std::isfinite(chi2)) {
      FChecked.clear();
      return reUnstable;
    }
    FChecked.push_back({rp, rwp, chi2});
  }
  if (Model == nullptr) return 0;
  std::set<int32_t> numbers;
  for (const auto& p : Model->Parameters.Refined)
    if (p->Number != 0) numbers.insert(std::abs(p->Number));
  for (int32_t number : numbers) {
    float value = 0, esd = 0;
    int32_t status = 1;
    FEntries->GetPar2(&number, &value, &esd, &status);
    if (status == 0 && !std::isfinite(value)) return reUnstable;
  }
  return 0;
}

int TRefine::GetProgress() {
  if (!FLoaded) return 0;
  float percent = 0;
  try {
    FEntries->GetStatus(&percent);
  } catch (const EMathError&) {
    return 50;
  }
  if (!std::isfinite(percent)) return 50;
  return static_cast<int>(std::clamp(percent, -1e9f, 1e9f));
}

void TRefine::GetAgreement(int h, float& rp, float& rwp, float& chi2) {
  rp = rwp = chi2 = 0;
  if (!FLoaded) return;
  // The engine works the factors out afresh on every call.
  if (h >= 1 && h <= static_cast<int>(FChecked.size())) {
    const TAgreement& a = FChecked[static_cast<std::size_t>(h - 1)];
    rp = a.Rp;
    rwp = a.Rwp;
    chi2 = a.Chi2;
    return;
  }
  Info(h, rp, rwp, chi2);
}

float TRefine::GetRp(int h) {
  if (!FLoaded) return 0;
  float rp, rwp, chi2;
  Info(h, rp, rwp, chi2);
  return rp;
}

float TRefine::GetRwp(int h) {
  if (!FLoaded) return 0;
  float rp, rwp, chi2;
  Info(h, rp, rwp, chi2);
  return rwp;
}

float TRefine::GetChi2(int h) {
  if (!FLoaded) return 0;
  float rp, rwp, chi2;
  Info(h, rp, rwp, chi2);
  return chi2;
}

float TRefine::GetParameterValue(int h, int p, int a, int t) {
  if (!FLoaded) return 0;
  int32_t ah = h, ap = p, aa = a, at = t, status = 1;
  float value = 0, esd = 0;
  FEntries->GetPar(&ah, &ap, &aa, &at, &value, &esd, &status);
  return status == 0 ? value : 0;
}

float TRefine::GetParameterError(int h, int p, int a, int t) {
  if (!FLoaded) return 0;
  float value = 0, esd = 0;
  int32_t status = 1;
  if (IsCellParameter(h, p, a, t)) {
    int32_t ah = h, ap = p, aa = a, at = t;
    FEntries->GetPar(&ah, &ap, &aa, &at, &value, &esd, &status);
  } else {
    if (Model == nullptr) return 0;
    double code = Model->Parameters.GetCode(h, p, a, t);
    int32_t number = static_cast<int32_t>(std::trunc(code / 10));
    FEntries->GetPar2(&number, &value, &esd, &status);
  }
  return status == 0 ? esd : 0;
}

int TRefine::SetParameterValue(int h, int p, int a, int t, float value) {
  if (!FLoaded || FEntries->SetPar == nullptr) return reNotLoaded;
  FChecked.clear();  // the engine calculates the pattern again
  int32_t ah = h, ap = p, aa = a, at = t, status = 0;
  FEntries->SetPar(&ah, &ap, &aa, &at, &value, &status);
  return status;
}

void TRefine::GetPlot(TPlotData& plot, int h) {
  plot.SetStatus(4);
  plot.SetHistogram(h);
  plot.SetTitle(Model != nullptr ? Model->Title : std::string());
  if (!FLoaded) {
    plot.SetPointCount(0);
    plot.SetMarkerCount(0);
    return;
  }
  int32_t histogram = h, points = 0, markers = 0;
  float start = 0, step = 0;
  FEntries->GetPlotInfo(&histogram, &points, &markers, &start, &step);
  plot.AllocatePlot(points, markers);
  if (!plot.IsAllocated()) {
    plot.SetPointCount(0);
    plot.SetMarkerCount(0);
    plot.SetTitle("Low Memory - unable to plot data");
    return;
  }
  plot.SetPointCount(points);
  plot.SetStart(start);
  plot.SetStep(step);
  plot.SetStop(start + static_cast<float>(points - 1) * step);
  plot.SetMarkerCount(markers);
  int32_t idle = FState == 1 ? 1 : 0;
  int32_t unused = 0;
  // An empty marker array still gets a valid address.
  int32_t noCode = 0;
  float noPosition = 0;
  int32_t* codes = markers > 0 ? plot.MarkerCodes().data() : &noCode;
  float* positions = markers > 0 ? plot.MarkerPositions().data() : &noPosition;
  FEntries->GetPlot(&histogram, &idle, &unused, plot.X().data(), plot.Y().data(), plot.Calculated().data(), codes,
                    positions);
  plot.SetStop(plot.X()[static_cast<std::size_t>(points - 1)]);
}

int TRefine::GetRDF(std::span<float> values, int phase, int kind) {
  if (!FLoaded) return reNotLoaded;
  if (values.size() < 1 + ZD_RDF_POINTS) return 499;
  float range = 10.0f;
  int32_t aphase = phase, akind = kind, status = 0;
  FEntries->GetRdf(values.data() + 1, &range, &aphase, &akind, &status);
  return status;
}
