#include "model/datafiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "model/brkapart.h"
#include "platform/dialogs.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/textfile.h"

// ---- File kinds ---------------------------------------------------------------

int GetFileKind(const std::string& fileName) {
  static const struct {
    const char* Ext;
    int Kind;
  } kinds[] = {{".INP", 0}, {".PCR", 1}, {".DWB", 2}, {".EXP", 3},  {".DAT", 4},
               {".GS", 7},  {".GSAS", 7}, {".INS", 8}, {".XY", 9}, {".CPI", 10}};
  std::string ext = UpperCase(ExtractFileExt(fileName));
  for (const auto& k : kinds)
    if (ext == k.Ext) return k.Kind;
  return 11;
}

bool IsDataFile(const std::string& fileName) {
  int kind = GetFileKind(fileName);
  return kind == 4 || kind == 7 || kind == 9 || kind == 10;
}

bool FileReadable(const std::string& fileName) {
  // Regular files only, opened without waiting: a named pipe without a
  // writer would hold a blocking open (and the program) forever.
  struct stat st;
  if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

bool ByteToBool(uint8_t b) { return b != 0; }

std::string ToAtomSymbol4(const std::string& text) { return ToSymbol4(text); }

// ---- Reading helpers ------------------------------------------------------------

namespace {

// A failed read: the one message the user sees.
ZV_DECLARE_EXCEPTION(EDataFile, Exception)

const char* const ZeroXMessage = "Opps";
const char* const NoPointsMessage = "The data file holds no data points.";
const char* const NoMemoryMessage = "Not enough memory to read the data file.";

std::string AtLine(int line) { return "Error reading data file at line " + IntToStr(line) + ": "; }

// The number of zero bytes of a word.
inline int ZeroBytes(std::uint64_t x) {
  constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
  const std::uint64_t marks = ~(((x & low7) + low7) | x | low7) >> 7;  // 1 in each zero byte
  return static_cast<int>((marks * 0x0101010101010101ULL) >> 56);
}

// The line feeds of a text, eight bytes at a time; `returns` tells whether it
// holds a carriage return as well.
std::size_t CountFeeds(const char* text, std::size_t n, bool& returns) {
  constexpr std::uint64_t feeds = 0x0A0A0A0A0A0A0A0AULL, cr = 0x0D0D0D0D0D0D0D0DULL;
  std::size_t count = 0, i = 0;
  int crs = 0;
#if defined(__SSE2__)
  // Sixteen bytes at a time; the byte counters are summed before they can wrap.
  const __m128i lf16 = _mm_set1_epi8('\n'), cr16 = _mm_set1_epi8('\r');
  while (i + 16 <= n) {
    __m128i counts = _mm_setzero_si128(), returns16 = _mm_setzero_si128();
    for (int k = 0; k < 255 && i + 16 <= n; ++k, i += 16) {
      const __m128i w = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
      counts = _mm_sub_epi8(counts, _mm_cmpeq_epi8(w, lf16));
      returns16 = _mm_or_si128(returns16, _mm_cmpeq_epi8(w, cr16));
    }
    const __m128i sums = _mm_sad_epu8(counts, _mm_setzero_si128());
    count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
             static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
    crs |= _mm_movemask_epi8(returns16);
  }
#endif
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, text + i, 8);
    count += static_cast<std::size_t>(ZeroBytes(w ^ feeds));
    crs |= ZeroBytes(w ^ cr);
  }
  for (; i < n; ++i) {
    count += text[i] == '\n';
    crs |= text[i] == '\r';
  }
  returns = crs != 0;
  return count;
}

// The whole file as lines. A line ends at LF, CR LF or a lone CR, and never
// includes the CR. A UTF-8 byte-order mark is not part of the first line.
class TLines {
public:
  // False when the file cannot be read; a file that is no regular file or is
  // too large raises EDataFile with openMessage and the reason. Without
  // `index` a file of line feeds only is left for Walk (View then serves the
  // first lines only).
  bool Load(const std::string& fileName, const std::string& openMessage, bool index = true) {
    try {
      FText = ReadRegularFile(fileName, MaxDataFileSize, "a data file");
    } catch (const EFileKind& e) {
      throw EDataFile(openMessage + " " + e.Message());
    } catch (const Exception&) {
      return false;
    }
    const char* text = FText.data();
    const std::size_t n = FText.size();
    std::size_t from = FText.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    FFrom = from;
    bool returns = false;
    const std::size_t feeds = CountFeeds(text + from, n - from, returns);
    FIndexed = index || returns;
    if (!FIndexed) {
      FCount = static_cast<int>(feeds + (from < n && text[n - 1] != '\n' ? 1 : 0));
      return true;
    }
    FLines.reserve(feeds + 1);
    for (std::size_t i = from; i < n; ++i) {
      char c = text[i];
      if (c != '\n' && c != '\r') continue;
      FLines.emplace_back(text + from, i - from);
      if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
      from = i + 1;
    }
    if (from < n) FLines.emplace_back(text + from, n - from);
    FCount = static_cast<int>(FLines.size());
    return true;
  }

  int Count() const { return FCount; }
  bool Indexed() const { return FIndexed; }
  // Line i (1-based); empty beyond the end, as reading past the last line
  // gives.
  std::string Line(int i) const { return std::string(View(i)); }
  std::string_view View(int i) const {
    if (i < 1 || i > Count()) return {};
    if (FIndexed) return FLines[static_cast<std::size_t>(i - 1)];
    std::size_t from = FFrom;
    for (int k = 1;; ++k) {
      const std::size_t lf = FText.find('\n', from);
      const std::size_t end = lf == std::string::npos ? FText.size() : lf;
      if (k == i) return std::string_view(FText).substr(from, end - from);
      from = end + 1;
    }
  }
  // The bytes from the start of line i to the end of the file (not indexed).
  std::string_view From(int i) const {
    if (i > Count()) return {};
    const std::string_view line = View(i);
    return std::string_view(line.data(), static_cast<std::size_t>(FText.data() + FText.size() - line.data()));
  }
  // The number of the last line holding more than blanks and control
  // characters: trailing empty lines are not data.
  int LastFilled() const {
    int i = Count();
    while (i > 0 && TrimView(View(i)).empty()) --i;
    return i;
  }

private:
  std::string FText;
  std::size_t FFrom = 0;
  bool FIndexed = true;
  int FCount = 0;
  std::vector<std::string_view> FLines;
};

bool ValidUtf8(const std::string& s) {
  std::size_t i = 0, n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    int more;
    unsigned cp;
    if (c >= 0xC2 && c <= 0xDF) {
      more = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      more = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      more = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(more) >= n) return false;
    for (int k = 1; k <= more; ++k) {
      unsigned char d = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) || (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
      return false;
    i += static_cast<std::size_t>(more) + 1;
  }
  return true;
}

// A title line (or a field quoted in a message) as UTF-8: kept when it already is, else read as Windows-1252,
// the code page of files written on the engine's home platform.
std::string TitleText(const std::string& s) {
  if (ValidUtf8(s)) return s;
  static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(s.size() * 2);
  for (char ch : s) {
    unsigned c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
      continue;
    }
    unsigned cp = c < 0xA0 ? high[c - 0x80] : c;
    if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

enum class TNumber { Ok, NotNumber, OutOfRange };

// A single-precision value of a whole (trimmed) text.
TNumber TryNumber(std::string_view text, bool acceptComma, float& value) {
  double d = 0;
  bool ok = TryViewToDouble(text, d, acceptComma);
  if (!ok) return std::isinf(d) ? TNumber::OutOfRange : TNumber::NotNumber;
  if (!FitsSingle(d)) return TNumber::OutOfRange;
  value = static_cast<float>(d);
  return TNumber::Ok;
}

// The value of a text that must be a number, or the message that it is not.
float Number(std::string_view text, bool acceptComma, int line) {
  std::string_view s = TrimView(text);
  if (s.empty()) throw EDataFile(AtLine(line) + "a value is missing.");
  float value = 0;
  switch (TryNumber(s, acceptComma, value)) {
    case TNumber::Ok:
      return value;
    case TNumber::OutOfRange:
      throw EDataFile(AtLine(line) + "\"" + TitleText(std::string(s)) + "\" is out of range.");
    case TNumber::NotNumber:
      break;
  }
  throw EDataFile(AtLine(line) + "\"" + TitleText(std::string(s)) + "\" is not a number.");
}

// At most `width` characters from column `first` (1-based), as CopyColumns.
std::string_view Columns(std::string_view line, int first, int width) {
  if (width <= 0 || first < 1 || static_cast<std::size_t>(first) > line.size()) return {};
  return line.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(width));
}

// A value from fixed columns; "." or "," is the decimal point.
float Field(std::string_view line, int first, int width, int lineNo) {
  return Number(Columns(line, first, width), true, lineNo);
}

// Field n (1-based) of a line split as TBrkApart splits it at each of the
// separator characters; empty fields do not count. Empty when the line has
// fewer fields.
enum class TSeparators { Blank, BlankOrTab, Comma };

std::string_view SplitField(std::string_view line, int n, TSeparators separators) {
  auto separator = [separators](char c) {
    switch (separators) {
      case TSeparators::Blank: return c == ' ';
      case TSeparators::BlankOrTab: return c == ' ' || c == '\t';
      default: return c == ',';
    }
  };
  std::size_t i = 0, size = line.size();
  for (;;) {
    while (i < size && separator(line[i])) ++i;
    if (i == size) return {};
    std::size_t from = i;
    while (i < size && !separator(line[i])) ++i;
    if (--n == 0) return line.substr(from, i - from);
  }
}

// Free-format reading of one line, token by token, for the GSAS bank line.
class TLineReader {
public:
  TLineReader(std::string_view line, int lineNo) : FLine(line), FLineNo(lineNo) {}

  void Skip(std::size_t count) { FPos = std::min(FLine.size(), FPos + count); }

  int Integer() {
    std::string t(Token());
    int value = 0;
    if (!TryStrToInt(t, value) || t.find_first_of("$xX") != std::string::npos)
      throw EDataFile(AtLine(FLineNo) + "\"" + TitleText(t) + "\" is not an integer.");
    return value;
  }

  float Real() { return Number(Token(), false, FLineNo); }

private:
  std::string_view Token() {
    while (FPos < FLine.size() && static_cast<unsigned char>(FLine[FPos]) <= ' ') ++FPos;
    std::size_t from = FPos;
    while (FPos < FLine.size() && static_cast<unsigned char>(FLine[FPos]) > ' ') ++FPos;
    if (FPos == from) throw EDataFile(AtLine(FLineNo) + "a value is missing.");
    return FLine.substr(from, FPos - from);
  }

  std::string_view FLine;
  int FLineNo;
  std::size_t FPos = 0;
};

// The usual case of a free-format field, without the general path's copies:
// at p (after the separators before it) a field that starts like a decimal
// number and that from_chars takes up to its end (blanks and control
// characters before that end are trimmed, as TrimText trims them), with a
// value of single range. p moves past the number. False leaves the field to
// the general path, which also gives the messages.
template <typename TIsSeparator>
bool QuickField(const char*& p, const char* end, TIsSeparator isSeparator, float& value) {
  auto trimmed = [&](char c) { return static_cast<unsigned char>(c) <= ' ' && !isSeparator(c); };
  const char* b = p;
  while (b < end && trimmed(*b)) ++b;
  const char* q = b < end && *b == '-' ? b + 1 : b;
  if (q == end || !((*q >= '0' && *q <= '9') || *q == '.')) return false;
  double d = 0;
  auto [ptr, ec] = std::from_chars(b, end, d, std::chars_format::general);
  if (ec != std::errc() || !(std::fabs(d) <= FLT_MAX)) return false;
  const char* r = ptr;
  while (r < end && trimmed(*r)) ++r;
  if (r != end && !isSeparator(*r)) return false;
  value = static_cast<float>(d);
  p = r;
  return true;
}

// Both leading fields of the line that starts at p, in a text of line feeds
// only, the quick way: the start of the next line (end after the last), or
// nil when the line needs the general path.
template <typename TIsSeparator>
const char* QuickLine(const char* p, const char* end, TIsSeparator isSeparator, float& x, float& y) {
  auto separator = [&](char c) { return c != '\n' && isSeparator(c); };
  auto field = [&](const char*& at, float& value) {
    auto trimmed = [&](char c) { return static_cast<unsigned char>(c) <= ' ' && c != '\n' && !isSeparator(c); };
    const char* b = at;
    while (b < end && trimmed(*b)) ++b;
    const char* q = b < end && *b == '-' ? b + 1 : b;
    if (q == end || !((*q >= '0' && *q <= '9') || *q == '.')) return false;
    double d = 0;
    auto [ptr, ec] = std::from_chars(b, end, d, std::chars_format::general);
    if (ec != std::errc() || !(std::fabs(d) <= FLT_MAX)) return false;
    const char* r = ptr;
    while (r < end && trimmed(*r)) ++r;
    if (r != end && *r != '\n' && !isSeparator(*r)) return false;
    value = static_cast<float>(d);
    at = r;
    return true;
  };
  while (p < end && separator(*p)) ++p;
  if (!field(p, x)) return nullptr;
  while (p < end && separator(*p)) ++p;
  if (!field(p, y)) return nullptr;
  if (p == end) return end;
  if (*p == '\n') return p + 1;
  const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
  return lf ? static_cast<const char*>(lf) + 1 : end;
}

// Both leading fields of an .xy line the quick way; false when either needs
// the general path.
template <typename TIsSeparator>
bool QuickPair(std::string_view line, TIsSeparator isSeparator, float& x, float& y) {
  const char* p = line.data();
  const char* end = p + line.size();
  while (p < end && isSeparator(*p)) ++p;
  if (!QuickField(p, end, isSeparator, x)) return false;
  while (p < end && isSeparator(*p)) ++p;
  return QuickField(p, end, isSeparator, y);
}

// Shows "Opps" for the first point at x = 0 of a file, and only for that one.
class TZeroXWarning {
public:
  void Check(float x) {
    if (x == 0 && !FShown) {
      FShown = true;
      ShowMessage(ZeroXMessage);
    }
  }

private:
  bool FShown = false;
};

bool Blank(std::string_view line, std::size_t i) { return i < line.size() && line[i] == ' '; }

// The integer nearest to a value known to be finite, as a count that cannot
// overflow: callers compare it with what the file can hold before using it.
double NearestCount(double v) { return std::nearbyint(v); }

// A point count for a message; absurd ones in exponent form.
std::string CountText(double count) {
  char buf[64];
  const auto res = count < 1e15 ? std::to_chars(buf, buf + sizeof buf, count, std::chars_format::fixed, 0)
                                : std::to_chars(buf, buf + sizeof buf, count, std::chars_format::general, 6);
  return std::string(buf, res.ptr);
}

}  // namespace

// ---- TData readers --------------------------------------------------------------

void TData::ReadDataFile(const std::string& fileName, int histogram, int kind) {
  FHistogram = histogram;
  if (!FileExists(fileName)) return;
  switch (kind) {
    case 4:
      ReadDAT(fileName);
      break;
    case 7:
      ReadGSAS(fileName);
      break;
    case 9:
      ReadXY(fileName);
      break;
    case 10:
      ReadCPI(fileName);
      break;
    default:
      break;
  }
}

bool TData::ParseHeaderLine(const std::string& line, float& start, float& step, float& stop, std::string& title) {
  title.clear();
  auto value = [](const std::string& text, float& v) { return TryNumber(text, true, v) == TNumber::Ok; };

  // Free format: three values, each of the first two ended by a blank, then
  // an optional title that keeps its leading blank.
  std::string s = TrimText(line);
  float a = 0, b = 0, c = 0;
  std::size_t p = s.find(' ');
  bool ok = p != std::string::npos && value(s.substr(0, p + 1), a);
  if (ok) {
    s = TrimText(s.substr(p));
    p = s.find(' ');
    ok = p != std::string::npos && value(s.substr(0, p + 1), b);
  }
  if (ok) {
    s = TrimText(s.substr(p));
    p = s.find(' ');
    if (p != std::string::npos && p > 0) {
      ok = value(s.substr(0, p + 1), c);
      if (ok) title = s.substr(p);
    } else {
      ok = value(s, c);
    }
  }
  if (ok) {
    start = a;
    step = b;
    stop = c;
    return true;
  }

  // Fixed columns of 8; the first value that does not convert ends it.
  if (line.size() >= 8) {
    if (!value(line.substr(0, 8), start)) return false;
    if (line.size() >= 16) {
      if (!value(line.substr(8, 8), step)) return false;
      if (line.size() >= 24) {
        if (!value(line.substr(16, 8), stop)) return false;
        if (line.size() > 24) title = line.substr(24);
      }
    }
  }
  return false;
}

void TData::ReadDAT(const std::string& fileName) {
  try {
    TLines lines;
    if (!lines.Load(fileName, "Error opening file.")) throw EDataFile("Error opening file.");

    // The layout follows from the first two columns of the first data line.
    float start = 0, step = 0, stop = 0;
    std::string title;
    if (!ParseHeaderLine(lines.Line(1), start, step, stop, title))
      throw EDataFile("Cannot determine datafile format.");
    std::string_view first = lines.View(2);
    bool blank1 = Blank(first, 0), blank2 = Blank(first, 1);
    int layout = blank1 && blank2 ? 3 : (!blank1 && blank2 ? 2 : 1);

    // The header as the engine reads it: its first 80 characters.
    std::string header = Utf8Truncate(TitleText(lines.Line(1)), 80);
    if (!ParseHeaderLine(header, start, step, stop, title)) throw EDataFile("Cannot determine datafile format.");
    if (!(step > 0)) throw EDataFile(AtLine(1) + "the step must be greater than 0.");
    double count = NearestCount((static_cast<double>(stop) - start) / step) + 1;
    if (count < 1) throw EDataFile(AtLine(1) + "the stop value is below the start value.");
    int lastLine = lines.LastFilled();
    if (count > 10.0 * std::max(lastLine - 1, 0))
      throw EDataFile("Error reading data file: the header announces " + CountText(count) +
                      " points but the file ends at line " + IntToStr(lastLine) + ".");
    int n = static_cast<int>(count);

    Allocate(n);
    if (!IsAllocated()) throw EDataFile(NoMemoryMessage);
    FTitle = title;
    FStart = start;
    FStep = step;
    FStop = stop;

    TZeroXWarning zeroX;
    std::string_view line;
    int lineNo = 0;
    for (int k = 1; k <= n; ++k) {
      int j = (k - 1) % 10 + 1;
      if (j == 1) {
        lineNo = (k - 1) / 10 + 2;
        line = lines.View(lineNo).substr(0, 80);
      }
      std::size_t e = static_cast<std::size_t>(k - 1);
      FX[e] = static_cast<float>(start + static_cast<double>(k - 1) * step);
      zeroX.Check(FX[e]);
      int col = 8 * j - 7;
      switch (layout) {
        case 3:
          FY[e] = Field(line, col, 8, lineNo);
          FThird[e] = 1.0f;
          break;
        case 1:
          FThird[e] = Field(line, col, 2, lineNo);
          FY[e] = Field(line, col + 2, 6, lineNo);
          break;
        default:
          FThird[e] = Field(line, col, 1, lineNo);
          FY[e] = Field(line, col + 1, 7, lineNo);
          break;
      }
    }
    FPointCount = n;
    FStatus = 2;
  } catch (const EDataFile& e) {
    Empty();
    ShowMessage(e.Message());
  }
}

void TData::ReadGSAS(const std::string& fileName) {
  try {
    TLines lines;
    if (!lines.Load(fileName, "Error opening file.")) throw EDataFile("Error opening file.");

    std::string_view bank = lines.View(2);
    if (bank.find("BANK") == std::string_view::npos) throw EDataFile("Cannot determine GSAS datafile format.");
    int layout = 4;
    if (bank.find("ALT") != std::string_view::npos) {
      layout = 8;
    } else if (bank.find("ESD") != std::string_view::npos) {
      layout = 7;
    } else {
      std::string_view first = lines.View(3);
      bool blank1 = Blank(first, 0), blank2 = Blank(first, 1);
      if (blank1 && blank2)
        layout = 6;
      else if (!blank1 && blank2)
        layout = 5;
    }

    // "BANK", the bank number, points, records, the bin type in 7 columns,
    // then the two coefficients.
    TLineReader reader(bank, 2);
    reader.Skip(4);
    reader.Integer();
    int nchan = reader.Integer();
    int nrec = reader.Integer();
    reader.Skip(7);
    float c1 = reader.Real();
    float c2 = reader.Real();
    if (nchan < 1 || nrec < 1) throw EDataFile(AtLine(2) + "the numbers of points and records must be positive.");
    const int perRecord = layout == 8 ? 4 : (layout == 7 ? 5 : 10);
    if (static_cast<long long>(nrec) * perRecord < nchan)
      throw EDataFile(AtLine(2) + "the bank line announces " + IntToStr(nchan) + " points in " + IntToStr(nrec) +
                      " records.");
    double start = c1 / 100.0, step = c2 / 100.0;
    if (layout != 8 && !(step > 0)) throw EDataFile(AtLine(2) + "the step must be greater than 0.");

    // A file that ends early keeps the points it holds.
    // Counts near the top of the integer range must not overflow here.
    const long long needed = (static_cast<long long>(nchan) + perRecord - 1) / perRecord;
    int records = static_cast<int>(std::min<long long>(needed, std::max(lines.LastFilled() - 2, 0)));
    int n = static_cast<int>(std::min<long long>(nchan, static_cast<long long>(records) * perRecord));
    std::string truncation;
    if (records < needed)
      truncation = "The GSAS datafile ends at line " + IntToStr(records + 2) + ": only " + IntToStr(n) + " of " +
                   IntToStr(nchan) + " points were read.";
    if (n == 0) throw EDataFile(truncation);

    Allocate(n);
    if (!IsAllocated()) throw EDataFile(NoMemoryMessage);
    FTitle = TitleText(lines.Line(1));
    FStart = static_cast<float>(start);
    FStep = static_cast<float>(step);

    TZeroXWarning zeroX;
    for (int i = 1; i <= records; ++i) {
      int lineNo = i + 2;
      std::string_view line = lines.View(lineNo).substr(0, 80);
      for (int j = 1; j <= perRecord; ++j) {
        int k = (i - 1) * perRecord + j;
        if (k > n) break;
        std::size_t e = static_cast<std::size_t>(k - 1);
        if (layout != 8) FX[e] = static_cast<float>(start + (k - 1) * step);
        switch (layout) {
          case 4:
            FY[e] = Field(line, 8 * j - 5, 6, lineNo);
            FThird[e] = Field(line, 8 * j - 7, 2, lineNo);
            break;
          case 5:
            FY[e] = Field(line, 8 * j - 6, 7, lineNo);
            FThird[e] = Field(line, 8 * j - 7, 1, lineNo);
            break;
          case 6:
            FY[e] = Field(line, 8 * j - 7, 8, lineNo);
            FThird[e] = 1.0f;
            break;
          case 7:
            FY[e] = Field(line, 16 * j - 15, 8, lineNo);
            FThird[e] = Field(line, 16 * j - 7, 8, lineNo);
            break;
          default:
            FX[e] = Field(line, 20 * j - 19, 8, lineNo);
            FY[e] = Field(line, 20 * j - 11, 7, lineNo);
            FThird[e] = Field(line, 20 * j - 4, 5, lineNo);
            break;
        }
        zeroX.Check(FX[e]);
      }
    }
    FStop = static_cast<float>(start + (n - 1) * step);
    FPointCount = n;
    FStatus = 2;
    if (!truncation.empty()) ShowMessage(truncation);
  } catch (const EDataFile& e) {
    Empty();
    ShowMessage(e.Message());
  }
}

void TData::ReadXY(const std::string& fileName) {
  try {
    TLines lines;
    if (!lines.Load(fileName, "Error opening XY Data file.", false)) throw EDataFile("Error opening XY Data file.");

    // Spreadsheets export columns separated by tabs; they count as blanks.
    const bool commas = lines.View(2).find(',') != std::string_view::npos;
    const TSeparators separators = commas ? TSeparators::Comma : TSeparators::BlankOrTab;
    // A histogram takes at most a million points (the engine's limit): the
    // arrays never grow past that, whatever the file's length.
    constexpr int MaxXYPoints = 1000000;
    Allocate(std::min(std::max(lines.Count() - 1, 0), MaxXYPoints));
    if (!IsAllocated()) throw EDataFile(NoMemoryMessage);

    // Points run to the end of the file or to the first line that does not
    // start with two numbers.
    int n = 0;
    auto room = [&](int i) {
      if (n >= MaxXYPoints)
        throw EDataFile(AtLine(i) + "the file holds more than " + IntToStr(MaxXYPoints) +
                        " points, the most a histogram takes.");
    };
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    auto isComma = [](char c) { return c == ','; };
    // The general reading of line i; false at the first line that does not
    // start with two numbers.
    auto general = [&](int i, std::string_view line) {
      const std::string_view fx = SplitField(line, 1, separators);
      // The second field is the first one after the first.
      const std::string_view rest =
          fx.empty() ? fx : line.substr(static_cast<std::size_t>(fx.data() + fx.size() - line.data()));
      const std::string_view fy = SplitField(rest, 1, separators);
      float x = 0, y = 0;
      TNumber rx = TryNumber(fx, false, x);
      TNumber ry = TryNumber(fy, false, y);
      if (rx == TNumber::OutOfRange || ry == TNumber::OutOfRange)
        throw EDataFile(AtLine(i) + "\"" + std::string(TrimView(rx == TNumber::OutOfRange ? fx : fy)) +
                        "\" is out of range.");
      if (rx != TNumber::Ok || ry != TNumber::Ok) return false;
      room(i);
      std::size_t e = static_cast<std::size_t>(n++);
      FX[e] = x;
      FY[e] = y;
      FThird[e] = 1.0f;
      return true;
    };
    if (lines.Indexed()) {
      for (int i = 2; i <= lines.Count(); ++i) {
        const std::string_view line = lines.View(i);
        float x = 0, y = 0;
        if (commas ? QuickPair(line, isComma, x, y) : QuickPair(line, isBlank, x, y)) {
          room(i);
          std::size_t e = static_cast<std::size_t>(n++);
          FX[e] = x;
          FY[e] = y;
          FThird[e] = 1.0f;
        } else if (!general(i, line)) {
          break;
        }
      }
    } else {
      // Line feeds only: the quick reading finds each line's end as it goes.
      const std::string_view rest = lines.From(2);
      const char* p = rest.data();
      const char* end = p + rest.size();
      for (int i = 2; p && p < end; ++i) {
        float x = 0, y = 0;
        const char* next = commas ? QuickLine(p, end, isComma, x, y) : QuickLine(p, end, isBlank, x, y);
        if (next) {
          room(i);
          std::size_t e = static_cast<std::size_t>(n++);
          FX[e] = x;
          FY[e] = y;
          FThird[e] = 1.0f;
          p = next;
          continue;
        }
        const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        const char* lineEnd = lf ? static_cast<const char*>(lf) : end;
        if (!general(i, std::string_view(p, static_cast<std::size_t>(lineEnd - p)))) break;
        p = lineEnd + 1;
      }
    }
    if (n == 0) throw EDataFile(NoPointsMessage);
    FTitle = TitleText(lines.Line(1));
    FStart = FX[0];
    FStop = FX[static_cast<std::size_t>(n - 1)];
    FStep = n > 1 ? static_cast<float>((static_cast<double>(FStop) - FStart) / (n - 1)) : 0.0f;
    FPointCount = n;
    FStatus = 2;
  } catch (const EDataFile& e) {
    Empty();
    ShowMessage(e.Message());
  }
}

void TData::ReadCPI(const std::string& fileName) {
  try {
    TLines lines;
    if (!lines.Load(fileName, "Error opening CPI data file.")) throw EDataFile("Error opening CPI data file.");

    auto headerValue = [&](int lineNo) {
      return Number(SplitField(lines.View(lineNo), 1, TSeparators::Blank), false, lineNo);
    };
    float start = headerValue(2);
    float stop = headerValue(3);
    float step = headerValue(4);
    if (!(step > 0)) throw EDataFile(AtLine(4) + "the step must be greater than 0.");
    double count = NearestCount((static_cast<double>(stop) - start) / step + 1);
    if (count < 1) throw EDataFile(AtLine(3) + "the stop value is below the start value.");

    // Ten header lines, then one intensity per line; a file that holds fewer
    // than the header announces keeps the ones present.
    const int firstData = 11;
    int n = static_cast<int>(std::min<double>(count, std::max(lines.Count() - firstData + 1, 0)));
    Allocate(n);
    if (!IsAllocated()) throw EDataFile(NoMemoryMessage);
    int read = 0;
    for (int i = 1; i <= n; ++i) {
      int lineNo = firstData + i - 1;
      const std::string_view field = SplitField(lines.View(lineNo), 1, TSeparators::Blank);
      float y = 0;
      TNumber r = TryNumber(field, false, y);
      if (r == TNumber::OutOfRange) throw EDataFile(AtLine(lineNo) + "\"" + std::string(field) + "\" is out of range.");
      if (r != TNumber::Ok) break;
      std::size_t e = static_cast<std::size_t>(read++);
      FX[e] = static_cast<float>(start + static_cast<double>(i - 1) * step);
      FY[e] = y;
      FThird[e] = 1.0f;
    }
    if (read == 0) throw EDataFile(NoPointsMessage);
    FTitle = TitleText(lines.Line(1));
    FStart = start;
    FStep = step;
    FStop = read < count ? FX[static_cast<std::size_t>(read - 1)] : stop;
    FPointCount = read;
    FStatus = 2;
  } catch (const EDataFile& e) {
    Empty();
    ShowMessage(e.Message());
  }
}
