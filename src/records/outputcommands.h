#pragma once

#include <QObject>

class QWidget;

namespace bm {

class Link;
class RecordTable;

// The save (Command2) and print (Command4) commands of the window.
class OutputCommands : public QObject {
    Q_OBJECT
public:
    OutputCommands(QWidget* window, const Link& link, const RecordTable& table, QObject* parent = nullptr);

    // On the live tab the reading, on the records tab the table.
    void save();
    void print();

private:
    QWidget* window_;
    const Link& link_;
    const RecordTable& table_;
};

} // namespace bm
