#pragma once

// One scenario's run: the window on the virtual-time platform, the emulated
// device at the far end of its port, each step done or checked in its turn.

#include "scenario.h"
#include "testing/simpeer.h"
#include "testing/virtualplatform.h"
#include "ui/controltable.h"
#include "ui/form1.h"

#include <QMap>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>

using namespace pelzo;

// A quoted word's text, or the word itself.
QString text(const QString &word);
// A value with its control characters written out, for messages.
QString visible(const QString &value);
// The path of a golden file.
QString golden(const QString &name);

class Run
{
public:
    explicit Run(const Scenario &scenario);
    QStringList run();

private:
    VirtualSerialPort &port() { return m_platform.port(); }
    void fail(const Step &step, const QString &what);
    void check(const Step &step, const QString &what, const QString &found, const QString &expected);
    void checkLines(const Step &step, const QString &what, const QStringList &found, const QStringList &expected);
    void checkBytes(const Step &step, const QString &what, const QByteArray &found, const QByteArray &expected);
    // Bytes as a step gives them from its word `at` on: golden FILE, "bytes", or its | lines with CR LF.
    static QByteArray bytesOf(const Step &step, int at);
    // The | lines, blanks between their words made single.
    static QStringList blockWords(const Step &step);
    QString path(const QString &name) const { return name.isEmpty() ? QString() : m_folder.filePath(name); }
    void attachDevice();
    void load();
    QWidget *widget(const Step &step, const QString &name);
    const ControlRow *rowOf(QWidget *control) const;
    // A control's text as the user sees it; a check box reads "1" or "0", a progress bar its value.
    QString shown(QWidget *control) const;
    QString captions() const;
    // The window-level values by name, or nothing for a control.
    std::optional<QString> value(const QString &name) const;
    // Everything the parser and the actions may change, by name.
    QMap<QString, QString> state() const;
    void perform(const Step &step);
    // Words in quotes are typed, the others are keys.
    void keys(const Step &step);
    void set(const Step &step, const QString &name, const QString &to);
    // A "Name=value" word of a box's expectation, filled in from the box:
    // detail= holds when the detail contains the value, a button's name asks its caption.
    static QString boxPart(const VirtualPlatform::Box &box, const QString &word);
    void expect(const Step &step, const QString &what, const QString &how);
    // "| 1101 "bytes"" lines (a time of "*" for any), none, count "bytes" N, or golden FILE.
    void expectSent(const Step &step, const QString &how);
    // pelzo-cli's command, in this process, on this platform and its device;
    // its files are the program folder's.
    void runCli(const QStringList &words);

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
