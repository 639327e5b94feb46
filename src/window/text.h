#pragma once
// Text between the core (std::string, UTF-8 where it came from the user or the file system)
// and Qt. Bytes that are not UTF-8 (a terminal's raw texts) are shown as Latin-1 rather than
// as replacement characters.
#include <QString>
#include <QStringDecoder>
#include <string>

namespace vk930 {

inline QString ToQ(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError()) return decoded;
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStd(const QString& text) {
    return text.toStdString();
}

}  // namespace vk930
