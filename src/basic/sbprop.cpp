#include "basic/sbprop.h"

#include <sys/stat.h>

#include <cstdint>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/textfile.h"

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

namespace {

// A regular file only: a folder, a pipe or a device given as a source is
// refused at once instead of blocking or reading without end, and so is a
// file far beyond any macro written by hand. A missing file keeps the file
// stream's error.
std::vector<std::string> ReadFileLines(const std::string& fileName) {
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0) {
    CheckRegularFile(fileName);
    CheckFileSize(fileName, MaxMacroFileSize, "a macro");
  }
  TStringList list;
  list.LoadFromFile(fileName);
  std::vector<std::string> lines;
  lines.reserve(list.Count());
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.Strings(i));
  return lines;
}

}  // namespace

void TSBStringsSource::SetText(const std::string& text) { Lines = SplitLines(text); }

std::vector<std::string> TSBFileSource::GetLines() const { return ReadFileLines(FileName); }

std::string TSBMemoryDataSource::ReadField(const std::string& field) const {
  const auto it = Fields.find(field);
  if (it == Fields.end()) throw Exception("Field '" + field + "' not found");
  return it->second;
}

void TSBSource::SetMemo(TSBTextSource* memo) {
  FMemo = memo;
  if (memo) {
    FDBMemo = nullptr;
    FFileName.clear();
    FDataField.clear();
    FDataSource = nullptr;
  }
}

void TSBSource::SetDBMemo(TSBTextSource* memo) {
  FDBMemo = memo;
  if (memo) {
    FMemo = nullptr;
    FFileName.clear();
    FDataField.clear();
    FDataSource = nullptr;
  }
}

void TSBSource::SetFileName(const std::string& fileName) {
  FFileName = fileName;
  if (!fileName.empty()) {
    FMemo = nullptr;
    FDBMemo = nullptr;
    FDataField.clear();
    FDataSource = nullptr;
  }
}

void TSBSource::SetDataField(const std::string& field) {
  FDataField = field;
  if (!field.empty()) {
    FFileName.clear();
    FMemo = nullptr;
    FDBMemo = nullptr;
  }
}

void TSBSource::SetDataSource(TSBDataSource* source) {
  FDataSource = source;
  if (source) {
    FFileName.clear();
    FMemo = nullptr;
    FDBMemo = nullptr;
  }
}

void TSBSource::LoadText() {
  const bool fromField = FDataSource && !FDataField.empty();
  if (FFileName.empty() && !FMemo && !FDBMemo && !fromField) return;
  std::vector<std::string> lines;
  int library = 0;
  if (!FLibraryFile.empty()) {
    lines = ReadFileLines(FLibraryFile);
    library = static_cast<int>(lines.size());
  }
  std::vector<std::string> program;
  if (!FFileName.empty())
    program = ReadFileLines(FFileName);
  else if (FMemo)
    program = FMemo->GetLines();
  else if (FDBMemo)
    program = FDBMemo->GetLines();
  else if (FDataSource->HasDataSet())
    program = SplitLines(FDataSource->ReadField(FDataField));
  lines.insert(lines.end(), program.begin(), program.end());
  Lines = std::move(lines);
  LibraryLines = library;
}
