#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "app/main_services.h"
#include "support/fake_resolver.h"
#include "support/qt_printers.h"
#include "support/refusing_dns.h"
#include "support/temporary_folder.h"

namespace hostlore::test {

struct ShownBox {
    QString text;
    QString caption;
    BoxIcon icon;
};

// Records every box instead of showing it, as if the user pressed OK at once,
// or after reading it for `readingMilliseconds` while the event loop runs.
class RecordingMessageBoxes : public MessageBoxes {
  public:
    void ShowOk(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon) override;
    // The boxes shown so far, when they are read on the user interface thread.
    std::vector<ShownBox> shown;
    int readingMilliseconds = 0;
};

// Always the same moment: 10 March 2021, 12:00 UTC.
class FixedClock : public Clock {
  public:
    std::chrono::system_clock::time_point Now() const override {
        return std::chrono::system_clock::from_time_t(1615377600);
    }
};

// A machine whose network is what the test says; by default one adapter.
class FixedMachine : public NetworkConfigurationSource {
  public:
    FixedMachine();
    NetworkParameters GetNetworkParams() override;
    std::vector<AdapterInfo> GetAdaptersInfo() override;

    NetworkParameters parameters;
    std::vector<AdapterInfo> adapters;
    int failWith = 0;  // an error number both calls raise, or 0
};

// A browser that answers with the reply the test sets, or not at all.
class ScriptedBrowser : public BrowserUrlSource {
  public:
    std::optional<std::string> ActivePageReply() override {
        ++asked;
        return reply;
    }
    std::optional<std::string> reply;
    int asked = 0;
};

class RecordingShell : public ShellOpener {
  public:
    void Open(const QString& target) override { opened << target; }
    QStringList opened;
};

// Answers the save dialog with the file the test names, or as cancelled.
class ScriptedSaveFiles : public SaveFileChooser {
  public:
    std::optional<std::filesystem::path> ChooseReportFile(QWidget* /*owner*/) override {
        return answer;
    }
    std::optional<std::filesystem::path> answer;
};

// Services of a program that lives in a temporary folder of the test's own;
// its browser panes are RecordingWebPanes.
struct FakeProgram {
    TemporaryFolder folder;
    std::shared_ptr<RecordingMessageBoxes> boxes = std::make_shared<RecordingMessageBoxes>();
    std::shared_ptr<RecordingShell> shell = std::make_shared<RecordingShell>();
    std::shared_ptr<FakeResolver> resolver = std::make_shared<FakeResolver>();
    std::shared_ptr<RefusingDns> dns = std::make_shared<RefusingDns>();
    std::shared_ptr<FixedClock> clock = std::make_shared<FixedClock>();
    std::shared_ptr<FixedMachine> machine = std::make_shared<FixedMachine>();
    std::shared_ptr<ScriptedBrowser> browser = std::make_shared<ScriptedBrowser>();
    std::shared_ptr<ScriptedSaveFiles> saveFiles = std::make_shared<ScriptedSaveFiles>();

    MainServices Services() const;
    void WriteSettings(const std::string& content) const { folder.Write("settings.ini", content); }
    std::string ReadSettings() const { return folder.Read("settings.ini"); }
};

}  // namespace hostlore::test
