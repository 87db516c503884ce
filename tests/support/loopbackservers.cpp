#include "support/loopbackservers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool SendAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

TLoopbackHttpServer::TLoopbackHttpServer() {
  FListen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  ::bind(FListen, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::listen(FListen, 16);
  socklen_t len = sizeof a;
  ::getsockname(FListen, reinterpret_cast<sockaddr*>(&a), &len);
  FPort = ntohs(a.sin_port);
  FThread = std::thread([this] { Serve(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer() {
  FStop = true;
  ::shutdown(FListen, SHUT_RDWR);
  if (FThread.joinable()) FThread.join();
  ::close(FListen);
}

void TLoopbackHttpServer::Put(const std::string& path, const std::string& body) {
  std::lock_guard<std::mutex> lock(FLock);
  FFiles[path] = body;
}

std::string TLoopbackHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(FPort) + path;
}

std::vector<THttpRequest> TLoopbackHttpServer::Requests() const {
  std::lock_guard<std::mutex> lock(FLock);
  return FRequests;
}

void TLoopbackHttpServer::Serve() {
  while (!FStop) {
    pollfd p{FListen, POLLIN, 0};
    if (::poll(&p, 1, -1) <= 0) continue;
    if (FStop) break;
    const int fd = ::accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (FStop) break;
      continue;
    }
    Answer(fd);
    ::close(fd);
  }
}

void TLoopbackHttpServer::Answer(int fd) {
  std::string data;
  char buffer[8192];
  size_t headerEnd;
  while ((headerEnd = data.find("\r\n\r\n")) == std::string::npos) {
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    data.append(buffer, static_cast<size_t>(n));
  }
  THttpRequest r;
  const std::string head = data.substr(0, headerEnd);
  size_t lineEnd = head.find("\r\n");
  const std::string first = head.substr(0, lineEnd);
  const size_t s1 = first.find(' '), s2 = first.find(' ', s1 + 1);
  r.Method = first.substr(0, s1);
  r.Path = first.substr(s1 + 1, s2 - s1 - 1);
  while (lineEnd != std::string::npos) {
    const size_t next = head.find("\r\n", lineEnd + 2);
    const std::string line = head.substr(lineEnd + 2, next == std::string::npos ? std::string::npos : next - lineEnd - 2);
    const size_t colon = line.find(':');
    if (colon != std::string::npos) {
      size_t v = colon + 1;
      while (v < line.size() && line[v] == ' ') ++v;
      r.Headers[Lower(line.substr(0, colon))] = line.substr(v);
    }
    lineEnd = next;
  }
  r.Body = data.substr(headerEnd + 4);
  const auto length = r.Headers.find("content-length");
  if (length != r.Headers.end()) {
    const size_t want = static_cast<size_t>(std::atoll(length->second.c_str()));
    while (r.Body.size() < want) {
      const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      r.Body.append(buffer, static_cast<size_t>(n));
    }
  }
  THttpResponse response;
  std::function<THttpResponse(const THttpRequest&)> handler;
  {
    std::lock_guard<std::mutex> lock(FLock);
    FRequests.push_back(r);
    handler = Handler;
    if (!handler) {
      const auto it = FFiles.find(r.Path);
      if (it == FFiles.end()) {
        response.Status = 404;
        response.Reason = "Not Found";
        response.Body = "not here";
      } else {
        response.Body = it->second;
      }
    }
  }
  if (handler) response = handler(r);
  const long long bodyLength = response.Generate ? response.GeneratedLength
                                                 : static_cast<long long>(response.Body.size());
  const long long announced = response.AnnouncedLength >= 0 ? response.AnnouncedLength : bodyLength;
  std::string out = "HTTP/1.1 " + std::to_string(response.Status) + " " + response.Reason + "\r\n";
  out += "Content-Length: " + std::to_string(announced) + "\r\nConnection: close\r\n";
  for (const std::string& h : response.Headers) out += h + "\r\n";
  out += "\r\n";
  if (!SendAll(fd, out.data(), out.size())) return;
  if (r.Method == "HEAD") return;
  if (response.Generate) {
    std::vector<char> block(1 << 20);
    for (long long at = 0; at < bodyLength;) {
      const size_t n = response.Generate(at, block.data(), std::min<size_t>(block.size(), bodyLength - at));
      if (n == 0 || !SendAll(fd, block.data(), n)) break;
      at += static_cast<long long>(n);
    }
  } else {
    SendAll(fd, response.Body.data(), response.Body.size());
  }
  ::shutdown(fd, SHUT_WR);
  // Let the client read to the end before the socket goes.
  while (::recv(fd, buffer, sizeof buffer, 0) > 0) {
  }
}

// ---- Python servers -------------------------------------------------------

bool TPythonServer::Start(const std::string& script, const std::vector<std::string>& args) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return false;
  std::vector<std::string> all = {"/usr/bin/python3", "-u", "-c", script};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  FPid = ::fork();
  if (FPid == 0) {
    ::dup2(out[1], 1);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  std::string line;
  char ch;
  while (::read(out[0], &ch, 1) == 1 && ch != '\n') line += ch;
  ::close(out[0]);
  FPort = std::atoi(line.c_str());
  if (FPort <= 0) Error = "the server did not start: " + line;
  return FPort > 0;
}

TPythonServer::~TPythonServer() {
  if (FPid > 0) {
    ::kill(FPid, SIGTERM);
    ::waitpid(FPid, nullptr, 0);
  }
}

bool MakeLoopbackCertificate(const std::string& folder) {
  const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
                              "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '" +
                              folder + "key.pem' -out '" + folder + "cert.pem' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool StartHttpsServer(TPythonServer& server, const std::string& folder) {
  static const char* script = R"PY(
import http.server, ssl, sys, os
folder = sys.argv[1]
class Quiet(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *a, **k):
        super().__init__(*a, directory=folder, **k)
    def log_message(self, *a):
        pass
httpd = http.server.HTTPServer(('127.0.0.1', 0), Quiet)
ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
ctx.load_cert_chain(os.path.join(folder, 'cert.pem'), os.path.join(folder, 'key.pem'))
httpd.socket = ctx.wrap_socket(httpd.socket, server_side=True)
print(httpd.server_address[1], flush=True)
httpd.serve_forever()
)PY";
  return server.Start(script, {folder});
}

bool StartFtpServer(TPythonServer& server, const std::string& folder, const std::string& commandLog,
                    const std::string& user, const std::string& password) {
  static const char* script = R"PY(
import sys, logging
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer
logging.disable(logging.CRITICAL)
folder, log = sys.argv[1], sys.argv[2]
a = DummyAuthorizer()
a.add_anonymous(folder)
if len(sys.argv) > 4:
    a.add_user(sys.argv[3], sys.argv[4], folder, perm='elr')
class Handler(FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        if cmd in ('CWD', 'XCWD', 'CDUP'):
            with open(log, 'a') as f:
                f.write(line + '\n')
        return super().pre_process_command(line, cmd, arg)
Handler.authorizer = a
s = FTPServer(('127.0.0.1', 0), Handler)
print(s.address[1], flush=True)
s.serve_forever()
)PY";
  std::vector<std::string> args = {folder, commandLog};
  if (!user.empty()) {
    args.push_back(user);
    args.push_back(password);
  }
  return server.Start(script, args);
}
