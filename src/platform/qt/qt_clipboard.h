#pragma once

#include "platform/clipboard.h"

namespace tallyvane {

class QtClipboard : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
};

} // namespace tallyvane
