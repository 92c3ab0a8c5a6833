#include "bytetrace.h"

namespace {

constexpr int kBytesPerRow = 16;
constexpr int kTimeWidth = 9;
constexpr int kCountWidth = 5;
constexpr char kFirstPrintable = ' ';
constexpr char kLastPrintable = '~';

QString stamp(qint64 atMs)
{
    return QStringLiteral("%1 ms").arg(atMs, kTimeWidth);
}

QString printable(const QByteArray &bytes)
{
    QString text;
    for (char byte : bytes)
        text += byte >= kFirstPrintable && byte <= kLastPrintable ? QChar::fromLatin1(byte) : QChar('.');
    return text;
}

} // namespace

bool ByteTrace::open(const QString &path, QString *error)
{
    if (path.isEmpty())
        return true;
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        *error = QStringLiteral("trace %1: %2").arg(path, file_.errorString());
        return false;
    }
    return true;
}

void ByteTrace::bytes(qint64 atMs, Direction direction, const QByteArray &bytes)
{
    if (!file_.isOpen() || bytes.isEmpty())
        return;
    const QString head = stamp(atMs) + QLatin1String(direction == Direction::FromHost ? "  host>dev " : "  dev>host ")
                         + QStringLiteral("%1 B ").arg(bytes.size(), kCountWidth);
    const QString indent(head.size(), QChar(' '));
    const int hexWidth = kBytesPerRow * 3;
    for (qsizetype offset = 0; offset < bytes.size(); offset += kBytesPerRow) {
        const QByteArray row = bytes.mid(offset, kBytesPerRow);
        const QString hex = QString::fromLatin1(row.toHex(' ').toUpper()).leftJustified(hexWidth);
        writeLine((offset == 0 ? head : indent) + hex + QChar(' ') + printable(row));
    }
}

void ByteTrace::note(qint64 atMs, const QString &text)
{
    if (file_.isOpen())
        writeLine(stamp(atMs) + QLatin1String("  device    ") + text);
}

void ByteTrace::writeLine(const QString &line)
{
    file_.write(line.toUtf8() + '\n');
    file_.flush();
}
