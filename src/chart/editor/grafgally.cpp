#include "chart/editor/grafgally.h"

#include <memory>

#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "chart/editor/grafgalleryalternate.h"
#include "chart/editor/grafpendlg.h"

using namespace editorbuild;

TNewSeriesGalleryHook NewSeriesGalleryHook;
TChangeSeriesTypeGalleryHook ChangeSeriesTypeGalleryHook;

namespace {
const char* const kSeriesTab = "Series";
const char* const kFunctionsTab = "Functions";
}  // namespace

ZV_CLASS_IMPL_NOPROPS(TGrafGallery, TForm)

TGrafGallery::TGrafGallery(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("GrafChart Gallery");
  SetClientWidth(417);
  SetClientHeight(355);
  SetPosition(poScreenCenter);
  P1 = Make<TPanel>(this, this, "P1", 0, 320, 417, 35);
  P1->SetAlign(alBottom);
  P1->SetBevelOuter(bvNone);
  CB3D = Make<TCheckBox>(this, P1, "CB3D", 8, 9, 50, 17, "&3D");
  CB3D->SetChecked(true);
  CBSmooth = Make<TCheckBox>(this, P1, "CBSmooth", 64, 9, 80, 17, "&Smooth");
  BOk = MakeOkButton(this, P1, "BOk", 254, 5);
  BCancel = MakeCancelButton(this, P1, "BCancel", 334, 5);
  TabTypes = Make<TTabControl>(this, this, "TabTypes", 0, 0, 417, 320);
  TabTypes->SetAlign(alClient);
  TabTypes->SetHotTrack(true);
  TabTypes->Tabs()->Add(kSeriesTab);
  TabTypes->Tabs()->Add(kFunctionsTab);
  TabPages = Make<TTabControl>(this, TabTypes, "TabPages", 0, 0, 400, 280);
  TabPages->SetAlign(alClient);
  TabPages->SetHotTrack(true);
  ChartGalleryPanel1 = Make<TChartGalleryPanel>(this, TabPages, "ChartGalleryPanel1", 0, 0, 390, 250);
  ChartGalleryPanel1->SetAlign(alClient);
  ChartGalleryPanel1->SetBevelOuter(bvNone);
  ChartGalleryPanel1->SetTabStop(true);
  ChartGalleryPanel1->OnSelectedChart = [this](TObject*) { SetModalResult(mrOk); };
  SetActiveControl(BOk);

  TabTypes->OnChange = [this](TObject* s) { TabTypesChange(s); };
  TabPages->OnChange = [this](TObject* s) { TabPagesChange(s); };
  CB3D->OnClick = [this](TObject* s) { CB3DClick(s); };
  CBSmooth->OnClick = [this](TObject* s) { CBSmoothClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TGrafGallery::RemoveFunctionsTab() {
  const int i = TabTypes->Tabs()->IndexOf(kFunctionsTab);
  if (i >= 0) TabTypes->Tabs()->Delete(i);
  ChartGalleryPanel1->FunctionsMode = false;
}

void TGrafGallery::Set3D(bool Value) { CB3D->SetChecked(Value); }
bool TGrafGallery::Is3D() const { return CB3D->Checked(); }

void TGrafGallery::FormShow(TObject*) {
  CBSmooth->SetChecked(ChartGalleryPanel1->Smooth());
  TabTypes->SetTabIndex(0);
  TabTypesChange(TabTypes);
  InvokeControlHook(this);
}

void TGrafGallery::TabTypesChange(TObject*) {
  TStrings* pages = TabPages->Tabs();
  pages->Clear();
  const int typeTab = TabTypes->TabIndex();
  const bool functions = typeTab >= 0 && TabTypes->Tabs()->Strings(typeTab) == kFunctionsTab;
  TGrafSeriesTypes* types = SeriesTypeRegistry();
  for (int i = 0; i < types->Count(); ++i) {
    const TGrafSeriesType* t = types->TypeAt(i);
    if (t->GallerySeriesCount <= 0 || !t->GalleryPage) continue;
    if ((t->FunctionClass != nullptr) != functions) continue;
    if (pages->IndexOf(*t->GalleryPage) < 0) pages->Add(*t->GalleryPage);
  }
  const int standard = pages->IndexOf(GrafMsgStandard);
  if (standard > 0) pages->Exchange(0, standard);
  TabPages->SetTabIndex(pages->Count() > 0 ? 0 : -1);
  TabPagesChange(TabPages);
}

void TGrafGallery::TabPagesChange(TObject*) {
  const int typeTab = TabTypes->TabIndex();
  ChartGalleryPanel1->FunctionsMode = typeTab >= 0 && TabTypes->Tabs()->Strings(typeTab) == kFunctionsTab;
  ChartGalleryPanel1->SetView3D(CB3D->Checked());
  const int page = TabPages->TabIndex();
  if (page < 0) ChartGalleryPanel1->ClearCharts();
  else ChartGalleryPanel1->CreateGalleryPage(TabPages->Tabs()->Strings(page));
}

void TGrafGallery::CB3DClick(TObject*) { ChartGalleryPanel1->SetView3D(CB3D->Checked()); }

void TGrafGallery::CBSmoothClick(TObject*) {
  ChartGalleryPanel1->SetSmooth(CBSmooth->Checked());
  WriteEditorOptionBool("SmoothGallery", CBSmooth->Checked());
}

// ---- Entry points --------------------------------------------------------------

namespace {

// The chosen type after OK; the sub-style only when one other than the base
// style was picked.
bool ReadChoice(TChartGalleryPanel* Panel, bool Checked3D, TClass& SeriesClass, bool& Is3D, TClass& FunctionClass,
                int& SubIndex) {
  int tag = 0;
  if (!Panel->GetSelectedType(SeriesClass, FunctionClass, tag)) return false;
  SubIndex = tag > 0 ? tag : -1;
  Is3D = Checked3D && Panel->SelectedChart->View3D();
  return true;
}

}  // namespace

bool RunSeriesGallery(TComponent* Owner, TChartSeries* Series, bool FunctionsAllowed, TClass& SeriesClass,
                      bool& Is3D, TClass& FunctionClass, bool OnlyCompatible, int& SubIndex) {
  SubIndex = -1;
  if (ReadEditorOptionInt("GalleryMode", 0) == 0) {
    std::unique_ptr<TGrafGallery> dialog(new TGrafGallery(Owner));
    dialog->SetPosition(Owner ? poOwnerFormCenter : poScreenCenter);
    dialog->Set3D(Is3D);
    dialog->GalleryPanel()->ReferenceSeries = Series;
    if (!FunctionsAllowed) dialog->RemoveFunctionsTab();
    dialog->GalleryPanel()->OnlyCompatible = OnlyCompatible;
    if (dialog->ShowModal() != mrOk) return false;
    return ReadChoice(dialog->GalleryPanel(), dialog->Is3D(), SeriesClass, Is3D, FunctionClass, SubIndex);
  }
  std::unique_ptr<TGrafGalleryForm> dialog(new TGrafGalleryForm(Owner));
  dialog->Set3D(Is3D);
  if (dialog->ShowModal() != mrOk) return false;
  return ReadChoice(dialog->GalleryPanel(), dialog->Is3D(), SeriesClass, Is3D, FunctionClass, SubIndex);
}

TChartSeries* CreateSeriesFromGallery(TComponent* Owner, TChartSeries* Series, TCustomAxisPanel* Chart,
                                      bool Creating, bool OnlyCompatible, int& SubIndex) {
  SubIndex = -1;
  if (!Chart) return nullptr;
  bool is3D = Chart->View3D();
  TClass seriesClass = nullptr, functionClass = nullptr;
  if (!RunSeriesGallery(Owner, Series, Creating, seriesClass, is3D, functionClass, OnlyCompatible, SubIndex))
    return nullptr;
  Chart->SetView3D(is3D);
  if (!Creating && Series && seriesClass == Series->ClassType() && SubIndex == -1) return nullptr;
  TComponent* owner = Series ? Series->Owner() : Chart->Owner();
  TChartSeries* created = CreateChartSeries(owner, Chart, seriesClass, functionClass);
  if (created && SubIndex != -1) created->ApplyGalleryStyle(created, SubIndex);
  return created;
}

TClass ChangeSeriesTypeFromGallery(TComponent* Owner, TChartSeries*& Series) {
  if (!Series) return nullptr;
  int sub = -1;
  TChartSeries* created = CreateSeriesFromGallery(Owner, Series, Series->ParentChart(), false, true, sub);
  if (created) {
    TransferSeries(Series, created);
    Series = created;
    if (sub != -1) created->ApplyGalleryStyle(created, sub);
  }
  return Series->ClassType();
}

void RegisterGalleryDialogClasses() {
  RegisterClasses({&TGrafGallery::StaticClass()});
  NewSeriesGalleryHook = [](TComponent* Owner, TCustomAxisPanel* Chart, TChartSeries* Series) -> TChartSeries* {
    if (!Chart) return nullptr;
    int sub = -1;
    return CreateSeriesFromGallery(Owner, Series, Chart, true, false, sub);
  };
  ChangeSeriesTypeGalleryHook = [](TComponent* Owner, TChartSeries*& Series) {
    return ChangeSeriesTypeFromGallery(Owner, Series);
  };
}

void UnregisterGalleryDialogClasses() {
  NewSeriesGalleryHook = nullptr;
  ChangeSeriesTypeGalleryHook = nullptr;
}
