#include "app/pages/stoppable_run.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

#include "app/pages/page_widgets.h"
#include "net/tcp_connection.h"
#include "query/query_rules.h"
#include "query/tthread.h"

namespace hostlore {

namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

StoppableRun::StoppableRun(const char* stopName, const QString& stopHint, const char* statusName,
                           QWidget* parent)
    : QWidget(parent),
      stop_(ToolButton(stopName, stopHint, DrawnIcon::Stop)),
      status_(PlainLabel(statusName, QStringLiteral("Status:"))) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(stop_);
    row->addWidget(Caption(QStringLiteral("Status:"), status_));
    row->addWidget(status_, 1);
    connect(stop_, &QToolButton::clicked, this, &StoppableRun::Stop);
}

void StoppableRun::Start(const std::shared_ptr<TThread>& worker,
                         std::weak_ptr<TNetTCPConnection> connection) {
    worker_ = worker;
    connection_ = std::move(connection);
    worker->OnTerminate = [this](TThread& /*sender*/) { Finished(); };
    worker->Start();
    SetAnnouncedText(status_, Latin1(kStatusWorking));
}

bool StoppableRun::Running() const {
    return status_->text() == Latin1(kStatusWorking);
}

void StoppableRun::Stop() {
    if (!Running()) {
        return;
    }
    try {
        if (const auto open = connection_.lock(); open && open->IsConnected()) {
            open->CloseConnection();
        }
        if (const auto worker = worker_.lock()) {
            worker->Terminate();
        }
        SetAnnouncedText(status_, Latin1(kStatusDone));
    } catch (...) {
        // A failure while stopping is of no interest to the user.
    }
}

void StoppableRun::Finished() {
    SetAnnouncedText(status_, Latin1(kStatusDone));
}

}  // namespace hostlore
