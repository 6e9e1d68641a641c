#include "platform/MessageOutbox.h"
#include "platform/OutgoingMessage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zorlet;

namespace {

OutgoingMessage mail(std::string subject, std::string body, bool html) {
    OutgoingMessage message;
    message.kind = OutgoingMessage::Kind::Mail;
    message.recipients = {"a@example.test", "b@example.test"};
    message.subject = std::move(subject);
    message.body = std::move(body);
    message.isHTML = html;
    return message;
}

TEST(OutgoingMessage, HandOffLinksEscapeEverythingTheUserTyped) {
    OutgoingMessage sms;
    sms.recipients = {"10086", "+8613800138000"};
    sms.body = "去看看 a&b=c?d#e";
    EXPECT_EQ(sms.handoffUrl(),
              "sms:10086,%2B8613800138000?body=%E5%8E%BB%E7%9C%8B%E7%9C%8B%20a%26b%3Dc%3Fd%23e");

    OutgoingMessage noRecipients;
    noRecipients.body = "x";
    EXPECT_EQ(noRecipients.handoffUrl(), "sms:?body=x");

    // A subject cannot smuggle in a field of its own; an HTML body goes as the text it shows.
    auto message = mail("hi&cc=evil@example.test", "<p>one</p><p>two &amp; three</p>", true);
    EXPECT_EQ(message.handoffUrl(),
              "mailto:a%40example.test,b%40example.test?subject=hi%26cc%3Devil%40example.test"
              "&body=one%0Atwo%20%26%20three%0A");
}

TEST(OutgoingMessage, PlainBodyDropsTagsKeepsLineBreaksAndDecodesEntities) {
    EXPECT_EQ(mail("", "a<br>b<br/>c <b>bold</b> &lt;x&gt; &quot;q&quot;", true).plainBody(),
              "a\nb\nc bold <x> \"q\"");
    EXPECT_EQ(mail("", "<a href='x'>unclosed", true).plainBody(), "unclosed");
    EXPECT_EQ(mail("", "broken <tag", true).plainBody(), "broken ");
    // A plain body is shown as typed, angle brackets and all.
    EXPECT_EQ(mail("", "1 < 2 <b>", false).plainBody(), "1 < 2 <b>");
}

TEST(MessageOutbox, MailHeadersCannotBeInjectedAndNonAsciiIsEncoded) {
    auto message = mail("注意\r\nBcc: evil@example.test", "hello", false);
    message.recipients = {"a@example.test\r\nX-Evil: 1"};
    std::string eml = MessageOutbox::emlText(message, SystemTime{});
    EXPECT_EQ(eml.find("\r\nBcc:"), std::string::npos) << eml;
    EXPECT_EQ(eml.find("\r\nX-Evil:"), std::string::npos) << eml;
    EXPECT_NE(eml.find("Subject: =?UTF-8?B?"), std::string::npos) << eml;
    EXPECT_NE(eml.find("Date: Thu, 01 Jan 1970 00:00:00 +0000\r\n"), std::string::npos) << eml;
    EXPECT_NE(eml.find("Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n"
                       "aGVsbG8=\r\n"),
              std::string::npos)
        << eml;
}

TEST(MessageOutbox, MessagesWrittenInTheSameSecondGetFilesOfTheirOwn) {
    auto folder = std::filesystem::temp_directory_path() / "zorlet-outbox-test";
    std::filesystem::remove_all(folder);
    OutgoingMessage sms;
    sms.body = "one";
    std::filesystem::path first;
    std::filesystem::path second;
    EXPECT_EQ(MessageOutbox::write(sms, folder, SystemTime{}, &first), "");
    EXPECT_EQ(MessageOutbox::write(mail("s", "two", false), folder, SystemTime{}, &second), "");
    EXPECT_NE(first, second);
    EXPECT_TRUE(std::filesystem::exists(first));
    EXPECT_EQ(second.extension(), ".eml");
    EXPECT_EQ(std::filesystem::status(second).permissions() & std::filesystem::perms::others_read,
              std::filesystem::perms::none);

    // A folder that cannot be made is a failure, not a lost message reported as sent.
    std::filesystem::path blocked = folder / "file";
    EXPECT_EQ(MessageOutbox::write(sms, folder, SystemTime{}, nullptr), "");
    std::ofstream(blocked) << "x";
    EXPECT_NE(MessageOutbox::write(sms, blocked / "Outbox", SystemTime{}, nullptr), "");
    std::filesystem::remove_all(folder);
}

}  // namespace
