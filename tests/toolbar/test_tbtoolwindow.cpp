// Tool windows: their own client size in a dock and across docking
// changes, full-size rows, limits, and the client size in a saved layout.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/rtl/inifiles.h"
#include "platform/ui/forms.h"
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
