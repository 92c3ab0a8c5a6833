#pragma once

#include "ui/windowplatform.h"
#include "serial/startup.h"
#include "serial/qtserialport.h"
#include "ui/form1.h"
#include "controls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>

// pelzo-sim in a process of its own, its pseudo-terminal linked as COM1 in the
// ports folder of `folder`; stopped when it goes out of scope.
class EmulatorProcess
{
public:
    static constexpr int StartTimeoutMs = 10000; // generous: a loaded machine starts processes slowly

    EmulatorProcess(const QString &folder, const QStringList &options)
        : flashOut(QDir(folder).filePath(QStringLiteral("flash.bin")))
    {
        const QString link = QDir(folder).filePath(QStringLiteral("ports/COM1"));
        process.start(QStringLiteral(PELZO_SIM_EXECUTABLE),
                      QStringList{QStringLiteral("--link"), link, QStringLiteral("--flash-out"), flashOut} + options);
        // The link exists before the first line is printed.
        ready = process.waitForStarted(StartTimeoutMs) && process.waitForReadyRead(StartTimeoutMs) &&
                QFileInfo(link).isSymLink();
    }
    ~EmulatorProcess()
    {
        process.terminate();
        process.waitForFinished(StartTimeoutMs);
    }

    QByteArray flashed() const
    {
        QFile file(flashOut);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QProcess process;
    QString flashOut;
    bool ready = false;
};

// The program's own platform, with its two modal dialogs answered unattended.
class UnattendedPlatform : public pelzo::WindowPlatform
{
public:
    using WindowPlatform::WindowPlatform;

    QString getOpenFileName(const pelzo::FileDialogRequest &) override { return openAnswer; }
    void messageBox(const QString &text, const QString &detail) override { boxes << text + QLatin1Char('|') + detail; }

    QString openAnswer;
    QStringList boxes;
};

// The window as the program builds it, on the real serial port, looking for
// its ports in `folder`.
struct EmulatedWindow
{
    explicit EmulatedWindow(const QString &folder)
        : platform(std::make_unique<pelzo::QtSerialPort>(folder), folder),
          form(platform)
    {
        pelzo::formLoad(form);
        form.port().setCommPort(1);
    }

    void chooseImage(const QString &path)
    {
        platform.openAnswer = path;
        buttonNamed(form, "Command1")->click();
    }

    UnattendedPlatform platform;
    pelzo::Form1 form;
};
