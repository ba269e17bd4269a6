#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/drawn_icons.h"
#include "app/first_paint.h"
#include "app/font_scale.h"
#include "app/main_window.h"
#include "app/page_control.h"
#include "app/pages/general_info_page.h"
#include "app/pages/local_network_page.h"
#include "app/pages/neighbourhood_page.h"
#include "app/pages/page_widgets.h"
#include "app/pages/service_page.h"
#include "app/pages/whois_info_page.h"
#include "app/program_pictures.h"
#include "app/selection_cut_key.h"
#include "query/query_rules.h"

namespace hostlore {

namespace {

// The narrowest URL box still shows a short host name whole.
constexpr int kUrlBoxMinimumCharacters = 20;

// Trailing blanks give the vertical captions similar lengths.
const std::array<const char*, 8> kTabCaptions = {
    "General Info    ", "Whois Info      ", "Site Info       ", "Whois Source    ",
    "Backward Links  ", "Similar Pages   ", "IP Neighborhood ", "Local Network Info"};

const std::array<ServicePageNames, 4> kServicePageNames = {{
    {"Label12", "WebBrowser1", {"SpeedButton3", "SpeedButton4", "SpeedButton5", "SpeedButton6"}},
    {"Label18", "WebBrowser3", {"SpeedButton1", "SpeedButton15", "SpeedButton16", "SpeedButton17"}},
    {"Label13", "WebBrowser2", {"SpeedButton7", "SpeedButton8", "SpeedButton9", "SpeedButton10"}},
    {"Label14",
     "WebBrowser4",
     {"SpeedButton11", "SpeedButton12", "SpeedButton13", "SpeedButton14"}},
}};

// Entries too long for the list are elided there; the tooltip shows them whole.
void ShowEntriesWholeInTooltips(QComboBox& box) {
    QAbstractItemModel* entries = box.model();
    QObject::connect(entries, &QAbstractItemModel::rowsInserted, &box,
                     [entries](const QModelIndex& parent, int first, int last) {
                         for (int row = first; row <= last; ++row) {
                             const QModelIndex entry = entries->index(row, 0, parent);
                             entries->setData(entry, entry.data(), Qt::ToolTipRole);
                         }
                     });
}

QString PageName(std::size_t index) {
    return QString::fromLatin1(kPageNames[index].data(),
                               static_cast<qsizetype>(kPageNames[index].size()));
}

}  // namespace

void Tmain::BuildWindow() {
    setObjectName(QStringLiteral("main"));
    setWindowTitle(DisplayName());
    // Finding and decoding the icon costs the first window a tenth of its
    // time; every window of the program takes it from the application.
    AfterFirstPaint(this, [] { QApplication::setWindowIcon(ProgramIcon()); });
    // A larger desktop font needs a larger window; a smaller one keeps this size.
    resize((QSizeF(583, 430) * GrowthScale()).toSize());

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(BuildTopPanel());
    cxPageControl1 = new PageControl;
    cxPageControl1->setObjectName(QStringLiteral("cxPageControl1"));
    BuildPages();
    column->addWidget(cxPageControl1, 1);
    setCentralWidget(central);
}

QWidget* Tmain::BuildTopPanel() {
    auto* panel = new QWidget;
    panel->setFixedHeight(qRound(57 * GrowthScale()));
    auto* row = new QHBoxLayout(panel);

    url_edit = new QComboBox;
    url_edit->setObjectName(QStringLiteral("url_edit"));
    url_edit->setEditable(true);
    url_edit->setInsertPolicy(QComboBox::NoInsert);
    url_edit->setDuplicatesEnabled(true);
    url_edit->setFont(ArialFont(10));
    url_edit->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The box takes its width from the window, never from its entries: one
    // long URL in the history would widen the window past the screen.
    url_edit->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    url_edit->setMinimumContentsLength(kUrlBoxMinimumCharacters);
    ShowEntriesWholeInTooltips(*url_edit);
    url_edit->setAccessibleName(QStringLiteral("URL"));
    UseTealText(url_edit);

    go = ToolButton("go", QStringLiteral("Get Hostlore"), DrawnIcon::Go);
    SpeedButton2 = ToolButton("SpeedButton2",
                              QStringLiteral("Get The URL Currently Open In The Internet Explorer"),
                              DrawnIcon::BrowserUrl);

    row->addWidget(Caption(QStringLiteral("URL"), url_edit));
    row->addWidget(url_edit, 1);
    row->addWidget(go);
    row->addWidget(SpeedButton2);
    return panel;
}

void Tmain::BuildPages() {
    generalInfo_ = new GeneralInfoPage(*services_.messageBoxes);
    const QIcon pageIcon = MakeDrawnIcon(DrawnIcon::PageInfo);
    const QIcon localIcon = MakeDrawnIcon(DrawnIcon::Computer);
    for (std::size_t i = 0; i < kTabCaptions.size(); ++i) {
        // An empty page stands in for each of the others until they are made.
        QWidget* page = i == 0 ? generalInfo_ : new QWidget;
        page->setObjectName(PageName(i));
        cxPageControl1->addPage(page, i + 1 < kTabCaptions.size() ? pageIcon : localIcon,
                                QString::fromLatin1(kTabCaptions[i]));
    }
    QFont tabFont = ArialFont(8);
    tabFont.setUnderline(true);
    cxPageControl1->setTabFont(tabFont);
}

void Tmain::BuildHiddenPages() {
    servicePages_.clear();  // after a build that failed part-way
    whoisInfo_ = new WhoisInfoPage(Guarded([this] { whois_stopClick(whoisInfo_); }));
    for (std::size_t i = 0; i < kServicePageNames.size(); ++i) {
        servicePages_.push_back(
            new ServicePage(PageName(i + 2), kServicePageNames[i], services_.webPanes()));
    }
    neighbourhood_ = new NeighbourhoodPage(
        *services_.shell,
        [this](const QString& name) {
            Guarded([this, name] {
                url_edit->setEditText(name);
                goClick(neighbourhood_);
            })();
        },
        Guarded([this] { ip_nei_stopClick(neighbourhood_); }));
    localNetwork_ = new LocalNetworkPage;

    const std::array<QWidget*, 7> pages = {whoisInfo_,       servicePages_[0], servicePages_[1],
                                           servicePages_[2], servicePages_[3], neighbourhood_,
                                           localNetwork_};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pages[i]->setObjectName(PageName(i + 1));
        cxPageControl1->setPage(static_cast<int>(i + 1), pages[i]);
        new SelectionCutKey(*pages[i]);
    }
}

}  // namespace hostlore
