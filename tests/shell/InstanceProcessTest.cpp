// The program as processes: a second start hands over to the first and ends;
// "/Kill" closes the running one.
#include "hidlane/SimTestSupport.h"
#include "platform/InstanceChannel.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace quillmar::shell {
namespace {

using namespace std::chrono_literals;

class InstanceProcessTest : public ::testing::Test {
protected:
    void SetUp() override { environment_ = environmentIn(folder_.path()); }

    // The program's environment with every folder of its own in `root`.
    static QProcessEnvironment environmentIn(const std::filesystem::path& root) {
        QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
        const QString folder = QString::fromStdString(root.string());
        environment_.insert("QT_QPA_PLATFORM", "offscreen");
        environment_.insert("XDG_RUNTIME_DIR", folder);
        environment_.insert("XDG_CONFIG_HOME", folder + "/config");
        environment_.insert("XDG_DOCUMENTS_DIR", folder + "/documents");
        environment_.insert("QUILLMAR_HIDLANE", "sim");
        environment_.insert("QUILLMAR_SIM_STATE", folder + "/sim-keyboard.bin");
        environment_.remove("QUILLMAR_SIM_CONTROL");
        // Under ThreadSanitizer: Qt converts the drawn window on threads of its
        // own pool, which it cannot follow. The window's threads are checked in
        // process by the window tests; here only the hand-over between
        // processes is.
        environment_.insert("TSAN_OPTIONS", "report_bugs=0");
        environment_.remove("QUILLMAR_SIM_UNPLUGGED");
        return environment_;
    }

    void TearDown() override {
        if (first_.state() != QProcess::NotRunning) {
            first_.kill();
            first_.waitForFinished(5000);
        }
    }

    void start(QProcess& process, const QStringList& arguments) { start(process, arguments, environment_); }
    void start(QProcess& process, const QStringList& arguments, const QProcessEnvironment& environment) {
        process.setProcessEnvironment(environment);
        process.start(QString::fromStdString((std::filesystem::current_path() / "quillmar").string()), arguments);
        ASSERT_TRUE(process.waitForStarted(5000));
    }

    // Runs a start of the program to its end; its exit code.
    int runToEnd(const QStringList& arguments) {
        QProcess process;
        start(process, arguments);
        EXPECT_TRUE(process.waitForFinished(15000)) << arguments.join(' ').toStdString();
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return process.exitCode();
    }

    // The first instance listens once its window is up, and has read the
    // keyboard (into the profile file) once the keyboard has arrived; before
    // that a request to show the window would tell the user there is none.
    bool waitUntilReady() {
        const auto socket = platform::instanceSocketPath(folder_.path(), static_cast<int>(first_.processId()));
        const auto profileFile = folder_.path() / "documents" / "Gaming Keyboard" / "$Profile0";
        const auto deadline = std::chrono::steady_clock::now() + 10s;
        while (!std::filesystem::exists(socket) || !std::filesystem::exists(profileFile)) {
            if (std::chrono::steady_clock::now() > deadline || first_.state() == QProcess::NotRunning) return false;
            std::this_thread::sleep_for(10ms);
        }
        return true;
    }

    sim::test::TemporaryFolder folder_;
    QProcessEnvironment environment_;
    QProcess first_;
};

TEST_F(InstanceProcessTest, SecondStartSignalsTheFirstAndKillClosesIt) {
    start(first_, {});
    ASSERT_TRUE(waitUntilReady());

    EXPECT_EQ(runToEnd({}), 0);
    EXPECT_EQ(runToEnd({"/start"}), 0) << "options do not make a second instance";
    EXPECT_EQ(first_.state(), QProcess::Running);

    EXPECT_EQ(runToEnd({"/KILL"}), 0);
    ASSERT_TRUE(first_.waitForFinished(10000));
    EXPECT_EQ(first_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first_.exitCode(), 0);
}

// Another session's (or test's) program runs on the machine, started first:
// its socket is not in this user's runtime folder, so it is never the one
// asked to show or close.
TEST_F(InstanceProcessTest, AForeignProgramOfTheSameNameIsLeftAlone) {
    sim::test::TemporaryFolder foreignFolder;
    QProcess foreign;
    start(foreign, {}, environmentIn(foreignFolder.path()));
    start(first_, {});
    ASSERT_TRUE(waitUntilReady());

    EXPECT_EQ(runToEnd({}), 0);
    EXPECT_EQ(first_.state(), QProcess::Running);
    EXPECT_EQ(runToEnd({"/Kill"}), 0);
    EXPECT_TRUE(first_.waitForFinished(10000)) << "the program of this session was closed";
    EXPECT_EQ(foreign.state(), QProcess::Running) << "the foreign one was not";
    foreign.kill();
    foreign.waitForFinished(5000);
}

}  // namespace
}  // namespace quillmar::shell
