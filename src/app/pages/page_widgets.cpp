#include "app/pages/page_widgets.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>
#include <QtMath>

#include "app/font_scale.h"
#include "app/palette_text.h"

namespace hostlore {

namespace {

// A deep teal: thin smoothed strokes show lighter than their colour, and must
// still reach 4.5:1 on white.
const QColor kTeal(0, 112, 112);
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
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize * FontScale());
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

void UseTealText(QWidget* widget) {
    // Dark themes get a lighter teal, so the results stay easy to read.
    FollowBackground(widget, QPalette::Base, kTeal, kLightTeal,
                     {QPalette::Text, QPalette::WindowText});
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

void AppendLines(QPlainTextEdit& area, const QString& lines) {
    QScrollBar* down = area.verticalScrollBar();
    QScrollBar* across = area.horizontalScrollBar();
    const bool atStart = down->value() == 0 && across->value() == 0 && area.textCursor().atStart();
    area.appendPlainText(lines);
    if (atStart) {
        // The caret moved with the text, and a hidden area scrolls to it when shown.
        area.moveCursor(QTextCursor::Start);
        down->setValue(0);
        across->setValue(0);
    }
}

QPlainTextEdit* WrappingResultField(const char* name, const QString& caption, int lines) {
    QPlainTextEdit* field = TextArea(name, caption);
    field->setFont(ArialFont());
    field->setFrameShape(QFrame::NoFrame);
    field->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    field->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    const QMargins margins = field->contentsMargins();
    // The area counts its last line as shown only with a pixel to spare.
    const int textHeight = field->fontMetrics().lineSpacing() * lines +
                           2 * qCeil(field->document()->documentMargin()) + 1;
    field->setFixedHeight(textHeight + margins.top() + margins.bottom());
    UseTealText(field);
    return field;
}

QToolButton* ToolButton(const char* name, const QString& hint, DrawnIcon picture) {
    auto* button = new EnterToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(MakeDrawnIcon(picture));
    const int side = qRound(button->iconSize().width() * GrowthScale());
    button->setIconSize(QSize(side, side));
    button->setAutoRaise(true);
    return button;
}

}  // namespace hostlore
