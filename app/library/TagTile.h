#pragma once

#include "OrganizeTile.h"

// A tag on the organize page: the "#" badge in the tag's colour, the name on
// one line and the number of its posts at the trailing edge.
class TagTile : public OrganizeTile {
    Q_OBJECT
public:
    explicit TagTile(QWidget *parent = nullptr);

    void setValues(const QString &name, const QString &colorHex, int count);
    QString name() const { return m_name; }
    int count() const { return m_count; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_name;
    QString m_colorHex;
    int m_count = 0;
};
