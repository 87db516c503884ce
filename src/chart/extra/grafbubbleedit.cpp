#include "chart/extra/grafbubbleedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/series/series.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TBubbleSeriesEditor, TSeriesPointerEditor)

TBubbleSeriesEditor::TBubbleSeriesEditor(TComponent* AOwner) : TSeriesPointerEditor(AOwner) {
  // Room for one more row below the style.
  SetClientHeight(ClientHeight() + 26);
  GPPoint->SetHeight(GPPoint->Height() + 26);
  Edit1 = Make<TEdit>(this, GPPoint, "Edit1", 88, 188, 33, 21);
  Edit1->SetText("0");
  UDTransp = Make<TUpDown>(this, GPPoint, "UDTransp", 121, 188, 15, 21);
  UDTransp->SetMin(0);
  UDTransp->SetMax(100);
  UDTransp->SetIncrement(5);
  UDTransp->SetAssociate(Edit1);
  UDTransp->SetPosition(0);
  Label4 = MakeLabel(this, GPPoint, "Label4", 8, 192, "&Transparency:", Edit1);
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
}

void TBubbleSeriesEditor::FormShow(TObject* Sender) {
  TSeriesPointerEditor::FormShow(Sender);
  const bool was = FLoading;
  FLoading = true;
  if (FPointer)
    if (auto* series = dynamic_cast<TCustomSeries*>(FPointer->Series())) UDTransp->SetPosition(series->Transparency());
  FLoading = was;
  CBDrawPoint->Hide();
}

void TBubbleSeriesEditor::Edit1Change(TObject*) {
  if (FLoading || !FPointer || !FormShowing(this)) return;
  if (auto* series = dynamic_cast<TCustomSeries*>(FPointer->Series())) series->SetTransparency(UDTransp->Position());
}
