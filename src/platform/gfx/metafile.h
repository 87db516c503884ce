// Metafiles: a recorded sequence of canvas drawing that can be replayed onto
// any canvas (TCanvas::Draw / StretchDraw scale it into the rectangle) and
// saved as an enhanced metafile (EMF) or an old-format, placeable metafile
// (WMF), or read from an EMF file. Record with a TMetafileCanvas: drawing on it goes into the metafile,
// which is complete when the metafile canvas is destroyed.
#pragma once

#include <memory>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

struct TMetafileData;

class TMetafile : public TGraphic {
public:
  TMetafile();
  ~TMetafile() override;
  std::string ClassName() const override { return "TMetafile"; }

  bool Empty() const override;
  // Size of the picture in pixels (0.01 mm units in MMWidth/MMHeight at 96 pixels per inch).
  int Width() const override;
  int Height() const override;
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  int MMWidth() const;
  int MMHeight() const;
  void SetMMWidth(int value);
  void SetMMHeight(int value);
  // Whether SaveToFile/SaveToStream write EMF (true, the default) or WMF.
  bool Enhanced() const { return FEnhanced; }
  void SetEnhanced(bool value) { FEnhanced = value; }

  void Assign(const TGraphic* source) override;
  void Clear();
  // Reads an enhanced metafile (drawn through its SVG conversion; written
  // back as the bytes it was read from). Anything else, old-format files
  // included, raises EInvalidGraphic and leaves the metafile as it was.
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream) const override;
  void SaveToEmfStream(TStream& stream) const;
  void SaveToWmfStream(TStream& stream) const;
  void Draw(TCanvas* canvas, const TRect& rect) override;

  // Number of recorded drawing operations (state changes not counted).
  int RecordCount() const;
  TMetafileData* Data() const { return FData.get(); }

private:
  std::unique_ptr<TMetafileData> FData;
  bool FEnhanced = true;
};

class TMetafileCanvas : public TCanvas {
public:
  // Records into the metafile (replacing what it held). The reference canvas
  // is accepted for the class library's signature; the metafile uses 96
  // pixels per inch whatever it is.
  TMetafileCanvas(TMetafile* metafile, TCanvas* referenceDevice = nullptr);
  // Finishes the recording: the metafile takes the drawing.
  ~TMetafileCanvas() override;
  std::string ClassName() const override { return "TMetafileCanvas"; }

private:
  TMetafile* FMetafile;
};
