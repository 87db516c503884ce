// The data-table tool editor: row and column pens, inversion, position,
// the legend column's options, symbol and font, and the table's font.
#pragma once

#include "chart/editor/grafedifont.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafsymboleditor.h"
#include "chart/series/grafdatatable.h"
#include "platform/ui/pages.h"

class TDataTableEditor : public TForm {
  ZV_CLASS(TDataTableEditor)
public:
  explicit TDataTableEditor(TComponent* AOwner);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBInvertedClick(TObject* Sender);
  virtual void CBAutoPosClick(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);
  virtual void CBLegVisibleClick(TObject* Sender);
  virtual void CBFontColorClick(TObject* Sender);
  virtual void CBOtherSideClick(TObject* Sender);

  TPageControl* PageControl1;
  TTabSheet* TabFormat;
  TTabSheet* TabLegend;
  TTabSheet* TabText;
  TPageControl* PageControl2;
  TTabSheet* TabLegendFormat;
  TTabSheet* TabSymbol;
  TTabSheet* TabLegendText;
  TButtonPen* ButtonPen1;
  TButtonPen* ButtonPen2;
  TCheckBox* CBInverted;
  TGroupBox* GroupBox1;
  TCheckBox* CBAutoPos;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDLeft;
  TLabel* Label2;
  TEdit* Edit2;
  TUpDown* UDTop;
  TCheckBox* CBLegVisible;
  TCheckBox* CBFontColor;
  TCheckBox* CBOtherSide;

  TDataTableTool* Tool = nullptr;
  TSymbolEditor* FSymbolEditor = nullptr;
  TGrafFontEditor* FTextEditor = nullptr;
  TGrafFontEditor* FLegendTextEditor = nullptr;
  bool FLoading = false;
};

void RegisterDataTableEditorClasses();
