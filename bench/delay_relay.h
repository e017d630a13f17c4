#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A display on this machine's TCP loopback that passes all it is sent on to
// an X server's socket and back, each chunk held a fixed time on the way:
// a client of it sees the server as over a slow link (ssh -X, a remote
// desktop), one round trip costing twice that time.
class DelayRelay {
public:
    DelayRelay(std::string serverSocket, std::chrono::milliseconds delay);
    ~DelayRelay();
    DelayRelay(const DelayRelay&) = delete;
    DelayRelay& operator=(const DelayRelay&) = delete;

    // The display name for clients: "127.0.0.1:N".
    std::string Display() const { return "127.0.0.1:" + std::to_string(number_); }
    int Number() const { return number_; }

private:
    void Accept();

    const std::string serverSocket_;
    const std::chrono::milliseconds delay_;
    int listener_ = -1;
    int number_ = 0;
    std::mutex mutex_;
    std::vector<int> sockets_;
    std::vector<std::thread> pumps_;
    std::thread acceptor_;
};
