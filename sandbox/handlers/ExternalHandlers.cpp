#include "sandbox/handlers/ExternalHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Connection.h"
#include "sandbox/Database.h"
#include "sandbox/Envelope.h"
#include "sandbox/ExternalPainter.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/Statement.h"
#include "sandbox/TextRules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace zorlet::sandbox {

namespace {

constexpr long long highestPage = 100000;

struct Place {
    std::int64_t id = 0;
    int categoryIndex = 0;
    std::string categoryName;
    std::string name;
    std::string address;
    double longitude = 0;
    double latitude = 0;
    int rating = 0;
    std::int64_t reviews = 0;
    std::optional<double> distance;
};

double distanceInMetres(double longitude1, double latitude1, double longitude2, double latitude2) {
    constexpr double earthRadius = 6371008.8;
    constexpr double toRadians = std::numbers::pi / 180.0;
    double dLatitude = (latitude2 - latitude1) * toRadians;
    double dLongitude = (longitude2 - longitude1) * toRadians;
    double a = std::pow(std::sin(dLatitude / 2), 2) + std::cos(latitude1 * toRadians) *
                                                          std::cos(latitude2 * toRadians) *
                                                          std::pow(std::sin(dLongitude / 2), 2);
    return 2 * earthRadius * std::asin(std::min(1.0, std::sqrt(a)));
}

// Ratings are kept in tenths of a star; pictures exist for every half star.
int halfStarRating(int rating) {
    return std::clamp((rating + 2) / 5 * 5, 0, 50);
}

std::string placePageUrl(const std::string& baseUrl, std::int64_t placeId) {
    return baseUrl + "/external/place/" + std::to_string(placeId);
}

std::string photoUrl(const std::string& baseUrl, std::int64_t placeId) {
    return baseUrl + "/external/photo/" + std::to_string(placeId) + ".png";
}

std::string ratingUrl(const std::string& baseUrl, int rating, bool small) {
    return baseUrl + "/external/rating/" + (small ? "s" : "") + std::to_string(halfStarRating(rating)) +
           ".png";
}

std::string ratingText(int rating) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d", rating / 10, rating % 10);
    return text;
}

constexpr const char* placeColumns =
    "p.place_id, c.position, c.name, p.name, p.address, p.longitude, p.latitude, p.rating, p.reviews "
    "FROM external_places p JOIN external_categories c ON c.category_id = p.category_id";

Place readPlace(Statement& row) {
    Place place;
    place.id = row.integer(0);
    place.categoryIndex = static_cast<int>(row.integer(1));
    place.categoryName = row.text(2);
    place.name = row.text(3);
    place.address = row.text(4);
    place.longitude = row.real(5);
    place.latitude = row.real(6);
    place.rating = static_cast<int>(row.integer(7));
    place.reviews = row.integer(8);
    return place;
}

nlohmann::json placeView(const Place& place, const std::string& baseUrl) {
    return {
        {"externalPostId", place.id},
        {"name", place.name},
        {"address", place.address},
        {"ratingSImgUrl", ratingUrl(baseUrl, place.rating, true)},
        {"ratingImgUrl", ratingUrl(baseUrl, place.rating, false)},
        {"photoUrl", photoUrl(baseUrl, place.id)},
        {"distance", place.distance ? static_cast<std::int64_t>(std::llround(*place.distance)) : -1},
        {"externalPostUrl", placePageUrl(baseUrl, place.id)},
    };
}

Reply categoryList(Call& call) {
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        auto select =
            connection.prepare("SELECT category_id, name FROM external_categories ORDER BY position");
        auto list = nlohmann::json::array();
        while (select.step()) {
            list.push_back({{"id", select.integer(0)}, {"name", select.text(1)}});
        }
        reply = Envelope::ok(std::move(list));
    });
    return reply;
}

// A coordinate parameter: absent or empty is "not given"; anything else must be a number in range.
std::optional<std::optional<double>> readCoordinate(const Call& call, const char* name, double limit) {
    auto text = call.params.text(name).value_or("");
    if (text.empty()) {
        return std::optional<double>();
    }
    auto value = TextRules::parseNumber(text);
    if (!value || !std::isfinite(*value) || std::fabs(*value) > limit) {
        return std::nullopt;
    }
    return std::optional<double>(*value);
}

// Cuts a keyword to its first characters without splitting one.
std::string cutKeyword(const std::string& keyword) {
    std::string cut;
    int length = 0;
    for (size_t at = 0; at < keyword.size();) {
        size_t next = at + 1;
        while (next < keyword.size() && (static_cast<unsigned char>(keyword[next]) & 0xC0) == 0x80) {
            ++next;
        }
        auto character = keyword.substr(at, next - at);
        length += UnicodeText::chineseLength(character);
        if (length > ExternalHandlers::longestKeyword) {
            break;
        }
        cut += character;
        at = next;
    }
    return cut;
}

Reply placeList(Call& call) {
    auto categoryText = call.params.text("categoryId").value_or("0");
    auto categoryId = TextRules::parseInteger(categoryText.empty() ? "0" : categoryText);
    if (!categoryId || *categoryId < 0) {
        return Envelope::refuse(ErrorCode::BadParameter, "分类不正确");
    }
    auto sort = call.params.text("sort").value_or("rating");
    if (sort.empty()) {
        sort = "rating";
    }
    if (sort != "rating" && sort != "near") {
        return Envelope::refuse(ErrorCode::BadParameter, "排序方式不正确");
    }
    auto longitude = readCoordinate(call, "longitude", 180);
    auto latitude = readCoordinate(call, "latitude", 90);
    if (!longitude || !latitude) {
        return Envelope::refuse(ErrorCode::BadParameter, "位置不正确");
    }
    // The client's rule: a position counts as known when either value is not 0.
    bool located = (longitude->value_or(0) != 0 || latitude->value_or(0) != 0);
    auto pageText = call.params.text("page").value_or("");
    auto pageNumber = TextRules::parseInteger(pageText.empty() ? "1" : pageText);
    if (!pageNumber || *pageNumber > highestPage) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    int page = *pageNumber < 1 ? 1 : static_cast<int>(*pageNumber);
    auto keyword = cutKeyword(UnicodeText::trimmed(call.params.text("keyword").value_or("")));

    std::vector<Place> places;
    call.service.database.read([&](Connection& connection) {
        // ?1 category (0 for all), ?2 keyword ('' for none); instr keeps % and _ literal.
        auto select = connection.prepare(std::string("SELECT ") + placeColumns +
                                         " WHERE (?1 = 0 OR p.category_id = ?1) AND (?2 = '' OR "
                                         "instr(p.name, ?2) > 0 OR instr(p.address, ?2) > 0 OR "
                                         "instr(c.name, ?2) > 0)");
        select.bind(1, *categoryId).bind(2, keyword);
        while (select.step()) {
            places.push_back(readPlace(select));
        }
    });
    if (located) {
        for (auto& place : places) {
            place.distance = distanceInMetres(longitude->value_or(0), latitude->value_or(0), place.longitude,
                                              place.latitude);
        }
    }
    bool byDistance = sort == "near" && located;
    std::stable_sort(places.begin(), places.end(), [byDistance](const Place& a, const Place& b) {
        if (byDistance && *a.distance != *b.distance) {
            return *a.distance < *b.distance;
        }
        if (a.rating != b.rating) {
            return a.rating > b.rating;
        }
        if (a.reviews != b.reviews) {
            return a.reviews > b.reviews;
        }
        return a.id < b.id;
    });
    auto list = nlohmann::json::array();
    auto first = static_cast<size_t>(page - 1) * ExternalHandlers::placePageSize;
    for (size_t i = first; i < places.size() && i < first + ExternalHandlers::placePageSize; ++i) {
        list.push_back(placeView(places[i], call.view.baseUrl));
    }
    return Envelope::ok(Envelope::page(page, ExternalHandlers::placePageSize,
                                       static_cast<long long>(places.size()), std::move(list)));
}

std::optional<Place> findPlace(Call& call, std::int64_t placeId) {
    std::optional<Place> found;
    call.service.database.read([&](Connection& connection) {
        auto select = connection.prepare(std::string("SELECT ") + placeColumns + " WHERE p.place_id = ?");
        select.bind(1, placeId);
        if (select.step()) {
            found = readPlace(select);
        }
    });
    return found;
}

Reply missingPage() {
    Reply reply;
    reply.status = 404;
    reply.contentType = "text/html;charset=UTF-8";
    reply.body =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>没有找到</title></head>"
        "<body><p>这个地方不存在了</p></body></html>";
    return reply;
}

Reply placePage(Call& call) {
    auto placeId = TextRules::parseInteger(call.pathPart(1));
    auto place = placeId ? findPlace(call, *placeId) : std::nullopt;
    if (!place) {
        return missingPage();
    }
    const auto& base = call.view.baseUrl;
    auto name = TextRules::htmlEscape(place->name);
    Reply reply;
    reply.contentType = "text/html;charset=UTF-8";
    reply.body =
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width\"><title>" +
        name + "</title></head>\n<body>\n<h1>" + name + "</h1>\n<p><img src=\"" +
        TextRules::htmlEscape(photoUrl(base, place->id)) + "\" alt=\"" + name + "\" width=\"320\"></p>\n" +
        "<p class=\"rating\"><img src=\"" + TextRules::htmlEscape(ratingUrl(base, place->rating, false)) +
        "\" alt=\"\"> 评分 " + ratingText(place->rating) + " · " + std::to_string(place->reviews) +
        "条点评</p>\n<p class=\"category\">" + TextRules::htmlEscape(place->categoryName) +
        "</p>\n<p class=\"address\">地址：" + TextRules::htmlEscape(place->address) + "</p>\n" +
        "<p><a href=\"" + TextRules::htmlEscape(placePageUrl(base, place->id)) +
        "/reviews\">查看全部点评</a></p>\n</body></html>\n";
    return reply;
}

Reply placeReviews(Call& call) {
    auto placeId = TextRules::parseInteger(call.pathPart(1));
    auto place = placeId ? findPlace(call, *placeId) : std::nullopt;
    if (!place) {
        return missingPage();
    }
    auto name = TextRules::htmlEscape(place->name);
    Reply reply;
    reply.contentType = "text/html;charset=UTF-8";
    reply.body = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + name +
                 " 的点评</title></head>\n<body><h1>" + name + " 的点评</h1>\n<p>共" +
                 std::to_string(place->reviews) + "条点评，平均 " + ratingText(place->rating) +
                 " 星。</p>\n</body></html>\n";
    return reply;
}

Reply picture(std::string png) {
    Reply reply;
    reply.contentType = "image/png";
    reply.body = std::move(png);
    // Drawn from fixed data: the same URL always gives the same picture.
    reply.withHeader("Cache-Control", "public, max-age=86400");
    return reply;
}

Reply placePhoto(Call& call) {
    auto placeId = TextRules::parseInteger(call.pathPart(1));
    auto place = placeId ? findPlace(call, *placeId) : std::nullopt;
    if (!place) {
        Reply reply;
        reply.status = 404;
        reply.contentType = "text/plain;charset=UTF-8";
        reply.body = "图片不存在";
        return reply;
    }
    return picture(ExternalPainter::photo(place->categoryIndex, static_cast<int>(place->id % 97)));
}

Reply ratingPicture(Call& call) {
    bool small = call.pathPart(1) == "s";
    auto rating = TextRules::parseInteger(call.pathPart(2));
    if (!rating || *rating > 50 || *rating % 5 != 0) {
        Reply reply;
        reply.status = 404;
        reply.contentType = "text/plain;charset=UTF-8";
        reply.body = "图片不存在";
        return reply;
    }
    return picture(ExternalPainter::rating(static_cast<int>(*rating), small));
}

}  // namespace

void ExternalHandlers::install(Routes& routes) {
    routes.api("/post/v135/externalCategoryList", Access::SignedIn, categoryList);
    routes.api("/post/v135/externalPostList", Access::SignedIn, placeList);
    routes.page(R"(/external/place/(\d{1,12}))", placePage);
    routes.page(R"(/external/place/(\d{1,12})/reviews)", placeReviews);
    routes.page(R"(/external/photo/(\d{1,12})\.png)", placePhoto);
    routes.page(R"(/external/rating/(s?)(\d{1,2})\.png)", ratingPicture);
}

}  // namespace zorlet::sandbox
