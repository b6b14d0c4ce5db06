#pragma once

#include "FloatingCapsule.h"

class QLabel;

// A short message floating over the window.
class Toast : public FloatingCapsule {
    Q_OBJECT
public:
    explicit Toast(const QString &message = {}, QWidget *parent = nullptr);

    QString message() const;
    void setMessage(const QString &message);

private:
    QLabel *m_label;
};
