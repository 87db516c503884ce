#include "platform/rtl/inifiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <unordered_set>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/textfile.h"

namespace {

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

std::string TrimBlanks(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

bool ParseInt(const std::string& text, int& value) {
  const std::string s = TrimBlanks(text);
  if (s.empty()) return false;
  size_t pos = 0;
  bool negative = false;
  if (s[pos] == '+' || s[pos] == '-') negative = s[pos++] == '-';
  int base = 10;
  if (pos < s.size() && s[pos] == '$') {
    base = 16;
    ++pos;
  } else if (pos + 1 < s.size() && s[pos] == '0' && (s[pos + 1] == 'x' || s[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= s.size()) return false;
  uint64_t magnitude = 0;
  auto [ptr, ec] = std::from_chars(s.data() + pos, s.data() + s.size(), magnitude, base);
  if (ec != std::errc() || ptr != s.data() + s.size()) return false;
  if (base == 16 && !negative && magnitude <= 0xFFFFFFFFull) {
    value = static_cast<int>(static_cast<uint32_t>(magnitude));  // "$FFFFFFFF" is -1
    return true;
  }
  if (negative ? magnitude > 2147483648ull : magnitude > 2147483647ull) return false;
  value = negative ? static_cast<int>(-static_cast<int64_t>(magnitude)) : static_cast<int>(magnitude);
  return true;
}

bool ParseFloat(const std::string& text, double& value) {
  std::string s = TrimBlanks(text);
  for (char& c : s)
    if (c == ',') c = '.';
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  if (s.empty()) return false;
  auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
  return ec == std::errc() && ptr == s.data() + s.size();
}

}  // namespace

// ---------------------------------------------------------------------------
// The parsed file: every line kept with its text, so that what we do not
// understand is written back as it was.

struct TIniLine {
  bool IsKey = false;
  std::string Raw;
  std::string Name;
  std::string Value;
};

struct TIniSection {
  std::string Name;
  std::string Header;  // the section line as written
  std::vector<TIniLine> Lines;
};

class TIniData {
public:
  std::vector<TIniLine> Preamble;  // lines before the first section
  std::vector<TIniSection> Sections;
  std::string LineBreak = "\n";
  bool Bom = false;

  void Parse(const std::string& input) {
    Preamble.clear();
    Sections.clear();
    LineBreak.assign(1, '\n');
    const std::string& text = input;
    Bom = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    bool breakSeen = false;
    size_t pos = Bom ? 3 : 0;
    while (pos < text.size()) {
      size_t end = text.find_first_of("\r\n", pos);
      std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
      if (end == std::string::npos) {
        pos = text.size();
      } else {
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        if (!breakSeen) {
          LineBreak = crlf ? "\r\n" : text.substr(end, 1);
          breakSeen = true;
        }
        pos = end + (crlf ? 2 : 1);
      }
      AddLine(line);
    }
  }

  void AddLine(const std::string& line) {
    const std::string t = TrimBlanks(line);
    if (!t.empty() && t[0] == '[') {
      const size_t close = t.find(']');
      if (close != std::string::npos) {
        TIniSection section;
        section.Name = TrimBlanks(t.substr(1, close - 1));
        section.Header = line;
        Sections.push_back(std::move(section));
        return;
      }
    }
    TIniLine entry;
    entry.Raw = line;
    const size_t eq = t.find('=');
    if (!Sections.empty() && !t.empty() && t[0] != ';' && t[0] != '#' && eq != std::string::npos) {
      entry.Name = TrimBlanks(t.substr(0, eq));
      entry.Value = TrimBlanks(t.substr(eq + 1));
      entry.IsKey = !entry.Name.empty();
    }
    (Sections.empty() ? Preamble : Sections.back().Lines).push_back(std::move(entry));
  }

  std::string Text() const {
    std::string out = Bom ? "\xEF\xBB\xBF" : "";
    for (const TIniLine& l : Preamble) out += l.Raw + LineBreak;
    for (const TIniSection& s : Sections) {
      out += s.Header + LineBreak;
      for (const TIniLine& l : s.Lines) out += l.Raw + LineBreak;
    }
    return out;
  }

  TIniSection* FindSection(const std::string& name) {
    for (TIniSection& s : Sections)
      if (SameName(s.Name, name)) return &s;
    return nullptr;
  }

  static TIniLine* FindKey(TIniSection& section, const std::string& ident) {
    for (TIniLine& l : section.Lines)
      if (l.IsKey && SameName(l.Name, ident)) return &l;
    return nullptr;
  }

  void Set(const std::string& sectionName, const std::string& ident, const std::string& value) {
    TIniSection* section = FindSection(sectionName);
    if (!section) {
      // A blank line between sections, as such files are usually laid out.
      const std::vector<TIniLine>& last = Sections.empty() ? Preamble : Sections.back().Lines;
      const bool fileEmpty = Sections.empty() && Preamble.empty();
      if (!fileEmpty && (last.empty() ? !Sections.empty() : !TrimBlanks(last.back().Raw).empty())) {
        (Sections.empty() ? Preamble : Sections.back().Lines).push_back(TIniLine());
      }
      TIniSection added;
      added.Name = TrimBlanks(sectionName);
      added.Header = "[" + added.Name + "]";
      Sections.push_back(std::move(added));
      section = &Sections.back();
    }
    if (TIniLine* line = FindKey(*section, ident)) {
      line->Value = value;
      line->Raw = line->Name + "=" + value;
      return;
    }
    TIniLine line;
    line.IsKey = true;
    line.Name = TrimBlanks(ident);
    line.Value = value;
    line.Raw = line.Name + "=" + value;
    // After the last key; in a section without keys before trailing blank lines.
    size_t at = section->Lines.size();
    size_t lastKey = SIZE_MAX;
    for (size_t i = 0; i < section->Lines.size(); ++i)
      if (section->Lines[i].IsKey) lastKey = i;
    if (lastKey != SIZE_MAX) {
      at = lastKey + 1;
    } else {
      while (at > 0 && TrimBlanks(section->Lines[at - 1].Raw).empty()) --at;
    }
    section->Lines.insert(section->Lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  }
};

// ---------------------------------------------------------------------------
// TCustomIniFile

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) {
  const std::string text = ReadString(section, ident, std::string());
  int value = 0;
  return ParseInt(text, value) ? value : defaultValue;
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  WriteString(section, ident, std::to_string(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& ident, double defaultValue) {
  const std::string text = ReadString(section, ident, std::string());
  double value = 0;
  return ParseFloat(text, value) ? value : defaultValue;
}

void TCustomIniFile::WriteFloat(const std::string& section, const std::string& ident, double value) {
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  WriteString(section, ident, ec == std::errc() ? std::string(buffer, ptr) : std::string("0"));
}

bool TCustomIniFile::SectionExists(const std::string& section) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) {
  TStringList keys;
  ReadSection(section, keys);
  return keys.IndexOf(ident) >= 0;
}

std::vector<std::string> TCustomIniFile::SectionNames() {
  TStringList list;
  ReadSections(list);
  return list.ToVector();
}

std::vector<std::string> TCustomIniFile::KeyNames(const std::string& section) {
  TStringList list;
  ReadSection(section, list);
  return list.ToVector();
}

// ---------------------------------------------------------------------------
// TMemIniFile

TMemIniFile::TMemIniFile(const std::string& fileName) : TCustomIniFile(fileName), FData(new TIniData) { Load(); }

TMemIniFile::~TMemIniFile() = default;

void TMemIniFile::Load() {
  std::string text;
  FUnreadable.clear();
  FDamagedText.clear();
  if (FileExists(FileName())) {
    try {
      text = ReadRegularFile(FileName(), MaxSettingsFileSize, "a settings file");
    } catch (const EInOutError& e) {
      // Read as empty, but never written over: that would lose every setting.
      text.clear();
      FUnreadable = e.Message();
      ReportOnce(FileName() + " cannot be read (" + FUnreadable + "); it is left as it is");
    }
    if (text.find('\0') != std::string::npos) {
      // The lines that hold such bytes are dropped; the .bak copy keeps them.
      // Lines end where the parser ends them (CR, LF or CR LF): a good line
      // before a lone CR stays.
      FDamagedText = text;
      ReportOnce(FileName() + " is damaged (it holds bytes that are not text)");
      std::string clean;
      for (size_t pos = 0; pos < text.size();) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos) end = text.size();
        else end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        if (std::memchr(text.data() + pos, 0, end - pos) == nullptr) clean.append(text, pos, end - pos);
        pos = end;
      }
      text.swap(clean);
    }
  }
  FData->Parse(text);
  FModified = false;
}

void TMemIniFile::ReportOnce(const std::string& message) {
  static std::mutex lock;
  static std::set<std::string>* reported = new std::set<std::string>;
  std::lock_guard<std::mutex> guard(lock);
  if (reported->insert(message).second) std::fprintf(stderr, "[inifile] %s\n", message.c_str());
}

void TMemIniFile::CheckWritable() const {
  if (!FUnreadable.empty())
    throw EIniFileException("Unable to write to " + FileName() + ": the file exists but could not be read (" +
                            FUnreadable + "); it was left as it is");
}

void TMemIniFile::WriteWholeFile() {
  CheckWritable();
  try {
    if (!FDamagedText.empty()) {
      // What was damaged is kept beside the file before the file is replaced.
      WriteFileAtomic(FileName() + ".bak", FDamagedText);
      FDamagedText.clear();
      ReportOnce(FileName() + " was damaged: a copy of it was kept as " + FileName() + ".bak");
    }
    WriteFileAtomic(FileName(), FData->Text());
  } catch (const EInOutError& e) {
    throw EIniFileException("Unable to write to " + FileName() + " (" + e.Message() + ")");
  }
  FModified = false;
}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& defaultValue) {
  BeforeAccess();
  TIniSection* s = FData->FindSection(section);
  TIniLine* line = s ? TIniData::FindKey(*s, ident) : nullptr;
  return line ? line->Value : defaultValue;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  if (HasLineBreak(section) || section.find(']') != std::string::npos)
    throw EIniFileException("Invalid INI section name '" + section + "' in " + FileName());
  const std::string name = TrimBlanks(ident);
  if (name.empty() || HasLineBreak(name) || name.find('=') != std::string::npos || name[0] == ';' ||
      name[0] == '#' || name[0] == '[')
    throw EIniFileException("Invalid INI key name '" + ident + "' in " + FileName());
  if (HasLineBreak(value))
    throw EIniFileException("Line breaks cannot be stored in INI value '" + ident + "' of " + FileName());
  BeforeAccess();
  const std::string trimmed = TrimBlanks(value);
  TIniSection* s = FData->FindSection(section);
  TIniLine* line = s ? TIniData::FindKey(*s, ident) : nullptr;
  if (line && line->Value == trimmed) return;
  FData->Set(section, name, trimmed);
  AfterChange();
}

void TMemIniFile::ReadSection(const std::string& section, TStrings& strings) {
  BeforeAccess();
  strings.BeginUpdate();
  strings.Clear();
  if (TIniSection* s = FData->FindSection(section))
    for (const TIniLine& l : s->Lines)
      if (l.IsKey) strings.Add(l.Name);
  strings.EndUpdate();
}

void TMemIniFile::ReadSections(TStrings& strings) {
  BeforeAccess();
  strings.BeginUpdate();
  strings.Clear();
  // By folded name: a file of very many sections must not take quadratic time.
  std::unordered_set<std::string> seen;
  for (const TIniSection& s : FData->Sections) {
    std::string folded = s.Name;
    for (char& c : folded) c = Fold(c);
    if (seen.insert(std::move(folded)).second) strings.Add(s.Name);
  }
  strings.EndUpdate();
}

void TMemIniFile::ReadSectionValues(const std::string& section, TStrings& strings) {
  BeforeAccess();
  strings.BeginUpdate();
  strings.Clear();
  if (TIniSection* s = FData->FindSection(section))
    for (const TIniLine& l : s->Lines)
      if (l.IsKey) strings.Add(l.Name + "=" + l.Value);
  strings.EndUpdate();
}

void TMemIniFile::EraseSection(const std::string& section) {
  BeforeAccess();
  auto& sections = FData->Sections;
  const size_t before = sections.size();
  sections.erase(std::remove_if(sections.begin(), sections.end(),
                                [&](const TIniSection& s) { return SameName(s.Name, section); }),
                 sections.end());
  if (sections.size() != before) AfterChange();
}

void TMemIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  BeforeAccess();
  bool changed = false;
  for (TIniSection& s : FData->Sections) {
    if (!SameName(s.Name, section)) continue;
    const size_t before = s.Lines.size();
    s.Lines.erase(std::remove_if(s.Lines.begin(), s.Lines.end(),
                                 [&](const TIniLine& l) { return l.IsKey && SameName(l.Name, ident); }),
                  s.Lines.end());
    changed = changed || s.Lines.size() != before;
  }
  if (changed) AfterChange();
}

void TMemIniFile::UpdateFile() { WriteWholeFile(); }

bool TMemIniFile::SectionExists(const std::string& section) {
  BeforeAccess();
  if (TIniSection* s = FData->FindSection(section))
    for (const TIniLine& l : s->Lines)
      if (l.IsKey) return true;
  return false;
}

bool TMemIniFile::ValueExists(const std::string& section, const std::string& ident) {
  BeforeAccess();
  TIniSection* s = FData->FindSection(section);
  return s && TIniData::FindKey(*s, ident);
}

std::string TMemIniFile::Text() {
  BeforeAccess();
  return FData->Text();
}

void TMemIniFile::SetText(const std::string& text) {
  FData->Parse(text);
  AfterChange();
}

void TMemIniFile::Clear() {
  FData->Parse(std::string());
  AfterChange();
}

// ---------------------------------------------------------------------------
// TIniFile
//
// Every change is made under the folder's lock on the file as it is now:
// the file is read again, this object's unwritten changes and the new one are
// applied on top, and the result replaces the file. Programs writing one file
// at once so keep each other's keys.

TIniFile::TIniFile(const std::string& fileName) : TMemIniFile(fileName) { Remember(); }

TIniFile::~TIniFile() = default;

void TIniFile::Remember() {
  struct stat st;
  if (::stat(FileName().c_str(), &st) == 0) {
    FStampSize = static_cast<long long>(st.st_size);
    FStampTime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    FStampIno = static_cast<unsigned long long>(st.st_ino);
  } else {
    FStampSize = -1;
    FStampTime = 0;
    FStampIno = 0;
  }
}

void TIniFile::BeforeAccess() {
  if (FApplying) return;
  struct stat st;
  const bool exists = ::stat(FileName().c_str(), &st) == 0;
  const bool same = exists ? (FStampSize == static_cast<long long>(st.st_size) &&
                              FStampTime == static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL +
                                                st.st_mtim.tv_nsec &&
                              FStampIno == static_cast<unsigned long long>(st.st_ino))
                           : FStampSize < 0;
  if (same) return;
  Reload();  // an unwritten change stays on top until it can be written
  Remember();
}

void TIniFile::Reload() {
  FApplying = true;
  try {
    Load();
    for (const TChange& c : FPending) Apply(c);
  } catch (...) {
    FApplying = false;
    throw;
  }
  FApplying = false;
  FModified = !FPending.empty();
}

void TIniFile::Apply(const TChange& c) {
  switch (c.Kind) {
    case TChange::Set: TMemIniFile::WriteString(c.Section, c.Ident, c.Value); break;
    case TChange::Delete: TMemIniFile::DeleteKey(c.Section, c.Ident); break;
    case TChange::Erase: TMemIniFile::EraseSection(c.Section); break;
    case TChange::Replace: TMemIniFile::SetText(c.Value); break;
  }
}

void TIniFile::Commit(const TChange& change) {
  TFolderLock lock(FileName());
  Reload();
  CheckWritable();
  FChanged = false;
  FApplying = true;
  try {
    Apply(change);
  } catch (...) {
    FApplying = false;
    throw;
  }
  FApplying = false;
  if (FChanged) Queue(change);
  if (!FPending.empty()) Save();
  Remember();
}

void TIniFile::Queue(const TChange& change) {
  if (change.Kind == TChange::Replace) FPending.clear();
  // A value set again replaces its queued change while nothing else came
  // between that could see the difference.
  if (change.Kind == TChange::Set)
    for (auto it = FPending.rbegin(); it != FPending.rend() && it->Kind == TChange::Set; ++it)
      if (SameName(it->Section, change.Section) && SameName(it->Ident, change.Ident)) {
        it->Value = change.Value;
        return;
      }
  FPending.push_back(change);
}

void TIniFile::Save() {
  FModified = true;
  WriteWholeFile();  // raises and keeps the queue when the file cannot be written
  FPending.clear();
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  Commit({TChange::Set, section, ident, value});
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  Commit({TChange::Delete, section, ident, std::string()});
}

void TIniFile::EraseSection(const std::string& section) {
  Commit({TChange::Erase, section, std::string(), std::string()});
}

void TIniFile::AfterChange() {
  FModified = true;
  if (FApplying) {
    FChanged = true;
    return;
  }
  // SetText and Clear: the whole file is replaced.
  const TChange replace{TChange::Replace, std::string(), std::string(), FData->Text()};
  Commit(replace);
}

void TIniFile::UpdateFile() {
  if (FPending.empty()) {
    Load();
    Remember();
    return;
  }
  TFolderLock lock(FileName());
  Reload();
  Save();
  Remember();
}
