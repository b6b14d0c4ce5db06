#include "MenuText.h"

#include <QAction>
#include <QKeySequence>
#include <gtest/gtest.h>

namespace {

TEST(MenuTextTest, UserTextShowsAsWrittenAndMarksNoShortcut)
{
    for (const QString name : {QStringLiteral("R&D"), QStringLiteral("&Co"), QStringLiteral("a && b"),
                               QStringLiteral("end &"), QStringLiteral("猫")}) {
        const QAction entry(menuText(name));
        // The text a menu draws, with shortcut marks taken out as Qt does.
        EXPECT_EQ(entry.iconText(), name);
        EXPECT_TRUE(QKeySequence::mnemonic(entry.text()).isEmpty()) << qPrintable(name);
    }
}

} // namespace
