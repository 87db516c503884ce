// Saving and restoring the window layout through the reader and writer
// callbacks, against an INI text written here by hand.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/registry.h"
#include "platform/ui/classes.h"
#include "toolbar/tblayoutstore.h"

namespace {

std::vector<std::string>* gLog = nullptr;
void Log(const std::string& S) {
  if (gLog) gLog->push_back(S);
}

class TFakeDock : public TComponent, public TTBPositionDock {
 public:
  TFakeDock(TComponent* Owner, const std::string& N, bool Drag = true) : TComponent(Owner), Drag(Drag) { SetName(N); }
  bool Drag;
  bool AllowDrag() const override { return Drag; }
  void BeginUpdate() override { Log("begin " + Name()); }
  void EndUpdate() override { Log("end " + Name()); }
};

class TFakeWindow : public TComponent, public TTBPositionWindow {
 public:
  TFakeWindow(TComponent* Owner, const std::string& N) : TComponent(Owner) { SetName(N); }
  bool Vis = true;
  TComponent* Dock = nullptr;
  bool Float = false;
  TComponent* Last = nullptr;
  bool UseLast = true;
  int Row = 0, Pos = -1;
  TPoint FloatPos{0, 0};
  int Arranged = 0;
  bool MovedOnScreen = false;

  bool PositionVisible() const override { return Vis; }
  void SetPositionVisible(bool V) override { Vis = V; }
  TComponent* CurrentDockComponent() const override { return Dock; }
  bool Floating() const override { return Float; }
  TComponent* LastDockComponent() const override { return Last; }
  void SetLastDockComponent(TComponent* D) override { Last = D; }
  bool UseLastDock() const override { return UseLast; }
  int StoredDockRow() const override { return Row; }
  void SetStoredDockRow(int V) override { Row = V; }
  int StoredDockPos() const override { return Pos; }
  void SetStoredDockPos(int V) override { Pos = V; }
  TPoint FloatingPosition() const override { return FloatPos; }
  void SetFloatingPosition(TPoint P) override { FloatPos = P; }
  void DockInto(TComponent* D) override {
    Dock = D;
    Last = D;  // docking makes the dock the last one
    Float = false;
    Log("dock " + Name() + " " + D->Name());
  }
  void MakeFloating() override {
    Dock = nullptr;
    Float = true;
  }
  void MoveOnScreen(bool) override { MovedOnScreen = true; }
  void Arrange() override { ++Arranged; }
};

// A toolbar writes its floating width after the common values.
class TFakeToolbar : public TFakeWindow {
 public:
  using TFakeWindow::TFakeWindow;
  int FloatingWidth = 0;
  void SaveExtraPosition(const TTBWritePositionData& D) override {
    D.WriteIntProc(Name(), "FloatRightX", FloatingWidth, D.Store);
  }
  void LoadExtraPosition(const TTBReadPositionData& D) override {
    FloatingWidth = D.ReadIntProc(Name(), "FloatRightX", 0, D.Store);
  }
};

// A tool window writes its client size.
class TFakeToolWindow : public TFakeWindow {
 public:
  using TFakeWindow::TFakeWindow;
  int CW = 100, CH = 50;
  void SaveExtraPosition(const TTBWritePositionData& D) override {
    D.WriteIntProc(Name(), "ClientWidth", CW, D.Store);
    D.WriteIntProc(Name(), "ClientHeight", CH, D.Store);
  }
  void LoadExtraPosition(const TTBReadPositionData& D) override {
    CW = D.ReadIntProc(Name(), "ClientWidth", CW, D.Store);
    CH = D.ReadIntProc(Name(), "ClientHeight", CH, D.Store);
  }
};

void SaveToIni(TComponent* Form, TMemIniFile& Ini) {
  SaveDockablePositions(
      Form,
      [](const std::string& S, const std::string& V, int D, void* St) {
        static_cast<TMemIniFile*>(St)->WriteString(S, V, std::to_string(D));
      },
      [](const std::string& S, const std::string& V, const std::string& D, void* St) {
        static_cast<TMemIniFile*>(St)->WriteString(S, V, D);
      },
      &Ini);
}

void LoadFromIni(TComponent* Form, TMemIniFile& Ini) {
  LoadDockablePositions(
      Form,
      [](const std::string& S, const std::string& V, int D, void* St) {
        auto* Ini = static_cast<TMemIniFile*>(St);
        const bool Present = Ini->ValueExists(S, V);
        return TBParseStoredInteger(Present ? Ini->ReadString(S, V, "") : "", Present, D);
      },
      [](const std::string& S, const std::string& V, const std::string& D, void* St) {
        return static_cast<TMemIniFile*>(St)->ReadString(S, V, D);
      },
      &Ini);
}

struct TMainForm {
  std::unique_ptr<TComponent> Form = std::make_unique<TComponent>(nullptr);
  TFakeDock* Top = new TFakeDock(Form.get(), "TBDock1");
  TFakeDock* Bottom = new TFakeDock(Form.get(), "TBDockBottom");
  TFakeToolbar* Main = new TFakeToolbar(Form.get(), "TBToolbarMain");
  TFakeToolbar* Menu = new TFakeToolbar(Form.get(), "TBToolbarMenu");
  TFakeToolbar* Rietveld = new TFakeToolbar(Form.get(), "TBToolbarRietveld");
  TFakeToolWindow* Status = new TFakeToolWindow(Form.get(), "TBToolWindowStatus");
};

const char* const kSaved =
    "[TBToolbarMain]\n"
    "Rev=2000\nVisible=1\nDockedTo=TBDock1\nLastDock=TBDock1\nDockRow=1\nDockPos=0\nFloatLeft=0\nFloatTop=0\n"
    "FloatRightX=0\n"
    "\n"
    "[TBToolbarMenu]\n"
    "Rev=2000\nVisible=1\nDockedTo=TBDock1\nLastDock=TBDock1\nDockRow=0\nDockPos=0\nFloatLeft=0\nFloatTop=0\n"
    "FloatRightX=0\n"
    "\n"
    "[TBToolbarRietveld]\n"
    "Rev=2000\nVisible=0\nDockedTo=+\nLastDock=TBDockBottom\nDockRow=2\nDockPos=37\nFloatLeft=-40\n"
    "FloatTop=300\nFloatRightX=120\n"
    "\n"
    "[TBToolWindowStatus]\n"
    "Rev=2000\nVisible=1\nDockedTo=TBDockBottom\nLastDock=TBDockBottom\nDockRow=0\nDockPos=5\nFloatLeft=0\n"
    "FloatTop=0\nClientWidth=240\nClientHeight=90\n";

TEST(ToolbarLayoutStore, SavesEveryWindowInOrderWithExactText) {
  TMainForm M;
  M.Main->Dock = M.Top;
  M.Main->Last = M.Top;
  M.Main->Row = 1;
  M.Main->Pos = 0;
  M.Menu->Dock = M.Top;
  M.Menu->Last = M.Top;
  M.Menu->Pos = 0;
  M.Rietveld->Float = true;
  M.Rietveld->Vis = false;
  M.Rietveld->Last = M.Bottom;
  M.Rietveld->Row = 2;
  M.Rietveld->Pos = 37;
  M.Rietveld->FloatPos = {-40, 300};
  M.Rietveld->FloatingWidth = 120;
  M.Status->Dock = M.Bottom;
  M.Status->Last = M.Bottom;
  M.Status->Pos = 5;
  M.Status->CW = 240;
  M.Status->CH = 90;
  // Neither docked nor floating (placed inside another window): not saved.
  new TFakeToolbar(M.Form.get(), "TBInner");
  TMemIniFile Ini("");
  SaveToIni(M.Form.get(), Ini);
  EXPECT_EQ(Ini.Text(), kSaved);
}

TEST(ToolbarLayoutStore, LoadsIntoAFreshWindowWithOneLayoutPerDock) {
  std::vector<std::string> L;
  gLog = &L;
  TMainForm M;
  TMemIniFile Ini("");
  Ini.SetText(kSaved);
  LoadFromIni(M.Form.get(), Ini);
  gLog = nullptr;

  EXPECT_EQ(M.Main->Dock, M.Top);
  EXPECT_EQ(M.Main->Row, 1);
  EXPECT_EQ(M.Main->Pos, 0);
  EXPECT_EQ(M.Menu->Dock, M.Top);
  EXPECT_EQ(M.Status->Dock, M.Bottom);
  EXPECT_EQ(M.Status->Pos, 5);
  EXPECT_EQ(M.Status->CW, 240);
  EXPECT_EQ(M.Status->CH, 90);
  EXPECT_TRUE(M.Rietveld->Float);
  EXPECT_FALSE(M.Rietveld->Vis);
  EXPECT_EQ(M.Rietveld->FloatPos, (TPoint{-40, 300}));
  EXPECT_TRUE(M.Rietveld->MovedOnScreen);
  EXPECT_EQ(M.Rietveld->Last, M.Bottom);
  EXPECT_EQ(M.Rietveld->FloatingWidth, 120);
  EXPECT_EQ(M.Main->Arranged, 1);
  // Every dock is in update mode while the windows move, and leaves it last
  // to first.
  const std::vector<std::string> Expected = {"begin TBDock1",
                                             "begin TBDockBottom",
                                             "dock TBToolbarMain TBDock1",
                                             "dock TBToolbarMenu TBDock1",
                                             "dock TBToolWindowStatus TBDockBottom",
                                             "end TBDockBottom",
                                             "end TBDock1"};
  EXPECT_EQ(L, Expected);

  // Saving what was loaded gives the same text back.
  TMemIniFile Again("");
  SaveToIni(M.Form.get(), Again);
  EXPECT_EQ(Again.Text(), kSaved);
}

TEST(ToolbarLayoutStore, SectionsThatDoNotApply) {
  struct TCase {
    const char* What;
    const char* Section;
    bool Visible;  // expected afterwards (was true)
    bool Moved;
  };
  const TCase Cases[] = {
      {"unknown dock: visibility only", "Rev=2000\nVisible=0\nDockedTo=tbdockNowhere\nDockRow=3\n", false, false},
      {"dock name in other case", "Rev=2000\nVisible=1\nDockedTo=tbdockbottom\nDockRow=3\n", true, true},
      {"dock without dragging", "Rev=2000\nVisible=0\nDockedTo=TBDockFixed\nDockRow=3\n", false, false},
      {"empty DockedTo: visibility only", "Rev=2000\nVisible=0\nDockRow=3\n", false, false},
      {"other revision", "Rev=1999\nVisible=0\nDockedTo=TBDockBottom\nDockRow=3\n", true, false},
      {"no revision", "Visible=0\nDockedTo=TBDockBottom\nDockRow=3\n", true, false},
  };
  for (const auto& C : Cases) {
    TMainForm M;
    new TFakeDock(M.Form.get(), "TBDockFixed", false);
    M.Main->Dock = M.Top;
    TMemIniFile Ini("");
    Ini.SetText(std::string("[TBToolbarMain]\n") + C.Section);
    LoadFromIni(M.Form.get(), Ini);
    EXPECT_EQ(M.Main->Vis, C.Visible) << C.What;
    EXPECT_EQ(M.Main->Dock, C.Moved ? static_cast<TComponent*>(M.Bottom) : M.Top) << C.What;
    EXPECT_EQ(M.Main->Row, C.Moved ? 3 : 0) << C.What;
  }
}

TEST(ToolbarLayoutStore, DamagedSectionLeavesThatWindowAloneAndReportsOnce) {
  const char* const Damage[] = {"DockRow=abc", "DockPos=12x", "FloatLeft=99999999999", "Visible=", "DockRow=2147483648",
                                "FloatTop=-5000000"};
  for (const char* D : Damage) {
    std::vector<std::string> Problems;
    TBPositionProblemHook = [&](const std::string& P) { Problems.push_back(P); };
    TMainForm M;
    M.Main->Dock = M.Top;
    M.Main->Row = 4;
    TMemIniFile Ini("");
    Ini.SetText(std::string("[TBToolbarMain]\nRev=2000\nVisible=0\nDockedTo=TBDockBottom\n") + D +
                "\n[TBToolbarMenu]\nRev=2000\nVisible=0\nDockedTo=TBDockBottom\nDockRow=1\n");
    LoadFromIni(M.Form.get(), Ini);
    TBPositionProblemHook = nullptr;
    const bool EmptyVisible = std::string(D) == "Visible=";  // empty text reads as the default
    if (!EmptyVisible) {
      EXPECT_EQ(M.Main->Dock, M.Top) << D;
      EXPECT_EQ(M.Main->Row, 4) << D;
      EXPECT_TRUE(M.Main->Vis) << D;
      ASSERT_EQ(Problems.size(), 1u) << D;
      EXPECT_NE(Problems[0].find("TBToolbarMain"), std::string::npos);
    }
    EXPECT_EQ(M.Menu->Dock, M.Bottom) << D;
    EXPECT_EQ(M.Menu->Row, 1) << D;
    EXPECT_FALSE(M.Menu->Vis) << D;
  }
}

TEST(ToolbarLayoutStore, SavingSkipsAWindowInAnUnnamedDock) {
  std::vector<std::string> Problems;
  TBPositionProblemHook = [&](const std::string& P) { Problems.push_back(P); };
  TMainForm M;
  auto* Unnamed = new TFakeDock(M.Form.get(), "");
  M.Main->Dock = Unnamed;
  M.Menu->Dock = Unnamed;
  M.Rietveld->Dock = M.Top;
  M.Status->Dock = new TFakeDock(M.Form.get(), "TBDockLocked", false);  // written with an empty DockedTo
  TMemIniFile Ini("");
  SaveToIni(M.Form.get(), Ini);
  TBPositionProblemHook = nullptr;
  ASSERT_EQ(Problems.size(), 1u);
  EXPECT_EQ(Problems[0], "Cannot save dockable window's position because DockedTo's Name property not set");
  EXPECT_FALSE(Ini.SectionExists("TBToolbarMain"));
  EXPECT_FALSE(Ini.SectionExists("TBToolbarMenu"));
  EXPECT_EQ(Ini.ReadString("TBToolbarRietveld", "DockedTo", "?"), "TBDock1");
  EXPECT_EQ(Ini.ReadString("TBToolWindowStatus", "DockedTo", "?"), "");
}

TEST(ToolbarLayoutStore, RegistryRoundTripAndAValueOfTheWrongKind) {
  const std::string Key = "Software\\ZelvoraTest\\Toolbars";
  TRegistry().DeleteKey(Key);
  {
    // A missing key restores nothing.
    TMainForm M;
    M.Main->Dock = M.Top;
    LoadToolbarPositionsFromRegistry(M.Form.get(), HKEY_CURRENT_USER, Key);
    EXPECT_EQ(M.Main->Dock, M.Top);
  }
  {
    TMainForm M;
    M.Main->Dock = M.Bottom;
    M.Main->Pos = 12;
    M.Rietveld->Float = true;
    M.Rietveld->FloatPos = {5, 6};
    M.Rietveld->Last = M.Top;
    SaveToolbarPositionsToRegistry(M.Form.get(), HKEY_CURRENT_USER, Key);
  }
  TRegistry R;
  ASSERT_TRUE(R.OpenKey(Key + "\\TBToolbarMain", false));
  EXPECT_EQ(R.ReadString("DockPos"), "12");  // integers are stored as text
  R.CloseKey();
  // A number stored as binary data damages the menu's section only.
  ASSERT_TRUE(R.OpenKey(Key + "\\TBToolbarMenu", true));
  R.WriteInteger("DockRow", 3);
  R.WriteString("Rev", "2000");
  R.WriteString("DockedTo", "TBDockBottom");
  R.CloseKey();

  std::vector<std::string> Problems;
  TBPositionProblemHook = [&](const std::string& P) { Problems.push_back(P); };
  TMainForm M;
  LoadToolbarPositionsFromRegistry(M.Form.get(), HKEY_CURRENT_USER, Key);
  TBPositionProblemHook = nullptr;
  EXPECT_EQ(M.Main->Dock, M.Bottom);
  EXPECT_EQ(M.Main->Pos, 12);
  EXPECT_TRUE(M.Rietveld->Float);
  EXPECT_EQ(M.Rietveld->FloatPos, (TPoint{5, 6}));
  EXPECT_EQ(M.Rietveld->Last, M.Top);
  EXPECT_EQ(M.Menu->Dock, nullptr);
  EXPECT_EQ(Problems.size(), 1u);
  TRegistry().DeleteKey(Key);
}

}  // namespace
