#pragma once

#include "AuthorAccount.h"

#include <QToolButton>

class ModelContext;
class Motion;
class QAction;

// Stars or unstars the person behind an author account. As a button it shows
// only the star, which turns into the other star when the state changes:
// the old one shrinks away and the new one springs up in its place. In menus
// it is an action titled with the person's name.
class StarAuthorButton : public QToolButton {
    Q_OBJECT
public:
    StarAuthorButton(const AuthorAccount &account, ModelContext &context, QWidget *parent = nullptr);

    static bool isStarred(const AuthorAccount &account, ModelContext &context);
    // "设为星标博主「name」" or "取消星标博主「name」".
    static QString fullTitle(const AuthorAccount &account, ModelContext &context);
    // The menu form; its trigger toggles the star and reports through toast.
    static QAction *menuAction(const AuthorAccount &account, ModelContext &context, QObject *parent,
                               std::function<void(const QString &)> toast);
    // Flips the star; returns the message to show, empty when nothing
    // changed (an account whose name no person can hold).
    static QString toggle(const AuthorAccount &account, ModelContext &context);

    // From the old symbol (0) over nothing (0.5) to the new one (1).
    Motion &replaceMotion() const { return *m_replace; }

signals:
    void toastRequested(const QString &message);

private:
    void refresh();
    void paintIcon();

    AuthorAccount m_account;
    ModelContext &m_context;
    bool m_starred;
    Motion *m_replace;
};
