#include "cli/cli.h"

#include <cstdio>

namespace bm::cli {

void complain(const QString& message) { note(QStringLiteral("brackenmoor-cli: ") + message); }

void note(const QString& message)
{
    const QByteArray line = (message + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void writeOut(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace bm::cli
