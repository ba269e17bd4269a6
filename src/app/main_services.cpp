#include "app/main_services.h"

#include "localinfo/linux_network_configuration.h"
#include "localinfo/running_browsers.h"
#include "platform/program_files.h"
#include "platform/unbound_dns.h"

namespace hostlore {

MainServices MainServices::ForThisProgram() {
    MainServices services;
    services.executable = ExecutablePath();
    const UserFolders user = UserFolders::FromEnvironment();
    services.settingsFolder = SettingsFolder(services.executable.parent_path(), user);
    services.messageBoxes = std::make_shared<QtMessageBoxes>();
    services.shell = std::make_shared<DesktopShellOpener>(
        services.messageBoxes, QString::fromStdString(ApplicationTitle(services.executable)));
    services.resolver = std::make_shared<SystemResolver>();
    services.dns = std::make_shared<UnboundDnsService>();
    services.clock = std::make_shared<SystemClock>();
    services.networkConfiguration = std::make_shared<LinuxNetworkConfiguration>();
    services.browserUrls = std::make_shared<RunningBrowsers>(RunningBrowsers::ForThisUser());
    services.saveFiles = std::make_shared<DialogSaveFileChooser>();
    services.whois = WhoisServices::WithCacheIn(user.CacheFolder(), services.clock);
    services.pagesAfterFirstPaint = true;
    return services;
}

}  // namespace hostlore
