#include "records/outputcommands.h"

namespace bm {

OutputCommands::OutputCommands(QWidget* window, const Link& link, const RecordTable& table, QObject* parent)
    : QObject(parent), window_(window), link_(link), table_(table)
{
}

void OutputCommands::save() {}

void OutputCommands::print() {}

} // namespace bm
