#pragma once

#include "configuration.h"

#include <QString>

#include <optional>

namespace pelzosim {

// The configuration kept between runs of the emulator: one "LABEL:value" line
// per setting, the labels of the device report plus two for the Wi-Fi
// credentials. Values are raw bytes; they never hold a line end, since the
// device cuts commands at line ends.
namespace statefile {

QByteArray serialize(const Configuration &configuration);
// Settings missing from the text keep their factory value; unknown lines are skipped.
Configuration parse(const QByteArray &text);

// Replaces the file atomically.
bool save(const QString &path, const Configuration &configuration, QString *error);
// nullopt with an empty error when the file does not exist yet.
std::optional<Configuration> load(const QString &path, QString *error);

} // namespace statefile
} // namespace pelzosim
