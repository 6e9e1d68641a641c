#pragma once

#include "model/Option.h"
#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

// One question of the outing-preference questionnaire, with its choices and the user's answer.
class Preference : public Record {
public:
    static constexpr const char* kRecordClassName = "Preference";

    // The kinds of question (`inputType`).
    enum InputType : std::int64_t {
        MultipleChoice = 0,  // answers: decimal texts of the chosen option values
        SingleChoice = 1,    // answers: none, or the chosen option's value
        Range = 2,           // answers: none, or low and high
        FreeText = 3,        // answers: none, or one text
    };

    static std::shared_ptr<Preference> convertFromDictionary(const Json& dictionary);
    // Every field; the copy has its own answer list and shares the Option objects.
    std::shared_ptr<Preference> copy() const { return std::make_shared<Preference>(*this); }

    std::int64_t objIdentity() const override { return preferendeId; }

    // The text shown under the question: the answer, then the free-text
    // supplement ("补充说明:"), or the tip when there is neither.
    std::string finalDisplayAnswer() const;

    std::int64_t preferendeId = 0;
    std::string title;
    std::string displayAnswer;
    std::string description;
    std::string tip;
    std::int64_t inputType = MultipleChoice;
    bool openDescription = false;
    std::vector<Json> answers;
    std::vector<OptionPtr> options;
    std::int64_t minValidationValue = 0;
    std::int64_t maxValidationValue = 0;
};

using PreferencePtr = std::shared_ptr<Preference>;

}  // namespace zorlet
