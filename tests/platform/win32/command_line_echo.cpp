// Stands in for Notepad in the tests: writes the command line it was started with, then each
// argument as its C runtime splits it, one per line, into the file that VK930_ECHO_FILE names.
// The file appears whole (written aside, then moved), so the test can wait for it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const char* out = std::getenv("VK930_ECHO_FILE");
    if (!out) return 2;
    const std::string temporary = std::string(out) + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) return 3;
    std::fprintf(file, "%s\n", GetCommandLineA());
    for (int i = 1; i < argc; ++i) std::fprintf(file, "%s\n", argv[i]);
    if (std::fclose(file) != 0) return 4;
    return MoveFileExA(temporary.c_str(), out, MOVEFILE_REPLACE_EXISTING) ? 0 : 5;
}
