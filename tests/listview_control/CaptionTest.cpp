// Names under large icons and in the gallery: wrapped between words, never
// inside one, cut short with an ellipsis; a name shown cut short in any style
// shows whole in a tool tip.

#include "platform/toolkit/private/CaptionLines.h"
#include "tests/listview_control/ListFixture.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTest>
#include <QToolTip>

namespace {

const QString kEllipsis = QStringLiteral("\u2026");

}  // namespace

TEST(Caption, WrapsBetweenWordsAndElidesTheRest)
{
    const QFontMetrics metrics(QApplication::font());
    const auto width = [&](const char* text) {
        return metrics.horizontalAdvance(QString::fromUtf8(text));
    };
    const struct {
        const char* text;
        int width;
        QStringList lines;  // an entry ending in "…" is checked for its start
        bool elided;
    } cases[] = {
        {"a.txt", width("a.txt"), {"a.txt"}, false},
        {"holiday photos.jpg", width("holiday photos"), {"holiday", "photos.jpg"}, false},
        {"holiday photos.jpg", width("holiday photos.jp"), {"holiday", "photos.jpg"}, false},
        // One word wider than the line: one line, cut short; never "…t" / "xt".
        {"file_00137.txt", width("file_00137.t"), {"file_0013…"}, true},
        {"my file_00137.txt", width("file_00137.t"), {"my", "file_0013…"}, true},
        {"one two three four five six", width("one two"), {"one two", "three…"}, true},
        // Ideographs may break anywhere between them.
        {"夏天的照片集合", width("夏天的照"), {"夏天的照", "片集合"}, false},
    };
    for (const auto& c : cases) {
        const Caption caption = WrapCaption(metrics, QString::fromUtf8(c.text), c.width);
        ASSERT_EQ(caption.lines.size(), c.lines.size()) << c.text;
        for (qsizetype i = 0; i < c.lines.size(); ++i) {
            const QString& line = caption.lines[i];
            EXPECT_LE(metrics.horizontalAdvance(line), c.width) << c.text;
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
