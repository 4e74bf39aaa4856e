// Opens COM<n> through the port map, prints the outcome, and holds the port
// until its standard input closes.
#include "link/commport.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    bm::CommPort port;
    port.setCommPort(qint16(argc > 1 ? QByteArray(argv[1]).toInt() : 1));
    const bm::OpenOutcome outcome = port.open();
    static const char* const names[] = { "Opened", "Busy", "Missing", "Failed" };
    std::printf("%s\n", names[int(outcome)]);
    std::fflush(stdout);
    char buf[64];
    while (std::fread(buf, 1, sizeof buf, stdin) > 0) {
    }
    return 0;
}
