#include "window/recent_files.h"

namespace vk930 {

namespace {
const QString kGroup = QString::fromLatin1(kRecentFileSection);
}

RecentFileList::RecentFileList(const QString& organization, const QString& application, int size)
    : profile_(QSettings::NativeFormat, QSettings::UserScope, organization, application),
      size_(size) {}

QStringList RecentFileList::Files() const {
    QStringList files;
    for (const std::string& file : RecentFiles()) files << QString::fromStdString(file);
    return files;
}

void RecentFileList::Add(const QString& path) {
    AddRecentFile(path.toStdString());
}

std::vector<std::string> RecentFileList::RecentFiles() const {
    std::vector<std::string> files;
    profile_.beginGroup(kGroup);
    for (int i = 0; i < size_; ++i) {
        const QString file =
            profile_.value(QString::fromStdString(RecentFileEntryName(i))).toString();
        if (!file.isEmpty()) files.push_back(file.toStdString());
    }
    profile_.endGroup();
    return files;
}

void RecentFileList::AddRecentFile(const std::string& path) {
    const std::vector<std::string> files = RecentFilesAfterOpening(RecentFiles(), path, size_);
    profile_.beginGroup(kGroup);
    for (int i = 0; i < size_; ++i) {
        const QString key = QString::fromStdString(RecentFileEntryName(i));
        if (i < static_cast<int>(files.size()))
            profile_.setValue(key, QString::fromStdString(files[i]));
        else
            profile_.remove(key);
    }
    profile_.endGroup();
    profile_.sync();
}

}  // namespace vk930
