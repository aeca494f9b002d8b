#include "rig/HamlibModels.h"

#include "rig/HamlibRig.h"

#include <hamlib/rig.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <tuple>

namespace drmq {

namespace {
int AddModel(const rig_caps *caps, rig_ptr_t data) {
    auto &models = *static_cast<std::vector<THamlibModel> *>(data);
    models.push_back({caps->mfg_name ? caps->mfg_name : "", caps->model_name ? caps->model_name : "",
                      static_cast<int>(caps->rig_model)});
    return 1; // go on
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char &c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}
} // namespace

std::vector<THamlibModel> HamlibModels() {
    QuietHamlib();
    rig_load_all_backends();
    std::vector<THamlibModel> models;
    rig_list_foreach(AddModel, &models);
    std::sort(models.begin(), models.end(), [](const THamlibModel &a, const THamlibModel &b) {
        return std::make_tuple(Lower(a.Maker), Lower(a.Name), a.Number) <
               std::make_tuple(Lower(b.Maker), Lower(b.Name), b.Number);
    });
    return models;
}

bool ModelMatches(const THamlibModel &model, std::string_view filter) {
    const std::string haystack = Lower(model.Maker + " " + model.Name + " " + std::to_string(model.Number));
    std::istringstream words{std::string(filter)};
    std::string word;
    while (words >> word)
        if (haystack.find(Lower(word)) == std::string::npos) return false;
    return true;
}

} // namespace drmq
