// Space groups from the symbols the model files carry, on gemmi's tables.
//
// Table symbols are upper case with blank-separated parts and screw axes as
// two digits ("P 21/C"). Cubic groups are written with a plain 3 ("F M 3 M"),
// which gemmi only knows with its bar, so the bar is put in; older model
// files spell the six groups 215-220 without their inversion bar ("P 4 3 M"),
// which is read as the barred group. Where a group has two origin choices
// and the symbol names none, the one with the inversion centre at the origin
// is taken. Symbols starting with R are taken on hexagonal axes unless they
// say ":R".
#pragma once

#include <gemmi/symmetry.hpp>

#include <array>
#include <cctype>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

// The symbol's blank-separated parts.
inline std::vector<std::string> SgSymbolParts(const std::string& symbol) {
  std::vector<std::string> parts;
  std::istringstream in(symbol);
  std::string part;
  while (in >> part) parts.push_back(part);
  return parts;
}

// The symbol upper case, trimmed, with single blanks, in the spelling gemmi
// reads (bars put into the cubic groups as above).
inline std::string SgNormalSymbol(const std::string& symbol) {
  std::string upper;
  for (char c : symbol) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  std::vector<std::string> parts = SgSymbolParts(upper);
  auto isCubicMirror = [](const std::string& p) { return p == "M" || p == "N" || p == "A" || p == "D"; };
  auto isCubicThird = [](const std::string& p) { return p == "M" || p == "N" || p == "C" || p == "D"; };
  if ((parts.size() == 3 || parts.size() == 4) && parts[2] == "3") {
    if (isCubicMirror(parts[1]))
      parts[2] = "-3";  // P M 3, F M 3 M ...
    else if (parts.size() == 4 && parts[1] == "4" && isCubicThird(parts[3]))
      parts[1] = "-4";  // P 4 3 M -> P -4 3 M
  }
  std::string result;
  for (const std::string& p : parts) {
    if (!result.empty()) result += ' ';
    result += p;
  }
  return result;
}

// The group a table symbol names; nullptr when gemmi does not know it.
inline const gemmi::SpaceGroup* SgFind(const std::string& symbol) {
  std::string name = SgNormalSymbol(symbol);
  if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return nullptr;  // numbers are not symbols
  const gemmi::SpaceGroup* sg = gemmi::find_spacegroup_by_name(name);
  if (sg == nullptr) return nullptr;
  if (sg->ext == '1' && name.find(':') == std::string::npos) {
    const gemmi::SpaceGroup* next = sg + 1;
    const gemmi::SpaceGroup* end = gemmi::spacegroup_tables::main + std::size(gemmi::spacegroup_tables::main);
    if (next < end && next->number == sg->number && next->ext == '2') sg = next;
  }
  return sg;
}

// The Laue class as the space-group library numbers it (see spacegroup_api.h).
inline int SgSymmetryCode(const gemmi::SpaceGroup& sg) {
  const bool rhombohedralAxes = sg.ext == 'R';
  switch (sg.laue_class()) {
    case gemmi::Laue::L1: return 1;
    case gemmi::Laue::L2m: return 2;
    case gemmi::Laue::Lmmm: return 3;
    case gemmi::Laue::L4m: return 4;
    case gemmi::Laue::L4mmm: return 5;
    case gemmi::Laue::L3: return rhombohedralAxes ? 6 : 8;
    case gemmi::Laue::L3m: {
      if (rhombohedralAxes) return 7;
      // "P 3 1 2", "P -3 1 m": the two-fold axes lie along the second
      // direction of the symbol (-31m); otherwise along the first (-3m1).
      std::vector<std::string> parts = SgSymbolParts(sg.hm);
      return parts.size() >= 3 && parts[2] == "1" ? 10 : 9;
    }
    case gemmi::Laue::L6m: return 11;
    case gemmi::Laue::L6mmm: return 12;
    case gemmi::Laue::Lm3: return 13;
    case gemmi::Laue::Lm3m: return 14;
  }
  return 0;
}

// The unique axis of a monoclinic group (1 a, 2 b, 3 c), from the full symbol
// "P 1 21/c 1"; 0 for the other systems.
inline int SgMonoclinicAxis(const gemmi::SpaceGroup& sg) {
  if (sg.crystal_system() != gemmi::CrystalSystem::Monoclinic) return 0;
  std::vector<std::string> parts = SgSymbolParts(sg.hm);
  if (parts.size() != 4) return 0;
  for (int axis = 1; axis <= 3; ++axis)
    if (parts[axis] != "1") return axis;
  return 0;
}

// Largest difference, in fractional coordinates, at which two positions
// still count as the same site.
constexpr double SgSiteTolerance = 1e-3;

// The number of operations (centring included) that map the position onto
// itself or onto a lattice translation of itself.
inline int SgStabiliserOrder(const gemmi::GroupOps& ops, const std::array<double, 3>& xyz,
                             double tolerance = SgSiteTolerance) {
  int order = 0;
  for (const gemmi::Op& symOp : ops.sym_ops)
    for (const gemmi::Op::Tran& centring : ops.cen_ops) {
      std::array<double, 3> image = symOp.add_centering(centring).apply_to_xyz(xyz);
      bool same = true;
      for (int i = 0; i < 3 && same; ++i) {
        double d = image[i] - xyz[i];
        d -= std::round(d);
        same = std::fabs(d) <= tolerance;
      }
      if (same) ++order;
    }
  return order;
}

// Multiplicity of the position: general multiplicity / order of its stabiliser.
inline int SgSiteMultiplicity(const gemmi::GroupOps& ops, const std::array<double, 3>& xyz,
                              double tolerance = SgSiteTolerance) {
  int stabiliser = SgStabiliserOrder(ops, xyz, tolerance);
  return stabiliser > 0 ? ops.order() / stabiliser : 0;
}
