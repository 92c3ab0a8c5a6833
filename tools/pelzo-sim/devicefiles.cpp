#include "devicefiles.h"

#include "device.h"
#include "statefile.h"

#include <QSaveFile>

DeviceFiles::DeviceFiles(const QString &statePath, const QString &flashOutPath)
    : statePath_(statePath), flashOutPath_(flashOutPath)
{
}

bool DeviceFiles::restore(pelzosim::Device &device, QString *error)
{
    if (statePath_.isEmpty())
        return true;
    if (const std::optional<pelzosim::Configuration> saved = pelzosim::statefile::load(statePath_, error)) {
        device.restoreConfiguration(*saved);
        return true;
    }
    return error->isEmpty();
}

bool DeviceFiles::update(const pelzosim::Device &device, QString *error)
{
    const pelzosim::Counters &counters = device.counters();
    if (!statePath_.isEmpty() && counters.configChanges != savedChanges_) {
        if (!pelzosim::statefile::save(statePath_, device.configuration(), error))
            return false;
        savedChanges_ = counters.configChanges;
    }
    if (!flashOutPath_.isEmpty() && counters.flashes != savedFlashes_) {
        QSaveFile file(flashOutPath_);
        if (!file.open(QIODevice::WriteOnly) || file.write(device.flashedImage()) < 0 || !file.commit()) {
            *error = QStringLiteral("flash-out %1: %2").arg(flashOutPath_, file.errorString());
            return false;
        }
        savedFlashes_ = counters.flashes;
    }
    return true;
}
