#pragma once

#include <memory>

#include "platform/resolver.h"

namespace hostlore::test {

// Reverse look-ups for a fake resolver that answers one look-up per call:
// every batch shares one fixed pool of threads. Dropping a batch
// forgets its queued look-ups and waits for those under way, since a blocking
// call cannot be interrupted.
std::unique_ptr<ReverseLookups> PooledReverseLookups(Resolver& resolver);

}  // namespace hostlore::test
