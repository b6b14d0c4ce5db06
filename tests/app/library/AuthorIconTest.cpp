#include "AuthorIcon.h"

#include "FixtureServer.h"
#include "TestHome.h"
#include "TestImages.h"
#include "WaitFor.h"

#include <QSignalSpy>

namespace {

class AuthorIconTest : public HomeTest {
protected:
    static QImage loaded(const QString &url) { return TestAsync::waitFor(AuthorIcon::fetch(url)); }

    FixtureServer server;
};

TEST_F(AuthorIconTest, FetchesWebAvatarsOnceAndRefusesOthers)
{
    const QString address = QStringLiteral("127.0.0.9");
    server.serve(address, QStringLiteral("/a.jpg"), {200, TestImages::encoded(600, 400, Qt::red), {}});
    server.serve(address, QStringLiteral("/huge.jpg"),
                 {200, QByteArray(AuthorIcon::maxAvatarBytes + 1, 'x'), {}});
    server.serve(address, QStringLiteral("/text"), {200, "not a picture", {}});
    const QString avatar = server.url(address, QStringLiteral("/a.jpg")).toString();

    AuthorIcon icon(avatar, Platform::weibo, 52);
    QSignalSpy done(&icon, &AuthorIcon::imageLoaded);
    ASSERT_TRUE(done.wait(10000));
    ASSERT_FALSE(icon.image().isNull());
    EXPECT_EQ(icon.image().width(), AuthorIcon::decodePixels) << "decoded small";
    server.forgetRequests();
    AuthorIcon again(avatar, Platform::weibo, 30);
    EXPECT_FALSE(again.image().isNull()) << "known links show at once";
    EXPECT_TRUE(server.requests().isEmpty());

    for (const char *path : {"/huge.jpg", "/text", "/missing"})
        EXPECT_TRUE(loaded(server.url(address, QString::fromLatin1(path)).toString()).isNull()) << path;
    server.forgetRequests();
    for (const char *link : {"file:///etc/passwd", "ftp://127.0.0.9/a.jpg"})
        EXPECT_TRUE(loaded(QString::fromLatin1(link)).isNull()) << link;
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
