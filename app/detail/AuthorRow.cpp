#include "AuthorRow.h"

#include "AuthorAccount.h"
#include "AuthorIcon.h"
#include "ImportProgress.h"
#include "PlatformBadge.h"
#include "Post.h"
#include "ShortDate.h"
#include "StarAuthorButton.h"
#include "Typography.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

AuthorRow::AuthorRow(const Post &post, ModelContext &context, QWidget *parent)
    : QWidget(parent), m_postId(post.id()), m_spinner(new QProgressBar(this))
{
    m_spinner->setObjectName(QStringLiteral("importSpinner"));
    m_spinner->setRange(0, 0);
    m_spinner->setTextVisible(false);
    m_spinner->setFixedSize(24, 6);

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    auto *avatar = new AuthorIcon(post.authorAvatarURL(), post.platform(), avatarSize);
    avatar->setPlaceholderDisc(avatarBadgeSize);
    row->addWidget(avatar, 0, Qt::AlignVCenter);
    row->addLayout(makeTexts(post), 1);
    row->addWidget(m_spinner, 0, Qt::AlignVCenter);
    if (!post.authorName().isEmpty()) {
        auto *star = new StarAuthorButton(AuthorAccount::fromPost(post), context);
        connect(star, &StarAuthorButton::toastRequested, this, &AuthorRow::toastRequested);
        row->addWidget(star, 0, Qt::AlignVCenter);
    }
    showImportProgress();
    connect(&ImportProgress::shared(), &ImportProgress::phasesChanged, this, [this](const QUuid &id) {
        if (id == m_postId)
            showImportProgress();
    });
}

QLayout *AuthorRow::makeTexts(const Post &post)
{
    const Platform platform = post.platform();
    const QString author = post.authorName();
    QFont headline = font();
    headline.setBold(true);
    auto *name = new QLabel(author.isEmpty() ? platform.displayName() : author);
    name->setObjectName(QStringLiteral("authorName"));
    name->setTextFormat(Qt::PlainText);
    name->setFont(headline);

    QStringList dates{platform.displayName()};
    if (const auto published = post.publishedAt())
        dates << tr("· 发布于 %1").arg(shortDisplay(*published));
    dates << tr("· 收藏于 %1").arg(shortDisplay(post.createdAt()));
    auto *line = new QLabel(dates.join(QLatin1Char(' ')));
    line->setObjectName(QStringLiteral("postDates"));
    line->setFont(Typography::caption(font()));
    line->setForegroundRole(QPalette::PlaceholderText);

    auto *caption = new QHBoxLayout;
    caption->setSpacing(4);
    caption->addWidget(new PlatformBadge(platform, 10));
    caption->addWidget(line, 1);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(name);
    texts->addLayout(caption);
    return texts;
}

void AuthorRow::showImportProgress()
{
    m_spinner->setVisible(ImportProgress::shared().phase(m_postId).has_value());
}
