// Text files with the class library's semantics, used by the readers and
// writers of model, data and work files.
//
// A line ends at LF, CR LF or a lone CR; the CR is never part of the line, so
// files written on any platform read alike. Lines are written with LF.
//
// Failures are raised as EInOutError carrying the class library's error number
// and a message "I/O error <code> (<what>): <file name>", with the system's
// reason after " - " where it adds something:
//   2   file not found            3   path not found
//   5   access denied             100 read past end of file
//   103 file not open             105 file not open for output
//   104 file not open for input   101 disk write error
//
// Readers tell three kinds of failure apart and report each in its own words:
//   - EInOutError   the file could not be opened, read or written;
//   - EConvertError a field held text that is not a number of the right kind;
//   - any other Exception (or std::exception) for everything else.
// Catch them in that order: EInOutError and EConvertError both derive from
// Exception.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/rtl/exceptions.h"

class TTextFile {
public:
  TTextFile() = default;
  explicit TTextFile(const std::string& fileName) : FFileName(fileName) {}
  ~TTextFile();
  TTextFile(const TTextFile&) = delete;
  TTextFile& operator=(const TTextFile&) = delete;

  // Names the file; a file that is open is closed first.
  void AssignFile(const std::string& fileName);
  const std::string& FileName() const { return FFileName; }

  // Opens for reading from the start (again, when already open).
  void Reset();
  // Creates or empties the file and opens it for writing.
  void Rewrite();
  // Opens an existing file for writing at its end.
  void Append();
  // Closes the file; closing a closed file raises 103.
  void CloseFile();
  bool IsOpen() const { return FFile != nullptr; }

  // Reads the next line without its line end. At the end of the file it
  // raises EInOutError 100.
  void ReadLn(std::string& line);
  std::string ReadLn();
  // Skips the rest of the current line (ReadLn without a variable).
  void SkipLn();
  // True when nothing is left to read.
  bool Eof();
  // True at a line end or at the end of the file.
  bool Eoln();

  void Write(const std::string& text);
  void WriteLn(const std::string& text = std::string());
  // Writes buffered text to the system.
  void Flush();

private:
  enum TMode { fmClosed, fmInput, fmOutput };
  void Open(const char* mode, TMode target);
  void CheckInput();
  void CheckOutput();
  [[noreturn]] void Fail(int code, int sysErr = 0) const;

  std::string FFileName;
  std::FILE* FFile = nullptr;
  TMode FMode = fmClosed;
};

// The class library's number for an errno value from opening a file.
int InOutErrorCode(int sysErr);

// A file that is not one to read whole: not a regular file, or too large.
ZV_DECLARE_EXCEPTION(EFileKind, EInOutError)

// Largest file ReadFileText reads.
constexpr std::uint64_t MaxReadFileSize = std::uint64_t{1} << 31;
// Largest files of each kind the readers take, far above any real one; a
// larger file is refused before it is read, with a message naming the limit.
constexpr std::uint64_t MaxInputFileSize = std::uint64_t{16} << 20;     // engine input files
constexpr std::uint64_t MaxImportFileSize = std::uint64_t{64} << 20;    // other programs' input and structure files
constexpr std::uint64_t MaxDataFileSize = std::uint64_t{256} << 20;     // observed data files
constexpr std::uint64_t MaxMacroFileSize = std::uint64_t{16} << 20;     // macro sources
constexpr std::uint64_t MaxTextFileSize = std::uint64_t{64} << 20;      // texts shown in an editor
constexpr std::uint64_t MaxSettingsFileSize = std::uint64_t{16} << 20;  // settings stores and INI files
constexpr std::uint64_t MaxCsvFileSize = std::uint64_t{128} << 20;      // delimited text for the grid
constexpr std::uint64_t MaxWorkbookFileSize = std::uint64_t{64} << 20;  // spreadsheet workbooks
constexpr std::uint64_t MaxPictureFileSize = std::uint64_t{64} << 20;   // picture files

// A size as the messages give it: "16 MB", "2.1 GB", "900 bytes".
std::string SizeText(std::uint64_t bytes);

// Raises EFileKind unless fileName names a regular file (also through a
// link): "Cannot read <name>: it is a folder." or "...: it is not a regular
// file." (a pipe, a device, a socket); a missing file raises EInOutError 2 or
// 3. Looks without opening, so it never blocks.
void CheckRegularFile(const std::string& fileName);
// Raises EFileKind when the regular file fileName is larger than maxSize:
// "Cannot read <name>: it holds 2.1 GB, more than the 16 MB <kind> may have."
void CheckFileSize(const std::string& fileName, std::uint64_t maxSize, const std::string& kind);

// Whole-file helpers: read (binary, as stored) and write (replacing through
// the atomic save, WriteFileAtomic). They raise EInOutError. Only regular
// files are read (a folder, a pipe or a device is refused at once, without
// blocking), and only when their size is at most maxSize (both raise
// EFileKind; kind, "an input file", names what the limit is for); the bytes
// the file had when it was opened are read.
std::string ReadRegularFile(const std::string& fileName, std::uint64_t maxSize, const std::string& kind = "");
std::string ReadFileText(const std::string& fileName);
void WriteFileText(const std::string& fileName, const std::string& text);
