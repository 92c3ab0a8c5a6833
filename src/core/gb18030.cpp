#include "core/gb18030.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <vector>

namespace pelzo::gb18030 {

namespace {

constexpr int Trails = 191; // 40..FE
constexpr int Cells = 126 * Trails;
constexpr quint32 FirstPlaneIndexes = 39420;
constexpr quint32 SupplementaryIndex = 189000; // 90 30 81 30 stands for U+10000

struct Run
{
    quint32 index;
    char32_t first; // 0: these codes stand for nothing
};

struct Table
{
    std::vector<char32_t> cells = std::vector<char32_t>(Cells, 0);
    std::vector<Run> runs;
    QHash<char32_t, int> cellOf;
};

Table load()
{
    Table table;
    QFile file(":/pelzo/gb18030.table");
    if (!file.open(QIODevice::ReadOnly))
        qFatal("The GB18030 table is missing from the program");
    const QByteArray data = file.readAll();
    qsizetype at = 0;
    auto next = [&data, &at]() -> quint32 {
        if (at + 2 > data.size())
            qFatal("The GB18030 table is cut off");
        const quint32 value = quint32(quint8(data[at])) << 8 | quint8(data[at + 1]);
        at += 2;
        return value;
    };
    for (int cell = 0; cell < Cells; ++cell)
        table.cells[std::size_t(cell)] = next();
    for (quint32 runs = next(); runs > 0; --runs) {
        const quint32 index = next();
        table.runs.push_back({index, char32_t(next())});
    }
    for (quint32 above = next(); above > 0; --above) {
        const quint32 cell = next();
        const quint32 high = next();
        table.cells[std::size_t(cell) % Cells] = char32_t(high << 16 | next());
    }
    for (int cell = 0; cell < Cells; ++cell) {
        if (const char32_t c = table.cells[std::size_t(cell)])
            table.cellOf.insert(c, cell);
    }
    return table;
}

const Table &table()
{
    static const Table loaded = load();
    return loaded;
}

bool within(quint8 byte, quint8 low, quint8 high)
{
    return byte >= low && byte <= high;
}

QByteArray fourBytes(quint32 index)
{
    QByteArray code(4, '\0');
    code[3] = char(0x30 + index % 10);
    code[2] = char(0x81 + index / 10 % 126);
    code[1] = char(0x30 + index / 1260 % 10);
    code[0] = char(0x81 + index / 12600);
    return code;
}

} // namespace

std::optional<Character> decodeFirst(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    const quint8 lead = quint8(bytes[0]);
    if (lead < 0x80)
        return Character{lead, 1};
    if (!within(lead, 0x81, 0xFE) || bytes.size() < 2)
        return std::nullopt;
    const quint8 second = quint8(bytes[1]);
    if (within(second, 0x40, 0xFE) && second != 0x7F) {
        const char32_t c = table().cells[std::size_t((lead - 0x81) * Trails + second - 0x40)];
        return c ? std::optional(Character{c, 2}) : std::nullopt;
    }
    if (!within(second, 0x30, 0x39) || bytes.size() < 4 || !within(quint8(bytes[2]), 0x81, 0xFE) ||
        !within(quint8(bytes[3]), 0x30, 0x39))
        return std::nullopt;
    const quint32 index = ((quint32(lead - 0x81) * 10 + (second - 0x30)) * 126 + (quint8(bytes[2]) - 0x81)) * 10 +
                          (quint8(bytes[3]) - 0x30);
    if (index >= SupplementaryIndex && index < SupplementaryIndex + 0x100000)
        return Character{char32_t(0x10000 + index - SupplementaryIndex), 4};
    if (index >= FirstPlaneIndexes)
        return std::nullopt;
    const auto &runs = table().runs;
    const auto after = std::upper_bound(runs.begin(), runs.end(), index,
                                        [](quint32 i, const Run &run) { return i < run.index; });
    if (after == runs.begin() || std::prev(after)->first == 0)
        return std::nullopt;
    return Character{std::prev(after)->first + (index - std::prev(after)->index), 4};
}

QByteArray encode(char32_t character)
{
    if (character < 0x80)
        return QByteArray(1, char(character));
    const Table &t = table();
    if (const auto cell = t.cellOf.constFind(character); cell != t.cellOf.cend())
        return QByteArray(1, char(0x81 + *cell / Trails)) + char(0x40 + *cell % Trails);
    if (character >= 0x10000 && character <= 0x10FFFF)
        return fourBytes(SupplementaryIndex + (character - 0x10000));
    for (std::size_t i = 0; i < t.runs.size(); ++i) {
        const quint32 end = i + 1 < t.runs.size() ? t.runs[i + 1].index : FirstPlaneIndexes;
        const Run &run = t.runs[i];
        if (run.first != 0 && character >= run.first && character - run.first < end - run.index)
            return fourBytes(run.index + (character - run.first));
    }
    return {};
}

} // namespace pelzo::gb18030
