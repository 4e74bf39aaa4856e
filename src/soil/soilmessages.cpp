#include "soil/soilmessages.h"

#include <QCoreApplication>

namespace bm::soil::messages {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("bm::soil", text);
}

QString atLine(int line, const QString& what)
{
    return tr("line %1: %2").arg(line).arg(what);
}

} // namespace

QString noPoints()
{
    return tr("There are no readings to analyse.");
}

QString noUsablePoints()
{
    return tr("No included reading has a positive spacing and resistivity.");
}

QString tooFewSpacings(int distinct)
{
    return tr("The two-layer model needs readings at three or more different spacings; "
              "the included readings have %1, so only the uniform model is given.")
        .arg(distinct);
}

QString spreadTooWide()
{
    return tr("The readings span too wide a range for the two-layer model; only the uniform model is given.");
}

QString fitFailed()
{
    return tr("The two-layer model could not be fitted to these readings; only the uniform model is given.");
}

QString emptyInput()
{
    return tr("The file is empty.");
}

QString unknownHeader(int line)
{
    return atLine(line, tr("expected a CSV header with the columns spacing_m and resistivity_ohm_m, "
                           "or the saved table's header starting with NO."));
}

QString missingColumn(int line, const QString& column)
{
    return atLine(line, tr("the header has no column %1").arg(column));
}

QString notANumber(int line, const QString& column, const QString& text)
{
    return atLine(line, tr("%1 is not a number: '%2'").arg(column, text));
}

QString missingValue(int line, const QString& column)
{
    return atLine(line, tr("%1 is empty").arg(column));
}

QString notARecord(int line, const QString& text)
{
    return atLine(line, tr("expected a record number: '%1'").arg(text));
}

QString unreadableValue(int line, const QString& text)
{
    return atLine(line, tr("not a value with a unit: '%1'").arg(text));
}

QString noUsableRows()
{
    return tr("The file has no usable resistivity readings (with a positive spacing and not overloaded).");
}

} // namespace bm::soil::messages
