#include "SimKenwood.h"

#include <cstdio>
#include <poll.h>
#include <unistd.h>

namespace drmq::test {

TSimKenwood::TSimKenwood(TPtyPair &pty) : pty_(pty), reader_([this] { ReadLoop(); }) {}

TSimKenwood::~TSimKenwood() {
    stop_ = true;
    reader_.join();
}

std::vector<std::string> TSimKenwood::Commands() {
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

void TSimKenwood::ReadLoop() {
    std::string pending;
    while (!stop_) {
        pollfd in{pty_.FarFd(), POLLIN, 0};
        if (::poll(&in, 1, 20) <= 0 || !(in.revents & POLLIN)) continue;
        char bytes[256];
        const ssize_t r = ::read(pty_.FarFd(), bytes, sizeof bytes);
        if (r <= 0) continue;
        pending.append(bytes, static_cast<size_t>(r));
        for (size_t end; (end = pending.find(';')) != std::string::npos;) {
            const std::string command = pending.substr(0, end);
            pending.erase(0, end + 1);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                commands_.push_back(command);
            }
            const std::string reply = Answer(command);
            if (!reply.empty()) pty_.Write(reply);
        }
    }
}

std::string TSimKenwood::Answer(const std::string &command) {
    char text[64];
    const std::string name = command.substr(0, 2);
    const std::string argument = command.size() > 2 ? command.substr(2) : std::string();
    if ((name == "FA" || name == "FB") && !argument.empty()) {
        frequency_ = std::stoll(argument);
        return {};
    }
    if (name == "MD" && !argument.empty()) {
        mode_ = argument[0];
        return {};
    }
    if (!argument.empty()) return {}; // other settings are taken silently
    if (name == "ID") return "ID009;";
    if (name == "AI") return "AI0;";
    if (name == "FA" || name == "FB") {
        std::snprintf(text, sizeof text, "%s%011lld;", name.c_str(), static_cast<long long>(frequency_.load()));
        return text;
    }
    if (name == "MD") return std::string("MD") + mode_.load() + ";";
    if (name == "FL") return "FL002002;";
    if (name == "SM") return "SM0015;";
    if (name == "IF") {
        // Frequency, step, RIT, RIT/XIT/bank, memory, TX, mode, VFO, scan,
        // split, tone, tone number, shift.
        std::snprintf(text, sizeof text, "IF%011lld    +00000000000%c000000 ;",
                      static_cast<long long>(frequency_.load()), mode_.load());
        return text;
    }
    return {};
}

} // namespace drmq::test
