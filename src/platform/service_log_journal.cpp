// The journal of IDs as lines of the service log.
#include "platform/service_log_journal.h"

#include <signal.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QSysInfo>
#include <cerrno>
#include <chrono>

#include "platform/json_text.h"
#include "platform/service_log_file.h"

namespace vk930 {

namespace {

constexpr char kJournalKey[] = "journal";

std::optional<JournalEntry> FromRecordReservation(const QJsonObject& record) {
    const QJsonObject reserved = record.value("reservedId").toObject();
    if (reserved.isEmpty() || !reserved.contains("commId")) return std::nullopt;
    const std::optional<IdState> state =
        IdStateFromText(reserved.value("state").toString().toStdString());
    if (!state) return std::nullopt;
    JournalEntry entry;
    entry.commId = reserved.value("commId").toInt(-1);
    entry.state = *state;
    entry.reason = reserved.value("reason").toString().toStdString();
    for (const QJsonValue& v : reserved.value("possible").toArray())
        entry.possible.push_back(v.toInt());
    entry.seriesId = record.value("series").toString().toStdString();
    return entry;
}

}  // namespace

std::string ThisHolder() {
    return QSysInfo::machineHostName().toStdString() + ":" + std::to_string(::getpid());
}

QJsonObject JournalEntryToJson(const JournalEntry& entry) {
    QJsonObject body{{"commId", entry.commId}, {"state", ToString(entry.state)}};
    if (!entry.reason.empty()) body.insert("reason", JsonText(entry.reason));
    if (!entry.possible.empty()) {
        QJsonArray possible;
        for (int value : entry.possible) possible.append(value);
        body.insert("possible", possible);
    }
    if (!entry.seriesId.empty()) body.insert("series", JsonText(entry.seriesId));
    if (!entry.holder.empty()) body.insert("holder", JsonText(entry.holder));
    if (entry.oldId) body.insert("oldId", *entry.oldId);
    return QJsonObject{{"time", IsoTime(std::chrono::system_clock::now())}, {kJournalKey, body}};
}

std::optional<JournalEntry> JournalEntryFromJson(const QJsonObject& line) {
    if (!line.contains(kJournalKey)) return FromRecordReservation(line);
    const QJsonObject body = line.value(kJournalKey).toObject();
    const std::optional<IdState> state =
        IdStateFromText(body.value("state").toString().toStdString());
    const int commId = body.value("commId").toInt(-1);
    if (!state || commId < 0) return std::nullopt;
    JournalEntry entry;
    entry.commId = commId;
    entry.state = *state;
    entry.reason = body.value("reason").toString().toStdString();
    for (const QJsonValue& v : body.value("possible").toArray())
        entry.possible.push_back(v.toInt());
    entry.seriesId = body.value("series").toString().toStdString();
    entry.holder = body.value("holder").toString().toStdString();
    if (body.value("oldId").isDouble()) entry.oldId = body.value("oldId").toInt();
    return entry;
}

Result<std::vector<JournalEntry>> ServiceLogJournal::Load() {
    const ServiceLogContents log = ReadServiceLog(log_.Path());
    if (!log.error.empty()) return Error{log.error};
    std::vector<JournalEntry> entries;
    for (const QJsonObject& line : log.journal)
        if (std::optional<JournalEntry> e = JournalEntryFromJson(line)) entries.push_back(*e);
    return entries;
}

Status ServiceLogJournal::Add(JournalEntry entry) {
    if (entry.holder.empty() && entry.state == IdState::kReserved) entry.holder = ThisHolder();
    return log_.AppendLine(QJsonDocument(JournalEntryToJson(entry)).toJson(QJsonDocument::Compact));
}

bool ServiceLogJournal::HolderGone(const std::string& holder) const {
    return HolderGoneFromThisHost(holder);
}

bool HolderGoneFromThisHost(const std::string& holder) {
    const size_t colon = holder.rfind(':');
    if (colon == std::string::npos) return false;
    if (holder.substr(0, colon) != QSysInfo::machineHostName().toStdString()) return false;
    const pid_t pid = static_cast<pid_t>(std::atol(holder.c_str() + colon + 1));
    if (pid <= 0) return false;
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

std::string ServiceLogJournal::Where() const {
    return "the service log " + log_.Path();
}

}  // namespace vk930
