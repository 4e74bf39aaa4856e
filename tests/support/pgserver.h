#pragma once
// A throw-away PostgreSQL server for one test run: initdb into a temporary folder
// as an unprivileged user (the postgres account when run as root), listening only
// on a Unix socket in that folder, stopped and removed at the end.
#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <pwd.h>
#include <unistd.h>

class PgServer {
public:
    ~PgServer()
    {
        if (started_)
            run({bin("pg_ctl"), "-D", data(), "-m", "immediate", "-w", "stop"});
    }

    // Empty when the server runs, else why it does not.
    QString start()
    {
        const QStringList found =
            QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        if (found.isEmpty() || !dir_.isValid())
            return QStringLiteral("no PostgreSQL server installed (scripts/setup.sh installs it)");
        bin_ = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(found.constLast());
        if (::geteuid() == 0) {
            const passwd* pw = ::getpwnam("postgres");
            if (!pw || ::chown(qPrintable(dir_.path()), pw->pw_uid, pw->pw_gid) != 0)
                return QStringLiteral("no postgres account to run the server as");
            user_ = QStringLiteral("postgres");
        }
        QString out;
        if (!run({bin("initdb"), "-D", data(), "-U", "brackenmoor", "-A", "trust", "-E", "UTF8", "--locale=C",
                  "--no-sync"},
                 &out))
            return QStringLiteral("initdb failed: ") + out;
        const QString options = QStringLiteral("-c listen_addresses='' -k %1 -c fsync=off").arg(dir_.path());
        if (!run({bin("pg_ctl"), "-D", data(), "-o", options, "-l", dir_.filePath("log"), "-w", "-t", "60", "start"},
                 &out))
            return QStringLiteral("the server did not start: ") + out;
        started_ = true;
        return {};
    }

    // A new empty database, as the URL the program takes.
    QString newDatabase()
    {
        const QString name = QStringLiteral("t") + QUuid::createUuid().toString(QUuid::Id128);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(dir_.path());
            db.setUserName(QStringLiteral("brackenmoor"));
            db.setDatabaseName(QStringLiteral("postgres"));
            if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("CREATE DATABASE ") + name))
                qWarning("cannot create a database: %s", qPrintable(db.lastError().text()));
        }
        QSqlDatabase::removeDatabase(name);
        return QStringLiteral("postgresql://brackenmoor@/%1?host=%2").arg(name, dir_.path());
    }

private:
    QString bin(const char* tool) const { return bin_ + QLatin1String(tool); }
    QString data() const { return dir_.filePath(QStringLiteral("data")); }

    bool run(QStringList args, QString* out = nullptr) const
    {
        if (!user_.isEmpty())
            args = QStringList{QStringLiteral("-u"), user_, QStringLiteral("--")} + args;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(user_.isEmpty() ? args.takeFirst() : QStringLiteral("runuser"), args);
        const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (out)
            *out = QString::fromLocal8Bit(p.readAll());
        return ok;
    }

    QTemporaryDir dir_;
    QString bin_;
    QString user_;
    bool started_ = false;
};
