#include "ui/activitylog.h"

#include <QPlainTextEdit>

namespace pelzo {

namespace {

// Above the largest settings file a load echoes (16 MiB), and far above any
// working device's messages; only a device that floods the line reaches it.
constexpr qsizetype ActivityLogLimit = qsizetype(32) << 20;

QString shownForm(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

ActivityLog::ActivityLog(QPlainTextEdit *box) : m_box(box)
{
    // The program appends here for as long as it runs; an undo history would only grow.
    m_box->setUndoRedoEnabled(false);
    // What the user types into the ActivityLog becomes part of its text, as the program's appends do.
    QObject::connect(m_box, &QPlainTextEdit::textChanged, m_box, [this] {
        if (!m_showing)
            m_text = m_box->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    });
}

void ActivityLog::setText(const QString &text)
{
    m_text = text;
    if (m_batches > 0) {
        m_replaced = true;
        m_notShown.clear();
        return;
    }
    showAll();
}

void ActivityLog::append(const QString &text)
{
    if (m_text.size() + text.size() > ActivityLogLimit) {
        // A device that floods the log must not exhaust memory: keep the newest half.
        const qsizetype keepFrom = m_text.indexOf(QLatin1String("\r\n"), m_text.size() - ActivityLogLimit / 2);
        setText(m_text.mid(keepFrom < 0 ? m_text.size() - ActivityLogLimit / 2 : keepFrom) + text);
        return;
    }
    m_text += text;
    if (m_batches > 0)
        m_notShown += text;
    else
        showAppended(text);
}

void ActivityLog::endBatch()
{
    if (--m_batches > 0)
        return;
    if (std::exchange(m_replaced, false))
        showAll();
    else if (!m_notShown.isEmpty())
        showAppended(std::exchange(m_notShown, {}));
}

void ActivityLog::showAll()
{
    m_showing = true;
    m_box->setPlainText(shownForm(m_text));
    m_box->moveCursor(QTextCursor::End);
    m_box->ensureCursorVisible();
    m_showing = false;
}

void ActivityLog::showAppended(const QString &text)
{
    // Appending at the end costs the length of the text, not of the whole log.
    m_showing = true;
    QTextCursor end(m_box->document());
    end.movePosition(QTextCursor::End);
    end.insertText(shownForm(text));
    m_box->setTextCursor(end);
    m_box->ensureCursorVisible();
    m_showing = false;
}

} // namespace pelzo
