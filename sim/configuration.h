#pragma once

#include <QByteArray>

#include <array>

namespace pelzosim {

// The device's settings, in the order of its report.
enum class Field {
    Callsign, Passcode, Dhcp, Ip, Mask, Gateway, Dns, Position, Comment, Server,
    SendTime, Filter, Backlight, Frequency, Unit, Digi, Mod, Path, Alias,
};
inline constexpr int FieldCount = int(Field::Alias) + 1;

// The device side keeps its own table of commands, labels and factory values
// on purpose, written from the device's point of view and not shared with the
// program's: a mistake in one cannot then hide by being in both.
struct FieldInfo {
    Field field;
    const char *command;   // the command prefix that sets it, up to and including ","
    const char *label;     // the report label, including ":"
    const char *factory;   // value after "AT+RESET#"
};

const std::array<FieldInfo, FieldCount> &fieldTable();

// Values are kept as the raw bytes the host sent (UTF-8 for non-ASCII text) and
// are reported unchanged. The callsign value holds callsign, padding, "-" and SSID.
struct Configuration {
    std::array<QByteArray, FieldCount> values;
    QByteArray wifiSsid;
    QByteArray wifiPassword;

    static Configuration factory();

    QByteArray value(Field field) const { return values[std::size_t(field)]; }
    void set(Field field, const QByteArray &value) { values[std::size_t(field)] = value; }

    bool operator==(const Configuration &other) const = default;
};

} // namespace pelzosim
