// dibdump, and so the loader, gives every file of the public corpus and of our
// set written by real encoders exactly the line its manifest holds:
// "ok WIDTH HEIGHT SHA256" or "refused MESSAGE", tab-separated; with -v, a
// refused file also gets a reason line right before it.

#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include "dib_test_support.h"

namespace {

struct ManifestRow {
    std::string dir;
    std::string file;
    std::string line;  // what dibdump must print, without the newline
};

void PrintTo(const ManifestRow& row, std::ostream* os) { *os << row.file; }

std::vector<ManifestRow> ReadManifest(const std::string& dir) {
    std::ifstream in(dir + "/expected.tsv");
    std::vector<ManifestRow> rows;
    std::string line;
    std::getline(in, line);  // column names
    while (std::getline(in, line)) {
        const std::size_t tab = line.find('\t');
        rows.push_back({dir, line.substr(0, tab), line.substr(tab + 1)});
    }
    return rows;
}

std::vector<ManifestRow> AllRows() {
    std::vector<ManifestRow> rows = ReadManifest(DIB_TEST_DATA_DIR "/corpus");
    const std::vector<ManifestRow> encoded = ReadManifest(DIB_TEST_DATA_DIR "/encoders");
    rows.insert(rows.end(), encoded.begin(), encoded.end());
    return rows;
}

class Corpus : public ::testing::TestWithParam<ManifestRow> {};

TEST_P(Corpus, DibdumpPrintsTheManifestLine) {
    const ManifestRow& row = GetParam();
    const std::string command = std::string(DIBDUMP) + " -v '" + row.dir + "/" + row.file + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = pclose(pipe);
    ASSERT_TRUE(output.ends_with("\n" + row.line + "\n")) << output;
    const bool refused = row.line.starts_with("refused\t");
    const std::size_t lastLine = output.size() - row.line.size() - 1;
    const std::size_t reasonLine = output.rfind('\n', lastLine - 2) + 1;
    EXPECT_EQ(refused, output.compare(reasonLine, 7, "reason\t") == 0 && reasonLine + 8 < lastLine) << output;
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), row.line.starts_with("ok\t") ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Files, Corpus, ::testing::ValuesIn(AllRows()),
                         [](const ::testing::TestParamInfo<ManifestRow>& info) {
                             std::string name = info.param.dir.substr(info.param.dir.rfind('/') + 1) + "_";
                             for (const char c : info.param.file) {
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
