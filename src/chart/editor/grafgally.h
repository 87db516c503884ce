// The series gallery ("GrafChart Gallery"): the registered series and
// function types page by page, from which the user picks the type of a new
// series or a new type for a series; and the routines that create or
// replace the series with the chosen type. The editor option "GalleryMode"
// picks this dialog (0) or the alternate one.
#pragma once

#include <functional>

#include "chart/core/chart.h"
#include "chart/editor/grafgallerypanel.h"
#include "chart/core/grafeditctrls.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/pages.h"

// The series list box's ways into the galleries, set when the gallery unit
// is registered and cleared when it is unregistered.
using TNewSeriesGalleryHook =
    std::function<TChartSeries*(TComponent* Owner, TCustomAxisPanel* Chart, TChartSeries* Series)>;
using TChangeSeriesTypeGalleryHook = std::function<TClass(TComponent* Owner, TChartSeries*& Series)>;
extern TNewSeriesGalleryHook NewSeriesGalleryHook;
extern TChangeSeriesTypeGalleryHook ChangeSeriesTypeGalleryHook;

class TGrafGallery : public TForm {
  ZV_CLASS(TGrafGallery)
public:
  explicit TGrafGallery(TComponent* AOwner);

  TChartGalleryPanel* GalleryPanel() const { return ChartGalleryPanel1; }
  // Removes the "Functions" tab (a series type is being changed).
  void RemoveFunctionsTab();
  void Set3D(bool Value);
  bool Is3D() const;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void TabTypesChange(TObject* Sender);
  virtual void TabPagesChange(TObject* Sender);
  virtual void CB3DClick(TObject* Sender);
  virtual void CBSmoothClick(TObject* Sender);

  TTabControl* TabTypes;
  TTabControl* TabPages;
  TChartGalleryPanel* ChartGalleryPanel1;
  TPanel* P1;
  TButton* BOk;
  TButton* BCancel;
  TCheckBox* CB3D;
  TCheckBox* CBSmooth;
};

// Runs the gallery that "GalleryMode" picks; true when a type was chosen
// with OK. SubIndex is the sub-style chosen, -1 for none.
bool RunSeriesGallery(TComponent* Owner, TChartSeries* Series, bool FunctionsAllowed, TClass& SeriesClass,
                      bool& Is3D, TClass& FunctionClass, bool OnlyCompatible, int& SubIndex);
// A new series of the type chosen in the gallery, or nil. Creating a new
// series offers the functions too.
TChartSeries* CreateSeriesFromGallery(TComponent* Owner, TChartSeries* Series, TCustomAxisPanel* Chart,
                                      bool Creating, bool OnlyCompatible, int& SubIndex);
// Lets the user pick a new type for the series and puts a series of that
// type in its place; answers the class of the series afterwards.
TClass ChangeSeriesTypeFromGallery(TComponent* Owner, TChartSeries*& Series);

void RegisterGalleryDialogClasses();
void UnregisterGalleryDialogClasses();
