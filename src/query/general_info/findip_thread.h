#pragma once

// query/general_info/: the two workers of General Info (addresses and region, the web server's HEAD
// request); may include query/, query/thread/, net/, platform/ and region/.

#include <memory>
#include <string>

#include "platform/resolver.h"
#include "query/page_views.h"
#include "query/thread/tthread.h"

namespace hostlore {

// Fills the upper half of General Info: the host's addresses, the region of
// the first one and the host's official name.
class findip_thread : public TThread {
  public:
    findip_thread(std::shared_ptr<UiHandoff> handoff, std::string url, GeneralInfoView& page,
                  std::shared_ptr<Resolver> resolver);

  protected:
    void Execute() override;

  private:
    const std::string url_;
    GeneralInfoView& page_;
    std::shared_ptr<Resolver> resolver_;
};

}  // namespace hostlore
