#include "filebytes.h"
#include "formfixture.h"

#include "core/factorydefaults.h"

#include "ui/controltable.h"
#include "ui/fieldmarks.h"
#include "ui/inputrules.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>

using namespace pelzo;

namespace {

// The control that holds the keyboard focus, by name: a drop-down's own line edit counts as the drop-down.
QString focused()
{
    QWidget *widget = QApplication::focusWidget();
    if (widget && widget->objectName().isEmpty() && qobject_cast<QComboBox *>(widget->parentWidget()))
        widget = widget->parentWidget();
    return widget ? widget->objectName() : QString("<nothing>");
}

void sendWheel(QWidget *widget, int steps)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * steps), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

} // namespace

// How close the dark pixels of a button's caption come to its left or right
// edge: a caption that does not fit is cut there and reaches it. Enabled, so
// that the caption is drawn dark.
int captionInkMargin(QWidget *button)
{
    button->setEnabled(true);
    const QImage image = button->grab().toImage();
    int first = image.width(), last = -1;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 3; y < image.height() - 3; ++y) {
            if (image.pixelColor(x, y).lightness() < 96) {
                first = std::min(first, x);
                last = x;
            }
        }
    }
    return last < 0 ? -1 : std::min(first, image.width() - 1 - last);
}

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsAsTheProgramStarts()
    {
        FormFixture f(true);
        for (auto *button : f.form.findChildren<QPushButton *>())
            QCOMPARE(button->isEnabled(), button->objectName() != "Command7");
        const QMap<QString, QString> texts{{"Text3", "0/10"}, {"Text6", "PELZO "}, {"Text12", "Config 20160728"},
                                           {"Text32", "---"}};
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            QCOMPARE(f.form.control<QLineEdit>(qPrintable(it.key()))->text(), it.value());
        QVERIFY(f.form.session().Timer2->isActive() && !f.form.session().Timer1->isActive());
        QCOMPARE(f.form.windowTitle(), QString("PELZO aprs config"));
        const QRect client = f.form.rect();
        const QStringList workFields{"Label2", "Text1", "Text30", "Command3"};
        for (const ControlRow &row : controlTable()) {
            QWidget *widget = f.form.widget(row.name);
            const QRect area(widget->mapTo(&f.form, QPoint(0, 0)), widget->size());
            QVERIFY2(workFields.contains(nameOf(row.name)) ? !widget->isVisible()
                                                           : client.adjusted(-3, -3, 3, 3).contains(area) && widget->isVisible(),
                     nameOf(row.name));
        }
        // The window and every control where the layout puts it, in pixels of 15 twips.
        QCOMPARE(f.form.size(), QSize(519, 502));
        int placed = 0;
        for (const QByteArray &line : readBytes(testData("golden/layout.txt")).split('\n')) {
            const QList<QByteArray> w = line.split(' ');
            if (line.startsWith('#') || w.size() != 5)
                continue;
            const QRect expected(w[1].toInt() / 15, w[2].toInt() / 15, w[3].toInt() / 15, w[4].toInt() / 15);
            QWidget *control = f.form.control<QWidget>(w[0].constData());
            QVERIFY2(control && control->geometry() == expected, line.constData());
            ++placed;
        }
        QCOMPARE(placed, 67);
        for (int box = 0; box < 16; ++box)
            QCOMPARE(f.form.control<QWidget>(qPrintable(QString("Text%1").arg(13 + box)))->geometry(),
                     QRect(72 + 40 * (box % 4), 40 + 24 * (box / 4), 25, 20));
        // "Comment" names the position, "Status" the comment: each stands beside its box.
        const auto area = [&f](const char *name) {
            QWidget *widget = f.form.control<QWidget>(name);
            return QRect(widget->mapTo(&f.form, QPoint()), widget->size());
        };
        for (const auto &[label, box] : {std::pair{"Label6", "Text8"}, std::pair{"Label11", "Text7"}}) {
            const QRect l = area(label), b = area(box);
            QVERIFY(l.right() <= b.left() + 2 && l.top() < b.bottom() && b.top() < l.bottom());
        }
    }

    void tabVisitsEveryControlInTabIndexOrder()
    {
        FormFixture f(true);
        // By TabIndex; Write data and CTCSS are disabled at start, CommandStatus is no tab stop.
        const QStringList expected = QString("Text4 Combo5 Text7 Command5 Command4 Command0 Command6 Text5 Text8 Text10 "
                                             "Text11 Text13 Combo1 Text14 Text15 Text16 Text17 Text18 Text19 Text20 "
                                             "Text21 Text22 Text23 Text24 Text25 Text26 Text27 Text28 Text12 Command1 "
                                             "Command2 Text6 Text29 Combo3 Combo2 Text31 Combo16 Combo4 Text34 Text33 "
                                             "Command8 Command9 Check1 Combo6 Combo7 Combo8")
                                         .split(' ');
        f.form.control<QWidget>(qPrintable(expected.front()))->setFocus();
        QStringList forward{focused()};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            forward << focused();
        }
        QCOMPARE(forward, expected);
        QStringList backward{focused()};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            backward.prepend(focused());
        }
        QCOMPARE(backward, expected);
    }

    void neitherWheelNorKeysOverAClosedDropDownPick()
    {
        FormFixture f(true);
        applyFactoryDefaults(f.form);
        for (QComboBox *combo : f.form.findChildren<QComboBox *>()) {
            const QString before = combo->currentText();
            int picks = 0;
            connect(combo, &QComboBox::activated, this, [&picks] { ++picks; });
            sendWheel(combo, -1);
            sendWheel(combo, 1);
            sendWheel(combo->lineEdit(), -1);
            for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_PageDown, Qt::Key_Return}) {
                QTest::keyClick(combo, key);
                combo->hidePopup();
            }
            QVERIFY2(combo->currentText() == before && picks == 0, qPrintable(combo->objectName()));
        }
    }

    void captionsAndListItemsFitTheirRoom()
    {
        FormFixture f(true);
        // Each caption at start, then those the actions put on buttons while they run.
        const QMap<QString, QStringList> captions{
            {"Command6", {"Read data", "reading", "read data", "Port is open"}}, {"Command7", {"Write data", "Writing"}},
            {"Command8", {"Apply", "Write"}}, {"Command9", {"restart", "Port is open"}}, {"Command2", {"update", "update..."}},
            {"Command4", {"Load file"}}, {"Command1", {"Open ROM"}}, {"Command0", {"Default"}}, {"Command5", {"Save file"}},
            {"Label3", {"PELZO APRS Config"}}, {"Label4", {"Callsign"}}, {"Label9", {"-"}}, {"Label1", {"Pass"}},
            {"Label6", {"Comment"}}, {"Label11", {"Status"}}, {"Label7", {"Server"}}, {"Label8", {"Tx time"}},
            {"Label10", {"Filter"}}, {"Label22", {"If change setup then please restart "}}, {"Label5", {"DHCP"}},
            {"Label12", {"IP"}}, {"Label13", {"Mask"}}, {"Label14", {"Gate"}}, {"Label15", {"DNS"}},
            {"Label18", {"Backlight"}}, {"Label19", {"Unit"}}, {"Label16", {"Tx/Rx"}}, {"Label17", {"MHz"}},
            {"Label21", {"CTCSS"}}, {"Label25", {"Path"}}, {"Label24", {"TX vol"}}, {"Label26", {"Alias"}},
            {"Label23", {"ssid"}}, {"Label20", {"pass"}}, {"Check1", {"DIGI"}}, {"Frame5", {"Setup"}},
            {"Frame4", {"RF RADIO"}}, {"Frame6", {"WIFI user/password"}}, {"Frame3", {"Vers"}}};
        for (auto it = captions.cbegin(); it != captions.cend(); ++it) {
            QWidget *widget = f.form.control<QWidget>(qPrintable(it.key()));
            auto *label = qobject_cast<QLabel *>(widget);
            auto *button = qobject_cast<QAbstractButton *>(widget);
            auto *frame = qobject_cast<QGroupBox *>(widget);
            // A changed field's label (or the field itself, without one) turns bold; bold is the wider.
            const auto marksThis = [&it](const ControlRow &r) {
                return r.field && isWrittenField(*r.field) && QLatin1String(nameOf(r.label.value_or(r.name))) == it.key();
            };
            if (std::any_of(controlTable().begin(), controlTable().end(), marksThis)) {
                QFont bold = widget->font();
                bold.setBold(true);
                widget->setFont(bold);
            }
            QCOMPARE(label ? label->text() : button ? button->text() : frame ? frame->title() : QString(), it.value()[0]);
            // Qt's own measure of the room a caption needs, the one its layouts go by.
            for (const QString &caption : it.value()) {
                label ? label->setText(caption) : button ? button->setText(caption) : frame->setTitle(caption);
                // A push button's measure holds a minimum width of its own, so its caption is looked at as drawn.
                if (qobject_cast<QPushButton *>(widget)) {
                    const int margin = captionInkMargin(widget);
                    QVERIFY2(margin >= 2, qPrintable(QStringLiteral("%1: \"%2\" comes %3 px near an edge")
                                                         .arg(it.key(), caption).arg(margin)));
                    continue;
                }
                const int needed = label || frame ? widget->minimumSizeHint().width() : widget->sizeHint().width();
                QVERIFY2(needed <= widget->width(), qPrintable(QStringLiteral("%1: \"%2\" needs %3 of %4 px")
                                                                    .arg(it.key(), caption)
                                                                    .arg(needed)
                                                                    .arg(widget->width())));
            }
        }
        for (QComboBox *combo : f.form.findChildren<QComboBox *>()) {
            for (int i = 0; i < combo->count(); ++i) {
                const int needed = combo->view()->fontMetrics().horizontalAdvance(combo->itemText(i));
                QVERIFY2(needed < combo->view()->minimumWidth() - 2 * combo->view()->frameWidth(),
                         qPrintable(combo->objectName() + ": " + combo->itemText(i)));
            }
        }
    }

    void clippedValuesShowTheirStartAndATooltip()
    {
        FormFixture f(true);
        f.form.setText(ControlName::Text3, "Connection is successful\r\n");
        f.form.setFieldText(Field::Server, "euro.aprs2.net");
        f.form.grab();
        auto *status = f.form.control<QLineEdit>("Text3");
        QCOMPARE(status->cursorPosition(), 0);
        QVERIFY2(status->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < 6, "the status box shows the start of its text");
        QCOMPARE(status->toolTip(), QString("Connection is successful\r\n\nHow the last connection test ended."));
        // An alias eight times the width of its box shows itself whole above the explanation; a server well
        // inside its box only the explanation.
        f.form.setFieldText(Field::Alias, QString("WIDE1+WIDE2").repeated(8));
        QCOMPARE(f.form.control<QComboBox>("Combo8")->toolTip(),
                 QString("WIDE1+WIDE2").repeated(8) + "\nAliases the digipeater answers to: WIDE1, WIDE2 or WIDE1+WIDE2.");
        QCOMPARE(f.form.control<QComboBox>("Combo3")->toolTip(),
                 QString("APRS-IS server the station logs in to: pick one or type a host\nname, for example rotate.aprs2.net."));
        QCOMPARE(f.form.control<QLineEdit>("Text4")->toolTip(), QString("Callsign of the station, at most 6 letters and digits, without\n"
                 "the SSID; for example N0CALL. Small letters become capitals."));
        // An octet box shows "255" whole: moving to its end scrolls nothing.
        auto *octet = f.form.control<QLineEdit>("Text13");
        octet->setText("255");
        octet->setCursorPosition(0);
        octet->grab(); // the line edit scrolls when it paints
        const int start = octet->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
        octet->setCursorPosition(3);
        octet->grab();
        const int moved = octet->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() - start;
        QVERIFY2(std::abs(moved - octet->fontMetrics().horizontalAdvance("255")) <= 1, "the box scrolled"); // rounding
    }

    // Scripts find controls by objectName; what screen readers call them tests/accessibility checks.
    void everyControlCarriesItsName()
    {
        FormFixture f;
        for (const ControlRow &row : controlTable())
            QCOMPARE(f.form.widget(row.name)->objectName(), QString::fromLatin1(nameOf(row.name)));
    }

    void theActivityLogKeepsCrLfAndWhatTheUserTypes()
    {
        FormFixture f;
        f.form.setActivityLog("Writing......");
        f.form.appendActivityLog("Write complete");
        auto *log = f.form.control<QPlainTextEdit>("Text29");
        QCOMPARE(log->toPlainText(), QString("Writing......\nWrite complete"));
        log->moveCursor(QTextCursor::End);
        log->insertPlainText("!");
        f.form.appendActivityLogText("x\r\n");
        QCOMPARE(f.form.activityLog(), QString("Writing......\r\nWrite complete!x\r\n"));
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
