#include "session/LoginUser.h"

#include "model/HexBytes.h"
#include "platform/DataFolder.h"
#include "platform/KeyedArchive.h"

namespace zorlet {

LoginUser::LoginUser(std::string pToken, std::string lToken)
    : pToken(std::move(pToken)), lToken(std::move(lToken)) {}

std::filesystem::path LoginUser::dataFilePath() {
    return DataFolder::shared().documents() / "user";
}

namespace {

// JSON text holds UTF-8 only; the encoder refuses anything else.
bool hasJsonForm(const std::string& text) {
    try {
        (void)Json(text).dump();
        return true;
    } catch (const Json::exception&) {
        return false;
    }
}

void encodeToken(Json& fields, const char* key, const char* hexKey, const std::string& token) {
    if (hasJsonForm(token)) {
        fields[key] = token;
    } else {
        // Earlier versions read the plain key only; empty, it reads as "no token" there.
        fields[key] = "";
        fields[hexKey] = stringWithHexBytes(token);
    }
}

std::string decodeToken(const Json& fields, const char* key, const char* hexKey) {
    if (auto bytes = bytesWithHexString(jsonString(fields, hexKey)); bytes && !bytes->empty()) {
        return *bytes;
    }
    return jsonString(fields, key);
}

}  // namespace

Json LoginUser::encode() const {
    Json fields = Json::object();
    encodeToken(fields, kPTokenKey, kPTokenHexKey, pToken);
    encodeToken(fields, kLTokenKey, kLTokenHexKey, lToken);
    return fields;
}

std::shared_ptr<LoginUser> LoginUser::decode(const Json& fields) {
    return std::make_shared<LoginUser>(decodeToken(fields, kPTokenKey, kPTokenHexKey),
                                       decodeToken(fields, kLTokenKey, kLTokenHexKey));
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
