// How controls draw where a user looks: a group box hides what lies behind
// it, a label of fixed size shows its glyphs whole, and Han characters come
// in their Traditional Chinese forms whatever the locale.

#include "platform/toolkit/GroupBox.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Panel.h"
#include "tests/toolkit/ShowForm.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QRawFont>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {

// Rows of the image holding anything but its top-left pixel's colour.
int InkRows(const QImage& image)
{
    const QRgb background = image.pixel(0, 0);
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                ++rows;
                break;
            }
    return rows;
}

}  // namespace

// The panel's caption lies behind the group box and must not show through.
TEST(Look, GroupBoxHidesWhatLiesBehindIt)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 320, 240);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetAlign(alClient);
    panel->SetText("Panel1");
    auto* group = new TGroupBox(&form);
    group->SetParent(panel);
    group->SetBounds(8, 8, 300, 220);
    group->SetText("圖片大小");
    ASSERT_TRUE(ShowForm(form));
    const QImage withCaption = panel->Widget()->grab().toImage();
    panel->SetText("");
    const QImage withoutCaption = panel->Widget()->grab().toImage();
    EXPECT_EQ(withCaption, withoutCaption);
}

// A label of fixed size shorter than its line draws as many rows of ink as
// the same label with room to spare.
TEST(Look, FixedSizeLabelKeepsItsGlyphsWhole)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 100);
    const auto makeLabel = [&](int height) {
        auto* label = new TLabel(&form);
        label->SetParent(&form);
        label->SetAutoSize(false);
        label->SetBounds(10, 10, 48, height);
        label->SetText("寬度");
        label->Font()->Height = -13;
        label->FontChanged();
        return label;
    };
    TLabel* tight = makeLabel(16);
    TLabel* roomy = makeLabel(60);
    roomy->SetLeft(100);
    ASSERT_TRUE(ShowForm(form));
    const int whole = InkRows(roomy->Widget()->grab().toImage());
    ASSERT_GT(whole, 8);
    EXPECT_EQ(InkRows(tight->Widget()->grab().toImage()), whole);
}

// The program's Chinese texts take the Traditional Chinese face first, in the
// application's font and in a control's own font alike.
TEST(Look, HanCharactersComeFromTheTraditionalChineseFace)
{
    const QString face = QStringLiteral("Noto Sans CJK TC");
    if (!QFontDatabase::families().contains(face))
        GTEST_SKIP() << "no Traditional Chinese face installed";
    TFont controlFont;
    controlFont.Height = -13;
    for (const QFont& font : {QFont(), controlFont.ToQFont(QFont())}) {
        QTextLayout layout(QStringLiteral("寬度骨圖片大小"), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const auto runs = layout.glyphRuns();
        ASSERT_FALSE(runs.isEmpty());
        for (const QGlyphRun& run : runs)
            EXPECT_EQ(run.rawFont().familyName().toStdString(), face.toStdString());
    }
}
