// The brush dialog: styles, patterns and textures become the brush's style
// or image, the colour button follows the style, pictures load from files,
// and Cancel restores the brush.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/grafbrushdlg.h"
#include "platform/gfx/metafile.h"
#include "dialogtest.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

using dialogtest::Find;

namespace {

class BrushDialogTest : public dialogtest::EditorDialogTest {
protected:
  // Runs the dialog on the brush; Action works on the shown dialog and
  // answers its modal result.
  bool Run(std::function<int(TCustomForm*)> Action) {
    guitest::TModalResponder modal;
    modal.Do(std::move(Action));
    const bool ok = RunBrushDialog(nullptr, &Brush);
    EXPECT_EQ(modal.Count(), 1);
    return ok;
  }
  // What a click on the item does: it becomes current, then the list's click.
  static void Pick(TCustomForm* f, int Index) {
    auto* list = Find<TListBox>(f, "LStyle");
    list->SetItemIndex(Index);
    list->OnClick(list);
  }
  static bool SamePixels(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        if (a.Canvas()->Pixels(x, y) != b.Canvas()->Pixels(x, y)) return false;
    return true;
  }
  TChartBrush Brush;
};

TEST_F(BrushDialogTest, PatternsAndTexturesBecomeTheImage) {
  Run([&](TCustomForm* f) {
    EXPECT_EQ(Find<TListBox>(f, "LStyle")->Items()->Count(), 27);
    Pick(f, 10);  // "Fill 40%"
    EXPECT_EQ(Find<TListBox>(f, "LStyle")->Items()->Strings(10), "Fill 40%");
    TGraphic* image = Brush.Image()->Graphic();
    auto* bitmap = dynamic_cast<TBitmap*>(image);
    EXPECT_NE(bitmap, nullptr);
    if (bitmap) {
      TBitmap third;
      LoadBrushPatternBitmap(2, &third);
      EXPECT_EQ(third.Width(), 16);
      EXPECT_EQ(bitmap->PixelFormat(), pf1bit);
      EXPECT_EQ(bitmap->TransparentMode(), tmFixed);
      EXPECT_EQ(bitmap->TransparentColor(), clWhite);
      EXPECT_TRUE(SamePixels(*bitmap, third));
      TBitmap first;
      LoadBrushPatternBitmap(0, &first);
      EXPECT_FALSE(SamePixels(*bitmap, first));
    }
    EXPECT_EQ(Find<TButton>(f, "Button1")->Caption(), "Clea&r");
    Pick(f, 26);  // "Snow"
    EXPECT_EQ(Brush.Image()->Width(), 32);
    EXPECT_EQ(Brush.Image()->Height(), 32);
    Pick(f, 20);  // "Metal"
    EXPECT_EQ(Brush.Image()->Width(), 16);
    Pick(f, 4);  // "Diagonal": a style, no image
    EXPECT_EQ(Brush.Style(), bsFDiagonal);
    EXPECT_FALSE(Brush.HasImage() && Brush.Image()->Graphic());
    EXPECT_EQ(Find<TButton>(f, "Button1")->Caption(), "B&rowse...");
    return mrOk;
  });
}

TEST_F(BrushDialogTest, NoneDisablesTheColourButton) {
  Run([&](TCustomForm* f) {
    auto* color = Find<TButtonColor>(f, "BColor");
    EXPECT_TRUE(color->Enabled());
    Pick(f, 1);  // "None"
    EXPECT_EQ(Brush.Style(), bsClear);
    EXPECT_FALSE(color->Enabled());
    Pick(f, 0);  // "Solid"
    EXPECT_TRUE(color->Enabled());
    return mrOk;
  });
}

TEST_F(BrushDialogTest, CancelRestoresStyleColourAndImage) {
  Brush.SetStyle(bsCross);
  Brush.SetColor(clBlue);
  guitest::TCommonDialogResponder colours;
  colours.Do([](TCommonDialog* d) {
    static_cast<TColorDialog*>(d)->Color = clLime;
    return true;
  });
  const bool ok = Run([&](TCustomForm* f) {
    EXPECT_EQ(Find<TListBox>(f, "LStyle")->ItemIndex(), bsCross);
    Find<TButtonColor>(f, "BColor")->Click();
    Pick(f, 23);  // "Clouds"
    Pick(f, 2);   // "Horizontal"
    Pick(f, 15);  // "Horiz. small"
    EXPECT_EQ(Brush.Color(), clLime);
    Find<TButton>(f, "Button3")->Click();
    return f->ModalResult();
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(Brush.Style(), bsCross);
  EXPECT_EQ(Brush.Color(), clBlue);
  EXPECT_FALSE(Brush.HasImage() && Brush.Image()->Graphic());
}

TEST_F(BrushDialogTest, ImageButtonClearsOrLoadsAPictureAsABitmap) {
  TBitmap pattern;
  LoadBrushPatternBitmap(5, &pattern);
  Brush.Image()->SetGraphic(&pattern);
  TTempDir dir;
  const std::string file = dir.File("picture.png");
  {
    TBitmap b(7, 5);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 7, 5));
    TPngImage png;
    png.Assign(&b);
    png.SaveToFile(file);
  }
  guitest::TCommonDialogResponder files;
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = file;
    return true;
  });
  Run([&](TCustomForm* f) {
    auto* button = Find<TButton>(f, "Button1");
    EXPECT_EQ(Find<TListBox>(f, "LStyle")->ItemIndex(), -1);  // an image: no item
    EXPECT_EQ(button->Caption(), "Clea&r");
    button->Click();
    EXPECT_FALSE(Brush.HasImage() && Brush.Image()->Graphic());
    EXPECT_EQ(button->Caption(), "B&rowse...");
    button->Click();  // browses: the PNG file, kept as a bitmap
    auto* bitmap = dynamic_cast<TBitmap*>(Brush.Image()->Graphic());
    EXPECT_NE(bitmap, nullptr);
    EXPECT_EQ(Brush.Image()->Width(), 7);
    EXPECT_EQ(Brush.Image()->Height(), 5);
    EXPECT_EQ(button->Caption(), "Clea&r");
    return mrOk;
  });
  EXPECT_EQ(files.Count(), 1);
}

// A metafile (here an EMF file) is kept as a bitmap of the metafile's size
// with the drawing on it.
TEST_F(BrushDialogTest, AMetafileLoadsAsABitmapOfItsSize) {
  TTempDir dir;
  const std::string file = dir.File("picture.emf");
  {
    TMetafile metafile;
    metafile.SetWidth(40);
    metafile.SetHeight(30);
    {
      TMetafileCanvas canvas(&metafile);
      canvas.Brush()->SetColor(clBlue);
      canvas.FillRect(Rect(0, 0, 40, 30));
      canvas.Brush()->SetColor(clRed);
      canvas.FillRect(Rect(20, 10, 40, 30));
    }
    metafile.SaveToFile(file);
  }
  guitest::TCommonDialogResponder files;
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = file;
    return true;
  });
  Run([&](TCustomForm* f) {
    Find<TButton>(f, "Button1")->Click();
    auto* bitmap = dynamic_cast<TBitmap*>(Brush.Image()->Graphic());
    EXPECT_NE(bitmap, nullptr) << "kept as a bitmap, not as the metafile";
    if (bitmap) {
      EXPECT_EQ(bitmap->Width(), 40);
      EXPECT_EQ(bitmap->Height(), 30);
      EXPECT_EQ(bitmap->Canvas()->Pixels(5, 5), clBlue);
      EXPECT_EQ(bitmap->Canvas()->Pixels(30, 20), clRed);
    }
    EXPECT_EQ(Find<TButton>(f, "Button1")->Caption(), "Clea&r");
    return mrOk;
  });
  EXPECT_EQ(files.Count(), 1);
}

TEST_F(BrushDialogTest, FontDialogCopiesOnlyOnOk) {
  TFont font;
  font.SetName("Arial");
  guitest::TCommonDialogResponder fonts;
  fonts.Do([](TCommonDialog* d) {
    static_cast<TFontDialog*>(d)->Font()->SetName("Courier New");
    return false;
  });
  fonts.Do([](TCommonDialog* d) {
    static_cast<TFontDialog*>(d)->Font()->SetName("Courier New");
    return true;
  });
  EXPECT_FALSE(RunFontDialog(nullptr, &font));
  EXPECT_EQ(font.Name(), "Arial");
  EXPECT_TRUE(RunFontDialog(nullptr, &font));
  EXPECT_EQ(font.Name(), "Courier New");
}

}  // namespace
