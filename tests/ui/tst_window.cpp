#include "formfixture.h"

#include "core/factorydefaults.h"

#include "ui/controltable.h"
#include "ui/fieldmarks.h"
#include "ui/inputrules.h"
#include "ui/textfit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <QWheelEvent>

using namespace pelzo;

namespace {

// Plays an edit script on a box: words in quotes are typed, the others are keys.
void play(QLineEdit *edit, const QString &script)
{
    static const QMap<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
        {"Home", {Qt::Key_Home, {}}},       {"End", {Qt::Key_End, {}}},
        {"Left", {Qt::Key_Left, {}}},       {"Right", {Qt::Key_Right, {}}},
        {"ShiftRight", {Qt::Key_Right, Qt::ShiftModifier}},
        {"BS", {Qt::Key_Backspace, {}}},    {"Del", {Qt::Key_Delete, {}}},
        {"Undo", {Qt::Key_Z, Qt::ControlModifier}},
        {"Redo", {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}},
        {"Paste", {Qt::Key_V, Qt::ControlModifier}},
        {"SelectAll", {Qt::Key_A, Qt::ControlModifier}},
    };
    for (const QString &word : script.split(' ', Qt::SkipEmptyParts)) {
        if (word.startsWith('"'))
            QTest::keyClicks(edit, word.mid(1, word.size() - 2));
        else
            QTest::keyClick(edit, keys.value(word).first, keys.value(word).second);
    }
}

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

// Picks an item from the open list with the keyboard, as a user does.
void pickFromList(QComboBox *combo, const QString &item)
{
    combo->showPopup();
    QAbstractItemView *list = combo->view();
    list->setCurrentIndex(combo->model()->index(combo->findText(item), 0));
    QTest::keyClick(list, Qt::Key_Return);
}

} // namespace

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
        for (const ControlRow &row : controlTable()) {
            QWidget *widget = f.form.widget(row.name);
            const QRect area(widget->mapTo(&f.form, QPoint(0, 0)), widget->size());
            QVERIFY2(row.hidden ? !widget->isVisible() : client.adjusted(-3, -3, 3, 3).contains(area), nameOf(row.name));
        }
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

    void editingAnywhereInALimitedBox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("caret");
        const QList<std::tuple<const char *, const char *, QString, QString, QString, QString, int>> rows{
            {"comment: typing at the start", "Text7", "PELZO 144.640MHz", "", "Home \"XY\"", "XYPELZO 144.640MHz", 2},
            {"callsign: capitals inserted in the middle", "Text4", "NOCL", "", "Home Right Right \"ca\"", "NOCACL", 4},
            {"callsign: a full box refuses a key in the middle", "Text4", "NOCALL", "", "Home Right \"X\"", "NOCALL", 1},
            {"passcode: Backspace in the middle", "Text5", "27183", "", "Home Right Right BS", "2183", 1},
            {"interval: Delete in the middle", "Text10", "0600", "", "Home Right Del", "000", 1},
            {"position: a selection is replaced", "Text8", "!3035.00N/11417.00E", "",
             "Home Right ShiftRight ShiftRight ShiftRight ShiftRight \"1234\"", "!1234.00N/11417.00E", 5},
            {"filter: undo and redo", "Text11", "b/PELZO", "", "End BS BS Undo Redo Undo", "b/PELZO", 7},
            {"frequency: inserted in the middle", "Text31", "144.640", "", "Home Right Right Right \"9\"", "1449.640", 4},
            {"ctcss: a full box refuses", "Text32", "12", "", "Home \"34\"", "312", 1},
            {"ssid: a paste is cut to the room left", "Text34", "home", "abcdefghijklmnopqrstuvwxyz", "Home Paste",
             "abcdefghijklmnophome", 16},
            {"password: a paste replaces the selection", "Text33", "secret", "XYZ", "Home ShiftRight ShiftRight Paste",
             "XYZcret", 3},
            {"passcode: a paste skips the key filter, is trimmed and cut", "Text5", "", " 12a ", "Paste", "12a", 3},
            {"callsign: a longer text from the program stays and shortens", "Text4", "LONGCALL9", "", "End \"X\" BS",
             "LONGCALL", 8},
            {"callsign: Ctrl+A and Backspace clear it", "Text4", "NOCALL", "", "SelectAll BS \"n\"", "N", 1},
        };
        for (const auto &[title, box, start, clipboard, script, result, caret] : rows)
            QTest::newRow(title) << box << start << clipboard << script << result << caret;
    }

    void editingAnywhereInALimitedBox()
    {
        QFETCH(QString, box);
        QFETCH(QString, start);
        QFETCH(QString, clipboard);
        QFETCH(QString, script);
        QFETCH(QString, result);
        QFETCH(int, caret);
        FormFixture f(true);
        auto *edit = f.form.control<QLineEdit>(qPrintable(box));
        edit->setEnabled(true);
        edit->setFocus();
        setProgramText(edit, start);
        QApplication::clipboard()->setText(clipboard);
        play(edit, script);
        QCOMPARE(edit->text(), result);
        QCOMPARE(edit->cursorPosition(), caret);
    }

    void tabVisitsEveryControlInTabIndexOrder()
    {
        FormFixture f(true);
        std::vector<std::pair<int, QString>> order;
        for (const ControlRow &row : controlTable()) {
            QWidget *widget = f.form.widget(row.name);
            if (row.tabIndex >= 0 && widget->isEnabled() && widget->isVisibleTo(&f.form) &&
                widget->focusPolicy() & Qt::TabFocus)
                order.emplace_back(row.tabIndex, QString::fromLatin1(nameOf(row.name)));
        }
        std::sort(order.begin(), order.end());
        QStringList expected;
        for (const auto &[tab, name] : order)
            expected << name;

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

    void onlyAPickFromTheOpenListPicks()
    {
        FormFixture f(true);
        auto *mode = f.form.control<QComboBox>("Combo2");
        pickFromList(mode, "DHCP");
        QVERIFY(!f.form.control<QLineEdit>("Text13")->isEnabled());

        mode->setFocus();
        mode->lineEdit()->selectAll();
        QTest::keyClicks(mode->lineEdit(), "STATIC IP");
        QTest::keyClick(mode->lineEdit(), Qt::Key_Return);
        QCOMPARE(mode->currentText(), QString("STATIC IP"));
        QVERIFY2(!f.form.control<QLineEdit>("Text13")->isEnabled(), "typing and Enter are no pick");

        pickFromList(mode, "STATIC IP");
        QVERIFY(f.form.control<QLineEdit>("Text13")->isEnabled());

        auto *ports = f.form.control<QComboBox>("Combo1");
        f.form.port().setCommPort(2);
        ports->setFocus();
        ports->lineEdit()->selectAll();
        QTest::keyClicks(ports->lineEdit(), "COM4");
        QTest::keyClick(ports->lineEdit(), Qt::Key_Return);
        QCOMPARE(f.form.port().commPort(), 2);
        pickFromList(ports, "COM4");
        QCOMPARE(f.form.port().commPort(), 4);
    }

    void theWheelOverAClosedDropDownChangesNothing()
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
            QVERIFY2(combo->currentText() == before && picks == 0, qPrintable(combo->objectName()));
        }
    }

    void captionsAndListItemsFitTheirRoom()
    {
        FormFixture f(true);
        // The captions the actions put on buttons while they run.
        const QMap<QString, QStringList> runningCaptions{
            {"Command6", {"reading", "read data", "Port is open"}}, {"Command7", {"Writing"}},
            {"Command8", {"Write"}}, {"Command9", {"Port is open"}}, {"Command2", {"update..."}}};
        for (const ControlRow &row : controlTable()) {
            QWidget *widget = f.form.widget(row.name);
            const QString name = QString::fromLatin1(nameOf(row.name));
            if (row.hidden || row.kind == ControlKind::TextBox || row.kind == ControlKind::MultiLineText ||
                row.kind == ControlKind::ProgressBar)
                continue;
            if (auto *combo = qobject_cast<QComboBox *>(widget)) {
                for (int i = 0; i < combo->count(); ++i) {
                    const int needed = combo->view()->fontMetrics().horizontalAdvance(combo->itemText(i));
                    QVERIFY2(needed < combo->view()->minimumWidth() - 2 * combo->view()->frameWidth(),
                             qPrintable(name + ": " + combo->itemText(i)));
                }
                continue;
            }
            // A changed field's label (or the field itself, without one) turns bold; bold is the wider.
            const auto marks = [&row](const ControlRow &r) {
                return r.field && isWrittenField(*r.field) && r.label.value_or(r.name) == row.name;
            };
            if (std::any_of(controlTable().begin(), controlTable().end(), marks)) {
                QFont bold = widget->font();
                bold.setBold(true);
                widget->setFont(bold);
            }
            for (const QString &caption : QStringList{QString::fromUtf8(row.text)} + runningCaptions.value(name))
                QVERIFY2(textFits(widget, caption), qPrintable(QStringLiteral("%1: \"%2\" needs %3 of %4 px")
                                                                   .arg(name, caption)
                                                                   .arg(widget->fontMetrics().horizontalAdvance(caption))
                                                                   .arg(textRoom(widget))));
        }
    }

    void clippedValuesShowTheirStartAndATooltip()
    {
        FormFixture f(true);
        f.form.setText(ControlName::Text3, "Connection is successful\r\n");
        f.form.setFieldText(Field::Alias, "WIDE1+WIDE2");
        f.form.setFieldText(Field::Server, "euro.aprs2.net");
        f.form.grab();
        auto *status = f.form.control<QLineEdit>("Text3");
        QCOMPARE(status->cursorPosition(), 0);
        QVERIFY2(status->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < 6, "the status box shows the start of its text");
        QCOMPARE(status->toolTip(), QString("Connection is successful\r\n\nHow the last connection test ended."));
        auto *alias = f.form.control<QComboBox>("Combo8");
        const QString aliases("Aliases the digipeater answers to: WIDE1, WIDE2 or WIDE1+WIDE2.");
        QCOMPARE(alias->toolTip(), textFits(alias, alias->currentText()) ? aliases : "WIDE1+WIDE2\n" + aliases);
        QCOMPARE(f.form.control<QComboBox>("Combo3")->toolTip(),
                 QString("APRS-IS server the station logs in to: pick one or type a host\nname, for example rotate.aprs2.net."));
        QCOMPARE(f.form.control<QLineEdit>("Text4")->toolTip(), QString("Callsign of the station, at most 6 letters and digits, without\n"
                 "the SSID; for example N0CALL. Small letters become capitals."));
        QVERIFY(textFits(f.form.control<QLineEdit>("Text13"), QString("255")));
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
