#pragma once

#include "platform/direction_options.h"

#include <QRadioButton>

namespace tallyvane {

class QtDirectionOptions : public DirectionOptions {
public:
    QtDirectionOptions(QRadioButton* option1, QRadioButton* option2)
        : option1_(option1), option2_(option2) {}
    bool option1Selected() const override { return option1_->isChecked(); }
    bool option2Selected() const override { return option2_->isChecked(); }
    void setOption1(bool selected) override { set(option1_, selected); }
    void setOption2(bool selected) override { set(option2_, selected); }

private:
    // An exclusive button refuses to be cleared directly; setChecked emits no
    // clicked(), so the click handlers (which save the choice) do not run.
    static void set(QRadioButton* button, bool selected) {
        const bool exclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(selected);
        button->setAutoExclusive(exclusive);
    }

    QRadioButton* option1_;
    QRadioButton* option2_;
};

} // namespace tallyvane
