#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/options/options_dialog.h"
#include "app/options/options_fields.h"
#include "app/page_control.h"
#include "query/query_rules.h"

namespace hostlore {

namespace {

template <class Control>
Control* Named(Control* control, const char* name, const QString& accessibleName) {
    control->setObjectName(QString::fromLatin1(name));
    control->setAccessibleName(accessibleName);
    return control;
}

QLineEdit* Field(const char* name, const QString& accessibleName) {
    return Named(new QLineEdit, name, accessibleName);
}

QCheckBox* TickBox(const char* name, const QString& caption) {
    return Named(new QCheckBox(caption), name, caption);
}

QLabel* Caption(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(buddy);
    return label;
}

QPushButton* Button(const char* name, const QString& caption) {
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

template <std::size_t N>
QListWidget* ServerList(const char* name, const QString& accessibleName,
                        const std::array<std::string_view, N>& servers) {
    auto* list = Named(new QListWidget, name, accessibleName);
    for (const auto server : servers) {
        list->addItem(QString::fromUtf8(server));
    }
    return list;
}

// A group's controls sit close to its frame: the dialog has little room.
template <class Layout>
Layout* LayoutOf(QGroupBox* group) {
    auto* layout = new Layout(group);
    layout->setContentsMargins(6, 2, 6, 4);
    return layout;
}

// A page's controls stand at its top; the room left goes to the row that
// grows, or stays empty below them.
QWidget* Page(const std::initializer_list<QWidget*>& rows, const QWidget* grows = nullptr) {
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(2);
    for (QWidget* row : rows) {
        column->addWidget(row, row == grows ? 1 : 0);
    }
    if (grows == nullptr) {
        column->addStretch(1);
    }
    return page;
}

}  // namespace

void Toptions::BuildDialog() {
    setObjectName(QStringLiteral("options"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    setFixedSize(440, 295);
    // The fixed size holds every control at the small dialog font it was laid out for.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    PageControl1 = new PageControl;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addPage(BuildGeneralPage(), QIcon(), QStringLiteral("General"));
    PageControl1->addPage(BuildWhoisServerPage(), QIcon(), QStringLiteral("Whois Server"));
    PageControl1->addPage(BuildThirdPartyPage(), QIcon(), QStringLiteral("Third Party URL"));
    PageControl1->addPage(BuildProxyPage(), QIcon(), QStringLiteral("Proxy"));

    Button3 = Button("Button3", QStringLiteral("&Default"));
    Button1 = Button("Button1", QStringLiteral("&OK"));
    Button1->setDefault(true);
    Button2 = Button("Button2", QStringLiteral("&Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button3);
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    column->addWidget(PageControl1, 1);
    column->addLayout(buttons);
}

QWidget* Toptions::BuildGeneralPage() {
    auto* website = new QGroupBox(QStringLiteral("Default Website"));
    Edit1 = Field("Edit1", website->title());
    LayoutOf<QVBoxLayout>(website)->addWidget(Edit1);

    auto* start = new QGroupBox(QStringLiteral("When Hostlore Start"));
    CheckBox2 =
        TickBox("CheckBox2", QStringLiteral("Get the URL currently open in Internet Explorer"));
    CheckBox3 = TickBox("CheckBox3", QStringLiteral("Execute the query"));
    auto* startColumn = LayoutOf<QVBoxLayout>(start);
    startColumn->addWidget(CheckBox2);
    startColumn->addWidget(CheckBox3);

    auto* afterQuery = new QGroupBox(QStringLiteral("After Query"));
    ComboBox1 = Named(new QComboBox, "ComboBox1", QStringLiteral("Go directly to"));
    for (const auto page : kPageNames) {
        ComboBox1->addItem(QString::fromUtf8(page));
    }
    auto* afterRow = LayoutOf<QHBoxLayout>(afterQuery);
    afterRow->addWidget(Caption(ComboBox1->accessibleName(), ComboBox1));
    afterRow->addWidget(ComboBox1, 1);

    auto* neighbourhood = new QGroupBox(QStringLiteral("IP Neighborhood"));
    Edit2 = Field("Edit2", QStringLiteral("IPs"));
    Edit2->setMaximumWidth(60);
    auto* neighbourRow = LayoutOf<QHBoxLayout>(neighbourhood);
    neighbourRow->addWidget(Edit2);
    neighbourRow->addWidget(Caption(Edit2->accessibleName(), Edit2));
    neighbourRow->addStretch(1);

    auto* lastRow = new QWidget;
    auto* last = new QHBoxLayout(lastRow);
    last->setContentsMargins(0, 0, 0, 0);
    last->addWidget(afterQuery, 2);
    last->addWidget(neighbourhood, 1);
    return Page({website, start, lastRow});
}

QWidget* Toptions::BuildWhoisServerPage() {
    auto* server = new QGroupBox(QStringLiteral("Whois Server"));
    Edit15 = Field("Edit15", server->title());
    LayoutOf<QVBoxLayout>(server)->addWidget(Edit15);

    Label1 = new QLabel(
        QStringLiteral("You can choose the whois server from the below list or input the others. "
                       "We sugget you using Networksolutions whois server."));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);

    ListBox1 = ServerList("ListBox1", QStringLiteral("General whois servers"), kCommonWhoisServers);
    ListBox2 = ServerList("ListBox2", QStringLiteral("National and special whois servers"),
                          kRegistryWhoisServers);
    auto* lists = new QWidget;
    auto* listRow = new QHBoxLayout(lists);
    listRow->setContentsMargins(0, 0, 0, 0);
    listRow->addWidget(ListBox1);
    listRow->addWidget(ListBox2);

    return Page({server, Label1, lists}, lists);
}

QWidget* Toptions::BuildThirdPartyPage() {
    const std::array<QString, 4> groups = {
        QStringLiteral("Site Info"), QStringLiteral("Whois Source"),
        QStringLiteral("Backward Links"), QStringLiteral("Similar Pages")};
    const QString nameCaption = QStringLiteral("Service provided by");
    const QString urlCaption = QStringLiteral("URL");
    std::array<QWidget*, 4> rows{};
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const ServiceField& name = kServiceFields.at(2 * i);
        const ServiceField& url = kServiceFields.at(2 * i + 1);
        QLineEdit* nameField = this->*name.field = Field(name.name, nameCaption);
        QLineEdit* urlField = this->*url.field = Field(url.name, urlCaption);
        nameField->setMaximumWidth(90);
        auto* group = new QGroupBox(groups.at(i));
        rows.at(i) = group;
        auto* row = LayoutOf<QHBoxLayout>(group);
        row->addWidget(Caption(nameCaption, nameField));
        row->addWidget(nameField);
        row->addWidget(Caption(urlCaption, urlField));
        row->addWidget(urlField, 1);
    }
    return Page({rows[0], rows[1], rows[2], rows[3]});
}

QWidget* Toptions::BuildProxyPage() {
    CheckBox1 = TickBox("CheckBox1", QStringLiteral("Use a proxy server for your LAN"));

    auto* proxy = new QGroupBox(QStringLiteral("Proxy"));
    Edit9 = Field("Edit9", QStringLiteral("Host"));
    Edit10 = Field("Edit10", QStringLiteral("Port"));
    Edit10->setMaximumWidth(60);
    ComboBox3 = Named(new QComboBox, "ComboBox3", QStringLiteral("Socks Version"));
    for (const auto& version : kSocksVersions) {
        ComboBox3->addItem(QString::fromLatin1(version.shown));
    }
    Edit11 = Field("Edit11", QStringLiteral("User Name"));
    Edit12 = Field("Edit12", QStringLiteral("Password"));
    Edit12->setEchoMode(QLineEdit::Password);

    auto* grid = LayoutOf<QGridLayout>(proxy);
    const auto place = [grid](QWidget* field, int row, int column, int span = 1) {
        grid->addWidget(Caption(field->accessibleName(), field), row, column);
        grid->addWidget(field, row, column + 1, 1, span);
    };
    place(Edit9, 0, 0);
    place(Edit10, 0, 2);
    place(ComboBox3, 1, 0, 3);
    place(Edit11, 2, 0, 3);
    place(Edit12, 3, 0, 3);
    grid->setColumnStretch(1, 1);
    return Page({CheckBox1, proxy});
}

}  // namespace hostlore
