#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <optional>

namespace pelzosim {

// Where the device drops the link on purpose; see Options::hangupIn.
enum class HangupPoint { Never, Read, Write, Wifi, Reset, Block };

// Behaviour switches. The defaults describe a well-behaved device that answers at once.
struct Options {
    QByteArray firmwareVersion = "PELZO-SIM 1.0";
    // After "REBOOT#" the bootloader waits this long for a connect request
    // before it starts the configuration firmware again.
    qint64 rebootMs = 3000;

    bool silent = false;              // never send a byte
    std::optional<qint64> silentFromMs;  // send nothing from this time (ms) on
    bool sendReadEnd = true;          // end the report with "READ END"
    bool answerProbes = true;         // answer "SETUP#" with "CONNECT"
    std::optional<int> reportBytes;   // send only this many bytes of each report
    qint64 answerDelayMs = 0;         // added to every answer, firmware and bootloader

    int pieceBytes = 0;               // > 0: send output in pieces of this many bytes ...
    qint64 piecePauseMs = 0;          // ... with this pause between the pieces
    QByteArray noiseAfterLine;        // sent after every line end of the firmware
    int unterminatedLineBytes = 0;    // > 0: each report starts with a line of this many bytes and no end

    std::optional<qint64> hangupAfterBytes;  // drop the link once this many bytes were sent
    HangupPoint hangupIn = HangupPoint::Never;
    int hangupBlock = 0;              // with HangupPoint::Block: the block (from 0) whose frame starts arriving

    bool enterBootloader = true;      // false: "REBOOT#" restarts straight into the firmware
    int answerConnectFrom = 1;        // the bootloader answers this connect request (from 1) and later ones
    bool silentAfterHeader = false;   // the bootloader takes the header, then never answers
    int askRepeatEvery = 0;           // > 0: after every Nth block, ask with 0x55 before asking with 0xC5
    std::optional<int> silentAfterBlock;  // stop answering once this block (from 0) has arrived
    QByteArray bootloaderStray;       // sent before every bootloader answer byte
    qint64 blockWriteMs = 0;          // time to write a received block to flash before asking for the next

    bool paceInput = false;           // take the host's bytes in no faster than 115,200 bit/s
    QByteArray droppedSetting;        // a setting command ("AT+POSI,") taken and answered as usual, but not kept
    QList<QPair<qint64, QByteArray>> sends; // bytes the device sends of its own at these times (ms)
    std::optional<qint64> hangupAtMs;       // the device drops the link at this time (ms)

    bool deadFirmware = false;              // the configuration firmware answers nothing until an image is flashed
    std::optional<qint64> powerOnAtMs;      // switched off and on at this time (ms): the bootloader listens for rebootMs
};

} // namespace pelzosim
