// Reading the files of other programs for the importers: the whole file is
// taken into memory and handed out line by line, as fixed columns, as
// blank-separated fields or as free-format numbers, each with the number of
// the line it came from.
//
// A line ends at LF, CR LF or a lone CR; the line end is never part of the
// line, so files written on any platform read alike. A UTF-8 byte-order mark
// at the start of the file is dropped.
//
// Numbers are read strictly: blank columns are 0, but text that is not a
// number is an error, never a silent 0. Failures are raised as
//   EInOutError    the file ends early, a line lacks a needed field, or a
//                  free-format item is not a number;
//   EConvertError  a column range or field holds text that is not a number;
//   EOverflow      a number beyond the single-precision range.
// Their messages are short phrases naming the line ("line 4, columns 9-16:
// "x" is not a number"), fit to be quoted in a longer message.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/rietclass.h"
#include "platform/rtl/exceptions.h"

class TImportLines {
public:
  // The text is not copied: it must outlive the reader.
  explicit TImportLines(const std::string& text);

  bool AtEnd() const { return FPos >= FText.size(); }
  // Number of lines of the whole text.
  int LineCount() const { return FLineCount; }
  // True when the text is empty or holds only blanks and line ends.
  bool Blank() const;

  // The next line into Line(); false (Line() unchanged) at the end.
  bool TryNext();
  // The next line; at the end raises EInOutError ("the file ends after line n").
  const std::string& Next();
  const std::string& Line() const { return FLine; }
  // Number of the line last read (0 before the first), or of the line the
  // next read would take after the end was met.
  int LineNumber() const { return FLineNumber; }

  // Free-format reading across line ends, as a Pascal Read: the next item
  // separated by blanks or line ends; raises EInOutError at the end.
  std::string NextItem();
  int ItemInt();
  float ItemReal();
  // Skips what is left of the current line (after items).
  void SkipRestOfLine();

  // Fixed columns of Line(), 1-based. Blank columns read 0 (empty text).
  // On an unterminated last line, a number that the line end cuts short is
  // taken as a cut file (EInOutError).
  int Int(int first, int width) const;
  float Real(int first, int width) const;
  std::string Text(int first, int width) const;

  // When set, every read stores the number of the line being read here.
  void TrackCounter(float* counter) { FCounter = counter; }

private:
  void SetLineNumber(int n) {
    FLineNumber = n;
    if (FCounter) *FCounter = static_cast<float>(n);
  }
  // Past the line end at FPos (none at the end of the text).
  void SkipLineEnd();
  // The position of the next line end from `from` (the size at the end).
  std::size_t FindLineEnd(std::size_t from) const;
  std::string Columns(int first, int width) const;

  const std::string& FText;
  std::size_t FStart = 0;  // past a byte-order mark
  std::size_t FPos = 0;
  int FLineCount = 0;
  std::string FLine;
  int FLineNumber = 0;
  bool FAtLineStart = true;
  // The line last read is the last of the file and has no line end: the file
  // may have been cut inside it.
  bool FUnterminated = false;
  float* FCounter = nullptr;
};

// The blank-separated fields of a line: split at every run of blanks, tabs and
// other characters at or below the blank. Only the first MaxFields are kept
// (no layout needs more), so a hostile line of millions of values costs no
// more than its text.
class TImportFields {
public:
  TImportFields() = default;
  TImportFields(const std::string& line, int lineNumber) { Split(line, lineNumber); }
  void Split(const std::string& line, int lineNumber);
  static constexpr int MaxFields = 128;
  int Count() const { return static_cast<int>(FFields.size()); }
  // Field k (1-based); empty text when there is none.
  const std::string& operator[](int k) const;
  // Raises EInOutError when the line holds fewer than n fields.
  void Need(int n) const;
  // Field k as a number (strict); a missing field raises EInOutError.
  int Int(int k) const;
  float Real(int k) const;

private:
  std::vector<std::string> FFields;
  int FLineNumber = 0;
};

// Strict conversions of a text, trimmed first; `where` names the place for the
// message ("line 4, columns 9-16").
int ImportInt(const std::string& text, const std::string& where);
float ImportReal(const std::string& text, const std::string& where);

// The whole file, or false with a message for the user in `error`. Only
// regular files are read (a device or pipe could be endless).
bool LoadImportFile(const std::string& fileName, std::string& text, std::string& error);
// A text for one line of an exported file: a line end inside would split it.
std::string ExportLineText(const std::string& text);
// Writes an exported file whole; when it cannot be written a message names
// the file and the reason, and false is returned.
bool WriteExportFile(const std::string& fileName, const std::string& text);
// True when the text holds NUL bytes, which no text file of these formats has.
bool LooksBinary(const std::string& text);

// The line-group counter as the messages show it: general notation with up
// to 15 significant digits (2.01 shows as 2.00999999046326).
std::string ImportCounterText(float counter);
// The message of a failed read by the kind of failure:
//   EInOutError                "Error reading Inputfile at line " + counter
//   EConvertError, EMathError  "Error reading a numeric value at line " + counter
//   anything else              "An unindentified error in reading line " + counter
std::string ImportErrorMessage(const std::exception& e, float counter);

// Refinement codes read from a file: each non-zero code is appended to the
// refined list with its address unless the address is there already, as
// TParameterList::AddParameter does, but without a search of the list, so a
// file with many atoms stays fast. Made when reading starts, for a list that
// is empty then (the model was just reset).
class TImportCodes {
public:
  explicit TImportCodes(TParameterList& list);
  void Add(int h, int p, int a, int t, double code);

private:
  struct THash {
    std::size_t operator()(const std::array<int, 4>& k) const noexcept;
  };
  TParameterList& FList;
  std::unordered_set<std::array<int, 4>, THash> FSeen;
};

// Reads a file of a line layout into the model. The read runs first on a
// scratch model: when it fails before `headerRead` is set (the opening lines
// do not fit the layout) the model is left as it is and Loaded cleared, with
// the message "Error reading Inputfile at line n" for a file that ends there
// and refusal(detail) otherwise. Else the read runs on the model, which keeps
// what was read up to a failure (with its message); the codes read are
// resolved with the model's MaxCode in every case. Returns Loaded.
// With `wholeOrNothing`, a failure anywhere leaves the model as it was
// (Loaded cleared), with the failure's message followed by " The model is
// unchanged."
using TLayoutRead = std::function<void(TRietveld& model, TImportLines& lines, bool& headerRead)>;
bool RunLayoutImport(TRietveld& model, const std::string& text, const TLayoutRead& read,
                     const std::function<std::string(const std::string& detail)>& refusal,
                     bool wholeOrNothing = false);
