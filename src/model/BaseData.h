#pragma once

#include "model/Category.h"
#include "model/City.h"
#include "model/Profession.h"
#include "model/Province.h"
#include "platform/Json.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

// The reference lists (categories, professions, provinces with their
// cities), each read once per run from its resource file or, when the file
// is missing or empty, fetched synchronously from the server. A fetched list
// is kept as a downloaded copy in the data folder, which later runs read when
// the shipped file is missing. Each list is filled at most once per run, even
// when loading gave nothing.
class BaseData {
public:
    static BaseData& sharedData();

    static std::vector<CategoryPtr> getCategories();
    static std::vector<ProfessionPtr> getProfessions();
    // Also fills the cities of every province.
    static std::vector<ProvincePtr> getProvinces();
    // The province's cities; empty before getProvinces has run or for a province without cities.
    static std::vector<CityPtr> getCitiesWithProvinceId(std::int64_t provinceId);
    // Positions (first match from the front), or -1.
    static int indexOfProvinces(std::int64_t provinceId);
    static int indexOfCities(std::int64_t cityId, std::int64_t provinceId);
    static int indexOfCategory(std::int64_t categoryId);
    static CategoryPtr getCategory(std::int64_t categoryId);

    // The list (keyed object) read from the resource `name` or, failing that,
    // from the server's `uri`; nothing when neither gave one.
    static std::optional<OrderedJson> loadArrayData(const std::string& name, const std::string& uri);
    static std::optional<OrderedJson> loadDictionaryData(const std::string& name, const std::string& uri);
    // Where the list `name` is read from: the shipped resource, else the
    // downloaded copy; nothing when neither exists.
    static std::optional<std::filesystem::path> dataFilePath(const std::string& name);
    // Where a list fetched from the server is written.
    static std::filesystem::path downloadedFilePath(const std::string& name);

    // The folder of the shipped resource files (the build's resources folder by default).
    static void setResourceFolder(std::filesystem::path folder);
    static std::filesystem::path resourceFolder();
    // Forgets the loaded lists so the next getter loads again; for tests.
    static void resetForTesting();

    BaseData(const BaseData&) = delete;
    BaseData& operator=(const BaseData&) = delete;

private:
    BaseData();

    // Getters may nest (an index lookup fills its list), so the lock is recursive.
    std::recursive_mutex mutex_;
    std::filesystem::path resourceFolder_;
    std::optional<std::vector<CategoryPtr>> categoryArray_;
    std::optional<std::vector<ProfessionPtr>> professionArray_;
    std::optional<std::vector<ProvincePtr>> provinceArray_;
    std::optional<std::map<std::int64_t, std::vector<CityPtr>>> citiesDictionary_;
};

}  // namespace zorlet
