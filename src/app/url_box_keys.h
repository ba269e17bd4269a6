#pragma once

#include <QObject>
#include <functional>

class QComboBox;

namespace hostlore {

// The keys of the URL box that the window handles itself: Enter runs the
// query; the box passes keys to its line edit directly, so both are watched.
// Ctrl+L, F6 and Alt+D take the focus to the box with its text selected, as
// in web browsers.
class UrlBoxKeys : public QObject {
    Q_OBJECT

  public:
    UrlBoxKeys(QComboBox& box, std::function<void()> onEnter);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> onEnter_;
};

}  // namespace hostlore
