// One compiled program: the main program of an interpreter ("MAIN") or the
// body of one user FUNCTION. It owns its code entries and all the storage the
// code works on (variables, constants, registers, pending arguments, argument
// slots), the compile-time stacks and label lists the translator fills, the
// limits of a run and the run's error record. Running it is the executor's
// part (sbexec.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "basic/sbclasses.h"

class TSBDataSource;
class TSBRunFrames;

// Frees the call frames a run keeps for reuse (sbexec.cpp).
struct TSBRunFramesDeleter {
  void operator()(TSBRunFrames* frames) const;
};

using TSBVarList = std::vector<std::unique_ptr<TSBVar>>;

// What the host gives a run from outside: a routine called at least every
// PollInterval milliseconds while the run goes on (it lets the window
// system's messages through), and a stop request, which ends the run before
// its next entry with sbeStopped.
struct TSBRunControl {
  std::function<void()> OnPoll;
  int PollInterval = 100;
  bool StopRequested = false;
};

class TSBCodeList {
public:
  static constexpr int RegisterCount = 151;  // R000 .. R150
  static constexpr int ArgSlotCount = 26;

  TSBCodeList(TSBTypeList* types, const std::string& name, TSBFuncList* functions);
  ~TSBCodeList();
  TSBCodeList(const TSBCodeList&) = delete;
  TSBCodeList& operator=(const TSBCodeList&) = delete;

  // ---- Clearing ----
  void ClearVariables();
  void ClearStatementStacks();
  // Frees codes, constants and pending arguments, re-types every register to
  // SINGLE and clears the register counters and the error record.
  void ClearCode();
  // Prepares a run: no pending arguments, all run counts 0, error record cleared.
  void ResetRun();

  // ---- Translator services ----
  // Appends the entry; a register destination numbered -1 gets the next free
  // register. Returns the destination operand.
  TSBOperand AddCode(TSBCode code);
  TSBCode* CodeAt(int i);
  int CodeCount() const { return static_cast<int>(Codes.size()); }
  // A new constant of the type of typeCode ('1' INTEGER, '2' DOUBLE,
  // '3' STRING, '4' DATE, SINGLE otherwise) holding value.
  TSBOperand AddConstant(char typeCode, double value);
  // Dimension cut to MaxDimension; at least 1.
  int AddVariable(const std::string& name, int32_t dimension, bool byRef, int32_t typeIndex);
  int AddParam(const TSBReg& reg);
  void PushJump(const TSBCode& code) { JumpStack.Push(code); }
  std::optional<TSBCode> PopJump(bool remove) { return JumpStack.Pop(remove); }
  void PushLoop(const TSBCode& code) { LoopStack.Push(code); }
  std::optional<TSBCode> PopLoop(bool remove) { return LoopStack.Pop(remove); }
  void PushFor(const TSBForStat& s) { ForStack.push_back(s); }
  void PushCase(const TSBCaseStat& s) { CaseStack.push_back(s); }
  void PushIf(const TSBIFStat& s) { IfStack.push_back(s); }
  // The open record; with remove it is taken off and nil returned.
  TSBForStat* TopFor(bool remove);
  TSBCaseStat* TopCase(bool remove);
  TSBIFStat* TopIf(bool remove);
  int FindInKind(uint8_t kind, const std::string& name) const;
  TSBVar* FindVariable(const std::string& name) const;
  TSBVarList* ListOfKind(uint8_t kind);
  // "V007", "R007", "C042", "P001"; "nil" for a negative number.
  static std::string MakeName(int kind, int n);

  // ---- Function registry ----
  void RegisterFloatFunction(const std::string& name, TSBFloatProc proc, int paramCount);
  void RegisterHostFunction(const std::string& name, TSBHostProc proc, char resultCode, int paramCount);

  // ---- Operand access ----
  TSBVar* OperandVar(const TSBOperand& reg) const;
  int32_t RegisterInt(int n) const;
  // Argument i (0-based) of the call being made.
  const TSBReg* ParamReg(int i) const;
  char ParamTypeCode(int i) const;
  // Element e of argument i; nil when outside the argument's storage.
  uint8_t* ParamElementAddress(int i, int e) const;

  // ---- Linking ----
  void Link();
  void ResolveGotos();
  void RemoveMarks();
  void LinkOperands();
  void DeleteCode(int i);

  // ---- Stream ----
  void SaveCode(TSBWriter& w) const;
  // Reads a code list written by SaveCode, checking every count, size, index
  // and jump target (calls are checked by the component, which knows every
  // function). Raises EReadError for anything that does not fit.
  void LoadCode(TSBReader& r);

  // ---- Executor (sbexec.cpp) ----
  TSBErrorRecord Run();
  void RecordError(int ip, int code);
  // " Run time error :310  IP:0042   Line:0012.  Too many cycles"; empty without error.
  std::string ErrorReport() const;

  std::string Name;
  int32_t ArgCount = 0;
  int32_t LineOffset = 0;
  TSBStack LoopStack;
  TSBStack JumpStack;
  std::vector<TSBForStat> ForStack;
  std::vector<TSBCaseStat> CaseStack;
  std::vector<TSBIFStat> IfStack;
  std::vector<TSBCode> Codes;
  TSBFuncList* Functions;
  TSBTypeList* Types;
  TSBVarList Constants;
  TSBVarList Variables;
  TSBVarList Registers;
  std::vector<TSBReg> Params;
  int32_t RegisterHighWater = 0;
  int32_t NextRegister = 0;
  TSBErrorRecord Error;
  int32_t MaxCount = 10000;
  int32_t MaxDimension = 1000;
  std::string Code_File;
  std::string Code_DataField;
  TSBDataSource* Code_DataSource = nullptr;
  TSBVarList ArgSlots;
  TSBLabel Labels;
  TSBLabel GotoRefs;

  // One more than the highest register the linked code uses; a call saves
  // and restores that many registers of its caller.
  int32_t RegistersInUse = 0;
  // Set by AddCode when a statement asked for more registers than there are.
  bool RegisterOverflow = false;
  // Runs of this list in progress (recursion).
  int32_t RunDepth = 0;
  // The host's poll and stop request for runs started here (the main list's
  // component sets it); nil for none.
  TSBRunControl* RunControl = nullptr;
  // Call frames of the runs started here, kept for the next run.
  std::unique_ptr<TSBRunFrames, TSBRunFramesDeleter> RunFrames;
};
