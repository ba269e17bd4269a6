#pragma once

#include <thread>

namespace hostlore {

// Reads the system's font configuration on a thread of its own. The toolkit
// reads it at the first text it measures, about 6 ms in the middle of building
// the window; begun before the window module loads, the read runs beside that
// load instead. Where the library or a thread is missing, the toolkit reads the
// configuration itself, as it would have.
class FontConfigurationPreloader {
  public:
    explicit FontConfigurationPreloader(const char* library = "libfontconfig.so.1");
    ~FontConfigurationPreloader();
    FontConfigurationPreloader(const FontConfigurationPreloader&) = delete;
    FontConfigurationPreloader& operator=(const FontConfigurationPreloader&) = delete;

  private:
    // Set by the reader; read only once it has been joined.
    void* library_ = nullptr;
    std::thread reader_;
};

}  // namespace hostlore
