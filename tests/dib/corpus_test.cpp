// Every file of the public corpus, and of our set written by real encoders,
// gives exactly the result its manifest says.

#include <openssl/evp.h>

#include <fstream>
#include <sstream>

#include "dib_test_support.h"

namespace {

struct ManifestRow {
    std::string dir;
    std::string file;
    std::string result;  // "ok" or "refused"
    std::string detail;  // width, height, hash; or the message with "\n" escaped
};

std::vector<ManifestRow> ReadManifest(const std::string& dir) {
    std::ifstream in(dir + "/expected.tsv");
    std::vector<ManifestRow> rows;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        ManifestRow row;
        row.dir = dir;
        std::getline(fields, row.file, '\t');
        std::getline(fields, row.result, '\t');
        std::getline(fields, row.detail);
        rows.push_back(row);
    }
    return rows;
}

std::string Sha256Hex(const RgbImageRecord& image) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(image.data.get(), std::size_t{3} * image.sizeX * image.sizeY, digest, &length, EVP_sha256(), nullptr);
    std::string hex;
    for (unsigned int i = 0; i < length; ++i) {
        hex += "0123456789abcdef"[digest[i] >> 4];
        hex += "0123456789abcdef"[digest[i] & 15];
    }
    return hex;
}

std::string EscapeNewlines(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

void PrintTo(const ManifestRow& row, std::ostream* os) { *os << row.file; }

class Corpus : public ::testing::TestWithParam<ManifestRow> {};

TEST_P(Corpus, MatchesManifest) {
    const ManifestRow& row = GetParam();
    MessageRecorder recorder;
    const auto image = LoadDibImage((row.dir + "/" + row.file).c_str());
    if (row.result == "ok") {
        ASSERT_NE(image, nullptr) << (recorder.messages.empty() ? "" : recorder.messages[0].text);
        EXPECT_TRUE(recorder.messages.empty());
        std::ostringstream got;
        got << image->sizeX << '\t' << image->sizeY << '\t' << Sha256Hex(*image);
        EXPECT_EQ(got.str(), row.detail);
    } else {
        EXPECT_EQ(image, nullptr);
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].caption, "Error");
        EXPECT_EQ(EscapeNewlines(recorder.messages[0].text), row.detail);
    }
}

TEST(CorpusManifest, ListsEveryFile) {
    EXPECT_EQ(ReadManifest(DIB_TEST_DATA_DIR "/corpus").size(), 91u);
    EXPECT_EQ(ReadManifest(DIB_TEST_DATA_DIR "/encoders").size(), 20u);
}

std::vector<ManifestRow> AllRows() {
    std::vector<ManifestRow> rows = ReadManifest(DIB_TEST_DATA_DIR "/corpus");
    const std::vector<ManifestRow> encoded = ReadManifest(DIB_TEST_DATA_DIR "/encoders");
    rows.insert(rows.end(), encoded.begin(), encoded.end());
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(AllRows()),
                         [](const ::testing::TestParamInfo<ManifestRow>& info) {
                             std::string name;
                             const std::string id = info.param.dir.substr(info.param.dir.rfind('/') + 1) + "_" + info.param.file;
                             for (const char c : id) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
