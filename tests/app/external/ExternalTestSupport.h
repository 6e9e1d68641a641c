#pragma once

#include "../people/PeopleTestSupport.h"

#include "model/ExternalPost.h"
#include "platform/Analytics.h"

#include <cairo.h>

#include <string>
#include <vector>

namespace zorlet::test {

// A small PNG as the review service's photos.
inline std::string placePhotoPng() {
    auto* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 40, 30);
    auto* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.8, 0.3, 0.2);
    cairo_paint(cr);
    cairo_destroy(cr);
    std::string png;
    cairo_surface_write_to_png_stream(
        surface,
        [](void* closure, const unsigned char* data, unsigned int length) {
            static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
            return CAIRO_STATUS_SUCCESS;
        },
        &png);
    cairo_surface_destroy(surface);
    return png;
}

// The attributes of every analytics event of that name logged so far, oldest first.
inline std::vector<Json> eventAttributes(const std::string& eventId) {
    std::vector<Json> found;
    for (const auto& entry : Analytics::loggedEntries()) {
        if (jsonString(entry, "type") == "event" && jsonString(entry, "event") == eventId) {
            found.push_back(entry.contains("attributes") ? entry["attributes"] : Json::object());
        }
    }
    return found;
}

// Screens of the external places against a scripted review service: five
// categories, three places (one without a photo), each place's page and photo.
class ExternalPlacesTest : public PeopleTest {
protected:
    void SetUp() override {
        PeopleTest::SetUp();
        signInAs(1, 1);
        Json categories = Json::array();
        const char* names[] = {"美食", "咖啡厅", "电影院", "KTV", "酒吧"};
        for (int i = 0; i < 5; ++i) {
            categories.push_back({{"id", (i + 1) * 10}, {"name", names[i]}});
        }
        server_.onJson("/post/v135/externalCategoryList",
                       Json{{"success", true}, {"result", categories}}.dump());
        setPlaces(Json::array({placeJson(101, "798", 1234, true), placeJson(102, "簋街小龙虾", -1, true),
                               placeJson(103, "后海酒吧", 10005, false)}));
        std::string photo = placePhotoPng();
        server_.on("/photo.png", [photo](const RecordedRequest&, Reply& reply) {
            reply.contentType = "image/png";
            reply.body = photo;
        });
        server_.on("/rating.png", [photo](const RecordedRequest&, Reply& reply) {
            reply.contentType = "image/png";
            reply.body = photo;
        });
        for (int id : {101, 102, 103}) {
            server_.on("/place/" + std::to_string(id), [id](const RecordedRequest&, Reply& reply) {
                reply.contentType = "text/html;charset=UTF-8";
                reply.body =
                    "<html><head><title>place " + std::to_string(id) + "</title></head><body></body></html>";
            });
        }
        server_.onJson(
            "/post/sendPost",
            Json{{"success", true}, {"result", {{"postId", 9}, {"content", "x"}, {"createUid", 1}}}}.dump());
        server_.onJson("/post/v135/rescueUsers", pageJson(Json::array()));
        server_.onJson("/post/v134/nearbyUsers", pageJson(Json::array({userJson(2, 0)})));
        server_.onJson("/post/v134/userPosts", pageJson(Json::array({userJson(2, 0)})));
        server_.onJson("/home/updateloc", R"({"success":true})");
    }
    Json placeJson(int id, const std::string& name, int distance, bool withPhoto) {
        return {{"externalPostId", id},
                {"name", name},
                {"address", "北京市朝阳区酒仙桥路" + std::to_string(id) + "号"},
                {"ratingSImgUrl", server_.url("/rating.png")},
                {"ratingImgUrl", server_.url("/rating.png")},
                {"photoUrl", withPhoto ? Json(server_.url("/photo.png")) : Json()},
                {"distance", distance},
                {"externalPostUrl", server_.url("/place/" + std::to_string(id))}};
    }
    void setPlaces(const Json& list) { server_.onJson("/post/v135/externalPostList", pageJson(list)); }
    ExternalPostPtr place(int id, const std::string& name, bool withPhoto = true) {
        return ExternalPost::convertFromDictionary(placeJson(id, name, 100, withPhoto));
    }
    // Lets the feed take and report a position, as it does before the plus button is used.
    void locateAt(double latitude, double longitude) {
        UserLocationSource::shared().setLocation({latitude, longitude});
        auto feed = std::make_shared<UserViewController>();
        show(feed);
        std::size_t before = server_.countOf("/home/updateloc");
        ASSERT_TRUE(waitForRequests("/home/updateloc", before + 1));
        ASSERT_TRUE(waitUntil([] { return UserViewController::lastLatitude() != 0; }));
    }
    std::string lastAlert() {
        auto* alert = AlertRegistry::shared().topAlert();
        return alert != nullptr ? alert->title() : std::string();
    }
};

}  // namespace zorlet::test
