#include "app/pages/page_widgets.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

namespace hostlore {

namespace {

const QColor kTeal(0, 128, 128);
const QColor kLightTeal(77, 208, 208);

// A tool button that Enter presses too, as keyboard users expect of a
// focused button.
class EnterToolButton : public QToolButton {
  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            animateClick();
            event->accept();
            return;
        }
        QToolButton::keyPressEvent(event);
    }
};

}  // namespace

QFont ArialFont(int pointSize, bool bold) {
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

void UseTealText(QWidget* widget) {
    QPalette palette = widget->palette();
    // Dark themes get a lighter teal, so the results stay easy to read.
    const QColor teal = palette.color(QPalette::Base).lightnessF() < 0.5 ? kLightTeal : kTeal;
    palette.setColor(QPalette::Text, teal);
    palette.setColor(QPalette::WindowText, teal);
    widget->setPalette(palette);
}

QLabel* Caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    if (buddy != nullptr) {
        label->setBuddy(buddy);
    }
    return label;
}

QLabel* PlainLabel(const char* name, const QString& accessibleName) {
    auto* label = new QLabel(QStringLiteral(" "));
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(accessibleName);
    return label;
}

void SetAnnouncedText(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleDescription(text);
    QAccessibleEvent changed(label, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

QLineEdit* ResultField(const char* name, const QString& caption, const QFont& font) {
    auto* field = new QLineEdit;
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFont(font);
    field->setAccessibleName(caption);
    UseTealText(field);
    return field;
}

QPlainTextEdit* TextArea(const char* name, const QString& caption) {
    auto* area = new QPlainTextEdit;
    area->setObjectName(QString::fromLatin1(name));
    area->setReadOnly(true);
    // Read-only, yet with a caret the keyboard moves, so screen readers can
    // read the text line by line.
    area->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    area->setAccessibleName(caption);
    area->setLineWrapMode(QPlainTextEdit::NoWrap);
    return area;
}

QToolButton* ToolButton(const char* name, const QString& hint, QStyle::StandardPixmap picture) {
    auto* button = new EnterToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(button->style()->standardIcon(picture));
    button->setAutoRaise(true);
    return button;
}

}  // namespace hostlore
