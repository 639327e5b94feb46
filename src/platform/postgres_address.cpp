// Reading a registry's postgresql:// address.
#include "platform/postgres_address.h"

#include <QByteArray>
#include <QString>
#include <QUrlQuery>
#include <algorithm>

namespace vk930 {

namespace {

constexpr const char* kSchemes[] = {"postgresql://", "postgres://"};
constexpr char kForm[] = "postgresql://user@host/database";

std::string Decoded(const std::string& part) {
    return QByteArray::fromPercentEncoding(QByteArray::fromStdString(part)).toStdString();
}

Result<int> PortNumber(const std::string& text) {
    bool ok = false;
    const int port = QString::fromStdString(text).toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        return Error{"the registry's port '" + text + "' is no port number (1 to 65535)"};
    return port;
}

constexpr char kMask[] = "****";

// The password of the user part: between the first ':' after the scheme and the last '@'. A
// password may hold '@', '/' or '?' when the address is malformed: more is hidden, never less.
void MaskUserPassword(std::string& text) {
    const size_t at = text.rfind('@');
    if (at == std::string::npos) return;
    size_t start = 0;
    if (const size_t scheme = text.find("://"); scheme != std::string::npos && scheme < at)
        start = scheme + 3;
    else if (const size_t colon = text.find(':');
             colon != std::string::npos && colon + 1 < at && text[colon + 1] == '/')
        start = colon + 1;  // a scheme without its two slashes (postgresql:/...)
    const size_t colon = text.find(':', start);
    if (colon == std::string::npos || colon >= at) return;
    text.replace(colon + 1, at - colon - 1, kMask);
}

// password=... among the parameters, in any case.
void MaskPasswordParameter(std::string& text) {
    static const std::string kName = "password=";
    for (size_t from = 0;;) {
        std::string lower = text;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        const size_t found = lower.find(kName, from);
        if (found == std::string::npos) return;
        const size_t value = found + kName.size();
        const size_t end = std::min(text.find('&', value), text.size());
        text.replace(value, end - value, kMask);
        from = value + std::string(kMask).size();
    }
}

}  // namespace

std::string MaskedAddress(const std::string& text) {
    // The user part first; parameters only after its '@', so that neither masking changes
    // what the other measures by (a password holding "password=" included).
    std::string masked = text;
    MaskUserPassword(masked);
    const size_t at = masked.rfind('@');
    std::string rest = at == std::string::npos ? masked : masked.substr(at + 1);
    MaskPasswordParameter(rest);
    return at == std::string::npos ? rest : masked.substr(0, at + 1) + rest;
}

bool IsPostgresAddress(const std::string& text) {
    for (const char* scheme : kSchemes)
        if (text.rfind(scheme, 0) == 0) return true;
    return false;
}

std::string PostgresAddress::Shown() const {
    std::string shown = "postgresql://";
    if (!user.empty()) shown += user + "@";
    if (!host.empty() && host[0] == '/')
        shown += QString::fromStdString(host).toUtf8().toPercentEncoding().toStdString();
    else
        shown += host;
    if (port) shown += ":" + std::to_string(*port);
    return shown + "/" + database;
}

Result<PostgresAddress> ParsePostgresAddress(const std::string& text) {
    std::string rest;
    for (const char* scheme : kSchemes)
        if (text.rfind(scheme, 0) == 0) rest = text.substr(std::string(scheme).size());
    if (!IsPostgresAddress(text))
        return Error{"the registry '" + MaskedAddress(text) + "' is no PostgreSQL address (" +
                     kForm + ")"};
    std::string query;
    if (const size_t mark = rest.find('?'); mark != std::string::npos) {
        query = rest.substr(mark + 1);
        rest.resize(mark);
    }
    const size_t slash = rest.find('/');
    if (slash == std::string::npos || slash + 1 == rest.size())
        return Error{"the registry '" + MaskedAddress(text) + "' names no database (" + kForm +
                     ")"};
    PostgresAddress address;
    address.database = Decoded(rest.substr(slash + 1));
    std::string authority = rest.substr(0, slash);
    if (const size_t at = authority.rfind('@'); at != std::string::npos) {
        const std::string userInfo = authority.substr(0, at);
        authority = authority.substr(at + 1);
        const size_t colon = userInfo.find(':');
        address.user = Decoded(userInfo.substr(0, colon));
        if (colon != std::string::npos) address.password = Decoded(userInfo.substr(colon + 1));
    }
    // host:port, where a socket folder (%2F...) has no colon of its own.
    if (const size_t colon = authority.rfind(':');
        colon != std::string::npos && authority.find(']') == std::string::npos) {
        Result<int> port = PortNumber(authority.substr(colon + 1));
        if (!port) return Error{port.error()};
        address.port = *port;
        authority.resize(colon);
    }
    address.host = Decoded(authority);
    const QUrlQuery parameters(QString::fromStdString(query));
    for (const auto& [key, value] : parameters.queryItems(QUrl::FullyDecoded)) {
        if (key == "host") {
            address.host = value.toStdString();
        } else if (key == "port") {
            Result<int> port = PortNumber(value.toStdString());
            if (!port) return Error{port.error()};
            address.port = *port;
        } else if (key == "user") {
            address.user = value.toStdString();
        } else {
            return Error{"the registry address takes host, port and user after '?', not '" +
                         key.toStdString() + "'"};
        }
    }
    return address;
}

}  // namespace vk930
