#include <gtest/gtest.h>

#include "platform/dialogs.h"
#include "support/dialogresponder.h"

TEST(Dialogs, ResponderRecordsRequestsAndAnswersFromItsQueue) {
  TDialogResponder responder;
  responder.Answer(IDNO).Answer(mrCancel).AnswerText("1.5418");

  EXPECT_EQ(MessageBox("Save changes?", "Zelvora", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(MessageDlg("Overwrite file?", mtConfirmation, {mbYes, mbNo, mbCancel}), mrCancel);
  std::string wave = "1.5406";
  EXPECT_TRUE(InputQuery("Wavelength", "Lambda:", wave));
  EXPECT_EQ(wave, "1.5418");
  EXPECT_EQ(responder.Pending(), 0u);

  auto requests = responder.Requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].Kind, TDialogRequest::dkMessageBox);
  EXPECT_EQ(requests[0].Text, "Save changes?");
  EXPECT_EQ(requests[0].Caption, "Zelvora");
  EXPECT_EQ(requests[0].Flags, MB_YESNOCANCEL | MB_ICONQUESTION);
  EXPECT_EQ(requests[1].Kind, TDialogRequest::dkMessageDlg);
  EXPECT_EQ(requests[1].DlgType, mtConfirmation);
  EXPECT_EQ(requests[1].Buttons, (TMsgDlgButtons{mbYes, mbNo, mbCancel}));
  EXPECT_EQ(requests[2].Kind, TDialogRequest::dkInputBox);
  EXPECT_EQ(requests[2].Caption, "Wavelength");
  EXPECT_EQ(requests[2].Text, "Lambda:");
  EXPECT_EQ(requests[2].Default, "1.5406");
  EXPECT_TRUE(responder.Saw("Overwrite"));
}

TEST(Dialogs, ResponderFallsBackToDefaultsAndCustomAnswer) {
  TDialogResponder responder;
  EXPECT_EQ(MessageBox("q", "c", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageDlg("q", mtWarning, {mbYes, mbNo}), mrYes);
  EXPECT_EQ(InputBox("c", "p", "dflt"), "dflt");
  std::string value = "keep";
  EXPECT_FALSE(InputQuery("c", "p", value));
  EXPECT_EQ(value, "keep");

  responder.OnRequest = [](const TDialogRequest& r) {
    TDialogAnswer a;
    a.Result = r.Kind == TDialogRequest::dkMessageDlg ? mrAbort : IDRETRY;
    return a;
  };
  EXPECT_EQ(MessageDlg("q", mtError, {mbAbort, mbRetry}), mrAbort);
  EXPECT_EQ(MessageBox("q", "c", MB_RETRYCANCEL), IDRETRY);
  EXPECT_EQ(responder.Count(), 6u);
  EXPECT_EQ(responder.Last().Flags, MB_RETRYCANCEL);
}

TEST(Dialogs, RespondersNestAndRestoreThePreviousHandler) {
  TDialogResponder outer;
  {
    TDialogResponder inner;
    inner.Answer(IDCANCEL);
    EXPECT_EQ(MessageBox("inner", "", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(inner.Count(), 1u);
  }
  outer.Answer(IDYES);
  EXPECT_EQ(MessageBox("outer", "", MB_YESNO), IDYES);
  EXPECT_EQ(outer.Texts(), std::vector<std::string>{"outer"});
}

TEST(Dialogs, NoHandlerAnswersDefaultsWithoutWaiting) {
  ASSERT_FALSE(SetDialogHandler(nullptr));  // no handler installed between tests
  struct Case {
    TMsgDlgButtons buttons;
    int expected;
  };
  const Case cases[] = {
      {{mbOK}, mrOk},
      {{mbYes, mbNo, mbOK}, mrOk},
      {{mbYes, mbNo}, mrYes},
      {{mbNo, mbCancel}, mrNo},
      {{mbAbort, mbRetry, mbIgnore}, mrAbort},
      {{mbHelp, mbNoToAll}, mrNoToAll},
      {{mbYesToAll}, mrYesToAll},
      {{}, mrOk},
  };
  testing::internal::CaptureStderr();
  for (const Case& c : cases) EXPECT_EQ(MessageDlg("dialog text", mtInformation, c.buttons), c.expected);
  EXPECT_EQ(MessageBox("box text", "Box caption", MB_OK), IDOK);
  EXPECT_EQ(MessageBox("t", "c", MB_YESNOCANCEL), IDYES);
  EXPECT_EQ(MessageBox("t", "c", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(MessageBox("t", "c", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
  EXPECT_EQ(MessageBox("t", "c", MB_OKCANCEL | MB_DEFBUTTON3), IDOK);  // no third button
  EXPECT_EQ(InputBox("c", "p", "d"), "d");
  std::string value = "v";
  EXPECT_FALSE(InputQuery("c", "p", value));
  EXPECT_EQ(value, "v");
  ShowMessage("plain message");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("[dialog] Box caption: box text\n"), std::string::npos);
  EXPECT_NE(err.find("plain message"), std::string::npos);
}

TEST(Dialogs, ScreenCursorNotifiesOnChangeAndHourGlassRestores) {
  std::vector<TCursor> seen;
  ScreenCursor().OnChange = [&](TCursor c) { seen.push_back(c); };
  ScreenCursor().SetCursor(crCross);
  {
    THourGlass wait;
    EXPECT_EQ(ScreenCursor().Cursor(), crHourGlass);
  }
  ScreenCursor().SetCursor(crCross);  // unchanged: no notice
  ScreenCursor().SetCursor(crDefault);
  ScreenCursor().OnChange = nullptr;
  EXPECT_EQ(seen, (std::vector<TCursor>{crCross, crHourGlass, crCross, crDefault}));
}
