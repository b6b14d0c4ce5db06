#include "SidebarItem.h"

#include <QCoreApplication>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

TEST(TranslationTest, EnglishFileIsBuiltInAndTranslatesInterfaceTexts)
{
    QTranslator english;
    ASSERT_TRUE(english.load(QStringLiteral(":/i18n/kepsel_en.qm")));
    QCoreApplication::installTranslator(&english);
    EXPECT_EQ(SidebarItem::privateSpace().title(), QStringLiteral("Private Space"));
    QCoreApplication::removeTranslator(&english);
    EXPECT_EQ(SidebarItem::privateSpace().title(), QStringLiteral("隐私空间"));
}

} // namespace
