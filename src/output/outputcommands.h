#pragma once

#include "model/reading.h"
#include "output/filesaver.h"
#include "records/outputlines.h"

#include <QImage>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QWidget;

namespace bm {

class CommonDialog;

// What the save and print commands read, each at the moment it needs it.
struct OutputSource {
    std::function<bool()> realtime;
    std::function<Reading()> reading;
    std::function<int()> recordcount;
    std::function<CellGrid()> grid;
    // A picture of the main window as displayed.
    std::function<QImage()> picture;
    // The records as the command-line tool's CSV.
    std::function<QByteArray()> csv;
};

// The save (Command2) and print (Command4) commands of the window.
class OutputCommands : public QObject {
    Q_OBJECT
public:
    // Draws lines on the printer; returns the reason when it cannot.
    using LineDrawer = std::function<QString(QPagedPaintDevice& device, const QStringList& lines, int topTwips)>;

    // The window's own: shows Qt's file and print dialogs over the window.
    OutputCommands(QWidget* window, OutputSource source, QObject* parent = nullptr);
    // Any source and dialog; the dialog is not owned. The drawer defaults to printLines.
    OutputCommands(OutputSource source, CommonDialog* dialog, QObject* parent = nullptr, LineDrawer drawer = {});
    ~OutputCommands() override;

    // The folder the save dialog opens in, created when missing.
    void setSaveFolder(const QString& folder) { saver_.setFolder(folder); }

    // On the live tab the reading, on the records tab the table.
    void save();
    void print();

    void savereading();
    void savetable();
    // 导出CSV: the records table as UTF-8 CSV, whichever tab is on show.
    void savecsv();

private:
    // The file chosen in the Save As dialog; "" when there is nothing to write.
    QString chooseFile(const QString& filter, const QString& defaultExt);
    void reportPrintFailure(const QString& reason);

    std::unique_ptr<CommonDialog> ownDialog_;
    OutputSource source_;
    CommonDialog* dialog_;
    LineDrawer drawer_;
    FileSaver saver_;
};

} // namespace bm
