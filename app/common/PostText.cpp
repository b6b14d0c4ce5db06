#include "PostText.h"

#include "Board.h"
#include "Post.h"
#include "ReadableLink.h"
#include "Tag.h"
#include "Text.h"

QString PostText::searchText(const Post &post)
{
    QStringList parts{post.title(), post.content(), post.note(), post.authorName(), link(post)};
    for (const auto &tag : post.tags())
        parts.append(tag->name());
    for (const auto &board : post.boards())
        parts.append(board->name());
    return parts.join(QLatin1Char(' '));
}

QString PostText::headline(const Post &post)
{
    constexpr qsizetype length = 80;
    if (!post.title().isEmpty())
        return post.title();
    for (const QString &text : {post.content(), post.note()})
        if (!text.isEmpty())
            return Text::characterPrefix(text, length);
    return link(post);
}

QString PostText::link(const Post &post)
{
    return ReadableLink::text(post.sourceURL());
}
