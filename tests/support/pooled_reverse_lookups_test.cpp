#include "support/pooled_reverse_lookups.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "support/gate.h"

namespace hostlore {
namespace {

// Answers reverse look-ups one per call, each once the gate is open.
class GatedResolver : public Resolver {
  public:
    HostLookup LookupName(const std::string&) override { return {std::nullopt, 11001}; }
    std::unique_ptr<ReverseLookups> NewReverseLookups() override {
        return test::PooledReverseLookups(*this);
    }
    HostLookup LookupAddress(const Ipv4Address& address) override {
        ++asked;
        gate.Wait();
        return {HostEntry{DottedAddress(address), {address}}, 0};
    }
    test::Gate gate;
    std::atomic<int> asked{0};
};

TEST(PooledReverseLookups, ADroppedBatchAsksNothingMoreAndAnswersNothingAfterTheDrop) {
    GatedResolver resolver;
    std::atomic<int> answered{0};
    auto batch = test::PooledReverseLookups(resolver);
    for (int last = 0; last < 100; ++last) {
        batch->Start({192, 0, 2, static_cast<std::uint8_t>(last)}, [&](auto) { ++answered; });
    }
    while (resolver.asked == 0) {
        std::this_thread::yield();
    }
    // The drop waits for the look-ups under way, which wait for the gate.
    auto dropped = std::async(std::launch::async, [&] { batch.reset(); });
    EXPECT_EQ(dropped.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    resolver.gate.Open();
    dropped.get();
    const int asked = resolver.asked;
    const int answers = answered;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_LT(asked, 100);
    EXPECT_EQ(resolver.asked, asked);
    EXPECT_EQ(answered, answers);
}

}  // namespace
}  // namespace hostlore
