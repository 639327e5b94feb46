#pragma once
// `vk930ctl history [--id N] [--since DATE] [--csv]`: the records of the service log, as a
// table or as CSV for a spreadsheet.
#include <QJsonObject>
#include <QStringList>
#include <string>
#include <vector>

#include "cli/cli_session.h"

namespace vk930 {

struct CommandResult;

// One CSV field: quoted when it holds a comma, a quote or a line end.
std::string CsvField(const std::string& text);
// The CSV text of the records, a header line first; lines end with CR LF.
std::string HistoryCsv(const std::vector<QJsonObject>& records);
// The table of the records, one line each.
std::string HistoryTable(const std::vector<QJsonObject>& records);

CommandResult RunHistory(CliSession& session, const QStringList& args);

}  // namespace vk930
