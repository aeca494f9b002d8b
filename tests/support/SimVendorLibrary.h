// Test support: puts the recording stand-ins of the makers' libraries into a
// program folder and reads back the calls they recorded. UI thread.
#pragma once

#include <string>
#include <vector>

namespace drmq::test {

class TSimVendorLibrary {
public:
    // Starts a fresh call log (DRMQ_FAKE_VENDOR_LOG) inside folder.
    explicit TSimVendorLibrary(const std::string &folder);
    ~TSimVendorLibrary();
    TSimVendorLibrary(const TSimVendorLibrary &) = delete;
    TSimVendorLibrary &operator=(const TSimVendorLibrary &) = delete;

    // Copies the stand-in for fileName ("libwrg3api.so", ...) into the folder.
    void Install(const std::string &fileName) const;
    // The calls recorded so far, one "<library> <entry> <arguments>" each.
    std::vector<std::string> Calls() const;
    // What OpenRadioDevice returns from now on.
    static void SetRadioHandle(int handle);

private:
    std::string folder_;
    std::string logPath_;
};

} // namespace drmq::test
