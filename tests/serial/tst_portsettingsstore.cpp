#include "core/virtualplatform.h"
#include "filebytes.h"
#include "serial/portsettingsstore.h"
#include "ui/form1.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace pelzo;

namespace {

const QByteArray connectSettings = "[QTNComm]\npar5=COM3\npar4=115200\npar1=1\npar3=n\npar2=8\npar0=0\n"
                                   "InBuff=2048\nOutBuff=2048\n";

} // namespace

class TestPortSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        m_path = m_folder.filePath(QStringLiteral("QTNComm.ini"));
        QFile::remove(m_path);
    }

    void pathIsBesideTheProgram()
    {
        VirtualPlatform platform;
        platform.setProgramFolder(QStringLiteral("/opt/pelzo"));
        QCOMPARE(portSettingsPath(platform), QStringLiteral("/opt/pelzo/QTNComm.ini"));
    }

    void writeCommSet_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");

        QTest::newRow("no file: created with the keys in call order") << QByteArray() << connectSettings;
        QTest::newRow("every key present: values replaced in place")
            << QByteArray("[QTNComm]\nOutBuff=1\nInBuff=1\npar0=1\npar2=7\npar3=e\npar1=2\npar4=9600\npar5=COM1\n")
            << QByteArray("[QTNComm]\nOutBuff=2048\nInBuff=2048\npar0=0\npar2=8\npar3=n\npar1=1\npar4=115200\n"
                          "par5=COM3\n");
        QTest::newRow("other sections, unknown keys and comments kept")
            << QByteArray("; written by hand\n[Window]\nleft=10\n\n[QTNComm]\npar5=COM1\nlast=x\n\n[Tail]\nk=v\n")
            << QByteArray("; written by hand\n[Window]\nleft=10\n\n[QTNComm]\npar5=COM3\nlast=x\npar4=115200\n"
                          "par1=1\npar3=n\npar2=8\npar0=0\nInBuff=2048\nOutBuff=2048\n\n[Tail]\nk=v\n");
        QTest::newRow("section missing: appended after a blank line")
            << QByteArray("[Other]\nk=v") << QByteArray("[Other]\nk=v\n\n") + connectSettings;
        QTest::newRow("CR LF file stays CR LF")
            << QByteArray("[QTNComm]\r\npar5=COM1\r\n")
            << QByteArray(connectSettings).replace("\n", "\r\n");
        QTest::newRow("names matched without regard to case or blanks")
            << QByteArray("[qtncomm]\n PAR5 = COM1\n")
            << QByteArray("[qtncomm]\npar5=COM3\npar4=115200\npar1=1\npar3=n\npar2=8\npar0=0\nInBuff=2048\n"
                          "OutBuff=2048\n");
    }

    void writeCommSet()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        if (!before.isNull())
            QVERIFY(writeBytes(m_path, before));

        VirtualPlatform platform;
        platform.setProgramFolder(m_folder.path());
        Form1 form(platform);
        WriteCommSet(form, QStringLiteral("COM3"), QStringLiteral("115200"), QStringLiteral("1"), QStringLiteral("n"),
                     QStringLiteral("8"), QStringLiteral("0"), QStringLiteral("2048"), QStringLiteral("2048"));

        QCOMPARE(linesWithEnds(readBytes(m_path)), linesWithEnds(after));
    }

    void readIni_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");

        const QByteArray settings = "[Other]\npar5=COM9\n[QTNComm]\npar5=COM7\npar4=115200\n";
        QTest::newRow("stored value") << settings << "QTNComm" << "par5" << "COM7";
        QTest::newRow("no file") << QByteArray() << "QTNComm" << "par5" << "";
        QTest::newRow("key only in another section") << QByteArray("[Other]\npar5=COM9\n[QTNComm]\n") << "QTNComm"
                                                    << "par5" << "";
        QTest::newRow("blanks around name and value") << QByteArray("[QTNComm]\n  par5 =  COM 2  \n") << "QTNComm"
                                                     << "par5" << "COM 2";
        QTest::newRow("quoted value") << QByteArray("[QTNComm]\npar5=\"COM4\"\n") << "QTNComm" << "par5" << "COM4";
        QTest::newRow("first of two equal keys") << QByteArray("[QTNComm]\npar5=COM1\npar5=COM2\n") << "QTNComm"
                                                << "par5" << "COM1";
        QTest::newRow("key that is a prefix of another") << QByteArray("[QTNComm]\npar55=COM1\npar5=COM2\n")
                                                        << "QTNComm" << "par5" << "COM2";
        QTest::newRow("300 characters read back as 254")
            << QByteArray("[QTNComm]\npar5=") + QByteArray(300, 'x') + "\n" << "QTNComm" << "par5"
            << QString(254, QLatin1Char('x'));
        // 253 single bytes and then a three-byte character: only its first byte fits.
        QTest::newRow("character cut by the limit is left out")
            << QByteArray("[QTNComm]\npar5=") + QByteArray(253, 'y') + "口\n" << "QTNComm" << "par5"
            << QString(253, QLatin1Char('y'));
    }

    void readIni()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        if (!file.isNull())
            QVERIFY(writeBytes(m_path, file));
        const QString read = ReadINI(section, key, m_path);
        QCOMPARE(read, value);
        QVERIFY(!read.contains(QChar(0)));
    }

    void writtenValueReadsBack_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("multi-byte characters") << QStringLiteral("端口 COM3");
        QTest::newRow("equals sign inside") << QStringLiteral("a=b");
    }

    void writtenValueReadsBack()
    {
        QFETCH(QString, value);
        QCOMPARE(WriteINI(QStringLiteral("QTNComm"), QStringLiteral("par5"), value, m_path), qint16(0));
        QCOMPARE(ReadINI(QStringLiteral("QTNComm"), QStringLiteral("par5"), m_path), value);
    }

    void failedWriteIsSilent()
    {
        const QString unreachable = m_folder.filePath(QStringLiteral("no-such-folder/QTNComm.ini"));
        QCOMPARE(WriteINI(QStringLiteral("QTNComm"), QStringLiteral("par5"), QStringLiteral("COM3"), unreachable),
                 qint16(0));
        QVERIFY(!QFile::exists(unreachable));
    }

private:
    QTemporaryDir m_folder;
    QString m_path;
};

QTEST_MAIN(TestPortSettingsStore)
#include "tst_portsettingsstore.moc"
