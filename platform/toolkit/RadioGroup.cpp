#include "platform/toolkit/RadioGroup.h"

#include <QGroupBox>
#include <QRadioButton>

#include <algorithm>
#include <functional>

namespace {
// Margins around the buttons, in pixels, leaving room for the frame and the
// caption on top.
constexpr int kSideMargin = 4;
constexpr int kBottomMargin = 5;

class GroupWidget : public QGroupBox {
public:
    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QGroupBox::resizeEvent(event);
        if (onResize) onResize();
    }
};
}  // namespace

TRadioGroup::TRadioGroup(TComponent* AOwner)
    : TWinControl(AOwner, new GroupWidget), FBox(static_cast<QGroupBox*>(Widget()))
{
    static_cast<GroupWidget*>(FBox)->onResize = [this] { arrange(); };
}

AnsiString TRadioGroup::GetText() const
{
    return FBox->title().toStdString();
}

void TRadioGroup::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    FBox->setTitle(QString::fromStdString(text));
}

void TRadioGroup::SetColumns(int columns)
{
    FColumns = columns < 1 ? 1 : columns;
    arrange();
}

int TRadioGroup::AddItem(const AnsiString& text)
{
    auto* button = new QRadioButton(QString::fromStdString(text), FBox);
    QObject::connect(button, &QRadioButton::toggled, button, [this](bool checked) {
        if (checked)
            InvokeHandler([this] {
                if (OnClick) OnClick(this);
            });
    });
    FButtons.push_back(button);
    arrange();
    button->show();
    return ItemCount() - 1;
}

AnsiString TRadioGroup::Item(int index) const
{
    if (index < 0 || index >= ItemCount())
        throw EListError(Format("List index out of bounds (%d)", index));
    return FButtons[static_cast<size_t>(index)]->text().toStdString();
}

int TRadioGroup::ItemIndex() const
{
    for (int i = 0; i < ItemCount(); ++i)
        if (FButtons[static_cast<size_t>(i)]->isChecked()) return i;
    return -1;
}

void TRadioGroup::SetItemIndex(int index)
{
    if (index >= 0 && index < ItemCount()) {
        FButtons[static_cast<size_t>(index)]->setChecked(true);
        return;
    }
    if (index != -1) return;
    for (auto* button : FButtons) {
        // An exclusive button cannot be unchecked while it is the checked one.
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void TRadioGroup::arrange()
{
    if (FButtons.empty()) return;
    const int count = ItemCount();
    const int perColumn = (count + FColumns - 1) / FColumns;
    const int top = FBox->fontMetrics().height() + 1;
    const int columnWidth = std::max(0, (FBox->width() - 2 * kSideMargin - 2) / FColumns);
    const int rowHeight = std::max(0, (FBox->height() - top - kBottomMargin) / perColumn);
    for (int i = 0; i < count; ++i) {
        const int column = i / perColumn;
        const int row = i % perColumn;
        FButtons[static_cast<size_t>(i)]->setGeometry(
            kSideMargin + column * columnWidth, top + row * rowHeight, columnWidth, rowHeight);
    }
}
