#include "basic/sblexer.h"

#include <cmath>
#include <cstring>

#include "model/brkapart.h"
#include "platform/rtl/strutils.h"

namespace {

struct TKeyword {
  const char* Word;
  uint8_t Kind;
};

const TKeyword Keywords[] = {
    {"IF", skIf},         {"THEN", skThen},       {"ELSE", skElse},     {"ELSEIF", skElseIf}, {"END", skEnd},
    {"FOR", skFor},       {"TO", skTo},           {"STEP", skStep},     {"NEXT", skNext},     {"INC", skInc},
    {"DEC", skDec},       {"QUITE", skQuite},     {"DO", skDo},         {"LOOP", skLoop},     {"WHILE", skWhile},
    {"UNTIL", skUntil},   {"SELECT", skSelect},   {"CASE", skCase},     {"GOTO", skGoto},     {"FUNCTION", skFunction},
    {"RETURN", skReturn}, {"EXIT", skExit},       {"AS", skAs},         {"BYVAL", skByVal},   {"BYREF", skByRef},
    {"CLASS", skClass},   {"NOT", skNot},
};

bool IsQuote(char c) { return c == '\'' || c == '"'; }

// Decimal digits, or hexadecimal digits after "$", within 32 bits.
bool ParseInteger(const std::string& s, int32_t& value) {
  if (s.empty()) return false;
  uint64_t v = 0;
  if (s[0] == '$') {
    if (s.size() == 1) return false;
    for (std::size_t i = 1; i < s.size(); ++i) {
      const char c = s[i];
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else return false;
      v = v * 16 + static_cast<uint64_t>(d);
      if (v > 0xFFFFFFFFull) return false;
    }
    value = static_cast<int32_t>(static_cast<uint32_t>(v));
    return true;
  }
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<uint64_t>(c - '0');
    if (v > 2147483647ull) return false;
  }
  value = static_cast<int32_t>(v);
  return true;
}

bool ParseReal(const std::string& s, double& value) {
  if (TryTextToDouble(s, value, false)) return true;
  return std::isinf(value);  // beyond the double range: an infinity
}

class TScanner {
public:
  TScanner(const TSBCodeList& list, TSBTokenList& tokens) : FList(list), FTokens(tokens) {}

  void Append(char c) {
    if (FWord.size() < ShortStringMax) FWord += c;
  }
  bool WordIsReal() const {
    double v;
    return !FWord.empty() && ParseReal(FWord, v);
  }
  void Emit(uint8_t kind, int32_t value) { FTokens.emplace_back(kind, value, -1); }

  void Finish() {
    const std::string word = TrimText(FWord);
    FWord.clear();
    if (word.empty()) return;
    const std::string upper = UpperCase(word);
    const std::string name = upper.substr(0, TokenNameMax);
    TSBLex t(skIdent, 0, -1);
    const int typeIndex = name == "DIM" ? btSingle : FindTypeIndex(*FList.Types, name);
    if (typeIndex >= 0) {
      t.Kind = skTypeName;
      t.Value = typeIndex;
      t.Text = name;
      FTokens.push_back(std::move(t));
      return;
    }
    for (const TKeyword& k : Keywords)
      if (upper == k.Word) {
        t.Kind = k.Kind;
        t.Text = name;
        FTokens.push_back(std::move(t));
        return;
      }
    if (upper == "AND" || upper == "OR") {
      t.Kind = skCompare;
      t.Value = upper == "AND" ? opAnd : opOr;
      FTokens.push_back(std::move(t));
      return;
    }
    int32_t n = 0;
    if (upper == "TRUE" || upper == "FALSE" || ParseInteger(word, n)) {
      t.Kind = skConst;
      t.TypeCode = tcInteger;
      t.Text = "C";
      // Kept exact: the constant is an INTEGER.
      t.Number = upper == "TRUE" ? 1 : upper == "FALSE" ? 0 : n;
      FTokens.push_back(std::move(t));
      return;
    }
    double x = 0;
    if (ParseReal(word, x)) {
      t.Kind = skConst;
      t.TypeCode = tcSingle;
      t.Text = "C";
      t.Number = AsSingle(x);
      FTokens.push_back(std::move(t));
      return;
    }
    if (word.size() >= 2 && IsQuote(word.front()) && word.back() == word.front()) {
      t.Kind = skConst;
      t.TypeCode = tcString;
      t.Text = "C";
      t.StrValue = word.substr(1, word.size() - 2);
      FTokens.push_back(std::move(t));
      return;
    }
    t.Text = name;
    FTokens.push_back(std::move(t));
  }

  std::string FWord;

private:
  const TSBCodeList& FList;
  TSBTokenList& FTokens;
};

}  // namespace

TSBTokenList Tokenize(const TSBCodeList& list, const std::string& line) {
  TSBTokenList tokens;
  TScanner s(list, tokens);
  bool inString = false;
  const std::size_t n = line.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = line[i];
    if (IsQuote(c)) {
      if (!inString) {
        s.Finish();
        s.Append(c);
      } else {
        s.Append(c);
        s.Finish();
      }
      inString = !inString;
      continue;
    }
    if (inString) {
      s.Append(c);
      continue;
    }
    const char next = i + 1 < n ? line[i + 1] : '\0';
    int pair = 0;
    if (c == '<' && next == '=') pair = opLessEq;
    else if (c == '=' && next == '=') pair = opEqual;
    else if (c == '>' && next == '=') pair = opGreaterEq;
    else if (c == '<' && next == '>') pair = opNotEqual;
    if (pair) {
      s.Finish();
      s.Emit(skCompare, pair);
      ++i;
      continue;
    }
    switch (c) {
      case '.':
        if (s.WordIsReal()) {
          s.Append(c);
        } else {
          s.Finish();
          s.Emit(skDelimiter, dlDot);
        }
        break;
      case '+': s.Finish(); s.Emit(skArith, opAdd); break;
      case '-': s.Finish(); s.Emit(skArith, opSub); break;
      case '*': s.Finish(); s.Emit(skArith, opMul); break;
      case '/': s.Finish(); s.Emit(skArith, opDiv); break;
      case '(': s.Finish(); s.Emit(skDelimiter, dlOpen); break;
      case ')': s.Finish(); s.Emit(skDelimiter, dlClose); break;
      case '[': s.Finish(); s.Emit(skDelimiter, dlOpenBracket); break;
      case ']': s.Finish(); s.Emit(skDelimiter, dlCloseBracket); break;
      case ',': s.Finish(); s.Emit(skDelimiter, dlComma); break;
      case '=': s.Finish(); s.Emit(skAssign, 0); break;
      case '<': s.Finish(); s.Emit(skCompare, opLess); break;
      case '>': s.Finish(); s.Emit(skCompare, opGreater); break;
      case ' ': s.Finish(); break;
      default: s.Append(c); break;
    }
  }
  s.Finish();
  return tokens;
}

int FindLabelColon(const std::string& line) {
  bool inQuotes = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (IsQuote(line[i]))
      inQuotes = !inQuotes;
    else if (line[i] == ':' && !inQuotes)
      return static_cast<int>(i) + 1;
  }
  return -1;
}

bool CutLabel(TSBCodeList& list, std::string& line) {
  const int p = FindLabelColon(line);
  if (p < 0) return false;
  const std::string label = UpperCase(TrimText(line.substr(0, p - 1)));
  line = TrimText(line.substr(p));
  if (label.empty()) return false;
  for (char c : label)
    if (!std::strchr("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789~_", c) || c == '\0') return true;
  // Cut like the names after GOTO, so that a long label is still found.
  const std::string name = label.substr(0, TokenNameMax);
  if (list.Labels.Find(name) >= 0) return true;
  list.Labels.Add(name, list.CodeCount());
  return false;
}
