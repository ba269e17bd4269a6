#include "query/neighbourhood/neighbour_items.h"

namespace hostlore {

std::string NamedNeighbourItem(std::string_view address, std::string_view name) {
    std::string item(address);
    item += kNeighbourSeparator;
    item += name;
    return item;
}

std::optional<std::string> NeighbourName(std::string_view item) {
    const std::size_t separator = item.find(kNeighbourSeparator);
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = item.substr(separator + kNeighbourSeparator.size());
    if (name.empty() || name == kNoNeighbourName) {
        return std::nullopt;
    }
    return std::string(name);
}

}  // namespace hostlore
