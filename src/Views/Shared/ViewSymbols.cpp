#include "Views/Shared/ViewSymbols.h"

#include "KestuDesign/Resources/KestuSymbols.h"

#include <QIcon>

#include <mutex>

static void initViewSymbolResources()
{
    Q_INIT_RESOURCE(tremlor_symbols);
}

namespace tremlor::ViewSymbols {

const QStringList& names()
{
    static const QStringList list = {
        // panel
        QStringLiteral("play.fill"),
        QStringLiteral("stop.fill"),
        QStringLiteral("chevron.right"),
        QStringLiteral("chevron.up.chevron.down"),
        QStringLiteral("person.crop.rectangle.stack"),
        QStringLiteral("gearshape"),
        QStringLiteral("power"),
        QStringLiteral("square.grid.2x2"),
        QStringLiteral("square.grid.2x2.fill"),
        QStringLiteral("arrow.right.arrow.left"),
        QStringLiteral("checkmark.square.fill"),
        QStringLiteral("cup.and.saucer"),
        // movement patterns
        QStringLiteral("arrow.uturn.left.circle"),
        QStringLiteral("point.topleft.down.to.point.bottomright.curvepath"),
        QStringLiteral("circle.dotted"),
        QStringLiteral("hand.raised.fingers.spread"),
        // settings sections
        QStringLiteral("computermouse"),
        QStringLiteral("timer"),
        QStringLiteral("person.2"),
        QStringLiteral("calendar.badge.clock"),
        QStringLiteral("wrench.and.screwdriver"),
        QStringLiteral("info.circle"),
        // settings content and onboarding
        QStringLiteral("plus"),
        QStringLiteral("minus"),
        QStringLiteral("plus.square.on.square"),
        QStringLiteral("calendar.badge.plus"),
        QStringLiteral("square.and.arrow.up"),
        QStringLiteral("square.and.arrow.down"),
        QStringLiteral("lock.shield"),
        QStringLiteral("lock.open"),
        QStringLiteral("checkmark.shield.fill"),
        QStringLiteral("envelope.fill"),
        QStringLiteral("dot.radiowaves.left.and.right"),
        QStringLiteral("circle.inset.filled"),
        // settings checklist marks and rotation
        QStringLiteral("square"),
        QStringLiteral("circle"),
        QStringLiteral("shuffle"),
    };
    return list;
}

void registerAll()
{
    static std::once_flag once;
    std::call_once(once, [] {
        initViewSymbolResources();
        for (const QString& name : names())
            kestu::KestuSymbols::registerSymbol(name, QIcon(QStringLiteral(":/tremlor/symbols/%1.svg").arg(name)));
    });
}

} // namespace tremlor::ViewSymbols
