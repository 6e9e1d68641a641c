#include "sandbox/handlers/PostHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Envelope.h"
#include "sandbox/Pictures.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"
#include "sandbox/handlers/IdeaHandlers.h"

#include <chrono>
#include <cstdio>

namespace zorlet::sandbox {

namespace {

// What the composer sends, checked by the composer's own rules.
struct PostForm {
    std::string content;
    std::string place;
    std::string dateString;
    std::int64_t categoryId = 0;
    std::string categoryName;
    std::optional<std::string> pictureBytes;
    std::optional<Pictures::Checked> picture;
};

bool isDate(const std::string& text) {
    int year = 0;
    int month = 0;
    int day = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) != 3 || text.size() != 10) {
        return false;
    }
    std::chrono::year_month_day date{std::chrono::year(year),
                                     std::chrono::month(static_cast<unsigned>(month)),
                                     std::chrono::day(static_cast<unsigned>(day))};
    return date.ok();
}

// A post that shares a place (it carries the place's page as its link) is the
// place's name plus an optional comment of up to 100 units: a short name alone
// ("798") must pass, and so must a long name with a full comment.
constexpr int longestSharedPlaceContent = 300;

std::optional<Reply> readPostForm(const Call& call, PostForm& form, bool sharesPlace = false) {
    const auto& params = call.params;
    form.content = params.text("content").value_or("");
    auto length = static_cast<std::int64_t>(UnicodeText::chineseLength(form.content));
    bool blank = UnicodeText::trimmed(form.content).empty();
    if (sharesPlace) {
        if (blank || length > longestSharedPlaceContent) {
            return Envelope::refuse(ErrorCode::BadParameter, "发布内容请控制在150字以内");
        }
    } else if (length <= 3 || length > 160 || blank) {
        return Envelope::refuse(ErrorCode::BadParameter, "发布内容请控制在2~80字以内");
    }
    form.place = UnicodeText::trimmed(params.text("place").value_or(""));
    if (UnicodeText::chineseLength(form.place) > 100) {
        return Envelope::refuse(ErrorCode::BadParameter, "地点字数控制在50字以内");
    }
    form.dateString = UnicodeText::trimmed(params.text("dateString").value_or(""));
    if (!form.dateString.empty() && !isDate(form.dateString)) {
        return Envelope::refuse(ErrorCode::BadParameter, "时间格式不正确");
    }
    auto categoryText = params.text("categoryId").value_or("");
    if (!categoryText.empty()) {
        auto categoryId = TextRules::parseInteger(categoryText);
        if (!categoryId || *categoryId < 0) {
            return Envelope::refuse(ErrorCode::BadParameter, "请选择分类");
        }
        if (*categoryId > 0) {
            auto name = call.service.reference.categoryName(*categoryId);
            if (!name && !call.service.reference.categories().empty()) {
                return Envelope::refuse(ErrorCode::BadParameter, "请选择分类");
            }
            form.categoryId = *categoryId;
            form.categoryName = name.value_or("");
        }
    }
    if (const auto* file = params.file("postImg")) {
        if (file->content.size() > Pictures::maxBytes) {
            return Envelope::refuse(ErrorCode::BadPicture, "图片不能超过5MB");
        }
        form.picture = Pictures::check(file->content);
        if (!form.picture) {
            return Envelope::refuse(ErrorCode::BadPicture, "图片格式不正确，请选择JPEG或PNG图片");
        }
        form.pictureBytes = file->content;
    }
    return std::nullopt;
}

// The headline of a post made in the composer: its category, or the general wish.
std::string purposeOf(const PostForm& form) {
    return form.categoryName.empty() ? "想出去玩" : form.categoryName;
}

Reply sendPost(Call& call) {
    auto ideaText = call.params.text("ideaId").value_or("");
    auto content = call.params.text("content").value_or("");
    if (!ideaText.empty() && UnicodeText::trimmed(content).empty()) {
        auto ideaId = TextRules::parseInteger(ideaText);
        if (!ideaId || *ideaId <= 0) {
            return Envelope::refuse(ErrorCode::BadParameter, "请指定想去的主意");
        }
        return IdeaHandlers::wantToGo(call, *ideaId);
    }
    auto link = call.params.text("link").value_or("");
    PostForm form;
    if (auto refusal = readPostForm(call, form, !UnicodeText::trimmed(link).empty())) {
        return *refusal;
    }
    auto ideaId = TextRules::parseInteger(ideaText.empty() ? "0" : ideaText).value_or(0);
    if (link.size() > 2000) {
        return Envelope::refuse(ErrorCode::BadParameter, "链接太长了");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto author = Records::user(connection, *call.uid);
        if (!author || !author->hasGuided) {
            reply = Envelope::refuse(ErrorCode::ProfileIncomplete, "请先完善个人资料再发布Zorlet");
            return;
        }
        std::string pictureName;
        if (form.picture) {
            auto stored =
                call.service.pictures.store(connection, *form.pictureBytes, *form.picture, *call.uid);
            if (!stored) {
                reply = Envelope::serverFault();
                return;
            }
            pictureName = *stored;
        }
        connection
            .prepare(
                "INSERT INTO posts (uid, purpose, content, place, city_name, date_string, category_id, "
                "category_name, idea_id, link, pic, created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
            .bind(1, *call.uid)
            .bind(2, purposeOf(form))
            .bind(3, form.content)
            .bind(4, form.place)
            .bind(5, form.place.empty() ? std::string() : author->cityName)
            .bind(6, form.dateString)
            .bind(7, form.categoryId)
            .bind(8, form.categoryName)
            .bind(9, ideaId)
            .bind(10, link)
            .bind(11, pictureName)
            .bind(12, call.view.now)
            .run();
        // Publishing counts as activity, so the author also leads the active list.
        connection.prepare("UPDATE users SET last_active = ? WHERE uid = ?")
            .bind(1, call.view.now)
            .bind(2, *call.uid)
            .run();
        auto post = Records::latestPost(connection, *call.uid);
        reply = Envelope::ok(Views::post(connection, *post, call.view));
    });
    return reply;
}

Reply editPost(Call& call) {
    auto postId = TextRules::parseInteger(call.params.text("postId").value_or(""));
    if (!postId || *postId <= 0) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要修改的Zorlet");
    }
    PostForm form;
    if (auto refusal = readPostForm(call, form)) {
        return *refusal;
    }
    auto keptPic = call.params.text("pic").value_or("");
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto post = Records::post(connection, *postId);
        if (!post) {
            reply = Envelope::refuse(ErrorCode::NotFound, "这条Zorlet已经不存在了");
            return;
        }
        if (post->uid != *call.uid) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "只能修改自己的Zorlet");
            return;
        }
        // A new picture replaces the old one; otherwise the post keeps the picture it
        // names (only its own), and an empty name removes it.
        std::string pictureName;
        if (form.picture) {
            auto stored =
                call.service.pictures.store(connection, *form.pictureBytes, *form.picture, *call.uid);
            if (!stored) {
                reply = Envelope::serverFault();
                return;
            }
            pictureName = *stored;
        } else if (!keptPic.empty()) {
            if (keptPic != post->pic) {
                reply = Envelope::refuse(ErrorCode::BadParameter, "图片不存在，请重新选择");
                return;
            }
            pictureName = post->pic;
        }
        auto author = Records::user(connection, *call.uid);
        if (!author) {
            reply = Envelope::unauthorized();
            return;
        }
        connection
            .prepare(
                "UPDATE posts SET purpose = ?, content = ?, place = ?, city_name = ?, date_string = ?, "
                "category_id = ?, category_name = ?, pic = ? WHERE post_id = ?")
            .bind(1, form.categoryName.empty() ? post->purpose : purposeOf(form))
            .bind(2, form.content)
            .bind(3, form.place)
            .bind(4, form.place.empty() ? std::string()
                                        : (post->cityName.empty() ? author->cityName : post->cityName))
            .bind(5, form.dateString)
            .bind(6, form.categoryId)
            .bind(7, form.categoryName)
            .bind(8, pictureName)
            .bind(9, *postId)
            .run();
        reply = Envelope::ok(Views::post(connection, *Records::post(connection, *postId), call.view));
    });
    return reply;
}

Reply respond(Call& call) {
    auto postId = TextRules::parseInteger(call.params.text("postId").value_or(""));
    if (!postId || *postId <= 0) {
        return Envelope::refuse(ErrorCode::BadParameter, "请指定要响应的Zorlet");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto post = Records::post(connection, *postId);
        if (!post) {
            reply = Envelope::refuse(ErrorCode::NotFound, "这条Zorlet已经不存在了");
            return;
        }
        if (post->uid == *call.uid) {
            reply = Envelope::refuse(ErrorCode::NotAllowed, "不能响应自己的Zorlet");
            return;
        }
        // Responding twice is one response: the count and the author's notice move only the first time.
        connection.prepare("INSERT OR IGNORE INTO post_responses (post_id, uid, created) VALUES (?, ?, ?)")
            .bind(1, *postId)
            .bind(2, *call.uid)
            .bind(3, call.view.now)
            .run();
        if (connection.changes() == 1) {
            connection.prepare("UPDATE posts SET resp_cnt = resp_cnt + 1 WHERE post_id = ?")
                .bind(1, *postId)
                .run();
            connection.prepare("UPDATE users SET unread_notices = unread_notices + 1 WHERE uid = ?")
                .bind(1, post->uid)
                .run();
        }
        reply = Envelope::ok(Views::post(connection, *Records::post(connection, *postId), call.view));
    });
    return reply;
}

}  // namespace

void PostHandlers::install(Routes& routes) {
    routes.api("/post/respPost", Access::SignedIn, respond);
    routes.api("/post/sendPost", Access::SignedIn, sendPost);
    routes.api("/post/v133/edit", Access::SignedIn, editPost);
}

}  // namespace zorlet::sandbox
