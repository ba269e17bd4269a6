#pragma once

#include <QObject>

class QWidget;

namespace hostlore {

// Ctrl+X is the window's exit key, but a text field with selected text keeps
// it and cuts, as in every desktop program; a read-only field leaves its
// selection as it is.
class SelectionCutKey : public QObject {
    Q_OBJECT

  public:
    // Watches the text fields the window holds now.
    explicit SelectionCutKey(QWidget& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace hostlore
