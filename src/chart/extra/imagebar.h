// The image bar series: each bar filled with a picture, stretched or tiled.
#pragma once

#include <memory>
#include <string>

#include "chart/series/series_bar.h"
#include "platform/gfx/bitmap.h"

class TImageBarSeries : public TBarSeries {
  ZV_CLASS(TImageBarSeries)
public:
  explicit TImageBarSeries(TComponent* AOwner = nullptr);
  ~TImageBarSeries() override;

  std::string EditorFormClassName() const override { return "TImageBarSeriesEditor"; }
  void PaintBarShape(int Index, int Top, int Bottom) override;
  void SetupGalleryPreview(bool Enabled) override;

  TPicture* Image() const { return FImage.get(); }
  void SetImage(TPicture* Value) { FImage->Assign(Value); }
  bool ImageTiled() const { return FImageTiled; }
  void SetImageTiled(bool Value) { ChangeBool(FImageTiled, Value); }

  // Where the picture of a bar goes (bar bounds less the pen), before any
  // projection.
  TRect PictureRect(int Top, int Bottom) const;

private:
  std::unique_ptr<TPicture> FImage;
  bool FImageTiled = false;
};

// Loads a bitmap resource of the program into a picture; false (and the
// picture left empty) when the program has none of that name.
bool LoadPictureResource(TPicture* Picture, const std::string& Name);
