#pragma once

#include <functional>
#include <string>
#include <thread>

namespace hostlore::pictures {

// A TCP server for the pictures' private network: for each connection it reads
// the request up to `requestEnd`, sends what `reply` makes of it and closes.
class DemoServer {
  public:
    using Reply = std::function<std::string(const std::string& request)>;
    DemoServer(const std::string& address, int port, std::string requestEnd, Reply reply);
    ~DemoServer();
    DemoServer(const DemoServer&) = delete;
    DemoServer& operator=(const DemoServer&) = delete;

  private:
    void Serve();

    int listener_ = -1;
    std::string requestEnd_;
    Reply reply_;
    std::thread thread_;
};

}  // namespace hostlore::pictures
