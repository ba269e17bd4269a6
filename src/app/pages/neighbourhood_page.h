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
class TThread;

// IP Neighborhood: the addresses around the host with their names, a stop
// button, the status of the scan, and a popup menu to query or open a name.
class NeighbourhoodPage : public QWidget, public NeighbourhoodView {
    Q_OBJECT

  public:
    // `queryHost` runs a full query for a neighbour's name.
    NeighbourhoodPage(ShellOpener& shell, std::function<void(const QString&)> queryHost,
                      QWidget* parent = nullptr);

    void StartRun(const std::shared_ptr<TThread>& worker);
    bool Running() const;
    void StopRun();

    void ClearList() override;
    void AppendItem(const std::string& text) override;
    void ReplaceLastItem(const std::string& text) override;

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
