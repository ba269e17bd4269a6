#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dns/test_dns.h"
#include "support/fake_services.h"
#include "support/recording_server.h"
#include "support/report_schema.h"

namespace hostlore::test {

struct Outcome {
    int status = -1;
    std::string output;
    std::string errors;
    qint64 milliseconds = 0;
};

// `hostlore --report` as a user runs it, against a web server and a whois
// server on the addresses the test DNS gives www.example.test and the whois
// host, from a copy of the program that keeps its settings in a folder of the
// test's own.
class ReportProgramTest : public TestDns {
  protected:
    void SetUp() override {
        TestDns::SetUp();
        if (IsSkipped()) {
            return;
        }
        web = std::make_unique<RecordingServer>(
            "\r\n\r\n",
            Always("HTTP/1.1 200 OK\r\nServer: World/1.0\r\n"
                   "Last-Modified: Sat, 05 Nov 1994 10:00:00 GMT\r\n"
                   "Date: Sun, 06 Nov 1994 08:49:37 GMT\r\n\r\n"),
            ServerOptions{"192.0.2.10", 80});
        whois = std::make_unique<RecordingServer>("\r\n", ScriptedWhoisReply,
                                                  ServerOptions{"192.0.2.43", 43});
        silent = std::make_unique<RecordingServer>("\r\n", ScriptedWhoisReply,
                                                   ServerOptions{"192.0.2.44", 43});
        // A portable copy: the modules beside the program.
        for (const char* file :
             {HOSTLORE_PROGRAM, HOSTLORE_WINDOW_MODULE, HOSTLORE_TLS_MODULE, HOSTLORE_DNS_MODULE}) {
            std::filesystem::copy_file(
                file, program.folder.File(std::filesystem::path(file).filename().string()));
        }
        std::filesystem::permissions(program.folder.File("hostlore"),
                                     std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
        program.WriteSettings(
            "[general]\r\nip_nei=4\r\nget_ie=false\r\nexecute=false\r\n"
            "[whois]\r\nserver=192.0.2.43\r\n" +
            TestTrustAnchorSetting());
    }

    // What the program is given besides its arguments.
    struct Given {
        QStringList environment;
        std::optional<std::string> input{};  // on standard input, then its end
        QString outputFile{};                // instead of standard output
    };

    Outcome Run(const QStringList& arguments, const QStringList& extraEnvironment = {}) const {
        return Run(arguments, Given{extraEnvironment});
    }

    Outcome Run(const QStringList& arguments, const Given& given) const {
        const QStringList& extraEnvironment = given.environment;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
            environment.remove(QString::fromLatin1(display));
        }
        for (const QString& variable : extraEnvironment) {
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        }
        QProcess process;
        process.setProcessEnvironment(environment);
        QElapsedTimer clock;
        clock.start();
        if (!given.outputFile.isEmpty()) {
            process.setStandardOutputFile(given.outputFile);
        }
        process.start(QString::fromStdString(program.folder.File("hostlore").string()), arguments);
        if (given.input) {
            process.write(given.input->data(), static_cast<qint64>(given.input->size()));
            process.closeWriteChannel();
        }
        EXPECT_TRUE(process.waitForFinished(60'000)) << arguments.join(' ').toStdString();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(),
                process.readAllStandardError().toStdString(), clock.elapsed()};
    }

    // The reports of JSON Lines output checked against the report's schema
    // and version 1's.
    void ExpectReportsFollowTheSchema(const std::string& jsonLines) const {
        program.folder.Write("reports.jsonl", jsonLines);
        EXPECT_EQ(ReportSchemaErrors(program.folder.File("reports.jsonl")), "");
    }

    FakeProgram program;
    std::unique_ptr<RecordingServer> web;
    std::unique_ptr<RecordingServer> whois;
    std::unique_ptr<RecordingServer> silent;
};

inline std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

// Each line of JSON Lines as an object.
inline std::vector<QJsonObject> JsonLines(const std::string& text) {
    std::vector<QJsonObject> objects;
    for (const std::string& line : LinesOf(text)) {
        QJsonParseError error{};
        objects.push_back(
            QJsonDocument::fromJson(QByteArray::fromStdString(line), &error).object());
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
    }
    return objects;
}

}  // namespace hostlore::test
