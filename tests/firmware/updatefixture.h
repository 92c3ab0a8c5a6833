#pragma once

#include "controls.h"
#include "bootloaderpeer.h"
#include "filebytes.h"

#include "serial/startup.h"
#include "serial/portsettingsstore.h"
#include "ui/form1.h"

#include <QPushButton>
#include <QTemporaryDir>

// A window loaded as the program loads it, with a PELZO on its port and a
// folder for image files.
template <class PlatformType>
struct UpdateFixtureOn
{
    UpdateFixtureOn()
    {
        // COM1 was the last port used, so start-up selects it.
        platform.setProgramFolder(dir.path());
        pelzo::WriteINI(QStringLiteral("QTNComm"), QStringLiteral("par5"), QStringLiteral("COM1"),
                        pelzo::portSettingsPath(platform));
        pelzo::formLoad(form);
        // The user has picked COM1; what start-up's port scan did is no part of an update.
        platform.serialPort().setCommPort(1);
        if constexpr (requires { platform.recorder.ops; })
            platform.recorder.ops.clear();
        platform.port().attachPeer(&peer);
    }

    QString writeFile(const QByteArray &bytes, const QString &name = QStringLiteral("image.bin"))
    {
        const QString path = dir.filePath(name);
        if (!writeBytes(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Chooses the file with Open ROM, as a user would.
    void openRom(const QString &path)
    {
        platform.openAnswers << path;
        buttonNamed(form, "Command1")->click();
    }

    QByteArray loadImage(qsizetype size)
    {
        const QByteArray bytes = imageBytes(size);
        openRom(writeFile(bytes));
        return bytes;
    }

    void clickUpdateAt(qint64 timeMs)
    {
        platform.at(timeMs, [this] { buttonNamed(form, "Command2")->click(); });
    }

    // The bytes that went out since the window opened, minus the configuration firmware's part.
    QByteArray bootloaderBytes()
    {
        const QByteArray all = platform.port().writtenBytes();
        return all.mid(all.indexOf("REBOOT#\r\n") + 9);
    }

    PlatformType platform;
    pelzo::Form1 form{platform};
    QTemporaryDir dir;
    BootloaderPeer peer;
};

using UpdateFixture = UpdateFixtureOn<pelzo::VirtualPlatform>;
