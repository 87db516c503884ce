// How windows look beyond their own painting: shaped windows, drawing over
// window-system controls, windows that let their parent show through, the
// properties a panel publishes, and the dialogs the application installs.
#include <gtest/gtest.h>

#include "platform/gfx/colors.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/streaming.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct AppearanceFixture : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    Form->SetColor(clRed);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
};

// A button that marks its face from the overlay, as a colour button paints
// its swatch.
class TMarkedButton : public TButton {
public:
  using TButton::TButton;
  TColor Mark = clLime;
  int Overlays = 0;

protected:
  void PaintOverlay(TCanvas* canvas) override {
    ++Overlays;
    canvas->Brush()->SetColor(Mark);
    canvas->Pen()->SetColor(clBlack);
    canvas->Rectangle(Width() - 19, 6, Width() - 6, 19);
  }
};

class TMarkedCombo : public TComboBox {
public:
  using TComboBox::TComboBox;

protected:
  void PaintOverlay(TCanvas* canvas) override {
    canvas->Brush()->SetStyle(bsClear);
    canvas->Pen()->SetColor(clBlue);
    canvas->Rectangle(ClientRect());
  }
};

// Paints only a small square and leaves the rest of its surface to erasing.
class TSpot : public TCustomControl {
public:
  explicit TSpot(TComponent* owner) : TCustomControl(owner) {
    SetBounds(20, 20, 100, 80);
    SetColor(clWhite);
  }
  // As a descendant does: the style field changed, then an invalidation.
  void SeeThrough(bool on) {
    if (on) FControlStyle.Include(csParentBackground);
    else FControlStyle.Exclude(csParentBackground);
    Invalidate();
  }

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(Rect(0, 0, 10, 10));
  }
};

// A window with margins of its own around a smaller client area, as a
// docked toolbar has its frame and drag handle: it paints them in window
// coordinates, the frame in black.
class TFramed : public TCustomControl {
public:
  explicit TFramed(TComponent* owner) : TCustomControl(owner) {
    SetBounds(20, 20, 100, 80);
    SetColor(clWhite);
  }
  TRect ClientRect() const override { return Rect(8, 2, Width() - 2, Height() - 2); }

protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clBlack);
    Canvas()->FrameRect(Rect(0, 0, Width(), Height()));
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect(Rect(1, 1, Width() - 1, Height() - 1));
  }
};

}  // namespace

TEST_F(AppearanceFixture, WindowWithMarginsShowsAllItPaints) {
  // The surface covers the window, not only the client area: nothing of the
  // margins is left to the display, and the client area starts where the
  // window says.
  auto* framed = new TFramed(Form);
  framed->SetParent(Form);
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(150, 20, 100, 80);
  panel->SetColor(clYellow);
  panel->SetBorderStyle(bsSingle);
  Form->Show();

  for (TControl* c : {static_cast<TControl*>(framed), static_cast<TControl*>(panel)}) {
    const std::vector<TPoint> unpainted = UnpaintedPixels(c);
    EXPECT_TRUE(unpainted.empty()) << c->ClassName() << ": " << unpainted.size() << " pixels, the first at "
                                   << unpainted.front().X << "," << unpainted.front().Y;
  }
  EXPECT_EQ(ShownPixel(framed, 99, 79), clBlack);  // the far corner of the frame
  EXPECT_EQ(ShownPixel(framed, 98, 40), clBlue);   // inside the right margin
  EXPECT_EQ(ShownPixel(framed, 50, 78), clBlue);   // inside the bottom margin
  EXPECT_EQ(SurfacePixel(framed, 98, 78), clBlue);
  // The single border on every side, the raised bevel inside it.
  EXPECT_EQ(ShownPixel(panel, 99, 79), ColorToRGB(clWindowFrame));
  EXPECT_EQ(ShownPixel(panel, 98, 78), ColorToRGB(clBtnShadow));
  EXPECT_TRUE(UnpaintedPixels(Form).empty());
}

TEST_F(AppearanceFixture, ChildrenCountFromTheChildOrigin) {
  // A window whose children were placed as on a design surface inside its
  // own frame: their coordinates start at the client area.
  class THost : public TFramed {
  public:
    using TFramed::TFramed;
    bool Framed = true;
    TRect ClientRect() const override { return Framed ? TFramed::ClientRect() : TCustomControl::ClientRect(); }
    TPoint ChildOrigin() const override { return ClientRect().TopLeft(); }
  };
  auto* host = new THost(Form);
  host->SetParent(Form);
  auto* fill = new TPanel(Form);
  fill->SetParent(host);
  fill->SetAlign(alClient);
  fill->SetColor(clYellow);
  fill->SetBevelOuter(bvNone);
  Form->Show();

  for (bool framed : {true, false}) {
    host->Framed = framed;
    host->ChildOriginChanged();
    host->Realign();
    const TRect client = host->ClientRect();
    // Aligned in the client area, counted from its corner.
    EXPECT_EQ(fill->BoundsRect(), Rect(0, 0, client.Width(), client.Height())) << framed;
    EXPECT_EQ(ShownPixel(host, client.Left, client.Top), clYellow) << framed;
    EXPECT_EQ(ShownPixel(host, client.Right - 1, client.Bottom - 1), clYellow) << framed;
    if (framed) EXPECT_EQ(ShownPixel(host, 0, 0), clBlack);  // the frame stays the host's
    EXPECT_EQ(fill->ClientToScreen(Point(0, 0)), host->ClientToScreen(client.TopLeft())) << framed;
    // A point of the host's window finds the child under it.
    EXPECT_EQ(host->ControlAtPos(client.TopLeft(), true, true), fill) << framed;
    if (framed) EXPECT_EQ(host->ControlAtPos(Point(client.Left - 1, client.Top), true, true), nullptr);
  }
}

TEST_F(AppearanceFixture, SetWindowRgnShapesTheWidgetAndNilRestoresTheRectangle) {
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(10, 10, 120, 80);
  panel->SetColor(clYellow);
  Form->Show();

  TRegion shape;
  EXPECT_FALSE(WindowShape(panel, shape));
  HRGN round = CreateRoundRectRgn(0, 0, 120, 80, 30, 30);
  const TRegion expected = *round;
  ASSERT_NE(SetWindowRgn(panel->Handle(), round, true), 0);  // the window owns round now
  ASSERT_TRUE(WindowShape(panel, shape));
  EXPECT_TRUE(shape == expected);
  EXPECT_EQ(ShownPixel(panel, 0, 0), clRed);       // the cut corner shows the form
  EXPECT_EQ(ShownPixel(panel, 119, 79), clRed);
  EXPECT_EQ(ShownPixel(panel, 60, 40), clYellow);  // inside: the panel

  HRGN empty = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(SetWindowRgn(panel->Handle(), empty, true), 0);
  EXPECT_EQ(ShownPixel(panel, 60, 40), clRed);     // an empty shape shows nothing

  ASSERT_NE(SetWindowRgn(panel->Handle(), nullptr, true), 0);
  EXPECT_FALSE(WindowShape(panel, shape));
  EXPECT_EQ(ShownPixel(panel, 60, 40), clYellow);

  HRGN orphan = CreateRectRgn(0, 0, 5, 5);
  EXPECT_EQ(SetWindowRgn(0, orphan, true), 0);  // no such window: still the caller's
  DeleteObject(orphan);
}

TEST_F(AppearanceFixture, ChildWindowMadeBeforeItsParentsIsTheOnlyOne) {
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(10, 10, 120, 80);
  panel->SetColor(clYellow);
  const HWND handle = panel->Handle();  // makes the form's window first, which makes the panel's
  EXPECT_EQ(panel->Handle(), handle);
  Form->Show();
  EXPECT_EQ(ShownPixel(Form, 60, 40), clYellow);
  panel->Hide();
  EXPECT_EQ(ShownPixel(Form, 60, 40), clRed);  // no second window of the panel left behind
}

TEST_F(AppearanceFixture, OverlayPaintsOverNativeControlsEachTimeTheyPaint) {
  auto* button = new TMarkedButton(Form);
  button->SetParent(Form);
  button->SetBounds(10, 10, 90, 25);
  button->SetCaption("Colour");
  auto* combo = new TMarkedCombo(Form);
  combo->SetParent(Form);
  combo->SetBounds(10, 50, 120, 22);
  combo->SetStyle(csDropDownList);
  Form->Show();

  EXPECT_EQ(ShownPixel(button, 90 - 12, 12), clLime);  // inside the swatch
  EXPECT_EQ(ShownPixel(button, 90 - 19, 6), clBlack);  // its frame
  EXPECT_NE(ShownPixel(button, 30, 12), clLime);       // the rest is the native face
  EXPECT_GT(button->Overlays, 0);
  button->Mark = clFuchsia;
  button->Repaint();
  EXPECT_EQ(ShownPixel(button, 90 - 12, 12), clFuchsia);

  EXPECT_EQ(ShownPixel(combo, 0, 0), clBlue);
  EXPECT_EQ(ShownPixel(combo, 119, 21), clBlue);
  EXPECT_EQ(ShownPixel(combo, 60, 0), clBlue);
}

TEST_F(AppearanceFixture, ParentBackgroundShowsTheParentWhereTheControlDoesNotPaint) {
  auto* opaque = new TSpot(Form);
  opaque->SetParent(Form);
  auto* see = new TSpot(Form);
  see->SetParent(Form);
  see->SetLeft(150);
  see->SetControlStyle(see->ControlStyle() + TControlStyle{csParentBackground});
  Form->Show();

  EXPECT_EQ(ShownPixel(opaque, 50, 40), clWhite);  // erased with its colour
  EXPECT_EQ(ShownPixel(see, 50, 40), clRed);       // the form shows through
  EXPECT_EQ(ShownPixel(see, 5, 5), clBlue);        // what it paints covers the form
  EXPECT_EQ(SurfacePixel(see, 5, 5), clBlue);

  // Switched off again: the control is opaque in its own colour.
  see->SetControlStyle(see->ControlStyle() - TControlStyle{csParentBackground});
  EXPECT_EQ(ShownPixel(see, 50, 40), clWhite);
  see->SeeThrough(true);
  EXPECT_EQ(ShownPixel(see, 50, 40), clRed);
  Form->SetColor(clGreen);
  Form->Repaint();
  EXPECT_EQ(ShownPixel(see, 50, 40), clGreen);
}

TEST(PanelPublication, OnlyTPanelPublishesThePanelProperties) {
  const char* names[] = {"Alignment", "BevelInner", "BevelOuter", "BevelWidth", "BorderStyle", "BorderWidth"};
  TPanel panel(nullptr);
  TCustomPanel custom(nullptr);
  for (const char* name : names) {
    EXPECT_NE(GetPropInfo(&panel, name), nullptr) << name;
    EXPECT_EQ(GetPropInfo(&custom, name), nullptr) << name;
  }
  EXPECT_NE(GetPropInfo(&custom, "Color"), nullptr);  // what controls publish stays
}

namespace {

// A panel that publishes two of the panel's properties and reads an old
// "BorderStyle" entry into a flag of its own, as the chart panel does.
class TFramePanel : public TCustomPanel {
  ZV_CLASS(TFramePanel)
public:
  explicit TFramePanel(TComponent* owner) : TCustomPanel(owner) {}
  bool Framed = false;

protected:
  void DefineProperties(TFiler* filer) override {
    TCustomPanel::DefineProperties(filer);
    filer->DefineProperty(
        "BorderStyle", [this](TReader* r) { Framed = r->ReadIdent() == "bsSingle"; }, nullptr, false);
  }
};
ZV_CLASS_IMPL(TFramePanel, TCustomPanel)
void TFramePanel::DeclareProperties(TClassInfo& c) { PublishProperties(c, {"BevelOuter", "bevelwidth"}); }

std::string AsText(TComponent* c) {
  TMemoryStream binary;
  WriteComponentToStream(binary, c);
  binary.Seek(0, soBeginning);
  TStringStream out;
  ObjectBinaryToText(binary, out);
  return out.DataString();
}

}  // namespace

TEST(PanelPublication, DescendantsChooseAndKeepTheirOwnBorderStyleEntry) {
  TFramePanel panel(nullptr);
  panel.SetName("Frame1");
  EXPECT_NE(GetPropInfo(&panel, "BevelOuter"), nullptr);
  EXPECT_NE(GetPropInfo(&panel, "BevelWidth"), nullptr);
  EXPECT_EQ(GetPropInfo(&panel, "BorderStyle"), nullptr);
  EXPECT_EQ(GetPropInfo(&panel, "Alignment"), nullptr);

  panel.SetBevelOuter(bvLowered);
  panel.SetBorderStyle(bsSingle);  // not published: never written
  panel.SetAlignment(taLeftJustify);
  const std::string text = AsText(&panel);
  EXPECT_NE(text.find("BevelOuter = bvLowered"), std::string::npos) << text;
  EXPECT_EQ(text.find("BorderStyle"), std::string::npos) << text;
  EXPECT_EQ(text.find("Alignment"), std::string::npos) << text;

  TStringStream source("object Frame1: TFramePanel\n  BorderStyle = bsSingle\n  BevelWidth = 3\nend\n");
  TMemoryStream binary;
  ObjectTextToBinary(source, binary);
  binary.Seek(0, soBeginning);
  TFramePanel read(nullptr);
  ReadComponentFromStream(binary, &read);
  EXPECT_TRUE(read.Framed);
  EXPECT_EQ(read.BorderStyle(), bsNone);
  EXPECT_EQ(read.BevelWidth(), 3);

  TClassInfo scratch("TScratch", &TCustomPanel::StaticClass(), nullptr);
  EXPECT_THROW(TCustomPanel::PublishProperties(scratch, {"Caption3D"}), EInvalidOperation);
}

TEST(ApplicationDialogs, InitializeKeepsTheHandlersTestsInstalled) {
  TDialogResponder dialogs;
  dialogs.Answer(IDNO);
  TCommonDialogResponder common;
  common.Do([](TCommonDialog*) { return true; });
  Application->Initialize();
  // Looked at before use: the window system's dialogs would wait for a person.
  TDialogHandler now = SetDialogHandler(nullptr);
  TCommonDialogHandler nowCommon = SetCommonDialogHandler(nullptr);
  const bool platform = now.target<TDialogAnswer (*)(const TDialogRequest&)>() != nullptr;
  const bool platformCommon = nowCommon.target<bool (*)(TCommonDialog*)>() != nullptr;
  SetDialogHandler(std::move(now));
  SetCommonDialogHandler(std::move(nowCommon));
  ASSERT_FALSE(platform);
  ASSERT_FALSE(platformCommon);
  EXPECT_EQ(MessageBox("Replace?", "Zelvora", MB_YESNO), IDNO);
  EXPECT_TRUE(dialogs.Saw("Replace?"));
  TOpenDialog open(nullptr);
  EXPECT_TRUE(open.Execute());
  EXPECT_EQ(common.Count(), 1);
}

TEST(ApplicationDialogs, InitializeInstallsTheWindowSystemsDialogsWhenNoneWere) {
  TDialogHandler before = SetDialogHandler(nullptr);
  TCommonDialogHandler beforeCommon = SetCommonDialogHandler(nullptr);
  Application->Initialize();
  TDialogHandler now = SetDialogHandler(std::move(before));
  TCommonDialogHandler nowCommon = SetCommonDialogHandler(std::move(beforeCommon));
  EXPECT_NE(now.target<TDialogAnswer (*)(const TDialogRequest&)>(), nullptr);
  EXPECT_NE(nowCommon.target<bool (*)(TCommonDialog*)>(), nullptr);
}
