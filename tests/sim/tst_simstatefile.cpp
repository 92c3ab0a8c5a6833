#include "statefile.h"

#include <QTemporaryDir>
#include <QTest>

using pelzosim::Configuration;
using pelzosim::Field;
namespace statefile = pelzosim::statefile;

class TestSimStateFile : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void partialTextKeepsFactoryValues();
};

void TestSimStateFile::roundTrip_data()
{
    QTest::addColumn<Field>("field");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("UTF-8 comment") << Field::Comment << QByteArray("公里 über");
    QTest::newRow("value with colon and hash") << Field::Server << QByteArray("host:14580#x");
}

void TestSimStateFile::roundTrip()
{
    QFETCH(Field, field);
    QFETCH(QByteArray, value);
    Configuration configuration = Configuration::factory();
    configuration.set(field, value);
    configuration.wifiSsid = "net,work";
    configuration.wifiPassword = "p:w#";
    QTemporaryDir dir;
    const QString path = dir.filePath("state.txt");
    QString error;
    QVERIFY(statefile::save(path, configuration, &error));
    const std::optional<Configuration> loaded = statefile::load(path, &error);
    QVERIFY2(loaded, qPrintable(error));
    QCOMPARE(loaded->value(field), value);
    QVERIFY(*loaded == configuration);
}

void TestSimStateFile::partialTextKeepsFactoryValues()
{
    const Configuration loaded = statefile::parse("garbage line\r\nFREQ:430.0000\r\nWIFI PASS:x\nUNKNOWN:1\n");
    Configuration expected = Configuration::factory();
    expected.set(Field::Frequency, "430.0000");
    expected.wifiPassword = "x";
    QVERIFY(loaded == expected);
}

QTEST_GUILESS_MAIN(TestSimStateFile)
#include "tst_simstatefile.moc"
