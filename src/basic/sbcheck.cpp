#include "basic/sbcheck.h"

#include <cstring>

#include "basic/sberrors.h"

namespace {

bool IsDelim(const TSBLex& t, int sub) { return t.Kind == skDelimiter && t.Value == sub; }
bool IsSign(const TSBLex& t) { return t.Kind == skArith && (t.Value == opAdd || t.Value == opSub); }
bool IsOperandStart(const TSBLex& t) {
  return t.Kind == skIdent || t.Kind == skConst || t.Kind == skCall || t.Kind == skNot || IsDelim(t, dlOpen);
}

// Section events.
enum { evEnd, evDeclaration, evFunction, evClass, evOther, evNone };

// New section by (section, event); -1 is an error.
const int SectionTable[14][5] = {
    {-1, 12, 8, 1, 13},  {-1, 2, -1, -1, -1}, {3, 2, 4, -1, -1},   {-1, 12, 8, 1, 13},  {7, 5, 4, -1, 6},
    {7, 5, -1, -1, 6},   {7, -1, -1, -1, 6},  {3, -1, 4, -1, -1},  {11, 9, -1, -1, 10}, {11, 9, -1, -1, 10},
    {11, -1, -1, -1, 10}, {-1, 12, 8, 1, 13}, {-1, 12, 8, -1, 13}, {13, -1, -1, -1, 13},
};

// Index of the first token of that kind from `from` on; -1 when none.
int FindKind(const TSBTokenList& t, uint8_t kind, std::size_t from = 0) {
  for (std::size_t i = from; i < t.size(); ++i)
    if (t[i].Kind == kind) return static_cast<int>(i);
  return -1;
}

}  // namespace

void TSBError::Reset() {
  Section = 0;
  ParenStack.clear();
  BlockStack.clear();
  Line = 0;
  ErrorCode = 0;
  ErrorLine = 0;
  ErrorName.clear();
}

void TSBError::SetError(int code, int line, const std::string& name) {
  ErrorCode = code;
  ErrorLine = line;
  ErrorName = name;
}

TSBErrorRecord TSBError::CheckCharacters(int lineNo, const std::string& upperLine) {
  static const char allowed[] = "'#\"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789~_ +-*/\\=<>()[],.!?:&^%$@|;{}\t";
  Line = lineNo;
  int doubles = 0, singles = 0;
  bool bad = false;
  for (char c : upperLine) {
    if (c == '\0' || !std::strchr(allowed, c)) bad = true;
    if (c == '"') ++doubles;
    if (c == '\'') ++singles;
  }
  if (bad || doubles % 2 || singles % 2) SetError(sbeInvalidSymbol, Line, std::string());
  return ErrorRecord();
}

TSBErrorRecord TSBError::CheckLine(int lineNo, const TSBTokenList& tokens) {
  Line = lineNo;
  if (tokens.empty()) return ErrorRecord();
  // Members were resolved by the translator: fields check as names, methods as calls.
  TSBTokenList t = tokens;
  for (TSBLex& x : t) {
    if (x.Kind == skField) x.Kind = skIdent;
    else if (x.Kind == skMethod) x.Kind = skCall;
  }
  ParenStack.clear();
  bool balanced = true;
  for (const TSBLex& x : t) {
    if (IsDelim(x, dlOpen) || IsDelim(x, dlOpenBracket)) {
      ParenStack.push_back(x.Value);
    } else if (IsDelim(x, dlClose) || IsDelim(x, dlCloseBracket)) {
      const int want = IsDelim(x, dlClose) ? dlOpen : dlOpenBracket;
      if (ParenStack.empty() || ParenStack.back() != want) {
        balanced = false;
        break;
      }
      ParenStack.pop_back();
    }
  }
  if (!balanced || !ParenStack.empty()) {
    ParenStack.clear();
    SetError(sbeBracket, Line, std::string());
    return ErrorRecord();
  }
  CheckStatement(t);
  return ErrorRecord();
}

int TSBError::PopBlock() {
  if (BlockStack.empty()) return 0;
  const int b = BlockStack.back();
  BlockStack.pop_back();
  return b;
}

int TSBError::CheckExpression(const TSBTokenList& tokens) const { return CheckExpression(tokens.data(), tokens.size()); }

int TSBError::CheckExpression(const TSBLex* t, std::size_t n) const {
  if (n == 0) return sbeExpression;
  for (std::size_t i = 0; i < n; ++i) {
    switch (t[i].Kind) {
      case skInc: case skDec: case skFor: case skTo: case skStep: case skNext: case skDo: case skLoop:
      case skWhile: case skUntil: case skSelect: case skCase: case skIf: case skElseIf: case skElse:
      case skEnd: return sbeExpression;
      default: break;
    }
  }
  if (!IsOperandStart(t[0]) && !IsSign(t[0])) return sbeExpression;
  if (n == 1 && t[0].Kind != skIdent && t[0].Kind != skConst) return sbeExpression;
  std::vector<int> calls;  // per open call: brackets open inside its argument list
  int depth = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const TSBLex& cur = t[i];
    if (cur.Kind == skCall) {
      calls.push_back(0);
    } else if (IsDelim(cur, dlOpen)) {
      if (!calls.empty()) ++calls.back();
    } else if (IsDelim(cur, dlClose)) {
      if (!calls.empty() && --calls.back() == 0) calls.pop_back();
    }
    if (IsDelim(cur, dlOpen) || IsDelim(cur, dlOpenBracket)) ++depth;
    if (IsDelim(cur, dlClose) || IsDelim(cur, dlCloseBracket)) --depth;
    if (depth < 0) return sbeExpression;
    if (i + 1 >= n) break;
    const bool insideCall = !calls.empty() && calls.back() == 1;
    const TSBLex& nx = t[i + 1];
    const bool follower = nx.Kind == skArith || nx.Kind == skCompare || nx.Kind == skAssign || IsDelim(nx, dlClose) ||
                          IsDelim(nx, dlCloseBracket) || (IsDelim(nx, dlComma) && insideCall) ||
                          (IsDelim(nx, dlDot) &&
                           (cur.Kind == skIdent || IsDelim(cur, dlClose) || IsDelim(cur, dlCloseBracket)));
    bool ok = true;
    if (cur.Kind == skCall)
      ok = IsDelim(nx, dlOpen) && i + 1 != n - 1;
    else if (cur.Kind == skAssign || IsDelim(cur, dlComma) || IsDelim(cur, dlOpenBracket))
      ok = IsOperandStart(nx) || IsSign(nx);
    else if (cur.Kind == skIdent)
      ok = follower || IsDelim(nx, dlOpenBracket);
    else if (cur.Kind == skConst || IsDelim(cur, dlClose) || IsDelim(cur, dlCloseBracket))
      ok = follower;
    else if (cur.Kind == skNot)
      ok = IsOperandStart(nx);
    else if (IsDelim(cur, dlOpen))
      ok = IsOperandStart(nx) || IsSign(nx) || (insideCall && IsDelim(nx, dlClose));
    else if (cur.Kind == skArith || cur.Kind == skCompare)
      ok = IsOperandStart(nx);
    if (!ok) return sbeExpression;
  }
  const TSBLex& last = t[n - 1];
  if (last.Kind != skIdent && last.Kind != skConst && !IsDelim(last, dlClose) && !IsDelim(last, dlCloseBracket))
    return sbeExpression;
  if (depth != 0) return sbeExpression;
  return 0;
}

int TSBError::CheckFunctionHeader(const TSBTokenList& t) const {
  const std::size_t n = t.size();
  bool method;
  if (n > 1 && t[1].Kind == skIdent)
    method = false;
  else if (n > 1 && t[1].Kind == skTypeName)
    method = true;
  else
    return 121;
  const std::size_t b = method ? 6 : 4;
  if (n < b) return 122;
  if (method && (!IsDelim(t[2], dlDot) || t[3].Kind != skIdent)) return 122;
  if (t[n - 2].Kind != skAs || t[n - 1].Kind != skTypeName) return 123;
  if (n == b) return 0;
  if (!IsDelim(t[b - 2], dlOpen) || !IsDelim(t[n - 3], dlClose) || n - 3 <= b - 2) return 124;
  const std::size_t first = b - 1, last = n - 4;  // inside the parentheses
  if (first > last) return 125;
  auto nameStart = [](const TSBLex& x) { return x.Kind == skIdent || x.Kind == skByVal || x.Kind == skByRef; };
  if (!nameStart(t[first])) return 125;
  for (std::size_t i = first + 1; i <= last; ++i) {
    const TSBLex& prev = t[i - 1];
    const TSBLex& cur = t[i];
    if (IsDelim(prev, dlComma)) {
      if (!nameStart(cur)) return 130;
    } else if (prev.Kind == skIdent) {
      if (!IsDelim(cur, dlComma) && cur.Kind != skAs) return 129;
    } else if (prev.Kind == skTypeName) {
      if (!IsDelim(cur, dlComma)) return 126;
    } else if (prev.Kind == skAs) {
      if (cur.Kind != skTypeName) return 127;
    } else if (prev.Kind == skByVal || prev.Kind == skByRef) {
      if (cur.Kind != skIdent) return 128;
    }
  }
  if (t[last].Kind != skIdent && t[last].Kind != skTypeName) return 131;
  return 0;
}

int TSBError::CheckCase(const TSBTokenList& t) {
  const std::size_t n = t.size();
  if (n == 1) return 105;
  const int b = PopBlock();
  if (b != blSelect && b != blCase) return 108;
  if (IsDelim(t[n - 1], dlComma)) return 110;
  std::size_t start = 1;
  for (std::size_t i = 1; i <= n; ++i) {
    if (i < n && !IsDelim(t[i], dlComma)) continue;
    const std::size_t count = i - start;
    if (count == 0) return 102;
    int tos = 0;
    std::size_t at = 0;
    for (std::size_t j = start; j < i; ++j)
      if (t[j].Kind == skTo) ++tos, at = j;
    if (tos >= 2) return 103;
    if (tos == 1) {
      if (at == start || at == i - 1) return 104;
      if (CheckExpression(&t[start], at - start) || CheckExpression(&t[at + 1], i - at - 1)) return sbeExpression;
    } else if (CheckExpression(&t[start], count)) {
      return sbeExpression;
    }
    start = i + 1;
  }
  BlockStack.push_back(blCase);
  return 0;
}

int TSBError::CheckDeclaration(const TSBTokenList& t) const {
  const std::size_t n = t.size();
  std::size_t start = 1;
  for (std::size_t i = 1; i <= n; ++i) {
    if (i < n && !IsDelim(t[i], dlComma)) continue;
    const std::size_t count = i - start;
    if (count == 0 && i == n) break;  // a type name alone, or a trailing ","
    if (count == 1) {
      if (t[start].Kind != skIdent) return 44;
    } else if (count == 4) {
      if (t[start].Kind != skIdent || !IsDelim(t[start + 1], dlOpenBracket) || t[start + 2].Kind != skConst ||
          !IsDelim(t[start + 3], dlCloseBracket))
        return 46;
    } else {
      return 45;
    }
    start = i + 1;
  }
  return 0;
}

void TSBError::CheckStatement(const TSBTokenList& t) {
  const std::size_t n = t.size();
  const uint8_t k1 = t[0].Kind;
  const uint8_t k2 = n > 1 ? t[1].Kind : skNone;
  int event = evOther;
  if (k1 == skEnd)
    event = (k2 == skIf || k2 == skSelect) ? evNone : evEnd;
  else if (k1 == skTypeName)
    event = evDeclaration;
  else if (k1 == skFunction)
    event = evFunction;
  else if (k1 == skClass)
    event = evClass;
  if (event != evNone) {
    const int next = Section >= 0 && Section < 14 ? SectionTable[Section][event] : -1;
    if (next < 0) {
      SetError(sbeSection, Line, std::string());
      return;
    }
    Section = next;
  }
  int code = 0;
  auto expr = [&](std::size_t from, std::size_t to) {  // tokens from .. to-1
    return to <= from ? sbeExpression : CheckExpression(&t[from], to - from);
  };
  switch (k1) {
    case skIdent: code = CheckExpression(t) ? 37 : 0; break;
    case skCall: code = CheckExpression(t) ? 42 : 0; break;
    case skInc:
    case skDec:
      if (n < 2 || t[1].Kind != skIdent) code = 28;
      else if (n > 2 && (!IsDelim(t[2], dlOpenBracket) || !IsDelim(t[n - 1], dlCloseBracket))) code = 29;
      else if (n == 3) code = 29;
      else if (n == 4) code = 30;
      else if (n > 4 && expr(3, n - 1)) code = 31;
      break;
    case skIf: {
      const int then = FindKind(t, skThen);
      if (then < 0) code = 6;
      else if (then != static_cast<int>(n) - 1) code = 7;
      else if (then == 1) code = 8;
      else if (expr(1, then)) code = 9;
      else BlockStack.push_back(blIf);
      break;
    }
    case skElseIf: {
      const int b = PopBlock();
      if (b != blIf && b != blElseIf) code = 10;
      else if (expr(1, n)) code = 11;
      else BlockStack.push_back(blElseIf);
      break;
    }
    case skElse: {
      const int b = PopBlock();
      if (b != blIf && b != blElseIf) code = 13;
      else if (n > 1) code = 14;
      else BlockStack.push_back(blElse);
      break;
    }
    case skEnd:
      if (n != 2) {
        code = 140;
      } else if (k2 == skIf) {
        const int b = PopBlock();
        if (b != blIf && b != blElse && b != blElseIf) code = 15;
      } else if (k2 == skSelect) {
        const int b = PopBlock();
        if (b != blSelect && b != blCase && b != blCaseElse) code = 111;
      } else if (k2 == skFunction) {
        if (!BlockStack.empty()) {
          PopBlock();
          code = 137;
        }
      } else if (k2 != skClass) {
        code = 140;
      }
      break;
    case skFor: {
      const int to = FindKind(t, skTo);
      if (n < 2 || t[1].Kind != skIdent) code = 17;
      else if (n < 3 || t[2].Kind != skAssign) code = 18;
      else if (to < 0) code = 19;
      else if (to == static_cast<int>(n) - 1) code = 20;
      else {
        const int step = FindKind(t, skStep, to);
        const std::size_t endLast = step < 0 ? n : static_cast<std::size_t>(step);
        if (to <= 3 || endLast <= static_cast<std::size_t>(to) + 1) code = 21;
        else if (expr(3, to)) code = 22;
        else if (expr(to + 1, endLast)) code = 23;
        else if (step >= 0 && static_cast<std::size_t>(step) + 1 < n && expr(step + 1, n)) code = 24;
        else BlockStack.push_back(blFor);
      }
      break;
    }
    case skNext:
      if (PopBlock() != blFor) code = 25;
      else if (n != 2) code = 26;
      else if (t[1].Kind != skIdent) code = 27;
      break;
    case skDo:
      if (n == 2) code = 47;
      else if (n > 2 && t[1].Kind != skWhile && t[1].Kind != skUntil) code = 48;
      else if (n > 2 && expr(2, n)) code = 49;
      else BlockStack.push_back(blDo);
      break;
    case skLoop:
      if (PopBlock() != blDo) code = 50;
      else if (n == 2 || (n > 2 && ((t[1].Kind != skWhile && t[1].Kind != skUntil) || expr(2, n)))) code = 51;
      break;
    case skSelect:
      if (n < 3 || t[1].Kind != skCase) code = 100;
      else if (expr(2, n)) code = 101;
      else BlockStack.push_back(blSelect);
      break;
    case skCase:
      if (n >= 2 && t[1].Kind == skElse) {
        if (PopBlock() != blCase) code = 106;
        else if (n > 2) code = 107;
        else BlockStack.push_back(blCaseElse);
      } else {
        code = CheckCase(t);
      }
      break;
    case skGoto: break;
    case skTypeName: code = CheckDeclaration(t); break;
    case skFunction: code = CheckFunctionHeader(t); break;
    case skReturn:
      if (n > 1 && expr(1, n)) code = 133;
      break;
    case skExit:
      if (n != 2 || k2 != skFunction) code = 135;
      break;
    case skClass: {
      const auto isName = [](const TSBLex& x) { return x.Kind == skIdent || x.Kind == skTypeName; };
      const bool plain = n == 2 && isName(t[1]);
      const bool derived = n == 5 && isName(t[1]) && IsDelim(t[2], dlOpen) && t[3].Kind == skTypeName &&
                           IsDelim(t[4], dlClose);
      if (!plain && !derived) code = 140;
      break;
    }
    default: code = sbeStatement; break;
  }
  if (code) SetError(code, Line, std::string());
}

TSBErrorRecord TSBError::CheckProgramEnd() {
  if (ErrorCode == 0 && !BlockStack.empty()) {
    int code = 0;
    switch (BlockStack.back()) {
      case blFor: code = 148; break;
      case blIf: code = 142; break;
      case blElseIf: code = 143; break;
      case blElse: code = 144; break;
      case blSelect: code = 145; break;
      case blCase: code = 146; break;
      case blCaseElse: code = 147; break;
      case blDo: code = 149; break;
      default: code = sbeStatement; break;
    }
    SetError(code, Line, std::string());
  }
  return ErrorRecord();
}

std::string TSBError::ErrorMessage() const {
  if (ErrorCode <= 0) return std::string();
  return CutText(ErrorText(ErrorCode, ErrorName) + ". Line:" + ZeroPadded(static_cast<int64_t>(ErrorLine) + 1, 4));
}
