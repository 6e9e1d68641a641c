#include "session/LoginUser.h"

#include "platform/DataFolder.h"
#include "platform/KeyedArchive.h"

namespace zorlet {

LoginUser::LoginUser(std::string pToken, std::string lToken)
    : pToken(std::move(pToken)), lToken(std::move(lToken)) {}

std::filesystem::path LoginUser::dataFilePath() {
    return DataFolder::shared().documents() / "user";
}

Json LoginUser::encode() const {
    return {{kPTokenKey, pToken}, {kLTokenKey, lToken}};
}

std::shared_ptr<LoginUser> LoginUser::decode(const Json& fields) {
    return std::make_shared<LoginUser>(jsonString(fields, kPTokenKey), jsonString(fields, kLTokenKey));
}

std::shared_ptr<LoginUser> LoginUser::initFromData() {
    auto fields = KeyedArchive::read(dataFilePath(), kRootKey);
    if (!fields) {
        return nullptr;
    }
    return decode(*fields);
}

bool LoginUser::save() const {
    return KeyedArchive::write(dataFilePath(), kRootKey, encode());
}

bool LoginUser::reset() {
    return LoginUser().save();
}

}  // namespace zorlet
