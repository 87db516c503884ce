// spacegroup.dll: what the crystallographic tables ask about a space-group
// symbol (Laue class, general and site multiplicity, monoclinic axis).
#include "spacegroup_api.h"

#include <cmath>
#include <cstring>
#include <string>

#include "sgtools.h"

namespace {

// The symbol of the field: up to the first NUL or the field's end, trimmed.
std::string FieldSymbol(const char* field) {
  std::size_t n = 0;
  while (n < SG_SYMBOL_FIELD && field[n] != '\0') ++n;
  return std::string(field, n);
}

}  // namespace

extern "C" void spacegp(char* symbol, float* position, int32_t* result, int32_t* error) {
  if (result != nullptr)
    for (int i = 0; i < SG_RESULT_COUNT; ++i) result[i] = 0;
  if (error == nullptr) return;
  *error = 1;
  if (symbol == nullptr || position == nullptr || result == nullptr) return;
  try {
    const gemmi::SpaceGroup* sg = SgFind(FieldSymbol(symbol));
    if (sg == nullptr) return;
    std::array<double, 3> xyz{position[0], position[1], position[2]};
    if (!std::isfinite(xyz[0]) || !std::isfinite(xyz[1]) || !std::isfinite(xyz[2])) return;
    gemmi::GroupOps ops = sg->operations();
    int stabiliser = SgStabiliserOrder(ops, xyz);
    if (stabiliser <= 0) return;
    result[SG_SYMMETRY_CODE] = SgSymmetryCode(*sg);
    result[SG_GENERAL_MULT] = ops.order();
    result[SG_SITE_MULT] = ops.order() / stabiliser;
    result[SG_GROUP_NUMBER] = sg->number;
    result[SG_CENTRING_COUNT] = static_cast<int32_t>(ops.cen_ops.size());
    result[SG_CENTROSYMMETRIC] = ops.is_centrosymmetric() ? 1 : 0;
    result[SG_STABILISER_ORDER] = stabiliser;
    result[SG_AXIS_CODE] = SgMonoclinicAxis(*sg);
    *error = 0;
  } catch (...) {
    // Nothing may leave a C entry point; the error flag is already set.
    for (int i = 0; i < SG_RESULT_COUNT; ++i) result[i] = 0;
  }
}
