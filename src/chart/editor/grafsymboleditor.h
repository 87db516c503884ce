// The legend symbol editor ("Legend Symbol Editor"): width and its units,
// position, continuity, visibility, border pen, squared shape and gradient
// of the legend's symbols, edited in place; a page of the legend editor.
#pragma once

#include "chart/core/chart.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"

class TSymbolEditor : public TForm {
  ZV_CLASS(TSymbolEditor)
public:
  explicit TSymbolEditor(TComponent* AOwner);

  // Loads the symbol (nil binds nothing).
  void BindSymbol(TLegendSymbol* Symbol);
  TLegendSymbol* Symbol() const { return FSymbol; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void SEColWiChange(TObject* Sender);
  virtual void CBColWUnitsChange(TObject* Sender);
  virtual void CBSymbolPosChange(TObject* Sender);
  virtual void CBContinuousClick(TObject* Sender);
  virtual void CBVisibleClick(TObject* Sender);
  virtual void CBSymPenClick(TObject* Sender);
  virtual void CBSquaredClick(TObject* Sender);

  TLabel* L11;
  TEdit* SEColWi;
  TUpDown* UDColWi;
  TLabel* Label2;
  TComboFlat* CBColWUnits;
  TLabel* Label3;
  TComboFlat* CBSymbolPos;
  TCheckBox* CBContinuous;
  TCheckBox* CBVisible;
  TCheckBox* CBSymPen;
  TButtonPen* BSymPen;
  TCheckBox* CBSquared;
  TButtonGradient* BSymGradient;

  TLegendSymbol* FSymbol = nullptr;
  bool FLoading = false;
};

void RegisterSymbolEditorClasses();
