#pragma once

#include <QByteArray>
#include <QtEndian>

// Appending little-endian integers, as both the compound file and BIFF8 store them.
namespace bm::le {

inline void put8(QByteArray& b, quint8 v) { b.append(static_cast<char>(v)); }

inline void put16(QByteArray& b, quint16 v)
{
    put8(b, static_cast<quint8>(v & 0xFF));
    put8(b, static_cast<quint8>(v >> 8));
}

inline void put32(QByteArray& b, quint32 v)
{
    put16(b, static_cast<quint16>(v & 0xFFFF));
    put16(b, static_cast<quint16>(v >> 16));
}

// Overwrites four bytes already written, for offsets known only later.
inline void set32(QByteArray& b, qsizetype at, quint32 v) { qToLittleEndian(v, b.data() + at); }

} // namespace bm::le
