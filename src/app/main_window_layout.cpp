#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/page_control.h"
#include "platform/jpeg_image.h"
#include "query/query_rules.h"

namespace hostlore {

namespace {

const QColor kTeal(0, 128, 128);

QFont ArialFont(int pointSize = 9, bool bold = false) {
    QFont font(QStringLiteral("Arial"), pointSize);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

void UseTealText(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, kTeal);
    palette.setColor(QPalette::WindowText, kTeal);
    widget->setPalette(palette);
}

QLabel* Caption(const QString& text, QWidget* buddy = nullptr) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    if (buddy != nullptr) {
        label->setBuddy(buddy);
    }
    return label;
}

// A status text or service label: starts blank, shows plain text only.
QLabel* PlainLabel(const char* name, const QString& accessibleName) {
    auto* label = new QLabel(QStringLiteral(" "));
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(accessibleName);
    return label;
}

// A result field: read-only, borderless, teal Arial, named for screen readers.
QLineEdit* ResultField(const char* name, const QString& caption, const QFont& font = ArialFont()) {
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
    area->setAccessibleName(caption);
    area->setLineWrapMode(QPlainTextEdit::NoWrap);
    return area;
}

QToolButton* Button(const char* name, const QString& hint, QStyle::StandardPixmap picture) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setIcon(button->style()->standardIcon(picture));
    button->setAutoRaise(true);
    return button;
}

QPixmap PictureFromResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QPixmap::fromImage(DecodeJpeg(file.readAll()));
}

// The status bar of the whois and neighbourhood pages.
QWidget* StatusBar(QToolButton* stop, QLabel* status) {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(stop);
    row->addWidget(Caption(QStringLiteral("Status:"), status));
    row->addWidget(status, 1);
    return bar;
}

}  // namespace

void Tmain::BuildWindow() {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(QStringLiteral("Hostlore"));
    resize(583, 430);

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildTopPanel());

    cxPageControl1 = new PageControl;
    cxPageControl1->setObjectName(QStringLiteral("cxPageControl1"));

    const QIcon pageIcon = style()->standardIcon(QStyle::SP_FileDialogInfoView);
    const QIcon localIcon = style()->standardIcon(QStyle::SP_ComputerIcon);
    const std::array<QWidget*, 8> pages = {
        BuildGeneralInfoPage(),
        BuildWhoisPage(),
        BuildServicePage(Label12, "Label12", QStringLiteral("Site Info"),
                         {"SpeedButton3", "SpeedButton4", "SpeedButton5", "SpeedButton6"}),
        BuildServicePage(Label18, "Label18", QStringLiteral("Whois Source"),
                         {"SpeedButton1", "SpeedButton15", "SpeedButton16", "SpeedButton17"}),
        BuildServicePage(Label13, "Label13", QStringLiteral("Backward Links"),
                         {"SpeedButton7", "SpeedButton8", "SpeedButton9", "SpeedButton10"}),
        BuildServicePage(Label14, "Label14", QStringLiteral("Similar Pages"),
                         {"SpeedButton11", "SpeedButton12", "SpeedButton13", "SpeedButton14"}),
        BuildNeighbourhoodPage(),
        BuildLocalNetworkPage()};
    // Trailing blanks give the vertical captions similar lengths.
    const std::array<const char*, 8> captions = {
        "General Info    ", "Whois Info      ", "Site Info       ", "Whois Source    ",
        "Backward Links  ", "Similar Pages   ", "IP Neighborhood ", "Local Network Info"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pages[i]->setObjectName(
            QString::fromLatin1(kPageNames[i].data(), static_cast<int>(kPageNames[i].size())));
        cxPageControl1->AddPage(pages[i], i + 1 < pages.size() ? pageIcon : localIcon,
                                QString::fromLatin1(captions[i]));
    }
    QFont tabFont = ArialFont(8);
    tabFont.setUnderline(true);
    cxPageControl1->SetTabFont(tabFont);
    column->addWidget(cxPageControl1, 1);
    setCentralWidget(central);
    BuildMenus();
}

QWidget* Tmain::BuildTopPanel() {
    auto* panel = new QWidget;
    panel->setFixedHeight(57);
    auto* row = new QHBoxLayout(panel);

    url_edit = new QComboBox;
    url_edit->setObjectName(QStringLiteral("url_edit"));
    url_edit->setEditable(true);
    url_edit->setInsertPolicy(QComboBox::NoInsert);
    url_edit->setDuplicatesEnabled(true);
    url_edit->setFont(ArialFont(10));
    url_edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    url_edit->setAccessibleName(QStringLiteral("URL"));
    UseTealText(url_edit);
    url_edit->installEventFilter(this);
    url_edit->lineEdit()->installEventFilter(this);

    go = Button("go", QStringLiteral("Get Hostlore"), QStyle::SP_MediaPlay);
    SpeedButton2 = Button("SpeedButton2",
                          QStringLiteral("Get The URL Currently Open In The Internet Explorer"),
                          QStyle::SP_BrowserReload);

    row->addWidget(Caption(QStringLiteral("URL"), url_edit));
    row->addWidget(url_edit, 1);
    row->addWidget(go);
    row->addWidget(SpeedButton2);
    return panel;
}

QWidget* Tmain::BuildGeneralInfoPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);

    Banner = new QLabel;
    Banner->setObjectName(QStringLiteral("Banner"));
    Banner->setPixmap(PictureFromResource(QStringLiteral(":/pictures/banner.jpg")));
    Banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A narrow window shows less of the banner instead of growing.
    Banner->setMinimumWidth(1);
    Banner->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    grid->addWidget(Banner, 0, 0, 1, 2);

    const QString locatedCaption = QStringLiteral("This Website Located in:");
    Edit1 = ResultField("Edit1", locatedCaption, ArialFont(12, true));
    grid->addWidget(Caption(locatedCaption, Edit1), 1, 0, 1, 2);
    grid->addWidget(Edit1, 2, 0, 1, 2);

    Memo1 = TextArea("Memo1", QStringLiteral("IP Address"));
    Memo1->setFont(ArialFont());
    Memo1->setFrameShape(QFrame::NoFrame);
    UseTealText(Memo1);
    auto* addresses = new QVBoxLayout;
    addresses->addWidget(Caption(QStringLiteral("IP Address"), Memo1));
    addresses->addWidget(Memo1, 1);
    grid->addLayout(addresses, 3, 0);

    Edit4 = ResultField("Edit4", QStringLiteral("Host Name"));
    Edit2 = ResultField("Edit2", QStringLiteral("Server Type"));
    Edit3 = ResultField("Edit3", QStringLiteral("Last Modified"));
    Edit5 = ResultField("Edit5", QStringLiteral("Server Date"));
    auto* fields = new QVBoxLayout;
    for (QLineEdit* field : {Edit4, Edit2, Edit3, Edit5}) {
        fields->addWidget(Caption(field->accessibleName(), field));
        fields->addWidget(field);
    }
    fields->addStretch(1);
    grid->addLayout(fields, 3, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* Tmain::BuildWhoisPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    whois_stop = Button("whois_stop", QStringLiteral("Stop Whois Query"), QStyle::SP_MediaStop);
    Label5 = PlainLabel("Label5", QStringLiteral("Status:"));
    column->addWidget(StatusBar(whois_stop, Label5));

    Memo3 = TextArea("Memo3", QStringLiteral("Whois Info"));
    Memo3->setFont(ArialFont());
    Memo3->setFrameShape(QFrame::NoFrame);
    UseTealText(Memo3);
    column->addWidget(Memo3, 1);
    connect(whois_stop, &QToolButton::clicked, this,
            Guarded([this] { whois_stopClick(whois_stop); }));
    return page;
}

QWidget* Tmain::BuildServicePage(QLabel*& caption, const char* captionName, const QString& pageName,
                                 const std::array<const char*, 4>& buttonNames) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    auto* bar = new QHBoxLayout;
    const std::array<QString, 4> hints = {QStringLiteral("Back"), QStringLiteral("Forward"),
                                          QStringLiteral("Stop"), QStringLiteral("Refresh")};
    const std::array<QStyle::StandardPixmap, 4> pictures = {
        QStyle::SP_ArrowBack, QStyle::SP_ArrowForward, QStyle::SP_BrowserStop,
        QStyle::SP_BrowserReload};
    for (std::size_t i = 0; i < hints.size(); ++i) {
        QToolButton* button = Button(buttonNames[i], hints[i], pictures[i]);
        // The embedded browser pane is not available yet.
        button->setEnabled(false);
        bar->addWidget(button);
    }
    caption = PlainLabel(captionName, pageName);
    bar->addWidget(caption, 1);
    column->addLayout(bar);
    column->addStretch(1);
    return page;
}

QWidget* Tmain::BuildNeighbourhoodPage() {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    ip_nei_stop =
        Button("ip_nei_stop", QStringLiteral("Stop IP Neighborhood Query"), QStyle::SP_MediaStop);
    Label11 = PlainLabel("Label11", QStringLiteral("Status:"));
    column->addWidget(StatusBar(ip_nei_stop, Label11));

    Label15 = new QLabel(QStringLiteral(
        "This function would take an IP address and do a resolve for the last and the next "
        "number IPs. This is not often found, but can be very useful to see what other website "
        "domains are hosted by the same ISP. "));
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setTextFormat(Qt::PlainText);
    Label15->setWordWrap(true);
    column->addWidget(Label15);

    ListBox1 = new QListWidget;
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("IP Neighborhood"));
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    column->addWidget(ListBox1, 1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    connect(ip_nei_stop, &QToolButton::clicked, this,
            Guarded([this] { ip_nei_stopClick(ip_nei_stop); }));
    return page;
}

QWidget* Tmain::BuildLocalNetworkPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(8);
    Memo4 = TextArea("Memo4", QStringLiteral("Local Network Parameters"));
    Memo4->setFixedWidth(161);
    Memo2 = TextArea("Memo2", QStringLiteral("Local Adapter Information"));
    grid->addWidget(Caption(Memo4->accessibleName(), Memo4), 0, 0);
    grid->addWidget(Caption(Memo2->accessibleName(), Memo2), 0, 1);
    grid->addWidget(Memo4, 1, 0);
    grid->addWidget(Memo2, 1, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

void Tmain::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    Exit1 = file->addAction(QStringLiteral("E&xit"), this, Guarded([this] { Exit1Click(); }));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    QAction* options2 = options->addAction(QStringLiteral("&Options"));
    options2->setObjectName(QStringLiteral("Options2"));
    // The options dialog is not available yet.
    options2->setEnabled(false);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpTopic1 = help->addAction(QStringLiteral("Help &Topic"), this,
                                 Guarded([this] { HelpTopic1Click(); }));
    HelpTopic1->setObjectName(QStringLiteral("HelpTopic1"));
    HelpTopic1->setShortcut(QKeySequence(Qt::Key_F1));
    help->addSeparator();
    EmailSupport1 = help->addAction(QStringLiteral("&Email Support"), this,
                                    Guarded([this] { EmailSupport1Click(); }));
    EmailSupport1->setObjectName(QStringLiteral("EmailSupport1"));
    HostloreWebsite1 = help->addAction(QStringLiteral("Hostlore &Website"), this,
                                       Guarded([this] { HostloreWebsite1Click(); }));
    HostloreWebsite1->setObjectName(QStringLiteral("HostloreWebsite1"));
    help->addSeparator();
    About1 = help->addAction(QStringLiteral("&About"), this, Guarded([this] { About1Click(); }));
    About1->setObjectName(QStringLiteral("About1"));
}

}  // namespace hostlore
