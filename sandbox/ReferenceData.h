#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zorlet::sandbox {

struct CityInfo {
    std::int64_t cityId = 0;
    std::string cityName;
    std::int64_t provinceId = 0;
    std::string provinceName;
};

struct NamedId {
    std::int64_t id = 0;
    std::string name;
};

// The reference lists (categories, professions, provinces and cities), read
// once from the same resource files the client ships, so both sides agree.
class ReferenceData {
public:
    // Missing or unreadable files give empty lists.
    static ReferenceData load(const std::filesystem::path& resourcesDir);

    const nlohmann::json& categoryList() const { return categories_; }
    const nlohmann::json& professionList() const { return professions_; }
    const nlohmann::json& provinceCityList() const { return provinces_; }

    std::optional<CityInfo> city(std::int64_t cityId) const;
    std::optional<CityInfo> cityNamed(const std::string& namePrefix) const;
    // The cities (or districts) of the first province whose name starts with `namePrefix`, in list order.
    std::vector<CityInfo> citiesOfProvince(const std::string& namePrefix) const;
    std::optional<std::string> professionName(std::int64_t professionId) const;
    std::optional<std::string> categoryName(std::int64_t categoryId) const;
    std::vector<NamedId> professions() const;
    std::vector<NamedId> categories() const;
    bool hasCities() const;

private:
    nlohmann::json categories_ = nlohmann::json::array();
    nlohmann::json professions_ = nlohmann::json::array();
    nlohmann::json provinces_ = nlohmann::json::object();
};

}  // namespace zorlet::sandbox
