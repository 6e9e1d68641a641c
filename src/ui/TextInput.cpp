#include "ui/TextInput.h"

#include "ui/Keyboard.h"

namespace zorlet {

bool TextInput::isFirstResponder() const {
    return Keyboard::shared().firstResponder() == this;
}

std::size_t lastCharacterLength(const std::string& text) {
    std::size_t length = 0;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        ++length;
        if ((static_cast<unsigned char>(*it) & 0xC0) != 0x80) {
            break;  // reached the lead byte
        }
    }
    return length;
}

}  // namespace zorlet
