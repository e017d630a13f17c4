// dibdump: what the loader makes of a bitmap file.
//
//   dibdump [-v] [--raw OUT] FILE
//
// Prints "ok<TAB>WIDTH<TAB>HEIGHT<TAB><sha256 of the packed RGB bytes>" and
// exits 0, or "refused<TAB><message>" and exits 1. -v first prints what the
// headers say; --raw also writes the packed bytes to OUT.

#include <openssl/evp.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "dib/dib_layout.h"
#include "dib/dib_loader.h"
#include "dib/mapped_file.h"
#include "dib/message_sink.h"

namespace {

constexpr int kUsageStatus = 2;

struct Options {
    bool verbose = false;
    const char* rawOut = nullptr;
    const char* file = nullptr;
};

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-v") == 0) {
            options.verbose = true;
        } else if (std::strcmp(argv[i], "--raw") == 0 && i + 1 < argc) {
            options.rawOut = argv[++i];
        } else if (options.file == nullptr && argv[i][0] != '-') {
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

std::string Sha256Hex(const std::uint8_t* bytes, std::size_t size) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes, size, digest, &length, EVP_sha256(), nullptr) != 1) {
        return "sha256-failed";
    }
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", digest[i]);
        hex += pair;
    }
    return hex;
}

// The message as one field: its newline written as backslash and n.
std::string EscapeNewlines(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

void PrintHeaders(const char* name) {
    const std::optional<MappedFile> file = MappedFile::Open(name);
    if (!file) {
        std::cout << "header\t(file cannot be opened)\n";
        return;
    }
    DibLayout layout;
    const DibError error = ParseDibLayout(file->Bytes(), layout);
    // The fields read before a refusal are still worth seeing.
    std::cout << "file size\t" << file->Bytes().size() << '\n'
              << "file header\t" << (layout.hasFileHeader ? "yes" : "no") << '\n'
              << "header size\t" << layout.headerSize
              << (layout.headerSize == kCoreHeaderSize   ? " (core)"
                  : layout.headerSize == kInfoHeaderSize ? " (info)"
                                                         : " (unknown)")
              << '\n'
              << "width\t" << layout.width << "\nheight\t" << layout.height << "\nplanes\t" << layout.planes
              << "\nbit count\t" << layout.bitCount << "\ncompression\t" << layout.compression
              << "\ncolour count\t" << layout.colorCount << '\n';
    if (layout.hasMasks) {
        char masks[64];
        std::snprintf(masks, sizeof masks, "%08x %08x %08x", layout.masks[0], layout.masks[1], layout.masks[2]);
        std::cout << "masks\t" << masks << '\n';
    }
    std::cout << "colour table offset\t" << layout.tableOffset << "\npixel offset\t" << layout.pixelOffset << '\n';
    if (error != DibError::kNone) {
        std::cout << "layout\t" << DibErrorMessage(error) << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: dibdump [-v] [--raw OUT] FILE\n";
        return kUsageStatus;
    }
    if (options->verbose) {
        PrintHeaders(options->file);
    }

    std::string message;
    SetMessageSink([&message](std::string_view, std::string_view text) { message += text; });
    const std::unique_ptr<RgbImageRecord> image = LoadDibImage(options->file);
    if (!image) {
        std::cout << "refused\t" << EscapeNewlines(message) << '\n';
        return 1;
    }

    const std::size_t size = std::size_t{3} * image->sizeX * image->sizeY;
    if (options->rawOut != nullptr) {
        std::ofstream raw(options->rawOut, std::ios::binary);
        raw.write(reinterpret_cast<const char*>(image->data.get()), static_cast<std::streamsize>(size));
        if (!raw) {
            std::cerr << "dibdump: cannot write " << options->rawOut << '\n';
            return kUsageStatus;
        }
    }
    std::cout << "ok\t" << image->sizeX << '\t' << image->sizeY << '\t' << Sha256Hex(image->data.get(), size) << '\n';
    return 0;
}
