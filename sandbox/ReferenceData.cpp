#include "sandbox/ReferenceData.h"

#include "platform/Log.h"

#include <fstream>
#include <sstream>

namespace zorlet::sandbox {

namespace {

std::int64_t idOf(const nlohmann::json& value) {
    if (value.is_number_integer()) {
        return value.get<std::int64_t>();
    }
    if (value.is_number()) {
        return static_cast<std::int64_t>(value.get<double>());
    }
    if (value.is_string()) {
        try {
            return std::stoll(value.get<std::string>());
        } catch (...) {
            return 0;
        }
    }
    return 0;
}

std::string textOf(const nlohmann::json& object, const char* key) {
    auto it = object.find(key);
    return it != object.end() && it->is_string() ? it->get<std::string>() : std::string();
}

nlohmann::json readList(const std::filesystem::path& dir, const std::string& name, bool wantArray) {
    for (const auto& candidate : {name, name + ".json", name + ".plist"}) {
        std::ifstream in(dir / candidate, std::ios::binary);
        if (!in) {
            continue;
        }
        std::stringstream bytes;
        bytes << in.rdbuf();
        auto parsed = nlohmann::json::parse(bytes.str(), nullptr, false);
        if (parsed.is_discarded() || (wantArray ? !parsed.is_array() : !parsed.is_object())) {
            zorlet::log().warn("sandbox: reference file {} is not the expected JSON; serving an empty list",
                               (dir / candidate).string());
            continue;
        }
        return parsed;
    }
    return wantArray ? nlohmann::json::array() : nlohmann::json::object();
}

}  // namespace

ReferenceData ReferenceData::load(const std::filesystem::path& resourcesDir) {
    ReferenceData data;
    data.categories_ = readList(resourcesDir, "category", true);
    data.professions_ = readList(resourcesDir, "profession", true);
    data.provinces_ = readList(resourcesDir, "province", false);
    return data;
}

std::optional<CityInfo> ReferenceData::city(std::int64_t cityId) const {
    auto cities = provinces_.find("cityList");
    if (cities == provinces_.end() || !cities->is_array()) {
        return std::nullopt;
    }
    for (const auto& city : *cities) {
        if (!city.is_object() || idOf(city.value("cityId", nlohmann::json())) != cityId) {
            continue;
        }
        CityInfo info{cityId, textOf(city, "cityName"), idOf(city.value("provinceId", nlohmann::json())), ""};
        auto provinces = provinces_.find("provinceList");
        if (provinces != provinces_.end() && provinces->is_array()) {
            for (const auto& province : *provinces) {
                if (province.is_object() &&
                    idOf(province.value("provinceId", nlohmann::json())) == info.provinceId) {
                    info.provinceName = textOf(province, "provinceName");
                }
            }
        }
        return info;
    }
    return std::nullopt;
}

std::optional<CityInfo> ReferenceData::cityNamed(const std::string& namePrefix) const {
    auto cities = provinces_.find("cityList");
    if (cities == provinces_.end() || !cities->is_array()) {
        return std::nullopt;
    }
    for (const auto& city : *cities) {
        if (city.is_object() && textOf(city, "cityName").starts_with(namePrefix)) {
            return this->city(idOf(city.value("cityId", nlohmann::json())));
        }
    }
    return std::nullopt;
}

std::vector<CityInfo> ReferenceData::citiesOfProvince(const std::string& namePrefix) const {
    std::vector<CityInfo> list;
    auto provinces = provinces_.find("provinceList");
    auto cities = provinces_.find("cityList");
    if (provinces == provinces_.end() || !provinces->is_array() || cities == provinces_.end() ||
        !cities->is_array()) {
        return list;
    }
    for (const auto& province : *provinces) {
        if (!province.is_object() || !textOf(province, "provinceName").starts_with(namePrefix)) {
            continue;
        }
        auto provinceId = idOf(province.value("provinceId", nlohmann::json()));
        for (const auto& city : *cities) {
            if (city.is_object() && idOf(city.value("provinceId", nlohmann::json())) == provinceId) {
                list.push_back({idOf(city.value("cityId", nlohmann::json())), textOf(city, "cityName"),
                                provinceId, textOf(province, "provinceName")});
            }
        }
        break;
    }
    return list;
}

std::vector<NamedId> ReferenceData::professions() const {
    std::vector<NamedId> list;
    for (const auto& element : professions_) {
        if (!element.is_object()) {
            continue;
        }
        for (const auto& [key, value] : element.items()) {
            auto id = idOf(nlohmann::json(key));
            if (id > 0 && value.is_string()) {
                list.push_back({id, value.get<std::string>()});
            }
        }
    }
    return list;
}

std::vector<NamedId> ReferenceData::categories() const {
    std::vector<NamedId> list;
    for (const auto& element : categories_) {
        if (element.is_object()) {
            list.push_back({idOf(element.value("categoryId", nlohmann::json())), textOf(element, "name")});
        }
    }
    return list;
}

std::optional<std::string> ReferenceData::professionName(std::int64_t professionId) const {
    for (const auto& profession : professions()) {
        if (profession.id == professionId) {
            return profession.name;
        }
    }
    return std::nullopt;
}

std::optional<std::string> ReferenceData::categoryName(std::int64_t categoryId) const {
    for (const auto& category : categories()) {
        if (category.id == categoryId) {
            return category.name;
        }
    }
    return std::nullopt;
}

bool ReferenceData::hasCities() const {
    auto cities = provinces_.find("cityList");
    return cities != provinces_.end() && cities->is_array() && !cities->empty();
}

}  // namespace zorlet::sandbox
