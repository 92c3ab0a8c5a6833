#pragma once

#include <QString>

class QPlainTextEdit;

namespace pelzo {

// The ActivityLog: its exact text (lines separated by CR LF) kept beside the
// box that shows it. While a batch is open the text changes at once but the
// box is redrawn only when the outermost batch ends, so a report parsed byte
// by byte, or a file of thousands of lines, costs one redraw.
class ActivityLog
{
public:
    explicit ActivityLog(QPlainTextEdit *box);

    const QString &text() const { return m_text; }
    void setText(const QString &text);
    void append(const QString &text);

    void beginBatch() { ++m_batches; }
    void endBatch();

private:
    void showAll();
    void showAppended(const QString &text);

    QPlainTextEdit *m_box;
    QString m_text;
    bool m_showing = false;
    int m_batches = 0;
    QString m_notShown;     // appended during a batch
    bool m_replaced = false; // set during a batch
};

} // namespace pelzo
