#include "formfixture.h"

#include <QCheckBox>
#include <QTest>

using pelzo::Field;

class TestFactoryDefaults : public QObject
{
    Q_OBJECT

private slots:
    void everyFieldGetsItsFactoryValue_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("expected");
        const QList<std::pair<const char *, const char *>> values{
            {"Text4", "NOCALL"}, {"Combo4", "km"}, {"Combo5", "10"}, {"Combo2", "DHCP"}, {"Combo16", "ON"},
            {"Text8", "!3035.00N/11417.00ErPHG1010"}, {"Text7", "PELZO 144.640MHz"}, {"Combo3", "asia.aprs2.net"},
            {"Text5", "27183"}, {"Text10", "0600"}, {"Text11", "b/PELZO"}, {"Text13", "192"}, {"Text14", "168"},
            {"Text15", "1"}, {"Text16", "99"}, {"Text17", "255"}, {"Text18", "255"}, {"Text19", "255"},
            {"Text20", "0"}, {"Text21", "192"}, {"Text22", "168"}, {"Text23", "1"}, {"Text24", "1"},
            {"Text25", "8"}, {"Text26", "8"}, {"Text27", "8"}, {"Text28", "8"}, {"Text31", "144.6400"},
            {"Text32", "--"}, {"Combo6", "3"}, {"Combo7", "WIDE1-1"}, {"Combo8", "WIDE1+WIDE2"}};
        for (const auto &[control, expected] : values)
            QTest::newRow(control) << QString::fromLatin1(control) << QString::fromUtf8(expected);
    }
    void everyFieldGetsItsFactoryValue()
    {
        QFETCH(QString, control);
        QFETCH(QString, expected);
        FormFixture f;
        f.form.Command0->click();
        QString actual;
        if (auto *combo = f.form.findChild<QComboBox *>(control))
            actual = combo->currentText();
        else
            actual = f.form.findChild<QLineEdit *>(control)->text();
        QCOMPARE(actual, expected);
    }

    void defaultsTickDigiAndEnableWriteWithoutADevice()
    {
        FormFixture f;
        QVERIFY(!f.form.Command7->isEnabled());
        const int opensAtStartup = f.platform.port().openCount(); // the port probe
        f.form.Command0->click();
        QVERIFY(f.form.Check1->isChecked());
        QVERIFY(f.form.Command7->isEnabled());
        QVERIFY(f.platform.port().writes().isEmpty());
        QCOMPARE(f.platform.port().openCount(), opensAtStartup);
    }

    void pressingTwiceGivesTheSameWindow()
    {
        FormFixture f;
        f.form.Command0->click();
        QStringList first;
        for (auto *edit : f.form.findChildren<QLineEdit *>())
            first << edit->objectName() + '=' + edit->text();
        f.form.Text4->setText(QStringLiteral("CHANGED"));
        f.form.Combo2->setEditText(QStringLiteral("STATIC IP"));
        f.form.Command0->click();
        QStringList second;
        for (auto *edit : f.form.findChildren<QLineEdit *>())
            second << edit->objectName() + '=' + edit->text();
        QCOMPARE(second, first);
    }

    void leavesVersionWifiPortListLogAndOctetStateAlone()
    {
        FormFixture f;
        f.form.Text6->setText(QStringLiteral("PELZO V2"));
        f.form.Text34->setText(QStringLiteral("home"));
        f.form.Text33->setText(QStringLiteral("secret"));
        f.form.Combo1->setEditText(QStringLiteral("COM3"));
        f.form.setActivityLog(QStringLiteral("before"));
        f.form.setOctetBoxesEnabled(true);
        f.form.Command0->click();
        QCOMPARE(f.form.Text6->text(), QStringLiteral("PELZO V2"));
        QCOMPARE(f.form.Text34->text(), QStringLiteral("home"));
        QCOMPARE(f.form.Text33->text(), QStringLiteral("secret"));
        QCOMPARE(f.form.Combo1->currentText(), QStringLiteral("COM3"));
        QCOMPARE(f.form.activityLog(), QStringLiteral("before"));
        // "DHCP" set by the program does not run the address-mode rule.
        QVERIFY(f.form.octetBox(Field::IpAddress, 0)->isEnabled());
    }
};

QTEST_MAIN(TestFactoryDefaults)
#include "tst_factorydefaults.moc"
