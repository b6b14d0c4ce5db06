#pragma once

#include <QLabel>

// A text in the faded colour of counts, captions and section headers.
class SecondaryLabel : public QLabel {
    Q_OBJECT
public:
    SecondaryLabel(const QString &text, const QFont &font, QWidget *parent);
};
