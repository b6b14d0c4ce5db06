#include "../authors/AuthorLibrary.h"

#include "AuthorDirectory.h"

namespace {

using BoardTest = AuthorLibrary;

TEST_F(BoardTest, CollectingSkipsDeletedPosts)
{
    const AuthorAccount lin = account(Platform::weibo, "Lin");
    const auto board = addBoard({lin});
    const auto kept = addPost(lin);
    const auto deleted = addPost(lin);
    context.remove(deleted);
    EXPECT_EQ(board->collectLinkedPosts({kept, deleted}, AuthorDirectory(context)), 1);
    EXPECT_EQ(board->posts(), QList<std::shared_ptr<Post>>{kept});
}

} // namespace
