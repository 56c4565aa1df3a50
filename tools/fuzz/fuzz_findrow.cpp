// libFuzzer target for ScaleTable::findRow over every column.
//
// The input bytes are decoded the way the program decodes its texts
// (QString::fromUtf8, invalid sequences become U+FFFD) and looked up in each
// of the six columns. A hit must be honest:
//   - in the text columns the row's text equals the input exactly;
//   - in Force the row's force equals readForce(input), which must be 0..12.
// The converse is checked too: text equal to a table entry, or a Force text
// that reads as a force, must be found. Force texts are also read by a second,
// deliberately different reader below, so a slip in readForce's one-pass
// state machine shows up as a disagreement rather than passing unnoticed.
// Any violation calls abort(), which libFuzzer reports as a crash.

#include "core/scale/forcetext.h"
#include "core/scale/scalecolumn.h"
#include "core/scale/scalerow.h"
#include "core/scale/scaletable.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// The lookup reads UTF-16 text, as QString holds it.
std::u16string_view utf16(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())};
}

} // namespace

namespace {

[[noreturn]] void fail(const char *what, ScaleColumn column, const QString &text)
{
    std::fprintf(stderr, "fuzz_findrow: %s (column %d, input \"%s\")\n", what, int(column),
                 text.toUtf8().constData());
    std::abort();
}

QString tableText(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

bool allAsciiDigits(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    }
    return true;
}

// The Force rule written as splitting and slicing rather than as a scanner:
// spaces off both ends, one optional sign, integer digits, optionally '.' and
// digits that must all be zeros, value 0..12, a minus only on zero.
std::optional<int> referenceForce(QStringView text)
{
    while (!text.isEmpty() && text.front() == u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text = text.sliced(1);
    }
    const qsizetype dot = text.indexOf(u'.');
    QStringView integer = dot < 0 ? text : text.first(dot);
    if (dot >= 0) {
        const QStringView fraction = text.sliced(dot + 1);
        if (fraction.isEmpty() || !allAsciiDigits(fraction))
            return std::nullopt;
        for (QChar c : fraction) {
            if (c != u'0')
                return std::nullopt;
        }
    }
    if (integer.isEmpty() || !allAsciiDigits(integer))
        return std::nullopt;
    while (integer.size() > 1 && integer.front() == u'0')
        integer = integer.sliced(1);
    if (integer.size() > 2)
        return std::nullopt;
    const int value = integer.toInt();
    if (value > 12 || (negative && value != 0))
        return std::nullopt;
    return value;
}

void checkForce(const QString &text)
{
    const ScaleColumn column = ScaleColumn::Force;
    const ScaleRow *row = ScaleTable::findRow(column, utf16(text));
    const std::optional<int> read = readForce(utf16(text));
    if (read && (*read < 0 || *read > 12))
        fail("readForce gave a force outside 0..12", column, text);
    if (read != referenceForce(text))
        fail("readForce disagrees with the reference reader", column, text);
    if (row) {
        if (!read)
            fail("Force hit although readForce reads no force", column, text);
        if (row->force != *read)
            fail("Force hit on a row other than readForce's force", column, text);
        if (row != ScaleTable::row(row->force))
            fail("Force hit outside the table", column, text);
    } else if (read) {
        fail("readForce reads a force but findRow misses", column, text);
    }
}

void checkTextColumn(ScaleColumn column, const QString &text)
{
    const ScaleRow *row = ScaleTable::findRow(column, utf16(text));
    if (row) {
        if (row != ScaleTable::row(row->force))
            fail("hit outside the table", column, text);
        if (tableText(row->text(column)) != text)
            fail("hit whose row text differs from the input", column, text);
        return;
    }
    for (const ScaleRow &candidate : ScaleTable::rows()) {
        if (tableText(candidate.text(column)) == text)
            fail("miss although a row has exactly this text", column, text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text =
        QString::fromUtf8(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (ScaleColumn column : allScaleColumns) {
        if (column == ScaleColumn::Force)
            checkForce(text);
        else
            checkTextColumn(column, text);
    }
    return 0;
}
