// A whole session with the real folder picker: nothing is written, by the
// program or by the toolkit on its behalf, and a close request reaches the
// main window while the picker is up. The home, configuration, cache and
// data folders point at a fresh empty folder for the whole program. A program
// of its own: the last test leaves the application terminated.

#include "tests/shell/MainWindowFixture.h"

#include "platform/toolkit/Dialogs.h"
#include "platform/toolkit/ListView.h"
#include "platform/toolkit/ToolBar.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace {

// Made before the application object reads any of these.
const std::string kHome = [] {
    char pattern[] = "/tmp/quillet-home-XXXXXX";
    const char* made = mkdtemp(pattern);
    const std::string home = made ? made : "/tmp";
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
        setenv(name, home.c_str(), 1);
    return home;
}();

// The fresh folder goes with the program.
const struct HomeRemover {
    ~HomeRemover()
    {
        std::error_code ignored;
        std::filesystem::remove_all(kHome, ignored);
    }
} removeHome;

// Everything below the fresh home folder.
std::vector<std::string> HomeContents()
{
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kHome))
        found.push_back(entry.path().string());
    return found;
}

// While it lives the program's own dialogs are shown, and act(picker, n) runs
// on the n-th folder picker that comes up (from 0), again at each look while
// that picker stays up: the dialog may still be loading its folder.
class RealPicker {
public:
    explicit RealPicker(std::function<void(QFileDialog*, int)> act)
        : FAct(std::move(act)), FRecording(&Dialogs())
    {
        SetDialogSeam(nullptr);
        FPoll.setInterval(5);
        QObject::connect(&FPoll, &QTimer::timeout, [this] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* picker = qobject_cast<QFileDialog*>(top);
                if (!picker || !picker->isVisible()) continue;
                // Each picker is a new dialog, though perhaps where the last one was.
                if (!picker->property("quilletSeen").toBool()) {
                    picker->setProperty("quilletSeen", true);
                    ++FShown;
                }
                FAct(picker, FShown - 1);
                return;
            }
        });
        FPoll.start();
    }
    ~RealPicker() { SetDialogSeam(FRecording); }
    RealPicker(const RealPicker&) = delete;
    RealPicker& operator=(const RealPicker&) = delete;
    int Shown() const { return FShown; }

private:
    std::function<void(QFileDialog*, int)> FAct;
    DialogSeam* FRecording;
    QTimer FPoll;
    int FShown = 0;
};

class FolderPickerSessionTest : public MainWindowTest {
protected:
    void Populate(const TempDrive& drive) override
    {
        drive.AddFolder("Photos/2024");
        std::filesystem::copy_file(std::string(QUILLET_TEST_DATA) + "/jpeg/sizes/pic_640x480.jpg",
                                   drive.Root() + "/Photos/beach.jpg");
    }
};

}  // namespace

TEST_F(FolderPickerSessionTest, NothingIsWritten)
{
    ASSERT_TRUE(HomeContents().empty());
    Run([&] { FWindow->OpenFolderPath(DrivePath("Photos")); });
    {
        // Picked once, cancelled once, each through the dialog itself.
        const std::string photos = FDrive->Root() + "/Photos";
        const RealPicker picker([&](QFileDialog* dialog, int shown) {
            if (shown == 0) {
                dialog->setDirectory(QString::fromStdString(photos + "/2024"));
                static_cast<QDialog*>(dialog)->accept();
            } else {
                static_cast<QDialog*>(dialog)->reject();
            }
        });
        FWindow->tlbtnBrowse->Click();
        EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos\\2024"));
        FWindow->tlbtnBrowse->Click();
        EXPECT_EQ(FWindow->FCurrentPath, DrivePath("Photos\\2024"));
        EXPECT_EQ(picker.Shown(), 2);
    }
    Run([&] { FWindow->OpenFolderPath(DrivePath("Photos")); });
    Run([&] { FWindow->ToolButton1Click(nullptr); });
    EXPECT_EQ(FWindow->LstViewPicture->Items()->GetCount(), 1);
    Application->ProcessMessages();
    EXPECT_EQ(HomeContents(), std::vector<std::string>{});
}

// Last: it ends the program.
TEST_F(FolderPickerSessionTest, ClosingTheWindowDuringThePickerEndsTheProgram)
{
    QWindow* window = FWindow->Widget()->windowHandle();
    ASSERT_NE(window, nullptr);
    const RealPicker picker([&](QFileDialog* dialog, int) {
        // As the window manager delivers the close button's request.
        QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window);
        // Should the request have been dropped, the test still ends.
        if (!Application->Terminated()) static_cast<QDialog*>(dialog)->reject();
    });
    FWindow->tlbtnBrowse->Click();
    EXPECT_EQ(picker.Shown(), 1);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_FALSE(FWindow->Widget()->isVisible());
    EXPECT_EQ(FWindow->FCurrentPath, kDrivesFolder);
}
