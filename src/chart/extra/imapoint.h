// Point series that draw pictures: a picture at each point, or one of three
// pictures by whether the value rose, fell or stayed against the previous.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "chart/series/series.h"
#include "platform/gfx/bitmap.h"

class TCustomImagePointSeries;
using TGetImageEvent = std::function<void(TCustomImagePointSeries* Sender, int ValueIndex, TPicture* Picture)>;

class TCustomImagePointSeries : public TPointSeries {
  ZV_CLASS(TCustomImagePointSeries)
public:
  explicit TCustomImagePointSeries(TComponent* AOwner);
  ~TCustomImagePointSeries() override;

  void PaintPointer(int X, int Y, int Index, TColor Color) override;
  void SetupGalleryPreview(bool Enabled) override;

  TPicture* ImagePoint() const { return FImagePoint.get(); }
  // Copies the picture and sizes the pointer to it (each size above 0).
  void SetImagePoint(TPicture* Value);
  bool ImageTransparent() const { return FImageTransparent; }
  void SetImageTransparent(bool Value) { ChangeBool(FImageTransparent, Value); }
  TGetImageEvent OnGetImage;

protected:
  void SizePointerToPicture();
  std::unique_ptr<TPicture> FImagePoint;
  bool FImageTransparent = false;
};

class TImagePointSeries : public TCustomImagePointSeries {
  ZV_CLASS(TImagePointSeries)
public:
  explicit TImagePointSeries(TComponent* AOwner = nullptr);
  // A series showing the given picture.
  static TImagePointSeries* CreateWithPicture(TComponent* AOwner, TPicture* Picture);
};

enum TDeltaImageStyle { disSmiles, disHands };
const TEnumInfo& DeltaImageStyleEnumInfo();

class TDeltaPointSeries : public TCustomImagePointSeries {
  ZV_CLASS(TDeltaPointSeries)
public:
  explicit TDeltaPointSeries(TComponent* AOwner = nullptr);
  void PaintPointer(int X, int Y, int Index, TColor Color) override;

  TPicture* EqualImage() const { return FEqualImage.get(); }
  void SetEqualImage(TPicture* Value) { FEqualImage->Assign(Value); }
  TPicture* GreaterImage() const { return FGreaterImage.get(); }
  void SetGreaterImage(TPicture* Value) { FGreaterImage->Assign(Value); }
  TPicture* LowerImage() const { return FLowerImage.get(); }
  void SetLowerImage(TPicture* Value) { FLowerImage->Assign(Value); }
  TDeltaImageStyle ImageStyle() const { return FImageStyle; }
  // Loads the three pictures of the style.
  void SetImageStyle(TDeltaImageStyle Value);
  // The picture of a point: equal for the first, else by its value against
  // the previous point's.
  TPicture* DeltaPicture(int Index) const;

private:
  std::unique_ptr<TPicture> FEqualImage;
  std::unique_ptr<TPicture> FGreaterImage;
  std::unique_ptr<TPicture> FLowerImage;
  TDeltaImageStyle FImageStyle = disSmiles;
};
