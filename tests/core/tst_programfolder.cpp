#include "core/programfolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestProgramFolder : public QObject
{
    Q_OBJECT

private slots:
    void aPortableCopyKeepsItsFilesBesideItself()
    {
        QTemporaryDir program;
        QTemporaryDir user;
        const QString userFolder = QDir(user.path()).filePath(QStringLiteral("pelzo-config"));
        QCOMPARE(pelzo::chooseProgramFolder(program.path(), userFolder), program.path());
        QVERIFY(!QDir(userFolder).exists());
        QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
    }

    void aFolderThatCannotBeWrittenSendsTheFilesToTheUsersFolder()
    {
        QTemporaryDir user;
        const QString userFolder = QDir(user.path()).filePath(QStringLiteral("deep/pelzo-config"));
        QCOMPARE(pelzo::chooseProgramFolder(QStringLiteral("/nonexistent/pelzo/bin"), userFolder), userFolder);
        QVERIFY(QDir(userFolder).exists());
    }
};

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_programfolder.moc"
