// Mutation driver of the layout store.
//
// Target "layout": the input is a stored layout (INI text); it is loaded into
// a shown form of two docks, a menu bar, two toolbars and a tool window,
// then the form's layout is saved and loaded once more.
// Rules: only the layer's exceptions come out; after a load a floating window
// is no larger than the virtual screen and meets it, a tool window's client
// size is within the screen; a save writes no place or size beyond twice the
// screen's extent.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fuzzdriver.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/forms.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbitem.h"
#include "toolbar/tblayoutstore.h"
#include "toolbar/tbtoolbar.h"
#include "toolbar/tbtoolwindow.h"

namespace {

struct TLayoutForm {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TTBDock* Top = nullptr;
  TTBDock* Bottom = nullptr;
  std::vector<TTBToolbar*> Bars;
  TTBToolWindow* Status = nullptr;

  TTBToolbar* Bar(const std::string& Name, TTBDock* Dock, int Row, bool MenuBar = false) {
    auto* T = new TTBToolbar(Form.get());
    T->SetName(Name);
    T->SetMenuBar(MenuBar);
    for (const char* Caption : {"&File", "Refine", "Plot"}) {
      auto* I = new TTBItem(Form.get());
      I->SetCaption(Caption);
      T->Items()->Add(I);
    }
    T->SetDockRow(Row);
    T->SetCurrentDock(Dock);
    Bars.push_back(T);
    return T;
  }

  TLayoutForm() {
    Form->SetName("ZelvoraForm");
    Form->SetBounds(50, 50, 500, 300);
    Top = new TTBDock(Form.get());
    Top->SetName("TBDockTop");
    Top->SetParent(Form.get());
    Bottom = new TTBDock(Form.get());
    Bottom->SetName("TBDockBottom");
    Bottom->SetPosition(dpBottom);
    Bottom->SetParent(Form.get());
    Bar("TBToolbarMenu", Top, 0, true);
    Bar("TBToolbarMain", Top, 1);
    Bar("TBToolbarRietveld", Bottom, 0);
    Status = new TTBToolWindow(Form.get());
    Status->SetName("TBToolWindowStatus");
    Status->SetClientAreaSize(120, 40);
    Status->SetDockRow(1);
    Status->SetCurrentDock(Bottom);
    Form->Show();
  }
};

void Load(TComponent* Form, TMemIniFile& Ini) {
  LoadDockablePositions(
      Form,
      [](const std::string& S, const std::string& V, int D, void* St) {
        auto* I = static_cast<TMemIniFile*>(St);
        const bool Present = I->ValueExists(S, V);
        return TBParseStoredInteger(Present ? I->ReadString(S, V, "") : "", Present, D);
      },
      [](const std::string& S, const std::string& V, const std::string& D, void* St) {
        return static_cast<TMemIniFile*>(St)->ReadString(S, V, D);
      },
      &Ini);
}

void Save(TComponent* Form, TMemIniFile& Ini) {
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

void CheckPlaces(TLayoutForm& F) {
  const TRect Screen = VirtualScreenRect();
  auto CheckFloating = [&](TTBCustomDockableWindow* W, const std::string& Name) {
    if (!W->Floating()) return;
    const TRect R = W->Parent() ? W->Parent()->BoundsRect() : W->BoundsRect();
    TRect Dummy;
    if (R.Width() > Screen.Width() + 64 || R.Height() > Screen.Height() + 64)
      fuzzdriver::Fault(Name + " floats larger than the screen: " + std::to_string(R.Width()) + " x " +
                        std::to_string(R.Height()));
    if (!IntersectRect(Dummy, R, Screen)) fuzzdriver::Fault(Name + " floats off the screen");
  };
  for (TTBToolbar* T : F.Bars) {
    CheckFloating(T, T->Name());
    if (T->FloatingWidth() > Screen.Width()) fuzzdriver::Fault(T->Name() + "'s floating width is beyond the screen");
  }
  CheckFloating(F.Status, F.Status->Name());
  if (F.Status->StoredClientWidth() > Screen.Width() || F.Status->StoredClientHeight() > Screen.Height())
    fuzzdriver::Fault("the tool window's client size is beyond the screen");
}

void CheckSaved(TMemIniFile& Ini) {
  const TRect Screen = VirtualScreenRect();
  const long long Bound = 2LL * std::max(Screen.Width(), Screen.Height());
  TStringList Sections;
  Ini.ReadSections(Sections);
  for (int s = 0; s < Sections.Count(); ++s)
    for (const char* V : {"ClientWidth", "ClientHeight", "FloatRightX", "FloatLeft", "FloatTop", "DockPos"}) {
      const std::string Text = Ini.ReadString(Sections.Strings(s), V, "0");
      const long long Stored = std::atoll(Text.c_str());
      if (std::llabs(Stored) > Bound)
        fuzzdriver::Fault("saved " + Sections.Strings(s) + " " + V + " = " + Text + ", beyond the screen");
    }
}

void Run(const std::string& Text) {
  TLayoutForm F;
  fuzzdriver::ExpectLayerErrors([&] {
    TMemIniFile In("");
    In.SetText(Text);
    try {
      Load(F.Form.get(), In);
    } catch (const Exception&) {
    }
    CheckPlaces(F);
    TMemIniFile Out("");
    Save(F.Form.get(), Out);
    CheckSaved(Out);
    TLayoutForm Again;
    Load(Again.Form.get(), Out);
    CheckPlaces(Again);
  });
}

std::vector<std::string> Seeds() {
  std::vector<std::string> Seeds;
  {
    TLayoutForm F;
    TMemIniFile Out("");
    Save(F.Form.get(), Out);
    Seeds.push_back(Out.Text());
  }
  Seeds.push_back(
      "[TBToolbarMain]\nRev=2000\nVisible=1\nDockedTo=TBDockBottom\nLastDock=TBDockTop\nDockRow=2\nDockPos=37\n"
      "FloatLeft=0\nFloatTop=0\nFloatRightX=0\n"
      "[TBToolbarRietveld]\nRev=2000\nVisible=1\nDockedTo=+\nLastDock=TBDockBottom\nDockRow=0\nDockPos=0\n"
      "FloatLeft=300\nFloatTop=200\nFloatRightX=140\n"
      "[TBToolWindowStatus]\nRev=2000\nVisible=1\nDockedTo=+\nLastDock=TBDockBottom\nDockRow=0\nDockPos=5\n"
      "FloatLeft=100\nFloatTop=100\nClientWidth=240\nClientHeight=90\n");
  return Seeds;
}

}  // namespace

int main(int argc, char** argv) {
  Application->Initialize();
  TBPositionProblemHook = [](const std::string&) {};  // damage is expected here
  std::vector<fuzzdriver::TTarget> targets;
  targets.push_back({"layout",
                     Seeds(),
                     Run,
                     {"=1048576", "=-1048576", "=2147483647", "=-1", "=255", "=256", "DockedTo=+", "DockedTo=",
                      "DockedTo=TBDockTop", "DockedTo=TBDockBottom", "DockedTo=ZelvoraForm", "LastDock=TBToolbarMain",
                      "Rev=2000", "Rev=1", "Visible=0", "\n[TBToolbarMenu]\n", "\n[TBToolWindowStatus]\n",
                      "ClientWidth=", "ClientHeight=", "FloatRightX=", "FloatLeft=", "FloatTop=", "DockRow=",
                      "DockPos="}});
  return fuzzdriver::Main(argc, argv, "fuzz-layoutstore", targets);
}
