#include "platform/rtl/transfer.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

std::mutex TrustLock;
std::string TrustedFile;

void GlobalInit() {
  static const bool done = (curl_global_init(CURL_GLOBAL_DEFAULT), true);
  (void)done;
}

// Data held back by the transfer before the reader takes it; past this the
// network is paused, so a slow reader never makes the buffer grow.
constexpr size_t MaxBuffered = 1 << 20;

}  // namespace

void AddTrustedCertificates(const std::string& pemFile) {
  std::lock_guard<std::mutex> lock(TrustLock);
  TrustedFile = pemFile;
}

// A multi handle with one easy handle that is reused, so a server
// connection (an FTP control connection above all) outlives one transfer.
struct TTransferConnection {
  CURLM* Multi = nullptr;
  CURL* Easy = nullptr;
  curl_slist* HeaderList = nullptr;
  std::string Body;  // of a POST; must live while the transfer runs
  std::string Buffer;
  size_t BufferPos = 0;
  bool Paused = false;
  bool HeadersDone = false;
  bool Done = false;
  bool Added = false;
  CURLcode Result = CURLE_OK;
  char ErrorBuffer[CURL_ERROR_SIZE] = {0};
  std::string LastReply;  // FTP: the server's last reply line

  TTransferConnection() {
    GlobalInit();
    Multi = curl_multi_init();
    Easy = curl_easy_init();
  }
  ~TTransferConnection() {
    Detach();
    if (Easy) curl_easy_cleanup(Easy);
    if (Multi) curl_multi_cleanup(Multi);
    if (HeaderList) curl_slist_free_all(HeaderList);
  }
  size_t Available() const { return Buffer.size() - BufferPos; }
  void Detach() {
    if (Added) curl_multi_remove_handle(Multi, Easy);
    Added = false;
  }
  void Reset() {
    Detach();
    Buffer.clear();
    BufferPos = 0;
    Paused = HeadersDone = Done = false;
    Result = CURLE_OK;
    ErrorBuffer[0] = 0;
  }

  static size_t OnWrite(char* data, size_t size, size_t count, void* user) {
    auto* c = static_cast<TTransferConnection*>(user);
    const size_t n = size * count;
    if (c->Available() >= MaxBuffered) {
      c->Paused = true;
      return CURL_WRITEFUNC_PAUSE;
    }
    if (c->BufferPos > 0 && c->BufferPos == c->Buffer.size()) {
      c->Buffer.clear();
      c->BufferPos = 0;
    }
    c->Buffer.append(data, n);
    c->HeadersDone = true;  // a body byte: the headers are behind
    return n;
  }

  static size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* c = static_cast<TTransferConnection*>(user);
    const size_t n = size * count;
    std::string line(data, n);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.empty()) {
      // The end of one header block; an interim 1xx block is followed by another.
      long code = 0;
      curl_easy_getinfo(c->Easy, CURLINFO_RESPONSE_CODE, &code);
      if (code >= 200 || code == 0) c->HeadersDone = true;
    } else if (line.size() >= 4 && std::isdigit(static_cast<unsigned char>(line[0])) &&
               std::isdigit(static_cast<unsigned char>(line[1])) && std::isdigit(static_cast<unsigned char>(line[2]))) {
      c->LastReply = line;  // FTP replies come through here as well
    }
    return n;
  }

  // Runs the transfer until something happened (data, headers, the end).
  void Pump(bool wait) {
    int running = 0;
    curl_multi_perform(Multi, &running);
    int queued = 0;
    while (CURLMsg* m = curl_multi_info_read(Multi, &queued)) {
      if (m->msg == CURLMSG_DONE && m->easy_handle == Easy) {
        Done = true;
        Result = m->data.result;
      }
    }
    if (!Done && wait) {
      // The sockets and the library's own timers are waited for. In some
      // states the library has work without saying so (opening an FTP data
      // connection), so a wait without its timer is kept short.
      long timeout = -1;
      curl_multi_timeout(Multi, &timeout);
      if (timeout < 0 || timeout > 10) timeout = 10;
      if (timeout > 0) curl_multi_poll(Multi, nullptr, 0, static_cast<int>(timeout), nullptr);
      curl_multi_perform(Multi, &running);
      while (CURLMsg* m = curl_multi_info_read(Multi, &queued)) {
        if (m->msg == CURLMSG_DONE && m->easy_handle == Easy) {
          Done = true;
          Result = m->data.result;
        }
      }
    }
  }
};

TTransfer::TTransfer() = default;

TTransfer::~TTransfer() { Close(); }

bool TTransfer::OpenUrl(const std::string& url) {
  Close();
  FConnection = std::make_shared<TTransferConnection>();
  CURL* e = FConnection->Easy;
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
  return Start(true);
}

bool TTransfer::OpenPost(const std::string& url, const std::string& body) {
  Close();
  FConnection = std::make_shared<TTransferConnection>();
  FConnection->Body = body;
  CURL* e = FConnection->Easy;
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  curl_easy_setopt(e, CURLOPT_POSTFIELDS, FConnection->Body.data());
  curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(FConnection->Body.size()));
  return Start(true);
}

bool TTransfer::Start(bool httpOptions) {
  TTransferConnection& c = *FConnection;
  CURL* e = c.Easy;
  c.Reset();
  FStatus = 0;
  FContentLength = -1;
  ErrorText.clear();
  ErrorCode = 0;
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &TTransferConnection::OnWrite);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, &c);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &TTransferConnection::OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, &c);
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, c.ErrorBuffer);
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(e, CURLOPT_BUFFERSIZE, 256L * 1024L);
  {
    std::lock_guard<std::mutex> lock(TrustLock);
    // The extra file replaces the bundle; the system's folder of
    // authorities stays in use beside it.
    if (!TrustedFile.empty()) curl_easy_setopt(e, CURLOPT_CAINFO, TrustedFile.c_str());
  }
  if (httpOptions) {
    if (!Agent.empty()) curl_easy_setopt(e, CURLOPT_USERAGENT, Agent.c_str());
    if (!Proxy.empty()) curl_easy_setopt(e, CURLOPT_PROXY, Proxy.c_str());
    if (c.HeaderList) curl_slist_free_all(c.HeaderList);
    c.HeaderList = nullptr;
    for (const std::string& h : Headers) c.HeaderList = curl_slist_append(c.HeaderList, h.c_str());
    if (!KeepConnection) c.HeaderList = curl_slist_append(c.HeaderList, "Connection: close");
    c.HeaderList = curl_slist_append(c.HeaderList, "Cache-Control: no-cache");
    c.HeaderList = curl_slist_append(c.HeaderList, "Pragma: no-cache");
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, c.HeaderList);
  }
  if (curl_multi_add_handle(c.Multi, e) != CURLM_OK) {
    ErrorText = "The transfer could not be started";
    ErrorCode = -1;
    return false;
  }
  c.Added = true;
  while (!c.HeadersDone && !c.Done) c.Pump(true);
  if (c.Done && c.Result != CURLE_OK && c.Available() == 0 && !c.HeadersDone) {
    ErrorCode = static_cast<int>(c.Result);
    ErrorText = c.ErrorBuffer[0] ? c.ErrorBuffer : curl_easy_strerror(c.Result);
    c.Detach();
    return false;
  }
  long code = 0;
  curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &code);
  FStatus = static_cast<int>(code);
  curl_off_t length = -1;
  curl_easy_getinfo(e, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
  FContentLength = length;
  FOpen = true;
  return true;
}

int TTransfer::Read(void* buffer, int size) {
  if (!FOpen || !FConnection || size <= 0) return 0;
  TTransferConnection& c = *FConnection;
  while (c.Available() == 0 && !c.Done) {
    if (c.Paused) {
      c.Paused = false;
      curl_easy_pause(c.Easy, CURLPAUSE_CONT);
    }
    c.Pump(c.Available() == 0);
  }
  const size_t n = std::min<size_t>(static_cast<size_t>(size), c.Available());
  if (n == 0) {
    if (c.Result == CURLE_OK) return 0;
    ErrorCode = static_cast<int>(c.Result);
    ErrorText = c.ErrorBuffer[0] ? c.ErrorBuffer : curl_easy_strerror(c.Result);
    return -1;
  }
  std::memcpy(buffer, c.Buffer.data() + c.BufferPos, n);
  c.BufferPos += n;
  if (c.Available() == 0) {
    c.Buffer.clear();
    c.BufferPos = 0;
  }
  return static_cast<int>(n);
}

void TTransfer::Close() {
  if (FConnection) FConnection->Detach();
  // An FTP session keeps its connection; a plain transfer lets it go here.
  FConnection.reset();
  FOpen = false;
}

void TTransfer::Pump() {
  if (FConnection) FConnection->Pump(true);
}

// ---- FTP -------------------------------------------------------------------

TFtpSession::TFtpSession(const std::string& host, int port, const std::string& user, const std::string& password,
                         bool passive)
    : FConnection(std::make_shared<TTransferConnection>()),
      FHost(host),
      FUser(user),
      FPassword(password),
      FPort(port),
      FPassive(passive) {}

TFtpSession::~TFtpSession() = default;

namespace {

// A path for an FTP URL: each byte outside the unreserved set escaped, the
// separators kept; a leading '/' (absolute) becomes "%2F".
std::string EscapePath(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < path.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(path[i]);
    if (ch == '/' && i > 0) {
      out += '/';
    } else if (std::isalnum(ch) || ch == '-' || ch == '_' || ch == '.' || ch == '~') {
      out += static_cast<char>(ch);
    } else {
      out += '%';
      out += hex[ch >> 4];
      out += hex[ch & 15];
    }
  }
  return out;
}

}  // namespace

std::string TFtpSession::UrlOf(const std::string& name) const {
  std::string url = "ftp://" + FHost;
  if (FPort > 0) url += ":" + std::to_string(FPort);
  url += '/';
  std::string folder = FFolder;
  if ((folder.empty() || folder[0] != '/') && !FEntryPath.empty() && FEntryPath[0] == '/')
    folder = FEntryPath + (FEntryPath.back() == '/' || folder.empty() ? "" : "/") + folder;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return url + EscapePath(folder + name);
}

void TFtpSession::TakeError(const TTransfer& t) {
  const std::string& reply = FConnection->LastReply;
  int code = 0;
  if (reply.size() >= 3) code = std::atoi(reply.substr(0, 3).c_str());
  if (code >= 400) {
    ErrorText = reply;
    ErrorCode = code;
  } else {
    ErrorText = t.ErrorText;
    ErrorCode = t.ErrorCode;
  }
}

namespace {

void SetFtpOptions(CURL* e, const std::string& user, const std::string& password, bool passive) {
  curl_easy_setopt(e, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
  if (passive) {
    curl_easy_setopt(e, CURLOPT_FTPPORT, nullptr);
    curl_easy_setopt(e, CURLOPT_FTP_USE_EPSV, 0L);
  } else {
    curl_easy_setopt(e, CURLOPT_FTPPORT, "-");
  }
  if (!user.empty() && !password.empty()) {
    curl_easy_setopt(e, CURLOPT_USERNAME, user.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, password.c_str());
  } else {
    curl_easy_setopt(e, CURLOPT_USERNAME, "anonymous");
    curl_easy_setopt(e, CURLOPT_PASSWORD, "anonymous@");
  }
  curl_easy_setopt(e, CURLOPT_TRANSFERTEXT, 0L);
  curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, nullptr);
  curl_easy_setopt(e, CURLOPT_NOBODY, 0L);
  curl_easy_setopt(e, CURLOPT_DIRLISTONLY, 0L);
}

}  // namespace

bool TFtpSession::Connect() {
  ErrorText.clear();
  ErrorCode = 0;
  TTransfer t;
  t.FConnection = FConnection;
  CURL* e = FConnection->Easy;
  SetFtpOptions(e, FUser, FPassword, FPassive);
  std::string url = "ftp://" + FHost;
  if (FPort > 0) url += ":" + std::to_string(FPort);
  url += "/";
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  // Log in and nothing else: no folder change, no listing, no transfer.
  curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
  curl_easy_setopt(e, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  bool ok = t.Start(false);
  while (ok && !FConnection->Done) FConnection->Pump(true);
  ok = ok && FConnection->Result == CURLE_OK;
  if (!ok) TakeError(t);
  // Folders are named from the log-in folder on: a path relative to it would
  // make the library go back there before every transfer.
  const char* entry = nullptr;
  if (ok && curl_easy_getinfo(e, CURLINFO_FTP_ENTRY_PATH, &entry) == CURLE_OK && entry) FEntryPath = entry;
  FConnection->Detach();
  t.FConnection.reset();
  return ok;
}

void TFtpSession::SetCurrentDirectory(const std::string& folder) { FFolder = folder; }

bool TFtpSession::FindFile(const std::string& name, long long& size) {
  size = 0;
  TTransfer t;
  t.FConnection = FConnection;
  CURL* e = FConnection->Easy;
  SetFtpOptions(e, FUser, FPassword, FPassive);
  const std::string url = UrlOf("");
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  const std::string request = "LIST " + name;
  curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, request.c_str());
  bool found = false;
  if (t.Start(false)) {
    std::string listing;
    char block[4096];
    int n;
    // A listing of one name is short; a hostile server gets no more than this.
    while ((n = t.Read(block, sizeof block)) > 0 && listing.size() < (1u << 20)) listing.append(block, n);
    size_t start = 0;
    while (start < listing.size() && !found) {
      size_t end = listing.find('\n', start);
      if (end == std::string::npos) end = listing.size();
      std::string line = listing.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      found = ParseFtpListLine(line, name, size);
      start = end + 1;
    }
  } else {
    TakeError(t);
  }
  FConnection->Detach();
  curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, nullptr);
  t.FConnection.reset();
  return found;
}

std::unique_ptr<TTransfer> TFtpSession::OpenFile(const std::string& name) {
  auto t = std::make_unique<TTransfer>();
  t->FConnection = FConnection;
  CURL* e = FConnection->Easy;
  SetFtpOptions(e, FUser, FPassword, FPassive);
  const std::string url = UrlOf(name);
  curl_easy_setopt(e, CURLOPT_URL, url.c_str());
  if (!t->Start(false)) {
    TakeError(*t);
    return nullptr;
  }
  // A refusal of the file (550) ends the transfer before any byte.
  if (FConnection->Done && FConnection->Result != CURLE_OK && FConnection->Available() == 0) {
    TakeError(*t);
    FConnection->Detach();
    return nullptr;
  }
  return t;
}

bool ParseFtpListLine(const std::string& line, const std::string& name, long long& size) {
  std::vector<std::string> fields;
  std::vector<size_t> starts;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    const size_t s = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    fields.push_back(line.substr(s, i - s));
    starts.push_back(s);
  }
  auto number = [](const std::string& f, long long& v) {
    if (f.empty() || f.size() > 18) return false;
    for (char ch : f)
      if (!std::isdigit(static_cast<unsigned char>(ch))) return false;
    v = std::stoll(f);
    return true;
  };
  auto baseName = [](const std::string& s) {
    const size_t slash = s.find_last_of('/');
    return slash == std::string::npos ? s : s.substr(slash + 1);
  };
  // Unix: mode links owner group size month day time-or-year name...
  if (fields.size() >= 9 && (fields[0][0] == '-' || fields[0][0] == 'l')) {
    const std::string shown = line.substr(starts[8]);
    long long v;
    if (baseName(shown) == name && number(fields[4], v)) {
      size = v;
      return true;
    }
    return false;
  }
  // DOS: date time size-or-<DIR> name...
  if (fields.size() >= 4 && fields[0].find('-') != std::string::npos) {
    const std::string shown = line.substr(starts[3]);
    long long v;
    if (baseName(shown) == name && number(fields[2], v)) {
      size = v;
      return true;
    }
  }
  return false;
}
