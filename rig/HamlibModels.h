// The rig models Hamlib knows (maker, model, number) and the filter the
// settings dialog applies to them. Plain functions, UI thread (no rig is opened).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace drmq {

struct THamlibModel {
    std::string Maker;
    std::string Name;
    int Number = 0;
};

// Every model of the installed Hamlib, sorted by maker, then model name.
std::vector<THamlibModel> HamlibModels();

// Whether every word of the filter text occurs, ignoring case, in the
// model's maker, name or number.
bool ModelMatches(const THamlibModel &model, std::string_view filter);

} // namespace drmq
