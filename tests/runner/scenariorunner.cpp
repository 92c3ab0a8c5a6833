#include "scenario.h"

#include "filebytes.h"
#include "simpeer.h"

#include "cli/cli.h"
#include "core/virtualplatform.h"
#include "protocol/peizhi.h"
#include "protocol/serialreceive.h"
#include "optiontable.h"
#include "statefile.h"
#include "ui/controltable.h"
#include "ui/form1.h"
#include "ui/inputrules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace pelzo;

namespace {

QString text(const QString &word)
{
    return word.startsWith(QLatin1Char('"')) ? QString::fromUtf8(unescape(word)) : word;
}

QString visible(const QString &value)
{
    return escaped(value.toUtf8());
}

// The device's counters by the names scenarios use.
const QList<std::pair<const char *, int pelzosim::Counters::*>> &counterTable()
{
    using C = pelzosim::Counters;
    static const QList<std::pair<const char *, int C::*>> table{
        {"probes", &C::probes},           {"reports", &C::reports},
        {"fieldWrites", &C::fieldWrites}, {"wifiWrites", &C::wifiWrites},
        {"resets", &C::resets},           {"reboots", &C::reboots},
        {"connectRequests", &C::connectRequests}, {"blocksReceived", &C::blocksReceived},
        {"repeatedFrames", &C::repeatedFrames},   {"checkErrors", &C::checkErrors},
        {"flashes", &C::flashes},         {"failedTransfers", &C::failedTransfers},
    };
    return table;
}

class Run
{
public:
    explicit Run(const Scenario &scenario) : m_scenario(scenario)
    {
        quint32 origin = 0;
        for (const Step &step : scenario.steps) {
            if (step.verb == QLatin1String("tick-origin"))
                origin = step.words.value(0).toUInt();
        }
        m_platform.emplace(origin);
        m_platform->setProgramFolder(m_folder.path());
        m_platform->describeWindow = [this] { return captions(); };
    }

    QStringList run()
    {
        for (const Step &step : m_scenario.steps) {
            if (step.at >= 0)
                m_platform->at(step.at, [this, step] { perform(step); });
            else
                perform(step);
        }
        return m_failures;
    }

private:
    bool isSetUp(const Step &step) const
    {
        static const QStringList verbs{"emulator", "emulator-on", "device", "ports",       "held", "line",
                                       "tick-origin", "keep-start", "file",   "image"};
        return verbs.contains(step.verb);
    }

    // The command line and what it leaves need no window; everything else loads it.
    bool needsWindow(const Step &step) const
    {
        static const QStringList outside{"exit", "stdout", "stderr", "sent", "device", "counters", "flashed",
                                         "file", "no-file", "received", "port", "port-number"};
        return !isSetUp(step) && step.verb != QLatin1String("cli") && step.verb != QLatin1String("run") &&
               step.verb != QLatin1String("interrupt") &&
               !(step.verb == QLatin1String("expect") && outside.contains(step.words.value(0)));
    }

    void fail(const Step &step, const QString &what)
    {
        m_failures << QStringLiteral("%1:%2: %3").arg(m_scenario.file.section(QLatin1Char('/'), -1)).arg(step.line).arg(what);
    }

    void check(const Step &step, const QString &what, const QString &found, const QString &expected)
    {
        if (found != expected)
            fail(step, QStringLiteral("%1: expected %2, found %3").arg(what, visible(expected), visible(found)));
    }

    void checkLines(const Step &step, const QString &what, const QStringList &found, const QStringList &expected)
    {
        if (found != expected)
            fail(step, QStringLiteral("%1 differ (- expected, + found):\n%2").arg(what, lineDiff(expected, found)));
    }

    QString path(const QString &name) const { return name.isEmpty() ? QString() : m_folder.filePath(name); }

    void attachDevice()
    {
        if (m_attached)
            return;
        m_attached = true;
        if (!m_deviceOff) {
            m_device.emplace(m_options);
            if (m_deviceState)
                m_device->device.restoreConfiguration(*m_deviceState);
            m_platform->port().attachPeer(&*m_device);
        }
        for (auto &[number, device] : m_others)
            m_platform->port().attachPeer(device.get(), number);
        if (!m_keepStart)
            m_platform->port().setCommPort(1);
    }

    void load()
    {
        if (m_form)
            return;
        m_form = std::make_unique<Form1>(*m_platform);
        m_form->load();
        if (!m_keepStart) {
            m_platform->port().setCommPort(1);
            m_form->setText(ControlName::Combo1, QStringLiteral("COM1"));
        }
        m_platform->port().clearWrites();
    }

    QWidget *widget(const Step &step, const QString &name)
    {
        QWidget *found = m_form->control<QWidget>(qPrintable(name));
        if (!found)
            fail(step, QStringLiteral("no control %1").arg(name));
        return found;
    }

    // A control's text as the user sees it; a check box reads "1" or "0", a progress bar its value.
    QString shown(QWidget *control) const
    {
        if (auto *box = qobject_cast<QCheckBox *>(control))
            return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
        if (auto *bar = qobject_cast<QProgressBar *>(control))
            return QStringLiteral("%1 of %2..%3").arg(bar->value()).arg(bar->minimum()).arg(bar->maximum());
        if (auto *plain = qobject_cast<QPlainTextEdit *>(control))
            return plain->toPlainText();
        for (const ControlSpec &row : controlTable()) {
            if (m_form->widget(row.name) == control)
                return m_form->text(row.name);
        }
        return {};
    }

    QString captions() const
    {
        if (!m_form)
            return {};
        QStringList parts;
        for (const ControlSpec &row : controlTable()) {
            if (row.kind == ControlKind::Button)
                parts << QStringLiteral("%1=%2").arg(QLatin1String(nameOf(row.name)), m_form->text(row.name));
        }
        return parts.join(QLatin1Char('|'));
    }

    // The window-level values by name, or nothing for a control.
    std::optional<QString> value(const QString &name) const
    {
        const Station &s = *m_form;
        const QMap<QString, QString> values{
            {"LineBuffer", QString::fromUtf8(s.LineBuffer)}, {"Text1", s.Text1.text()},
            {"ConnectSeen", QString::number(s.ConnectSeen)}, {"ReadEndSeen", QString::number(s.ReadEndSeen)},
            {"FreqSaveSeen", QString::number(s.FreqSaveSeen)}, {"WifiSuccessSeen", QString::number(s.WifiSuccessSeen)},
            {"EeramResetSeen", QString::number(s.EeramResetSeen)}, {"BlockIndex", QString::number(s.firmware.BlockIndex)},
            {"ConnectTries", QString::number(s.firmware.ConnectTries)},
            {"port", m_platform->port().isOpen() ? QStringLiteral("open") : QStringLiteral("closed")},
            {"port-number", QString::number(m_platform->port().commPort())},
            {"cut-off", QString::number(m_platform->port().bytesCutOff())},
            {"Timer1", s.Timer1->isActive() ? QStringLiteral("running") : QStringLiteral("stopped")},
            {"dialog-name", s.dialogFileName.section(QLatin1Char('/'), -1)},
        };
        return values.contains(name) ? std::optional(values[name]) : std::nullopt;
    }

    // Everything the parser and the actions may change, by name.
    QMap<QString, QString> state() const
    {
        QMap<QString, QString> all;
        for (const ControlSpec &row : controlTable()) {
            if (!row.field)
                continue;
            const QString name = QLatin1String(nameOf(row.name));
            all[name] = shown(m_form->widget(row.name));
        }
        QSet<bool> enabled;
        for (ControlName box : octetBoxNames())
            enabled << m_form->widget(box)->isEnabled();
        all[QStringLiteral("octet-boxes")] = enabled.size() > 1 ? QStringLiteral("mixed")
                                             : *enabled.begin()  ? QStringLiteral("enabled")
                                                                 : QStringLiteral("disabled");
        for (const char *flag : {"ConnectSeen", "ReadEndSeen", "FreqSaveSeen", "WifiSuccessSeen", "EeramResetSeen"})
            all[QLatin1String(flag)] = *value(QLatin1String(flag));
        all[QStringLiteral("ActivityLog")] = m_form->activityLog();
        return all;
    }

    QStringList sentLines() const
    {
        QStringList lines;
        for (const auto &write : m_platform->port().writes())
            lines << QStringLiteral("%1 %2").arg(write.atMs).arg(escaped(write.bytes));
        return lines;
    }

    // "| 1101 "bytes"" lines, or a time of "*" for any.
    QStringList expectedSent(const QStringList &block, const QStringList &found) const
    {
        QStringList lines;
        for (qsizetype i = 0; i < block.size(); ++i) {
            QString line = block[i].trimmed();
            if (line.startsWith(QLatin1String("* ")))
                line = found.value(i).section(QLatin1Char(' '), 0, 0) + line.mid(1);
            lines << line;
        }
        return lines;
    }

    void perform(const Step &step)
    {
        if (!isSetUp(step))
            attachDevice();
        if (needsWindow(step))
            load();
        const QString &verb = step.verb;
        const QStringList &w = step.words;
        if (verb == QLatin1String("emulator")) {
            if (w == QStringList{"off"}) {
                m_deviceOff = true;
                return;
            }
            QString error;
            if (!pelzosim::applyOptions(w, m_options, &error))
                fail(step, error);
        } else if (verb == QLatin1String("emulator-on")) {
            pelzosim::Options options;
            QString error;
            if (!pelzosim::applyOptions(w.mid(1), options, &error))
                fail(step, error);
            m_others[w.value(0).toInt()] = std::make_unique<SimPeer>(options);
        } else if (verb == QLatin1String("cli")) {
            runCli(w);
        } else if (verb == QLatin1String("device")) {
            m_deviceState = pelzosim::statefile::parse(step.block.join(QLatin1Char('\n')).toUtf8());
        } else if (verb == QLatin1String("ports")) {
            QSet<int> numbers;
            for (const QString &number : w)
                numbers << number.toInt();
            m_platform->port().setOpenable(numbers);
        } else if (verb == QLatin1String("held")) {
            m_platform->port().setHeldElsewhere(w.value(0).toInt(), w.value(1) != QLatin1String("no"));
        } else if (verb == QLatin1String("line")) {
            if (w.value(0) == QLatin1String("stalled"))
                m_platform->port().setStalled(true);
            else
                m_platform->port().setLineRate(w.value(0).toInt());
        } else if (verb == QLatin1String("keep-start")) {
            m_keepStart = true;
        } else if (verb == QLatin1String("tick-origin")) {
        } else if (verb == QLatin1String("file")) {
            QByteArray bytes = w.value(1) == QLatin1String("golden") ? readBytes(testData(QStringLiteral("golden/") + w.value(2)))
                               : w.size() > 1                    ? unescape(w[1])
                                                                 : QByteArray();
            for (const QString &line : step.block)
                bytes += line.toUtf8() + "\r\n";
            writeBytes(path(w.value(0)), bytes);
        } else if (verb == QLatin1String("image")) {
            writeBytes(path(w.value(0)), imageBytes(w.value(1).toLongLong()));
        } else if (verb == QLatin1String("click")) {
            if (auto *button = qobject_cast<QAbstractButton *>(widget(step, w.value(0))))
                button->click();
        } else if (verb == QLatin1String("set")) {
            set(step, w.value(0), text(w.value(1)));
        } else if (verb == QLatin1String("type")) {
            if (QWidget *target = widget(step, w.value(0)))
                QTest::keyClicks(target, text(w.value(1)));
        } else if (verb == QLatin1String("pick")) {
            auto *combo = qobject_cast<QComboBox *>(widget(step, w.value(0)));
            const int index = combo ? combo->findText(text(w.value(1)), Qt::MatchExactly) : -1;
            if (index < 0)
                return fail(step, QStringLiteral("no item %1 to pick").arg(w.value(1)));
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        } else if (verb == QLatin1String("answer-open")) {
            m_platform->openAnswers << path(text(w.value(0)));
        } else if (verb == QLatin1String("answer-save")) {
            m_platform->saveAnswers << path(text(w.value(0)));
        } else if (verb == QLatin1String("device-sends")) {
            m_device->device.injectAt(m_platform->now(), unescape(w.value(0)));
        } else if (verb == QLatin1String("hangup")) {
            m_device->device.hangUpAt(m_platform->now());
        } else if (verb == QLatin1String("parse")) {
            m_form->LineBuffer = unescape(w.value(0));
            m_parsed = peizhi(*m_form);
        } else if (verb == QLatin1String("receive")) {
            receiveBytes(*m_form, unescape(w.value(0)));
        } else if (verb == QLatin1String("snapshot")) {
            m_snapshot = state();
        } else if (verb == QLatin1String("open-list")) {
            if (auto *combo = qobject_cast<QComboBox *>(widget(step, w.value(0)))) {
                combo->showPopup();
                combo->hidePopup();
            }
        } else if (verb == QLatin1String("interrupt")) {
            m_platform->beginClosing();
        } else if (verb == QLatin1String("close")) {
            m_form->close();
        } else if (verb == QLatin1String("run")) {
            m_platform->runUntil(w.value(0).toLongLong());
        } else if (verb == QLatin1String("expect")) {
            expect(step);
        } else {
            fail(step, QStringLiteral("unknown step \"%1\"").arg(verb));
        }
    }

    void set(const Step &step, const QString &name, const QString &to)
    {
        if (name == QLatin1String("LineBuffer")) {
            m_form->LineBuffer = to.toUtf8();
        } else if (name == QLatin1String("Text1")) {
            m_form->Text1.setText(to);
        } else if (name == QLatin1String("select-port")) {
            m_platform->port().setCommPort(to.toInt());
        } else if (auto *edit = m_form->control<QLineEdit>(qPrintable(name))) {
            setProgramText(edit, to);
        } else if (auto *box = m_form->control<QCheckBox>(qPrintable(name))) {
            box->setChecked(to == QLatin1String("1"));
        } else if (QWidget *control = widget(step, name)) {
            for (const ControlSpec &row : controlTable()) {
                if (m_form->widget(row.name) == control)
                    m_form->setText(row.name, to);
            }
        }
    }

    // A "Name=value" word of a box's expectation, filled in from the box:
    // detail= holds when the detail contains the value, a button's name asks its caption.
    QString boxPart(const VirtualPlatform::Box &box, const QString &word) const
    {
        const QString name = word.section(QLatin1Char('='), 0, 0);
        if (name == QLatin1String("detail"))
            return box.detail.contains(text(word.section(QLatin1Char('='), 1))) ? word
                                                                                 : name + QLatin1Char('=') + visible(box.detail);
        for (const QString &pair : box.window.split(QLatin1Char('|'))) {
            if (pair.section(QLatin1Char('='), 0, 0) == name)
                return name + QLatin1Char('=') + visible(pair.section(QLatin1Char('='), 1));
        }
        return name + QStringLiteral("=<no such button>");
    }

    void expect(const Step &step)
    {
        const QStringList &w = step.words;
        const QString what = w.value(0);
        const QString how = w.value(1);
        if (what == QLatin1String("log")) {
            const QString log = m_form->activityLog();
            if (how == QLatin1String("ends") || how == QLatin1String("contains") || how == QLatin1String("lacks")) {
                const QString part = text(w.value(2));
                const bool ok = how == QLatin1String("ends")       ? log.endsWith(part)
                                : how == QLatin1String("contains") ? log.contains(part)
                                                                   : !log.contains(part);
                if (!ok)
                    fail(step, QStringLiteral("log %1 %2; it reads %3").arg(how, visible(part), visible(log)));
            } else if (!how.isEmpty()) {
                check(step, QStringLiteral("ActivityLog"), log, text(how));
            } else {
                checkLines(step, QStringLiteral("ActivityLog lines"), log.split(QStringLiteral("\r\n")), step.block);
            }
        } else if (what == QLatin1String("sent")) {
            const QStringList found = sentLines();
            if (how == QLatin1String("none")) {
                checkLines(step, QStringLiteral("sent bytes"), found, {});
            } else if (how == QLatin1String("count")) {
                const QByteArray bytes = unescape(w.value(2));
                const auto count = std::count_if(m_platform->port().writes().begin(), m_platform->port().writes().end(),
                                                 [&](const auto &write) { return write.bytes == bytes; });
                check(step, QStringLiteral("writes of %1").arg(w.value(2)), QString::number(count), w.value(3));
            } else if (how == QLatin1String("golden")) {
                const QByteArray golden = readBytes(testData(QStringLiteral("golden/") + w.value(2)));
                checkLines(step, QStringLiteral("sent bytes against golden/") + w.value(2), found,
                           expectedSent(QString::fromUtf8(golden).split(QLatin1Char('\n'), Qt::SkipEmptyParts), found));
            } else {
                checkLines(step, QStringLiteral("sent bytes"), found, expectedSent(step.block, found));
            }
        } else if (what == QLatin1String("boxes")) {
            // Each box as its expectation states it: time, text, and the captions or detail it names.
            QStringList found, expected;
            const auto &boxes = m_platform->messageBoxes;
            for (qsizetype i = 0; i < boxes.size(); ++i) {
                const QStringList words = wordsOf(step.block.value(i));
                QStringList line{QString::number(boxes[i].atMs), escaped(boxes[i].text.toUtf8())};
                for (const QString &word : words.mid(2))
                    line << boxPart(boxes[i], word);
                found << line.join(QLatin1Char(' '));
            }
            if (how != QLatin1String("none")) {
                for (const QString &line : step.block)
                    expected << wordsOf(line).join(QLatin1Char(' '));
            }
            checkLines(step, QStringLiteral("message boxes"), found, expected);
        } else if (what == QLatin1String("file") || what == QLatin1String("no-file")) {
            const QString name = path(how);
            if (what == QLatin1String("no-file")) {
                if (QFile::exists(name))
                    fail(step, QStringLiteral("the file %1 exists").arg(how));
                return;
            }
            const QByteArray bytes = readBytes(name);
            QByteArray expected;
            if (w.value(2) == QLatin1String("golden"))
                expected = readBytes(testData(QStringLiteral("golden/") + w.value(3)));
            else if (w.size() > 2)
                expected = unescape(w.value(2));
            else
                for (const QString &line : step.block)
                    expected += line.toUtf8() + "\r\n";
            if (bytes != expected)
                checkLines(step, QStringLiteral("lines of %1").arg(how), QString::fromUtf8(bytes).split(QLatin1Char('\n')),
                           QString::fromUtf8(expected).split(QLatin1Char('\n')));
        } else if (what == QLatin1String("device")) {
            const QStringList state = QString::fromUtf8(pelzosim::statefile::serialize(m_device->device.configuration()))
                                          .split(QLatin1Char('\n'));
            for (const QString &line : step.block) {
                if (!state.contains(line))
                    fail(step, QStringLiteral("the device holds no %1; it holds:\n%2").arg(visible(line), state.join('\n')));
            }
        } else if (what == QLatin1String("counters")) {
            for (const QString &pair : w.mid(1)) {
                for (const auto &[name, member] : counterTable()) {
                    if (pair.section(QLatin1Char('='), 0, 0) == QLatin1String(name))
                        check(step, QStringLiteral("device counter %1").arg(name),
                              QString::number(m_device->device.counters().*member), pair.section(QLatin1Char('='), 1));
                }
            }
        } else if (what == QLatin1String("flashed")) {
            const QByteArray image = how == QLatin1String("nothing") ? QByteArray() : readBytes(path(how));
            if (m_device->device.flashedImage() != image)
                fail(step, QStringLiteral("the device flashed %1 bytes, not the %2 bytes of %3")
                               .arg(m_device->device.flashedImage().size()).arg(image.size()).arg(how));
        } else if (what == QLatin1String("exit")) {
            check(step, QStringLiteral("exit status"), QString::number(m_exit), how);
        } else if (what == QLatin1String("stdout") || what == QLatin1String("stderr")) {
            const QString found = what == QLatin1String("stdout") ? m_stdout : m_stderr;
            if (how == QLatin1String("contains")) {
                if (!found.contains(text(w.value(2))))
                    fail(step, QStringLiteral("%1 lacks %2; it reads %3").arg(what, visible(text(w.value(2))), visible(found)));
            } else if (how == QLatin1String("golden")) {
                check(step, what, found, QString::fromUtf8(readBytes(testData(QStringLiteral("golden/") + w.value(2)))));
            } else {
                check(step, what, found, text(how));
            }
        } else if (what == QLatin1String("parsed")) {
            check(step, QStringLiteral("the parse"), m_parsed ? QStringLiteral("ok") : QStringLiteral("failed"), how);
        } else if (what == QLatin1String("only")) {
            QMap<QString, QString> expected = m_snapshot;
            for (const QString &pair : w.mid(1))
                expected[pair.section(QLatin1Char('='), 0, 0)] = text(pair.section(QLatin1Char('='), 1));
            const QMap<QString, QString> now = state();
            for (auto it = expected.cbegin(); it != expected.cend(); ++it)
                check(step, it.key(), now.value(it.key()), it.value());
        } else if (what == QLatin1String("received")) {
            const QByteArray expected = how == QLatin1String("golden")
                                            ? readBytes(testData(QStringLiteral("golden/") + w.value(2)))
                                            : unescape(how);
            const QByteArray &bytes = m_platform->port().receivedBytes();
            if (bytes != expected)
                checkLines(step, QStringLiteral("received bytes"), QString::fromUtf8(bytes).split(QLatin1Char('\n')),
                           QString::fromUtf8(expected).split(QLatin1Char('\n')));
        } else if (what == QLatin1String("dialogs")) {
            QStringList found;
            for (qsizetype i = 0; i < m_platform->dialogRequests.size(); ++i) {
                const FileDialogRequest &r = m_platform->dialogRequests[i];
                const QString folder = r.initialFolder.isEmpty()                ? QStringLiteral("none")
                                       : r.initialFolder == m_folder.path() ? QStringLiteral("program")
                                                                            : r.initialFolder;
                found << QStringList{m_platform->dialogKinds[i], visible(r.title), visible(r.filter), folder,
                                     visible(r.proposedName.section(QLatin1Char('/'), -1)),
                                     r.confirmOverwrite ? QStringLiteral("confirm") : QStringLiteral("no-confirm")}
                             .join(QLatin1Char(' '));
            }
            QStringList expected;
            for (const QString &line : step.block)
                expected << wordsOf(line).join(QLatin1Char(' '));
            checkLines(step, QStringLiteral("file dialogs"), found, expected);
        } else if (what == QLatin1String("items")) {
            auto *combo = qobject_cast<QComboBox *>(widget(step, how));
            QStringList items;
            for (int i = 0; combo && i < combo->count(); ++i)
                items << combo->itemText(i);
            QStringList expected;
            for (const QString &word : w.mid(2))
                expected << text(word);
            checkLines(step, QStringLiteral("items of ") + how, items, expected);
        } else if (const auto found = value(what)) {
            check(step, what, *found, text(how));
        } else if (QWidget *control = widget(step, what)) {
            if (how == QLatin1String("enabled") || how == QLatin1String("disabled"))
                check(step, what, control->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"), how);
            else
                check(step, what, shown(control), text(how));
        }
    }

    // pelzo-cli's command, in this process, on this platform and its device;
    // its files are the program folder's.
    void runCli(const QStringList &words)
    {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        cli::Io io(outStream, errStream);
        io.boxes = [this] {
            QStringList boxes;
            for (const auto &box : m_platform->messageBoxes)
                boxes << box.text + QLatin1Char('|') + box.detail;
            return boxes;
        };
        io.secret = [](const QString &) { return QStringLiteral("typed secret"); };
        io.writeFile = [](const QString &name, const QByteArray &bytes) { return writeBytes(name, bytes); };
        QStringList arguments;
        for (const QString &word : words)
            arguments << text(word);
        const QString before = QDir::currentPath();
        QDir::setCurrent(m_folder.path());
        m_exit = cli::run(arguments, *m_platform, io);
        QDir::setCurrent(before);
        m_stdout = out;
        m_stderr = err;
    }

    const Scenario &m_scenario;
    QTemporaryDir m_folder;
    std::optional<VirtualPlatform> m_platform;
    pelzosim::Options m_options;
    std::optional<pelzosim::Configuration> m_deviceState;
    bool m_deviceOff = false;
    bool m_keepStart = false;
    std::optional<SimPeer> m_device;
    std::map<int, std::unique_ptr<SimPeer>> m_others;
    bool m_attached = false;
    int m_exit = -1;
    QString m_stdout, m_stderr;
    std::unique_ptr<Form1> m_form;
    QStringList m_failures;
    QMap<QString, QString> m_snapshot;
    bool m_parsed = false;
};

} // namespace

QStringList runScenario(const Scenario &scenario)
{
    return Run(scenario).run();
}
