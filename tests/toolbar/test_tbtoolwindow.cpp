// Tool windows: their own client size in a dock and across docking
// changes, full-size rows, limits, the client size in a saved layout, and
// the hosted controls placed in the client area.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/inifiles.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"
#include "toolbar/tbfloating.h"
#include "toolbar/tbtoolwindow.h"

namespace {

struct TToolWindowForm {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TTBDock* Top = new TTBDock(Form.get());
  TTBToolWindow* Status = new TTBToolWindow(Form.get());
  TTBToolWindow* Control = new TTBToolWindow(Form.get());

  TToolWindowForm() {
    Form->SetBounds(0, 0, 400, 300);
    Top->SetName("TBDockTop");
    Top->SetParent(Form.get());
    Status->SetName("TBToolWindowStatus");
    Control->SetName("TBToolWindowControl");
    Control->SetResizable(false);
    Status->SetClientAreaSize(100, 40);
    Control->SetClientAreaSize(80, 30);
    Control->SetDockRow(1);
    Status->SetCurrentDock(Top);
    Control->SetCurrentDock(Top);
  }
};

TEST(ToolWindow, StartsSmallWithLimitsOfItsOwn) {
  TForm F(nullptr);
  auto* W = new TTBToolWindow(&F);
  EXPECT_EQ(W->Width(), 32);
  EXPECT_EQ(W->Height(), 32);
  TPoint Min, Max;
  W->SizeLimits(Min, Max);
  EXPECT_EQ(Min, TPoint(32, 32));
  EXPECT_EQ(Max, TPoint(0, 0));  // no upper limit
  W->SetClientAreaWidth(70);     // keeps the height
  EXPECT_EQ(W->ClientAreaWidth(), 70);
  EXPECT_EQ(W->ClientAreaHeight(), 32);
}

TEST(ToolWindow, DockedItIsItsClientSizePlusTheDockedFrame) {
  TToolWindowForm T;
  const TPoint NC = T.Status->DockedNCSize();
  EXPECT_EQ(T.Status->Width(), 100 + NC.X);
  EXPECT_EQ(T.Status->Height(), 40 + NC.Y);
  EXPECT_EQ(T.Status->ClientAreaWidth(), 100);
  EXPECT_EQ(T.Top->Height(), T.Status->Height() + T.Control->Height());
  T.Status->SetClientAreaHeight(50);
  EXPECT_EQ(T.Status->Height(), 50 + NC.Y);
  EXPECT_EQ(T.Top->Height(), T.Status->Height() + T.Control->Height());
}

TEST(ToolWindow, FullSizeFillsTheRowAndKeepsTheStoredWidth) {
  TToolWindowForm T;
  T.Status->SetFullSize(true);
  EXPECT_EQ(T.Status->Width(), T.Top->Width());
  EXPECT_EQ(T.Status->StoredClientWidth(), 100);
  EXPECT_EQ(T.Status->ClientSizeFor(T.Top), TPoint(32, 40));  // the length is the layout's
  EXPECT_EQ(T.Status->ClientSizeFor(nullptr), TPoint(100, 40));
  T.Status->SetFullSize(false);
  EXPECT_EQ(T.Status->Width(), 100 + T.Status->DockedNCSize().X);
}

TEST(ToolWindow, SavedLayoutRestoresTheClientSizeOfResizableWindowsOnly) {
  TMemIniFile Ini("");
  {
    TToolWindowForm T;
    T.Status->SetClientAreaSize(150, 60);
    T.Control->SetClientAreaSize(90, 35);
    SaveDockablePositions(
        T.Form.get(),
        [](const std::string& S, const std::string& V, int D, void* St) {
          static_cast<TMemIniFile*>(St)->WriteString(S, V, std::to_string(D));
        },
        [](const std::string& S, const std::string& V, const std::string& D, void* St) {
          static_cast<TMemIniFile*>(St)->WriteString(S, V, D);
        },
        &Ini);
  }
  EXPECT_EQ(Ini.ReadString("TBToolWindowStatus", "ClientWidth", ""), "150");
  EXPECT_EQ(Ini.ReadString("TBToolWindowStatus", "ClientHeight", ""), "60");
  TToolWindowForm Fresh;
  LoadDockablePositions(
      Fresh.Form.get(),
      [](const std::string& S, const std::string& V, int D, void* St) {
        auto* I = static_cast<TMemIniFile*>(St);
        const bool Present = I->ValueExists(S, V);
        return TBParseStoredInteger(Present ? I->ReadString(S, V, "") : "", Present, D);
      },
      [](const std::string& S, const std::string& V, const std::string& D, void* St) {
        return static_cast<TMemIniFile*>(St)->ReadString(S, V, D);
      },
      &Ini);
  EXPECT_EQ(Fresh.Status->ClientAreaWidth(), 150);
  EXPECT_EQ(Fresh.Status->ClientAreaHeight(), 60);
  // Not resizable: the designed size stays.
  EXPECT_EQ(Fresh.Control->ClientAreaWidth(), 80);
  EXPECT_EQ(Fresh.Control->ClientAreaHeight(), 30);
}

}  // namespace

namespace {

// A control that fills itself with one colour and counts the presses it gets,
// at the point it got them.
template <class TBase>
class TPatch : public TBase {
public:
  TPatch(TComponent* Owner, TColor C) : TBase(Owner), Fill(C) {}
  TColor Fill;
  int Presses = 0;
  TPoint LastPress{-1, -1};

protected:
  void Paint() override {
    this->Canvas()->Brush()->SetColor(Fill);
    this->Canvas()->FillRect(Rect(0, 0, this->Width(), this->Height()));
  }
  void MouseDown(TMouseButton, TShiftState, int X, int Y) override {
    ++Presses;
    LastPress = Point(X, Y);
  }
};

}  // namespace

TEST(ToolWindow, HostedControlsCountFromTheClientArea) {
  // Placed at design coordinates, the controls sit inside the docked frame
  // and drag handle, and follow the client area when it moves.
  TToolWindowForm T;
  auto* Graphic = new TPatch<TGraphicControl>(T.Form.get(), clRed);
  Graphic->SetParent(T.Status);
  Graphic->SetBounds(0, 0, 30, 30);  // under the press wherever it lands
  auto* Window = new TPatch<TCustomControl>(T.Form.get(), clBlue);
  Window->SetParent(T.Status);
  Window->SetBounds(40, 0, 10, 10);
  T.Form->Show();

  struct TState {
    const char* Name;
    std::function<void()> Enter;
  } States[] = {
      {"docked", [] {}},
      {"docked without drag handle", [&] { T.Top->SetAllowDrag(false); }},
      {"floating", [&] { T.Status->MakeFloating(true); }},
  };
  for (const TState& S : States) {
    S.Enter();
    if (T.Status->FloatingParent()) T.Status->FloatingParent()->Show();
    const TPoint O = T.Status->ClientRect().TopLeft();
    EXPECT_EQ(T.Status->ChildOrigin(), O) << S.Name;
    EXPECT_EQ(guitest::ShownPixel(T.Status, O.X + 1, O.Y + 1), clRed) << S.Name;
    EXPECT_EQ(guitest::ShownPixel(T.Status, O.X + 41, O.Y + 1), clBlue) << S.Name;
    EXPECT_EQ(Graphic->ClientToScreen(Point(0, 0)), T.Status->ClientToScreen(O)) << S.Name;
    EXPECT_EQ(Window->ClientToScreen(Point(0, 0)), T.Status->ClientToScreen(Point(O.X + 40, O.Y))) << S.Name;
    // A press at the window's point over the graphic control reaches it in
    // its own coordinates.
    const int Before = Graphic->Presses;
    guitest::Click(T.Status, O.X + 5, O.Y + 6);
    EXPECT_EQ(Graphic->Presses, Before + 1) << S.Name;
    EXPECT_EQ(Graphic->LastPress, Point(5, 6)) << S.Name;
  }
}
