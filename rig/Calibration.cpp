#include "rig/Calibration.h"

#include "core/RunErrors.h"

#include <algorithm>
#include <cerrno>
#include <fstream>

namespace drmq {

void ParseCalibrationLine(const std::string &line, TCalibrationTable &table) {
    std::string_view rest = line;
    std::string_view token; // the number taken last; empty before the first
    for (auto &row : table) {
        for (auto &cell : row) {
            if (rest.size() >= 2) {
                const size_t comma = rest.find(',');
                token = rest.substr(0, comma == std::string_view::npos ? 0 : comma);
                if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
            }
            cell = static_cast<std::uint8_t>(StrToInt(token) & 0xFF);
        }
    }
}

void LoadCalibrationFile(const std::string &path, TCalibrationTable &table) {
    std::ifstream in(path, std::ios::binary);
    if (!in) RaiseFileErrorFromErrno(errno);
    std::string line;
    char c;
    while (in.get(c) && c != '\r' && c != '\n') line.push_back(c);
    if (in.bad()) RaiseFileErrorFromErrno(errno);
    ParseCalibrationLine(line, table);
}

int CalibrationColumn(int khz) {
    return std::clamp(khz / 500 - 1, 0, kCalibrationColumns - 1);
}

} // namespace drmq
