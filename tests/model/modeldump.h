// Every stored field of a model as text, one per line, so that two models can
// be compared field by field with a readable difference. The reader's working
// values (Loaded, LineCounter, MaxCode) are left out.
#pragma once

#include <iomanip>
#include <locale>
#include <sstream>
#include <string>

#include "model/rietclass.h"

inline std::string DumpModel(const TRietveld& m) {
  std::ostringstream o;
  o.imbue(std::locale::classic());
  o << std::setprecision(9);
  auto arr = [&](const char* name, const auto& a) {
    o << name << '=';
    for (auto v : a) o << v << ' ';
    o << '\n';
  };
  auto pairs = [&](const char* name, const TPairList& l) {
    o << name << '=';
    for (const TPair& p : l.Items) o << '(' << p.X << ',' << p.Y << ')';
    o << '\n';
  };
  auto param = [&](const TParameter& q) {
    o << '[' << q.Histogram << ',' << q.Phase << ',' << q.Atom << ',' << q.ParamType << " k" << q.Kind << " n"
      << q.Number << " m" << q.Multiplier << ']';
  };
  o << "Title=" << m.Title << "\nCycles=" << m.Cycles << " EPS=" << m.EPS << " Rel=" << m.Rel1 << ' ' << m.Rel2
    << ' ' << m.Rel3 << ' ' << m.Rel4 << "\nFlags=";
  // Separated, so that a value of two digits cannot pass for two flags.
  for (int f : {m.IOT, m.IPL, m.IPC, m.MAT, m.ControlFlag5, m.LST1, m.LST2, m.LST3, m.IPL1, m.PlotFile, m.FourierFile,
                m.ReadFormat, m.Sync, m.SeparateData, m.RecycleLeBail, m.BackTerms, m.IPREF, m.PrintU, m.Strategy})
    o << f << ' ';
  o << "\nRmin=" << m.Rmin << " Rmax=" << m.Rmax
    << " Marquardt=" << m.Marquardt << " AsymLimit=" << m.AsymLimit << " F2Limit=" << m.F2Limit
    << " Skip=" << m.SkipLines1 << ',' << m.SkipLines2 << '\n';
  for (int i = 1; i <= m.HistogramCount(); ++i) {
    const THistogram& h = *m.Histogram(i);
    o << "H" << i << " Job=" << h.Job << " Aux=" << h.AuxOption << " Profile=" << h.Profile
      << " AbsModel=" << h.AbsorptionModel << " Illum=" << h.Illumination << " HasDisp=" << h.HasDisplacement
      << " Abs=" << h.Absorption << " Scale=" << h.Scale << " Range=" << h.Start << ',' << h.Step << ',' << h.Stop
      << " Zero=" << h.Zero << " Disp=" << h.Displacement << " Wave=" << h.Wavelength1 << ',' << h.Wavelength2
      << " Ratio=" << h.Ratio << " Base=" << h.BaseWidth << " Weight=" << h.Weighting << " Pol=" << h.Polarisation
      << '\n';
    arr("  Spectrum", h.IncidentSpectrum.Spectrum);
    pairs("  Excluded", h.Excluded.Regions);
    const TBackGround& bg = h.Background;
    o << "  Background Kind=" << bg.Kind << " Offset=" << bg.Offset << " Smooth=" << bg.SmoothCycles << ','
      << bg.SmoothSteps << '\n';
    arr("  Coefficients", bg.Coefficients);
    pairs("  Points", bg.Points);
    for (int e = 1; e <= h.ScatterFactors.Count(); ++e) {
      const TScatterFactor& s = *h.ScatterFactors.Entry(e);
      o << "  Scatter" << e << " '" << s.Symbol << "' Kind=" << s.TableKind << " f'=" << s.FPrime
        << " f''=" << s.FDoublePrime << '\n';
      arr("    Coefficients", s.Coefficients);
      pairs("    Table", s.Table);
    }
  }
  for (int i = 1; i <= m.PhaseCount(); ++i) {
    const TPhase& p = *m.Phase(i);
    o << "P" << i << " '" << p.Title << "' '" << p.SpaceGroup << "' Cell=" << p.A << ',' << p.B << ',' << p.C << ','
      << p.Alpha << ',' << p.Beta << ',' << p.Gamma << " Scale=" << p.Scale << " Iso=" << p.IsoThermal
      << " Z=" << p.Z << " Calc=" << p.CalcMethod << '\n';
    for (const auto& a : p.Atoms) {
      o << "  Atom '" << a->Label << "' '" << a->AtomType << "'";
      for (int t = 1; t <= 11; ++t) o << ' ' << *a->Value(t);
      o << '\n';
    }
  }
  for (const auto& sp : m.Samples) {
    const TSample& s = *sp;
    o << "S" << s.Histogram << ',' << s.Phase << " UVW=" << s.U << ',' << s.V << ',' << s.W << ',' << s.Uaniso
      << " Gam=" << s.Gam0 << ',' << s.Gam1 << ',' << s.Gam2 << " TOF=" << s.TOFAlpha1 << ',' << s.TOFAlpha2 << ','
      << s.TOFBeta1 << ',' << s.TOFBeta2 << " AbsR=" << s.AbsorptionR << " Pore=" << s.Pore << ',' << s.Rough
      << " Asym=" << s.Asym1 << ',' << s.Asym2 << " Ext=" << s.Extinction << " PO=" << s.PO << ' ' << s.POH << ','
      << s.POK << ',' << s.POL << " UHKL=" << s.UH << ',' << s.UK << ',' << s.UL << " Broad=" << s.BroadeningModel
      << " Disl=" << s.DislocationCount << '\n';
    for (int r = 0; r < 3; ++r) {
      const std::size_t ri = static_cast<std::size_t>(r);
      o << "  Row" << r + 1;
      for (const auto* hkl : {&s.DislocationHKL1, &s.DislocationHKL2, &s.DislocationHKL3})
        for (int v : (*hkl)[ri]) o << ' ' << v;
      o << " V=" << s.DislocationValue1[ri] << ',' << s.DislocationValue2[ri] << " GL=" << s.GausDis[ri] << ','
        << s.LorDis[ri] << '\n';
    }
  }
  for (const auto& q : m.Parameters.Refined) {
    o << "Refined ";
    param(*q);
    o << '\n';
  }
  for (const auto& c : m.Parameters.Constraints) {
    o << "Constraint ";
    param(c->First);
    param(c->Second);
    o << '\n';
  }
  return o.str();
}
