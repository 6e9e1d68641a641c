#include "sandbox/ServiceRoutes.h"

#include "sandbox/Envelope.h"
#include "sandbox/Routes.h"
#include "sandbox/handlers/AccountHandlers.h"
#include "sandbox/handlers/AdminHandlers.h"
#include "sandbox/handlers/BlacklistHandlers.h"
#include "sandbox/handlers/DateSuggestionHandlers.h"
#include "sandbox/handlers/DialogHandlers.h"
#include "sandbox/handlers/ExternalAccountHandlers.h"
#include "sandbox/handlers/ExternalHandlers.h"
#include "sandbox/handlers/FeedHandlers.h"
#include "sandbox/handlers/HomeHandlers.h"
#include "sandbox/handlers/IdeaHandlers.h"
#include "sandbox/handlers/MyHomeHandlers.h"
#include "sandbox/handlers/NoticeHandlers.h"
#include "sandbox/handlers/PasswordResetHandlers.h"
#include "sandbox/handlers/PictureHandlers.h"
#include "sandbox/handlers/PostDetailHandlers.h"
#include "sandbox/handlers/PostHandlers.h"
#include "sandbox/handlers/ProfileHandlers.h"
#include "sandbox/handlers/ReferenceHandlers.h"
#include "sandbox/handlers/RelationHandlers.h"
#include "sandbox/handlers/RescueHandlers.h"
#include "sandbox/handlers/UpdateHandlers.h"
#include "sandbox/handlers/UserHomeHandlers.h"

#include <httplib.h>

namespace zorlet::sandbox {

namespace {

// Pictures are at most 5 MB; the rest of a multipart body is small.
constexpr size_t largestBody = 8 * 1024 * 1024;

}  // namespace

void ServiceRoutes::configure(httplib::Server& http) {
    http.set_payload_max_length(largestBody);
    http.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (response.status == 404 && response.body.empty()) {
            Routes::apply(Envelope::notFound(), response);
        } else if (response.status == 413) {  // an answer the client can show, not a transport failure
            Routes::apply(Envelope::refuse(ErrorCode::BadParameter, "提交的内容过长"), response);
        }
    });
}

void ServiceRoutes::install(Routes& routes, TestControl* testControl) {
    AccountHandlers::install(routes);
    PasswordResetHandlers::install(routes);
    ExternalAccountHandlers::install(routes);
    ReferenceHandlers::install(routes);
    ProfileHandlers::install(routes);
    NoticeHandlers::install(routes);
    DialogHandlers::install(routes);
    HomeHandlers::install(routes);
    FeedHandlers::install(routes);
    PostHandlers::install(routes);
    IdeaHandlers::install(routes);
    ExternalHandlers::install(routes);
    PostDetailHandlers::install(routes);
    UserHomeHandlers::install(routes);
    MyHomeHandlers::install(routes);
    RelationHandlers::install(routes);
    BlacklistHandlers::install(routes);
    RescueHandlers::install(routes);
    UpdateHandlers::install(routes);
    DateSuggestionHandlers::install(routes);
    PictureHandlers::install(routes);
    if (testControl) {
        AdminHandlers::install(routes, *testControl);
    }
}

}  // namespace zorlet::sandbox
