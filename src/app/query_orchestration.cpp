#include <QComboBox>

#include "app/main_window.h"
#include "app/page_control.h"
#include "app/pages/general_info_page.h"
#include "app/pages/neighbourhood_page.h"
#include "app/pages/service_page.h"
#include "app/pages/whois_info_page.h"
#include "query/findip_thread.h"
#include "query/ip_nei_thread.h"
#include "query/query_rules.h"
#include "query/serverinfo_thread.h"
#include "query/service_pane_threads.h"
#include "query/whois_thread.h"

namespace hostlore {

void Tmain::goClick(QObject* sender) {
    const QString typed = url_edit->currentText();
    // Without the store (the window is closing) there is nothing to query with.
    if (typed.isEmpty() || !settings_) {
        return;
    }
    const std::string url = NormalizedQueryUrl(typed.toStdString());
    const QString shown = QString::fromStdString(url);
    if (shown != typed) {
        url_edit->setEditText(shown);
    }
    if (url_edit->findText(shown, Qt::MatchFixedString) < 0) {
        url_edit->addItem(shown);
        url_edit->setEditText(shown);
    }
    RetireEarlierWorkers();
    generalInfo_->Clear();
    const auto handoff = Handoff();
    StartQueryWorker(
        std::make_shared<findip_thread>(handoff, url, *generalInfo_, services_.resolver));
    StartQueryWorker(std::make_shared<serverinfo_thread>(handoff, url, *generalInfo_, *NetHTTP1,
                                                         services_.clock));
    NetWhois->Host = WhoisServerHost(*settings_);
    StartQueryWorker(
        std::make_shared<whois_source_thread>(handoff, url, *servicePages_[1], *settings_));
    if (whoisInfo_->Running()) {
        whois_stopClick(sender);
    }
    auto whois = std::make_shared<whois_thread>(handoff, url, *whoisInfo_, *NetWhois);
    whoisInfo_->StartRun(whois, whois->Client());
    StartQueryWorker(std::make_shared<alexa_thread>(handoff, url, *servicePages_[0], *settings_));
    StartQueryWorker(
        std::make_shared<backward_links_thread>(handoff, url, *servicePages_[2], *settings_));
    StartQueryWorker(
        std::make_shared<similar_pages_thread>(handoff, url, *servicePages_[3], *settings_));
    if (neighbourhood_->Running()) {
        ip_nei_stopClick(sender);
    }
    neighbourhood_->StartRun(std::make_shared<ip_nei_thread>(handoff, url, *neighbourhood_,
                                                             *settings_, services_.resolver));
    cxPageControl1->setCurrentIndex(PageAfterQuery(*settings_));
}

void Tmain::url_editKeyPress(QObject* sender, QChar& key) {
    if (key == QChar('\r')) {
        goClick(sender);
    }
}

void Tmain::whois_stopClick(QObject* /*sender*/) {
    whoisInfo_->StopRun();
}

void Tmain::ip_nei_stopClick(QObject* /*sender*/) {
    neighbourhood_->StopRun();
}

void Tmain::StartQueryWorker(const std::shared_ptr<TThread>& worker) {
    queryWorkers_.push_back(worker);
    worker->Start();
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

}  // namespace hostlore
