#pragma once

#include <cstddef>
#include <string>

namespace zorlet {

class View;

// A range of text in UTF-8 bytes.
struct TextRange {
    std::size_t location = 0;
    std::size_t length = 0;
    bool operator==(const TextRange&) const = default;
};

// What the keyboard types into: a text field or a text view holding the focus.
class TextInput {
public:
    virtual ~TextInput() = default;
    virtual View& inputView() = 0;
    virtual bool becomeFirstResponder() = 0;
    virtual bool resignFirstResponder() = 0;
    bool isFirstResponder() const;
    // Typing: each goes through the input's delegate, which may refuse it.
    virtual void insertText(const std::string& text) = 0;
    virtual void deleteBackward() = 0;
    // The return key.
    virtual void pressReturn() = 0;
};

// The byte length of the last UTF-8 character of `text` (0 for empty text).
std::size_t lastCharacterLength(const std::string& text);

}  // namespace zorlet
