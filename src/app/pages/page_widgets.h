#pragma once

// app/pages/: one widget class per page, each a view of query/page_views.h; may include the core
// and app/'s icons, pictures, fonts and palette, never the window.

#include <QFont>
#include <QString>

#include "app/drawn_icons.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;
class QWidget;

namespace hostlore {

// The building blocks the pages share, so that every page looks alike.

// Arial at a size given for the layout's font, grown with the desktop's font.
QFont ArialFont(int pointSize = 9, bool bold = false);
void UseTealText(QWidget* widget);

// A fixed caption, the screen reader's name for its buddy.
QLabel* Caption(const QString& text, QWidget* buddy = nullptr);

// A label whose text the program sets: starts blank, shows plain text only.
QLabel* PlainLabel(const char* name, const QString& accessibleName);

// Sets the text of a label that the program keeps up to date. Its accessible
// name stays its caption; the text is its description, and screen readers are
// told when it changes.
void SetAnnouncedText(QLabel* label, const QString& text);

// A result field: read-only, borderless, teal Arial, named for screen readers.
QLineEdit* ResultField(const char* name, const QString& caption, const QFont& font = ArialFont());

QPlainTextEdit* TextArea(const char* name, const QString& caption);

// Adds `lines` at the end of a text area. An area the reader has not scrolled
// or moved the caret in keeps its first line and left edge in view, also when
// its page is shown only later.
void AppendLines(QPlainTextEdit& area, const QString& lines);

// A result field for text longer than its column is wide: like ResultField,
// but wrapping, `lines` lines of its font high.
QPlainTextEdit* WrappingResultField(const char* name, const QString& caption, int lines);

QToolButton* ToolButton(const char* name, const QString& hint, DrawnIcon picture);

}  // namespace hostlore
