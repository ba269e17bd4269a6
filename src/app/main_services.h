#pragma once

#include <filesystem>
#include <functional>
#include <memory>

#include "app/pages/web_pane.h"
#include "localinfo/browser_url.h"
#include "localinfo/network_configuration.h"
#include "platform/clock.h"
#include "platform/dns_questions.h"
#include "platform/message_boxes.h"
#include "platform/resolver.h"
#include "platform/save_file_chooser.h"
#include "platform/shell_opener.h"
#include "query/whois/whois_services.h"

namespace hostlore {

// What the main window needs from the outside world; tests hand in their own.
struct MainServices {
    // Where settings.ini and the position file live (see SettingsFolder).
    std::filesystem::path settingsFolder;
    std::filesystem::path executable;
    std::shared_ptr<MessageBoxes> messageBoxes;
    std::shared_ptr<ShellOpener> shell;
    std::shared_ptr<Resolver> resolver;
    std::shared_ptr<DnsService> dns;
    std::shared_ptr<Clock> clock;
    std::shared_ptr<NetworkConfigurationSource> networkConfiguration;
    std::shared_ptr<BrowserUrlSource> browserUrls;
    std::shared_ptr<SaveFileChooser> saveFiles;
    WhoisServices whois;
    // Called once for each service page, and for the help window.
    WebPaneFactory webPanes;
    // True while those panes can show pages; help opens outside the program
    // otherwise. Unset means never.
    std::function<bool()> webPanesShowPages;
    // The address the command line gave: put into the URL box and queried at
    // start-up whatever the settings say; empty for none.
    std::string startUrl;
    // Makes the pages the first window does not show after its first paint,
    // or earlier when a query or the report needs them; otherwise while the
    // window is made, which tests that look into a window they never show need.
    bool pagesAfterFirstPaint = false;

    // The running program's settings folder and the real Linux services.
    static MainServices ForThisProgram();
};

}  // namespace hostlore
