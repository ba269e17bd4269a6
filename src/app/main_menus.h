#pragma once

#include <functional>

class QMenuBar;

namespace hostlore {

// What the items of the main window's menus do. An empty handler leaves its
// item disabled.
struct MainMenuHandlers {
    std::function<void()> SaveReport1Click;
    std::function<void()> Exit1Click;
    std::function<void()> Options2Click;
    std::function<void()> HelpTopic1Click;
    std::function<void()> EmailSupport1Click;
    std::function<void()> HostloreWebsite1Click;
    std::function<void()> About1Click;
};

void BuildMainMenus(QMenuBar& bar, const MainMenuHandlers& handlers);

}  // namespace hostlore
