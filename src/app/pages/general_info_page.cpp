#include "app/pages/general_info_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/pages/page_widgets.h"
#include "app/program_pictures.h"
#include "platform/message_boxes.h"
#include "platform/network_text.h"

namespace hostlore {

GeneralInfoPage::GeneralInfoPage(MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent),
      boxes_(boxes),
      Banner(new QLabel),
      Edit1(ResultField("Edit1", QStringLiteral("This Website Located in:"), ArialFont(12, true))),
      Memo1(TextArea("Memo1", QStringLiteral("IP Address"))),
      Edit4(ResultField("Edit4", QStringLiteral("Host Name"))),
      Edit2(ResultField("Edit2", QStringLiteral("Server Type"))),
      Edit3(ResultField("Edit3", QStringLiteral("Last Modified"))),
      Edit5(ResultField("Edit5", QStringLiteral("Server Date"))),
      // Addresses and certificates run longer than the column is wide.
      FinalAddress(WrappingResultField("FinalAddress", QStringLiteral("Final Address"), 2)),
      Certificate(WrappingResultField("Certificate", QStringLiteral("Certificate"), 3)) {
    auto* grid = new QGridLayout(this);

    Banner->setObjectName(QStringLiteral("Banner"));
    Banner->setPixmap(ProgramPicture(QStringLiteral("banner")));
    Banner->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A narrow window shows less of the banner instead of growing.
    Banner->setMinimumWidth(1);
    Banner->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    grid->addWidget(Banner, 0, 0, 1, 2);

    grid->addWidget(Caption(Edit1->accessibleName(), Edit1), 1, 0, 1, 2);
    grid->addWidget(Edit1, 2, 0, 1, 2);

    Memo1->setFont(ArialFont());
    Memo1->setFrameShape(QFrame::NoFrame);
    UseTealText(Memo1);
    auto* addresses = new QVBoxLayout;
    addresses->addWidget(Caption(Memo1->accessibleName(), Memo1));
    addresses->addWidget(Memo1, 1);
    grid->addLayout(addresses, 3, 0);

    auto* fields = new QVBoxLayout;
    for (QWidget* field :
         std::initializer_list<QWidget*>{Edit4, Edit2, Edit3, Edit5, FinalAddress, Certificate}) {
        fields->addWidget(Caption(field->accessibleName(), field));
        fields->addWidget(field);
    }
    fields->addStretch(1);
    grid->addLayout(fields, 3, 1);
    grid->setRowStretch(3, 1);
}

void GeneralInfoPage::Clear() {
    Memo1->clear();
    for (QLineEdit* field : {Edit1, Edit2, Edit3, Edit4, Edit5}) {
        field->setText(QString());
    }
    FinalAddress->clear();
    Certificate->clear();
}

void GeneralInfoPage::AddAddressLine(const std::string& address) {
    AppendLines(*Memo1, QString::fromStdString(address));
}

void GeneralInfoPage::SetLocation(const std::string& region) {
    Edit1->setText(QString::fromStdString(region));
}

void GeneralInfoPage::SetHostName(const std::string& name) {
    Edit4->setText(TextFromNetwork(name));
}

void GeneralInfoPage::ShowWebsiteMissing() {
    boxes_.ShowOk(window(), QStringLiteral("Website does not exist! "), QStringLiteral("Error"),
                  BoxIcon::Error);
}

void GeneralInfoPage::SetServerType(const std::string& server) {
    Edit2->setText(TextFromNetwork(server));
}

void GeneralInfoPage::SetLastModified(const std::string& date) {
    Edit3->setText(QString::fromStdString(date));
}

void GeneralInfoPage::ShowLastModifiedNotGiven() {
    Edit3->setText(QStringLiteral("not given"));
}

void GeneralInfoPage::SetServerDate(const std::string& date) {
    Edit5->setText(QString::fromStdString(date));
}

void GeneralInfoPage::ShowServerFailed(const std::string& /*reason*/) {
    for (QLineEdit* field : {Edit2, Edit3, Edit5}) {
        field->setText(QStringLiteral("X"));
    }
    FinalAddress->clear();
}

void GeneralInfoPage::SetFinalAddress(const std::string& url) {
    FinalAddress->setPlainText(TextFromNetwork(url));
}

void GeneralInfoPage::SetCertificate(const std::string& summary) {
    Certificate->setPlainText(TextFromNetwork(summary));
}

void GeneralInfoPage::ShowCertificateFailed(const std::string& /*reason*/) {
    Certificate->setPlainText(QStringLiteral("X"));
}

void GeneralInfoPage::ShowCertificateUnavailable(const std::string& reason) {
    Certificate->setPlainText(QString::fromStdString(reason));
}

}  // namespace hostlore
