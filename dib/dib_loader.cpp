#include "dib/dib_loader.h"

#include <new>
#include <string>

#include "dib/mapped_file.h"
#include "dib/message_sink.h"
#include "dib/utf16.h"

std::unique_ptr<RgbImageRecord> LoadDibImage(const char* name) {
    return LoadDibImageCore(name);
}

std::unique_ptr<RgbImageRecord> LoadDibImageWide(const char16_t* name) {
    return LoadDibImageCore(Utf16ToUtf8(name));
}

std::unique_ptr<RgbImageRecord> LoadDibImageCore(std::string_view name) {
    DibDecodeResult result = ReadDibFile(std::string(name));
    if (result.error != DibError::kNone) {
        ShowMessage(kErrorCaption, DibErrorMessage(result.error, name));
        return nullptr;
    }
    return std::move(result.image);
}

DibDecodeResult ReadDibFile(const std::string& path) {
    try {
        DibRefusal failure;
        const std::optional<MappedFile> file = MappedFile::Open(path, &failure);
        if (!file) {
            return {failure.error, std::move(failure.reason), nullptr};
        }
        return DecodeMappedFile(*file);
    } catch (const std::bad_alloc&) {
        // Any step may find memory short; the reason fits in the string
        // itself, so saying so needs none.
        return {DibError::kOutOfMemory, "out of memory", nullptr};
    }
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
