// Servers on the loopback interface that tests start themselves: a small
// HTTP server in a thread of the test (any response a test scripts, short
// bodies included), and Python servers for HTTPS (with a certificate made by
// openssl for the test) and FTP (pyftpdlib). Nothing listens beyond
// 127.0.0.1.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct THttpRequest {
  std::string Method;
  std::string Path;
  std::map<std::string, std::string> Headers;  // names in lower case
  std::string Body;
};

struct THttpResponse {
  int Status = 200;
  std::string Reason = "OK";
  std::vector<std::string> Headers;  // extra lines, "Name: value"
  std::string Body;
  // Content-Length as announced; -1 sends the body's length.
  long long AnnouncedLength = -1;
  // Sent from a generator instead of Body (large bodies): called with the
  // offset, fills up to the buffer's size, returns the count.
  long long GeneratedLength = 0;
  std::function<size_t(long long offset, char* buffer, size_t size)> Generate;
};

class TLoopbackHttpServer {
public:
  TLoopbackHttpServer();
  ~TLoopbackHttpServer();
  TLoopbackHttpServer(const TLoopbackHttpServer&) = delete;
  TLoopbackHttpServer& operator=(const TLoopbackHttpServer&) = delete;

  // Answers every request; without one, files set with Put are served (404 otherwise).
  std::function<THttpResponse(const THttpRequest&)> Handler;
  void Put(const std::string& path, const std::string& body);

  int Port() const { return FPort; }
  // "http://127.0.0.1:<port>" + path.
  std::string Url(const std::string& path) const;
  std::vector<THttpRequest> Requests() const;

private:
  void Serve();
  void Answer(int fd);

  int FListen = -1;
  int FPort = 0;
  std::atomic<bool> FStop{false};
  mutable std::mutex FLock;
  std::map<std::string, std::string> FFiles;
  std::vector<THttpRequest> FRequests;
  std::thread FThread;
};

// A Python server run as a child; its first output line is its port.
class TPythonServer {
public:
  // Runs /usr/bin/python3 with the script text and the arguments; false
  // (with the reason in Error) when it did not report a port.
  bool Start(const std::string& script, const std::vector<std::string>& args);
  ~TPythonServer();
  int Port() const { return FPort; }
  std::string Error;

private:
  pid_t FPid = -1;
  int FPort = 0;
};

// Makes a self-signed certificate for 127.0.0.1 in folder (cert.pem,
// key.pem) with openssl; false when that failed.
bool MakeLoopbackCertificate(const std::string& folder);
// Serves folder over HTTPS with folder/cert.pem and folder/key.pem.
bool StartHttpsServer(TPythonServer& server, const std::string& folder);
// Serves folder over FTP to anonymous users (and to user/password when
// given), passive mode allowed; each command that changes the folder is
// appended as a line to commandLog.
bool StartFtpServer(TPythonServer& server, const std::string& folder, const std::string& commandLog,
                    const std::string& user = "", const std::string& password = "");
