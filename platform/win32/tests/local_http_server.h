// A tiny HTTP server on 127.0.0.1 for the browser tests: answers every GET with a small page
// and remembers the requested paths.
#pragma once

#include <winsock2.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pelmora::platform::win32::testing {

class LocalHttpServer {
 public:
  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  bool Running() const { return listener_ != INVALID_SOCKET; }
  // "http://127.0.0.1:<port>" + path
  std::string Address(const std::string& path) const;
  std::size_t GetsOf(const std::string& path) const;

 private:
  void Serve();

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> paths_;
  std::thread thread_;
};

}  // namespace pelmora::platform::win32::testing
