#include "formfixture.h"
#include "ui/controltable.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void startsWithWriteDimmedAndEverythingElseReady()
    {
        FormFixture f;
        for (auto *button : f.form.findChildren<QPushButton *>()) {
            if (button->objectName() != QLatin1String("Command3"))
                QCOMPARE(button->isEnabled(), button != buttonNamed(f.form, "Command7"));
        }
        QCOMPARE(editNamed(f.form, "Text3")->text(), QStringLiteral("0/10"));
        QCOMPARE(editNamed(f.form, "Text6")->text(), QStringLiteral("PELZO "));
        QVERIFY(f.form.Timer2->isActive());
        QCOMPARE(f.form.Timer2->interval(), 100);
        QVERIFY(!f.form.Timer1->isActive());
        QCOMPARE(f.form.Timer1->interval(), 1000);
        QCOMPARE(f.form.windowTitle(), QStringLiteral("PELZO aprs config"));
    }

    void visibleControlsLieInsideTheWindowAndWorkFieldsNeverShow()
    {
        FormFixture f;
        f.form.show();
        labelNamed(f.form, "Label2")->setText(QStringLiteral("updating"));
        buttonNamed(f.form, "Command3")->setEnabled(true);
        const QRect client = f.form.rect();
        for (const pelzo::ControlSpec &row : pelzo::controlTable()) {
            auto *widget = f.form.findChild<QWidget *>(QLatin1String(nameOf(row.name)));
            QVERIFY2(widget, nameOf(row.name));
            if (row.hidden) {
                QVERIFY2(!widget->isVisible(), nameOf(row.name));
                continue;
            }
            const QRect area(widget->mapTo(&f.form, QPoint(0, 0)), widget->size());
            QVERIFY2(client.adjusted(-3, -3, 3, 3).contains(area), nameOf(row.name));
        }
    }

    void labelsStandBesideTheFieldsTheyName_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("field");
        QTest::newRow("Comment labels the position") << "Comment" << "Text8";
        QTest::newRow("Status labels the comment") << "Status" << "Text7";
    }
    void labelsStandBesideTheFieldsTheyName()
    {
        QFETCH(QString, caption);
        QFETCH(QString, field);
        FormFixture f;
        QLabel *label = nullptr;
        for (auto *candidate : f.form.findChildren<QLabel *>()) {
            if (candidate->text() == caption)
                label = candidate;
        }
        QVERIFY(label);
        auto *edit = f.form.findChild<QLineEdit *>(field);
        const QRect labelArea(label->mapTo(&f.form, QPoint(0, 0)), label->size());
        const QRect fieldArea(edit->mapTo(&f.form, QPoint(0, 0)), edit->size());
        QVERIFY(labelArea.right() <= fieldArea.left() + 2);
        QVERIFY(labelArea.top() < fieldArea.bottom() && fieldArea.top() < labelArea.bottom());
    }

    void typingIntoADropDownKeepsTheTextAndNeverTheList_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::newRow("free text is not added") << "Combo7" << "WIDE2-1";
        QTest::newRow("a look-alike is not replaced by the item") << "Combo8" << "wide1";
    }
    void typingIntoADropDownKeepsTheTextAndNeverTheList()
    {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        FormFixture f;
        f.form.show();
        auto *combo = f.form.findChild<QComboBox *>(control);
        const int count = combo->count();
        int picks = 0;
        connect(combo, &QComboBox::activated, this, [&picks] { ++picks; });
        combo->setFocus();
        QTest::keyClicks(combo, typed);
        QTest::keyClick(combo, Qt::Key_Return);
        QCOMPARE(combo->currentText(), typed);
        QCOMPARE(combo->count(), count);
        QCOMPARE(picks, 0);
    }

    void activityLogKeepsCrLfAndUserTyping()
    {
        FormFixture f;
        f.form.setActivityLog(QStringLiteral("Writing......"));
        f.form.appendActivityLog(QStringLiteral("Write complete"));
        QCOMPARE(f.form.activityLog(), QStringLiteral("Writing......\r\nWrite complete"));
        QCOMPARE(plainTextNamed(f.form, "Text29")->toPlainText(), QStringLiteral("Writing......\nWrite complete"));
        plainTextNamed(f.form, "Text29")->moveCursor(QTextCursor::End);
        plainTextNamed(f.form, "Text29")->insertPlainText(QStringLiteral("!"));
        f.form.appendActivityLogText(QStringLiteral("x\r\n"));
        QCOMPARE(f.form.activityLog(), QStringLiteral("Writing......\r\nWrite complete!x\r\n"));
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
