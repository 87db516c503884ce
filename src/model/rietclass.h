// The refinement model: histograms, phases with their atoms, the samples of
// each (histogram, phase) pair, the refined parameters and constraints, and
// the model root that reads and writes the engine input file.
//
// Histograms, phases, atoms, samples and scattering entries are numbered from
// 1 in every interface and file. Reals are single precision. Limits (50
// background points, 50 excluded regions, 49 scattering-table points, 3
// dislocation rows) are kept by ignoring the excess.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"

// A value of the model that the input file cannot hold; the message names
// the field and the value.
ZV_DECLARE_EXCEPTION(EInputFileWrite, Exception)

// ---------------------------------------------------------------------------
// Model records

struct TPair {
  float X = 0;
  float Y = 0;
};

// Pairs of reals: background points, excluded regions, scattering tables.
// Indexes are 0-based; an index outside the list raises EListError.
class TPairList {
public:
  void Add(float x, float y) { Items.push_back({x, y}); }
  // Overwrites pair i; ignored when i is outside the list.
  void SetPair(int i, float x, float y);
  float GetX(int i) const;
  float GetY(int i) const;
  int Count() const { return static_cast<int>(Items.size()); }
  void Delete(int i);
  // Removes the first pair equal to (x, y) exactly; nothing when none.
  void DeleteEqual(float x, float y);
  void Clear() { Items.clear(); }
  // Ascending x; the order of equal x is not defined.
  void SortByX();

  std::vector<TPair> Items;
};

int ComparePairX(const TPair& a, const TPair& b);

// One atom of a phase. The eleven reals are the parameter types 1 to 11.
class TAtom {
public:
  void Assign(const TAtom& other);
  // The real of parameter type t (1 = X .. 11 = B23); nullptr for other t.
  float* Value(int t);
  const float* Value(int t) const;

  std::string Label = "O   ";
  std::string AtomType = "O   ";
  float X = 0, Y = 0, Z = 0;
  float B = 0.6f;
  // Occupancy: the fraction of the site occupied times m / M, m the site's
  // multiplicity and M the general multiplicity of the space group, so the
  // cell holds N x M such atoms. A fully occupied general position has 1; a
  // full 4-fold site of P n m a (M = 8) has 0.5 (as "Set atom occupancy to
  // full" in the phase window sets it).
  float N = 1.0f;
  float B11 = 0, B22 = 0, B33 = 0, B12 = 0, B13 = 0, B23 = 0;
};

constexpr int MaxScatterTablePoints = 49;
constexpr int MaxBackgroundPoints = 50;
constexpr int MaxExcludedRegions = 50;
constexpr int MaxDislocationRows = 3;

// One user scattering entry of a histogram: nine coefficients or a table.
class TScatterFactor {
public:
  // Appends a table point while 48 or fewer are held.
  void AddPoint(float x, float y);
  int PointCount() const { return Table.Count(); }
  void ClearPoints() { Table.Clear(); }

  int TableKind = 0;  // 0 coefficients, 1 table of points
  std::string Symbol = "????";
  float FPrime = 0;        // f' (neutrons: the scattering length b)
  float FDoublePrime = 0;  // f''
  std::array<float, 9> Coefficients{};  // coefficient i is Coefficients[i - 1]
  TPairList Table;
};

class TScatterList {
public:
  TScatterFactor* AddNew();
  int Count() const { return static_cast<int>(Items.size()); }
  // Entry n (1-based), nullptr when there is none.
  TScatterFactor* Entry(int n) const;
  // Frees entry n (1-based); ignored when n is outside 1 .. Count.
  void Delete(int n);
  void Clear() { Items.clear(); }

  std::vector<std::unique_ptr<TScatterFactor>> Items;
};

// Background models (TBackGround::Kind).
constexpr int bkPolynomial = 0, bkAmorphous = -1, bkChebyI = -2, bkShiftedChebyI = -3, bkChebyII = -4,
              bkShiftedChebyII = -5, bkDampedAmorphous = -6, bkAutoSmoothed = -7, bkDataFile = 1, bkUserPoints = 2;
// The display name of a background kind; empty for an unknown kind.
std::string BackgroundKindName(int kind);

class TBackGround {
public:
  // Appends a point while fewer than 50 are held.
  void AddPoint(float x, float y);
  int PointCount() const { return Points.Count(); }
  void ClearPoints() { Points.Clear(); }
  void SortPoints();

  int Kind = bkPolynomial;
  std::array<float, 24> Coefficients{};  // Coefficients[i] is parameter type i + 2 ("Background i")
  TPairList Points;
  float Offset = 0;
  int SmoothCycles = 30;
  int SmoothSteps = 30;
};

class TExcluded {
public:
  // Appends (min(a, b), max(a, b)); ignored when 50 regions are held.
  void AddRegion(float a, float b);
  // Overwrites region i (0-based) as given; ignored when i is outside the list.
  void SetRegion(int i, float low, float high) { Regions.SetPair(i, low, high); }
  // Removes region n (1-based).
  void Delete(int n) { Regions.Delete(n - 1); }
  int Count() const { return Regions.Count(); }
  void Clear() { Regions.Clear(); }

  TPairList Regions;
};

// Incident spectrum of a time-of-flight histogram: Spectrum[i - 1] is value i.
struct TIncidentSpec {
  std::array<float, 10> Spectrum{};
};

// Histogram kinds (THistogram::Job).
constexpr int jobXrayData = 0, jobNeutronData = 1, jobXrayCalc = 2, jobNeutronCalc = 3, jobTOFData = 4,
              jobTOFCalc = 5, jobEDData = 6, jobEDCalc = 7;
// The peak shape of time-of-flight histograms (THistogram::Profile).
constexpr int profJorgensenTOF = 7;
std::string ProfileName(int profile);

// Lives as long as the object that holds it: a reference kept elsewhere
// (a plot's histogram) watches it and reads as gone once the holder is
// freed. A copy is a new life, not the same one.
class TLifetime {
public:
  TLifetime() : FLife(std::make_shared<char>()) {}
  TLifetime(const TLifetime&) : TLifetime() {}
  TLifetime& operator=(const TLifetime&) { return *this; }
  std::weak_ptr<const void> Watch() const { return FLife; }

private:
  std::shared_ptr<char> FLife;
};

class THistogram {
public:
  // Watched by the references other objects keep to the histogram.
  TLifetime Lifetime;

  // True for the jobs that calculate a pattern without data (2, 3, 5, 7).
  bool IsCalculation() const;
  bool IsTimeOfFlight() const { return Job == jobTOFData || Job == jobTOFCalc; }
  bool IsXrayCW() const { return Job == jobXrayData || Job == jobXrayCalc; }
  // The real of histogram parameter type t (1 .. 30); nullptr for other t.
  float* Value(int t);

  int Job = jobXrayData;
  int AuxOption = 0;
  int Profile = 4;
  int AbsorptionModel = 0;  // 0 cylindrical, 1 flat plate
  int Illumination = 0;
  int HasDisplacement = 0;
  float Absorption = 0;
  float Scale = 1.0f;
  float Start = 5.0f;
  float Stop = 100.0f;
  float Step = 0.01f;
  float Zero = 0;
  float Displacement = 0;
  float Wavelength1 = 1.5414f;
  float Wavelength2 = 1.5414f;
  float Ratio = 0;
  float BaseWidth = 7.0f;
  float Weighting = 1.0f;
  float Polarisation = 0;
  TIncidentSpec IncidentSpectrum;
  TExcluded Excluded;
  TBackGround Background;
  TScatterList ScatterFactors;
};

// Values of one (histogram, phase) pair.
class TSample {
public:
  // The real of sample parameter type t (3-5, 12-26, 28-33); nullptr otherwise.
  float* Value(int t);

  int Histogram = 1;
  int Phase = 1;
  float U = 0.08f, V = -0.15f, W = 0.15f;
  float Uaniso = 0;
  float Gam0 = 0.01f, Gam1 = 0, Gam2 = 0;
  float TOFAlpha1 = 0, TOFAlpha2 = 0, TOFBeta1 = 0, TOFBeta2 = 0;
  float AbsorptionR = 0;
  float Pore = 0, Rough = 0;
  float Asym1 = 0.01f, Asym2 = 0;
  float Extinction = 0;
  float PO = 1.0f;
  float POH = 0, POK = 0, POL = 1;
  float UH = 0, UK = 0, UL = 1;
  int BroadeningModel = 3;
  int DislocationCount = 0;  // rows in use, 0 .. 3
  // Row r (0-based) of each: the first, second and third (h, k, l) triple.
  std::array<std::array<int, 3>, 3> DislocationHKL1{}, DislocationHKL2{}, DislocationHKL3{};
  std::array<float, 3> DislocationValue1{}, DislocationValue2{};
  std::array<float, 3> GausDis{}, LorDis{};  // types 28, 30, 32 and 29, 31, 33
};

constexpr int bmNone = 0, bmCos2Phi = 1, bmTensor = 2, bmDeltaA = 3, bmDislocation = 4;

class TPhase {
public:
  // Appends; the phase takes ownership.
  TAtom* AddAtom(std::unique_ptr<TAtom> atom);
  TAtom* AddAtom(const TAtom& atom) { return AddAtom(std::make_unique<TAtom>(atom)); }
  int AtomCount() const { return static_cast<int>(Atoms.size()); }
  // Atom n (1-based), nullptr when there is none.
  TAtom* Atom(int n) const;
  void ClearAtoms() { Atoms.clear(); }
  // Copies title, space group, cell, scale, isotropic value, Z, CalcMethod
  // and replaces the atom list with copies of the other phase's atoms.
  void Assign(const TPhase& other);
  // The real of phase parameter type t (1, 2, 6 .. 11); nullptr otherwise.
  float* Value(int t);

  std::string Title = "A new phase";
  std::string SpaceGroup = "P 1";  // at most 20 characters in the file
  float A = 3.8f, B = 3.8f, C = 3.8f;
  float Alpha = 90.0f, Beta = 90.0f, Gamma = 90.0f;
  float Scale = 0.01f;
  float IsoThermal = 0;
  int Z = 1;
  std::vector<std::unique_ptr<TAtom>> Atoms;
  int CalcMethod = 0;  // 0 normal, 1 Le Bail (no atoms in the file)
};

// ---------------------------------------------------------------------------
// Parameters and constraints

// Parameter kinds (TParameter::Kind).
constexpr int pkHistogram = 0, pkPhase = 1, pkAtom = 2, pkSample = 3, pkScatter = 4, pkInvalid = 5;
// The phase number that marks a scattering parameter.
constexpr int ScatterPhase = 99;

// The address (histogram, phase, atom, type) of one refinable value and its
// refinement code ±(10 × Number + Multiplier).
class TParameter {
public:
  TParameter() = default;
  TParameter(int histogram, int phase, int atom, int type, double code) {
    SetAddress(histogram, phase, atom, type, code);
  }
  // Stores the address, decodes the code, derives Kind. Raises EOverflow for
  // a code whose number exceeds the integer range.
  void SetAddress(int histogram, int phase, int atom, int type, double code);
  bool SameAddress(const TParameter& other) const;
  bool HasAddress(int h, int p, int a, int t) const {
    return Histogram == h && Phase == p && Atom == a && ParamType == t;
  }

  int Kind = pkInvalid;
  int Phase = 0;
  int Histogram = 0;
  int Atom = 0;
  int ParamType = 0;
  int Number = 0;
  float Multiplier = 1;  // in a constraint's second member: the ratio
  float LowLimit = -999.9f, HighLimit = -999.9f;
};

// Second = Second.Multiplier × First (in shifts); First carries multiplier 1.
class TConstraint {
public:
  TParameter First;
  TParameter Second;
};

class TParameterList {
public:
  void Clear();
  // Position of the refined parameter with p's address (the last if several), -1 when absent.
  int IndexOfParameter(const TParameter& p) const;
  // Position of the first refined parameter with the address, -1 when absent.
  int IndexOfAddress(int h, int p, int a, int t) const;
  // Appends (h, p, a, t) with the code when the code is not 0 and the address is not refined.
  void AddParameter(int h, int p, int a, int t, double code);
  void SetRefined(int h, int p, int a, int t, bool on);
  int FindConstraintByFirst(int h, int p, int a, int t) const;
  int FindConstraintBySecond(int h, int p, int a, int t) const;
  // Position of the last constraint between p1 and p2 in either order, -1 when none.
  int FindConstraint(const TParameter& p1, const TParameter& p2) const;
  // Constrains p2 to p1 with ratio p2.Multiplier; nothing when p1 and p2
  // have the same address.
  void AddConstraint(const TParameter& p1, const TParameter& p2);
  // Frees constraint i (0-based) leaving both members refined; ignored when i is outside the list.
  void DeleteConstraint(int i);
  double GetCode(int h, int p, int a, int t) const;
  void Renumber();
  // Follows a reordering of the atoms of phase p: atom a becomes atom
  // NewNumbers[a - 1]; 0 there, or an atom past the list's end, was deleted,
  // and its refinements and constraints go as switching them off takes them
  // (a dependant of a deleted leader is promoted in its place).
  void RenumberAtoms(int p, const std::vector<int>& NewNumbers);
  // Turns codes read from a file into the refinement set.
  void ResolveCodes(int limit);
  int ParameterCount() const { return static_cast<int>(Refined.size()); }
  int ConstraintCount() const { return static_cast<int>(Constraints.size()); }

  std::vector<std::unique_ptr<TParameter>> Refined;
  std::vector<std::unique_ptr<TConstraint>> Constraints;

private:
  friend class TInputFileReader;
  bool IsInConstraint(int h, int p, int a, int t) const;
  void RemoveRefined(int h, int p, int a, int t);
  void AddConstraintImpl(TParameter p1, TParameter p2, bool unrefineSecond);
  // Appends without the duplicate check (the reader checks with an index).
  void AppendParameter(int h, int p, int a, int t, double code);
};

// The code of a refined parameter or constraint member: sign(m) × (|m| + 10 n).
double MakeCode(int number, double multiplier);

std::string HistogramParameterName(int type);
std::string PhaseParameterName(int type);
std::string SampleParameterName(int type);
std::string AtomParameterName(int type);
// 'H  1: Zero', 'P  2: x', 'H  1: P  2: U', ...; the invalid kind shows
// "Serious Constriaint error" and gives empty text.
std::string ParameterDescription(const TParameter& parameter);
// The parameter window's naming; "undefined" for anything not listed.
std::string ParameterTypeName(int histogram, int phase, int type);

// ---------------------------------------------------------------------------
// Model root

class TRietveld {
public:
  TRietveld() = default;
  TRietveld(const TRietveld&) = delete;
  TRietveld& operator=(const TRietveld&) = delete;

  void Reset();
  int IndexOfSample(int h, int p) const;
  TSample* FindSample(int h, int p) const;
  // Histogram / phase n (1-based), nullptr when there is none.
  THistogram* Histogram(int n) const;
  TPhase* Phase(int n) const;
  int HistogramCount() const { return static_cast<int>(Histograms.size()); }
  int PhaseCount() const { return static_cast<int>(Phases.size()); }
  int ConstraintCount() const { return Parameters.ConstraintCount(); }
  int RefinedCount() const { return Parameters.ParameterCount(); }
  // Append; the model takes ownership; no samples are made.
  THistogram* AddHistogram(std::unique_ptr<THistogram> histogram);
  TPhase* AddPhase(std::unique_ptr<TPhase> phase);
  TSample* AddSample(std::unique_ptr<TSample> sample);
  // Append a default histogram / phase with a default sample for every pair.
  THistogram* NewHistogram();
  TPhase* NewPhase();
  TSample* NewSample(int h, int p);
  // Frees the sample (h, p); nothing when there is none.
  void DeleteSample(int h, int p);
  // Remove histogram / phase n (1-based) with its samples, parameters and
  // constraints, renumbering the rest; nothing when n does not exist.
  void DeleteHistogram(int n);
  void DeletePhase(int n);
  // The value at an address; 0 for an address that names no value or an
  // object that does not exist. Scattering values: (h, 99, entry, 1 | 2).
  float GetParameterValue(int h, int p, int a, int t) const;
  int SetParameterValue(int h, int p, int a, int t, float value);
  bool IsRefined(int h, int p, int a, int t) const;
  // Display names of refined parameter n and of member m (1, 2) of constraint n (1-based).
  std::string RefinedParameterName(int n) const;
  std::string ConstraintMemberName(int n, int m) const;
  int GetSkipLines1() const { return 0; }
  int GetSkipLines2() const { return SkipLines2; }
  // True when every histogram only calculates (jobs 2, 3, 5, 7).
  bool AllCalculation() const;

  // Replaces the model by the file's contents. Errors inside the file are
  // reported by message, never raised; a file that cannot be opened raises
  // EInOutError. Returns Loaded.
  bool ReadInputFile(const std::string& fileName);
  // Writes the model. Returns false, after a message, when a value cannot be
  // written without corrupting the file (nothing is written then); raises
  // EInOutError when the file cannot be written.
  bool WriteInputFile(const std::string& fileName);
  // The input file text WriteInputFile would write, with the same changes to
  // the model (renumbered parameters, sorted points and regions, padded
  // symbols, Le Bail sample values, missing samples made); notes about values
  // the file holds differently are shown. Raises EInputFileWrite when a value
  // cannot be written.
  std::string InputFileText();

  std::string Title = "A New refinement";
  int Cycles = 30;
  int MaxCode = 0;
  float EPS = 0.1f;
  float Rel1 = 0.9f, Rel2 = 0.9f, Rel3 = 0.9f, Rel4 = 0.9f;
  int IOT = 0, IPL = 0, IPC = 1, MAT = 1, ControlFlag5 = 1, LST1 = 0, LST2 = 0, LST3 = 0, IPL1 = 0;
  int PlotFile = 2;
  int FourierFile = 0;
  int ReadFormat = 0;
  int Sync = 0;
  int SeparateData = 0;
  int RecycleLeBail = 0;
  int BackTerms = 0;  // 6 × (BackTerms + 1) background coefficients in use
  int IPREF = 0;
  int PrintU = 0;
  int Strategy = 0;
  float Rmin = 0, Rmax = 0;
  float Marquardt = 0;
  float AsymLimit = 20.0f;
  float F2Limit = 0;
  std::vector<std::unique_ptr<THistogram>> Histograms;
  std::vector<std::unique_ptr<TPhase>> Phases;
  std::vector<std::unique_ptr<TSample>> Samples;
  TParameterList Parameters;
  bool Loaded = false;
  float LineCounter = 0;
  int SkipLines1 = 0, SkipLines2 = 0;

private:
  friend class TInputFileReader;
  // The addressed real, or nullptr. Reading (h, p, 0, t) with a phase type
  // gives the phase's value; writing it gives nullptr.
  float* ValuePtr(int h, int p, int a, int t, bool forWrite) const;
  std::string DecoratedName(const TParameter& parameter) const;
};

// The text editor's hint for the first line groups of the input file.
std::string InputLineHint(int group, int unused = 0);
