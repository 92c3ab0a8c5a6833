#pragma once

#include <QByteArray>

namespace pelzosim::boot {

inline const QByteArray kConnectRequest = QByteArray::fromHex("5f0000f5");
inline constexpr char kConnectAnswer = char(0xE5);
inline constexpr char kHeaderStart = char(0x5E);
inline constexpr char kHeaderEnd = char(0xE5);
inline constexpr int kHeaderBytes = 5;
inline constexpr char kAskNext = char(0xC5);
inline constexpr char kAskCurrent = char(0x55);  // the host sends the block at its own index again
inline constexpr int kBlockBytes = 2048;
inline constexpr int kFrameBytes = kBlockBytes + 1;  // the block and its XOR check byte
inline constexpr int kMaxLastBlockBytes = kBlockBytes - 1;

} // namespace pelzosim::boot
