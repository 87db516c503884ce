// The brush editor ("Pattern Color Editor"): a hatch style, one of twelve
// bitmap patterns, one of seven textures or a picture from a file, and the
// brush colour, edited in place with Cancel restoring the brush. Also the
// small routines editor forms use to edit a font, a brush or a picture.
#pragma once

#include <memory>
#include <string>

#include "chart/core/grafattrs.h"
#include "chart/core/grafeditctrls.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/graphicctrls.h"
#include "platform/ui/lists.h"
#include "platform/ui/radio.h"

// The font dialog preset with the font; on OK the font takes the dialog's.
bool RunFontDialog(TComponent* Owner, TFont* Font);
// The brush dialog on the brush, run modally; true when closed with OK.
bool RunBrushDialog(TComponent* Owner, TChartBrush* Brush);
// The open-picture dialog; the chosen file, or empty when cancelled.
std::string AskPictureFileName(TComponent* Owner);
// A picture holding a graphic is cleared; an empty one is loaded from a
// file the user chooses (nothing happens when none is chosen).
void LoadOrClearPicture(TComponent* Owner, TPicture* Picture);
// Pattern 0..11 ("GrafBrush1".."GrafBrush12") into the bitmap: one bit a
// pixel, white transparent.
void LoadBrushPatternBitmap(int Pattern, TBitmap* Bitmap);

class TBrushDialog : public TForm {
  ZV_CLASS(TBrushDialog)
public:
  explicit TBrushDialog(TComponent* AOwner);
  ~TBrushDialog() override;

  TChartBrush* TheBrush = nullptr;

  // The list's items: styles 0-7, patterns 8-19, textures 20-26.
  static constexpr int FirstPattern = 8;
  static constexpr int FirstTexture = 20;
  static constexpr int ItemCount = 27;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void FormClose(TObject* Sender, TCloseAction& Action);
  virtual void Button1Click(TObject* Sender);
  virtual void Button3Click(TObject* Sender);
  virtual void LStyleClick(TObject* Sender);
  virtual void LStyleDrawItem(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State);

  // The pattern or texture of a list item (8 or more), as a new bitmap.
  std::unique_ptr<TBitmap> ItemBitmap(int Index);
  void RefreshImageState();
  void RefreshColorEnabling();

  TListBox* LStyle;
  TButtonColor* BColor;
  TGroupBox* GroupBox2;
  TImage* Image1;
  TButton* Button1;
  TButton* Button2;
  TButton* Button3;
  TImage* ImageMetal;
  TImage* ImageWood;
  TImage* ImageStone;
  TImage* ImageClouds;
  TImage* ImageGrass;
  TImage* ImageFire;
  TImage* ImageSnow;

  std::unique_ptr<TChartBrush> FBackupBrush;
};

void RegisterBrushDialogClasses();
