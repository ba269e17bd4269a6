#pragma once

#include <QStringList>

#include "app/pages/web_pane.h"

namespace hostlore::test {

// A browser pane that records each operation it is asked for and keeps a
// history like a real one: going back or forward with nowhere to go fails,
// as the embedded browser's operations may.
class RecordingWebPane : public WebPane {
    Q_OBJECT

  public:
    void Navigate(const QString& url) override;
    void Back() override;
    void Forward() override;
    void Stop() override;
    void Reload() override;

    // The page shown, or empty before the first navigation.
    QString CurrentUrl() const;

    QStringList calls;

  private:
    QStringList history_;
    qsizetype position_ = -1;
};

}  // namespace hostlore::test
