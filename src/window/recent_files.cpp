#include "window/recent_files.h"

namespace vk930 {

namespace {
const QString kGroup = QStringLiteral("Recent File List");
}

RecentFileList::RecentFileList(const QString& organization, const QString& application, int size)
    : profile_(QSettings::NativeFormat, QSettings::UserScope, organization, application),
      size_(size) {}

QStringList RecentFileList::Files() const {
    QStringList files;
    profile_.beginGroup(kGroup);
    for (int i = 1; i <= size_; ++i) {
        const QString file = profile_.value(QStringLiteral("File%1").arg(i)).toString();
        if (!file.isEmpty()) files << file;
    }
    profile_.endGroup();
    return files;
}

void RecentFileList::Add(const QString& path) {
    QStringList files = Files();
    files.removeAll(path);
    files.prepend(path);
    profile_.beginGroup(kGroup);
    for (int i = 1; i <= size_; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size())
            profile_.setValue(key, files[i - 1]);
        else
            profile_.remove(key);
    }
    profile_.endGroup();
    profile_.sync();
}

}  // namespace vk930
