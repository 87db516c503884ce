// The update window: mirrors, the run against a loopback mirror, its status
// texts and its two states; and the main window's update command.
#include <gtest/gtest.h>

#include "app/updatewindow.h"
#include "mainwindowtest.h"
#include "model/global.h"
#include "platform/rtl/fileutils.h"
#include "platform/ui/queuedcall.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/loopbackservers.h"
#include "support/tempdir.h"

namespace {

class UpdateWindow : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    mainwindowtest::ClearSettings();
    saved = UpdateSite;
  }
  void TearDown() override {
    UpdateSite = saved;
    mainwindowtest::ClearSettings();
  }
  // A window whose mirror 1 is the loopback server with its files in folder.
  std::unique_ptr<TFormUpdate> LoopbackWindow(const std::string& folder) {
    auto form = std::make_unique<TFormUpdate>(nullptr);
    form->MirrorHost = [this](int i) { return i == 1 ? http.Url("") : UpdateMirrorHost(i); };
    form->MirrorPath = [folder](int i) { return i == 1 ? folder : UpdateMirrorPath(i); };
    return form;
  }
  int saved = 0;
  TLoopbackHttpServer http;
  TTempDir dir;
  TDialogResponder dialogs;
};

TEST_F(UpdateWindow, CreationLimitsTheMirrorShowingDoesNot) {
  UpdateSite = 5;
  TFormUpdate form(nullptr);
  EXPECT_EQ(form.Caption(), "Zelvora Update");
  EXPECT_EQ(form.ClientWidth(), 414);
  EXPECT_EQ(form.ClientHeight(), 88);
  ASSERT_EQ(form.cbSites->Items()->Count(), 6);
  EXPECT_EQ(form.cbSites->Items()->Strings(5), "Not Available");
  EXPECT_EQ(form.cbSites->ItemIndex(), 2);
  guitest::TModalResponder modal;
  int shown = -1;
  modal.Do([&](TCustomForm*) {
    shown = form.cbSites->ItemIndex();
    return static_cast<int>(mrCancel);
  });
  form.ShowModal();
  EXPECT_EQ(shown, 5);
  UpdateSite = 3;
  TFormUpdate three(nullptr);
  EXPECT_EQ(three.cbSites->ItemIndex(), 3);
  // Choosing a mirror stores it and makes the button run again.
  three.btUpdate->SetCaption("OK");
  three.cbSites->UserSelected(4);
  EXPECT_EQ(UpdateSite, 4);
  EXPECT_EQ(three.btUpdate->Caption(), "Update");
}

TEST_F(UpdateWindow, AWebMirrorRunsOverHttpAndASecondClickCloses) {
  ForceDirectories(dir.File("target"));
  http.Put("/pub/zelvora/update.inf", "[update]\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=" +
                                          http.Url("/pub/zelvora/data.bin") + "\ntargetdir=" + dir.File("target") +
                                          "\n");
  http.Put("/pub/zelvora/data.bin", "0123456789");
  UpdateSite = 1;
  auto form = LoopbackWindow("/pub/zelvora/");
  dialogs.Answer(mrYes);  // "Download update files ?"
  guitest::TModalResponder modal;
  int result = mrNone;
  std::string files, status;
  modal.Do([&](TCustomForm* f) {
    form->btUpdate->Click();
    files = form->lbfiles->Caption();
    status = form->lbUpdateStatus->Caption();
    EXPECT_EQ(form->btUpdate->Caption(), "OK");
    form->btUpdate->Click();  // closes, runs nothing
    result = f->ModalResult();
    return result;
  });
  form->ShowModal();
  EXPECT_EQ(form->NetUpdate1->UpdateType, httpUpdate);
  EXPECT_FALSE(form->NetUpdate1->FTPPassive);
  EXPECT_EQ(form->NetUpdate1->URL, http.Url("/pub/zelvora/update.inf"));
  const std::vector<THttpRequest> requests = http.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].Path, "/pub/zelvora/update.inf");
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Download update files ?"});
  EXPECT_EQ(TTempDir::Read(dir.File("target/data.bin")), "0123456789");
  EXPECT_EQ(files, "Downloading " + dir.File("target") + "\\data.bin  Size: 10");
  EXPECT_EQ(status, "Closed Internet connection");
  EXPECT_NE(result, mrNone);
}

TEST_F(UpdateWindow, AClickDuringARunClosesTheWindowAfterIt) {
  ForceDirectories(dir.File("target"));
  http.Put("/u/update.inf", "[update]\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=" + http.Url("/u/data.bin") +
                                "\ntargetdir=" + dir.File("target") + "\n");
  http.Put("/u/data.bin", std::string(100000, 'd'));
  UpdateSite = 1;
  auto form = LoopbackWindow("/u/");
  dialogs.Answer(mrYes);
  guitest::TModalResponder modal;
  bool clickedDuringRun = false;
  int afterRun = -1;
  modal.Do([&](TCustomForm* f) {
    form->NetUpdate1->OnFileProgress = [&](TObject*, const std::string&, int, int) {
      if (clickedDuringRun) return;
      clickedDuringRun = true;
      // The window is served between blocks: a click arrives now.
      QueueCall([&] { form->btUpdate->Click(); });
    };
    form->btUpdate->Click();
    afterRun = f->ModalResult();
    return afterRun;
  });
  form->ShowModal();
  EXPECT_TRUE(clickedDuringRun);
  EXPECT_EQ(TTempDir::Read(dir.File("target/data.bin")).size(), 100000u);  // the run went to its end
  EXPECT_NE(afterRun, mrNone);
}

TEST_F(UpdateWindow, StatusTexts) {
  UpdateSite = 1;
  auto form = LoopbackWindow("/missing/");
  form->btUpdateClick(form->btUpdate);
  EXPECT_EQ(form->lbfiles->Caption(), "No update file available.");
  EXPECT_EQ(form->btUpdate->Caption(), "OK");
  // Nothing newer: the current version.
  http.Put("/same/update.inf", "[update]\nnewsize=3\nlocalversion=" + dir.Write("local.bin", "abc") + "\n");
  auto current = LoopbackWindow("/same/");
  current->btUpdateClick(current->btUpdate);
  EXPECT_EQ(current->lbfiles->Caption(), "This is the current version of Zelvora.");
  // An FTP mirror keeps the folder apart from the file's name.
  auto ftp = LoopbackWindow("/x/");
  ftp->MirrorHost = [](int) { return std::string("ftp.127.0.0.1.invalid"); };
  ftp->NetUpdate1->UpdateConnect = wucNone;  // no connection: only the settings are made
  ftp->btUpdateClick(ftp->btUpdate);
  EXPECT_EQ(ftp->NetUpdate1->UpdateType, ftpUpdate);
  EXPECT_TRUE(ftp->NetUpdate1->FTPPassive);
  EXPECT_EQ(ftp->NetUpdate1->URL, "update.inf");
  EXPECT_EQ(ftp->NetUpdate1->FTPDirectory, "/x/");
  EXPECT_EQ(ftp->NetUpdate1->Port, 0);
}

class UpdateCommand : public mainwindowtest::MainWindowTest {};

TEST_F(UpdateCommand, OpensTheUpdateWindowOnTheStoredMirror) {
  Create();
  UpdateSite = 4;
  guitest::TModalResponder modal;
  int site = -1;
  bool isUpdate = false;
  modal.Do([&](TCustomForm* f) {
    auto* form = dynamic_cast<TFormUpdate*>(f);
    isUpdate = form != nullptr;
    if (form) site = form->cbSites->ItemIndex();
    return static_cast<int>(mrCancel);
  });
  TDialogResponder dialogs;
  Form->actUpdate->Execute();
  EXPECT_TRUE(isUpdate);
  EXPECT_EQ(site, 4);
  EXPECT_EQ(dialogs.Count(), 0u);
  EXPECT_TRUE(Form->actUpdate->Enabled());
}

}  // namespace
