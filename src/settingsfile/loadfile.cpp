#include "settingsfile/loadfile.h"

#include "core/wirecodec.h"
#include "protocol/peizhi.h"
#include "settingsfile/linesplitter.h"
#include "settingsfile/settingsfiletext.h"
#include "ui/form1.h"

#include <QDir>
#include <QFile>
#include <QPushButton>

namespace pelzo {

namespace {

const QString LoadDialogTitle = QStringLiteral("Please choose fireware.");
const QString LoadDialogFilter = QStringLiteral("ini文件(*.ini)|*.ini");

constexpr qint64 ReadChunkBytes = 64 * 1024;
// A settings file is under 1 KiB. Reading stops after this much, so that a
// wrong pick (a disk image, /dev/zero) cannot fill the memory through the
// echo in the ActivityLog.
constexpr qint64 MaxSettingsFileBytes = 16 * 1024 * 1024;

// Keeps the ActivityLog from being redrawn after every echoed line.
class ActivityLogBatch
{
public:
    explicit ActivityLogBatch(Form1 &form) : m_form(form) { m_form.beginActivityLogBatch(); }
    ~ActivityLogBatch() { m_form.endActivityLogBatch(); }
    ActivityLogBatch(const ActivityLogBatch &) = delete;
    ActivityLogBatch &operator=(const ActivityLogBatch &) = delete;

private:
    Form1 &m_form;
};

void logLine(Form1 &form, const QString &text)
{
    form.appendActivityLogText(text + SettingsFileLineEnd);
}

// Echoes one line and hands it to the parser, as if the device had sent it.
bool applyLine(Form1 &form, const QByteArray &bytes, qsizetype number)
{
    const QString line = fromSettingsFileText(bytes);
    form.LineBuffer = toWire(line);
    logLine(form, line);
    if (peizhi(form))
        return true;
    logLine(form, QStringLiteral("Line %1 is not a valid settings line; the lines after it were not loaded.")
                      .arg(number));
    return false;
}

void applyLines(Form1 &form, QFile &file)
{
    qsizetype lineNumber = 0;
    const LineSplitter::Sink sink = [&form, &lineNumber](const QByteArray &line) {
        return applyLine(form, line, ++lineNumber);
    };
    LineSplitter splitter;
    QByteArray chunk(ReadChunkBytes, Qt::Uninitialized);
    qint64 total = 0;
    for (;;) {
        const qint64 count = file.read(chunk.data(), chunk.size());
        if (count < 0) {
            logLine(form, QStringLiteral("The file could not be read: %1.").arg(file.errorString()));
            return;
        }
        if (count == 0)
            break;
        total += count;
        if (total > MaxSettingsFileBytes) {
            logLine(form, QStringLiteral("The file is larger than %1 MiB, far too large for a settings file; "
                                         "the rest of it was not loaded.")
                              .arg(MaxSettingsFileBytes / (1024 * 1024)));
            return;
        }
        if (!splitter.feed(QByteArrayView(chunk.constData(), count), sink))
            return;
    }
    splitter.finish(sink);
}

} // namespace

void loadFile(Form1 &form)
{
    Platform &platform = form.platform();
    const QString path =
        platform.getOpenFileName({LoadDialogTitle, LoadDialogFilter, platform.programFolder(), QString(), false});
    if (path.isEmpty())
        return;
    form.dialogFileName = path;

    {
        const ActivityLogBatch batch(form);
        form.setActivityLog(QDir::toNativeSeparators(path) + SettingsFileLineEnd + SettingsFileLineEnd);
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            applyLines(form, file);
        else
            logLine(form, QStringLiteral("The file could not be read: %1.").arg(file.errorString()));
    }
    form.Command7->setEnabled(true);
}

} // namespace pelzo
