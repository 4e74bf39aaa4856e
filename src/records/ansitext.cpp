#include "records/ansitext.h"

#include <QStringEncoder>

namespace bm {

namespace {

void appendFallback(QByteArray& out, QStringView text)
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
        } else if (u == 0x03A9) { // Ω
            out.append("\xA6\xB8", 2);
        } else if (u == 0x03C1) { // ρ
            out.append("\xA6\xD1", 2);
        } else if (!ch.isLowSurrogate()) { // a pair stands for one character
            out.append('?');
        }
    }
}

} // namespace

QByteArray encodeGbkFallback(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    appendFallback(out, text);
    return out;
}

QByteArray encodeAnsi(const QString& text) { return textFileBytes({text}).chopped(2); }

QByteArray textFileBytes(const QStringList& lines)
{
    QStringEncoder gbk("GBK");
    QByteArray out;
    for (const QString& line : lines) {
        if (gbk.isValid())
            out += gbk.encode(line);
        else
            appendFallback(out, line);
        out += "\r\n";
    }
    return out;
}

} // namespace bm
