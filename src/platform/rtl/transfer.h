// Network transfers over HTTP, HTTPS and FTP (libcurl underneath), read by
// the caller block by block so that it can serve its windows in between.
//
// HTTP: certificates are verified against the system's authorities (plus any
// file given to AddTrustedCertificates); redirections are not followed, so a
// 3xx comes back as the status. Without a proxy name the system's configured
// access applies (the proxy variables of the environment). No time-outs are
// set beyond the library's own.
//
// FTP: a TFtpSession keeps one control connection; its folder is changed at
// most once per folder, files are looked up in the folder's listing and read
// through passive or active data connections.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Adds a PEM file of certificates trusted for HTTPS besides the system's
// (process-wide, for transfers opened afterwards); an empty name forgets them.
void AddTrustedCertificates(const std::string& pemFile);

struct TTransferConnection;

// One transfer: opened, read to its end (or abandoned), closed.
class TTransfer {
public:
  TTransfer();
  ~TTransfer();
  TTransfer(const TTransfer&) = delete;
  TTransfer& operator=(const TTransfer&) = delete;

  // Options of the next OpenUrl / OpenPost.
  std::string Agent;                 // User-Agent
  std::string Proxy;                 // empty: the system's configured access
  std::vector<std::string> Headers;  // extra request lines, "Name: value"
  bool KeepConnection = false;       // ask the server to keep the connection

  // Sends a GET (HTTP, HTTPS) and waits for the response's status line and
  // headers. False when no response came (no connection, a refused
  // certificate, a bad URL): ErrorText and ErrorCode say why.
  bool OpenUrl(const std::string& url);
  // Sends a POST with the body; as OpenUrl.
  bool OpenPost(const std::string& url, const std::string& body);

  // The response's status (HTTP) or 0.
  int StatusCode() const { return FStatus; }
  // The length the server announced; -1 when it gave none.
  long long ContentLength() const { return FContentLength; }
  // Up to size bytes of the body: the count, 0 at its end, -1 when the
  // transfer failed (the connection broke, the body ended short of its
  // announced length). Waits only for the network.
  int Read(void* buffer, int size);
  // Ends the transfer at once; Read gives 0 afterwards.
  void Close();

  std::string ErrorText;
  int ErrorCode = 0;

private:
  friend class TFtpSession;
  bool Start(bool headersOnly);
  void Pump();

  std::shared_ptr<TTransferConnection> FConnection;
  int FStatus = 0;
  long long FContentLength = -1;
  bool FOpen = false;
};

// An FTP connection and its state on the server.
class TFtpSession {
public:
  // port 0: the FTP port. User and password empty: anonymous.
  TFtpSession(const std::string& host, int port, const std::string& user, const std::string& password,
              bool passive);
  ~TFtpSession();
  TFtpSession(const TFtpSession&) = delete;
  TFtpSession& operator=(const TFtpSession&) = delete;

  // Connects and logs in; false with ErrorText (the server's answer when it
  // gave one) and ErrorCode (its reply code, else the library's error).
  bool Connect();
  // The folder later names are taken in (relative to the log-in folder, or
  // absolute when it starts with '/').
  void SetCurrentDirectory(const std::string& folder);
  const std::string& CurrentDirectory() const { return FFolder; }
  // The size of a file from the folder's listing; false when it is not listed.
  bool FindFile(const std::string& name, long long& size);
  // Opens a file of the current folder for reading (binary); null when the
  // server refuses it.
  std::unique_ptr<TTransfer> OpenFile(const std::string& name);

  std::string ErrorText;
  int ErrorCode = 0;

private:
  std::string UrlOf(const std::string& name) const;
  void TakeError(const TTransfer& t);

  std::shared_ptr<TTransferConnection> FConnection;
  std::string FHost, FUser, FPassword, FFolder, FEntryPath;
  int FPort;
  bool FPassive;
};

// The size field of one line of an FTP listing (the Unix "ls -l" form or the
// DOS form) whose name is name; false when the line is not about that name.
bool ParseFtpListLine(const std::string& line, const std::string& name, long long& size);
