#pragma once

#include <QString>

class Post;

// Texts of a post that the views show and search.
namespace PostText {

// Title, text, note, author name and link, then the tag names and the board
// names, joined by single spaces; the caller decides how to compare.
QString searchText(const Post &post);

// The title; else the first 80 characters of the text, else of the note;
// else the link.
QString headline(const Post &post);

// The link as a person reads it: its host and path in the scripts they were
// written in, not escaped.
QString link(const Post &post);

} // namespace PostText
