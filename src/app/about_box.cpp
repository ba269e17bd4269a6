#include "app/about_box.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/palette_text.h"
#include "app/program_pictures.h"

namespace hostlore {

namespace {

QLabel* Picture(const QString& picture, const QString& name) {
    auto* label = new QLabel;
    label->setPixmap(ProgramPicture(picture));
    label->setAccessibleName(name);
    return label;
}

QLabel* Line(const QString& text) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

Tabout::Tabout(ShellOpener& shell, QString webSite, QWidget* parent)
    : QDialog(parent), shell_(shell), webSite_(std::move(webSite)) {
    setObjectName(QStringLiteral("about"));
    setWindowTitle(QStringLiteral("About"));

    auto* banner = new QWidget;
    banner->setAutoFillBackground(true);
    // The pictures are drawn on white, so the banner stays white, and its
    // text black, in any theme.
    QPalette white = banner->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    banner->setPalette(white);
    auto* bannerRow = new QHBoxLayout(banner);
    bannerRow->addWidget(Picture(QStringLiteral("logo"), QStringLiteral("Hostlore logo")));
    bannerRow->addWidget(Picture(QStringLiteral("wordmark"), QStringLiteral("Hostlore")), 1);
    QLabel* version = Line(QStringLiteral("V1.23"));
    version->setObjectName(QStringLiteral("Version"));
    bannerRow->addWidget(version, 0, Qt::AlignBottom);

    Label4 = Line(webSite_);
    Label4->setObjectName(QStringLiteral("Label4"));
    QFont linkFont = Label4->font();
    linkFont.setUnderline(true);
    Label4->setFont(linkFont);
    // Navy, or a light blue that dark themes can show.
    FollowBackground(Label4, QPalette::Window, QColor(0, 0, 128), QColor(138, 180, 248),
                     {QPalette::WindowText});
    Label4->setCursor(Qt::PointingHandCursor);
    // A link the keyboard reaches with Tab and opens with Enter.
    Label4->setFocusPolicy(Qt::StrongFocus);
    Label4->setAccessibleName(QStringLiteral("Hostlore web site"));
    Label4->setAccessibleDescription(webSite_);
    Label4->installEventFilter(this);

    Button1 = new QPushButton(QStringLiteral("OK"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);

    auto* column = new QVBoxLayout(this);
    column->addWidget(banner);
    column->addWidget(
        Line(QStringLiteral("Hostlore gathers what can be learnt about a web site.")));
    column->addWidget(Line(QStringLiteral("Copyright (c) The Hostlore developers.")));
    settingsFolder_ = Line(QString());
    settingsFolder_->setObjectName(QStringLiteral("SettingsFolder"));
    settingsFolder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(settingsFolder_);
    column->addWidget(Label4);
    column->addLayout(buttons);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void Tabout::SetSettingsFolder(const QString& folder) {
    settingsFolder_->setText(QStringLiteral("Settings are kept in ") + folder);
}

void Tabout::Button1Click() {
    accept();
}

void Tabout::Label4Click() {
    shell_.Open(webSite_);
}

bool Tabout::eventFilter(QObject* watched, QEvent* event) {
    if (watched != Label4) {
        return QDialog::eventFilter(watched, event);
    }
    const bool enter = event->type() == QEvent::KeyPress &&
                       (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (enter || event->type() == QEvent::MouseButtonRelease) {
        Label4Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace hostlore
