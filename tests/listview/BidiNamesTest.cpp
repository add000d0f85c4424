// Names shown as they are: a bidirectional control in a name is shown as a
// visible mark in the file list, its reader's text and the path box, and
// reorders nothing, while the name's bytes still open the folder.

#include "tests/listview/FolderWindow.h"

#include "platform/toolkit/ComboBox.h"
#include "platform/toolkit/ToolBar.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QImage>

namespace {

const QString kSpoof = QStringLiteral("photo\u202Egpj.exe");  // reads "photoexe.jpg"
const AnsiString kSpoofBytes = kSpoof.toStdString();
const char* const kShown = "photo\u2039RLO\u203Agpj.exe";

class BidiNamesTest : public FolderWindowTest {
protected:
    QImage ListImage()
    {
        Settle();
        return frmQuillet->lstvwVirtualList->ActiveView()->grab().toImage();
    }
};

}  // namespace

TEST_F(BidiNamesTest, AControlIsShownAsAMarkAndTheBytesStay)
{
    MakeFile(kSpoof);
    MakeFolder(QStringLiteral("a\u2067b"));
    OpenWindow();
    ShowAtFixedSize();
    const int row = RowOf(kSpoofBytes);
    ASSERT_GE(row, 0);
    EXPECT_EQ(RowTexts(row)[0], kShown);
    QAccessibleInterface* list =
        QAccessible::queryAccessibleInterface(frmQuillet->lstvwVirtualList->ActiveView());
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->tableInterface(), nullptr);
    EXPECT_EQ(list->tableInterface()->cellAt(row, 0)->text(QAccessible::Name).toStdString(),
              kShown);

    // The folder opens by its bytes; the path box shows the mark and hands
    // the bytes back, so Enter opens the same folder again.
    const AnsiString folder = "C:\\a\u2067b";
    Run([&] { frmQuillet->OpenFolderPath(folder); });
    EXPECT_EQ(frmQuillet->FCurrentPath, folder);
    auto* box = static_cast<QComboBox*>(frmQuillet->cmbxPath->Widget());
    EXPECT_EQ(box->currentText().toStdString(), "C:\\a\u2039RLI\u203Ab");
    EXPECT_EQ(box->itemText(0).toStdString(), "C:\\a\u2039RLI\u203Ab");
    EXPECT_EQ(frmQuillet->cmbxPath->GetText(), folder);
    WORD key = VK_RETURN;
    Run([&] { frmQuillet->cmbxPathKeyDown(frmQuillet->cmbxPath, key, 0); });
    EXPECT_EQ(key, 0);
    EXPECT_EQ(frmQuillet->FCurrentPath, folder);
    EXPECT_TRUE(FDialogs.errors.empty());
}

// What is drawn: the name with the override looks exactly like a name that
// holds the mark itself, not like "photoexe.jpg".
TEST_F(BidiNamesTest, TheOverrideDoesNotReorderTheDrawnName)
{
    MakeFolder("spoof");
    MakeFolder("plain");
    MakeFile("spoof/" + kSpoof);
    MakeFile(QStringLiteral("plain/") + QString::fromUtf8(kShown));
    OpenWindow();
    ShowAtFixedSize();
    frmQuillet->tlbtnList->Click();
    Run([&] { frmQuillet->OpenFolderPath("C:\\spoof"); });
    const QImage spoof = ListImage();
    Run([&] { frmQuillet->OpenFolderPath("C:\\plain"); });
    const QImage plain = ListImage();
    EXPECT_TRUE(spoof == plain);
}
