#pragma once

#include <QString>

class QWidget;

namespace hostlore {

enum class BoxIcon { None, Information, Warning, Error };

// Modal message boxes with a single OK button. Tests answer them through a
// replacement; the program shows them with Qt.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Returns when the user has closed the box. The text is shown as plain text.
    virtual void ShowOk(QWidget* owner, const QString& text, const QString& caption,
                        BoxIcon icon) = 0;
};

// A failure that escapes an event handler: an error box titled with the
// application's title, the message ending in a full stop.
void ShowErrorBox(MessageBoxes& boxes, QWidget* owner, const QString& applicationTitle,
                  QString message);

class QtMessageBoxes : public MessageBoxes {
  public:
    void ShowOk(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon) override;
};

}  // namespace hostlore
