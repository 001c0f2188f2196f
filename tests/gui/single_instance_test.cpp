// One tool per user: a later start hands over to the running one and ends,
// unless "PinMonitor" lifts the rule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include "app/single_instance.h"

using lx47::app::SingleInstance;

namespace {

template <typename Pred>
bool WaitFor(Pred done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(10);
  }
  return true;
}

}  // namespace

TEST(SingleInstance, SecondHandsOverToTheFirstAndTheLockIsFreedAfter) {
  QTemporaryDir runtime;
  ASSERT_TRUE(runtime.isValid());
  qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  int activations = 0;
  {
    SingleInstance first(QStringLiteral("lx47-single-test"));
    QObject::connect(&first, &SingleInstance::activationRequested, [&] { ++activations; });
    ASSERT_TRUE(first.acquire());
    EXPECT_TRUE(first.lockPath().startsWith(runtime.path()));

    SingleInstance second(QStringLiteral("lx47-single-test"));
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(second.notifiedFirst());
    EXPECT_TRUE(WaitFor([&] { return activations == 1; }, 3000));
  }
  // The first has ended: a new start is the first again.
  SingleInstance third(QStringLiteral("lx47-single-test"));
  EXPECT_TRUE(third.acquire());
  qunsetenv("XDG_RUNTIME_DIR");
}

// Two real processes of the tool, each with the private settings and runtime
// directories of this test.
class TwoProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(config.isValid() && runtime.isValid());
    env = QProcessEnvironment::systemEnvironment();
    env.insert("LX47_RUN_APP", "1");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    iniPath = config.path() + "/Orvane Systems/" + QFileInfo(QApplication::applicationFilePath()).completeBaseName() +
              ".ini";
  }
  void TearDown() override {
    for (QProcess* p : {&first, &second}) {
      if (p->state() != QProcess::NotRunning) {
        p->kill();
        p->waitForFinished(5000);
      }
    }
  }
  void SetPinMonitor(int value) {
    QDir().mkpath(QFileInfo(iniPath).absolutePath());
    QSettings s(iniPath, QSettings::IniFormat);
    s.setValue("Setting/PinMonitor", value);
  }
  void Start(QProcess& p) {
    p.setProcessEnvironment(env);
    p.setProgram(QApplication::applicationFilePath());
    p.start();
    ASSERT_TRUE(p.waitForStarted(5000));
  }
  // The first one listens once its socket exists.
  bool FirstIsListening() {
    return WaitFor([&] { return QFile::exists(runtime.path() + "/" + QFileInfo(iniPath).completeBaseName() + ".socket"); },
                   10000);
  }

  QTemporaryDir config, runtime;
  QProcessEnvironment env;
  QString iniPath;
  QProcess first, second;
};

TEST_F(TwoProcesses, SecondStartRaisesTheFirstAndOpensNothing) {
  SetPinMonitor(0);
  Start(first);
  ASSERT_TRUE(FirstIsListening());
  Start(second);
  ASSERT_TRUE(second.waitForFinished(10000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(WaitFor([&] { return first.readAllStandardOutput().contains("activated"); }, 5000));
  EXPECT_EQ(first.state(), QProcess::Running);
  // The second start still normalised the store before it ended.
  QSettings s(iniPath, QSettings::IniFormat);
  EXPECT_EQ(s.value("Setting/MaxRecvLoopCount").toInt(), 60);
  EXPECT_EQ(s.value("Setting/RecvDelay_msec").toInt(), 20);
}

TEST_F(TwoProcesses, PinMonitorLetsBothRun) {
  SetPinMonitor(1);
  Start(first);
  Start(second);
  EXPECT_FALSE(second.waitForFinished(1500));
  EXPECT_EQ(first.state(), QProcess::Running);
  EXPECT_EQ(second.state(), QProcess::Running);
}
