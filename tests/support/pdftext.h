#pragma once
// pdftotext's output for the given arguments. Waits on the process itself, however
// long a loaded machine takes; a missing tool is a failure, never a skip.
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

inline QString pdftotext(const QStringList& args)
{
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty()) {
        qWarning("pdftotext is missing: scripts/setup.sh installs poppler-utils");
        return QStringLiteral("pdftotext is missing");
    }
    QProcess p;
    p.start(tool, args);
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 120000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}
