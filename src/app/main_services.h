#pragma once

#include <filesystem>
#include <memory>

#include "app/pages/web_pane.h"
#include "localinfo/browser_url.h"
#include "localinfo/network_configuration.h"
#include "platform/clock.h"
#include "platform/message_boxes.h"
#include "platform/resolver.h"
#include "platform/save_file_chooser.h"
#include "platform/shell_opener.h"

namespace hostlore {

// What the main window needs from the outside world; tests hand in their own.
struct MainServices {
    // Where settings.ini and the position file live (see SettingsFolder).
    std::filesystem::path settingsFolder;
    std::filesystem::path executable;
    std::shared_ptr<MessageBoxes> messageBoxes;
    std::shared_ptr<ShellOpener> shell;
    std::shared_ptr<Resolver> resolver;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<NetworkConfigurationSource> networkConfiguration;
    std::shared_ptr<BrowserUrlSource> browserUrls;
    std::shared_ptr<SaveFileChooser> saveFiles;
    // Called once for each service page.
    WebPaneFactory webPanes;
    // The address the command line gave: put into the URL box and queried at
    // start-up whatever the settings say; empty for none.
    std::string startUrl;

    // The running program's settings folder and the real Linux services.
    static MainServices ForThisProgram();
};

}  // namespace hostlore
