#include "firmware/romimage.h"

#include "core/textutil.h"
#include "firmware/firmwarestate.h"

#include <QFile>

namespace pelzo {

namespace {

constexpr char Filler = '\xFF';

QByteArray blankImage(qint64 length)
{
    const qint64 blocks = length / BlockSize + 1;
    QByteArray image(blocks * BlockSize + 1, Filler);
    image[image.size() - 1] = '\0'; // the spare byte after the last block, never sent
    return image;
}

RomImageFile refused(const QString &error)
{
    RomImageFile result;
    result.error = error;
    return result;
}

} // namespace

RomImageFile readRomImage(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("The file could not be opened: %1.").arg(systemReason(file.errorString())));
    const qint64 size = file.size();
    if (size >= MaxImageBytes) {
        return refused(QStringLiteral("The file holds %1 bytes, but a firmware image must be smaller than %2 bytes.")
                           .arg(size)
                           .arg(MaxImageBytes));
    }
    RomImageFile result;
    result.image = blankImage(size);
    const qint64 read = size > 0 ? file.read(result.image.data(), size) : 0;
    if (read != size) {
        const QString reason = read < 0 ? systemReason(file.errorString()) : QStringLiteral("it ended early");
        return refused(QStringLiteral("The file could not be read: %1.").arg(reason));
    }
    result.length = qint32(size);
    return result;
}

} // namespace pelzo
