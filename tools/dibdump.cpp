// dibdump: what the loader makes of a bitmap file. See --help.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dib/dib_layout.h"
#include "dib/dib_loader.h"
#include "dib/mapped_file.h"
#include "tools/sha256.h"

namespace {

constexpr int kLoaded = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;
constexpr int kWriteError = 3;

constexpr std::string_view kUsageText =
    "usage: dibdump [-v] [--raw OUT] FILE\n"
    "       dibdump --help\n"
    "\n"
    "Prints what the viewer's bitmap loader makes of FILE, as one line:\n"
    "  ok<TAB>WIDTH<TAB>HEIGHT<TAB>SHA256   the SHA-256 of the packed red-green-blue\n"
    "                                       rows, bottom row first\n"
    "  refused<TAB>MESSAGE                  the message the viewer would show\n"
    "\n"
    "  -v         first print what the headers say and, for a refused file, a line\n"
    "             reason<TAB>TEXT saying exactly why\n"
    "  --raw OUT  also write the packed red-green-blue bytes to the file OUT\n"
    "  --help     print this text\n"
    "\n"
    "Control characters in what is printed are escaped (\\n, \\t, \\xHH; \\\\ for \\).\n"
    "\n"
    "Exit status: 0 loaded, 1 refused, 2 usage error, 3 write error.\n";

struct Options {
    bool help = false;
    bool verbose = false;
    const char* rawOut = nullptr;
    const char* file = nullptr;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            options.help = true;
            return options;
        }
        if (argument == "-v") {
            options.verbose = true;
        } else if (argument == "--raw" && i + 1 < argc) {
            options.rawOut = argv[++i];
        } else if (options.file == nullptr && !argument.starts_with('-')) {
            options.file = argv[i];
        } else {
            return std::nullopt;
        }
    }
    if (options.file == nullptr) {
        return std::nullopt;
    }
    return options;
}

// Text as one field of a line: a name holding a newline, a tab or a
// terminal's escape sequence must not break the line or reach the terminal.
std::string Escape(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\t') {
            escaped += "\\t";
        } else if (c == '\\') {
            escaped += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            escaped += hex;
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// What the headers say, as far as they could be read.
std::string DescribeHeaders(const std::optional<MappedFile>& file) {
    if (!file) {
        return "header\t(file cannot be opened)\n";
    }
    DibLayout layout;
    ParseDibLayout(file->Bytes(), layout);
    const char* kind = layout.headerSize == kCoreHeaderSize   ? " (core)"
                       : layout.headerSize == kInfoHeaderSize ? " (info)"
                                                              : " (unknown)";
    std::string text = Reason("file size\t", file->Bytes().size(), "\nfile header\t",
                              layout.hasFileHeader ? "yes" : "no", "\nheader size\t", layout.headerSize, kind,
                              "\nwidth\t", layout.width, "\nheight\t", layout.height, "\nplanes\t", layout.planes,
                              "\nbit count\t", layout.bitCount, "\ncompression\t", layout.compression,
                              "\ncolour count\t", layout.colorCount, "\n");
    if (layout.hasMasks) {
        text += Reason("masks\t", Hex32(layout.masks[0]), " ", Hex32(layout.masks[1]), " ", Hex32(layout.masks[2]),
                       "\n");
    }
    return text + Reason("colour table offset\t", layout.tableOffset, "\npixel offset\t", layout.pixelOffset, "\n");
}

int WriteError(std::string_view what) {
    std::fprintf(stderr, "dibdump: write error: %.*s\n", static_cast<int>(what.size()), what.data());
    return kWriteError;
}

// Writes bytes to path; an empty string, or why not.
std::string WriteFile(const char* path, const std::uint8_t* bytes, std::size_t size) {
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr) {
        return Reason(Escape(path), ": ", std::strerror(errno));
    }
    const bool written = std::fwrite(bytes, 1, size, out) == size;
    const int writeErrno = errno;
    if (std::fclose(out) != 0 || !written) {
        return Reason(Escape(path), ": ", std::strerror(written ? errno : writeErrno));
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        const std::string_view usage = kUsageText.substr(0, kUsageText.find("\n\n") + 1);
        std::fwrite(usage.data(), 1, usage.size(), stderr);
        return kUsage;
    }
    // A closed standard output would be taken by the next file opened, and
    // the answer written into it.
    if (struct stat output {}; fstat(STDOUT_FILENO, &output) != 0) {
        return WriteError(std::strerror(errno));
    }
    std::string out;
    int status = kLoaded;
    if (options->help) {
        out = kUsageText;
    } else {
        // One mapping for both, so -v describes the very bytes that are decoded.
        DibRefusal openFailure;
        const std::optional<MappedFile> file = MappedFile::Open(options->file, &openFailure);
        if (options->verbose) {
            out += DescribeHeaders(file);
        }
        const DibDecodeResult result =
            file ? DecodeMappedFile(*file) : DibDecodeResult{openFailure.error, openFailure.reason, nullptr};
        if (!result.image) {
            if (options->verbose) {
                out += "reason\t" + Escape(result.reason) + "\n";
            }
            out += "refused\t" + Escape(DibErrorMessage(result.error, options->file)) + "\n";
            status = kRefused;
        } else {
            const RgbImageRecord& image = *result.image;
            const std::size_t size = std::size_t{3} * static_cast<std::size_t>(image.sizeX) * image.sizeY;
            if (options->rawOut != nullptr) {
                if (const std::string failure = WriteFile(options->rawOut, image.data.get(), size); !failure.empty()) {
                    return WriteError(failure);
                }
            }
            out += Reason("ok\t", image.sizeX, "\t", image.sizeY, "\t", Sha256Hex(image.data.get(), size), "\n");
        }
    }
    // An answer that cannot be written must not pass for one that was;
    // closing flushes what is still buffered, and says if that failed.
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fclose(stdout) != 0) {
        return WriteError(std::strerror(errno));
    }
    return status;
}
