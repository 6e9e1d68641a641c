#pragma once

namespace zorlet {

// Told by a questionnaire editor when it has stored an answer in its question.
class UserPreferenceItemEditorDelegate {
public:
    virtual ~UserPreferenceItemEditorDelegate() = default;
    virtual void saveComplete() = 0;
};

}  // namespace zorlet
