#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "query/page_views.h"

class QListWidget;
class QMenu;

namespace hostlore {

class ShellOpener;
class StoppableRun;

// IP Neighborhood: the addresses around the host with their names, a stop
// button, the status of the scan, and a popup menu to query or open a name.
class NeighbourhoodPage : public QWidget, public NeighbourhoodView {
    Q_OBJECT

  public:
    // `queryHost` runs a full query for a neighbour's name; `stop` is what the
    // stop button does.
    NeighbourhoodPage(ShellOpener& shell, std::function<void(const QString&)> queryHost,
                      std::function<void()> stop, QWidget* parent = nullptr);

    RunStatusView& Status();

    void ClearList() override;
    void AppendItem(const std::string& text) override;
    void ReplaceLastItem(const std::string& text) override;
    void ShowNothingToScan(const std::string& reason) override;

    void Hostlore1Click();
    void Open1Click();

  private:
    // The name of the selected item, when it has one.
    QString SelectedName() const;

    ShellOpener& shell_;
    std::function<void(const QString&)> queryHost_;
    StoppableRun* run_;
    QListWidget* ListBox1;
    QMenu* PopupMenu1;
};

}  // namespace hostlore
