#include "sandbox/handlers/PictureHandlers.h"

#include "sandbox/Pictures.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"

#include "platform/AtomicFile.h"

namespace zorlet::sandbox {

void PictureHandlers::install(Routes& routes) {
    routes.page(R"(/pictures/([0-9a-f]{32}\.(?:jpg|png)))", [](Call& call) {
        Reply reply;
        auto name = call.pathPart(1);
        auto path = call.service.pictures.fileOf(name);
        auto bytes = path ? AtomicFile::read(*path) : std::nullopt;
        if (!bytes) {
            reply.status = 404;
            reply.contentType = "text/plain;charset=UTF-8";
            reply.body = "图片不存在";
            return reply;
        }
        reply.contentType = Pictures::contentTypeOf(name);
        reply.body = std::move(*bytes);
        // A stored picture never changes: a new upload gets a new name.
        reply.withHeader("Cache-Control", "public, max-age=31536000, immutable");
        reply.withHeader("ETag", "\"" + name.substr(0, 32) + "\"");
        return reply;
    });
}

}  // namespace zorlet::sandbox
