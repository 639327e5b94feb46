#pragma once
// The service log's lines without a JSON library: a record as its one line of JSON (the fields
// of docs/json.md, as every program of the bench writes them), the records a log's text holds
// that match a query, and a stored record as the history shows it.
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/proof/history_record.h"
#include "core/proof/service_record.h"
#include "core/registry/terminal_registry.h"

namespace vk930 {

// Years of a busy bench's records; a log larger than this is none of ours.
inline constexpr std::uintmax_t kMaxServiceLogBytes = std::uintmax_t{1} << 30;

// ISO 8601 in local time with milliseconds and the UTC offset: 2026-12-07T15:31:51.123+01:00.
std::string LocalIsoTime(std::chrono::system_clock::time_point time);
// Milliseconds since the epoch of such a time (the offset, or Z, is required); nullopt when
// the text is none.
std::optional<long long> IsoTimeMs(std::string_view text);

// Digests are taken of parameter and firmware files, which are far smaller.
inline constexpr std::uintmax_t kMaxRecordedFileBytes = std::uintmax_t{64} << 20;

// The SHA-256 of a file in lower-case hex; empty when it cannot be read, or is no regular file
// of at most kMaxRecordedFileBytes (nothing of a device or a pipe is read).
std::string RecordedFileSha256(const std::string& path);

using FileDigest = std::function<std::string(const std::string& path)>;
// The record's line (no line end). A record naming a file without its digest gets `digest`'s
// of it, when given.
std::string RecordLineText(const ServiceRecord& record, const FileDigest& digest = {});

// The records among a log's lines (journal entries are no records) that match `query`, each as
// its line's text, in file order; lines that are no JSON object (cut by a crash) are counted,
// not returned.
FoundRecords FindRecordLines(std::string_view log, const RecordQuery& query);

// The fields of one stored record (its JSON text); members it lacks stay empty.
HistoryRecord HistoryRecordOf(std::string_view json);

}  // namespace vk930
