// TNetUpdate: brings the installed program up to date from an update site.
// RunUpdate fetches the update control file (an INI file) over HTTP, FTP or
// from a folder, decides whether there is something newer, shows the
// messages, what's-new and licence texts the file names, downloads the
// files it lists that are not current (checked, and unpacked when they are
// cabinets or LZ files), runs its closing actions and, when the program's own
// files were replaced, starts the updater program and ends the program.
// Every step is a numbered status through OnStatus (and the log file).
//
// Run on the window thread: transfers let the windows work between blocks.
// A second RunUpdate while one runs (from a window served meanwhile) is
// refused.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/datetime.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/classes.h"
#include "webupdate/wufiles.h"

class TMemIniFile;
class TFtpSession;
class TTransfer;

enum TNetUpdateType { ftpUpdate, httpUpdate, fileUpdate };
enum TNetUpdateConnect {
  wucNoConnect,
  wucConnectPrompt,
  wucConnectSilent,
  wucConnectPromptHangup,
  wucConnectSilentHangup,
  wucNone
};
enum TNetUpdateUpdate { wuuPromptOnce, wuuPromptAll, wuuSilent };
enum TNetUpdateVersionCheck { vcUpdateOnly, vcAlways };
enum TNetUpdateAuthentication { waAlways, waAuto, waNever };
enum TLastURLReg { lurLOCALUSER, lurLOCALMACHINE };

// The status texts, by number (empty for a number without one).
std::string NetUpdateStatusText(int code);

// Where the last control-file URL and the last update date are kept.
class TLastURLEntry : public TPersistent {
  ZV_CLASS(TLastURLEntry)
public:
  bool Save = false;
  std::string Key;
  std::string Section;
  TLastURLReg RegRoot = lurLOCALUSER;
  void Assign(TPersistent* Source) override;
};

// Form data posted to a server after a successful update.
class TPostUpdateInfo : public TPersistent {
  ZV_CLASS(TPostUpdateInfo)
public:
  std::string Server;
  std::string Action;
  std::string Data;
  bool Enabled = false;
  std::string PostResult;  // the server's reply
  void Assign(TPersistent* Source) override;
};

// Settings of the patcher window.
class TNetUpdateUtility : public TComponent {
  ZV_CLASS(TNetUpdateUtility)
public:
  explicit TNetUpdateUtility(TComponent* AOwner) : TComponent(AOwner) {}
  bool ShowWindow = true;
  bool ShowAnimation = false;
  std::string StatusMessage;
  std::string StatusCaption;
};

// One file of the control file's list.
class TFileDescription : public TCollectionItem {
  ZV_CLASS(TFileDescription)
public:
  explicit TFileDescription(TCollection* Collection) : TCollectionItem(Collection) {}
  bool Compressed = false;
  int32_t NewCheckSum = -1;
  int32_t NewSize = 0;
  std::string URL, TargetDir, LocalVersion, NewVersion, Description, NewCustomVer, NewDate, NewTime;
  int32_t FileSize = 0;
  bool Mandatory = false, Hidden = false, Selected = false;
};

class TFileList : public TCollection {
  ZV_CLASS(TFileList)
public:
  TFileList() : TCollection(&TFileDescription::StaticClass()) {}
  virtual TClass FileItemClass() const { return &TFileDescription::StaticClass(); }
  TFileDescription* Add() { return static_cast<TFileDescription*>(TCollection::Add()); }
  TFileDescription* Item(int Index) const { return static_cast<TFileDescription*>(Items(Index)); }
  int ActiveIndex = -1;
};

using TNetUpdateStatusEvent = std::function<void(TObject* Sender, const std::string& StatusStr, int StatusCode,
                                                 int ErrCode)>;
using TNetUpdateProgressEvent = std::function<void(TObject* Sender, const std::string& FileName, int Pos, int Size)>;
using TNetUpdateCancelEvent = std::function<void(TObject* Sender, bool& Cancel)>;
using TNetUpdateFileEvent = std::function<void(TObject* Sender, const std::string& FileName)>;
using TNetUpdateFileNameEvent = std::function<void(TObject* Sender, const std::string& URL, std::string& FName)>;
using TNetUpdateTextEvent = std::function<void(TObject* Sender, std::string& Text)>;
using TNetUpdateValidateEvent =
    std::function<void(TObject* Sender, const std::string& Msg, const std::string& Param, bool& Allow)>;
using TNetUpdateProcessEvent = std::function<void(TObject* Sender, const std::string& Msg, const std::string& Param)>;
using TNetUpdateDownloadedTextEvent = std::function<void(TObject* Sender, TStrings* Text, int& Res)>;
using TNetUpdateFileListEvent = std::function<void(TObject* Sender, TStringList* List)>;
using TNetUpdateVersionEvent = std::function<void(TObject* Sender, const std::string& NewVersion,
                                                  const std::string& LocalVersion, bool& IsNew)>;
using TNetUpdateBeforeDownloadEvent =
    std::function<void(TObject* Sender, int FileIdx, const std::string& FileDescription, std::string& URL)>;
using TNetUpdateAllowEvent = std::function<void(TObject* Sender, bool& Allow)>;

class TNetUpdate : public TComponent {
  ZV_CLASS(TNetUpdate)
public:
  explicit TNetUpdate(TComponent* AOwner);
  ~TNetUpdate() override;

  // ---- Settings
  std::string Agent = "TNetUpdate";
  bool ApplyPatch = false;  // patch files are not supported: never applied
  TNetUpdateAuthentication Authenticate = waNever;
  std::string DateFormat = "dd/mm/yyyy";
  char DateSeparator = '/';
  bool ExtractCAB = false;
  bool ExistingConnection = false;
  std::string FTPDirectory;
  bool FTPPassive = false;
  std::string Host;
  bool HTTPKeepAliveAuthentication = false;
  bool KeepIntermediateFiles = false;
  std::string LanguageID;
  bool Logging = false;
  std::string Password;
  int Port = 21;
  std::string Proxy;
  std::string ProxyUserID, ProxyPassword;
  std::string Signature = "NetUpdate";
  bool SignatureCheck = false;
  // Folder of the control file while a run reads it; empty: this process's
  // own work folder.
  std::string TempDirectory = ".";
  std::string TimeFormat = "hh:nn";
  char TimeSeparator = ':';
  TNetUpdateType UpdateType = ftpUpdate;
  TNetUpdateConnect UpdateConnect = wucNoConnect;
  TNetUpdateUpdate UpdateUpdate = wuuPromptOnce;
  std::string URL;
  std::string UserID;
  bool UseCRC32 = false;
  TNetUpdateVersionCheck VersionCheck = vcUpdateOnly;

  // The one log file of the process; setting it on any instance sets it for all.
  std::string LogFileName() const;
  void SetLogFileName(const std::string& v);
  TLastURLEntry* LastURLEntry() const { return FLastURLEntry.get(); }
  TPostUpdateInfo* PostUpdateInfo() const { return FPostUpdateInfo.get(); }
  TNetUpdateUtility* Utility() const { return FUtility; }
  void SetUtility(TNetUpdateUtility* v);
  TFileList* FileList() const { return FFileList.get(); }
  // The component's own version; read only.
  std::string Version() const { return "1.7.3.0"; }
  void SetVersion(const std::string&) {}

  // ---- Events
  TNetUpdateStatusEvent OnStatus;
  TNetUpdateProgressEvent OnFileProgress;
  TNetUpdateCancelEvent OnProgressCancel;
  TNetUpdateFileEvent OnFileDownloaded;
  TNetUpdateFileNameEvent OnFileNameFromURL;
  TNetUpdateTextEvent OnConvertPrefix;
  TNetUpdateTextEvent OnSetAppParams;
  TNetUpdateValidateEvent OnCustomValidate;
  TNetUpdateProcessEvent OnCustomProcess;
  TNetUpdateDownloadedTextEvent OnDownloadedWhatsNew;
  TNetUpdateDownloadedTextEvent OnDownloadedEULA;
  TNetUpdateFileListEvent OnGetFileList;
  TNetUpdateVersionEvent OnFileVersionCheck;
  TNetUpdateBeforeDownloadEvent OnBeforeFileDownload;
  TNetUpdateAllowEvent OnBeforePost;
  TNetUpdateAllowEvent OnProcessPostResult;
  TNotifyEvent OnSuccess;
  TNetUpdateAllowEvent OnAppRestart;
  TNotifyEvent OnAppDoClose;

  // Runs the whole update; the outcome is reported through the events.
  void RunUpdate();
  // True while RunUpdate runs.
  bool Running() const { return FRunning; }

  // ---- Steps of the run (a descendant may replace one)
  virtual int ShowWhatsNewText(TStrings* Text);  // 1 accepted
  virtual int ShowLicenceText(TStrings* Text);
  virtual void ReportStatus(int Code, const std::string& Arg, int StatusCode, int ErrCode);
  // Puts the updater program where it can run after this program ended;
  // its full name, empty when that failed.
  virtual std::string WriteUpdaterProgram();
  virtual void WritePatcherProgram() {}
  virtual bool FileNeedsUpdate(std::string& NewVersion, std::string& LocalFile, int32_t NewSize,
                               int32_t NewCheckSum);
  virtual void CheckCancel(bool& Cancel);
  virtual void NotifyFileDownloaded(const std::string& FileName);
  virtual int OpenInternet();
  virtual int CloseInternet();
  virtual int ConnectFtpHost();
  virtual std::string ControlFileURL();
  virtual int FetchControlFile();
  virtual bool CheckForNewVersion();
  virtual int RunControlActions();
  virtual TStringList* FetchWhatsNewText();
  virtual TStringList* FetchLicenceText();
  virtual int ReadFileList();
  virtual bool FilterFileList();
  virtual void DownloadFileList();
  virtual std::string PrefixFolder(const std::string& Name);
  // Starts a program with its arguments (no shell), in Folder (empty: the
  // current one), without waiting; false with the system's error number.
  virtual bool StartProcess(const std::vector<std::string>& Args, const std::string& Folder, int& Error);

  // ---- Transfers
  bool DownloadFile(const std::string& AURL, bool Compressed, const std::string& TargetFolder,
                    const TFileDescription* Checks = nullptr);
  // MaxBytes above 0: a longer file fails (texts and control files are read whole).
  bool DownloadToTempFile(const std::string& AURL, std::string& LocalName, const std::string& Folder,
                          long long MaxBytes = 0);
  bool CopySourceFile(const std::string& Source, const std::string& Target, const TFileDescription* Checks = nullptr,
                      long long MaxBytes = 0);
  // The lines of a text file, null when it cannot be fetched; the caller frees it.
  TStringList* DownloadTextLines(const std::string& AURL);
  void SendPostInfo();
  void ShowHTMLMessage(const std::string& AURL);
  void ReportInternetError(const std::string& Text, int Code);
  std::string FileNameFromURL(const std::string& AURL);
  static std::string HostFromURL(const std::string& AURL);
  std::string AddProxyLogin(const std::string& AURL) const;

  // Prefixes ({APP}, {TMP}, {PF}, ...) replaced after OnConvertPrefix.
  std::string ConvertPrefix(const std::string& Text);
  // The control date of a date and a time text (1 January 1980 when the date
  // does not convert).
  TDateTime ControlDate(const std::string& DateText, const std::string& TimeText) const;
  TDateTime ReadLastUpdateDate();
  void StoreLastUpdateDate(TDateTime Value);
  // The finished run's state, for descendants and tests.
  bool ApplicationUpdate() const { return FAppUpdate; }
  bool RestartNeeded() const { return FAppUpdate && !FCancelled && FAppComponent; }
  const std::string& ApplicationCommand() const { return FAppCommand; }
  const std::string& ComponentList() const { return FAppComps; }
  const std::string& Description() const { return FDescr; }

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void FinishControlFile();
  void StartUpdater();
  TMemIniFile* ControlFile() const { return FControl.get(); }

private:
  // Opens the request of a network transfer; null after reporting why.
  std::unique_ptr<TTransfer> OpenRequest(const std::string& AURL, long long& Total);
  // Receives a network file into a new temporary file in folder; its name,
  // empty after a failure (then deleted). Checks: the announced length,
  // and the size and checksum of a list entry.
  std::string Receive(const std::string& AURL, const std::string& Folder, const std::string& ShownName,
                      const TFileDescription* Checks, long long MaxBytes = 0);
  // Whether a downloaded file, with its size and sums, may replace the target.
  bool Acceptable(long long Received, long long Announced, int32_t ByteSum, int32_t Crc,
                  const TFileDescription* Checks) const;
  static bool IsSafeName(const std::string& Name);
  static constexpr long long MaxTextBytes = 4 << 20;
  void Unpack(const std::string& Target, const std::string& TargetFolder);
  void LogLine(const std::string& Text);
  bool AskYes(const std::string& Text);
  std::string ReadControl(const std::string& Section, const std::string& Key, const std::string& Default = "");
  int ReadControlInt(const std::string& Section, const std::string& Key, int Default);
  TStringList* FetchText(const std::string& Section, int Code);
  void RunCommand(const std::string& Command);

  std::unique_ptr<TLastURLEntry> FLastURLEntry;
  std::unique_ptr<TPostUpdateInfo> FPostUpdateInfo;
  std::unique_ptr<TFileList> FFileList;
  TNetUpdateUtility* FUtility = nullptr;

  // Run state.
  bool FInternet = false;
  std::unique_ptr<TFtpSession> FFtp;
  bool FDialed = false;
  bool FStoreDate = false;
  std::string FControlPath;
  std::unique_ptr<TMemIniFile> FControl;
  bool FFtpFolderSet = false;
  bool FAppUpdate = false;
  bool FAppComponent = false;
  bool FSilentRestart = false;
  bool FCancelled = false;
  bool FRunning = false;
  std::string FAppCommand, FAppName, FAppParams;
  std::string FLocalDateFile;
  bool FDownloadFailed = false;
  int FUpdaterError = 0;
  std::string FAppComps;
  std::string FDescr;
  TDateTime FControlDate = 0;
};
