// round-trips: the X round trips in a log that xtrace wrote, stretch by stretch.
//
//   round-trips [-v] LOG [OFFSET...]
//
// The offsets (bytes into the log, at the starts of lines) cut it into
// stretches: from the start to the first, between each two, from the last to
// the end. For each stretch, one line:
//   stretch N: A round trips, D of them drawing, O its own: Request count, ...
// A round trip is a wait for the server: a connection's set-up, or a reply,
// replies collected together counting once. Mesa's for a frame are told
// apart as drawing: how many frames a change of size takes depends on when
// events arrive. The others, the program's own, are counted by the request
// the first reply answers; with -v each is listed with the requests sent
// since the last wait, the last of them first.
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

// A line of the log: a request, a reply, or either half of a connection's set-up.
struct Message {
    std::string connection, serial, name, line;
    bool request = false;
};

std::vector<Message> Parse(const std::string& log) {
    std::vector<Message> messages;
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        if (line.size() < 8 || line[3] != ':' || line[5] != ':') {
            continue;
        }
        Message m{line.substr(0, 3), line.substr(6, 4), "", line, line[4] == '<'};
        const std::size_t request = line.find("Request("), reply = line.find(": Reply to ");
        std::size_t name = std::string::npos;
        if (line[6] == ' ' && (m.request || line.compare(7, 7, "Success") == 0)) {
            m.serial = m.name = "set-up";
        } else if (m.request && request != std::string::npos) {
            name = line.find("): ", request) + 3;
        } else if (!m.request && reply != std::string::npos) {
            name = reply + 11;
        } else {
            continue;  // an event or an error
        }
        if (name != std::string::npos) {
            m.name = line.substr(name, line.find_first_of(" :", name) - name);
        }
        messages.push_back(std::move(m));
    }
    return messages;
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

void Report(int stretch, const std::string& log, bool verbose) {
    const std::vector<Message> messages = Parse(log);
    const std::set<std::size_t> frame = FrameRequests(messages);
    int all = 0, drawing = 0;
    std::map<std::string, int> own;
    std::ostringstream list;
    std::map<std::string, std::size_t> requests;         // the last, by connection and serial
    std::map<std::string, std::vector<std::size_t>> sent;  // since the last wait, by connection
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const Message& m = messages[i];
        std::vector<std::size_t>& asked = sent[m.connection];
        if (m.request) {
            requests[m.connection + m.serial] = i;
            asked.push_back(i);
            continue;
        }
        if (asked.empty()) {
            continue;  // collected with the reply before
        }
        ++all;
        const auto answered = requests.find(m.connection + m.serial);
        if (answered != requests.end() && frame.contains(answered->second)) {
            ++drawing;
        } else {
            ++own[m.name];
            for (auto j = asked.rbegin(); verbose && j != asked.rend(); ++j) {
                list << (j == asked.rbegin() ? "  " : "      ") << messages[*j].line.substr(0, 160) << "\n";
            }
        }
        asked.clear();
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
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        Report(static_cast<int>(i + 1), log.substr(cuts[i], cuts[i + 1] > cuts[i] ? cuts[i + 1] - cuts[i] : 0), verbose);
    }
    return 0;
}
