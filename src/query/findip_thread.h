#pragma once

#include <memory>

#include "platform/resolver.h"
#include "query/tthread.h"

namespace hostlore {

class Tmain;

// Fills the upper half of General Info: the host's addresses, the region of
// the first one and the host's official name.
class findip_thread : public TThread {
  public:
    findip_thread(Tmain& window, std::shared_ptr<Resolver> resolver);

  protected:
    void Execute() override;

  private:
    Tmain& window_;
    std::shared_ptr<Resolver> resolver_;
};

}  // namespace hostlore
