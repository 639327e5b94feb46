#pragma once
// The recent-file list of the framework's profile: the last 4 files opened, newest first,
// kept as "File1" to "File4" in the group "Recent File List". The menu shows no entries; the
// list is kept as the desktop expects of a document program.
#include <QSettings>
#include <QStringList>

namespace vk930 {

class RecentFileList {
  public:
    // The profile of the given organisation and application name.
    RecentFileList(const QString& organization, const QString& application, int size);

    void Add(const QString& path);
    QStringList Files() const;

  private:
    mutable QSettings profile_;
    int size_;
};

}  // namespace vk930
