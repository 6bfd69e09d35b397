#include "app/TextEditor.h"

#include "app/ErrorReport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace TextEditor {
namespace {

// Graphical editors of the common desktops, most widespread first.
const QStringList kCommonEditors = {QStringLiteral("gnome-text-editor"),
                                    QStringLiteral("gedit"),
                                    QStringLiteral("kwrite"),
                                    QStringLiteral("kate"),
                                    QStringLiteral("mousepad"),
                                    QStringLiteral("pluma"),
                                    QStringLiteral("xed"),
                                    QStringLiteral("featherpad"),
                                    QStringLiteral("leafpad"),
                                    QStringLiteral("geany")};

// The keys of a desktop entry that choosing needs.
struct DesktopEntry {
    QString exec;
    QString tryExec;
    QString icon;
    QString name;
    bool terminal = false;
    bool hidden = false;
};

// A value as stored in a desktop entry, with its escapes (\s \n \t \r \\)
// turned back into characters.
QString Unescape(const QString& value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's': out += QLatin1Char(' '); break;
        case 'n': out += QLatin1Char('\n'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 'r': out += QLatin1Char('\r'); break;
        default: out += next; break;  // "\\" and anything unknown
        }
    }
    return out;
}

std::optional<DesktopEntry> ReadDesktopEntry(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    DesktopEntry entry;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inEntry || equals < 0 || line.startsWith(QLatin1Char('#')))
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = Unescape(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("TryExec"))
            entry.tryExec = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Terminal"))
            entry.terminal = value == QLatin1String("true");
        else if (key == QLatin1String("Hidden"))
            entry.hidden = value == QLatin1String("true");
    }
    return entry;
}

// Splits an Exec value into arguments: blanks separate them, double quotes
// enclose one, and inside quotes a backslash escapes " ` $ and \.
QStringList SplitExec(const QString& exec)
{
    QStringList arguments;
    QString current;
    bool quoted = false;
    bool started = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted && c == QLatin1Char('\\') && i + 1 < exec.size()) {
            current += exec.at(++i);
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            started = true;
        } else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            if (started)
                arguments << current;
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        arguments << current;
    return arguments;
}

// The Exec arguments with their field codes replaced: the file for %f %F
// %u %U (appended when the entry names none), the icon for %i, the name for
// %c, the entry's path for %k; the deprecated codes vanish.
QStringList ExpandFieldCodes(const QStringList& arguments, const DesktopEntry& entry, const QString& entryPath,
                             const QString& file)
{
    QStringList out;
    bool fileGiven = false;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("%i")) {
            if (!entry.icon.isEmpty())
                out << QStringLiteral("--icon") << entry.icon;
            continue;
        }
        QString expanded;
        bool hadCode = false;
        for (qsizetype i = 0; i < argument.size(); ++i) {
            if (argument.at(i) != QLatin1Char('%') || i + 1 == argument.size()) {
                expanded += argument.at(i);
                continue;
            }
            const char code = argument.at(++i).toLatin1();
            hadCode = hadCode || code != '%';
            if (code == '%')
                expanded += QLatin1Char('%');
            else if (QByteArrayLiteral("fFuU").contains(code) && !fileGiven) {
                expanded += file;
                fileGiven = true;
            } else if (code == 'c')
                expanded += entry.name;
            else if (code == 'k')
                expanded += entryPath;
        }
        if (!expanded.isEmpty() || !hadCode)
            out << expanded;
    }
    if (!fileGiven)
        out << file;
    return out;
}

// The program's full path: as given when it holds a separator, else found
// on the search path; empty when it is not an executable file.
QString FindProgram(const QString& program, const QStringList& searchPath)
{
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? program : QString();
    }
    return searchPath.isEmpty() ? QString() : QStandardPaths::findExecutable(program, searchPath);
}

std::optional<Command> FromDesktopEntry(const QProcessEnvironment& environment, const QStringList& searchPath,
                                        const QString& id, const QString& file)
{
    const QString home = environment.value(QStringLiteral("HOME"));
    QStringList dataFolders = {
        environment.value(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"))};
    dataFolders += environment.value(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share"))
                       .split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : dataFolders) {
        const QString path = folder + QStringLiteral("/applications/") + id;
        const std::optional<DesktopEntry> entry = ReadDesktopEntry(path);
        if (!entry)
            continue;
        // The first entry found for an id hides the others, as for the desktop.
        if (entry->hidden || entry->terminal)
            return std::nullopt;
        if (!entry->tryExec.isEmpty() && FindProgram(entry->tryExec, searchPath).isEmpty())
            return std::nullopt;
        QStringList arguments = ExpandFieldCodes(SplitExec(entry->exec), *entry, path, file);
        const QString program = arguments.isEmpty() ? QString() : FindProgram(arguments.takeFirst(), searchPath);
        if (program.isEmpty())
            return std::nullopt;
        return Command{program, arguments};
    }
    return std::nullopt;
}

std::optional<Command> ChooseFreedesktop(const QProcessEnvironment& environment, const QString& defaultTextApp,
                                         const QString& file)
{
    const QStringList searchPath =
        environment.value(QStringLiteral("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (!defaultTextApp.isEmpty() && !defaultTextApp.contains(QLatin1Char('/'))) {
        if (std::optional<Command> command = FromDesktopEntry(environment, searchPath, defaultTextApp, file))
            return command;
    }
    for (const QString& editor : kCommonEditors) {
        const QString program = FindProgram(editor, searchPath);
        if (!program.isEmpty())
            return Command{program, {file}};
    }
    QStringList visual = QProcess::splitCommand(environment.value(QStringLiteral("VISUAL")));
    const QString program = visual.isEmpty() ? QString() : FindProgram(visual.takeFirst(), searchPath);
    if (program.isEmpty())
        return std::nullopt;
    return Command{program, visual << file};
}

bool StartDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

Launcher& CurrentLauncher()
{
    static Launcher launcher = StartDetached;
    return launcher;
}

}  // namespace

Platform CurrentPlatform()
{
#if defined(Q_OS_WIN)
    return Platform::Windows;
#elif defined(Q_OS_MACOS)
    return Platform::MacOS;
#else
    return Platform::Freedesktop;
#endif
}

std::optional<Command> Choose(Platform platform, const QProcessEnvironment& environment, const QString& defaultTextApp,
                              const QString& file)
{
    switch (platform) {
    case Platform::Windows: {
        const QString windows =
            environment.value(QStringLiteral("SystemRoot"), environment.value(QStringLiteral("windir")));
        if (windows.isEmpty())
            return std::nullopt;
        return Command{windows + QStringLiteral("\\notepad.exe"), {file}};
    }
    case Platform::MacOS: return Command{QStringLiteral("/usr/bin/open"), {QStringLiteral("-e"), file}};
    case Platform::Freedesktop: break;
    }
    return ChooseFreedesktop(environment, defaultTextApp, file);
}

QString DefaultTextApplication()
{
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return QString();
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished(1000);
        return QString();
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0).trimmed();
}

bool Launch(const Command& command)
{
    return CurrentLauncher()(command.program, command.arguments);
}

Launcher SetLauncher(Launcher launcher)
{
    Launcher previous = CurrentLauncher();
    CurrentLauncher() = launcher ? std::move(launcher) : Launcher(StartDetached);
    return previous;
}

}  // namespace TextEditor

namespace modVantrel {

bool LoadFileInNotepad(const QString& path)
{
    try {
        const std::optional<TextEditor::Command> command =
            TextEditor::Choose(TextEditor::CurrentPlatform(), QProcessEnvironment::systemEnvironment(),
                               TextEditor::DefaultTextApplication(), QFileInfo(path).absoluteFilePath());
        return command && TextEditor::Launch(*command);
    } catch (...) {
        ReportUnexpectedError(QStringLiteral("modVantrel.LoadFileInNotepad"));
        return false;
    }
}

}  // namespace modVantrel
