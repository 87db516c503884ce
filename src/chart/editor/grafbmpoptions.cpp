#include "chart/editor/grafbmpoptions.h"

#include "chart/core/grafconst.h"
#include "platform/ui/clipboard.h"

ZV_CLASS_IMPL_NOPROPS(TBMPOptions, TForm)
ZV_CLASS_IMPL_NOPROPS(TBMPExportFormat, TGrafExportFormat)

TBMPOptions::TBMPOptions(TComponent* AOwner) : TForm(AOwner) {
  SetName("BMPOptions");
  SetBorderIcons({biSystemMenu});
  SetClientWidth(187);
  SetClientHeight(92);
  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetParent(this);
  Label1->SetCaption("&Colors:");
  Label1->SetBounds(8, 12, 40, 13);
  CBColors = new TComboBox(this);
  CBColors->SetName("CBColors");
  CBColors->SetParent(this);
  CBColors->SetStyle(csDropDownList);
  CBColors->SetBounds(52, 8, 125, 21);
  for (const char* item : {"Default", "2 (1 bit)", "16 (4 bit)", "256 (8 bit)", "32768 (15 bit)", "65536 (16 bit)",
                           "16M (24 bit)", "16M (32 bit)"})
    CBColors->Items()->Add(item);
  CBColors->SetItemIndex(0);
  Label1->SetFocusControl(CBColors);
  CBMono = new TCheckBox(this);
  CBMono->SetName("CBMono");
  CBMono->SetParent(this);
  CBMono->SetCaption("&Monochrome");
  CBMono->SetBounds(52, 44, 125, 17);
  CBMono->OnClick = [this](TObject* s) { CBMonoClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TBMPOptions::FormShow(TObject*) { CBColors->SetItemIndex(0); }

void TBMPOptions::CBMonoClick(TObject*) { CBColors->SetEnabled(!CBMono->Checked()); }

// ---- TBMPExportFormat ---------------------------------------------------------------------------

std::string TBMPExportFormat::DescriptionText() { return GrafMsgAsBitmap; }
std::string TBMPExportFormat::FilterText() { return GrafMsgBitmapsBmpBmp; }
TGraphicFactory TBMPExportFormat::GraphicClass() {
  return [] { return std::unique_ptr<TGraphic>(new TBitmap()); };
}

TForm* TBMPExportFormat::OptionsForm(bool Create) {
  if (!FOptions && Create) FOptions = std::make_unique<TBMPOptions>(nullptr);
  return FOptions.get();
}

std::unique_ptr<TBitmap> TBMPExportFormat::Bitmap() {
  TPixelFormat format = pfDevice;
  if (TBMPOptions* o = Options()) {
    if (o->CBMono->Checked()) format = pf1bit;
    else if (o->CBColors->ItemIndex() > 0) format = static_cast<TPixelFormat>(o->CBColors->ItemIndex());
  }
  // The panel draws itself unbuffered over its own colour (24 bits when its
  // canvas draws without the device interface).
  const bool buffered = Panel->BufferedDisplay();
  Panel->SetBufferedDisplay(false);
  std::unique_ptr<TBitmap> bitmap;
  try {
    bitmap = Panel->RenderBitmap(Panel->Color(), Rect(0, 0, Width, Height), format);
  } catch (...) {
    Panel->SetBufferedDisplay(buffered);
    throw;
  }
  Panel->SetBufferedDisplay(buffered);
  return bitmap;
}

void TBMPExportFormat::CopyPicture() { Clipboard()->Assign(Bitmap().get()); }

void TBMPExportFormat::WritePicture(TStream& Stream) { Bitmap()->SaveToStream(Stream); }

void RegisterBitmapExportFormat() { RegisterExportFormat(&TBMPExportFormat::StaticClass()); }
void UnregisterBitmapExportFormat() { UnregisterExportFormat(&TBMPExportFormat::StaticClass()); }
