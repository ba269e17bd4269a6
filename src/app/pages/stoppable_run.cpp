#include "app/pages/stoppable_run.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "app/pages/page_widgets.h"
#include "query/query_rules.h"

namespace hostlore {

namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

StoppableRun::StoppableRun(const char* stopName, const QString& stopHint, const char* statusName,
                           std::function<void()> stop, QWidget* parent)
    : QWidget(parent),
      stop_(ToolButton(stopName, stopHint, DrawnIcon::Stop)),
      status_(PlainLabel(statusName, QStringLiteral("Status:"))) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(stop_);
    row->addWidget(Caption(QStringLiteral("Status:"), status_));
    row->addWidget(status_, 1);
    connect(stop_, &QToolButton::clicked, this, std::move(stop));
}

void StoppableRun::ShowRunning() {
    SetAnnouncedText(status_, Latin1(kStatusWorking));
}

void StoppableRun::ShowDone() {
    SetAnnouncedText(status_, Latin1(kStatusDone));
}

void StoppableRun::ShowStopped() {
    ShowDone();
}

void StoppableRun::ShowFailed(const std::string& reason) {
    SetAnnouncedText(status_, QString::fromStdString(FailedStatusText(reason)));
}

}  // namespace hostlore
