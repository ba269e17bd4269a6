#include "app/url_box_keys.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>

namespace hostlore {

UrlBoxKeys::UrlBoxKeys(QComboBox& box, std::function<void()> onEnter)
    : QObject(&box), onEnter_(std::move(onEnter)) {
    box.installEventFilter(this);
    box.lineEdit()->installEventFilter(this);
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_L), QKeySequence(Qt::Key_F6),
                                     QKeySequence(Qt::ALT | Qt::Key_D)}) {
        auto* shortcut = new QShortcut(keys, box.window());
        connect(shortcut, &QShortcut::activated, this, [&box] {
            box.setFocus(Qt::ShortcutFocusReason);
            box.lineEdit()->selectAll();
        });
    }
}

bool UrlBoxKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onEnter_();
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace hostlore
