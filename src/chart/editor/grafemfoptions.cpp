#include "chart/editor/grafemfoptions.h"

#include "chart/core/grafconst.h"
#include "platform/ui/clipboard.h"

ZV_CLASS_IMPL_NOPROPS(TEMFOptions, TForm)
ZV_CLASS_IMPL_NOPROPS(TEMFExportFormat, TGrafExportFormat)

TEMFOptions::TEMFOptions(TComponent* AOwner) : TForm(AOwner) {
  SetName("EMFOptions");
  SetBorderIcons({biSystemMenu});
  SetClientWidth(152);
  SetClientHeight(75);
  CBEnhanced = new TCheckBox(this);
  CBEnhanced->SetName("CBEnhanced");
  CBEnhanced->SetParent(this);
  CBEnhanced->SetCaption("&Enhanced");
  CBEnhanced->SetBounds(8, 12, 137, 17);
  CBEnhanced->SetChecked(true);
}

bool TEMFExportFormat::Enhanced() const { return !Options() || Options()->CBEnhanced->Checked(); }

int TEMFExportFormat::FilterIndexOf() { return Enhanced() ? FFilterIndex : FFilterIndex + 1; }

void TEMFExportFormat::CountFilters(int& Counter) {
  FFilterIndex = Counter + 1;
  Counter += 2;
}

bool TEMFExportFormat::OwnsFilterIndex(int Index) {
  if (Index == FFilterIndex) return true;
  if (Index == FFilterIndex + 1) {
    if (TEMFOptions* o = static_cast<TEMFOptions*>(OptionsForm(true))) o->CBEnhanced->SetChecked(false);
    return true;
  }
  return false;
}

std::string TEMFExportFormat::DescriptionText() { return GrafMsgAsMetafile; }
std::string TEMFExportFormat::FilterText() { return GrafMsgEnhancedMetafilesEmfEmfMetafilesWmfWmf; }
TGraphicFactory TEMFExportFormat::GraphicClass() {
  return [] { return std::unique_ptr<TGraphic>(new TMetafile()); };
}

TForm* TEMFExportFormat::OptionsForm(bool Create) {
  if (!FOptions && Create) FOptions = std::make_unique<TEMFOptions>(nullptr);
  return FOptions.get();
}

std::unique_ptr<TMetafile> TEMFExportFormat::Metafile() {
  return Panel->CreateMetafileOfRect(Enhanced(), Rect(0, 0, Width, Height));
}

void TEMFExportFormat::CopyPicture() { Clipboard()->Assign(Metafile().get()); }

void TEMFExportFormat::WritePicture(TStream& Stream) { Metafile()->SaveToStream(Stream); }

void RegisterMetafileExportFormat() { RegisterExportFormat(&TEMFExportFormat::StaticClass()); }
void UnregisterMetafileExportFormat() { UnregisterExportFormat(&TEMFExportFormat::StaticClass()); }
