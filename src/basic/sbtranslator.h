// The translator: turns the checked tokens of one statement into code
// entries of the code list being compiled. Names are resolved before the
// syntax check (ResolveNames); expressions, calls, member and element access
// are translated in sbtranslator.cpp, the statements in sbstatements.cpp.
#pragma once

#include <string>
#include <utility>

#include "basic/sbcheck.h"
#include "basic/sbcodelist.h"

// ---- Token lists ------------------------------------------------------------------

// Copies of tokens first .. last; empty when the range is not inside the list.
TSBTokenList CopyTokens(const TSBTokenList& list, int first, int last);
void DeleteTokens(TSBTokenList& list, int at, int count);
// Deletes count tokens from position at and overwrites the token before them
// with the operand.
void ReplaceTokens(TSBTokenList& list, int at, int count, const TSBOperand& operand);
int FirstOfKind(const TSBTokenList& list, uint8_t kind);
int LastOfKind(const TSBTokenList& list, uint8_t kind);
bool IsDelimiter(const TSBLex& token, int sub);
// Leftmost operator of a priority class: 1 "*" "/", 2 "+" "-", 3 comparisons,
// 4 AND OR; -1 when none.
int FindOperator(const TSBTokenList& list, int priorityClass);
// The "(" after the call token and its matching ")" (the last token when
// unmatched); (-1, -1) when no "(" follows.
std::pair<int, int> MatchCallParen(const TSBTokenList& list, int callIndex);
struct TSBBrackets {
  int Open = -1;
  int Close = -1;
  int Shape = 0;  // 1 round, 2 square, 0 none
};
// The first closing bracket and the opener before it; call argument lists
// are skipped whole.
TSBBrackets FindInnermostBrackets(const TSBTokenList& list);

class TSBTranslator {
public:
  TSBTranslator(TSBCodeList* main, TSBTypeList* types, TSBFuncList* functions);

  // Empties the main code list and makes it current.
  void Reset();
  // Resolves identifiers, members and constants of a statement in place.
  void ResolveNames(TSBTokenList& tokens, TSBErrorRecord& error);
  // Translates an expression; with keep the result is always a register.
  TSBOperand TranslateExpression(const TSBTokenList& tokens, bool keep, TSBErrorRecord& error);
  void TranslateStatement(const TSBTokenList& tokens, TSBErrorRecord& error);
  static void SetCompileError(TSBErrorRecord& error, int code, const std::string& name);

  static TSBOperand MakeOperand(uint8_t kind, int32_t value);
  static TSBOperand OperandOf(const TSBReg& reg) { return reg.ToRecord(); }
  // Appends an entry to Current; returns its destination operand.
  TSBOperand MakeCode(int line, const TSBOperand& op, const TSBOperand& a, const TSBOperand& b, const TSBOperand& dest);

  TSBCodeList* Main;
  TSBCodeList* Current;
  TSBFuncList* Functions;
  TSBTypeList* Types;
  int LineNo = 0;
  TSBType* CurrentClass = nullptr;
  TSBError* Checker = nullptr;

private:
  bool Failed() const { return FError && FError->ErrorCode != 0; }
  void Fail(int code, const std::string& name = std::string());
  // The entry just appended to Current.
  TSBCode Emit(const TSBOperand& op, const TSBOperand& a, const TSBOperand& b, const TSBOperand& dest);
  TSBOperand Expression(TSBTokenList tokens, bool keep);
  TSBOperand Flat(TSBTokenList& list, bool keep);
  void Call(TSBTokenList& list, int at, const TSBOperand* object);
  void Member(TSBTokenList& list, int dot);
  void ElementAccess(TSBLex& array, const TSBOperand& index);
  void Binary(TSBTokenList& list, int at);
  void Assignment(TSBTokenList& list, int at);
  TSBLex TokenOf(const TSBOperand& op, int32_t bound = 1) const;
  TSBOperand NewRegister(char code, int32_t typeIndex = -1) const;
  void Patch(const TSBCode& jump, int32_t target);

  // Statements (sbstatements.cpp).
  void IfChain(const TSBTokenList& t);
  void ForLoop(const TSBTokenList& t);
  void NextLoop();
  void DoLoop(const TSBTokenList& t);
  void LoopEnd(const TSBTokenList& t);
  void Select(const TSBTokenList& t);
  void CaseItems(const TSBTokenList& t);
  void CaseElse();
  void EndSelect();
  void Declaration(const TSBTokenList& t);
  void FunctionHeader(const TSBTokenList& t);
  void EndFunction();
  void Return(const TSBTokenList& t);
  void ClassHeader(const TSBTokenList& t);
  void EndClass();
  void Goto(const TSBTokenList& t);

  TSBErrorRecord* FError = nullptr;
};

// True for the operand kinds an expression's values have.
inline bool IsOperandKind(uint8_t kind) { return kind == skIdent || kind == skRegister || kind == skConst; }
