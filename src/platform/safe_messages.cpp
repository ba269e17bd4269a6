#include "platform/safe_messages.h"

#include <QString>
#include <QtGlobal>
#include <cstdio>

#include "platform/terminal_text.h"

namespace hostlore {

namespace {

void WriteSafely(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const std::string line =
        TerminalSafeText(qFormatLogMessage(type, context, message).toStdString()) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

void WriteToolkitMessagesSafely() {
    qInstallMessageHandler(WriteSafely);
}

}  // namespace hostlore
