// Text that is not ours: values keep the bytes they came as on their way
// from the device or a file, through the window, back to the device or a file.
#include "filebytes.h"
#include "formfixture.h"
#include "simpeer.h"

#include <QStringEncoder>
#include <QTest>

using namespace pelzo;

namespace {

// "中文注释" and "北京" as a Chinese Windows system writes them (GBK).
const QByteArray GbkComment = "\xD6\xD0\xCE\xC4\xD7\xA2\xCA\xCD";
const QByteArray GbkPosition = "!3035.00N/11417.00Er\xB1\xB1\xBE\xA9";

struct Rig : FormFixture
{
    Rig()
    {
        platform.port().attachPeer(&device);
        platform.port().setCommPort(1);
        pelzosim::Configuration state = device.device.configuration();
        state.set(pelzosim::Field::Comment, GbkComment);
        state.set(pelzosim::Field::Position, GbkPosition);
        device.device.restoreConfiguration(state);
    }

    void press(const char *button, qint64 runMs)
    {
        platform.at(platform.now() + 1, [this, button] { buttonNamed(form, button)->click(); });
        platform.runFor(runMs);
    }
    QByteArray deviceValue(pelzosim::Field field) const { return device.device.configuration().value(field); }
    QString file(const char *name) const { return programFolder.filePath(QLatin1String(name)); }

    SimPeer device;
};

} // namespace

class TestTextBytes : public QObject
{
    Q_OBJECT

private slots:
    void aGbkValueReadFromTheDeviceIsWrittenBackAsItCame()
    {
        Rig rig;
        rig.press("Command6", 5000);
        QCOMPARE(rig.form.fieldText(Field::Comment), QStringLiteral("中文注释"));
        QCOMPARE(rig.form.fieldText(Field::Position), QStringLiteral("!3035.00N/11417.00Er北京"));
        rig.device.device.restoreConfiguration(pelzosim::Configuration::factory());
        rig.press("Command7", 12000);
        QCOMPARE(rig.deviceValue(pelzosim::Field::Comment), GbkComment);
        QCOMPARE(rig.deviceValue(pelzosim::Field::Position), GbkPosition);
    }

    void anEditedValueGoesOutAsUtf8AndTheOthersStayAsTheyCame()
    {
        Rig rig;
        rig.press("Command6", 5000);
        auto *comment = editNamed(rig.form, "Text7");
        comment->setFocus();
        comment->end(false);
        QTest::sendKeyEvent(QTest::Click, comment, Qt::Key_unknown, QStringLiteral("测"), Qt::NoModifier);
        rig.press("Command7", 12000);
        QCOMPARE(rig.deviceValue(pelzosim::Field::Comment), QStringLiteral("中文注释测").toUtf8());
        QCOMPARE(rig.deviceValue(pelzosim::Field::Position), GbkPosition);
    }

    void aSaveAndALoadKeepTheBytes()
    {
        Rig rig;
        rig.press("Command6", 5000);
        rig.platform.saveAnswers << rig.file("station.ini");
        rig.press("Command5", 10);
        const QByteArray saved = readBytes(rig.file("station.ini"));
        QVERIFY2(saved.contains("\r\nCOMMENT TEXT:" + GbkComment + "\r\n"), saved.constData());

        Rig fresh;
        fresh.device.device.restoreConfiguration(pelzosim::Configuration::factory());
        fresh.platform.openAnswers << rig.file("station.ini");
        fresh.press("Command4", 10);
        QVERIFY2(fresh.form.activityLog().contains(QStringLiteral("COMMENT TEXT:中文注释\r\n")),
                 qPrintable(fresh.form.activityLog()));
        fresh.press("Command7", 12000);
        QCOMPARE(fresh.deviceValue(pelzosim::Field::Comment), GbkComment);
        fresh.platform.saveAnswers << fresh.file("again.ini");
        fresh.press("Command5", 10);
        QCOMPARE(readBytes(fresh.file("again.ini")), saved);
    }

    void filesInOtherEncodingsLoad_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("[PELZO]\r\n\r\nCOMMENT TEXT:Grüße 中文\r\nSERVER:北京.aprs2.net\r\n");
        QTest::newRow("UTF-16 with a byte-order mark") << QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE).encode(text);
        QTest::newRow("UTF-16, big end first") << QByteArray("\xFE\xFF") + QStringEncoder(QStringConverter::Utf16BE).encode(text);
        QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        QTest::newRow("GB18030") << QByteArray(QStringEncoder("GB18030").encode(text));
    }
    void filesInOtherEncodingsLoad()
    {
        QFETCH(QByteArray, bytes);
        Rig rig;
        QVERIFY(writeBytes(rig.file("other.ini"), bytes));
        rig.platform.openAnswers << rig.file("other.ini");
        rig.press("Command4", 10);
        QCOMPARE(rig.form.fieldText(Field::Comment), QStringLiteral("Grüße 中文"));
        QCOMPARE(rig.form.fieldText(Field::Server), QStringLiteral("北京.aprs2.net"));
        QVERIFY2(rig.form.activityLog().endsWith(QStringLiteral("\r\n[PELZO]\r\n\r\nCOMMENT TEXT:Grüße 中文\r\n"
                                                                "SERVER:北京.aprs2.net\r\n")),
                 qPrintable(rig.form.activityLog()));
    }
};

QTEST_MAIN(TestTextBytes)
#include "tst_textbytes.moc"
