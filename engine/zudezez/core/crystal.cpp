#include "core/crystal.h"

#include <algorithm>
#include <cmath>

#include "sgtools.h"

namespace {

TMat3 Inverse(const TMat3& m, double& det) {
  det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
        m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  TMat3 r{};
  if (det == 0) return r;
  r[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
  r[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
  r[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
  r[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
  r[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
  r[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
  r[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
  r[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
  r[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
  return r;
}

double Quadratic(const TMat3& g, const TVec3& u, const TVec3& v) {
  double s = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) s += u[i] * g[i][j] * v[j];
  return s;
}

double Frac(double x) { return x - std::floor(x); }

// Difference of two fractional coordinates folded into [-0.5, 0.5).
double PeriodicDelta(double a, double b) {
  double d = a - b;
  return d - std::round(d);
}

}  // namespace

TCell::TCell(double a, double b, double c, double alpha, double beta, double gamma) {
  FLengths = {a, b, c};
  FAngles = {alpha, beta, gamma};
  const double ca = std::cos(alpha * DegToRad), cb = std::cos(beta * DegToRad), cg = std::cos(gamma * DegToRad);
  const double sg = std::sin(gamma * DegToRad);
  FMetric = {{{a * a, a * b * cg, a * c * cb}, {a * b * cg, b * b, b * c * ca}, {a * c * cb, b * c * ca, c * c}}};
  double det = 0;
  FReciprocal = Inverse(FMetric, det);
  const bool anglesOk = alpha > 0 && alpha < 180 && beta > 0 && beta < 180 && gamma > 0 && gamma < 180;
  FValid = a > 0 && b > 0 && c > 0 && anglesOk && det > 0 && std::isfinite(det);
  FVolume = FValid ? std::sqrt(det) : 0;
  if (FValid) {
    FOrtho = {{{a, b * cg, c * cb}, {0, b * sg, c * (ca - cb * cg) / sg}, {0, 0, FVolume / (a * b * sg)}}};
  }
}

double TCell::InverseDSquared(const TMiller& h) const {
  const TVec3 v = ToVec(h);
  return Quadratic(FReciprocal, v, v);
}

double TCell::DSpacing(const TMiller& h) const {
  const double q = InverseDSquared(h);
  return q > 0 ? 1.0 / std::sqrt(q) : 0.0;
}

double TCell::Length(const TVec3& dx) const { return std::sqrt(std::max(0.0, Quadratic(FMetric, dx, dx))); }

double TCell::Distance(const TVec3& x1, const TVec3& x2) const {
  return Length({x1[0] - x2[0], x1[1] - x2[1], x1[2] - x2[2]});
}

double TCell::ReciprocalCosine(const TVec3& h1, const TVec3& h2) const {
  const double n1 = Quadratic(FReciprocal, h1, h1), n2 = Quadratic(FReciprocal, h2, h2);
  if (n1 <= 0 || n2 <= 0) return 1.0;
  return std::clamp(Quadratic(FReciprocal, h1, h2) / std::sqrt(n1 * n2), -1.0, 1.0);
}

TVec3 TCell::Cartesian(const TVec3& x) const {
  TVec3 r{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[i] += FOrtho[i][j] * x[j];
  return r;
}

TMiller TSymOp::ApplyToHkl(const TMiller& h) const {
  TMiller r{};
  for (int i = 0; i < 3; ++i) r[i] = R[0][i] * h[0] + R[1][i] * h[1] + R[2][i] * h[2];
  return r;
}

TVec3 TSymOp::Apply(const TVec3& x) const {
  TVec3 r{};
  for (int i = 0; i < 3; ++i) r[i] = R[i][0] * x[0] + R[i][1] * x[1] + R[i][2] * x[2] + T[i];
  return r;
}

bool TSpaceGroup::Assign(const std::string& symbol, const TCell& cell) {
  FOps.clear();
  FRotations.clear();
  FIntOps.clear();
  const gemmi::SpaceGroup* sg = SgFind(symbol);
  if (sg == nullptr) return false;
  if (sg->hm[0] == 'R' && sg->ext != 'R' && cell.IsValid()) {
    const auto& l = cell.Lengths();
    const auto& an = cell.Angles();
    const bool rhombohedral = std::fabs(l[0] - l[1]) < 1e-4 && std::fabs(l[0] - l[2]) < 1e-4 &&
                              std::fabs(an[0] - an[1]) < 1e-3 && std::fabs(an[0] - an[2]) < 1e-3 &&
                              std::fabs(an[0] - 90.0) > 1e-3;
    if (rhombohedral) {
      const gemmi::SpaceGroup* r = gemmi::find_spacegroup_by_name(std::string(sg->hm) + ":R");
      if (r != nullptr) sg = r;
    }
  }
  FName = sg->xhm();
  switch (sg->crystal_system()) {
    case gemmi::CrystalSystem::Triclinic: FSystem = 'a'; break;
    case gemmi::CrystalSystem::Monoclinic: FSystem = 'm'; break;
    case gemmi::CrystalSystem::Orthorhombic: FSystem = 'o'; break;
    case gemmi::CrystalSystem::Tetragonal: FSystem = 't'; break;
    case gemmi::CrystalSystem::Trigonal: FSystem = sg->ext == 'R' ? 'r' : 'h'; break;
    case gemmi::CrystalSystem::Hexagonal: FSystem = 'h'; break;
    case gemmi::CrystalSystem::Cubic: FSystem = 'c'; break;
  }
  FNumber = sg->number;
  const gemmi::GroupOps ops = sg->operations();
  FCentric = ops.is_centrosymmetric();
  for (const gemmi::Op& so : ops.sym_ops) {
    std::array<std::array<int, 3>, 3> rot{};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) rot[i][j] = so.rot[i][j] / gemmi::Op::DEN;
    if (std::find(FRotations.begin(), FRotations.end(), rot) == FRotations.end()) FRotations.push_back(rot);
    for (const gemmi::Op::Tran& c : ops.cen_ops) {
      const gemmi::Op op = so.add_centering(c);
      TSymOp s;
      std::array<int, 3> t24{};
      for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) s.R[i][j] = op.rot[i][j] / gemmi::Op::DEN;
        t24[i] = ((op.tran[i] % gemmi::Op::DEN) + gemmi::Op::DEN) % gemmi::Op::DEN;
        s.T[i] = double(t24[i]) / gemmi::Op::DEN;
      }
      FOps.push_back(s);
      FIntOps.push_back({s.R, t24});
    }
  }
  return true;
}

std::vector<std::pair<int, int>> TSpaceGroup::CellTies() const {
  switch (FSystem) {
    case 't':
    case 'h': return {{2, 1}};
    case 'r': return {{2, 1}, {3, 1}, {5, 4}, {6, 4}};
    case 'c': return {{2, 1}, {3, 1}};
    default: return {};
  }
}

bool TSpaceGroup::IsAbsent(const TMiller& h) const {
  // Absent when an operation maps h onto itself with a phase shift h.t that
  // is not a whole number of turns.
  for (const auto& [rot, t24] : FIntOps) {
    TMiller hr{};
    for (int i = 0; i < 3; ++i) hr[i] = rot[0][i] * h[0] + rot[1][i] * h[1] + rot[2][i] * h[2];
    if (hr != h) continue;
    const int shift = h[0] * t24[0] + h[1] * t24[1] + h[2] * t24[2];
    if (shift % gemmi::Op::DEN != 0) return true;
  }
  return false;
}

std::vector<TMiller> TSpaceGroup::EquivalentIndices(const TMiller& h) const {
  std::vector<TMiller> list;
  for (const auto& rot : FRotations) {
    TMiller hr{};
    for (int i = 0; i < 3; ++i) hr[i] = rot[0][i] * h[0] + rot[1][i] * h[1] + rot[2][i] * h[2];
    const TMiller minus{-hr[0], -hr[1], -hr[2]};
    for (const TMiller& m : {hr, minus})
      if (std::find(list.begin(), list.end(), m) == list.end()) list.push_back(m);
  }
  std::sort(list.begin(), list.end());
  return list;
}

int TSpaceGroup::Multiplicity(const TMiller& h) const {
  // Counted, not listed: the reflection generation asks for every reflection
  // of the run. Every member of the group of the rotations and their
  // negatives occurs equally often among those 2N products, so the number
  // of distinct equivalents is 2N over the products that leave h in place.
  int fixed = 0;
  for (const auto& rot : FRotations) {
    TMiller hr{};
    for (int i = 0; i < 3; ++i) hr[i] = rot[0][i] * h[0] + rot[1][i] * h[1] + rot[2][i] * h[2];
    if (hr[0] == h[0] && hr[1] == h[1] && hr[2] == h[2]) ++fixed;
    if (hr[0] == -h[0] && hr[1] == -h[1] && hr[2] == -h[2]) ++fixed;
  }
  return fixed > 0 ? static_cast<int>(2 * FRotations.size()) / fixed : 0;
}

int TSpaceGroup::StabiliserOrder(const TVec3& x, double tolerance) const {
  int order = 0;
  for (const TSymOp& op : FOps) {
    const TVec3 y = op.Apply(x);
    bool same = true;
    for (int i = 0; i < 3 && same; ++i) same = std::fabs(PeriodicDelta(y[i], x[i])) <= tolerance;
    if (same) ++order;
  }
  return order;
}

int TSpaceGroup::SiteMultiplicity(const TVec3& x) const {
  const int s = StabiliserOrder(x);
  return s > 0 ? Order() / s : 0;
}

std::vector<TVec3> TSpaceGroup::Orbit(const TVec3& x, double tolerance) const {
  std::vector<TVec3> list;
  for (const TSymOp& op : FOps) {
    TVec3 y = op.Apply(x);
    for (double& v : y) {
      v = Frac(v);
      if (v >= 1.0 - 1e-12) v = 0;
    }
    const bool known = std::any_of(list.begin(), list.end(), [&](const TVec3& z) {
      return std::fabs(PeriodicDelta(y[0], z[0])) <= tolerance && std::fabs(PeriodicDelta(y[1], z[1])) <= tolerance &&
             std::fabs(PeriodicDelta(y[2], z[2])) <= tolerance;
    });
    if (!known) list.push_back(y);
  }
  return list;
}

double EstimatedReflections(const TCell& cell, const TSpaceGroup& group, double dMin, double dMax) {
  if (!cell.IsValid() || !group.IsValid() || !(dMin > 0)) return HUGE_VAL;
  // Reciprocal lattice points in the shell dMin <= d <= dMax, one of each
  // set of equivalents (Friedel mates included) and without the centring's absences.
  const double shell = 4 * Pi / 3 * cell.Volume() * (1 / (dMin * dMin * dMin) - (dMax > dMin ? 1 / (dMax * dMax * dMax) : 1 / (dMin * dMin * dMin)));
  return shell / (group.Order() * (group.IsCentrosymmetric() ? 1.0 : 2.0));
}

double IndexWalk(const TCell& cell, double dMin) {
  if (!cell.IsValid() || !(dMin > 0)) return HUGE_VAL;
  // h from 0 (the representative of a set is its largest member, and -h is in every set).
  return (std::floor(cell.A() / dMin) + 1) * (2 * std::floor(cell.B() / dMin) + 1) * (2 * std::floor(cell.C() / dMin) + 1);
}

bool TSpaceGroup::IsRepresentative(const TMiller& h) const {
  for (const auto& rot : FRotations) {
    TMiller hr{};
    for (int i = 0; i < 3; ++i) hr[i] = rot[0][i] * h[0] + rot[1][i] * h[1] + rot[2][i] * h[2];
    const TMiller minus{-hr[0], -hr[1], -hr[2]};
    if (h < hr || h < minus) return false;
  }
  return true;
}

bool GenerateReflections(const TCell& cell, const TSpaceGroup& group, double dMin, double dMax,
                         std::vector<TReflection>& list, std::size_t limit, double walkLimit) {
  list.clear();
  if (!cell.IsValid() || !group.IsValid() || !(dMin > 0) || !(dMax >= dMin)) return true;
  // Refused before the walk: its length and what it would find both follow
  // from the cell. The estimate is within a few percent for counts near the
  // limit; a count just past it is found by counting.
  const double estimate = EstimatedReflections(cell, group, dMin, dMax);
  const double walk = IndexWalk(cell, dMin);
  if (!(estimate <= 1.25 * double(limit)) || !(walk <= walkLimit)) return false;
  // |h| = |a . s| <= a / dMin for every reflection with d >= dMin; the
  // bounds are small integers now that the walk is bounded.
  const int hMax = static_cast<int>(std::floor(cell.A() / dMin));
  const int kMax = static_cast<int>(std::floor(cell.B() / dMin));
  const int lMax = static_cast<int>(std::floor(cell.C() / dMin));
  const double qMax = 1.0 / (dMin * dMin), qMin = 1.0 / (dMax * dMax);
  for (int h = 0; h <= hMax; ++h)
    for (int k = -kMax; k <= kMax; ++k)
      for (int l = -lMax; l <= lMax; ++l) {
        const TMiller hkl{h, k, l};
        if (h == 0 && k == 0 && l == 0) continue;
        const double q = cell.InverseDSquared(hkl);
        if (q > qMax * (1 + 1e-12) || q < qMin * (1 - 1e-12)) continue;
        if (!group.IsRepresentative(hkl)) continue;  // one of each set: the largest
        if (group.IsAbsent(hkl)) continue;
        if (list.size() >= limit) {  // special positions let a few more through than estimated
          list.clear();
          return false;
        }
        TReflection r;
        r.Hkl = hkl;
        r.Multiplicity = group.Multiplicity(hkl);
        r.D = 1.0 / std::sqrt(q);
        list.push_back(r);
      }
  std::stable_sort(list.begin(), list.end(), [](const TReflection& a, const TReflection& b) { return a.D > b.D; });
  return true;
}

std::vector<TReflection> GenerateReflections(const TCell& cell, const TSpaceGroup& group, double dMin, double dMax) {
  std::vector<TReflection> list;
  GenerateReflections(cell, group, dMin, dMax, list);
  return list;
}
