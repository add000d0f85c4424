// The main window as a screen reader meets it beyond the file list: the
// path box's label, names in the window's language with no nameless pane,
// and the pop-up menu's first entry told as it opens.

#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/PopupMenu.h"
#include "slideshow/Playinterfaceset.h"
#include "slideshow/Playoptionset.h"
#include "tests/shell/MainWindowFixture.h"
#include "tests/support/AccessibleEvents.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {

class ReaderTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        if (QMenu* menu = FWindow->pmnViews->Menu()) menu->hide();
        MainWindowTest::TearDown();
    }
};

// A name in words of Latin letters only, with no Chinese in it.
bool InLatinWords(const QString& text)
{
    int run = 0, longest = 0;
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Han) return false;
        const bool latin = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        run = latin ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest >= 2;
}

}  // namespace

// The path box says what it is, not its value: the box is labelled "路徑"
// (a combo box's own name is its value on this desktop) and its edit is
// named so, whatever folder is open.
TEST_F(ReaderTest, ThePathBoxIsLabelled)
{
    QComboBox* box = FWindow->cmbxPath->Box();
    QAccessibleInterface* combo = QAccessible::queryAccessibleInterface(box);
    ASSERT_NE(combo, nullptr);
    QStringList labels;
    for (const auto& [label, relation] : combo->relations(QAccessible::Label))
        if (relation & QAccessible::Label) labels << label->text(QAccessible::Name);
    EXPECT_EQ(labels, QStringList{"路徑"});
    QAccessibleInterface* edit = QAccessible::queryAccessibleInterface(box->lineEdit());
    EXPECT_EQ(edit->text(QAccessible::Name), "路徑");
    EXPECT_NE(edit->text(QAccessible::Name), box->currentText());
}

// No pane, filler, group or bar a reader stops on is nameless, and the
// names the program chose are in the window's language (the specified
// hints, "Browse" and the others, stay as they are).
TEST_F(ReaderTest, NoNamelessPaneAndNamesInTheWindowsLanguage)
{
    QStringList hints;
    for (int i = 0; i < FWindow->ComponentCount(); ++i)
        if (auto* control = dynamic_cast<TControl*>(FWindow->Components(i)))
            if (!control->Hint().empty()) hints << QString::fromStdString(control->Hint());
    // Texts the layout shows, and the open folder's name as the shell gives
    // it, which names the list.
    const QStringList shownByTheLayout = {"Quillet Demo", "TabSheet2",
                                          FWindow->lstvwVirtualList->Widget()->accessibleName()};
    std::function<void(QAccessibleInterface*, const QString&)> walk =
        [&](QAccessibleInterface* iface, const QString& path) {
            const QString name = iface->text(QAccessible::Name);
            const QAccessible::Role role = iface->role();
            const QString here = path + "/" + name + "[" + QString::number(role) + "]";
            if (role == QAccessible::Table || role == QAccessible::List) return;
            switch (role) {
            case QAccessible::Pane:
            case QAccessible::LayeredPane:
            case QAccessible::Client:
            case QAccessible::Grouping:
            case QAccessible::ToolBar:
            case QAccessible::StatusBar:
            case QAccessible::PageTabList:
                EXPECT_FALSE(name.isEmpty())
                    << "nameless: " << here.toStdString() << " "
                    << (iface->object() ? iface->object()->metaObject()->className() : "");
                break;
            default: break;
            }
            if (InLatinWords(name) && !hints.contains(name) && !shownByTheLayout.contains(name) &&
                role != QAccessible::EditableText && role != QAccessible::ComboBox &&
                role != QAccessible::PageTab && role != QAccessible::MenuItem)
                ADD_FAILURE() << "a name in another language: " << here.toStdString();
            for (int i = 0; i < iface->childCount(); ++i)
                if (QAccessibleInterface* child = iface->child(i)) walk(child, here);
        };
    walk(QAccessible::queryAccessibleInterface(FWindow->Widget()), "");
    TPlayOption options(Application);
    TPlayInterface playback(Application);
    for (TForm* form : {static_cast<TForm*>(&options), static_cast<TForm*>(&playback)}) {
        form->Show();
        walk(QAccessible::queryAccessibleInterface(form->Widget()), "");
    }
}

// From the keyboard the menu opens with its first entry current, and a
// reader hears the menu start and that entry.
TEST_F(ReaderTest, TheMenusFirstEntryIsToldAsItOpens)
{
    FWindow->lstvwVirtualList->SetFocus();
    QTRY_VERIFY(FWindow->lstvwVirtualList->Widget()->isAncestorOf(QApplication::focusWidget()));
    AccessibleEvents events;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = FWindow->pmnViews->Menu();
    ASSERT_NE(menu, nullptr);
    QTRY_VERIFY(menu->isVisible());
    Application->ProcessMessages();
    EXPECT_FALSE(events.OfType(QAccessible::PopupMenuStart).empty());
    bool told = false;
    for (const auto& e : events.OfType(QAccessible::Focus))
        told = told || (e.role == QAccessible::MenuItem && e.name.contains("Large Icons"));
    EXPECT_TRUE(told) << "the first entry was not told";
    EXPECT_EQ(menu->activeAction(), FWindow->LargeIcons1->Action());
}
