// How a screen reader names each control of a template: as the accessibility of a Windows
// dialog derives it, from a button's caption or from the label that stands before a field, with
// what the template says itself where that is not enough.
#include <gtest/gtest.h>

#include "ui/Accessible.h"

namespace {

using ui::ControlKind;

ui::ControlTemplate Ctl(ControlKind kind, const char* caption = "", uint32_t style = 0) {
    ui::ControlTemplate c;
    c.id = 1300;
    c.kind = kind;
    c.caption = caption;
    c.style = style;
    return c;
}

std::vector<std::string> Names(const ui::DialogTemplate& t) {
    std::vector<std::string> names;
    for (size_t i = 0; i < t.controls.size(); ++i) {
        names.push_back(ui::AccessibleName(t, i));
    }
    return names;
}

TEST(AccessibleNames, AFieldTakesTheLabelBeforeItAndAButtonItsOwnCaption) {
    ui::DialogTemplate t;
    t.controls = {
        Ctl(ControlKind::Static, "&Width:"),
        Ctl(ControlKind::Edit),
        Ctl(ControlKind::PushButton, "&Show", ui::WS_TABSTOP),
        Ctl(ControlKind::ComboBox),  // past the button, still the label's
        Ctl(ControlKind::GroupBox, "Output"),
        Ctl(ControlKind::ListView),  // a group box is no label
        Ctl(ControlKind::CheckBox, "Fish && Chips"),
        Ctl(ControlKind::Icon, "128"),
        Ctl(ControlKind::DropDownList),
    };
    EXPECT_EQ(Names(t), (std::vector<std::string>{"Width:", "Width:", "Show", "Width:", "Output",
                                                  "Width:", "Fish & Chips", "", "Width:"}));
    EXPECT_EQ(ui::NamingLabel(t, 1), 0);
    EXPECT_EQ(ui::NamingLabel(t, 2), -1);  // a button names itself
}

TEST(AccessibleNames, TheLookBackStopsAtAControlThatStartsAGroupOfTabStops) {
    ui::DialogTemplate t;
    t.controls = {
        Ctl(ControlKind::Static, "Far:"),
        Ctl(ControlKind::PushButton, "Group", ui::WS_GROUP | ui::WS_TABSTOP),
        Ctl(ControlKind::Edit),
        Ctl(ControlKind::PushButton, "Grouped only", ui::WS_GROUP),
        Ctl(ControlKind::Edit),
    };
    EXPECT_EQ(ui::AccessibleName(t, 2), "");
    EXPECT_EQ(ui::NamingLabel(t, 2), -1);
    EXPECT_EQ(ui::AccessibleName(t, 4), "");  // still behind the group's start
}

TEST(AccessibleNames, TheTemplatesOwnNameAndDescriptionComeFirst) {
    ui::DialogTemplate t;
    ui::ControlTemplate vertical = Ctl(ControlKind::Edit);
    vertical.accessibleName = "Size: Vertical";
    ui::ControlTemplate box = Ctl(ControlKind::CheckBox, "Select all");
    box.accessibleDescription = "of the first list";
    t.controls = {Ctl(ControlKind::Static, "Size:"), vertical, box};
    EXPECT_EQ(ui::AccessibleName(t, 1), "Size: Vertical");
    EXPECT_EQ(ui::NamingLabel(t, 1), -1);
    EXPECT_EQ(ui::AccessibleName(t, 2), "Select all");
    EXPECT_EQ(ui::AccessibleDescription(t, 2), "of the first list");
    EXPECT_EQ(ui::AccessibleDescription(t, 1), "");
    EXPECT_EQ(ui::AccessibleName(t, 9), "");  // no such control
}

TEST(AccessibleNames, OnlyWhatAUserWorksNeedsAName) {
    for (ControlKind kind :
         {ControlKind::Edit, ControlKind::PushButton, ControlKind::CheckBox, ControlKind::ComboBox,
          ControlKind::DropDownList, ControlKind::ListView}) {
        EXPECT_TRUE(ui::NeedsAccessibleName(kind));
    }
    for (ControlKind kind : {ControlKind::Static, ControlKind::GroupBox, ControlKind::Icon}) {
        EXPECT_FALSE(ui::NeedsAccessibleName(kind));
    }
}

}  // namespace
