#include "firmware/openrom.h"

#include "core/station.h"
#include "firmware/romimage.h"
#include "firmware/session.h"

#include <QCryptographicHash>

namespace pelzo {

namespace {

const FileDialogRequest ImageDialog{
    QStringLiteral("打开"), QStringLiteral("Bin文件(*.bin)|*.bin"), {}, {}, false};

} // namespace

QString imageSummary(const QByteArray &image)
{
    return QStringLiteral("%1 bytes, SHA-256 %2")
        .arg(image.size())
        .arg(QString::fromLatin1(QCryptographicHash::hash(image, QCryptographicHash::Sha256).toHex()));
}

Outcome openRom(Station &station, Session &session)
{
    // A new image between the header and the last block would make the two disagree.
    if (session.updateInProgress()) {
        const QString why = QStringLiteral("A firmware update is running; choose another image when it has finished.");
        station.appendActivityLog(why);
        return Outcome::ended(Result::Refused, why);
    }

    const QString path = station.platform().getOpenFileName(ImageDialog);
    if (path.isEmpty())
        return Outcome::ended(Result::Cancelled);
    station.dialogFileName = path;
    return openRomFile(station, session, path);
}

Outcome openRomFile(Station &station, Session &session, const QString &path)
{
    FirmwareState &fw = session.firmware;
    RomImageFile file = readRomImage(path);
    station.setActivityLog(QStringLiteral("文件：") + path);
    if (!file.error.isEmpty())
        station.appendActivityLog(file.error + QStringLiteral(" No firmware image is loaded."));
    else
        station.appendActivityLog(imageSummary(file.image.left(file.length)));
    fw.RomLength = file.length;
    fw.RomImage = std::move(file.image);
    station.setProgressRange(0, fw.blockCount());
    fw.BlockIndex = 0;
    fw.unfinishedAt.reset();
    return file.error.isEmpty() ? Outcome() : Outcome::ended(Result::Refused, file.error);
}

} // namespace pelzo
