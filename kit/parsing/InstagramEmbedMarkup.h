#pragma once

#include "ParsedPost.h"

#include <QString>

// Reads a post from what an Instagram embed page shows, for pages whose script
// context is null (photo posts): the embedded picture, the caption and the
// owner's user name. The markup gives no time and no avatar.
namespace InstagramEmbedMarkup {

// The page's script context is the null marker rather than an escaped text.
bool hasNullContext(const QString &html);

// Throws ParseError::structureChanged ("embed contextJSON") when the page
// shows no embedded picture, as for a removed post.
ParsedPost post(const QString &html, const QString &canonicalURL);

} // namespace InstagramEmbedMarkup
