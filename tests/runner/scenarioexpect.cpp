#include "scenariorun.h"

#include "filebytes.h"
#include "optiontable.h"
#include "statefile.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

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

} // namespace

QString Run::boxPart(const VirtualPlatform::Box &box, const QString &word)
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

void Run::expect(const Step &step, const QString &what, const QString &how)
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

void Run::expectSent(const Step &step, const QString &how)
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
