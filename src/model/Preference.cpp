#include "model/Preference.h"

namespace zorlet {

std::shared_ptr<Preference> Preference::convertFromDictionary(const Json& dictionary) {
    auto preference = std::make_shared<Preference>();
    preference->preferendeId = jsonInt(dictionary, "preferenceId");
    preference->title = jsonString(dictionary, "title");
    preference->displayAnswer = jsonString(dictionary, "displayAnswer");
    preference->description = jsonString(dictionary, "description");
    preference->tip = jsonString(dictionary, "tip");
    preference->inputType = jsonInt(dictionary, "inputType");
    preference->openDescription = jsonBool(dictionary, "openDescription");
    for (const Json& answer : jsonArray(dictionary, "answer")) {
        preference->answers.push_back(answer);
    }
    for (const Json& option : jsonArray(dictionary, "options")) {
        preference->options.push_back(Option::convertFromDictionary(option));
    }
    preference->minValidationValue = jsonInt(dictionary, "minValidationValue");
    preference->maxValidationValue = jsonInt(dictionary, "maxValidationValue");
    return preference;
}

std::string Preference::finalDisplayAnswer() const {
    std::string text;
    if (!answers.empty()) {
        text += displayAnswer;
    }
    if (!description.empty() && openDescription) {
        text += (text.empty() ? "" : "\n") + std::string("补充说明:") + description;
    }
    return text.empty() ? tip : text;
}

}  // namespace zorlet
