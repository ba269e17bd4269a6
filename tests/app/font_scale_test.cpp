#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include "app/main_window.h"
#include "query/query_rules.h"
#include "support/fake_services.h"
#include "support/window_controls.h"

namespace hostlore {
namespace {

// Heights of what should grow with the desktop's font.
struct Heights {
    int location = 0;
    int hostName = 0;
    int url = 0;
    int tabCaption = 0;
    int buttonIcon = 0;
    int tabIcon = 0;
};

void ExpectFits(QLineEdit* field) {
    // A line edit keeps 2 pixels of margin on each side of its text.
    const int needed = field->fontMetrics().horizontalAdvance(field->text()) + 4;
    EXPECT_LE(needed, field->contentsRect().width())
        << field->objectName().toStdString() << " cuts \"" << field->text().toStdString() << '"';
    EXPECT_GE(field->contentsRect().height(), field->fontMetrics().height())
        << field->objectName().toStdString();
}

// A wrapping field shows its whole text without scrolling.
void ExpectShowsAllLines(QPlainTextEdit* field) {
    EXPECT_FALSE(field->verticalScrollBar()->isVisible())
        << field->objectName().toStdString() << " needs more lines for \""
        << field->toPlainText().toStdString() << '"';
    EXPECT_GE(field->viewport()->height(), field->fontMetrics().height())
        << field->objectName().toStdString();
}

void ExpectFitsOrScrolls(QPlainTextEdit* area) {
    int widest = 0;
    for (const QString& line : area->toPlainText().split('\n')) {
        widest = std::max(widest, area->fontMetrics().horizontalAdvance(line));
    }
    const bool fits = widest + 2 * area->document()->documentMargin() <= area->viewport()->width();
    EXPECT_TRUE(fits || area->horizontalScrollBar()->isVisible())
        << area->objectName().toStdString() << ": " << widest << " pixels in "
        << area->viewport()->width();
    EXPECT_GE(area->viewport()->height(), area->fontMetrics().height())
        << area->objectName().toStdString();
}

// Builds the window under the application font `font`, fills its results and
// checks that nothing is cut.
Heights ShowWindowWithFont(const QFont& font) {
    const QFont original = QApplication::font();
    QApplication::setFont(font);
    test::FakeProgram program;
    program.WriteSettings("[general]\r\nexecute=false\r\n");
    Heights heights;
    {
        Tmain window(program.Services());
        const auto ui = test::Ui(window);
        ui.url_edit->setEditText(QStringLiteral("http://www.hostlore.example/index.html"));
        ui.Edit1->setText(QStringLiteral("United States"));
        ui.Edit4->setText(QStringLiteral("www.hostlore.example"));
        ui.Edit2->setText(QStringLiteral("Apache/2.4.57 (Debian)"));
        ui.Edit3->setText(QStringLiteral("12/06/2026"));
        ui.Edit5->setText(QStringLiteral("12/08/2026"));
        ui.FinalAddress->setPlainText(QStringLiteral("https://www.hostlore.example/index.html"));
        ui.Certificate->setPlainText(
            QStringLiteral("www.hostlore.example, issued by Hostlore Test Authority, until "
                           "03/08/2027 (90 days left): name does not match hostlore.example"));
        ui.Memo1->setPlainText(QStringLiteral("12.1.1.1\n12.1.1.2\n12.1.1.4"));
        ui.Memo3->setPlainText(QStringLiteral("Domain Name: HOSTLORE.EXAMPLE\n") +
                               QString(200, QChar('x')));
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        const std::pair<int, std::vector<QPlainTextEdit*>> areas[] = {
            {kGeneralInfoPage, {ui.Memo1}},
            {kWhoisInfoPage, {ui.Memo3}},
            {kLocalNetworkPage, {ui.Memo4, ui.Memo2}}};
        for (const auto& [page, shown] : areas) {
            ui.cxPageControl1->setCurrentIndex(page);
            QCoreApplication::processEvents();
            for (QPlainTextEdit* area : shown) {
                ExpectFitsOrScrolls(area);
            }
        }
        for (QLineEdit* field :
             {ui.Edit1, ui.Edit4, ui.Edit2, ui.Edit3, ui.Edit5, ui.url_edit->lineEdit()}) {
            ExpectFits(field);
        }
        for (QPlainTextEdit* field : {ui.FinalAddress, ui.Certificate}) {
            ExpectShowsAllLines(field);
        }
        PageControl* pages = ui.cxPageControl1;
        for (int i = 0; i < pages->count(); ++i) {
            VerticalTab* tab = pages->tab(i);
            EXPECT_EQ(tab->ShownCaption().trimmed(), tab->text().trimmed()) << i;
            EXPECT_TRUE(pages->rect().contains(tab->geometry())) << i;
        }
        heights = {ui.Edit1->height(),         ui.Edit4->height(),
                   ui.url_edit->height(),      pages->tab(0)->fontMetrics().height(),
                   ui.go->iconSize().height(), pages->tab(0)->iconSize().height()};
    }
    QApplication::setFont(original);
    return heights;
}

TEST(FontScale, ResultsUrlBoxAndTabsGrowWithA16PointDesktopFontAndNothingIsCut) {
    QFont large = QApplication::font();
    large.setPointSize(16);
    const Heights normal = ShowWindowWithFont(QApplication::font());
    const Heights grown = ShowWindowWithFont(large);
    EXPECT_GT(grown.location, normal.location);
    EXPECT_GT(grown.hostName, normal.hostName);
    EXPECT_GT(grown.url, normal.url);
    EXPECT_GT(grown.tabCaption, normal.tabCaption);
    EXPECT_GT(grown.buttonIcon, normal.buttonIcon);
    EXPECT_GT(grown.tabIcon, normal.tabIcon);
    // In proportion: a font 16/9 as large leaves results at least half again as tall.
    EXPECT_GE(grown.hostName * 2, normal.hostName * 3);
}

TEST(FontScale, TheResultFontsKeepTheirFamilyAndTheirSizesRelativeToEachOther) {
    const QFont original = QApplication::font();
    std::vector<double> ratios;
    for (int points : {9, 16}) {
        QFont font = original;
        font.setPointSize(points);
        QApplication::setFont(font);
        test::FakeProgram program;
        program.WriteSettings("[general]\r\nexecute=false\r\n");
        Tmain window(program.Services());
        const auto ui = test::Ui(window);
        EXPECT_EQ(ui.Edit4->font().family(), "Arial");
        EXPECT_TRUE(ui.Edit1->font().bold());
        ratios.push_back(ui.Edit1->font().pointSizeF() / ui.Edit4->font().pointSizeF());
        ratios.push_back(ui.url_edit->font().pointSizeF() / ui.Edit4->font().pointSizeF());
    }
    QApplication::setFont(original);
    EXPECT_DOUBLE_EQ(ratios[0], ratios[2]);
    EXPECT_DOUBLE_EQ(ratios[1], ratios[3]);
}

}  // namespace
}  // namespace hostlore
