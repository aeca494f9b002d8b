// The NOAA "Geophysical Alert Message" bulletin ("wwv.txt"): the values cut
// from its fixed lines, their six-step ratings and the rating colours.
// Pure apart from SaveBulletinDownload; any thread.
#pragma once

#include "schedule/Colors.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace drmq {

inline constexpr std::string_view kBulletinBanner = ":Product: Geophysical Alert Message wwv.txt";

// Texts as cut from the bulletin, bytes as in the file.
struct TBulletinValues {
    std::string SolarFlux;
    std::string AIndex;
    std::string KIndex;
    std::string KIndexTime; // "2100 29 Feb"
};

// 1 (best) .. 6 (worst); 0 before anything could be rated.
struct TBulletinLevels {
    int SolarFluxLevel = 0;
    int AIndexLevel = 0;
    int KIndexLevel = 0;
};

// Background colours of the rated panels for levels 1..6 (index level - 1).
extern const std::array<TColor, 6> LevelColours;

// The values of a bulletin file's text; nothing when its first line is not
// the bulletin banner. Reads both the classic wording ("... was 2 (16 nT).")
// and today's ("... was 2.00.").
std::optional<TBulletinValues> ParseBulletin(std::string_view fileText);

// Level tables. SolarFluxLevelOf gives 0 for a negative flux: no rating.
int SolarFluxLevelOf(int solarFlux);
int AIndexLevelOf(int aIndex);
int KIndexLevelOf(int kIndex);

// Rates the three values into `levels`. A value that is not a number keeps
// its level as it was; a K index with decimals is rated by its nearest
// integer.
void RateBulletin(const TBulletinValues &values, TBulletinLevels &levels);

// The download step: a non-empty download, line breaks normalised, replaces
// the bulletin file; an empty one or a failed write leaves it as it was.
// Returns whether the file was replaced. Never raises.
bool SaveBulletinDownload(std::string_view downloaded, const std::string &path);

} // namespace drmq
