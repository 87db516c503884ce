// Paced repaints: while an interval is set, a window repainted less than the
// interval ago waits for its timer; nothing asked for is lost, and input is
// handled on every call as before.
#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

class TCounted : public TCustomControl {
public:
  explicit TCounted(TComponent* owner) : TCustomControl(owner) { SetBounds(10, 10, 80, 40); }
  int Paints = 0;
  int Posted = 0;

protected:
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == 0xC321) {
      ++Posted;
      return;
    }
    TCustomControl::WndProc(m);
  }
};

struct PacedWindow {
  std::unique_ptr<TForm> Form;
  TCounted* Control;
  PacedWindow() : Form(std::make_unique<TForm>(nullptr)) {
    Form->SetBounds(0, 0, 200, 100);
    Control = new TCounted(Form.get());
    Control->SetParent(Form.get());
    Form->Show();
    ProcessEvents();
  }
  // Asks for a repaint and lets the events run: how many paints that made.
  int Repaint() {
    const int before = Control->Paints;
    Control->Invalidate();
    ProcessEvents();
    return Control->Paints - before;
  }
};

struct PaintPacing : ::testing::Test {
  void SetUp() override { EnsureGui(); }
  void TearDown() override { Application->SetPaintInterval(0); }
};

TEST_F(PaintPacing, HeldRepaintsAreDoneByTheTimerOrWhenPacingEnds) {
  PacedWindow w;
  EXPECT_EQ(w.Repaint(), 1);  // not paced: at once
  EXPECT_EQ(w.Repaint(), 1);

  Application->SetPaintInterval(60000);
  EXPECT_EQ(Application->PaintInterval(), 60000);
  EXPECT_EQ(w.Repaint(), 1);  // the first since pacing began
  EXPECT_EQ(w.Repaint(), 0);  // within the interval: held
  PostMessage(w.Control->Handle(), 0xC321, 0, 0);
  EXPECT_EQ(w.Repaint(), 0);
  EXPECT_EQ(w.Control->Posted, 1);  // messages still go through
  FireTimers();
  EXPECT_EQ(w.Control->Paints, 5);  // the two held requests made one paint
  EXPECT_EQ(w.Repaint(), 0);
  FireTimers();
  FireTimers();  // nothing more is held
  EXPECT_EQ(w.Control->Paints, 6);

  EXPECT_EQ(w.Repaint(), 0);
  Application->SetPaintInterval(0);  // what is held is painted at once
  EXPECT_EQ(w.Control->Paints, 7);
  EXPECT_EQ(w.Repaint(), 1);
}

TEST_F(PaintPacing, WindowsArePacedEachOnItsOwnAndMayGoWhileHeld) {
  PacedWindow a;
  auto b = std::make_unique<PacedWindow>();
  Application->SetPaintInterval(60000);
  EXPECT_EQ(a.Repaint(), 1);
  EXPECT_EQ(b->Repaint(), 1);  // painted a moment ago is another window
  EXPECT_EQ(a.Repaint(), 0);
  EXPECT_EQ(b->Repaint(), 0);
  b.reset();  // gone with a repaint held
  FireTimers();
  EXPECT_EQ(a.Control->Paints, 3);
  EXPECT_EQ(a.Repaint(), 0);
  Application->SetPaintInterval(0);
  EXPECT_EQ(a.Control->Paints, 4);
}

}  // namespace
