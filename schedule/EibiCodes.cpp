#include "schedule/EibiCodes.h"

#include <algorithm>
#include <utility>

namespace drmq {

namespace {
using TCode = std::pair<std::string_view, std::string_view>;

constexpr TCode kLanguages[] = {
    {"-CW", "Morse"},      {"-TS", "Time signal"}, {"A", "Arabic"},      {"BE", "Bengali"},
    {"BU", "Bulgarian"},   {"C", "Chinese"},       {"CA", "Cantonese"},  {"COK", "Cook Isl. Maori"},
    {"CZ", "Czech"},       {"D", "German"},        {"E", "English"},     {"F", "French"},
    {"HB", "Hebrew"},      {"HI", "Hindi"},        {"HU", "Hungarian"},  {"I", "Italian"},
    {"IN", "Indonesian"},  {"J", "Japanese"},      {"K", "Korean"},      {"M", "Mandarin"},
    {"NIU", "Niuean"},     {"P", "Portuguese"},    {"PL", "Polish"},     {"PS", "Pashto"},
    {"R", "Russian"},      {"RO", "Romanian"},     {"S", "Spanish"},     {"SM", "Samoan"},
    {"T", "Thai"},         {"TB", "Tibetan"},      {"TO", "Tongan"},     {"TU", "Turkish"},
    {"UK", "Ukrainian"},   {"VN", "Vietnamese"},
};

constexpr TCode kAreas[] = {
    {"Af", "Africa"},         {"Am", "America"},         {"As", "Asia"},
    {"CAf", "C Africa"},      {"CAm", "C America"},      {"CAs", "C Asia"},
    {"CEu", "C Europe"},      {"Car", "Caribbean"},      {"Cau", "Caucasus"},
    {"EAf", "E Africa"},      {"EAs", "E Asia"},         {"EEu", "E Europe"},
    {"Eu", "Europe"},         {"FE", "Far East"},        {"LAm", "Latin America"},
    {"ME", "Middle East"},    {"NAf", "N Africa"},       {"NAm", "N America"},
    {"NEu", "N Europe"},      {"Oc", "Oceania"},         {"SAf", "S Africa"},
    {"SAm", "S America"},     {"SAs", "S Asia"},         {"SEA", "SE Asia"},
    {"SEu", "S Europe"},      {"WAf", "W Africa"},       {"WEu", "W Europe"},
};

constexpr TCode kCountries[] = {
    {"ARG", "Argentina"},   {"ARS", "Saudi Arabia"}, {"AUS", "Australia"},   {"AUT", "Austria"},
    {"B", "Brazil"},        {"BEL", "Belgium"},      {"BGD", "Bangladesh"},  {"BUL", "Bulgaria"},
    {"CAN", "Canada"},      {"CHN", "China"},        {"CUB", "Cuba"},        {"CZE", "Czech Republic"},
    {"D", "Germany"},       {"E", "Spain"},          {"EGY", "Egypt"},       {"F", "France"},
    {"G", "United Kingdom"}, {"HNG", "Hungary"},     {"HOL", "Netherlands"}, {"I", "Italy"},
    {"IND", "India"},       {"INS", "Indonesia"},    {"IRN", "Iran"},        {"J", "Japan"},
    {"KOR", "South Korea"}, {"KRE", "North Korea"},  {"KWT", "Kuwait"},      {"MDG", "Madagascar"},
    {"MEX", "Mexico"},      {"NIG", "Nigeria"},      {"NOR", "Norway"},      {"NZL", "New Zealand"},
    {"OMA", "Oman"},        {"PAK", "Pakistan"},     {"PHL", "Philippines"}, {"POL", "Poland"},
    {"POR", "Portugal"},    {"ROU", "Romania"},      {"RUS", "Russia"},      {"SUI", "Switzerland"},
    {"THA", "Thailand"},    {"TUR", "Turkey"},       {"UAE", "United Arab Emirates"},
    {"UKR", "Ukraine"},     {"USA", "USA"},          {"UZB", "Uzbekistan"},  {"VTN", "Vietnam"},
};

template <std::size_t N> std::string_view Lookup(const TCode (&table)[N], std::string_view code) {
    const auto it = std::find_if(std::begin(table), std::end(table), [&](const TCode &c) { return c.first == code; });
    return it == std::end(table) ? code : it->second;
}
} // namespace

std::string_view EibiLanguageName(std::string_view code) { return Lookup(kLanguages, code); }

std::string_view EibiTargetName(std::string_view code) {
    const std::string_view area = Lookup(kAreas, code);
    return area != code ? area : Lookup(kCountries, code);
}

std::string_view EibiCountryName(std::string_view code) { return Lookup(kCountries, code); }

} // namespace drmq
