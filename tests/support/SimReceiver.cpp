#include "SimReceiver.h"

#include "EventLoopWait.h"

#include <algorithm>
#include <chrono>
#include <utility>
#include <poll.h>
#include <unistd.h>

namespace drmq::test {

TSimReceiver::TSimReceiver(TPtyPair &pty, TSimFamily family)
    : pty_(pty), family_(family), reader_([this] { ReadLoop(); }) {}

TSimReceiver::~TSimReceiver() {
    stop_ = true;
    reader_.join();
}

void TSimReceiver::ReadLoop() {
    while (!stop_) {
        pollfd in{pty_.FarFd(), POLLIN, 0};
        if (::poll(&in, 1, 20) <= 0 || !(in.revents & POLLIN)) continue;
        char bytes[4096];
        const ssize_t r = ::read(pty_.FarFd(), bytes, sizeof bytes);
        if (r <= 0) continue;
        std::lock_guard<std::mutex> lock(mutex_);
        received_.append(bytes, static_cast<size_t>(r));
    }
}

std::string TSimReceiver::Received(size_t count, int timeoutMs) {
    // The window's events are served meanwhile: a link's replies come back through them.
    ProcessEventsUntil(
        [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            return received_.size() >= count;
        },
        timeoutMs);
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(received_, {});
}

std::vector<std::string> TSimReceiver::Split(const std::string &bytes) const {
    std::vector<std::string> commands;
    std::string current;
    auto finish = [&] {
        if (!current.empty()) commands.push_back(current);
        current.clear();
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        current.push_back(c);
        switch (family_) {
        case TSimFamily::Raw:
            break;
        case TSimFamily::YaesuCat:
            if (current.size() == 5) finish();
            break;
        case TSimFamily::CiV:
            if (c == '\xFD') finish();
            break;
        case TSimFamily::Text:
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') break;
            if (c == '\r' || c == '\n' || c == ';') finish();
            break;
        }
    }
    finish();
    return commands;
}

void TSimReceiver::SendFrg100Reading(unsigned char reading) const {
    pty_.Write(std::string("\x00\x00\x00", 3) + static_cast<char>(reading) + '\xF7');
}

} // namespace drmq::test
