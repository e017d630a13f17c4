#include "dib/dib_loader.h"

#include <new>
#include <string>

#include "dib/mapped_file.h"
#include "dib/message_sink.h"

namespace {

// Maps the file that open gives and decodes it: whatever the step, memory
// that runs short is "Out of memory.".
DibDecodeResult MapAndDecode(const auto& open) {
    try {
        DibRefusal failure;
        const std::optional<MappedFile> file = open(&failure);
        if (!file) {
            return {failure.error, std::move(failure.reason), nullptr};
        }
        return DecodeMappedFile(*file);
    } catch (const std::bad_alloc&) {
        // The reason fits in the string itself: saying so needs no memory.
        return {DibError::kOutOfMemory, "out of memory", nullptr};
    }
}

// The loader proper: open chooses how the name is opened, shownName how an
// open failure shows it. Tells of any failure once.
std::unique_ptr<RgbImageRecord> LoadDibImageCore(const auto& open, std::string_view shownName) {
    DibDecodeResult result = MapAndDecode(open);
    if (result.error != DibError::kNone) {
        ShowMessage(kErrorCaption, DibErrorMessage(result.error, shownName));
        return nullptr;
    }
    return std::move(result.image);
}

}  // namespace

std::unique_ptr<RgbImageRecord> LoadDibImage(const char* name) {
    return LoadDibImageCore([name](DibRefusal* failure) { return MappedFile::Open(name, failure); }, name);
}

std::unique_ptr<RgbImageRecord> LoadDibImageWide(const char16_t* name) {
    return LoadDibImageCore([name](DibRefusal* failure) { return MappedFile::OpenWide(name, failure); },
                            MappedFile::ShownName(name));
}

DibDecodeResult ReadDibFile(const std::string& path) {
    return MapAndDecode([&path](DibRefusal* failure) { return MappedFile::Open(path, failure); });
}

DibDecodeResult DecodeMappedFile(const MappedFile& file) {
    DibDecodeResult result = DecodeDibImage(file.Bytes());
    if (file.Shrank()) {
        // Whatever was decoded came partly from zeros, not from the file.
        return {DibError::kConversionError,
                Reason("the file was cut short while it was being read (it had ", file.Bytes().size(),
                       " bytes when opened)"),
                nullptr};
    }
    return result;
}
