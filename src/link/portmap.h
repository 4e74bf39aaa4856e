#pragma once

#include <QString>
#include <QStringList>

namespace bm {

// Maps COM numbers to devices. On Windows COMn is "COMn". Elsewhere COMn is
// the n-th entry of BRACKENMOOR_PORTS (a path list; an empty entry is no port)
// when that variable is set, else the n-th serial port the system lists, sorted.
struct PortMapInput {
    bool envSet = false;
    QString envValue;
    QStringList systemPorts; // device paths, any order
    bool windows = false;
};

// Empty result: no such port.
QString portDevice(int number, const PortMapInput& in);

// The input as this machine sees it now.
PortMapInput currentPortMapInput();

} // namespace bm
