// A small form for looking at the window layer on a real display: run it
// under a window system (or Xvfb); with ZELVORA_DEMO_SHOT=<file.png> it saves
// a picture of the screen after a moment and quits.
#include <cstdlib>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include "platform/ui/buttons.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

namespace {

class TDemoSketch : public TCustomControl {
public:
  explicit TDemoSketch(TComponent* owner) : TCustomControl(owner) {}

protected:
  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clWhite);
    c->FillRect(ClientRect());
    c->Pen()->SetColor(clNavy);
    c->Brush()->SetColor(clAqua);
    c->Ellipse(10, 10, 90, 60);
    c->Brush()->SetStyle(bsDiagCross);
    c->Brush()->SetColor(clRed);
    c->Rectangle(100, 10, 190, 60);
    c->Pen()->SetStyle(psDot);
    c->MoveTo(10, 80);
    c->LineTo(190, 80);
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetName("Arial");
    c->Font()->SetSize(10);
    c->TextOut(10, 90, "Rwp = 12.34 %");
  }
};

}  // namespace

int main() {
  Application->Initialize();
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetCaption("Zelvora window layer");
  form->SetBounds(40, 40, 420, 260);
  auto* top = new TPanel(form);
  top->SetParent(form);
  top->SetAlign(alTop);
  top->SetHeight(44);
  top->SetBevelInner(bvLowered);
  auto* button = new TButton(form);
  button->SetParent(top);
  button->SetBounds(8, 9, 75, 25);
  button->SetCaption("Refine");
  auto* combo = new TComboBox(form);
  combo->SetParent(top);
  combo->SetBounds(92, 10, 120, 24);
  combo->SetStyle(csDropDownList);
  for (const char* s : {"Observed", "Calculated", "Difference"}) combo->Items()->Add(s);
  combo->SetItemIndex(1);
  auto* speed = new TSpeedButton(form);
  speed->SetParent(top);
  speed->SetBounds(220, 9, 60, 25);
  speed->SetCaption("Zoom");
  speed->SetGroupIndex(1);
  speed->SetAllowAllUp(true);
  speed->SetDown(true);
  auto* check = new TCheckBox(form);
  check->SetParent(top);
  check->SetBounds(290, 12, 110, 20);
  check->SetCaption("Show marks");
  check->SetChecked(true);
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(8, 52, 100, 16);
  label->SetCaption("Histogram 1:");
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(100, 50, 100, 22);
  edit->SetText("1.5406");
  auto* sketch = new TDemoSketch(form);
  sketch->SetParent(form);
  sketch->SetBounds(8, 80, 200, 120);
  auto* status = new TPanel(form);
  status->SetParent(form);
  status->SetAlign(alBottom);
  status->SetHeight(22);
  status->SetAlignment(taLeftJustify);
  status->SetCaption(" Ready");
  button->OnClick = [status](TObject*) { status->SetCaption(" Refining..."); };

  const char* shot = std::getenv("ZELVORA_DEMO_SHOT");
  auto* timer = new TTimer(form);
  if (shot) {
    std::string file = shot;
    timer->SetInterval(700);
    timer->SetOnTimer([file, form, timer](TObject*) {
      timer->SetEnabled(false);
      if (QScreen* screen = QGuiApplication::primaryScreen()) screen->grabWindow(0).save(QString::fromStdString(file));
      form->Close();
    });
  }
  Application->Run();
  return 0;
}
