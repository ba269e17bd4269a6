#include "app/url_box.h"

#include <QComboBox>

#include "app/pages/page_widgets.h"

namespace hostlore {

namespace {

// The narrowest URL box still shows a short host name whole.
constexpr int kUrlBoxMinimumCharacters = 20;

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

}  // namespace

QComboBox* MakeUrlBox() {
    auto* box = new QComboBox;
    box->setObjectName(QStringLiteral("url_edit"));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setDuplicatesEnabled(true);
    box->setFont(ArialFont(10));
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The box takes its width from the window, never from its entries: one
    // long URL in the history would widen the window past the screen.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(kUrlBoxMinimumCharacters);
    ShowEntriesWholeInTooltips(*box);
    box->setAccessibleName(QStringLiteral("URL"));
    UseTealText(box);
    return box;
}

std::vector<std::string> UrlBoxEntries(const QComboBox& box) {
    std::vector<std::string> urls;
    urls.reserve(static_cast<std::size_t>(box.count()));
    for (int i = 0; i < box.count(); ++i) {
        urls.push_back(box.itemText(i).toStdString());
    }
    return urls;
}

void AddUrlBoxEntries(QComboBox& box, const std::vector<std::string>& urls) {
    const QString typed = box.currentText();
    for (const auto& url : urls) {
        box.addItem(QString::fromStdString(url));
    }
    box.setEditText(typed);
}

void ShowQueriedUrl(QComboBox& box, const QString& url) {
    if (box.currentText() != url) {
        box.setEditText(url);
    }
    if (box.findText(url, Qt::MatchFixedString) < 0) {
        box.addItem(url);
        box.setEditText(url);
    }
}

}  // namespace hostlore
