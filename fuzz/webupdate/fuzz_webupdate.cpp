// Mutation driver of the web update's readers.
//
// Targets and the rules each checks besides "only the layer's exceptions":
//   control   an update control file run from a folder source: every file
//             the run writes lies inside the sandbox; no question is
//             answered Yes, so no command starts
//   list      an updater list file: files move only inside the sandbox
//   cabinet   a cabinet extracted into a target folder: nothing appears
//             outside that folder
//   lz        an LZ file expanded: at most its one expanded file appears
//   version   a program file's version resource and version texts: a
//             version text that converts prints back to a text that reads
//             the same
// Everything happens in a private sandbox folder (the temporary and
// configuration folders point into it too).
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzzdriver.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/sysinfo.h"
#include "platform/ui/forms.h"
#include "webupdate/cabfdi.h"
#include "webupdate/updater.h"
#include "webupdate/wufiles.h"
#include "webupdate/wupdate.h"

namespace fs = std::filesystem;
using fuzzdriver::ExpectLayerErrors;
using fuzzdriver::Fault;

namespace {

std::string gBox;  // the sandbox, with a trailing '/'
unsigned gEndedPid = 0;

void WriteFile(const std::string& name, const std::string& data) {
  FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return;
  std::fwrite(data.data(), 1, data.size(), f);
  std::fclose(f);
}

// Every file below folder, relative.
std::vector<std::string> Tree(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    names.push_back(fs::relative(it->path(), folder, ec).string());
  std::sort(names.begin(), names.end());
  return names;
}

void Reset(const std::string& folder) {
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder, ec);
}

// What lies outside the sandbox's own folders must not change: the program's
// folder (a permitted target) is compared before and after.
std::vector<std::string> gProgramFolder;

void CheckOutside(const char* what) {
  if (!Tree(gBox + "outside").empty()) Fault(std::string(what) + ": a file was written outside the sandbox");
  if (FindFiles(ProgramFolder(), "*") != gProgramFolder)
    Fault(std::string(what) + ": the program's folder changed");
}

void Site() {
  Reset(gBox + "site");
  WriteFile(gBox + "site/a.bin", "new a");
  WriteFile(gBox + "site/news.txt", "What is new\nline two\n");
  std::string szdd("SZDD\x88\xF0\x27\x33" "Ax\x03\0\0\0\xFF" "abc", 17);
  WriteFile(gBox + "site/c.da_", szdd);
}

void RunControl(const std::string& input) {
  Reset(gBox + "app");
  Reset(gBox + "tmp");
  SetCurrentDir(gBox + "app");
  WriteFile(gBox + "app/a.bin", "old a");
  WriteFile(gBox + "site/update.inf", input);
  ExpectLayerErrors([&] {
    TNetUpdate nu(nullptr);
    nu.UpdateType = fileUpdate;
    nu.URL = gBox + "site/update.inf";
    nu.TempDirectory = gBox + "tmp";
    nu.OnAppDoClose = [](TObject*) {};
    nu.OnAppRestart = [](TObject*, bool& allow) { allow = false; };
    nu.RunUpdate();
  });
  SetCurrentDir(gBox);
  CheckOutside("control");
}

void RunList(const std::string& input) {
  Reset(gBox + "app");
  SetCurrentDir(gBox + "app");
  WriteFile(gBox + "app/a.bin", "old");
  WriteFile(gBox + "app/a.bin_new", "new");
  std::string szdd("SZDD\x88\xF0\x27\x33" "At\x03\0\0\0\xFF" "abc", 17);
  WriteFile(gBox + "app/d.tx_", szdd);
  WriteFile(gBox + "app/list.inf", input);
  ExpectLayerErrors([&] { RunUpdater({std::to_string(gEndedPid), "L", "null", "list.inf"}, {0}); });
  SetCurrentDir(gBox);
  CheckOutside("list");
}

void RunCabinet(const std::string& input) {
  Reset(gBox + "cab");
  WriteFile(gBox + "cab/in.cab", input);
  fs::create_directories(gBox + "cab/out");
  ExpectLayerErrors([&] { ExtractCabinet(gBox + "cab/in.cab", gBox + "cab/out/"); });
  for (const std::string& n : Tree(gBox + "cab"))
    if (n != "in.cab" && n.rfind("out", 0) != 0) Fault("cabinet: " + n + " was written outside the target");
  CheckOutside("cabinet");
}

void RunLz(const std::string& input) {
  Reset(gBox + "lz");
  WriteFile(gBox + "lz/x.tx_", input);
  ExpectLayerErrors([&] { ExpandLZFile(gBox + "lz/x.tx_"); });
  for (const std::string& n : Tree(gBox + "lz"))
    if (n != "x.tx_" && (n.rfind("x.tx", 0) != 0 || n.size() > 5)) Fault("lz: " + n + " appeared");
  CheckOutside("lz");
}

void RunVersion(const std::string& input) {
  FileVersionOfImage(input);
  const TVersionNumber v = TextToVersion(input.substr(0, 64));
  if (v.High != -1 && v.Low != -1 && TextToVersion(VersionToText(v)) != v)
    Fault("version: " + VersionToText(v) + " does not read back");
}

std::string Cabinet(const std::string& flags) {
  Reset(gBox + "seed");
  fs::create_directories(gBox + "seed/sub");
  WriteFile(gBox + "seed/one.txt", "one one one");
  WriteFile(gBox + "seed/sub/two.txt", std::string(300, 't'));
  const std::string command = "cd '" + gBox + "seed' && gcab -c " + flags + " s.cab one.txt sub/two.txt >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) return "MSCF";
  std::string data;
  if (FILE* f = std::fopen((gBox + "seed/s.cab").c_str(), "rb")) {
    char b[4096];
    for (size_t n; (n = std::fread(b, 1, sizeof b, f)) > 0;) data.append(b, n);
    std::fclose(f);
  }
  return data;
}

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/fuzz-webupdate-XXXXXX";
  if (!::mkdtemp(pattern)) return 2;
  gBox = std::string(pattern) + "/";
  for (const char* sub : {"tmp", "config", "outside", "app", "site"}) fs::create_directories(gBox + sub);
  ::setenv("TMPDIR", (gBox + "tmp").c_str(), 1);
  ::setenv("ZELVORA_CONFIG_HOME", (gBox + "config").c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  SetCurrentDir(gBox);
  // Every question is answered No, every dialog cancelled.
  SetDialogHandler([](const TDialogRequest&) { return TDialogAnswer{mrNo, "", false}; });
  SetModalFormHandler([](TCustomForm*) { return mrCancel; });
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  gEndedPid = static_cast<unsigned>(child);
  gProgramFolder = FindFiles(ProgramFolder(), "*");
  Site();
  const std::string site = gBox + "site/";
  const std::string files = "[files]\ncount=2\n[file1]\nurl=" + site + "a.bin\ntargetdir={APP}\\sub\nlocalversion=" +
                            "{APP}\\a.bin\nnewsize=5\n[file2]\nurl=" + site + "c.da_\ncompressed=1\ntargetdir=lz\n";
  std::vector<fuzzdriver::TTarget> targets;
  targets.push_back(
      {"control",
       {"[update]\nnewversion=2.0.0.0\nlocalversion={APP}\\a.bin\nunconditional=1\n" + files,
        "[update]\ndate=01/02/2030\ntime=10:00\n" + files,
        "[update]\nnewchecksum=12\nlocalversion=a.bin\n[application]\nappupdate=1\nappname=prog\nappcomps=a.bin\n"
        "[action]\nmsg=Hello\\nthere\nquery=Go on?\nrunbefore=/bin/true\nhtmldlg=http://127.0.0.1:1/\n" +
            files,
        "[update]\nunconditional=x\n[whatsnew]\nfile=" + site + "news.txt\ncaption=News\n[eula]\nfile=" + site +
            "news.txt\n" + files,
        "[update]\nsignature=x\nunconditional=1\n[files]\ncount=99999999\n[file1]\nurl=" + site +
            "a.bin\ntargetdir=..\\up\n"},
       RunControl,
       {"[update]", "[files]", "[file1]", "[file2]", "[application]", "[action]", "count=", "url=", "targetdir=",
        "{APP}", "{TMP}", "{PF}", "{WIN}", "..\\", "/etc/", "compressed=1", "newsize=", "newchecksum=",
        "newversion=", "localversion=", "date=", "time=", "unconditional=1", site, "appupdate=1", "\n"}});
  targets.push_back({"list",
                     {"[FILES]\nCOUNT=2\nFILE1=a.bin_new\nTARGET1=\nFILE2=d.tx_\nTARGET2={APP}sub\\\n",
                      "[FILES]\nCOUNT=1\nFILE1=list.inf\nTARGET1=\n", "[FILES]\nCOUNT=0\n"},
                     RunList,
                     {"[FILES]", "COUNT=", "FILE1=", "TARGET1=", "FILE2=", "TARGET2=", "_NEW", ".inf", ".cab",
                      ".exe", ".pat", "{APP}", "{TMP}", "{PF}", "..\\", "/etc/", "\n"}});
  targets.push_back({"cabinet", {Cabinet(""), Cabinet("-z")}, RunCabinet, {"..\\", "\\", "MSCF", "sub\\"}});
  targets.push_back({"lz",
                     {std::string("SZDD\x88\xF0\x27\x33" "At\x05\0\0\0\xFF" "hello", 19),
                      std::string("SZDD\x88\xF0\x27\x33" "At\x40\0\0\0\x00\x00\xF0\xF0\x0F", 19)},
                     RunLz,
                     {"\xFF", "\x00", "/", "\\"}});
  targets.push_back({"version", {"1.7.3.0", "3", "1,2,3,4", "MZ"}, RunVersion, {".", ",", "-", "65535", "x"}});
  const int result = fuzzdriver::Main(argc, argv, "fuzz-webupdate", targets);
  SetCurrentDir("/");
  std::error_code ec;
  fs::remove_all(gBox, ec);
  return result;
}
