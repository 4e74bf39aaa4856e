#include "link/portmap.h"

#include <QDir>
#include <QTest>

using bm::portDevice;
using bm::PortMapInput;

class TestPortMap : public QObject {
    Q_OBJECT
private slots:
    void comNumbersMapToDevices()
    {
        // PortMapInput: variable set, its value, the system's ports, Windows.
        const auto devices = [](const PortMapInput& in) {
            QStringList out;
            for (int n = 0; n <= 5; ++n)
                out << portDevice(n, in);
            return out;
        };
        const QChar sep = QDir::listSeparator();
        const QStringList system{"/dev/ttyUSB0", "/dev/ttyS10", "/dev/ttyS2", "/dev/ttyACM0"};

        // Windows: the system's own COM names; the path list is a non-Windows matter.
        QCOMPARE(devices({true, "/dev/x", system, true}), (QStringList{"", "COM1", "COM2", "COM3", "COM4", "COM5"}));
        // The path list in order, an empty entry being no port.
        QCOMPARE(devices({true, QString(sep) + sep + "/tmp/sim/tester" + sep + "/dev/ttyUSB0", system, false}),
                 (QStringList{"", "", "", "/tmp/sim/tester", "/dev/ttyUSB0", ""}));
        // Set but empty means no ports, never the machine's own.
        QCOMPARE(devices({true, "", system, false}), QStringList(6));
        // Unset: the system's ports with their numbers in numeric order.
        QCOMPARE(devices({false, "", system, false}),
                 (QStringList{"", "/dev/ttyACM0", "/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0", ""}));
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "test_portmap.moc"
