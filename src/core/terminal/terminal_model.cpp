#include "core/terminal/terminal_model.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace vk930 {

namespace {

void Put(PageBytes& page, int offset, std::string_view text) {
    std::memcpy(page.data() + offset, text.data(), text.size());
}

void PutFunctionKey(PageBytes& page, int key, std::string_view text, bool send) {
    const int base = 20 + 16 * (key - 1);
    page[base] = static_cast<std::uint8_t>(text.size() + (send ? 1 : 0));
    Put(page, base + 1, text);
    if (send) page[base + 1 + text.size()] = 13;
}

bool ReadStateFile(const std::string& path, std::array<PageBytes, 2>& pages, std::string& why) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) {
        why = "cannot read state file '" + path + "': " + ec.message();
        return false;
    }
    if (size != kStateFileSize) {
        why = "state file '" + path + "' has " + std::to_string(size) +
              " bytes; a terminal state is exactly 512 bytes";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    for (auto& page : pages) in.read(reinterpret_cast<char*>(page.data()), kPageSize);
    if (!in) {
        why = "cannot read state file '" + path + "'";
        return false;
    }
    return true;
}

bool WriteStateFile(const std::string& path, const std::array<PageBytes, 2>& pages) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& page : pages) out.write(reinterpret_cast<const char*>(page.data()), kPageSize);
    out.flush();
    return static_cast<bool>(out);
}

}  // namespace

std::array<PageBytes, 2> FactoryPages() {
    std::array<PageBytes, 2> pages{};
    PageBytes& p0 = pages[0];
    p0[1] = 0;  // CommID 1, high byte first
    p0[2] = 1;
    p0[3] = 0;     // EXTRAID
    p0[5] = 30;    // SLEEP
    p0[8] = 0;     // LANGUAGE
    p0[10] = 1;    // LEDONOFF
    p0[13] = 100;  // VOL_FREQ
    p0[15] = 1;    // KEYSOUND
    p0[16] = 4;    // VOLUME
    p0[17] = 4;    // PASSWORD 1234
    p0[18] = 210;
    p0[20] = 0;  // DOT_COMMA
    p0[21] = 0;  // RECMODE
    p0[22] = 5;  // WAIT_TIME
    p0[23] = 1;  // BATTERY
    p0[35] = 1;  // scanner SE923
    p0[36] = 0;  // no RFID
    p0[37] = 3;  // gray
    p0[38] = 1;  // gray 120x64
    p0[73] = 0;  // MENULANG
    p0[78] = 0;  // USEFORMLOCK
    p0[90] = 1;  // WAKESCAN
    p0[99] = 0;  // USECUSTOMTXT
    Put(p0, 100, "FORM LOCKED         ");
    Put(p0, 120, "ASK SUPERVISOR      ");
    PageBytes& p1 = pages[1];
    Put(p1, 0, "VK930 HAND TERMINAL ");
    const char* texts[10] = {"YES",  "NO",  "QTY",  "PRICE", "CODE",
                             "ITEM", "DEL", "BACK", "HELP",  "MENU"};
    for (int key = 1; key <= 10; ++key) PutFunctionKey(p1, key, texts[key - 1], key <= 2);
    for (int offset = 180; offset < kPageSize; ++offset) p1[offset] = 0xFF;  // never programmed
    return pages;
}

Result<std::unique_ptr<TerminalModel>> TerminalModel::Create(const TerminalSpec& spec) {
    std::unique_ptr<TerminalModel> model(new TerminalModel(spec));
    if (Status s = model->Load(); !s) return Error{s.error()};
    if (Status s = model->LoadFirmware(); !s) return Error{s.error()};
    return model;
}

Status TerminalModel::Load() {
    pages_ = FactoryPages();
    if (spec_.stateFile.empty()) return {};
    std::error_code ec;
    if (!std::filesystem::exists(spec_.stateFile, ec)) {
        if (!WriteStateFile(spec_.stateFile, pages_))
            return Error{"cannot create state file '" + spec_.stateFile + "'"};
        return {};
    }
    std::string why;
    if (!ReadStateFile(spec_.stateFile, pages_, why)) return Error{why};
    return {};
}

std::optional<PageBytes> TerminalModel::ReadPage(int page) {
    if (page != 0 && page != 1) return std::nullopt;
    if (spec_.faults.failPage[page]) return std::nullopt;
    return Page(page);
}

PageBytes TerminalModel::Page(int page) {
    // Another process may have programmed the terminal since: the state file is the truth.
    if (!spec_.stateFile.empty()) {
        std::string why;
        std::array<PageBytes, 2> fresh{};
        if (ReadStateFile(spec_.stateFile, fresh, why)) pages_ = fresh;
    }
    return pages_[page == 1 ? 1 : 0];
}

bool TerminalModel::WriteByte(int page, int offset, int value) {
    ++writeByteCount_;
    if (spec_.faults.failWriteAt == writeByteCount_) return false;
    if (value < 0 || value > 255) return false;
    if (LosesThisWrite()) return Fits(page, offset, 1);
    return Store(page, offset, std::string(1, static_cast<char>(value)));
}

bool TerminalModel::WriteText(int page, int offset, const std::string& bytes) {
    ++writeTextCount_;
    if (spec_.faults.failTextAt == writeTextCount_) return false;
    if (LosesThisWrite()) return Fits(page, offset, bytes.size());
    return Store(page, offset, bytes);
}

bool TerminalModel::LosesThisWrite() {
    ++writeCount_;
    return spec_.faults.loseWriteAt == writeCount_;
}

bool TerminalModel::Fits(int page, int offset, size_t size) {
    if (page != 0 && page != 1) return false;
    return offset >= 0 && offset + static_cast<long>(size) <= kPageSize;
}

bool TerminalModel::Store(int page, int offset, const std::string& bytes) {
    if (!Fits(page, offset, bytes.size())) return false;
    if (spec_.stateFile.empty()) {
        std::memcpy(pages_[page].data() + offset, bytes.data(), bytes.size());
        return true;
    }
    std::fstream file(spec_.stateFile, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(page * kPageSize + offset);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.flush();
    if (!file) return false;
    std::memcpy(pages_[page].data() + offset, bytes.data(), bytes.size());
    return true;
}

}  // namespace vk930
