// HttpGetText against a real server: python3's http.server on 127.0.0.1,
// started by the test in a folder of its own.
#include "schedule/HttpGet.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace drmq {
namespace {

class PythonHttpServer {
public:
    explicit PythonHttpServer(const QString &folder) {
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start("python3", {"-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", folder});
        if (!process_.waitForStarted(10000)) return;
        // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
        const QRegularExpression announce("port (\\d+)");
        QString output;
        while (port_ == 0 && process_.waitForReadyRead(10000)) {
            output += QString::fromUtf8(process_.readAll());
            const auto match = announce.match(output);
            if (match.hasMatch()) port_ = match.captured(1).toInt();
        }
    }
    ~PythonHttpServer() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    int Port() const { return port_; }

private:
    QProcess process_;
    int port_ = 0;
};

TEST(HttpIntegration, PlainFileFromPythonHttpServer) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string schedule = "[DRM]\r\n";
    for (int i = 0; i < 3000; ++i)
        schedule += "StartStopTimeUTC=" + std::to_string(1000 + i % 1400) + "-2400\r\nProgramme=Station \xE4 " +
                    std::to_string(i) + "\r\n";
    std::ofstream(dir.path().toStdString() + "/DRMSchedule.ini", std::ios::binary) << schedule;

    PythonHttpServer server(dir.path());
    ASSERT_GT(server.Port(), 0) << "python3 -m http.server did not start";
    const std::string base = "http://127.0.0.1:" + std::to_string(server.Port());
    EXPECT_EQ(HttpGetText(base + "/DRMSchedule.ini"), schedule);
    EXPECT_EQ(HttpGetText(base + "/missing.ini"), "");
}

} // namespace
} // namespace drmq
