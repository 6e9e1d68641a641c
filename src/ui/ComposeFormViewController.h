#pragma once

#include "platform/OutgoingMessage.h"
#include "ui/ViewController.h"

#include <memory>

namespace zorlet {

class Label;

// The composer's page: who the message goes to, its subject (mail) and its
// body as the reader will see it, so screenshots and screen dumps show what
// the composer holds.
class ComposeFormViewController : public ViewController {
public:
    std::string className() const override { return "ComposeFormViewController"; }

    void show(const OutgoingMessage& message);

    void viewDidLoad() override;

private:
    void layout();

    OutgoingMessage message_;
    std::shared_ptr<Label> recipientsLabel_;
    std::shared_ptr<Label> subjectLabel_;
    std::shared_ptr<View> separator_;
    std::shared_ptr<Label> bodyLabel_;
};

}  // namespace zorlet
