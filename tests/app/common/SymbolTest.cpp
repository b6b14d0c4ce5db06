#include "Symbol.h"
#include "TelegramModule.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// An unknown name draws nothing, so a missing shape shows as a blank icon.
TEST(SymbolTest, TheSettingsTabsAndPlugInsAreDrawn)
{
    for (const QString &name :
         {u"icloud"_qs, u"gearshape"_qs, u"puzzlepiece.extension"_qs, TelegramModule::info().systemImage}) {
        const QImage image = Symbol::pixmap(name, 24, Qt::black).toImage();
        EXPECT_TRUE(Symbol::exists(name) && image != Symbol::pixmap(u"no.such"_qs, 24, Qt::black).toImage())
            << name.toStdString();
    }
}

} // namespace
