// The toolbar control on a form: docked in rows, as a menu bar opened from
// the keyboard, taking the application's shortcuts, adopting controls, and
// its layout saved to and restored from the registry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"
#include "platform/rtl/registry.h"
#include "platform/ui/actions.h"
#include "platform/ui/appkeys.h"
#include "platform/ui/forms.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/shortcuts.h"
#include "platform/ui/sound.h"
#include "platform/ui/syssettings.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/taborder.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"
#include "toolbar/tbcommon.h"
#include "toolbar/tbfloating.h"
#include "toolbar/tblayoutstore.h"
#include "toolbar/tbhook.h"
#include "toolbar/tbmenuloop.h"
#include "toolbar/tbtoolbar.h"
#include "toolbar/tbtoolwindow.h"

namespace {

// A main form as the program's windows build it: a top and a bottom dock, a
// menu bar with a "&File" menu, a second toolbar and a tool window.
struct TMainWindow {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TTBDock* Top = nullptr;
  TTBDock* Bottom = nullptr;
  TTBToolbar* Menu = nullptr;
  TTBToolbar* Main = nullptr;
  TTBToolbar* Rietveld = nullptr;
  TTBToolWindow* Status = nullptr;
  TTBSubmenuItem* File = nullptr;
  TTBItem* Open = nullptr;
  TTBItem* Refine = nullptr;
  TCustomControl* Edit = nullptr;  // takes the keys typed into the form
  std::vector<std::string> Log;

  TTBItem* NewItem(TComponent* Owner, const std::string& Caption) {
    auto* I = new TTBItem(Owner);
    I->SetCaption(Caption);
    I->SetOnClick([this, Caption](TObject*) { Log.push_back(Caption); });
    return I;
  }

  explicit TMainWindow(bool Show = true) {
    Form->SetName("ZelvoraForm");
    Form->SetBounds(50, 50, 500, 300);
    Top = new TTBDock(Form.get());
    Top->SetName("TBDockTop");
    Top->SetParent(Form.get());
    Bottom = new TTBDock(Form.get());
    Bottom->SetName("TBDockBottom");
    Bottom->SetPosition(dpBottom);
    Bottom->SetParent(Form.get());

    Menu = new TTBToolbar(Form.get());
    Menu->SetName("TBToolbarMenu");
    Menu->SetMenuBar(true);
    File = new TTBSubmenuItem(Form.get());
    File->SetCaption("&File");
    Open = NewItem(Form.get(), "&Open...");
    Open->SetShortCut(ShortCut('O', {ssCtrl}));
    File->Add(Open);
    File->Add(NewItem(Form.get(), "&Save"));
    Menu->Items()->Add(File);
    auto* EditMenu = new TTBSubmenuItem(Form.get());
    EditMenu->SetCaption("&Edit");
    EditMenu->Add(NewItem(Form.get(), "&Copy"));
    Menu->Items()->Add(EditMenu);
    Menu->SetCurrentDock(Top);

    Main = new TTBToolbar(Form.get());
    Main->SetName("TBToolbarMain");
    Main->SetDockRow(1);
    Main->Items()->Add(NewItem(Form.get(), "New"));
    Main->Items()->Add(NewItem(Form.get(), "Print"));
    Main->SetCurrentDock(Top);

    Rietveld = new TTBToolbar(Form.get());
    Rietveld->SetName("TBToolbarRietveld");
    Rietveld->SetProcessShortCuts(true);
    Refine = NewItem(Form.get(), "Refine");
    Refine->SetShortCut(ShortCut(VK_F9, {}));
    Rietveld->Items()->Add(Refine);
    Rietveld->SetCurrentDock(Bottom);

    Status = new TTBToolWindow(Form.get());
    Status->SetName("TBToolWindowStatus");
    Status->SetClientAreaSize(120, 40);
    Status->SetDockRow(1);
    Status->SetCurrentDock(Bottom);

    Edit = new TCustomControl(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 120, 100, 20);
    if (Show) Form->Show();
  }
};

// Runs each step once the menu loop that the previous one started waits for
// input; a step may post keys.
void Later(std::function<void()> Step) { QueueCall(std::move(Step)); }

struct TToolbarTest : ::testing::Test {
  void SetUp() override { SetTestMonitors({{TRect(0, 0, 1000, 800), TRect(0, 0, 1000, 800), true}}); }
  void TearDown() override { SetTestMonitors({}); }
};

TEST_F(TToolbarTest, ToolbarsSitInTheirDockRows) {
  TMainWindow W;
  // The menu bar takes the whole first row, the second toolbar the next.
  EXPECT_TRUE(W.Menu->FullSize);
  EXPECT_EQ(W.Menu->ShrinkMode(), tbsmWrap);
  EXPECT_EQ(W.Menu->Left(), 0);
  EXPECT_EQ(W.Menu->Width(), W.Top->Width());
  EXPECT_EQ(W.Main->Top(), W.Menu->Height());
  EXPECT_EQ(W.Top->Height(), W.Menu->Height() + W.Main->Height());
  // Each toolbar is its items plus the docked frame.
  TTBView* V = W.Main->View();
  ASSERT_EQ(V->ViewerCount(), 3);  // two items and the chevron
  EXPECT_TRUE(V->Viewers(0)->Show);
  EXPECT_FALSE(V->Viewers(2)->Show);  // room enough: no chevron
  const TPoint NC = W.Main->DockedNCSize();
  EXPECT_EQ(W.Main->Width(), V->Viewers(1)->BoundsRect.Right - V->Viewers(0)->BoundsRect.Left + NC.X);
  EXPECT_EQ(V->Viewers(1)->BoundsRect.Right, W.Main->ClientRect().Right);
  // Hiding a toolbar gives its row up.
  const int Both = W.Top->Height();
  W.Main->Hide();
  EXPECT_EQ(W.Top->Height(), Both - W.Main->Height());
  W.Main->Show();
  EXPECT_EQ(W.Top->Height(), Both);
}

TEST_F(TToolbarTest, DocksAndToolbarsLeaveNoPixelToTheDisplay) {
  // Frames, drag handles and the rest of a row are painted by the toolbar or
  // the dock: a real display would show whatever was left there (black).
  TMainWindow W;
  for (TControl* C : std::initializer_list<TControl*>{W.Top, W.Bottom, W.Menu, W.Main, W.Status}) {
    const std::vector<TPoint> Unpainted = guitest::UnpaintedPixels(C);
    EXPECT_TRUE(Unpainted.empty()) << C->Name() << ": " << Unpainted.size() << " pixels, the first at "
                                   << Unpainted.front().X << "," << Unpainted.front().Y;
  }
  // The last item is shown whole, up to the frame.
  TTBView* V = W.Main->View();
  const TRect Last = V->Viewers(1)->BoundsRect;
  EXPECT_EQ(guitest::ShownPixel(W.Main, Last.Right - 1, Last.Top + 1), guitest::SurfacePixel(W.Main, Last.Right - 1, Last.Top + 1));
  // Floating, the tool window's frame and caption are painted too.
  W.Main->MakeFloating(true);
  ASSERT_NE(W.Main->FloatingParent(), nullptr);
  W.Main->FloatingParent()->Show();
  EXPECT_TRUE(guitest::UnpaintedPixels(W.Main->FloatingParent()).empty());
}

TEST_F(TToolbarTest, ACrowdedRowHidesItemsBehindTheChevron) {
  TMainWindow W;
  W.Form->SetWidth(200);
  for (int I = 0; I < 6; ++I) W.Main->Items()->Add(W.NewItem(W.Form.get(), "Item " + std::to_string(I)));
  auto* Other = new TTBToolbar(W.Form.get());
  Other->Items()->Add(W.NewItem(W.Form.get(), "Other"));
  Other->SetDockRow(1);
  Other->SetDockPos(0);
  Other->SetCurrentDock(W.Top);
  W.Main->SetDockPos(200);
  W.Top->ArrangeWindows();
  TTBView* V = W.Main->View();
  TTBItemViewer* Chevron = V->Viewers(V->ViewerCount() - 1);
  EXPECT_EQ(Chevron->Item, W.Main->ChevronItem());
  EXPECT_TRUE(Chevron->Show);
  auto OffEdge = [V] {
    int N = 0;
    for (int I = 0; I < V->ViewerCount(); ++I) N += V->Viewers(I)->OffEdge ? 1 : 0;
    return N;
  };
  EXPECT_GT(OffEdge(), 0);
  EXPECT_GE(W.Main->Width(), W.Main->MinimumLength());
  EXPECT_LE(W.Main->Left() + W.Main->Width(), W.Top->Width());
  // With room again every item shows and the chevron goes.
  W.Form->SetWidth(800);
  EXPECT_FALSE(V->Viewers(V->ViewerCount() - 1)->Show);
  EXPECT_EQ(OffEdge(), 0);
  EXPECT_EQ(W.Main->ShrunkLength, 0);
}

// Edit boxes on a toolbar: the one the chevron hides, with the box inside
// it, is no Tab stop until there is room for it again.
TEST_F(TToolbarTest, ControlsBehindTheChevronAreNoTabStops) {
  TMainWindow W;
  W.Form->SetWidth(800);
  auto NewEdit = [&](TWinControl* Parent, int Width) {
    auto* E = new TEdit(W.Form.get());
    E->SetBounds(0, 0, Width, 20);
    E->SetParent(Parent);
    return E;
  };
  // Without the priority list the items at the end go behind the chevron first.
  W.Main->SetChevronMoveItems(false);
  for (int I = 0; I < 3; ++I) W.Main->Items()->Add(W.NewItem(W.Form.get(), "Item " + std::to_string(I)));
  TEdit* Before = NewEdit(W.Form.get(), 60);
  Before->SetTabOrder(0);
  TEdit* Shown = NewEdit(W.Main, 60);
  auto* Panel = new TCustomControl(W.Form.get());
  Panel->SetBounds(0, 0, 120, 22);
  Panel->SetParent(W.Main);
  TEdit* Inside = NewEdit(Panel, 50);
  W.Top->ArrangeWindows();
  guitest::ProcessEvents();
  auto InOrder = [&](TWinControl* C) { return InWindowTabOrder(C); };
  auto Tabbed = [&](TWinControl* From) {
    From->SetFocus();
    guitest::ProcessEvents();
    guitest::Key(From, VK_TAB);
    guitest::ProcessEvents();
    return Screen->ActiveControl();
  };
  ASSERT_TRUE(InOrder(Panel) && InOrder(Inside) && InOrder(Shown));
  {
    EXPECT_EQ(Tabbed(Shown), Inside);
  }
  // Crowded: the panel goes behind the chevron, the first edit box stays.
  W.Form->SetWidth(320);
  W.Top->ArrangeWindows();
  guitest::ProcessEvents();
  ASSERT_TRUE(W.Main->View()->Find(W.Main->FindControlItem(Panel))->OffEdge);
  ASSERT_FALSE(W.Main->View()->Find(W.Main->FindControlItem(Shown))->OffEdge);
  std::vector<TWinControl*> Hidden;
  W.Main->View()->GetOffEdgeControlList(Hidden);
  EXPECT_EQ(Hidden, std::vector<TWinControl*>{Panel});
  EXPECT_TRUE(InOrder(Shown));
  EXPECT_FALSE(InOrder(Panel));
  EXPECT_FALSE(InOrder(Inside));
  TWinControl* Next = Tabbed(Shown);
  EXPECT_EQ(Next, Before);
  // Room again: both are Tab stops once more.
  W.Form->SetWidth(800);
  W.Top->ArrangeWindows();
  guitest::ProcessEvents();
  EXPECT_TRUE(InOrder(Panel) && InOrder(Inside));
  EXPECT_EQ(Tabbed(Shown), Inside);
}

TEST_F(TToolbarTest, AltAloneSelectsTheFirstMenuAndWaitsForKeys) {
  TMainWindow W;
  TTBView* V = W.Menu->View();
  bool Selected = false, Open = true, Modal = false;
  Later([&] {
    Modal = (V->State() & vsModal) != 0;
    Selected = V->Selected() == V->Viewers(0);
    Open = V->OpenViewer() != nullptr;
    guitest::PostKey(W.Menu, VK_ESCAPE);
  });
  guitest::Key(W.Edit, VK_MENU, "", {ssAlt});
  guitest::ProcessEvents();
  EXPECT_TRUE(Modal);
  EXPECT_TRUE(Selected);
  EXPECT_FALSE(Open);
  EXPECT_FALSE(V->State() & vsModal);
  EXPECT_TRUE(W.Log.empty());
}

TEST_F(TToolbarTest, AltAndALetterOpensItsMenu) {
  TMainWindow W;
  TTBView* V = W.Menu->View();
  TTBItemViewer* Opened = nullptr;
  Later([&] {
    Opened = V->OpenViewer();
    // Down to "Save" and choose it.
    TTBView* Sub = V->OpenViewerView();
    guitest::PostKey(Sub->Window(), VK_DOWN);
    guitest::PostKey(Sub->Window(), VK_RETURN);
  });
  guitest::Key(W.Edit, 'F', "f", {ssAlt});
  guitest::ProcessEvents();
  ASSERT_NE(Opened, nullptr);
  EXPECT_EQ(Opened->Item, W.File);
  EXPECT_EQ(W.Log, std::vector<std::string>{"&Save"});
}

TEST_F(TToolbarTest, AltWithKeysThatOpenNothing) {
  TMainWindow W;
  int Beeps = 0;
  TMessageBeepHook Old = SetMessageBeepHook([&](unsigned) { ++Beeps; });
  int Reached = 0;  // keys the form's control still got
  W.Edit->OnKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++Reached; };
  struct TCase {
    uint16_t Key;
    const char* Text;
    int Beeps;
    bool Handled;
  };
  const TCase Cases[] = {
      {'X', "x", 1, true},            // no item answers: one beep, the key is taken
      {VK_SPACE, " ", 0, false},      // the window's system menu
      {VK_OEM_MINUS, "-", 0, false},  // likewise, and no beep
  };
  for (const TCase& C : Cases) {
    Beeps = Reached = 0;
    guitest::Key(W.Edit, C.Key, C.Text, {ssAlt});
    EXPECT_EQ(Beeps, C.Beeps) << C.Text;
    EXPECT_EQ(Reached, C.Handled ? 0 : 1) << C.Text;
    // The menu bar's own answer to the menu request.
    Beeps = 0;
    EXPECT_EQ(W.Menu->Perform(WM_SYSCOMMAND, SC_KEYMENU, C.Text[0]), C.Handled ? 1 : 0) << C.Text;
    EXPECT_EQ(Beeps, C.Beeps) << C.Text;
  }
  SetMessageBeepHook(Old);
  EXPECT_FALSE(W.Menu->View()->State() & vsModal);
}

TEST_F(TToolbarTest, TwoItemsWithOneAcceleratorOnAMenuBarAndAToolbar) {
  TMainWindow W;
  auto* Find = new TTBSubmenuItem(W.Form.get());
  Find->SetCaption("&Find");
  Find->Add(W.NewItem(W.Form.get(), "Next"));
  W.Menu->Items()->Add(Find);
  TTBView* V = W.Menu->View();
  TTBItemViewer* Selected = nullptr;
  TTBItemViewer* Opened = V->Viewers(0);
  Later([&] {
    Selected = V->Selected();
    Opened = V->OpenViewer();
    guitest::PostKey(W.Menu, VK_ESCAPE);
  });
  EXPECT_TRUE(W.Menu->OpenByKeyboard('f', false));
  EXPECT_EQ(Selected, V->Viewers(0));  // the first, waiting for keys
  EXPECT_EQ(Opened, nullptr);
  // A plain toolbar does not take a character two items answer.
  W.Main->Items()->Add(W.NewItem(W.Form.get(), "&Print preview"));
  W.Main->Items()->Add(W.NewItem(W.Form.get(), "&Page setup"));
  EXPECT_EQ(W.Main->Perform(CM_DIALOGCHAR, 'p', 0), 0);
  EXPECT_TRUE(W.Log.empty());
}

TEST_F(TToolbarTest, AToolbarAnswersItsOwnAcceleratorInDialogs) {
  TMainWindow W;
  W.Main->Items()->Add(W.NewItem(W.Form.get(), "&Zoom"));
  EXPECT_EQ(W.Main->Perform(CM_DIALOGCHAR, 'z', 0), 1);
  EXPECT_EQ(W.Main->Perform(CM_DIALOGCHAR, 'n', 0), 0);  // "New" has no marked accelerator
  EXPECT_EQ(W.Menu->Perform(CM_DIALOGCHAR, 'f', 0), 0);  // a menu bar takes Alt+letter only
  guitest::ProcessEvents();
  EXPECT_EQ(W.Log, std::vector<std::string>{"&Zoom"});
}

TEST_F(TToolbarTest, TheHoveredItemsHintBecomesTheToolbarsHint) {
  TMainWindow W;
  TTBView* V = W.Main->View();
  V->Viewers(0)->Item->SetHint("New|Starts a new refinement");
  V->Viewers(1)->Item->SetHint("Print");
  V->Viewers(1)->Item->SetOptions({tboLongHintInMenuOnly});
  const TRect B0 = V->Viewers(0)->BoundsRect, B1 = V->Viewers(1)->BoundsRect;
  guitest::MouseMove(W.Main, B0.Left + 2, B0.Top + 2);
  EXPECT_EQ(V->Selected(), V->Viewers(0));
  EXPECT_EQ(W.Main->Hint(), "New|Starts a new refinement");
  guitest::MouseMove(W.Main, B1.Left + 2, B1.Top + 2);
  EXPECT_EQ(W.Main->Hint(), "");
  guitest::MouseLeave(W.Main);
  EXPECT_EQ(V->Selected(), nullptr);
}

TEST_F(TToolbarTest, APressOnAMenuOpensIt) {
  TMainWindow W;
  TTBView* V = W.Menu->View();
  TTBItemViewer* Opened = nullptr;
  Later([&] {
    Opened = V->OpenViewer();
    guitest::PostKey(V->OpenViewerView()->Window(), VK_ESCAPE);
    guitest::PostKey(W.Menu, VK_ESCAPE);
  });
  const TRect B = V->Viewers(0)->BoundsRect;
  guitest::MouseMove(W.Menu, B.Left + 3, B.Top + 3);
  guitest::MouseDown(W.Menu, mbLeft, B.Left + 3, B.Top + 3);
  guitest::MouseUp(W.Menu, mbLeft, B.Left + 3, B.Top + 3);
  guitest::ProcessEvents();
  ASSERT_NE(Opened, nullptr);
  EXPECT_EQ(Opened->Item, W.File);
  EXPECT_FALSE(V->State() & vsModal);
  EXPECT_TRUE(W.Log.empty());
}

// A command chosen with the mouse from a bar's menu leaves no title
// highlighted: the mouse went on to the menu and away, and the bar is drawn
// as before it was pressed.
TEST_F(TToolbarTest, ACommandChosenFromAMenuLeavesNoTitleHighlighted) {
  TMainWindow W;
  TTBView* V = W.Menu->View();
  TBitmap before;
  ASSERT_TRUE(guitest::ControlPicture(W.Menu, before));
  Later([&] {
    TTBView* menu = V->OpenViewerView();
    ASSERT_NE(menu, nullptr);
    menu->ValidatePositions();
    const TRect b = menu->Viewers(0)->BoundsRect;
    const int x = (b.Left + b.Right) / 2, y = (b.Top + b.Bottom) / 2;
    // The pointer goes down onto the item, as a user's does.
    const TPoint at = menu->Window()->ClientToScreen(TPoint(x, y));
    SetCursorPos(at.X, at.Y);
    guitest::PostMouseMove(menu->Window(), x, y);
    guitest::PostMouseButton(menu->Window(), true, mbLeft, x, y);
    guitest::PostMouseButton(menu->Window(), false, mbLeft, x, y);
  });
  const TRect B = V->Viewers(0)->BoundsRect;
  guitest::MouseMove(W.Menu, B.Left + 3, B.Top + 3);
  guitest::MouseDown(W.Menu, mbLeft, B.Left + 3, B.Top + 3);
  guitest::ProcessEvents();
  EXPECT_EQ(W.Log, std::vector<std::string>{"&Open..."});
  EXPECT_FALSE(V->State() & vsModal);
  EXPECT_EQ(V->Selected(), nullptr);
  TBitmap after;
  ASSERT_TRUE(guitest::ControlPicture(W.Menu, after));
  ASSERT_EQ(after.Width(), before.Width());
  int differing = 0;
  for (int y = 0; y < after.Height(); ++y)
    for (int x = 0; x < after.Width(); ++x) differing += after.Canvas()->Pixels(x, y) != before.Canvas()->Pixels(x, y);
  EXPECT_EQ(differing, 0) << "the File title is still drawn highlighted";
}

TEST_F(TToolbarTest, ShortcutsReachTheActiveFormsToolbars) {
  TMainWindow W;
  TMainWindow Other;
  TCustomForm* OldMain = Application->MainForm();
  Application->SetMainForm(Other.Form.get());
  struct TRestore {
    TCustomForm* F;
    ~TRestore() { Application->SetMainForm(F); }
  } Restore{OldMain};
  // A third form with a toolbar of its own that is neither active nor main.
  TForm Third(nullptr);
  Third.SetBounds(600, 50, 200, 100);
  auto* ThirdBar = new TTBToolbar(&Third);
  ThirdBar->SetParent(&Third);
  ThirdBar->SetProcessShortCuts(true);
  int ThirdClicks = 0;
  auto* Help = new TTBItem(&Third);
  Help->SetShortCut(ShortCut(VK_F1, {}));
  Help->SetOnClick([&](TObject*) { ++ThirdClicks; });
  ThirdBar->Items()->Add(Help);
  Third.Show();

  guitest::Key(W.Edit, 'O', "", {ssCtrl});
  EXPECT_EQ(W.Log, std::vector<std::string>{"&Open..."});
  EXPECT_TRUE(Other.Log.empty());
  guitest::Key(W.Edit, VK_F9);
  EXPECT_EQ(W.Log.back(), "Refine");
  // Not the form's own: the main form's toolbars come next, other forms'
  // never.
  auto* Only = Other.NewItem(Other.Form.get(), "Only on main");
  Only->SetShortCut(ShortCut('M', {ssCtrl}));
  Other.File->Add(Only);
  guitest::Key(W.Edit, 'M', "", {ssCtrl});
  EXPECT_EQ(Other.Log, std::vector<std::string>{"Only on main"});
  guitest::Key(W.Edit, VK_F1);
  EXPECT_EQ(ThirdClicks, 0);
  // A disabled form (a modal dialog is up) gets none.
  W.Log.clear();
  W.Form->SetEnabled(false);
  guitest::Key(W.Edit, VK_F9);
  W.Form->SetEnabled(true);
  EXPECT_TRUE(W.Log.empty());
  guitest::Key(W.Edit, VK_F9);
  EXPECT_EQ(W.Log, std::vector<std::string>{"Refine"});
  // Nor while a modal form runs over it, whatever form the key is for.
  W.Log.clear();
  Other.Log.clear();
  TForm Dialog(nullptr);
  guitest::TModalResponder Responder;
  Responder.Do([&](TCustomForm*) {
    guitest::Key(W.Edit, VK_F9);
    guitest::Key(W.Edit, 'M', "", {ssCtrl});
    guitest::Key(W.Edit, 'F', "f", {ssAlt});
    return static_cast<int>(mrOk);
  });
  Dialog.ShowModal();
  EXPECT_TRUE(W.Log.empty());
  EXPECT_TRUE(Other.Log.empty());
  EXPECT_FALSE(W.Menu->View()->State() & vsModal);
}

TEST_F(TToolbarTest, MenuBarModeSetsItsCompanionsAndRegistrations) {
  const int Procs = AppKeyProcCount();
  {
    TForm F(nullptr);
    auto* T = new TTBToolbar(&F);
    EXPECT_EQ(T->ShrinkMode(), tbsmChevron);
    EXPECT_EQ(ShortCutToolbars(), nullptr);
    T->SetMenuBar(true);
    EXPECT_TRUE(T->FullSize);
    EXPECT_EQ(T->ShrinkMode(), tbsmWrap);
    EXPECT_FALSE(T->CloseButton());
    EXPECT_TRUE(T->ProcessShortCuts());
    EXPECT_TRUE(T->ShortCutsRegistered());
    EXPECT_TRUE(T->ControlStyle().Contains(csMenuEvents));
    EXPECT_EQ(HookRefCount(2), 1);
    EXPECT_EQ(AppKeyProcCount(), Procs + 1);
    T->SetMenuBar(false);
    EXPECT_EQ(T->ShrinkMode(), tbsmChevron);
    EXPECT_TRUE(T->CloseButton());
    EXPECT_FALSE(T->ProcessShortCuts());
    EXPECT_FALSE(T->ShortCutsRegistered());
    EXPECT_EQ(HookRefCount(2), 0);
    EXPECT_EQ(AppKeyProcCount(), Procs);
    // The last registered toolbar going removes the application's key hook.
    T->SetMenuBar(true);
    auto* U = new TTBToolbar(&F);
    U->SetProcessShortCuts(true);
    ASSERT_NE(ShortCutToolbars(), nullptr);
    EXPECT_EQ(ShortCutToolbars()->size(), 2u);
    delete T;
    EXPECT_EQ(ShortCutToolbars()->size(), 1u);
    EXPECT_EQ(AppKeyProcCount(), Procs + 1);
  }
  EXPECT_EQ(ShortCutToolbars(), nullptr);
  EXPECT_EQ(AppKeyProcCount(), Procs);
  EXPECT_EQ(HookRefCount(2), 0);
}

TEST_F(TToolbarTest, ControlsDroppedOnAToolbarGetControlItems) {
  TMainWindow W;
  const int Before = W.Main->Items()->Count();
  auto* Box = new TCustomControl(W.Form.get());
  Box->SetBounds(0, 0, 60, 18);
  Box->SetParent(W.Main);
  ASSERT_EQ(W.Main->Items()->Count(), Before + 1);
  auto* CI = dynamic_cast<TTBControlItem*>(W.Main->Items()->Items(Before));
  ASSERT_NE(CI, nullptr);
  EXPECT_EQ(CI->Control(), Box);
  EXPECT_EQ(W.Main->FindControlItem(Box), CI);
  // The control is laid out among the items.
  W.Main->View()->ValidatePositions();
  EXPECT_EQ(Box->Left(), W.Main->View()->Viewers(Before)->BoundsRect.Left);
  // Taken off again: its item goes, the control stays.
  Box->SetParent(W.Form.get());
  EXPECT_EQ(W.Main->Items()->Count(), Before);
  EXPECT_EQ(W.Main->FindControlItem(Box), nullptr);
  EXPECT_EQ(Box->Parent(), W.Form.get());
  // Freed while on the toolbar: the item goes with it.
  Box->SetParent(W.Main);
  delete Box;
  EXPECT_EQ(W.Main->Items()->Count(), Before);
}

TEST_F(TToolbarTest, ItemsPlacedBeforeDockingMoveIntoTheClientArea) {
  // As the plot window builds its toolbars: items and a control first, the
  // dock last. The frame and drag handle must not end up over them.
  TForm Form(nullptr);
  Form.SetBounds(0, 0, 400, 200);
  auto* Dock = new TTBDock(&Form);
  Dock->SetParent(&Form);
  auto* Bar = new TTBToolbar(&Form);
  auto* Item = new TTBItem(&Form);
  Item->SetCaption("Save as BMP...");
  Bar->Items()->Add(Item);
  auto* Tools = new TTBToolbar(&Form);
  auto* Box = new TCustomControl(&Form);
  Box->SetBounds(0, 0, 60, 18);
  Box->SetParent(Tools);
  Bar->SetCurrentDock(Dock);
  Tools->SetCurrentDock(Dock);
  Form.Show();

  auto inside = [](TTBToolbar* T, const TRect& R) {
    const TRect C = T->ClientRect();
    return R.Left >= C.Left && R.Top >= C.Top && R.Right <= C.Right && R.Bottom <= C.Bottom;
  };
  for (bool AllowDrag : {true, false}) {
    Dock->SetAllowDrag(AllowDrag);
    const TRect First = Bar->View()->Viewers(0)->BoundsRect;
    EXPECT_EQ(First.TopLeft(), Bar->ClientRect().TopLeft()) << AllowDrag;
    EXPECT_TRUE(inside(Bar, First)) << AllowDrag;
    EXPECT_EQ(Box->BoundsRect().TopLeft(), Tools->ClientRect().TopLeft()) << AllowDrag;
    EXPECT_TRUE(inside(Tools, Box->BoundsRect())) << AllowDrag;
  }
}

TEST_F(TToolbarTest, LayoutSavedToTheRegistryComesBackInAFreshWindow) {
  const std::string Key = "Software\\Zelvora\\Toolbars";
  TRegistry().DeleteKey(Key);
  {
    TMainWindow W;
    W.Main->SetCurrentDock(W.Bottom);
    W.Main->SetDockRow(0);
    W.Main->SetDockPos(30);
    W.Rietveld->Hide();
    W.Rietveld->SetFloatingWidth(80);
    W.Status->SetClientAreaSize(150, 60);
    W.Bottom->ArrangeWindows();
    SaveToolbarPositionsToRegistry(W.Form.get(), HKEY_CURRENT_USER, Key);
  }
  TRegistry R;
  ASSERT_TRUE(R.OpenKeyReadOnly(Key + "\\TBToolbarRietveld"));
  EXPECT_EQ(R.ReadString("Visible"), "0");
  EXPECT_EQ(R.ReadString("FloatRightX"), "80");
  R.CloseKey();
  ASSERT_TRUE(R.OpenKeyReadOnly(Key + "\\TBToolWindowStatus"));
  EXPECT_EQ(R.ReadString("ClientWidth"), "150");
  R.CloseKey();

  TMainWindow Fresh;
  LoadToolbarPositionsFromRegistry(Fresh.Form.get(), HKEY_CURRENT_USER, Key);
  EXPECT_EQ(Fresh.Main->CurrentDock(), Fresh.Bottom);
  EXPECT_EQ(Fresh.Main->DockPos, 30);
  EXPECT_EQ(Fresh.Menu->CurrentDock(), Fresh.Top);
  EXPECT_FALSE(Fresh.Rietveld->Visible());
  EXPECT_EQ(Fresh.Rietveld->FloatingWidth(), 80);
  EXPECT_EQ(Fresh.Status->StoredClientWidth(), 150);
  EXPECT_EQ(Fresh.Status->StoredClientHeight(), 60);
  // The top dock lost the main toolbar's row.
  EXPECT_EQ(Fresh.Top->Height(), Fresh.Menu->Height());
  TRegistry().DeleteKey(Key);
}

TEST_F(TToolbarTest, LayoutValuesBeyondTheScreenAreTakenBackAndNotWrittenAgain) {
  const std::string Key = "Software\\Zelvora\\Toolbars";
  TRegistry().DeleteKey(Key);
  {
    // Inside the range the store accepts, far beyond any screen.
    TRegIniFile Ini(Key);
    for (const char* Sec : {"TBToolWindowStatus", "TBToolbarRietveld"}) {
      Ini.WriteString(Sec, "Rev", "2000");
      Ini.WriteString(Sec, "Visible", "1");
      Ini.WriteString(Sec, "DockedTo", "+");
      Ini.WriteString(Sec, "DockRow", "1048576");
      Ini.WriteString(Sec, "DockPos", "1048576");
      Ini.WriteString(Sec, "FloatLeft", "1048576");
      Ini.WriteString(Sec, "FloatTop", "-1048576");
    }
    Ini.WriteString("TBToolWindowStatus", "ClientWidth", "1048576");
    Ini.WriteString("TBToolWindowStatus", "ClientHeight", "1048576");
    Ini.WriteString("TBToolbarRietveld", "FloatRightX", "1048576");
    Ini.WriteString("TBToolbarMain", "Rev", "2000");
    Ini.WriteString("TBToolbarMain", "DockedTo", "TBDockBottom");
    Ini.WriteString("TBToolbarMain", "DockPos", "-1048576");
  }
  const TRect Screen = VirtualScreenRect();
  {
    TMainWindow W;
    LoadToolbarPositionsFromRegistry(W.Form.get(), HKEY_CURRENT_USER, Key);
    ASSERT_TRUE(W.Status->Floating());
    EXPECT_LE(W.Status->StoredClientWidth(), Screen.Width());
    EXPECT_LE(W.Status->StoredClientHeight(), Screen.Height());
    TRect Dummy;
    EXPECT_TRUE(IntersectRect(Dummy, W.Status->Parent()->BoundsRect(), Screen));
    EXPECT_LE(W.Rietveld->FloatingWidth(), Screen.Width());
    EXPECT_GE(W.Main->DockPos, -Screen.Width());
    SaveToolbarPositionsToRegistry(W.Form.get(), HKEY_CURRENT_USER, Key);
  }
  TRegIniFile Ini(Key);
  for (const char* Sec : {"TBToolWindowStatus", "TBToolbarRietveld", "TBToolbarMain"})
    for (const char* V : {"ClientWidth", "ClientHeight", "FloatRightX", "FloatLeft", "FloatTop", "DockPos", "DockRow"}) {
      const int Stored = Ini.ReadInteger(Sec, V, 0);
      EXPECT_LE(std::abs(Stored), 2 * std::max(Screen.Width(), Screen.Height())) << Sec << " " << V;
    }
  TRegistry().DeleteKey(Key);
}

TEST_F(TToolbarTest, WhileLoadingMenuBarSetsOnlyStyleAndLoadedAdoptsControls) {
  TForm F(nullptr);
  auto* T = new TTBToolbar(&F);
  T->SetLoadingState(true);
  T->SetMenuBar(true);
  EXPECT_TRUE(T->ControlStyle().Contains(csMenuEvents));
  EXPECT_TRUE(T->View()->Style() & vsMenuBar);
  // The stored values of the companions stay.
  EXPECT_FALSE(T->FullSize);
  EXPECT_EQ(T->ShrinkMode(), tbsmChevron);
  EXPECT_TRUE(T->CloseButton());
  EXPECT_FALSE(T->ProcessShortCuts());
  // A loose control waits for the end of loading, then joins at the end.
  auto* Item = new TTBItem(&F);
  T->Items()->Add(Item);
  auto* Box = new TCustomControl(&F);
  Box->SetParent(T);
  EXPECT_EQ(T->Items()->Count(), 1);
  T->SetLoadingState(false);
  static_cast<TComponent*>(T)->Loaded();
  ASSERT_EQ(T->Items()->Count(), 2);
  EXPECT_EQ(T->FindControlItem(Box), T->Items()->Items(1));
}

TEST_F(TToolbarTest, DesignTimeControlItemsTakeTheFirstFreeName) {
  TForm F(nullptr);
  auto* Taken = new TTBItem(&F);
  Taken->SetName("TBControlItem1");
  auto* T = new TTBToolbar(&F);
  T->SetDesigning(true, false);
  auto* Box = new TCustomControl(&F);
  Box->SetParent(T);
  ASSERT_NE(T->FindControlItem(Box), nullptr);
  EXPECT_EQ(T->FindControlItem(Box)->Name(), "TBControlItem2");
  EXPECT_EQ(T->FindControlItem(Box)->Owner(), &F);
}

TEST_F(TToolbarTest, WrapAndChevronLengthsFollowTheShrinkModeAndTheDock) {
  TMainWindow W;
  TTBToolbar* T = W.Main;
  T->SetFloatingWidth(90);
  const TPoint NC = T->DockedNCSize();
  const int DockWrap = W.Top->Width() - W.Top->BorderWidth() - NC.X;
  struct TCase {
    TTBShrinkMode Mode;
    int Shrunk;  // what the row layout allowed (0: room enough)
    int Wrap, Chevron, FloatingWrap;
  };
  const TCase Cases[] = {
      {tbsmNone, 0, 0, 0, 90},
      {tbsmNone, 100, 0, 0, 90},
      {tbsmWrap, 0, DockWrap, 0, 90},
      {tbsmChevron, 0, 0, 0, 90},  // room: no chevron limit
      {tbsmChevron, 100, 0, 100 - NC.X, 90},
  };
  for (const TCase& C : Cases) {
    T->SetShrinkMode(C.Mode);
    T->ShrunkLength = C.Shrunk;
    EXPECT_EQ(T->CalcWrapOffset(W.Top), C.Wrap) << C.Mode;
    EXPECT_EQ(T->CalcChevronOffset(W.Top, tbvoHorizontal), C.Chevron) << C.Mode;
    EXPECT_EQ(T->CalcChevronOffset(W.Bottom, tbvoHorizontal), 0) << C.Mode;  // not its dock
    // Floating: the floating width in every mode, never a chevron.
    EXPECT_EQ(T->CalcWrapOffset(nullptr), C.FloatingWrap) << C.Mode;
    EXPECT_EQ(T->CalcChevronOffset(nullptr, tbvoFloating), 0) << C.Mode;
  }
  // A stored layout without "FloatRightX" reads as no wrapping.
  TTBReadPositionData Missing;
  Missing.ReadIntProc = [](const std::string&, const std::string&, int Default, void*) { return Default; };
  T->LoadExtraPosition(Missing);
  EXPECT_EQ(T->FloatingWidth(), 0);
}

TEST(ToolbarChevron, GlyphAndEdgeFollowTheItemsState) {
  TForm F(nullptr);
  auto* T = new TTBToolbar(&F);
  TTBView* V = T->View();
  TTBItemViewer* Chevron = V->Viewers(V->ViewerCount() - 1);
  ASSERT_EQ(Chevron->Item, T->ChevronItem());
  EXPECT_EQ(T->ChevronItem()->Caption(), "More Buttons");
  auto Paint = [&](bool Enabled, bool Selected, bool Pushed) {
    auto B = std::make_unique<TBitmap>(12, 22, pf32bit);
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(Rect(0, 0, 12, 22));
    T->ChevronItem()->SetEnabled(Enabled);
    Chevron->Paint(B->Canvas(), Rect(0, 0, 12, 22), Selected, Pushed, false);
    return B;
  };
  const TColor Face = ColorToRGB(clBtnFace);
  // Enabled: the glyph (rows of 0xCC, 0x66, ...) from (2, 4) in the text
  // colour; an edge only when selected.
  auto B = Paint(true, false, false);
  EXPECT_EQ(B->Canvas()->Pixels(2, 4), ColorToRGB(clBtnText));
  EXPECT_EQ(B->Canvas()->Pixels(4, 4), Face);
  EXPECT_EQ(B->Canvas()->Pixels(0, 0), Face);
  EXPECT_EQ(B->Canvas()->Pixels(11, 21), Face);
  B = Paint(true, true, false);
  EXPECT_NE(B->Canvas()->Pixels(11, 21), Face);
  B = Paint(true, true, true);  // pushed: the glyph one pixel down and right
  EXPECT_EQ(B->Canvas()->Pixels(3, 5), ColorToRGB(clBtnText));
  // Disabled: embossed, shadow over a highlight one pixel lower, no edge.
  B = Paint(false, true, false);
  EXPECT_EQ(B->Canvas()->Pixels(0, 0), Face);
  EXPECT_EQ(B->Canvas()->Pixels(11, 21), Face);
  EXPECT_EQ(B->Canvas()->Pixels(2, 4), ColorToRGB(clBtnShadow));
  EXPECT_EQ(B->Canvas()->Pixels(2, 5), ColorToRGB(clBtnHighlight));
}

TEST_F(TToolbarTest, IdleActionUpdateReachesTheShownItemsWhenAsked) {
  TMainWindow W;
  auto* Save = new TAction(W.Form.get());
  Save->SetCaption("Save");
  bool Allowed = false;
  int Updates = 0;
  Save->OnUpdate = [&](TObject*) {
    ++Updates;
    Save->SetEnabled(Allowed);
  };
  auto* Item = new TTBItem(W.Form.get());
  Item->SetAction(Save);
  W.Main->Items()->Add(Item);
  W.Main->InitiateAction();
  EXPECT_EQ(Updates, 1);
  EXPECT_FALSE(Item->Enabled());
  Allowed = true;
  W.Main->InitiateAction();
  EXPECT_TRUE(Item->Enabled());
  W.Main->SetUpdateActions(false);
  W.Main->InitiateAction();
  EXPECT_EQ(Updates, 2);
}

// ---- candidate floating sizes over fake items

// Items of the given widths, 22 high, wrapped greedily into lines no wider
// than the wrap width less the margins (4 each side, 2 above, 1 below); an
// item wider than a line stays on a line of its own.
TPoint FakeLayout(const std::vector<int>& Items, int WrapWidth, int& Rows) {
  const int Cap = WrapWidth == 0 ? 1 << 30 : WrapWidth - 8;
  int Line = 0, Widest = 0;
  Rows = 1;
  for (int W : Items) {
    if (Line > 0 && Line + W > Cap) {
      ++Rows;
      Line = 0;
    }
    Line += W;
    Widest = std::max(Widest, Line);
  }
  return TPoint(Widest + 8, Rows * 22 + 3);
}

TEST(ToolbarFloatingSizes, NarrowestWidthForEachRowCountWidestFirst) {
  struct TCase {
    std::vector<int> Items;
    std::vector<TPoint> Expected;
  };
  const TCase Cases[] = {
      {{20, 30, 20, 25}, {{103, 25}, {58, 47}, {53, 69}, {38, 91}}},
      {{40}, {{48, 25}}},  // one item: one row only
      {{10, 10, 10, 10}, {{48, 25}, {28, 47}, {18, 91}}},  // 3 rows need no narrower width than 4
  };
  for (const TCase& C : Cases) {
    int Calls = 0;
    const auto L = ListFloatingSizes(8, [&](int W, int& Rows) {
      ++Calls;
      return FakeLayout(C.Items, W, Rows);
    });
    EXPECT_EQ(L, C.Expected);
    EXPECT_LT(Calls, 200);  // jumps to each narrower layout, not pixel by pixel
  }
}

TEST_F(TToolbarTest, ARealToolbarsCandidatesRestoreItsFloatingWidth) {
  TForm F(nullptr);
  auto* T = new TTBToolbar(&F);
  for (const char* C : {"One", "Two", "Three"}) {
    auto* I = new TTBItem(&F);
    I->SetCaption(C);
    T->Items()->Add(I);
  }
  T->SetFloatingWidth(50);
  const auto L = T->ListFloatingSizes();
  EXPECT_EQ(T->FloatingWidth(), 50);
  ASSERT_EQ(L.size(), 3u);  // one, two and three rows
  EXPECT_GT(L[0].X, L[1].X);
  EXPECT_GE(L[1].X, L[2].X);
  EXPECT_LT(L[0].Y, L[1].Y);
  EXPECT_LT(L[1].Y, L[2].Y);
}

// ---- resize drag of a floating toolbar

TEST(ToolbarFloatingResize, SnapsToCandidatesWithADeadZoneAroundTheStart) {
  const std::vector<TPoint> Sizes = {{103, 25}, {58, 47}, {53, 69}, {38, 91}};
  struct TStep {
    int Width;     // the right edge dragged to this width
    int Expected;  // the width it snaps to
    int FloatingWidth;
  };
  // Starting at 58 wide: 12 pixels of dead zone growing, 5 shrinking (the
  // next smaller size is that close).
  const std::vector<TStep> Steps = {
      {69, 58, 58 - 4},  // under 12 pixels: the size stays
      {71, 103, 0},      // past it: the single row, no wrapping
      {68, 103, 0},      // same direction: no dead zone any more
      {400, 103, 0},     // past the widest
      {55, 58, 58 - 4},  // reversed: the dead zone again
      {52, 38, 38 - 4},  // shrinking picks the first that fits
      {10, 38, 38 - 4},  // never narrower than the narrowest
  };
  TToolbarSizeData D;
  D.Start(1, 58, 47, 2, 50, Sizes);
  EXPECT_EQ(D.DistanceToLargerSize, 12);
  EXPECT_EQ(D.DistanceToSmallerSize, 5);
  const TRect Orig(100, 100, 158, 147);
  for (const TStep& S : Steps) {
    TRect R(100, 100, 100 + S.Width, 147);
    D.RectChanging(R, Orig);
    EXPECT_EQ(R.Left, 100) << S.Width;
    EXPECT_EQ(R.Width(), S.Expected) << S.Width;
    EXPECT_EQ(D.CurRightX, S.FloatingWidth) << S.Width;
  }
  // The left edge moves the left side; the bottom edge snaps heights.
  TToolbarSizeData L;
  L.Start(0, 58, 47, 2, 50, Sizes);
  TRect R(50, 100, 158, 147);
  L.RectChanging(R, Orig);
  EXPECT_EQ(R, TRect(55, 100, 158, 125));
  TToolbarSizeData B;
  B.Start(5, 58, 47, 2, 50, Sizes);
  R = TRect(100, 100, 158, 169);
  B.RectChanging(R, Orig);
  EXPECT_EQ(R, TRect(100, 100, 153, 169));
  EXPECT_EQ(B.CurRightX, 53 - 4);
}

TEST_F(TToolbarTest, DraggingPastTheWidestCandidateUnwrapsTheToolbar) {
  TForm F(nullptr);
  auto* T = new TTBToolbar(&F);
  for (const char* C : {"One", "Two", "Three"}) {
    auto* I = new TTBItem(&F);
    I->SetCaption(C);
    T->Items()->Add(I);
  }
  const auto L = T->ListFloatingSizes();
  ASSERT_GE(L.size(), 2u);
  // Floating two rows high in a frame 2 pixels wider and higher.
  T->SetFloatingWidth(L[1].X);
  const TPoint Frame(L[1].X + 2, L[1].Y + 2);
  T->SizingStarted(1, Frame, TPoint(2, 2), 1);
  const TRect Orig(0, 0, Frame.X, Frame.Y);
  TRect R(0, 0, Frame.X + 5, Frame.Y);
  T->SizingRectChanging(R, Orig);
  EXPECT_EQ(R, Orig);  // inside the dead zone
  R = TRect(0, 0, 1000, Frame.Y);
  T->SizingRectChanging(R, Orig);
  EXPECT_EQ(R.Width(), L[0].X + 2);
  T->BeforeSizeApplied();
  EXPECT_EQ(T->FloatingWidth(), 0);
  T->SizingEnded();
  EXPECT_EQ(T->SizeData(), nullptr);
}

}  // namespace
