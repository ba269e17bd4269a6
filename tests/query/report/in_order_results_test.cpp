#include "query/report/in_order_results.h"

#include <gtest/gtest.h>

#include <vector>

namespace hostlore {
namespace {

TEST(InOrderResults, EachIsWrittenOnceItAndAllBeforeItAreThere) {
    using Written = std::vector<std::vector<std::string>>;
    const struct {
        std::vector<std::size_t> arrivals;
        Written writtenAfterEach;
        std::size_t heldAtEnd;
    } cases[] = {
        {{0, 1, 2}, {{"0"}, {"1"}, {"2"}}, 0},
        {{2, 1, 0}, {{}, {}, {"0", "1", "2"}}, 0},
        {{1, 0, 3, 2}, {{}, {"0", "1"}, {}, {"2", "3"}}, 0},
        {{0, 2, 3}, {{"0"}, {}, {}}, 2},
    };
    for (const auto& c : cases) {
        std::vector<std::string> written;
        InOrderResults results([&](const std::string& result) { written.push_back(result); });
        Written afterEach;
        for (const std::size_t number : c.arrivals) {
            written.clear();
            results.Add(number, std::to_string(number));
            afterEach.push_back(written);
        }
        EXPECT_EQ(afterEach, c.writtenAfterEach) << c.arrivals.size();
        EXPECT_EQ(results.Held(), c.heldAtEnd);
        EXPECT_EQ(results.Written() + results.Held(), c.arrivals.size());
    }
}

}  // namespace
}  // namespace hostlore
