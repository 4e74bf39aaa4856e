#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace bm {

// Text files are GBK, the code page of the tester's users. Characters GBK lacks become '?'.
QByteArray encodeAnsi(const QString& text);

// For a Qt built without ICU: exact GBK for ASCII and for the two non-ASCII signs the
// program writes (Ω and ρ); '?' for anything else.
QByteArray encodeGbkFallback(const QString& text);

// The whole file: every line encoded and followed by CR LF; no byte-order mark.
QByteArray textFileBytes(const QStringList& lines);

} // namespace bm
