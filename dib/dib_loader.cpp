#include "dib/dib_loader.h"

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
    const std::string path(name);
    const std::optional<MappedFile> file = MappedFile::Open(path);
    if (!file) {
        // Built as a string, so a name of any length is shown whole.
        ShowMessage(kErrorCaption, "Failed to open DIB file " + path + ".\n");
        return nullptr;
    }
    DibDecodeResult result = DecodeDibImage(file->Bytes());
    if (result.error != DibError::kNone) {
        ShowMessage(kErrorCaption, DibErrorMessage(result.error));
        return nullptr;
    }
    return std::move(result.image);
}
