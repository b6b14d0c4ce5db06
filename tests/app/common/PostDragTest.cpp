#include "PostDrag.h"

#include <QMimeData>
#include <gtest/gtest.h>

namespace {

std::optional<PostDrag> dropped(const QByteArray &body)
{
    QMimeData data;
    data.setData(PostDrag::mimeType, body);
    return PostDrag::fromMimeData(data);
}

TEST(PostDragTest, CarriesIdAndLinkForTheAppAndTheLinkAsTextForOthers)
{
    const PostDrag drag{QUuid::createUuid(), QStringLiteral("https://weibo.com/1?a=%E4%B8%AD")};
    const auto data = drag.mimeData();
    EXPECT_EQ(data->text(), drag.link);
    const QString body = QString::fromUtf8(data->data(QStringLiteral("app.kepsel.post")));
    EXPECT_TRUE(body.contains(drag.id.toString(QUuid::WithoutBraces).toUpper())) << qPrintable(body);

    const auto back = PostDrag::fromMimeData(*data);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->id, drag.id);
    EXPECT_EQ(back->link, drag.link);
}

TEST(PostDragTest, ForeignOrBrokenPayloadsYieldNothing)
{
    const QByteArray id = "\"6F9619FF-8B86-D011-B42D-00C04FC964FF\"";
    EXPECT_TRUE(dropped("{\"id\":" + id + ",\"link\":\"https://x.com/1\",\"extra\":1}"));
    EXPECT_FALSE(dropped("{\"id\":" + id + "}"));
    EXPECT_FALSE(dropped("{\"link\":\"https://x.com/1\"}"));
    EXPECT_FALSE(dropped("{\"id\":\"not-a-uuid\",\"link\":\"https://x.com/1\"}"));
    EXPECT_FALSE(dropped("{\"id\":" + id + ",\"link\":42}"));
    EXPECT_FALSE(dropped("\xFF\xFE garbage"));

    QMimeData plain;
    plain.setText(QStringLiteral("https://x.com/1"));
    EXPECT_FALSE(PostDrag::fromMimeData(plain)) << "plain text is never taken for a post";
}

} // namespace
