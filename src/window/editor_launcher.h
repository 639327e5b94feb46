#pragma once
// "Edit with Notepad": starts the user's text editor on the parameter file. The editor is
// started as a program with an argument list, never through a shell, so any path works.
//
// Which editor, in this order: the "Editor" value of the settings file (a command line; "%f"
// marks where the file goes, else it goes last); $VISUAL, then $EDITOR, when it is not an
// editor that needs a terminal; the desktop's default application for plain text; the first
// of a few well-known desktop editors that is installed. The desktop's default for the file
// itself is not asked: that would be this program, which is registered for .pcg files.
// On Windows it is Notepad.
#include <QString>
#include <QStringList>
#include <optional>

#include "core/settings/settings_backend.h"
#include "core/settings/settings_keys.h"

namespace vk930 {

struct EditorCommand {
    QString program;
    QStringList arguments;
    bool operator==(const EditorCommand&) const = default;
};

struct EditorChoices {
    QString configured;     // the settings file's "Editor"
    QString visual;         // $VISUAL
    QString editor;         // $EDITOR
    QString desktopExec;    // Exec line of the desktop's default application for text files
    QStringList installed;  // desktop editors found on the PATH, in order of preference
};

// Splits a command line into words as desktop entries and shells quote them: blanks
// separate words, double and single quotes group, a backslash takes the next character.
QStringList SplitCommandLine(const QString& text);

// True for editors that run inside a terminal (vi, nano, ...): started from a window they
// would have no terminal to show in.
bool IsTerminalEditor(const QString& program);

// The command that opens `path` (empty: the editor alone) from a command line whose field
// codes (%f %F %u %U) mark the file; without one the file is added last.
std::optional<EditorCommand> CommandFor(const QString& commandLine, const QString& path);

// The first usable choice, in the order above; nullopt when there is none.
std::optional<EditorCommand> ChooseEditor(const EditorChoices& choices, const QString& path);

// Looks the choices up: settings, environment, the desktop's default, the PATH.
EditorChoices CollectEditorChoices(SettingsBackendFactory& settings);

// Starts the editor detached. Empty when it started, else what to tell the user: that no
// editor was found (naming the "Editor" setting that chooses one), or which one failed.
QString LaunchEditor(const QString& path, SettingsBackendFactory& settings);

}  // namespace vk930
