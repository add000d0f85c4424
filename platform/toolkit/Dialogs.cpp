#include "platform/toolkit/Dialogs.h"

#include "platform/base/Drives.h"
#include "platform/toolkit/Controls.h"
#include "platform/toolkit/Forms.h"
#include "platform/toolkit/private/ModalLoop.h"
#include "platform/toolkit/private/ShownText.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSettings>

namespace {

const QString kTitle = QStringLiteral("Quillet");
// Room a window manager's title bar takes beside the title: the window's icon
// and its buttons.
constexpr int kTitleBarRoom = 200;

// Makes the box wide enough for the window manager to show its whole title,
// which Qt does not allow for when the text is short.
void FitTitle(QMessageBox& box)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const int width = box.fontMetrics().horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

// The program keeps no settings, and Qt's file dialog stores its history and
// last folder on its destruction through QSettings. Below /dev/null no file
// or folder can be made, whoever runs the program: the dialog reads nothing
// there and its writes fail.
void KeepNoSettings()
{
    static const bool redirected = [] {
        const QString nowhere = QStringLiteral("/dev/null/quillet");
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(QSettings::NativeFormat, scope, nowhere);
        return true;
    }();
    (void)redirected;
}

// Qt's own dialogs, parented to the active window so they stay on top of it.
// The message boxes run modally through ExecModal, so that closing the main
// window while one is up ends the program; so does the folder picker. Once the main form has closed
// no dialog opens: its loop could never be ended and the program would hang without a window.
class QtDialogs : public DialogSeam {
public:
    void ShowMessage(const AnsiString& text) override
    {
        if (Application->Terminated()) return;
        QMessageBox box(QMessageBox::NoIcon, kTitle, ToShownQString(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        FitTitle(box);
        ExecModal(box);
    }

    void ShowError(const AnsiString& text) override
    {
        if (Application->Terminated()) return;
        QMessageBox box(QMessageBox::Critical, kTitle, ToShownQString(text), QMessageBox::Ok,
                        QApplication::activeWindow());
        FitTitle(box);
        ExecModal(box);
    }

    bool SelectDirectory(const AnsiString& caption, const AnsiString& root,
                         AnsiString& directory) override
    {
        if (Application->Terminated()) return false;
        QString start = QDir::homePath();
        if (!root.empty()) {
            if (auto posix = NamespaceToPosixPath(root)) start = QFile::decodeName(posix->c_str());
        }
        // Qt's own dialog, read-only: it offers no way to make, rename or
        // delete a folder (a desktop's native one might).
        KeepNoSettings();
        QFileDialog dialog(QApplication::activeWindow(), ToQString(caption), start);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly |
                          QFileDialog::DontUseNativeDialog);
        if (ExecModal(dialog) != QDialog::Accepted || Application->Terminated() ||
            dialog.selectedFiles().isEmpty())
            return false;
        const QString chosen = dialog.selectedFiles().constFirst();
        if (chosen.isEmpty()) return false;
        const std::string posix = QFile::encodeName(chosen).toStdString();
        // A folder no drive covers is still a folder: hand back its own path.
        directory = PosixToNamespacePath(posix).value_or(posix);
        return true;
    }
};

DialogSeam* installed = nullptr;

}  // namespace

DialogSeam& Dialogs()
{
    static QtDialogs qtDialogs;
    return installed ? *installed : qtDialogs;
}

void SetDialogSeam(DialogSeam* seam)
{
    installed = seam;
}

void ShowMessage(const AnsiString& text)
{
    Dialogs().ShowMessage(text);
}

bool SelectDirectory(const AnsiString& caption, const std::u16string& root, AnsiString& directory)
{
    return Dialogs().SelectDirectory(caption, FromQString(QString::fromStdU16String(root)),
                                     directory);
}
