// The image bar series.
#include "chart/extra/imagebar.h"

#include <algorithm>

#include "chart/core/chart.h"
#include "chart/core/grafprocs.h"
#include "platform/gfx/resources.h"

bool LoadPictureResource(TPicture* Picture, const std::string& Name) {
  std::unique_ptr<TBitmap> bitmap = LoadResourceBitmap(Name);
  if (!bitmap) {
    Picture->SetGraphic(nullptr);
    return false;
  }
  Picture->SetGraphic(bitmap.get());
  return true;
}

ZV_CLASS_IMPL(TImageBarSeries, TBarSeries)

void TImageBarSeries::DeclareProperties(TClassInfo& c) {
  using S = TImageBarSeries;
  c.Object<S, TPicture>("Image", &S::Image, &S::SetImage);
  c.Boolean<S>("ImageTiled", &S::ImageTiled, &S::SetImageTiled, false);
}

TImageBarSeries::TImageBarSeries(TComponent* AOwner) : TBarSeries(AOwner) {
  FImage = std::make_unique<TPicture>();
  LoadPictureResource(FImage.get(), "GrafMoney");
  FImage->OnChange = [this](TObject*) { RequestRedraw(); };
}

TImageBarSeries::~TImageBarSeries() { FImage->OnChange = nullptr; }

TRect TImageBarSeries::PictureRect(int Top, int Bottom) const {
  TRect r = Rect(CurrentBarRect.Left, Top, CurrentBarRect.Right, Bottom);
  if (Pen()->Visible()) {
    int w = Pen()->Width();
    if (w >= 2 && w % 2 == 0) --w;
    r.Left += w;
    r.Top += w;
    if (!FParentChart || !FParentChart->View3D()) {
      --r.Right;
      --r.Bottom;
    }
  }
  return r;
}

void TImageBarSeries::PaintBarShape(int Index, int Top, int Bottom) {
  TBarSeries::PaintBarShape(Index, Top, Bottom);
  TGraphic* graphic = FImage->Graphic();
  if (!graphic || graphic->Empty() || graphic->Width() == 0 || !FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TRect r = PictureRect(Top, Bottom);
  const bool is3D = FParentChart->View3D();
  if (is3D && !FParentChart->View3DOptions()->Orthogonal()) {
    const TFourPoints face = canvas->ProjectRectToQuad(r, StartZ);
    if (PolygonFacesAway(face.data(), 4)) return;
    canvas->DrawGraphicAtDepth(r, graphic, StartZ);
    return;
  }
  if (is3D) r = canvas->ProjectRectAtDepth(r, StartZ);
  if (!FImageTiled) {
    canvas->StretchDraw(r, graphic);
    return;
  }
  const int w = graphic->Width(), h = graphic->Height();
  if (w <= 0 || h <= 0) return;
  canvas->ClipToRect(r);
  // Rows run from the bar's base: down from the top edge when the bar hangs
  // below its origin, else up from the bottom edge.
  const bool downward = CurrentBarRect.Bottom < CurrentBarRect.Top;
  const int width = r.Right - r.Left, height = r.Bottom - r.Top;
  for (int dy = 0; dy < height; dy += h) {
    const int y = downward ? r.Top + dy : r.Bottom - dy - h;
    for (int dx = 0; dx < width; dx += w) canvas->DrawGraphic(r.Left + dx, y, graphic);
  }
  canvas->RemoveClipRegion();
}

void TImageBarSeries::SetupGalleryPreview(bool Enabled) {
  TBarSeries::SetupGalleryPreview(Enabled);
  if (FParentChart) FParentChart->View3DOptions()->SetOrthogonal(true);
  LoadDemoData(2);
}
