// The bitmap picture format and its options (colour depth, monochrome).
#pragma once

#include "chart/editor/grafexport.h"
#include "platform/ui/stdctrls.h"

class TBMPOptions : public TForm {
  ZV_CLASS(TBMPOptions)
public:
  explicit TBMPOptions(TComponent* AOwner);

  TLabel* Label1;
  // "Default" (the device's format), then 1, 4, 8, 15, 16, 24 and 32 bits.
  TComboBox* CBColors;
  TCheckBox* CBMono;

  void FormShow(TObject* Sender);
  void CBMonoClick(TObject* Sender);
};

class TBMPExportFormat : public TGrafExportFormat {
  ZV_CLASS(TBMPExportFormat)
public:
  TBMPExportFormat() = default;

  void CopyPicture() override;
  std::string DescriptionText() override;
  std::string FileExtension() override { return "bmp"; }
  std::string FilterText() override;
  TGraphicFactory GraphicClass() override;
  void WritePicture(TStream& Stream) override;
  TForm* OptionsForm(bool Create) override;

  // The picture at Width x Height in the chosen format, drawn by the panel.
  std::unique_ptr<TBitmap> Bitmap();
  TBMPOptions* Options() const { return static_cast<TBMPOptions*>(FOptions.get()); }
};

void RegisterBitmapExportFormat();
void UnregisterBitmapExportFormat();
