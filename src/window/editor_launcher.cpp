#include "window/editor_launcher.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <QUrl>

#include "window/text.h"

namespace vk930 {

namespace {

constexpr int kXdgMimeTimeoutMs = 2000;

// Replaces a field code word; nullopt drops the word.
std::optional<QString> ExpandWord(const QString& word, const QString& path, bool& placed) {
    if (word == "%f" || word == "%F" || word == "%u" || word == "%U") {
        placed = true;
        if (path.isEmpty()) return std::nullopt;
        return word.endsWith('f', Qt::CaseInsensitive) ? path
                                                       : QUrl::fromLocalFile(path).toString();
    }
    if (word.size() == 2 && word.startsWith('%') && word != "%%") return std::nullopt;
    QString copy = word;
    return copy.replace("%%", "%");
}

// The desktop entry's Exec value with its string escapes (\s, \\, ...) undone.
QString UnescapeDesktopValue(const QString& value) {
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 >= value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == 's')
            out += ' ';
        else if (next == 'n')
            out += '\n';
        else if (next == 't')
            out += '\t';
        else if (next == 'r')
            out += '\r';
        else
            out += QStringLiteral("\\") + next;  // kept for the Exec quoting rules
    }
    return out;
}

QString ExecOfDesktopFile(const QString& file) {
    QFile desktop(file);
    if (!desktop.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QTextStream in(&desktop);
    bool inMainGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith('['))
            inMainGroup = line == "[Desktop Entry]";
        else if (inMainGroup && line.startsWith("Exec="))
            return UnescapeDesktopValue(line.mid(5));
    }
    return {};
}

// The Exec line of the default application for plain text, as xdg-mime names it.
QString DesktopDefaultTextEditor() {
    const QString xdgMime = QStandardPaths::findExecutable("xdg-mime");
    if (xdgMime.isEmpty()) return {};
    QProcess query;
    query.start(xdgMime, {"query", "default", "text/plain"});
    if (!query.waitForFinished(kXdgMimeTimeoutMs) || query.exitCode() != 0) return {};
    const QString id = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (id.isEmpty() || id.contains('/')) return {};
    QString file =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, "applications/" + id);
    if (file.isEmpty() && id.contains('-'))  // "vendor-app.desktop" may live in "vendor/"
        file =
            QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                   "applications/" + QString(id).replace(id.indexOf('-'), 1, '/'));
    return file.isEmpty() ? QString() : ExecOfDesktopFile(file);
}

QStringList InstalledDesktopEditors() {
    static const char* const kKnown[] = {"gnome-text-editor", "gedit", "kate", "kwrite",
                                         "mousepad",          "pluma", "xed",  "featherpad",
                                         "leafpad",           "geany"};
    QStringList found;
    for (const char* name : kKnown)
        if (!QStandardPaths::findExecutable(name).isEmpty()) found << name;
    return found;
}

std::optional<EditorCommand> GuiEditorFrom(const QString& variable, const QString& path) {
    const QStringList words = SplitCommandLine(variable);
    if (words.isEmpty() || IsTerminalEditor(words.first())) return std::nullopt;
    return CommandFor(variable, path);
}

}  // namespace

QStringList SplitCommandLine(const QString& text) {
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\\' && quote != '\'' && i + 1 < text.size()) {
            word += text[++i];
            inWord = true;
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                word += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord) words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words << word;
    return words;
}

bool IsTerminalEditor(const QString& program) {
    static const QStringList kTerminal = {
        "vi",    "vim",    "nvim", "view",  "nano", "pico",  "ed",     "ex",
        "joe",   "jed",    "jove", "mg",    "ne",   "micro", "kak",    "hx",
        "helix", "mcedit", "nvi",  "elvis", "vis",  "tilde", "editor", "sensible-editor",
        "rnano", "rvim"};
    return kTerminal.contains(QFileInfo(program).fileName());
}

std::optional<EditorCommand> CommandFor(const QString& commandLine, const QString& path) {
    const QStringList words = SplitCommandLine(commandLine);
    if (words.isEmpty()) return std::nullopt;
    EditorCommand command{words.first(), {}};
    bool placed = false;
    for (qsizetype i = 1; i < words.size(); ++i)
        if (const auto word = ExpandWord(words[i], path, placed)) command.arguments << *word;
    if (!placed && !path.isEmpty()) command.arguments << path;
    return command;
}

std::optional<EditorCommand> ChooseEditor(const EditorChoices& choices, const QString& path) {
#ifdef _WIN32
    (void)choices;
    return EditorCommand{"Notepad.exe", path.isEmpty() ? QStringList() : QStringList{path}};
#else
    if (auto command = CommandFor(choices.configured, path)) return command;
    if (auto command = GuiEditorFrom(choices.visual, path)) return command;
    if (auto command = GuiEditorFrom(choices.editor, path)) return command;
    if (auto command = CommandFor(choices.desktopExec, path)) return command;
    if (!choices.installed.isEmpty()) return CommandFor(choices.installed.first(), path);
    return std::nullopt;
#endif
}

EditorChoices CollectEditorChoices(SettingsBackendFactory& settings) {
    EditorChoices choices;
    std::unique_ptr<SettingsBackend> backend = settings.Make();
    if (backend->Open() == 0) {
        if (auto configured = backend->QueryText(kValueEditor))
            choices.configured = ToQ(*configured);
        backend->Close();
    }
    choices.visual = qEnvironmentVariable("VISUAL");
    choices.editor = qEnvironmentVariable("EDITOR");
#ifndef _WIN32
    // The desktop is asked only when nothing before it in the order answers.
    const QString none;
    if (CommandFor(choices.configured, none) || GuiEditorFrom(choices.visual, none) ||
        GuiEditorFrom(choices.editor, none))
        return choices;
    choices.desktopExec = DesktopDefaultTextEditor();
    if (choices.desktopExec.isEmpty()) choices.installed = InstalledDesktopEditors();
#endif
    return choices;
}

QString LaunchEditor(const QString& path, SettingsBackendFactory& settings) {
    const std::optional<EditorCommand> command = ChooseEditor(CollectEditorChoices(settings), path);
    if (!command)
        return QStringLiteral(
                   "No text editor was found to open the parameter file.\n\n"
                   "Set \"%1\" in the settings file to the command line of one, for example:\n"
                   "%1=gedit --new-window")
            .arg(QString::fromLatin1(kValueEditor));
    if (QProcess::startDetached(command->program, command->arguments)) return {};
    return QStringLiteral(
               "The text editor \"%1\" could not be started.\n\n"
               "Set \"%2\" in the settings file to the command line of another.")
        .arg(command->program, QString::fromLatin1(kValueEditor));
}

}  // namespace vk930
