#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace pelzosim {

// Something the device noticed (a phase change, a rejected frame), for the trace.
struct Note {
    qint64 atMs;
    QString text;
};

class Journal {
public:
    void setTime(qint64 nowMs) { nowMs_ = nowMs; }
    void add(const QString &text) { notes_.append({nowMs_, text}); }
    QList<Note> take() { return std::exchange(notes_, {}); }

private:
    qint64 nowMs_ = 0;
    QList<Note> notes_;
};

} // namespace pelzosim
