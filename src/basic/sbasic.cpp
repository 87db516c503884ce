#include "basic/sbasic.h"

#include <sys/stat.h>

#include <iterator>

#include "basic/sberrors.h"
#include "basic/sbfuncs.h"
#include "basic/sblexer.h"
#include "model/brkapart.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/textfile.h"

namespace {

// Marks the component busy for a compile or a run; a host function that
// tries to compile or run the same component meanwhile is refused.
class TBusyGuard {
public:
  explicit TBusyGuard(bool& busy) : FBusy(busy) {
    if (FBusy) throw EInvalidOperation("The macro interpreter is already running");
    FBusy = true;
  }
  ~TBusyGuard() { FBusy = false; }
  TBusyGuard(const TBusyGuard&) = delete;
  TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
  bool& FBusy;
};

// Far above any compiled program (a variable holds at most MaxStorageSize).
constexpr std::uint64_t MaxCodeFileSize = std::uint64_t{1} << 30;

void CopyLimits(TSBCodeList& body, const TSBCodeList& main) {
  body.MaxCount = main.MaxCount;
  body.MaxDimension = main.MaxDimension;
  body.LineOffset = main.LineOffset;
}

}  // namespace

TSBasic::TSBasic() {
  CreateBaseTypes();
  FCode = std::make_unique<TSBCodeList>(&FTypeList, "MAIN", &FFunctionList);
  FCode->RunControl = &FRunControl;
  RegisterBuiltins(*FCode);
  FKeptFunctions = static_cast<int>(FFunctionList.size());
  FTranslator = std::make_unique<TSBTranslator>(FCode.get(), &FTypeList, &FFunctionList);
  FTranslator->Checker = &FChecker;
}

TSBasic::~TSBasic() = default;

void TSBasic::AddType(std::unique_ptr<TSBType> type) {
  type->Index = static_cast<int32_t>(FTypeList.size());
  FTypeList.push_back(std::move(type));
  ++FBaseTypeCount;
}

void TSBasic::CreateBaseTypes() {
  static const struct {
    const char* Name;
    char Code;
  } base[] = {{"BOOLEAN", tcInteger}, {"INTEGER", tcInteger}, {"SINGLE", tcSingle}, {"FLOAT", tcSingle},
              {"DOUBLE", tcDouble},   {"STRING", tcString},   {"DATE", tcDate}};
  for (const auto& b : base) AddType(std::make_unique<TSBType>(b.Name, nullptr, &FFunctionList, &FTypeList, b.Code));
}

void TSBasic::ResetUserItems() {
  // Nothing may keep pointing at the user types and functions freed here.
  FCode->ClearCode();
  FCode->ClearVariables();
  if (FTranslator) {
    FTranslator->Current = FCode.get();
    FTranslator->CurrentClass = nullptr;
  }
  if (static_cast<int>(FFunctionList.size()) > FKeptFunctions) FFunctionList.resize(FKeptFunctions);
  if (static_cast<int>(FTypeList.size()) > FBaseTypeCount) FTypeList.resize(FBaseTypeCount);
  FCode->Labels.Clear();
  FCode->GotoRefs.Clear();
}

std::string TSBasic::CutComment(const std::string& text) {
  const std::size_t at = text.find("//");
  return at == std::string::npos ? text : text.substr(0, at);
}

void TSBasic::ShowMessageText(const std::string& text) {
  if (FDebug.MessagePanel) FDebug.MessagePanel->SetCaption(text);
  if (FDebug.MessageLabel) FDebug.MessageLabel->SetCaption(text);
}

void TSBasic::ForEachBody(void (*f)(TSBCodeList&, const TSBCodeList&)) {
  for (auto& fn : FFunctionList)
    if (fn->CodeList) f(*fn->CodeList, *FCode);
}

void TSBasic::SetMax_Count(int v) {
  FCode->MaxCount = v;
  ForEachBody(CopyLimits);
}

void TSBasic::SetMax_Dimension(int v) {
  FCode->MaxDimension = v;
  ForEachBody(CopyLimits);
}

void TSBasic::SetCode_File(const std::string& v) {
  FCode->Code_File = v;
  if (!v.empty()) {
    FCode->Code_DataField.clear();
    FCode->Code_DataSource = nullptr;
  }
}

void TSBasic::SetCode_DataSource(TSBDataSource* v) {
  FCode->Code_DataSource = v;
  if (v) FCode->Code_File.clear();
}

void TSBasic::SetCode_DataField(const std::string& v) {
  FCode->Code_DataField = v;
  if (!v.empty()) FCode->Code_File.clear();
}

int TSBasic::AddFunction(const std::string& name, TSBHostProc routine, char resultCode, int argCount) {
  if (FBusy) throw EInvalidOperation("The macro interpreter is running");
  // Registering validates the function first, so that a refused one leaves the
  // compiled program in place.
  FCode->RegisterHostFunction(name, std::move(routine), resultCode, argCount);
  std::unique_ptr<TSBFunc> host = std::move(FFunctionList.back());
  FFunctionList.pop_back();
  // Host functions sit below the program's own; compiled code refers to both by index.
  ResetUserItems();
  FFunctionList.push_back(std::move(host));
  ++FKeptFunctions;
  return 0;
}

// ---- Compile -------------------------------------------------------------------------

void TSBasic::Clear() {
  if (FBusy) throw EInvalidOperation("The macro interpreter is running");
  ResetUserItems();
  FCode->RunFrames.reset();
}

int TSBasic::Compile() {
  TBusyGuard busy(FBusy);
  TSBMemoryScope memory(FBudget);
  // The text is read first: a source that cannot be read leaves the code as it was.
  FSource.LoadText();
  ResetUserItems();
  FChecker.Reset();
  FTranslator->Reset();
  ShowMessageText(std::string());
  const std::vector<std::string>& lines = FSource.Lines;
  const int library = FSource.LibraryLines;
  TSBErrorRecord error;
  TSBTokenList pending;
  int continuedLine = -1;
  for (int i = 0; i < static_cast<int>(lines.size()) && error.ErrorCode == 0; ++i) {
    const int line = i - library;
    FTranslator->LineNo = i;
    std::string text = CutText(TrimText(lines[i]));
    text = TrimText(CutComment(text));
    if (CutLabel(*FTranslator->Current, text)) {
      error = TSBErrorRecord{sbeInvalidSymbol, line, 0, std::string()};
      break;
    }
    if (text.empty()) continue;
    error = FChecker.CheckCharacters(line, UpperCase(text));
    if (error.ErrorCode) break;
    const bool continued = text.back() == '_';
    if (continued) {
      text = TrimText(text.substr(0, text.size() - 1));
      continuedLine = i;
    }
    if (!text.empty()) {
      TSBTokenList tokens = Tokenize(*FTranslator->Current, text);
      pending.insert(pending.end(), std::make_move_iterator(tokens.begin()), std::make_move_iterator(tokens.end()));
    }
    if (continued) continue;
    continuedLine = -1;
    if (!pending.empty()) {
      try {
        FTranslator->ResolveNames(pending, error);
        if (error.ErrorCode == 0) error = FChecker.CheckLine(line, pending);
        if (error.ErrorCode == 0) FTranslator->TranslateStatement(pending, error);
      } catch (const ESBRunError& e) {
        // Declarations past the memory budget.
        error = TSBErrorRecord{e.Code, line, 0, std::string()};
      }
      error.ErrorLine = line;
    }
    pending.clear();
  }
  if (error.ErrorCode == 0 && continuedLine >= 0)
    error = TSBErrorRecord{sbeOpenContinuation, continuedLine - library, 0, std::string()};
  if (error.ErrorCode == 0) error = FChecker.CheckProgramEnd();
  if (error.ErrorCode == 0 && FTranslator->Current != FCode.get()) {
    // A FUNCTION left open at the end is closed as END FUNCTION would.
    TSBCode exit;
    exit.Op.Kind = skExit;
    exit.Line = static_cast<int32_t>(lines.size());
    FTranslator->Current->AddCode(exit);
    FTranslator->Current->Link();
    FTranslator->Current = FCode.get();
  }
  if (error.ErrorCode != 0) {
    FChecker.SetError(error.ErrorCode, error.ErrorLine, error.ErrorName);
    ShowMessageText(FHeadline + ": " + FChecker.ErrorMessage());
    ResetUserItems();
    return error.ErrorCode;
  }
  TSBCode end;
  end.Op.Kind = skQuite;
  end.Line = static_cast<int32_t>(lines.size());
  FCode->AddCode(end);
  FCode->Link();
  // Bodies were linked as they ended; their operands' element sizes are taken
  // again now that every type is complete.
  ForEachBody([](TSBCodeList& body, const TSBCodeList&) { body.LinkOperands(); });
  SaveCompiledCode();
  return 0;
}

// ---- Run -------------------------------------------------------------------------------

int TSBasic::Run() {
  if (FBusy) throw EInvalidOperation("The macro interpreter is already running");
  if (FCode->Codes.empty())
    if (const int error = LoadCompiledCode()) return error;
  TBusyGuard busy(FBusy);
  TSBMemoryScope memory(FBudget);
  FRunControl.StopRequested = false;
  FCode->LineOffset = FSource.LibraryLines;
  ForEachBody(CopyLimits);
  int result = 0;
  try {
    result = FCode->Run().ErrorCode;
  } catch (const ESBRunError& e) {
    // Raised between entries (a call's copies past the memory budget).
    FCode->Error.ErrorCode = result = e.Code;
  }
  if (result > 0) ShowMessageText(FCode->ErrorReport());
  return result;
}

// ---- Compiled code ----------------------------------------------------------------------

void TSBasic::WriteCompiledCode(TSBWriter& w) const {
  w.WriteShortString(PCodeSignature);
  w.WriteInt(PCodeVersion);
  w.WriteInt(FBaseTypeCount);
  w.WriteInt(static_cast<int32_t>(FTypeList.size()));
  for (std::size_t i = FBaseTypeCount; i < FTypeList.size(); ++i) FTypeList[i]->WriteTo(w);
  FCode->SaveCode(w);
  w.WriteInt(FKeptFunctions);
  w.WriteInt(static_cast<int32_t>(FFunctionList.size()));
  for (std::size_t i = FKeptFunctions; i < FFunctionList.size(); ++i) {
    const TSBFunc& f = *FFunctionList[i];
    f.WriteTo(w);
    if (f.CodeList) {
      w.WriteByte(1);
      f.CodeList->SaveCode(w);
    } else {
      w.WriteByte(0);
    }
  }
}

namespace {

constexpr std::size_t TypeRecordMin = 22;  // empty name, no fields or methods
constexpr std::size_t FuncRecordMin = 19;  // empty name, then the flag byte

void CheckCalls(const TSBCodeList& list, std::size_t functions) {
  for (const TSBCode& c : list.Codes)
    if (c.Op.Kind == skCall && (c.Op.Value < 0 || static_cast<std::size_t>(c.Op.Value) >= functions))
      TSBReader::Fail("call of an unknown function");
}

}  // namespace

bool TSBasic::ReadCompiledCode(TSBReader& r) {
  TSBMemoryScope memory(FBudget);
  ResetUserItems();
  r.MaxDimension = FCode->MaxDimension;
  try {
    if (r.ReadShortString() != PCodeSignature || r.ReadInt() != PCodeVersion) TSBReader::Fail("not compiled code");
    if (r.ReadInt() != FBaseTypeCount) TSBReader::Fail("other base types");
    const int32_t types = r.ReadInt();
    if (types < FBaseTypeCount || static_cast<std::size_t>(types - FBaseTypeCount) > r.Remaining() / TypeRecordMin)
      TSBReader::Fail("bad type count");
    for (int32_t k = FBaseTypeCount; k < types; ++k) {
      auto t = std::make_unique<TSBType>("", nullptr, &FFunctionList, &FTypeList, tcUser);
      t->ReadFrom(r);
      if (t->Index != k || t->TypeCode != tcUser || t->BaseIndex < -1 || t->BaseIndex >= k)
        TSBReader::Fail("bad type");
      int64_t fields = 0;
      for (const TSBField& f : t->Fields) {
        // A field's type is declared before the type that holds it.
        if (f.TypeIndex < 0 || f.TypeIndex >= k || f.Dimension < 1 || f.Dimension > FCode->MaxDimension)
          TSBReader::Fail("bad field");
        fields += static_cast<int64_t>(FTypeList[f.TypeIndex]->Size) * f.Dimension;
      }
      if (t->Size < fields || t->Size > MaxStorageSize) TSBReader::Fail("type size does not match its fields");
      for (const TSBField& m : t->Methods)
        if (m.TypeIndex < 0 || m.TypeIndex > k) TSBReader::Fail("bad method");
      FTypeList.push_back(std::move(t));
    }
    FCode->LoadCode(r);
    if (r.ReadInt() != FKeptFunctions) TSBReader::Fail("other host functions");
    const int32_t functions = r.ReadInt();
    if (functions < FKeptFunctions ||
        static_cast<std::size_t>(functions - FKeptFunctions) > r.Remaining() / FuncRecordMin)
      TSBReader::Fail("bad function count");
    for (int32_t k = FKeptFunctions; k < functions; ++k) {
      auto f = std::make_unique<TSBFunc>(&FTypeList, fkUser, nullptr);
      f->ReadFrom(r);
      f->FuncKind = fkUser;
      const int32_t typeCount = static_cast<int32_t>(FTypeList.size());
      if (f->ParamCount < 0 || f->ParamCount > TSBCodeList::ArgSlotCount || !IsValidTypeCode(f->ResultCode) ||
          f->ResultTypeIndex < 0 || f->ResultTypeIndex >= typeCount || f->ClassIndex < -1 ||
          (f->ClassIndex >= 0 && (f->ClassIndex < FBaseTypeCount || f->ClassIndex >= typeCount)))
        TSBReader::Fail("bad function");
      const uint8_t flag = r.ReadByte();
      if (flag > 1) TSBReader::Fail("bad flag");
      if (flag == 1) {
        f->CodeList = std::make_unique<TSBCodeList>(&FTypeList, f->Name, &FFunctionList);
        CopyLimits(*f->CodeList, *FCode);
        f->CodeList->LoadCode(r);
        f->CodeList->ArgCount = f->ParamCount;
      }
      FFunctionList.push_back(std::move(f));
    }
    if (r.Remaining() != 0) TSBReader::Fail("bytes after the code");
    const std::size_t total = FFunctionList.size();
    CheckCalls(*FCode, total);
    for (std::size_t k = FKeptFunctions; k < total; ++k)
      if (FFunctionList[k]->CodeList) CheckCalls(*FFunctionList[k]->CodeList, total);
    for (std::size_t k = FBaseTypeCount; k < FTypeList.size(); ++k)
      for (const TSBField& m : FTypeList[k]->Methods)
        if (m.FuncIndex < FKeptFunctions || static_cast<std::size_t>(m.FuncIndex) >= total ||
            FFunctionList[m.FuncIndex]->ClassIndex < 0)
          TSBReader::Fail("bad method");
    return true;
  } catch (const Exception&) {
    ResetUserItems();
    return false;
  }
}

int TSBasic::LoadCompiledCode() {
  ResetUserItems();
  bool read = false;
  if (!FCode->Code_File.empty())
    read = LoadCodeFile();
  else if (FCode->Code_DataSource && !FCode->Code_DataField.empty() && FCode->Code_DataSource->HasDataSet())
    read = LoadCodeField();
  if (read && !FCode->Codes.empty()) return 0;
  ResetUserItems();
  return Compile();
}

void TSBasic::SaveCompiledCode() {
  if (!FCode->Code_File.empty())
    SaveCodeFile();
  else if (FCode->Code_DataSource && !FCode->Code_DataField.empty() && FCode->Code_DataSource->HasDataSet())
    SaveCodeField();
}

bool TSBasic::LoadCodeFile() {
  // Regular files only, of a size a compiled program can have: a pipe or a
  // device is refused at once, and the source is compiled instead.
  std::string data;
  try {
    data = ReadRegularFile(FCode->Code_File, MaxCodeFileSize);
  } catch (const Exception&) {
    return false;
  }
  TSBReader r(data);
  return ReadCompiledCode(r);
}

void TSBasic::SaveCodeFile() {
  // A code file that names a pipe or a device (also through a link) is never
  // replaced: the code is then kept in memory only.
  struct stat st;
  if (::stat(FCode->Code_File.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return;
  TSBWriter w;
  WriteCompiledCode(w);
  WriteFileAtomic(FCode->Code_File, w.Data());
}

bool TSBasic::LoadCodeField() {
  const std::string data = FCode->Code_DataSource->ReadField(FCode->Code_DataField);
  TSBReader r(data);
  return ReadCompiledCode(r);
}

void TSBasic::SaveCodeField() {
  TSBWriter w;
  WriteCompiledCode(w);
  FCode->Code_DataSource->WriteField(FCode->Code_DataField, w.Data());
}
