// Crystallographic tables and the coordinate transformation: the 230
// space-group symbols with their crystal classes, the scattering-factor
// symbols offered for atom types, what the space-group library says about a
// symbol, and the affine transformation of the transformation window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Crystal classes of the space-group table and of SpaceGroupInfo.
constexpr int ccTriclinic = 0, ccMonoclinic = 1, ccOrthorhombic = 2, ccTetragonal = 3, ccTrigonalRh = 4,
              ccTrigonalHex = 5, ccHexagonal = 6, ccCubic = 7, ccUnknown = 8;

constexpr int SpaceGroupCount = 230;
constexpr int ScatterSymbolCount = 206;

struct TSpaceGroupRecord {
  std::string Symbol;
  uint8_t CrystalClass = ccUnknown;
};

// Record n (1 .. 230) of the built-in table; raises ERangeError for other n.
const TSpaceGroupRecord& SpaceGroupRecord(int n);

// Writes the 230 symbols, in table order, into SpaceGroupTable.
void FillSpaceGroupTable();
// Clears ScatterSymbols (making it when there is none), adds the 206 built-in
// symbols and sorts the list.
void FillScatterSymbolList();

struct TSpaceGroupInfo {
  uint8_t CrystalClass = ccUnknown;
  int32_t AxisCode = 0;  // monoclinic groups: the free cell angle, 1 alpha, 2 beta, 3 gamma
};

// What the space-group library says about a symbol (any case, surrounding
// blanks ignored). A symbol it rejects, or one longer than its 20-character
// field, gives class 8 and axis code 0.
TSpaceGroupInfo SpaceGroupInfo(const std::string& symbol);
// Multiplicity of the general position; 0 on error.
int GeneralMultiplicity(const std::string& symbol);
// Multiplicity of the site (x, y, z) in fractional coordinates; 0 on error.
int SiteMultiplicity(const std::string& symbol, float x, float y, float z);
// The occupancy N of an atom fully occupying the site (x, y, z): m / M, the
// site's multiplicity over the general one (TAtom.N's convention); 1 when the
// library does not know the symbol.
float FullOccupancy(const std::string& symbol, float x, float y, float z);

// x'i = M[i][1]·x + M[i][2]·y + M[i][3]·z + M[i][4], i = 1..3 (the last column
// is the shift). All zero until SetIdentity.
class TTransformation {
public:
  void SetIdentity();
  float Determinant() const;
  // Row i (1..3) applied to (x, y, z); raises ERangeError for other i.
  float TransformCoordinate(int i, float x, float y, float z) const;
  void Assign(const TTransformation& other);
  // Element (i, j), i = 1..3, j = 1..4; raises ERangeError outside.
  float& Value(int i, int j);
  float Value(int i, int j) const;

private:
  std::array<std::array<float, 4>, 3> M{};
};
