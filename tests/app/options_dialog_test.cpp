#include "app/options/options_dialog.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <set>

#include "app/page_control.h"
#include "query/query_rules.h"
#include "settings/setting_names.h"
#include "support/event_pump.h"
#include "support/fake_services.h"

namespace hostlore {
namespace {

class OptionsDialogTest : public ::testing::Test {
  protected:
    void Open() {
        options.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&options));
    }

    // Shown and taking the keys.
    void OpenActive() {
        Open();
        options.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&options));
    }

    void ClickEntry(QListWidget* list, int row) {
        PageControl1()->setCurrentIndex(1);
        QCoreApplication::processEvents();
        const QRect entry = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
    }

    PageControl* PageControl1() const { return options.PageControl1; }
    std::filesystem::path File() const { return folder.File("settings.ini"); }

    test::TemporaryFolder folder;
    SettingsStore settings{folder.File("settings.ini")};
    test::RecordingMessageBoxes boxes;
    Toptions options{settings, boxes, QStringLiteral("Hostlore")};
};

TEST_F(OptionsDialogTest, ShowsEveryDefaultWithoutASettingsFile) {
    Open();
    EXPECT_EQ(options.Edit1->text(), "http://www.wikipedia.org/");
    EXPECT_TRUE(options.CheckBox2->isChecked());
    EXPECT_TRUE(options.CheckBox3->isChecked());
    EXPECT_EQ(options.ComboBox1->currentText(), "General Info");
    EXPECT_EQ(options.Edit2->text(), "20");
    EXPECT_EQ(options.Edit15->text(), "whois.iana.org");
    const std::pair<QLineEdit*, QString> services[] = {
        {options.Edit3, "Alexa"},
        {options.Edit4, "http://www.alexa.com/data/details?url="},
        {options.Edit5, "NameIntelligence"},
        {options.Edit6, "http://whois.domaintools.com/"},
        {options.Edit7, "Google"},
        {options.Edit8, "http://www.google.com/search?hl=&ie=&oe=&q=link:"},
        {options.Edit13, "Google"},
        {options.Edit14, "http://www.google.com/search?hl=&lr=&ie=&oe=&q=related:"}};
    for (const auto& [field, text] : services) {
        EXPECT_EQ(field->text(), text) << field->objectName().toStdString();
    }
    EXPECT_FALSE(options.CheckBox1->isChecked());
    for (QWidget* field :
         {static_cast<QWidget*>(options.Edit9), static_cast<QWidget*>(options.Edit10),
          static_cast<QWidget*>(options.ComboBox3), static_cast<QWidget*>(options.Edit11),
          static_cast<QWidget*>(options.Edit12)}) {
        EXPECT_FALSE(field->isEnabled()) << field->objectName().toStdString();
    }
    EXPECT_EQ(options.ComboBox3->currentText(), "No Socks");
    EXPECT_FALSE(std::filesystem::exists(File())) << "showing writes nothing";
}

TEST_F(OptionsDialogTest, IsAFixedModalDialogCentredOnTheScreen) {
    Open();
    EXPECT_EQ(options.windowTitle(), "Options");
    EXPECT_TRUE(options.isModal());
    EXPECT_EQ(options.size(), QSize(440, 295));
    EXPECT_EQ(options.minimumSize(), options.maximumSize());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(
        options.pos(),
        QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, options.size(), screen).topLeft());

    const QStringList tabs = {"General", "Whois Server", "Third Party URL", "Proxy"};
    ASSERT_EQ(PageControl1()->count(), tabs.size());
    for (int i = 0; i < PageControl1()->count(); ++i) {
        EXPECT_EQ(PageControl1()->tab(i)->text(), tabs[i]);
        // Every control of a page fits on it at the dialog's fixed size.
        PageControl1()->setCurrentIndex(i);
        QCoreApplication::processEvents();
        const QWidget* page = PageControl1()->widget(i);
        EXPECT_LE(page->minimumSizeHint().height(), page->height()) << tabs[i].toStdString();
        EXPECT_LE(page->minimumSizeHint().width(), page->width()) << tabs[i].toStdString();
    }
    EXPECT_EQ(options.Button3->text(), "&Default");
    EXPECT_EQ(options.Button1->text(), "&OK");
    EXPECT_EQ(options.Button2->text(), "&Cancel");
    EXPECT_LT(options.Button3->x(), options.Button1->x());
    EXPECT_LT(options.Button1->x(), options.Button2->x());
}

TEST_F(OptionsDialogTest, LoadsEachValueByItsOwnRule) {
    folder.Write("settings.ini",
                 "[general]\r\ndefault_url=\r\nget_ie=False\r\nexecute=false\r\n"
                 "go_to=Similar Pages\r\nip_nei=\r\n"
                 "[whois]\r\nserver=\r\n"
                 "[url]\r\nsite_info=\r\nSITE_INFO_URL=http://info.example/?u=\r\n"
                 "whois_source=Mine\r\n"
                 "[proxy]\r\nuse=TRUE\r\nhost=proxy.example\r\nport=1080\r\n"
                 "version=svsocks4a\r\nuid=me\r\npwd=secret\r\n");
    options.Edit1->setText(QStringLiteral("typed before"));
    Open();
    EXPECT_EQ(options.Edit1->text(), "typed before") << "an empty default_url keeps the text";
    EXPECT_TRUE(options.CheckBox2->isChecked()) << "only the exact word false turns it off";
    EXPECT_FALSE(options.CheckBox3->isChecked());
    EXPECT_EQ(options.ComboBox1->currentIndex(), kSimilarPagesPage);
    EXPECT_EQ(options.Edit2->text(), "20") << "empty falls back";
    EXPECT_EQ(options.Edit15->text(), "") << "the server shows as read";
    EXPECT_EQ(options.Edit3->text(), "Alexa") << "empty falls back";
    EXPECT_EQ(options.Edit4->text(), "http://info.example/?u=");
    EXPECT_EQ(options.Edit5->text(), "Mine");
    EXPECT_FALSE(options.CheckBox1->isChecked()) << "only the exact word true turns it on";
    EXPECT_FALSE(options.Edit9->isEnabled());
    EXPECT_EQ(options.Edit9->text(), "proxy.example");
    EXPECT_EQ(options.Edit10->text(), "1080");
    EXPECT_EQ(options.ComboBox3->currentText(), "Socks 4A");
    EXPECT_EQ(options.Edit11->text(), "me");
    EXPECT_EQ(options.Edit12->text(), "secret");
}

TEST_F(OptionsDialogTest, DropDownsMatchTheStoredTextExactly) {
    const std::tuple<const char*, const char*, int, int> cases[] = {
        {"General Info", "svnosocks", 0, 0},
        {"DNS Records", "svsocks4", kDnsRecordsPage, 1},
        {"Web Server", "svsocks4", kWebServerPage, 1},
        {"Whois Info", "svsocks4", kWhoisInfoPage, 1},
        {"IP Neighborhood", "svsocks5", kNeighbourhoodPage, 3},
        {"Local Network Info", "svsocks4a", kLocalNetworkPage, 2},
        {"similar pages", "SVSOCKS5", 0, 0},
        {"\"Similar Pages \"", "socks5", 0, 0},
        {"", "", 0, 0},
    };
    for (const auto& [page, version, pageIndex, versionIndex] : cases) {
        folder.Write("settings.ini", std::string("[general]\r\ngo_to=") + page +
                                         "\r\n[proxy]\r\nuse=true\r\nversion=" + version + "\r\n");
        // The dialog is reused: each showing loads the file again.
        options.ComboBox1->setCurrentIndex(4);
        options.ComboBox3->setCurrentIndex(1);
        options.show();
        EXPECT_EQ(options.ComboBox1->currentIndex(), pageIndex) << page;
        EXPECT_EQ(options.ComboBox3->currentIndex(), versionIndex) << version;
        EXPECT_TRUE(options.ComboBox3->isEnabled());
        options.Button2->click();
    }
}

TEST_F(OptionsDialogTest, OkWritesEveryValueInItsOrderAndCloses) {
    Open();
    options.CheckBox3->setChecked(false);
    options.ComboBox1->setCurrentIndex(kNeighbourhoodPage);
    options.Edit15->setText(QStringLiteral("whois.ripe.net"));
    options.Edit7->setText(QStringLiteral("Links"));
    QTest::mouseClick(options.Button1, Qt::LeftButton);
    EXPECT_EQ(options.result(), QDialog::Accepted);
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(folder.Read("settings.ini"),
              "[general]\r\ndefault_url=http://www.wikipedia.org/\r\nget_ie=true\r\n"
              "execute=false\r\ngo_to=IP Neighborhood\r\nip_nei=20\r\n"
              "[whois]\r\nserver=whois.ripe.net\r\n"
              "[url]\r\nsite_info=Alexa\r\nsite_info_url=http://www.alexa.com/data/details?url=\r\n"
              "whois_source=NameIntelligence\r\nwhois_source_url=http://whois.domaintools.com/\r\n"
              "backward_links=Links\r\n"
              "backward_links_url=http://www.google.com/search?hl=&ie=&oe=&q=link:\r\n"
              "similar_pages=Google\r\n"
              "similar_pages_url=http://www.google.com/search?hl=&lr=&ie=&oe=&q=related:\r\n"
              "[proxy]\r\nuse=false\r\nhost=\r\nport=\r\nversion=svnosocks\r\nuid=\r\npwd=\r\n");
}

TEST_F(OptionsDialogTest, UsesTheProxyOnlyWhenTickedWithHostAndPort) {
    const std::tuple<bool, const char*, const char*, const char*> cases[] = {
        {true, "", "1080", "false"},
        {true, "proxy.example", "", "false"},
        {false, "proxy.example", "1080", "false"},
        {true, "proxy.example", "1080", "true"},
        {false, "proxy.example", "no port", "false"},  // not in use: written as typed
    };
    for (const auto& [ticked, host, port, use] : cases) {
        options.show();
        options.CheckBox1->setChecked(ticked);
        options.Edit9->setText(QString::fromUtf8(host));
        options.Edit10->setText(QString::fromUtf8(port));
        options.ComboBox3->setCurrentIndex(3);
        options.Edit11->setText(QStringLiteral("me"));
        options.Edit12->setText(QStringLiteral("pa ss"));
        options.Button1->click();
        const std::string label = std::string(host) + "|" + port;
        EXPECT_EQ(settings.ReadString("proxy", "use", ""), use) << label;
        EXPECT_EQ(settings.ReadString("proxy", "host", "?"), host) << label;
        EXPECT_EQ(settings.ReadString("proxy", "port", "?"), port) << label;
        EXPECT_EQ(settings.ReadString("proxy", "version", ""), "svsocks5") << label;
        EXPECT_EQ(settings.ReadString("proxy", "uid", ""), "me") << label;
        EXPECT_EQ(settings.ReadString("proxy", "pwd", ""), "pa ss") << label;
    }
}

TEST_F(OptionsDialogTest, DefaultFillsInTheDefaultsAndCancelWritesNothing) {
    const std::string before =
        "; by hand\n[general]\ndefault_url = \"http://mine.example/\"\nget_ie=false\n"
        "go_to=Whois Info\nip_nei=40\n[whois]\nserver=whois.ripe.net\n[url]\nsite_info=Mine\n"
        "[proxy]\nuse=true\nhost=proxy.example\nport=1080\nversion=svsocks5\nuid=me\n";
    folder.Write("settings.ini", before);
    Open();
    ASSERT_TRUE(options.CheckBox1->isChecked());
    QTest::mouseClick(options.Button3, Qt::LeftButton);
    EXPECT_TRUE(options.isVisible());
    EXPECT_EQ(options.Edit1->text(), "http://www.wikipedia.org/");
    EXPECT_TRUE(options.CheckBox2->isChecked());
    EXPECT_EQ(options.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(options.Edit2->text(), "20");
    EXPECT_EQ(options.Edit15->text(), "whois.iana.org");
    EXPECT_EQ(options.Edit3->text(), "Alexa");
    EXPECT_FALSE(options.CheckBox1->isChecked());
    EXPECT_FALSE(options.Edit9->isEnabled());
    EXPECT_FALSE(options.ComboBox3->isEnabled());
    EXPECT_EQ(options.Edit9->text(), "proxy.example") << "the proxy texts stay";
    EXPECT_EQ(options.Edit11->text(), "me");
    EXPECT_EQ(options.ComboBox3->currentText(), "Socks 5") << "the version stays";

    QTest::mouseClick(options.Button2, Qt::LeftButton);
    EXPECT_EQ(options.result(), QDialog::Rejected);
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(folder.Read("settings.ini"), before);

    Open();
    EXPECT_EQ(options.Edit3->text(), "Mine") << "the next showing loads the stored values";
    EXPECT_TRUE(options.CheckBox1->isChecked());
}

TEST_F(OptionsDialogTest, LeavingTheIpCountRefusesAnythingButAnInteger) {
    OpenActive();
    const std::pair<const char*, bool> cases[] = {
        {" 12", true}, {"12", true},         {"-3", true},          {"0x1F", true},
        {"$ff", true}, {"2147483647", true}, {"12 ", false},        {"abc", false},
        {"", false},   {"1.5", false},       {"2147483648", false}, {"0x", false},
    };
    for (const auto& [text, accepted] : cases) {
        boxes.shown.clear();
        options.Edit2->setFocus();
        options.Edit2->setText(QString::fromUtf8(text));
        options.Edit15->setFocus();
        ASSERT_TRUE(options.Edit15->hasFocus());
        EXPECT_EQ(options.Edit2->text(), accepted ? QString::fromUtf8(text) : "20") << text;
        if (accepted) {
            EXPECT_TRUE(boxes.shown.empty()) << text;
        } else {
            ASSERT_EQ(boxes.shown.size(), 1U) << text;
            EXPECT_EQ(boxes.shown[0].text, " Please input integer! ");
            EXPECT_EQ(boxes.shown[0].caption, "");
            EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Warning);
        }
    }
}

TEST_F(OptionsDialogTest, EnterChecksTheIntegerFieldsAsLeavingThemWould) {
    const struct {
        QLineEdit* Toptions::*field;
        const char* typed;
        bool proxyTicked;
        const char* afterwards;  // nullptr: OK closed the dialog
    } cases[] = {
        {&Toptions::Edit2, "abc", false, "20"},
        {&Toptions::Edit2, "", false, "20"},
        {&Toptions::Edit10, "abc", true, ""},
        // Not in use: the disabled field is not checked.
        {&Toptions::Edit10, "abc", false, nullptr},
        {&Toptions::Edit10, "", true, nullptr},
    };
    for (const auto& c : cases) {
        QLineEdit* field = options.*c.field;
        const std::string label = field->objectName().toStdString() + " '" + c.typed + "'";
        std::filesystem::remove(File());
        boxes.shown.clear();
        OpenActive();
        options.CheckBox1->setChecked(c.proxyTicked);
        PageControl1()->setCurrentIndex(field == options.Edit2 ? 0 : 3);
        field->setText(QString::fromUtf8(c.typed));
        (field->isEnabled() ? field : static_cast<QWidget*>(options.CheckBox1))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(options.isVisible(), c.afterwards != nullptr) << label;
        EXPECT_EQ(std::filesystem::exists(File()), c.afterwards == nullptr) << label;
        if (c.afterwards != nullptr) {
            ASSERT_EQ(boxes.shown.size(), 1U) << label;
            EXPECT_EQ(boxes.shown[0].text, " Please input integer! ");
            EXPECT_EQ(field->text(), c.afterwards) << label;
        } else {
            EXPECT_TRUE(boxes.shown.empty()) << label;
        }
        options.reject();
    }
}

TEST_F(OptionsDialogTest, LeavingThePortRefusesAnythingButAnIntegerOrNothing) {
    folder.Write("settings.ini", "[proxy]\r\nuse=true\r\n");
    OpenActive();
    PageControl1()->setCurrentIndex(3);
    const std::pair<const char*, const char*> cases[] = {{"1080", "1080"}, {"", ""}, {"10x", ""}};
    for (const auto& [typed, kept] : cases) {
        boxes.shown.clear();
        options.Edit10->setFocus();
        options.Edit10->setText(QString::fromUtf8(typed));
        options.Edit11->setFocus();
        EXPECT_EQ(options.Edit10->text(), kept) << typed;
        EXPECT_EQ(boxes.shown.size(), std::string(typed) == kept ? 0U : 1U) << typed;
    }
}

TEST_F(OptionsDialogTest, AStoredPageIsWrittenBackUnchanged) {
    folder.Write("settings.ini", "[general]\r\ngo_to=Similar Pages\r\n");
    Open();
    EXPECT_EQ(options.ComboBox1->currentIndex(), kSimilarPagesPage);
    options.Button1->click();
    EXPECT_EQ(settings.ReadString("general", "go_to", ""), "Similar Pages");
}

TEST_F(OptionsDialogTest, AClickedServerGoesIntoTheServerField) {
    Open();
    ASSERT_EQ(options.ListBox1->count(), 8);
    ASSERT_EQ(options.ListBox2->count(), 9);
    EXPECT_EQ(options.ListBox1->item(0)->text(), "whois.iana.org");
    std::set<QString> distinct;
    for (int row = 0; row < options.ListBox1->count(); ++row) {
        distinct.insert(options.ListBox1->item(row)->text());
    }
    EXPECT_EQ(distinct.size(), 7U);
    EXPECT_EQ(options.ListBox1->item(5)->text(), options.ListBox1->item(6)->text());

    for (QListWidget* list : {options.ListBox1, options.ListBox2}) {
        for (int row = 0; row < list->count(); ++row) {
            options.Edit15->setText(QStringLiteral("typed"));
            ClickEntry(list, row);
            EXPECT_EQ(options.Edit15->text(), list->item(row)->text())
                << list->objectName().toStdString() << " " << row;
        }
    }
    // The duplicate copies like any other entry, also right after its twin.
    ClickEntry(options.ListBox1, 5);
    options.Edit15->setText(QStringLiteral("typed"));
    ClickEntry(options.ListBox1, 6);
    EXPECT_EQ(options.Edit15->text(), options.ListBox1->item(6)->text());
}

TEST_F(OptionsDialogTest, TabbingIntoAServerListCopiesNothingUntilAnEntryIsChosen) {
    OpenActive();
    PageControl1()->setCurrentIndex(1);
    options.Edit15->setFocus();
    options.Edit15->setText(QStringLiteral("typed"));
    QTest::keyClick(options.Edit15, Qt::Key_Tab);
    ASSERT_TRUE(options.ListBox1->hasFocus());
    EXPECT_EQ(options.Edit15->text(), "typed");
    QTest::keyClick(options.ListBox1, Qt::Key_Down);
    EXPECT_EQ(options.Edit15->text(), options.ListBox1->currentItem()->text());
}

TEST_F(OptionsDialogTest, ARefusedWriteShowsTheErrorKeepsTheFileAndStaysOpen) {
    folder.Write("settings.ini", "[general]\r\ndefault_url=http://mine.example/\r\n");
    std::filesystem::permissions(File(), std::filesystem::perms::owner_read);
    Open();
    options.Edit1->setText(QStringLiteral("http://other.example/"));
    options.CheckBox1->setChecked(true);
    QTest::mouseClick(options.Button1, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].text,
              QString::fromStdString("Unable to write to " + File().string() + "."));
    EXPECT_EQ(boxes.shown[0].caption, "Hostlore");
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Error);
    EXPECT_TRUE(options.isVisible());
    EXPECT_EQ(folder.Read("settings.ini"), "[general]\r\ndefault_url=http://mine.example/\r\n");
    EXPECT_EQ(options.Edit1->text(), "http://other.example/") << "nothing typed is lost";
}

TEST_F(OptionsDialogTest, TheProxyTickBoxEnablesExactlyTheFiveProxyFields) {
    Open();
    const std::set<QWidget*> proxyFields = {options.Edit9, options.Edit10, options.ComboBox3,
                                            options.Edit11, options.Edit12};
    const auto controls = options.findChildren<QWidget*>(
        QRegularExpression(QStringLiteral("^(Edit|CheckBox|ComboBox|ListBox|Button)\\d+$")));
    ASSERT_EQ(controls.size(), 25);
    PageControl1()->setCurrentIndex(3);
    for (const bool ticked : {true, false, true}) {
        QTest::mouseClick(options.CheckBox1, Qt::LeftButton);
        ASSERT_EQ(options.CheckBox1->isChecked(), ticked);
        for (QWidget* control : controls) {
            EXPECT_EQ(control->isEnabled(), !proxyFields.contains(control) || ticked)
                << control->objectName().toStdString();
        }
    }
}

TEST_F(OptionsDialogTest, EveryControlIsNamedByItsLabelOrGroup) {
    const std::pair<QWidget*, QString> controls[] = {
        {options.Edit1, "Default Website"},
        {options.CheckBox2, "Get the URL currently open in Internet Explorer"},
        {options.CheckBox3, "Execute the query"},
        {options.ComboBox1, "Go directly to"},
        {options.Edit2, "IPs"},
        {options.Edit15, "Whois Server"},
        {options.ListBox1, "General whois servers"},
        {options.ListBox2, "National and special whois servers"},
        {options.Edit3, "Service provided by"},
        {options.Edit4, "URL"},
        {options.Edit13, "Service provided by"},
        {options.Edit14, "URL"},
        {options.CheckBox1, "Use a proxy server for your LAN"},
        {options.Edit9, "Host"},
        {options.Edit10, "Port"},
        {options.ComboBox3, "Socks Version"},
        {options.Edit11, "User Name"},
        {options.Edit12, "Password"},
    };
    for (const auto& [control, name] : controls) {
        EXPECT_EQ(control->accessibleName(), name) << control->objectName().toStdString();
    }
    EXPECT_EQ(options.Label1->text(),
              "You can choose the whois server from the below list or input the others. We "
              "sugget you using Networksolutions whois server.");
    EXPECT_EQ(options.Label1->textFormat(), Qt::PlainText);
}

TEST_F(OptionsDialogTest, ThePasswordIsNeitherShownNorReadOutToScreenReaders) {
    folder.Write("settings.ini", "[proxy]\r\nuse=true\r\npwd=secret\r\n");
    Open();
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(options.Edit12);
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->state().passwordEdit);
    EXPECT_FALSE(field->text(QAccessible::Value).contains("secret"));
    EXPECT_FALSE(options.Edit12->displayText().contains("secret"));
}

TEST_F(OptionsDialogTest, ControlTabKeysSwitchItsPages) {
    OpenActive();
    options.Edit1->setFocus();
    const std::pair<Qt::KeyboardModifiers, int> steps[] = {
        {Qt::ControlModifier, 1}, {Qt::ControlModifier | Qt::ShiftModifier, 0}};
    for (const auto& [modifiers, page] : steps) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, modifiers);
        EXPECT_EQ(PageControl1()->currentIndex(), page);
    }
}

TEST_F(OptionsDialogTest, AltKeysPressTheButtons) {
    // Default fills in the default address; OK and Cancel close the dialog.
    const std::tuple<Qt::Key, bool, QDialog::DialogCode> cases[] = {
        {Qt::Key_D, true, QDialog::Rejected},
        {Qt::Key_O, false, QDialog::Accepted},
        {Qt::Key_C, false, QDialog::Rejected},
    };
    for (const auto& [key, staysOpen, result] : cases) {
        OpenActive();
        options.setResult(QDialog::Rejected);
        options.Edit1->setText(QStringLiteral("typed"));
        QTest::keyClick(&options, key, Qt::AltModifier);
        const bool defaults = staysOpen;
        ASSERT_TRUE(test::PumpUntil([&] {
            return defaults ? options.Edit1->text() != "typed" : !options.isVisible();
        })) << key;
        EXPECT_EQ(options.result(), result) << key;
        options.reject();
    }
    EXPECT_EQ(settings.ReadString("general", "default_url", ""), "typed") << "OK wrote";
}

}  // namespace
}  // namespace hostlore
