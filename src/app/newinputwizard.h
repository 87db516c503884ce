// The new-input wizard: a fresh model from the number of histograms (each
// a calculation or a data file on an instrument preset) and of phases (each
// a structure with a number of default atoms, or a Le Bail extraction). The
// main window's New shows it modally and runs Save As after OK.
#pragma once

#include <array>

#include "platform/ui/forms.h"
#include "platform/ui/spinedit.h"
#include "platform/ui/stdctrls.h"

class TFormNewInput : public TForm {
  ZV_CLASS(TFormNewInput)
public:
  static constexpr int MaxHistograms = 100;
  static constexpr int MaxPhases = 8;

  explicit TFormNewInput(TComponent* AOwner);
  ~TFormNewInput() override;

  void FormShow(TObject* Sender);
  void seNumberHistogramsChange(TObject* Sender);
  void seHistogramNumberChange(TObject* Sender);
  void seNumberPhasesChange(TObject* Sender);
  void sePhaseNumberChange(TObject* Sender);
  void cbStructureChange(TObject* Sender);
  // "Set": the shown type and instrument for this histogram and all after it.
  void Button1Click(TObject* Sender);
  // Builds the model (and forgets the input file's name, so the new model
  // is never saved over the old file) and closes with OK.
  void ButtonOKClick(TObject* Sender);

  // The stored choices (1-based), for the windows' tests.
  int HistogramType(int n) const { return FHistType.at(static_cast<size_t>(n - 1)); }
  int HistogramInstrument(int n) const { return FHistInstrument.at(static_cast<size_t>(n - 1)); }
  int PhaseAtoms(int n) const { return FPhaseAtoms.at(static_cast<size_t>(n - 1)); }

  TSpinEdit* seNumberHistograms;
  TSpinEdit* seHistogramNumber;
  TComboBox* cbHistogramtype;
  TComboBox* cbInstruments;
  TButton* Button1;
  TSpinEdit* seNumberPhases;
  TSpinEdit* sePhaseNumber;
  TComboBox* cbStructure;
  TSpinEdit* seAtoms;
  TButton* ButtonOK;
  TButton* Button2;

private:
  bool FPlaced = false;  // shown beside its opener once
  void StoreHistogram();
  void StorePhase();
  void ShowPhase(int n);
  std::array<int, MaxHistograms> FHistType{};
  std::array<int, MaxHistograms> FHistInstrument{};
  std::array<int, MaxPhases> FPhaseAtoms{};
  int FCurrentHistogram = 1;
  int FCurrentPhase = 1;
  // Set while a handler moves a spin edit, whose change comes back to it.
  bool FUpdating = false;
};

extern TFormNewInput* FormNewInput;
