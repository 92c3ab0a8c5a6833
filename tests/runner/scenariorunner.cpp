#include "scenario.h"

#include "filebytes.h"
#include "testing/simpeer.h"

#include "cli/cli.h"
#include "testing/virtualplatform.h"
#include "optiontable.h"
#include "protocol/peizhi.h"
#include "protocol/serialreceive.h"
#include "statefile.h"
#include "ui/controltable.h"
#include "ui/form1.h"
#include "ui/inputrules.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace pelzo;

namespace {

QString text(const QString &word)
{
    return word.startsWith('"') ? QString::fromUtf8(unescape(word)) : word;
}

QString visible(const QString &value)
{
    return escaped(value.toUtf8());
}

QString golden(const QString &name)
{
    return testData("golden/" + name);
}

// The device's counters by the names scenarios use.
using Counters = pelzosim::Counters;
const QList<std::pair<const char *, int Counters::*>> counterTable{
    {"probes", &Counters::probes},           {"reports", &Counters::reports},
    {"fieldWrites", &Counters::fieldWrites}, {"wifiWrites", &Counters::wifiWrites},
    {"resets", &Counters::resets},           {"reboots", &Counters::reboots},
    {"connectRequests", &Counters::connectRequests}, {"blocksReceived", &Counters::blocksReceived},
    {"repeatedFrames", &Counters::repeatedFrames},   {"checkErrors", &Counters::checkErrors},
    {"flashes", &Counters::flashes},         {"failedTransfers", &Counters::failedTransfers},
};

const QStringList setUpVerbs{"emulator", "emulator-on", "device", "ports", "usb", "held",
                             "line",     "keep-start",  "file",       "image"};
// What pelzo-cli and the far end leave can be checked without a window.
const QStringList windowlessVerbs{"cli", "run", "interrupt"};
const QStringList windowlessExpectations{"exit", "stdout", "stderr", "sent", "device", "counters",
                                         "flashed", "file", "no-file", "received", "port", "port-number"};

class Run
{
public:
    explicit Run(const Scenario &scenario) : m_scenario(scenario)
    {
        m_platform.setProgramFolder(m_folder.path());
        m_platform.describeWindow = [this] { return captions(); };
    }

    QStringList run()
    {
        for (const Step &step : m_scenario.steps) {
            if (step.at < 0) {
                perform(step);
                continue;
            }
            m_waiting << &step;
            m_platform.at(step.at, [this, &step] {
                m_waiting.removeOne(&step);
                perform(step);
            });
        }
        // A timed step left out (its time after the last run, or the window
        // closed first) would pass without doing or checking anything.
        for (const Step *step : std::as_const(m_waiting))
            fail(*step, "this step did not run: at " + QString::number(step->at) + ' ' + step->verb + ' ' + step->words.join(' '));
        return m_failures;
    }

private:
    VirtualSerialPort &port() { return m_platform.port(); }

    void fail(const Step &step, const QString &what)
    {
        m_failures << QString("%1:%2: %3").arg(m_scenario.file.section('/', -1)).arg(step.line).arg(what);
    }

    void check(const Step &step, const QString &what, const QString &found, const QString &expected)
    {
        if (found != expected)
            fail(step, QString("%1: expected %2, found %3").arg(what, visible(expected), visible(found)));
    }

    void checkLines(const Step &step, const QString &what, const QStringList &found, const QStringList &expected)
    {
        if (found != expected)
            fail(step, QString("%1 differ (- expected, + found):\n%2").arg(what, lineDiff(expected, found)));
    }

    void checkBytes(const Step &step, const QString &what, const QByteArray &found, const QByteArray &expected)
    {
        if (found != expected)
            checkLines(step, what, QString::fromUtf8(found).split('\n'), QString::fromUtf8(expected).split('\n'));
    }

    // Bytes as a step gives them from its word `at` on: golden FILE, "bytes", or its | lines with CR LF.
    static QByteArray bytesOf(const Step &step, int at)
    {
        if (step.words.value(at) == "golden")
            return readBytes(golden(step.words.value(at + 1)));
        if (step.words.size() > at)
            return unescape(step.words[at]);
        QByteArray bytes;
        for (const QString &line : step.block)
            bytes += line.toUtf8() + "\r\n";
        return bytes;
    }

    // The | lines, blanks between their words made single.
    static QStringList blockWords(const Step &step)
    {
        QStringList lines;
        for (const QString &line : step.block)
            lines << wordsOf(line).join(' ');
        return lines;
    }

    QString path(const QString &name) const { return name.isEmpty() ? QString() : m_folder.filePath(name); }

    void attachDevice()
    {
        if (std::exchange(m_attached, true))
            return;
        if (!m_deviceOff) {
            m_device.emplace(m_options);
            if (m_deviceState)
                m_device->device.restoreConfiguration(*m_deviceState);
            port().attachPeer(&*m_device);
        }
        for (auto &[number, device] : m_others)
            port().attachPeer(device.get(), number);
        if (!m_keepStart)
            port().setCommPort(1);
    }

    void load()
    {
        if (m_form)
            return;
        m_form = std::make_unique<Form1>(m_platform);
        m_form->load();
        if (!m_keepStart) {
            port().setCommPort(1);
            m_form->setText(ControlName::Combo1, "COM1");
        }
        port().clearWrites();
    }

    QWidget *widget(const Step &step, const QString &name)
    {
        QWidget *found = m_form->control<QWidget>(qPrintable(name));
        if (!found)
            fail(step, "no control " + name);
        return found;
    }

    const ControlRow *rowOf(QWidget *control) const
    {
        for (const ControlRow &row : controlTable()) {
            if (m_form->widget(row.name) == control)
                return &row;
        }
        return nullptr;
    }

    // A control's text as the user sees it; a check box reads "1" or "0", a progress bar its value.
    QString shown(QWidget *control) const
    {
        if (auto *box = qobject_cast<QCheckBox *>(control))
            return box->isChecked() ? "1" : "0";
        if (auto *bar = qobject_cast<QProgressBar *>(control))
            return QString("%1 of %2..%3").arg(bar->value()).arg(bar->minimum()).arg(bar->maximum());
        if (auto *plain = qobject_cast<QPlainTextEdit *>(control))
            return plain->toPlainText();
        const ControlRow *row = rowOf(control);
        return row ? m_form->text(row->name) : QString();
    }

    QString captions() const
    {
        QStringList parts;
        for (const ControlRow &row : controlTable()) {
            if (m_form && row.kind == ControlKind::Button)
                parts << QString("%1=%2").arg(nameOf(row.name), m_form->text(row.name));
        }
        return parts.join('|');
    }

    // The window-level values by name, or nothing for a control.
    std::optional<QString> value(const QString &name) const
    {
        const Session &s = m_form->session();
        const ReplyFlags &r = s.replies;
        const VirtualSerialPort &p = m_platform.port();
        const QMap<QString, QString> values{
            {"LineBuffer", QString::fromUtf8(s.receive.LineBuffer)}, {"Text1", s.receive.Text1.text()},
            {"ConnectSeen", QString::number(r.ConnectSeen)}, {"ReadEndSeen", QString::number(r.ReadEndSeen)},
            {"FreqSaveSeen", QString::number(r.FreqSaveSeen)}, {"WifiSuccessSeen", QString::number(r.WifiSuccessSeen)},
            {"EeramResetSeen", QString::number(r.EeramResetSeen)}, {"BlockIndex", QString::number(s.firmware.BlockIndex)},
            {"ConnectTries", QString::number(s.firmware.ConnectTries)}, {"port", p.isOpen() ? "open" : "closed"},
            {"port-number", QString::number(p.commPort())}, {"cut-off", QString::number(p.bytesCutOff())},
            {"Timer1", s.Timer1->isActive() ? "running" : "stopped"}, {"awake", m_platform.awake ? "held" : "free"},
            {"dialog-name", m_form->dialogFileName.section('/', -1)},
        };
        return values.contains(name) ? std::optional(values[name]) : std::nullopt;
    }

    // Everything the parser and the actions may change, by name.
    QMap<QString, QString> state() const
    {
        QMap<QString, QString> all;
        for (const ControlRow &row : controlTable()) {
            if (row.field)
                all[nameOf(row.name)] = shown(m_form->widget(row.name));
        }
        QSet<bool> enabled;
        for (ControlName box : octetBoxNames())
            enabled << m_form->widget(box)->isEnabled();
        all["octet-boxes"] = enabled.size() > 1 ? "mixed" : *enabled.begin() ? "enabled" : "disabled";
        for (const char *flag : {"ConnectSeen", "ReadEndSeen", "FreqSaveSeen", "WifiSuccessSeen", "EeramResetSeen"})
            all[flag] = *value(flag);
        all["ActivityLog"] = m_form->activityLog();
        return all;
    }

    void perform(const Step &step)
    {
        if (!setUpVerbs.contains(step.verb))
            attachDevice();
        if (!setUpVerbs.contains(step.verb) && !windowlessVerbs.contains(step.verb) &&
            !(step.verb == "expect" && windowlessExpectations.contains(step.words.value(0))))
            load();
        const QString &verb = step.verb;
        const QStringList &w = step.words;
        QString error;
        if (verb == "emulator") {
            m_deviceOff = w == QStringList{"off"};
            if (!m_deviceOff && !pelzosim::applyOptions(w, m_options, &error))
                fail(step, error);
        } else if (verb == "emulator-on") {
            pelzosim::Options options;
            if (!pelzosim::applyOptions(w.mid(1), options, &error))
                fail(step, error);
            m_others[w.value(0).toInt()] = std::make_unique<SimPeer>(options);
        } else if (verb == "device") {
            m_deviceState = pelzosim::statefile::parse(step.block.join('\n').toUtf8());
        } else if (verb == "ports" || verb == "usb") {
            QSet<int> numbers;
            for (const QString &number : w)
                numbers << number.toInt();
            (verb == "ports" ? port().setOpenable(numbers) : port().setUsbAdapters(numbers));
        } else if (verb == "held") {
            port().setHeldElsewhere(w.value(0).toInt(), w.value(1) != "no");
        } else if (verb == "line") {
            if (w.value(0) == "stalled")
                port().setStalled(true);
            else
                port().setLineRate(w.value(0).toInt());
        } else if (verb == "keep-start") {
            m_keepStart = true;
        } else if (verb == "file") {
            writeBytes(path(w.value(0)), bytesOf(step, 1));
        } else if (verb == "image") {
            writeBytes(path(w.value(0)), imageBytes(w.value(1).toLongLong()));
        } else if (verb == "click") {
            if (auto *button = qobject_cast<QAbstractButton *>(widget(step, w.value(0))))
                button->click();
        } else if (verb == "set") {
            set(step, w.value(0), text(w.value(1)));
        } else if (verb == "type") {
            if (QWidget *target = widget(step, w.value(0)))
                QTest::keyClicks(target, text(w.value(1)));
        } else if (verb == "keys") {
            keys(step);
        } else if (verb == "clipboard") {
            QApplication::clipboard()->setText(text(w.value(0)));
        } else if (verb == "pick") {
            auto *combo = qobject_cast<QComboBox *>(widget(step, w.value(0)));
            const int index = combo ? combo->findText(text(w.value(1)), Qt::MatchExactly) : -1;
            if (index < 0)
                return fail(step, "no item to pick: " + w.value(1));
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        } else if (verb == "answer-question") {
            m_platform.questionAnswers << text(w.value(0));
        } else if (verb == "answer-open" || verb == "answer-save") {
            (verb == "answer-open" ? m_platform.openAnswers : m_platform.saveAnswers) << path(text(w.value(0)));
        } else if (verb == "device-sends") {
            m_device->device.injectAt(m_platform.now(), unescape(w.value(0)));
        } else if (verb == "parse") {
            m_parsed = peizhi(*m_form, m_form->session(), unescape(w.value(0)), Fallback::Gb18030, TextEnd::Whole);
        } else if (verb == "receive") {
            receiveBytes(*m_form, m_form->session(), unescape(w.value(0)));
        } else if (verb == "snapshot") {
            m_snapshot = state();
        } else if (verb == "open-list") {
            if (auto *combo = qobject_cast<QComboBox *>(widget(step, w.value(0)))) {
                combo->showPopup();
                combo->hidePopup();
            }
        } else if (verb == "cli") {
            runCli(w);
        } else if (verb == "interrupt") {
            m_platform.beginClosing();
        } else if (verb == "close") {
            m_form->close();
        } else if (verb == "run") {
            m_platform.runUntil(w.value(0).toLongLong());
        } else if (verb == "expect") {
            expect(step, w.value(0), w.value(1));
        } else {
            fail(step, QString("unknown step \"%1\"").arg(verb));
        }
    }

    // Words in quotes are typed, the others are keys.
    void keys(const Step &step)
    {
        static const QMap<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
            {"Home", {Qt::Key_Home, {}}}, {"End", {Qt::Key_End, {}}}, {"Right", {Qt::Key_Right, {}}},
            {"ShiftRight", {Qt::Key_Right, Qt::ShiftModifier}}, {"BS", {Qt::Key_Backspace, {}}},
            {"Del", {Qt::Key_Delete, {}}}, {"Undo", {Qt::Key_Z, Qt::ControlModifier}},
            {"Redo", {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}}, {"Paste", {Qt::Key_V, Qt::ControlModifier}},
            {"SelectAll", {Qt::Key_A, Qt::ControlModifier}}};
        QWidget *target = widget(step, step.words.value(0));
        for (const QString &word : step.words.mid(1)) {
            if (word.startsWith('"'))
                QTest::keyClicks(target, text(word));
            else if (keys.contains(word))
                QTest::keyClick(target, keys[word].first, keys[word].second);
            else
                fail(step, "no key " + word);
        }
    }

    void set(const Step &step, const QString &name, const QString &to)
    {
        if (name == "LineBuffer")
            m_form->session().receive.LineBuffer = to.toUtf8();
        else if (name == "Text1")
            m_form->session().receive.Text1.setText(to);
        else if (name == "select-port")
            port().setCommPort(to.toInt());
        else if (auto *edit = m_form->control<QLineEdit>(qPrintable(name)))
            setProgramText(edit, to);
        else if (auto *box = m_form->control<QCheckBox>(qPrintable(name)))
            box->setChecked(to == "1");
        else if (const ControlRow *row = rowOf(widget(step, name)))
            m_form->setText(row->name, to);
    }

    // A "Name=value" word of a box's expectation, filled in from the box:
    // detail= holds when the detail contains the value, a button's name asks its caption.
    static QString boxPart(const VirtualPlatform::Box &box, const QString &word)
    {
        const QString name = word.section('=', 0, 0);
        if (name == "detail")
            return box.detail.contains(text(word.section('=', 1))) ? word : "detail=" + visible(box.detail);
        for (const QString &pair : box.window.split('|')) {
            const QString caption = pair.section('=', 1);
            if (pair.section('=', 0, 0) == name)
                return text(word.section('=', 1)) == caption ? word : name + '=' + visible(caption);
        }
        return name + "=<no such button>";
    }

    void expect(const Step &step, const QString &what, const QString &how)
    {
        const QStringList &w = step.words;
        if (what == "log") {
            const QString log = m_form->activityLog();
            const QString part = text(w.value(2));
            if (how == "ends" || how == "contains" || how == "lacks") {
                if (how == "ends" ? !log.endsWith(part) : log.contains(part) != (how == "contains"))
                    fail(step, QString("log %1 %2; it reads %3").arg(how, visible(part), visible(log)));
            } else if (!how.isEmpty()) {
                check(step, "ActivityLog", log, text(how));
            } else {
                checkLines(step, "ActivityLog lines", log.split("\r\n"), step.block);
            }
        } else if (what == "sent") {
            expectSent(step, how);
        } else if (what == "marked") {
            QStringList bold;
            for (const ControlRow &row : controlTable()) {
                if (row.name != ControlName::Label3 && m_form->widget(row.name)->font().bold())
                    bold << nameOf(row.name);
            }
            check(step, "marked (bold)", bold.join(' '), how == "none" ? "" : w.mid(1).join(' '));
        } else if (what == "tip") {
            QWidget *control = widget(step, how);
            QString tip = control ? control->toolTip() : QString();
            // A list's items have tooltips of their own, each after its item's text.
            if (auto *combo = qobject_cast<QComboBox *>(control)) {
                for (int i = 0; i < combo->count(); ++i)
                    tip += "\n" + combo->itemText(i) + " " + combo->itemData(i, Qt::ToolTipRole).toString();
            }
            if (tip.contains(text(w.value(3))) != (w.value(2) == "contains"))
                fail(step, QString("tooltip of %1 %2 %3; it reads %4").arg(how, w.value(2), w.value(3), visible(tip)));
        } else if (what == "boxes" || what == "questions") {
            // Each box as its expectation states it: time, text, and the captions or detail it names.
            QStringList found;
            const auto &boxes = what == "boxes" ? m_platform.messageBoxes : m_platform.questions;
            for (qsizetype i = 0; i < boxes.size(); ++i) {
                QStringList line{QString::number(boxes[i].atMs), visible(boxes[i].text)};
                for (const QString &word : wordsOf(step.block.value(i)).mid(2))
                    line << boxPart(boxes[i], word);
                found << line.join(' ');
            }
            checkLines(step, "message boxes", found, how == "none" ? QStringList() : blockWords(step));
        } else if (what == "no-file") {
            if (QFile::exists(path(how)))
                fail(step, "the file exists: " + how);
        } else if (what == "file") {
            checkBytes(step, "lines of " + how, readBytes(path(how)), bytesOf(step, 2));
        } else if (what == "received") {
            checkBytes(step, "received bytes", port().receivedBytes(), bytesOf(step, 1));
        } else if (what == "device") {
            const QStringList state =
                QString::fromUtf8(pelzosim::statefile::serialize(m_device->device.configuration())).split('\n');
            for (const QString &line : step.block) {
                if (!state.contains(line))
                    fail(step, QString("the device holds no %1; it holds:\n%2").arg(visible(line), state.join('\n')));
            }
        } else if (what == "counters") {
            for (const QString &pair : w.mid(1)) {
                for (const auto &[name, member] : counterTable) {
                    if (pair.section('=', 0, 0) == name)
                        check(step, QString("device counter ") + name,
                              QString::number(m_device->device.counters().*member), pair.section('=', 1));
                }
            }
        } else if (what == "flashed") {
            const QByteArray image = how == "nothing" ? QByteArray() : readBytes(path(how));
            if (m_device->device.flashedImage() != image)
                fail(step, QString("the device flashed %1 bytes, not the %2 bytes of %3")
                               .arg(m_device->device.flashedImage().size()).arg(image.size()).arg(how));
        } else if (what == "exit") {
            check(step, "exit status", QString::number(m_exit), how);
        } else if (what == "stdout" || what == "stderr") {
            const QString found = what == "stdout" ? m_stdout : m_stderr;
            if (how != "contains" && how != "lacks")
                check(step, what, found, QString::fromUtf8(bytesOf(step, 1)));
            else if (found.contains(text(w.value(2))) != (how == "contains"))
                fail(step, QString("%1 %2 %3; it reads %4")
                               .arg(what, how == "contains" ? "lacks" : "holds", w.value(2), visible(found)));
        } else if (what == "parsed") {
            check(step, "the parse", m_parsed ? "ok" : "failed", how);
        } else if (what == "only") {
            QMap<QString, QString> expected = m_snapshot;
            for (const QString &pair : w.mid(1))
                expected[pair.section('=', 0, 0)] = text(pair.section('=', 1));
            const QMap<QString, QString> now = state();
            for (auto it = expected.cbegin(); it != expected.cend(); ++it)
                check(step, it.key(), now.value(it.key()), it.value());
        } else if (what == "dialogs") {
            QStringList found;
            for (qsizetype i = 0; i < m_platform.dialogRequests.size(); ++i) {
                const FileDialogRequest &r = m_platform.dialogRequests[i];
                const QString folder = r.initialFolder == m_folder.path() ? "program" : r.initialFolder;
                found << QStringList{m_platform.dialogKinds[i], visible(r.title), visible(r.filter),
                                     folder.isEmpty() ? "none" : folder, visible(r.proposedName.section('/', -1)),
                                     r.confirmOverwrite ? "confirm" : "no-confirm"}
                             .join(' ');
            }
            checkLines(step, "file dialogs", found, blockWords(step));
        } else if (what == "items") {
            auto *combo = qobject_cast<QComboBox *>(widget(step, how));
            QStringList items, expected;
            for (int i = 0; combo && i < combo->count(); ++i)
                items << combo->itemText(i);
            for (const QString &word : w.mid(2))
                expected << text(word);
            checkLines(step, "items of " + how, items, expected);
        } else if (what == "enabled" || what == "disabled") {
            for (const QString &name : w.mid(1)) {
                if (QWidget *control = widget(step, name))
                    check(step, name, control->isEnabled() ? "enabled" : "disabled", what);
            }
        } else if (what == "caret") {
            if (auto *edit = qobject_cast<QLineEdit *>(widget(step, how)))
                check(step, "caret in " + how, QString::number(edit->cursorPosition()), w.value(2));
        } else if (const auto found = value(what)) {
            check(step, what, *found, text(how));
        } else if (QWidget *control = widget(step, what)) {
            check(step, what, shown(control), text(how));
        }
    }

    // "| 1101 "bytes"" lines (a time of "*" for any), none, count "bytes" N, or golden FILE.
    void expectSent(const Step &step, const QString &how)
    {
        QStringList found, expected;
        int count = 0;
        for (const auto &write : port().writes()) {
            found << QString("%1 %2").arg(write.atMs).arg(escaped(write.bytes));
            count += write.bytes == unescape(step.words.value(2));
        }
        if (how == "count")
            return check(step, "writes of " + step.words.value(2), QString::number(count), step.words.value(3));
        const QStringList lines = how == "golden" ? QString::fromUtf8(readBytes(golden(step.words.value(2))))
                                                        .split('\n', Qt::SkipEmptyParts)
                                  : how == "none" ? QStringList()
                                                  : step.block;
        for (QString line : lines) {
            if (line.startsWith("* "))
                line = found.value(expected.size()).section(' ', 0, 0) + line.mid(1);
            expected << line.trimmed();
        }
        checkLines(step, "sent bytes", found, expected);
    }

    // pelzo-cli's command, in this process, on this platform and its device;
    // its files are the program folder's.
    void runCli(const QStringList &words)
    {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        cli::Io io(outStream, errStream);
        io.secret = [](const QString &) { return QString("typed secret"); };
        io.writeFile = [](const QString &name, const QByteArray &bytes) { return writeBytes(name, bytes); };
        QStringList arguments;
        for (const QString &word : words)
            arguments << text(word);
        const QString before = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        m_exit = cli::run(arguments, m_platform, io);
        QDir::setCurrent(before);
        m_stdout = out;
        m_stderr = err;
    }

    const Scenario &m_scenario;
    QTemporaryDir m_folder;
    VirtualPlatform m_platform;
    pelzosim::Options m_options;
    std::optional<pelzosim::Configuration> m_deviceState;
    bool m_deviceOff = false;
    bool m_keepStart = false;
    bool m_attached = false;
    std::optional<SimPeer> m_device;
    std::map<int, std::unique_ptr<SimPeer>> m_others;
    std::unique_ptr<Form1> m_form;
    int m_exit = -1;
    QString m_stdout, m_stderr;
    QStringList m_failures;
    QMap<QString, QString> m_snapshot;
    bool m_parsed = false;
    QList<const Step *> m_waiting;
};

} // namespace

Q_DECLARE_METATYPE(Scenario)

// Every scenario under tests/data/scenarios, each a row of its own;
// PELZO_SCENARIO keeps the rows whose title contains it.
class TestScenarios : public QObject
{
    Q_OBJECT

private slots:
    void scenario_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const QDir folder(testData("scenarios"));
        for (const QString &name : folder.entryList({"*.scn"}, QDir::Files, QDir::Name)) {
            QString error;
            const QList<Scenario> scenarios = readScenarios(folder.filePath(name), &error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            for (const Scenario &scenario : scenarios) {
                const QString title = name.chopped(4) + ": " + scenario.title;
                if (title.contains(qEnvironmentVariable("PELZO_SCENARIO")))
                    QTest::newRow(qPrintable(title)) << scenario;
            }
        }
    }

    void scenario()
    {
        QFETCH(Scenario, scenario);
        const QStringList failures = Run(scenario).run();
        QVERIFY2(failures.isEmpty(), qPrintable('\n' + failures.join('\n')));
    }
};

QTEST_MAIN(TestScenarios)
#include "scenariorunner.moc"
