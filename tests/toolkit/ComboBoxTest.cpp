// The combo box: its Items are the box's own entries; OnClick is the user's
// choice only; OnKeyDown sees typed keys as virtual-key codes and may
// consume them.

#include "platform/toolkit/ComboBox.h"
#include "tests/toolkit/ShowForm.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        box = new TComboBox(&form);
        box->SetParent(&form);
        box->SetBounds(0, 0, 200, 22);
        box->OnClick = [this](TObject*) { clickTexts.push_back(box->GetText()); };
    }

    TForm form{nullptr};
    TComboBox* box = nullptr;
    std::vector<AnsiString> clickTexts;
    int first = 1, second = 2;
};

TEST_F(ComboBoxTest, ItemsAreTheBoxEntriesWithTheirObjects)
{
    box->SetText("typed");
    box->Items()->InsertObject(0, "C:\\", &first);
    box->Items()->InsertObject(0, "C:\\photos", &second);
    QComboBox* widget = box->Box();
    ASSERT_EQ(widget->count(), 2);
    EXPECT_EQ(widget->itemText(0), "C:\\photos");
    EXPECT_EQ(box->Items()->IndexOf("C:\\"), 1);
    EXPECT_EQ(box->Items()->IndexOf("c:\\"), -1);  // whole text, exact case
    EXPECT_EQ(box->Items()->IndexOf("C:"), -1);
    EXPECT_EQ(box->Items()->GetObject(1), &first);
    EXPECT_EQ(box->Items()->GetObject(0), &second);
    // Inserting changes neither the text nor the choice.
    EXPECT_EQ(box->GetText(), "typed");
    EXPECT_EQ(box->GetItemIndex(), -1);
    EXPECT_THROW(box->Items()->InsertObject(5, "x", nullptr), EListError);
    EXPECT_THROW(box->Items()->GetObject(2), EListError);
}

TEST_F(ComboBoxTest, ProgramChoiceRaisesNoClick)
{
    box->Items()->Add("one");
    box->Items()->Add("two");
    box->SetItemIndex(1);
    EXPECT_EQ(box->GetItemIndex(), 1);
    EXPECT_EQ(box->GetText(), "two");
    box->SetText("three");
    EXPECT_EQ(box->GetText(), "three");
    EXPECT_TRUE(clickTexts.empty());
}

TEST_F(ComboBoxTest, UserChoiceFromTheListRaisesClickWithTheEntryText)
{
    box->Items()->AddObject("C:\\", &first);
    box->Items()->AddObject("D:\\", &second);
    ASSERT_TRUE(ShowForm(form));
    QComboBox* widget = box->Box();
    widget->showPopup();
    QAbstractItemView* view = widget->view();
    for (int i = 0; i < 100 && !view->isVisible(); ++i) Application->ProcessMessages();
    ASSERT_TRUE(view->isVisible());
    const QRect entry = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
    for (int i = 0; i < 100 && clickTexts.empty(); ++i) Application->ProcessMessages();
    EXPECT_EQ(clickTexts, std::vector<AnsiString>{"D:\\"});
    EXPECT_EQ(box->GetItemIndex(), 1);
}

TEST_F(ComboBoxTest, SelectionCoversTheWholeText)
{
    box->SetText("::{20D04FE0}");
    box->SetSelStart(0);
    box->SetSelLength(static_cast<int>(box->GetText().size()));
    EXPECT_EQ(box->GetSelStart(), 0);
    EXPECT_EQ(box->GetSelLength(), 12);
    EXPECT_EQ(box->Box()->lineEdit()->selectedText(), "::{20D04FE0}");
}

class ComboBoxKeyTest : public ComboBoxTest {
protected:
    void SetUp() override
    {
        ComboBoxTest::SetUp();
        box->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
            keys.push_back(key);
            if (key == VK_RETURN && consumeEnter) key = 0;
        };
        box->Items()->Add("C:\\");
        ASSERT_TRUE(ShowForm(form));
        box->SetFocus();
    }

    std::vector<WORD> keys;
    bool consumeEnter = true;
};

TEST_F(ComboBoxKeyTest, KeysArriveAsVirtualKeyCodes)
{
    QTest::keyClick(box->Box(), Qt::Key_A);
    QTest::keyClick(box->Box(), Qt::Key_5);
    QTest::keyClick(box->Box(), Qt::Key_Backspace);
    QTest::keyClick(box->Box(), Qt::Key_Return);
    EXPECT_EQ(keys, (std::vector<WORD>{'A', '5', VK_BACK, VK_RETURN}));
    // Keys the handler left alone reached the edit.
    EXPECT_EQ(box->GetText(), "a");
}

TEST_F(ComboBoxKeyTest, ConsumedKeyGoesNoFurther)
{
    box->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
        keys.push_back(key);
        key = 0;
    };
    QTest::keyClick(box->Box(), Qt::Key_B);
    EXPECT_EQ(box->GetText(), "");
    EXPECT_EQ(keys, std::vector<WORD>{'B'});
}

// Enter over text that names an entry is not a choice from the list.
TEST_F(ComboBoxKeyTest, EnterPassedOnDoesNotChooseAnEntry)
{
    consumeEnter = false;
    box->SetText("C:\\");
    QTest::keyClick(box->Box(), Qt::Key_Return);
    EXPECT_EQ(keys, std::vector<WORD>{VK_RETURN});
    EXPECT_TRUE(clickTexts.empty());
    EXPECT_EQ(box->GetText(), "C:\\");
    EXPECT_EQ(box->Box()->count(), 1);  // typed text is never added
}

// Leaving the box with text that names an entry, or turning the wheel over
// it, is no choice; an arrow key stepping to the next entry is one.
TEST_F(ComboBoxKeyTest, OnlyAChoiceOfAnEntryClicks)
{
    box->Items()->Add("D:\\");
    auto* other = new TComboBox(&form);
    other->SetParent(&form);
    other->SetBounds(0, 30, 200, 22);
    box->SetText("D:\\");
    ASSERT_TRUE(box->Focused());
    other->SetFocus();
    QTRY_VERIFY(other->Focused());
    EXPECT_TRUE(clickTexts.empty());
    EXPECT_EQ(box->GetText(), "D:\\");

    QWheelEvent wheel(QPointF(10, 10), box->Box()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(box->Box(), &wheel);
    EXPECT_TRUE(clickTexts.empty());
    EXPECT_EQ(box->GetText(), "D:\\");

    box->SetFocus();
    box->SetItemIndex(0);
    QTest::keyClick(box->Box(), Qt::Key_Down);
    EXPECT_EQ(clickTexts, std::vector<AnsiString>{"D:\\"});
}

}  // namespace
