// round-trips: the X round trips in a log that xtrace wrote, stretch by stretch.
//
//   round-trips [-v] LOG [OFFSET...]
//
// The offsets (bytes into the log, at the starts of lines) cut it into
// stretches: from the start to the first, between each two, from the last to
// the end. For each stretch, one line:
//   stretch N: A round trips, D of them drawing, O its own: Request count, ...
// A round trip is a wait for the server: a connection's set-up, or the
// answers (replies or errors) to requests sent together, which end it once
// every request that gets one has had its answer. (xtrace may log a batch's
// first answers before the rest of the batch: that is not a wait.) Mesa's
// round trips for a frame are told apart as drawing: how many frames a
// change of size takes depends on when events arrive. The others, the
// program's own, are counted by the request the first answer is for; with
// -v each is listed with the requests sent since the last wait, the last of
// them first.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A line of the log: a request, an answer, or either half of a connection's set-up.
struct Message {
    std::string connection, serial, name, line;
    bool request = false;
    std::size_t offset = 0;  // of the line, in the log
};

std::vector<Message> Parse(const std::string& log) {
    std::vector<Message> messages;
    for (std::size_t offset = 0, end; offset < log.size(); offset = end + 1) {
        end = std::min(log.find('\n', offset), log.size());
        const std::string line = log.substr(offset, end - offset);
        if (line.size() < 8 || line[3] != ':' || line[5] != ':') {
            continue;
        }
        Message m{line.substr(0, 3), line.substr(6, 4), "", line, line[4] == '<', offset};
        const std::size_t request = line.find("Request("), reply = line.find(": Reply to ");
        std::size_t name = std::string::npos;
        if (line[6] == ' ' && (m.request || line.compare(7, 7, "Success") == 0)) {
            m.serial = m.name = "set-up";
        } else if (m.request && request != std::string::npos) {
            name = line.find("): ", request) + 3;
        } else if (!m.request && reply != std::string::npos) {
            name = reply + 11;
        } else if (!m.request && line.compare(10, 7, ":Error ") == 0) {
            m.name = "Error";
        } else {
            continue;  // an event
        }
        if (name != std::string::npos) {
            m.name = line.substr(name, line.find_first_of(" :", name) - name);
        }
        messages.push_back(std::move(m));
    }
    return messages;
}

// For each answer, the request it answers; the requests that are answered.
struct Answers {
    std::map<std::size_t, std::size_t> requestOf;  // by the answer's index
    std::set<std::size_t> answered;
};

Answers MatchAnswers(const std::vector<Message>& messages) {
    Answers answers;
    std::map<std::string, std::size_t> last;  // the last request, by connection and serial
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const std::string key = messages[i].connection + messages[i].serial;
        if (messages[i].request) {
            last[key] = i;
        } else if (const auto asked = last.find(key); asked != last.end()) {
            answers.requestOf[i] = asked->second;
            answers.answered.insert(asked->second);
        }
    }
    return answers;
}

// Mesa shows a frame by asking the window's size (GetGeometry), replacing its
// shared-memory image when the size changed (Detach, Attach, each synced with
// GetInputFocus), then PutImage, synced. The requests from that GetGeometry
// to that sync are the frame's, where nothing else came between them.
std::set<std::size_t> FrameRequests(const std::vector<Message>& messages) {
    const std::set<std::string> mesa{"GetGeometry", "Detach", "Attach", "GetInputFocus"};
    std::set<std::size_t> frame;
    std::map<std::string, std::vector<std::size_t>> since;  // by connection
    std::set<std::string> afterPut;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const Message& m = messages[i];
        if (!m.request) {
            continue;
        }
        std::vector<std::size_t>& run = since[m.connection];
        if (afterPut.erase(m.connection) != 0 && m.name == "GetInputFocus") {
            frame.insert(i);
        }
        if (m.name == "PutImage") {
            auto start = run.end();
            while (start != run.begin() && messages[*(start - 1)].name != "GetGeometry") {
                --start;
            }
            frame.insert(start == run.begin() ? run.begin() : start - 1, run.end());
            frame.insert(i);
            afterPut.insert(m.connection);
            run.clear();
        } else if (mesa.contains(m.name)) {
            run.push_back(i);
        } else {
            run.clear();
        }
    }
    return frame;
}

// The stretch of messages from first to last (offsets in the log).
void Report(int stretch, const std::vector<Message>& messages, const Answers& answers,
            const std::set<std::size_t>& frame, std::size_t first, std::size_t last, bool verbose) {
    int all = 0, drawing = 0;
    std::map<std::string, int> own;
    std::ostringstream list;
    std::map<std::string, std::set<std::size_t>> waiting;    // answers still to come, by connection
    std::map<std::string, std::vector<std::size_t>> sent;    // since the last wait, by connection
    std::map<std::string, std::size_t> firstAnswer;           // of the wait under way, by connection
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const Message& m = messages[i];
        if (m.offset < first || m.offset >= last) {
            continue;
        }
        if (m.request) {
            sent[m.connection].push_back(i);
            if (answers.answered.contains(i)) {
                waiting[m.connection].insert(i);
            }
            continue;
        }
        const auto asked = answers.requestOf.find(i);
        std::set<std::size_t>& still = waiting[m.connection];
        if (asked == answers.requestOf.end() || still.erase(asked->second) == 0) {
            continue;  // asked before the stretch
        }
        firstAnswer.try_emplace(m.connection, asked->second);
        if (!still.empty()) {
            continue;
        }
        ++all;
        const std::size_t answered = firstAnswer[m.connection];
        firstAnswer.erase(m.connection);
        std::vector<std::size_t>& batch = sent[m.connection];
        if (frame.contains(answered)) {
            ++drawing;
        } else {
            ++own[messages[answered].name];
            for (auto j = batch.rbegin(); verbose && j != batch.rend(); ++j) {
                list << (j == batch.rbegin() ? "  " : "      ") << messages[*j].line.substr(0, 160) << "\n";
            }
        }
        batch.clear();
    }
    std::printf("stretch %d: %d round trips, %d of them drawing, %d its own:", stretch, all, drawing, all - drawing);
    for (const auto& [name, count] : own) {
        std::printf(" %s %d", name.c_str(), count);
    }
    std::printf("\n%s", list.str().c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const bool verbose = argc > 1 && std::string(argv[1]) == "-v";
    if (argc < 2 + verbose) {
        std::fputs("usage: round-trips [-v] LOG [OFFSET...]\n", stderr);
        return 2;
    }
    std::ifstream file(argv[1 + verbose], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "round-trips: cannot read %s\n", argv[1 + verbose]);
        return 2;
    }
    const std::string log{std::istreambuf_iterator<char>(file), {}};
    std::vector<std::size_t> cuts{0};
    for (int i = 2 + verbose; i < argc; ++i) {
        cuts.push_back(std::min<std::size_t>(log.size(), std::strtoull(argv[i], nullptr, 10)));
    }
    cuts.push_back(log.size());
    const std::vector<Message> messages = Parse(log);
    const Answers answers = MatchAnswers(messages);
    const std::set<std::size_t> frame = FrameRequests(messages);
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        Report(static_cast<int>(i + 1), messages, answers, frame, cuts[i], cuts[i + 1], verbose);
    }
    return 0;
}
