#include "chart/extra/grafclockeditor.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TClockEditor, TPolarSeriesEditor)

TClockEditor::TClockEditor(TComponent* AOwner) : TPolarSeriesEditor(AOwner) {
  SetControlsVisible(false, {LAngleInc, Label8, CBClose, SEAngleInc, SERadiusInc, UDRadiusInc, UDAngleInc, BPen,
                             CBClockWise});
  BRadius = Make<TButtonPen>(this, TabOptions, "BRadius", 8, 6, 85, 25, "R&adius...");
  BHour = Make<TButtonPen>(this, TabOptions, "BHour", 270, 6, 85, 25, "&Hours...");
  BMinute = Make<TButtonPen>(this, TabOptions, "BMinute", 270, 34, 85, 25, "&Minutes...");
  BSecond = Make<TButtonPen>(this, TabOptions, "BSecond", 270, 62, 85, 25, "&Seconds...");
  CBRoman = Make<TCheckBox>(this, TabLabels, "CBRoman", 8, 88, 100, 17, "&Roman");
  CBRoman->OnClick = [this](TObject* s) { CBRomanClick(s); };
  FormCreate(this);
}

void TClockEditor::FormCreate(TObject* Sender) {
  TPolarSeriesEditor::FormCreate(Sender);
  CBColorEach->Hide();
}

void TClockEditor::FormShow(TObject* Sender) {
  TPolarSeriesEditor::FormShow(Sender);
  auto* clock = dynamic_cast<TClockSeries*>(Series);
  if (!clock) return;
  FLoading = true;
  CBRoman->SetChecked(clock->Style() == cssRoman);
  FLoading = false;
  BHour->LinkPen(clock->PenHours());
  BMinute->LinkPen(clock->PenMinutes());
  BSecond->LinkPen(clock->PenSeconds());
  if (TChartAxis* axis = clock->GetHorizAxis()) BRadius->LinkPen(axis->Grid());
}

void TClockEditor::CBRomanClick(TObject*) {
  if (auto* clock = dynamic_cast<TClockSeries*>(Series); clock && !FLoading)
    clock->SetStyle(CBRoman->Checked() ? cssRoman : cssDecimal);
}
