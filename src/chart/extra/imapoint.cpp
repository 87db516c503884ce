// Image point and delta point series.
#include "chart/extra/imapoint.h"

#include "chart/core/chart.h"
#include "chart/extra/imagebar.h"

// ============================================================================
// TCustomImagePointSeries

ZV_CLASS_IMPL_NOPROPS(TCustomImagePointSeries, TPointSeries)

TCustomImagePointSeries::TCustomImagePointSeries(TComponent* AOwner) : TPointSeries(AOwner) {
  FImagePoint = std::make_unique<TPicture>();
  FImagePoint->OnChange = [this](TObject*) { RequestRedraw(); };
}

TCustomImagePointSeries::~TCustomImagePointSeries() { FImagePoint->OnChange = nullptr; }

void TCustomImagePointSeries::SizePointerToPicture() {
  if (FImagePoint->Width() > 0) FPointer->StoreHorizSize(FImagePoint->Width());
  if (FImagePoint->Height() > 0) FPointer->StoreVertSize(FImagePoint->Height());
}

void TCustomImagePointSeries::SetImagePoint(TPicture* Value) {
  FImagePoint->Assign(Value);
  SizePointerToPicture();
  RequestRedraw();
}

void TCustomImagePointSeries::PaintPointer(int X, int Y, int Index, TColor Color) {
  TGraphic* graphic = FImagePoint->Graphic();
  if (!FParentChart || !graphic || graphic->Empty()) {
    TPointSeries::PaintPointer(X, Y, Index, Color);
    return;
  }
  if (OnGetImage) OnGetImage(this, Index, FImagePoint.get());
  graphic = FImagePoint->Graphic();
  if (!graphic) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int h = FPointer->HorizSize(), v = FPointer->VertSize();
  TRect r = Bounds(X - h / 2, Y - v / 2, h, v);
  graphic->SetTransparent(FImageTransparent);
  r = canvas->ProjectRectAtDepth(r, StartZ);
  if (r.Right - r.Left == graphic->Width() && r.Bottom - r.Top == graphic->Height())
    canvas->DrawGraphic(r.Left, r.Top, graphic);
  else
    canvas->StretchDraw(r, graphic);
}

void TCustomImagePointSeries::SetupGalleryPreview(bool Enabled) {
  TPointSeries::SetupGalleryPreview(Enabled);
  if (FParentChart) FParentChart->View3DOptions()->SetOrthogonal(true);
}

// ============================================================================
// TImagePointSeries

ZV_CLASS_IMPL(TImagePointSeries, TCustomImagePointSeries)

void TImagePointSeries::DeclareProperties(TClassInfo& c) {
  using S = TImagePointSeries;
  c.Object<S, TPicture>("ImagePoint", &S::ImagePoint, &S::SetImagePoint);
  c.Boolean<S>("ImageTransparent", &S::ImageTransparent, &S::SetImageTransparent, true);
  c.Method<S, TGetImageEvent>("OnGetImage", [](S* s) { return s->OnGetImage; },
                              [](S* s, const TGetImageEvent& e) { s->OnGetImage = e; });
}

TImagePointSeries::TImagePointSeries(TComponent* AOwner) : TCustomImagePointSeries(AOwner) {
  LoadPictureResource(FImagePoint.get(), "GrafDefaultImage");
  FImageTransparent = true;
  SizePointerToPicture();
}

TImagePointSeries* TImagePointSeries::CreateWithPicture(TComponent* AOwner, TPicture* Picture) {
  auto* s = new TImagePointSeries(AOwner);
  s->SetImagePoint(Picture);
  return s;
}

// ============================================================================
// TDeltaPointSeries

const TEnumInfo& DeltaImageStyleEnumInfo() {
  static const TEnumInfo info{"TDeltaImageStyle", {"disSmiles", "disHands"}, 0};
  return info;
}

ZV_CLASS_IMPL(TDeltaPointSeries, TCustomImagePointSeries)

void TDeltaPointSeries::DeclareProperties(TClassInfo& c) {
  using S = TDeltaPointSeries;
  c.Object<S, TPicture>("EqualImage", &S::EqualImage, &S::SetEqualImage);
  c.Object<S, TPicture>("GreaterImage", &S::GreaterImage, &S::SetGreaterImage);
  c.Enum<S>("ImageStyle", DeltaImageStyleEnumInfo(), &S::ImageStyle, &S::SetImageStyle, disSmiles);
  c.Boolean<S>("ImageTransparent", &S::ImageTransparent, &S::SetImageTransparent, false);
  c.Object<S, TPicture>("LowerImage", &S::LowerImage, &S::SetLowerImage);
  c.Method<S, TGetImageEvent>("OnGetImage", [](S* s) { return s->OnGetImage; },
                              [](S* s, const TGetImageEvent& e) { s->OnGetImage = e; });
}

TDeltaPointSeries::TDeltaPointSeries(TComponent* AOwner) : TCustomImagePointSeries(AOwner) {
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FEqualImage = std::make_unique<TPicture>();
  FGreaterImage = std::make_unique<TPicture>();
  FLowerImage = std::make_unique<TPicture>();
  FImageStyle = disHands;
  SetImageStyle(disSmiles);
  for (TPicture* p : {FEqualImage.get(), FGreaterImage.get(), FLowerImage.get()}) p->OnChange = repaint;
}

void TDeltaPointSeries::SetImageStyle(TDeltaImageStyle Value) {
  if (FImageStyle == Value) return;
  FImageStyle = Value;
  const std::string kind = Value == disHands ? "Hand" : "Smile";
  LoadPictureResource(FEqualImage.get(), "GrafEqual" + kind);
  LoadPictureResource(FGreaterImage.get(), "GrafGreater" + kind);
  LoadPictureResource(FLowerImage.get(), "GrafLower" + kind);
  RequestRedraw();
}

TPicture* TDeltaPointSeries::DeltaPicture(int Index) const {
  if (Index <= 0) return FEqualImage.get();
  const double v = MainList()->GetValue(Index), prev = MainList()->GetValue(Index - 1);
  if (v > prev) return FGreaterImage.get();
  if (v == prev) return FEqualImage.get();
  return FLowerImage.get();
}

void TDeltaPointSeries::PaintPointer(int X, int Y, int Index, TColor Color) {
  FImagePoint->Assign(DeltaPicture(Index));
  SizePointerToPicture();
  TCustomImagePointSeries::PaintPointer(X, Y, Index, Color);
}
