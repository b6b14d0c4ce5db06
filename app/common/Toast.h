#pragma once

#include "FloatingCapsule.h"

class WrappedLabel;

// A short message floating over the window; a long one wraps.
class Toast : public FloatingCapsule {
    Q_OBJECT
public:
    explicit Toast(const QString &message = {}, QWidget *parent = nullptr);

    QString message() const;
    void setMessage(const QString &message);

private:
    WrappedLabel *m_label;
};
