// The save command end to end with a scripted dialog: what the dialog is offered,
// which format is written, cancel, and failures that must be reported.
#include "fakedialog.h"
#include "records/outputcommands.h"
#include "records/recordtable.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace bm;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool isCompoundFile(const QByteArray& bytes)
{
    return bytes.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

} // namespace

class TestSaveCommands : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString folder_;
    QWidget window_;
    RecordTable table_;
    Reading reading_;
    bool realtime_ = false;
    int recordcount_ = 0;
    int grabs_ = 0;
    std::unique_ptr<FakeDialog> fake_;
    std::unique_ptr<OutputCommands> commands_;

    QString path(const QString& name) const { return folder_ + '/' + name; }

private slots:
    void init()
    {
        folder_ = tmp_.filePath(QString("Quillmarsh%1").arg(QTest::currentTestFunction()));
        window_.resize(852, 675);
        table_.initgrid();
        reading_ = Reading{};
        recordcount_ = 0;
        grabs_ = 0;
        fake_ = std::make_unique<FakeDialog>();
        OutputSource source{[this] { return realtime_; }, [this] { return reading_; },
                            [this] { return recordcount_; }, [this] { return gridOf(table_); },
                            [this] {
                                ++grabs_;
                                return window_.grab().toImage();
                            }};
        commands_ = std::make_unique<OutputCommands>(source, fake_.get());
        commands_->setSaveFolder(folder_);
    }

    void tableSavePreparesTheDialogAndWritesTheTextLayout()
    {
        realtime_ = false;
        table_.setRows(3);
        table_.setTextMatrix(1, 0, "1");
        table_.setTextMatrix(1, 2, "1.23 KΩ");
        table_.setTextMatrix(2, 0, "2");
        table_.setTextMatrix(2, 1, "12.5 V");
        recordcount_ = 2;
        fake_->saveReplies = {{0, path("table")}};
        commands_->save();

        QCOMPARE(fake_->saves.size(), 1);
        const auto& seen = fake_->saves[0];
        QCOMPARE(seen.fileName, "Quillmarsh");
        QCOMPARE(seen.filter, "txt格式 (*.txt)|*.txt|excel格式 (*.xls)|*.xls|");
        QCOMPARE(seen.defaultExt, ".txt");
        QCOMPARE(seen.initDir, QDir::toNativeSeparators(folder_));
        QCOMPARE(seen.flags, 2);
        QVERIFY(seen.cancelError);
        QVERIFY(QFileInfo(folder_).isDir());
        QCOMPARE(readAll(path("table.txt")),
                 QByteArray("NO.  V      R      \xA6\xD1       \xA6\xD1Lenght      Rc            Rp\r\n")
                     + "1        1.23 K\xA6\xB8" + QByteArray(32, ' ') + "\r\n"
                 + "2  12.5 V" + QByteArray(32, ' ') + "\r\n");
        QVERIFY(fake_->messages.isEmpty());
    }

    void formatFollowsTheChosenFilterNotTheTypedName()
    {
        realtime_ = false;
        fake_->saveReplies = {{0, path("looks.xls")}, {0, path("real"), 2}};
        commands_->save();
        QVERIFY(readAll(path("looks.xls")).startsWith("NO.  V"));
        commands_->save();
        QVERIFY(isCompoundFile(readAll(path("real.txt")))); // the default came from the type offered
    }

    // One remembered file type for both save commands, and the default extension it implies.
    void filterIndexCarriesFromOneSaveCommandToTheOther()
    {
        realtime_ = false;
        fake_->saveReplies = {{0, path("t1"), 2}, {0, path("r1")}, {0, path("r2"), 1}, {0, path("t2")}};
        commands_->save();
        QVERIFY(isCompoundFile(readAll(path("t1.txt"))));

        realtime_ = true;
        commands_->save();
        QCOMPARE(fake_->saves[1].filterIndex, 2);
        QCOMPARE(fake_->saves[1].defaultExt, ".txt");
        QCOMPARE(fake_->saves[1].filter, "jpg格式 (*.jpg)|*.jpg|txt格式 (*.txt)|*.txt|");
        QVERIFY(readAll(path("r1.txt")).startsWith("         "));

        commands_->save(); // picture chosen this time
        QCOMPARE(fake_->saves[2].defaultExt, ".txt");
        QCOMPARE(QImageReader(path("r2.txt")).format(), QByteArray("jpeg"));

        realtime_ = false;
        commands_->save();
        QCOMPARE(fake_->saves[3].defaultExt, ".txt");
        QVERIFY(readAll(path("t2.txt")).startsWith("NO."));
        QCOMPARE(fake_->FilterIndex, 1);
    }

    void cancelWritesNothingAndSaysNothing()
    {
        for (const bool live : {true, false}) {
            realtime_ = live;
            fake_->saveReplies = {{DialogOutcome::kCancelled, path("never")}};
            commands_->save();
        }
        QCOMPARE(fake_->saves.size(), 2);
        QVERIFY(QDir(folder_).entryList(QDir::Files).isEmpty());
        QVERIFY(fake_->messages.isEmpty());
        QCOMPARE(fake_->beeps, 0);

        // A dialog that fails writes nothing either, but says so.
        fake_->saveReplies = {{DialogOutcome::kFailed, path("never")}};
        commands_->save();
        QVERIFY(QDir(folder_).entryList(QDir::Files).isEmpty());
        QCOMPARE(fake_->messages.size(), 1);
    }

    // Grabbed every time, before the dialog opens, and written as a real JPEG of the window's size.
    void pictureIsAJpegOfTheWindowTakenBeforeTheDialog()
    {
        realtime_ = true;
        QGuiApplication::clipboard()->setText("kept");
        int grabsWhenShown = -1;
        fake_->onShow = [&] { grabsWhenShown = grabs_; };
        fake_->saveReplies = {{0, path("shot")}};
        commands_->save();
        QCOMPARE(grabsWhenShown, 1);
        QImageReader reader(path("shot.jpg"));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), window_.grab().size());
        QCOMPARE(QGuiApplication::clipboard()->text(), "kept");

        fake_->FilterIndex = 2; // a text save last time still grabs a fresh picture
        fake_->saveReplies = {{0, path("shot2"), 1}};
        commands_->save();
        QCOMPARE(grabsWhenShown, 2);
        QCOMPARE(QImageReader(path("shot2.txt")).format(), QByteArray("jpeg"));
    }

    void readingTextFollowsTestmode()
    {
        realtime_ = true;
        fake_->FilterIndex = 2;
        reading_.testmode = 1;
        reading_.v = "3.5 V";
        fake_->saveReplies = {{0, path("v")}};
        commands_->save();
        QCOMPARE(readAll(path("v.txt")), QByteArray("             V:    3.5 V\r\n"));
    }

    void unwritableTargetsAreReportedByName()
    {
        realtime_ = false;
#ifdef Q_OS_UNIX
        fake_->saveReplies = {{0, "/dev/full", 0, true}};
        commands_->save();
        QCOMPARE(fake_->messages.size(), 1);
        QCOMPARE(fake_->messages[0].title, OutputCommands::saveErrorTitle());
        QCOMPARE(fake_->messages[0].icon, QMessageBox::Warning);
        QVERIFY(fake_->messages[0].text.startsWith("文件保存出错.\r\n/dev/full\r\n"));
        QVERIFY(fake_->messages[0].text.size() > QString("文件保存出错.\r\n/dev/full\r\n").size());
#endif
        // A file inside a "folder" that is really a file: fails for every user.
        QDir().mkpath(folder_);
        QFile blocker(path("plain"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        fake_->messages.clear();
        fake_->saveReplies = {{0, path("plain/inside.txt")}};
        commands_->save();
        QCOMPARE(fake_->messages.size(), 1);
        QVERIFY(fake_->messages[0].text.contains(QDir::toNativeSeparators(path("plain/inside.txt"))));
    }

    void readOnlyFolderKeepsTheOldFile()
    {
#ifdef Q_OS_UNIX
        if (geteuid() == 0)
            QSKIP("permissions do not bind root; covered by the size-limit case");
#endif
        QDir().mkpath(folder_);
        QFile old(path("old.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("precious");
        old.close();
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::ExeOwner);
        realtime_ = false;
        fake_->saveReplies = {{0, path("old.txt")}};
        commands_->save();
        QFile::setPermissions(folder_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(fake_->messages.size(), 1);
        QCOMPARE(readAll(path("old.txt")), QByteArray("precious"));
    }

#ifdef Q_OS_UNIX
    // A disk that fills up half way: the file being replaced survives whole.
    void writeFailingHalfWayKeepsTheOldFile()
    {
        QDir().mkpath(folder_);
        const QByteArray precious(600, 'p');
        QFile old(path("old.txt"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(precious);
        old.close();
        table_.setRows(200);
        for (int r = 1; r < 200; ++r)
            table_.setTextMatrix(r, 0, QString::number(r));
        recordcount_ = 199;
        realtime_ = false;
        fake_->saveReplies = {{0, path("old.txt")}};

        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 1024;
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        commands_->save();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);

        QCOMPARE(fake_->messages.size(), 1);
        QCOMPARE(readAll(path("old.txt")), precious);
        QCOMPARE(QDir(folder_).entryList(QDir::Files), QStringList{"old.txt"});
    }
#endif

    void folderThatCannotBeMadeStillOpensTheDialog()
    {
        QDir().mkpath(tmp_.path());
        QFile blocker(tmp_.filePath("notafolder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        commands_->setSaveFolder(tmp_.filePath("notafolder/Quillmarsh"));
        realtime_ = false;
        fake_->saveReplies = {{0, tmp_.filePath("elsewhere")}};
        commands_->save();
        QCOMPARE(fake_->saves.size(), 1);
        QVERIFY(QFile::exists(tmp_.filePath("elsewhere.txt")));
    }
};

QTEST_MAIN(TestSaveCommands)
#include "tst_savecommands.moc"
