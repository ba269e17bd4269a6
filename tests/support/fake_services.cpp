#include "support/fake_services.h"

#include "platform/system_error.h"
#include "support/event_pump.h"
#include "support/recording_web_pane.h"

namespace hostlore::test {

void RecordingMessageBoxes::ShowOk(QWidget* /*owner*/, const QString& text, const QString& caption,
                                   BoxIcon icon) {
    shown.push_back({text, caption, icon});
    if (readingMilliseconds > 0) {
        PumpUntil([] { return false; }, readingMilliseconds);
    }
}

FixedMachine::FixedMachine() {
    parameters.HostName = "testhost";
    parameters.DomainName = "example.test";
    parameters.DnsServerList = {{"192.0.2.53", ""}};
    parameters.CurrentDnsServer = parameters.DnsServerList.front();
    parameters.EnableDns = 1;
    AdapterInfo adapter;
    adapter.ComboIndex = adapter.Index = 2;
    adapter.AdapterName = adapter.Description = "eth0";
    adapter.Address = {0x52, 0x54, 0x00, 0x12, 0x34, 0xAB};
    adapter.Type = 1;
    adapter.IpAddressList = {{"192.0.2.7", "255.255.255.0"}};
    adapter.CurrentIpAddress = adapter.IpAddressList.front();
    adapters.push_back(adapter);
}

NetworkParameters FixedMachine::GetNetworkParams() {
    if (failWith != 0) {
        throw ESystemError(failWith);
    }
    return parameters;
}

std::vector<AdapterInfo> FixedMachine::GetAdaptersInfo() {
    if (failWith != 0) {
        throw ESystemError(failWith);
    }
    return adapters;
}

MainServices FakeProgram::Services() const {
    MainServices services;
    services.settingsFolder = folder.Path();
    services.executable = folder.File("hostlore");
    services.messageBoxes = boxes;
    services.shell = shell;
    services.resolver = resolver;
    services.dns = dns;
    services.clock = clock;
    services.networkConfiguration = machine;
    services.browserUrls = browser;
    services.saveFiles = saveFiles;
    services.whois = WhoisServices::WithCacheIn(folder.File("cache"), clock);
    services.webPanes = [] { return new RecordingWebPane; };
    return services;
}

}  // namespace hostlore::test
