// dibdump, and so the loader, gives every file of the public corpus and of our
// set written by real encoders exactly the line its manifest holds:
// "ok WIDTH HEIGHT SHA256" or "refused MESSAGE", tab-separated, and exits 0
// or 1; with -v, a refused file also gets a reason line right before it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(Corpus, DibdumpPrintsTheManifestLineOfEveryFile) {
    for (const std::string dir : {DIB_TEST_DATA_DIR "/corpus", DIB_TEST_DATA_DIR "/encoders"}) {
        std::ifstream manifest(dir + "/expected.tsv");
        std::string row;
        std::getline(manifest, row);  // column names
        while (std::getline(manifest, row)) {
            const std::string file = row.substr(0, row.find('\t'));
            const std::string line = row.substr(file.size() + 1);
            FILE* pipe = popen((DIBDUMP " -v '" + dir + "/" + file + "'").c_str(), "r");
            std::vector<std::string> lines;
            char buffer[512];
            while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
                lines.emplace_back(buffer);
            }
            const int status = pclose(pipe);
            ASSERT_GE(lines.size(), 2u) << file;
            EXPECT_EQ(lines.back(), line + "\n") << file;
            const bool refused = line.starts_with("refused\t");
            const std::string& before = lines[lines.size() - 2];
            EXPECT_EQ(before.starts_with("reason\t") && before.size() > 8, refused) << file << ": " << before;
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == (refused ? 1 : 0)) << file;
        }
    }
}

}  // namespace
