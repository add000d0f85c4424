#include "platform/toolkit/Edit.h"

#include <QLineEdit>

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner, new QLineEdit)
{
    // textChanged, not textEdited: the program's own SetText counts too.
    QObject::connect(LineEdit(), &QLineEdit::textChanged, LineEdit(), [this](const QString&) {
        if (OnChange) InvokeHandler([this] { OnChange(this); });
    });
}

QLineEdit* TEdit::LineEdit() const
{
    return static_cast<QLineEdit*>(Widget());
}

AnsiString TEdit::GetText() const
{
    return LineEdit() ? FromQString(LineEdit()->text()) : AnsiString();
}

void TEdit::SetText(const AnsiString& text)
{
    TWinControl::SetText(text);
    if (LineEdit()) LineEdit()->setText(ToQString(text));
}

void TEdit::SetBiDiMode(TBiDiMode mode)
{
    FBiDiMode = mode;
    if (LineEdit())
        LineEdit()->setAlignment((mode == bdRightToLeft ? Qt::AlignRight : Qt::AlignLeft) |
                                 Qt::AlignVCenter);
}

bool TEdit::ReadOnly() const
{
    return LineEdit() && LineEdit()->isReadOnly();
}

void TEdit::SetReadOnly(bool readOnly)
{
    if (LineEdit()) LineEdit()->setReadOnly(readOnly);
}
