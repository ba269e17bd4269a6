// Qt's raster engine and image conversions split large jobs over a thread pool
// that Qt synchronises with futexes, which ThreadSanitizer cannot see. In the
// widget tests those pieces run on the calling thread instead, so the only
// threads the checker watches are the program's own. The test executable
// exports this definition, which takes the place of Qt's own.

#include <QThreadPool>

void QThreadPool::start(std::function<void()> functionToRun, int /*priority*/) {
    if (functionToRun) {
        functionToRun();
    }
}
