#include "app/selection_cut_key.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace hostlore {

namespace {

bool HasSelectedText(QObject* field) {
    // An editable combo box takes the keys for its line edit.
    if (const auto* box = qobject_cast<QComboBox*>(field)) {
        field = box->lineEdit();
    }
    if (const auto* line = qobject_cast<QLineEdit*>(field)) {
        return line->hasSelectedText();
    }
    if (const auto* text = qobject_cast<QPlainTextEdit*>(field)) {
        return text->textCursor().hasSelection();
    }
    return false;
}

}  // namespace

SelectionCutKey::SelectionCutKey(QWidget& holder) : QObject(&holder) {
    for (QComboBox* box : holder.findChildren<QComboBox*>()) {
        if (box->isEditable()) {
            box->installEventFilter(this);
        }
    }
    for (QLineEdit* line : holder.findChildren<QLineEdit*>()) {
        line->installEventFilter(this);
    }
    for (QPlainTextEdit* text : holder.findChildren<QPlainTextEdit*>()) {
        text->installEventFilter(this);
    }
}

bool SelectionCutKey::eventFilter(QObject* watched, QEvent* event) {
    // An accepted override sends the key to the field instead of the menu.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cut)) {
        event->setAccepted(HasSelectedText(watched));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace hostlore
