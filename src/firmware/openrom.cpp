#include "firmware/openrom.h"

#include "core/station.h"
#include "firmware/romimage.h"

namespace pelzo {

namespace {

const FileDialogRequest ImageDialog{
    QStringLiteral("打开"), QStringLiteral("Bin文件(*.bin)|*.bin"), {}, {}, false};

} // namespace

void openRom(Station &station)
{
    FirmwareState &fw = station.firmware;
    // A new image between the header and the last block would make the two disagree.
    if (fw.updateInProgress) {
        station.appendActivityLog(
            QStringLiteral("A firmware update is running; choose another image when it has finished."));
        return;
    }

    const QString path = station.platform().getOpenFileName(ImageDialog);
    if (path.isEmpty())
        return;
    station.dialogFileName = path;
    openRomFile(station, path);
}

bool openRomFile(Station &station, const QString &path)
{
    FirmwareState &fw = station.firmware;
    RomImageFile file = readRomImage(path);
    station.setActivityLog(QStringLiteral("文件：") + path);
    if (!file.error.isEmpty())
        station.appendActivityLog(file.error + QStringLiteral(" No firmware image is loaded."));
    fw.RomLength = file.length;
    fw.RomImage = std::move(file.image);
    station.setProgressRange(0, fw.blockCount());
    fw.BlockIndex = 0;
    fw.unfinishedAt.reset();
    return file.error.isEmpty();
}

} // namespace pelzo
