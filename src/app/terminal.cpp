#include "app/terminal.h"

#include "app/corvane.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

void writeToTerminal(const QString &text)
{
#ifdef Q_OS_WIN
    // A windowed program gets no console: write to the one it was started from, in UTF-16 so
    // that accents survive the console's code page. Redirected output goes through stdout.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        if (AttachConsole(ATTACH_PARENT_PROCESS))
            out = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    }
    DWORD mode = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode)) {
        DWORD written = 0;
        WriteConsoleW(out, reinterpret_cast<const wchar_t *>(text.utf16()),
                      static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
#endif
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

std::optional<QString> terminalAnswer(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Lanceur et configurateur pour Half-Life et Team Fortress Classic."));
    // Our own two options rather than Qt's, whose help also offers --help-all (Qt's options).
    const QCommandLineOption help(
#ifdef Q_OS_WIN
        {QStringLiteral("?"), QStringLiteral("h"), QStringLiteral("help")},
#else
        {QStringLiteral("h"), QStringLiteral("help")},
#endif
        QStringLiteral("Affiche cette aide et quitte."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Affiche la version et quitte."));
    parser.addOptions({help, version});
    // Unknown options are not an error: the program has always ignored its arguments.
    (void)parser.parse(arguments);
    if (parser.isSet(help))
        return parser.helpText();
    if (parser.isSet(version))
        return QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                             QCoreApplication::applicationVersion());
    return std::nullopt;
}

std::optional<int> answerOnTerminal(int &argc, char **argv)
{
    setApplicationIdentity();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (!terminalAnswer(arguments))
        return std::nullopt;
    // Asked for: answer in French, with the program's name as it was started.
    QCoreApplication app(argc, argv);
    installFrenchTranslation(app);
    writeToTerminal(terminalAnswer(QCoreApplication::arguments()).value_or(QString()));
    return 0;
}
