#include "model/structurefiles.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/brkapart.h"
#include "model/crystal.h"
#include "model/datafiles.h"
#include "model/importlines.h"
#include "platform/dialogs.h"
#include "platform/rtl/strutils.h"

namespace {

bool IsSpace(char c) { return static_cast<unsigned char>(c) <= ' '; }

// The file's text, or false after the message `invalid` + ": " + the reason
// (nothing at all for an empty name).
bool LoadStructureFile(const std::string& fileName, const char* invalid, std::string& text) {
  if (fileName.empty()) return false;
  std::string error;
  if (!FileReadable(fileName)) {
    ShowMessage(std::string(invalid) + ": " + fileName + " cannot be opened.");
    return false;
  }
  if (!LoadImportFile(fileName, text, error)) {
    ShowMessage(std::string(invalid) + ": " + error);
    return false;
  }
  if (LooksBinary(text)) {
    ShowMessage(std::string(invalid) + ": " + fileName + " holds binary data.");
    return false;
  }
  return true;
}

// New atoms fully occupy their sites: N = m / M in the phase's space group.
void ReplaceAtoms(TPhase& phase, std::vector<TAtom> atoms) {
  for (TAtom& a : atoms) a.N = FullOccupancy(phase.SpaceGroup, a.X, a.Y, a.Z);
  phase.ClearAtoms();
  for (const TAtom& a : atoms) phase.AddAtom(a);
}

// ---------------------------------------------------------------------------
// CIF

// The values of a line: separated by white space; a value in single or double
// quotes is one value (the closing quote is one followed by white space or the
// end of the line); "#" at the start of a value begins a comment. At most
// `limit` values are taken.
std::vector<std::string> CifTokens(const std::string& line, std::size_t limit) {
  std::vector<std::string> tokens;
  const std::size_t n = line.size();
  std::size_t i = 0;
  while (i < n && tokens.size() < limit) {
    while (i < n && IsSpace(line[i])) ++i;
    if (i >= n || line[i] == '#') break;
    const char q = line[i];
    if (q == '\'' || q == '"') {
      std::size_t j = i + 1;
      while (j < n && !(line[j] == q && (j + 1 >= n || IsSpace(line[j + 1])))) ++j;
      tokens.push_back(line.substr(i + 1, j - i - 1));
      i = j + 1;
      continue;
    }
    std::size_t j = i;
    while (j < n && !IsSpace(line[j])) ++j;
    tokens.push_back(line.substr(i, j - i));
    i = j;
  }
  return tokens;
}

bool BeginsNoCase(const std::string& s, const char* word) {
  const std::size_t n = std::char_traits<char>::length(word);
  return s.size() >= n && SameText(s.substr(0, n), word);
}

bool IsReservedWord(const std::string& s) {
  for (const char* w : {"data_", "loop_", "save_", "global_", "stop_"})
    if (BeginsNoCase(s, w)) return true;
  return false;
}

// The value of a single item written after its name: without its quotes, or,
// unquoted, without a trailing comment.
std::string ItemValue(const std::string& rest) {
  std::string v = TrimText(rest);
  if (v.empty()) return v;
  const char q = v[0];
  if (q == '\'' || q == '"') {
    for (std::size_t j = 1; j < v.size(); ++j)
      if (v[j] == q && (j + 1 >= v.size() || IsSpace(v[j + 1]))) return v.substr(1, j - 1);
    return v.substr(1);
  }
  for (std::size_t j = 1; j < v.size(); ++j)
    if (v[j] == '#' && IsSpace(v[j - 1])) return TrimText(v.substr(0, j));
  return v;
}

bool Unknown(const std::string& value) { return value == "?" || value == "."; }

// A number of the file, without its standard uncertainty ("5.4310(3)").
float CifReal(const std::string& value, const std::string& where) {
  std::string v = value;
  const std::size_t paren = v.find('(');
  if (paren != std::string::npos) v.erase(paren);
  if (TrimText(v).empty()) throw EConvertError(where + ": \"" + Utf8Left(value, 24) + "\" is not a number");
  return ImportReal(v, where);
}

class TCifReader {
public:
  explicit TCifReader(const std::string& text) : L(text) {}
  void Run();

  std::optional<float> Cell[6];
  std::optional<int> Z;
  std::optional<std::string> SpaceGroupOld, SpaceGroupNew, Title;
  std::vector<TAtom> Atoms;

private:
  // The next line (a line put back first); false at the end.
  bool NextLine() {
    if (FPutBack) {
      FPutBack = false;
      return true;
    }
    return L.TryNext();
  }
  std::string Where() const { return "line " + std::to_string(L.LineNumber()); }
  // Past a text field: from a line beginning with ";" to the next such line.
  // Returns the field's first non-empty text.
  std::string SkipTextField();
  void Item(const std::string& line);
  void Loop();

  TImportLines L;
  bool FPutBack = false;
};

std::string TCifReader::SkipTextField() {
  std::string first = TrimText(L.Line().substr(1));
  while (L.TryNext()) {
    if (!L.Line().empty() && L.Line()[0] == ';') return first;
    if (first.empty()) first = TrimText(L.Line());
  }
  throw EInOutError(Where() + ": the file ends inside a text field", 100);
}

void TCifReader::Run() {
  bool inBlock = false;
  while (NextLine()) {
    const std::string& raw = L.Line();
    if (!raw.empty() && raw[0] == ';') {
      SkipTextField();
      continue;
    }
    const std::string s = TrimText(raw);
    if (s.empty() || s[0] == '#') continue;
    if (BeginsNoCase(s, "data_")) {
      if (inBlock) return;  // only the first data block
      inBlock = true;
    } else if (BeginsNoCase(s, "loop_")) {
      Loop();
    } else if (s[0] == '_') {
      Item(s);
    }
  }
}

void TCifReader::Item(const std::string& line) {
  static const char* const cellTags[6] = {"_cell_length_a",    "_cell_length_b",   "_cell_length_c",
                                          "_cell_angle_alpha", "_cell_angle_beta", "_cell_angle_gamma"};
  std::size_t end = 0;
  while (end < line.size() && !IsSpace(line[end])) ++end;
  const std::string tag = line.substr(0, end);
  int cell = -1;
  for (int k = 0; k < 6; ++k)
    if (tag == cellTags[k]) cell = k;
  const bool wanted = cell >= 0 || tag == "_cell_formula_units_Z" || tag == "_symmetry_space_group_name_H-M" ||
                      tag == "_space_group_name_H-M_alt" || tag == "_chemical_formula_structural";
  if (!wanted) return;

  std::string value;
  const std::string rest = line.substr(end);
  if (!TrimText(rest).empty()) {
    value = ItemValue(rest);
  } else {
    // The value may stand on the next line, or be a text field.
    for (;;) {
      if (!NextLine()) return;
      const std::string& raw = L.Line();
      if (!raw.empty() && raw[0] == ';') {
        value = SkipTextField();
        break;
      }
      const std::string s = TrimText(raw);
      if (s.empty() || s[0] == '#') continue;
      if (s[0] == '_' || IsReservedWord(s)) {
        FPutBack = true;  // the item has no value
        return;
      }
      value = ItemValue(s);
      break;
    }
  }
  if (Unknown(value)) return;
  const std::string where = Where() + ", " + tag;
  const std::string number = TrimText(value).substr(0, TrimText(value).find_first_of(" \t"));
  if (cell >= 0) {
    Cell[cell] = CifReal(number, where);
  } else if (tag == "_cell_formula_units_Z") {
    // Databases write Z as a real ("6.000"): a whole-valued one is that
    // number; anything else is no Z and leaves the phase's as it is.
    double z = 0;
    if (TryTextToDouble(number, z, false) && z == std::trunc(z) && std::fabs(z) <= 1e6) Z = static_cast<int>(z);
  } else if (tag == "_chemical_formula_structural") {
    Title = TrimText(value);
  } else {
    std::string sg = Utf8Left(UpperCase(TrimText(value)), 20);
    (tag == "_symmetry_space_group_name_H-M" ? SpaceGroupOld : SpaceGroupNew) = sg;
  }
}

void TCifReader::Loop() {
  constexpr int MaxMarked = 100;
  int label = -1, type = -1, x = -1, y = -1, z = -1, occupancy = -1;
  int columns = 0;
  const int loopLine = L.LineNumber();
  for (;;) {
    if (!NextLine()) return;  // the end of the file ends the reading
    const std::string s = TrimText(L.Line());
    if (s.empty() || s[0] == '#') continue;
    if (s[0] != '_') break;
    const std::string tag = s.substr(0, std::find_if(s.begin(), s.end(), IsSpace) - s.begin());
    if (columns < MaxMarked) {
      auto mark = [&](const char* name, int& column) {
        if (tag.rfind(name, 0) == 0) column = columns;
      };
      mark("_atom_site_label", label);
      mark("_atom_site_type_symbol", type);
      mark("_atom_site_fract_x", x);
      mark("_atom_site_fract_y", y);
      mark("_atom_site_fract_z", z);
      mark("_atom_site_occupancy", occupancy);
    }
    ++columns;
  }
  auto inFirstThree = [](int c) { return c >= 0 && c < 3; };
  if (!(inFirstThree(label) || inFirstThree(type) || inFirstThree(x) || inFirstThree(y) || inFirstThree(z))) {
    FPutBack = true;  // not an atom loop: its rows are ordinary lines
    return;
  }
  if (x < 0 || y < 0 || z < 0)
    throw EConvertError("the atom-site loop of line " + std::to_string(loopLine) + " has no fractional coordinates");
  const int needed = std::max({label, type, x, y, z, occupancy}) + 1;

  // The current line is the first row.
  do {
    const std::string& raw = L.Line();
    if (!raw.empty() && raw[0] == ';')
      throw EConvertError(Where() + ": a text field inside the atom-site loop");
    const std::string s = TrimText(raw);
    if (s.empty() || s[0] == '#') continue;
    if (s[0] == '_' || IsReservedWord(s)) {
      FPutBack = true;
      return;
    }
    const std::vector<std::string> row = CifTokens(s, static_cast<std::size_t>(needed));
    if (static_cast<int>(row.size()) < needed)
      throw EInOutError(Where() + " holds " + std::to_string(row.size()) + " values where the atom-site loop needs " +
                            std::to_string(needed),
                        106);
    TAtom atom;
    atom.Label = label >= 0 ? ToAtomSymbol4(row[static_cast<std::size_t>(label)]) : ToAtomSymbol4("");
    atom.AtomType = type >= 0 ? ToAtomSymbol4(row[static_cast<std::size_t>(type)]) : ToAtomSymbol4("");
    float* coordinates[3] = {&atom.X, &atom.Y, &atom.Z};
    const int columnOf[3] = {x, y, z};
    for (int k = 0; k < 3; ++k) {
      const std::string& v = row[static_cast<std::size_t>(columnOf[k])];
      const std::string where = Where() + ", value " + std::to_string(columnOf[k] + 1);
      if (Unknown(v)) throw EConvertError(where + ": the coordinate is unknown");
      *coordinates[k] = CifReal(v, where);
    }
    // The site fraction for now (unknown: full); ReadCifFile turns it into N.
    atom.N = 1.0f;
    if (occupancy >= 0) {
      const std::string& v = row[static_cast<std::size_t>(occupancy)];
      if (!Unknown(v)) atom.N = CifReal(v, Where() + ", value " + std::to_string(occupancy + 1));
    }
    Atoms.push_back(atom);
  } while (NextLine());
}

}  // namespace

bool ReadAtomFile(const std::string& fileName, TPhase& phase) {
  static const char* const invalid = "Invalid atom file";
  std::string text;
  if (!LoadStructureFile(fileName, invalid, text)) return false;
  std::vector<TAtom> atoms;
  TImportLines lines(text);
  try {
    while (lines.TryNext()) {
      if (TrimText(lines.Line()).empty()) break;
      TImportFields f(lines.Line(), lines.LineNumber());
      f.Need(5);
      TAtom atom;
      atom.Label = ToAtomSymbol4(f[1]);
      atom.AtomType = ToAtomSymbol4(f[2]);
      atom.X = f.Real(3);
      atom.Y = f.Real(4);
      atom.Z = f.Real(5);
      atoms.push_back(atom);
    }
  } catch (const Exception& e) {
    ShowMessage(std::string(invalid) + ": " + e.Message() + ".");
    return false;
  }
  if (atoms.empty()) {
    ShowMessage(std::string(invalid) + ": " + fileName + " holds no atom lines.");
    return false;
  }
  ReplaceAtoms(phase, atoms);
  return true;
}

bool ReadCifFile(const std::string& fileName, TPhase& phase) {
  static const char* const invalid = "Invalid CIF file";
  std::string text;
  if (!LoadStructureFile(fileName, invalid, text)) return false;
  TCifReader cif(text);
  try {
    cif.Run();
  } catch (const Exception& e) {
    ShowMessage(std::string(invalid) + ": " + e.Message() + ".");
    return false;
  }
  const std::optional<std::string>& spaceGroup = cif.SpaceGroupOld ? cif.SpaceGroupOld : cif.SpaceGroupNew;
  const bool any = cif.Z || spaceGroup || cif.Title || !cif.Atoms.empty() ||
                   std::any_of(std::begin(cif.Cell), std::end(cif.Cell), [](const auto& v) { return v.has_value(); });
  if (!any) {
    ShowMessage(std::string(invalid) + ": " + fileName + " holds no cell, space group or atom sites.");
    return false;
  }
  if (cif.Title) phase.Title = *cif.Title;
  if (spaceGroup) phase.SpaceGroup = *spaceGroup;
  for (int k = 0; k < 6; ++k)
    if (cif.Cell[k]) *phase.Value(6 + k) = *cif.Cell[k];
  if (cif.Z) phase.Z = *cif.Z;
  // N = site fraction x m / M in the phase's (new) space group.
  for (TAtom a : cif.Atoms) {
    a.N = SingleOf(double(a.N) * FullOccupancy(phase.SpaceGroup, a.X, a.Y, a.Z));
    phase.AddAtom(a);
  }
  return true;
}

bool ReadExpoXyzFile(const std::string& fileName, TPhase& phase) {
  static const char* const invalid = "Invalid EXPO xyz file";
  std::string text;
  if (!LoadStructureFile(fileName, invalid, text)) return false;
  std::vector<TAtom> atoms;
  bool header = false;
  TImportLines lines(text);
  try {
    while (lines.TryNext()) {
      const std::string& s = lines.Line();
      if (!header) {
        header = s.find("type") != std::string::npos;
        continue;
      }
      if (TrimText(s).empty()) continue;
      TImportFields f(s, lines.LineNumber());
      f.Need(4);
      TAtom atom;
      atom.Label = ToAtomSymbol4(f[1]);
      atom.AtomType = atom.Label;
      atom.X = f.Real(2);
      atom.Y = f.Real(3);
      atom.Z = f.Real(4);
      atoms.push_back(atom);
    }
  } catch (const Exception& e) {
    ShowMessage(std::string(invalid) + ": " + e.Message() + ".");
    return false;
  }
  if (!header) {
    ShowMessage(std::string(invalid) + ": " + fileName + " has no header line holding \"type\".");
    return false;
  }
  if (atoms.empty()) {
    ShowMessage(std::string(invalid) + ": no atom lines follow the header line of " + fileName + ".");
    return false;
  }
  ReplaceAtoms(phase, atoms);
  return true;
}
