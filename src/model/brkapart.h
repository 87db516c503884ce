// Text fields and number helpers shared by every file reader and writer of the
// model: a field splitter for free-format lines, numbers taken from fixed
// column ranges, conversions that never raise, and fixed or switching
// real-to-text formatting. Positions are 1-based character positions, as in
// the file formats. Numbers are always written with "." and read with "." or
// ",".
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits a line into fields at a separator string. Consecutive, leading and
// trailing separators give empty fields, which are dropped unless KeepEmpty is
// set.
class TBrkApart {
public:
  TBrkApart() = default;

  const std::string& Separator() const { return FSeparator; }
  // Replaces the separator (any length; matched as a whole string).
  void SetSeparator(const std::string& separator) { FSeparator = separator; }
  bool KeepEmpty() const { return FKeepEmpty; }
  void SetKeepEmpty(bool keep) { FKeepEmpty = keep; }

  // Splits the text into the field list, replacing the previous fields.
  void BreakApart(const std::string& text);
  // Field n (1-based) of the last split; empty when n < 1 or n > Count().
  std::string GetField(int n) const;
  int Count() const { return static_cast<int>(FFields.size()); }
  const std::vector<std::string>& Fields() const { return FFields; }
  // The text of the last BreakApart.
  const std::string& Source() const { return FSource; }

private:
  std::string FSource;
  std::string FSeparator = " ";
  bool FKeepEmpty = false;
  std::vector<std::string> FFields;
};

double MinReal(double a, double b);
double MaxReal(double a, double b);
// -1, 0 or 1 by the sign of x.
double RealSign(double x);

// The text without leading and trailing characters at or below the blank.
std::string TrimText(const std::string& text);
// At most `width` characters from column `first` (1-based; shorter or empty
// when the line ends earlier), as in the fixed-column file formats.
std::string CopyColumns(const std::string& line, int first, int width);

// The trimmed columns first .. first+width-1 as a decimal integer with an
// optional sign; 0 when empty, malformed or outside the 32-bit range.
int ColumnsToInt(std::string_view line, int first, int width);
// The trimmed columns as a real; the first comma counts as the decimal point.
// 0 when empty or malformed. A magnitude beyond double range gives an infinity
// of its sign, so that storing it into a single can be refused (SingleOf).
double ColumnsToReal(std::string_view line, int first, int width);
// The strict conversion behind ColumnsToReal: the whole trimmed text must be a
// number ([sign] digits [. digits] [E [sign] digits]). False for empty or
// malformed text. With acceptComma the first comma counts as the point.
// Out of double range gives false with value set to an infinity of its sign.
bool TryTextToDouble(const std::string& text, double& value, bool acceptComma = true);
// Like ColumnsToReal, but tells whether the columns held a well-formed number
// (blank columns are not a number).
bool TryColumnsToReal(const std::string& line, int first, int width, double& value);

// The same conversions on views into a larger text (a whole file held in one
// buffer), without copying: TrimView is TrimText, ViewToInt is TextToInt,
// TryViewToDouble is TryTextToDouble. ColumnsToInt and
// ColumnsToReal above take views as well.
std::string_view TrimView(std::string_view text);
int ViewToInt(std::string_view text);
bool TryViewToDouble(std::string_view text, double& value, bool acceptComma = true);

// ColumnsToInt over the whole text; empty gives 0.
int TextToInt(const std::string& text);
// ColumnsToReal over the whole text as a single; empty, malformed text and a
// value beyond single range give 0.
float TextToReal(const std::string& text);
// The same conversion reporting its outcome: false (value 0) for empty,
// malformed or out-of-single-range text.
bool TryTextToReal(const std::string& text, float& value);

// True when d is finite and within the single-precision range.
bool FitsSingle(double d);
// d as a single; raises EOverflow when d is beyond the single-precision range
// (or not a number), where a plain conversion would be undefined.
float SingleOf(double d);

// Fixed notation with exactly `decimals` decimals, right-aligned to at least
// `width` characters, never cut.
std::string RealToStrFixed(double x, int width, int decimals);
// Switching format: scientific with n significant digits ('1.2346E+4') when
// |x| > 10000 or |x| < 0.001, else fixed with n decimals ('30.000').
std::string FormatReal(double x, int n);

// Field n (0..255) of the text split at the separator's first occurrence each
// time; empty for n = 0 or beyond the last field.
std::string ExtractField(const std::string& text, const std::string& separator, int n);
// Count of field starts: positions 2 .. length at which the character differs
// from c while the one before equals c (position 1 counts as c).
int CountFields(const std::string& line, char c);
// Trimmed, cut to 4 and blank-padded to exactly 4 columns, upper case. A
// character is never cut in half (a multi-byte character that would not fit
// is dropped, and the padding fills the columns).
std::string ToSymbol4(const std::string& text);

// The first `count` bytes of a UTF-8 text, shortened so that no character is
// cut in half.
std::string Utf8Left(const std::string& text, std::size_t count);
