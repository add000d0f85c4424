#include "platform/toolkit/Image.h"

#include <QWidget>

TImage::TImage(TComponent* AOwner) : TControl(AOwner, new QWidget) {}
