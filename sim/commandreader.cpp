#include "commandreader.h"

namespace pelzosim {

std::optional<QByteArray> CommandReader::take(char byte)
{
    if (byte == '\r' || byte == '\n') {
        const bool complete = !overflowed_ && !line_.isEmpty();
        QByteArray line = std::exchange(line_, {});
        overflowed_ = false;
        if (!complete)
            return std::nullopt;
        return line;
    }
    if (overflowed_)
        return std::nullopt;
    if (line_.size() >= kMaxLineBytes) {
        overflowed_ = true;
        line_.clear();
        return std::nullopt;
    }
    line_.append(byte);
    return std::nullopt;
}

void CommandReader::clear()
{
    line_.clear();
    overflowed_ = false;
}

} // namespace pelzosim
