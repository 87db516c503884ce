// INI files: the abstract TCustomIniFile, the plain text TIniFile and the
// in-memory TMemIniFile. The registry-backed variant is in registry.h.
//
// File form: "[Section]" lines and "Key=Value" lines. Section and key names
// compare ignoring ASCII case and keep the spelling first written; blanks
// around names and values are dropped. Comment lines (';' or '#'), blank lines
// and any line that is neither a section nor a key stay where they are when
// the file is written back. CR LF and lone CR line ends read like LF; the file
// is written with LF. A missing file reads as empty.
//
// TIniFile writes every change to the file at once (atomically: a temporary
// file is renamed over it), TMemIniFile only on UpdateFile. Writing a file that
// cannot be created raises EIniFileException "Unable to write to <file>" and
// keeps the values in memory; so does writing a file that exists but could
// not be read, which is left as it is.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"

class TStrings;

class TCustomIniFile {
public:
  explicit TCustomIniFile(std::string fileName) : FFileName(std::move(fileName)) {}
  virtual ~TCustomIniFile() = default;
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  const std::string& FileName() const { return FFileName; }

  virtual std::string ReadString(const std::string& section, const std::string& ident,
                                 const std::string& defaultValue) = 0;
  virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value) = 0;
  // The text as a decimal or "$"/"0x" hexadecimal integer; the default when
  // missing or not a number.
  virtual int ReadInteger(const std::string& section, const std::string& ident, int defaultValue);
  virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
  // "0" is false, any other integer true; the default when missing or not a number.
  virtual bool ReadBool(const std::string& section, const std::string& ident, bool defaultValue);
  virtual void WriteBool(const std::string& section, const std::string& ident, bool value);
  // Written with "." and 15 significant digits; read with "." (a "," is
  // accepted too); the default when missing or not a number.
  virtual double ReadFloat(const std::string& section, const std::string& ident, double defaultValue);
  virtual void WriteFloat(const std::string& section, const std::string& ident, double value);

  // Key names of a section (appended to the list after clearing it).
  virtual void ReadSection(const std::string& section, TStrings& strings) = 0;
  virtual void ReadSections(TStrings& strings) = 0;
  // "key=value" lines of a section.
  virtual void ReadSectionValues(const std::string& section, TStrings& strings) = 0;
  virtual void EraseSection(const std::string& section) = 0;
  virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
  virtual void UpdateFile() = 0;

  virtual bool SectionExists(const std::string& section);
  virtual bool ValueExists(const std::string& section, const std::string& ident);

  // The same lists as plain vectors.
  std::vector<std::string> SectionNames();
  std::vector<std::string> KeyNames(const std::string& section);

private:
  std::string FFileName;
};

class TIniData;  // the parsed lines of one file

// An INI file held in memory; changes reach the file on UpdateFile (never on
// destruction).
class TMemIniFile : public TCustomIniFile {
public:
  explicit TMemIniFile(const std::string& fileName);
  ~TMemIniFile() override;

  std::string ReadString(const std::string& section, const std::string& ident,
                         const std::string& defaultValue) override;
  // A section name holding ']' or a line break, and an ident that is empty,
  // holds '=' or a line break or begins with ';', '#' or '[', raise
  // EIniFileException (they could not be read back); so does a value holding a
  // line break.
  void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
  void ReadSection(const std::string& section, TStrings& strings) override;
  void ReadSections(TStrings& strings) override;
  void ReadSectionValues(const std::string& section, TStrings& strings) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& ident) override;
  // Writes the whole file.
  void UpdateFile() override;
  // True when the section holds at least one key.
  bool SectionExists(const std::string& section) override;
  bool ValueExists(const std::string& section, const std::string& ident) override;

  // The whole file text as it would be written.
  std::string Text();
  // Replaces the contents by parsing text (nothing is written).
  void SetText(const std::string& text);
  void Clear();
  bool Modified() const { return FModified; }

protected:
  // Called before every access and after every change.
  virtual void BeforeAccess() {}
  virtual void AfterChange() { FModified = true; }
  // Reads the file. One that exists but cannot be read reads as empty and
  // is never written over (FUnreadable); one holding bytes that are not text
  // is copied to "<name>.bak" before it is first replaced. Each problem is
  // reported once on standard error.
  void Load();
  // Raises EIniFileException when the file could not be read.
  void CheckWritable() const;
  // Writes the whole text through the atomic save (see UpdateFile).
  void WriteWholeFile();
  static void ReportOnce(const std::string& message);

  std::unique_ptr<TIniData> FData;
  bool FModified = false;
  std::string FUnreadable;   // why the file could not be read; empty when it could
  std::string FDamagedText;  // the damaged file as read, until it is kept as .bak
};

// An INI file whose changes are written at once; it also notices when another
// program changed the file and reads it again before the next access. Each
// change is made, under a lock, on the file as it is then, so programs
// writing one file at once keep each other's keys. A change that cannot be
// written stays queued (one value per key) and is applied again with the next
// one.
class TIniFile : public TMemIniFile {
public:
  explicit TIniFile(const std::string& fileName);
  ~TIniFile() override;

  void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
  void EraseSection(const std::string& section) override;
  void DeleteKey(const std::string& section, const std::string& ident) override;
  // Writes the queued changes, or, with none, reads the file again.
  void UpdateFile() override;

protected:
  void BeforeAccess() override;
  void AfterChange() override;

private:
  struct TChange {
    enum TKind { Set, Delete, Erase, Replace } Kind;
    std::string Section, Ident, Value;  // Replace: the whole text in Value
  };
  void Commit(const TChange& change);
  void Apply(const TChange& change);
  void Queue(const TChange& change);
  void Reload();
  void Save();
  void Remember();

  std::vector<TChange> FPending;  // changes not yet written
  bool FApplying = false;
  bool FChanged = false;
  long long FStampSize = -1;
  long long FStampTime = 0;
  unsigned long long FStampIno = 0;
};
