#pragma once

#include <thread>

namespace hostlore {

// Reads the system's font configuration on a thread of its own. The toolkit
// reads it at the first text it measures, about 6 ms in the middle of building
// the window; begun before the window module loads, the read runs beside that
// load instead. It must end before the toolkit starts: that sets the locale and
// the environment the read looks at. Where the library or a thread is missing,
// the toolkit reads the configuration itself, as it would have.
class FontConfigurationPreloader {
  public:
    FontConfigurationPreloader();
    // Waits for the read.
    ~FontConfigurationPreloader();
    FontConfigurationPreloader(const FontConfigurationPreloader&) = delete;
    FontConfigurationPreloader& operator=(const FontConfigurationPreloader&) = delete;

  private:
    std::thread reader_;
};

}  // namespace hostlore
