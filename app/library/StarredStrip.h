#pragma once

#include "AuthorAccount.h"

#include <QList>
#include <QWidget>

class ModelContext;
class HorizontalStrip;

// The starred persons leading the library: one round avatar per person in
// star order, each opening that person's page, with a menu to take the star
// away. Shows nothing while no one is starred; follows the store.
class StarredStrip : public QWidget {
    Q_OBJECT
public:
    explicit StarredStrip(ModelContext &context, QWidget *parent = nullptr);

    // The "星标博主" heading: a star and the title in a row that ends in a
    // stretch, so owners can add to its end.
    static QWidget *makeHeading(QWidget *parent);
    // Whether the owner wants the strip; it shows only with someone starred.
    void setWanted(bool wanted);
    // The main accounts shown, in order.
    QList<AuthorAccount> accounts() const { return m_accounts; }
    // The cell of the i-th person, for clicks and menus.
    QWidget *cell(int index) const;

signals:
    void personActivated(const AuthorAccount &account);

private:
    void refresh();
    QWidget *makeCell(const AuthorAccount &account, const QString &name, const QString &avatar);

    ModelContext &m_context;
    HorizontalStrip *m_cells;
    QList<AuthorAccount> m_accounts;
    bool m_wanted = true;
    QStringList m_shown; // what the cells show, to rebuild only on a change
};
