#pragma once

#include <QString>

namespace pelzosim {
class Device;
}

// The files the emulator keeps for the device: the configuration between runs
// (--state) and the last image flashed (--flash-out). Both are written
// atomically, each time the device changed what they hold.
class DeviceFiles {
public:
    DeviceFiles(const QString &statePath, const QString &flashOutPath);

    bool restore(pelzosim::Device &device, QString *error);
    bool update(const pelzosim::Device &device, QString *error);

private:
    QString statePath_;
    QString flashOutPath_;
    int savedChanges_ = 0;
    int savedFlashes_ = 0;
};
