// The interpreter component of the macro language. It owns the whole
// interpreter: the type list with the seven base types, the function list
// (built-ins, then the host's functions, then the program's own), the main
// code list "MAIN", the syntax checker, the translator, the program source
// and the message targets. Compile turns the current source into code line
// by line; Run executes it, loading stored code or compiling first when
// there is none. Compiled code can be kept in a file or a dataset field and
// run later by a component with the same host functions.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "basic/sbcheck.h"
#include "basic/sbcodelist.h"
#include "basic/sbexec.h"
#include "basic/sbprop.h"
#include "basic/sbtranslator.h"

// Head of the compiled-code stream.
constexpr const char* PCodeSignature = "SBasic P-Code ver.3.0";
constexpr int32_t PCodeVersion = 19971506;

class TSBasic {
public:
  TSBasic();
  ~TSBasic();
  TSBasic(const TSBasic&) = delete;
  TSBasic& operator=(const TSBasic&) = delete;

  // 0 on success, else the error code; the message goes to the message
  // panel and label. A source file that cannot be read raises, and the code
  // compiled before stays.
  int Compile();
  // 0 when the program ran to its end, else the run-time error code (or the
  // compile error code when the code had to be compiled first and failed).
  int Run();
  // A compile or a run is under way (a host function may process messages).
  bool Busy() const { return FBusy; }
  // Ends the run under way before its next entry, with error sbeStopped
  // ("Stopped"); nothing when none runs.
  void Stop() {
    if (FBusy) FRunControl.StopRequested = true;
  }
  // Called at least every PollInterval milliseconds while a program runs,
  // also inside loops that call no host function: the host lets its
  // messages through there (and may call Stop).
  void SetOnPoll(std::function<void()> poll) { FRunControl.OnPoll = std::move(poll); }
  int PollInterval() const { return FRunControl.PollInterval; }
  void SetPollInterval(int milliseconds) { FRunControl.PollInterval = milliseconds < 0 ? 0 : milliseconds; }
  // Registers a host function (name in upper case, result type '0' to '4').
  // Code compiled before is dropped: function indexes are part of it.
  int AddFunction(const std::string& name, TSBHostProc routine, char resultCode, int argCount);

  // ---- Properties ----
  const std::string& Headline() const { return FHeadline; }
  void SetHeadline(const std::string& v) { FHeadline = CutText(v); }
  int Max_Count() const { return FCode->MaxCount; }
  void SetMax_Count(int v);
  int Max_Dimension() const { return FCode->MaxDimension; }
  void SetMax_Dimension(int v);
  TSBTextSource* Source_Memo() const { return FSource.Memo(); }
  void SetSource_Memo(TSBTextSource* v) { FSource.SetMemo(v); }
  TSBTextSource* Source_DBMemo() const { return FSource.DBMemo(); }
  void SetSource_DBMemo(TSBTextSource* v) { FSource.SetDBMemo(v); }
  const std::string& Source_File() const { return FSource.FileName(); }
  void SetSource_File(const std::string& v) { FSource.SetFileName(v); }
  const std::string& Source_Library() const { return FSource.LibraryFile(); }
  void SetSource_Library(const std::string& v) { FSource.SetLibraryFile(v); }
  TSBDataSource* Source_DataSource() const { return FSource.DataSource(); }
  void SetSource_DataSource(TSBDataSource* v) { FSource.SetDataSource(v); }
  const std::string& Source_DataField() const { return FSource.DataField(); }
  void SetSource_DataField(const std::string& v) { FSource.SetDataField(v); }
  const std::string& Code_File() const { return FCode->Code_File; }
  void SetCode_File(const std::string& v);
  TSBDataSource* Code_DataSource() const { return FCode->Code_DataSource; }
  void SetCode_DataSource(TSBDataSource* v);
  const std::string& Code_DataField() const { return FCode->Code_DataField; }
  void SetCode_DataField(const std::string& v);
  TSBMessageSink* Message_Panel() const { return FDebug.MessagePanel; }
  void SetMessage_Panel(TSBMessageSink* v) { FDebug.MessagePanel = v; }
  TSBMessageSink* Message_Label() const { return FDebug.MessageLabel; }
  void SetMessage_Label(TSBMessageSink* v) { FDebug.MessageLabel = v; }
  // Watch lists the host attaches; the interpreter writes nothing to them.
  TSBWatchList* Watch_Func() const { return FDebug.WatchFunc; }
  void SetWatch_Func(TSBWatchList* v) { FDebug.WatchFunc = v; }
  TSBWatchList* Watch_Var() const { return FDebug.WatchVar; }
  void SetWatch_Var(TSBWatchList* v) { FDebug.WatchVar = v; }
  TSBWatchList* Watch_Const() const { return FDebug.WatchConst; }
  void SetWatch_Const(TSBWatchList* v) { FDebug.WatchConst = v; }
  TSBWatchList* Watch_Code() const { return FDebug.WatchCode; }
  void SetWatch_Code(TSBWatchList* v) { FDebug.WatchCode = v; }
  TSBWatchList* Watch_buffer() const { return FDebug.WatchBuffer; }
  void SetWatch_buffer(TSBWatchList* v) { FDebug.WatchBuffer = v; }
  TSBDebug& Debug() { return FDebug; }

  // ---- Memory ----
  // The budget all values of this interpreter share (MaxRunMemory by
  // default); a compile or run that would pass it ends with sbeOutOfMemory.
  int64_t Max_Memory() const { return FBudget.Limit(); }
  void SetMax_Memory(int64_t bytes) { FBudget.SetLimit(bytes); }
  int64_t MemoryUsed() const { return FBudget.Used(); }
  // Frees the compiled program with all its values (the host calls it when
  // a run has ended); the next Run compiles again. Refused while busy.
  void Clear();

  // ---- Parts ----
  TSBCodeList& Code() { return *FCode; }
  TSBTypeList& TypeList() { return FTypeList; }
  TSBFuncList& FunctionList() { return FFunctionList; }
  int KeptFunctions() const { return FKeptFunctions; }
  int BaseTypeCount() const { return FBaseTypeCount; }
  TSBError& Checker() { return FChecker; }
  TSBTranslator& Translator() { return *FTranslator; }
  TSBSource& Source() { return FSource; }

  // ---- Compiled code ----
  void WriteCompiledCode(TSBWriter& w) const;
  // Takes over the code of a stream when every count, size, index and jump
  // target in it fits; false (and nothing taken over) otherwise.
  bool ReadCompiledCode(TSBReader& r);
  // Loads the stored code, or compiles when there is none or it is refused;
  // the compile result.
  int LoadCompiledCode();
  void SaveCompiledCode();
  bool LoadCodeFile();
  void SaveCodeFile();
  bool LoadCodeField();
  void SaveCodeField();

private:
  void AddType(std::unique_ptr<TSBType> type);
  void CreateBaseTypes();
  void ResetUserItems();
  static std::string CutComment(const std::string& text);
  void ShowMessageText(const std::string& text);
  void ForEachBody(void (*f)(TSBCodeList&, const TSBCodeList&));

  // The budget outlives everything charged to it.
  TSBMemoryBudget FBudget;
  // The lists come first: everything else refers to them.
  TSBTypeList FTypeList;
  TSBFuncList FFunctionList;
  std::unique_ptr<TSBCodeList> FCode;
  TSBError FChecker;
  std::unique_ptr<TSBTranslator> FTranslator;
  TSBDebug FDebug;
  TSBSource FSource;
  int FKeptFunctions = 0;
  int FBaseTypeCount = 0;
  std::string FHeadline;
  bool FBusy = false;
  TSBRunControl FRunControl;
};
