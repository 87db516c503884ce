// The editor of annotation tools (and of the tools derived from them, the
// rectangle and page-number tools): text, alignment and cursor, the corner
// or custom position, the size, the callout, and the box's own pages.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/richedit.h"

class TAnnotationTool;

class TAnnotationToolEdit : public TForm {
  ZV_CLASS(TAnnotationToolEdit)
public:
  explicit TAnnotationToolEdit(TComponent* AOwner);
  TAnnotationTool* Tool() const { return FTool; }
  TFormGrafShape* ShapeEditor() const { return FShapeEditor; }

  TPageControl* PageControl1;
  // Options
  TTabSheet* TabOptions;
  TLabel* Label1;
  TMemo* MemoText;
  TLabel* Label3;
  TComboFlat* CBTextAlign;
  TLabel* Label9;
  TComboFlat* CBCursor;
  // Position
  TTabSheet* TabPosition;
  TLabel* Label2;
  TComboFlat* CBPos;
  TCheckBox* CBCustPos;
  TLabel* Label4;
  TEdit* ECustLeft;
  TUpDown* UDLeft;
  TLabel* Label5;
  TEdit* ECustTop;
  TUpDown* UDTop;
  TLabel* Label13;
  TComboFlat* CBUnits;
  // Size
  TTabSheet* TabSize;
  TCheckBox* CBAutoSize;
  TLabel* Label14;
  TEdit* ECustWidth;
  TUpDown* UDWidth;
  TLabel* Label15;
  TEdit* ECustHeight;
  TUpDown* UDHeight;
  // Callout
  TTabSheet* TabCallout;
  TButtonPen* BCalloutPen;
  TButton* BCalloutPointer;
  TGroupBox* GroupBox1;
  TEdit* EX;
  TEdit* EY;
  TEdit* EZ;
  TLabel* Label10;
  TEdit* EArrowDist;
  TUpDown* UDArrowDist;
  TLabel* Label11;
  TComboFlat* CBHead;
  TLabel* Label12;
  TEdit* Edit1;
  TUpDown* UDHeadSize;

private:
  void FormCreate();
  void FormShow();
  void RefreshPosition();
  void RefreshSize();
  // Writes back only once loaded; the callout's boxes only while showing.
  bool Writing() const { return FTool && !FLoading; }
  bool CalloutWriting() const;

  TAnnotationTool* FTool = nullptr;
  TFormGrafShape* FShapeEditor = nullptr;
  bool FLoading = true;
};
