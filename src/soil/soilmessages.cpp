#include "soil/soilmessages.h"

namespace bm::soil::messages {

namespace {

QString atLine(int line, const QString& what) { return QStringLiteral("line %1: %2").arg(line).arg(what); }

} // namespace

QString noPoints() { return QStringLiteral("There are no readings to analyse."); }

QString noUsablePoints() { return QStringLiteral("No included reading has a positive spacing and resistivity."); }

QString tooFewSpacings(int distinct)
{
    return QStringLiteral("The two-layer model needs readings at three or more different spacings; "
                          "the included readings have %1, so only the uniform model is given.")
        .arg(distinct);
}

QString spreadTooWide()
{
    return QStringLiteral(
        "The readings span too wide a range for the two-layer model; only the uniform model is given.");
}

QString fitFailed()
{
    return QStringLiteral(
        "The two-layer model could not be fitted to these readings; only the uniform model is given.");
}

QString layersNotResolved()
{
    return QStringLiteral("The readings do not resolve two layers: the best two-layer fit lies at the edge "
                          "of what these spacings can show. The uniform model describes the ground as well.");
}

QString tooFewSpacingsForThree(int distinct)
{
    return QStringLiteral("The three-layer model needs readings at five or more different spacings; "
                          "the included readings have %1, so no three-layer model is fitted.")
        .arg(distinct);
}

QString threeLayerFailed() { return QStringLiteral("The three-layer model could not be fitted to these readings."); }

QString layerChoiceRule()
{
    return QStringLiteral("More layers are chosen only when an F-test on the residuals finds them "
                          "significantly better at the 1 % level.");
}

QString traversesDisagree()
{
    return QStringLiteral("The traverses disagree by more than their residuals explain: "
                          "the soil may change across the site.");
}

QString emptyInput() { return QStringLiteral("The file is empty."); }

QString unknownHeader(int line)
{
    return atLine(line, QStringLiteral("expected a CSV header with the columns spacing_m and resistivity_ohm_m, "
                                       "or the saved table's header starting with NO."));
}

QString missingColumn(int line, const QString& column)
{
    return atLine(line, QStringLiteral("the header has no column %1").arg(column));
}

QString notANumber(int line, const QString& column, const QString& text)
{
    return atLine(line, QStringLiteral("%1 is not a number: '%2'").arg(column, text));
}

QString missingValue(int line, const QString& column)
{
    return atLine(line, QStringLiteral("%1 is empty").arg(column));
}

QString notARecord(int line, const QString& text)
{
    return atLine(line, QStringLiteral("expected a record number: '%1'").arg(text));
}

QString unreadableValue(int line, const QString& text)
{
    return atLine(line, QStringLiteral("not a value with a unit: '%1'").arg(text));
}

QString noUsableRows()
{
    return QStringLiteral("The file has no usable resistivity readings (with a positive spacing and not overloaded).");
}

QString unknownArray(int line, const QString& text)
{
    return atLine(line, QStringLiteral("array must be wenner or schlumberger: '%1'").arg(text));
}

QString badMn2(int line) { return atLine(line, QStringLiteral("mn2_m must be positive and less than ab2_m")); }

QString badTraverse(int line, const QString& text)
{
    return atLine(line, QStringLiteral("a traverse is named by up to 16 letters, digits, '-' or '_': '%1'").arg(text));
}

} // namespace bm::soil::messages
