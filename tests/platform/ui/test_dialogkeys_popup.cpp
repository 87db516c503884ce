// The arrow keys in a dialog, the borderless pop-up form kept on the work
// area, and the folder-selection dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/fileutils.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/forms.h"
#include "platform/ui/popupform.h"
#include "platform/ui/stdctrls.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

using namespace guitest;

namespace {

// A control painted by the layer that records the keys reaching it and
// answers the dialog-code query as told.
class TKeyPad : public TCustomControl {
public:
  TKeyPad(TComponent* owner, LRESULT code) : TCustomControl(owner), FCode(code) { FTabStop = true; }
  std::vector<uint16_t> Keys;
  void KeyDown(uint16_t& Key, TShiftState Shift) override {
    Keys.push_back(Key);
    TCustomControl::KeyDown(Key, Shift);
  }

protected:
  void WMGetDlgCode(TMessage& M) override { M.Result = FCode; }

private:
  LRESULT FCode;
};

TEST(DialogKeys, ArrowsMoveTheFocusUnlessTheControlAsksForThem) {
  TForm form(nullptr);
  form.SetClientWidth(300);
  form.SetClientHeight(100);
  auto* b1 = new TButton(&form);
  b1->SetParent(&form);
  auto* b2 = new TButton(&form);
  b2->SetParent(&form);
  b2->SetLeft(80);
  auto* wants = new TKeyPad(&form, DLGC_WANTARROWS);
  wants->SetParent(&form);
  wants->SetBounds(160, 0, 40, 40);
  auto* plain = new TKeyPad(&form, 0);
  plain->SetParent(&form);
  plain->SetBounds(210, 0, 40, 40);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(0, 50, 100, 21);
  form.Show();
  ProcessEvents();

  b1->SetFocus();
  ProcessEvents();
  Key(b1, VK_RIGHT);
  EXPECT_TRUE(b2->Focused()) << "Right goes on from a button";
  Key(b2, VK_LEFT);
  EXPECT_TRUE(b1->Focused()) << "Left goes back";
  Key(b1, VK_UP);
  EXPECT_TRUE(edit->Focused()) << "Up goes back round to the last control";

  wants->SetFocus();
  ProcessEvents();
  Key(wants, VK_DOWN);
  Key(wants, VK_LEFT);
  EXPECT_TRUE(wants->Focused());
  EXPECT_EQ((std::vector<uint16_t>{VK_DOWN, VK_LEFT}), wants->Keys);

  plain->SetFocus();
  ProcessEvents();
  Key(plain, VK_DOWN);
  EXPECT_FALSE(plain->Focused()) << "a control that does not ask loses the focus to the arrow";
  EXPECT_TRUE(plain->Keys.empty());
  EXPECT_TRUE(edit->Focused());
  Key(plain, VK_F2);
  EXPECT_EQ((std::vector<uint16_t>{VK_F2}), plain->Keys) << "other keys reach it";

  // An edit keeps its arrows, Up and Down included.
  edit->SetFocus();
  ProcessEvents();
  for (uint16_t k : {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT}) {
    Key(edit, k);
    EXPECT_TRUE(edit->Focused()) << "key " << k;
  }
}

TEST(PopupForm, StaysInsideTheWorkArea) {
  EnsureGui();
  const TRect area = Screen->WorkAreaRect();
  struct Case {
    TRect bounds;
    TRect kept;
  };
  const std::vector<Case> cases{
      {Rect(area.Left + 10, area.Top + 10, area.Left + 110, area.Top + 60),
       Rect(area.Left + 10, area.Top + 10, area.Left + 110, area.Top + 60)},
      // Over the right and bottom edges: moved in to 2 pixels inside.
      {Rect(area.Right - 50, area.Bottom - 20, area.Right + 50, area.Bottom + 30),
       Rect(area.Right - 102, area.Bottom - 52, area.Right - 2, area.Bottom - 2)},
      // Off the left and top edges: moved onto the area.
      {Rect(area.Left - 30, area.Top - 5, area.Left + 70, area.Top + 45),
       Rect(area.Left, area.Top, area.Left + 100, area.Top + 50)},
      // Larger than the area: its top-left corner shows.
      {Rect(area.Left + 5, area.Top + 5, area.Left + 5 + area.Width() + 40, area.Top + 25),
       Rect(area.Left, area.Top + 5, area.Left + area.Width() + 40, area.Top + 25)},
  };
  for (const Case& c : cases) EXPECT_EQ(KeepInsideWorkArea(c.bounds, 2), c.kept);
}

TEST(PopupForm, ShowsBorderlessAndModalAtThePoint) {
  EnsureGui();
  const TRect area = Screen->WorkAreaRect();
  TForm owner(nullptr);
  auto* popup = new TPopupForm(&owner);
  popup->SetClientWidth(120);
  popup->SetClientHeight(80);
  auto* ok = new TButton(popup);
  ok->SetParent(popup);
  ok->SetModalResult(mrOk);
  TRect shownAt;
  TRect frame;
  bool modal = false;
  {
    TModalResponder responder;
    responder.Do([&](TCustomForm* f) {
      shownAt = f->BoundsRect();
      frame = WindowFrameRect(f);
      modal = f->FormState().Contains(fsModal);
      Click(ok, 5, 5);
      return mrNone;
    });
    EXPECT_EQ(popup->PopupAt(Point(area.Right - 20, area.Top + 30)), mrOk);
  }
  EXPECT_TRUE(modal);
  EXPECT_EQ(popup->BorderStyle(), bsNone);
  EXPECT_EQ(shownAt, Rect(area.Right - 122, area.Top + 30, area.Right - 2, area.Top + 110));
  EXPECT_EQ(frame, shownAt) << "no frame around it";
  EXPECT_FALSE(popup->Visible());
}

TEST(SelectDirectory, ChoosesCancelsAndCreatesAFolderAfterAsking) {
  TTempDir temp;
  const std::string existing = temp.File("data");
  ASSERT_TRUE(CreateDir(existing));
  const std::string fresh = temp.File("new/deeper");
  const TSelectDirOpts create{sdAllowCreate, sdPerformCreate, sdPrompt};

  // A folder chosen, the options and start folder handed to the dialog.
  {
    TCommonDialogResponder dialogs;
    dialogs.Do([&](TCommonDialog* d) {
      auto* s = dynamic_cast<TSelectDirectoryDialog*>(d);
      EXPECT_NE(s, nullptr);
      EXPECT_EQ(s->Directory, temp.Path());
      EXPECT_EQ(s->Options, create);
      s->Directory = existing;
      return true;
    });
    std::string dir = temp.Path();
    EXPECT_TRUE(SelectDirectory(dir, create, 0));
    EXPECT_EQ(dir, existing);
  }
  // Cancel leaves the folder as it was.
  {
    TCommonDialogResponder dialogs;
    std::string dir = existing;
    EXPECT_FALSE(SelectDirectory(dir, create, 0));
    EXPECT_EQ(dir, existing);
  }
  // A new folder: No goes back to the dialog (at the folder named), Yes makes it.
  {
    TCommonDialogResponder dialogs;
    TDialogResponder questions;
    questions.Answer(mrNo).Answer(mrYes);
    std::vector<std::string> startedAt;
    for (int i = 0; i < 2; ++i)
      dialogs.Do([&](TCommonDialog* d) {
        auto* s = static_cast<TSelectDirectoryDialog*>(d);
        startedAt.push_back(s->Directory);
        s->Directory = fresh;
        return true;
      });
    std::string dir = existing;
    EXPECT_TRUE(SelectDirectory(dir, create, 0));
    EXPECT_EQ(dir, fresh);
    EXPECT_TRUE(DirectoryExists(fresh));
    EXPECT_EQ((std::vector<std::string>{existing, fresh}), startedAt);
    ASSERT_EQ(questions.Count(), 2u);
    EXPECT_EQ(questions.Last().Text, "The specified directory does not exist. Create it?");
  }
}

TEST(SelectDirectory, AMissingFolderIsRefusedWhenItMayNotOrCannotBeMade) {
  TTempDir temp;
  const std::string blocker = temp.Write("plain-file", "x");
  struct Case {
    std::string chosen;
    TSelectDirOpts options;
    std::string message;
  };
  const std::vector<Case> cases{
      {temp.File("absent"), {}, "The specified directory does not exist."},
      {blocker + "/sub", {sdAllowCreate, sdPerformCreate}, "Unable to create directory " + blocker + "/sub"},
  };
  for (const Case& c : cases) {
    TCommonDialogResponder dialogs;
    TDialogResponder messages;
    dialogs.Do([&](TCommonDialog* d) {
      static_cast<TSelectDirectoryDialog*>(d)->Directory = c.chosen;
      return true;
    });
    std::string dir = temp.Path();
    EXPECT_FALSE(SelectDirectory(dir, c.options, 0)) << c.chosen;
    EXPECT_EQ(dir, temp.Path());
    EXPECT_EQ(dialogs.Count(), 2) << "the dialog comes back after the message";
    ASSERT_EQ(messages.Count(), 1u);
    EXPECT_EQ(messages.Last().Text, c.message);
  }
  // Allowed without making it: the name is taken as it is.
  TCommonDialogResponder dialogs;
  dialogs.Do([&](TCommonDialog* d) {
    static_cast<TSelectDirectoryDialog*>(d)->Directory = temp.File("later");
    return true;
  });
  std::string dir;
  EXPECT_TRUE(SelectDirectory(dir, {sdAllowCreate}, 0));
  EXPECT_EQ(dir, temp.File("later"));
  EXPECT_FALSE(DirectoryExists(dir));
}

}  // namespace
