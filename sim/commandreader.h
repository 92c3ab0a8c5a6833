#pragma once

#include <QByteArray>

#include <optional>

namespace pelzosim {

// Cuts the host's byte stream into command lines. A line ends at CR or LF;
// empty lines (the stray CR LF around commands) are dropped, and a line that
// grows past kMaxLineBytes is thrown away up to its end.
class CommandReader {
public:
    static constexpr int kMaxLineBytes = 512;

    std::optional<QByteArray> take(char byte);
    void clear();

private:
    QByteArray line_;
    bool overflowed_ = false;
};

} // namespace pelzosim
