// The series pointer editor: visibility, 3D look, style, sizes, pattern,
// border and gradient of the point marker of a series (or of any pointer),
// as the "Pointer" page of a series editor or as a small modal window.
// Also the one place where element editors add a further tab to the series
// editor page that hosts them.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "chart/core/grafeditctrls.h"
#include "chart/core/grengine.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TSeriesPointerEditor : public TForm {
  ZV_CLASS(TSeriesPointerEditor)
public:
  explicit TSeriesPointerEditor(TComponent* AOwner);

  void HideSizeControls();
  // The pointer edited since the last show (nil before).
  TSeriesPointer* Pointer() const { return FPointer; }

protected:
  friend bool RunPointerEditor(TComponent* Owner, TSeriesPointer* Pointer);

  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBDrawPointClick(TObject* Sender);
  virtual void CB3dPointClick(TObject* Sender);
  virtual void CBPoDarkClick(TObject* Sender);
  virtual void CBInflateClick(TObject* Sender);
  virtual void SEPointHorizSizeChange(TObject* Sender);
  virtual void SEPointVertSizeChange(TObject* Sender);
  virtual void CBStyleChange(TObject* Sender);
  virtual void BPointFillColorClick(TObject* Sender);
  virtual void BPoinPenColClick(TObject* Sender);
  virtual void CBDefBrushColorClick(TObject* Sender);
  virtual void CBColorEachClick(TObject* Sender);
  virtual void BGradientClick(TObject* Sender);
  virtual void Button1Click(TObject* Sender);
  virtual void CBStyleDrawItem(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State);

  void ApplyVisibility(bool Visible);
  void Apply3DRule();
  void ApplyDefaultColorRule();
  // The series Tag names (nil when Tag is a pointer or empty).
  TChartSeries* TaggedSeries() const;

  TGroupBox* GPPoint;
  TCheckBox* CBDrawPoint;
  TCheckBox* CB3dPoint;
  TCheckBox* CBPoDark;
  TCheckBox* CBInflate;
  TLabel* Label1;
  TEdit* SEPointHorizSize;
  TUpDown* UDPointHorizSize;
  TLabel* Label2;
  TEdit* SEPointVertSize;
  TUpDown* UDPointVertSize;
  TLabel* Label3;
  TComboFlat* CBStyle;
  TGroupBox* GroupBox1;
  TButton* BPointFillColor;
  TCheckBox* CBDefBrushColor;
  TButtonPen* BPoinPenCol;
  TCheckBox* CBColorEach;
  TButton* BGradient;
  TPanel* PanelBottom;
  TButton* Button1;

  TSeriesPointer* FPointer = nullptr;
  bool FLoading = false;
};

// The pointer editor as a modal window ("Pointer") on the pointer. Closing
// it with "Close" keeps the changes; cancelling it (Escape, the window's
// close box) puts back the pointer as it was when the window opened.
bool RunPointerEditor(TComponent* Owner, TSeriesPointer* Pointer);

// The pointer of a series that has one (line family, 3D points), else nil.
TSeriesPointer* SeriesPointerOf(TObject* Series);

// A further tab of the series editor page hosting Parent, holding a new form
// of the class with Tag = Element (series or pointer); for an editor that
// no series page hosts, a form owned by Parent, unshown. The host page's
// CreateSeriesEditorPage does the work.
TCustomForm* CreateSeriesEditorTab(TWinControl* Parent, TClass FormClass, int TabIndex,
                                   const std::string& Caption, TObject* Element);

// The tab forms an editor added: a reference goes nil when its form is
// freed by someone else (the host page dropping its tabs); FreeAll (and the
// destructor) frees those that remain.
class TEditorTabs : public TComponent {
public:
  explicit TEditorTabs(TComponent* AOwner) : TComponent(AOwner) {}
  ~TEditorTabs() override;
  std::string ClassName() const override { return "TEditorTabs"; }

  template <class T>
  T* Keep(T*& Slot, T* Form) {
    Slot = Form;
    if (Form) Add(Form, [&Slot] { Slot = nullptr; });
    return Form;
  }
  void FreeAll();

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  void Add(TComponent* Form, std::function<void()> Forget);
  std::vector<std::pair<TComponent*, std::function<void()>>> FItems;
};

// The pointer editor as a tab of the series editor page (Tag = Element: the
// series, or a pointer of it).
TSeriesPointerEditor* AddPointerEditorPage(TWinControl* Parent, TObject* Element, const std::string& Caption);

// Links a colour button to the series' "SeriesColor", showing the colour
// the series is drawn in (its palette colour while it has none of its own).
void LinkSeriesColorButton(TButtonColor* Button, TChartSeries* Series);

// Numbers typed into edits whose element takes them strictly (a slice
// value, a contour level, a shape's Z): the element changes only while the
// text reads as a number, so a half-typed "-" or a cleared box changes
// nothing and raises nothing; a text still unreadable when the edit is left
// is reported once (an empty one too unless AllowEmpty) and the value stays.
bool ReadTypedNumber(const std::string& Text, double& Value);
void ReportUnreadableNumber(TEdit* Edit, bool AllowEmpty);

void RegisterPointerEditorClasses();
