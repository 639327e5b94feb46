#pragma once
// The event stream of `vk930ctl --json`: one JSON object per line on standard output. The
// writer keeps lines whole when several stations write at once; the builders give every
// event its members, so each kind of event has one shape wherever it is made.
#include <QJsonObject>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>

#include "core/commands/host.h"
#include "core/commands/outcome.h"

namespace vk930 {

class JsonEventWriter {
  public:
    explicit JsonEventWriter(std::ostream& out) : out_(out) {}

    // Writes `event` as one compact line and flushes it. `port`: the station the event is
    // of, as the member "port", when several terminals are served at once. Returns why the
    // line could not be written; empty when it was.
    std::string Write(QJsonObject event, std::optional<int> port = std::nullopt);

  private:
    std::mutex mutex_;
    std::ostream& out_;
};

// The outcome name of a run that ended before any command ran (exit status 2).
inline constexpr char kUsageOutcome[] = "usage";

// {"event": name} and the members given; texts pass through JsonText, so any byte is safe.
QJsonObject JsonEvent(const char* name, QJsonObject members = {});
// {"event": name, member: text}
QJsonObject JsonTextEvent(const char* name, const char* member, const std::string& text);

const char* SeverityName(EntrySeverity severity);
QJsonObject LogEvent(const std::string& text, int kind, EntrySeverity severity);
QJsonObject FieldEvent(int id, const std::string& text);
QJsonObject ProgressEvent(const ProgressReport& report);
QJsonObject ResultEvent(const std::string& outcome, const std::string& detail, int exitStatus);
QJsonObject ResultEvent(const Outcome& outcome, int exitStatus);

}  // namespace vk930
