#include "query/report/in_order_results.h"

namespace hostlore {

void InOrderResults::Add(std::size_t number, std::string result) {
    held_.emplace(number, std::move(result));
    for (auto first = held_.begin(); first != held_.end() && first->first == next_;
         first = held_.begin()) {
        const std::string ready = std::move(first->second);
        held_.erase(first);
        ++next_;
        write_(ready);
    }
}

}  // namespace hostlore
