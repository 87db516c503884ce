// The metafile picture format (enhanced or old-format) and its option.
#pragma once

#include "chart/editor/grafexport.h"
#include "platform/gfx/metafile.h"
#include "platform/ui/stdctrls.h"

class TEMFOptions : public TForm {
  ZV_CLASS(TEMFOptions)
public:
  explicit TEMFOptions(TComponent* AOwner);
  TCheckBox* CBEnhanced;
};

// Two filter entries: enhanced (its own index) and old-format (the next).
class TEMFExportFormat : public TGrafExportFormat {
  ZV_CLASS(TEMFExportFormat)
public:
  TEMFExportFormat() = default;

  void CopyPicture() override;
  int FilterIndexOf() override;
  void CountFilters(int& Counter) override;
  // The second entry switches the enhanced option off.
  bool OwnsFilterIndex(int Index) override;
  std::string DescriptionText() override;
  std::string FileExtension() override { return Enhanced() ? "emf" : "wmf"; }
  std::string FilterText() override;
  TGraphicFactory GraphicClass() override;
  void WritePicture(TStream& Stream) override;
  TForm* OptionsForm(bool Create) override;

  // The options' check box; true while there are no options.
  bool Enhanced() const;
  std::unique_ptr<TMetafile> Metafile();
  TEMFOptions* Options() const { return static_cast<TEMFOptions*>(FOptions.get()); }
};

void RegisterMetafileExportFormat();
void UnregisterMetafileExportFormat();
