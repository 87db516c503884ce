#include <gtest/gtest.h>

#include "model/rietclass.h"
#include "support/dialogresponder.h"

namespace {

// ---------------------------------------------------------------------------
// Records

TEST(ModelRecords, Defaults) {
  TPhase ph;
  EXPECT_EQ(ph.Title, "A new phase");
  EXPECT_EQ(ph.SpaceGroup, "P 1");
  EXPECT_FLOAT_EQ(ph.A, 3.8f);
  EXPECT_FLOAT_EQ(ph.C, 3.8f);
  EXPECT_FLOAT_EQ(ph.Gamma, 90.0f);
  EXPECT_FLOAT_EQ(ph.Scale, 0.01f);
  EXPECT_EQ(ph.Z, 1);
  EXPECT_EQ(ph.AtomCount(), 0);

  TSample s;
  EXPECT_EQ(s.BroadeningModel, 3);
  EXPECT_FLOAT_EQ(s.PO, 1.0f);
  EXPECT_FLOAT_EQ(s.POH, 0);
  EXPECT_FLOAT_EQ(s.POK, 0);
  EXPECT_FLOAT_EQ(s.POL, 1);
  EXPECT_FLOAT_EQ(s.U, 0.08f);
  EXPECT_FLOAT_EQ(s.V, -0.15f);

  THistogram h;
  EXPECT_EQ(h.Profile, 4);
  EXPECT_FLOAT_EQ(h.Wavelength1, 1.5414f);
  EXPECT_FLOAT_EQ(h.Wavelength2, 1.5414f);
  EXPECT_EQ(h.Background.SmoothCycles, 30);
  EXPECT_EQ(h.Background.Kind, 0);

  TAtom a;
  EXPECT_EQ(a.Label, "O   ");
  EXPECT_EQ(a.AtomType, "O   ");
  EXPECT_FLOAT_EQ(a.B, 0.6f);
  EXPECT_FLOAT_EQ(*a.Value(5), 1.0f);
  EXPECT_EQ(a.Value(12), nullptr);

  EXPECT_EQ(TScatterFactor().Symbol, "????");
  EXPECT_EQ(BackgroundKindName(-7), "Automatic smoothed");
  EXPECT_EQ(ProfileName(7), "Jorgensen       (TOF)");
}

TEST(ModelRecords, PairListIndexes) {
  TPairList l;
  l.Add(3, 30);
  l.Add(1, 10);
  l.Add(2, 20);
  l.SetPair(5, 9, 9);  // outside: ignored
  l.SetPair(-1, 9, 9);
  EXPECT_EQ(l.Count(), 3);
  EXPECT_THROW(l.GetX(3), EListError);
  EXPECT_THROW(l.GetY(-1), EListError);
  EXPECT_THROW(l.Delete(3), EListError);
  l.SortByX();
  EXPECT_EQ(l.GetX(0), 1);
  EXPECT_EQ(l.GetY(2), 30);
  l.DeleteEqual(2, 21);  // no exact match
  EXPECT_EQ(l.Count(), 3);
  l.DeleteEqual(2, 20);
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l.GetX(1), 3);
}

TEST(ModelRecords, LimitsDropTheExcess) {
  TExcluded ex;
  ex.AddRegion(30, 20);
  EXPECT_EQ(ex.Regions.GetX(0), 20);
  EXPECT_EQ(ex.Regions.GetY(0), 30);
  ex.SetRegion(0, 30, 20);
  EXPECT_EQ(ex.Regions.GetX(0), 30);
  for (int i = 0; i < 60; ++i) ex.AddRegion(i, i + 1);
  EXPECT_EQ(ex.Count(), 50);
  ex.Delete(1);
  EXPECT_EQ(ex.Count(), 49);
  EXPECT_EQ(ex.Regions.GetX(0), 0);

  TBackGround bg;
  for (int i = 0; i < 55; ++i) bg.AddPoint(i, i);
  EXPECT_EQ(bg.PointCount(), 50);

  TScatterFactor sf;
  for (int i = 0; i < 55; ++i) sf.AddPoint(i, i);
  EXPECT_EQ(sf.PointCount(), 49);
}

TEST(ModelRecords, ScatterListDeleteIgnoresMissingEntries) {
  TScatterList l;
  l.AddNew()->Symbol = "A   ";
  l.AddNew()->Symbol = "B   ";
  l.Delete(0);
  l.Delete(3);
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l.Entry(3), nullptr);
  l.Delete(1);
  ASSERT_EQ(l.Count(), 1);
  EXPECT_EQ(l.Entry(1)->Symbol, "B   ");
}

TEST(ModelRecords, PhaseAssignReplacesTheAtoms) {
  TPhase src;
  src.Title = "Source";
  src.Z = 4;
  src.CalcMethod = 1;
  TAtom a;
  a.Label = "Fe1 ";
  a.X = 0.25f;
  src.AddAtom(a);

  TPhase dst;
  dst.AddAtom(TAtom());
  dst.AddAtom(TAtom());
  dst.Assign(src);
  EXPECT_EQ(dst.Title, "Source");
  EXPECT_EQ(dst.Z, 4);
  EXPECT_EQ(dst.CalcMethod, 1);
  ASSERT_EQ(dst.AtomCount(), 1);
  EXPECT_EQ(dst.Atom(1)->Label, "Fe1 ");
  EXPECT_NE(dst.Atom(1), src.Atom(1));  // a copy, not shared
  dst.Assign(dst);
  EXPECT_EQ(dst.AtomCount(), 1);
}

// ---------------------------------------------------------------------------
// Parameters and constraints

TEST(Parameters, SetAddressDecodesCodeAndKind) {
  struct Case { int h, p, a, t; double code; int kind, number; float multiplier; } cases[] = {
      {1, 0, 0, 1, -31.5, pkHistogram, 3, -1.5f}, {0, 2, 3, 4, 0, pkAtom, 0, 1},
      {1, 99, 0, 1, 0, pkSample, 0, 1},            {1, 99, 2, 3, 21, pkScatter, 2, 1},
      {0, 1, 0, 1, 20, pkPhase, 2, 1},             {2, 1, 0, 3, -12, pkSample, 1, -2},
      {0, 0, 0, 1, 0.5, pkInvalid, 0, 0.5f},       {0, 0, 1, 1, 11, pkInvalid, 1, 1},
      {1, 0, 1, 1, 11, pkInvalid, 1, 1},
  };
  for (const auto& c : cases) {
    TParameter q;
    q.SetAddress(c.h, c.p, c.a, c.t, c.code);
    EXPECT_EQ(q.Kind, c.kind) << c.code;
    EXPECT_EQ(q.Number, c.number) << c.code;
    EXPECT_FLOAT_EQ(q.Multiplier, c.multiplier) << c.code;
    EXPECT_FLOAT_EQ(q.LowLimit, -999.9f);
  }
  TParameter q;
  EXPECT_THROW(q.SetAddress(1, 0, 0, 1, 1e30), EOverflow);
}

TEST(Parameters, GetCodeOfRefinedParameter) {
  TParameterList l;
  l.AddParameter(1, 0, 0, 1, -31.5);
  l.AddParameter(1, 0, 0, 1, 22);  // already refined: ignored
  l.AddParameter(1, 0, 0, 2, 0);   // zero code: ignored
  EXPECT_EQ(l.ParameterCount(), 1);
  EXPECT_DOUBLE_EQ(l.GetCode(1, 0, 0, 1), -31.5);
  EXPECT_EQ(l.GetCode(1, 0, 0, 2), 0);
}

TEST(Parameters, ResolveCodesMakesConstraintsOfSharedNumbers) {
  TParameterList l;
  l.AddParameter(1, 0, 0, 1, 11);
  l.AddParameter(1, 0, 0, 2, 12);
  l.AddParameter(1, 0, 0, 3, 21);
  l.AddParameter(1, 0, 0, 4, 31);   // beyond the limit
  l.AddParameter(1, 0, 0, 5, 1.5);  // number 0: refines nothing
  l.ResolveCodes(2);
  ASSERT_EQ(l.ParameterCount(), 2);
  EXPECT_EQ(l.Refined[0]->ParamType, 1);
  EXPECT_EQ(l.Refined[0]->Number, 1);
  EXPECT_EQ(l.Refined[1]->ParamType, 3);
  EXPECT_EQ(l.Refined[1]->Number, 2);
  ASSERT_EQ(l.ConstraintCount(), 1);
  EXPECT_EQ(l.Constraints[0]->First.ParamType, 1);
  EXPECT_EQ(l.Constraints[0]->Second.ParamType, 2);
  EXPECT_FLOAT_EQ(l.Constraints[0]->Second.Multiplier, 2);
  EXPECT_DOUBLE_EQ(l.GetCode(1, 0, 0, 2), 12);
  EXPECT_EQ(l.GetCode(1, 0, 0, 4), 0);
}

TEST(Parameters, SetRefinedOnLeavesConstrainedAddressesAlone) {
  TParameterList l;
  l.AddParameter(1, 0, 0, 1, 11);
  l.AddParameter(1, 0, 0, 2, 12);
  l.ResolveCodes(5);
  l.SetRefined(1, 0, 0, 2, true);  // second member
  l.SetRefined(1, 0, 0, 1, true);  // already refined
  EXPECT_EQ(l.ParameterCount(), 1);
  l.SetRefined(2, 0, 0, 1, true);
  ASSERT_EQ(l.ParameterCount(), 2);
  EXPECT_EQ(l.Refined[1]->Number, 0);
  EXPECT_EQ(l.Refined[1]->Multiplier, 1);
}

TEST(Parameters, SwitchingOffAFirstMemberPromotesItsFirstDependant) {
  TParameterList l;
  l.AddParameter(1, 0, 0, 1, 11);
  l.AddParameter(1, 0, 0, 2, 12);
  l.AddParameter(1, 0, 0, 3, 13);
  l.ResolveCodes(5);
  ASSERT_EQ(l.ConstraintCount(), 2);
  l.SetRefined(1, 0, 0, 1, false);
  ASSERT_EQ(l.ConstraintCount(), 1);
  EXPECT_EQ(l.Constraints[0]->First.ParamType, 2);
  EXPECT_EQ(l.Constraints[0]->Second.ParamType, 3);
  EXPECT_FLOAT_EQ(l.Constraints[0]->Second.Multiplier, 3);
  ASSERT_EQ(l.ParameterCount(), 1);
  EXPECT_EQ(l.Refined[0]->ParamType, 2);
}

TEST(Parameters, SwitchingOffASecondMemberDropsItsConstraint) {
  TParameterList l;
  l.AddParameter(1, 0, 0, 1, 11);
  l.AddParameter(1, 0, 0, 2, 12);
  l.ResolveCodes(5);
  l.SetRefined(1, 0, 0, 2, false);
  EXPECT_EQ(l.ConstraintCount(), 0);
  ASSERT_EQ(l.ParameterCount(), 1);
  EXPECT_EQ(l.Refined[0]->ParamType, 1);
}

TEST(Parameters, DeleteConstraintLeavesBothMembersRefined) {
  TParameterList l;
  l.AddParameter(1, 0, 0, 1, 11);
  l.AddParameter(1, 0, 0, 2, 12);
  l.ResolveCodes(5);
  l.DeleteConstraint(1);  // beyond the last: ignored
  l.DeleteConstraint(-1);
  EXPECT_EQ(l.ConstraintCount(), 1);
  l.DeleteConstraint(0);
  EXPECT_EQ(l.ConstraintCount(), 0);
  EXPECT_GE(l.IndexOfAddress(1, 0, 0, 1), 0);
  EXPECT_GE(l.IndexOfAddress(1, 0, 0, 2), 0);
}

TParameter Member(int h, int p, int a, int t, float ratio = 1) {
  TParameter q(h, p, a, t, 1);
  q.Multiplier = ratio;
  return q;
}

TEST(Parameters, AddConstraintKeepsTheRatioExactly) {
  TParameterList l;
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 2, 1, 12.5f));
  ASSERT_EQ(l.ConstraintCount(), 1);
  EXPECT_FLOAT_EQ(l.Constraints[0]->Second.Multiplier, 12.5f);
  ASSERT_EQ(l.ParameterCount(), 1);  // the first member is refined
  EXPECT_EQ(l.Refined[0]->Atom, 1);
  l.AddConstraint(Member(0, 1, 2, 1), Member(0, 1, 1, 1));  // same pair: nothing
  EXPECT_EQ(l.ConstraintCount(), 1);
}

TEST(Parameters, AddConstraintUnrefinesTheNewSecondMember) {
  TParameterList l;
  l.SetRefined(0, 1, 1, 1, true);
  l.SetRefined(0, 1, 2, 1, true);
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 2, 1, -1));
  EXPECT_EQ(l.ParameterCount(), 1);
  l.Renumber();
  EXPECT_DOUBLE_EQ(l.GetCode(0, 1, 2, 1), -11);
}

TEST(Parameters, AddConstraintTurnsAroundWhenOnlyTheSecondIsTiedIn) {
  TParameterList l;
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 2, 1, 2));  // a2 = 2 a1
  l.AddConstraint(Member(0, 1, 3, 1), Member(0, 1, 1, 1, 4));  // a1 = 4 a3, a1 leads already
  ASSERT_EQ(l.ConstraintCount(), 2);
  EXPECT_TRUE(l.Constraints[1]->First.HasAddress(0, 1, 1, 1));
  EXPECT_TRUE(l.Constraints[1]->Second.HasAddress(0, 1, 3, 1));
  EXPECT_FLOAT_EQ(l.Constraints[1]->Second.Multiplier, 0.25f);
}

TEST(Parameters, AddConstraintChainsToTheLeaderOfASecondMember) {
  TParameterList l;
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 2, 1, 2));  // a2 = 2 a1
  l.AddConstraint(Member(0, 1, 2, 1), Member(0, 1, 3, 1, 3));  // a3 = 3 a2 = 6 a1
  ASSERT_EQ(l.ConstraintCount(), 2);
  EXPECT_TRUE(l.Constraints[1]->First.HasAddress(0, 1, 1, 1));
  EXPECT_FLOAT_EQ(l.Constraints[1]->Second.Multiplier, 6);
}

TEST(Parameters, AddConstraintBetweenTwoLeadersMergesTheirGroups) {
  TParameterList l;
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 2, 1, 2));  // a2 = 2 a1
  l.AddConstraint(Member(0, 1, 3, 1), Member(0, 1, 4, 1, 5));  // a4 = 5 a3
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 3, 1, 3));  // a3 = 3 a1, so a4 = 15 a1
  ASSERT_EQ(l.ConstraintCount(), 3);
  for (const auto& c : l.Constraints) EXPECT_TRUE(c->First.HasAddress(0, 1, 1, 1));
  EXPECT_FLOAT_EQ(l.Constraints[1]->Second.Multiplier, 15);
  EXPECT_TRUE(l.Constraints[2]->Second.HasAddress(0, 1, 3, 1));
  EXPECT_FLOAT_EQ(l.Constraints[2]->Second.Multiplier, 3);
  ASSERT_EQ(l.ParameterCount(), 1);
  EXPECT_EQ(l.Refined[0]->Atom, 1);
}

// Atoms 1..4 of phase 1: moving atom 3 to the top and deleting atom 2 keeps
// each flag and constraint with its atom; a constraint led by the deleted atom
// passes to its dependant. Other phases and histogram-level addresses stay.
TEST(Parameters, RenumberAtomsFollowsMovedAndDeletedAtoms) {
  TParameterList l;
  l.SetRefined(0, 1, 1, 1, true);   // x of atom 1
  l.SetRefined(0, 1, 3, 4, true);   // B of atom 3
  l.SetRefined(0, 1, 2, 5, true);   // n of atom 2, deleted
  l.SetRefined(0, 2, 2, 1, true);   // another phase
  l.SetRefined(0, 1, 0, 6, true);   // the cell of phase 1
  l.AddConstraint(Member(0, 1, 2, 2), Member(0, 1, 4, 2, 2));  // y4 = 2 y2, y2 deleted
  l.AddConstraint(Member(0, 1, 1, 3), Member(0, 1, 3, 3, -1));  // z3 = -z1
  // New order: atom 3, atom 1, atom 4 (atom 2 deleted).
  l.RenumberAtoms(1, {2, 0, 1, 3});
  auto refined = [&](int p, int a, int t) { return l.IndexOfAddress(0, p, a, t) >= 0; };
  EXPECT_TRUE(refined(1, 2, 1)) << "x of the old atom 1, now row 2";
  EXPECT_TRUE(refined(1, 1, 4)) << "B of the old atom 3, now row 1";
  EXPECT_FALSE(refined(1, 1, 5));
  EXPECT_FALSE(refined(1, 2, 5));
  EXPECT_FALSE(refined(1, 3, 5)) << "the deleted atom's n is not handed on";
  EXPECT_TRUE(refined(2, 2, 1));
  EXPECT_TRUE(refined(1, 0, 6));
  EXPECT_TRUE(refined(1, 3, 2)) << "the dependant of the deleted leader refines on its own";
  ASSERT_EQ(l.ConstraintCount(), 1);
  EXPECT_TRUE(l.Constraints[0]->First.HasAddress(0, 1, 2, 3));
  EXPECT_TRUE(l.Constraints[0]->Second.HasAddress(0, 1, 1, 3));
  EXPECT_FLOAT_EQ(l.Constraints[0]->Second.Multiplier, -1);
  // Atoms past the list are deleted too.
  l.RenumberAtoms(1, {1});
  EXPECT_TRUE(refined(1, 1, 4));
  EXPECT_FALSE(refined(1, 2, 1));
  EXPECT_EQ(l.ConstraintCount(), 0);
  EXPECT_FALSE(refined(1, 3, 2));
  EXPECT_TRUE(refined(1, 1, 3)) << "z of the old atom 1 leads no more but stays refined";
}

TEST(Parameters, AddConstraintOfAParameterWithItselfChangesNothing) {
  // A free refined value, and a leader with a dependant: tying either to
  // itself must neither unrefine it nor touch the ratios of its dependants.
  TParameterList l;
  l.SetRefined(1, 0, 0, 1, true);
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 2, 1, 2));  // a2 = 2 a1
  l.AddConstraint(Member(1, 0, 0, 1), Member(1, 0, 0, 1, 3));
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 1, 1, 3));
  ASSERT_EQ(l.ConstraintCount(), 1);
  EXPECT_TRUE(l.Constraints[0]->Second.HasAddress(0, 1, 2, 1));
  EXPECT_FLOAT_EQ(l.Constraints[0]->Second.Multiplier, 2);
  EXPECT_EQ(l.ParameterCount(), 2);
  EXPECT_GE(l.IndexOfAddress(1, 0, 0, 1), 0);
  EXPECT_GE(l.IndexOfAddress(0, 1, 1, 1), 0);
}

TEST(Parameters, Names) {
  EXPECT_EQ(HistogramParameterName(1), "Zero");
  EXPECT_EQ(HistogramParameterName(2), "Background 0");
  EXPECT_EQ(HistogramParameterName(25), "Background 23");
  EXPECT_EQ(HistogramParameterName(30), "");
  EXPECT_EQ(PhaseParameterName(9), "Alpha");
  EXPECT_EQ(PhaseParameterName(3), "");
  EXPECT_EQ(AtomParameterName(11), "B23");
  EXPECT_EQ(AtomParameterName(0), "");
  struct Case { int t; const char* name; } sample[] = {
      {3, "U"}, {12, "Preffered Orientation"}, {20, "Asymmetery 2"}, {26, "Flat Plate Rough"},
      {27, "Oh No!"}, {28, "Gaus Dis 1"}, {33, "Lor Dis 3"}, {6, ""}, {34, ""}};
  for (const auto& c : sample) EXPECT_EQ(SampleParameterName(c.t), c.name) << c.t;
  EXPECT_EQ(ParameterTypeName(0, 1, 13), "R Absorption value");
  EXPECT_EQ(ParameterTypeName(0, 1, 33), "Lor Dis 3");
  EXPECT_EQ(ParameterTypeName(1, 0, 13), "Background 11");
  EXPECT_EQ(ParameterTypeName(1, 0, 16), "Wavelength 2 or DIFA");
  EXPECT_EQ(ParameterTypeName(1, 0, 17), "undefined");
  EXPECT_EQ(ParameterTypeName(1, 1, 1), "undefined");
}

TEST(Parameters, Descriptions) {
  TDialogResponder dialogs;
  struct Case { int h, p, a, t; const char* text; } cases[] = {
      {1, 0, 0, 1, "H  1: Zero"},       {0, 2, 0, 6, "P  2: a"},      {0, 2, 3, 4, "P  2: B"},
      {1, 2, 0, 3, "H  1: P  2: U"},    {12, 99, 1, 1, "H 12: f' :"}, {1, 99, 2, 1, "H  1: f'' :"},
      {1, 99, 3, 1, "Error in Scatter constraint"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParameterDescription(TParameter(c.h, c.p, c.a, c.t, 0)), c.text);
  EXPECT_EQ(dialogs.Count(), 0u);
  EXPECT_EQ(ParameterDescription(TParameter(0, 0, 0, 1, 0)), "");
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Serious Constriaint error"});
}

// ---------------------------------------------------------------------------
// Model root

// A model of nh histograms and np phases with their samples.
void Build(TRietveld& m, int nh, int np) {
  for (int h = 0; h < nh; ++h) m.NewHistogram();
  for (int p = 0; p < np; ++p) m.NewPhase();
}

TEST(ModelRoot, NewHistogramAndPhaseMakeEverySample) {
  TRietveld m;
  Build(m, 3, 1);
  m.NewPhase();
  EXPECT_EQ(m.Samples.size(), 6u);
  for (int h = 1; h <= 3; ++h) {
    ASSERT_NE(m.FindSample(h, 2), nullptr);
    EXPECT_EQ(m.FindSample(h, 2)->Histogram, h);
  }
  m.NewHistogram();
  EXPECT_NE(m.FindSample(4, 1), nullptr);
  EXPECT_NE(m.FindSample(4, 2), nullptr);
  EXPECT_EQ(m.IndexOfSample(5, 1), -1);
  m.DeleteSample(9, 9);  // none: nothing happens
  EXPECT_EQ(m.Samples.size(), 8u);
  m.DeleteSample(4, 2);
  EXPECT_EQ(m.FindSample(4, 2), nullptr);
}

TEST(ModelRoot, DeleteHistogramRenumbersSamplesParametersAndConstraints) {
  TRietveld m;
  Build(m, 2, 1);
  m.FindSample(2, 1)->U = 0.5f;
  auto& pl = m.Parameters;
  pl.SetRefined(2, 0, 0, 1, true);
  pl.SetRefined(1, 0, 0, 26, true);
  pl.SetRefined(0, 1, 0, 1, true);
  pl.AddConstraint(Member(2, 1, 0, 3), Member(2, 1, 0, 4, 2));
  m.DeleteHistogram(1);
  EXPECT_EQ(m.HistogramCount(), 1);
  ASSERT_EQ(m.Samples.size(), 1u);
  EXPECT_EQ(m.Samples[0]->Histogram, 1);
  EXPECT_FLOAT_EQ(m.Samples[0]->U, 0.5f);
  EXPECT_GE(pl.IndexOfAddress(1, 0, 0, 1), 0);
  EXPECT_EQ(pl.IndexOfAddress(1, 0, 0, 26), -1);
  EXPECT_GE(pl.IndexOfAddress(0, 1, 0, 1), 0);
  ASSERT_EQ(pl.ConstraintCount(), 1);
  EXPECT_TRUE(pl.Constraints[0]->First.HasAddress(1, 1, 0, 3));
  EXPECT_TRUE(pl.Constraints[0]->Second.HasAddress(1, 1, 0, 4));
  m.DeleteHistogram(5);  // none: nothing happens
  EXPECT_EQ(m.HistogramCount(), 1);
}

TEST(ModelRoot, DeletePhaseKeepsScatteringAddresses) {
  TRietveld m;
  Build(m, 1, 2);
  m.Histogram(1)->ScatterFactors.AddNew();
  auto& pl = m.Parameters;
  pl.SetRefined(1, ScatterPhase, 1, 1, true);
  pl.SetRefined(0, 2, 1, 3, true);
  pl.SetRefined(0, 1, 0, 1, true);
  m.DeletePhase(1);
  EXPECT_EQ(m.PhaseCount(), 1);
  ASSERT_EQ(m.Samples.size(), 1u);
  EXPECT_EQ(m.Samples[0]->Phase, 1);
  EXPECT_GE(pl.IndexOfAddress(1, ScatterPhase, 1, 1), 0);
  EXPECT_GE(pl.IndexOfAddress(0, 1, 1, 3), 0);
  EXPECT_EQ(pl.ParameterCount(), 2);
}

TEST(ModelRoot, DeletingRenumbersConstraintMembersButNotScatteringMarkers) {
  TRietveld m;
  Build(m, 2, 3);
  for (int h = 1; h <= 2; ++h) m.Histogram(h)->ScatterFactors.AddNew();
  auto& pl = m.Parameters;
  pl.AddConstraint(Member(0, 3, 1, 1), Member(2, 3, 0, 3, 2));                   // atom x leads sample U
  pl.AddConstraint(Member(2, ScatterPhase, 1, 1), Member(1, ScatterPhase, 1, 1));  // f' of both histograms
  pl.AddConstraint(Member(0, 2, 0, 1), Member(0, 1, 0, 1));                      // goes with phase 2

  m.DeletePhase(2);
  ASSERT_EQ(pl.ConstraintCount(), 2);
  EXPECT_TRUE(pl.Constraints[0]->First.HasAddress(0, 2, 1, 1));
  EXPECT_TRUE(pl.Constraints[0]->Second.HasAddress(2, 2, 0, 3));
  EXPECT_TRUE(pl.Constraints[1]->First.HasAddress(2, ScatterPhase, 1, 1));
  EXPECT_TRUE(pl.Constraints[1]->Second.HasAddress(1, ScatterPhase, 1, 1));
  EXPECT_FALSE(m.IsRefined(0, 1, 0, 1));
  EXPECT_GE(pl.IndexOfAddress(2, ScatterPhase, 1, 1), 0);

  m.DeleteHistogram(1);
  ASSERT_EQ(pl.ConstraintCount(), 1);
  EXPECT_TRUE(pl.Constraints[0]->First.HasAddress(0, 2, 1, 1));
  EXPECT_TRUE(pl.Constraints[0]->Second.HasAddress(1, 2, 0, 3));
  EXPECT_FLOAT_EQ(pl.Constraints[0]->Second.Multiplier, 2);
  // The f' of the former histogram 2 is refined on its own now, as histogram 1.
  EXPECT_GE(pl.IndexOfAddress(1, ScatterPhase, 1, 1), 0);
  EXPECT_EQ(pl.ParameterCount(), 2);
  EXPECT_EQ(m.RefinedParameterName(2), "H  1: f' :????");
}

TEST(ModelRoot, DeletingOneSideOfAConstraint) {
  // Phase scale leads, histogram zero follows.
  auto make = [](TRietveld& m) {
    Build(m, 2, 2);
    m.Parameters.AddConstraint(Member(0, 2, 0, 1), Member(2, 0, 0, 1, 0.5f));
  };
  {
    TRietveld m;
    make(m);
    m.DeletePhase(2);
    EXPECT_EQ(m.ConstraintCount(), 0);
    EXPECT_FALSE(m.IsRefined(2, 0, 0, 1));  // it was only a second member
  }
  {
    TRietveld m;
    make(m);
    m.DeleteHistogram(2);
    EXPECT_EQ(m.ConstraintCount(), 0);
    EXPECT_TRUE(m.IsRefined(0, 2, 0, 1));  // refined on its own now
    EXPECT_EQ(m.RefinedCount(), 1);
  }
}

TEST(ModelRoot, ParameterValuesByAddress) {
  TRietveld m;
  Build(m, 1, 1);
  m.Phase(1)->Scale = 0.25f;
  m.Phase(1)->AddAtom(TAtom());
  m.Histogram(1)->ScatterFactors.AddNew();
  struct Case { int h, p, a, t; float value; bool stored; } cases[] = {
      {1, 0, 0, 1, 0.01f, true},   {1, 0, 0, 2, 5, true},     {1, 0, 0, 25, 6, true},   {1, 0, 0, 30, 7, true},
      {0, 1, 0, 2, 8, true},       {0, 1, 0, 11, 89, true},   {1, 1, 0, 3, 0.2f, true}, {1, 1, 0, 30, 0.3f, true},
      {1, 1, 0, 33, 0.4f, true},   {0, 1, 1, 5, 0.9f, true},  {1, 99, 1, 2, 3.5f, true},
      // Addresses that name no value, or objects that do not exist.
      {0, 1, 0, 3, 1, false},      {1, 1, 0, 27, 1, false},   {1, 0, 0, 31, 1, false},  {2, 0, 0, 1, 1, false},
      {0, 2, 0, 1, 1, false},      {0, 1, 2, 1, 1, false},    {1, 2, 0, 3, 1, false},   {1, 99, 2, 1, 1, false},
      {0, 0, 0, 1, 1, false},      {-1, 0, 0, 1, 1, false},   {1, 1, 1, 1, 1, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(m.SetParameterValue(c.h, c.p, c.a, c.t, c.value), 0);
    EXPECT_EQ(m.GetParameterValue(c.h, c.p, c.a, c.t), c.stored ? c.value : 0.0f)
        << c.h << ' ' << c.p << ' ' << c.a << ' ' << c.t;
  }
  EXPECT_FLOAT_EQ(m.FindSample(1, 1)->GausDis[1], 0.3f);
  EXPECT_FLOAT_EQ(m.Histogram(1)->Background.Coefficients[0], 5);
  EXPECT_FLOAT_EQ(m.Histogram(1)->ScatterFactors.Entry(1)->FDoublePrime, 3.5f);
  // A phase value through a sample address reads the phase and is not set.
  EXPECT_FLOAT_EQ(m.GetParameterValue(1, 1, 0, 1), 0.25f);
  m.SetParameterValue(1, 1, 0, 1, 9);
  EXPECT_FLOAT_EQ(m.Phase(1)->Scale, 0.25f);
  // A sample address without its sample.
  m.DeleteSample(1, 1);
  EXPECT_EQ(m.GetParameterValue(1, 1, 0, 3), 0);
  m.SetParameterValue(1, 1, 0, 3, 1);
}

TEST(ModelRoot, ResetKeepsSomeControlValues) {
  TRietveld m;
  Build(m, 1, 1);
  m.Title = "x";
  m.Strategy = 2;
  m.FourierFile = 5;
  m.Marquardt = 1.5f;
  m.MaxCode = 7;
  m.Cycles = 3;
  m.IPC = 0;
  m.AsymLimit = 1;
  m.Parameters.SetRefined(1, 0, 0, 1, true);
  m.Reset();
  EXPECT_EQ(m.Title, "A New refinement");
  EXPECT_EQ(m.HistogramCount(), 0);
  EXPECT_EQ(m.PhaseCount(), 0);
  EXPECT_TRUE(m.Samples.empty());
  EXPECT_EQ(m.RefinedCount(), 0);
  EXPECT_EQ(m.Cycles, 30);
  EXPECT_EQ(m.IPC, 1);
  EXPECT_FLOAT_EQ(m.AsymLimit, 20);
  EXPECT_EQ(m.Strategy, 2);
  EXPECT_EQ(m.FourierFile, 5);
  EXPECT_FLOAT_EQ(m.Marquardt, 1.5f);
  EXPECT_EQ(m.MaxCode, 7);
}

TEST(ModelRoot, ParameterNamesAreDecorated) {
  TRietveld m;
  Build(m, 1, 1);
  TAtom a;
  a.Label = "  O1";
  m.Phase(1)->AddAtom(a);
  m.Histogram(1)->ScatterFactors.AddNew()->Symbol = "FE  ";
  m.Parameters.SetRefined(0, 1, 1, 2, true);
  m.Parameters.SetRefined(1, 99, 1, 1, true);
  m.Parameters.AddConstraint(Member(1, 0, 0, 1), Member(1, 1, 0, 3));
  EXPECT_EQ(m.RefinedParameterName(1), "P  1: y (  O1)");
  EXPECT_EQ(m.RefinedParameterName(2), "H  1: f' :FE  ");
  EXPECT_EQ(m.RefinedParameterName(3), "H  1: Zero");
  EXPECT_EQ(m.RefinedParameterName(4), "");
  EXPECT_EQ(m.ConstraintMemberName(1, 1), "H  1: Zero");
  EXPECT_EQ(m.ConstraintMemberName(1, 2), "H  1: P  1: U");
  EXPECT_EQ(m.ConstraintMemberName(2, 1), "");
  EXPECT_TRUE(m.IsRefined(1, 1, 0, 3));
  EXPECT_FALSE(m.IsRefined(1, 1, 0, 4));
}

TEST(ModelRoot, InputLineHints) {
  EXPECT_EQ(InputLineHint(1), "Title");
  EXPECT_EQ(InputLineHint(2, 7), "nhist, nphase, ...");
  EXPECT_EQ(InputLineHint(5), "Ncycle,damping,thetas,...");
  EXPECT_EQ(InputLineHint(0), "");
  EXPECT_EQ(InputLineHint(6), "");
}

}  // namespace

namespace {

TEST(Parameters, ResolveCodesNextToExistingConstraints) {
  TParameterList l;
  l.AddConstraint(Member(0, 1, 1, 1), Member(0, 1, 2, 1, 2));
  l.AddParameter(1, 0, 0, 1, 21);
  l.AddParameter(1, 0, 0, 2, -21.5);
  l.AddParameter(0, 1, 1, 1, 31);  // already refined as a first member: ignored
  l.Refined[0]->Number = 3;        // the existing leader, numbered as a file would
  l.ResolveCodes(5);
  ASSERT_EQ(l.ConstraintCount(), 2);
  EXPECT_TRUE(l.Constraints[1]->First.HasAddress(1, 0, 0, 1));
  EXPECT_TRUE(l.Constraints[1]->Second.HasAddress(1, 0, 0, 2));
  EXPECT_FLOAT_EQ(l.Constraints[1]->Second.Multiplier, -1.5f);
  EXPECT_EQ(l.ParameterCount(), 2);
}

}  // namespace
