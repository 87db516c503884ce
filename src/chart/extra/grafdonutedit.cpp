#include "chart/extra/grafdonutedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/grafdonut.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TDonutSeriesEditor, TForm)

TDonutSeriesEditor::TDonutSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(200);
  SetClientHeight(40);
  FTabs = new TEditorTabs(this);
  EDonut = Make<TEdit>(this, this, "EDonut", 72, 8, 33, 21);
  UDDonut = Make<TUpDown>(this, this, "UDDonut", 105, 8, 15, 21);
  UDDonut->SetMin(0);
  UDDonut->SetMax(100);
  UDDonut->SetIncrement(5);
  UDDonut->SetWrap(true);
  UDDonut->SetAssociate(EDonut);
  UDDonut->SetPosition(50);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Hole %: ", EDonut);

  EDonut->OnChange = [this](TObject* s) { EDonutChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
  FormCreate(this);
}

TDonutSeriesEditor::~TDonutSeriesEditor() { FireOnDestroy(this); }

void TDonutSeriesEditor::FormCreate(TObject*) { SetBorderStyle(bsDialog); }

void TDonutSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TDonutSeriesEditor::FormShow(TObject*) {
  Donut = dynamic_cast<TDonutSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Donut) return;
  if (!FPieForm)
    FTabs->Keep(FPieForm, dynamic_cast<TPieSeriesEditor*>(CreateSeriesEditorTab(
                              this, &TPieSeriesEditor::StaticClass(), 1, "Donut", Donut)));
  FLoading = true;
  UDDonut->SetPosition(Donut->DonutPercent());
  FLoading = false;
}

void TDonutSeriesEditor::EDonutChange(TObject*) {
  if (!FLoading && Donut && FormShowing(this)) Donut->SetDonutPercent(UDDonut->Position());
}
