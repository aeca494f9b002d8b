#include "schedule/Bulletin.h"

#include "core/RunErrors.h"
#include "schedule/DownloadText.h"

#include <cmath>
#include <vector>

namespace drmq {

const std::array<TColor, 6> LevelColours = {0x0000FF00, 0x000FF0B8, 0x0000FFFF, 0x0070C1FE, 0x000080FF, 0x000000FF};

namespace {

// 1-based position of the first occurrence, 0 when absent.
int Pos(std::string_view marker, std::string_view line) {
    const std::size_t at = line.find(marker);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

// `count` characters from 1-based column `index`; an index before column 1
// counts as column 1, a count below 1 gives the empty text.
std::string Copy(std::string_view line, int index, int count) {
    if (index < 1) index = 1;
    if (count < 1 || index > static_cast<int>(line.size())) return {};
    return std::string(line.substr(static_cast<std::size_t>(index - 1), static_cast<std::size_t>(count)));
}

// Line 9: classic "... was 2 (16 nT)." or today's "... was 2.00.".
std::string KIndexOf(std::string_view line) {
    const int was = Pos("was", line);
    const int bracket = Pos("(", line);
    if (bracket > 0) return Copy(line, was + 4, bracket - was - 5);
    if (was == 0) return {};
    const std::size_t lastDot = line.rfind('.');
    const int end = lastDot == std::string_view::npos ? static_cast<int>(line.size()) + 1
                                                      : static_cast<int>(lastDot) + 1;
    return Copy(line, was + 4, end - was - 4);
}

// "2100 UTC on 29 Feb" without "UTC on ": "2100 29 Feb".
std::string KIndexTimeOf(std::string_view line) {
    std::string time = Copy(line, Pos("x at", line) + 5, 18);
    if (time.size() > 5) time.erase(5, 7);
    return time;
}

bool TryKIndex(const std::string &text, int &value) {
    if (TryStrToInt(text, value)) return true;
    double decimal = 0;
    if (!TryStrToFloat(text, decimal) || std::fabs(decimal) > 1e6) return false;
    value = static_cast<int>(std::nearbyint(decimal));
    return true;
}

} // namespace

std::optional<TBulletinValues> ParseBulletin(std::string_view fileText) {
    std::vector<std::string> lines = SplitLines(fileText);
    if (lines.empty() || lines[0] != kBulletinBanner) return std::nullopt;
    // Lines past the end of the file read as empty.
    lines.resize(std::max<std::size_t>(lines.size(), 9));
    const std::string &line8 = lines[7];
    const std::string &line9 = lines[8];

    TBulletinValues values;
    values.SolarFlux = Copy(line8, 12, Pos("and", line8) - 13);
    const int ndex = Pos("ndex", line8);
    values.AIndex = Copy(line8, ndex + 5, Pos(".", line8) - ndex - 5);
    values.KIndex = KIndexOf(line9);
    values.KIndexTime = KIndexTimeOf(line9);
    return values;
}

int SolarFluxLevelOf(int solarFlux) {
    if (solarFlux < 0) return 0;
    if (solarFlux < 80) return 6;
    if (solarFlux < 100) return 5;
    if (solarFlux < 125) return 4;
    if (solarFlux < 150) return 3;
    if (solarFlux < 175) return 2;
    return 1;
}

int AIndexLevelOf(int aIndex) {
    if (aIndex <= 6) return 1;
    if (aIndex <= 15) return 2;
    if (aIndex <= 30) return 3;
    if (aIndex <= 50) return 4;
    if (aIndex <= 100) return 5;
    return 6;
}

int KIndexLevelOf(int kIndex) {
    if (kIndex <= 2) return 1;
    if (kIndex >= 7) return 6;
    return kIndex - 1;
}

void RateBulletin(const TBulletinValues &values, TBulletinLevels &levels) {
    int value = 0;
    if (TryStrToInt(values.SolarFlux, value) && SolarFluxLevelOf(value) > 0)
        levels.SolarFluxLevel = SolarFluxLevelOf(value);
    if (TryStrToInt(values.AIndex, value)) levels.AIndexLevel = AIndexLevelOf(value);
    if (TryKIndex(values.KIndex, value)) levels.KIndexLevel = KIndexLevelOf(value);
}

bool SaveBulletinDownload(std::string_view downloaded, const std::string &path) {
    const std::string text = NormaliseLineBreaks(downloaded);
    if (text.empty()) return false;
    try {
        WriteFileAtomically(path, text);
        return true;
    } catch (const ERunError &) {
        // The previous bulletin stays; a bulletin never interrupts the start.
        return false;
    }
}

} // namespace drmq
