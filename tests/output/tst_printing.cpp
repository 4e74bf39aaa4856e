// The print command: the dialog's outcomes, the lines it prints, and real output on a
// PDF printer read back with pdftotext.
#include "fakedialog.h"
#include "records/lineprinter.h"
#include "records/outputcommands.h"
#include "records/outputlines.h"
#include "records/recordtable.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace bm;

namespace {

struct Drawn {
    QStringList lines;
    int topTwips = -1;
    int documents = 0;
};

QList<QStringList> wordsPerLine(const QString& text)
{
    QList<QStringList> lines;
    for (const QString& line : text.split(QRegularExpression("[\\n\\f]"))) {
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (!words.isEmpty())
            lines << words;
    }
    return lines;
}

} // namespace

class TestPrinting : public QObject {
    Q_OBJECT

    QTemporaryDir tmp_;
    RecordTable table_;
    Reading reading_;
    bool realtime_ = true;
    int recordcount_ = 0;
    std::unique_ptr<FakeDialog> fake_;
    Drawn drawn_;
    bool realDrawing_ = false;
    std::unique_ptr<OutputCommands> commands_;

    // The PDF's text: one string per page.
    QStringList pdfPages(const QString& pdf)
    {
        QProcess p;
        p.start(BM_PDFTOTEXT, {"-layout", "-enc", "UTF-8", pdf, "-"});
        p.waitForFinished(60000);
        QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split('\f');
        if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    // The top of the first word on page 1, in points.
    double firstWordTop(const QString& pdf)
    {
        QProcess p;
        p.start(BM_PDFTOTEXT, {"-bbox", "-f", "1", "-l", "1", pdf, "-"});
        p.waitForFinished(60000);
        const QRegularExpression word("<word [^>]*yMin=\"([0-9.]+)\"");
        return word.match(QString::fromUtf8(p.readAllStandardOutput())).captured(1).toDouble();
    }

private slots:
    void init()
    {
        table_.initgrid();
        reading_ = Reading{};
        recordcount_ = 0;
        realtime_ = true;
        drawn_ = Drawn{};
        fake_ = std::make_unique<FakeDialog>();
        fake_->pdf.setOutputFileName(tmp_.filePath(QString("%1.pdf").arg(QTest::currentTestFunction())));
        OutputSource source{[this] { return realtime_; }, [this] { return reading_; },
                            [this] { return recordcount_; }, [this] { return gridOf(table_); }, {}};
        commands_ = std::make_unique<OutputCommands>(
            source, fake_.get(), nullptr, [this](QPagedPaintDevice& device, const QStringList& lines, int top) {
                ++drawn_.documents;
                drawn_.lines = lines;
                drawn_.topTwips = top;
                return realDrawing_ ? printLines(device, lines, top) : QString();
            });
    }

    void readingPrintsItsLinesOnceFromTheTopOffset()
    {
        reading_.testmode = 1;
        reading_.v = "12.5 V";
        commands_->print();
        QCOMPARE(fake_->printFlags, QList<int>{264});
        QVERIFY(fake_->CancelError);
        QCOMPARE(drawn_.documents, 1);
        QCOMPARE(drawn_.topTwips, 500);
        QCOMPARE(drawn_.lines, (QStringList{"             V:    12.5 V", "     "}));
        QVERIFY(fake_->messages.isEmpty());
    }

    void tablePrintsHeaderAndRowsUpToTheCount()
    {
        realtime_ = false;
        recordcount_ = 9; // an old count after Clear: only the rows the table has
        commands_->print();
        QCOMPARE(drawn_.topTwips, 0);
        QCOMPARE(drawn_.lines.size(), 2);
        QCOMPARE(drawn_.lines[1], QString(34, ' '));
    }

    void cancelPrintsNothingAndSaysNothing()
    {
        fake_->printReplies = {{DialogOutcome::kCancelled, "Cancel"}};
        commands_->print();
        QCOMPARE(drawn_.documents, 0);
        QVERIFY(fake_->messages.isEmpty());
        QCOMPARE(fake_->beeps, 0);
    }

    void failingDialogBeepsAndShowsTheError()
    {
        fake_->printReplies = {{28660, "没有安装打印机"}};
        commands_->print();
        QCOMPARE(drawn_.documents, 0);
        QCOMPARE(fake_->beeps, 1);
        QCOMPARE(fake_->messages.size(), 1);
        QCOMPARE(fake_->messages[0].icon, QMessageBox::Warning);
        QCOMPARE(fake_->messages[0].title, "Printing Error!");
        QCOMPARE(fake_->messages[0].text, "文件打印出错.\r\n没有安装打印机");
    }

    void printerThatCannotStartIsReported()
    {
        realDrawing_ = true;
        fake_->pdf.setOutputFileName(tmp_.filePath("no/such/folder/out.pdf"));
        commands_->print();
        realDrawing_ = false;
        QCOMPARE(fake_->messages.size(), 1);
        QVERIFY(fake_->messages[0].text.startsWith("文件打印出错.\r\n"));
    }

    void pdfHoldsTheReadingLines()
    {
        if (QStringLiteral(BM_PDFTOTEXT).isEmpty())
            QSKIP("pdftotext is not installed");
        reading_.testmode = 3;
        reading_.p = "456 Ωm";
        reading_.p_length = "5.0 m";
        realDrawing_ = true;
        commands_->print();
        realDrawing_ = false;
        const QStringList pages = pdfPages(fake_->pdf.outputFileName());
        QCOMPARE(pages.size(), 1);
        QCOMPARE(wordsPerLine(pages[0]), wordsPerLine(readingPrintLines(reading_).join('\n')));

        // The first line stands 500 twips (25 pt) below the top of the printable area.
        const double top = fake_->pdf.pageLayout().paintRectPoints().top() + 25;
        const double firstWord = firstWordTop(fake_->pdf.outputFileName());
        QVERIFY2(firstWord >= top - 1 && firstWord < top + 10, qPrintable(QString("%1 vs %2").arg(firstWord).arg(top)));
    }

    void longTableSpillsOntoFurtherPages()
    {
        if (QStringLiteral(BM_PDFTOTEXT).isEmpty())
            QSKIP("pdftotext is not installed");
        realtime_ = false;
        recordcount_ = 300;
        table_.setRows(301);
        for (int r = 1; r <= 300; ++r) {
            table_.setTextMatrix(r, 0, QString::number(r));
            if (r % 2)
                table_.setTextMatrix(r, 1, QString("%1.5 V").arg(r));
            else
                table_.setTextMatrix(r, 2, QString("%1 KΩ").arg(r));
        }
        realDrawing_ = true;
        commands_->print();
        realDrawing_ = false;
        const QStringList pages = pdfPages(fake_->pdf.outputFileName());
        QVERIFY2(pages.size() >= 4, qPrintable(QString::number(pages.size())));
        const double top = fake_->pdf.pageLayout().paintRectPoints().top();
        const double firstWord = firstWordTop(fake_->pdf.outputFileName());
        QVERIFY2(firstWord >= top - 1 && firstWord < top + 10, qPrintable(QString("%1 vs %2").arg(firstWord).arg(top)));
        QCOMPARE(wordsPerLine(pages.join('\n')), wordsPerLine(drawn_.lines.join('\n')));
        QVERIFY(pages[1].contains("KΩ"));
    }
};

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
