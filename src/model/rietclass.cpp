#include "model/rietclass.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <map>

#include "model/brkapart.h"
#include "platform/dialogs.h"

// ---------------------------------------------------------------------------
// Model records

static void CheckPairIndex(const TPairList& list, int i) {
  if (i < 0 || i >= list.Count())
    throw EListError("List index out of bounds (" + std::to_string(i) + ")");
}

void TPairList::SetPair(int i, float x, float y) {
  if (i < 0 || i >= Count()) return;
  Items[static_cast<std::size_t>(i)] = {x, y};
}

float TPairList::GetX(int i) const {
  CheckPairIndex(*this, i);
  return Items[static_cast<std::size_t>(i)].X;
}

float TPairList::GetY(int i) const {
  CheckPairIndex(*this, i);
  return Items[static_cast<std::size_t>(i)].Y;
}

void TPairList::Delete(int i) {
  CheckPairIndex(*this, i);
  Items.erase(Items.begin() + i);
}

void TPairList::DeleteEqual(float x, float y) {
  auto it = std::find_if(Items.begin(), Items.end(), [&](const TPair& p) { return p.X == x && p.Y == y; });
  if (it != Items.end()) Items.erase(it);
}

int ComparePairX(const TPair& a, const TPair& b) {
  if (a.X < b.X) return -1;
  if (a.X > b.X) return 1;
  return 0;
}

void TPairList::SortByX() {
  // Stable, so that sorting twice (as writing twice does) changes nothing.
  std::stable_sort(Items.begin(), Items.end(), [](const TPair& a, const TPair& b) { return ComparePairX(a, b) < 0; });
}

void TAtom::Assign(const TAtom& other) { *this = other; }

float* TAtom::Value(int t) {
  switch (t) {
    case 1: return &X;
    case 2: return &Y;
    case 3: return &Z;
    case 4: return &B;
    case 5: return &N;
    case 6: return &B11;
    case 7: return &B22;
    case 8: return &B33;
    case 9: return &B12;
    case 10: return &B13;
    case 11: return &B23;
    default: return nullptr;
  }
}

const float* TAtom::Value(int t) const { return const_cast<TAtom*>(this)->Value(t); }

void TScatterFactor::AddPoint(float x, float y) {
  if (Table.Count() < MaxScatterTablePoints) Table.Add(x, y);
}

TScatterFactor* TScatterList::AddNew() {
  Items.push_back(std::make_unique<TScatterFactor>());
  return Items.back().get();
}

TScatterFactor* TScatterList::Entry(int n) const {
  if (n < 1 || n > Count()) return nullptr;
  return Items[static_cast<std::size_t>(n - 1)].get();
}

void TScatterList::Delete(int n) {
  if (n < 1 || n > Count()) return;
  Items.erase(Items.begin() + (n - 1));
}

std::string BackgroundKindName(int kind) {
  switch (kind) {
    case 0: return "Polynomial 5th order";
    case -1: return "Amorphous (Sinc)";
    case -2: return "Cheby I";
    case -3: return "Shifted Cheby I";
    case -4: return "Cheby II";
    case -5: return "Shifted Cheby II";
    case -6: return "Damped Amorphous (Sinc)";
    case -7: return "Automatic smoothed";
    case 1: return "Data File";
    case 2: return "User Input Points";
    default: return {};
  }
}

void TBackGround::AddPoint(float x, float y) {
  if (Points.Count() < MaxBackgroundPoints) Points.Add(x, y);
}

void TBackGround::SortPoints() {
  if (Points.Count() > 0) Points.SortByX();
}

void TExcluded::AddRegion(float a, float b) {
  if (Regions.Count() >= MaxExcludedRegions) return;
  Regions.Add(std::min(a, b), std::max(a, b));
}

std::string ProfileName(int profile) {
  switch (profile) {
    case 1: return "Pseudo-Voigt  (Riet asym)";
    case 2: return "Pearson IV      (Riet asym)";
    case 3: return "Voigt               (Riet asym)";
    case 4: return "Pseudo-Voigt  (How. Asym)";
    case 5: return "Voigt               (How. Asym)";
    case 6: return "Pseudo-Voigt  (FCJ Asym)";
    case 7: return "Jorgensen       (TOF)";
    default: return {};
  }
}

bool THistogram::IsCalculation() const {
  return Job == jobXrayCalc || Job == jobNeutronCalc || Job == jobTOFCalc || Job == jobEDCalc;
}

float* THistogram::Value(int t) {
  if (t >= 2 && t <= 25) return &Background.Coefficients[static_cast<std::size_t>(t - 2)];
  switch (t) {
    case 1: return &Zero;
    case 26: return &Scale;
    case 27: return &Wavelength1;
    case 28: return &Wavelength2;
    case 29: return &Displacement;
    case 30: return &Absorption;
    default: return nullptr;
  }
}

float* TSample::Value(int t) {
  switch (t) {
    case 3: return &U;
    case 4: return &V;
    case 5: return &W;
    case 12: return &PO;
    case 13: return &AbsorptionR;
    case 14: return &Asym1;
    case 15: return &Gam0;
    case 16: return &Gam1;
    case 17: return &Gam2;
    case 18: return &Extinction;
    case 19: return &Uaniso;
    case 20: return &Asym2;
    case 21: return &TOFAlpha1;
    case 22: return &TOFAlpha2;
    case 23: return &TOFBeta1;
    case 24: return &TOFBeta2;
    case 25: return &Pore;
    case 26: return &Rough;
    case 28: return &GausDis[0];
    case 29: return &LorDis[0];
    case 30: return &GausDis[1];
    case 31: return &LorDis[1];
    case 32: return &GausDis[2];
    case 33: return &LorDis[2];
    default: return nullptr;
  }
}

TAtom* TPhase::AddAtom(std::unique_ptr<TAtom> atom) {
  Atoms.push_back(std::move(atom));
  return Atoms.back().get();
}

TAtom* TPhase::Atom(int n) const {
  if (n < 1 || n > AtomCount()) return nullptr;
  return Atoms[static_cast<std::size_t>(n - 1)].get();
}

void TPhase::Assign(const TPhase& other) {
  if (&other == this) return;
  Title = other.Title;
  SpaceGroup = other.SpaceGroup;
  A = other.A;
  B = other.B;
  C = other.C;
  Alpha = other.Alpha;
  Beta = other.Beta;
  Gamma = other.Gamma;
  Scale = other.Scale;
  IsoThermal = other.IsoThermal;
  Z = other.Z;
  CalcMethod = other.CalcMethod;
  // Replace, not append: assigning a phase onto one with atoms must not
  // leave duplicates.
  std::vector<std::unique_ptr<TAtom>> copies;
  copies.reserve(other.Atoms.size());
  for (const auto& a : other.Atoms) copies.push_back(std::make_unique<TAtom>(*a));
  Atoms = std::move(copies);
}

float* TPhase::Value(int t) {
  switch (t) {
    case 1: return &Scale;
    case 2: return &IsoThermal;
    case 6: return &A;
    case 7: return &B;
    case 8: return &C;
    case 9: return &Alpha;
    case 10: return &Beta;
    case 11: return &Gamma;
    default: return nullptr;
  }
}

// ---------------------------------------------------------------------------
// Parameters and constraints

void TParameter::SetAddress(int histogram, int phase, int atom, int type, double code) {
  if (!FitsSingle(code)) throw EOverflow("Floating point overflow");
  float c = std::fabs(static_cast<float>(code));
  float tens = std::trunc(c / 10.0f);
  if (tens >= 2147483648.0f) throw EOverflow("Floating point overflow");
  int number = static_cast<int>(tens);
  float m = c - 10.0f * static_cast<float>(number);
  if (m < 0) {  // a quotient rounded up to the next integer
    --number;
    m += 10.0f;
  }
  if (m == 0) m = 1;
  if (code < 0) m = -m;

  Histogram = histogram;
  Phase = phase;
  Atom = atom;
  ParamType = type;
  Number = number;
  Multiplier = m;
  LowLimit = -999.9f;
  HighLimit = -999.9f;

  Kind = pkInvalid;
  if (histogram != 0 && phase == 0 && atom == 0)
    Kind = pkHistogram;
  else if (histogram != 0 && phase == ScatterPhase && atom != 0)
    Kind = pkScatter;
  else if (atom != 0 && histogram == 0 && phase != 0)
    Kind = pkAtom;
  else if (phase != 0 && histogram != 0 && atom == 0)
    Kind = pkSample;
  else if (phase != 0 && histogram == 0 && atom == 0)
    Kind = pkPhase;
}

bool TParameter::SameAddress(const TParameter& other) const {
  return HasAddress(other.Histogram, other.Phase, other.Atom, other.ParamType);
}

double MakeCode(int number, double multiplier) {
  return RealSign(multiplier) * (std::fabs(multiplier) + 10.0 * number);
}

void TParameterList::Clear() {
  Refined.clear();
  Constraints.clear();
}

int TParameterList::IndexOfParameter(const TParameter& p) const {
  for (int i = ParameterCount() - 1; i >= 0; --i)
    if (Refined[static_cast<std::size_t>(i)]->SameAddress(p)) return i;
  return -1;
}

int TParameterList::IndexOfAddress(int h, int p, int a, int t) const {
  for (int i = 0; i < ParameterCount(); ++i)
    if (Refined[static_cast<std::size_t>(i)]->HasAddress(h, p, a, t)) return i;
  return -1;
}

void TParameterList::AppendParameter(int h, int p, int a, int t, double code) {
  Refined.push_back(std::make_unique<TParameter>(h, p, a, t, code));
}

void TParameterList::AddParameter(int h, int p, int a, int t, double code) {
  if (code == 0 || IndexOfAddress(h, p, a, t) >= 0) return;
  AppendParameter(h, p, a, t, code);
}

int TParameterList::FindConstraintByFirst(int h, int p, int a, int t) const {
  for (int i = 0; i < ConstraintCount(); ++i)
    if (Constraints[static_cast<std::size_t>(i)]->First.HasAddress(h, p, a, t)) return i;
  return -1;
}

int TParameterList::FindConstraintBySecond(int h, int p, int a, int t) const {
  for (int i = 0; i < ConstraintCount(); ++i)
    if (Constraints[static_cast<std::size_t>(i)]->Second.HasAddress(h, p, a, t)) return i;
  return -1;
}

int TParameterList::FindConstraint(const TParameter& p1, const TParameter& p2) const {
  for (int i = ConstraintCount() - 1; i >= 0; --i) {
    const TConstraint& c = *Constraints[static_cast<std::size_t>(i)];
    if ((c.First.SameAddress(p1) && c.Second.SameAddress(p2)) || (c.First.SameAddress(p2) && c.Second.SameAddress(p1)))
      return i;
  }
  return -1;
}

bool TParameterList::IsInConstraint(int h, int p, int a, int t) const {
  return FindConstraintByFirst(h, p, a, t) >= 0 || FindConstraintBySecond(h, p, a, t) >= 0;
}

void TParameterList::RemoveRefined(int h, int p, int a, int t) {
  std::erase_if(Refined, [&](const std::unique_ptr<TParameter>& q) { return q->HasAddress(h, p, a, t); });
}

void TParameterList::DeleteConstraint(int i) {
  if (i < 0 || i >= ConstraintCount()) return;
  const TConstraint& c = *Constraints[static_cast<std::size_t>(i)];
  for (const TParameter* m : {&c.First, &c.Second})
    if (IndexOfParameter(*m) < 0) AppendParameter(m->Histogram, m->Phase, m->Atom, m->ParamType, 1);
  Constraints.erase(Constraints.begin() + i);
}

void TParameterList::SetRefined(int h, int p, int a, int t, bool on) {
  if (on) {
    if (IndexOfAddress(h, p, a, t) < 0 && !IsInConstraint(h, p, a, t)) AppendParameter(h, p, a, t, 0);
    return;
  }
  // Constraints that tie this address to another one go; the other member stays refined.
  for (int i = ConstraintCount() - 1; i >= 0; --i)
    if (Constraints[static_cast<std::size_t>(i)]->Second.HasAddress(h, p, a, t)) DeleteConstraint(i);
  // The first dependant of this address takes its place as first member of the others.
  int k = FindConstraintByFirst(h, p, a, t);
  if (k >= 0) {
    TParameter promoted = Constraints[static_cast<std::size_t>(k)]->Second;
    if (IndexOfParameter(promoted) < 0)
      AppendParameter(promoted.Histogram, promoted.Phase, promoted.Atom, promoted.ParamType, 1);
    for (int i = k + 1; i < ConstraintCount(); ++i) {
      TParameter& first = Constraints[static_cast<std::size_t>(i)]->First;
      if (first.HasAddress(h, p, a, t))
        first.SetAddress(promoted.Histogram, promoted.Phase, promoted.Atom, promoted.ParamType, 1);
    }
    Constraints.erase(Constraints.begin() + k);
  }
  RemoveRefined(h, p, a, t);
}

void TParameterList::AddConstraint(const TParameter& p1, const TParameter& p2) { AddConstraintImpl(p1, p2, true); }

void TParameterList::AddConstraintImpl(TParameter p1, TParameter p2, bool unrefineSecond) {
  // A value tied to itself would lose its own refinement (and, as a leader,
  // rescale its dependants); there is nothing to tie.
  if (p1.SameAddress(p2) || FindConstraint(p1, p2) >= 0) return;
  auto isFirst = [&](const TParameter& q) { return FindConstraintByFirst(q.Histogram, q.Phase, q.Atom, q.ParamType) >= 0; };
  auto isSecond = [&](const TParameter& q) { return FindConstraintBySecond(q.Histogram, q.Phase, q.Atom, q.ParamType) >= 0; };
  bool p1First = isFirst(p1), p1Second = isSecond(p1);
  bool p2First = isFirst(p2), p2Second = isSecond(p2);
  double r = p2.Multiplier;

  if (!p1First && !p1Second && (p2First || p2Second)) {
    // p2 is already tied in: make p1 depend on p2 instead.
    p1.Multiplier = r == 0 ? 1.0f : static_cast<float>(1.0 / r);
    p2.Multiplier = 1;
    std::swap(p1, p2);
    p1First = isFirst(p1);
    p1Second = isSecond(p1);
    p2First = isFirst(p2);
    p2Second = isSecond(p2);
    r = p2.Multiplier;
  }

  if (p1First && p2First) {
    // Both lead constraints of their own: p2's dependants move onto p1 (their
    // shifts are ratio × r times p1's), and p2 itself is tied to p1 below.
    for (auto& c : Constraints) {
      if (c->First.SameAddress(p2)) {
        c->First.SetAddress(p1.Histogram, p1.Phase, p1.Atom, p1.ParamType, 1);
        c->Second.Multiplier = static_cast<float>(c->Second.Multiplier * r);
      }
    }
    p2First = false;
  }

  if (p2First || p2Second) return;

  TParameter first = p1;
  double ratio = r;
  int chained = FindConstraintBySecond(p1.Histogram, p1.Phase, p1.Atom, p1.ParamType);
  if (chained < 0) {
    if (IndexOfParameter(p1) < 0) AppendParameter(p1.Histogram, p1.Phase, p1.Atom, p1.ParamType, 1);
  } else {
    const TConstraint& c = *Constraints[static_cast<std::size_t>(chained)];
    first = c.First;
    ratio = r * c.Second.Multiplier;
  }
  auto k = std::make_unique<TConstraint>();
  k->First.SetAddress(first.Histogram, first.Phase, first.Atom, first.ParamType, 1);
  k->Second.SetAddress(p2.Histogram, p2.Phase, p2.Atom, p2.ParamType, 1);
  // The ratio is kept exactly; the file writer reports one it cannot hold.
  k->Second.Multiplier = ratio == 0 ? 1.0f : static_cast<float>(ratio);
  Constraints.push_back(std::move(k));
  // A constrained value is not refined on its own as well.
  if (unrefineSecond) RemoveRefined(p2.Histogram, p2.Phase, p2.Atom, p2.ParamType);
}

double TParameterList::GetCode(int h, int p, int a, int t) const {
  int i = IndexOfAddress(h, p, a, t);
  if (i >= 0) {
    const TParameter& q = *Refined[static_cast<std::size_t>(i)];
    return MakeCode(q.Number, q.Multiplier);
  }
  int c = FindConstraintBySecond(h, p, a, t);
  if (c >= 0) {
    const TConstraint& k = *Constraints[static_cast<std::size_t>(c)];
    int f = IndexOfParameter(k.First);
    int n = f >= 0 ? Refined[static_cast<std::size_t>(f)]->Number : 0;
    return MakeCode(n, k.Second.Multiplier);
  }
  return 0;
}

void TParameterList::Renumber() {
  for (std::size_t i = 0; i < Refined.size(); ++i) Refined[i]->Number = static_cast<int>(i + 1);
}

void TParameterList::RenumberAtoms(int p, const std::vector<int>& NewNumbers) {
  auto isAtomOf = [p](const TParameter& q) { return q.Kind == pkAtom && q.Histogram == 0 && q.Phase == p && q.Atom >= 1; };
  auto newNumber = [&](int a) { return a <= static_cast<int>(NewNumbers.size()) ? NewNumbers[static_cast<std::size_t>(a - 1)] : 0; };
  // The deleted atoms' references first, while every address still has its old number.
  std::vector<std::array<int, 2>> gone;
  auto collect = [&](const TParameter& q) {
    if (isAtomOf(q) && newNumber(q.Atom) == 0) gone.push_back({q.Atom, q.ParamType});
  };
  for (const auto& q : Refined) collect(*q);
  for (const auto& c : Constraints) {
    collect(c->First);
    collect(c->Second);
  }
  for (const auto& [a, t] : gone) SetRefined(0, p, a, t, false);
  auto move = [&](TParameter& q) {
    if (isAtomOf(q)) q.Atom = newNumber(q.Atom);
  };
  for (auto& q : Refined) move(*q);
  for (auto& c : Constraints) {
    move(c->First);
    move(c->Second);
  }
}

void TParameterList::ResolveCodes(int limit) {
  std::erase_if(Refined, [&](const std::unique_ptr<TParameter>& q) { return q->Number > limit; });
  // Positions sharing each non-zero number, in list order; the first of each
  // group stays refined and the others are constrained to it.
  std::map<int, std::vector<TParameter*>> groups;
  for (auto& q : Refined)
    if (q->Number != 0) groups[q->Number].push_back(q.get());
  std::vector<TParameter*> leaders;
  for (auto& q : Refined)
    if (q->Number != 0 && groups[q->Number].front() == q.get()) leaders.push_back(q.get());
  // Without earlier constraints every member is new to the list and no leader
  // is a second member, so each follower is tied straight to its leader (as
  // AddConstraint would tie it) without searching the lists.
  const bool fresh = Constraints.empty();
  for (TParameter* leader : leaders) {
    auto& group = groups[leader->Number];
    for (std::size_t j = 1; j < group.size(); ++j) {
      const TParameter& q = *group[j];
      if (fresh) {
        auto k = std::make_unique<TConstraint>();
        k->First.SetAddress(leader->Histogram, leader->Phase, leader->Atom, leader->ParamType, 1);
        k->Second.SetAddress(q.Histogram, q.Phase, q.Atom, q.ParamType, 1);
        k->Second.Multiplier = q.Multiplier == 0 ? 1.0f : q.Multiplier;
        Constraints.push_back(std::move(k));
      } else {
        AddConstraintImpl(*leader, q, false);
      }
      group[j]->Number = 0;
    }
  }
  std::erase_if(Refined, [](const std::unique_ptr<TParameter>& q) { return q->Number == 0; });
}

std::string HistogramParameterName(int type) {
  if (type >= 2 && type <= 25) return "Background " + std::to_string(type - 2);
  switch (type) {
    case 1: return "Zero";
    case 26: return "Histogram Scale";
    case 27: return "Wavelength 1/DifC";
    case 28: return "DifA";
    case 29: return "Sample Displacement";
    default: return {};
  }
}

std::string PhaseParameterName(int type) {
  switch (type) {
    case 1: return "Phase Scale";
    case 2: return "Isotropic Thermal";
    case 6: return "a";
    case 7: return "b";
    case 8: return "c";
    case 9: return "Alpha";
    case 10: return "Beta";
    case 11: return "Gamma";
    default: return {};
  }
}

std::string SampleParameterName(int type) {
  static const char* const names[] = {
      nullptr,          nullptr,       nullptr,          "U",          "V",          "W",
      nullptr,          nullptr,       nullptr,          nullptr,      nullptr,      nullptr,
      "Preffered Orientation", "R value/Flat Plate P0", "Asymmetery 1", "Gam-0", "Gam-1", "Gam-2",
      "Extinction",     "Uaniso",      "Asymmetery 2",   "TOF Alpha-1", "TOF Alpha-2", "TOF Beta-1",
      "TOF Beta-2",     "Flat Plate Pore", "Flat Plate Rough", "Oh No!", "Gaus Dis 1", "Lor Dis 1",
      "Gaus Dis 2",     "Lor Dis 2",   "Gaus Dis 3",     "Lor Dis 3"};
  if (type < 0 || type >= static_cast<int>(std::size(names)) || !names[type]) return {};
  return names[type];
}

std::string AtomParameterName(int type) {
  static const char* const names[] = {"x", "y", "z", "B", "n", "B11", "B22", "B33", "B12", "B13", "B23"};
  if (type < 1 || type > 11) return {};
  return names[type - 1];
}

static std::string Num3(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%3d", n);
  return buf;
}

std::string ParameterDescription(const TParameter& q) {
  switch (q.Kind) {
    case pkHistogram: return "H" + Num3(q.Histogram) + ": " + HistogramParameterName(q.ParamType);
    case pkPhase: return "P" + Num3(q.Phase) + ": " + PhaseParameterName(q.ParamType);
    case pkAtom: return "P" + Num3(q.Phase) + ": " + AtomParameterName(q.ParamType);
    case pkSample: return "H" + Num3(q.Histogram) + ": P" + Num3(q.Phase) + ": " + SampleParameterName(q.ParamType);
    case pkScatter:
      if (q.Atom == 1) return "H" + Num3(q.Histogram) + ": f' :";
      if (q.Atom == 2) return "H" + Num3(q.Histogram) + ": f'' :";
      return "Error in Scatter constraint";
    default:
      ShowMessage("Serious Constriaint error");
      return {};
  }
}

std::string ParameterTypeName(int histogram, int phase, int type) {
  if (histogram == 0 && phase > 0) {
    static const char* const names[] = {
        "Phase Scale", "Isotropic Thermal", "U",  "V",       "W",          "a",      "b",     "c",
        "alpha",       "beta",              "gamma", "Preferred orientation", "R Absorption value", "Asymetry 1",
        "Gam-0",       "Gam-1",             "Gam-2", "Extinction", "Uaniso", "Asymmetry 2", "TOF alpha-1",
        "TOF alpha-2", "TOF beta-1",        "TOF beta-2", "Flat plate Pore", "Flat plate Rough", "Oh No!",
        "Gaus Dis 1",  "Lor Dis 1",         "Gaus Dis 2", "Lor Dis 2", "Gaus Dis 3", "Lor Dis 3"};
    if (type >= 1 && type <= static_cast<int>(std::size(names))) return names[type - 1];
  } else if (phase == 0 && histogram > 0) {
    if (type >= 2 && type <= 13) return "Background " + std::to_string(type - 2);
    switch (type) {
      case 1: return "Zero";
      case 14: return "Histogram Scale";
      case 15: return "Wavelength 1 or DIFC";
      case 16: return "Wavelength 2 or DIFA";
      default: break;
    }
  }
  return "undefined";
}

// ---------------------------------------------------------------------------
// Model root

void TRietveld::Reset() {
  Histograms.clear();
  Phases.clear();
  Samples.clear();
  Parameters.Clear();
  Title = "A New refinement";
  Cycles = 30;
  EPS = 0.1f;
  Rel1 = Rel2 = Rel3 = Rel4 = 0.9f;
  IPC = MAT = ControlFlag5 = 1;
  PlotFile = 2;
  Rmin = Rmax = F2Limit = 0;
  AsymLimit = 20.0f;
}

int TRietveld::IndexOfSample(int h, int p) const {
  for (int i = static_cast<int>(Samples.size()) - 1; i >= 0; --i) {
    const TSample& s = *Samples[static_cast<std::size_t>(i)];
    if (s.Histogram == h && s.Phase == p) return i;
  }
  return -1;
}

TSample* TRietveld::FindSample(int h, int p) const {
  int i = IndexOfSample(h, p);
  return i < 0 ? nullptr : Samples[static_cast<std::size_t>(i)].get();
}

THistogram* TRietveld::Histogram(int n) const {
  if (n < 1 || n > HistogramCount()) return nullptr;
  return Histograms[static_cast<std::size_t>(n - 1)].get();
}

TPhase* TRietveld::Phase(int n) const {
  if (n < 1 || n > PhaseCount()) return nullptr;
  return Phases[static_cast<std::size_t>(n - 1)].get();
}

THistogram* TRietveld::AddHistogram(std::unique_ptr<THistogram> histogram) {
  Histograms.push_back(std::move(histogram));
  return Histograms.back().get();
}

TPhase* TRietveld::AddPhase(std::unique_ptr<TPhase> phase) {
  Phases.push_back(std::move(phase));
  return Phases.back().get();
}

TSample* TRietveld::AddSample(std::unique_ptr<TSample> sample) {
  Samples.push_back(std::move(sample));
  return Samples.back().get();
}

THistogram* TRietveld::NewHistogram() {
  THistogram* h = AddHistogram(std::make_unique<THistogram>());
  for (int p = 1; p <= PhaseCount(); ++p) NewSample(HistogramCount(), p);
  return h;
}

TPhase* TRietveld::NewPhase() {
  TPhase* ph = AddPhase(std::make_unique<TPhase>());
  for (int h = 1; h <= HistogramCount(); ++h) NewSample(h, PhaseCount());
  return ph;
}

TSample* TRietveld::NewSample(int h, int p) {
  auto s = std::make_unique<TSample>();
  s->Histogram = h;
  s->Phase = p;
  return AddSample(std::move(s));
}

void TRietveld::DeleteSample(int h, int p) {
  int i = IndexOfSample(h, p);
  if (i >= 0) Samples.erase(Samples.begin() + i);
}

void TRietveld::DeleteHistogram(int n) {
  if (n < 1 || n > HistogramCount()) return;
  std::erase_if(Samples, [&](const std::unique_ptr<TSample>& s) { return s->Histogram == n; });
  for (auto& s : Samples)
    if (s->Histogram > n) --s->Histogram;
  auto& cons = Parameters.Constraints;
  for (int i = Parameters.ConstraintCount() - 1; i >= 0; --i) {
    const TConstraint& c = *cons[static_cast<std::size_t>(i)];
    if (c.First.Histogram == n || c.Second.Histogram == n) Parameters.DeleteConstraint(i);
  }
  for (auto& c : cons)
    for (TParameter* m : {&c->First, &c->Second})
      if (m->Histogram > n) --m->Histogram;
  std::erase_if(Parameters.Refined, [&](const std::unique_ptr<TParameter>& q) { return q->Histogram == n; });
  for (auto& q : Parameters.Refined)
    if (q->Histogram > n) --q->Histogram;
  Histograms.erase(Histograms.begin() + (n - 1));
}

void TRietveld::DeletePhase(int n) {
  if (n < 1 || n > PhaseCount()) return;
  // The phase field of a scattering address is a marker, not a phase number.
  auto ofPhase = [&](const TParameter& q) { return q.Kind != pkScatter && q.Phase == n; };
  auto lower = [&](TParameter& q) {
    if (q.Kind != pkScatter && q.Phase > n) --q.Phase;
  };
  std::erase_if(Samples, [&](const std::unique_ptr<TSample>& s) { return s->Phase == n; });
  for (auto& s : Samples)
    if (s->Phase > n) --s->Phase;
  std::erase_if(Parameters.Refined, [&](const std::unique_ptr<TParameter>& q) { return ofPhase(*q); });
  for (auto& q : Parameters.Refined) lower(*q);
  std::erase_if(Parameters.Constraints,
                [&](const std::unique_ptr<TConstraint>& c) { return ofPhase(c->First) || ofPhase(c->Second); });
  for (auto& c : Parameters.Constraints) {
    lower(c->First);
    lower(c->Second);
  }
  Phases.erase(Phases.begin() + (n - 1));
}

float* TRietveld::ValuePtr(int h, int p, int a, int t, bool forWrite) const {
  if (h >= 1 && p == 0 && a == 0) {
    THistogram* hist = Histogram(h);
    return hist ? hist->Value(t) : nullptr;
  }
  if (h == 0 && p >= 1 && a == 0) {
    TPhase* ph = Phase(p);
    return ph ? ph->Value(t) : nullptr;
  }
  if (h >= 1 && p == ScatterPhase && a >= 1) {
    THistogram* hist = Histogram(h);
    TScatterFactor* e = hist ? hist->ScatterFactors.Entry(a) : nullptr;
    if (!e) return nullptr;
    if (t == 1) return &e->FPrime;
    if (t == 2) return &e->FDoublePrime;
    return nullptr;
  }
  if (h >= 1 && p >= 1 && a == 0) {
    if (t == 1 || t == 2 || (t >= 6 && t <= 11)) {
      if (forWrite || !Histogram(h)) return nullptr;
      TPhase* ph = Phase(p);
      return ph ? ph->Value(t) : nullptr;
    }
    if (!Histogram(h) || !Phase(p)) return nullptr;
    TSample* s = FindSample(h, p);
    return s ? s->Value(t) : nullptr;
  }
  if (h == 0 && p >= 1 && a >= 1) {
    TPhase* ph = Phase(p);
    TAtom* atom = ph ? ph->Atom(a) : nullptr;
    return atom ? atom->Value(t) : nullptr;
  }
  return nullptr;
}

float TRietveld::GetParameterValue(int h, int p, int a, int t) const {
  const float* v = ValuePtr(h, p, a, t, false);
  return v ? *v : 0.0f;
}

int TRietveld::SetParameterValue(int h, int p, int a, int t, float value) {
  if (float* v = ValuePtr(h, p, a, t, true)) *v = value;
  return 0;
}

bool TRietveld::IsRefined(int h, int p, int a, int t) const {
  return Parameters.IndexOfAddress(h, p, a, t) >= 0 || Parameters.FindConstraintBySecond(h, p, a, t) >= 0;
}

std::string TRietveld::DecoratedName(const TParameter& q) const {
  std::string name = ParameterDescription(q);
  if (q.Kind == pkAtom) {
    TPhase* ph = Phase(q.Phase);
    if (TAtom* atom = ph ? ph->Atom(q.Atom) : nullptr) name += " (" + atom->Label + ")";
  } else if (q.Kind == pkScatter) {
    THistogram* hist = Histogram(q.Histogram);
    if (TScatterFactor* e = hist ? hist->ScatterFactors.Entry(q.ParamType) : nullptr) name += e->Symbol;
  }
  return name;
}

std::string TRietveld::RefinedParameterName(int n) const {
  if (n < 1 || n > RefinedCount()) return {};
  return DecoratedName(*Parameters.Refined[static_cast<std::size_t>(n - 1)]);
}

std::string TRietveld::ConstraintMemberName(int n, int m) const {
  if (n < 1 || n > ConstraintCount()) return {};
  const TConstraint& c = *Parameters.Constraints[static_cast<std::size_t>(n - 1)];
  if (m == 1) return DecoratedName(c.First);
  if (m == 2) return DecoratedName(c.Second);
  return {};
}

bool TRietveld::AllCalculation() const {
  return std::all_of(Histograms.begin(), Histograms.end(), [](const auto& h) { return h->IsCalculation(); });
}

std::string InputLineHint(int group, int) {
  switch (group) {
    case 1: return "Title";
    case 2: return "nhist, nphase, ...";
    case 3: return "Control Options,...";
    case 4: return "Wavelengths,ratio,...";
    case 5: return "Ncycle,damping,thetas,...";
    default: return {};
  }
}
