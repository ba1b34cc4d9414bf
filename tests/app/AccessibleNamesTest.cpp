// Every window of the program read by a screen reader: each control a user works has a name,
// no two read alike, and a field named by a label stands where that label is seen to name it.
// The windows are every template the program has, so a new one is held to the same.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "resources/Resource.h"
#include "ui/Accessible.h"

namespace {

std::vector<const ui::DialogTemplate*> EveryWindow() {
    std::vector<const ui::DialogTemplate*> windows;
    for (int id = 1; id < 1000; ++id) {
        if (const ui::DialogTemplate* t = res::FindTemplate(id)) {
            windows.push_back(t);
        }
    }
    return windows;
}

bool Overlap(int a, int aLength, int b, int bLength) {
    return a < b + bLength && b < a + aLength;
}

TEST(ProgramWindows, EveryShownControlAUserWorksHasANameNoOtherHas) {
    const auto windows = EveryWindow();
    ASSERT_GE(windows.size(), 4u);
    for (const ui::DialogTemplate* t : windows) {
        std::set<std::pair<std::string, std::string>> heard;
        for (size_t i = 0; i < t->controls.size(); ++i) {
            const ui::ControlTemplate& control = t->controls[i];
            if (control.hidden || !ui::NeedsAccessibleName(control.kind)) {
                continue;
            }
            const std::string name = ui::AccessibleName(*t, i);
            EXPECT_FALSE(name.empty()) << "dialog " << t->id << ", control " << control.id;
            EXPECT_TRUE(heard.insert({name, ui::AccessibleDescription(*t, i)}).second)
                << "dialog " << t->id << ": two controls read \"" << name << "\"";
        }
    }
}

TEST(ProgramWindows, ALabelThatNamesAFieldStandsLeftOfItOnItsRowOrRightAboveIt) {
    for (const ui::DialogTemplate* t : EveryWindow()) {
        for (size_t i = 0; i < t->controls.size(); ++i) {
            const int label = ui::NamingLabel(*t, i);
            if (label < 0 || t->controls[i].hidden) {
                continue;
            }
            const ui::ControlTemplate& named = t->controls[static_cast<size_t>(label)];
            // A static the program writes into names nothing: its text is not the field's.
            EXPECT_EQ(named.id, ui::IDC_STATIC)
                << "dialog " << t->id << ": control " << t->controls[i].id
                << " takes its name from static " << named.id;
            const ui::Rect& field = t->controls[i].rect;
            const ui::Rect& text = named.rect;
            const bool left =
                text.x + text.cx <= field.x + 2 && Overlap(text.y, text.cy, field.y, field.cy);
            const bool above = text.y + text.cy <= field.y + 2 && field.y - text.y < 24 &&
                               Overlap(text.x, text.cx, field.x, field.cx);
            EXPECT_TRUE(left || above)
                << "dialog " << t->id << ": \"" << named.caption << "\" names control "
                << t->controls[i].id << ", which it does not stand by";
        }
    }
}

TEST(ProgramWindows, TheTwoSelectAllBoxesSayWhichListTheySelect) {
    const ui::DialogTemplate& main = res::MainTemplate();
    std::vector<std::string> described;
    for (size_t i = 0; i < main.controls.size(); ++i) {
        if (main.controls[i].id == res::IDC_SELECT_ALL_USER ||
            main.controls[i].id == res::IDC_SELECT_ALL_SUPPORTED) {
            EXPECT_EQ(ui::AccessibleName(main, i), "Select all resolution");
            described.push_back(ui::AccessibleDescription(main, i));
        }
    }
    ASSERT_EQ(described.size(), 2u);
    EXPECT_NE(described[0].find("User Added Resolutions"), std::string::npos);
    EXPECT_NE(described[1].find("Supported Resolutions"), std::string::npos);
}

}  // namespace
