#pragma once

#include "platform/window_services.h"

#include <QString>

#include <optional>

namespace tallyvane {

// The pointer a control asks for while the mouse moves over it: the hand over
// every push button, the arrow over the window background, the frame and the
// two lists. Controls without a pointer handler (the option buttons, the
// progress bar, anything unknown) give nullopt.
std::optional<Pointer> pointerForControl(const QString& controlName);

// The mouse moved over the named control. The pointer is a property of the whole
// window, so it stays until another control asks for a different one; while the
// busy pointer shows, nothing replaces it.
void Control_MouseMove(WindowServices& window, const QString& controlName);

} // namespace tallyvane
