#include "core/report.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/limits.h"
#include "core/pattern.h"
#include "core/refinement.h"
#include "core/textformat.h"
#include "model/rietclass.h"

namespace {

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// A neighbour of an atom: its label, the symmetry image and the Cartesian vector to it.
struct TNeighbour {
  std::string Label;
  TVec3 Vector;
  double Distance;
};

// What one listing file may still spend: positions tried and lines listed,
// and why it was cut (empty while it is whole).
struct TBondBudget {
  TBondLimits Limits;
  double Trials = 0;
  std::size_t Listed = 0, MaxListed = 0;
  const char* What = "";
  std::string Cut;
  bool Stopped = false;

  void Stop(const std::string& why) {
    if (Cut.empty()) Cut = why;
    Stopped = true;
  }
  bool Spend(double trials) {
    if (Trials + trials > Limits.Trials) {
      Stop("the search would try more than " + LimitText(Limits.Trials) + " positions");
      return false;
    }
    Trials += trials;
    return true;
  }
  // Counts a listed line; false once the file holds as many as it may.
  bool List() {
    if (Listed >= MaxListed) {
      Stop("more than " + std::to_string(MaxListed) + " " + What);
      return false;
    }
    ++Listed;
    return true;
  }
};

// The neighbour search over the atoms of one phase, its radius capped.
class TBondSearch {
public:
  TBondSearch(const TPattern& pattern, int p, double rMin, double rMax, TBondBudget& budget)
      : FPhase(*pattern.Model().Phase(p)), FCell(pattern.Cell(p)), FGroup(pattern.Group(p)), FBudget(budget),
        FRMin(rMin) {
    FRMax = std::isfinite(rMax) && rMax > 0 ? rMax : 3.0;
    if (FRMax > FBudget.Limits.Distance) {
      FRMax = FBudget.Limits.Distance;
      // Not a stop: the nearer distances are listed in full.
      if (FBudget.Cut.empty())
        FBudget.Cut = "distances searched up to " + LimitText(FRMax) + " Angstrom only";
    }
    if (!FCell.IsValid()) return;
    const auto& rec = FCell.ReciprocalMetric();
    double box = 1;
    for (int i = 0; i < 3; ++i) {
      // A real first: a nearly flat cell asks for more translations than an int holds.
      const double span = std::ceil(FRMax * std::sqrt(rec[i][i])) + 1;
      if (!(span <= 1000)) {
        FBudget.Stop("the cell needs too many lattice translations");
        return;
      }
      FSpan[i] = static_cast<int>(span);
      box *= 2 * span + 1;
    }
    FBox = box;
    FUsable = true;
  }

  // The neighbours of atom a, nearest first; false when the budget stops the search.
  bool Neighbours(int a, std::vector<TNeighbour>& list) {
    list.clear();
    if (!FUsable || FBudget.Stopped) return false;
    if (FOrbits.empty()) {
      if (!FBudget.Spend(double(FPhase.AtomCount()) * FGroup.Order() * FGroup.Order())) return false;
      for (int b = 1; b <= FPhase.AtomCount(); ++b) {
        const TAtom& other = *FPhase.Atom(b);
        FOrbits.push_back(FGroup.Orbit({other.X, other.Y, other.Z}));
        FSites += double(FOrbits.back().size());
      }
    }
    if (!FBudget.Spend(FSites * FBox)) return false;
    const TAtom& centre = *FPhase.Atom(a);
    const TVec3 x0{centre.X, centre.Y, centre.Z};
    for (int b = 1; b <= FPhase.AtomCount(); ++b) {
      const std::string label = Trim(FPhase.Atom(b)->Label);
      for (const TVec3& y : FOrbits[static_cast<std::size_t>(b - 1)])
        for (int i = -FSpan[0]; i <= FSpan[0]; ++i)
          for (int j = -FSpan[1]; j <= FSpan[1]; ++j)
            for (int k = -FSpan[2]; k <= FSpan[2]; ++k) {
              const TVec3 d{y[0] + i - x0[0], y[1] + j - x0[1], y[2] + k - x0[2]};
              const double r = FCell.Length(d);
              if (r < 1e-4 || r < FRMin || r > FRMax) continue;
              if (list.size() >= MaxListedDistances) {  // no file would list more of them
                FBudget.Stop("more than " + std::to_string(MaxListedDistances) + " neighbours of one atom");
                list.clear();
                return false;
              }
              list.push_back({label, FCell.Cartesian(d), r});
            }
    }
    std::sort(list.begin(), list.end(), [](const TNeighbour& l, const TNeighbour& r) { return l.Distance < r.Distance; });
    return true;
  }

private:
  const TPhase& FPhase;
  const TCell FCell;
  const TSpaceGroup& FGroup;
  TBondBudget& FBudget;
  double FRMin, FRMax = 3.0;
  int FSpan[3] = {0, 0, 0};
  double FBox = 0, FSites = 0;
  bool FUsable = false;
  std::vector<std::vector<TVec3>> FOrbits;
};

}  // namespace

void WriteListingStart(std::ostream& out, const TPattern& pattern, const TRefinement& refinement) {
  const TRietveld& model = pattern.Model();
  out << model.Title << "\n\n";
  out << Printf("Histograms %d, phases %d, refined parameters %d, constraints %d\n", model.HistogramCount(),
                model.PhaseCount(), refinement.VariableCount(), model.ConstraintCount());
  for (int h = 1; h <= pattern.HistogramCount(); ++h) {
    const THistogram& hist = *model.Histogram(h);
    const THistogramData& data = pattern.Data(h);
    out << Printf("\nHistogram %d: job %d, profile %d, %zu points from %.4f to %.4f%s\n", h, hist.Job, hist.Profile,
                  data.X.size(), data.X.empty() ? 0.0 : data.X.front(), data.X.empty() ? 0.0 : data.X.back(),
                  data.Calculation ? " (calculation only)" : "");
    for (const TPhaseView& view : pattern.Views(h))
      out << Printf("  phase %d: %zu reflections\n", view.Phase, view.Reflections.size());
  }
  for (int p = 1; p <= model.PhaseCount(); ++p) {
    const TPhase& phase = *model.Phase(p);
    const TSpaceGroup& group = pattern.Group(p);
    out << Printf("\nPhase %d: %s\n  space group %s (%s, No. %d), %d operations%s\n", p, phase.Title.c_str(),
                  phase.SpaceGroup.c_str(), group.Name().c_str(), group.Number(), group.Order(),
                  group.IsCentrosymmetric() ? ", centrosymmetric" : "");
    out << Printf("  cell %.5f %.5f %.5f %.4f %.4f %.4f, volume %.4f\n", phase.A, phase.B, phase.C, phase.Alpha,
                  phase.Beta, phase.Gamma, pattern.Cell(p).Volume());
    for (int a = 1; a <= phase.AtomCount(); ++a) {
      const TAtom& atom = *phase.Atom(a);
      out << Printf("  %-4s %-4s %9.5f %9.5f %9.5f  B %7.4f  N %7.4f  site multiplicity %d\n", atom.Label.c_str(),
                    atom.AtomType.c_str(), atom.X, atom.Y, atom.Z, atom.B, atom.N,
                    group.SiteMultiplicity({atom.X, atom.Y, atom.Z}));
    }
  }
  out << "\nRefined parameters:\n";
  for (const TVariable& v : refinement.Variables()) {
    out << Printf("  %3d %-40s", v.Number, v.Name.c_str());
    if (v.Members.size() > 1) out << Printf(" with %zu constrained", v.Members.size() - 1);
    out << "\n";
  }
  out.flush();
}

void WriteListingCycle(std::ostream& out, const TPattern& pattern, const TRefinement& refinement, int cycle,
                       bool converged) {
  out << Printf("\nCycle %d\n", cycle);
  for (int h = 1; h <= pattern.HistogramCount(); ++h) {
    const TAgreement a = pattern.Agreement(h, refinement.VariableCount());
    out << Printf("  histogram %d: Rp %8.3f  Rwp %8.3f  Rexp %8.3f  chi2 %10.4f  (%d points)\n", h, a.Rp, a.Rwp,
                  a.Rexp, a.Chi2, a.Points);
  }
  out << Printf("  weighted sum of squares %.6g -> %.6g\n", refinement.SumBefore(), refinement.SumAfter());
  out << "  parameter                                     value          shift          esd   shift/esd\n";
  for (const TVariable& v : refinement.Variables()) {
    const double value = v.Members.front().Value != nullptr ? *v.Members.front().Value : 0.0;
    const double ratio = v.Esd > 0 ? v.LastShift / v.Esd : 0.0;
    out << Printf("  %3d %-38s %14.6g %14.6g %12.6g %8.3f\n", v.Number, v.Name.c_str(), value, v.LastShift, v.Esd,
                  ratio);
  }
  if (converged) out << "  Converged.\n";
  out.flush();
}

void WriteListingEnd(std::ostream& out, TPattern& pattern, const TRefinement& refinement) {
  (void)refinement;
  for (int h = 1; h <= pattern.HistogramCount(); ++h) {
    for (const TPhaseView& view : pattern.Views(h)) {
      out << Printf("\nReflections of phase %d in histogram %d\n     h    k    l  mult        d        x       |F|^2 calc     |F|^2 obs\n",
                    view.Phase, h);
      const std::vector<double> obs = pattern.ObservedF2(h, view);
      double num = 0, den = 0;
      for (std::size_t k = 0; k < view.Reflections.size(); ++k) {
        const TReflection& r = view.Reflections[k];
        // Only reflections inside the measured range: beyond it nothing was
        // observed, and an extrapolated intensity would falsify R-Bragg.
        const double x = pattern.MarkerPosition(h, view, r);
        if (!InMeasuredRange(pattern, h, x)) continue;
        out << Printf("  %4d %4d %4d %5d %8.5f %10.4f %14.5g %14.5g\n", r.Hkl[0], r.Hkl[1], r.Hkl[2], r.Multiplicity,
                      r.D, x, r.F2, obs[k]);
        num += std::fabs(obs[k] - r.F2) * r.Multiplicity;
        den += obs[k] * r.Multiplicity;
      }
      if (den > 0) out << Printf("  R-Bragg %.3f\n", 100.0 * num / den);
    }
  }
  out.flush();
}

std::string WriteDistances(std::ostream& out, const TPattern& pattern, double rMin, double rMax,
                           const TBondLimits& limits) {
  TBondBudget budget;
  budget.Limits = limits;
  budget.MaxListed = limits.Lines > 0 ? limits.Lines : MaxListedDistances;
  budget.What = "distances";
  const TRietveld& model = pattern.Model();
  for (int p = 1; p <= model.PhaseCount() && !budget.Stopped; ++p) {
    const TPhase& phase = *model.Phase(p);
    out << Printf("Phase %d: %s\n", p, phase.Title.c_str());
    TBondSearch search(pattern, p, rMin, rMax, budget);
    std::vector<TNeighbour> list;
    for (int a = 1; a <= phase.AtomCount() && !budget.Stopped; ++a) {
      out << Printf("  %s\n", Trim(phase.Atom(a)->Label).c_str());
      if (!search.Neighbours(a, list)) break;
      for (const TNeighbour& n : list) {
        if (!budget.List()) break;
        out << Printf("    %-4s %9.4f\n", n.Label.c_str(), n.Distance);
      }
    }
  }
  if (!budget.Cut.empty()) out << "Listing cut: " << budget.Cut << "\n";
  out.flush();
  return budget.Cut;
}

std::string WriteAngles(std::ostream& out, const TPattern& pattern, double rMin, double rMax,
                        const TBondLimits& limits) {
  TBondBudget budget;
  budget.Limits = limits;
  budget.MaxListed = limits.Lines > 0 ? limits.Lines : MaxListedAngles;
  budget.What = "angles";
  const TRietveld& model = pattern.Model();
  for (int p = 1; p <= model.PhaseCount() && !budget.Stopped; ++p) {
    const TPhase& phase = *model.Phase(p);
    out << Printf("Phase %d: %s\n", p, phase.Title.c_str());
    TBondSearch search(pattern, p, rMin, rMax, budget);
    std::vector<TNeighbour> list;
    for (int a = 1; a <= phase.AtomCount() && !budget.Stopped; ++a) {
      const std::string centre = Trim(phase.Atom(a)->Label);
      if (!search.Neighbours(a, list)) break;
      for (std::size_t i = 0; i < list.size() && !budget.Stopped; ++i)
        for (std::size_t j = i + 1; j < list.size(); ++j) {
          if (!budget.List()) break;
          const TVec3& u = list[i].Vector;
          const TVec3& v = list[j].Vector;
          const double c = (u[0] * v[0] + u[1] * v[1] + u[2] * v[2]) / (list[i].Distance * list[j].Distance);
          out << Printf("  %-4s %-4s %-4s %9.3f\n", list[i].Label.c_str(), centre.c_str(), list[j].Label.c_str(),
                        std::acos(std::clamp(c, -1.0, 1.0)) / DegToRad);
        }
    }
  }
  if (!budget.Cut.empty()) out << "Listing cut: " << budget.Cut << "\n";
  out.flush();
  return budget.Cut;
}
