// The id of a series' records.
#include "platform/series_id.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSysInfo>

namespace vk930 {

std::string NewSeriesId() {
    return QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss").toStdString() + "-" +
           QSysInfo::machineHostName().toStdString() + "-" +
           std::to_string(QCoreApplication::applicationPid());
}

}  // namespace vk930
