#include "firmware/openrom.h"

#include "firmware/romimage.h"
#include "ui/form1.h"

#include <QProgressBar>

namespace pelzo {

namespace {

const FileDialogRequest ImageDialog{
    QStringLiteral("打开"), QStringLiteral("Bin文件(*.bin)|*.bin"), {}, {}, false};

} // namespace

void openRom(Form1 &form)
{
    FirmwareState &fw = form.firmware;
    // A new image between the header and the last block would make the two disagree.
    if (fw.updateInProgress) {
        form.appendActivityLog(
            QStringLiteral("A firmware update is running; choose another image when it has finished."));
        return;
    }

    const QString path = form.platform().getOpenFileName(ImageDialog);
    if (path.isEmpty())
        return;
    form.dialogFileName = path;

    RomImageFile file = readRomImage(path);
    form.setActivityLog(QStringLiteral("文件：") + path);
    if (!file.error.isEmpty())
        form.appendActivityLog(file.error + QStringLiteral(" No firmware image is loaded."));
    fw.RomLength = file.length;
    fw.RomImage = std::move(file.image);
    form.ProgressBar1->setRange(0, fw.blockCount());
    fw.BlockIndex = 0;
    fw.unfinishedAt.reset();
}

} // namespace pelzo
