#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace bm {

// The font of every printout: fixed pitch, so the runs of spaces keep the columns
// straight, with Ω and ρ; a CJK face stands in for anything else.
QFont printFont();

// Draws the lines top-down as one document, the first line topTwips below the top of
// the printable area, and starts a new page whenever the next line would not fit.
// Returns the reason when the device cannot be started, an empty text on success.
QString printLines(QPagedPaintDevice& device, const QStringList& lines, int topTwips = 0);

} // namespace bm
