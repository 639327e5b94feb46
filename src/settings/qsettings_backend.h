#pragma once
// The settings store on Linux: an INI file read and written with QSettings. The default file
// is VK930Config/VK930Config.ini in the user's configuration folder; --settings selects another.
#include <QString>
#include <memory>

#include "settings/settings_backend.h"

namespace vk930 {

class QSettingsBackendFactory : public SettingsBackendFactory {
public:
    // An empty path means the user's default settings file.
    explicit QSettingsBackendFactory(QString path = {});
    std::unique_ptr<SettingsBackend> Make() override;
    const QString& Path() const { return path_; }

private:
    QString path_;
};

// The default settings file of this user.
QString DefaultSettingsPath();

}  // namespace vk930
