#pragma once

#include "app/qt/form1.h"
#include "support/fakes.h"

namespace tallyvane::testing {

// Fakes for everything through which the main window would open a box or
// reach outside the test.
struct WindowFakes {
    FakePrompts prompts;
    FakeFileDialog dialog;
    FakeAreaCodeDatabase database;
    FakeSpreadsheet spreadsheet;
    FakeClipboard clipboard;
    FakeBrowser browser;

    // Hands the window these fakes and the settings store (null: the real
    // store under XDG_CONFIG_HOME).
    Form1Overrides overrides(SettingsStore* settings) {
        Form1Overrides o;
        o.prompts = &prompts;
        o.dialog = &dialog;
        o.settings = settings;
        o.database = &database;
        o.spreadsheet = &spreadsheet;
        o.clipboard = &clipboard;
        o.browser = &browser;
        return o;
    }
};

} // namespace tallyvane::testing
