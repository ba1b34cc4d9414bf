// The "Standard..." button joins template 129 without moving or covering anything.
#include <gtest/gtest.h>

#include "resources/Resource.h"
#include "ui/Dialog.h"

namespace res {
namespace {

bool Overlap(const ui::Rect& a, const ui::Rect& b) {
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
}

TEST(StandardButton, FitsInTheEditorWithoutCoveringAControl) {
    const ui::DialogTemplate& t = InputFormatTemplate();
    EXPECT_EQ(t.cx, 229);
    EXPECT_EQ(t.cy, 160);
    const ui::ControlTemplate* button = t.Find(IDC_STANDARD);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->caption, "Standard...");
    const ui::Rect& r = button->rect;
    EXPECT_LE(r.x + r.cx, t.cx);
    EXPECT_LE(r.y + r.cy, t.cy);
    for (const ui::ControlTemplate& other : t.controls) {
        if (&other == button || other.hidden)
            continue;
        // A drop-down list's rectangle includes its open list; only the closed box counts.
        ui::Rect shown = other.rect;
        if (other.kind == ui::ControlKind::DropDownList)
            shown.cy = 14;
        // The group box is a frame: the button may not sit inside it either.
        EXPECT_FALSE(Overlap(r, shown)) << "covers control " << other.id << " " << other.caption;
    }
}

TEST(StandardButton, OpensATemplateEveryHostFinds) {
    const ui::DialogTemplate* t = FindTemplate(IDD_STANDARD_TIMING);
    ASSERT_NE(t, nullptr);
    for (int id :
         {IDC_STD_KIND, IDC_STD_WIDTH, IDC_STD_HEIGHT, IDC_STD_RATE, IDC_STD_INTERLACED,
          IDC_STD_SHOW, IDC_STD_LIST, IDC_STD_RESULT, IDC_STD_TOLERANCE, ui::IDOK, ui::IDCANCEL})
        EXPECT_NE(t->Find(id), nullptr) << id;
    for (const ui::ControlTemplate& c : t->controls) {
        EXPECT_LE(c.rect.x + c.rect.cx, t->cx) << c.id;
        EXPECT_LE(c.rect.y + c.rect.cy, t->cy) << c.id;
    }
}

}  // namespace
}  // namespace res
