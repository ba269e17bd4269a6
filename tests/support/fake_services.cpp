#include "support/fake_services.h"

namespace hostlore::test {

void RecordingMessageBoxes::ShowOk(QWidget* /*owner*/, const QString& text, const QString& caption,
                                   BoxIcon icon) {
    shown.push_back({text, caption, icon});
}

MainServices FakeProgram::Services() const {
    MainServices services;
    services.programDirectory = folder.Path();
    services.executable = folder.File("hostlore");
    services.messageBoxes = boxes;
    services.shell = shell;
    services.resolver = resolver;
    services.clock = clock;
    return services;
}

}  // namespace hostlore::test
