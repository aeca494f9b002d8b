// ScheduleEntry and ScheduleTable: the broadcast schedule as loaded from
// "DRMSchedule.ini", texts kept byte for byte. Plain data, UI thread.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace drmq {

// A single-byte text of at most N characters stored inside the entry, so a
// table of 20000 entries is one block of memory without a heap string each.
template <std::size_t N>
class TFieldText {
    static_assert(N < 256);

public:
    TFieldText &operator=(std::string_view text) {
        Assign(text);
        return *this;
    }
    void Assign(std::string_view text) {
        size_ = static_cast<std::uint8_t>(std::min(text.size(), N));
        // An empty view may hold a null pointer, which memcpy must never get.
        std::copy_n(text.data(), size_, data_.data());
    }
    std::string_view View() const { return {data_.data(), size_}; }
    operator std::string_view() const { return View(); }
    bool operator==(std::string_view other) const { return View() == other; }

private:
    std::array<char, N> data_{};
    std::uint8_t size_ = 0;
};

// Empty after loading; every evaluation writes OffAir or OnAir.
enum class TAirState : std::uint8_t { None, OffAir, OnAir };
// "", "offair", "onair".
std::string_view AirStateText(TAirState state);

struct ScheduleEntry {
    TFieldText<4> StartTime;
    TFieldText<4> StopTime;
    TFieldText<7> Days;
    TFieldText<5> FrequencyKHz;
    TFieldText<20> Target;
    TFieldText<5> PowerKW;
    TFieldText<20> Programme;
    TFieldText<15> Language;
    TFieldText<20> Site;
    TFieldText<20> Country;
    // The lists that name this transmission, a set of TScheduleSource bits;
    // none for a schedule that came from elsewhere.
    std::uint8_t Sources = 0;
    TAirState AirState = TAirState::None;
};

// The entries in file order. Entry number n (1..EntryCount) is Entries[n-1].
struct ScheduleTable {
    // Room set aside at start; a longer file still loads whole.
    static constexpr std::size_t kCapacity = 20000;

    ScheduleTable() { Entries.reserve(kCapacity); }
    int EntryCount() const { return static_cast<int>(Entries.size()); }

    std::vector<ScheduleEntry> Entries;
};

} // namespace drmq
