#include "app/macrofunctions.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "app/texteditor.h"
#include "app/launcher.h"
#include "app/filecopier.h"
#include "app/mainlink.h"
#include "app/workfolder.h"
#include "basic/sbhost.h"
#include "basic/sbtypes.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/textfile.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/forms.h"

namespace {

// ---- Shared state --------------------------------------------------------------

struct TMacroState {
  std::string InputName;
  std::string DataName;
  std::string FileName;
  int FileState = 0;
  std::unique_ptr<std::ifstream> In;
  std::string Out;  // lines written, saved at close
};

TMacroState& State() {
  static TMacroState s;
  return s;
}

void ProcessMessages() {
  if (Application) Application->ProcessMessages();
}

// ---- Arguments --------------------------------------------------------------------

bool Present(TSBCodeList& l, int i) { return GetArgPtr(l, i) != nullptr; }
bool IsString(TSBCodeList& l, int i) { return Present(l, i) && GetArgType(l, i) == tcString; }
bool IsInteger(TSBCodeList& l, int i) { return Present(l, i) && GetArgType(l, i) == tcInteger; }

// ---- The text file ------------------------------------------------------------------

bool OpenForReading(TMacroState& s) {
  // Only regular files: a pipe or a device could keep a read waiting or
  // never reach a line end.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(s.FileName, ec)) return false;
  auto in = std::make_unique<std::ifstream>(s.FileName, std::ios::binary);
  if (!in->is_open()) return false;
  s.In = std::move(in);
  s.FileState = 2;
  return true;
}

bool AtEnd(TMacroState& s) { return !s.In || s.In->peek() == std::char_traits<char>::eof(); }

// The next line (LF, CR LF or CR ends it); at most 255 characters are kept,
// the rest of a longer line is skipped.
std::string NextLine(std::istream& in) {
  std::string line;
  for (;;) {
    const int c = in.get();
    if (c == std::char_traits<char>::eof() || c == '\n') break;
    if (c == '\r') {
      if (in.peek() == '\n') in.get();
      break;
    }
    if (line.size() < 4 * ShortStringMax) line += static_cast<char>(c);
  }
  return CutText(line);
}

void MacroOpenFile(TSBCodeList& l, TSBResultCell& r) {
  TMacroState& s = State();
  if (s.FileState >= 2) {
    SetResultInt(1, r);
    return;
  }
  const std::string name = Trim(GetArgString(l, 0));
  if (IsString(l, 0) && !name.empty()) {
    s.FileName = name;
    s.FileState = 1;
  }
  SetResultInt(0, r);
}

void MacroReadFile(TSBCodeList&, TSBResultCell& r) {
  TMacroState& s = State();
  if (s.FileState == 1) OpenForReading(s);
  if (s.FileState == 2 && !AtEnd(s)) {
    SetResultString(NextLine(*s.In), r);
    return;
  }
  SetResultString("", r);
}

void MacroWriteFile(TSBCodeList& l, TSBResultCell& r) {
  TMacroState& s = State();
  if (s.FileState == 1) {
    s.Out.clear();
    s.FileState = 3;
  }
  if (s.FileState != 3) {
    SetResultInt(2, r);
    return;
  }
  s.Out += GetArgString(l, 0);
  s.Out += '\n';
  SetResultInt(0, r);
}

void MacroCloseFile(TSBCodeList&, TSBResultCell& r) { SetResultInt(CloseMacroTextFile() ? 0 : 1, r); }

void MacroEofFile(TSBCodeList&, TSBResultCell& r) {
  TMacroState& s = State();
  if (s.FileState == 0) {
    SetResultInt(1, r);
    return;
  }
  if (s.FileState == 1 && !OpenForReading(s)) {
    SetResultInt(1, r);  // a file that cannot be opened has nothing to read
    return;
  }
  SetResultInt(s.FileState != 2 || AtEnd(s) ? 1 : 0, r);
}

// ---- Window functions ---------------------------------------------------------------

std::string WriteText(TSBCodeList& l) {
  switch (GetArgType(l, 0)) {
    case tcSingle: return FloatToStrF(GetArgSingle(l, 0), ffGeneral, 7, 0);
    case tcDouble: return FloatToStr(GetArgDouble(l, 0));
    case tcInteger: return std::to_string(GetArgInt(l, 0));
    case tcString: return GetArgString(l, 0);
    case tcDate: return DateToStr(GetArgDate(l, 0));
    default: return {};
  }
}

std::string FileDialog(TOpenDialog* d, TSBCodeList& l) {
  if (!d || !IsString(l, 0) || !IsString(l, 1)) return {};
  d->FileName = GetArgString(l, 0);
  d->Filter = GetArgString(l, 1);
  return d->Execute() ? d->FileName : std::string();
}

void Launch(TExFile* launcher, TSBCodeList& l) {
  if (!launcher || !IsString(l, 0)) return;
  launcher->SetProcFileName(GetArgString(l, 0));
  launcher->Execute();
}

// ---- Files -----------------------------------------------------------------------------

void MacroDeleteFile(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0)) {
    SetResultInt(mcRefused, r);
    return;
  }
  SetResultInt(DeleteFile(GetArgString(l, 0)) ? mcOk : mcNotDeleted, r);
}

void MacroRenameFile(TSBCodeList& l, TSBResultCell& r) {
  SetResultInt(mcRefused, r);
  if (!IsString(l, 0) || !IsString(l, 1)) return;
  const std::string from = GetArgString(l, 0), to = GetArgString(l, 1);
  if (!RenameFile(from, to)) throw EInOutError("Cannot rename " + from + " to " + to, 5);
}

void MacroFindFiles(TSBCodeList& l, TSBResultCell& r) {
  int stored = 0;
  if (IsString(l, 0) && GetArgType(l, 1) == tcString) {
    const std::string pattern = GetArgString(l, 0);
    std::string folder = ExtractFilePath(pattern);
    const std::string mask = ExtractFileName(pattern);
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (MatchesMask(name, mask)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      uint8_t* element = GetArgPtr(l, 1, stored);
      if (!element) break;
      StoreShortString(element, CutText(name));
      ++stored;
      ProcessMessages();
    }
  }
  SetResultInt(stored, r);
}

// ---- Model and engine ------------------------------------------------------------------

bool RunOpen(int state) { return state >= 2 && state <= 4; }

void SetLimits(TRefine& refine) {
  refine.IDSZ = IDSZ;
  refine.IRS = IRS;
}

void MacroRefineFile(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0)) {
    SetResultInt(0, r);
    return;
  }
  if (!Model) Model = new TRietveld();
  // Only the file-name part's extension goes.
  const std::string name = WithoutExtension(GetArgString(l, 0));
  if (!ReadModelSafely(name + ".inp")) {
    ScriptErrorCode = SetResultInt(mcNotLoaded, r);
    return;
  }
  InputFileName = name;
  if (!Refinement) Refinement = new TRefine();
  SetLimits(*Refinement);
  Refinement->BaseName = name;
  Refinement->RunInputFile = InputFileName;
  Refinement->DataFileName = name;
  Refinement->Model = Model;
  Refinement->Messages = false;
  Refinement->StartRefinement();
  if (Refinement->LastError == 0) {
    while (Refinement->CycleCount() < Model->Cycles) {
      Refinement->RunCycle();
      if (Refinement->LastError != 0 || Refinement->State() == 4) break;
    }
    if (Refinement->LastError == 0) Refinement->FinishRefinement(true);
  }
  Refinement->Messages = true;
  ScriptErrorCode = SetResultInt(Refinement->LastError, r);
}

void MacroOpenRietveld(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0)) {
    ScriptErrorCode = SetResultInt(mcRefused, r);
    return;
  }
  if (!Model) Model = new TRietveld();
  TMacroState& s = State();
  s.InputName = GetArgString(l, 0);
  s.DataName.clear();
  std::string file = s.InputName;
  if (ExtractFileExt(file).empty()) file += ".inp";
  ScriptErrorCode = SetResultInt(ReadModelSafely(file) ? mcOk : mcNotLoaded, r);
}

void MacroStartRietveld(TSBCodeList&, TSBResultCell& r) {
  if (!Model) {
    ScriptErrorCode = SetResultInt(mcRefused, r);
    return;
  }
  if (!Model->Loaded) {
    ScriptErrorCode = SetResultInt(mcNotLoaded, r);
    return;
  }
  TMacroState& s = State();
  if (!Refinement) Refinement = new TRefine();
  SetLimits(*Refinement);
  Refinement->BaseName = s.InputName;
  Refinement->RunInputFile = ExtractFileExt(s.InputName).empty() ? s.InputName + ".inp" : s.InputName;
  Refinement->DataFileName = s.DataName.empty() ? s.InputName : s.DataName;
  Refinement->Model = Model;
  const bool messages = Refinement->Messages;
  Refinement->Messages = false;
  Refinement->StartRefinement();
  Refinement->Messages = messages;
  ScriptErrorCode = SetResultInt(Refinement->LastError, r);
}

void MacroStepRietveld(TSBCodeList& l, TSBResultCell& r) {
  if (!IsInteger(l, 0) || !Model || !Model->Loaded || !Refinement) {
    ScriptErrorCode = SetResultInt(mcRefused, r);
    return;
  }
  SetLimits(*Refinement);
  // Cycles need a run that started and has not been finished.
  if (Refinement->LastError != 0 || !RunOpen(Refinement->State())) {
    ScriptErrorCode = SetResultInt(mcRefused, r);
    return;
  }
  const int n = std::max(GetArgInt(l, 0), 1);
  const bool messages = Refinement->Messages;
  Refinement->Messages = false;
  for (int i = 0; i < n; ++i) {
    Refinement->RunCycle();
    if (Refinement->LastError != 0 || Refinement->State() == 4) break;
  }
  Refinement->Messages = messages;
  ScriptErrorCode = SetResultInt(Refinement->LastError, r);
}

void MacroEndRietveld(TSBCodeList&, TSBResultCell& r) {
  int result = 0;
  if (Model && Model->Loaded && Refinement) {
    result = Refinement->LastError;
    if (result == 0 && RunOpen(Refinement->State())) Refinement->FinishRefinement(true);
  }
  ScriptErrorCode = SetResultInt(result, r);
}

void MacroSaveRietveld(TSBCodeList& l, TSBResultCell& r) {
  if (!IsString(l, 0)) {
    SetResultInt(mcRefused, r);
    return;
  }
  const std::string name = Trim(GetArgString(l, 0));
  if (!Model || name.empty()) {
    SetResultInt(mcNoSaveName, r);
    return;
  }
  if (!Model->Loaded) {
    SetResultInt(mcRefused, r);
    return;
  }
  bool written = false;
  try {
    written = Model->WriteInputFile(name);
  } catch (const Exception&) {
    written = false;
  }
  // A file that was not written is not reported as saved.
  SetResultInt(written ? mcOk : mcRefused, r);
}

int ModelHistograms() {
  const TRietveld* m = Refinement && Refinement->Model ? Refinement->Model : Model;
  return m ? m->HistogramCount() : 0;
}

void MacroGetFit(TSBCodeList& l, TSBResultCell& r) {
  const int h = GetArgInt(l, 0);
  SetResultSingle(Refinement && IsInteger(l, 0) && h >= 1 && h <= ModelHistograms() ? Refinement->GetChi2(h) : 0.0f,
                  r);
}

void MacroUpdate(TSBCodeList&, TSBResultCell& r) {
  int result = mcOk;
  if (Model && Refinement && (Refinement->State() == 1 || Refinement->State() == 4)) {
    std::string target = State().InputName;
    if (ExtractFileExt(target).empty()) target += ".inp";
    bool written = false;
    if (ReadModelSafely(Refinement->BaseName + ".upd")) {
      try {
        written = Model->WriteInputFile(target);
      } catch (const Exception&) {
        written = false;
      }
    }
    if (!written) result = mcRefused;
  }
  SetResultInt(result, r);
}

void MacroPlotRietveld(TSBCodeList& l, TSBResultCell& r, TMacroHooks& hooks) {
  SetResultInt(0, r);
  if (!Refinement || Refinement->State() == 0 || !IsInteger(l, 0) || !Refinement->Model) return;
  int h = GetArgInt(l, 0);
  if (h > Refinement->Model->HistogramCount() || h <= 0) h = 1;
  if (!RefinePlotData) RefinePlotData = new TPlotData();
  Refinement->GetPlot(*RefinePlotData, h);
  // The pattern and its histogram change together, before other work runs.
  RefinePlotData->SetHistogramRef(Refinement->Model->Histogram(h));
  ProcessMessages();
  if (!Refinement || !RefinePlotData) return;
  // The caption names the file the run is of.
  if (hooks.Views && hooks.Views->ShowPlot) hooks.Views->ShowPlot(*RefinePlotData, h, Refinement->RunInputFile);
}

void MacroPlot(TSBCodeList& l, TSBResultCell& r, TMacroHooks& hooks) {
  SetResultInt(0, r);
  TMacroPlotTarget* plot = hooks.Plot;
  if (!plot) return;
  TColor color = clRed;
  if (plot->Tag() == 0) {
    plot->AddPointSeries();
    plot->SetTag(1);
  } else {
    color = clBlue;
  }
  plot->ShowWindow();
  plot->ClearSeries(plot->Tag() - 1);
  const int n = GetArgInt(l, 2);
  for (int i = 0; n >= i; ++i) {
    if (!GetArgPtr(l, 0, i) || !GetArgPtr(l, 1, i)) break;
    plot->AddPoint(plot->Tag() - 1, GetArgDouble(l, 0, i), GetArgDouble(l, 1, i), color);
  }
}

struct TEntry {
  const char* Name;
  char Result;
  int Args;
};

// The macro window's order; the main window moves its output, menu and
// folder functions to the front.
const TEntry kFunctions[] = {
    {"OPENFILE", tcInteger, 1},     {"READFILE", tcString, 0},      {"WRITEFILE", tcInteger, 1},
    {"CLOSEFILE", tcInteger, 0},    {"EOFFILE", tcInteger, 0},      {"ADDMENU", tcInteger, 3},
    {"CLEARMENU", tcInteger, 0},    {"CLEARSCR", tcInteger, 0},     {"OPENDIALOG", tcString, 2},
    {"SAVEDIALOG", tcString, 2},    {"COPYFILE", tcInteger, 2},     {"DELETEFILE", tcInteger, 1},
    {"MOVEFILE", tcInteger, 2},     {"RENAMEFILE", tcInteger, 2},   {"WRITE", tcInteger, 1},
    {"REFINEFILE", tcInteger, 1},   {"OPENRIETVELD", tcInteger, 1}, {"STARTRIETVELD", tcInteger, 0},
    {"STEPRIETVELD", tcInteger, 1}, {"ENDRIETVELD", tcInteger, 0},  {"SAVERIETVELD", tcInteger, 1},
    {"GETPARAMETER", tcSingle, 4},  {"GETVALUE", tcSingle, 4},      {"SETPARAMETER", tcInteger, 5},
    {"SETVALUE", tcInteger, 5},     {"GETERROR", tcString, 0},      {"GETFIT", tcSingle, 1},
    {"NUMHISTOGRAMS", tcInteger, 0}, {"NUMPHASES", tcInteger, 0},   {"NUMATOMS", tcInteger, 1},
    {"PLOTRIETVELD", tcInteger, 1}, {"PLOT", tcInteger, 3},         {"SETDATAFILE", tcInteger, 1},
    {"EXECUTE", tcInteger, 1},      {"EXECUTEWAIT", tcInteger, 1},  {"FINDFILES", tcInteger, 2},
    {"UPDATE", tcInteger, 0},
};

std::vector<TEntry> Ordered(TMacroHost host) {
  std::vector<TEntry> out;
  if (host == mhMacroWindow) return {std::begin(kFunctions), std::end(kFunctions)};
  const char* front[] = {"OPENFILE", "READFILE", "WRITEFILE", "CLOSEFILE", "EOFFILE",
                         "CLEARSCR", "WRITE",    "ADDMENU",   "CLEARMENU"};
  auto find = [](const std::string& n) {
    return *std::find_if(std::begin(kFunctions), std::end(kFunctions), [&](const TEntry& e) { return n == e.Name; });
  };
  for (const char* n : front) out.push_back(find(n));
  for (const TEntry& e : kFunctions)
    if (std::none_of(std::begin(front), std::end(front), [&](const char* n) { return std::string(n) == e.Name; }))
      out.push_back(e);
  for (TEntry& e : out)
    if (std::string(e.Name) == "GETERROR") e.Args = 1;
  return out;
}

TSBHostProc Handler(const std::string& name, TMacroHooks& hooks) {
  TMacroHooks* h = &hooks;
  if (name == "OPENFILE") return MacroOpenFile;
  if (name == "READFILE") return MacroReadFile;
  if (name == "WRITEFILE") return MacroWriteFile;
  if (name == "CLOSEFILE") return MacroCloseFile;
  if (name == "EOFFILE") return MacroEofFile;
  if (name == "ADDMENU")
    return [h](TSBCodeList& l, TSBResultCell& r) {
      if (!IsString(l, 0) || !IsString(l, 1) || !IsString(l, 2)) {
        SetResultInt(1, r);
        return;
      }
      if (h->AddUserMenu) h->AddUserMenu(GetArgString(l, 0), GetArgString(l, 1), GetArgString(l, 2));
      SetResultInt(0, r);
    };
  if (name == "CLEARMENU")
    return [h](TSBCodeList&, TSBResultCell& r) {
      if (h->ClearUserMenu) h->ClearUserMenu();
      SetResultInt(0, r);
    };
  if (name == "CLEARSCR")
    return [h](TSBCodeList&, TSBResultCell& r) {
      if (h->ClearOutput) h->ClearOutput();
      SetResultInt(0, r);
    };
  if (name == "WRITE")
    return [h](TSBCodeList& l, TSBResultCell& r) {
      if (h->WriteLine) h->WriteLine(WriteText(l));
      SetResultInt(0, r);
    };
  if (name == "OPENDIALOG")
    return [h](TSBCodeList& l, TSBResultCell& r) { SetResultString(FileDialog(h->OpenDialog, l), r); };
  if (name == "SAVEDIALOG")
    return [h](TSBCodeList& l, TSBResultCell& r) { SetResultString(FileDialog(h->SaveDialog, l), r); };
  if (name == "COPYFILE")
    return [h](TSBCodeList& l, TSBResultCell& r) {
      if (h->FileCopy && IsString(l, 0) && IsString(l, 1)) h->FileCopy->CopyFile(GetArgString(l, 0), GetArgString(l, 1));
      SetResultInt(mcRefused, r);
    };
  if (name == "DELETEFILE") return MacroDeleteFile;
  if (name == "MOVEFILE") return [](TSBCodeList&, TSBResultCell& r) { SetResultInt(mcRefused, r); };
  if (name == "RENAMEFILE") return MacroRenameFile;
  if (name == "REFINEFILE") return MacroRefineFile;
  if (name == "OPENRIETVELD") return MacroOpenRietveld;
  if (name == "STARTRIETVELD") return MacroStartRietveld;
  if (name == "STEPRIETVELD") return MacroStepRietveld;
  if (name == "ENDRIETVELD") return MacroEndRietveld;
  if (name == "SAVERIETVELD") return MacroSaveRietveld;
  if (name == "GETPARAMETER")
    return [](TSBCodeList& l, TSBResultCell& r) {
      SetResultSingle(Refinement && IsInteger(l, 0) ? Refinement->GetParameterValue(GetArgInt(l, 0), GetArgInt(l, 1),
                                                                                    GetArgInt(l, 2), GetArgInt(l, 3))
                                                    : 0.0f,
                      r);
    };
  if (name == "GETVALUE")
    return [](TSBCodeList& l, TSBResultCell& r) {
      SetResultSingle(
          Model ? Model->GetParameterValue(GetArgInt(l, 0), GetArgInt(l, 1), GetArgInt(l, 2), GetArgInt(l, 3)) : 0.0f,
          r);
    };
  if (name == "SETPARAMETER")
    return [](TSBCodeList& l, TSBResultCell& r) {
      SetResultInt(Refinement && IsInteger(l, 0)
                       ? Refinement->SetParameterValue(GetArgInt(l, 0), GetArgInt(l, 1), GetArgInt(l, 2),
                                                       GetArgInt(l, 3), GetArgSingle(l, 4))
                       : 0,
                   r);
    };
  if (name == "SETVALUE")
    return [](TSBCodeList& l, TSBResultCell& r) {
      if (Model)
        Model->SetParameterValue(GetArgInt(l, 0), GetArgInt(l, 1), GetArgInt(l, 2), GetArgInt(l, 3),
                                 GetArgSingle(l, 4));
      SetResultInt(0, r);
    };
  if (name == "GETERROR")
    return [](TSBCodeList&, TSBResultCell& r) { SetResultString(CutText(EngineErrorText(ScriptErrorCode)), r); };
  if (name == "GETFIT") return MacroGetFit;
  if (name == "NUMHISTOGRAMS")
    return [](TSBCodeList&, TSBResultCell& r) { SetResultInt(Model ? Model->HistogramCount() : 0, r); };
  if (name == "NUMPHASES")
    return [](TSBCodeList&, TSBResultCell& r) { SetResultInt(Model ? Model->PhaseCount() : 0, r); };
  if (name == "NUMATOMS")
    return [](TSBCodeList& l, TSBResultCell& r) {
      const int p = GetArgInt(l, 0);
      SetResultInt(Model && IsInteger(l, 0) && p >= 1 && p <= Model->PhaseCount() ? Model->Phase(p)->AtomCount() : 0,
                   r);
    };
  if (name == "PLOTRIETVELD") return [h](TSBCodeList& l, TSBResultCell& r) { MacroPlotRietveld(l, r, *h); };
  if (name == "PLOT") return [h](TSBCodeList& l, TSBResultCell& r) { MacroPlot(l, r, *h); };
  if (name == "SETDATAFILE")
    return [](TSBCodeList& l, TSBResultCell& r) {
      if (!IsString(l, 0)) {
        SetResultInt(0, r);
        return;
      }
      State().DataName = GetArgString(l, 0);
      if (Refinement) Refinement->DataFileName = State().DataName;
      SetResultInt(Refinement ? mcOk : mcRefused, r);
    };
  if (name == "EXECUTE") return [h](TSBCodeList& l, TSBResultCell&) { Launch(h->ExFileNoWait, l); };
  if (name == "EXECUTEWAIT") return [h](TSBCodeList& l, TSBResultCell&) { Launch(h->ExFileWait, l); };
  if (name == "FINDFILES") return MacroFindFiles;
  if (name == "UPDATE") return MacroUpdate;
  return {};
}

}  // namespace

void RegisterMacroFunctions(TSBasic& basic, TMacroHooks& hooks, TMacroHost host) {
  for (const TEntry& e : Ordered(host)) {
    // Scripts reach the program only through these functions: the program's
    // close, asked for while the script ran, ends it at its next call.
    TSBHostProc proc = Handler(e.Name, hooks);
    basic.AddFunction(
        e.Name,
        [proc](TSBCodeList& l, TSBResultCell& r) {
          if (BusyEndRequested()) throw EAbort("The macro was stopped: the program is closing.");
          proc(l, r);
        },
        e.Result, e.Args);
  }
}

std::vector<std::string> MacroFunctionNames(TMacroHost host) {
  std::vector<std::string> names;
  for (const TEntry& e : Ordered(host)) names.push_back(e.Name);
  return names;
}

const std::string& MacroInputName() { return State().InputName; }
const std::string& MacroDataName() { return State().DataName; }
int MacroFileState() { return State().FileState; }

bool CloseMacroTextFile() {
  TMacroState& s = State();
  bool ok = true;
  if (s.FileState == 3) {
    try {
      WriteFileText(s.FileName, s.Out);
    } catch (const Exception&) {
      ok = false;
    }
  }
  s.In.reset();
  s.Out.clear();
  s.FileState = 0;
  return ok;
}

void ResetMacroState() {
  TMacroState& s = State();
  s.In.reset();
  s.Out.clear();
  s.FileState = 0;
  s.FileName.clear();
  s.InputName.clear();
  s.DataName.clear();
}
