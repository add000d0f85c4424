// The tool bar's glyphs as the buttons show them, on a light and on a dark
// palette: every glyph must stand out from the button it sits on, and the
// slideshow button shows none.

#include "platform/toolkit/ToolBar.h"
#include "tests/support/WindowTest.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QToolButton>

#include <cmath>

namespace {

double Luminance(QRgb rgb)
{
    const auto linear = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

// Pixels of the icon, drawn on the button's colour, that differ from it by
// at least the 3:1 contrast a control's outline needs.
int ClearPixels(const QIcon& icon, const QColor& button)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(button);
    {
        QPainter painter(&image);
        icon.paint(&painter, image.rect());
    }
    const double back = Luminance(button.rgb());
    int clear = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const double lum = Luminance(image.pixel(x, y));
            if ((std::max(lum, back) + 0.05) / (std::min(lum, back) + 0.05) >= 3.0) ++clear;
        }
    return clear;
}

QPalette DarkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(53, 53, 53));
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, Qt::white);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    return dark;
}

class ToolBarGlyphTest : public WindowTest {
protected:
    void TearDown() override
    {
        QApplication::setPalette(FSaved);
        WindowTest::TearDown();
    }

    // The buttons with a glyph, left to right, and what each shows.
    void ExpectGlyphsStandOut(const QColor& button)
    {
        TToolButton* const buttons[] = {FWindow->tlbtnBrowse,     FWindow->tlbtnUpOneLevel,
                                        FWindow->tlbtnLargeIcons, FWindow->tlbtnSmallIcons,
                                        FWindow->tlbtnList,       FWindow->tlbtnReport,
                                        FWindow->ToolButton1,     FWindow->ToolButton2};
        for (TToolButton* b : buttons) {
            const QIcon icon = static_cast<QToolButton*>(b->Widget())->icon();
            ASSERT_FALSE(icon.isNull()) << b->Name();
            EXPECT_GE(ClearPixels(icon, button), 20)
                << b->Name() << " on " << button.name().toStdString();
        }
        EXPECT_TRUE(static_cast<QToolButton*>(FWindow->ToolButton3->Widget())->icon().isNull());
    }

    QPalette FSaved = QApplication::palette();
};

}  // namespace

TEST_F(ToolBarGlyphTest, GlyphsStandOutOnLightAndDarkPalettes)
{
    CreateWindow();
    FWindow->Show();
    Application->ProcessMessages();
    ExpectGlyphsStandOut(QApplication::palette().color(QPalette::Button));

    // The desktop switches to a dark theme while the program runs.
    const QPalette dark = DarkPalette();
    QApplication::setPalette(dark);
    Application->ProcessMessages();
    ExpectGlyphsStandOut(dark.color(QPalette::Button));
}
