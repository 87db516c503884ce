#include "model/importlines.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <filesystem>

#include "model/brkapart.h"
#include "platform/dialogs.h"
#include "platform/rtl/textfile.h"

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
bool IsSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

// A text as a message may quote it: short, with control bytes made visible.
std::string Shown(const std::string& text) {
  constexpr std::size_t MaxShown = 24;
  std::string s = Utf8Left(text, MaxShown);
  for (char& c : s)
    if (static_cast<unsigned char>(c) < ' ' || c == 127) c = '?';
  if (s.size() < text.size()) s += "...";
  return "\"" + s + "\"";
}

std::string ColumnsWhere(int line, int first, int width) {
  return "line " + std::to_string(line) + ", columns " + std::to_string(first) + "-" +
         std::to_string(first + width - 1);
}

std::string EndMessage(int nextLine) {
  if (nextLine <= 1) return "the file is empty";
  return "the file ends after line " + std::to_string(nextLine - 1);
}

}  // namespace

// ---------------------------------------------------------------------------

TImportLines::TImportLines(const std::string& text) : FText(text) {
  if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FStart = 3;
  FPos = FStart;
  // Lines end at LF, CR LF or a lone CR; a last line may have no end.
  FLineCount = static_cast<int>(std::count(FText.begin() + static_cast<std::ptrdiff_t>(FStart), FText.end(), '\n'));
  if (FText.find('\r', FStart) != std::string::npos)
    for (std::size_t i = FStart; i < FText.size(); ++i)
      if (FText[i] == '\r' && (i + 1 >= FText.size() || FText[i + 1] != '\n')) ++FLineCount;
  if (FText.size() > FStart && !IsLineEnd(FText.back())) ++FLineCount;
}

std::size_t TImportLines::FindLineEnd(std::size_t from) const {
  const char* p = FText.data() + from;
  const char* e = FText.data() + FText.size();
  while (p < e && *p != '\n' && *p != '\r') ++p;
  return static_cast<std::size_t>(p - FText.data());
}

bool TImportLines::Blank() const {
  for (std::size_t i = FStart; i < FText.size(); ++i)
    if (!IsSpace(FText[i])) return false;
  return true;
}

void TImportLines::SkipLineEnd() {
  if (FPos >= FText.size()) return;
  if (FText[FPos] == '\r') {
    ++FPos;
    if (FPos < FText.size() && FText[FPos] == '\n') ++FPos;
  } else if (FText[FPos] == '\n') {
    ++FPos;
  }
}

bool TImportLines::TryNext() {
  if (AtEnd()) return false;
  // Items may have been taken from the start of the current line already.
  const int number = FAtLineStart ? FLineNumber + 1 : FLineNumber;
  const std::size_t k = FindLineEnd(FPos);
  FLine.assign(FText, FPos, k - FPos);
  FPos = k;
  FUnterminated = FPos >= FText.size();
  SkipLineEnd();
  FAtLineStart = true;
  SetLineNumber(number);
  return true;
}

const std::string& TImportLines::Next() {
  if (!TryNext()) {
    FAtLineStart = true;
    SetLineNumber(FLineNumber + 1);
    throw EInOutError(EndMessage(FLineNumber), 100);
  }
  return FLine;
}

std::string TImportLines::NextItem() {
  for (;;) {
    if (FPos >= FText.size()) {
      FAtLineStart = true;
      SetLineNumber(FLineNumber + 1);
      throw EInOutError(EndMessage(FLineNumber), 100);
    }
    const char c = FText[FPos];
    if (IsLineEnd(c)) {
      if (FAtLineStart) SetLineNumber(FLineNumber + 1);  // an empty line
      SkipLineEnd();
      FAtLineStart = true;
      continue;
    }
    if (FAtLineStart) {
      FAtLineStart = false;
      SetLineNumber(FLineNumber + 1);
    }
    if (IsSpace(c)) {
      ++FPos;
      continue;
    }
    break;
  }
  const std::size_t b = FPos;
  while (FPos < FText.size() && !IsSpace(FText[FPos])) ++FPos;
  FUnterminated = false;
  return FText.substr(b, FPos - b);
}

int TImportLines::ItemInt() {
  std::string item = NextItem();
  try {
    return ImportInt(item, "line " + std::to_string(FLineNumber));
  } catch (const EConvertError& e) {
    throw EInOutError(e.Message(), 106);
  }
}

float TImportLines::ItemReal() {
  std::string item = NextItem();
  try {
    return ImportReal(item, "line " + std::to_string(FLineNumber));
  } catch (const EConvertError& e) {
    throw EInOutError(e.Message(), 106);
  }
}

void TImportLines::SkipRestOfLine() {
  if (FAtLineStart) return;
  FPos = FindLineEnd(FPos);
  SkipLineEnd();
  FAtLineStart = true;
}


std::string TImportLines::Columns(int first, int width) const {
  std::string s = CopyColumns(FLine, first, width);
  // A number that the end of a cut file splits: the line stops inside the
  // field with something already written in it.
  if (FUnterminated && static_cast<int>(FLine.size()) >= first &&
      static_cast<int>(FLine.size()) < first + width - 1 && !TrimText(s).empty())
    throw EInOutError(ColumnsWhere(FLineNumber, first, width) + ": the file ends inside this field", 100);
  return s;
}

int TImportLines::Int(int first, int width) const {
  return ImportInt(Columns(first, width), ColumnsWhere(FLineNumber, first, width));
}

float TImportLines::Real(int first, int width) const {
  return ImportReal(Columns(first, width), ColumnsWhere(FLineNumber, first, width));
}

std::string TImportLines::Text(int first, int width) const { return CopyColumns(FLine, first, width); }

// ---------------------------------------------------------------------------

void TImportFields::Split(const std::string& line, int lineNumber) {
  FFields.clear();
  FLineNumber = lineNumber;
  std::size_t i = 0;
  while (i < line.size() && Count() < MaxFields) {
    while (i < line.size() && IsSpace(line[i])) ++i;
    if (i >= line.size()) break;
    std::size_t b = i;
    while (i < line.size() && !IsSpace(line[i])) ++i;
    FFields.emplace_back(line, b, i - b);
  }
}

const std::string& TImportFields::operator[](int k) const {
  static const std::string None;
  if (k < 1 || k > Count()) return None;
  return FFields[static_cast<std::size_t>(k - 1)];
}

void TImportFields::Need(int n) const {
  if (Count() < n)
    throw EInOutError("line " + std::to_string(FLineNumber) + " holds " + std::to_string(Count()) +
                          (Count() == 1 ? " value" : " values") + " where " + std::to_string(n) + " are needed",
                      106);
}

int TImportFields::Int(int k) const {
  Need(k);
  return ImportInt((*this)[k], "line " + std::to_string(FLineNumber) + ", value " + std::to_string(k));
}

float TImportFields::Real(int k) const {
  Need(k);
  return ImportReal((*this)[k], "line " + std::to_string(FLineNumber) + ", value " + std::to_string(k));
}

// ---------------------------------------------------------------------------

int ImportInt(const std::string& text, const std::string& where) {
  const std::string s = TrimText(text);
  if (s.empty()) return 0;
  const char* b = s.data();
  const char* e = b + s.size();
  if (*b == '+') ++b;
  long long value = 0;
  auto [ptr, ec] = std::from_chars(b, e, value);
  const bool digits = ptr == e && b != e && (*b != '-' || b == s.data());
  if (!digits || (ec != std::errc() && ec != std::errc::result_out_of_range))
    throw EConvertError(where + ": " + Shown(s) + " is not a whole number");
  if (ec == std::errc::result_out_of_range || value < INT_MIN || value > INT_MAX)
    throw EConvertError(where + ": " + Shown(s) + " is out of range");
  return static_cast<int>(value);
}

float ImportReal(const std::string& text, const std::string& where) {
  const std::string s = TrimText(text);
  if (s.empty()) return 0;
  double d = 0;
  if (!TryTextToDouble(s, d, true)) {
    if (std::isinf(d)) throw EOverflow(where + ": " + Shown(s) + " is too large");
    throw EConvertError(where + ": " + Shown(s) + " is not a number");
  }
  if (!FitsSingle(d)) throw EOverflow(where + ": " + Shown(s) + " is too large");
  return static_cast<float>(d);
}

bool LoadImportFile(const std::string& fileName, std::string& text, std::string& error) {
  try {
    // A folder, a pipe or a device is refused without blocking; so is a
    // file far larger than any the importers read.
    text = ReadRegularFile(fileName, MaxImportFileSize, "an imported file");
  } catch (const EFileKind& e) {
    error = e.Message();
    return false;
  } catch (const Exception& e) {
    error = "Cannot read " + fileName + ": " + e.Message();
    return false;
  }
  return true;
}

bool LooksBinary(const std::string& text) { return text.find('\0') != std::string::npos; }

std::string ImportCounterText(float counter) {
  char buf[64];
  auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(counter), std::chars_format::general, 15);
  return ec == std::errc() ? std::string(buf, ptr) : std::string("?");
}

std::string ImportErrorMessage(const std::exception& e, float counter) {
  const std::string where = ImportCounterText(counter);
  if (dynamic_cast<const EInOutError*>(&e)) return "Error reading Inputfile at line " + where;
  if (dynamic_cast<const EConvertError*>(&e) || dynamic_cast<const EMathError*>(&e))
    return "Error reading a numeric value at line " + where;
  return "An unindentified error in reading line " + where;
}

// ---------------------------------------------------------------------------

std::size_t TImportCodes::THash::operator()(const std::array<int, 4>& k) const noexcept {
  std::uint64_t v = 0;
  for (int x : k) v = v * 1000003u ^ static_cast<std::uint32_t>(x);
  return static_cast<std::size_t>(v ^ (v >> 29));
}

TImportCodes::TImportCodes(TParameterList& list) : FList(list) {}

void TImportCodes::Add(int h, int p, int a, int t, double code) {
  if (code == 0 || !FSeen.insert({h, p, a, t}).second) return;
  FList.Refined.push_back(std::make_unique<TParameter>(h, p, a, t, code));
}

bool RunLayoutImport(TRietveld& model, const std::string& text, const TLayoutRead& read,
                     const std::function<std::string(const std::string& detail)>& refusal, bool wholeOrNothing) {
  model.Loaded = false;
  {
    TRietveld scratch;
    TImportLines lines(text);
    bool headerRead = false;
    try {
      read(scratch, lines, headerRead);
    } catch (const std::exception& e) {
      if (!headerRead) {
        const auto* io = dynamic_cast<const EInOutError*>(&e);
        if (io && io->ErrorCode == 100)
          ShowMessage(ImportErrorMessage(e, scratch.LineCounter));
        else
          ShowMessage(refusal(e.what()));
        return false;
      }
      if (wholeOrNothing) {
        ShowMessage(ImportErrorMessage(e, scratch.LineCounter) + ". The model is unchanged.");
        return false;
      }
    }
  }
  TImportLines lines(text);
  bool headerRead = false;
  try {
    read(model, lines, headerRead);
    model.Loaded = true;
  } catch (const std::exception& e) {
    ShowMessage(ImportErrorMessage(e, model.LineCounter));
  }
  model.Parameters.ResolveCodes(model.MaxCode);
  return model.Loaded;
}

bool WriteExportFile(const std::string& fileName, const std::string& text) {
  try {
    WriteFileText(fileName, text);
  } catch (const Exception& e) {
    ShowMessage("The file " + fileName + " could not be written: " + e.Message());
    return false;
  }
  return true;
}

std::string ExportLineText(const std::string& text) {
  std::string r = text;
  for (char& c : r)
    if (c == '\r' || c == '\n') c = ' ';
  return r;
}
