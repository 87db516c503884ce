#include "platform/ui/extdlgs.h"

#include "platform/gfx/bitmap.h"

ZV_CLASS_IMPL_NOPROPS(TOpenPictureDialog, TOpenDialog)
ZV_CLASS_IMPL_NOPROPS(TSavePictureDialog, TOpenPictureDialog)

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner) {
  Filter = TPicture::GraphicFilter();
}
