// displaylist-probe FILE...: interprets each plot file as the plot server does, with no pen table,
// and prints the dump of its display list after a line "plot FILE", so that the dumps of two builds
// of the core (Linux and Windows) can be compared byte for byte. A plot the interpreter refuses is a
// dump with its error, not a failure; a file that cannot be read, or a display list whose items point
// past its tables, is.

#include "DisplayListDump.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

std::optional<std::string> fileBytes(const char *path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
    if (file.bad())
        return std::nullopt;
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fputs("usage: displaylist-probe FILE...\n", stderr);
        return 2;
    }
#ifdef _WIN32
    // Text mode would turn each line end into CR LF, and the dumps must match byte for byte.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    for (int i = 1; i < argc; ++i) {
        const std::optional<std::string> bytes = fileBytes(argv[i]);
        if (!bytes) {
            std::fprintf(stderr, "displaylist-probe: cannot read %s\n", argv[i]);
            return 1;
        }
        std::string dump = "plot " + std::string(argv[i]) + '\n';
        try {
            plotviewer::portable::appendDump(dump, plotviewer::interpretPlot(*bytes));
        } catch (const std::exception &e) {
            std::fprintf(
                stderr, "displaylist-probe: %s: inconsistent display list (%s)\n", argv[i], e.what());
            return 1;
        }
        std::fwrite(dump.data(), 1, dump.size(), stdout);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
