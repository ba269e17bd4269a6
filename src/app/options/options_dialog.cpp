#include "app/options/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "app/options/options_fields.h"
#include "platform/integer_text.h"
#include "query/query_rules.h"
#include "settings/setting_names.h"
#include "settings/setting_rules.h"

namespace hostlore {

namespace {

// Long URL prefixes show from their start.
void ShowText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

std::string TextOf(const QLineEdit* field) {
    return field->text().toStdString();
}

std::string FlagOf(const QCheckBox* box) {
    return std::string(box->isChecked() ? setting::kTrue : setting::kFalse);
}

// The entry whose stored name is exactly the text; "No Socks" for any other.
int SocksVersionIndex(std::string_view stored) {
    for (std::size_t i = 0; i < kSocksVersions.size(); ++i) {
        if (kSocksVersions[i].stored == stored) {
            return static_cast<int>(i);
        }
    }
    return 0;
}

}  // namespace

Toptions::Toptions(SettingsStore& settings, MessageBoxes& boxes, QString applicationTitle,
                   QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      boxes_(boxes),
      applicationTitle_(std::move(applicationTitle)) {
    BuildDialog();
    connect(Button1, &QPushButton::clicked, this, &Toptions::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &Toptions::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &Toptions::Button3Click);
    connect(CheckBox1, &QCheckBox::toggled, this, &Toptions::CheckBox1Click);
    ConnectServerList(ListBox1, &Toptions::ListBox1Click);
    ConnectServerList(ListBox2, &Toptions::ListBox2Click);
    for (const IntegerField& integer : kIntegerFields) {
        (this->*integer.field)->installEventFilter(this);
    }
}

void Toptions::ConnectServerList(QListWidget* list, void (Toptions::*handler)(int)) {
    // A click copies the entry, also the one already selected; so does
    // selecting one with the arrow keys, but not merely tabbing into the list.
    connect(list, &QListWidget::itemClicked, this,
            [this, list, handler](QListWidgetItem* item) { (this->*handler)(list->row(item)); });
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list, handler] {
        if (const QListWidgetItem* item = list->currentItem(); item && item->isSelected()) {
            (this->*handler)(list->row(item));
        }
    });
}

void Toptions::showEvent(QShowEvent* event) {
    CentreOnScreen();
    FormActivate();
    QDialog::showEvent(event);
}

bool Toptions::eventFilter(QObject* watched, QEvent* event) {
    // Only a move to another control of the dialog counts as leaving the
    // field; switching windows or opening a menu does not.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == Edit2) {
                Edit2Exit();
            } else if (watched == Edit10) {
                Edit10Exit();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Toptions::CentreOnScreen() {
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(),
                                 screen->availableGeometry())
                 .topLeft());
    }
}

void Toptions::FormActivate() {
    using namespace setting;
    const std::string defaultUrl = settings_.ReadString(kGeneral, kDefaultUrl, kDefaultWebSite);
    if (!defaultUrl.empty()) {
        Edit1->setText(QString::fromStdString(defaultUrl));
    }
    CheckBox2->setChecked(ReadFlagOnUnlessFalse(settings_, kGeneral, kGetBrowserUrl));
    CheckBox3->setChecked(ReadFlagOnUnlessFalse(settings_, kGeneral, kExecute));
    ComboBox1->setCurrentIndex(
        PageIndexOfName(settings_.ReadString(kGeneral, kGoTo, kDefaultGoTo)));
    Edit2->setText(QString::fromStdString(
        ReadWithFallback(settings_, kGeneral, kNeighbourCount, kDefaultNeighbourCount)));
    Edit15->setText(
        QString::fromStdString(settings_.ReadString(kWhois, kWhoisServer, kDefaultWhoisServer)));
    for (const auto& service : kServiceFields) {
        ShowText(this->*service.field, QString::fromStdString(ReadWithFallback(
                                           settings_, kUrl, service.key, service.defaultValue)));
    }
    CheckBox1->setChecked(ReadFlagOffUnlessTrue(settings_, kProxy, kProxyUse));
    CheckBox1Click();
    Edit9->setText(QString::fromStdString(settings_.ReadString(kProxy, kProxyHost, "")));
    Edit10->setText(QString::fromStdString(settings_.ReadString(kProxy, kProxyPort, "")));
    ComboBox3->setCurrentIndex(
        SocksVersionIndex(settings_.ReadString(kProxy, kProxyVersion, kDefaultSocksVersion)));
    Edit11->setText(QString::fromStdString(settings_.ReadString(kProxy, kProxyUserId, "")));
    Edit12->setText(QString::fromStdString(settings_.ReadString(kProxy, kProxyPassword, "")));
}

std::vector<SettingWrite> Toptions::ChosenValues() const {
    using namespace setting;
    std::vector<SettingWrite> writes;
    const auto add = [&writes](std::string_view section, std::string_view key, std::string value) {
        writes.push_back({std::string(section), std::string(key), std::move(value)});
    };
    add(kGeneral, kDefaultUrl, TextOf(Edit1));
    add(kGeneral, kGetBrowserUrl, FlagOf(CheckBox2));
    add(kGeneral, kExecute, FlagOf(CheckBox3));
    add(kGeneral, kGoTo, ComboBox1->currentText().toStdString());
    add(kGeneral, kNeighbourCount, TextOf(Edit2));
    add(kWhois, kWhoisServer, TextOf(Edit15));
    for (const auto& service : kServiceFields) {
        add(kUrl, service.key, TextOf(this->*service.field));
    }
    const bool useProxy =
        CheckBox1->isChecked() && !Edit9->text().isEmpty() && !Edit10->text().isEmpty();
    add(kProxy, kProxyUse, std::string(useProxy ? kTrue : kFalse));
    add(kProxy, kProxyHost, TextOf(Edit9));
    add(kProxy, kProxyPort, TextOf(Edit10));
    add(kProxy, kProxyVersion,
        std::string(kSocksVersions.at(static_cast<std::size_t>(ComboBox3->currentIndex())).stored));
    add(kProxy, kProxyUserId, TextOf(Edit11));
    add(kProxy, kProxyPassword, TextOf(Edit12));
    return writes;
}

void Toptions::Button1Click() {
    // OK by Enter never leaves the field: check it here. A disabled field
    // cannot be corrected, and its value is not used.
    for (const IntegerField& integer : kIntegerFields) {
        QLineEdit* field = this->*integer.field;
        if (field->isEnabled() && !CheckIntegerField(field)) {
            return;
        }
    }
    // One replacement of the file: a failure leaves every value as it was.
    try {
        settings_.WriteStrings(ChosenValues());
    } catch (const std::exception& error) {
        ShowErrorBox(boxes_, this, applicationTitle_, QString::fromUtf8(error.what()));
        return;
    }
    accept();
}

void Toptions::Button2Click() {
    reject();
}

void Toptions::Button3Click() {
    using namespace setting;
    Edit1->setText(QString::fromUtf8(kDefaultWebSite));
    CheckBox2->setChecked(true);
    CheckBox3->setChecked(true);
    ComboBox1->setCurrentIndex(0);
    Edit2->setText(QString::fromUtf8(kDefaultNeighbourCount));
    Edit15->setText(QString::fromUtf8(kDefaultWhoisServer));
    for (const auto& service : kServiceFields) {
        ShowText(this->*service.field, QString::fromUtf8(service.defaultValue));
    }
    // The proxy texts and the version stay; only the box is cleared.
    CheckBox1->setChecked(false);
    CheckBox1Click();
}

void Toptions::CheckBox1Click() {
    const bool ticked = CheckBox1->isChecked();
    for (QWidget* field :
         std::initializer_list<QWidget*>{Edit9, Edit10, ComboBox3, Edit11, Edit12}) {
        field->setEnabled(ticked);
    }
}

void Toptions::Edit2Exit() {
    CheckIntegerField(Edit2);
}

void Toptions::Edit10Exit() {
    CheckIntegerField(Edit10);
}

bool Toptions::CheckIntegerField(QLineEdit* field) {
    const IntegerField& rule = *std::find_if(
        kIntegerFields.begin(), kIntegerFields.end(),
        [this, field](const IntegerField& integer) { return this->*integer.field == field; });
    const std::string text = TextOf(field);
    if ((rule.mayBeEmpty && text.empty()) || ParseInteger(text)) {
        return true;
    }
    boxes_.ShowOk(this, QStringLiteral(" Please input integer! "), QString(), BoxIcon::Warning);
    field->setText(QString::fromUtf8(rule.fallback));
    return false;
}

void Toptions::ListBox1Click(int row) {
    if (const QListWidgetItem* entry = ListBox1->item(row)) {
        Edit15->setText(entry->text());
    }
}

void Toptions::ListBox2Click(int row) {
    if (const QListWidgetItem* entry = ListBox2->item(row)) {
        Edit15->setText(entry->text());
    }
}

}  // namespace hostlore
