#pragma once

#include "commandreader.h"
#include "configuration.h"
#include "counters.h"
#include "journal.h"
#include "options.h"

#include <QList>

#include <optional>

namespace pelzosim {

// What the configuration firmware does about one complete command.
struct FirmwareReaction {
    QList<QByteArray> lines{}; // answer lines, without line end
    bool report = false;       // the lines are the configuration report
    bool reboot = false;
    bool hangup = false;
};

// The configuration firmware: reads command lines and keeps the configuration.
class Firmware {
public:
    Firmware(const Options &options, Counters &counters, Journal &journal);

    std::optional<FirmwareReaction> take(char byte);
    void restart();

    const Configuration &configuration() const { return configuration_; }
    void restoreConfiguration(const Configuration &configuration);
    // What a new firmware image starts from.
    void factoryReset() { change(Configuration::factory()); }

private:
    std::optional<FirmwareReaction> execute(const QByteArray &line);
    std::optional<FirmwareReaction> executeSetting(const QByteArray &line);
    FirmwareReaction probe();
    FirmwareReaction report();
    FirmwareReaction reset();
    FirmwareReaction reboot();
    void change(Configuration changed);

    struct FixedCommand {
        const char *text;
        HangupPoint hangupPoint;
        FirmwareReaction (Firmware::*run)();
    };
    static const FixedCommand kFixedCommands[];

    const Options &options_;
    Counters &counters_;
    Journal &journal_;
    CommandReader reader_;
    Configuration configuration_ = Configuration::factory();
};

} // namespace pelzosim
