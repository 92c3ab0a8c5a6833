#pragma once

#include "queuedpeer.h"

#include <QList>
#include <QSet>

#include <functional>
#include <map>

// A PELZO as far as a firmware update sees it: the configuration firmware
// acknowledges "AT+RESET#" and restarts into the bootloader on "REBOOT#"; the
// bootloader answers a connect request with 0xE5, the header and every block
// frame with 0xC5 (or 0x55 where told), and keeps the blocks it asked for with
// 0xC5. Every delay is in virtual milliseconds after the bytes arrived.
class BootloaderPeer : public QueuedPeer
{
public:
    // The configuration firmware.
    bool acknowledgesReset = true;
    qint64 resetAckMs = 300;

    // The bootloader.
    int answeredRequest = 1;       // the connect request it answers; 0: none
    qint64 connectAnswerMs = 20;
    qint64 frameAnswerMs = 180;    // about the line time of a 2049-byte frame
    int silentAfterFrames = -1;    // stops answering after this many frames; -1: never
    int hangUpAfterFrames = -1;    // answers this frame, then drops the link at once
    bool silentAfterHeader = false;
    bool headerAnswerWithConnect = false; // sends 0xE5 and 0xC5 as one piece
    QSet<int> askAgainAfterFrame;  // answers these frames (counted from 1) with 0x55
    std::function<void()> onReboot; // called when "REBOOT#" has arrived

    // What arrived.
    QByteArray firmwareBytes;      // everything before the restart into the bootloader
    QList<qint64> connectRequestTimes;
    QByteArray header;
    QList<QByteArray> frames;      // every frame, check byte included
    QByteArray flash;              // the data of the frames asked for with 0xC5
    int badCheckBytes = 0;

    void hostBytes(qint64 nowMs, const QByteArray &bytes) override
    {
        if (!m_inBootloader) {
            firmwareBytes += bytes;
            if (acknowledgesReset && firmwareBytes.endsWith("AT+RESET#\r\n"))
                send(nowMs + resetAckMs, "eeram reset\r\n");
            if (firmwareBytes.endsWith("REBOOT#\r\n")) {
                m_inBootloader = true;
                if (onReboot)
                    onReboot();
            }
            return;
        }
        m_pending += bytes;
        while (consume(nowMs)) {
        }
    }



    QByteArray block(int index) const { return flash.mid(qsizetype(index) * 2048, 2048); }

private:
    static constexpr qsizetype FrameSize = 2049;

    void send(qint64 atMs, const QByteArray &bytes, bool hangup = false) { queue(atMs, bytes, hangup); }

    bool consume(qint64 nowMs)
    {
        static const QByteArray request("\x5F\x00\x00\xF5", 4);
        if (m_pending.startsWith(request)) {
            m_pending.remove(0, request.size());
            connectRequestTimes.append(nowMs);
            if (connectRequestTimes.size() == answeredRequest)
                send(nowMs + connectAnswerMs, headerAnswerWithConnect ? QByteArray("\xE5\xC5") : QByteArray("\xE5"));
            return true;
        }
        if (header.isEmpty()) {
            if (m_pending.size() < 5 || m_pending.at(0) != '\x5E')
                return false;
            header = m_pending.left(5);
            m_pending.remove(0, 5);
            if (!silentAfterHeader)
                send(nowMs + connectAnswerMs, "\xC5");
            return true;
        }
        if (m_pending.size() < FrameSize)
            return false;
        const QByteArray frame = m_pending.left(FrameSize);
        m_pending.remove(0, FrameSize);
        takeFrame(nowMs, frame);
        return true;
    }

    void takeFrame(qint64 nowMs, const QByteArray &frame)
    {
        frames.append(frame);
        char check = 0;
        for (qsizetype i = 0; i < FrameSize - 1; ++i)
            check = char(check ^ frame.at(i));
        if (check != frame.at(FrameSize - 1))
            ++badCheckBytes;
        if (!m_askedAgain)
            flash += frame.left(FrameSize - 1);
        const int number = int(frames.size());
        const int expected = header.size() == 5 ? quint8(header.at(3)) + 1 : 0;
        m_askedAgain = askAgainAfterFrame.contains(number);
        if (number == silentAfterFrames || flash.size() >= qsizetype(expected) * 2048)
            return;
        send(nowMs + frameAnswerMs, m_askedAgain ? "\x55" : "\xC5", number == hangUpAfterFrames);
    }

    bool m_inBootloader = false;
    bool m_askedAgain = false;
    QByteArray m_pending;
};
