// The published DRM schedule lists the program merges, in the order they are
// trusted, and the texts that name them. Pure, any thread.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace drmq {

// Most trusted first: a merged field comes from the first source that has it.
enum class TScheduleSource : std::uint8_t { Drmrx, Hfcc, Eibi, Kiwisdr };
inline constexpr std::array<TScheduleSource, 4> kScheduleSources = {
    TScheduleSource::Drmrx, TScheduleSource::Hfcc, TScheduleSource::Eibi, TScheduleSource::Kiwisdr};
// An entry that no list gives a weekly rhythm for (EiBi's "irr", "alt", "tent", "test").
inline constexpr std::uint8_t kIrregularBit = 0x80;

constexpr std::uint8_t SourceBit(TScheduleSource source) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(source));
}
// As shown in the grid and the dialog: "drmrx", "HFCC", "EiBi", "KiwiSDR".
std::string_view SourceName(TScheduleSource source);
// As written in the "Schedule sources" setting: "drmrx", "hfcc", "eibi", "kiwisdr".
std::string_view SourceKey(TScheduleSource source);
std::optional<TScheduleSource> SourceOfKey(std::string_view key);

// The set of a "Schedule sources" text ("drmrx,eibi,hfcc"); words are
// compared without regard to case, unknown ones ignored.
std::uint8_t ParseSourceKeys(std::string_view text);
// The setting text of a set, in trust order.
std::string SourceKeysText(std::uint8_t sources);
// The grid's "Sources" cell: the names in trust order, blank-separated,
// then "(irregular)" when the entry has no weekly rhythm.
std::string SourcesCellText(std::uint8_t sources);

} // namespace drmq
