#include "sandbox/handlers/IdeaHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Connection.h"
#include "sandbox/Database.h"
#include "sandbox/Envelope.h"
#include "sandbox/HtmlPage.h"
#include "sandbox/Pictures.h"
#include "sandbox/Records.h"
#include "sandbox/Relations.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"
#include "sandbox/Views.h"

#include <optional>
#include <string>
#include <vector>

namespace zorlet::sandbox {

namespace {

constexpr int ideaPageSize = 10;
constexpr int takerPageSize = 20;
constexpr long long highestPage = 100000;
// What a shared text or an invitation may hold, in half-width units.
constexpr int longestSharedText = 280;
constexpr int longestInvitation = 320;

constexpr const char* ideaColumns =
    "idea_id, content, place, start_time, end_time, charge, city_name, town_name, category_id, "
    "category_name, use_count, pic, detail";

nlohmann::json ideaView(Statement& row, const Call& call, Connection& connection) {
    auto ideaId = row.integer(0);
    bool hasUsed = false;
    if (call.uid) {
        auto want = connection.prepare("SELECT 1 FROM idea_wants WHERE idea_id = ? AND uid = ?");
        want.bind(1, ideaId).bind(2, *call.uid);
        hasUsed = want.step();
    }
    auto picture = Pictures::url(call.view.baseUrl, row.text(11));
    auto pictureJson = picture.empty() ? nlohmann::json() : nlohmann::json(picture);
    return {
        {"ideaId", ideaId},
        {"content", row.text(1)},
        {"place", row.text(2)},
        {"startTime", row.text(3)},
        {"endTime", row.text(4)},
        {"charge", row.isNull(5) ? nlohmann::json() : nlohmann::json(row.integer(5))},
        {"cityName", row.text(6)},
        {"townName", row.text(7)},
        {"categoryId", row.integer(8)},
        {"categoryName", row.text(9)},
        {"useCount", row.integer(10)},
        {"hasUsed", hasUsed},
        {"pic", pictureJson},
        {"bigPic", pictureJson},
        {"detail", row.text(12)},
    };
}

// A positive id parameter, or a refusal naming what is missing.
std::optional<std::int64_t> readId(const Call& call, const char* name) {
    auto value = TextRules::parseInteger(call.params.text(name).value_or(""));
    if (!value || *value <= 0) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> readPage(const Call& call) {
    auto text = call.params.text("page").value_or("");
    if (text.empty()) {
        return 1;
    }
    auto number = TextRules::parseInteger(text);
    if (!number || *number > highestPage) {
        return std::nullopt;
    }
    return *number < 1 ? 1 : static_cast<int>(*number);
}

bool ideaExists(Connection& connection, std::int64_t ideaId) {
    auto query = connection.prepare("SELECT 1 FROM ideas WHERE idea_id = ?");
    query.bind(1, ideaId);
    return query.step();
}

Reply unknownIdea() {
    return Envelope::refuse(ErrorCode::NotFound, "这个好主意已经不存在了");
}

// Where the idea's web page is: what a post made from the idea links to, and
// what the client's share texts point at.
std::string ideaPageUrl(const std::string& baseUrl, std::int64_t ideaId) {
    return baseUrl + "/idea/" + std::to_string(ideaId);
}

std::string paragraph(const char* className, const std::string& text) {
    return std::string("<p class=\"") + className + "\">" + TextRules::htmlEscape(text) + "</p>\n";
}

Reply ideaPage(Call& call) {
    auto ideaId = TextRules::parseInteger(call.pathPart(1));
    std::optional<Reply> reply;
    if (ideaId) {
        call.service.database.read([&](Connection& connection) {
            auto select = connection.prepare(
                "SELECT content, place, start_time, end_time, charge, city_name, town_name, category_name, "
                "pic, detail FROM ideas WHERE idea_id = ?");
            select.bind(1, *ideaId);
            if (!select.step()) {
                return;
            }
            auto content = select.text(0);
            std::string body = "<h1>" + TextRules::htmlEscape(content) + "</h1>\n";
            if (auto picture = Pictures::url(call.view.baseUrl, select.text(8)); !picture.empty()) {
                body += "<p><img src=\"" + TextRules::htmlEscape(picture) + "\" alt=\"" +
                        TextRules::htmlEscape(content) + "\" width=\"320\"></p>\n";
            }
            if (auto category = select.text(7); !category.empty()) {
                body += paragraph("category", category);
            }
            std::string where;
            for (const auto& part : {select.text(5), select.text(6), select.text(1)}) {
                if (!part.empty()) {
                    where += (where.empty() ? "" : " ") + part;
                }
            }
            if (!where.empty()) {
                body += paragraph("place", "地点：" + where);
            }
            auto start = select.text(2);
            auto end = select.text(3);
            if (!end.empty()) {
                body += paragraph("time", "时间：" + (start.empty() ? end : start + " - " + end));
            }
            if (!select.isNull(4) && select.integer(4) >= 1) {
                body += paragraph("charge", "费用：" + std::to_string(select.integer(4)) + "元");
            }
            if (auto detail = select.text(9); !detail.empty()) {
                body += paragraph("detail", detail);
            }
            reply = HtmlPage::reply(200, content, body);
        });
    }
    if (!reply) {
        return HtmlPage::reply(404, "没有找到", "<p>这个好主意已经不存在了</p>");
    }
    return *reply;
}

Reply allIdeas(Call& call) {
    auto page = readPage(call);
    if (!page) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    auto categoryText = call.params.text("categoryId").value_or("0");
    auto categoryId = TextRules::parseInteger(categoryText.empty() ? "0" : categoryText);
    if (!categoryId || *categoryId < 0) {
        return Envelope::refuse(ErrorCode::BadParameter, "分类不正确");
    }
    auto orderType = call.params.text("orderType").value_or("time");
    std::string order;
    if (orderType == "time" || orderType.empty()) {
        order = "created DESC, idea_id DESC";
    } else if (orderType == "pop") {
        order = "use_count DESC, created DESC, idea_id DESC";
    } else {
        return Envelope::refuse(ErrorCode::BadParameter, "排序方式不正确");
    }
    Reply reply;
    call.service.database.read([&](Connection& connection) {
        // ?1 is the category, 0 for all of them.
        const std::string filter = " WHERE (?1 = 0 OR category_id = ?1)";
        auto count = connection.prepare("SELECT COUNT(*) FROM ideas" + filter);
        count.bind(1, *categoryId);
        count.step();
        auto total = count.integer(0);
        auto select = connection.prepare(std::string("SELECT ") + ideaColumns + " FROM ideas" + filter +
                                         " ORDER BY " + order + " LIMIT ?2 OFFSET ?3");
        select.bind(1, *categoryId)
            .bind(2, ideaPageSize)
            .bind(3, static_cast<std::int64_t>(*page - 1) * ideaPageSize);
        auto list = nlohmann::json::array();
        while (select.step()) {
            list.push_back(ideaView(select, call, connection));
        }
        reply = Envelope::ok(Envelope::page(*page, ideaPageSize, total, std::move(list)));
    });
    return reply;
}

Reply showIdea(Call& call) {
    auto ideaId = readId(call, "ideaId");
    if (!ideaId) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定好主意");
    }
    Reply reply = unknownIdea();
    call.service.database.read([&](Connection& connection) {
        auto select =
            connection.prepare(std::string("SELECT ") + ideaColumns + " FROM ideas WHERE idea_id = ?");
        select.bind(1, *ideaId);
        if (select.step()) {
            reply = Envelope::ok(ideaView(select, call, connection));
        }
    });
    return reply;
}

Reply ideaUsers(Call& call) {
    auto ideaId = readId(call, "ideaId");
    if (!ideaId) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定好主意");
    }
    auto page = readPage(call);
    if (!page) {
        return Envelope::refuse(ErrorCode::BadParameter, "页码不正确");
    }
    std::optional<std::int64_t> cityId;
    if (auto text = call.params.text("cityId"); text && !text->empty()) {
        cityId = TextRules::parseInteger(*text);
        if (!cityId || *cityId < 0) {
            return Envelope::refuse(ErrorCode::BadParameter, "城市不正确");
        }
    }
    std::optional<std::int64_t> gender;
    if (auto text = call.params.text("gender"); text && !text->empty()) {
        gender = TextRules::parseInteger(*text);
        if (!gender || *gender < 0 || *gender > 2) {
            return Envelope::refuse(ErrorCode::BadParameter, "性别筛选条件不正确");
        }
        if (*gender == 2) {
            gender.reset();
        }
    }
    Reply reply = unknownIdea();
    call.service.database.read([&](Connection& connection) {
        if (!ideaExists(connection, *ideaId)) {
            return;
        }
        // ?1 idea, ?2 city or NULL, ?3 gender or NULL.
        const std::string from =
            " FROM idea_wants JOIN users ON users.uid = idea_wants.uid WHERE idea_wants.idea_id = ?1 "
            "AND (?2 IS NULL OR users.city_id = ?2) AND (?3 IS NULL OR users.gender = ?3)";
        auto count = connection.prepare("SELECT COUNT(*)" + from);
        count.bind(1, *ideaId).bind(2, cityId).bind(3, gender);
        count.step();
        auto total = count.integer(0);
        auto select = connection.prepare("SELECT users.uid, idea_wants.created" + from +
                                         " ORDER BY idea_wants.created DESC, users.uid LIMIT ?4 OFFSET ?5");
        select.bind(1, *ideaId)
            .bind(2, cityId)
            .bind(3, gender)
            .bind(4, takerPageSize)
            .bind(5, static_cast<std::int64_t>(*page - 1) * takerPageSize);
        auto list = nlohmann::json::array();
        while (select.step()) {
            auto user = Records::user(connection, select.integer(0));
            if (!user) {
                continue;
            }
            list.push_back({{"ideaId", *ideaId},
                            {"userView", Views::user(connection, *user, call.view, false)},
                            {"createTime", select.integer(1) * 1000}});
        }
        reply = Envelope::ok(Envelope::page(*page, takerPageSize, total, std::move(list)));
    });
    return reply;
}

Reply ideaLocation(Call& call) {
    auto ideaId = readId(call, "ideaId");
    if (!ideaId) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定好主意");
    }
    Reply reply = unknownIdea();
    call.service.database.read([&](Connection& connection) {
        auto select = connection.prepare("SELECT longitude, latitude FROM ideas WHERE idea_id = ?");
        select.bind(1, *ideaId);
        if (!select.step()) {
            return;
        }
        // An idea without a known position answers an empty list: the client then shows no pin.
        auto position = nlohmann::json::array();
        if (!select.isNull(0) && !select.isNull(1)) {
            position = {select.real(0), select.real(1)};
        }
        reply = Envelope::ok(position);
    });
    return reply;
}

Reply shareIdea(Call& call) {
    auto ideaId = readId(call, "ideaId");
    if (!ideaId) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定好主意");
    }
    auto content = UnicodeText::trimmed(call.params.text("content").value_or(""));
    if (content.empty()) {
        return Envelope::refuse(ErrorCode::BadParameter, "请先输入内容");
    }
    if (UnicodeText::chineseLength(content) > longestSharedText) {
        return Envelope::refuse(ErrorCode::BadParameter, "分享内容请不要超过140字");
    }
    Reply reply = unknownIdea();
    call.service.database.write([&](Connection& connection) {
        if (!ideaExists(connection, *ideaId)) {
            return;
        }
        connection.prepare("INSERT INTO idea_shares (idea_id, uid, content, created) VALUES (?, ?, ?, ?)")
            .bind(1, *ideaId)
            .bind(2, *call.uid)
            .bind(3, content)
            .bind(4, call.view.now)
            .run();
        reply = Envelope::ok();
    });
    return reply;
}

// An invitation arrives as a message from the inviter, so the invited user
// finds it in the dialog list: either about an idea, or a text of the inviter's own.
Reply sendDate(Call& call) {
    auto targetUid = readId(call, "targetUid");
    if (!targetUid) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要约的人");
    }
    if (*targetUid == *call.uid) {
        return Envelope::refuse(ErrorCode::NotAllowed, "不能约自己哦");
    }
    std::optional<std::int64_t> ideaId;
    if (call.params.text("ideaId").value_or("") != "") {
        ideaId = readId(call, "ideaId");
        if (!ideaId) {
            return Envelope::refuse(ErrorCode::BadParameter, "请指定好主意");
        }
    }
    auto content = UnicodeText::trimmed(call.params.text("content").value_or(""));
    if (!ideaId && content.empty()) {
        return Envelope::refuse(ErrorCode::BadParameter, "请先输入内容");
    }
    if (UnicodeText::chineseLength(content) > longestInvitation) {
        return Envelope::refuse(ErrorCode::BadParameter, "请不要超过160字");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        if (!Records::user(connection, *targetUid)) {
            reply = Envelope::refuse(ErrorCode::NotFound, "这个用户不存在了");
            return;
        }
        // Whichever of the two blocked the other, no invitation passes, as with comments and messages.
        if (Relations::isBlockedEitherWay(connection, *call.uid, *targetUid)) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "你们之间有屏蔽关系，无法邀请");
            return;
        }
        std::string message = content;
        if (ideaId) {
            auto idea = connection.prepare("SELECT content, place FROM ideas WHERE idea_id = ?");
            idea.bind(1, *ideaId);
            if (!idea.step()) {
                reply = unknownIdea();
                return;
            }
            if (message.empty()) {
                message = "我也想去：" + idea.text(0) + "，一起去吧？";
                if (auto place = idea.text(1); !place.empty()) {
                    message += "（地点：" + place + "）";
                }
            }
        }
        connection.prepare("INSERT INTO messages (from_uid, to_uid, content, created) VALUES (?, ?, ?, ?)")
            .bind(1, *call.uid)
            .bind(2, *targetUid)
            .bind(3, message)
            .bind(4, call.view.now)
            .run();
        reply = Envelope::ok();
    });
    return reply;
}

}  // namespace

Reply IdeaHandlers::wantToGo(Call& call, std::int64_t ideaId) {
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto idea = connection.prepare(
            "SELECT content, place, city_name, category_id, category_name, pic FROM ideas WHERE idea_id = ?");
        idea.bind(1, ideaId);
        if (!idea.step()) {
            reply = unknownIdea();
            return;
        }
        auto author = Records::user(connection, *call.uid);
        if (!author || !author->hasGuided) {
            reply = Envelope::refuse(ErrorCode::ProfileIncomplete, "请先完善个人资料再发布Zorlet");
            return;
        }
        connection.prepare("INSERT OR IGNORE INTO idea_wants (idea_id, uid, created) VALUES (?, ?, ?)")
            .bind(1, ideaId)
            .bind(2, *call.uid)
            .bind(3, call.view.now)
            .run();
        if (connection.changes() == 0) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "你已经想去这个好主意了");
            return;
        }
        // The post shows the idea's poster with a link to the idea's page: the
        // detail screen offers to open the idea only over a picture with a link.
        connection
            .prepare(
                "INSERT INTO posts (uid, purpose, content, place, city_name, category_id, category_name, "
                "idea_id, link, pic, created) VALUES (?, '想去', ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .bind(1, *call.uid)
            .bind(2, idea.text(0))
            .bind(3, idea.text(1))
            .bind(4, idea.text(2))
            .bind(5, idea.integer(3))
            .bind(6, idea.text(4))
            .bind(7, ideaId)
            .bind(8, ideaPageUrl(call.view.baseUrl, ideaId))
            .bind(9, idea.text(5))
            .bind(10, call.view.now)
            .run();
        auto postId = connection.lastInsertId();
        connection.prepare("UPDATE idea_wants SET post_id = ? WHERE idea_id = ? AND uid = ?")
            .bind(1, postId)
            .bind(2, ideaId)
            .bind(3, *call.uid)
            .run();
        connection.prepare("UPDATE ideas SET use_count = use_count + 1 WHERE idea_id = ?")
            .bind(1, ideaId)
            .run();
        connection.prepare("UPDATE users SET last_active = ? WHERE uid = ?")
            .bind(1, call.view.now)
            .bind(2, *call.uid)
            .run();
        reply = Envelope::ok(Views::post(connection, *Records::post(connection, postId), call.view));
    });
    return reply;
}

void IdeaHandlers::install(Routes& routes) {
    routes.api("/idea/allIdeas", Access::SignedIn, allIdeas);
    routes.api("/idea/showIdea", Access::SignedIn, showIdea);
    routes.api("/idea/users", Access::SignedIn, ideaUsers);
    routes.api("/idea/v133/location", Access::SignedIn, ideaLocation);
    routes.api("/idea/shareIdea", Access::SignedIn, shareIdea);
    routes.api("/dialog/v133/sendDate", Access::SignedIn, sendDate);
    routes.page(R"(/idea/(\d{1,12}))", ideaPage);
}

}  // namespace zorlet::sandbox
