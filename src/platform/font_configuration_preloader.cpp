#include "platform/font_configuration_preloader.h"

#include <dlfcn.h>

#include <system_error>

namespace hostlore {

FontConfigurationPreloader::FontConfigurationPreloader() {
    try {
        reader_ = std::thread([] {
            // Never closed: the toolkit loads the same library and keeps it for
            // the whole run, and finds its configuration read.
            void* library = ::dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
            if (library == nullptr) {
                return;
            }
            using Initialise = int (*)();
            if (auto initialise = reinterpret_cast<Initialise>(::dlsym(library, "FcInit"))) {
                initialise();
            }
        });
    } catch (const std::system_error&) {
        // Without a thread the toolkit reads it, only later.
    }
}

FontConfigurationPreloader::~FontConfigurationPreloader() {
    if (reader_.joinable()) {
        reader_.join();
    }
}

}  // namespace hostlore
