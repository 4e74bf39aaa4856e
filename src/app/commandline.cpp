#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace bm {

namespace {

void describe(QCommandLineParser& parser)
{
    // Qt's own options are single-dash words (-platform, -reverse); read them as
    // words, not as bundles of letters that could spell -v or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Companion of a four-wire earth-resistance tester on a serial port:\n"
                       "the live reading, the stored records, saving and printing.\n"
                       "BRACKENMOOR_PORTS=dev1:dev2:... names the devices behind COM1, COM2, ..."));
    parser.addHelpOption();
    parser.addVersionOption();
}

QStringList argumentList(int argc, char** argv)
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

} // namespace

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("brackenmoor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRACKENMOOR_VERSION));
}

std::optional<int> answerWithoutDisplay(int argc, char** argv)
{
    QCommandLineParser parser;
    describe(parser);
    // Errors wait for the second pass: an unknown word may be one of Qt's options.
    parser.parse(argumentList(argc, argv));
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (!helpAll && !parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("version")))
        return std::nullopt;

    QCoreApplication app(argc, argv); // the help text names the program from it
    QTextStream out(stdout);
    if (helpAll)
        parser.process(QStringList{QCoreApplication::arguments().constFirst(), QStringLiteral("--help-all")});
    else if (parser.isSet(QStringLiteral("help")))
        out << parser.helpText();
    else
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion() << '\n';
    return 0;
}

std::optional<int> rejectUnexpectedArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    QString problem;
    if (!parser.parse(arguments))
        problem = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        problem = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    if (problem.isEmpty())
        return std::nullopt;
    QTextStream(stderr) << "brackenmoor: " << problem << "\nTry 'brackenmoor --help'.\n";
    return 1;
}

} // namespace bm
