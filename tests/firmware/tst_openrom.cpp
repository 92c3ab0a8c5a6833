#include "updatefixture.h"

#include <QProgressBar>
#include <QTest>

using namespace pelzo;

class TestOpenRom : public QObject
{
    Q_OBJECT

private slots:
    void imageIsPaddedToWholeBlocks_data();
    void imageIsPaddedToWholeBlocks();
    void dialogAndActivityLog();
    void cancelledDialogChangesNothing();
    void unusableFileLeavesNoImage_data();
    void unusableFileLeavesNoImage();
    void refusedWhileAnUpdateRuns();
};

void TestOpenRom::imageIsPaddedToWholeBlocks_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("blocks");
    QTest::newRow("5000 bytes: 3 blocks") << 5000 << 3;
    QTest::newRow("6144 bytes: 4 blocks") << 6144 << 4;
    QTest::newRow("empty file: 1 block of filler") << 0 << 1;
    QTest::newRow("largest image: 256 blocks") << 524287 << 256;
}

void TestOpenRom::imageIsPaddedToWholeBlocks()
{
    QFETCH(int, length);
    QFETCH(int, blocks);
    UpdateFixture f;
    f.form.firmware.BlockIndex = 2;
    const QByteArray bytes = f.loadImage(length);

    const FirmwareState &fw = f.form.firmware;
    QCOMPARE(fw.RomLength, length);
    QCOMPARE(fw.RomImage.size(), blocks * 2048 + 1);
    QCOMPARE(fw.RomImage.left(length), bytes);
    QCOMPARE(fw.RomImage.mid(length, blocks * 2048 - length), QByteArray(blocks * 2048 - length, '\xFF'));
    QCOMPARE(fw.RomImage.back(), '\0');
    QCOMPARE(fw.BlockIndex, 0);
    QCOMPARE(progressBarNamed(f.form, "ProgressBar1")->minimum(), 0);
    QCOMPARE(progressBarNamed(f.form, "ProgressBar1")->maximum(), blocks);
}

void TestOpenRom::dialogAndActivityLog()
{
    UpdateFixture f;
    f.form.setActivityLog(QStringLiteral("earlier text"));
    const QString path = f.writeFile(imageBytes(5000));
    f.openRom(path);

    QCOMPARE(f.platform.dialogRequests.size(), 1);
    QCOMPARE(f.platform.dialogRequests[0].title, QStringLiteral("打开"));
    QCOMPARE(f.platform.dialogRequests[0].filter, QStringLiteral("Bin文件(*.bin)|*.bin"));
    QVERIFY(f.platform.dialogRequests[0].initialFolder.isEmpty());
    QVERIFY(f.platform.dialogRequests[0].proposedName.isEmpty());
    QCOMPARE(f.form.activityLog(), QStringLiteral("文件：") + path);
    QCOMPARE(f.form.dialogFileName, path);
    QVERIFY(f.platform.messageBoxes.isEmpty());

    // The next tick shows the bar full: no block of an update has gone out.
    f.platform.runFor(100);
    QCOMPARE(progressBarNamed(f.form, "ProgressBar1")->value(), 3);
}

void TestOpenRom::cancelledDialogChangesNothing()
{
    UpdateFixture f;
    const QByteArray bytes = f.loadImage(6000);
    const QString log = f.form.activityLog();
    f.form.firmware.BlockIndex = 1;

    buttonNamed(f.form, "Command1")->click(); // no answer queued: the user cancels

    QCOMPARE(f.platform.dialogRequests.size(), 2);
    QCOMPARE(f.form.firmware.RomLength, 6000);
    QCOMPARE(f.form.firmware.RomImage.left(6000), bytes);
    QCOMPARE(f.form.firmware.BlockIndex, 1);
    QCOMPARE(f.form.activityLog(), log);
    QCOMPARE(f.form.dialogFileName, f.dir.filePath(QStringLiteral("image.bin")));
}

void TestOpenRom::unusableFileLeavesNoImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("size"); // -1: no file
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << "gone.bin" << qint64(-1) << "could not be opened";
    QTest::newRow("exactly 256 blocks") << "big.bin" << qint64(524288) << "holds 524288 bytes";
    QTest::newRow("far too large") << "huge.bin" << qint64(3) * 1024 * 1024 * 1024 << "holds 3221225472 bytes";
}

void TestOpenRom::unusableFileLeavesNoImage()
{
    QFETCH(QString, name);
    QFETCH(qint64, size);
    QFETCH(QString, reason);
    UpdateFixture f;
    f.loadImage(6000);

    const QString path = f.dir.filePath(name);
    if (size >= 0) {
        // Sparse: the size is there without the bytes, and reading them would show.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(size));
    }
    f.openRom(path);

    const QStringList lines = f.form.activityLog().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("文件：") + path);
    QVERIFY2(lines[1].contains(reason), qPrintable(lines[1]));
    QVERIFY2(lines[1].endsWith(QStringLiteral("No firmware image is loaded.")), qPrintable(lines[1]));
    QCOMPARE(f.form.firmware.RomLength, 0);
    QVERIFY(f.form.firmware.RomImage.size() <= 2049);

    // With no image the update start refuses.
    buttonNamed(f.form, "Command2")->click();
    QCOMPARE(f.platform.messageBoxes.size(), 1);
    QCOMPARE(f.platform.messageBoxes[0].text, QStringLiteral("Please choose fireware"));
    QVERIFY(f.platform.port().writes().isEmpty());
}

void TestOpenRom::refusedWhileAnUpdateRuns()
{
    UpdateFixture f;
    const QByteArray first = f.loadImage(6000);
    const QString second = f.writeFile(imageBytes(9000), QStringLiteral("second.bin"));
    f.peer.answeredRequest = 5;
    f.peer.silentAfterHeader = true;
    f.clickUpdateAt(1000);

    struct Seen
    {
        bool updating;
        QString lastLine;
        qint32 length;
        bool sameImage;
    };
    QList<Seen> seen;
    // In the reset phase, the connect phase and after the header.
    for (qint64 t : {1500, 6000, 9500}) {
        f.platform.at(t, [&] {
            const bool updating = f.form.firmware.updateInProgress;
            f.openRom(second);
            seen.append({updating, f.form.activityLog().split(QStringLiteral("\r\n")).last(),
                         f.form.firmware.RomLength, f.form.firmware.RomImage.left(6000) == first});
        });
    }
    f.platform.runUntil(10000);

    QVERIFY(!f.peer.header.isEmpty());
    QCOMPARE(seen.size(), 3);
    for (const Seen &s : seen) {
        QVERIFY(s.updating);
        QCOMPARE(s.lastLine,
                 QStringLiteral("A firmware update is running; choose another image when it has finished."));
        QCOMPARE(s.length, 6000);
        QVERIFY(s.sameImage);
    }
    QCOMPARE(f.platform.dialogRequests.size(), 1);
}

QTEST_MAIN(TestOpenRom)
#include "tst_openrom.moc"
