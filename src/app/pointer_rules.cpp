#include "app/pointer_rules.h"

#include <QLatin1StringView>

#include <array>

namespace tallyvane {

namespace {

struct PointerRule {
    QLatin1StringView control;
    Pointer pointer;
};

constexpr std::array kRules{
    PointerRule{QLatin1StringView("Form1"), Pointer::Default},
    PointerRule{QLatin1StringView("Frame2"), Pointer::Default},
    PointerRule{QLatin1StringView("ListView1"), Pointer::Default},
    PointerRule{QLatin1StringView("ListView2"), Pointer::Default},
    PointerRule{QLatin1StringView("PushButton1"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton2"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton3"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton4"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton5"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton6"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton7"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton8"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton13"), Pointer::Custom},
    PointerRule{QLatin1StringView("PushButton17"), Pointer::Custom},
};

} // namespace

std::optional<Pointer> pointerForControl(const QString& controlName) {
    for (const PointerRule& rule : kRules) {
        if (controlName == rule.control)
            return rule.pointer;
    }
    return std::nullopt;
}

void Control_MouseMove(WindowServices& window, const QString& controlName) {
    const std::optional<Pointer> wanted = pointerForControl(controlName);
    if (!wanted || window.isBusy())
        return;
    window.setPointer(*wanted);
}

} // namespace tallyvane
