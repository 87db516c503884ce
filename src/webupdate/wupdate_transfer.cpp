// TNetUpdate's transfers: the control file, the listed files and texts over
// HTTP(S), FTP or from a folder; Basic authorisation; the post of update
// information; the HTML message.
#include <cstdio>
#include <cstring>

#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/strutils.h"
#include "platform/rtl/sysinfo.h"
#include "platform/rtl/tempfiles.h"
#include "platform/rtl/transfer.h"
#include "platform/ui/forms.h"
#include "webupdate/cabfdi.h"
#include "webupdate/wubase64.h"
#include "webupdate/wucrc32.h"
#include "webupdate/wudialogs.h"
#include "webupdate/wulogin.h"
#include "webupdate/wupdate.h"

namespace {

// Lets the windows work between blocks. Serving them after every 4 KiB
// block would cost more than the block itself on a fast link; every 16th
// block, and whenever 5 ms have passed, keeps them answering just the same.
void ServeWindows() {
  static unsigned blocks = 0;
  static uint64_t last = 0;
  const uint64_t now = GetTickCount();
  if (blocks++ % 16 != 0 && now - last < 5) return;
  Application->ProcessMessages();
  last = GetTickCount();
}

// A file that closes itself; writes go through a large buffer.
struct TOutFile {
  FILE* F = nullptr;
  explicit TOutFile(const std::string& name) {
    F = std::fopen(name.c_str(), "wb");
    if (F) std::setvbuf(F, nullptr, _IOFBF, 256 * 1024);
  }
  ~TOutFile() {
    if (F) std::fclose(F);
  }
  bool Close() {
    if (!F) return false;
    const bool ok = std::fclose(F) == 0;
    F = nullptr;
    return ok;
  }
};

}  // namespace

std::string TNetUpdate::FileNameFromURL(const std::string& AURL) {
  std::string name = AURL;
  const size_t slash = name.find_last_of('/');
  if (slash != std::string::npos) name = name.substr(slash + 1);
  const size_t back = name.find_last_of('\\');
  if (back != std::string::npos) name = name.substr(back + 1);
  if (OnFileNameFromURL) OnFileNameFromURL(this, AURL, name);
  return name;
}

std::string TNetUpdate::HostFromURL(const std::string& AURL) {
  std::string s = AURL;
  const size_t scheme = s.find("://");
  if (scheme != std::string::npos) s = s.substr(scheme + 3);
  return s.substr(0, s.find('/'));
}

std::string TNetUpdate::AddProxyLogin(const std::string& AURL) const {
  if (ProxyUserID.empty() || UpperCase(AURL.substr(0, 7)) != "HTTP://") return AURL;
  return "http://" + ProxyUserID + ":" + ProxyPassword + "@" + AURL.substr(7);
}

bool TNetUpdate::IsSafeName(const std::string& Name) {
  return !Name.empty() && Name != "." && Name != ".." && Name.find('/') == std::string::npos &&
         Name.find('\\') == std::string::npos;
}

std::unique_ptr<TTransfer> TNetUpdate::OpenRequest(const std::string& AURL, long long& Total) {
  Total = 0;
  if (UpdateType == ftpUpdate) {
    if (!FFtp) {
      ReportStatus(917, AURL, 2, 1);
      return nullptr;
    }
    if (!FTPDirectory.empty() && !FFtpFolderSet) {
      FFtp->SetCurrentDirectory(LocalPath(ConvertPrefix(FTPDirectory)));
      FFtpFolderSet = true;
    }
    const std::string name = FileNameFromURL(AURL);
    long long size = 0;
    if (FFtp->FindFile(name, size)) Total = size & 0xFFFFFFFFll;
    std::unique_ptr<TTransfer> t = FFtp->OpenFile(name);
    if (!t) {
      ReportStatus(917, AURL, 2, 1);
      ReportInternetError(FFtp->ErrorText, FFtp->ErrorCode);
    }
    return t;
  }
  const std::string caption = "Connect to " + HostFromURL(AURL);
  if (Authenticate == waAlways && (UserID.empty() || Password.empty())) {
    if (!LoginDialog(caption, UserID, Password)) {
      ReportStatus(956, "", 0, 0);
      return nullptr;
    }
  }
  for (;;) {
    auto t = std::make_unique<TTransfer>();
    t->Agent = Agent;
    t->Proxy = Proxy;
    t->KeepConnection = HTTPKeepAliveAuthentication || ExistingConnection;
    if (!UserID.empty() || !Password.empty())
      t->Headers.push_back("Authorization: Basic " + EncodeBase64(UserID + ":" + Password));
    if (!t->OpenUrl(AURL)) {
      ReportStatus(917, AURL, 2, 1);
      ReportInternetError(t->ErrorText, t->ErrorCode);
      return nullptr;
    }
    const int status = t->StatusCode();
    if (status == 401 && Authenticate == waAuto) {
      t.reset();
      if (LoginDialog(caption, UserID, Password)) continue;
      ReportStatus(956, "", 0, 0);
      return nullptr;
    }
    if (status >= 300) {
      ReportStatus(916, std::to_string(status), 6, status);
      return nullptr;
    }
    Total = std::max<long long>(0, t->ContentLength());
    return t;
  }
}

bool TNetUpdate::Acceptable(long long Received, long long Announced, int32_t ByteSum, int32_t Crc,
                            const TFileDescription* Checks) const {
  if (Received <= 0) return false;                           // nothing came
  if (Announced > 0 && Received != Announced) return false;  // cut short
  if (Checks && !Checks->Compressed) {
    if (Checks->NewSize > 0 && Received != Checks->NewSize) return false;
    if (Checks->NewCheckSum != -1 && (UseCRC32 ? Crc : ByteSum) != Checks->NewCheckSum) return false;
  }
  return true;
}

std::string TNetUpdate::Receive(const std::string& AURL, const std::string& Folder, const std::string& ShownName,
                                const TFileDescription* Checks, long long MaxBytes) {
  long long total = 0;
  std::unique_ptr<TTransfer> t = OpenRequest(AddProxyLogin(AURL), total);
  if (!t) return std::string();
  const std::string temp = GetTempFileName(Folder.empty() ? "." : LocalPath(Folder), "WUPD");
  if (temp.empty()) return std::string();
  TOutFile out(temp);
  TByteSum sum;
  TAdditiveCRC32 crc;
  const bool sums = Checks && Checks->NewCheckSum != -1;
  long long pos = 0;
  bool cancel = false, failed = !out.F;
  char block[4096];
  while (!failed && !cancel) {
    ServeWindows();
    const int n = t->Read(block, sizeof block);
    if (n < 0) failed = true;
    if (n <= 0) break;
    if (std::fwrite(block, 1, static_cast<size_t>(n), out.F) != static_cast<size_t>(n)) {
      failed = true;
      break;
    }
    if (sums) {
      if (UseCRC32)
        crc.Add(block, static_cast<size_t>(n));
      else
        sum.Add(block, static_cast<size_t>(n));
    }
    pos += n;
    if (MaxBytes > 0 && pos > MaxBytes) failed = true;
    if (OnFileProgress) OnFileProgress(this, ShownName, static_cast<int>(pos), static_cast<int>(total));
    CheckCancel(cancel);
  }
  t->Close();
  if (!out.Close()) failed = true;
  FCancelled = cancel;
  if (cancel || failed || !Acceptable(pos, total, sum.Value(), crc.Value(), Checks)) {
    if (!DeleteFile(temp)) LogLine("Unable to delete file " + temp);
    return std::string();
  }
  return temp;
}

void TNetUpdate::Unpack(const std::string& Target, const std::string& TargetFolder) {
  const std::string local = LocalPath(Target);
  if (!SameFileExt(ExtractFileExt(local), ".CAB")) {
    ExpandLZFile(local);
    return;
  }
  if (ExtractCabinet(local, LocalPath(TargetFolder)) != 0)
    ReportStatus(947, Target, 8, 0);
  else if (!KeepIntermediateFiles)
    DeleteFile(local);
}

bool TNetUpdate::DownloadFile(const std::string& AURL, bool Compressed, const std::string& TargetFolder,
                              const TFileDescription* Checks) {
  ReportStatus(915, AURL, 3, 0);
  const std::string name = FileNameFromURL(AURL);
  if (UpdateType == fileUpdate) {
    const std::string folder = LocalPath(TargetFolder);
    const bool namesFile = !folder.empty() && folder.back() != '/' && !DirectoryExists(folder);
    const std::string target = namesFile ? TargetFolder : TargetFolder + name;
    if (!namesFile && !IsSafeName(name)) return false;
    if (!CopySourceFile(AURL, target, Checks)) return false;
    NotifyFileDownloaded(target);
    if (Compressed) {
      if (UpperCase(target).find(".CAB") != std::string::npos) ReportStatus(965, target, 3, 0);
      Unpack(target, ExtractFilePath(LocalPath(target)));
    }
    return true;
  }
  if (!IsSafeName(name)) return false;
  const std::string temp = Receive(AURL, TargetFolder, TargetFolder + name, Checks);
  if (temp.empty()) return false;
  const std::string target = TargetFolder + name;
  if (!ReplaceFile(temp, LocalPath(target))) {
    LogLine("Unable to rename file " + temp + " to " + target);
    DeleteFile(temp);
    return false;
  }
  NotifyFileDownloaded(target);
  if (Compressed) Unpack(target, TargetFolder);
  return true;
}

bool TNetUpdate::DownloadToTempFile(const std::string& AURL, std::string& LocalName, const std::string& Folder,
                                    long long MaxBytes) {
  ReportStatus(915, AURL, 3, 0);
  if (UpdateType == fileUpdate) {
    const std::string name = FileNameFromURL(AURL);
    if (!IsSafeName(name)) return false;
    const std::string target = IncludeTrailingPathDelimiter(LocalPath(Folder)) + name;
    if (!CopySourceFile(AURL, target, nullptr, MaxBytes)) return false;
    LocalName = target;
    return true;
  }
  const std::string temp = Receive(AURL, Folder, FileNameFromURL(AURL), nullptr, MaxBytes);
  if (temp.empty()) return false;
  LocalName = temp;
  return true;
}

bool TNetUpdate::CopySourceFile(const std::string& Source, const std::string& Target, const TFileDescription* Checks,
                                long long MaxBytes) {
  const std::string source = LocalPath(Source), target = LocalPath(Target);
  if (Source == Target || ExpandFileName(source) == ExpandFileName(target)) {
    ReportStatus(912, Source, 10, 3);
    return false;
  }
  FILE* in = FileExists(source) ? std::fopen(source.c_str(), "rb") : nullptr;
  if (!in) {
    ReportStatus(913, Source, 2, 1);
    return false;
  }
  const long long size = FileSize(source);
  // An empty source is no update: it would only blank the target.
  if (size <= 0) {
    std::fclose(in);
    ReportStatus(914, Source, 10, 2);
    return false;
  }
  const std::string folder = ExtractFilePath(target);
  const std::string temp = GetTempFileName(folder.empty() ? "." : folder, "WUPD");
  if (temp.empty()) {
    std::fclose(in);
    return false;
  }
  TOutFile out(temp);
  TByteSum sum;
  TAdditiveCRC32 crc;
  std::vector<char> buffer(16384);
  long long pos = 0;
  bool cancel = false, failed = !out.F;
  while (!failed && !cancel) {
    const size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
    if (n == 0) {
      failed = std::ferror(in) != 0;
      break;
    }
    if (std::fwrite(buffer.data(), 1, n, out.F) != n) {
      failed = true;
      break;
    }
    sum.Add(buffer.data(), n);
    if (UseCRC32) crc.Add(buffer.data(), n);
    pos += static_cast<long long>(n);
    if (MaxBytes > 0 && pos > MaxBytes) failed = true;
    if (OnFileProgress) OnFileProgress(this, Source, static_cast<int>(pos), static_cast<int>(size));
    CheckCancel(cancel);
    ServeWindows();
  }
  std::fclose(in);
  if (!out.Close()) failed = true;
  FCancelled = cancel;
  if (cancel || failed || !Acceptable(pos, 0, sum.Value(), crc.Value(), Checks)) {
    DeleteFile(temp);
    return false;
  }
  if (!ReplaceFile(temp, target)) {
    LogLine("Unable to rename file " + temp + " to " + Target);
    DeleteFile(temp);
    return false;
  }
  return true;
}

TStringList* TNetUpdate::DownloadTextLines(const std::string& AURL) {
  std::string local;
  // Into this process's own folder: no other program shares it.
  if (!DownloadToTempFile(AURL, local, WorkFolder(), MaxTextBytes)) return nullptr;
  auto* lines = new TStringList();
  try {
    lines->LoadFromFile(LocalPath(local));
  } catch (const Exception&) {
    delete lines;
    lines = nullptr;
  }
  DeleteFile(LocalPath(local));
  return lines;
}

void TNetUpdate::SendPostInfo() {
  TPostUpdateInfo& info = *FPostUpdateInfo;
  if (info.Server.empty() || info.Action.empty()) return;
  TTransfer t;
  t.Agent = Agent;
  t.Headers.push_back("Content-Type: application/x-www-form-urlencoded");
  const std::string url = "http://" + info.Server + ":80" + (info.Action[0] == '/' ? "" : "/") + info.Action;
  if (!t.OpenPost(url, info.Data)) {
    ReportStatus(951, "", 16, 5);
    return;
  }
  if (t.StatusCode() >= 400) {
    ReportStatus(952, "", 17, 5);
    return;
  }
  info.PostResult.clear();
  char block[4096];
  for (;;) {
    ServeWindows();
    const int n = t.Read(block, sizeof block);
    if (n <= 0 || info.PostResult.size() > static_cast<size_t>(MaxTextBytes)) break;
    info.PostResult.append(block, static_cast<size_t>(n));
  }
}

void TNetUpdate::ShowHTMLMessage(const std::string& AURL) {
  // Only pages of the web: never a local file or another kind of link.
  const std::string u = LowerCase(AURL);
  if (u.rfind("http://", 0) != 0 && u.rfind("https://", 0) != 0) return;
  TTransfer t;
  t.Agent = Agent;
  t.Proxy = Proxy;
  if (!t.OpenUrl(AddProxyLogin(AURL)) || t.StatusCode() >= 300) return;
  std::string page;
  char block[4096];
  for (;;) {
    ServeWindows();
    const int n = t.Read(block, sizeof block);
    if (n <= 0 || page.size() > static_cast<size_t>(MaxTextBytes)) break;
    page.append(block, static_cast<size_t>(n));
  }
  ShowHTMLDialog(page);
}
