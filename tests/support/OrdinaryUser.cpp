#include "tests/support/OrdinaryUser.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <unistd.h>

OrdinaryUserRun RunCurrentTestAsOrdinaryUser()
{
    if (geteuid() != 0) return {OrdinaryUserRun::RunHere, {}};
    const QString setpriv = QStandardPaths::findExecutable("setpriv");
    if (setpriv.isEmpty()) return {OrdinaryUserRun::Impossible, "setpriv is not installed"};
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter =
        QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name());
    const QString program = QFileInfo("/proc/self/exe").symLinkTarget();

    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", "/tmp");
    environment.remove("XDG_RUNTIME_DIR");
    child.setProcessEnvironment(environment);
    child.start(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups", program, filter});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit)
        return {OrdinaryUserRun::Failed, child.readAll().toStdString()};
    const std::string output = child.readAll().toStdString();
    // setpriv's own failures, and a program "nobody" may not run.
    if (child.exitCode() == 126 || child.exitCode() == 127 ||
        output.find("[ RUN      ]") == std::string::npos)
        return {OrdinaryUserRun::Impossible, "cannot run the tests as nobody: " + output};
    if (child.exitCode() != 0) return {OrdinaryUserRun::Failed, output};
    return {OrdinaryUserRun::Passed, {}};
}
