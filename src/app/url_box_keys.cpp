#include "app/url_box_keys.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace hostlore {

UrlBoxKeys::UrlBoxKeys(QComboBox& box, std::function<void()> onEnter)
    : QObject(&box), onEnter_(std::move(onEnter)) {
    box.installEventFilter(this);
    box.lineEdit()->installEventFilter(this);
}

bool UrlBoxKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cut)) {
        event->ignore();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onEnter_();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace hostlore
