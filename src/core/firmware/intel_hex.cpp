#include "core/firmware/intel_hex.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace vk930 {

namespace {

enum RecordType : int {
    kData = 0,
    kEndOfFile = 1,
    kSegmentBase = 2,
    kSegmentStart = 3,
    kLinearBase = 4,
    kLinearStart = 5,
};

// Bytes before the data: length, address high, address low, type; one checksum byte after.
constexpr std::size_t kRecordOverhead = 5;

struct Record {
    int type = kData;
    std::uint16_t offset = 0;
    std::vector<std::uint8_t> data;
};

std::string Hex(std::uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Printable(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F) return std::string("'") + c + "'";
    return "byte 0x" + Hex(u, 2);
}

Result<std::vector<std::uint8_t>> DecodeHex(std::string_view digits) {
    for (char c : digits)
        if (HexDigitValue(c) < 0) return Error{"bad hex digit " + Printable(c)};
    if (digits.size() % 2 != 0) return Error{"bad length: odd number of hex digits"};
    std::vector<std::uint8_t> bytes(digits.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(HexDigitValue(digits[2 * i]) * 16 +
                                             HexDigitValue(digits[2 * i + 1]));
    return bytes;
}

// The data length each record type must have; nullopt for data records (any length).
std::optional<std::size_t> RequiredLength(int type) {
    switch (type) {
        case kEndOfFile:
            return 0;
        case kSegmentBase:
        case kLinearBase:
            return 2;
        case kSegmentStart:
        case kLinearStart:
            return 4;
        default:
            return std::nullopt;
    }
}

Status CheckRecordBytes(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < kRecordOverhead) return Error{"bad length: record too short"};
    if (bytes.size() != bytes[0] + kRecordOverhead)
        return Error{"bad length: the record announces " + std::to_string(bytes[0]) +
                     " data bytes but holds " + std::to_string(bytes.size() - kRecordOverhead)};
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    if (sum % 256 != 0) {
        const unsigned expected = (256 - (sum - bytes.back()) % 256) % 256;
        return Error{"bad checksum " + Hex(bytes.back(), 2) + ", expected " + Hex(expected, 2)};
    }
    const int type = bytes[3];
    if (type > kLinearStart) return Error{"unknown record type " + Hex(type, 2)};
    if (const auto length = RequiredLength(type); length && bytes[0] != *length)
        return Error{"bad length for a record of type " + Hex(type, 2)};
    return {};
}

Result<Record> ParseRecord(std::string_view line) {
    if (line.front() != ':')
        return Error{"a record starts with ':', not " + Printable(line.front())};
    Result<std::vector<std::uint8_t>> bytes = DecodeHex(line.substr(1));
    if (!bytes) return Error{bytes.error()};
    if (Status s = CheckRecordBytes(*bytes); !s) return Error{s.error()};
    Record record;
    record.type = (*bytes)[3];
    record.offset = static_cast<std::uint16_t>((*bytes)[1] * 256 + (*bytes)[2]);
    record.data.assign(bytes->begin() + 4, bytes->end() - 1);
    return record;
}

// Collects the data records into one byte pool and builds the image at the end, so that
// memory stays proportional to the data however the records are scattered.
class ImageBuilder {
  public:
    Status Add(std::uint64_t address, const std::vector<std::uint8_t>& data) {
        if (address + data.size() > kMaxImageAddress)
            return Error{"data at address " + Hex(address, 8) + " lies beyond the 16 MiB limit"};
        if (data.empty()) return {};
        const auto start = static_cast<std::uint32_t>(address);
        if (!runs_.empty() && runs_.back().address + runs_.back().length == start)
            runs_.back().length += data.size();
        else
            runs_.push_back({start, pool_.size(), data.size()});
        pool_.insert(pool_.end(), data.begin(), data.end());
        return {};
    }
    Result<FirmwareImage> Finish();

  private:
    struct Run {
        std::uint32_t address;
        std::size_t start;
        std::size_t length;
    };
    std::vector<Run> runs_;
    std::vector<std::uint8_t> pool_;
};

Result<FirmwareImage> ImageBuilder::Finish() {
    if (runs_.empty()) return Error{"no data"};
    std::stable_sort(runs_.begin(), runs_.end(),
                     [](const Run& a, const Run& b) { return a.address < b.address; });
    FirmwareImage image;
    std::uint64_t end = 0;
    for (const Run& run : runs_) {
        if (!image.segments.empty() && run.address < end)
            return Error{"the byte at address " + Hex(run.address, 8) + " is given twice"};
        if (image.segments.empty() || run.address != end)
            image.segments.push_back({run.address, {}});
        auto& bytes = image.segments.back().bytes;
        bytes.insert(bytes.end(), pool_.begin() + run.start,
                     pool_.begin() + run.start + run.length);
        end = std::uint64_t{run.address} + run.length;
    }
    return image;
}

std::string_view Trimmed(std::string_view line) {
    const auto first = line.find_first_not_of(" \t\r\f\v");
    if (first == std::string_view::npos) return {};
    return line.substr(first, line.find_last_not_of(" \t\r\f\v") - first + 1);
}

// Applies one record; true when it ends the file.
Result<bool> Apply(const Record& record, std::uint64_t& base, ImageBuilder& builder) {
    const auto value = record.data.size() >= 2 ? record.data[0] * 256u + record.data[1] : 0u;
    switch (record.type) {
        case kData:
            if (Status s = builder.Add(base + record.offset, record.data); !s)
                return Error{s.error()};
            return false;
        case kEndOfFile:
            return true;
        case kSegmentBase:
            base = std::uint64_t{value} << 4;
            return false;
        case kLinearBase:
            base = std::uint64_t{value} << 16;
            return false;
        default:
            return false;  // start addresses: the boot loader does not use them
    }
}

}  // namespace

Result<FirmwareImage> ParseIntelHex(std::string_view text) {
    if (text.size() > kMaxHexTextSize) return Error{"larger than 64 MiB: not a firmware file"};
    ImageBuilder builder;
    std::uint64_t base = 0;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        ++lineNumber;
        if (line.empty()) continue;
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        Result<Record> record = ParseRecord(line);
        if (!record) return Error{where + record.error()};
        Result<bool> ended = Apply(*record, base, builder);
        if (!ended) return Error{where + ended.error()};
        if (*ended) return builder.Finish();
    }
    return Error{"no end-of-file record: the file is cut short"};
}

namespace {

std::string RecordText(int type, std::uint16_t offset, const std::uint8_t* data, std::size_t n) {
    unsigned sum = static_cast<unsigned>(n) + (offset >> 8) + (offset & 0xFF) + type;
    std::string line = ":" + Hex(n, 2) + Hex(offset, 4) + Hex(type, 2);
    for (std::size_t i = 0; i < n; ++i) {
        line += Hex(data[i], 2);
        sum += data[i];
    }
    return line + Hex((256 - sum % 256) % 256, 2) + "\n";
}

constexpr std::size_t kBytesPerRecord = 16;

}  // namespace

std::string WriteIntelHex(const FirmwareImage& image) {
    std::string text;
    std::uint32_t upper = 0;
    for (const ImageSegment& segment : image.segments) {
        for (std::size_t i = 0; i < segment.bytes.size();) {
            const std::uint32_t address = segment.address + static_cast<std::uint32_t>(i);
            if (address >> 16 != upper) {
                upper = address >> 16;
                const std::uint8_t base[2] = {static_cast<std::uint8_t>(upper >> 8),
                                              static_cast<std::uint8_t>(upper & 0xFF)};
                text += RecordText(kLinearBase, 0, base, 2);
            }
            // A record never crosses a 64 KiB boundary: its offset would wrap.
            const std::size_t room = 0x10000 - (address & 0xFFFF);
            const std::size_t n = std::min({kBytesPerRecord, segment.bytes.size() - i, room});
            text += RecordText(kData, address & 0xFFFF, segment.bytes.data() + i, n);
            i += n;
        }
    }
    return text + RecordText(kEndOfFile, 0, nullptr, 0);
}

}  // namespace vk930
