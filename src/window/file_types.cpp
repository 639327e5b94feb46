#include "window/file_types.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "core/forms/dialog_ids.h"
#include "core/forms/menu_template.h"
#include "window/icons.h"

namespace vk930 {

namespace {

const QString kMimeFile = QStringLiteral("mime/packages/vk930config.xml");
const QString kDesktopFile = QStringLiteral("applications/vk930config.desktop");
const QString kAppIconName = QStringLiteral("vk930config");

QString MimeIconName() {
    return QString::fromLatin1(kPcgMimeType).replace('/', '-');
}

QByteArray IconSvg(int resource) {
    InitWindowResources();
    QFile file(QStringLiteral(":/icons/%1.svg").arg(resource));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray MimeTypeXml() {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>%2</comment>\n"
               "    <sub-class-of type=\"text/plain\"/>\n"
               "    <icon name=\"%3\"/>\n"
               "    <glob pattern=\"*%4\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(kPcgMimeType, kFileTypeName, MimeIconName(), kFilterExtension)
        .toUtf8();
}

QByteArray DesktopEntry(const QString& program) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=%1\n"
               "Comment=Configures the VK930 Hand Terminal\n"
               "Exec=%2 %f\n"
               "Icon=%3\n"
               "Terminal=false\n"
               "MimeType=%4;\n"
               "Categories=Utility;\n")
        .arg(kFrameTitle, DesktopExecWord(program), kAppIconName, kPcgMimeType)
        .toUtf8();
}

bool SameContent(const QString& path, const QByteArray& content) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == content;
}

bool WriteFile(const QString& path, const QByteArray& content) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(content);
    return file.commit();
}

void RefreshCache(const QString& tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (!program.isEmpty()) QProcess::startDetached(program, {folder});
}

// The program an Exec line starts: its first word, unquoted, found on PATH when not a path.
QString ExecProgram(const QByteArray& desktopEntry) {
    for (const QByteArray& line : desktopEntry.split('\n')) {
        if (!line.startsWith("Exec=")) continue;
        QString word = QString::fromUtf8(line.mid(5)).trimmed().section(' ', 0, 0);
        if (word.size() >= 2 && word.startsWith('"') && word.endsWith('"'))
            word = word.mid(1, word.size() - 2);
        if (!word.contains('/')) word = QStandardPaths::findExecutable(word);
        return word.isEmpty() ? QString() : QFileInfo(word).canonicalFilePath();
    }
    return {};
}

}  // namespace

bool RegisteredSystemWide(const QStringList& systemDataDirs, const QString& program) {
    const QString self = QFileInfo(program).canonicalFilePath();
    if (self.isEmpty()) return false;
    for (const QString& dir : systemDataDirs) {
        QFile desktop(dir + '/' + kDesktopFile);
        if (!QFileInfo::exists(dir + '/' + kMimeFile) || !desktop.open(QIODevice::ReadOnly))
            continue;
        if (ExecProgram(desktop.readAll()) == self) return true;
    }
    return false;
}

QString DesktopExecWord(const QString& program) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // The desktop entry's own string escapes come on top of the Exec quoting.
    return quoted.replace('\\', QStringLiteral("\\\\")).replace('\n', QStringLiteral("\\n"));
}

std::vector<RegistrationFile> FileTypeRegistration(const QString& dataHome,
                                                   const QString& program) {
    const QString icons = dataHome + "/icons/hicolor/scalable/";
    return {
        {dataHome + '/' + kMimeFile, MimeTypeXml()},
        {icons + "mimetypes/" + MimeIconName() + ".svg", IconSvg(id::kIconDocument)},
        {icons + "apps/" + kAppIconName + ".svg", IconSvg(id::kIconApplication)},
        {dataHome + '/' + kDesktopFile, DesktopEntry(program)},
    };
}

std::vector<QString> WriteChangedFiles(const std::vector<RegistrationFile>& files) {
    std::vector<QString> written;
    for (const RegistrationFile& file : files) {
        if (SameContent(file.path, file.content)) continue;
        if (WriteFile(file.path, file.content)) written.push_back(file.path);
    }
    return written;
}

void RegisterShellFileTypes() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty()) return;
    QStringList systemDirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    systemDirs.removeAll(dataHome);
    if (RegisteredSystemWide(systemDirs, QCoreApplication::applicationFilePath())) return;
    const std::vector<QString> written =
        WriteChangedFiles(FileTypeRegistration(dataHome, QCoreApplication::applicationFilePath()));
    for (const QString& path : written) {
        if (path.endsWith(kMimeFile)) RefreshCache("update-mime-database", dataHome + "/mime");
        if (path.endsWith(kDesktopFile))
            RefreshCache("update-desktop-database", dataHome + "/applications");
    }
}

}  // namespace vk930
