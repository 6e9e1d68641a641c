#include "model/BaseData.h"

#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"
#include "platform/HttpRequest.h"
#include "platform/Log.h"

#include <system_error>

namespace zorlet {

namespace {

std::optional<OrderedJson> readListFile(const std::filesystem::path& path) {
    auto bytes = AtomicFile::read(path);
    if (!bytes) {
        return std::nullopt;
    }
    return parseOrderedJson(*bytes);
}

// The envelope's `result` of a synchronous GET of `uri`, when the server answered
// with status 200 and `success` true; nothing otherwise.
std::optional<OrderedJson> fetchResult(const std::string& uri) {
    HttpRequestPtr request =
        HttpRequestSender::backgroundGetRequestWithUrl(UrlUtils::urlStringWithUri(uri), {});
    if (!request) {
        return std::nullopt;
    }
    request->startSynchronous();
    if (request->error() || request->responseStatusCode() != 200) {
        log().warn("reference list {} not loaded: {}", uri,
                   request->error() ? request->error()->message
                                    : "status " + std::to_string(request->responseStatusCode()));
        return std::nullopt;
    }
    auto envelope = parseOrderedJson(request->responseString());
    if (!envelope || !envelope->is_object()) {
        return std::nullopt;
    }
    auto success = envelope->find("success");
    if (success == envelope->end() || !success->is_boolean() || !success->get<bool>()) {
        return std::nullopt;
    }
    auto result = envelope->find("result");
    if (result == envelope->end()) {
        return std::nullopt;
    }
    return *result;
}

// Shared by the list and the keyed-object loads: `isWanted` tells a usable value.
template <typename IsWanted>
std::optional<OrderedJson> loadData(const std::string& name, const std::string& uri, IsWanted isWanted) {
    std::optional<OrderedJson> readValue;
    for (const auto& path : {BaseData::resourceFolder() / name, BaseData::downloadedFilePath(name)}) {
        auto value = readListFile(path);
        if (!value || !isWanted(*value)) {
            continue;
        }
        if (!value->empty()) {
            return value;
        }
        if (!readValue) {
            readValue = std::move(value);
        }
    }
    auto result = fetchResult(uri);
    if (result && isWanted(*result)) {
        // The shipped folder may be read-only, so a downloaded list goes to the data folder.
        std::string error =
            AtomicFile::write(BaseData::downloadedFilePath(name),
                              result->dump(2, ' ', false, OrderedJson::error_handler_t::replace));
        if (!error.empty()) {
            log().warn("could not keep reference list {}: {}", name, error);
        }
        return result;
    }
    return readValue;
}

}  // namespace

BaseData::BaseData() : resourceFolder_(ZORLET_RESOURCES_DIR) {}

BaseData& BaseData::sharedData() {
    static BaseData data;
    return data;
}

void BaseData::setResourceFolder(std::filesystem::path folder) {
    auto& data = sharedData();
    std::lock_guard lock(data.mutex_);
    data.resourceFolder_ = std::move(folder);
}

std::filesystem::path BaseData::resourceFolder() {
    auto& data = sharedData();
    std::lock_guard lock(data.mutex_);
    return data.resourceFolder_;
}

void BaseData::resetForTesting() {
    auto& data = sharedData();
    std::lock_guard lock(data.mutex_);
    data.categoryArray_.reset();
    data.professionArray_.reset();
    data.provinceArray_.reset();
    data.citiesDictionary_.reset();
}

std::filesystem::path BaseData::downloadedFilePath(const std::string& name) {
    return DataFolder::shared().file("reference/" + name);
}

std::optional<std::filesystem::path> BaseData::dataFilePath(const std::string& name) {
    std::error_code error;
    for (const auto& path : {resourceFolder() / name, downloadedFilePath(name)}) {
        if (std::filesystem::is_regular_file(path, error)) {
            return path;
        }
    }
    return std::nullopt;
}

std::optional<OrderedJson> BaseData::loadArrayData(const std::string& name, const std::string& uri) {
    return loadData(name, uri, [](const OrderedJson& value) { return value.is_array(); });
}

std::optional<OrderedJson> BaseData::loadDictionaryData(const std::string& name, const std::string& uri) {
    return loadData(name, uri, [](const OrderedJson& value) { return value.is_object(); });
}

std::vector<CategoryPtr> BaseData::getCategories() {
    auto& data = sharedData();
    std::lock_guard lock(data.mutex_);
    if (!data.categoryArray_) {
        std::vector<CategoryPtr> categories;
        if (auto list = loadArrayData("category", "base/categoryList")) {
            for (const auto& element : *list) {
                categories.push_back(Category::convertFromDictionary(Json(element)));
            }
        }
        data.categoryArray_ = std::move(categories);
    }
    return *data.categoryArray_;
}

std::vector<ProfessionPtr> BaseData::getProfessions() {
    auto& data = sharedData();
    std::lock_guard lock(data.mutex_);
    if (!data.professionArray_) {
        std::vector<ProfessionPtr> professions;
        if (auto list = loadArrayData("profession", "base/professionList")) {
            for (const auto& element : *list) {
                professions.push_back(Profession::convertFromDictionary(element));
            }
        }
        data.professionArray_ = std::move(professions);
    }
    return *data.professionArray_;
}

std::vector<ProvincePtr> BaseData::getProvinces() {
    auto& data = sharedData();
    std::lock_guard lock(data.mutex_);
    if (!data.provinceArray_) {
        std::vector<ProvincePtr> provinces;
        std::map<std::int64_t, std::vector<CityPtr>> cities;
        if (auto object = loadDictionaryData("province", "base/provinceCityList")) {
            Json lists(*object);
            for (const Json& element : jsonArray(lists, "provinceList")) {
                provinces.push_back(Province::convertFromDictionary(element));
            }
            for (const Json& element : jsonArray(lists, "cityList")) {
                auto city = City::convertFromDictionary(element);
                cities[city->provinceId].push_back(std::move(city));
            }
        }
        data.provinceArray_ = std::move(provinces);
        data.citiesDictionary_ = std::move(cities);
    }
    return *data.provinceArray_;
}

std::vector<CityPtr> BaseData::getCitiesWithProvinceId(std::int64_t provinceId) {
    auto& data = sharedData();
    std::lock_guard lock(data.mutex_);
    if (!data.citiesDictionary_) {
        return {};
    }
    auto found = data.citiesDictionary_->find(provinceId);
    return found == data.citiesDictionary_->end() ? std::vector<CityPtr>{} : found->second;
}

int BaseData::indexOfProvinces(std::int64_t provinceId) {
    auto provinces = getProvinces();
    for (std::size_t i = 0; i < provinces.size(); ++i) {
        if (provinces[i]->provinceId == provinceId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int BaseData::indexOfCities(std::int64_t cityId, std::int64_t provinceId) {
    auto cities = getCitiesWithProvinceId(provinceId);
    for (std::size_t i = 0; i < cities.size(); ++i) {
        if (cities[i]->cityId == cityId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int BaseData::indexOfCategory(std::int64_t categoryId) {
    auto categories = getCategories();
    for (std::size_t i = 0; i < categories.size(); ++i) {
        if (categories[i]->categoryId == categoryId) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

CategoryPtr BaseData::getCategory(std::int64_t categoryId) {
    for (auto& category : getCategories()) {
        if (category->categoryId == categoryId) {
            return category;
        }
    }
    return nullptr;
}

}  // namespace zorlet
