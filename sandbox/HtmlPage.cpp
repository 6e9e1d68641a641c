#include "sandbox/HtmlPage.h"

#include "sandbox/TextRules.h"

namespace zorlet::sandbox {

Reply HtmlPage::reply(int status, const std::string& title, const std::string& body) {
    Reply reply;
    reply.status = status;
    reply.contentType = "text/html;charset=UTF-8";
    reply.body =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"><title>" +
        TextRules::htmlEscape(title) + "</title></head>\n<body>\n" + body + "\n</body></html>\n";
    return reply;
}

}  // namespace zorlet::sandbox
