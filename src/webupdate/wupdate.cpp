#include "webupdate/wupdate.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/process.h"
#include "platform/rtl/registry.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/sysinfo.h"
#include "platform/rtl/transfer.h"
#include "platform/ui/forms.h"
#include "platform/ui/shell.h"
#include "webupdate/cabfdi.h"
#include "webupdate/wucrc32.h"
#include "webupdate/wudialogs.h"

ZV_CLASS_IMPL_NOPROPS(TLastURLEntry, TPersistent)
ZV_CLASS_IMPL_NOPROPS(TPostUpdateInfo, TPersistent)
ZV_CLASS_IMPL_NOPROPS(TNetUpdateUtility, TComponent)
ZV_CLASS_IMPL_NOPROPS(TFileDescription, TCollectionItem)
ZV_CLASS_IMPL_NOPROPS(TFileList, TCollection)
ZV_CLASS_IMPL_NOPROPS(TNetUpdate, TComponent)

void TLastURLEntry::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TLastURLEntry*>(Source)) {
    Save = s->Save;
    Key = s->Key;
    Section = s->Section;
    RegRoot = s->RegRoot;
    return;
  }
  TPersistent::Assign(Source);
}

void TPostUpdateInfo::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TPostUpdateInfo*>(Source)) {
    Server = s->Server;
    Action = s->Action;
    Data = s->Data;
    Enabled = s->Enabled;
    return;
  }
  TPersistent::Assign(Source);
}

std::string NetUpdateStatusText(int code) {
  static const std::map<int, const char*> texts = {
      {909, "Download update file : "},
      {910, "Download update files ?"},
      {911, "Shutdown application to update executable files ?"},
      {912, "Equal source and target files : %s"},
      {913, "File not found : %s"},
      {914, "Zero length source file : %s"},
      {915, "Download : %s"},
      {916, "Http status : %s"},
      {917, "File not found : %s"},
      {918, "Checking for Internet connection"},
      {919, "Prompt to open new Internet connection"},
      {920, "Opening Internet connection"},
      {921, "Found open Internet connection"},
      {922, "Cannot open Internet connection"},
      {923, "Connect to host : %s"},
      {925, "Update control file not found"},
      {926, "Update control file found"},
      {927, "Invalid signature in update control file"},
      {928, "Date based update found"},
      {929, "New version found : %s"},
      {930, "No new version found"},
      {931, "Checksum based update found"},
      {932, "File size based update found"},
      {933, "Version based update found"},
      {934, "Found message instruction"},
      {935, "Found HTML dialog instruction"},
      {936, "Found query instruction"},
      {937, "Found whatsnew instruction"},
      {938, "Whatsnew not accepted"},
      {939, "Found license agreement instruction"},
      {941, "Found URL redirection instruction"},
      {942, "Found URL show instruction"},
      {943, "Found file update instruction"},
      {944, "Version check : %s"},
      {946, "Cannot download update file : %s"},
      {947, "Error decompressing CAB file : %s"},
      {948, "Finished processing update control file"},
      {949, "Closed Internet connection"},
      {950, "Failed to spawn updater process : %s"},
      {951, "Cannot connect to server for post"},
      {952, "Cannot access resource for post"},
      {953, "Dialup failed"},
      {954, "Closed FTP connection"},
      {955, "Disconnect dialup"},
      {956, "Authentication cancelled"},
      {958, "Spawn %s"},
      {959, "Restart app in directory : %s"},
      {962, "Found application component : %s"},
  };
  const auto it = texts.find(code);
  return it == texts.end() ? std::string() : std::string(it->second);
}

namespace {

std::string& ProcessLogFileName() {
  static std::string name = "WUPDATE.LOG";
  return name;
}

std::string QuoteIfBlank(const std::string& s) {
  return s.find(' ') == std::string::npos ? s : "\"" + s + "\"";
}

// "\n" (backslash, n) in a control-file text is a line break.
std::string LineBreaks(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool IsWebURL(const std::string& url) {
  const std::string u = LowerCase(url);
  return u.rfind("http://", 0) == 0 || u.rfind("https://", 0) == 0;
}

// Dates kept in the registry: "yyyy-mm-dd" and "hh:nn:ss", which read the
// same in every locale; texts written in the user's own format are still read.
bool ReadStoredDate(const std::string& s, TDateTime& value) {
  int y, m, d;
  char tail;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) == 3 && s.size() == 10)
    return TryEncodeDate(y, m, d, value);
  return TryStrToDate(s, value);
}

bool ReadStoredTime(const std::string& s, TDateTime& value) {
  int h, n, sec;
  char tail;
  if (std::sscanf(s.c_str(), "%2d:%2d:%2d%c", &h, &n, &sec, &tail) == 3 && s.size() == 8)
    return TryEncodeTime(h, n, sec, 0, value);
  return TryStrToTime(s, value);
}

}  // namespace

TNetUpdate::TNetUpdate(TComponent* AOwner)
    : TComponent(AOwner),
      FLastURLEntry(std::make_unique<TLastURLEntry>()),
      FPostUpdateInfo(std::make_unique<TPostUpdateInfo>()),
      FFileList(std::make_unique<TFileList>()) {}

TNetUpdate::~TNetUpdate() {
  if (FUtility) FUtility->RemoveFreeNotification(this);
  if (!FControlPath.empty()) DeleteFile(FControlPath);
}

std::string TNetUpdate::LogFileName() const { return ProcessLogFileName(); }
void TNetUpdate::SetLogFileName(const std::string& v) { ProcessLogFileName() = v; }

void TNetUpdate::SetUtility(TNetUpdateUtility* v) {
  if (FUtility == v) return;
  if (FUtility) FUtility->RemoveFreeNotification(this);
  FUtility = v;
  if (FUtility) FUtility->FreeNotification(this);
}

void TNetUpdate::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FUtility) FUtility = nullptr;
}

// ---- Status and log ---------------------------------------------------------

void TNetUpdate::LogLine(const std::string& Text) {
  FILE* f = std::fopen(LocalPath(ProcessLogFileName()).c_str(), "a");
  if (!f) return;
  const std::string line = FormatDateTime("dd/mm/yyyy hh:nn:ss", Now()) + " : " + Text + "\n";
  std::fwrite(line.data(), 1, line.size(), f);
  std::fclose(f);
}

void TNetUpdate::ReportStatus(int Code, const std::string& Arg, int StatusCode, int ErrCode) {
  std::string text = NetUpdateStatusText(Code);
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, Arg);
  if (Logging)
    LogLine("[" + std::to_string(Code) + "] " + text + " (Status:" + std::to_string(StatusCode) +
            ") (Error:" + std::to_string(ErrCode) + ")");
  if (OnStatus) OnStatus(this, text, StatusCode, ErrCode);
}

void TNetUpdate::ReportInternetError(const std::string& Text, int Code) {
  if (Code == 0) return;
  if (OnStatus)
    OnStatus(this, Text, 1, Code);
  else
    MessageDlg(Text, mtError, {mbOK});
}

bool TNetUpdate::AskYes(const std::string& Text) {
  return MessageDlg(Text, mtConfirmation, {mbYes, mbNo}) == mrYes;
}

void TNetUpdate::CheckCancel(bool& Cancel) {
  if (OnProgressCancel) OnProgressCancel(this, Cancel);
  if (Cancel) ReportStatus(964, "", 0, 0);
}

void TNetUpdate::NotifyFileDownloaded(const std::string& FileName) {
  if (OnFileDownloaded) OnFileDownloaded(this, FileName);
}

// ---- Prefixes ---------------------------------------------------------------

std::string TNetUpdate::PrefixFolder(const std::string& Name) {
  std::string folder;
  if (Name == "APP")
    folder = GetCurrentDir();
  else if (Name == "TMP")
    folder = TempFolder();
  else if (Name == "PF")
    folder = InstallationPrefix();
  else
    return std::string();  // WIN, SYS and unknown names: no folder here
  // A folder ends without its separator, so "{APP}\sub" reads as one path;
  // the root keeps one and gets a point.
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder == "/") folder = "/.";
  return folder;
}

std::string TNetUpdate::ConvertPrefix(const std::string& Text) {
  std::string s = Text;
  if (OnConvertPrefix) OnConvertPrefix(this, s);
  return ExpandPrefixes(s, [this](const std::string& name) { return PrefixFolder(name); });
}

// ---- Dates ------------------------------------------------------------------

TDateTime TNetUpdate::ControlDate(const std::string& DateText, const std::string& TimeText) const {
  TDateTime value = EncodeDate(1980, 1, 1);
  TFormatSettings settings = FormatSettings;
  settings.ShortDateFormat = DateFormat;
  settings.DateSeparator = DateSeparator;
  settings.ShortTimeFormat = TimeFormat;
  settings.LongTimeFormat = TimeFormat;
  settings.TimeSeparator = TimeSeparator;
  TDateTime date, time;
  if (TryStrToDate(DateText, date, settings)) value = date;
  if (!TimeText.empty() && TryStrToTime(TimeText, time, settings)) value += time;
  return value;
}

namespace {

bool HasPlace(const TLastURLEntry& e) { return !e.Key.empty() && !e.Section.empty(); }

std::unique_ptr<TRegIniFile> OpenPlace(const TLastURLEntry& e) {
  auto reg = std::make_unique<TRegIniFile>(e.Key);
  if (e.RegRoot == lurLOCALMACHINE) {
    reg->SetRootKey(HKEY_LOCAL_MACHINE);
    reg->OpenKey(e.Key, true);
  }
  return reg;
}

}  // namespace

TDateTime TNetUpdate::ReadLastUpdateDate() {
  TDateTime value = EncodeDate(1980, 1, 1);
  if (HasPlace(*FLastURLEntry)) {
    auto reg = OpenPlace(*FLastURLEntry);
    TDateTime date, time;
    if (ReadStoredDate(reg->ReadString(FLastURLEntry->Section, "LastDate", ""), date)) {
      value = date;
      if (ReadStoredTime(reg->ReadString(FLastURLEntry->Section, "LastTime", ""), time)) value += time;
    }
    FStoreDate = true;
  } else {
    const std::string local = LocalPath(FLocalDateFile);
    if (!local.empty() && FileExists(local)) value = FileAge(local);
  }
  return value;
}

void TNetUpdate::StoreLastUpdateDate(TDateTime Value) {
  if (!HasPlace(*FLastURLEntry) || !FLastURLEntry->Save) return;
  auto reg = OpenPlace(*FLastURLEntry);
  reg->WriteString(FLastURLEntry->Section, "LastDate", FormatDateTime("yyyy\"-\"mm\"-\"dd", Value));
  int h, n, s, ms;
  DecodeTime(Value, h, n, s, ms);
  if (h != 0 || n != 0 || s != 0)
    reg->WriteString(FLastURLEntry->Section, "LastTime", FormatDateTime("hh\":\"nn\":\"ss", Value));
}

// ---- The control file -------------------------------------------------------

std::string TNetUpdate::ReadControl(const std::string& Section, const std::string& Key, const std::string& Default) {
  return FControl ? FControl->ReadString(Section, Key, Default) : Default;
}

int TNetUpdate::ReadControlInt(const std::string& Section, const std::string& Key, int Default) {
  return FControl ? FControl->ReadInteger(Section, Key, Default) : Default;
}

std::string TNetUpdate::ControlFileURL() {
  std::string url;
  if (HasPlace(*FLastURLEntry) && FLastURLEntry->Save)
    url = OpenPlace(*FLastURLEntry)->ReadString(FLastURLEntry->Section, "LastURL", "");
  if (url.empty()) url = URL;
  return ConvertPrefix(url);
}

int TNetUpdate::FetchControlFile() {
  std::string local;
  const std::string folder = UpdateType == fileUpdate || TempDirectory.empty() ? WorkFolder() : TempDirectory;
  if (!DownloadToTempFile(ControlFileURL(), local, folder, MaxTextBytes)) {
    ReportStatus(925, "", 2, 0);
    return 4;
  }
  ReportStatus(926, "", 3, 0);
  FControlPath = local;
  FControl = std::make_unique<TMemIniFile>(LocalPath(local));
  int result = 0;
  if (SignatureCheck && ReadControl("update", "signature") != Signature) {
    ReportStatus(927, "", 11, 4);
    result = 5;
  }
  FAppUpdate = ReadControlInt("application", "appupdate", 0) == 1;
  FAppName = ConvertPrefix(ReadControl("application", "appname"));
  if (FAppName.empty()) FAppUpdate = false;
  FAppParams = ReadControl("application", "appparam");
  if (OnSetAppParams) OnSetAppParams(this, FAppParams);
  FAppCommand = FAppName;
  if (!FAppParams.empty()) FAppCommand = QuoteIfBlank(FAppName) + " " + QuoteIfBlank(FAppParams);
  FAppComps = ConvertPrefix(ReadControl("application", "appcomps"));
  FSilentRestart = ReadControlInt("application", "silentrestart", 0) == 1;
  return result;
}

bool TNetUpdate::FileNeedsUpdate(std::string& NewVersion, std::string& LocalFile, int32_t NewSize,
                                 int32_t NewCheckSum) {
  if (NewVersion.empty() && NewSize == 0 && NewCheckSum == -1) return true;
  const std::string local = LocalPath(LocalFile);
  if (LocalFile.empty() && VersionCheck == vcUpdateOnly) return true;
  if (!FileExists(local) && VersionCheck == vcAlways) return true;
  bool result = false;
  if (NewCheckSum != -1) {
    const int32_t sum = UseCRC32 ? FileCRC32(local) : ByteSumChecksum(local);
    result = sum != NewCheckSum;
    ReportStatus(944,
                 "Checksum compare of " + LocalFile + ":" + std::to_string(sum) + ":" + std::to_string(NewCheckSum),
                 3, 0);
  } else if (NewSize <= 0) {
    const TVersionNumber have = GetFileVersion(local);
    const TVersionNumber want = TextToVersion(NewVersion);
    ReportStatus(944,
                 "Version compare of " + LocalFile + ":" + VersionToText(have) + " with " + NewVersion + ":" +
                     VersionToText(want),
                 3, 0);
    if (want.High != -1 && want.Low != -1 && ((have.High != -1 && have.Low != -1) || VersionCheck == vcAlways)) {
      LocalFile = VersionToText(have);
      NewVersion = VersionToText(want);
      result = have.High < want.High || (have.High == want.High && have.Low < want.Low);
    }
  } else {
    const int32_t size = GetFileSizeOf(local);
    result = !(size == NewSize || (size <= 0 && VersionCheck != vcAlways));
  }
  return result;
}

bool TNetUpdate::CheckForNewVersion() {
  enum { nothing, newer, unconditional } outcome = nothing;
  FDescr = ReadControl("update", "descr");
  const std::string date = ReadControl("update", "date");
  if (!date.empty()) {
    ReportStatus(928, "", 3, 0);
    FControlDate = ControlDate(date, ReadControl("update", "time"));
    FLocalDateFile = ConvertPrefix(ReadControl("update", "localversion"));
    if (ReadLastUpdateDate() >= FControlDate) {
      ReportStatus(930, "", 4, 0);
    } else {
      ReportStatus(929, DateToStr(FControlDate), 5, 0);
      outcome = newer;
    }
  }
  if (!ReadControl("update", "unconditional").empty() && outcome == nothing) outcome = unconditional;
  if (outcome == nothing) {
    std::string newVersion = ReadControl("update", "newversion");
    const int newSize = ReadControlInt("update", "newsize", 0);
    std::string localVersion = ConvertPrefix(ReadControl("update", "localversion"));
    const int newCheckSum = ReadControlInt("update", "newchecksum", -1);
    if ((!newVersion.empty() || newSize > 0 || newCheckSum != -1) && !localVersion.empty()) {
      if (newCheckSum != -1)
        ReportStatus(931, "", 3, 0);
      else if (newSize < 1)
        ReportStatus(933, "", 3, 0);
      else
        ReportStatus(932, "", 3, 0);
      if (FileNeedsUpdate(newVersion, localVersion, newSize, newCheckSum)) {
        ReportStatus(929, newVersion, 5, 0);
        outcome = newer;
      } else {
        ReportStatus(930, "", 4, 0);
      }
    }
  }
  if (OnCustomValidate) {
    bool allow = outcome != nothing;
    OnCustomValidate(this, ReadControl("custom", "validatemsg"), ReadControl("custom", "validateparam"), allow);
    outcome = allow ? newer : nothing;
  }
  return outcome != nothing;
}

void TNetUpdate::RunCommand(const std::string& Command) {
  // A command from the update site runs only when the user saw it and agreed.
  if (!AskYes("The update wants to run this command:\n" + Command + "\nRun it?")) return;
  int error = 0;
  StartProcess(SplitCommandLine(Command), std::string(), error);
}

bool TNetUpdate::StartProcess(const std::vector<std::string>& Args, const std::string& Folder, int& Error) {
  return CreateProcessArgs(Args, NORMAL_PRIORITY_CLASS | CREATE_NEW_CONSOLE, Folder, TStartupInfo{}, Error) !=
         nullptr;
}

int TNetUpdate::RunControlActions() {
  const std::string msg = LineBreaks(ReadControl("action", "msg"));
  if (!msg.empty()) {
    ReportStatus(934, "", 3, 0);
    MessageDlg(msg, mtInformation, {mbOK});
  }
  const std::string html = ConvertPrefix(ReadControl("action", "htmldlg"));
  if (!html.empty()) {
    ReportStatus(935, "", 7, 0);
    ShowHTMLMessage(html);
  }
  const std::string before = ConvertPrefix(ReadControl("action", "runbefore"));
  if (!before.empty()) RunCommand(before);
  if (OnCustomProcess) OnCustomProcess(this, ReadControl("custom", "processmsg"), ReadControl("custom", "processparam"));
  const std::string show = ConvertPrefix(ReadControl("action", "showURL"));
  if (!show.empty()) {
    ReportStatus(942, "", 3, 0);
    if (IsWebURL(show)) OpenURL(AddProxyLogin(show));
  }
  const std::string query = LineBreaks(ReadControl("action", "query"));
  if (!query.empty()) {
    ReportStatus(936, "", 3, 0);
    if (!AskYes(query)) {
      FAppUpdate = false;
      return 1;
    }
  }
  return 0;
}

TStringList* TNetUpdate::FetchText(const std::string& Section, int Code) {
  const std::string file = ReadControl(Section + LanguageID, "file");
  if (file.empty()) return nullptr;
  ReportStatus(Code, "", Code == 937 ? 12 : 13, 0);
  return DownloadTextLines(file);
}

TStringList* TNetUpdate::FetchWhatsNewText() { return FetchText("whatsnew", 937); }
TStringList* TNetUpdate::FetchLicenceText() { return FetchText("eula", 939); }

int TNetUpdate::ShowWhatsNewText(TStrings* Text) {
  if (OnDownloadedWhatsNew) {
    int res = 1;
    OnDownloadedWhatsNew(this, Text, res);
    return res;
  }
  const int result = ShowWhatsNewDialog(ReadControl("whatsnew", "caption"), ReadControl("whatsnew", "okbtn", "Ok"),
                                        ReadControl("whatsnew", "cancelbtn", "Cancel"), *Text);
  if (result != mrOk) {
    ReportStatus(938, "", 14, 0);
    return 0;
  }
  return 1;
}

int TNetUpdate::ShowLicenceText(TStrings* Text) {
  if (OnDownloadedEULA) {
    int res = 1;
    OnDownloadedEULA(this, Text, res);
    return res;
  }
  return ShowLicenceDialog(ReadControl("eula", "caption"), ReadControl("eula", "okbtn", "Ok"),
                           ReadControl("eula", "accept", "I accept"),
                           ReadControl("eula", "notaccept", "I do not accept"), *Text)
             ? 1
             : 0;
}

int TNetUpdate::ReadFileList() {
  FFileList->Clear();
  FFileList->ActiveIndex = -1;
  int count = ReadControlInt("files", "count", 0);
  if (count <= 0) return count;
  // Each file has a section of its own: a count beyond the sections there
  // are is damage, not a list.
  TStringList sections;
  FControl->ReadSections(sections);
  count = std::min(count, sections.Count());
  ReportStatus(943, "", 3, 0);
  for (int n = 1; n <= count; ++n) {
    const std::string s = "file" + std::to_string(n);
    TFileDescription* f = FFileList->Add();
    f->URL = ConvertPrefix(ReadControl(s, "url"));
    f->LocalVersion = ConvertPrefix(ReadControl(s, "localversion"));
    f->NewVersion = ReadControl(s, "newversion");
    f->NewSize = ReadControlInt(s, "newsize", 0);
    f->NewCheckSum = ReadControlInt(s, "newchecksum", -1);
    f->NewCustomVer = ReadControl(s, "customversion");
    f->NewDate = ReadControl(s, "date");
    f->NewTime = ReadControl(s, "time");
    f->Description = ReadControl(s, "descr");
    f->TargetDir = ConvertPrefix(ReadControl(s, "targetdir"));
    if (!f->TargetDir.empty() && f->TargetDir.back() != '\\' && f->TargetDir.back() != '/') f->TargetDir += '\\';
    f->Compressed = ReadControlInt(s, "compressed", 0) == 1;
    f->FileSize = ReadControlInt(s, "filesize", 0);
    f->Mandatory = ReadControlInt(s, "mandatory", 0) == 1;
    f->Hidden = ReadControlInt(s, "hidden", 0) == 1;
  }
  return count;
}

bool TNetUpdate::FilterFileList() {
  int i = 0;
  while (i < FFileList->Count()) {
    TFileDescription* f = FFileList->Item(i);
    bool remove = false;
    if (!f->LocalVersion.empty() && !f->NewDate.empty()) {
      const TDateTime date = ControlDate(f->NewDate, f->NewTime);
      const std::string local = LocalPath(f->LocalVersion);
      remove = FileExists(local) && FileAge(local) >= date;
    } else {
      std::string newVersion = f->NewVersion, localVersion = f->LocalVersion;
      if (!FileNeedsUpdate(newVersion, localVersion, f->NewSize, f->NewCheckSum)) {
        remove = true;
      } else if (OnFileVersionCheck && !f->NewCustomVer.empty()) {
        bool isNew = true;
        OnFileVersionCheck(this, f->NewCustomVer, f->LocalVersion, isNew);
        remove = !isNew;
      }
    }
    if (remove)
      FFileList->Delete(i);
    else
      ++i;
  }
  if (OnGetFileList) {
    TStringList list;
    for (int k = 0; k < FFileList->Count(); ++k) list.Add(FFileList->Item(k)->Description);
    OnGetFileList(this, &list);
    for (int k = FFileList->Count() - 1; k >= 0; --k)
      if (k >= list.Count() || list.Strings(k).empty()) FFileList->Delete(k);
  }
  return FFileList->Count() > 0;
}

void TNetUpdate::DownloadFileList() {
  TNetUpdateUpdate mode = UpdateUpdate;
  for (int i = 0; i < FFileList->Count(); ++i) {
    TFileDescription* f = FFileList->Item(i);
    if (mode == wuuPromptAll) {
      if (!AskYes(NetUpdateStatusText(909) + FileNameFromURL(f->URL))) continue;
    } else if (mode == wuuPromptOnce) {
      if (!AskYes(NetUpdateStatusText(910))) break;
    }
    FFileList->ActiveIndex = i;
    std::string url = f->URL;
    if (OnBeforeFileDownload) OnBeforeFileDownload(this, i + 1, f->Description, url);
    const std::string name = FileNameFromURL(url);
    // A file goes only where an update may write.
    const bool safe = IsSafeTarget(f->TargetDir) && IsSafeName(name);
    if (safe && !f->TargetDir.empty() && !DirectoryExists(LocalPath(f->TargetDir))) ForceFolderPath(f->TargetDir);
    if (safe && DownloadFile(url, f->Compressed, f->TargetDir, f)) {
      const bool component = TextInList(name, FAppComps);
      if (component) {
        FAppComponent = true;
        ReportStatus(962, name, 0, 0);
      }
      const std::string cab = f->TargetDir + name;
      if (!component && ExtractCAB && SameFileExt(ExtractFileExt(name), ".CAB") && FileExists(LocalPath(cab))) {
        if (ExtractCabinet(LocalPath(cab), LocalPath(f->TargetDir)) != 0)
          ReportStatus(947, cab, 8, 0);
        else if (!KeepIntermediateFiles)
          DeleteFile(LocalPath(cab));
      }
    } else {
      ReportStatus(946, url, 2, 0);
      FAppUpdate = false;
      FDownloadFailed = true;
    }
    if (mode == wuuPromptOnce) mode = wuuSilent;
  }
}

void TNetUpdate::FinishControlFile() {
  if (FCancelled) return;
  if (FPostUpdateInfo->Enabled) {
    bool allow = true;
    if (OnBeforePost) OnBeforePost(this, allow);
    if (allow) SendPostInfo();
    bool allowResult = true;
    if (OnProcessPostResult) OnProcessPostResult(this, allowResult);
    if (!allowResult) return;
  }
  if (FStoreDate) StoreLastUpdateDate(FControlDate);
  const std::string next = ReadControl("action", "updateURL");
  if (!next.empty()) {
    ReportStatus(941, "", 3, 0);
    if (HasPlace(*FLastURLEntry) && FLastURLEntry->Save)
      OpenPlace(*FLastURLEntry)->WriteString(FLastURLEntry->Section, "LastURL", next);
  }
  if (FUtility && ApplyPatch) WritePatcherProgram();
  const std::string after = ConvertPrefix(ReadControl("action", "runafter"));
  if (!after.empty()) RunCommand(after);
  ReportStatus(948, "", 3, 0);
}

// ---- Restart ----------------------------------------------------------------

std::string TNetUpdate::WriteUpdaterProgram() {
  FUpdaterError = 0;
  const std::string source = ProgramFolder() + "zelvora-upd";
  // A fresh folder of this user's, so no one else can put a program there.
  std::string pattern = TempFolder() + "zelvora-upd-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!::mkdtemp(buffer.data())) {
    FUpdaterError = errno;
    return std::string();
  }
  const std::string target = std::string(buffer.data()) + "/zelvora-upd";
  if (!FileExists(source) || !CopyFile(source, target, true)) {
    FUpdaterError = FileExists(source) ? EIO : ENOENT;
    RemoveDir(buffer.data());
    return std::string();
  }
  ::chmod(target.c_str(), 0700);
  return target;
}

void TNetUpdate::StartUpdater() {
  const std::string folder = GetCurrentDir();
  ReportStatus(959, folder, 0, 0);
  bool cancel = false;
  CheckCancel(cancel);
  if (cancel) return;
  bool allow = true;
  if (OnAppRestart)
    OnAppRestart(this, allow);
  else if (!FSilentRestart)
    allow = AskYes(NetUpdateStatusText(911));
  if (!allow) return;
  const std::string updater = WriteUpdaterProgram();
  std::string restart = QuoteIfBlank(IncludeTrailingPathDelimiter(folder) + FAppName);
  if (!FAppParams.empty()) restart += " " + QuoteIfBlank(FAppParams);
  std::vector<std::string> args = {updater.empty() ? ProgramFolder() + "zelvora-upd" : updater,
                                   std::to_string(GetCurrentProcessId()), Logging ? "L" : "X", restart};
  for (const std::string& c : SplitCommandLine(FAppComps)) args.push_back(c);
  std::string shown;
  for (const std::string& a : args) shown += (shown.empty() ? "" : " ") + QuoteIfBlank(a);
  ReportStatus(958, shown, 0, 0);
  int error = FUpdaterError;
  if (updater.empty() || !StartProcess(args, folder, error)) {
    // The program stays as it is, whole, rather than quitting half updated.
    if (error == 0) error = ENOENT;
    ReportStatus(950, SystemErrorText(error), 9, error);
    return;
  }
  if (OnAppDoClose)
    OnAppDoClose(this);
  else
    Application->Terminate();
}

// ---- The run ----------------------------------------------------------------

void TNetUpdate::RunUpdate() {
  // A window served during a transfer cannot start a second run.
  if (FRunning) return;
  FRunning = true;
  struct TRunGuard {
    bool& Flag;
    ~TRunGuard() { Flag = false; }
  } guard{FRunning};
  FAppComponent = false;
  FFtpFolderSet = false;
  FControlPath.clear();
  FCancelled = false;
  FDownloadFailed = false;
  ReportStatus(963, Version(), 0, 0);
  if (OpenInternet() != 0) return;
  bool connected = UpdateType == fileUpdate || FInternet;
  if (UpdateType == ftpUpdate && FInternet && ConnectFtpHost() != 0) connected = false;
  if (connected && FetchControlFile() == 0) {
    if (!CheckForNewVersion()) {
      FAppUpdate = false;
    } else if (RunControlActions() != 0) {
      FAppUpdate = false;
    } else {
      bool refused = false;
      if (std::unique_ptr<TStringList> text{FetchWhatsNewText()}) refused = ShowWhatsNewText(text.get()) != 1;
      if (std::unique_ptr<TStringList> text{FetchLicenceText()}; text && !refused)
        refused = ShowLicenceText(text.get()) != 1;
      if (!refused && ReadFileList() > 0) {
        const bool remain = FilterFileList();
        if (remain) {
          DownloadFileList();
          FinishControlFile();
        }
        CloseInternet();
        // Success means every file that was fetched arrived whole.
        if (remain && !FCancelled && !FDownloadFailed && OnSuccess) OnSuccess(this);
        if (RestartNeeded()) StartUpdater();
        return;
      }
      FAppUpdate = false;
    }
  }
  CloseInternet();
}

int TNetUpdate::OpenInternet() {
  FInternet = false;
  FFtp.reset();
  if (UpdateType == fileUpdate) return 0;
  ReportStatus(918, "", 3, 0);
  if (UpdateConnect == wucNone) return 0;
  // The system keeps its own connections: there is always one to use, so
  // nothing is dialled.
  ReportStatus(921, "", 3, 0);
  FInternet = true;
  return 0;
}

int TNetUpdate::ConnectFtpHost() {
  FFtpFolderSet = false;
  ReportStatus(923, Host, 3, 0);
  const bool login = !UserID.empty() && !Password.empty();
  FFtp = std::make_unique<TFtpSession>(Host, Port, login ? UserID : "", login ? Password : "", FTPPassive);
  if (!FFtp->Connect()) {
    ReportInternetError(FFtp->ErrorText, FFtp->ErrorCode ? FFtp->ErrorCode : -1);
    FFtp.reset();
    return -1;
  }
  return 0;
}

int TNetUpdate::CloseInternet() {
  if (UpdateType != fileUpdate) {
    if (FFtp) {
      FFtp.reset();
      ReportStatus(954, "", 3, 0);
    }
    if (FInternet) {
      FInternet = false;
      ReportStatus(949, "", 3, 0);
    }
    ReportStatus(949, "", 3, 0);
  }
  FControl.reset();
  if (!FControlPath.empty()) DeleteFile(LocalPath(FControlPath));
  FControlPath.clear();
  return 0;
}
