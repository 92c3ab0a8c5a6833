#include "formfixture.h"

#include <QCheckBox>
#include <QTest>

using pelzo::Field;

class TestFactoryDefaults : public QObject
{
    Q_OBJECT

private slots:
    // The factory values themselves are compared with the golden settings file
    // in tst_savefile; the CTCSS box is the one field no file holds.
    void defaultsTickDigiAndEnableWriteWithoutADevice()
    {
        FormFixture f;
        QVERIFY(!buttonNamed(f.form, "Command7")->isEnabled());
        // Start-up has opened every port once while it looked for them.
        const int opensAtStart = f.platform.port().openCount();
        buttonNamed(f.form, "Command0")->click();
        QVERIFY(checkBoxNamed(f.form, "Check1")->isChecked());
        QCOMPARE(editNamed(f.form, "Text32")->text(), QStringLiteral("--"));
        QVERIFY(buttonNamed(f.form, "Command7")->isEnabled());
        QVERIFY(f.platform.port().writes().isEmpty());
        QCOMPARE(f.platform.port().openCount(), opensAtStart);
    }

    void pressingTwiceGivesTheSameWindow()
    {
        FormFixture f;
        buttonNamed(f.form, "Command0")->click();
        QStringList first;
        for (auto *edit : f.form.findChildren<QLineEdit *>())
            first << edit->objectName() + '=' + edit->text();
        editNamed(f.form, "Text4")->setText(QStringLiteral("CHANGED"));
        comboNamed(f.form, "Combo2")->setEditText(QStringLiteral("STATIC IP"));
        buttonNamed(f.form, "Command0")->click();
        QStringList second;
        for (auto *edit : f.form.findChildren<QLineEdit *>())
            second << edit->objectName() + '=' + edit->text();
        QCOMPARE(second, first);
    }

    void leavesVersionWifiPortListLogAndOctetStateAlone()
    {
        FormFixture f;
        editNamed(f.form, "Text6")->setText(QStringLiteral("PELZO V2"));
        editNamed(f.form, "Text34")->setText(QStringLiteral("home"));
        editNamed(f.form, "Text33")->setText(QStringLiteral("secret"));
        comboNamed(f.form, "Combo1")->setEditText(QStringLiteral("COM3"));
        f.form.setActivityLog(QStringLiteral("before"));
        f.form.setOctetBoxesEnabled(true);
        buttonNamed(f.form, "Command0")->click();
        QCOMPARE(editNamed(f.form, "Text6")->text(), QStringLiteral("PELZO V2"));
        QCOMPARE(editNamed(f.form, "Text34")->text(), QStringLiteral("home"));
        QCOMPARE(editNamed(f.form, "Text33")->text(), QStringLiteral("secret"));
        QCOMPARE(comboNamed(f.form, "Combo1")->currentText(), QStringLiteral("COM3"));
        QCOMPARE(f.form.activityLog(), QStringLiteral("before"));
        // "DHCP" set by the program does not run the address-mode rule.
        QVERIFY(octetBox(f.form, Field::IpAddress, 0)->isEnabled());
    }
};

QTEST_MAIN(TestFactoryDefaults)
#include "tst_factorydefaults.moc"
