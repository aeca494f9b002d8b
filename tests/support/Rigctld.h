// Test support: Hamlib's rigctld with the dummy rig on a free loopback port,
// and a client of its text protocol that reads back what the rig was set to.
// Any one thread.
#pragma once

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace drmq::test {

// One connection to rigctld's text protocol, kept open for many commands.
class TRigctlConnection {
public:
    explicit TRigctlConnection(int port);
    ~TRigctlConnection();
    TRigctlConnection(const TRigctlConnection &) = delete;
    TRigctlConnection &operator=(const TRigctlConnection &) = delete;

    bool Connected() const { return socket_ >= 0; }
    // False once rigctld has closed or reset the connection.
    bool Usable() const { return socket_ >= 0 && !dropped_; }
    // Sends one command and returns the first `lines` lines of its reply
    // (fewer when none came within 10 s or the connection was dropped).
    std::vector<std::string> Ask(const std::string &command, size_t lines = 1);

private:
    int socket_ = -1;
    bool dropped_ = false;
    std::string pending_;
};

class TRigctld {
public:
    // Starts rigctld and waits until it accepts connections.
    TRigctld();
    // Lets a frozen rigctld go on, then ends it.
    ~TRigctld();
    TRigctld(const TRigctld &) = delete;
    TRigctld &operator=(const TRigctld &) = delete;

    int Port() const { return port_; }
    // "127.0.0.1:PORT", the address the program is given.
    std::string Address() const;
    bool Started() const { return pid_ > 0; }

    // One read-back command of the rigctl text protocol and the first `lines`
    // lines of its reply (fewer when none came within 10 s). One connection
    // serves all of them: rigctld under load resets some of many short-lived
    // connections. A connection it drops is replaced and the command sent
    // again, which is safe because read-backs change nothing.
    std::vector<std::string> Ask(const std::string &command, size_t lines = 1) const;
    // The dummy rig's frequency in Hz as text, "" when it does not answer.
    std::string Frequency() const;

    // Ends rigctld (the rig goes away) and starts it again on the same port.
    void Stop();
    void Restart();
    // SIGSTOP and SIGCONT: a server that accepts connections but never answers.
    void Freeze();
    void Thaw();

private:
    void Launch();
    int port_ = 0;
    mutable std::unique_ptr<TRigctlConnection> connection_;
    pid_t pid_ = -1;
    bool frozen_ = false;
};

} // namespace drmq::test
