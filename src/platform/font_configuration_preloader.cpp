#include "platform/font_configuration_preloader.h"

#include <dlfcn.h>

#include <system_error>

namespace hostlore {

FontConfigurationPreloader::FontConfigurationPreloader(const char* library) {
    try {
        reader_ = std::thread([this, library] {
            // The toolkit loads the same library later and finds it loaded and
            // its configuration read.
            library_ = ::dlopen(library, RTLD_NOW | RTLD_LOCAL);
            if (library_ == nullptr) {
                return;
            }
            using Initialise = int (*)();
            if (auto initialise = reinterpret_cast<Initialise>(::dlsym(library_, "FcInit"))) {
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
    if (library_ != nullptr) {
        ::dlclose(library_);
    }
}

}  // namespace hostlore
