// Items as commands: clicks and actions, shortcut dispatch through the
// submenus' popup events, and deferred clicks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/messages.h"
#include "platform/ui/syssettings.h"
#include "support/gui/guitest.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbview.h"

namespace {

struct TCommands : ::testing::Test {
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  std::vector<std::string> Log;

  TTBItem* Item(TTBCustomItem* parent, const std::string& name, TShortCut sc = 0) {
    auto* i = new TTBItem(nullptr);
    i->SetCaption(name);
    i->SetShortCut(sc);
    i->SetOnClick([this, name](TObject*) { Log.push_back("click " + name); });
    parent->Add(i);
    return i;
  }
  TTBSubmenuItem* Sub(TTBCustomItem* parent, const std::string& name) {
    auto* s = new TTBSubmenuItem(nullptr);
    s->SetCaption(name);
    s->OnPopup = [this, name](TTBCustomItem* sender, bool fromLink) {
      Log.push_back("popup " + name + " sender " + sender->Caption() + (fromLink ? " link" : ""));
    };
    parent->Add(s);
    return s;
  }
};

TEST_F(TCommands, OnClickOfItsOwnTakesPrecedenceOverTheAction) {
  TAction action(nullptr);
  action.SetCaption("Run");
  int executed = 0;
  action.SetOnExecute([&](TObject* s) {
    ++executed;
    EXPECT_EQ(s, &action);
  });
  auto* i = new TTBItem(nullptr);
  Root->Add(i);
  i->SetAction(&action);
  EXPECT_EQ(i->Caption(), "Run");
  EXPECT_TRUE(i->OnClickIsActionHandler());
  EXPECT_FALSE(i->IsOnClickStored());
  EXPECT_FALSE(i->IsCaptionStored());
  i->Click();
  EXPECT_EQ(executed, 1);

  // The action changes: the item follows.
  action.SetEnabled(false);
  EXPECT_FALSE(i->Enabled());
  i->Click();  // disabled: nothing
  EXPECT_EQ(executed, 1);
  action.SetEnabled(true);

  int own = 0;
  i->SetOnClick([&](TObject*) { ++own; });
  i->Click();
  EXPECT_EQ(own, 1);
  EXPECT_EQ(executed, 1);
  EXPECT_TRUE(i->IsOnClickStored());
}

TEST_F(TCommands, AFreedActionLeavesTheItemWithItsOwnState) {
  auto action = std::make_unique<TAction>(nullptr);
  action->SetCaption("Run");
  int executed = 0;
  action->SetOnExecute([&](TObject*) { ++executed; });
  auto* i = new TTBItem(nullptr);
  Root->Add(i);
  i->SetAction(action.get());
  action.reset();
  EXPECT_EQ(i->Action(), nullptr);
  EXPECT_EQ(i->ActionLink(), nullptr);
  EXPECT_EQ(i->Caption(), "Run");
  EXPECT_TRUE(i->IsCaptionStored());
  i->Click();  // the handler it took over still runs
  EXPECT_EQ(executed, 1);
}

TEST_F(TCommands, AViewForgetsAFreedContainer) {
  auto* sub = new TTBSubmenuItem(nullptr);
  Root->Add(sub);
  Item(sub, "a");
  auto view = std::make_unique<TTBView>(nullptr, nullptr, sub, nullptr, false, false, false);
  EXPECT_EQ(view->ViewerCount(), 1);
  delete sub;
  EXPECT_EQ(view->RootItem(), nullptr);
  EXPECT_EQ(view->ViewerCount(), 0);
}

TEST_F(TCommands, AutoCheckFollowsTheActionWhenLinked) {
  TAction action(nullptr);
  action.SetAutoCheck(true);
  action.SetOnExecute([](TObject*) {});
  auto* i = new TTBItem(nullptr);
  Root->Add(i);
  i->SetAction(&action);
  EXPECT_TRUE(i->AutoCheck());
  i->Click();
  // Toggled once, by the action, not twice.
  EXPECT_TRUE(action.Checked());
  EXPECT_TRUE(i->Checked());

  auto* plain = Item(Root.get(), "plain");
  plain->SetAutoCheck(true);
  plain->Click();
  EXPECT_TRUE(plain->Checked());
  plain->Click();
  EXPECT_FALSE(plain->Checked());
}

TEST_F(TCommands, ShortCutFiresThePopupsOnTheWayThenTheClick) {
  auto* file = Sub(Root.get(), "File");
  auto* recent = Sub(file, "Recent");
  Item(recent, "Last", ShortCut('L', {ssCtrl}));
  Item(Root.get(), "Top", ShortCut('T', {ssCtrl}));

  EXPECT_TRUE(Root->IsShortCut(ShortCut('L', {ssCtrl})));
  EXPECT_EQ(Log, (std::vector<std::string>{"popup File sender File", "popup Recent sender Recent", "click Last"}));
  Log.clear();
  EXPECT_TRUE(Root->IsShortCut(ShortCut('T', {ssCtrl})));
  EXPECT_EQ(Log, std::vector<std::string>{"click Top"});
  Log.clear();
  EXPECT_FALSE(Root->IsShortCut(ShortCut('Q', {ssCtrl})));
  EXPECT_TRUE(Log.empty());

  // The key message form: virtual key and key data with Ctrl down.
  Log.clear();
  TMessage m;
  m.Msg = WM_KEYDOWN;
  m.WParam = 'T';
  m.LParam = 0;
  EXPECT_FALSE(Root->IsShortCut(m));  // no Ctrl: another shortcut
}

TEST_F(TCommands, ADisabledBranchDoesNotConsumeItsShortCut) {
  auto* edit = Sub(Root.get(), "Edit");
  auto* undo = Item(edit, "Undo", ShortCut('Z', {ssCtrl}));
  edit->SetEnabled(false);
  EXPECT_FALSE(Root->IsShortCut(ShortCut('Z', {ssCtrl})));
  EXPECT_TRUE(Log.empty());
  edit->SetEnabled(true);
  undo->SetEnabled(false);
  EXPECT_FALSE(Root->IsShortCut(ShortCut('Z', {ssCtrl})));
  EXPECT_EQ(Log, std::vector<std::string>{"popup Edit sender Edit"});
}

TEST_F(TCommands, ALinkedItemsPopupComesFirstWithFromLink) {
  TTBSubmenuItem source(nullptr);
  source.SetCaption("Source");
  source.OnPopup = [this](TTBCustomItem* sender, bool fromLink) {
    Log.push_back("popup Source sender " + sender->Caption() + (fromLink ? " link" : ""));
  };
  Item(&source, "Go", ShortCut('G', {ssCtrl}));
  auto* shower = Sub(Root.get(), "Shower");
  shower->SetLinkSubitems(&source);
  EXPECT_TRUE(Root->IsShortCut(ShortCut('G', {ssCtrl})));
  EXPECT_EQ(Log, (std::vector<std::string>{"popup Source sender Shower link", "popup Shower sender Shower",
                                           "click Go"}));
}

TEST_F(TCommands, PopupHandlersMayRebuildTheMenu) {
  auto* view = Sub(Root.get(), "View");
  Item(view, "Placeholder", ShortCut('B', {ssCtrl}));
  // The submenu fills itself when it opens, as the user menu does: the item
  // found first is gone and the search finds its replacement.
  view->OnPopup = [this, view](TTBCustomItem*, bool) {
    Log.push_back("fill");
    if (view->Items(0)->Caption() == "Placeholder") {
      delete view->Items(0);
      Item(view, "Built", ShortCut('B', {ssCtrl}));
    }
  };
  EXPECT_TRUE(Root->IsShortCut(ShortCut('B', {ssCtrl})));
  EXPECT_EQ(Log, (std::vector<std::string>{"fill", "click Built"}));
}

TEST_F(TCommands, AnExceptionInAPopupHandlerDoesNotStopTheShortCut) {
  auto* file = Sub(Root.get(), "File");
  file->OnPopup = [](TTBCustomItem*, bool) { throw EAbort("quiet"); };
  Item(file, "Save", ShortCut('S', {ssCtrl}));
  EXPECT_TRUE(Root->IsShortCut(ShortCut('S', {ssCtrl})));
  EXPECT_EQ(Log, std::vector<std::string>{"click Save"});
}

TEST_F(TCommands, DeferredClicksRunLaterAndAreDroppedWithTheirItem) {
  auto* a = Item(Root.get(), "A");
  auto* b = Item(Root.get(), "B");
  PostClick(a);
  PostClick(b);
  EXPECT_TRUE(Log.empty());  // not before the event loop runs
  delete a;
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"click B"});
}

TEST_F(TCommands, DoneActionClickPlaysTheCommandSoundAndPostsTheClick) {
  auto* a = Item(Root.get(), "A");
  std::vector<std::string> sounds;
  TSoundHook old = SetSoundHook([&](const std::string& n) { sounds.push_back(n); });
  TTBDoneActionData d;
  d.DoneAction = tbdaClickItem;
  d.ClickItem = a;
  d.Sound = true;
  EXPECT_EQ(ExecuteDoneAction(d, true), a);
  guitest::ProcessEvents();
  EXPECT_TRUE(Log.empty());  // only returned
  EXPECT_EQ(ExecuteDoneAction(d, false), a);
  EXPECT_TRUE(Log.empty());
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"click A"});
  EXPECT_EQ(sounds, (std::vector<std::string>{"MenuCommand", "MenuCommand"}));
  d.DoneAction = tbdaCancel;
  EXPECT_EQ(ExecuteDoneAction(d, false), nullptr);
  SetSoundHook(old);
}

}  // namespace
