#include "delay_relay.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <deque>
#include <stdexcept>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFirstTcpDisplay = 6000;

// Copies from one socket to the other, each chunk as it was read, delay after
// it was read, in order; at the end of from, ends to's writing half.
void Pump(int from, int to, std::chrono::milliseconds delay) {
    std::deque<std::pair<Clock::time_point, std::string>> held;
    bool open = true;
    while (open || !held.empty()) {
        int wait = -1;
        if (!held.empty()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(held.front().first - Clock::now());
            wait = static_cast<int>(std::max<long>(0, left.count()));
        }
        pollfd source{from, POLLIN, 0};
        if (open && poll(&source, 1, wait) > 0) {
            char buffer[1 << 16];
            const ssize_t got = read(from, buffer, sizeof buffer);
            if (got <= 0) {
                open = false;
            } else {
                held.emplace_back(Clock::now() + delay, std::string(buffer, static_cast<std::size_t>(got)));
            }
        } else if (!open) {
            std::this_thread::sleep_until(held.front().first);
        }
        while (!held.empty() && held.front().first <= Clock::now()) {
            const std::string& chunk = held.front().second;
            for (std::size_t sent = 0; sent < chunk.size();) {
                const ssize_t put = write(to, chunk.data() + sent, chunk.size() - sent);
                if (put <= 0) {
                    return;  // the other end is gone
                }
                sent += static_cast<std::size_t>(put);
            }
            held.pop_front();
        }
    }
    shutdown(to, SHUT_WR);
}

}  // namespace

DelayRelay::DelayRelay(std::string serverSocket, std::chrono::milliseconds delay)
    : serverSocket_(std::move(serverSocket)), delay_(delay), listener_(socket(AF_INET, SOCK_STREAM, 0)) {
    // The first display number whose port is free.
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (number_ = 100;; ++number_) {
        address.sin_port = htons(static_cast<std::uint16_t>(kFirstTcpDisplay + number_));
        if (bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            break;
        }
        if (number_ > 1000) {
            throw std::runtime_error("no free port for the relay's display");
        }
    }
    listen(listener_, 8);
    acceptor_ = std::thread(&DelayRelay::Accept, this);
}

DelayRelay::~DelayRelay() {
    shutdown(listener_, SHUT_RDWR);
    acceptor_.join();
    close(listener_);
    {
        const std::lock_guard lock(mutex_);
        for (const int s : sockets_) {
            shutdown(s, SHUT_RDWR);
        }
    }
    for (std::thread& pump : pumps_) {
        pump.join();
    }
    for (const int s : sockets_) {
        close(s);
    }
}

void DelayRelay::Accept() {
    for (;;) {
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0) {
            return;
        }
        // X clients send small requests and wait: nothing may sit in a buffer.
        const int on = 1;
        setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        const int server = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, serverSocket_.c_str(), sizeof address.sun_path - 1);
        if (connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            close(server);
            close(client);
            continue;
        }
        const std::lock_guard lock(mutex_);
        sockets_.insert(sockets_.end(), {client, server});
        pumps_.emplace_back(Pump, client, server, delay_);
        pumps_.emplace_back(Pump, server, client, delay_);
    }
}
