#pragma once
// Texts of the core (std::string, any bytes) as JSON strings: UTF-8 when they are valid
// UTF-8, else each byte as the character of that code (Latin-1), so that no byte is lost
// and every text is a valid JSON string.
#include <QJsonValue>
#include <QString>
#include <string>

namespace vk930 {

QString TextFromBytes(const std::string& bytes);
inline QJsonValue JsonText(const std::string& bytes) {
    return QJsonValue(TextFromBytes(bytes));
}

}  // namespace vk930
