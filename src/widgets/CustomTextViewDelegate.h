#pragma once

#include "ui/TextView.h"

namespace zorlet {

// What a screen hears from its text view: the toolkit's editing questions
// and events, plus the height changes of a text view that grows with its text.
class CustomTextViewDelegate : public TextViewDelegate {
public:
    // `difference` is the new height minus the current one.
    virtual void textViewWillChangeHeight(TextView&, double difference) {}
    virtual void textViewDidChangeHeight(TextView&, double difference) {}
};

}  // namespace zorlet
