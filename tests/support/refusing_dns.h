#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/dns_questions.h"

namespace hostlore::test {

// Name servers that refuse every question at once, for the tests of pages
// other than DNS Records: they ask nothing of the network.
class RefusingDns : public DnsService {
  public:
    std::unique_ptr<DnsQuestions> NewQuestions(const std::filesystem::path& /*anchor*/) override {
        ++batches;
        return std::make_unique<Questions>();
    }
    std::atomic<int> batches{0};

  private:
    class Questions : public DnsQuestions {
      public:
        void Ask(const std::string& /*name*/, std::uint16_t /*type*/, Answer answer) override {
            answers_.push_back(std::move(answer));
        }
        void Wait(int /*milliseconds*/) override {
            for (auto& answer : std::exchange(answers_, {})) {
                DnsReply refused;
                refused.outcome = DnsReply::Outcome::Answered;
                refused.rcode = 5;
                answer(std::move(refused));
            }
        }

      private:
        std::vector<Answer> answers_;
    };
};

}  // namespace hostlore::test
