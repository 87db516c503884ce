// The syntax checker: checks a macro program line by line before anything is
// translated: the characters of a raw line, the form of each complete
// statement (brackets, the order of program sections, the statement's own
// form and its expressions) and, at the end, blocks left open. It keeps the
// first error as an error record and turns it into the message the
// interpreter shows.
#pragma once

#include <string>
#include <vector>

#include "basic/sbclasses.h"

// Blocks kept on the block stack (the keyword's kind; 65 for CASE ELSE).
constexpr int blFor = 34, blIf = 37, blElse = 40, blElseIf = 41, blDo = 57, blSelect = 63, blCase = 64,
              blCaseElse = 65;

class TSBError {
public:
  void Reset();
  // Overwrites the error record.
  void SetError(int code, int line, const std::string& name);
  TSBErrorRecord CheckCharacters(int lineNo, const std::string& upperLine);
  // Checks one complete statement; nothing for an empty list.
  TSBErrorRecord CheckLine(int lineNo, const TSBTokenList& tokens);
  // 0, or 3 for a malformed expression.
  int CheckExpression(const TSBTokenList& tokens) const;
  int CheckExpression(const TSBLex* tokens, std::size_t count) const;
  // Blocks still open at the end of the program.
  TSBErrorRecord CheckProgramEnd();
  // "Invalid statement. Line:0012"; empty without error.
  std::string ErrorMessage() const;
  TSBErrorRecord ErrorRecord() const { return TSBErrorRecord{ErrorCode, ErrorLine, 0, ErrorName}; }

  int Section = 0;
  std::vector<int> ParenStack;
  std::vector<int> BlockStack;
  int Line = 0;
  int ErrorCode = 0;
  int ErrorLine = 0;
  std::string ErrorName;

private:
  void CheckStatement(const TSBTokenList& t);
  int PopBlock();
  int CheckFunctionHeader(const TSBTokenList& t) const;
  int CheckCase(const TSBTokenList& t);
  int CheckDeclaration(const TSBTokenList& t) const;
};
