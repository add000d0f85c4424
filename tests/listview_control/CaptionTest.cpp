// Names under large icons and in the gallery: wrapped between words, never
// inside one, cut short with an ellipsis; a name shown cut short in any style
// shows whole in a tool tip.

#include "platform/toolkit/private/CaptionLines.h"
#include "tests/listview_control/ListFixture.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QTextLayout>
#include <QToolTip>
#include <QtMath>

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

}  // namespace

TEST(Caption, WrapsBetweenWordsOrCharactersAndElidesTheRest)
{
    const QFont font = QApplication::font();
    const QFontMetrics metrics(font);
    // A pixel over the text's width, for what rounding to pixels loses.
    const auto width = [&](const char* text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text)) + 1;
    };
    const struct {
        const char* text;
        int width;
        int maxLines;
        QStringList lines;  // an entry ending in "…" is checked for its start
        bool elided;
    } cases[] = {
        {"a.txt", width("a.txt"), 2, {"a.txt"}, false},
        {"holiday photos.jpg", width("holiday photos"), 2, {"holiday", "photos.jpg"}, false},
        {"holiday photos.jpg", width("holiday photos.jp"), 2, {"holiday", "photos.jpg"}, false},
        // A name without blanks breaks between its characters.
        {"file_00137.txt", width("file_00137.t"), 2, {"file_00137.t", "xt"}, false},
        {"file_00137_and_more.txt", width("file_00137"), 2, {"file_00137", "_and…"}, true},
        {"one two three four five six", width("one two"), 2, {"one two", "three…"}, true},
        {"one two three four five six", width("one two"), 3, {"one two", "three", "four…"}, true},
        {"one two three", width("one two"), 1, {"one…"}, true},
        // Ideographs may break anywhere between them.
        {"夏天的照片集合", width("夏天的照"), 2, {"夏天的照", "片集合"}, false},
    };
    for (const auto& c : cases) {
        const Caption caption = WrapCaption(font, QString::fromUtf8(c.text), c.width, c.maxLines);
        ASSERT_EQ(caption.lines.size(), c.lines.size()) << c.text;
        ASSERT_EQ(caption.heights.size(), c.lines.size()) << c.text;
        for (qsizetype i = 0; i < c.lines.size(); ++i) {
            const QString& line = caption.lines[i];
            EXPECT_LE(metrics.horizontalAdvance(line), c.width) << c.text;
            EXPECT_GE(caption.heights[i], metrics.height()) << c.text;
            QString expected = c.lines[i];
            if (expected.endsWith(kEllipsis)) {
                expected.chop(1);
                EXPECT_TRUE(line.endsWith(kEllipsis)) << c.text << ": " << line.toStdString();
                EXPECT_TRUE(line.startsWith(expected)) << c.text << ": " << line.toStdString();
            } else {
                EXPECT_EQ(line.toStdString(), expected.toStdString()) << c.text;
            }
        }
        EXPECT_EQ(caption.elided, c.elided) << c.text;
    }
}

// A caption line is as tall as the faces that draw it: a Chinese name in a
// Latin font comes from a fallback face, often taller, and is given its
// height, as is every line of a cell.
TEST(Caption, LinesAreAsTallAsTheFacesThatDrawThem)
{
    const QFont font = QApplication::font();
    QTextLayout layout(QString::fromUtf8("中文照片.jpg"), font);
    layout.beginLayout();
    const QTextLine drawn = layout.createLine();
    layout.endLayout();
    ASSERT_TRUE(drawn.isValid());
    const int chinese = qCeil(drawn.height());
    const Caption caption = WrapCaption(font, QString::fromUtf8("中文照片.jpg"), 400, 2);
    ASSERT_EQ(caption.heights.size(), 1);
    EXPECT_GE(caption.heights[0], chinese);
    EXPECT_GE(CaptionLineHeight(font), chinese);
}

namespace {

// A list whose row 0 has a long name and row 1 a short one.
struct NamedList : ShownList {
    explicit NamedList(TViewStyle style) : ShownList(2, style)
    {
        list->OnData = [](TObject*, TListItem* item) {
            item->Caption = item->Index == 0
                                ? "a rather long name for a holiday photograph_00137.jpg"
                                : "a.jpg";
            for (const char* text : {"12KB", "Text", "2026-12-08", "RA"}) item->SubItems->Add(text);
        };
        list->Items()->SetCount(2);
        Settle();
    }

    // The tool tip shown when the mouse rests on row's name; empty for none.
    QString ToolTipOver(int row)
    {
        QToolTip::hideText();
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
        QAbstractItemView* view = View();
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QHelpEvent event(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        // The view answers at once: the tip is up, or not, when this returns.
        QCoreApplication::sendEvent(view->viewport(), &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
};

}  // namespace

TEST(Caption, NameShownCutShortShowsWholeOnHover)
{
    for (TViewStyle style : {vsIcon, vsSmallIcon, vsList, vsReport}) {
        NamedList shown(style);
        EXPECT_EQ(shown.ToolTipOver(0).toStdString(),
                  "a rather long name for a holiday photograph_00137.jpg")
            << style;
        EXPECT_EQ(shown.ToolTipOver(1).toStdString(), "") << style;
    }
    QToolTip::hideText();
}
