#include "optiontable.h"

#include <algorithm>

namespace pelzosim {

namespace {

bool toCount(const QString &text, qint64 *count)
{
    bool ok = false;
    *count = text.toLongLong(&ok);
    return ok && *count >= 0;
}

#define PELZO_COUNT(expression)                                                                                    \
    [](const QString &value, Options &o) {                                                                         \
        qint64 v = 0;                                                                                              \
        if (!toCount(value, &v))                                                                                   \
            return false;                                                                                          \
        expression;                                                                                                \
        return true;                                                                                               \
    }

#define PELZO_SWITCH(expression) [](const QString &, Options &o) { expression; return true; }

bool hexBytes(const QString &value, QByteArray *bytes)
{
    QString digits = value;
    digits.remove(QChar(' '));
    *bytes = QByteArray::fromHex(digits.toLatin1());
    return digits.size() % 2 == 0 && bytes->size() * 2 == digits.size();
}

bool applyHangupIn(const QString &value, Options &options)
{
    static const QList<QPair<QString, HangupPoint>> points = {
        {"read", HangupPoint::Read},
        {"write", HangupPoint::Write},
        {"wifi", HangupPoint::Wifi},
        {"reset", HangupPoint::Reset},
    };
    for (const auto &[name, point] : points) {
        if (value == name) {
            options.hangupIn = point;
            return true;
        }
    }
    const QString blockPrefix = QStringLiteral("block:");
    qint64 block = 0;
    if (!value.startsWith(blockPrefix) || !toCount(value.mid(blockPrefix.size()), &block))
        return false;
    options.hangupIn = HangupPoint::Block;
    options.hangupBlock = int(block);
    return true;
}

} // namespace

const QList<SimOption> &optionTable()
{
    static const QList<SimOption> table = {
        {"firmware-version", "text", "Version reported in the VER: line (default \"PELZO-SIM 1.0\").",
         [](const QString &value, Options &o) {
             o.firmwareVersion = value.toUtf8();
             return true;
         }},
        {"reboot-ms", "ms", "After REBOOT#, how long the bootloader waits for a connect request (default 3000).",
         PELZO_COUNT(o.rebootMs = v)},
        {"silent", nullptr, "Never send anything.", PELZO_SWITCH(o.silent = true)},
        {"silent-from", "ms", "Send nothing from <ms> after the start on: the device answers, then falls quiet.",
         PELZO_COUNT(o.silentFromMs = v)},
        {"no-read-end", nullptr, "End the report without the READ END line.", PELZO_SWITCH(o.sendReadEnd = false)},
        {"no-connect", nullptr, "Never answer the connection probe.", PELZO_SWITCH(o.answerProbes = false)},
        {"report-bytes", "count", "Send only the first <count> bytes of each report.",
         PELZO_COUNT(o.reportBytes = int(v))},
        {"answer-delay", "ms", "Send every answer this late.", PELZO_COUNT(o.answerDelayMs = v)},
        {"pieces", "bytes", "Send output in pieces of this many bytes (see --piece-pause).",
         PELZO_COUNT(o.pieceBytes = int(v))},
        {"piece-pause", "ms", "Pause between the pieces of --pieces.", PELZO_COUNT(o.piecePauseMs = v)},
        {"noise", "hex", "Send these bytes (hex, e.g. \"7e 00\") after every line the firmware sends.",
         [](const QString &value, Options &o) { return hexBytes(value, &o.noiseAfterLine); }},
        {"nul", "count", "Send this many NUL bytes after every line the firmware sends.",
         PELZO_COUNT(o.noiseAfterLine = QByteArray(int(v), '\0'))},
        {"unterminated-line", "bytes", "Start every report with a line of this many bytes that never ends.",
         PELZO_COUNT(o.unterminatedLineBytes = int(v))},
        {"hangup-after-bytes", "count", "Drop the link once this many bytes were sent.",
         PELZO_COUNT(o.hangupAfterBytes = v)},
        {"hangup-in", "phase",
         "Drop the link instead of answering: read (AT+READ#), write (any setting), wifi, reset (AT+RESET#), "
         "or block:<k> (when block k, counted from 0, starts to arrive).",
         applyHangupIn},
        {"no-bootloader", nullptr, "REBOOT# restarts the firmware; the bootloader never answers.",
         PELZO_SWITCH(o.enterBootloader = false)},
        {"answer-connect", "n", "The bootloader answers the n-th connect request, not those before it.",
         PELZO_COUNT(o.answerConnectFrom = int(v))},
        {"silent-after-header", nullptr, "The bootloader takes the image header, then never answers again.",
         PELZO_SWITCH(o.silentAfterHeader = true)},
        {"ask-repeat-every", "n", "After every n-th block, ask with 0x55 before asking with 0xC5.",
         PELZO_COUNT(o.askRepeatEvery = int(v))},
        {"silent-after-block", "k", "Stop answering once block k (counted from 0) has arrived.",
         PELZO_COUNT(o.silentAfterBlock = int(v))},
        {"boot-stray", "hex", "Send these bytes (hex) before every bootloader answer.",
         [](const QString &value, Options &o) { return hexBytes(value, &o.bootloaderStray); }},
        {"block-write-ms", "ms", "Time the bootloader takes to write a block before asking for the next.",
         PELZO_COUNT(o.blockWriteMs = v)},
        {"drop-setting", "keyword", "Take the setting command with this keyword (\"AT+POSI,\") but keep nothing of it.",
         [](const QString &value, Options &o) {
             o.droppedSetting = value.toLatin1();
             return !value.isEmpty();
         }},
        {"dead-firmware", nullptr,
         "The configuration firmware does not start: nothing is answered until an image has been flashed.",
         PELZO_SWITCH(o.deadFirmware = true)},
        {"power-on-at", "ms", "Switch the device off and on this long after the start; its bootloader then listens "
                              "for a connect request for --reboot-ms.",
         PELZO_COUNT(o.powerOnAtMs = v)},
        {"pace", nullptr, "Take the program's bytes in no faster than 115,200 bit/s.", PELZO_SWITCH(o.paceInput = true)},
        {"send-at", "ms:hex", "Send these bytes (hex) of its own accord <ms> after the start; may be repeated.",
         [](const QString &value, Options &o) {
             bool ok = false;
             const qint64 at = value.section(QLatin1Char(':'), 0, 0).toLongLong(&ok);
             QByteArray bytes;
             if (!ok || at < 0 || !hexBytes(value.section(QLatin1Char(':'), 1), &bytes))
                 return false;
             o.sends.append({at, bytes});
             return true;
         }},
        {"hangup-at", "ms", "Drop the link <ms> after the start.", PELZO_COUNT(o.hangupAtMs = v)},
    };
    return table;
}

bool applyOptions(const QStringList &words, Options &options, QString *error)
{
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        const auto option = std::find_if(optionTable().begin(), optionTable().end(), [&](const SimOption &s) {
            return word == QStringLiteral("--") + QLatin1String(s.name);
        });
        if (option == optionTable().end()) {
            *error = QStringLiteral("unknown option %1").arg(word);
            return false;
        }
        const QString value = option->valueName && i + 1 < words.size() ? words[++i] : QString();
        if ((option->valueName && value.isEmpty()) || !option->apply(value, options)) {
            *error = QStringLiteral("invalid value \"%1\" for %2").arg(value, word);
            return false;
        }
    }
    return true;
}

} // namespace pelzosim
