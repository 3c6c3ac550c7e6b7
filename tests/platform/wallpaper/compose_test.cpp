// One picture across all monitors (a desktop's "spanned" mode): the layout's box, and each
// monitor's part laid from its own corner, worked out without a display.
#include "platform/linux/wallpaper/compose.h"
#include "tests/platform/wallpaper/quadrants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform::desk;
using namespace quadrants;

namespace {

struct SpanCase
{
    const char *name;
    std::vector<OutputArea> outputs;
    QRect area; ///< what spannedArea gives
};

// Monitors of different sizes side by side, stacked, left of the primary, apart with a gap.
const std::vector<SpanCase> layouts {
    {"SideBySide", {{"A", {0, 0, 800, 600}}, {"B", {800, 0, 640, 400}}}, {0, 0, 1440, 600}},
    {"Stacked", {{"A", {0, 0, 640, 400}}, {"B", {0, 400, 800, 600}}}, {0, 0, 800, 1000}},
    {"LeftOfPrimary", {{"A", {0, 0, 800, 600}}, {"B", {-640, 100, 640, 400}}},
        {-640, 0, 1440, 600}},
    {"WithAGap", {{"A", {0, 0, 300, 200}}, {"B", {500, 300, 200, 100}}}, {0, 0, 700, 400}},
    {"EmptyOneAddsNothing", {{"A", {0, 0, 300, 200}}, {"B", {900, 900, 0, 0}}}, {0, 0, 300, 200}},
};

class Spanned : public testing::TestWithParam<SpanCase>
{
};

TEST_P(Spanned, TheAreaHoldsEveryMonitor)
{
    EXPECT_EQ(spannedArea(GetParam().outputs), GetParam().area);
}

TEST_P(Spanned, EachMonitorShowsWhatItWouldShowOnItsOwn)
{
    const SpanCase &c = GetParam();
    const QImage picture = quadrantPicture(120, 80);
    for (const DeskPlacement placement : {DeskPlacement {PlacementKind::Origin, 100, 50},
             DeskPlacement {PlacementKind::Origin, -30, 10}, DeskPlacement {PlacementKind::Center},
             DeskPlacement {PlacementKind::Tile}, DeskPlacement {PlacementKind::Stretch}}) {
        const QImage spanned = composeSpanned(picture, c.outputs, placement);
        ASSERT_EQ(spanned.size(), c.area.size());
        long wrong = 0;
        std::string first;
        for (int y = 0; y < spanned.height(); ++y) {
            for (int x = 0; x < spanned.width(); ++x) {
                const QPoint at = QPoint(x, y) + c.area.topLeft(); // in the layout
                std::optional<QRgb> expected = black;
                for (const OutputArea &output : c.outputs) {
                    if (output.rect.contains(at)) {
                        const QRect &r = output.rect;
                        expected = expectedPixel(placement, picture.width(), picture.height(),
                            false, at.x() - r.x(), at.y() - r.y(), r.width(), r.height());
                    }
                }
                if (expected && spanned.pixel(x, y) != *expected && wrong++ == 0)
                    first = std::to_string(x) + "," + std::to_string(y);
            }
        }
        EXPECT_EQ(wrong, 0) << "placement " << int(placement.kind) << ", first at " << first;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Spanned, testing::ValuesIn(layouts),
    [](const testing::TestParamInfo<SpanCase> &p) { return std::string(p.param.name); });

TEST(SpannedNothing, NoMonitorsGiveNoPicture)
{
    EXPECT_TRUE(composeSpanned(quadrantPicture(10, 10), {}, {PlacementKind::Center}).isNull());
    EXPECT_TRUE(spannedArea({}).isEmpty());
}

} // namespace
