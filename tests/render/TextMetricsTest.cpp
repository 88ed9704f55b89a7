#include "render/TextMetrics.h"
#include "render/CommentDrawing.h"
#include "render/NodeDrawing.h"
#include "render/Palette.h"
#include "render/TextLayout.h"

#include <QPainter>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace flow {
namespace {

QString RandomText(QRandomGenerator& random, qsizetype length, const QString& alphabet) {
    QString text;
    for (qsizetype i = 0; i < length; ++i)
        text += alphabet[random.bounded(int(alphabet.size()))];
    return text;
}

// Printable ASCII is measured from single characters and pairs instead of shaping: the result
// must be the shaped one to the last bit, kerned pairs ("AV", "To", "T.") and all, in every
// font the drawing measures with.
TEST(TextMetricsTest, PrintableTextMeasuresAsShapingMeasuresIt) {
    SetupPalette();
    QString printable;
    for (char16_t c = 0x20; c <= 0x7E; ++c)
        printable += QChar(c);
    QRandomGenerator random(7);
    for (const QFont& font : {CommentFont(), FontAt(BoldFont(), 11), FontAt(RegularFont(), 10)}) {
        const QFontMetricsF& metrics = MetricsOf(font);
        QStringList texts = {QStringLiteral("AVATAR To T.y, fifl ffi W.A.V."), QStringLiteral(" ")};
        for (const int length : {1, 2, 3, 7, 40, 300, 4096, 5000})
            for (int i = 0; i < 5; ++i)
                texts << RandomText(random, length, printable);
        for (const QString& text : texts)
            ASSERT_EQ(RunWidth(metrics, text), metrics.horizontalAdvance(text))
                << text.left(60).toStdString();
        // Anything else is shaped as before.
        const QString accented = QStringLiteral("Ünïcode — ∅ ❝text❞");
        EXPECT_EQ(RunWidth(metrics, accented), metrics.horizontalAdvance(accented));
    }
}

// A line far longer than any screen, of characters outside ASCII, is measured from its
// characters' own advances: near the shaped width, short only of the kerning.
TEST(TextMetricsTest, AnEndlessLineIsMeasuredFromItsCharacters) {
    SetupPalette();
    const QFontMetricsF& metrics = MetricsOf(CommentFont());
    const QString line = QStringLiteral("Größe Öl Ähre ").repeated(10000);
    const double measured = TextBlockWidth(CommentFont(), line);
    EXPECT_NEAR(measured, metrics.horizontalAdvance(line), 0.01 * measured);
}

// A line too long to be shaped at once is drawn piece by piece where it shows: its start as
// the whole line drawn in one go shows it, and text far along it where the view is.
TEST(TextMetricsTest, AnEndlessLineIsDrawnWhereItShows) {
    SetupPalette();
    QRandomGenerator random(3);
    const QString line = RandomText(random, kLongestShaped + 5000, QStringLiteral("abcdefAVTo.,y"));
    auto draw = [&](double along, bool whole) {
        QImage image(400, 60, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setFont(CommentFont());
        painter.setPen(Qt::white);
        painter.translate(-along, 0);
        if (whole)
            painter.drawText(QPointF(8, 4 + MetricsOf(CommentFont()).ascent()), line.left(500));
        else
            DrawEditText(painter, 8, 4, line + QStringLiteral("\nsecond line"), kNoCaret, 0);
        return image;
    };
    // The first line's rows, above the second.
    const int rows = int(4 + LineHeight(CommentFont()));
    EXPECT_TRUE(draw(0, false).copy(0, 0, 400, rows) == draw(0, true).copy(0, 0, 400, rows));
    const QImage far = draw(0.6 * TextBlockWidth(CommentFont(), line), false);
    int lit = 0;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < far.width(); ++x)
            lit += qRed(far.pixel(x, y)) > 128;
    EXPECT_GT(lit, 200) << "no text drawn far along the line";
}

} // namespace
} // namespace flow
