#include <QComboBox>

#include "app/main_window.h"
#include "app/page_control.h"
#include "app/url_box.h"
#include "platform/text_trim.h"
#include "query/query_rules.h"

namespace hostlore {

void Tmain::goClick(QObject* /*sender*/) {
    const QString typed = url_edit->currentText();
    // Without the store (the window is closing) there is nothing to query with.
    if (TrimControls(typed.toStdString()).empty() || !settings_) {
        return;
    }
    const std::string url = NormalizedQueryUrl(typed.toStdString());
    ShowQueriedUrl(*url_edit, QString::fromStdString(url));
    StartQuery(url);
    cxPageControl1->setCurrentIndex(PageAfterQuery(*settings_));
}

void Tmain::url_editKeyPress(QObject* sender, QChar& key) {
    if (key == QChar('\r')) {
        goClick(sender);
    }
}

void Tmain::whois_stopClick(QObject* /*sender*/) {
    if (run_) {
        run_->StopWhois();
    }
}

void Tmain::ip_nei_stopClick(QObject* /*sender*/) {
    if (run_) {
        run_->StopScan();
    }
}

}  // namespace hostlore
