#pragma once

#include <QWidget>
#include <array>

#include "app/pages/web_pane.h"
#include "query/page_views.h"

class QLabel;
class QToolButton;

namespace hostlore {

// The names one service page gives its controls.
struct ServicePageNames {
    const char* caption;
    const char* pane;
    std::array<const char*, 4> buttons;  // Back, Forward, Stop, Refresh
};

// A page of an outside web service: its caption, a browser pane and the
// pane's Back, Forward, Stop and Refresh buttons.
class ServicePage : public QWidget, public ServicePaneView {
    Q_OBJECT

  public:
    // The page takes `pane` as its child.
    ServicePage(const QString& pageName, const ServicePageNames& names, WebPane* pane,
                QWidget* parent = nullptr);

    void SetCaption(const QString& text);
    void Navigate(const std::string& url) override;

  private:
    void OnPane(void (WebPane::*operation)());

    QLabel* caption_;
    WebPane* pane_;
};

}  // namespace hostlore
