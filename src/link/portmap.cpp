#include "link/portmap.h"

#include <QDir>
#include <QSerialPortInfo>

#include <algorithm>

namespace bm {

namespace {

// Orders device names the way people count them: ttyS2 before ttyS10.
bool naturalLess(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            // Compare digit runs by value: strip leading zeros, then length, then text.
            qsizetype zi = i, zj = j;
            while (zi + 1 < ei && a[zi] == u'0')
                ++zi;
            while (zj + 1 < ej && b[zj] == u'0')
                ++zj;
            const QStringView ra = QStringView(a).mid(zi, ei - zi);
            const QStringView rb = QStringView(b).mid(zj, ej - zj);
            if (ra.size() != rb.size())
                return ra.size() < rb.size();
            if (const int c = ra.compare(rb); c != 0)
                return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    if ((a.size() - i) != (b.size() - j))
        return (a.size() - i) < (b.size() - j);
    return a < b; // equal by value ("ttyS01" vs "ttyS1"): any fixed order
}

} // namespace

QString portDevice(int number, const PortMapInput& in)
{
    if (number < 1)
        return {};
    if (in.windows)
        return QStringLiteral("COM%1").arg(number);
    if (in.envSet) {
        // Keep empty entries: "::/dev/x" leaves COM1 and COM2 without a port.
        const QStringList entries = in.envValue.split(QDir::listSeparator(), Qt::KeepEmptyParts);
        return number <= entries.size() ? entries.at(number - 1) : QString();
    }
    QStringList ports = in.systemPorts;
    std::sort(ports.begin(), ports.end(), naturalLess);
    return number <= ports.size() ? ports.at(number - 1) : QString();
}

PortMapInput currentPortMapInput()
{
    PortMapInput in;
#ifdef Q_OS_WIN
    in.windows = true;
    return in;
#else
    in.envSet = qEnvironmentVariableIsSet("BRACKENMOOR_PORTS");
    if (in.envSet) {
        in.envValue = qEnvironmentVariable("BRACKENMOOR_PORTS");
        return in; // the system list is not consulted, so not scanned
    }
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos)
        in.systemPorts.append(info.systemLocation());
    return in;
#endif
}

} // namespace bm
