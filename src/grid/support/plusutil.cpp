#include "grid/support/plusutil.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string_view>
#include <utility>

#include "platform/rtl/codepages.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/textcase.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int PosOf(std::string_view sub, std::string_view s) {
  if (sub.empty()) return 0;
  const size_t p = s.find(sub);
  return p == std::string_view::npos ? 0 : static_cast<int>(p) + 1;
}

std::string ReplaceAll(const std::string& s, std::string_view from, std::string_view to) {
  std::string r;
  size_t i = 0;
  while (true) {
    const size_t p = s.find(from, i);
    if (p == std::string::npos) break;
    r.append(s, i, p - i);
    r.append(to);
    i = p + from.size();
  }
  r.append(s, i);
  return r;
}

std::string UpperAZ(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

// An integer field of a date or cell reference: optional leading blanks, an
// optional sign, decimal digits or hexadecimal ones after "$" or "0x", and
// nothing after them. Digits gets the number of digits written.
bool ParseIntField(const std::string& s, int& value, int& digits) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int base = 10;
  if (i < s.size() && s[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  int64_t v = 0;
  digits = 0;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    int d = -1;
    if (IsDigit(c)) d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0) return false;
    v = v * base + d;
    if (v > 0x7FFFFFFF) return false;
    ++digits;
  }
  if (digits == 0) return false;
  value = static_cast<int>(negative ? -v : v);
  return true;
}

TDateTime ParseDate(const std::string& text, bool monthFirst) {
  char sep = 0;
  if (text.find('/') != std::string::npos) sep = '/';
  else if (text.find('.') != std::string::npos) sep = '.';
  else if (text.find('-') != std::string::npos) sep = '-';
  else return 0;
  const size_t p1 = text.find(sep);
  const size_t p2 = text.find(sep, p1 + 1);
  if (p2 == std::string::npos) return 0;
  int a = 0, b = 0, year = 0, digits = 0;
  if (!ParseIntField(text.substr(0, p1), a, digits) || !ParseIntField(text.substr(p1 + 1, p2 - p1 - 1), b, digits) ||
      !ParseIntField(text.substr(p2 + 1), year, digits))
    return 0;
  // Only a year written short gets a century; a full year stays as written.
  if (digits <= 2 && year >= 0) year += year <= 25 ? 2000 : 1900;
  const int month = monthFirst ? a : b, day = monthFirst ? b : a;
  return EncodeDate(year, month, day);
}

}  // namespace

// ---------------------------------------------------------------------------
// Cell text kinds and wide text

TCellTextKind GetCellTextKind(const std::string& Text, bool HTMLEnabled) {
  if (Text.empty()) return ckPlain;
  const std::string s = Text + ' ';
  if (s[0] == '=') return ckFormula;
  if (s.compare(0, 2, "|\\") == 0) return s.size() > 3 && s[3] == '=' ? ckFormula : ckUnicode;
  if (s.compare(0, 2, "{\\") == 0) return ckRTF;
  if (HTMLEnabled && (s.find("</") != std::string::npos || s.find("<B") != std::string::npos ||
                      s.find("<I") != std::string::npos))
    return ckHTML;
  return ckPlain;
}

std::u16string DecodeWideCellText(const std::string& Text) {
  if (Text.compare(0, 2, "|\\") != 0) return Utf8ToUtf16(Text);
  std::u16string r;
  const size_t n = (Text.size() - 2) / 2;
  r.reserve(n);
  for (size_t k = 0; k < n; ++k) {
    const auto hi = static_cast<unsigned char>(Text[2 + 2 * k]), lo = static_cast<unsigned char>(Text[3 + 2 * k]);
    r += static_cast<char16_t>(hi << 8 | lo);
  }
  return r;
}

std::string EncodeWideCellText(const std::u16string& Text) {
  std::string r = "|\\";
  r.reserve(2 + 2 * Text.size());
  for (char16_t u : Text) {
    r += static_cast<char>(u >> 8);
    r += static_cast<char>(u & 0xFF);
  }
  return r;
}

int WidePos(const std::u16string& Sub, const std::u16string& S) {
  if (Sub.empty()) return 0;
  const size_t p = S.find(Sub);
  return p == std::u16string::npos ? 0 : static_cast<int>(p) + 1;
}

const char16_t* WideStrPos(const char16_t* S, const char16_t* Sub) {
  if (!S || !Sub || !*Sub) return nullptr;
  const std::u16string_view s(S), sub(Sub);
  if (sub.size() > s.size()) return nullptr;
  const size_t p = s.find(sub);
  return p == std::u16string_view::npos ? nullptr : S + p;
}

// ---------------------------------------------------------------------------
// Numbers and small values

int ClassifyNumberText(const std::string& Text) {
  if (Text.empty()) return 2;
  const char ts = FormatSettings.ThousandSeparator, ds = FormatSettings.DecimalSeparator;
  bool isInt = true, isDec = true, isExp = true, expSeen = false;
  int thousands = 0, decimals = 0, minus = 0, lastThousand = -1;
  const int n = static_cast<int>(Text.size());
  for (int i = 1; i <= n; ++i) {
    const char c = Text[i - 1];
    const bool digit = IsDigit(c);
    const bool expLetter = c == 'E' || c == 'e';
    if (c != '-' && !digit) isInt = false;
    if (expLetter) {
      if (expSeen) isExp = false;
      expSeen = true;
    }
    if (i > 1 && c == '-') {
      isInt = false;
      isDec = false;
    }
    if (i == 1 && expLetter) isExp = false;
    if (i == n && (c == '+' || c == '-' || expLetter)) isExp = false;
    if (c != '-' && !digit && c != ts && c != ds) isDec = false;
    if (c != '+' && c != '-' && !digit && !expLetter && c != ds) isExp = false;
    if (c == ts && i - lastThousand < 3) isDec = false;
    if (c == ts) {
      lastThousand = i;
      ++thousands;
    }
    if (c == ds) ++decimals;
    if (c == '-') ++minus;
  }
  int result = 2;
  if (isInt) result = 0;
  else if (isDec && !expSeen) result = 1;
  else if (isExp && expSeen) {
    result = 5;
    if (minus == 2) minus = 1;  // a signed mantissa and a signed exponent
  }
  if (thousands > 1 || minus > 1 || decimals > 1) result = 2;
  return result;
}

std::string ExtractNumberText(const std::string& Text) {
  if (Text.empty()) return "";
  const char ts = FormatSettings.ThousandSeparator, ds = FormatSettings.DecimalSeparator;
  bool negative = Text.front() == '(' && Text.back() == ')';
  std::string s = Text;
  size_t first = 0;
  while (s.size() - first >= 2) {
    const char c = s[first];
    if (IsDigit(c) || c == 'E' || c == 'e' || c == ts || c == ds) break;
    if (c == '-') negative = true;
    ++first;
  }
  std::string r;
  for (size_t i = first; i < s.size(); ++i) {
    const char c = s[i];
    if (c == ts) continue;
    if (c == ds) r += '.';
    else if (c == '+' || c == '-' || c == '.' || IsDigit(c) || c == 'E' || c == 'e') r += c;
    else break;
  }
  return negative ? "-" + r : r;
}

int LimitValue(int Value, int Lower, int Upper) {
  if (Lower == Upper) return Value;
  if (Value < Lower && Lower > 0) return Lower;
  if (Value > Upper && Upper > 0) return Upper;
  return Value;
}

int MaxOf(int A, int B) { return A > B ? A : B; }
int MinOf(int A, int B) { return A < B ? A : B; }

TColor DimColor(TColor Color) { return static_cast<TColor>((ColorToRGB(Color) >> 1) & 0x7F7F7F); }

bool CellInGridRect(const TGridRect& R, int ACol, int ARow) {
  return R.Left <= ACol && ACol <= R.Right && R.Top <= ARow && ARow <= R.Bottom;
}

// ---------------------------------------------------------------------------
// Dates

TDateTime ParseMDYDate(const std::string& Text) { return ParseDate(Text, true); }
TDateTime ParseDMYDate(const std::string& Text) { return ParseDate(Text, false); }

bool IsDateText(const std::string& Text) {
  const char sep = FormatSettings.DateSeparator;
  const size_t p = Text.find(sep);
  if (p == std::string::npos || p == 0) return false;
  const size_t q = Text.find(sep, p + 1);
  return q != std::string::npos && q - p >= 2;
}

TDateTime StepDate(int YearStep, int MonthStep, int DayStep, double Increment, TDateTime Date) {
  int y = 0, m = 0, d = 0;
  DecodeDate(Date, y, m, d);
  if (DayStep != 0 && YearStep == 0 && MonthStep == 0) return Date + DayStep;
  if (YearStep != 0 && MonthStep == 0 && DayStep == 0) return EncodeDate(y + YearStep, m, d);
  if (MonthStep != 0 && YearStep == 0 && DayStep == 0) {
    // Months counted from year 0 so that any step wraps over the years.
    const int64_t total = static_cast<int64_t>(y) * 12 + (m - 1) + MonthStep;
    int64_t year = total / 12, month = total % 12;
    if (month < 0) {
      month += 12;
      --year;
    }
    if (year < 1 || year > 9999) throw EConvertError("Invalid argument to date encode");
    return EncodeDate(static_cast<int>(year), static_cast<int>(month) + 1, d);
  }
  return Date + Increment;
}

// ---------------------------------------------------------------------------
// URLs and cell references

bool IsURL(const std::string& Text) {
  return Text.find("://") != std::string::npos || Text.find("mailto:") != std::string::npos;
}

void StripURLPrefix(std::string& Text) {
  size_t p = Text.find("://");
  if (p != std::string::npos) {
    Text.erase(0, p + 3);
    return;
  }
  p = Text.find("mailto:");
  if (p != std::string::npos) Text.erase(0, p + 7);
}

bool ParseRCCellRef(const std::string& Text, int& ACol, int& ARow) {
  std::string s = UpperAZ(Text);
  if (s.size() <= 3 || s[0] != 'R') return false;
  s.erase(0, 1);
  const size_t c = s.find('C');
  if (c == std::string::npos) return false;
  int row = 0, col = 0, digits = 0;
  if (!ParseIntField(s.substr(0, c), row, digits) || !ParseIntField(s.substr(c + 1), col, digits)) return false;
  ACol = col;
  ARow = row;
  return true;
}

// ---------------------------------------------------------------------------
// Line breaks, quotes and delimited text

std::string EncodeLineBreaks(const std::string& Text) {
  if (Text.find('\r') == std::string::npos) return Text;
  std::string r = Text;
  for (char& c : r) {
    if (c == '\r') c = '\t';
    else if (c == '\n') c = '\x08';
  }
  return r;
}

std::string DecodeLineBreaks(const std::string& Text, bool KeepAll) {
  std::string r = Text;
  if (r.find('\x08') != std::string::npos)
    for (char& c : r) {
      if (c == '\t') c = '\r';
      else if (c == '\x08') c = '\n';
    }
  if (!KeepAll) return CutFirstLine(r, false);
  return r;
}

std::string CutFirstLine(std::string& Text, bool KeepRest) {
  const size_t p = Text.find('\r');
  if (p == std::string::npos) {
    std::string line = std::move(Text);
    Text.clear();
    return line;
  }
  std::string line = Text.substr(0, p);
  size_t cut = p + 1;
  if (cut < Text.size() && Text[cut] == '\n') ++cut;
  if (KeepRest) Text.erase(0, cut);
  else Text.clear();
  return line;
}

int CountTextLines(const std::string& Text, bool MultiLineCells) {
  if (!MultiLineCells) return 1;
  return 1 + CountChar('\r', Text);
}

void QuoteMultiline(std::string& Text) { Text = "\"" + ReplaceAll(Text, "\r\n", "\x0B") + "\""; }

void RestoreVTLineBreaks(std::string& Text) {
  if (Text.find('\x0B') != std::string::npos) Text = ReplaceAll(Text, "\x0B", "\r\n");
}

void TildeToLineBreaks(std::string& Text) {
  Text = ReplaceAll(Text, "~", "\r\n");
  if (Text == "^") Text.clear();
}

std::string UnescapeNewlines(const std::string& Text) { return ReplaceAll(Text, "\\n", "\r"); }

std::string RemoveCR(const std::string& Text) {
  std::string r;
  for (char c : Text)
    if (c != '\r') r += c;
  return r;
}

std::string StripCR(const std::string& Text) { return RemoveCR(Text); }

int FindClosingQuote(char Quote, const std::string& Text, int& Position) {
  const int n = static_cast<int>(Text.size());
  int run = 0;
  Position = 0;
  for (int i = 1; i <= n; ++i) {
    if (Text[i - 1] == Quote) {
      if (i == n) {
        Position = i;
        return i;
      }
      ++run;
    } else {
      if (run % 2 == 1) {
        Position = i - 1;
        return i - 1;
      }
      run = 0;
    }
  }
  return 0;
}

int CountClosingQuotes(char Quote, const std::string& Text) {
  std::string s = Text;
  int count = 0, p = 0;
  while (FindClosingQuote(Quote, s, p) > 0) {
    ++count;
    s.erase(0, static_cast<size_t>(p));
  }
  return count;
}

std::string StripAccelChar(char Marker, const std::string& Text) {
  if (Text.find(Marker) == std::string::npos) return Text;
  std::string r;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] != Marker) r += Text[i];
    else if (i + 1 < Text.size() && Text[i + 1] == Marker) {
      r += Marker;
      ++i;
    }
  }
  return r;
}

// ---------------------------------------------------------------------------
// Other string routines

int FindSubstring(const std::string& Sub, const std::string& Text, int& Position) {
  Position = PosOf(Sub, Text);
  return Position;
}

int FindCharIndex(char Ch, const std::string& Text, int& Position) {
  const int p = CharIndex(Ch, Text);
  if (p > 0) Position = p;
  return p;
}

int CharIndex(char Ch, const std::string& Text) {
  const size_t p = Text.find(Ch);
  return p == std::string::npos ? 0 : static_cast<int>(p) + 1;
}

int UpperPos(const std::string& Sub, const std::string& Text) { return PosOf(Sub, UpperAZ(Text)); }

std::string CutToDelimiter(std::string& Text, const std::string& Delimiter) {
  if (Delimiter.empty()) return "";
  const size_t p = Text.find(Delimiter[0]);
  if (p == std::string::npos) return "";
  std::string part = Text.substr(0, p);
  Text.erase(0, p + 1);
  return part;
}

int CountChar(char Ch, const std::string& Text) { return static_cast<int>(std::count(Text.begin(), Text.end(), Ch)); }

void MaskString(std::string& Text, char Ch) { Text.assign(Utf8CodePoints(Text).size(), Ch); }

void OemToAnsiString(std::string& Text) { Text = Cp850ToUtf8(Text); }

char LowerCaseASCII(char Ch) { return Ch >= 'A' && Ch <= 'Z' ? static_cast<char>(Ch - 'A' + 'a') : Ch; }

std::string CapitalizeName(const std::string& Text) {
  std::string r = Text;
  const int n = static_cast<int>(r.size());
  bool newWord = true;
  for (int i = 1; i <= n; ++i) {
    char& c = r[i - 1];
    if (c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.') newWord = true;
    else if (newWord) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      newWord = false;
    } else c = LowerCaseASCII(c);
    if (i == 2 && r.compare(0, 2, "Mc") == 0) newWord = true;
    if (i > 2 && PosOf(" Mc", r) == i - 2) newWord = true;
    if (i >= n - 2 && ((i >= 2 && r.compare(i - 2, 2, " I") == 0) || (i >= 3 && r.compare(i - 3, 3, " II") == 0)))
      newWord = true;
  }
  return r;
}

// ---------------------------------------------------------------------------
// Filter conditions

namespace {

constexpr size_t kMaxOperand = 255;

std::string ReadOperand(const std::string& p, size_t i) {
  int quotes = 0;
  while (i < p.size() && p[i] == '"') {
    ++quotes;
    ++i;
  }
  std::string op;
  for (; i < p.size(); ++i) {
    const char c = p[i];
    if (c == ' ') break;
    if ((c == '&' || c == '|') && quotes % 2 == 0) break;
    if (c == '"') ++quotes;
    op += c;
  }
  if (!op.empty() && op.back() == '"') op.pop_back();
  if (op.size() > kMaxOperand) op.resize(kMaxOperand);
  return op;
}

size_t SkipBlanks(const std::string& p, size_t i) {
  while (i < p.size() && p[i] == ' ') ++i;
  return i;
}

// Sign of value - operand: as numbers, else as dates, else as text by code.
int CompareOperand(const std::string& value, const std::string& operand) {
  double a = 0, b = 0;
  if (TryStrToFloat(NormalizeNumberText(value), a) && TryStrToFloat(NormalizeNumberText(operand), b))
    return a < b ? -1 : a > b ? 1 : 0;
  TDateTime da = 0, db = 0;
  if (ParseLocaleDate(operand, db) && ParseLocaleDate(value, da)) return da < db ? -1 : da > db ? 1 : 0;
  const std::string_view va = std::string_view(value).substr(0, kMaxOperand);
  const std::string_view vb = std::string_view(operand).substr(0, kMaxOperand);
  const int c = va.compare(vb);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// The pattern and value are suffixes of the ones first given; results are
// kept per pair of suffix lengths, so "*" runs in polynomial time.
using TMemo = std::map<std::pair<size_t, size_t>, bool>;

bool MatchPatternAt(const std::string& pattern, const std::string& value, TMemo& memo);

bool WildcardMatch(const std::string& pat, const std::string& val, TMemo& memo) {
  const size_t pn = pat.size(), vn = val.size();
  size_t pi = 0, vi = 0;
  bool matched = true, negate = false;
  auto done = [&] { return pi >= pn && vi >= vn; };
  while (!done() && matched) {
    const char pc = pi < pn ? pat[pi] : '\0';
    switch (pc) {
      case '*': {
        while (pi < pn && pat[pi] == '*') ++pi;
        const std::string rest = pat.substr(pi);
        matched = false;
        for (size_t k = vn + 1; k-- > vi;) {
          if (MatchPatternAt(rest, val.substr(k), memo)) {
            matched = true;
            break;
          }
        }
        if (matched) {
          pi = pn;
          vi = vn;
        }
        break;
      }
      case '?':
        matched = vi < vn;
        if (matched) {
          ++pi;
          ++vi;
        }
        break;
      case '!':
        negate = true;
        ++pi;
        break;
      case '"': ++pi; break;
      case '\\': {
        ++pi;
        const char lit = pi < pn ? pat[pi] : '\0';
        const char vc = vi < vn ? val[vi] : '\0';
        matched = lit == vc;  // a trailing "\" matches the end of the value
        if (matched) {
          pi = std::min(pi + 1, pn);
          vi = std::min(vi + 1, vn);
        }
        break;
      }
      default: {
        matched = pi < pn && vi < vn && pc == val[vi];
        if (matched) {
          ++pi;
          ++vi;
        }
        break;
      }
    }
  }
  return negate ? !matched : matched;
}

bool MatchPatternAt(const std::string& pattern, const std::string& value, TMemo& memo) {
  const auto key = std::make_pair(pattern.size(), value.size());
  if (auto it = memo.find(key); it != memo.end()) return it->second;
  bool greaterRes = true, lessRes = true, hasGreater = false, hasLess = false, hasNegation = false;
  const bool hasGT = pattern.find('>') != std::string::npos;
  const bool hasLT = pattern.find('<') != std::string::npos;
  if (hasGT) {
    size_t i = pattern.find('>') + 1;
    bool orEqual = false;
    if (i < pattern.size() && pattern[i] == '=') {
      orEqual = true;
      ++i;
    }
    const int c = CompareOperand(value, ReadOperand(pattern, SkipBlanks(pattern, i)));
    greaterRes = orEqual ? c >= 0 : c > 0;
    hasGreater = true;
  }
  if (hasLT) {
    size_t i = pattern.find('<') + 1;
    bool orEqual = false;
    if (i < pattern.size() && pattern[i] == '=') {
      orEqual = true;
      ++i;
    }
    const int c = CompareOperand(value, ReadOperand(pattern, SkipBlanks(pattern, i)));
    lessRes = orEqual ? c <= 0 : c < 0;
    hasLess = true;
  }
  if (pattern.find('!') != std::string::npos) hasNegation = true;
  if (hasNegation) {
    if (!hasGT) hasGreater = true;
    if (!hasLT) hasLess = true;
  }
  bool result;
  if (pattern.find('^') != std::string::npos && (hasGreater || hasLess)) result = lessRes || greaterRes;
  else if (pattern.find('&') != std::string::npos && hasGreater && hasLess) result = lessRes && greaterRes;
  else if (hasGT && greaterRes) result = true;
  else if (hasLT && lessRes) result = true;
  else result = WildcardMatch(pattern, value, memo);
  memo[key] = result;
  return result;
}

}  // namespace

bool MatchPattern(const std::string& Pattern, const std::string& Value) {
  TMemo memo;
  // Zero-terminated texts in the original: a NUL ends them.
  return MatchPatternAt(Pattern.substr(0, Pattern.find('\0')), Value.substr(0, Value.find('\0')), memo);
}

bool MatchConditionPart(const std::string& Condition, const std::string& Value, bool CaseSensitive) {
  if (CaseSensitive) return MatchPattern(Condition, Value);
  return MatchPattern(LocaleUpperCase(Condition), LocaleUpperCase(Value));
}

std::string RemoveBlanksOutsideQuotes(const std::string& Text) {
  std::string r;
  int quotes = 0;
  for (char c : Text) {
    if (c == '"') ++quotes;
    if (c == ' ' && quotes % 2 == 0) continue;
    r += c;
  }
  return r;
}

char FindUnquotedDelimiter(const std::string& Set, const std::string& Text, int& Position) {
  int quotes = 0;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    if (quotes % 2 == 0 && Set.find(c) != std::string::npos) {
      Position = static_cast<int>(i);
      return c;
    }
    if (c == '"') ++quotes;
  }
  Position = -1;
  return 0;
}

bool MatchCondition(const std::string& Condition, const std::string& Value, bool CaseSensitive) {
  std::string cond = RemoveBlanksOutsideQuotes(Trim(Condition));
  if (!cond.empty() && cond[0] == '=') cond.erase(0, 1);
  bool result = true;
  char pending = 0;
  auto combine = [&](bool outcome) {
    if (pending == 0) result = outcome;
    else if (pending == '&') result = result && outcome;
    else result = result || outcome;
  };
  int pos = -1;
  while (char delim = FindUnquotedDelimiter("&;^|", cond, pos)) {
    combine(MatchConditionPart(cond.substr(0, static_cast<size_t>(pos)), Value, CaseSensitive));
    cond.erase(0, static_cast<size_t>(pos) + 1);
    pending = delim;
  }
  combine(MatchConditionPart(cond, Value, CaseSensitive));
  return result;
}

std::string NormalizeNumberText(const std::string& Text) {
  const char ts = FormatSettings.ThousandSeparator, ds = FormatSettings.DecimalSeparator;
  std::string r;
  for (char c : Text.substr(0, Text.find('\0'))) {
    if (c == ds) r += '.';
    else if (c != ts) r += c;
  }
  return r;
}

bool ParseLocaleDate(const std::string& Text, TDateTime& Date) {
  const std::string fmt = UpperAZ(FormatSettings.ShortDateFormat);
  const size_t pd = fmt.find('D'), pm = fmt.find('M'), py = fmt.find('Y');
  // A format without one of the three parts cannot place the fields.
  if (pd == std::string::npos || pm == std::string::npos || py == std::string::npos) return false;
  const char sep = FormatSettings.DateSeparator;
  const size_t s1 = Text.find(sep);
  if (s1 == std::string::npos) return false;
  const size_t s2 = Text.find(sep, s1 + 1);
  if (s2 == std::string::npos) return false;
  int f[3], digits = 0;
  if (!ParseIntField(Text.substr(0, s1), f[0], digits) ||
      !ParseIntField(Text.substr(s1 + 1, s2 - s1 - 1), f[1], digits) || !ParseIntField(Text.substr(s2 + 1), f[2], digits))
    return false;
  // Rank of each part by where its letter stands in the format.
  auto rank = [&](size_t p) {
    int r = 0;
    for (size_t q : {pd, pm, py})
      if (q < p) ++r;
    return r;
  };
  const int day = f[rank(pd)], month = f[rank(pm)], year = f[rank(py)];
  if (static_cast<uint16_t>(day) > 31 || static_cast<uint16_t>(month) > 12) return false;
  if (day < 0 || month < 0) return false;
  return TryEncodeDate(year, month, day, Date);
}
