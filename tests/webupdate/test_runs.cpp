// Update runs against loopback servers started by the tests: HTTP from a
// server in the test, HTTPS and FTP from Python servers.
#include <gtest/gtest.h>

#include <regex>

#include "platform/rtl/fileutils.h"
#include "platform/rtl/process.h"
#include "platform/rtl/registry.h"
#include "platform/ui/richedit.h"
#include "platform/ui/stdctrls.h"
#include "platform/rtl/sysinfo.h"
#include "platform/rtl/transfer.h"
#include "platform/ui/shell.h"
#include "platform/ui/textbrowser.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/loopbackservers.h"
#include "support/tempdir.h"
#include "webupdate/wufiles.h"
#include "webupdate/wulogin.h"
#include "webupdate/wupdate.h"
#include "wutest.h"

namespace {

struct TStatus {
  std::string Text;
  int Status, Error;
};

std::string ByteSumText(const std::string& body) {
  TByteSum s;
  s.Add(body.data(), body.size());
  return std::to_string(s.Value());
}

// An update component pointed at a loopback server, with its statuses kept.
class WebUpdateRun : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    nu.UpdateType = httpUpdate;
    nu.UpdateUpdate = wuuSilent;
    nu.TempDirectory = dir.Path();
    nu.URL = http.Url("/update.inf");
    nu.OnStatus = [this](TObject*, const std::string& s, int status, int error) {
      statuses.push_back({s, status, error});
    };
    nu.OnSuccess = [this](TObject*) { ++successes; };
  }
  bool Saw(const std::string& text, int status = -1, int error = -1) const {
    for (const TStatus& s : statuses)
      if (s.Text == text && (status < 0 || s.Status == status) && (error < 0 || s.Error == error)) return true;
    return false;
  }
  // A control file whose one file replaces target (when its byte sum is not the body's).
  std::string ControlFor(const std::string& fileUrl, const std::string& targetDir, const std::string& body) {
    return "[update]\nunconditional=1\n[files]\ncount=1\n[file1]\nurl=" + fileUrl + "\ntargetdir=" + targetDir +
           "\nlocalversion=" + targetDir + "\\data.bin\nnewchecksum=" + ByteSumText(body) + "\n";
  }
  std::vector<std::string> TempFilesIn(const std::string& folder) { return FindFiles(folder, "WUPD*"); }

  TTempDir dir;
  TLoopbackHttpServer http;
  TNetUpdate nu{nullptr};
  std::vector<TStatus> statuses;
  int successes = 0;
  TDialogResponder dialogs;
};

TEST_F(WebUpdateRun, NewerVersionDownloadsIntoANewTargetFolder) {
  const std::string program = dir.Write("prog.exe", wutest::PeWithVersion(1, 0, 0, 0));
  const std::string target = dir.Path() + "install\\bin";
  http.Put("/update.inf", "[update]\nnewversion=2.0.0.0\nlocalversion=" + program +
                              "\n[files]\ncount=1\n[file1]\nurl=" + http.Url("/files/prog.exe") + "\ntargetdir=" +
                              target + "\nnewversion=2.0.0.0\n");
  const std::string body = wutest::PeWithVersion(2, 0, 0, 0);
  http.Put("/files/prog.exe", body);
  nu.RunUpdate();
  EXPECT_EQ(TTempDir::Read(dir.File("install/bin/prog.exe")), body);
  EXPECT_EQ(successes, 1);
  const std::string fileUrl = http.Url("/files/prog.exe");
  const std::vector<TStatus> expected = {
      {"", 0, 0},
      {"Checking for Internet connection", 3, 0},
      {"Found open Internet connection", 3, 0},
      {"Download : " + nu.URL, 3, 0},
      {"Update control file found", 3, 0},
      {"Version based update found", 3, 0},
      {"Version check : Version compare of " + program + ":1.0.0.0 with 2.0.0.0:2.0.0.0", 3, 0},
      {"New version found : 2.0.0.0", 5, 0},
      {"Found file update instruction", 3, 0},
      {"Download : " + fileUrl, 3, 0},
      {"Finished processing update control file", 3, 0},
      {"Closed Internet connection", 3, 0},
      {"Closed Internet connection", 3, 0},
  };
  ASSERT_EQ(statuses.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(statuses[i].Text, expected[i].Text) << i;
    EXPECT_EQ(statuses[i].Status, expected[i].Status) << i;
    EXPECT_EQ(statuses[i].Error, expected[i].Error) << i;
  }
  // The temporary control file is gone, and no partial file stayed anywhere.
  EXPECT_TRUE(TempFilesIn(dir.Path()).empty());
  EXPECT_TRUE(TempFilesIn(dir.File("install/bin")).empty());
  // Once the local program is current, nothing is fetched.
  dir.Write("prog.exe", body);
  statuses.clear();
  nu.RunUpdate();
  EXPECT_TRUE(Saw("No new version found", 4, 0));
  EXPECT_EQ(successes, 1);
}

TEST_F(WebUpdateRun, LoginIsAskedOnEach401AndSentAsBasic) {
  http.Handler = [&](const THttpRequest& r) {
    THttpResponse a;
    const auto auth = r.Headers.find("authorization");
    if (auth == r.Headers.end() || auth->second != "Basic dXNlcjpwYXNz") {
      a.Status = 401;
      a.Reason = "Unauthorized";
      a.Headers = {"WWW-Authenticate: Basic realm=\"updates\""};
      return a;
    }
    a.Body = r.Path == "/update.inf" ? ControlFor(http.Url("/data.bin"), dir.Path() + "t", "fresh") : "fresh";
    return a;
  };
  ForceDirectories(dir.File("t"));
  dir.Write("t/data.bin", "stale");
  nu.Authenticate = waAuto;
  guitest::TModalResponder logins;
  std::vector<std::string> captions;
  auto login = [&](const char* user, const char* password) {
    return [&captions, user, password](TCustomForm* f) {
      auto* form = dynamic_cast<TLoginForm*>(f);
      if (!form) return static_cast<int>(mrCancel);
      captions.push_back(form->Caption());
      form->Edit1->SetText(user);
      form->Edit2->SetText(password);
      return static_cast<int>(mrOk);
    };
  };
  logins.Do(login("user", "wrong")).Do(login("user", "pass"));
  nu.RunUpdate();
  EXPECT_EQ(logins.Count(), 2);
  const std::string host = "127.0.0.1:" + std::to_string(http.Port());
  EXPECT_EQ(captions, (std::vector<std::string>{"Connect to " + host, "Connect to " + host}));
  const std::vector<THttpRequest> requests = http.Requests();
  ASSERT_GE(requests.size(), 3u);
  EXPECT_EQ(requests[0].Headers.count("authorization"), 0u);
  EXPECT_EQ(requests[1].Headers.at("authorization"), "Basic dXNlcjp3cm9uZw==");
  EXPECT_EQ(requests[2].Headers.at("authorization"), "Basic dXNlcjpwYXNz");
  // The file request carries the stored log-in without asking again.
  EXPECT_EQ(requests.back().Headers.at("authorization"), "Basic dXNlcjpwYXNz");
  EXPECT_EQ(TTempDir::Read(dir.File("t/data.bin")), "fresh");
  // Cancel in the dialog ends the transfer.
  nu.UserID.clear();
  nu.Password.clear();
  statuses.clear();
  logins.Answer(mrCancel);
  nu.RunUpdate();
  EXPECT_TRUE(Saw("Authentication cancelled", 0, 0));
  EXPECT_TRUE(Saw("Update control file not found", 2, 0));
}

TEST_F(WebUpdateRun, RedirectionFailsWithItsStatus) {
  http.Handler = [](const THttpRequest&) {
    THttpResponse a;
    a.Status = 302;
    a.Reason = "Found";
    a.Headers = {"Location: http://127.0.0.1:1/elsewhere"};
    return a;
  };
  nu.RunUpdate();
  EXPECT_TRUE(Saw("Http status : 302", 6, 302));
  EXPECT_TRUE(Saw("Update control file not found", 2, 0));
  EXPECT_EQ(http.Requests().size(), 1u);
}

TEST_F(WebUpdateRun, ABadDownloadLeavesTheTargetAsItWas) {
  const std::string good = "the new content of data.bin";
  struct Case {
    const char* What;
    std::string Body;
    long long Announced;
  } cases[] = {
      {"empty body", "", -1},
      {"body cut short", good.substr(0, 10), static_cast<long long>(good.size())},
      {"wrong checksum", "the new content of data.biN", -1},
  };
  ForceDirectories(dir.File("t"));
  for (const Case& c : cases) {
    const std::string old = std::string("old bytes \0 kept", 16);
    dir.Write("t/data.bin", old);
    http.Handler = [&](const THttpRequest& r) {
      THttpResponse a;
      if (r.Path == "/update.inf") {
        a.Body = ControlFor(http.Url("/data.bin"), dir.Path() + "t", good);
      } else {
        a.Body = c.Body;
        a.AnnouncedLength = c.Announced;
      }
      return a;
    };
    statuses.clear();
    nu.RunUpdate();
    EXPECT_EQ(TTempDir::Read(dir.File("t/data.bin")), old) << c.What;
    EXPECT_TRUE(Saw("Cannot download update file : " + http.Url("/data.bin"), 2, 0)) << c.What;
    EXPECT_TRUE(TempFilesIn(dir.File("t")).empty()) << c.What;
    EXPECT_EQ(successes, 0) << c.What;
  }
}

TEST_F(WebUpdateRun, ASecondRunDuringATransferIsRefused) {
  http.Put("/update.inf", ControlFor(http.Url("/data.bin"), dir.Path() + "t", "fresh"));
  http.Put("/data.bin", "fresh");
  ForceDirectories(dir.File("t"));
  int nested = 0;
  nu.OnFileProgress = [&](TObject*, const std::string&, int, int) {
    ++nested;
    nu.RunUpdate();
  };
  nu.RunUpdate();
  EXPECT_GT(nested, 0);
  int starts = 0;
  for (const TStatus& s : statuses) starts += s.Text.empty() && s.Status == 0 && s.Error == 0 ? 1 : 0;
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(TTempDir::Read(dir.File("t/data.bin")), "fresh");
}

TEST_F(WebUpdateRun, LoggingWritesOneLinePerStatus) {
  const std::string saved = nu.LogFileName();
  nu.SetLogFileName(dir.File("wu.log"));
  nu.Logging = true;
  http.Put("/update.inf", "[update]\nnewsize=5\nlocalversion=" + dir.Write("local.bin", "12345") + "\n");
  nu.RunUpdate();
  nu.SetLogFileName(saved);
  const std::string log = TTempDir::Read(dir.File("wu.log"));
  std::vector<std::string> lines;
  for (size_t start = 0; start < log.size();) {
    const size_t end = log.find('\n', start);
    lines.push_back(log.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_EQ(lines.size(), statuses.size());
  const std::regex form(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d : \[(\d+)\] (.*) \(Status:(\d+)\) \(Error:(\d+)\))");
  for (size_t i = 0; i < lines.size(); ++i) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(lines[i], m, form)) << lines[i];
    EXPECT_EQ(m[2].str(), statuses[i].Text);
    EXPECT_EQ(std::stoi(m[3].str()), statuses[i].Status);
  }
  EXPECT_NE(log.find("[932] File size based update found (Status:3) (Error:0)"), std::string::npos) << log;
  EXPECT_NE(log.find("[930] No new version found (Status:4) (Error:0)"), std::string::npos) << log;
}

TEST_F(WebUpdateRun, HttpsIsUsedOnlyWithATrustedCertificate) {
  TTempDir site;
  ASSERT_TRUE(MakeLoopbackCertificate(site.Path())) << "openssl";
  TPythonServer https;
  ASSERT_TRUE(StartHttpsServer(https, site.Path())) << https.Error;
  const std::string base = "https://127.0.0.1:" + std::to_string(https.Port());
  site.Write("update.inf", ControlFor(base + "/data.bin", dir.Path() + "t", "over tls"));
  site.Write("data.bin", "over tls");
  ForceDirectories(dir.File("t"));
  dir.Write("t/data.bin", "plain");
  nu.URL = base + "/update.inf";
  nu.RunUpdate();
  EXPECT_TRUE(Saw("Update control file not found", 2, 0));
  EXPECT_EQ(TTempDir::Read(dir.File("t/data.bin")), "plain");
  AddTrustedCertificates(site.File("cert.pem"));
  statuses.clear();
  nu.RunUpdate();
  AddTrustedCertificates("");
  EXPECT_TRUE(Saw("Update control file found", 3, 0));
  EXPECT_EQ(TTempDir::Read(dir.File("t/data.bin")), "over tls");
  EXPECT_EQ(successes, 1);
}

TEST_F(WebUpdateRun, FtpInPassiveModeChangesItsFolderOnce) {
  TTempDir site;
  ForceDirectories(site.File("pub/upd"));
  const std::string body(10000, 'f');
  site.Write("pub/upd/update.inf", "[update]\nunconditional=1\n[files]\ncount=2\n[file1]\nurl=data.bin\ntargetdir=" +
                                       dir.Path() + "t\n[file2]\nurl=more.bin\ntargetdir=" + dir.Path() + "t\n");
  site.Write("pub/upd/data.bin", body);
  site.Write("pub/upd/more.bin", "more");
  TPythonServer ftp;
  ASSERT_TRUE(StartFtpServer(ftp, site.Path(), dir.File("commands.log"))) << ftp.Error;
  nu.UpdateType = ftpUpdate;
  nu.Host = "127.0.0.1";
  nu.Port = ftp.Port();
  nu.FTPPassive = true;
  nu.FTPDirectory = "pub/upd";
  nu.URL = "update.inf";
  std::vector<int> sizes;
  nu.OnFileProgress = [&](TObject*, const std::string& name, int, int size) {
    if (name.find("data.bin") != std::string::npos) sizes.push_back(size);
  };
  nu.RunUpdate();
  EXPECT_EQ(TTempDir::Read(dir.File("t/data.bin")), body);
  EXPECT_EQ(TTempDir::Read(dir.File("t/more.bin")), "more");
  ASSERT_FALSE(sizes.empty());
  EXPECT_EQ(sizes.back(), 10000);  // the size from the folder's listing
  EXPECT_TRUE(Saw("Connect to host : 127.0.0.1", 3, 0));
  EXPECT_TRUE(Saw("Closed FTP connection", 3, 0));
  // One change of folder for the control file and both files.
  EXPECT_EQ(TTempDir::Read(dir.File("commands.log")), "CWD /pub/upd\n");
}

TEST_F(WebUpdateRun, AFolderSourceCopiesAndChecks) {
  TTempDir site;
  site.Write("update.inf", "[update]\nunconditional=1\n[files]\ncount=2\n[file1]\nurl=" + site.File("a.bin") +
                               "\ntargetdir=" + dir.Path() + "t\n[file2]\nurl=" + site.File("empty.bin") +
                               "\ntargetdir=" + dir.Path() + "t\n");
  site.Write("a.bin", "copied");
  site.Write("empty.bin", "");
  ForceDirectories(dir.File("t"));
  dir.Write("t/empty.bin", "kept");
  nu.UpdateType = fileUpdate;
  nu.URL = site.File("update.inf");
  nu.RunUpdate();
  EXPECT_EQ(TTempDir::Read(dir.File("t/a.bin")), "copied");
  EXPECT_EQ(TTempDir::Read(dir.File("t/empty.bin")), "kept");
  EXPECT_TRUE(Saw("Zero length source file : " + site.File("empty.bin"), 10, 2));
  // A copy onto itself is refused.
  EXPECT_FALSE(nu.CopySourceFile(site.File("a.bin"), site.File("a.bin")));
  EXPECT_TRUE(Saw("Equal source and target files : " + site.File("a.bin"), 10, 3));
}

TEST_F(WebUpdateRun, TargetsOutsideTheUpdatesFoldersAreNotWritten) {
  const std::string outside = "/var/zelvora-update-test-" + std::to_string(GetCurrentProcessId());
  for (const std::string& target : {dir.Path() + "t\\..\\..\\up", outside}) {
    http.Put("/update.inf", ControlFor(http.Url("/data.bin"), target, "evil"));
    http.Put("/data.bin", "evil");
    statuses.clear();
    nu.RunUpdate();
    EXPECT_TRUE(Saw("Cannot download update file : " + http.Url("/data.bin"), 2, 0)) << target;
  }
  EXPECT_FALSE(DirectoryExists(outside));
  EXPECT_FALSE(DirectoryExists(dir.Path() + "../up"));
}

TEST_F(WebUpdateRun, DatesAndTheLastURLLiveInTheRegistry) {
  TRegistry clean;
  clean.DeleteKey("\\Software\\Zelvora\\Update");
  clean.DeleteKey("\\LastUpdateDate");
  clean.CloseKey();
  nu.LastURLEntry()->Save = true;
  nu.LastURLEntry()->Key = "LastUpdateDate";
  nu.LastURLEntry()->Section = "\\Software\\Zelvora\\Update";
  ForceDirectories(dir.File("t"));
  const std::string files = "[files]\ncount=1\n[file1]\nurl=" + http.Url("/data.bin") + "\ntargetdir=" +
                            dir.Path() + "t\n";
  http.Put("/update.inf", "[update]\ndate=24/12/2025\ntime=18:30\n[action]\nupdateURL=" + http.Url("/next.inf") +
                              "\n" + files);
  http.Put("/data.bin", "dated");
  nu.RunUpdate();
  EXPECT_TRUE(Saw("Date based update found", 3, 0));
  EXPECT_TRUE(Saw("Found URL redirection instruction", 3, 0));
  EXPECT_EQ(TTempDir::Read(dir.File("t/data.bin")), "dated");
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey("\\Software\\Zelvora\\Update", false));
  EXPECT_EQ(reg.ReadString("LastDate"), "2025-12-24");
  EXPECT_EQ(reg.ReadString("LastTime"), "18:30:00");
  EXPECT_EQ(reg.ReadString("LastURL"), http.Url("/next.inf"));
  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists("\\LastUpdateDate"));
  // The stored URL is used from now on; the same date there is not newer,
  // whatever date format the user has.
  const TFormatSettings saved = FormatSettings;
  FormatSettings.ShortDateFormat = "mm/dd/yyyy";
  FormatSettings.DateSeparator = '.';
  http.Put("/next.inf", "[update]\ndate=24/12/2025\ntime=18:30\n" + files);
  statuses.clear();
  nu.RunUpdate();
  FormatSettings = saved;
  EXPECT_EQ(http.Requests().back().Path, "/next.inf");
  EXPECT_TRUE(Saw("No new version found", 4, 0));
  // A date written in the user's own form still reads.
  reg.OpenKey("\\Software\\Zelvora\\Update", false);
  reg.WriteString("LastDate", "25/12/2025");
  reg.DeleteValue("LastTime");
  reg.CloseKey();
  statuses.clear();
  nu.RunUpdate();
  EXPECT_TRUE(Saw("No new version found", 4, 0));
}

TEST_F(WebUpdateRun, WhatsNewAndLicenceDecide) {
  ForceDirectories(dir.File("t"));
  http.Put("/news.txt", "Version 2\nFaster.\n");
  http.Put("/eula.txt", "Terms\n");
  http.Put("/update.inf", "[update]\nunconditional=1\n[whatsnew]\nfile=" + http.Url("/news.txt") +
                              "\ncaption=What is new\n[eula]\nfile=" + http.Url("/eula.txt") +
                              "\ncaption=Licence\n[files]\ncount=1\n[file1]\nurl=" + http.Url("/data.bin") +
                              "\ntargetdir=" + dir.Path() + "t\n");
  http.Put("/data.bin", "licensed");
  guitest::TModalResponder forms;
  std::vector<std::string> captions;
  std::string memo;
  // What's new cancelled: no licence, no download.
  forms.Do([&](TCustomForm* f) {
    captions.push_back(f->Caption());
    if (auto* m = dynamic_cast<TMemo*>(f->Components(0))) memo = m->Text();
    return static_cast<int>(mrCancel);
  });
  nu.RunUpdate();
  EXPECT_EQ(captions, std::vector<std::string>{"What is new"});
  EXPECT_NE(memo.find("Faster."), std::string::npos) << memo;
  EXPECT_TRUE(Saw("Found whatsnew instruction", 12, 0));
  EXPECT_TRUE(Saw("Whatsnew not accepted", 14, 0));
  EXPECT_FALSE(FileExists(dir.File("t/data.bin")));
  // OK without choosing "I accept" refuses; with it, the file comes.
  for (bool accept : {false, true}) {
    captions.clear();
    forms.Answer(mrOk).Do([&](TCustomForm* f) {
      captions.push_back(f->Caption());
      if (accept) dynamic_cast<TCheckBox*>(f->FindComponent("rbAccept"))->SetChecked(true);
      return static_cast<int>(mrOk);
    });
    nu.RunUpdate();
    EXPECT_EQ(captions, std::vector<std::string>{"Licence"});
    EXPECT_EQ(FileExists(dir.File("t/data.bin")), accept);
  }
  EXPECT_TRUE(Saw("Found license agreement instruction", 13, 0));
}

// The actions of a control file: commands run only after Yes, without a
// shell; only web pages are shown.
class TRecordingUpdate : public TNetUpdate {
public:
  using TNetUpdate::TNetUpdate;
  std::vector<std::vector<std::string>> Started;
  bool Fail = false;
  std::string UpdaterName = "/bin/true";
  bool StartProcess(const std::vector<std::string>& Args, const std::string&, int& Error) override {
    Started.push_back(Args);
    Error = Fail ? 2 : 0;
    return !Fail;
  }
  std::string WriteUpdaterProgram() override { return UpdaterName; }
};

TEST_F(WebUpdateRun, CommandsRunOnlyAfterYesAndPagesOnlyFromTheWeb) {
  TRecordingUpdate ru(nullptr);
  ru.UpdateType = httpUpdate;
  ru.UpdateUpdate = wuuSilent;
  ru.TempDirectory = dir.Path();
  ru.URL = http.Url("/update.inf");
  http.Put("/page.html", "<html><body><h1>Release notes</h1><p>Two fixes.</p></body></html>");
  http.Put("/update.inf", "[update]\nunconditional=1\n[action]\nrunbefore=/usr/bin/touch \"" + dir.File("a b") +
                              "\"\nhtmldlg=file:///etc/passwd\nshowURL=file:///etc/hostname\n");
  std::vector<std::string> opened;
  TShellOpenHandler previous =
      SetShellOpenHandler([&](const std::string&, const std::string& target, const std::string&) {
        opened.push_back(target);
        return true;
      });
  guitest::TModalResponder forms;
  dialogs.Answer(mrNo);
  ru.RunUpdate();
  EXPECT_TRUE(ru.Started.empty());
  ASSERT_FALSE(dialogs.Requests().empty());
  EXPECT_NE(dialogs.Requests()[0].Text.find("/usr/bin/touch \"" + dir.File("a b") + "\""), std::string::npos);
  EXPECT_EQ(forms.Count(), 0);
  EXPECT_TRUE(opened.empty());
  // Yes starts it with its arguments as written; web pages are shown.
  http.Put("/update.inf", "[update]\nunconditional=1\n[action]\nrunbefore=/usr/bin/touch \"" + dir.File("a b") +
                              "\"\nhtmldlg=" + http.Url("/page.html") + "\nshowURL=" + http.Url("/page.html") + "\n");
  std::string shown;
  forms.Do([&](TCustomForm* f) {
    if (auto* b = dynamic_cast<TTextBrowser*>(f->FindComponent("Browser"))) shown = b->ShownText();
    return static_cast<int>(mrOk);
  });
  dialogs.Answer(mrYes);
  ru.RunUpdate();
  SetShellOpenHandler(previous);
  ASSERT_EQ(ru.Started.size(), 1u);
  EXPECT_EQ(ru.Started[0], (std::vector<std::string>{"/usr/bin/touch", dir.File("a b")}));
  EXPECT_NE(shown.find("Release notes"), std::string::npos) << shown;
  EXPECT_EQ(opened, std::vector<std::string>{http.Url("/page.html")});
}

TEST_F(WebUpdateRun, TheUpdaterStartsWithArgumentsOrTheProgramKeepsRunning) {
  TRecordingUpdate ru(nullptr);
  ru.UpdateType = httpUpdate;
  ru.UpdateUpdate = wuuSilent;
  ru.TempDirectory = dir.Path();
  ru.URL = http.Url("/update.inf");
  ru.OnStatus = nu.OnStatus;
  int closes = 0;
  ru.OnAppDoClose = [&](TObject*) { ++closes; };
  ForceDirectories(dir.File("t"));
  http.Put("/update.inf", ControlFor(http.Url("/main.bin_new"), dir.Path() + "t", "new main") +
                              "[application]\nappupdate=1\nappname=my prog\nappparam=-x\nappcomps=main.bin_new "
                              "other.dll\nsilentrestart=1\n");
  http.Put("/main.bin_new", "new main");
  ru.RunUpdate();
  ASSERT_EQ(ru.Started.size(), 1u);
  EXPECT_EQ(ru.Started[0], (std::vector<std::string>{"/bin/true", std::to_string(GetCurrentProcessId()), "X",
                                                     "\"" + GetCurrentDir() + "/my prog\" -x", "main.bin_new",
                                                     "other.dll"}));
  EXPECT_TRUE(Saw("Found application component : main.bin_new", 0, 0));
  EXPECT_EQ(closes, 1);
  // When the updater cannot start, that is reported and nothing closes.
  ru.Fail = true;
  dir.Write("t/data.bin", "stale again");
  statuses.clear();
  ru.RunUpdate();
  EXPECT_TRUE(Saw("Failed to spawn updater process : " + SystemErrorText(2), 9, 2));
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(Application->Terminated());
}

}  // namespace
