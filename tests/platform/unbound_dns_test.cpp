#include "platform/unbound_dns.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dns/test_dns.h"
#include "query/dns_records/dns_message.h"
#include "support/process_counts.h"
#include "support/temporary_folder.h"

namespace hostlore {
namespace {

constexpr std::uint16_t kTypeA = 1;

// Batches of validated questions against the test namespace's name servers.
class UnboundDnsTest : public test::TestDns {
  protected:
    void SetUp() override {
        test::TestDns::SetUp();
        // One attempt of a second: a question the name servers never answer
        // times out soon.
        folder.Write("resolv.conf", "nameserver 127.0.0.1\noptions timeout:1 attempts:1\n");
    }

    std::unique_ptr<DnsQuestions> Open() {
        return dns.NewQuestions(qgetenv("HOSTLORE_TEST_TRUST_ANCHOR").toStdString());
    }

    // Asks `name` and waits for its reply, for at most five seconds.
    static DnsReply AskAndWait(DnsQuestions& questions, const std::string& name) {
        std::optional<DnsReply> got;
        questions.Ask(name, kTypeA, [&](DnsReply reply) { got = std::move(reply); });
        for (int i = 0; i < 500 && !got; ++i) {
            questions.Wait(10);
        }
        return got.value_or(DnsReply{});
    }

    test::TemporaryFolder folder;
    UnboundDnsService dns{NameServerFiles{folder.File("resolv.conf"), {}}};
};

TEST_F(UnboundDnsTest, BatchesOpenAtOnceShareOneLibraryThreadAndEachGetsItsOwnAnswers) {
    // The first batch loads the library for good.
    AskAndWait(*Open(), "first.batch");
    const test::ProcessCounts before;
    std::vector<std::unique_ptr<DnsQuestions>> batches;
    std::vector<std::optional<DnsReply>> replies(8);
    for (std::size_t i = 0; i < replies.size(); ++i) {
        batches.push_back(Open());
        batches.back()->Ask("site" + std::to_string(i) + ".batch", kTypeA,
                            [&replies, i](DnsReply reply) { replies[i] = std::move(reply); });
    }
    EXPECT_EQ(test::ThreadCount(), before.threads + 1);
    // Each batch reads what arrives for all of them, and keeps its own.
    for (int round = 0; round < 500; ++round) {
        for (auto& batch : batches) {
            batch->Wait(1);
        }
    }
    for (std::size_t i = 0; i < replies.size(); ++i) {
        ASSERT_TRUE(replies[i]) << i;
        const auto message = ParseDnsMessage(replies[i]->packet);
        ASSERT_TRUE(message && !message->answers.empty()) << i;
        EXPECT_EQ(message->answers.front().name, "site" + std::to_string(i) + ".batch");
    }
    batches.clear();
    EXPECT_TRUE(test::BackWithin(before, 100 * HOSTLORE_TEST_TIME_SCALE));
}

TEST_F(UnboundDnsTest, ABatchThatGaveUpOnAQuestionLeavesLaterBatchesANewContext) {
    AskAndWait(*Open(), "first.batch");
    const test::ProcessCounts before;
    const auto gaveUp = Open();
    ASSERT_EQ(AskAndWait(*gaveUp, "www.silent.example").outcome, DnsReply::Outcome::TimedOut);
    // The batch that gave up still holds its context; a new batch gets another.
    const auto later = Open();
    EXPECT_EQ(AskAndWait(*later, "later.batch").outcome, DnsReply::Outcome::Answered);
    EXPECT_EQ(test::ThreadCount(), before.threads + 2);
}

}  // namespace
}  // namespace hostlore
