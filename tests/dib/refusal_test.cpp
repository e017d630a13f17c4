// Refusals: the message family each belongs to, and the reason dibdump -v
// gives for it, naming the field, the value found and what would have been
// read. The first failing check wins, so each file has one fault. Refusals
// the corpus holds are pinned there.

#include "dib_test_support.h"

namespace {

struct RefusalCase {
    const char* what;
    Bytes file;
    DibError error;
    std::string reason;
};

constexpr DibError kLayout = DibError::kUnknownFormat;
constexpr DibError kConversion = DibError::kConversionError;
constexpr DibError kMemory = DibError::kOutOfMemory;
const std::string kNotRead = ": only 0 (none), 1 (RLE8), 2 (RLE4) and 3 (bit fields) are read";

const RefusalCase kCases[] = {
    {"CutFileHeader", {'B', 'M', 0, 0}, kLayout, "file too short for a file header at bytes 0 to 13: it has 4 bytes"},
    {"CutHeaderSize", {1, 2, 3}, kLayout, "file too short for the header size field at bytes 0 to 3: it has 3 bytes"},
    {"CutInfoHeader", [] { Bytes b = With([](TestBitmap&) {}); b.resize(40); return b; }(), kLayout,
     "file too short for a 40-byte info header at bytes 14 to 53: it has 40 bytes"},
    {"CutMasks", [] { Bytes file = With([](TestBitmap& b) { b.compression = 3; }); file.resize(60); return file; }(), kLayout,
     "file too short for the three bit-field masks at bytes 54 to 65: it has 60 bytes"},
    {"CutColourTable", With([](TestBitmap& b) { b.fileHeader = false, b.bitCount = 8, b.colorsUsed = 300; }), kLayout,
     "file too short for a colour table of 300 entries of 4 bytes at bytes 40 to 1239: it has 48 bytes"},
    {"Height", With([](TestBitmap& b) { b.height = 0; }), kConversion, "height 0: a picture needs at least one row"},
    {"BitFieldsAt24Bits", With([](TestBitmap& b) { b.compression = 3, b.masks = {0xFF0000, 0xFF00, 0xFF}; }),
     kConversion, "compression 3 (bit fields) needs 16 or 32 bits per pixel, not 24"},
    {"Rle8At24Bits", With([](TestBitmap& b) { b.compression = 1; }), kConversion,
     "compression 1 (RLE8) needs 8 bits per pixel, not 24"},
    {"Rle4At8Bits", With([](TestBitmap& b) { b.compression = 2, b.bitCount = 8, b.palette = {0}, b.colorsUsed = 1; }), kConversion,
     "compression 2 (RLE4) needs 4 bits per pixel, not 8"},
    {"Jpeg", With([](TestBitmap& b) { b.compression = 4; }), kConversion, "compression 4 (embedded JPEG)" + kNotRead},
    {"UnknownCompression", With([](TestBitmap& b) { b.compression = 11; }), kConversion, "compression 11" + kNotRead},
    {"MasksLeftOut",
     With([](TestBitmap& b) { b.bitCount = 32, b.compression = 3, b.masks = {0xFF, 0xFF00, 0xFF0000}, b.pixelOffset = 54; }),
     kConversion, "pixel data offset 54: the bit-field masks run to offset 66, so the file has no room for them"},
    {"GappedMask", With([](TestBitmap& b) { b.bitCount = 32, b.compression = 3, b.masks = {0xFF, 0xF0F000, 0xFF0000}; }),
     kConversion, "green mask 0x00F0F000: a mask must be one run of set bits"},
    {"WideMaskAt16Bits", With([](TestBitmap& b) { b.bitCount = 16, b.compression = 3, b.masks = {0x1F, 0x3E0, 0x1FC00}; }),
     kConversion, "blue mask 0x0001FC00: a 16-bit pixel has no bits above bit 15"},
    // The size limit is checked before the pixel data: 4 x 536870911 bytes
    // of rows just fit, one row more does not.
    {"JustFits", With([](TestBitmap& b) { b.width = 1, b.height = 536870911; }), kConversion,
     "pixel data: 536870911 rows of 4 bytes from offset 54 need 2147483698 bytes, the file has 62"},
    {"TooLarge", With([](TestBitmap& b) { b.width = 1, b.height = 536870912; }), kMemory,
     "1 x 536870912 pixels need 2147483648 bytes as 24-bit rows: the limit is 2147483647"},
    {"CutRows", With([](TestBitmap& b) { b.pixels.pop_back(); }), kConversion,
     "pixel data: 1 rows of 8 bytes from offset 54 need 62 bytes, the file has 61"},
    {"RunLengthOutside", RunLengthFile(8, 4, 1, {}), kConversion,
     "run-length data: offset 66 is not inside the file (66 bytes)"},
    {"CutCode", RunLengthFile(8, 4, 1, {1, 0, 1}), kConversion,
     "run-length data: a code at byte 68 goes past the end of the file (69 bytes)"},
    {"CutDelta", RunLengthFile(8, 4, 1, {0, 2, 1}), kConversion,
     "run-length data: a delta at byte 66 goes past the end of the file (69 bytes)"},
    {"CutLiteral", RunLengthFile(8, 4, 1, {0, 4, 0, 0, 0}), kConversion,
     "run-length data: a literal run of 4 pixels at byte 66 goes past the end of the file (71 bytes)"},
};

TEST(Refusals, GiveTheirMessageAndSayWhy) {
    for (const RefusalCase& c : kCases) {
        const DibDecodeResult result = DecodeDibImage(c.file);
        EXPECT_EQ(result.error, c.error) << c.what;
        EXPECT_EQ(result.reason, c.reason) << c.what;
        EXPECT_EQ(result.image, nullptr) << c.what;
    }
}

}  // namespace
