// The program's three windows as a screen reader meets them: each a window
// named by its caption, every control with a role and a name that says what
// it is, labels tied to what they label, and the playback window's highlight
// told as a checked state.

#include "tests/support/AccessibleEvents.h"
#include "tests/support/WindowTest.h"

#include "platform/toolkit/Button.h"
#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/PageControl.h"
#include "platform/toolkit/ScrollBar.h"
#include "platform/toolkit/SpeedButton.h"
#include "platform/toolkit/ToolBar.h"
#include "platform/toolkit/TrackBar.h"
#include "slideshow/Playinterfaceset.h"
#include "slideshow/Playoptionset.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QSet>
#include <QTabWidget>

#include <functional>

namespace {

template <class T>
T* FindForm()
{
    for (int i = 0; i < Application->ComponentCount(); ++i)
        if (auto* form = dynamic_cast<T*>(Application->Components(i))) return form;
    return nullptr;
}

QAccessibleInterface* ReaderOf(const TControl* control)
{
    return QAccessible::queryAccessibleInterface(control->Widget());
}

QAccessibleInterface* ReaderOf(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

QString NameOf(QAccessibleInterface* iface)
{
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("<none>");
}

// True when label is among the labels iface says it has.
bool LabelledBy(QAccessibleInterface* iface, QAccessibleInterface* label)
{
    for (const auto& [other, relation] : iface->relations(QAccessible::Label))
        if (other == label && (relation & QAccessible::Label)) return true;
    return false;
}

class AccessibleWindowsTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        CreateWindow();
        FWindow->Show();
        Run([this] { FWindow->ToolButton3->Click(); });
        FOptions = FindForm<TPlayOption>();
        ASSERT_NE(FOptions, nullptr);
        Run([this] { FOptions->PlayOKButton->Click(); });
        FPlayback = FindForm<TPlayInterface>();
        ASSERT_NE(FPlayback, nullptr);
        Application->ProcessMessages();
    }
    void TearDown() override
    {
        delete FPlayback;
        delete FOptions;
        WindowTest::TearDown();
    }
    std::vector<TForm*> Windows() const { return {FWindow, FOptions, FPlayback}; }

    TPlayOption* FOptions = nullptr;
    TPlayInterface* FPlayback = nullptr;
};

TEST_F(AccessibleWindowsTest, EveryWindowIsAWindowNamedByItsCaption)
{
    const std::pair<TForm*, QString> windows[] = {
        {FWindow, "Quillet Demo"}, {FOptions, "播放設定介面"}, {FPlayback, "播放介面"}};
    for (const auto& [form, caption] : windows) {
        QAccessibleInterface* window = ReaderOf(form);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->role(), QAccessible::Window) << caption.toStdString();
        EXPECT_EQ(NameOf(window), caption);
        const QString title = form->Widget()->windowTitle();
        if (!title.isEmpty()) {
            EXPECT_EQ(NameOf(window), title);
        }
    }
}

// Walks the tree a reader walks, from each window down; a list shows a few
// of its parts, never all its rows.
TEST_F(AccessibleWindowsTest, NoControlIsNamelessOrNamedByItsObjectName)
{
    for (TForm* form : Windows()) {
        SCOPED_TRACE(form->Name());
        // The controls' names, and the texts the window shows that happen to
        // be one (a page's tab reads "TabSheet2").
        QSet<QString> controlNames{QString::fromStdString(form->Name())}, shownTexts;
        int controls = 1;  // the window itself
        for (int i = 0; i < form->ComponentCount(); ++i) {
            auto* control = dynamic_cast<TControl*>(form->Components(i));
            if (!control || !control->Widget()) continue;
            ++controls;
            controlNames.insert(QString::fromStdString(control->Name()));
            if (auto* pages = qobject_cast<QTabWidget*>(control->Widget()))
                for (int tab = 0; tab < pages->count(); ++tab)
                    shownTexts.insert(pages->tabText(tab));
        }

        int controlsMet = 0;
        std::function<void(QAccessibleInterface*, const QString&)> walk =
            [&](QAccessibleInterface* iface, const QString& path) {
                const QString name = iface->text(QAccessible::Name);
                const QString here = path + "/" + name + "[" + QString::number(iface->role()) + "]";
                const QAccessible::Role role = iface->role();
                if (ControlOf(iface->object())) {
                    ++controlsMet;
                    EXPECT_NE(role, QAccessible::Client)
                        << "a filler: " << iface->object()->objectName().toStdString();
                    if (role != QAccessible::Separator) {
                        EXPECT_FALSE(name.isEmpty())
                            << "nameless: " << iface->object()->objectName().toStdString();
                    }
                }
                // A cell or item reads as its row shows it, blank or not.
                const bool row = role == QAccessible::Cell || role == QAccessible::ListItem;
                if (iface->state().focusable && !row) {
                    EXPECT_FALSE(name.isEmpty())
                        << "a reader lands on a nameless " << here.toStdString();
                }
                if (controlNames.contains(name) && !shownTexts.contains(name))
                    ADD_FAILURE() << "named by an object name: " << here.toStdString();
                const int children = iface->tableInterface() ? std::min(iface->childCount(), 12)
                                                             : iface->childCount();
                for (int i = 0; i < children; ++i)
                    if (QAccessibleInterface* child = iface->child(i)) walk(child, here);
            };
        walk(ReaderOf(form), "");
        EXPECT_EQ(controlsMet, controls) << "controls the walk never reached";
    }
}

TEST_F(AccessibleWindowsTest, GlyphButtonsAreNamedWithoutToolTips)
{
    const std::pair<TToolButton*, QString> buttons[] = {{FWindow->ToolButton1, "縮圖"},
                                                        {FWindow->ToolButton2, "播放"},
                                                        {FWindow->ToolButton3, "播放設定"}};
    for (const auto& [button, name] : buttons) {
        QAccessibleInterface* reader = ReaderOf(button);
        EXPECT_EQ(reader->role(), QAccessible::Button);
        EXPECT_EQ(NameOf(reader), name);
        EXPECT_TRUE(button->Widget()->toolTip().isEmpty()) << name.toStdString();
    }
    EXPECT_EQ(NameOf(ReaderOf(FWindow->tlbtnBrowse)), "Browse");
    EXPECT_EQ(FWindow->tlbtnBrowse->Widget()->toolTip(), "Browse");
}

TEST_F(AccessibleWindowsTest, TheToolBarSeparatorIsASeparatorNoOneCanPress)
{
    QAccessibleInterface* separator = ReaderOf(FWindow->tlbtnSeperater);
    EXPECT_EQ(separator->role(), QAccessible::Separator);
    EXPECT_FALSE(separator->state().focusable);
    if (QAccessibleActionInterface* actions = separator->actionInterface()) {
        EXPECT_FALSE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
}

TEST_F(AccessibleWindowsTest, LabelsNameWhatTheyLabel)
{
    const struct {
        TLabel* label;
        TWinControl* control;
    } pairs[] = {{FWindow->LabelPicWidth, FWindow->EditPicWidth},
                 {FWindow->LabelPicHeight, FWindow->EditPicHeight},
                 {FOptions->PlayLabel1, FOptions->PlayFistTimeCbBox},
                 {FOptions->PlayLabel2, FOptions->PlayLastTimeCbBox},
                 {FOptions->PlayLabel3, FOptions->PlaySpeedSlBar}};
    for (const auto& pair : pairs) {
        const QString caption = QString::fromStdString(pair.label->GetText());
        SCOPED_TRACE(caption.toStdString());
        QAccessibleInterface* control = ReaderOf(pair.control);
        EXPECT_EQ(NameOf(control), caption);
        EXPECT_TRUE(LabelledBy(control, ReaderOf(pair.label)));
    }
    EXPECT_EQ(NameOf(ReaderOf(FWindow->TakBarWidth)), "寬度");
    EXPECT_EQ(NameOf(ReaderOf(FWindow->TakBarHeight)), "高度");
    // Typing a size changes the edit's value, never its name.
    FWindow->EditPicWidth->LineEdit()->setText("300");
    EXPECT_EQ(NameOf(ReaderOf(FWindow->EditPicWidth)), "寬度");
    EXPECT_EQ(ReaderOf(FWindow->EditPicWidth)->text(QAccessible::Value), "300");
    // The edits inside combo boxes are named too.
    EXPECT_EQ(NameOf(ReaderOf(FWindow->cmbxPath->Box()->lineEdit())), "路徑");
    EXPECT_EQ(NameOf(ReaderOf(FOptions->PlayFistTimeCbBox->Box()->lineEdit())), "從");
}

TEST_F(AccessibleWindowsTest, ThePlaybackHighlightIsACheckedState)
{
    TSpeedButton* const playback[] = {FPlayback->PlayFsPlaySpButton, FPlayback->PlayFsStopSpButton,
                                      FPlayback->PlayFsGoSpButton, FPlayback->PlayFsBackSpButton};
    const auto checked = [&] {
        std::vector<bool> states;
        for (TSpeedButton* button : playback) {
            const QAccessible::State state = ReaderOf(button)->state();
            EXPECT_TRUE(state.checkable) << button->Name();
            states.push_back(state.checked);
        }
        return states;
    };
    EXPECT_EQ(checked(), std::vector<bool>(4, false));
    EXPECT_FALSE(ReaderOf(FPlayback->SpeedButton1)->state().checkable);

    AccessibleEvents events;
    Run([&] { FPlayback->PlayFsGoSpButton->Click(); });
    EXPECT_EQ(checked(), (std::vector<bool>{false, false, true, false}));
    const auto changes = events.OfType(QAccessible::StateChanged);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].name, "前進");
    EXPECT_TRUE(changes[0].state.checked);

    Run([&] { FPlayback->PlayFsBackSpButton->Click(); });
    EXPECT_EQ(checked(), (std::vector<bool>{false, false, false, true}));
    // Pressing the highlighted one again clears every highlight.
    Run([&] { FPlayback->PlayFsBackSpButton->Click(); });
    EXPECT_EQ(checked(), std::vector<bool>(4, false));

    // A reader's press action presses the button as a click does.
    QAccessibleInterface* play = ReaderOf(FPlayback->PlayFsPlaySpButton);
    ASSERT_NE(play->actionInterface(), nullptr);
    play->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(play->state().checked);
    EXPECT_EQ(FPlayback->PlayFsPlaySpButton->Font()->Color, clRed);
}

}  // namespace
