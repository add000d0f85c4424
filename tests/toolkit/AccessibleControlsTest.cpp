// What the toolkit's controls tell assistive technology as their state
// changes after they were made: Qt asks for a control's interface as soon as
// it is placed, before its layout is complete.

#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/GroupBox.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/ToolBar.h"

#include <QAccessible>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>

namespace {

QAccessibleInterface* ReaderOf(const TControl* control)
{
    return QAccessible::queryAccessibleInterface(control->Widget());
}

class AccessibleControlsTest : public ::testing::Test {
protected:
    template <class T>
    T* Make(TWinControl* parent)
    {
        auto* control = new T(form.get());
        control->SetParent(parent);
        return control;
    }
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
};

TEST_F(AccessibleControlsTest, AFormIsAWindowNamedAsTheWindowSystemTitlesIt)
{
    form->SetCaption("Settings");
    QAccessibleInterface* window = ReaderOf(form.get());
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Settings");
    form->Widget()->setWindowTitle("Settings - Quillet");
    EXPECT_EQ(window->text(QAccessible::Name), "Settings - Quillet");
}

TEST_F(AccessibleControlsTest, AToolButtonBecomesWhatItsStyleSays)
{
    auto* bar = Make<TToolBar>(form.get());
    auto* button = Make<TToolButton>(bar);
    EXPECT_EQ(ReaderOf(button)->role(), QAccessible::Button);
    button->SetStyle(tbsSeparator);
    EXPECT_EQ(ReaderOf(button)->role(), QAccessible::Separator);
    button->SetStyle(tbsCheck);
    EXPECT_EQ(ReaderOf(button)->role(), QAccessible::CheckBox);
}

// Qt's own interface toggles a check button without the click the toolkit
// raises OnClick for.
TEST_F(AccessibleControlsTest, AReaderPressingAButtonRunsItsHandler)
{
    auto* bar = Make<TToolBar>(form.get());
    auto* plain = Make<TToolButton>(bar);
    auto* check = Make<TToolButton>(bar);
    check->SetStyle(tbsCheck);
    int plainClicks = 0, checkClicks = 0;
    plain->OnClick = [&](TObject*) { ++plainClicks; };
    check->OnClick = [&](TObject*) { ++checkClicks; };

    QAccessibleActionInterface* press = ReaderOf(plain)->actionInterface();
    ASSERT_NE(press, nullptr);
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(plainClicks, 1);

    QAccessibleInterface* reader = ReaderOf(check);
    EXPECT_EQ(reader->role(), QAccessible::CheckBox);
    ASSERT_TRUE(reader->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::toggleAction()));
    reader->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(checkClicks, 1);
    EXPECT_TRUE(check->Down());
    EXPECT_TRUE(reader->state().checkable && reader->state().checked);
}

TEST_F(AccessibleControlsTest, AnEmptyCaptionlessGroupBoxIsALine)
{
    auto* box = Make<TGroupBox>(form.get());
    QAccessibleInterface* reader = ReaderOf(box);
    EXPECT_EQ(reader->role(), QAccessible::Separator);
    box->SetText("Size");
    EXPECT_EQ(reader->role(), QAccessible::Grouping);
    EXPECT_EQ(reader->text(QAccessible::Name), "Size");
    box->SetText("");
    auto* edit = Make<TEdit>(box);
    EXPECT_EQ(reader->role(), QAccessible::Grouping) << "it holds a control";
    bool labels = false;
    for (const auto& [other, relation] : reader->relations(QAccessible::Labelled))
        labels = labels || (other == ReaderOf(edit) && relation == QAccessible::Labelled);
    EXPECT_TRUE(labels) << "a group box labels the controls in it";
}

TEST_F(AccessibleControlsTest, ALabelNamesItsFocusControlWhateverItsText)
{
    auto* label = Make<TLabel>(form.get());
    auto* edit = Make<TEdit>(form.get());
    edit->SetText("200");
    EXPECT_NE(ReaderOf(edit)->text(QAccessible::Name), "200") << "the value is no name";
    label->SetText("Width");
    label->SetFocusControl(edit);
    EXPECT_EQ(ReaderOf(edit)->text(QAccessible::Name), "Width");
    label->SetText("Tile width");
    EXPECT_EQ(ReaderOf(edit)->text(QAccessible::Name), "Tile width");
    edit->LineEdit()->setText("300");
    EXPECT_EQ(ReaderOf(edit)->text(QAccessible::Name), "Tile width");
}

}  // namespace
