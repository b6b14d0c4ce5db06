#include "../authors/AuthorLibrary.h"

#include "AuthorDirectory.h"

namespace {

class BoardTest : public AuthorLibrary {
protected:
    const AuthorAccount weiboLin = account(Platform::weibo, "Lin");
    const AuthorAccount xLin = account(Platform::x, "Lin");
};

TEST_F(BoardTest, BoardWithoutValidLinksCollectsNothing)
{
    const auto board = addBoard({});
    const auto post = addPost(weiboLin);
    board->setAuthorsRaw(QStringLiteral("myspace\tLin\nweibo\t"));
    EXPECT_EQ(board->collectLinkedPosts({post}, AuthorDirectory(context)), 0);
    EXPECT_TRUE(post->boards().isEmpty());
}

TEST_F(BoardTest, CollectsPostsOfThePersonOnceAndSkipsAuthorlessAndDeletedOnes)
{
    const AuthorAccount webLin = account(Platform::web, "Lin");
    addGroup({weiboLin, xLin});
    const auto board = addBoard({weiboLin, webLin});
    const auto other = addBoard({xLin});
    const auto own = addPost(weiboLin);
    const auto alt = addPost(xLin);
    const auto unknownPlatform = addPost(webLin);
    unknownPlatform->setPlatformRaw(QStringLiteral("myspace"));
    const auto deleted = addPost(weiboLin);
    own->setBoards({other});
    context.remove(deleted);
    const QList<std::shared_ptr<Post>> posts = {own, alt, unknownPlatform, addPost(account(Platform::weibo, "")),
                                                deleted, addPost(account(Platform::weibo, "Amy"))};

    const AuthorDirectory directory(context);
    EXPECT_EQ(board->collectLinkedPosts(posts, directory), 3);
    EXPECT_EQ(board->posts(), QList<std::shared_ptr<Post>>({own, alt, unknownPlatform}));
    EXPECT_EQ(own->boards(), QList<std::shared_ptr<Board>>({other, board}));
    EXPECT_EQ(board->collectLinkedPosts(posts, directory), 0);
}

TEST_F(BoardTest, UnlinkRemovesThePersonAndTakesItsPostsOff)
{
    addGroup({weiboLin, xLin});
    const AuthorAccount amy = account(Platform::douyin, "Amy");
    const auto board = addBoard({amy, weiboLin});
    board->setAuthorsRaw(board->authorsRaw() + QStringLiteral("\nnope"));
    const auto other = addBoard({});
    const auto alt = addPost(xLin);
    const auto amys = addPost(amy);
    alt->setBoards({board, other});
    addPost(weiboLin)->setBoards({board});
    amys->setBoards({board});

    // xLin itself is not linked, but its person is.
    EXPECT_EQ(board->unlink(xLin, AuthorDirectory(context)), 2);
    EXPECT_EQ(board->authorsRaw(), amy.key());
    EXPECT_EQ(alt->boards(), QList<std::shared_ptr<Board>>({other}));
    EXPECT_EQ(board->posts(), QList<std::shared_ptr<Post>>({amys}));
}

} // namespace
