#include "formfixture.h"
#include "ui/inputrules.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

using pelzo::Field;

class TestInputRules : public QObject
{
    Q_OBJECT

private slots:
    void typingIsFilteredAndLimited_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("callsign turns small letters into capitals") << "Text4" << "n0call" << "N0CALL";
        QTest::newRow("callsign stops at 6") << "Text4" << "abcdefg" << "ABCDEF";
        QTest::newRow("passcode refuses letters blanks - and Enter") << "Text5" << "1a 2-\r3" << "123";
        QTest::newRow("passcode stops at 5") << "Text5" << "1234567" << "12345";
        QTest::newRow("send time takes digits only") << "Text10" << "06x00." << "0600";
        QTest::newRow("frequency refuses letters and blanks") << "Text31" << "14a4 .6" << "144.6";
        QTest::newRow("frequency stops at 8") << "Text31" << "144.64000" << "144.6400";
        QTest::newRow("comment stops at 40") << "Text7" << QString(45, 'c') << QString(40, 'c');
        QTest::newRow("octet boxes take anything") << "Text13" << "1a2 b3-4" << "1a2 b3-4";
    }
    void typingIsFilteredAndLimited()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        FormFixture f;
        auto *edit = f.form.findChild<QLineEdit *>(control);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
    }

    void backspaceAndDeleteStillEdit()
    {
        FormFixture f;
        QTest::keyClicks(editNamed(f.form, "Text5"), QStringLiteral("123"));
        QTest::keyClick(editNamed(f.form, "Text5"), Qt::Key_Backspace);
        QCOMPARE(editNamed(f.form, "Text5")->text(), QStringLiteral("12"));
        QTest::keyClick(editNamed(f.form, "Text5"), Qt::Key_Home);
        QTest::keyClick(editNamed(f.form, "Text5"), Qt::Key_Delete);
        QCOMPARE(editNamed(f.form, "Text5")->text(), QStringLiteral("2"));
    }

    void textSetByTheProgramMayBeLongerThanTheLimit()
    {
        FormFixture f;
        f.form.setFieldText(Field::Callsign, QStringLiteral("LONGCALL9"));
        QCOMPARE(editNamed(f.form, "Text4")->text(), QStringLiteral("LONGCALL9"));
        editNamed(f.form, "Text4")->end(false);
        QTest::keyClicks(editNamed(f.form, "Text4"), QStringLiteral("x"));
        QCOMPARE(editNamed(f.form, "Text4")->text(), QStringLiteral("LONGCALL9"));
        QTest::keyClick(editNamed(f.form, "Text4"), Qt::Key_Backspace);
        QCOMPARE(editNamed(f.form, "Text4")->text(), QStringLiteral("LONGCALL"));
    }

    void blanksAreTrimmedOnEveryChangeOfThreeFields_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("shown");
        QTest::newRow("send time set with a leading blank") << "Text10" << " 600" << "600";
        QTest::newRow("frequency keeps a tab") << "Text31" << "\t144.64 " << "\t144.64";
        QTest::newRow("comment is not trimmed") << "Text7" << " hi " << " hi ";
        QTest::newRow("callsign is not trimmed") << "Text4" << "AB1   " << "AB1   ";
    }
    void blanksAreTrimmedOnEveryChangeOfThreeFields()
    {
        QFETCH(QString, control);
        QFETCH(QString, set);
        QFETCH(QString, shown);
        FormFixture f;
        auto *edit = f.form.findChild<QLineEdit *>(control);
        pelzo::setProgramText(edit, set);
        QCOMPARE(edit->text(), shown);
    }

    void pastedTextSkipsTheKeyFilterButIsTrimmedAndLimited()
    {
        FormFixture f;
        QGuiApplication::clipboard()->setText(QStringLiteral(" 12a "));
        editNamed(f.form, "Text5")->paste();
        QCOMPARE(editNamed(f.form, "Text5")->text(), QStringLiteral("12a"));
        QGuiApplication::clipboard()->setText(QStringLiteral("123456789"));
        editNamed(f.form, "Text5")->clear();
        editNamed(f.form, "Text5")->paste();
        QCOMPARE(editNamed(f.form, "Text5")->text(), QStringLiteral("12345"));
    }
};

QTEST_MAIN(TestInputRules)
#include "tst_inputrules.moc"
