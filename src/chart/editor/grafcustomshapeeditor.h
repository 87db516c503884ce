// The editor of a framed chart box (titles, legend, marks, walls...): frame
// pen, colour, pattern, round frame, transparency and bevel, with pages for
// the text font, the gradient and the shadow. Hosts embed it, as one page or
// by moving its four pages into their own page control.
#pragma once

#include "chart/core/grafshapes.h"
#include "chart/editor/grafedifont.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafshadoweditor.h"

class TFormGrafShape : public TForm {
  ZV_CLASS(TFormGrafShape)
public:
  explicit TFormGrafShape(TComponent* AOwner);

  // A form owned by Owner editing the shape; with a parent it is shown
  // there without border, aligned to fill it.
  static TFormGrafShape* CreateShapeEditor(TComponent* Owner, TGrafCustomShape* Shape, TWinControl* Parent);
  // Loads the shape into every control and the embedded editors.
  void BindShape(TGrafCustomShape* Shape);
  TGrafCustomShape* Shape() const { return FShape; }
  // For hosts that add a "Visible" box of their own.
  void CBVisibleChecked(TObject* Sender);

  TPageControl* PageControl() const { return PC1; }
  TGrafGradientEditor* GradientEditor() const { return FGradientEditor; }
  TGrafFontEditor* FontEditor() const { return FFontEditor; }
  TGrafShadowEditor* ShadowEditor() const { return FShadowEditor; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBRoundClick(TObject* Sender);
  virtual void CBTransparentClick(TObject* Sender);
  virtual void BBrushClick(TObject* Sender);
  virtual void CBBevelChange(TObject* Sender);
  virtual void EBevWidthChange(TObject* Sender);
  virtual void EShadowTranspChange(TObject* Sender);
  void EnableBevelSize();

  TPageControl* PC1;
  TTabSheet* TabFormat;
  TButtonColor* BBackColor;
  TButtonPen* Button4;
  TButton* Button6;
  TCheckBox* CBRound;
  TCheckBox* CBTransparent;
  TLabel* Label2;
  TComboFlat* CBBevel;
  TLabel* Label3;
  TEdit* EBevWidth;
  TUpDown* UDBevW;
  TLabel* Label4;
  TEdit* EShadowTransp;
  TUpDown* UDShadowTransp;
  TTabSheet* TabText;
  TTabSheet* TabGradient;
  TTabSheet* TabShadow;

  TGrafGradientEditor* FGradientEditor = nullptr;
  TGrafFontEditor* FFontEditor = nullptr;
  TGrafShadowEditor* FShadowEditor = nullptr;
  TGrafCustomShape* FShape = nullptr;
  bool FLoading = true;
};

// The editor's four pages moved into the host's page control (the form
// stays their owner); the host's first page becomes active.
TFormGrafShape* EmbedShapeEditor(TPageControl* Host, TGrafCustomShape* Shape);

void RegisterShapeEditorClasses();
