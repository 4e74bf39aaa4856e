#include "link/portmap.h"

#include <QDir>
#include <QTest>

using bm::PortMapInput;
using bm::portDevice;

class TstPortMap : public QObject {
    Q_OBJECT
private slots:
    void windowsNumbersAreComNames();
    void pathListEntriesAreTakenInOrderAndEmptyEntriesAreNoPort();
    void pathListOverridesSystemPortsEvenWhenEmpty();
    void systemPortsAreCountedInNaturalOrder();
};

void TstPortMap::windowsNumbersAreComNames()
{
    PortMapInput in;
    in.windows = true;
    in.envSet = true; // the path list is a non-Windows matter
    in.envValue = QStringLiteral("/dev/x");
    QCOMPARE(portDevice(1, in), QStringLiteral("COM1"));
    QCOMPARE(portDevice(16, in), QStringLiteral("COM16"));
    QCOMPARE(portDevice(0, in), QString());
}

void TstPortMap::pathListEntriesAreTakenInOrderAndEmptyEntriesAreNoPort()
{
    const QChar sep = QDir::listSeparator();
    PortMapInput in;
    in.envSet = true;
    in.envValue = QString(sep) + sep + QStringLiteral("/tmp/sim/tester") + sep + QStringLiteral("/dev/ttyUSB0");
    in.systemPorts = { QStringLiteral("/dev/ttyS0") };
    QCOMPARE(portDevice(1, in), QString());
    QCOMPARE(portDevice(2, in), QString());
    QCOMPARE(portDevice(3, in), QStringLiteral("/tmp/sim/tester"));
    QCOMPARE(portDevice(4, in), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(portDevice(5, in), QString());
    QCOMPARE(portDevice(-1, in), QString());
}

void TstPortMap::pathListOverridesSystemPortsEvenWhenEmpty()
{
    // An empty variable means "no ports", never "fall back to the machine's own".
    PortMapInput in;
    in.envSet = true;
    in.systemPorts = { QStringLiteral("/dev/ttyS0") };
    QCOMPARE(portDevice(1, in), QString());
}

void TstPortMap::systemPortsAreCountedInNaturalOrder()
{
    PortMapInput in;
    in.systemPorts = { QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyS10"),
                       QStringLiteral("/dev/ttyS2"), QStringLiteral("/dev/ttyACM0") };
    QCOMPARE(portDevice(1, in), QStringLiteral("/dev/ttyACM0"));
    QCOMPARE(portDevice(2, in), QStringLiteral("/dev/ttyS2"));
    QCOMPARE(portDevice(3, in), QStringLiteral("/dev/ttyS10"));
    QCOMPARE(portDevice(4, in), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(portDevice(5, in), QString());
}

QTEST_GUILESS_MAIN(TstPortMap)
#include "tst_portmap.moc"
