// The save and print commands with a scripted dialog: what the dialog is offered,
// which format is written, cancel against failure, writes that fail without harming
// the old file, and real printed output on a PDF printer read back with pdftotext.
#include "fakedialog.h"
#include "files.h"
#include "measurements.h"
#include "pdftext.h"
#include "records/ansitext.h"
#include "output/commondialog.h"
#include "records/csvwriter.h"
#include "output/outputcommands.h"
#include "records/outputlines.h"
#include "records/recordtable.h"
#include "records/savetargets.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace bm;

namespace {

QList<QStringList> wordsPerLine(const QString& text)
{
    QList<QStringList> lines;
    for (const QString& line : text.split(QRegularExpression("[\\n\\f]")))
        if (const QStringList words = line.split(' ', Qt::SkipEmptyParts); !words.isEmpty())
            lines << words;
    return lines;
}

} // namespace

class TestOutputCommands : public QObject {
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

    // One string per page of the printed PDF.
    QStringList pdfPages()
    {
        QStringList pages = pdftotext({"-layout", "-enc", "UTF-8", fake_->pdf.outputFileName(), "-"}).split('\f');
        pages.removeAll(QString());
        return pages;
    }
    // How far below the top of the printable area the first word starts, in points.
    double firstWordOffset()
    {
        const QRegularExpression word("<word [^>]*yMin=\"([0-9.]+)\"");
        const QString boxes = pdftotext({"-bbox", "-f", "1", "-l", "1", fake_->pdf.outputFileName(), "-"});
        return word.match(boxes).captured(1).toDouble() - fake_->pdf.pageLayout().paintRectPoints().top();
    }

private slots:
    void init()
    {
        folder_ = tmp_.filePath(QString("Quillmarsh%1").arg(QTest::currentTestFunction()));
        window_.resize(852, 675);
        table_.initgrid();
        reading_ = Reading{};
        recordcount_ = grabs_ = 0;
        realtime_ = false;
        fake_ = std::make_unique<FakeDialog>();
        fake_->pdf.setOutputFileName(path("out.pdf"));
        OutputSource source{[this] { return realtime_; },
                            [this] { return reading_; },
                            [this] { return recordcount_; },
                            [this] { return gridOf(table_); },
                            [this] { return ++grabs_, window_.grab().toImage(); },
                            [this] { return recordsCsv(table_); }};
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
        QCOMPARE((QStringList{seen.fileName, seen.filter, seen.defaultExt, seen.initDir}),
                 (QStringList{"Quillmarsh", "txt格式 (*.txt)|*.txt|excel格式 (*.xls)|*.xls|", ".txt",
                              QDir::toNativeSeparators(folder_)}));
        QCOMPARE(seen.flags, 2);
        QVERIFY(seen.cancelError);
        QVERIFY(QFileInfo(folder_).isDir());
        QVERIFY(fake_->messages.isEmpty());
        QCOMPARE(readAll(path("table.txt")),
                 textFileBytes(tableLines(gridOf(table_), 2))); // the layout: test_fileformats
    }

    // One remembered file type for both save commands; it alone decides the format and the default extension.
    // The picture is a real JPEG of the window, grabbed before the dialog opens, without touching the clipboard.
    void filterIndexCarriesFromOneSaveCommandToTheOther()
    {
        QGuiApplication::clipboard()->setText("kept");
        int grabsWhenShown = -1;
        fake_->saveReplies = {{0, path("looks.xls")}, {0, path("t1"), 2}, {0, path("r1")}, {0, path("r2"), 1}};
        commands_->save();
        QVERIFY(readAll(path("looks.xls")).startsWith("NO.  V"));
        commands_->save();
        QVERIFY(readAll(path("t1.txt")).startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")); // the type offered decided
        realtime_ = true;
        commands_->save();
        QCOMPARE(fake_->saves[2].filter + fake_->saves[2].defaultExt,
                 "jpg格式 (*.jpg)|*.jpg|txt格式 (*.txt)|*.txt|.txt");
        QVERIFY(readAll(path("r1.txt")).startsWith("             R "));
        grabs_ = 0;
        fake_->onShow = [&] { grabsWhenShown = grabs_; };
        commands_->save();
        QCOMPARE(grabsWhenShown, 1);
        QImageReader reader(path("r2.txt"));
        QCOMPARE(reader.format(), "jpeg");
        QCOMPARE(reader.size(), window_.grab().size());
        QCOMPARE(QGuiApplication::clipboard()->text(), "kept");
        realtime_ = false;
        commands_->save();
        QCOMPARE(fake_->saves[4].defaultExt, ".txt");
        QCOMPARE(fake_->saves[4].filterIndex, 1);
    }

    // 导出CSV writes what the command-line tool writes for the same records, offers only
    // CSV, and leaves the save command's remembered file type alone.
    void csvExportIsTheCommandLineToolsCsv()
    {
        QList<NumberedMeasurement> downloaded;
        const struct {
            int number;
            Kind kind;
            quint16 main;
            quint8 format;
        } records[] = {
            {1, Kind::Resistance, 1234, 0x12}, {2, Kind::Voltage, 55, 0x51}, {4, Kind::Resistivity, 10000, 0x31}};
        for (const auto& r : records) {
            const Measurement m = measured(r.kind, {r.main, r.format}, {123, 0x22}, {}, {100, 0x41});
            table_.appendRecord(r.number, m);
            downloaded.append({r.number, m});
        }
        fake_->FilterIndex = 2;
        fake_->saveReplies = {{0, path("records")}};
        commands_->savecsv();
        QCOMPARE(readAll(path("records.csv")), recordsCsv(downloaded));
        QCOMPARE(fake_->saves[0].filter, "csv格式 (*.csv)|*.csv|");
        QCOMPARE(fake_->FilterIndex, 2);
        QVERIFY(fake_->messages.isEmpty());
    }

    // Cancel writes, prints and says nothing; a dialog that fails writes and prints nothing but says so.
    void cancelIsSilentAndAFailingDialogBeepsAndSays()
    {
        for (const bool live : {true, false}) {
            realtime_ = live;
            fake_->saveReplies = {{DialogOutcome::kCancelled, path("never")}};
            commands_->save();
        }
        fake_->printReplies = {{DialogOutcome::kCancelled, "Cancel"}};
        commands_->print();
        QCOMPARE(fake_->saves.size(), 2);
        QVERIFY(fake_->messages.isEmpty());
        QCOMPARE(fake_->beeps, 0);

        fake_->saveReplies = {{DialogOutcome::kFailed, path("never")}};
        commands_->save();
        fake_->printReplies = {{28660, "没有安装打印机"}};
        commands_->print();
        // A printer that cannot start is a failure too.
        fake_->pdf.setOutputFileName(tmp_.filePath("no/such/folder/out.pdf"));
        commands_->print();
        QCOMPARE(fake_->beeps, 3);
        QCOMPARE(fake_->messages.size(), 3);
        QCOMPARE(fake_->messages[1].icon, QMessageBox::Warning);
        QCOMPARE(fake_->messages[1].title, "Printing Error!");
        QCOMPARE(fake_->messages[1].text, "文件打印出错.\r\n没有安装打印机");
        QVERIFY(fake_->messages[2].text.startsWith("文件打印出错.\r\n"));
        QVERIFY(QDir(folder_).entryList(QDir::Files).isEmpty());
    }

    // A device that refuses the bytes; a "folder" that is really a file: no file inside it,
    // for any user, the default folder cannot be made there either, and the dialog still opens.
    void unwritableTargetsAreReportedByName()
    {
#ifdef Q_OS_LINUX
        fake_->saveReplies = {{0, "/dev/full", 0, true}};
        commands_->save();
        QCOMPARE(fake_->messages.size(), 1);
        QVERIFY(fake_->messages.takeFirst().text.startsWith("文件保存出错.\r\n/dev/full\r\n"));
#endif
        writeAll(tmp_.filePath("plain"), "x");
        commands_->setSaveFolder(tmp_.filePath("plain/Quillmarsh"));
        fake_->saveReplies = {{0, tmp_.filePath("plain/inside")}, {0, tmp_.filePath("elsewhere")}};
        commands_->save();
        QCOMPARE(fake_->messages.size(), 1);
        QCOMPARE(fake_->messages[0].icon, QMessageBox::Warning);
        QCOMPARE(fake_->messages[0].title, "Saving Error!");
        const QString named =
            "文件保存出错.\r\n" + QDir::toNativeSeparators(tmp_.filePath("plain/inside.txt")) + "\r\n";
        QVERIFY2(fake_->messages[0].text.startsWith(named), qPrintable(fake_->messages[0].text));
        QVERIFY2(fake_->messages[0].text.size() > named.size() + 3, qPrintable(fake_->messages[0].text));
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
        const rlimit small{1024, saved.rlim_max};
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

    // On paper: the reading 500 twips (25 pt) down, the table from the top and over several pages.
    void pdfHoldsThePrintedLines()
    {
        QDir().mkpath(folder_);
        realtime_ = true;
        reading_.testmode = 3;
        reading_.p = "456 Ωm";
        commands_->print();
        QCOMPARE(fake_->Flags, 264);
        QVERIFY(fake_->CancelError);
        QVERIFY(fake_->messages.isEmpty());
        const QStringList page = pdfPages();
        QCOMPARE(page.size(), 1);
        QCOMPARE(wordsPerLine(page[0]), wordsPerLine(readingPrintLines(reading_).join('\n')));
        const double readingTop = firstWordOffset();
        QVERIFY2(qAbs(readingTop - 25) < 5, qPrintable(QString::number(readingTop)));

        realtime_ = false;
        recordcount_ = 300;
        table_.setRows(301);
        for (int r = 1; r <= 300; ++r) {
            table_.setTextMatrix(r, 0, QString::number(r));
            table_.setTextMatrix(r, 1 + r % 2, QString("%1.5 KΩ").arg(r));
        }
        commands_->print();
        const QStringList pages = pdfPages();
        QVERIFY2(pages.size() >= 4, qPrintable(QString::number(pages.size())));
        QCOMPARE(wordsPerLine(pages.join('\n')), wordsPerLine(tableLines(gridOf(table_), 300).join('\n')));
        const double tableTop = firstWordOffset();
        QVERIFY2(qAbs(tableTop) < 5, qPrintable(QString::number(tableTop)));
    }
};

QTEST_MAIN(TestOutputCommands)
#include "test_outputcommands.moc"
