// Qt's own dialogs behind the dialog seam, as a user meets them: the folder
// picker offers no way to write anything, and a message box is wide enough
// for its title. Each dialog is read and closed from a timer while it runs.

#include "platform/base/Drives.h"
#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/Forms.h"
#include "tests/support/RecordingDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

class QtDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { SetDialogSeam(nullptr); }
    void TearDown() override { SetDialogSeam(FRecorder); }

    // Runs look on the dialog of type T once it is up (message boxes run
    // their own modal loop, so they are not Qt's modal widget); a dialog that
    // never comes, or one of another type, is closed so that no test hangs.
    template <class T>
    void WhenShown(std::function<void(T*)> look)
    {
        auto* timer = new QTimer(qApp);
        auto polls = std::make_shared<int>(0);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, polls, look] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<T*>(window); dialog && dialog->isVisible()) {
                    timer->deleteLater();
                    timer->stop();
                    look(dialog);
                    return;
                }
            }
            if (++*polls > 500) {
                for (QWidget* window : QApplication::topLevelWidgets()) {
                    if (auto* dialog = qobject_cast<QDialog*>(window);
                        dialog && dialog->isVisible()) {
                        ADD_FAILURE() << "unexpected dialog " << dialog->metaObject()->className();
                        dialog->reject();
                    }
                }
            }
        });
        timer->start(10);
    }

    RecordingDialogs* FRecorder = &RecordingDialogs::Instance();
};

}  // namespace

// The picker keeps its caption, starts at the namespace root's folder, and
// neither offers to make a folder nor lets one be renamed or deleted.
TEST_F(QtDialogsTest, FolderPickerIsReadOnly)
{
    bool looked = false;
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        looked = true;
        EXPECT_EQ(dialog->windowTitle(), "Select Directory");
        EXPECT_EQ(dialog->fileMode(), QFileDialog::Directory);
        EXPECT_TRUE(dialog->testOption(QFileDialog::ReadOnly));
        EXPECT_TRUE(dialog->testOption(QFileDialog::ShowDirsOnly));
        auto* newFolder = dialog->findChild<QAbstractButton*>("newFolderButton");
        ASSERT_NE(newFolder, nullptr);
        EXPECT_FALSE(newFolder->isVisible() && newFolder->isEnabled());
        for (auto* model : dialog->findChildren<QFileSystemModel*>())
            EXPECT_TRUE(model->isReadOnly());
        dialog->reject();
    });
    AnsiString directory = "unchanged";
    EXPECT_FALSE(SelectDirectory("Select Directory", u"", directory));
    EXPECT_TRUE(looked);
    EXPECT_EQ(directory, "unchanged");
}

// A folder chosen comes back in the namespace's form.
TEST_F(QtDialogsTest, FolderPickerHandsBackTheChosenFolder)
{
    QTemporaryDir root;
    const char* previous = std::getenv("QUILLET_DRIVES");
    const std::string saved = previous ? previous : "";
    setenv("QUILLET_DRIVES", ("C=" + root.path().toStdString()).c_str(), 1);
    ReloadDriveMap();
    QDir(root.path()).mkdir("photos");
    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        // Entering the folder chooses it, with nothing to wait for: a file
        // selected in the view would depend on the model's background load.
        dialog->setDirectory(root.path() + "/photos");
        QMetaObject::invokeMethod(dialog, "accept");
    });
    AnsiString directory;
    EXPECT_TRUE(SelectDirectory("Select Directory", u"", directory));
    EXPECT_EQ(directory, "C:\\photos");
    if (previous)
        setenv("QUILLET_DRIVES", saved.c_str(), 1);
    else
        unsetenv("QUILLET_DRIVES");
    ReloadDriveMap();
}

// A short message still leaves the window manager room for the whole title
// beside the title bar's icon and buttons.
TEST_F(QtDialogsTest, MessageBoxesAreWideEnoughForTheirTitle)
{
    for (bool error : {false, true}) {
        int width = 0, titleWidth = 0;
        WhenShown<QMessageBox>([&](QMessageBox* box) {
            width = box->width();
            titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
            EXPECT_EQ(box->windowTitle(), "Quillet");
            box->accept();
        });
        if (error)
            Dialogs().ShowError("x");
        else
            ShowMessage("x");
        EXPECT_GE(width, titleWidth + 150) << (error ? "error" : "message");
    }
}
