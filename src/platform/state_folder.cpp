#include "platform/state_folder.h"

#include <QDir>
#include <QString>

namespace vk930 {

std::string StateFolder() {
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // A relative path is to be ignored, as the base directory rules say.
    if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.local/state";
    return (base + "/VK930Config").toStdString();
}

}  // namespace vk930
