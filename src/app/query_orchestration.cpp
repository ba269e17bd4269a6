#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/main_window.h"
#include "app/page_control.h"
#include "query/findip_thread.h"
#include "query/query_rules.h"
#include "query/serverinfo_thread.h"
#include "query/whois_thread.h"

namespace hostlore {

namespace {

const QString kWorking =
    QString::fromLatin1(kStatusWorking.data(), static_cast<int>(kStatusWorking.size()));
const QString kDone = QString::fromLatin1(kStatusDone.data(), static_cast<int>(kStatusDone.size()));

// Stops the running worker of a stoppable page: its connection, if any, is
// closed, and it is cut off the window at once, so it changes nothing more and
// its end-of-run handler never runs.
void StopWorker(QLabel* status, const std::weak_ptr<TThread>& current,
                const std::weak_ptr<TNetTCPConnection>& connection) {
    if (status->text() != kWorking) {
        return;
    }
    try {
        if (const auto open = connection.lock(); open && open->IsConnected()) {
            open->CloseConnection();
        }
        if (const auto worker = current.lock()) {
            worker->Terminate();
        }
        status->setText(kDone);
    } catch (...) {
        // A failure while stopping is of no interest to the user.
    }
}

}  // namespace

void Tmain::goClick(QObject* sender) {
    const QString typed = url_edit->currentText();
    if (typed.isEmpty()) {
        return;
    }
    const QString url = QString::fromStdString(NormalizedQueryUrl(typed.toStdString()));
    if (url != typed) {
        url_edit->setEditText(url);
    }
    if (url_edit->findText(url, Qt::MatchFixedString) < 0) {
        url_edit->addItem(url);
        url_edit->setEditText(url);
    }
    RetireEarlierWorkers();
    ClearGeneralInfo();
    StartQueryWorker(std::make_shared<findip_thread>(*this, services_.resolver));
    StartQueryWorker(std::make_shared<serverinfo_thread>(*this, *NetHTTP1, services_.clock));
    if (settings_) {
        NetWhois->Host = WhoisServerHost(*settings_);
    }
    if (Label5->text() == kWorking) {
        whois_stopClick(sender);
    }
    auto whois = std::make_shared<whois_thread>(*this, *NetWhois);
    whoisConnection_ = whois->Client();
    StartWhoisWorker(whois);

    if (Label11->text() == kWorking) {
        ip_nei_stopClick(sender);
    }
    if (settings_) {
        cxPageControl1->setCurrentIndex(PageAfterQuery(*settings_));
    }
}

void Tmain::url_editKeyPress(QObject* sender, QChar& key) {
    if (key == QChar('\r')) {
        goClick(sender);
    }
}

void Tmain::whois_stopClick(QObject* /*sender*/) {
    StopWorker(Label5, whoisWorker_, whoisConnection_);
}

void Tmain::ip_nei_stopClick(QObject* /*sender*/) {
    StopWorker(Label11, neighbourWorker_, {});
}

void Tmain::whois_button_active(TThread& /*sender*/) {
    Label5->setText(kDone);
}

void Tmain::ip_nei_button_active(TThread& /*sender*/) {
    Label11->setText(kDone);
}

void Tmain::StartQueryWorker(const std::shared_ptr<TThread>& worker) {
    queryWorkers_.push_back(worker);
    worker->Start();
}

void Tmain::StartWhoisWorker(const std::shared_ptr<TThread>& worker) {
    whoisWorker_ = worker;
    worker->OnTerminate = [this](TThread& sender) { whois_button_active(sender); };
    worker->Start();
    Label5->setText(kWorking);
}

void Tmain::StartNeighbourWorker(const std::shared_ptr<TThread>& worker) {
    neighbourWorker_ = worker;
    worker->OnTerminate = [this](TThread& sender) { ip_nei_button_active(sender); };
    worker->Start();
    Label11->setText(kWorking);
}

void Tmain::RetireEarlierWorkers() {
    // What an earlier query's workers still have to say belongs to another URL.
    for (const auto& earlier : queryWorkers_) {
        if (const auto worker = earlier.lock()) {
            worker->Terminate();
        }
    }
    queryWorkers_.clear();
}

void Tmain::ClearGeneralInfo() {
    Memo1->clear();
    for (QLineEdit* field : {Edit1, Edit2, Edit3, Edit4, Edit5}) {
        field->setText(QString());
    }
}

}  // namespace hostlore
