#include "chart/extra/grafimaed.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/extra/imagebar.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TImageBarSeriesEditor, TForm)

namespace {
bool HasPicture(TPicture* Picture) { return Picture && Picture->Graphic() && !Picture->Graphic()->Empty(); }
}  // namespace

TImageBarSeriesEditor::TImageBarSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(260);
  SetClientHeight(130);
  SetPosition(poScreenCenter);
  SetBorderStyle(bsDialog);
  FTabs = new TEditorTabs(this);
  GroupBox1 = Make<TGroupBox>(this, this, "GroupBox1", 8, 4, 120, 120, "Image:");
  Image1 = Make<TImage>(this, GroupBox1, "Image1", 8, 18, 104, 94);
  Image1->SetStretch(true);
  BBrowse = Make<TButton>(this, this, "BBrowse", 140, 20, 89, 25, "B&rowse...");
  CBTiled = Make<TCheckBox>(this, this, "CBTiled", 140, 56, 100, 17, "&Tiled");
  BBrowse->OnClick = [this](TObject* s) { BBrowseClick(s); };
  CBTiled->OnClick = [this](TObject* s) { CBTiledClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}

TImageBarSeriesEditor::~TImageBarSeriesEditor() { FireOnDestroy(this); }

void TImageBarSeriesEditor::FormDestroy(TObject*) { FTabs->FreeAll(); }

void TImageBarSeriesEditor::RefreshImage() {
  const bool loaded = Series && HasPicture(Series->Image());
  if (Series) Image1->SetPicture(Series->Image());
  BBrowse->SetCaption(loaded ? "Clea&r" : "B&rowse...");
  CBTiled->SetEnabled(loaded);
}

void TImageBarSeriesEditor::FormShow(TObject*) {
  Series = dynamic_cast<TImageBarSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  CBTiled->SetChecked(Series->ImageTiled());
  RefreshImage();
  FLoading = false;
  if (!FBarForm) {
    FTabs->Keep(FBarForm, dynamic_cast<TBarSeriesEditor*>(CreateSeriesEditorTab(
                              Parent(), &TBarSeriesEditor::StaticClass(), 1, "Bar", Series)));
    // The picture is the bar's look: no bar style to choose.
    if (FBarForm)
      for (const char* name : {"LStyle", "CBBarStyle"})
        if (auto* c = dynamic_cast<TControl*>(FBarForm->FindComponent(name))) c->Hide();
  }
}

void TImageBarSeriesEditor::BBrowseClick(TObject*) {
  if (!Series) return;
  // A file that is no picture leaves the picture as it was.
  LoadOrClearPicture(this, Series->Image());
  RefreshImage();
}

void TImageBarSeriesEditor::CBTiledClick(TObject*) {
  if (!FLoading && Series) Series->SetImageTiled(CBTiled->Checked());
}
