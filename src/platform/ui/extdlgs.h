// The picture open and save dialogs: file dialogs whose filter lists every
// picture format the drawing layer knows ("All (...)" first), with the
// chosen entry in FilterIndex as for every file dialog.
#pragma once

#include "platform/ui/commondialogs.h"

class TOpenPictureDialog : public TOpenDialog {
  ZV_CLASS(TOpenPictureDialog)
public:
  explicit TOpenPictureDialog(TComponent* AOwner);
};

class TSavePictureDialog : public TOpenPictureDialog {
  ZV_CLASS(TSavePictureDialog)
public:
  explicit TSavePictureDialog(TComponent* AOwner) : TOpenPictureDialog(AOwner) {}
  TCommonDialogKind Kind() const override { return cdSave; }
};
