// Mutation driver of the run-time layer's readers of text and settings.
//
// Targets and the rules each checks besides "only the layer's exceptions":
//   stringlist  SetText, CommaText and DelimitedText; what a list writes reads
//               back as the same list
//   stream      ReadShortString, ReadString and the typed reads at damaged
//               lengths, seeks and copies
//   datetime    StrToDate/StrToTime/StrToDateTime and the Try forms; formatting
//               of any date-time with any pattern; output stays bounded
//   format      Format with hostile format strings and any arguments,
//               FormatFloat with any pattern; output stays bounded
//   registry    the settings store file: everything read is written back
//               unchanged when a value is added
//   ini         INI text: reading what was written gives the same sections and
//               values, and adding a value keeps all others
// The settings targets work in a private folder (ZELVORA_CONFIG_HOME is set to
// a work folder), never in the user's configuration.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "fuzzdriver.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysinfo.h"
#include "platform/rtl/textfile.h"

namespace {

using fuzzdriver::ExpectLayerErrors;
using fuzzdriver::Fault;

// Reads small numbers off the front of an input.
class TBytes {
public:
  explicit TBytes(const std::string& s) : S(s) {}
  uint8_t Byte() { return P < S.size() ? static_cast<uint8_t>(S[P++]) : 0; }
  int64_t Int(int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(Byte()) << (8 * i);
    return static_cast<int64_t>(v);
  }
  double Double() {
    const uint64_t bits = static_cast<uint64_t>(Int(8));
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  std::string Rest() const { return P < S.size() ? S.substr(P) : std::string(); }
  bool AtEnd() const { return P >= S.size(); }

private:
  const std::string& S;
  std::size_t P = 0;
};

// ---- string lists

void RunStringList(const std::string& input) {
  TBytes b(input);
  const uint8_t mode = b.Byte();
  const std::string text = b.Rest();
  ExpectLayerErrors([&] {
    TStringList a, c;
    a.SetText(text);
    c.SetText(a.Text());
    if (!a.Equals(c)) Fault("SetText of Text gives another list");
    a.SetCommaText(text);
    c.SetCommaText(a.CommaText());
    if (!a.Equals(c)) Fault("CommaText does not read back");
    static const char delimiters[] = ",;|\t ";
    static const char quotes[] = "\"'`";
    const char d = delimiters[mode % 5], q = quotes[(mode / 5) % 3];
    const bool strict = (mode / 15) % 2 != 0;
    for (TStringList* l : {&a, &c}) {
      l->SetDelimiter(d);
      l->SetQuoteChar(q);
      l->SetStrictDelimiter(strict);
    }
    a.SetDelimitedText(text);
    c.SetDelimitedText(a.DelimitedText());
    // A blank delimiter without StrictDelimiter drops empty strings by design.
    const bool blankDelimiter = d == ' ' || d == '\t';
    if ((strict || !blankDelimiter) && !a.Equals(c)) Fault("DelimitedText does not read back");
    TStringStream s(text);
    s.SetPosition(mode % (text.size() + 1));
    a.LoadFromStream(s);
  });
}

// ---- streams

void RunStream(const std::string& input) {
  ExpectLayerErrors([&] {
    TBytes ops(input);
    TStringStream s(input);
    TMemoryStream m;
    m.WriteBuffer(input.data(), static_cast<int64_t>(input.size()));
    for (int step = 0; step < 64 && !ops.AtEnd(); ++step) {
      TStream& t = (step % 2) ? static_cast<TStream&>(m) : s;
      try {
        switch (ops.Byte() % 12) {
          case 0: t.ReadShortString(); break;
          case 1: t.ReadString(ops.Int(4)); break;
          case 2: t.ReadString(ops.Int(8)); break;
          case 3: t.Seek(ops.Int(8), static_cast<TSeekOrigin>(ops.Byte() % 3)); break;
          case 4: t.SetPosition(ops.Int(2)); break;
          case 5: t.ReadExtended(); break;
          case 6: t.ReadInteger(); break;
          case 7: {
            TMemoryStream copy;
            copy.CopyFrom(t, ops.Int(4));
            break;
          }
          case 8: {
            std::vector<char> buffer(64);
            t.Read(buffer.data(), std::min<int64_t>(ops.Int(1), 64));
            break;
          }
          case 9: t.ReadDouble(); break;
          case 10: {
            TStringList l;
            l.LoadFromStream(t);
            break;
          }
          default: t.SetSize(ops.Int(2)); break;
        }
      } catch (const EStreamError&) {
      }
    }
  });
}

// ---- dates and times

void RunDateTime(const std::string& input) {
  TBytes b(input);
  const uint8_t mode = b.Byte();
  const double value = b.Double();
  const std::string text = b.Rest();
  TFormatSettings fs;
  static const char* const orders[] = {"dd/mm/yyyy", "m/d/yy", "yyyy-mm-dd", "d.m.y", ""};
  fs.ShortDateFormat = orders[mode % 5];
  fs.DateSeparator = "/-. \0"[(mode / 5) % 5];
  fs.TimeSeparator = ":.\0"[(mode / 25) % 3];
  if (mode & 0x80) fs.TimeAMString.clear();
  ExpectLayerErrors([&] {
    TDateTime d = 0;
    using TParse = bool (*)(const std::string&, TDateTime&, const TFormatSettings&);
    for (TParse parse : {TParse(&TryStrToDate), TParse(&TryStrToTime), TParse(&TryStrToDateTime)}) {
      const bool ok = parse(text, d, fs);
      if (ok && !std::isfinite(d)) Fault("a parsed date-time is not finite");
    }
    try {
      StrToDateTime(text, fs);
    } catch (const EConvertError&) {
    }
    // Any value, any pattern.
    const std::string out = FormatDateTime(text, value, fs);
    if (out.size() > 256 * (text.size() + 1)) Fault("FormatDateTime output out of proportion");
    int y, m, dd, h, n, sec, ms;
    DecodeDate(value, y, m, dd);
    DecodeTime(value, h, n, sec, ms);
    try {
      IncMonth(value, static_cast<int>(static_cast<int8_t>(mode)));
    } catch (const EConvertError&) {
    }
    try {
      DateTimeToUnix(value);
    } catch (const EConvertError&) {
    }
  });
}

// ---- Format

void RunFormat(const std::string& input) {
  TBytes b(input);
  const uint8_t count = b.Byte() % 6;
  std::vector<TVarRec> args;
  std::size_t argText = 0;
  for (uint8_t i = 0; i < count; ++i) {
    switch (b.Byte() % 8) {
      case 0: args.emplace_back(static_cast<int>(b.Int(4))); break;
      case 1: args.emplace_back(static_cast<long long>(b.Int(8))); break;
      case 2: args.emplace_back(static_cast<unsigned long long>(b.Int(8))); break;
      case 3: args.emplace_back((b.Byte() & 1) != 0); break;
      case 4: args.emplace_back(static_cast<char>(b.Byte())); break;
      case 5: args.emplace_back(b.Double()); break;
      case 6: {
        std::string s(b.Byte() % 40, 'x');
        argText += s.size();
        args.emplace_back(std::move(s));
        break;
      }
      default: args.emplace_back(static_cast<const void*>(nullptr)); break;
    }
  }
  const double value = b.Double();
  const std::string fmt = b.Rest();
  ExpectLayerErrors([&] {
    try {
      const std::string out = Format(fmt, args);
      const std::size_t specs = static_cast<std::size_t>(std::count(fmt.begin(), fmt.end(), '%'));
      if (out.size() > fmt.size() + specs * (1000000 + argText + 400)) Fault("Format output out of proportion");
    } catch (const EConvertError&) {
    }
    const std::string f = FormatFloat(fmt, value);
    if (f.size() > 4 * fmt.size() + 400) Fault("FormatFloat output out of proportion");
    FloatToStrF(value, static_cast<TFloatFormat>(b.Byte() % 5), static_cast<int>(static_cast<int8_t>(b.Byte())),
                static_cast<int>(static_cast<int8_t>(b.Byte())));
  });
}

// ---- the registry store

using TRegDump = std::map<std::tuple<std::string, std::string>, std::tuple<int, std::string>>;

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

void DumpKey(TRegistry& r, const std::string& path, TRegDump& out, int depth) {
  if (depth > 600) Fault("the store holds keys deeper than it reads");
  if (!r.OpenKeyReadOnly("\\" + path)) Fault("a listed key does not open: " + path);
  for (const std::string& name : r.GetValueNames()) {
    std::string data;
    const TRegDataType type = r.GetDataType(name);
    switch (type) {
      case rdString:
      case rdExpandString: data = r.ReadString(name); break;
      case rdInteger: data = std::to_string(r.ReadInteger(name)); break;
      case rdBinary: {
        const int size = r.GetDataSize(name);
        data.resize(static_cast<std::size_t>(std::max(size, 0)));
        r.ReadBinaryData(name, data.data(), size);
        break;
      }
      default: Fault("a value of no type");
    }
    out[{Lower(path), Lower(name)}] = {type, data};
  }
  for (const std::string& key : r.GetKeyNames()) DumpKey(r, path.empty() ? key : path + "\\" + key, out, depth + 1);
}

void RunRegistry(const std::string& input) {
  const std::string file = TRegistry::StoreFileName(HKEY_CURRENT_USER);
  ExpectLayerErrors([&] {
    WriteFileAtomic(file, input);
    TRegDump before, after;
    {
      TRegistry r(KEY_READ);
      DumpKey(r, "", before, 0);
    }
    {
      TRegistry r;
      if (!r.OpenKey("\\Fuzz", true)) Fault("a key cannot be made");
      r.WriteString("v", "x");
      r.CloseKey();
    }
    // Read what was written, as another program would.
    WriteFileAtomic(file, ReadFileText(file));
    {
      TRegistry r(KEY_READ);
      DumpKey(r, "", after, 0);
    }
    const auto added = after.find({"fuzz", "v"});
    if (added == after.end() || std::get<1>(added->second) != "x") Fault("the value written is not in the store");
    after.erase(added);
    before.erase({"fuzz", "v"});
    if (before != after) Fault("writing a value changed other values of the store");
  });
}

// ---- INI files

using TIniDump = std::vector<std::pair<std::string, std::vector<std::string>>>;

TIniDump DumpIni(TMemIniFile& ini) {
  TIniDump dump;
  for (const std::string& section : ini.SectionNames()) {
    TStringList values;
    ini.ReadSectionValues(section, values);
    dump.emplace_back(Lower(section), values.ToVector());
  }
  return dump;
}

std::string gIniFile;

void RunIni(const std::string& input) {
  ExpectLayerErrors([&] {
    TMemIniFile ini(gIniFile + ".missing");
    ini.SetText(input);
    const TIniDump first = DumpIni(ini);
    const std::string text = ini.Text();
    ini.SetText(text);
    if (DumpIni(ini) != first) Fault("INI text does not read back as the same values");
    if (ini.Text() != text) Fault("INI text changes when read and written again");
    // A file changed through TIniFile keeps every other value it was read
    // with (lines holding NUL bytes are dropped from a damaged file).
    WriteFileAtomic(gIniFile, input);
    TMemIniFile before(gIniFile);
    TIniDump expected = DumpIni(before);
    TIniFile file(gIniFile);
    try {
      file.WriteString("Fuzz", "Key", "Value");
    } catch (const EIniFileException&) {
      return;
    }
    TMemIniFile back(gIniFile);
    TIniDump got = DumpIni(back);
    auto dropFuzz = [](TIniDump& d) {
      for (auto& [section, values] : d)
        if (section == "fuzz")
          values.erase(std::remove_if(values.begin(), values.end(),
                                      [](const std::string& v) { return Lower(v.substr(0, 4)) == "key="; }),
                       values.end());
      d.erase(std::remove_if(d.begin(), d.end(), [](const auto& s) { return s.first == "fuzz" && s.second.empty(); }),
              d.end());
    };
    if (back.ReadString("Fuzz", "Key", "") != "Value") Fault("the INI value written is not in the file");
    dropFuzz(expected);
    dropFuzz(got);
    if (expected != got) Fault("writing an INI value changed other values");
  });
}

}  // namespace

int main(int argc, char** argv) {
  // Settings go to a private folder, never to the user's.
  const std::string home = WorkFolder() + "config";
  ForceDirectories(home);
  setenv("ZELVORA_CONFIG_HOME", home.c_str(), 1);
  gIniFile = WorkFolder() + "fuzz.ini";

  std::vector<fuzzdriver::TTarget> targets;
  targets.push_back({"stringlist",
                     {std::string(1, '\0') + "a,b, \"c d\" ,\"e\"\"f\",,\n", std::string(1, '\x10') + "x;'y;z'; w\r\n\r",
                      std::string(1, '\x20') + "one|two||\"three\"|"},
                     RunStringList,
                     {",", "\"", "'", "\"\"", " ", "\t", "\r\n", "\n", "\r", std::string(1, '\0'), "|", ";"}});
  targets.push_back({"stream",
                     {std::string("\x00\x05hello\x01\x03\x00\x00\x00" "abc\x03\x10\x00\x00\x00\x00\x00\x00\x80\x01", 25),
                      std::string("\x0A\x07\x02\x04\xFF\xFF\xFF\x7F\x0b\x00\x01", 11)},
                     RunStream,
                     {std::string("\xFF\xFF\xFF\x7F", 4), std::string("\x00\x00\x00\x80", 4),
                      std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 8)}});
  std::string dtSeed(9, '\0');
  const double origin = 45000.75;
  std::memcpy(&dtSeed[1], &origin, 8);
  targets.push_back({"datetime",
                     {dtSeed + "12/03/2024 13:45:10.250", dtSeed + "c dddd d mmmm yyyy hh:nn:ss.zzz am/pm",
                      dtSeed + " 1/2 ", dtSeed + "11:59 PM", dtSeed + "ddddddt tt \"lit\" 'x' ampm a/p aaaa"},
                     RunDateTime,
                     {"/", ":", ".", " ", "AM", "PM", "9999", "0", "00", "2147483647", "dddddd", "c", "t", "'", "\""}});
  std::string fmtSeed(1, '\x04');
  fmtSeed += std::string("\x00\x2A\x00\x00\x00", 5) + std::string("\x06\x05", 2) + std::string("\x05", 1) +
             std::string("\x00\x00\x00\x00\x00\x00\xF8\x3F", 8) + std::string("\x01\x01\x02\x03\x04\x05\x06\x07\x08", 9);
  fmtSeed += std::string("\x00\x00\x00\x00\x00\x00\x24\x40", 8);
  targets.push_back({"format",
                     {fmtSeed + "%d|%-8s|%.3f|%x", fmtSeed + "%*d %1:s %0:.*e", fmtSeed + "#,##0.00;(#,##0.00);'zero'",
                      fmtSeed + "0.###E+000"},
                     RunFormat,
                     {"%", "%%", "*", "-", ".", ":", "999999999", "1000000", "d", "s", "x", "f", "n", "e", "g", "p",
                      "u", "0", "#", ",", "E+", "e-", ";", "\"", "'"}});
  targets.push_back({"registry",
                     {"; Zelvora settings store, version 1\n[Software\\Zelvora\\Configuration]\n\"IDSZ\"=int:10000\n"
                      "\"Title\"=str:\"text %22quoted%22\"\n\"Path\"=exp:\"%25HOME%25/x\"\n\"Blob\"=bin:0a1bff\n"
                      "[Software\\Zelvora\\Recent]\n\"File1\"=str:\"/tmp/a.zv\"\n[]\n\"root\"=int:-5\n"},
                     RunRegistry,
                     {"[", "]", "\\", "\"", "=", "int:", "str:", "exp:", "bin:", "%", "%2", "\n", "\r\n", ";",
                      "\\a\\b\\c\\d"}});
  targets.push_back({"ini",
                     {"; comment\n[General]\nTitle = A refinement \nCycles=30\n\n[Recent]\nFile1=/tmp/a.zv\n# x\n"
                      "[general]\nDup=1\nnot a key\n",
                      "\xEF\xBB\xBF" "[A]\r\nk=v\r\n[B]\r\n=empty\r\n"},
                     RunIni,
                     {"[", "]", "=", ";", "#", "\n", "\r\n", "\r", " ", "\t", "\xEF\xBB\xBF"}});
  return fuzzdriver::Main(argc, argv, "fuzz-rtl", targets);
}
