#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFont>

// 宋体 must resolve to a Simplified Chinese face, not a Japanese fallback.
TEST(ApplicationSetup, SongTiResolvesToSimplifiedChineseFont) {
    const QFont font(QString::fromUtf8("宋体"), 22);
    EXPECT_TRUE(QFontInfo(font).family().contains(QStringLiteral("CJK SC"))) << QFontInfo(font).family().toStdString();
}
