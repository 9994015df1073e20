#include "platform/win32/tests/local_http_server.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace pelmora::platform::win32::testing {

LocalHttpServer::LocalHttpServer() {
  WSADATA data{};
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener_ == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof address;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 8) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    closesocket(listener_);
    listener_ = INVALID_SOCKET;
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  if (listener_ != INVALID_SOCKET) {
    closesocket(listener_);  // ends the blocking accept
  }
  if (thread_.joinable()) thread_.join();
  WSACleanup();
}

std::string LocalHttpServer::Address(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::size_t LocalHttpServer::GetsOf(const std::string& path) const {
  std::lock_guard lock(mutex_);
  return static_cast<std::size_t>(std::count(paths_.begin(), paths_.end(), path));
}

void LocalHttpServer::Serve() {
  for (;;) {
    const SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      request.append(buffer, static_cast<std::size_t>(got));
    }
    if (request.rfind("GET ", 0) == 0) {
      const std::size_t end = request.find(' ', 4);
      std::lock_guard lock(mutex_);
      paths_.push_back(request.substr(4, end - 4));
    }
    const std::string body = "<html><head><title>page</title></head><body>page</body></html>";
    const std::string response =
        "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
        std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    send(client, response.data(), static_cast<int>(response.size()), 0);
    shutdown(client, SD_SEND);
    closesocket(client);
  }
}

}  // namespace pelmora::platform::win32::testing
