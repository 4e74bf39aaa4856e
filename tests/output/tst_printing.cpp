// The print command: the dialog's outcomes, the lines it prints, and real output on a
// PDF printer read back with pdftotext.
#include "fakedialog.h"
#include "records/lineprinter.h"
#include "records/outputcommands.h"
#include "records/outputlines.h"
#include "records/recordtable.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace bm;

namespace {

QList<QStringList> wordsPerLine(const QString& text)
{
    QList<QStringList> lines;
    for (const QString& line : text.split(QRegularExpression("[\\n\\f]"))) {
        if (const QStringList words = line.split(' ', Qt::SkipEmptyParts); !words.isEmpty())
            lines << words;
    }
    return lines;
}

// pdftotext's output. Waits on the process itself, however long a loaded machine takes.
QString pdftotext(const QStringList& args)
{
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdftotext"), args);
    if (!QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 120000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
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
    QList<QPair<QStringList, int>> drawn_; // lines and top offset of each document
    std::unique_ptr<OutputCommands> commands_;

    // One string per page.
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
        table_.initgrid();
        reading_ = Reading{};
        recordcount_ = 0;
        realtime_ = true;
        drawn_.clear();
        fake_ = std::make_unique<FakeDialog>();
        fake_->pdf.setOutputFileName(tmp_.filePath(QString("%1.pdf").arg(QTest::currentTestFunction())));
        OutputSource source{[this] { return realtime_; }, [this] { return reading_; },
                            [this] { return recordcount_; }, [this] { return gridOf(table_); }, {}};
        commands_ = std::make_unique<OutputCommands>(
            source, fake_.get(), nullptr, [this](QPagedPaintDevice& device, const QStringList& lines, int top) {
                drawn_.append({lines, top});
                return printLines(device, lines, top);
            });
    }

    void cancelIsSilentAndAFailingDialogBeepsAndSays()
    {
        fake_->printReplies = {{DialogOutcome::kCancelled, "Cancel"}, {28660, "没有安装打印机"}};
        commands_->print();
        QVERIFY(fake_->messages.isEmpty() && fake_->beeps == 0);
        commands_->print();
        QVERIFY(drawn_.isEmpty());
        QCOMPARE(fake_->beeps, 1);
        QCOMPARE(fake_->messages.size(), 1);
        QCOMPARE(fake_->messages[0].icon, QMessageBox::Warning);
        QCOMPARE(fake_->messages[0].title, "Printing Error!");
        QCOMPARE(fake_->messages[0].text, "文件打印出错.\r\n没有安装打印机");
    }

    void printerThatCannotStartIsReported()
    {
        fake_->pdf.setOutputFileName(tmp_.filePath("no/such/folder/out.pdf"));
        commands_->print();
        QCOMPARE(fake_->messages.size(), 1);
        QVERIFY(fake_->messages[0].text.startsWith("文件打印出错.\r\n"));
    }

    // On paper, as one document: the reading 500 twips (25 pt) down, the table from
    // the top and over several pages.
    void pdfHoldsThePrintedLines()
    {
        QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
                 "pdftotext is missing: scripts/setup.sh installs poppler-utils");
        reading_.testmode = 3;
        reading_.p = "456 Ωm";
        commands_->print();
        QCOMPARE(fake_->printFlags, QList<int>{264});
        QVERIFY(fake_->CancelError && fake_->messages.isEmpty());
        QCOMPARE(drawn_.size(), 1);
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

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
