// dibdump as scripts use it: one answer line, an exit status for each outcome,
// never an answer lost without a word, never raw control bytes on a terminal.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>

#include "temp_dir.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs "dibdump ARGUMENTS" through the shell in dir. The arguments come last,
// so that their own redirections win.
Outcome RunDibdump(const TempDir& dir, const std::string& arguments) {
    const std::string command = "cd '" + dir.path.string() + "' && " DIBDUMP " >.out 2>.err " + arguments;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir.Read(".out"), dir.Read(".err")};
}

TEST(Dibdump, ExitStatusesAndWhatGoesWhere) {
    const TempDir dir;
    dir.Write("good.bmp", Bmp({{0x010203, 0x040506}}));
    dir.Write("empty.bmp", {});
    ASSERT_EQ(mkfifo((dir / "fifo.bmp").c_str(), 0600), 0);  // opening it must not wait for a writer
    const std::string longName(300, 'n');
    const std::string usage = "usage: dibdump [-v] [--raw OUT] FILE\n       dibdump --help\n";
    const struct {
        std::string arguments;
        int status;
        std::string out;  // the whole output, or its end when it starts with "..."
        std::string err;
    } cases[] = {
        {"good.bmp", 0, "ok\t2\t1\t7192385c3c0605de55bb9476ce1d90748190ecb32a8eed7f5207b30cf6a1fe89\n", ""},
        {"--raw raw.rgb good.bmp", 0, "...7192385c3c0605de55bb9476ce1d90748190ecb32a8eed7f5207b30cf6a1fe89\n", ""},
        {"--help", 0, "...Exit status: 0 loaded, 1 refused, 2 usage error, 3 write error.\n", ""},
        {"-v missing.bmp", 1,
         "header\t(file cannot be opened)\nreason\tNo such file or directory\nrefused\tFailed to open DIB file "
         "missing.bmp.\\n\n", ""},
        {"-v .", 1, "...reason\tIs a directory\nrefused\tFailed to open DIB file ..\\n\n", ""},
        {"-v empty.bmp", 1, "...reason\tempty file\nrefused\tFailed to open DIB file empty.bmp.\\n\n", ""},
        {"-v fifo.bmp", 1, "...reason\tnot a regular file\nrefused\tFailed to open DIB file fifo.bmp.\\n\n", ""},
        {"-v " + longName, 1,
         "...reason\tFile name too long\nrefused\tFailed to open DIB file " + longName + ".\\n\n", ""},
        {"\"$(printf 'a\\033[31m\\\\b\\n\\177.bmp')\"", 1,
         "refused\tFailed to open DIB file a\\x1b[31m\\\\b\\n\\x7f.bmp.\\n\n", ""},
        {"", 2, "", usage},
        {"-x good.bmp", 2, "", usage},
        {"good.bmp >/dev/full", 3, "", "dibdump: write error: No space left on device\n"},
        {"good.bmp >&-", 3, "", "dibdump: write error: Bad file descriptor\n"},
        {"--raw /dev/full good.bmp", 3, "", "dibdump: write error: /dev/full: No space left on device\n"},
    };
    for (const auto& c : cases) {
        const Outcome outcome = RunDibdump(dir, c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.arguments;
        if (c.out.starts_with("...")) {
            EXPECT_TRUE(outcome.out.ends_with(c.out.substr(3))) << c.arguments << ": " << outcome.out;
        } else {
            EXPECT_EQ(outcome.out, c.out) << c.arguments;
        }
        EXPECT_EQ(outcome.err, c.err) << c.arguments;
    }
    EXPECT_EQ(dir.Read("raw.rgb"), std::string("\1\2\3\4\5\6", 6));
}

// dibdump, and so the loader, gives every file of the public corpus and of our
// set written by real encoders exactly the line its manifest holds:
// "ok WIDTH HEIGHT SHA256" or "refused MESSAGE", tab-separated, and exits 0
// or 1; with -v, a refused file also gets a reason line right before it.
TEST(Dibdump, GivesEveryCorpusFileItsManifestLine) {
    const TempDir dir;
    for (const std::string folder : {DIB_TEST_DATA_DIR "/corpus", DIB_TEST_DATA_DIR "/encoders"}) {
        std::ifstream manifest(folder + "/expected.tsv");
        std::string row;
        std::getline(manifest, row);  // column names
        while (std::getline(manifest, row)) {
            const std::string file = row.substr(0, row.find('\t'));
            const std::string line = row.substr(file.size() + 1) + "\n";
            const bool refused = line.starts_with("refused\t");
            const Outcome outcome = RunDibdump(dir, "-v '" + folder + "/" + file + "'");
            EXPECT_EQ(outcome.status, refused ? 1 : 0) << file;
            ASSERT_TRUE(outcome.out.ends_with(line)) << file << ": " << outcome.out;
            const std::string before = outcome.out.substr(0, outcome.out.size() - line.size());
            const std::string reason = before.substr(before.rfind('\n', before.size() - 2) + 1);
            EXPECT_EQ(reason.starts_with("reason\t") && reason.size() > 8, refused) << file << ": " << reason;
        }
    }
}

}  // namespace
