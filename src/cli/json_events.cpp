#include "cli/json_events.h"

#include <QJsonDocument>
#include <cerrno>
#include <cstring>

#include "cli/output_format.h"
#include "platform/json_text.h"

namespace vk930 {

std::string JsonEventWriter::Write(QJsonObject event, std::optional<int> port) {
    if (port) event.insert("port", *port);
    const QByteArray line = QJsonDocument(event).toJson(QJsonDocument::Compact) + '\n';
    const std::lock_guard<std::mutex> lock(mutex_);
    errno = 0;
    out_.write(line.constData(), line.size());
    out_.flush();
    if (out_) return {};
    return errno != 0 ? std::strerror(errno) : "write failed";
}

QJsonObject JsonEvent(const char* name, QJsonObject members) {
    members.insert("event", QString::fromLatin1(name));
    return members;
}

QJsonObject JsonTextEvent(const char* name, const char* member, const std::string& text) {
    return JsonEvent(name, {{member, JsonText(text)}});
}

const char* SeverityName(EntrySeverity severity) {
    switch (severity) {
        case EntrySeverity::kFailure:
            return "failure";
        case EntrySeverity::kWarning:
            return "warning";
        case EntrySeverity::kCancellation:
            return "cancellation";
        case EntrySeverity::kProgress:
            return "progress";
        case EntrySeverity::kSuccess:
            break;
    }
    return "success";
}

QJsonObject LogEvent(const std::string& text, int kind, EntrySeverity severity) {
    return JsonEvent(
        "log", {{"kind", kind}, {"severity", SeverityName(severity)}, {"text", JsonText(text)}});
}

QJsonObject FieldEvent(int id, const std::string& text) {
    return JsonEvent("field",
                     {{"id", id}, {"name", JsonText(FieldName(id))}, {"text", JsonText(text)}});
}

QJsonObject ProgressEvent(const ProgressReport& report) {
    const auto done = static_cast<qint64>(report.done);
    const auto total = static_cast<qint64>(report.total);
    switch (report.kind) {
        case ProgressKind::kUpload:
            return JsonEvent("progress", {{"kind", "upload"}, {"done", done}, {"total", total}});
        case ProgressKind::kLines:
            // A Set does not count its file's lines ahead: the total is not known.
            return JsonEvent("progress", {{"kind", "lines"}, {"done", done}});
        case ProgressKind::kWait:
            break;
    }
    return JsonEvent("progress", {{"kind", "wait"}, {"done", done}, {"total", total}});
}

QJsonObject ResultEvent(const std::string& outcome, const std::string& detail, int exitStatus) {
    return JsonEvent(
        "result",
        {{"outcome", JsonText(outcome)}, {"detail", JsonText(detail)}, {"exit", exitStatus}});
}

QJsonObject ResultEvent(const Outcome& outcome, int exitStatus) {
    return ResultEvent(ToString(outcome.outcomeClass), outcome.detail, exitStatus);
}

}  // namespace vk930
