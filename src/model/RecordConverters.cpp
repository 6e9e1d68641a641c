#include "model/RecordConverters.h"

#include "model/Category.h"
#include "model/City.h"
#include "model/Dialog.h"
#include "model/DialogContent.h"
#include "model/ExternalCategory.h"
#include "model/ExternalPost.h"
#include "model/Idea.h"
#include "model/IdeaUser.h"
#include "model/Option.h"
#include "model/Post.h"
#include "model/Preference.h"
#include "model/Profession.h"
#include "model/Province.h"
#include "model/User.h"
#include "model/UserHome.h"
#include "net/RecordRegistry.h"

namespace zorlet {

namespace {

template <typename RecordType>
void registerRecord() {
    RecordRegistry::registerConverter(RecordType::kRecordClassName, [](const Json& element) -> RecordPtr {
        return RecordType::convertFromDictionary(element);
    });
}

}  // namespace

void RecordConverters::registerAll() {
    registerRecord<User>();
    registerRecord<Post>();
    registerRecord<UserHome>();
    registerRecord<Idea>();
    registerRecord<IdeaUser>();
    registerRecord<Preference>();
    registerRecord<Option>();
    registerRecord<Category>();
    registerRecord<Profession>();
    registerRecord<Province>();
    registerRecord<City>();
    registerRecord<Dialog>();
    registerRecord<DialogContent>();
    registerRecord<ExternalCategory>();
    registerRecord<ExternalPost>();
}

}  // namespace zorlet
