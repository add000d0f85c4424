#include "platform/toolkit/ComboBox.h"

#include "platform/toolkit/private/ShownText.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

namespace {

// Entry roles: the entry's exact bytes (the shown text may have been
// repaired for display) and its object.
constexpr int kTextRole = Qt::UserRole + 1;
constexpr int kObjectRole = Qt::UserRole + 2;

// A choice is an entry picked from the drop-down list, with the mouse or the
// keyboard, or an arrow key stepping through the entries of the closed box.
// Qt also reports an edit that ends on text naming an entry as a choice (when
// the box loses the focus, or on Enter); such reports are stopped here, and
// the wheel does not step through the entries.
class ComboWidget : public QComboBox {
public:
    // True while the edit is being finished: what Qt reports then is no choice.
    bool finishingEdit = false;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        // Enter that OnKeyDown left alone stops here.
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEditable()) {
            event->accept();
            return;
        }
        QComboBox::keyPressEvent(event);
    }

    void focusOutEvent(QFocusEvent* event) override
    {
        finishingEdit = true;
        QComboBox::focusOutEvent(event);
        finishingEdit = false;
    }

    void wheelEvent(QWheelEvent* event) override { event->ignore(); }
};

// The box's own entries seen as a string list.
class ComboItems : public TStrings {
public:
    explicit ComboItems(QComboBox* box) : FBox(box) {}

    int GetCount() const override { return FBox ? FBox->count() : 0; }

    AnsiString Get(int index) const override
    {
        Check(index, GetCount());
        return FBox->itemData(index, kTextRole).toByteArray().toStdString();
    }

    void* GetObject(int index) const override
    {
        Check(index, GetCount());
        return reinterpret_cast<void*>(FBox->itemData(index, kObjectRole).value<quintptr>());
    }

    void InsertObject(int index, const AnsiString& text, void* object) override
    {
        Check(index, GetCount() + 1);
        // Qt selects the first entry of an empty box and copies it into the
        // edit; a new entry must leave the box's text and choice alone.
        const QSignalBlocker blocker(FBox);
        const bool wasEmpty = FBox->count() == 0;
        const QString editText = FBox->currentText();
        FBox->insertItem(index, ToShownQString(text));
        FBox->setItemData(index, QByteArray::fromStdString(text), kTextRole);
        FBox->setItemData(index, QVariant::fromValue(reinterpret_cast<quintptr>(object)),
                          kObjectRole);
        if (wasEmpty) FBox->setCurrentIndex(-1);
        if (FBox->isEditable() && FBox->currentText() != editText) FBox->setEditText(editText);
    }

    void Delete(int index) override
    {
        Check(index, GetCount());
        const QSignalBlocker blocker(FBox);
        const QString editText = FBox->currentText();
        FBox->removeItem(index);
        if (FBox->isEditable()) FBox->setEditText(editText);
    }

    void Clear() override
    {
        if (!FBox) return;
        const QSignalBlocker blocker(FBox);
        const QString editText = FBox->currentText();
        FBox->clear();
        if (FBox->isEditable()) FBox->setEditText(editText);
    }

private:
    void Check(int index, int limit) const
    {
        if (!FBox || index < 0 || index >= limit)
            throw EListError(Format("List index out of bounds (%d)", index));
    }

    QPointer<QComboBox> FBox;
};

}  // namespace

TComboBox::TComboBox(TComponent* AOwner)
    : TWinControl(AOwner, new ComboWidget), FItems(std::make_unique<ComboItems>(Box()))
{
    QComboBox* box = Box();
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    // Typed text is the user's own: no completion from the entries.
    box->setCompleter(nullptr);
    box->setDuplicatesEnabled(true);
    // activated is the user's choice only; a program setting the index
    // raises nothing.
    QObject::connect(box, &QComboBox::activated, box, [this](int) {
        if (!static_cast<ComboWidget*>(Box())->finishingEdit) DoClick();
    });
    QObject::connect(box, &QComboBox::editTextChanged, box, [this](const QString&) {
        if (OnChange) InvokeHandler([this] { OnChange(this); });
    });
}

TComboBox::~TComboBox() = default;

QComboBox* TComboBox::Box() const
{
    return static_cast<QComboBox*>(Widget());
}

void TComboBox::SetStyle(TComboBoxStyle style)
{
    FStyle = style;
    if (!Box()) return;
    Box()->setEditable(style == csDropDown);
    if (style == csDropDown) {
        Box()->setInsertPolicy(QComboBox::NoInsert);
        Box()->setCompleter(nullptr);
    }
    UpdateAccessibleName();  // a new edit has no name yet
}

int TComboBox::GetItemIndex() const
{
    return Box() ? Box()->currentIndex() : -1;
}

void TComboBox::SetItemIndex(int index)
{
    if (!Box()) return;
    const QSignalBlocker blocker(Box());
    Box()->setCurrentIndex(index < Box()->count() ? index : -1);
}

AnsiString TComboBox::GetText() const
{
    if (!Box()) return {};
    const int index = Box()->currentIndex();
    // An unedited entry gives back its exact bytes.
    if (index >= 0 && Box()->currentText() == Box()->itemText(index))
        return Box()->itemData(index, kTextRole).toByteArray().toStdString();
    // So does the text last set, while it is shown unedited.
    const AnsiString set = TWinControl::GetText();
    if (Box()->currentText() == ToShownQString(set)) return set;
    return FromQString(Box()->currentText());
}

void TComboBox::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    if (!Box()) return;
    if (Box()->isEditable()) {
        Box()->setEditText(ToShownQString(text));
    } else {
        const int index = FItems->IndexOf(text);
        if (index >= 0) Box()->setCurrentIndex(index);
    }
}

int TComboBox::GetSelStart() const
{
    QLineEdit* edit = Box() ? Box()->lineEdit() : nullptr;
    if (!edit) return 0;
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

void TComboBox::SetSelStart(int start)
{
    if (QLineEdit* edit = Box() ? Box()->lineEdit() : nullptr) edit->setCursorPosition(start);
}

int TComboBox::GetSelLength() const
{
    QLineEdit* edit = Box() ? Box()->lineEdit() : nullptr;
    return edit ? static_cast<int>(edit->selectedText().size()) : 0;
}

void TComboBox::SetSelLength(int length)
{
    QLineEdit* edit = Box() ? Box()->lineEdit() : nullptr;
    if (!edit) return;
    const int start = GetSelStart();
    const int end = std::min(static_cast<int>(edit->text().size()), start + std::max(0, length));
    edit->setSelection(start, end - start);
}

void TComboBox::ApplyAccessibleName(const QString& name)
{
    TWinControl::ApplyAccessibleName(name);
    if (!Box()) return;
    if (QLineEdit* edit = Box()->lineEdit()) edit->setAccessibleName(name);
    Box()->view()->setAccessibleName(name);
}

void TComboBox::SetItemHeight(int height)
{
    // Kept for the layout's sake: the list's rows follow the desktop's font.
    FItemHeight = height;
}
