#include "platform/processor_choice.h"

#include <sched.h>

namespace hostlore {

int CurrentProcessor() {
    return ::sched_getcpu();
}

void KeepOffProcessor(int processor) {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (processor < 0 || processor >= CPU_SETSIZE ||
        ::sched_getaffinity(0, sizeof(allowed), &allowed) != 0 || !CPU_ISSET(processor, &allowed) ||
        CPU_COUNT(&allowed) < 2) {
        return;
    }
    CPU_CLR(processor, &allowed);
    ::sched_setaffinity(0, sizeof(allowed), &allowed);
}

}  // namespace hostlore
