#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/resolver.h"
#include "support/gate.h"

namespace hostlore::test {

// A resolver that knows the hosts a test gives it, and nothing else. A test can
// hold every look-up at a gate to stand for a slow name server.
class FakeResolver : public Resolver {
  public:
    void Add(const std::string& name, HostEntry entry);
    void HoldLookupsAt(std::shared_ptr<Gate> gate);

    HostLookup LookupName(const std::string& name) override;
    HostLookup LookupAddress(const Ipv4Address& address) override;
    // Answered by LookupAddress on a pool of threads.
    std::unique_ptr<ReverseLookups> NewReverseLookups() override;

    std::vector<std::string> AskedNames() const;

  private:
    mutable std::mutex mutex_;
    std::map<std::string, HostEntry> hosts_;
    std::vector<std::string> asked_;
    std::shared_ptr<Gate> gate_;
};

}  // namespace hostlore::test
