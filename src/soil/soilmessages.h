#pragma once

#include <QString>

// The soil analysis's words in English, for the command-line tool and its
// files. The window says its verdicts in the interface language, in one place
// of its own (verdictText).
namespace bm::soil::messages {

QString noPoints();
QString noUsablePoints();
QString tooFewSpacings(int distinct);
QString spreadTooWide();
QString fitFailed();
QString layersNotResolved();
QString tooFewSpacingsForThree(int distinct);
QString threeLayerFailed();
QString layerChoiceRule();
QString traversesDisagree();

QString emptyInput();
QString unknownHeader(int line);
QString missingColumn(int line, const QString& column);
QString notANumber(int line, const QString& column, const QString& text);
QString missingValue(int line, const QString& column);
QString notARecord(int line, const QString& text);
QString unreadableValue(int line, const QString& text);
QString noUsableRows();
QString unknownArray(int line, const QString& text);
QString badMn2(int line);
QString badTraverse(int line, const QString& text);

} // namespace bm::soil::messages
