// How the window looks on Linux: its face names drawn with an installed face of the same
// widths, and check boxes, radio buttons and spin buttons of the classic sizes, whatever style
// the desktop would pick.
#include "platform/qt/window.h"

#include <QApplication>
#include <QFont>
#include <QProxyStyle>
#include <QStringList>
#include <QStyleFactory>

namespace platform {
namespace {

// The layout's fixed positions leave each caption the room the classic 13-pixel box and its
// 3-pixel gap leave; the toolkit's own style draws larger ones.
class ClassicMetricsStyle : public QProxyStyle
{
public:
    ClassicMetricsStyle()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
    {
    }

    int pixelMetric(
        PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        switch (metric) {
        case PM_IndicatorWidth:
        case PM_IndicatorHeight:
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return 13;
        case PM_CheckBoxLabelSpacing:
        case PM_RadioButtonLabelSpacing:
            return 3;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }
};

} // namespace

void prepareWindowLook()
{
    // The window names the system face of its 8-point text and the small-font files chosen
    // for other resolutions; none exists here. Liberation Sans has the same widths.
    const QStringList replacement {QStringLiteral("Liberation Sans")};
    for (const char *face : {"MS Sans Serif", "SSERIFE.FON", "SERIFE.FON"})
        QFont::insertSubstitutions(QString::fromLatin1(face), replacement);
    QApplication::setStyle(new ClassicMetricsStyle);
}

} // namespace platform
