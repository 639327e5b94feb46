#pragma once
// Registration of the .pcg file type for the user, at every start: a MIME type
// ("VK930C Document", *.pcg) with the document icon, and a desktop entry that opens such files
// with this program. A file is written only when its content differs, so a start that
// changes nothing writes nothing.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace vk930 {

inline constexpr char kPcgMimeType[] = "application/x-vk930c";

struct RegistrationFile {
    QString path;
    QByteArray content;
};

// The files, under the user's data folder `dataHome`, that register the type for `program`.
std::vector<RegistrationFile> FileTypeRegistration(const QString& dataHome, const QString& program);

// Writes each file whose content differs from the one on disk. The paths written.
std::vector<QString> WriteChangedFiles(const std::vector<RegistrationFile>& files);

// A program path as one word of a desktop entry's Exec line (quoted and escaped).
QString DesktopExecWord(const QString& program);

// Whether one of the system's data folders (`systemDataDirs`, as $XDG_DATA_DIRS lists them)
// holds the desktop entry and the MIME type, with an Exec line that starts `program` itself:
// an installed package registered the type already, and a per-user copy would only shadow it.
bool RegisteredSystemWide(const QStringList& systemDataDirs, const QString& program);

// Registers the type for this program in the user's data folder and, when something changed,
// asks the desktop to refresh its caches (when the tools for it are installed). Nothing is
// written when the type is registered system-wide for this program; a program run from a
// build tree still registers itself.
void RegisterShellFileTypes();

}  // namespace vk930
