// Where the interpreter takes a program's text from and where its messages
// go. TSBSource gathers the program lines before a compile (from a text
// control, a data-aware text control, a text file or a dataset field,
// preceded by the lines of an optional library file); TSBDebug holds the
// message panel and label and the watch lists the host attaches.
//
// The controls and the database are reached through small interfaces, so
// that the interpreter needs no window: the application connects its
// memos, panels and labels through adapters, and tests use the in-memory
// implementations below.
#pragma once

#include <map>
#include <string>
#include <vector>

// A multi-line text control (an edit box or a data-aware one).
class TSBTextSource {
public:
  virtual ~TSBTextSource() = default;
  virtual std::vector<std::string> GetLines() const = 0;
};

// Lines kept in memory.
class TSBStringsSource : public TSBTextSource {
public:
  TSBStringsSource() = default;
  explicit TSBStringsSource(const std::string& text) { SetText(text); }
  // Splits at LF, CR LF or a lone CR.
  void SetText(const std::string& text);
  std::vector<std::string> GetLines() const override { return Lines; }

  std::vector<std::string> Lines;
};

// The lines of a text file, read at every call; an unreadable file raises
// EFOpenError.
class TSBFileSource : public TSBTextSource {
public:
  explicit TSBFileSource(std::string fileName) : FileName(std::move(fileName)) {}
  std::vector<std::string> GetLines() const override;

  std::string FileName;
};

// A caption shown to the user (a panel or a label).
class TSBMessageSink {
public:
  virtual ~TSBMessageSink() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
};

class TSBMessageText : public TSBMessageSink {
public:
  void SetCaption(const std::string& caption) override { FCaption = caption; }
  std::string Caption() const override { return FCaption; }

private:
  std::string FCaption;
};

// The current record of a dataset, whose fields hold program text or
// compiled code. A field the dataset does not have raises an Exception.
class TSBDataSource {
public:
  virtual ~TSBDataSource() = default;
  // False for a data source without a dataset.
  virtual bool HasDataSet() const = 0;
  virtual std::string ReadField(const std::string& field) const = 0;
  // Puts the dataset into edit mode, writes the field and posts the record.
  virtual void WriteField(const std::string& field, const std::string& data) = 0;
};

// A dataset record in memory.
class TSBMemoryDataSource : public TSBDataSource {
public:
  bool HasDataSet() const override { return DataSet; }
  std::string ReadField(const std::string& field) const override;
  void WriteField(const std::string& field, const std::string& data) override { Fields[field] = data; }

  bool DataSet = true;
  std::map<std::string, std::string> Fields;
};

// A watch list the host may attach; the interpreter writes nothing to it.
class TSBWatchList {
public:
  virtual ~TSBWatchList() = default;
};

// Splits text into lines at LF, CR LF or a lone CR (no empty last line for a
// final line break).
std::vector<std::string> SplitLines(const std::string& text);

class TSBSource {
public:
  // The program sources exclude each other; the library combines with all.
  TSBTextSource* Memo() const { return FMemo; }
  void SetMemo(TSBTextSource* memo);
  TSBTextSource* DBMemo() const { return FDBMemo; }
  void SetDBMemo(TSBTextSource* memo);
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& fileName);
  const std::string& DataField() const { return FDataField; }
  void SetDataField(const std::string& field);
  TSBDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TSBDataSource* source);
  const std::string& LibraryFile() const { return FLibraryFile; }
  void SetLibraryFile(const std::string& fileName) { FLibraryFile = fileName; }

  // Fills Lines (library lines first) and LibraryLines from the source that is
  // set: file name, then memo, then data-aware memo, then data field. With no
  // source set, the lines of the previous load stay. A file that cannot be
  // read raises, and the lines stay as they were.
  void LoadText();

  std::vector<std::string> Lines;
  int LibraryLines = 0;

private:
  TSBTextSource* FMemo = nullptr;
  TSBTextSource* FDBMemo = nullptr;
  std::string FFileName;
  std::string FDataField;
  std::string FLibraryFile;
  TSBDataSource* FDataSource = nullptr;
};

class TSBDebug {
public:
  TSBWatchList* WatchFunc = nullptr;
  TSBWatchList* WatchVar = nullptr;
  TSBWatchList* WatchConst = nullptr;
  TSBWatchList* WatchBuffer = nullptr;
  TSBWatchList* WatchCode = nullptr;
  TSBMessageSink* MessagePanel = nullptr;
  TSBMessageSink* MessageLabel = nullptr;
};
