#include "settingsfile/loadfile.h"

#include "core/station.h"
#include "core/textcodec.h"
#include "protocol/peizhi.h"
#include "settingsfile/linesplitter.h"
#include "settingsfile/settingsfiletext.h"

#include <QDir>
#include <QFile>

namespace pelzo {

namespace {

const QString LoadDialogTitle = QStringLiteral("Please choose fireware.");
const QString LoadDialogFilter = QStringLiteral("ini文件(*.ini)|*.ini");

constexpr qint64 ReadChunkBytes = 64 * 1024;
// A settings file is under 1 KiB. Reading stops after this much, so that a
// wrong pick (a disk image, /dev/zero) cannot fill the memory through the
// echo in the ActivityLog.
constexpr qint64 MaxSettingsFileBytes = 16 * 1024 * 1024;

void logLine(Station &station, const QString &text)
{
    station.appendActivityLogText(text + SettingsFileLineEnd);
}

// Echoes one line and hands it to the parser, as if the device had sent it.
// The parser keeps each value's bytes, so a value that is not UTF-8 is
// written back as it came.
bool applyLine(Station &station, const QByteArray &bytes, qsizetype number)
{
    station.LineBuffer = bytes;
    logLine(station, decodeArrived(bytes, settingsFileFallback()));
    if (peizhi(station, settingsFileFallback()))
        return true;
    logLine(station, QStringLiteral("Line %1 is not a valid settings line; the lines after it were not loaded.")
                      .arg(number));
    return false;
}

bool applyLines(Station &station, QFile &file)
{
    qsizetype lineNumber = 0;
    const LineSplitter::Sink sink = [&station, &lineNumber](const QByteArray &line) {
        return applyLine(station, line, ++lineNumber);
    };
    LineSplitter splitter;
    FileText text;
    QByteArray chunk(ReadChunkBytes, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 count = file.read(chunk.data(), chunk.size());
        if (count < 0) {
            logLine(station, QStringLiteral("The file could not be read: %1.").arg(file.errorString()));
            return false;
        }
        if (count == 0)
            break;
        total += count;
        if (total > MaxSettingsFileBytes) {
            logLine(station, QStringLiteral("The file is larger than %1 MiB, far too large for a settings file; "
                                         "the rest of it was not loaded.")
                              .arg(MaxSettingsFileBytes / (1024 * 1024)));
            return false;
        }
        if (!splitter.feed(text.lineBytes(QByteArrayView(chunk.constData(), count)), sink))
            return false;
    }
    return splitter.finish(sink);
}

} // namespace

void loadFile(Station &station)
{
    Platform &platform = station.platform();
    const QString path =
        platform.getOpenFileName({LoadDialogTitle, LoadDialogFilter, platform.programFolder(), QString(), false});
    if (path.isEmpty())
        return;
    station.dialogFileName = path;
    loadSettingsFile(station, path);
}

bool loadSettingsFile(Station &station, const QString &path)
{
    bool whole = false;
    {
        const Station::UpdateBatch batch(station);
        station.setActivityLog(QDir::toNativeSeparators(path) + SettingsFileLineEnd + SettingsFileLineEnd);
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            whole = applyLines(station, file);
        else
            logLine(station, QStringLiteral("The file could not be read: %1.").arg(file.errorString()));
    }
    station.setEnabled(ControlName::Command7, true);
    return whole;
}

} // namespace pelzo
