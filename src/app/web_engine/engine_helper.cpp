#include "app/web_engine/engine_helper.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>

namespace hostlore {

namespace {

const QString kHelperName = QStringLiteral("QtWebEngineProcess");

// The places the engine tries, in its order: only the one the environment
// names, when it names one.
QStringList HelperCandidates() {
    const QString named = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (!named.isEmpty()) {
        return {named};
    }
    return {QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + '/' + kHelperName,
            QCoreApplication::applicationDirPath() + '/' + kHelperName};
}

// An empty or damaged file passes the engine's own check and then fails in
// every page; a program starts with one of these.
bool StartsLikeAProgram(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray start = file.read(4);
    return start ==
               "\x7f"
               "ELF" ||
           start.startsWith("#!");
}

}  // namespace

std::optional<QString> EngineHelperProblem() {
    const QStringList candidates = HelperCandidates();
    for (const QString& path : candidates) {
        const QFileInfo helper(path);
        if (!helper.exists()) {
            continue;
        }
        if (!helper.isFile() || !helper.isExecutable()) {
            return QStringLiteral("its helper program %1 cannot be started").arg(path);
        }
        if (!StartsLikeAProgram(path)) {
            return QStringLiteral("its helper program %1 is damaged").arg(path);
        }
        return std::nullopt;
    }
    return QStringLiteral("its helper program %1 is missing").arg(candidates.join(" or "));
}

}  // namespace hostlore
