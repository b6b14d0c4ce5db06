#pragma once

#include <QFont>

// The text styles of the views, sized relative to the body font as the
// desktop's own styles are (body 13, callout 12, subheadline 11, caption 10
// points).
namespace Typography {

QFont callout(const QFont &body, QFont::Weight weight = QFont::Normal);
QFont subheadline(const QFont &body, QFont::Weight weight = QFont::Normal);
QFont caption(const QFont &body, QFont::Weight weight = QFont::Normal);

} // namespace Typography
