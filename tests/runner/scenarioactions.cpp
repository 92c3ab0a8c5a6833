#include "scenariorun.h"

#include "cli/cli.h"
#include "filebytes.h"
#include "optiontable.h"
#include "protocol/peizhi.h"
#include "protocol/serialreceive.h"
#include "statefile.h"
#include "ui/inputrules.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace {

const QStringList setUpVerbs{"emulator", "emulator-on", "device", "ports", "usb", "held",
                             "line",     "keep-start",  "file",       "image"};
// What pelzo-cli and the far end leave can be checked without a window.
const QStringList windowlessVerbs{"cli", "run", "interrupt"};
const QStringList windowlessExpectations{"exit", "stdout", "stderr", "sent", "device", "counters",
                                         "flashed", "file", "no-file", "received", "port", "port-number"};

} // namespace

void Run::perform(const Step &step)
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
        // As a user picks: from the open list, with the keyboard.
        combo->showPopup();
        combo->view()->setCurrentIndex(combo->model()->index(index, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
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

void Run::keys(const Step &step)
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

void Run::set(const Step &step, const QString &name, const QString &to)
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

void Run::runCli(const QStringList &words)
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
