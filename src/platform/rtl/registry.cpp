#include "platform/rtl/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/sysinfo.h"
#include "platform/rtl/textfile.h"

namespace {

// ---------------------------------------------------------------------------
// Names and paths

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Fold(a[i]) != Fold(b[i])) return false;
  return true;
}

bool LessName(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Fold(x) < Fold(y); });
}

using TKeyPath = std::vector<std::string>;

TKeyPath SplitPath(const std::string& path) {
  TKeyPath parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::string JoinPath(const TKeyPath& parts) {
  std::string path;
  for (const std::string& p : parts) {
    if (!path.empty()) path += '\\';
    path += p;
  }
  return path;
}

// ---------------------------------------------------------------------------
// The tree

struct TRegValue {
  std::string Name;
  TRegDataType Type = rdString;
  std::string Data;  // text, 4 bytes of integer, or binary bytes
};

struct TRegNode {
  std::string Name;
  std::vector<std::unique_ptr<TRegNode>> Keys;
  std::vector<TRegValue> Values;

  TRegNode* Child(const std::string& name) const {
    for (const auto& k : Keys)
      if (SameName(k->Name, name)) return k.get();
    return nullptr;
  }
  TRegNode* AddChild(const std::string& name) {
    if (TRegNode* existing = Child(name)) return existing;
    Keys.push_back(std::make_unique<TRegNode>());
    Keys.back()->Name = name;
    return Keys.back().get();
  }
  TRegValue* Value(const std::string& name) {
    for (TRegValue& v : Values)
      if (SameName(v.Name, name)) return &v;
    return nullptr;
  }
  std::unique_ptr<TRegNode> Clone() const {
    auto copy = std::make_unique<TRegNode>();
    copy->Name = Name;
    copy->Values = Values;
    for (const auto& k : Keys) copy->Keys.push_back(k->Clone());
    return copy;
  }
};

TRegNode* Find(TRegNode* root, const TKeyPath& path) {
  TRegNode* node = root;
  for (const std::string& part : path) {
    node = node->Child(part);
    if (!node) return nullptr;
  }
  return node;
}

TRegNode* Make(TRegNode* root, const TKeyPath& path) {
  TRegNode* node = root;
  for (const std::string& part : path) node = node->AddChild(part);
  return node;
}

// ---------------------------------------------------------------------------
// Changes made by this process, kept until they are written so that they can
// be applied again on top of what another process wrote meanwhile.

struct TRegOp {
  enum TKind { opCreateKey, opDeleteKey, opSetValue, opDeleteValue, opNone } Kind;  // opNone: replaced by a later change
  TKeyPath Path;
  TRegValue Value;  // opSetValue: the value; opDeleteValue: its name
};

void Apply(TRegNode* root, const TRegOp& op) {
  switch (op.Kind) {
    case TRegOp::opCreateKey: Make(root, op.Path); break;
    case TRegOp::opDeleteKey: {
      if (op.Path.empty()) break;
      TKeyPath parentPath(op.Path.begin(), op.Path.end() - 1);
      if (TRegNode* parent = Find(root, parentPath)) {
        auto& keys = parent->Keys;
        keys.erase(std::remove_if(keys.begin(), keys.end(),
                                  [&](const std::unique_ptr<TRegNode>& k) { return SameName(k->Name, op.Path.back()); }),
                   keys.end());
      }
      break;
    }
    case TRegOp::opSetValue: {
      TRegNode* node = Make(root, op.Path);
      if (TRegValue* v = node->Value(op.Value.Name)) {
        v->Type = op.Value.Type;
        v->Data = op.Value.Data;
      } else {
        node->Values.push_back(op.Value);
      }
      break;
    }
    case TRegOp::opDeleteValue: {
      if (TRegNode* node = Find(root, op.Path)) {
        auto& values = node->Values;
        values.erase(std::remove_if(values.begin(), values.end(),
                                    [&](const TRegValue& v) { return SameName(v.Name, op.Value.Name); }),
                     values.end());
      }
      break;
    }
    case TRegOp::opNone: break;
  }
}

// ---------------------------------------------------------------------------
// File form
//
//   ; comment
//   [Software\Zelvora\Configuration]
//   "IDSZ"=int:10000
//   "Title"=str:"text"
//   "Path"=exp:"text"
//   "Blob"=bin:0a1bff
//
// Inside brackets and quotes the bytes '%', '"', '[', ']', control characters
// and DEL are written as %XX; everything else (UTF-8 included) as it is.

const char* const kHeader = "; Zelvora settings store, version 1";

std::string Escape(const std::string& s) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  out.reserve(s.size());
  for (unsigned char c : s) {
    if (c < 0x20 || c == 0x7F || c == '%' || c == '"' || c == '[' || c == ']') {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Unescape(std::string_view s, std::string& out) {
  out.clear();
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '"') return false;
    if (s[i] != '%') {
      out += s[i];
      continue;
    }
    if (i + 2 >= s.size()) return false;
    const int hi = HexDigit(s[i + 1]), lo = HexDigit(s[i + 2]);
    if (hi < 0 || lo < 0) return false;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

// A quoted text at the start of s; its end is after the closing quote.
bool ParseQuoted(std::string_view s, size_t& end, std::string& out) {
  if (s.empty() || s[0] != '"') return false;
  const size_t close = s.find('"', 1);
  if (close == std::string_view::npos) return false;
  end = close + 1;
  return Unescape(s.substr(1, close - 1), out);
}

std::string IntData(int32_t value) {
  const uint32_t u = static_cast<uint32_t>(value);
  std::string data(4, '\0');
  for (int i = 0; i < 4; ++i) data[static_cast<size_t>(i)] = static_cast<char>((u >> (8 * i)) & 0xFF);
  return data;
}

int32_t DataInt(const std::string& data) {
  uint32_t u = 0;
  for (size_t i = 0; i < 4 && i < data.size(); ++i) u |= static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  return static_cast<int32_t>(u);
}

std::string DoubleData(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  std::string data(8, '\0');
  for (int i = 0; i < 8; ++i) data[static_cast<size_t>(i)] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return data;
}

double DataDouble(const std::string& data) {
  uint64_t bits = 0;
  for (size_t i = 0; i < 8 && i < data.size(); ++i)
    bits |= static_cast<uint64_t>(static_cast<unsigned char>(data[i])) << (8 * i);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void WriteNode(const TRegNode& node, TKeyPath& path, std::string& out, bool isRoot) {
  if (!isRoot || !node.Values.empty()) {
    out += '[';
    out += Escape(JoinPath(path));
    out += "]\n";
  }
  static const char* hex = "0123456789abcdef";
  for (const TRegValue& v : node.Values) {
    out += '"';
    out += Escape(v.Name);
    out += "\"=";
    switch (v.Type) {
      case rdInteger: out += "int:" + std::to_string(DataInt(v.Data)); break;
      case rdString: out += "str:\"" + Escape(v.Data) + "\""; break;
      case rdExpandString: out += "exp:\"" + Escape(v.Data) + "\""; break;
      default:
        out += "bin:";
        for (unsigned char c : v.Data) {
          out += hex[c >> 4];
          out += hex[c & 15];
        }
        break;
    }
    out += '\n';
  }
  std::vector<const TRegNode*> keys;
  for (const auto& k : node.Keys) keys.push_back(k.get());
  std::sort(keys.begin(), keys.end(), [](const TRegNode* a, const TRegNode* b) { return LessName(a->Name, b->Name); });
  for (const TRegNode* k : keys) {
    path.push_back(k->Name);
    WriteNode(*k, path, out, false);
    path.pop_back();
  }
}

std::string Serialize(const TRegNode& root) {
  std::string out = std::string(kHeader) + "\n";
  TKeyPath path;
  WriteNode(root, path, out, true);
  return out;
}

bool ParseValueLine(std::string_view line, TRegValue& value) {
  size_t end = 0;
  if (!ParseQuoted(line, end, value.Name)) return false;
  std::string_view rest = line.substr(end);
  if (rest.size() < 5 || rest[0] != '=' || rest[4] != ':') return false;
  const std::string_view tag = rest.substr(1, 3);
  const std::string_view data = rest.substr(5);
  if (tag == "int") {
    int32_t n = 0;
    auto [ptr, ec] = std::from_chars(data.data(), data.data() + data.size(), n);
    if (ec != std::errc() || ptr != data.data() + data.size()) return false;
    value.Type = rdInteger;
    value.Data = IntData(n);
    return true;
  }
  if (tag == "str" || tag == "exp") {
    size_t quotedEnd = 0;
    if (!ParseQuoted(data, quotedEnd, value.Data) || quotedEnd != data.size()) return false;
    value.Type = tag == "str" ? rdString : rdExpandString;
    return true;
  }
  if (tag == "bin") {
    if (data.size() % 2 != 0) return false;
    value.Data.clear();
    for (size_t i = 0; i < data.size(); i += 2) {
      const int hi = HexDigit(data[i]), lo = HexDigit(data[i + 1]);
      if (hi < 0 || lo < 0) return false;
      value.Data += static_cast<char>(hi * 16 + lo);
    }
    value.Type = rdBinary;
    return true;
  }
  return false;
}

// Keys nest no deeper than this; a deeper key line is damage, for the tree
// is walked recursively (written, copied and freed).
constexpr size_t kMaxKeyDepth = 512;

std::string Folded(const std::string& name) {
  std::string f = name;
  for (char& c : f) c = Fold(c);
  return f;
}

// Lookups by folded name while a file is read, so that a file with very
// many keys or values in one key reads in linear time.
class TParseIndex {
public:
  TRegNode* Make(TRegNode* root, const TKeyPath& path) {
    TRegNode* node = root;
    for (const std::string& part : path) {
      auto& children = FKeys[node];
      auto [it, added] = children.emplace(Folded(part), nullptr);
      if (added) {
        node->Keys.push_back(std::make_unique<TRegNode>());
        node->Keys.back()->Name = part;
        it->second = node->Keys.back().get();
      }
      node = it->second;
    }
    return node;
  }
  void SetValue(TRegNode* node, TRegValue&& value) {
    auto [it, added] = FValues[node].emplace(Folded(value.Name), node->Values.size());
    if (added) {
      node->Values.push_back(std::move(value));
    } else {
      TRegValue& v = node->Values[it->second];
      v.Type = value.Type;
      v.Data = std::move(value.Data);
    }
  }

private:
  std::unordered_map<const TRegNode*, std::unordered_map<std::string, TRegNode*>> FKeys;
  std::unordered_map<const TRegNode*, std::unordered_map<std::string, size_t>> FValues;
};

// Reads as much of the text as is valid into an empty root; returns the
// number of lines dropped.
int Parse(const std::string& text, TRegNode& root) {
  int damaged = 0;
  TParseIndex index;
  TRegNode* current = &root;  // values before any key line belong to the root
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) eol = text.size();
    std::string_view line(text.data() + pos, eol - pos);
    pos = eol + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      std::string path;
      TKeyPath parts;
      if (line.size() < 2 || line.back() != ']' || !Unescape(line.substr(1, line.size() - 2), path) ||
          (parts = SplitPath(path)).size() > kMaxKeyDepth) {
        ++damaged;
        current = nullptr;  // the values that follow have no known key
        continue;
      }
      current = index.Make(&root, parts);
      continue;
    }
    TRegValue value;
    if (!current || !ParseValueLine(line, value)) {
      ++damaged;
      continue;
    }
    index.SetValue(current, std::move(value));
  }
  return damaged;
}

// ---------------------------------------------------------------------------
// One root key's store: the tree as last read plus this process's changes.

// Batches open (TRegistryBatch); guarded by the state's lock.
int& BatchDepth() {
  static int depth = 0;
  return depth;
}

struct TFileStamp {
  bool Exists = false;
  dev_t Dev = 0;
  ino_t Ino = 0;
  off_t Size = 0;
  struct timespec MTime = {};
  bool operator==(const TFileStamp& o) const {
    return Exists == o.Exists && Dev == o.Dev && Ino == o.Ino && Size == o.Size && MTime.tv_sec == o.MTime.tv_sec &&
           MTime.tv_nsec == o.MTime.tv_nsec;
  }
};

TFileStamp StampOf(const std::string& fileName) {
  TFileStamp stamp;
  struct stat st;
  if (::stat(fileName.c_str(), &st) == 0) {
    stamp.Exists = true;
    stamp.Dev = st.st_dev;
    stamp.Ino = st.st_ino;
    stamp.Size = st.st_size;
    stamp.MTime = st.st_mtim;
  }
  return stamp;
}

// The changes of this process not yet written, in order. A value changed
// again replaces its queued change (a writer that cannot write, the disk
// being full, keeps one value per name, not every value it was given).
class TRegJournal {
public:
  bool Empty() const { return FOps.size() == FDropped; }
  void Clear() {
    FOps.clear();
    FEpochs.clear();
    FLatest.clear();
    FCreated.clear();
    FDropped = 0;
    FEpoch = 0;
  }
  void ApplyTo(TRegNode* root) const {
    for (const TRegOp& op : FOps)
      if (op.Kind != TRegOp::opNone) Apply(root, op);
  }

  void Add(TRegOp op) {
    if (op.Kind == TRegOp::opSetValue || op.Kind == TRegOp::opDeleteValue) {
      const std::string key = Folded(JoinPath(op.Path)) + '\\' + '\0' + Folded(op.Value.Name);
      auto it = FLatest.find(key);
      if (it != FLatest.end()) {
        TRegOp& old = FOps[it->second];
        if (old.Kind == TRegOp::opSetValue) {
          // The value goes, the key it made stays: a set value makes its key.
          if (op.Kind == TRegOp::opSetValue) op.Value.Name = old.Value.Name;  // the first spelling
          old.Kind = TRegOp::opCreateKey;
          Release(old.Value);
          if (!NoteCreated(it->second)) Drop(it->second);
        } else {
          Drop(it->second);
        }
      }
      FLatest[key] = FOps.size();
    }
    if (op.Kind == TRegOp::opDeleteKey) ++FEpoch;
    FOps.push_back(std::move(op));
    FEpochs.push_back(FEpoch);
    if (FOps.back().Kind == TRegOp::opCreateKey && !NoteCreated(FOps.size() - 1)) Drop(FOps.size() - 1);
    if (FDropped > 64 && FDropped * 2 > FOps.size()) Compact();
  }

private:
  // False when an earlier creation of the same key, with no key deleted
  // since, makes the creation at index i redundant.
  bool NoteCreated(size_t i) {
    const std::string key = Folded(JoinPath(FOps[i].Path));
    auto [it, added] = FCreated.emplace(key, i);
    if (added) return true;
    const size_t j = it->second;
    if (j < i && FEpochs[j] == FEpochs[i] && FOps[j].Kind == TRegOp::opCreateKey) return false;
    if (j < i) it->second = i;
    return true;
  }
  void Drop(size_t i) {
    FOps[i].Kind = TRegOp::opNone;
    Release(FOps[i].Value);
    TKeyPath().swap(FOps[i].Path);
    ++FDropped;
  }
  // Frees the bytes (assigning an empty string would keep its buffer).
  static void Release(TRegValue& value) {
    std::string().swap(value.Name);
    std::string().swap(value.Data);
  }
  void Compact() {
    std::vector<TRegOp> ops;
    ops.swap(FOps);
    Clear();
    for (TRegOp& op : ops)
      if (op.Kind != TRegOp::opNone) Add(std::move(op));
  }

  std::vector<TRegOp> FOps;
  std::vector<size_t> FEpochs;  // keys deleted before each change
  std::unordered_map<std::string, size_t> FLatest;   // path and value name -> its latest change
  std::unordered_map<std::string, size_t> FCreated;  // path -> latest creation of the key
  size_t FDropped = 0;
  size_t FEpoch = 0;
};

class TRegStore {
public:
  // Temporary files of writers killed before their rename go at the open.
  explicit TRegStore(std::string fileName) : FFileName(std::move(fileName)) { RemoveStaleTempFiles(FFileName); }

  // The tree; with check, first read again when another program changed
  // the file since (one stat), except when it was checked already in the
  // batch under way. Values are read and written on the tree as the key's
  // open found it.
  TRegNode* Root(bool check = false) {
    if (!FRoot || (check && !FChecked)) Refresh();
    return FRoot.get();
  }
  // The next check looks at the file again.
  void Uncheck() { FChecked = false; }

  // False, changing nothing, while the file exists but cannot be read: a
  // write would replace the user's settings with only the new ones.
  bool Change(const TRegOp& op) {
    if (!FRoot) Refresh();
    if (!FUnreadable.empty()) return false;
    Apply(FRoot.get(), op);
    FJournal.Add(op);
    return true;
  }
  // Why the store refuses changes; empty when it takes them.
  const std::string& Problem() const { return FUnreadable; }

  bool Flush() {
    if (FJournal.Empty()) return true;
    const std::string folder = ExtractFilePath(FFileName);
    if (!ForceDirectories(folder)) {
      ReportOnce("cannot make the folder " + folder);
      return false;
    }
    const std::string lockName = FFileName + ".lock";
    const int lockFd = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd >= 0) {
      while (::flock(lockFd, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
    bool ok = true;
    try {
      Load();  // what other processes wrote, then our changes on top
      if (!FUnreadable.empty()) throw ERegistryException(FUnreadable);
      if (!FDamagedText.empty()) {
        // What could not be read is kept beside the store before it is dropped.
        WriteFileAtomic(FFileName + ".bak", FDamagedText);
        FDamagedText.clear();
        ReportOnce(FFileName + " was damaged: a copy of it was kept as " + FFileName + ".bak");
      }
      WriteFileAtomic(FFileName, Serialize(*FRoot));
      FStamp = StampOf(FFileName);
      FJournal.Clear();
    } catch (const Exception& e) {
      ReportOnce(e.Message());
      ok = false;
    }
    if (lockFd >= 0) ::close(lockFd);  // also releases the lock
    return ok;
  }

private:
  void Refresh() {
    FChecked = BatchDepth() > 0;
    if (FRoot && StampOf(FFileName) == FStamp) return;
    Load();
  }

  void Load() {
    auto root = std::make_unique<TRegNode>();
    const TFileStamp stamp = StampOf(FFileName);
    FUnreadable.clear();
    FDamagedText.clear();
    if (stamp.Exists) {
      std::string text;
      try {
        text = ReadRegularFile(FFileName, MaxSettingsFileSize, "a settings file");
      } catch (const Exception& e) {
        FUnreadable = "the settings file " + FFileName + " cannot be read (" + e.Message() +
                      "); it is left as it is and no setting is written to it";
        ReportOnce(FUnreadable);
      }
      const int damaged = Parse(text, *root);
      if (damaged > 0) {
        FDamagedText = std::move(text);
        if (!FDamageReported) {
          FDamageReported = true;
          std::fprintf(stderr, "[registry] %s: %d damaged line(s) ignored\n", FFileName.c_str(), damaged);
        }
      }
    }
    FJournal.ApplyTo(root.get());
    FRoot = std::move(root);
    FStamp = stamp;
  }

  void ReportOnce(const std::string& message) {
    if (message == FLastReport) return;
    FLastReport = message;
    std::fprintf(stderr, "[registry] %s\n", message.c_str());
  }

  std::string FFileName;
  std::unique_ptr<TRegNode> FRoot;
  TFileStamp FStamp;
  TRegJournal FJournal;
  bool FDamageReported = false;
  std::string FLastReport;
  std::string FUnreadable;   // why the file could not be read; empty when it could
  std::string FDamagedText;  // the file as read, while it has damaged lines
  bool FChecked = false;     // the file was looked at in the batch under way
};

struct TRegistryState {
  std::recursive_mutex Lock;
  std::map<std::string, std::unique_ptr<TRegStore>> Stores;  // by file name
};

void FlushAtExit();

TRegistryState& State() {
  // Never destroyed: registry objects may outlive static destruction order.
  static TRegistryState* state = [] {
    auto* s = new TRegistryState;
    std::atexit(FlushAtExit);
    return s;
  }();
  return *state;
}

void FlushAtExit() {
  TRegistryState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.Lock);
  for (auto& [name, store] : state.Stores) store->Flush();
}

std::string RootName(HKEY root) {
  switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    case HKEY_CURRENT_CONFIG: return "HKEY_CURRENT_CONFIG";
    default: return std::string();
  }
}

// The store of a root; nullptr for an unknown root. Call with the lock held.
TRegStore* StoreOf(HKEY root) {
  const std::string fileName = TRegistry::StoreFileName(root);
  if (fileName.empty()) return nullptr;
  auto& stores = State().Stores;
  auto it = stores.find(fileName);
  if (it == stores.end()) it = stores.emplace(fileName, std::make_unique<TRegStore>(fileName)).first;
  return it->second.get();
}

[[noreturn]] void RaiseGetFailed(const std::string& name) {
  throw ERegistryException("Failed to get data for '" + name + "'");
}
// With the reason when the store refuses changes (its file cannot be read).
[[noreturn]] void RaiseSetFailed(const std::string& name, const std::string& why = std::string()) {
  throw ERegistryException("Failed to set data for '" + name + "'" + (why.empty() ? "" : ": " + why));
}
[[noreturn]] void RaiseInvalidType(const std::string& name) {
  throw ERegistryException("Invalid data type for '" + name + "'");
}

}  // namespace

// ---------------------------------------------------------------------------
// TRegistry

std::string TRegistry::StoreFileName(HKEY root) {
  const std::string name = RootName(root);
  return name.empty() ? std::string() : ConfigFolder() + name + ".reg";
}

void TRegistry::FlushAll() { FlushAtExit(); }

TRegistryBatch::TRegistryBatch() {
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  if (BatchDepth()++ > 0) return;
  for (auto& [name, store] : State().Stores) store->Uncheck();
}

TRegistryBatch::~TRegistryBatch() {
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  if (--BatchDepth() > 0) return;
  for (auto& [name, store] : State().Stores) {
    store->Flush();
    store->Uncheck();
  }
}

TRegistry::TRegistry() = default;

TRegistry::TRegistry(unsigned access) : FAccess(access) {}

TRegistry::~TRegistry() { CloseKey(); }

void TRegistry::SetRootKey(HKEY root) {
  if (root == FRootKey) return;
  CloseKey();
  FRootKey = root;
}

bool TRegistry::ReadOnly() const { return FOpenReadOnly || (FAccess & KEY_SET_VALUE) == 0; }

void TRegistry::RestoreKey(const std::string& path, bool readOnly) {
  FCurrentPath = path;
  FOpen = true;
  FOpenReadOnly = readOnly;
}

std::string TRegistry::Resolve(const std::string& key) const {
  if (!key.empty() && key[0] == '\\') return JoinPath(SplitPath(key));
  if (!FOpen || FCurrentPath.empty()) return JoinPath(SplitPath(key));
  const TKeyPath rel = SplitPath(key);
  TKeyPath path = SplitPath(FCurrentPath);
  path.insert(path.end(), rel.begin(), rel.end());
  return JoinPath(path);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  const std::string path = Resolve(key);
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  if (!store) return false;
  const TKeyPath parts = SplitPath(path);
  if (!Find(store->Root(true), parts)) {
    if (!canCreate || (FAccess & KEY_CREATE_SUB_KEY) == 0) return false;
    if (!store->Change({TRegOp::opCreateKey, parts, {}})) return false;
  }
  FCurrentPath = path;
  FOpen = true;
  FOpenReadOnly = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  const std::string path = Resolve(key);
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  if (!store || !Find(store->Root(true), SplitPath(path))) return false;
  FCurrentPath = path;
  FOpen = true;
  FOpenReadOnly = true;
  return true;
}

void TRegistry::CloseKey() {
  {
    std::lock_guard<std::recursive_mutex> guard(State().Lock);
    // Inside a batch the changes wait for its end.
    if (BatchDepth() == 0)
      if (TRegStore* store = StoreOf(FRootKey)) store->Flush();
  }
  FOpen = false;
  FOpenReadOnly = false;
  FCurrentPath.clear();
}

bool TRegistry::CreateKey(const std::string& key) {
  if ((FAccess & KEY_CREATE_SUB_KEY) == 0) return false;
  const TKeyPath parts = SplitPath(Resolve(key));
  if (parts.empty()) return false;
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  if (!store) return false;
  return Find(store->Root(true), parts) || store->Change({TRegOp::opCreateKey, parts, {}});
}

bool TRegistry::DeleteKey(const std::string& key) {
  if (ReadOnly()) return false;
  const TKeyPath parts = SplitPath(Resolve(key));
  if (parts.empty()) return false;  // never the root itself
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  if (!store || !Find(store->Root(true), parts)) return false;
  return store->Change({TRegOp::opDeleteKey, parts, {}});
}

bool TRegistry::KeyExists(const std::string& key) {
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  return store && Find(store->Root(true), SplitPath(Resolve(key)));
}

void TRegistry::MoveKey(const std::string& oldName, const std::string& newName, bool deleteOld) {
  if (ReadOnly()) return;
  const TKeyPath from = SplitPath(Resolve(oldName)), to = SplitPath(Resolve(newName));
  if (from.empty() || to.empty()) return;
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  if (!store) return;
  TRegNode* source = Find(store->Root(true), from);
  if (!source || Find(store->Root(), to)) return;
  // Copy first: the target may lie below the source.
  std::unique_ptr<TRegNode> copy = source->Clone();
  std::vector<TRegOp> ops;
  auto collect = [&ops](auto&& self, const TRegNode& node, TKeyPath& path) -> void {
    ops.push_back({TRegOp::opCreateKey, path, {}});
    for (const TRegValue& v : node.Values) ops.push_back({TRegOp::opSetValue, path, v});
    for (const auto& k : node.Keys) {
      path.push_back(k->Name);
      self(self, *k, path);
      path.pop_back();
    }
  };
  TKeyPath target = to;
  collect(collect, *copy, target);
  if (deleteOld) ops.insert(ops.begin(), {TRegOp::opDeleteKey, from, {}});
  for (const TRegOp& op : ops) store->Change(op);
}

bool TRegistry::ValueExists(const std::string& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info);
}

bool TRegistry::DeleteValue(const std::string& name) {
  if (!FOpen || ReadOnly()) return false;
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  if (!store) return false;
  const TKeyPath path = SplitPath(FCurrentPath);
  TRegNode* node = Find(store->Root(), path);
  if (!node || !node->Value(name)) return false;
  TRegValue v;
  v.Name = name;
  return store->Change({TRegOp::opDeleteValue, path, v});
}

void TRegistry::RenameValue(const std::string& oldName, const std::string& newName) {
  if (!FOpen || ReadOnly()) return;
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  if (!store) return;
  const TKeyPath path = SplitPath(FCurrentPath);
  TRegNode* node = Find(store->Root(), path);
  if (!node) return;
  TRegValue* old = node->Value(oldName);
  if (!old || (node->Value(newName) && !SameName(oldName, newName))) return;
  TRegValue renamed = *old;
  renamed.Name = newName;
  TRegValue gone;
  gone.Name = oldName;
  if (store->Change({TRegOp::opDeleteValue, path, gone})) store->Change({TRegOp::opSetValue, path, renamed});
}

bool TRegistry::HasSubKeys() {
  TRegKeyInfo info;
  return GetKeyInfo(info) && info.NumSubKeys > 0;
}

bool TRegistry::GetKeyInfo(TRegKeyInfo& info) {
  info = TRegKeyInfo();
  if (!FOpen) return false;
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  TRegNode* node = store ? Find(store->Root(), SplitPath(FCurrentPath)) : nullptr;
  if (!node) return false;
  info.NumSubKeys = static_cast<int>(node->Keys.size());
  info.NumValues = static_cast<int>(node->Values.size());
  for (const auto& k : node->Keys) info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, static_cast<int>(k->Name.size()));
  for (const TRegValue& v : node->Values) {
    info.MaxValueLen = std::max(info.MaxValueLen, static_cast<int>(v.Name.size()));
    info.MaxDataLen = std::max(info.MaxDataLen, static_cast<int>(v.Data.size()) + (v.Type == rdInteger ? 0 : 1));
  }
  return true;
}

std::vector<std::string> TRegistry::GetKeyNames() {
  std::vector<std::string> names;
  if (!FOpen) return names;
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  TRegNode* node = store ? Find(store->Root(), SplitPath(FCurrentPath)) : nullptr;
  if (!node) return names;
  for (const auto& k : node->Keys) names.push_back(k->Name);
  std::sort(names.begin(), names.end(), LessName);
  return names;
}

std::vector<std::string> TRegistry::GetValueNames() {
  std::vector<std::string> names;
  if (!FOpen) return names;
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  TRegNode* node = store ? Find(store->Root(), SplitPath(FCurrentPath)) : nullptr;
  if (!node) return names;
  for (const TRegValue& v : node->Values) names.push_back(v.Name);
  return names;
}

void TRegistry::GetKeyNames(TStrings& strings) {
  const std::vector<std::string> names = GetKeyNames();
  strings.BeginUpdate();
  strings.Clear();
  for (const std::string& n : names) strings.Add(n);
  strings.EndUpdate();
}

void TRegistry::GetValueNames(TStrings& strings) {
  const std::vector<std::string> names = GetValueNames();
  strings.BeginUpdate();
  strings.Clear();
  for (const std::string& n : names) strings.Add(n);
  strings.EndUpdate();
}

bool TRegistry::GetDataInfo(const std::string& name, TRegDataInfo& info) {
  info = TRegDataInfo();
  if (!FOpen) return false;
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  TRegNode* node = store ? Find(store->Root(), SplitPath(FCurrentPath)) : nullptr;
  TRegValue* v = node ? node->Value(name) : nullptr;
  if (!v) return false;
  info.RegData = v->Type;
  info.DataSize = static_cast<int>(v->Data.size()) + (v->Type == rdString || v->Type == rdExpandString ? 1 : 0);
  return true;
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.RegData : rdUnknown;
}

int TRegistry::GetDataSize(const std::string& name) {
  TRegDataInfo info;
  return GetDataInfo(name, info) ? info.DataSize : -1;
}

void TRegistry::ReadData(const std::string& name, TRegDataType wanted, std::string& data, TRegDataType* type) {
  if (!FOpen) RaiseGetFailed(name);
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  TRegNode* node = store ? Find(store->Root(), SplitPath(FCurrentPath)) : nullptr;
  TRegValue* v = node ? node->Value(name) : nullptr;
  if (!v) RaiseGetFailed(name);
  const bool textWanted = wanted == rdString || wanted == rdExpandString;
  const bool textFound = v->Type == rdString || v->Type == rdExpandString;
  if (textWanted ? !textFound : v->Type != wanted) RaiseInvalidType(name);
  data = v->Data;
  if (type) *type = v->Type;
}

void TRegistry::WriteData(const std::string& name, TRegDataType type, const std::string& data) {
  if (!FOpen || ReadOnly()) RaiseSetFailed(name);
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  const TKeyPath path = SplitPath(FCurrentPath);
  // A key deleted since it was opened takes no values.
  if (!store || !Find(store->Root(), path)) RaiseSetFailed(name);
  TRegValue v;
  v.Name = name;
  v.Type = type;
  v.Data = data;
  if (!store->Change({TRegOp::opSetValue, path, v})) RaiseSetFailed(name, store->Problem());
}

std::string TRegistry::StoreProblem() const {
  std::lock_guard<std::recursive_mutex> guard(State().Lock);
  TRegStore* store = StoreOf(FRootKey);
  return store ? store->Problem() : std::string();
}

std::string TRegistry::ReadString(const std::string& name) {
  if (!ValueExists(name)) return std::string();
  std::string data;
  ReadData(name, rdString, data);
  return data;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) { WriteData(name, rdString, value); }

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  WriteData(name, rdExpandString, value);
}

int TRegistry::ReadInteger(const std::string& name) {
  std::string data;
  ReadData(name, rdInteger, data);
  return DataInt(data);
}

void TRegistry::WriteInteger(const std::string& name, int value) { WriteData(name, rdInteger, IntData(value)); }

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

double TRegistry::ReadFloat(const std::string& name) {
  std::string data;
  ReadData(name, rdBinary, data);
  if (data.size() != 8) RaiseInvalidType(name);
  return DataDouble(data);
}

void TRegistry::WriteFloat(const std::string& name, double value) { WriteData(name, rdBinary, DoubleData(value)); }

double TRegistry::ReadDateTime(const std::string& name) { return ReadFloat(name); }

void TRegistry::WriteDateTime(const std::string& name, double value) { WriteFloat(name, value); }

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufSize) {
  std::string data;
  ReadData(name, rdBinary, data);
  if (static_cast<size_t>(std::max(bufSize, 0)) < data.size()) RaiseGetFailed(name);
  if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
  return static_cast<int>(data.size());
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int bufSize) {
  std::string data;
  if (bufSize > 0 && buffer) data.assign(static_cast<const char*>(buffer), static_cast<size_t>(bufSize));
  WriteData(name, rdBinary, data);
}

// ---------------------------------------------------------------------------
// TRegIniFile

TRegIniFile::TRegIniFile(const std::string& fileName) : TRegIniFile(fileName, KEY_ALL_ACCESS) {}

TRegIniFile::TRegIniFile(const std::string& fileName, unsigned access) : TRegistry(access), FFileName(fileName) {
  if ((access & KEY_CREATE_SUB_KEY) != 0) OpenKey(fileName, true);
  else OpenKeyReadOnly(fileName);
}

template <class F>
bool TRegIniFile::InSection(const std::string& section, bool create, F&& body) {
  if (!HasCurrentKey()) return false;
  if (section.empty()) {
    body();
    return true;
  }
  // Remember the file's key and come back to it, whatever body does.
  struct TBack {
    TRegIniFile* Self;
    std::string Home;
    bool HomeReadOnly;
    ~TBack() { Self->RestoreKey(Home, HomeReadOnly); }
  } back{this, CurrentPath(), IsReadOnlyKey()};
  if (!OpenKey(section, create)) return false;
  body();
  return true;
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& defaultValue) {
  std::string result = defaultValue;
  InSection(section, false, [&] {
    if (ValueExists(ident)) result = TRegistry::ReadString(ident);
  });
  return result;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  if (!InSection(section, true, [&] { TRegistry::WriteString(ident, value); })) RaiseSetFailed(ident, StoreProblem());
}

int TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) {
  int result = defaultValue;
  InSection(section, false, [&] {
    if (!ValueExists(ident)) return;
    if (GetDataType(ident) == rdString) result = StrToIntDef(TRegistry::ReadString(ident), defaultValue);
    else result = TRegistry::ReadInteger(ident);
  });
  return result;
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  WriteString(section, ident, std::to_string(value));
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteInteger(section, ident, value ? 1 : 0);
}

void TRegIniFile::ReadSection(const std::string& section, TStrings& strings) {
  std::vector<std::string> names;
  InSection(section, false, [&] { names = GetValueNames(); });
  strings.BeginUpdate();
  strings.Clear();
  for (const std::string& n : names) strings.Add(n);
  strings.EndUpdate();
}

void TRegIniFile::ReadSections(TStrings& strings) { GetKeyNames(strings); }

void TRegIniFile::ReadSectionValues(const std::string& section, TStrings& strings) {
  std::vector<std::string> lines;
  InSection(section, false, [&] {
    for (const std::string& name : GetValueNames()) {
      std::string text;
      switch (GetDataType(name)) {
        case rdString:
        case rdExpandString: text = TRegistry::ReadString(name); break;
        case rdInteger: text = std::to_string(TRegistry::ReadInteger(name)); break;
        default: break;
      }
      lines.push_back(name + "=" + text);
    }
  });
  strings.BeginUpdate();
  strings.Clear();
  for (const std::string& l : lines) strings.Add(l);
  strings.EndUpdate();
}

void TRegIniFile::EraseSection(const std::string& section) { TRegistry::DeleteKey(section); }

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  InSection(section, false, [&] { DeleteValue(ident); });
}

// ---------------------------------------------------------------------------
// TRegistryIniFile

TRegistryIniFile::TRegistryIniFile(const std::string& fileName, unsigned access)
    : TCustomIniFile(fileName), FRegIniFile(fileName, access) {}

TRegistryIniFile::~TRegistryIniFile() = default;

std::string TRegistryIniFile::ReadString(const std::string& section, const std::string& ident,
                                         const std::string& defaultValue) {
  return FRegIniFile.ReadString(section, ident, defaultValue);
}

void TRegistryIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  FRegIniFile.WriteString(section, ident, value);
}

int TRegistryIniFile::ReadInteger(const std::string& section, const std::string& ident, int defaultValue) {
  return FRegIniFile.ReadInteger(section, ident, defaultValue);
}

void TRegistryIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
  TRegIniFile& reg = FRegIniFile;
  // A value stored as text stays text; otherwise a real integer is stored.
  const bool done = reg.InSection(section, true, [&] {
    if (reg.GetDataType(ident) == rdString) reg.TRegistry::WriteString(ident, std::to_string(value));
    else reg.TRegistry::WriteInteger(ident, value);
  });
  if (!done) RaiseSetFailed(ident, reg.StoreProblem());
}

bool TRegistryIniFile::ReadBool(const std::string& section, const std::string& ident, bool defaultValue) {
  return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TRegistryIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteInteger(section, ident, value ? 1 : 0);
}

void TRegistryIniFile::ReadSection(const std::string& section, TStrings& strings) {
  FRegIniFile.ReadSection(section, strings);
}

void TRegistryIniFile::ReadSections(TStrings& strings) { FRegIniFile.ReadSections(strings); }

void TRegistryIniFile::ReadSectionValues(const std::string& section, TStrings& strings) {
  FRegIniFile.ReadSectionValues(section, strings);
}

void TRegistryIniFile::EraseSection(const std::string& section) { FRegIniFile.EraseSection(section); }

void TRegistryIniFile::DeleteKey(const std::string& section, const std::string& ident) {
  FRegIniFile.DeleteKey(section, ident);
}

void TRegistryIniFile::UpdateFile() { TRegistry::FlushAll(); }

bool TRegistryIniFile::SectionExists(const std::string& section) { return FRegIniFile.KeyExists(section); }

bool TRegistryIniFile::ValueExists(const std::string& section, const std::string& ident) {
  bool exists = false;
  FRegIniFile.InSection(section, false, [&] { exists = FRegIniFile.TRegistry::ValueExists(ident); });
  return exists;
}
