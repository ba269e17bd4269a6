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
    // Watches the text fields `holder` (the window, or a page made later)
    // holds now.
    explicit SelectionCutKey(QWidget& holder);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace hostlore
