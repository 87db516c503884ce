#include "chart/extra/grafboxploteditor.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/grafboxplot.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TBoxSeriesEditor, TForm)

TBoxSeriesEditor::TBoxSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(240);
  SetClientHeight(100);
  FTabs = new TEditorTabs(this);
  EPos = Make<TEdit>(this, this, "EPos", 72, 8, 60, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Position:", EPos);
  ELength = Make<TEdit>(this, this, "ELength", 72, 38, 60, 21);
  Label2 = MakeLabel(this, this, "Label2", 8, 42, "&Length:", ELength);
  BMedian = Make<TButtonPen>(this, this, "BMedian", 144, 6, 89, 25, "&Median...");
  BWhisker = Make<TButtonPen>(this, this, "BWhisker", 144, 36, 89, 25, "&Whisker...");
  EPos->OnChange = [this](TObject* s) { EPosChange(s); };
  ELength->OnChange = [this](TObject* s) { ELengthChange(s); };
  // Leaving a box whose text is still no number says so once; an empty
  // box is simply not written.
  EPos->OnExit = [this](TObject*) {
    if (Series) ReportUnreadableNumber(EPos, true);
  };
  ELength->OnExit = [this](TObject*) {
    if (Series) ReportUnreadableNumber(ELength, true);
  };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  SetAlign(alClient);
}

TBoxSeriesEditor::~TBoxSeriesEditor() { FireOnDestroy(this); }

void TBoxSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TBoxSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TCustomBoxSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  EPos->SetText(FloatToStr(Series->Position()));
  ELength->SetText(FloatToStr(Series->WhiskerLength()));
  BMedian->LinkPen(Series->MedianPen());
  BWhisker->LinkPen(Series->WhiskerPen());
  FLoading = false;
  if (Parent()) {
    // Each tab goes in right after "Format": the last added comes first.
    if (!FMildForm) FTabs->Keep(FMildForm, AddPointerEditorPage(Parent(), Series->MildOut(), "MildOut"));
    if (!FExtrForm) FTabs->Keep(FExtrForm, AddPointerEditorPage(Parent(), Series->ExtrOut(), "ExtrOut"));
    if (!FBoxForm) FTabs->Keep(FBoxForm, AddPointerEditorPage(Parent(), Series->Pointer(), "Box"));
  }
}

// A half-typed number ("-", "1e") keeps the value the series has.
void TBoxSeriesEditor::EPosChange(TObject*) {
  if (FLoading || !Series || !FormShowing(this)) return;
  double value;
  if (ReadTypedNumber(EPos->Text(), value)) Series->SetPosition(value);
}

void TBoxSeriesEditor::ELengthChange(TObject*) {
  if (FLoading || !Series || !FormShowing(this)) return;
  double value;
  if (ReadTypedNumber(ELength->Text(), value)) Series->SetWhiskerLength(value);
}
