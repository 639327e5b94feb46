#include "settings/qsettings_backend.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <limits>

namespace vk930 {

namespace {

int ErrorNumberFor(int err) { return (err == EACCES || err == EPERM || err == EROFS) ? kErrorAccessDenied : err; }

// Makes sure the file exists and can be written; 0 or an error number.
int EnsureWritable(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir()) return EISDIR;
    if (!QDir().mkpath(info.absolutePath())) return kErrorAccessDenied;
    errno = 0;
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "a");
    if (!file) return ErrorNumberFor(errno ? errno : EIO);
    std::fclose(file);
    return 0;
}

class QSettingsBackend : public SettingsBackend {
public:
    explicit QSettingsBackend(QString path) : path_(std::move(path)) {}

    int Open() override {
        if (const int error = EnsureWritable(path_); error != 0) return error;
        settings_ = std::make_unique<QSettings>(path_, QSettings::IniFormat);
        if (settings_->status() == QSettings::AccessError) return kErrorAccessDenied;
        return 0;
    }

    std::optional<std::int32_t> Query(const std::string& name) override {
        const QVariant value = settings_->value(QString::fromStdString(name));
        if (!value.isValid()) return std::nullopt;
        bool ok = false;
        const qlonglong number = value.toString().trimmed().toLongLong(&ok);
        if (!ok || number < std::numeric_limits<std::int32_t>::min() ||
            number > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return static_cast<std::int32_t>(number);
    }

    bool Set(const std::string& name, std::int32_t value) override {
        settings_->setValue(QString::fromStdString(name), value);
        settings_->sync();
        return settings_->status() == QSettings::NoError;
    }

    std::optional<std::string> QueryText(const std::string& name) override {
        const QVariant value = settings_->value(QString::fromStdString(name));
        if (!value.isValid()) return std::nullopt;
        return value.toString().toStdString();
    }

    void Close() override {
        if (settings_) settings_->sync();
        settings_.reset();
    }

private:
    QString path_;
    std::unique_ptr<QSettings> settings_;
};

}  // namespace

QString DefaultSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/VK930Config/VK930Config.ini";
}

QSettingsBackendFactory::QSettingsBackendFactory(QString path)
    : path_(path.isEmpty() ? DefaultSettingsPath() : std::move(path)) {}

std::unique_ptr<SettingsBackend> QSettingsBackendFactory::Make() {
    return std::make_unique<QSettingsBackend>(path_);
}

}  // namespace vk930
