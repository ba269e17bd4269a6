#include "platform/message_boxes.h"

#include <QMessageBox>

namespace hostlore {

namespace {

QMessageBox::Icon QtIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::Warning:
            return QMessageBox::Warning;
        case BoxIcon::Error:
            return QMessageBox::Critical;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void ShowErrorBox(MessageBoxes& boxes, QWidget* owner, const QString& applicationTitle,
                  QString message) {
    if (!message.endsWith('.')) {
        message += '.';
    }
    boxes.ShowOk(owner, message, applicationTitle, BoxIcon::Error);
}

void QtMessageBoxes::ShowOk(QWidget* owner, const QString& text, const QString& caption,
                            BoxIcon icon) {
    QMessageBox box(QtIcon(icon), caption, text, QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace hostlore
