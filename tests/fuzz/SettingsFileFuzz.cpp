// The settings file: read as the program reads it, then changed and put
// back into text as at shutdown.
#include "FuzzInput.h"

#include "core/IniFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    using namespace drmq;
    const std::string_view bytes = fuzz::Text(data, size);
    TIniFile ini(fuzz::AsFile(bytes));
    // The first line also serves as a section and a key name of its own.
    const std::string_view name = bytes.substr(0, bytes.find('\n'));
    for (std::string_view section : {std::string_view("Settings"), std::string_view("Presets"), name}) {
        for (std::string_view key : {std::string_view("QRG"), std::string_view("Receiver"), name}) {
            const bool exists = ini.ValueExists(section, key);
            if (!exists && ini.ReadString(section, key, "-") != "-") std::abort();
            if (ini.ReadString(section, key, "").size() > TIniFile::kMaxValueLength) std::abort();
            ini.ReadInteger(section, key, 7);
            ini.ReadBool(section, key, true);
        }
    }
    // Whatever the file held, the program's own keys are written and read back.
    ini.WriteString("Settings", "QRG", "6095");
    ini.WriteInteger("Colors", "Active", -1);
    if (ini.ReadString("Settings", "QRG", "") != "6095" || ini.ReadInteger("Colors", "Active", 0) != -1) std::abort();
    ini.Text();
    return 0;
}
