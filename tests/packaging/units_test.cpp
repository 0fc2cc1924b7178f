#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include "support/MissingTool.h"

namespace {

struct Ishod {
    int status = -1;
    QString output;
};

Ishod Pokreni(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    Ishod r;
    if (!p.waitForFinished(120000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromUtf8(p.readAll());
    return r;
}

// The package's files installed into a root of the test's own, beside a copy of this system's units, so
// that systemd checks the two units as the installed system would see them.
class Units : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("systemd-analyze")).isEmpty())
            SKIP_FOR_MISSING_TOOL() << "systemd-analyze is missing (scripts/setup installs systemd)";
        ASSERT_TRUE(root.isValid());
        const Ishod installed =
            Pokreni(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(LUMIVEX_BUILD_DIR),
                                              QStringLiteral("--prefix"), root.path()});
        ASSERT_EQ(installed.status, 0) << installed.output.toStdString();
        units = root.path() + QStringLiteral("/lib/systemd/system/");
        ASSERT_TRUE(QFile::exists(units + QStringLiteral("lumivex-distribucija.service")));
        ASSERT_TRUE(QFile::exists(units + QStringLiteral("lumivex-distribucija.timer")));
        ASSERT_TRUE(QFile::exists(root.path() + QStringLiteral("/opt/lumivex/LumivexLiveUpdate20")));
        for (const char* system : {"/lib/systemd/system/.", "/usr/lib/systemd/system/."})
            if (QDir(QString::fromUtf8(system)).exists())
                Pokreni(QStringLiteral("cp"), {QStringLiteral("-an"), QString::fromUtf8(system), units});
    }

    QString unit(const char* name) const
    {
        QFile f(units + QString::fromUtf8(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir root;
    QString units;
};

TEST_F(Units, SystemdAcceptsTheServiceAndTheTimer)
{
    const Ishod verified = Pokreni(
        QStringLiteral("systemd-analyze"),
        {QStringLiteral("verify"), QStringLiteral("--root=") + root.path(),
         QStringLiteral("lumivex-distribucija.service"), QStringLiteral("lumivex-distribucija.timer")});
    EXPECT_EQ(verified.status, 0) << verified.output.toStdString();
    // Complaints about the copied system units are not ours; none may name these two.
    EXPECT_FALSE(verified.output.contains(QStringLiteral("lumivex"))) << verified.output.toStdString();
}

TEST_F(Units, TheServiceRunsTheDistributionOnceAndTheTimerNightly)
{
    const QString service = unit("lumivex-distribucija.service");
    EXPECT_TRUE(service.contains(QStringLiteral("\nType=oneshot\n")));
    EXPECT_TRUE(
        service.contains(QStringLiteral("\nExecStart=/opt/lumivex/LumivexLiveUpdate20 --distribucija\n")));
    EXPECT_TRUE(service.contains(QStringLiteral("\nUser=")));
    // Only the timer starts it: the service itself cannot be enabled.
    EXPECT_FALSE(service.contains(QStringLiteral("[Install]")));
    // The page it names is the package's own, installed beside it, not a manual a machine may lack.
    const QString documentation = service.section(QStringLiteral("\nDocumentation=file://"), 1).section(u'\n', 0, 0);
    EXPECT_TRUE(QFile::exists(root.path() + documentation)) << documentation.toStdString();

    const QString timer = unit("lumivex-distribucija.timer");
    EXPECT_TRUE(timer.contains(QStringLiteral("\nPersistent=true\n")));
    EXPECT_TRUE(timer.contains(QStringLiteral("\nRandomizedDelaySec=")));
    EXPECT_TRUE(timer.contains(QStringLiteral("\nWantedBy=timers.target\n")));
    const QString kalendar = timer.section(QStringLiteral("\nOnCalendar="), 1).section(u'\n', 0, 0);
    const Ishod next = Pokreni(QStringLiteral("systemd-analyze"), {QStringLiteral("calendar"), kalendar});
    EXPECT_EQ(next.status, 0) << next.output.toStdString();
    EXPECT_TRUE(next.output.contains(QStringLiteral("Normalized form: *-*-* 02:00:00")))
        << next.output.toStdString();

    // The package enables nothing by itself.
    EXPECT_FALSE(QDir(units + QStringLiteral("timers.target.wants"))
                     .exists(QStringLiteral("lumivex-distribucija.timer")));
}

}  // namespace
