// Controls, messages, forms and the application, driven headless through the
// window system's input path.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/buttons.h"
#include "platform/ui/combos.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/menus.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/streaming.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

// Records the messages and events it gets; draws a not-xor rubber band from
// its mouse handlers, as a chart's zoom does.
class TSketch : public TCustomControl {
public:
  explicit TSketch(TComponent* owner) : TCustomControl(owner) {
    SetBounds(10, 10, 200, 120);
    SetColor(clWhite);
  }
  std::vector<std::string> Log;
  bool Dragging = false;
  TRect Band;
  unsigned Custom = 0;

  void DrawBand() {
    TCanvas* c = Canvas();
    c->Pen()->SetMode(pmNotXor);
    c->Pen()->SetColor(clBlack);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(Band);
    c->Pen()->SetMode(pmCopy);
  }

protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == 0xC123) {
      Custom = static_cast<unsigned>(m.WParam);
      m.Result = 77;
      return;
    }
    TCustomControl::WndProc(m);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    Log.push_back("down " + std::to_string(b) + (s.Contains(ssDouble) ? " double" : "") + " " + std::to_string(x) +
                  "," + std::to_string(y));
    TCustomControl::MouseDown(b, s, x, y);
    if (b == mbLeft && !s.Contains(ssDouble)) {
      Dragging = true;
      Band = Rect(x, y, x, y);
    }
  }
  void MouseMove(TShiftState s, int x, int y) override {
    Log.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    TCustomControl::MouseMove(s, x, y);
    if (Dragging) {
      DrawBand();  // erase the previous band
      Band.Right = x;
      Band.Bottom = y;
      DrawBand();
    }
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    Log.push_back("up " + std::to_string(b));
    TCustomControl::MouseUp(b, s, x, y);
    if (Dragging) {
      DrawBand();
      Dragging = false;
    }
  }
  void Click() override {
    Log.push_back("click");
    TCustomControl::Click();
  }
  void DblClick() override {
    Log.push_back("dblclick");
    TCustomControl::DblClick();
  }
  void KeyDown(uint16_t& key, TShiftState s) override {
    Log.push_back("keydown " + std::to_string(key));
    TCustomControl::KeyDown(key, s);
  }
  void KeyPress(char& key) override {
    Log.push_back(std::string("char ") + key);
    TCustomControl::KeyPress(key);
  }
};

struct FormFixture : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Form->SetCaption("Test");
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
};

}  // namespace

TEST_F(FormFixture, PanelWithButtonAndComboClickFiresOnClickOnce) {
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetAlign(alTop);
  panel->SetHeight(60);
  auto* button = new TButton(Form);
  button->SetParent(panel);
  button->SetBounds(8, 8, 75, 25);
  button->SetCaption("OK");
  auto* combo = new TComboBox(Form);
  combo->SetParent(panel);
  combo->SetBounds(100, 8, 120, 21);
  combo->SetStyle(csDropDownList);
  combo->Items()->Add("Line");
  combo->Items()->Add("Bar");
  int clicks = 0, changes = 0, selects = 0;
  button->OnClick = [&](TObject* s) {
    EXPECT_EQ(s, button);
    ++clicks;
  };
  combo->OnChange = [&](TObject*) { ++changes; };
  combo->OnSelect = [&](TObject*) { ++selects; };
  Form->Show();
  EXPECT_EQ(panel->Width(), 400);  // aligned to the top of the form
  Click(button, 10, 10);
  EXPECT_EQ(clicks, 1);
  combo->SetItemIndex(1);  // from code: no event
  EXPECT_EQ(combo->Text(), "Bar");
  EXPECT_EQ(changes + selects, 0);
  combo->UserSelected(0);
  EXPECT_EQ(selects, 1);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_EQ(combo->Perform(CB_SETDROPPEDWIDTH, 250, 0), 250);
  EXPECT_EQ(combo->Perform(CB_GETDROPPEDWIDTH, 0, 0), 250);
  // The panel paints its raised bevel.
  EXPECT_EQ(ColorToRGB(SurfacePixel(panel, 0, 0)), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(ColorToRGB(SurfacePixel(panel, 399, 59)), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ColorToRGB(SurfacePixel(panel, 50, 45)), ColorToRGB(clBtnFace));
}

TEST_F(FormFixture, ComboEditPartSelectsARangeAndFindsTheCharacterUnderAPoint) {
  auto* combo = new TCustomComboBox(Form);
  combo->SetParent(Form);
  combo->SetBounds(10, 10, 160, 24);
  combo->SetText("abcdef");
  Form->Show();
  combo->SetSelStart(2);
  combo->SetSelLength(3);
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->SelLength(), 3);
  combo->SetSelLength(0);
  EXPECT_EQ(combo->SelLength(), 0);
  EXPECT_EQ(combo->SelStart(), 2);
  EXPECT_EQ(combo->CharFromPos(TPoint{1, 12}), 0) << "left of the text";
  EXPECT_EQ(combo->CharFromPos(TPoint{120, 12}), 6) << "right of the text";
  combo->SetStyle(csDropDownList);
  EXPECT_EQ(combo->CharFromPos(TPoint{1, 12}), -1) << "a list has no edit part";
}

TEST_F(FormFixture, MouseDragDrawsAndErasesANotXorRubberBandFromTheHandlers) {
  auto* sketch = new TSketch(Form);
  sketch->SetParent(Form);
  Form->Show();
  sketch->Update();
  ASSERT_EQ(SurfacePixel(sketch, 20, 20), clWhite);
  MouseDown(sketch, mbLeft, 20, 20);
  MouseMove(sketch, 80, 60);
  // The band's corners are drawn (black on white) while dragging, outside the paint cycle.
  EXPECT_EQ(SurfacePixel(sketch, 20, 20), clBlack);
  EXPECT_EQ(SurfacePixel(sketch, 79, 40), clBlack);
  EXPECT_EQ(SurfacePixel(sketch, 50, 40), clWhite);
  MouseMove(sketch, 50, 30);
  EXPECT_EQ(SurfacePixel(sketch, 79, 40), clWhite);  // the old band is gone
  EXPECT_EQ(SurfacePixel(sketch, 49, 25), clBlack);
  MouseUp(sketch, mbLeft, 50, 30);
  for (int x = 15; x < 90; x += 5)
    for (int y = 15; y < 70; y += 5) ASSERT_EQ(SurfacePixel(sketch, x, y), clWhite) << x << "," << y;
  const char* tmp = std::getenv("TMPDIR");
  EXPECT_TRUE(SaveControlPng(Form, std::string(tmp ? tmp : "/tmp") + "/zelvora-ui-form.png"));
}

// What the handlers draw reaches the display with the next round of events,
// without anything asking for a repaint: a zoom band follows the mouse.
TEST_F(FormFixture, ABandDrawnFromTheHandlersIsDisplayedAndErased) {
  auto* sketch = new TSketch(Form);
  sketch->SetParent(Form);
  Form->Show();
  ProcessEvents();
  ASSERT_EQ(DisplayedPixel(sketch, 20, 20), clWhite);
  MouseDown(sketch, mbLeft, 20, 20);
  MouseMove(sketch, 80, 60);
  ProcessEvents();
  EXPECT_EQ(DisplayedPixel(sketch, 20, 20), clBlack);
  EXPECT_EQ(DisplayedPixel(sketch, 79, 40), clBlack);
  MouseMove(sketch, 50, 30);
  ProcessEvents();
  EXPECT_EQ(DisplayedPixel(sketch, 79, 40), clWhite);
  EXPECT_EQ(DisplayedPixel(sketch, 49, 25), clBlack);
  MouseUp(sketch, mbLeft, 50, 30);
  ProcessEvents();
  EXPECT_EQ(DisplayedPixel(sketch, 49, 25), clWhite);
}

// The same holds for a graphic control, which draws on its parent's surface,
// and for a form's own canvas.
TEST_F(FormFixture, DrawingOutsideAPaintOnAGraphicControlOrAFormIsDisplayed) {
  auto* mark = new TGraphicControl(Form);
  mark->SetParent(Form);
  mark->SetBounds(250, 40, 60, 60);
  Form->SetColor(clWhite);
  Form->Show();
  ProcessEvents();
  struct TCase {
    const char* Name;
    TControl* Shown;
    TCanvas* Canvas;
    TColor Color;
  };
  const TCase cases[] = {{"graphic control", mark, mark->Canvas(), clRed},
                         {"form", Form, Form->Canvas(), clBlue}};
  for (const TCase& c : cases) {
    ASSERT_EQ(DisplayedPixel(c.Shown, 5, 5), clWhite) << c.Name;
    c.Canvas->Brush()->SetColor(c.Color);
    c.Canvas->FillRect(Rect(0, 0, 10, 10));
    ProcessEvents();
    EXPECT_EQ(DisplayedPixel(c.Shown, 5, 5), c.Color) << c.Name;
  }
}

TEST_F(FormFixture, MouseMessagesArriveInTheClassLibrarysOrder) {
  auto* sketch = new TSketch(Form);
  sketch->SetParent(Form);
  Form->Show();
  DblClick(sketch, 5, 6);
  // Down, click and up for the first press, then the double click before its
  // down event; the second release clicks no more.
  EXPECT_EQ(sketch->Log, (std::vector<std::string>{"down 0 5,6", "click", "up 0", "dblclick", "down 0 double 5,6",
                                                   "up 0"}));
  sketch->Log.clear();
  MouseDown(sketch, mbRight, 3, 4);
  MouseUp(sketch, mbRight, 3, 4);
  EXPECT_EQ(sketch->Log, (std::vector<std::string>{"down 1 3,4", "up 1"}));

  // Wheel: whole notches reach the up/down events once each.
  int downs = 0, ups = 0;
  sketch->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& h) {
    ++downs;
    h = true;
  };
  sketch->OnMouseWheelUp = [&](TObject*, TShiftState, TPoint, bool& h) {
    ++ups;
    h = true;
  };
  // Nothing the sketch gets reaches the form as well.
  int formDowns = 0;
  Form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++formDowns; };
  Click(sketch, 7, 7);
  EXPECT_EQ(formDowns, 0);
  Click(Form, 300, 250);
  EXPECT_EQ(formDowns, 1);
  Wheel(sketch, -2, 10, 10);
  Wheel(sketch, 1, 10, 10);
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(ups, 1);

  // Keys: key down before the character.
  sketch->Log.clear();
  Key(sketch, 'A', "a");
  EXPECT_EQ(sketch->Log, (std::vector<std::string>{"keydown 65", "char a"}));
  // Key preview: the form sees the key first and may eat it.
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [](TObject*, uint16_t& k, TShiftState) {
    if (k == VK_F2) k = 0;
  };
  sketch->Log.clear();
  Key(sketch, VK_F2);
  Key(sketch, VK_F3);
  EXPECT_EQ(sketch->Log, (std::vector<std::string>{"keydown 114"}));
}

TEST_F(FormFixture, EnterAndLeaveReachGraphicControlsThroughTheirParent) {
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(0, 0, 300, 100);
  auto* speed = new TSpeedButton(Form);
  speed->SetParent(panel);
  speed->SetBounds(10, 10, 30, 30);
  int enter = 0, leave = 0, clicks = 0;
  speed->OnMouseEnter = [&](TObject*) { ++enter; };
  speed->OnMouseLeave = [&](TObject*) { ++leave; };
  speed->OnClick = [&](TObject*) { ++clicks; };
  Form->Show();
  MouseMove(panel, 20, 20);
  MouseMove(panel, 100, 50);
  EXPECT_EQ(enter, 1);
  EXPECT_EQ(leave, 1);
  Click(speed, 5, 5);
  EXPECT_EQ(clicks, 1);
  // Pressed inside, released outside: no click.
  MouseDown(speed, mbLeft, 5, 5);
  MouseUp(speed, mbLeft, 200, 80);
  EXPECT_EQ(clicks, 1);
}

TEST_F(FormFixture, ModalFormReturnsTheResponderAnswerAndButtonsCloseIt) {
  TModalResponder responder;
  auto* dialog = new TForm(Form);
  auto* ok = new TButton(dialog);
  ok->SetParent(dialog);
  ok->SetModalResult(mrOk);
  int shows = 0, closes = 0;
  dialog->OnShow = [&](TObject*) { ++shows; };
  dialog->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  responder.Answer(mrYes);
  EXPECT_EQ(dialog->ShowModal(), mrYes);
  EXPECT_FALSE(dialog->Visible());
  responder.Do([&](TCustomForm*) {
    Click(ok, 3, 3);
    return mrNone;
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(shows, 2);
  EXPECT_EQ(closes, 2);
  EXPECT_EQ(dialog->ShowModal(), mrCancel);  // nothing scripted
  dialog->Show();
  EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
}

TEST_F(FormFixture, ExceptionInAClickHandlerIsReportedAndTheProgramGoesOn) {
  auto* button = new TButton(Form);
  button->SetParent(Form);
  int clicks = 0;
  button->OnClick = [&](TObject*) {
    if (++clicks == 1) throw EConvertError("'x' is not a valid integer value");
  };
  Form->Show();
  {
    TDialogResponder dialogs;
    Click(button, 5, 5);
    ASSERT_EQ(dialogs.Count(), 1u);
    EXPECT_EQ(dialogs.Last().Text, "'x' is not a valid integer value.");
    EXPECT_EQ(dialogs.Last().Flags & MB_ICONSTOP, MB_ICONSTOP);
    Click(button, 5, 5);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(dialogs.Count(), 1u);
  }
  // OnException takes over; a silent abort is not reported at all.
  std::string seen;
  Application->OnException = [&](TObject*, const std::exception& e) { seen = e.what(); };
  button->OnClick = [](TObject*) { throw Exception("boom"); };
  Click(button, 5, 5);
  EXPECT_EQ(seen, "boom");
  seen.clear();
  button->OnClick = [](TObject*) { Abort(); };
  Click(button, 5, 5);
  EXPECT_EQ(seen, "");
  Application->OnException = nullptr;
}

TEST_F(FormFixture, EventsFireWhenValuesAreSetFromCode) {
  auto* check = new TCheckBox(Form);
  check->SetParent(Form);
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  auto* sketch = new TSketch(Form);
  sketch->SetParent(Form);
  int checkClicks = 0, editChanges = 0, resizes = 0;
  check->OnClick = [&](TObject*) { ++checkClicks; };
  edit->OnChange = [&](TObject*) { ++editChanges; };
  sketch->OnResize = [&](TObject*) { ++resizes; };
  check->SetChecked(true);
  check->SetChecked(true);
  edit->SetText("12.5");
  sketch->SetWidth(150);
  sketch->SetLeft(3);  // a move is not a resize
  EXPECT_EQ(checkClicks, 1);
  EXPECT_EQ(editChanges, 1);
  EXPECT_EQ(resizes, 1);
  // Typing into the edit goes through the widget and reports each change.
  Form->Show();
  edit->SetText("");
  editChanges = 0;
  TypeText(edit, "3.5");
  EXPECT_EQ(edit->Text(), "3.5");
  EXPECT_EQ(editChanges, 3);
  Click(check, 5, 5);
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(checkClicks, 2);
}

TEST_F(FormFixture, AlignmentAndAnchorsFollowTheParent) {
  auto* top = new TPanel(Form);
  top->SetParent(Form);
  top->SetHeight(30);
  top->SetAlign(alTop);
  auto* left = new TPanel(Form);
  left->SetParent(Form);
  left->SetWidth(50);
  left->SetAlign(alLeft);
  auto* client = new TPanel(Form);
  client->SetParent(Form);
  client->SetAlign(alClient);
  auto* corner = new TButton(client);
  corner->SetParent(client);
  corner->SetBounds(250, 200, 60, 20);  // 40 from the right, 50 from the bottom of 350 x 270
  corner->SetAnchors({akRight, akBottom});
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 400, 30));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 50, 300));
  EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 400, 300));
  Form->SetBounds(0, 0, 500, 400);
  EXPECT_EQ(client->BoundsRect(), Rect(50, 30, 500, 400));
  EXPECT_EQ(corner->BoundsRect(), Rect(350, 300, 410, 320));
}

TEST_F(FormFixture, PerformDispatchAndPostedMessages) {
  auto* sketch = new TSketch(Form);
  sketch->SetParent(Form);
  const unsigned msg = RegisterWindowMessage("ZelvoraTestMessage");
  EXPECT_EQ(RegisterWindowMessage("ZelvoraTestMessage"), msg);
  EXPECT_GE(msg, 0xC000u);
  // A handler in WndProc sees sent messages at once.
  EXPECT_EQ(sketch->Perform(0xC123, 5, 0), 77);
  EXPECT_EQ(sketch->Custom, 5u);
  // Posted messages wait for the message loop.
  ASSERT_TRUE(PostMessage(sketch->Handle(), 0xC123, 9, 0));
  EXPECT_EQ(sketch->Custom, 5u);
  ProcessEvents();
  EXPECT_EQ(sketch->Custom, 9u);
  // A message posted to a window that is gone is dropped.
  const HWND h = sketch->Handle();
  PostMessage(h, 0xC123, 11, 0);
  delete sketch;
  ProcessEvents();
  EXPECT_FALSE(PostMessage(h, 0xC123, 1, 0));
}

TEST_F(FormFixture, ACharacterSentToAnEditBoxAsAMessageIsTypedIntoIt) {
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetBounds(10, 10, 100, 22);
  edit->SetText("ab");
  edit->HandleNeeded();
  edit->SetSelStart(1);
  std::string keys;
  edit->OnKeyPress = [&](TObject*, char& k) {
    keys += k;
    if (k == 'u') k = 'U';
    if (k == '!') k = 0;
  };
  edit->Perform(WM_CHAR, 'x', 0);
  EXPECT_EQ(edit->Text(), "axb");
  ASSERT_TRUE(PostMessage(edit->Handle(), WM_CHAR, 'u', 0));
  PostMessage(edit->Handle(), WM_CHAR, '!', 0);
  PostMessage(edit->Handle(), WM_CHAR, '\b', 0);
  ProcessEvents();
  EXPECT_EQ(edit->Text(), "axUb") << "the key-press handler changes and drops characters; control characters type nothing";
  edit->SelectAll();
  edit->Perform(WM_CHAR, 'z', 0);
  EXPECT_EQ(edit->Text(), "z") << "the character replaces the selection";
  // A key typed into the box inserts its character once.
  Key(edit, 'Q', "q");
  EXPECT_EQ(edit->Text(), "zq");
  EXPECT_EQ(keys, "xu!\bzq");
  edit->SetReadOnly(true);
  edit->Perform(WM_CHAR, 'r', 0);
  EXPECT_EQ(edit->Text(), "zq");
}

TEST_F(FormFixture, AnIdleMessageLoopSleepsUntilSomethingArrives) {
  auto* sketch = new TSketch(Form);
  sketch->SetParent(Form);
  ProcessEvents();
  const HWND h = sketch->Handle();
  int idles = 0, sleeps = 0;
  Application->OnIdle = [&](TObject*, bool&) { ++idles; };
  // The hook stands for the event that ends the sleep.
  Application->SetSleepHook([&] {
    ++sleeps;
    PostMessage(h, 0xC123, 10 + sleeps, 0);
  });
  PostMessage(h, 0xC123, 1, 0);
  // A round with work handles it and idles without sleeping.
  Application->HandleMessage();
  EXPECT_EQ(sketch->Custom, 1u);
  EXPECT_EQ(idles, 1);
  EXPECT_EQ(sleeps, 0);
  // After an idle round the next one sleeps (no busy polling) until an event
  // arrives, and handles it before it returns.
  Application->HandleMessage();
  EXPECT_EQ(sleeps, 1);
  EXPECT_EQ(sketch->Custom, 11u);
  EXPECT_EQ(idles, 2);
  // An idle handler that leaves Done false is asked again without a sleep.
  Application->OnIdle = [&](TObject*, bool& done) {
    ++idles;
    done = false;
  };
  Application->HandleMessage();
  Application->HandleMessage();
  Application->HandleMessage();
  EXPECT_EQ(sleeps, 2);
  EXPECT_EQ(idles, 5);
  Application->OnIdle = nullptr;
  Application->SetSleepHook(nullptr);
}

TEST_F(FormFixture, CloseQueryCloseAndRelease) {
  auto* other = new TForm(nullptr);
  bool allow = false;
  TCloseAction chosen = caHide;
  other->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
  other->OnClose = [&](TObject*, TCloseAction& a) { a = chosen; };
  other->Show();
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = true;
  other->Close();
  EXPECT_FALSE(other->Visible());
  int destroyed = 0;
  other->OnDestroy = [&](TObject*) { ++destroyed; };
  other->Show();
  chosen = caFree;
  other->Close();
  EXPECT_EQ(destroyed, 0);  // freed only after the event
  ProcessEvents();
  EXPECT_EQ(destroyed, 1);
}

TEST_F(FormFixture, TimersFireWithoutWaiting) {
  auto* timer = new TTimer(Form);
  int ticks = 0;
  timer->SetInterval(60000);
  timer->SetOnTimer([&](TObject*) { ++ticks; });
  FireTimers();
  EXPECT_EQ(ticks, 1);
  timer->SetEnabled(false);
  FireTimers();
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(timer->Active());
}

TEST_F(FormFixture, ScreenKnowsFormsCursorsAndMetrics) {
  Form->Show();
  EXPECT_EQ(Screen->ActiveForm(), Form);
  EXPECT_GE(Screen->FormCount(), 1);
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  EXPECT_GT(Screen->Width(), 0);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(ScreenCursor().Cursor(), crHourGlass);
  Screen->SetCursor(crDefault);
  TBitmap hand(16, 16);
  Screen->SetCursors(2020, &hand, 3, 1);
  EXPECT_TRUE(Screen->HasCursor(2020));
  Screen->RemoveCursor(2020);
  EXPECT_FALSE(Screen->HasCursor(2020));
  EXPECT_GT(Screen->Fonts()->Count(), 0);
}

TEST_F(FormFixture, ControlsStreamWithTheirOwnerAndParent) {
  RegisterClasses({&TPanel::StaticClass(), &TButton::StaticClass(), &TLabel::StaticClass(), &TForm::StaticClass()});
  auto* panel = new TPanel(Form);
  panel->SetName("Panel1");
  panel->SetParent(Form);
  panel->SetBevelOuter(bvLowered);
  auto* button = new TButton(Form);
  button->SetName("Button1");
  button->SetParent(panel);
  button->SetCaption("Go");
  const std::string text = ComponentToText(Form);
  EXPECT_NE(text.find("  object Panel1: TPanel\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    BevelOuter = bvLowered\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    object Button1: TButton\n"), std::string::npos) << text;
  TForm copy(nullptr);
  TextToComponent(text, &copy);
  auto* p2 = dynamic_cast<TPanel*>(copy.FindComponent("Panel1"));
  auto* b2 = dynamic_cast<TButton*>(copy.FindComponent("button1"));
  ASSERT_TRUE(p2 && b2);
  EXPECT_EQ(b2->Parent(), p2);
  EXPECT_EQ(p2->Parent(), &copy);
  EXPECT_EQ(b2->Caption(), "Go");
  EXPECT_EQ(p2->BevelOuter(), bvLowered);
}

TEST_F(FormFixture, RightClickOpensThePopupMenuUnlessTheContextEventHandlesIt) {
  auto* sketch = new TSketch(Form);
  sketch->SetParent(Form);
  auto* menu = new TPopupMenu(Form);
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  sketch->SetPopupMenu(menu);
  Form->Show();
  Click(sketch, 20, 30, mbRight);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(menu->PopupComponent(), sketch);
  EXPECT_EQ(menu->PopupPoint(), sketch->ClientToScreen(Point(20, 30)));
  sketch->OnContextPopup = [](TObject*, TPoint, bool& handled) { handled = true; };
  Click(sketch, 20, 30, mbRight);
  EXPECT_EQ(popups, 1);
  delete menu;  // the control forgets a freed menu
  EXPECT_EQ(sketch->PopupMenu(), nullptr);
}

namespace {
// Paints nothing and keeps the background the erase message left.
class TQuiet : public TCustomControl {
public:
  explicit TQuiet(TComponent* o) : TCustomControl(o) { SetColor(clYellow); }
  bool SkipErase = false;

protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == WM_ERASEBKGND && SkipErase) {
      m.Result = 1;
      return;
    }
    TCustomControl::Dispatch(m);
  }
};
}  // namespace

TEST_F(FormFixture, EraseBackgroundIsAMessageAControlMayTakeOver) {
  auto* q = new TQuiet(Form);
  q->SetParent(Form);
  q->SetBounds(0, 0, 50, 50);
  EXPECT_EQ(SurfacePixel(q, 10, 10), clYellow);
  q->Canvas()->SetPixels(10, 10, clRed);
  q->SkipErase = true;
  q->Repaint();
  EXPECT_EQ(SurfacePixel(q, 10, 10), clRed);
  q->SkipErase = false;
  q->Repaint();
  EXPECT_EQ(SurfacePixel(q, 10, 10), clYellow);
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
}

TEST_F(FormFixture, FocusEntersAndLeavesNestedControlsFromTheOutsideIn) {
  auto* panel = new TPanel(Form);
  panel->SetParent(Form);
  panel->SetBounds(0, 0, 200, 100);
  auto* inner = new TEdit(Form);
  inner->SetParent(panel);
  inner->SetBounds(5, 5, 100, 24);
  auto* outer = new TEdit(Form);
  outer->SetParent(Form);
  outer->SetBounds(0, 150, 100, 24);
  std::vector<std::string> log;
  panel->OnEnter = [&](TObject*) { log.push_back("panel enter"); };
  panel->OnExit = [&](TObject*) { log.push_back("panel exit"); };
  inner->OnEnter = [&](TObject*) { log.push_back("inner enter"); };
  inner->OnExit = [&](TObject*) { log.push_back("inner exit"); };
  Form->Show();
  outer->SetFocus();
  ProcessEvents();
  log.clear();
  inner->SetFocus();
  ProcessEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"panel enter", "inner enter"}));
  log.clear();
  outer->SetFocus();
  ProcessEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"inner exit", "panel exit"}));

  // A Tab handed to the panel while its child holds the focus moves it on.
  inner->SetFocus();
  ProcessEvents();
  log.clear();
  panel->Perform(WM_KEYDOWN, VK_TAB, 0);
  ProcessEvents();
  EXPECT_TRUE(outer->Focused());
  EXPECT_EQ(log, (std::vector<std::string>{"inner exit", "panel exit"}));
}
