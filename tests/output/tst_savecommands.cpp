// The save command with a scripted dialog: what the dialog is offered, which format is
// written, cancel, and failures that must be reported without harming the old file.
#include "fakedialog.h"
#include "records/outputcommands.h"
#include "records/recordtable.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace bm;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

bool isCompoundFile(const QString& path) { return readAll(path).startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"); }

} // namespace

class TestSaveCommands : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    QString folder_;
    QWidget window_;
    RecordTable table_;
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
        recordcount_ = grabs_ = 0;
        realtime_ = false;
        fake_ = std::make_unique<FakeDialog>();
        OutputSource source{[this] { return realtime_; }, [] { return Reading{}; }, [this] { return recordcount_; },
                            [this] { return gridOf(table_); },
                            [this] {
                                ++grabs_;
                                return window_.grab().toImage();
                            }};
        commands_ = std::make_unique<OutputCommands>(source, fake_.get());
        commands_->setSaveFolder(folder_);
    }

    void tableSavePreparesTheDialogAndWritesTheTextLayout()
    {
        table_.setRows(3);
        table_.setTextMatrix(1, 0, "1");
        table_.setTextMatrix(1, 2, "1.23 KΩ");
        table_.setTextMatrix(2, 0, "2");
        recordcount_ = 2;
        fake_->saveReplies = {{0, path("table")}};
        commands_->save();

        const FakeDialog::SaveSeen seen = fake_->saves.value(0);
        QCOMPARE(seen.fileName, "Quillmarsh");
        QCOMPARE(seen.filter, "txt格式 (*.txt)|*.txt|excel格式 (*.xls)|*.xls|");
        QCOMPARE(seen.defaultExt, ".txt");
        QCOMPARE(seen.initDir, QDir::toNativeSeparators(folder_));
        QCOMPARE(seen.flags, 2);
        QVERIFY(seen.cancelError);
        QVERIFY(QFileInfo(folder_).isDir());
        QCOMPARE(readAll(path("table.txt")),
                 QByteArray("NO.  V      R      \xA6\xD1       \xA6\xD1Lenght      Rc            Rp\r\n")
                     + "1        1.23 K\xA6\xB8" + QByteArray(32, ' ') + "\r\n2" + QByteArray(34, ' ') + "\r\n");
        QVERIFY(fake_->messages.isEmpty());
    }

    // One remembered file type for both save commands; it alone decides the format and the default extension.
    void filterIndexCarriesFromOneSaveCommandToTheOther()
    {
        fake_->saveReplies = {{0, path("looks.xls")}, {0, path("t1"), 2}, {0, path("r1")}, {0, path("r2"), 1}};
        commands_->save();
        QVERIFY(readAll(path("looks.xls")).startsWith("NO.  V"));
        commands_->save();
        QVERIFY(isCompoundFile(path("t1.txt"))); // the default came from the type offered

        realtime_ = true;
        commands_->save();
        QCOMPARE(fake_->saves[2].filter, "jpg格式 (*.jpg)|*.jpg|txt格式 (*.txt)|*.txt|");
        QCOMPARE(fake_->saves[2].defaultExt, ".txt");
        QVERIFY(readAll(path("r1.txt")).startsWith("             R "));
        commands_->save();
        QCOMPARE(QImageReader(path("r2.txt")).format(), QByteArray("jpeg"));

        realtime_ = false;
        commands_->save();
        QCOMPARE(fake_->saves[4].defaultExt, ".txt");
        QCOMPARE(fake_->saves[4].filterIndex, 1);
    }

    void cancelWritesNothingAndSaysNothing()
    {
        for (const bool live : {true, false}) {
            realtime_ = live;
            fake_->saveReplies = {{DialogOutcome::kCancelled, path("never")}};
            commands_->save();
        }
        QCOMPARE(fake_->saves.size(), 2);
        QVERIFY(fake_->messages.isEmpty() && fake_->beeps == 0);
        // A dialog that fails writes nothing either, but says so.
        fake_->saveReplies = {{DialogOutcome::kFailed, path("never")}};
        commands_->save();
        QCOMPARE(fake_->messages.size(), 1);
        QVERIFY(QDir(folder_).entryList(QDir::Files).isEmpty());
    }

    // Grabbed every time before the dialog opens, even after a text save, and written as a real JPEG.
    void pictureIsAJpegOfTheWindowTakenBeforeTheDialog()
    {
        realtime_ = true;
        QGuiApplication::clipboard()->setText("kept");
        int grabsWhenShown = -1;
        fake_->onShow = [&] { grabsWhenShown = grabs_; };
        fake_->saveReplies = {{0, path("shot")}, {0, path("shot2"), 1}};
        commands_->save();
        QCOMPARE(grabsWhenShown, 1);
        QImageReader reader(path("shot.jpg"));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), window_.grab().size());
        QCOMPARE(QGuiApplication::clipboard()->text(), "kept");

        fake_->FilterIndex = 2;
        commands_->save();
        QCOMPARE(grabsWhenShown, 2);
        QCOMPARE(QImageReader(path("shot2.txt")).format(), QByteArray("jpeg"));
    }

    void unwritableTargetsAreReportedByName()
    {
#ifdef Q_OS_LINUX
        fake_->saveReplies = {{0, "/dev/full", 0, true}};
        commands_->save();
        QCOMPARE(fake_->messages.size(), 1);
        QCOMPARE(fake_->messages[0].title, "Saving Error!");
        QCOMPARE(fake_->messages[0].icon, QMessageBox::Warning);
        QVERIFY(fake_->messages[0].text.startsWith("文件保存出错.\r\n/dev/full\r\n"));
        QVERIFY(fake_->messages[0].text.size() > 20);
#endif
        // A "folder" that is really a file: no file inside it, for any user; the default
        // folder cannot be made there either, and the dialog still opens.
        writeAll(tmp_.filePath("plain"), "x");
        commands_->setSaveFolder(tmp_.filePath("plain/Quillmarsh"));
        fake_->messages.clear();
        fake_->saveReplies = {{0, tmp_.filePath("plain/inside")}, {0, tmp_.filePath("elsewhere")}};
        commands_->save();
        QCOMPARE(fake_->messages.size(), 1);
        QVERIFY2(fake_->messages[0].text.contains(QDir::toNativeSeparators(tmp_.filePath("plain/inside.txt"))),
                 qPrintable(fake_->messages[0].text));
        commands_->save();
        QVERIFY(QFile::exists(tmp_.filePath("elsewhere.txt")));
    }

#ifdef Q_OS_UNIX
    // A disk that fills up half way (a file size limit binds root too): the old file survives whole.
    void writeFailingHalfWayKeepsTheOldFile()
    {
        QDir().mkpath(folder_);
        writeAll(path("old.txt"), QByteArray(600, 'p'));
        table_.setRows(200);
        recordcount_ = 199;
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
        QCOMPARE(readAll(path("old.txt")), QByteArray(600, 'p'));
        QCOMPARE(QDir(folder_).entryList(QDir::Files), QStringList{"old.txt"});
    }
#endif
};

QTEST_MAIN(TestSaveCommands)
#include "tst_savecommands.moc"
