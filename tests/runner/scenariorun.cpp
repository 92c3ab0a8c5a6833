#include "scenariorun.h"

#include "filebytes.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QProgressBar>

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

Run::Run(const Scenario &scenario) : m_scenario(scenario)
{
    m_platform.setProgramFolder(m_folder.path());
    m_platform.describeWindow = [this] { return captions(); };
}

QStringList Run::run()
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

void Run::fail(const Step &step, const QString &what)
{
    m_failures << QString("%1:%2: %3").arg(m_scenario.file.section('/', -1)).arg(step.line).arg(what);
}

void Run::check(const Step &step, const QString &what, const QString &found, const QString &expected)
{
    if (found != expected)
        fail(step, QString("%1: expected %2, found %3").arg(what, visible(expected), visible(found)));
}

void Run::checkLines(const Step &step, const QString &what, const QStringList &found, const QStringList &expected)
{
    if (found != expected)
        fail(step, QString("%1 differ (- expected, + found):\n%2").arg(what, lineDiff(expected, found)));
}

void Run::checkBytes(const Step &step, const QString &what, const QByteArray &found, const QByteArray &expected)
{
    if (found != expected)
        checkLines(step, what, QString::fromUtf8(found).split('\n'), QString::fromUtf8(expected).split('\n'));
}

QByteArray Run::bytesOf(const Step &step, int at)
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

QStringList Run::blockWords(const Step &step)
{
    QStringList lines;
    for (const QString &line : step.block)
        lines << wordsOf(line).join(' ');
    return lines;
}

void Run::attachDevice()
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

void Run::load()
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

QWidget *Run::widget(const Step &step, const QString &name)
{
    QWidget *found = m_form->control<QWidget>(qPrintable(name));
    if (!found)
        fail(step, "no control " + name);
    return found;
}

const ControlRow *Run::rowOf(QWidget *control) const
{
    for (const ControlRow &row : controlTable()) {
        if (m_form->widget(row.name) == control)
            return &row;
    }
    return nullptr;
}

QString Run::shown(QWidget *control) const
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

QString Run::captions() const
{
    QStringList parts;
    for (const ControlRow &row : controlTable()) {
        if (m_form && row.kind == ControlKind::Button)
            parts << QString("%1=%2").arg(nameOf(row.name), m_form->text(row.name));
    }
    return parts.join('|');
}

std::optional<QString> Run::value(const QString &name) const
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

QMap<QString, QString> Run::state() const
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
