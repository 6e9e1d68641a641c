#include "model/IdeaUser.h"

namespace zorlet {

std::shared_ptr<IdeaUser> IdeaUser::convertFromDictionary(const Json& dictionary) {
    auto ideaUser = std::make_shared<IdeaUser>();
    ideaUser->ideaId = jsonInt(dictionary, "ideaId");
    ideaUser->user = User::convertFromDictionary(jsonObject(dictionary, "userView"));
    ideaUser->createTime = jsonDouble(dictionary, "createTime") / 1000;
    return ideaUser;
}

}  // namespace zorlet
