#include "app/pages/neighbourhood_page.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/pages/stoppable_run.h"
#include "platform/network_text.h"
#include "platform/shell_opener.h"
#include "query/neighbourhood/neighbour_items.h"

namespace hostlore {

NeighbourhoodPage::NeighbourhoodPage(ShellOpener& shell,
                                     std::function<void(const QString&)> queryHost,
                                     std::function<void()> stop, QWidget* parent)
    : QWidget(parent),
      shell_(shell),
      queryHost_(std::move(queryHost)),
      run_(new StoppableRun("ip_nei_stop", QStringLiteral("Stop IP Neighborhood Query"), "Label11",
                            std::move(stop))),
      ListBox1(new QListWidget),
      PopupMenu1(new QMenu(this)) {
    auto* column = new QVBoxLayout(this);
    column->addWidget(run_);

    auto* Label15 = new QLabel(QStringLiteral(
        "This function would take an IP address and do a resolve for the last and the next "
        "number IPs. This is not often found, but can be very useful to see what other website "
        "domains are hosted by the same ISP. "));
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setTextFormat(Qt::PlainText);
    Label15->setWordWrap(true);
    column->addWidget(Label15);

    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("IP Neighborhood"));
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    column->addWidget(ListBox1, 1);

    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* Hostlore1 = PopupMenu1->addAction(QStringLiteral("Hostlore"));
    Hostlore1->setObjectName(QStringLiteral("Hostlore1"));
    connect(Hostlore1, &QAction::triggered, this, &NeighbourhoodPage::Hostlore1Click);
    QAction* Open1 = PopupMenu1->addAction(QStringLiteral("Open"));
    Open1->setObjectName(QStringLiteral("Open1"));
    connect(Open1, &QAction::triggered, this, &NeighbourhoodPage::Open1Click);

    connect(ListBox1, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(ListBox1->viewport()->mapToGlobal(at)); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &NeighbourhoodPage::Open1Click);
    // Shift+F10 opens the menu as the Menu key does: at the current entry.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), ListBox1);
    menuKey->setContext(Qt::WidgetShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] {
        const QPoint at = ListBox1->visualRect(ListBox1->currentIndex()).center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, at,
                                ListBox1->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(ListBox1, &event);
    });
}

RunStatusView& NeighbourhoodPage::Status() {
    return *run_;
}

void NeighbourhoodPage::ClearList() {
    ListBox1->clear();
}

void NeighbourhoodPage::AppendItem(const std::string& text) {
    ListBox1->addItem(TextFromNetwork(text));
}

void NeighbourhoodPage::ShowNothingToScan(const std::string& reason) {
    // The reason stands where the addresses would.
    ListBox1->clear();
    ListBox1->addItem(QString::fromStdString(reason));
}

void NeighbourhoodPage::ReplaceLastItem(const std::string& text) {
    if (ListBox1->count() > 0) {
        ListBox1->item(ListBox1->count() - 1)->setText(TextFromNetwork(text));
    }
}

QString NeighbourhoodPage::SelectedName() const {
    const QListWidgetItem* selected = ListBox1->currentItem();
    if (selected == nullptr || !selected->isSelected()) {
        return {};
    }
    return QString::fromStdString(
        NeighbourName(selected->text().toStdString()).value_or(std::string()));
}

void NeighbourhoodPage::Hostlore1Click() {
    if (const QString name = SelectedName(); !name.isEmpty()) {
        queryHost_(name);
    }
}

void NeighbourhoodPage::Open1Click() {
    if (const QString name = SelectedName(); !name.isEmpty()) {
        shell_.Open(QStringLiteral("http://") + name);
    }
}

}  // namespace hostlore
