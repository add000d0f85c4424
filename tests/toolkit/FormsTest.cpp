// Components, forms and the application object: ownership, the exception
// boundary around handlers, form creation and closing.

#include "platform/toolkit/Button.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Panel.h"
#include "tests/support/RecordingDialogs.h"
#include "tests/toolkit/ShowForm.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::vector<int>* destroyedLog = nullptr;

// Notes its number in destroyedLog when destroyed.
class Tracked : public TComponent {
public:
    Tracked(TComponent* owner, int number) : TComponent(owner), FNumber(number) {}
    ~Tracked() override
    {
        if (destroyedLog) destroyedLog->push_back(FNumber);
    }

private:
    int FNumber;
};

TEST(Component, OwnerDestroysItsComponentsNewestFirst)
{
    std::vector<int> log;
    destroyedLog = &log;
    {
        TComponent owner(nullptr);
        new Tracked(&owner, 1);
        auto* second = new Tracked(&owner, 2);
        new Tracked(second, 21);  // owned in turn
        auto* third = new Tracked(&owner, 3);
        delete third;  // leaves its owner's list
        EXPECT_EQ(owner.ComponentCount(), 2);
        new Tracked(&owner, 4);
    }
    destroyedLog = nullptr;
    // A component goes before the components it owns in turn.
    EXPECT_EQ(log, (std::vector<int>{3, 4, 2, 21, 1}));
}

// Qt may delete a control's widget with its parent widget first; the control
// must then leave it alone (the sanitizer build catches a double delete).
TEST(Component, ControlOutlivesItsWidget)
{
    TComponent panelOwner(nullptr);
    TComponent labelOwner(nullptr);
    auto* panel = new TPanel(&panelOwner);
    auto* label = new TLabel(&labelOwner);
    label->SetParent(panel);
    label->SetName("lblCaption");
    EXPECT_EQ(label->Widget()->objectName(), "lblCaption");
    delete panel;
    EXPECT_EQ(label->Widget(), nullptr);
    EXPECT_EQ(label->Parent(), nullptr);
    label->SetText("still usable");
    label->SetBounds(1, 2, 3, 4);
    EXPECT_EQ(label->Width(), 0);
}

TEST(Component, AccessibleNameIsTheChosenOneElseHintElseCaptionNeverTheComponentName)
{
    TComponent owner(nullptr);
    auto* button = new TButton(&owner);
    button->SetName("Button1");
    EXPECT_EQ(button->Widget()->accessibleName(), "");
    button->SetText("Apply");
    EXPECT_EQ(button->Widget()->accessibleName(), "Apply");
    button->SetHint("Apply the size");
    EXPECT_EQ(button->Widget()->accessibleName(), "Apply the size");
    EXPECT_EQ(button->Widget()->toolTip(), "Apply the size");
    button->SetAccessibleName("Apply the tile size");
    EXPECT_EQ(button->Widget()->accessibleName(), "Apply the tile size");
    EXPECT_EQ(button->Widget()->toolTip(), "Apply the size") << "a reader's name is no tool tip";
}

class HandlerBoundaryTest : public ::testing::Test {
protected:
    void SetUp() override { RecordingDialogs::Instance().Clear(); }
    void TearDown() override { RecordingDialogs::Instance().Clear(); }
};

TEST_F(HandlerBoundaryTest, ExceptionsGoToTheErrorDisplay)
{
    InvokeHandler([] { throw Exception("Access is denied."); });
    InvokeHandler([] { throw std::runtime_error("plain failure"); });
    InvokeHandler([] { throw 42; });
    InvokeHandler([] {});
    InvokeHandler(nullptr);
    const auto& errors = RecordingDialogs::Instance().errors;
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0], "Access is denied.");
    EXPECT_EQ(errors[1], "plain failure");
    EXPECT_FALSE(errors[2].empty());
}

TEST_F(HandlerBoundaryTest, EventLoopGoesOnAfterAHandlerRaises)
{
    TForm form(nullptr);
    auto* button = new TButton(&form);
    button->SetParent(&form);
    button->SetBounds(0, 0, 80, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        throw Exception("first click fails");
    };
    ASSERT_TRUE(ShowForm(form));
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    bool laterEventRan = false;
    QTimer::singleShot(0, [&] { laterEventRan = true; });
    for (int i = 0; i < 100 && !laterEventRan; ++i) Application->ProcessMessages();
    EXPECT_TRUE(laterEventRan);
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(RecordingDialogs::Instance().errors,
              (std::vector<AnsiString>{"first click fails", "first click fails"}));
}

int failingFormsAlive = 0;

class FailingForm : public TForm {
public:
    explicit FailingForm(TComponent* owner) : TForm(owner)
    {
        ++failingFormsAlive;
        OnCreate = [](TObject*) { throw Exception("cannot open the folder"); };
    }
    ~FailingForm() override { --failingFormsAlive; }
};

TEST(Forms, CreateFormDestroysTheFormWhenOnCreateRaises)
{
    FailingForm* form = nullptr;
    const int before = Application->ComponentCount();
    try {
        Application->CreateForm(form);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "cannot open the folder");
    }
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(failingFormsAlive, 0);
    EXPECT_EQ(Application->ComponentCount(), before);
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(Screen, CursorReadsBackWhatWasSet)
{
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
