#include "app/CommandLine.h"

#include "core/campaign/CampaignStore.h"
#include "core/campaign/ExportLogCommand.h"
#include "core/profiles/PadCheckCommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace tarvelo {

namespace {

bool wantsCommandLine(int argc, char *argv[])
{
    static const char *const names[] = {"--check-pad", "--export-log", "--help",    "--help-all",
                                        "-h",          "-?",           "--version", "-v"};
    for (int k = 1; k < argc; ++k) {
        for (const char *name : names) {
            // --export-log=FILE is the same option as --export-log FILE.
            const size_t length = std::strlen(name);
            if (std::strncmp(argv[k], name, length) == 0 &&
                (argv[k][length] == '\0' || argv[k][length] == '='))
                return true;
        }
    }
    return false;
}

} // namespace

std::optional<int> CommandLine::run(int &argc, char *argv[])
{
    if (!wantsCommandLine(argc, argv))
        return std::nullopt;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvelo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TARVELO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Puts the values of PAD files into software directories' submission forms."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption checkOption(
        QStringLiteral("check-pad"),
        QStringLiteral("Check each FILE against the rules of the PAD specification. Exit code: 0 "
                       "all pass, 1 some field fails, 2 some file cannot be read or is not a PAD "
                       "file."));
    parser.addOption(checkOption);
    const QCommandLineOption exportOption(
        QStringLiteral("export-log"),
        QStringLiteral("Write every program's state on every site of the campaign store to "
                       "FILE.csv (site,name,program,pad_url,version,status,date,note). Exit code: "
                       "0 written, 2 the store or FILE.csv cannot be used."),
        QStringLiteral("FILE.csv"));
    parser.addOption(exportOption);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("PAD file to check."),
                                 QStringLiteral("[FILE...]"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!parser.parse(QCoreApplication::arguments())) {
        err << parser.errorText() << Qt::endl;
        return PadCheckCommand::SomeFileUnusable;
    }
    if (parser.isSet(helpOption) || parser.isSet(QStringLiteral("help-all"))) {
        out << parser.helpText();
        return 0;
    }
    if (parser.isSet(versionOption)) {
        out << QCoreApplication::applicationName() << ' ' << QCoreApplication::applicationVersion()
            << Qt::endl;
        return 0;
    }
    if (parser.isSet(exportOption)) {
        return ExportLogCommand::run(CampaignStore::defaultPath(), parser.value(exportOption), err);
    }
    if (parser.positionalArguments().isEmpty()) {
        err << "--check-pad: no FILE given" << Qt::endl;
        return PadCheckCommand::SomeFileUnusable;
    }
    return PadCheckCommand::run(parser.positionalArguments(), out, err);
}

} // namespace tarvelo
